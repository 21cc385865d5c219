// Registration of the standard controls for form text.
#include "framework/win32/std_controls.h"

namespace fw {

void RegisterStandardControls() {
    RegisterControlClasses();
    RegisterStdSupport();
    RegisterAnimateClasses();
    RegisterBevelClasses();
    RegisterBitBtnClasses();
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
    RegisterMemoClasses();
    RegisterNotebookClasses();
    RegisterPageControlClasses();
    RegisterPanelClasses();
    RegisterProgressBarClasses();
    RegisterRadioGroupClasses();
    RegisterRichEditClasses();
    RegisterScrollBoxClasses();
    RegisterSplitterClasses();
    RegisterStatusBarClasses();
    RegisterToolBarClasses();
    RegisterTreeViewClasses();
}

}  // namespace fw
