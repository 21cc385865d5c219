// Registration of the standard controls for form text.
#include "framework/win32/std_controls.h"

namespace fw {

void RegisterStandardControls() {
    RegisterControlClasses();
    RegisterStdSupport();
    RegisterAnimateClasses();
    RegisterBevelClasses();
    RegisterButtonClasses();
    RegisterEditClasses();
    RegisterLabelClasses();
    RegisterComboBoxClasses();
    RegisterCoolBarClasses();
    RegisterDateTimePickerClasses();
    RegisterFileControlClasses();
    RegisterHeaderClasses();
    RegisterImageClasses();
    RegisterListBoxClasses();
    RegisterListViewClasses();
    RegisterNotebookClasses();
    RegisterPageControlClasses();
    RegisterPanelClasses();
    RegisterRadioGroupClasses();
    RegisterRichEditClasses();
    RegisterScrollBoxClasses();
    RegisterSplitterClasses();
    RegisterStatusBarClasses();
    RegisterToolBarClasses();
    RegisterTreeViewClasses();
}

}  // namespace fw
