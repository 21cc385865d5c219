#include "app/win32/formAskDefault.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_button.h"

namespace app {

void RegisterAskDefaultClass() {
    fw::Class<TfrmAskDefault, fw::TForm>("TfrmAskDefault").Field("cbDontAsk", &TfrmAskDefault::cbDontAsk);
}

}  // namespace app
