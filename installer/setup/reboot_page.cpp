#include "installer/setup/reboot_page.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_image.h"
#include "framework/win32/std_radiogroup.h"
#include "installer/install_root.h"
#include "installer/win32/translate_controls.h"

namespace inst {

TRebootForm::TRebootForm(fw::TComponent* owner) : TBaseInstallForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmReboot));
}

void TRebootForm::FormCreate(fw::TObject*) { UseInstallTheme(ThemeBitmap); }

void TRebootForm::UpdateControls() {
    BackBtn->SetVisible(!IsFirstPage());
    ProceedBtn->SetVisible(!IsLastPage());
    FinishBtn->SetVisible(!ProceedBtn->Visible());
    if (Visible() && ProceedBtn->Visible() && ProceedBtn->CanFocus()) ProceedBtn->SetFocus();
    updating_ = true;
    TInstallRoot* install = InstallComponent();
    RG->SetItemIndex(install && install->Reboot() ? 0 : 1);
    updating_ = false;
}

void TRebootForm::RGClick(fw::TObject*) {
    if (updating_) return;
    if (TInstallRoot* install = InstallComponent()) install->SetReboot(RG->ItemIndex() == 0);
}

void TRebootForm::BackBtnClick(fw::TObject*) { GoBack(); }
void TRebootForm::NextBtnClick(fw::TObject*) { GoNext(); }

void RegisterRebootPage() {
    using F = TRebootForm;
    fw::Class<F, TBaseInstallForm>("TRebootForm")
        .Field("ThemeBitmap", &F::ThemeBitmap)
        .Field("RG", &F::RG)
        .Field("ProceedBtn", &F::ProceedBtn)
        .Field("FinishBtn", &F::FinishBtn)
        .Field("BackBtn", &F::BackBtn)
        .Method("FormCreate", &F::FormCreate)
        .Method("RGClick", &F::RGClick)
        .Method("BackBtnClick", &F::BackBtnClick)
        .Method("NextBtnClick", &F::NextBtnClick);
    InstallFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
