#include "framework/win32/std_types.h"

#include "framework/core/rtti.h"
#include "framework/win32/controls.h"

namespace fw {

void RegisterStdTypes() {
    RegisterControlClasses();
    RegisterEnum<TBorderStyle>({"bsNone", "bsSingle"}, "TBorderStyle");
    RegisterEnum<TAlignment>({"taLeftJustify", "taRightJustify", "taCenter"}, "TAlignment");
    RegisterEnum<TLeftRight>({"taLeftJustify", "taRightJustify"}, "TLeftRight");
}

}  // namespace fw
