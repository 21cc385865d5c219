#include "installer/setup/good_install_page.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_image.h"
#include "uisupport/controls/win32/shbtn.h"

namespace inst {

TGoodInstallForm::TGoodInstallForm(fw::TComponent* owner) : TBaseInstallForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmAfterGoodInstall));
}

void TGoodInstallForm::FormCreate(fw::TObject*) { UseInstallTheme(ThemeBitmap); }

void TGoodInstallForm::UpdateControls() { BackBtn->SetVisible(!IsFirstPage()); }

void TGoodInstallForm::BackBtnClick(fw::TObject*) { GoBack(); }
void TGoodInstallForm::FinishBtnClick(fw::TObject*) { GoNext(); }

void RegisterGoodInstallPage() {
    using F = TGoodInstallForm;
    fw::Class<F, TBaseInstallForm>("TGoodInstallForm")
        .Field("ThemeBitmap", &F::ThemeBitmap)
        .Field("BackBtn", &F::BackBtn)
        .Field("FinishBtn", &F::FinishBtn)
        .Method("FormCreate", &F::FormCreate)
        .Method("BackBtnClick", &F::BackBtnClick)
        .Method("FinishBtnClick", &F::FinishBtnClick);
    InstallFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
