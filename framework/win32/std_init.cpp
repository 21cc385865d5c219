#include "framework/win32/std_init.h"

#include "framework/win32/actions.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/hints.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_label.h"

namespace fw {

void InitStdControls() {
    RegisterStandardControls();
    RegisterLabelClasses();
    RegisterEditClasses();
    RegisterButtonClasses();
    RegisterMenuClasses();
    RegisterActionClasses();
    RegisterHintClasses();
    RegisterDialogClasses();
    InstallMenuHandlers();
    InstallActionHandlers();
    InstallHints();
    if (Application) Application->SetKeyPreprocessor(&PreprocessKey);
}

}  // namespace fw
