#include "installer/setup/bad_install_page.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_image.h"
#include "installer/win32/translate_controls.h"

namespace inst {

TBadInstallForm::TBadInstallForm(fw::TComponent* owner) : TBaseInstallForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmAfterBadInstall));
}

void TBadInstallForm::FormCreate(fw::TObject*) { UseInstallTheme(ThemeBitmap); }

void TBadInstallForm::UpdateControls() {
    BackBtn->SetVisible(!IsFirstPage());
    ProceedBtn->SetVisible(!IsLastPage());
    FinishBtn->SetVisible(!ProceedBtn->Visible());
    if (!Visible()) return;
    fw::TWinControl* shown = ProceedBtn->Visible() ? ProceedBtn : FinishBtn;
    if (shown->CanFocus()) shown->SetFocus();
}

void TBadInstallForm::BackBtnClick(fw::TObject*) { GoBack(); }
void TBadInstallForm::NextBtnClick(fw::TObject*) { GoNext(); }

void RegisterBadInstallPage() {
    using F = TBadInstallForm;
    fw::Class<F, TBaseInstallForm>("TBadInstallForm")
        .Field("ThemeBitmap", &F::ThemeBitmap)
        .Field("BackBtn", &F::BackBtn)
        .Field("ProceedBtn", &F::ProceedBtn)
        .Field("FinishBtn", &F::FinishBtn)
        .Method("FormCreate", &F::FormCreate)
        .Method("BackBtnClick", &F::BackBtnClick)
        .Method("NextBtnClick", &F::NextBtnClick);
    InstallFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
