#include "uisupport/controls/win32/controlsregister.h"

#include "uisupport/controls/win32/filediredit.h"
#include "uisupport/controls/win32/kyvctrls.h"
#include "uisupport/controls/win32/menubar.h"
#include "uisupport/controls/win32/shbtn.h"
#include "uisupport/win32/uisregister.h"

namespace uis {

void RegisterUISupportControlClasses() {
    RegisterUISupportClasses();
    RegisterShBtnClasses();
    RegisterSpeedButtonClasses();
    RegisterMenuBarClasses();
    RegisterFileDirEditClasses();
}

}  // namespace uis
