#include "installer/setup/welcome_page.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_image.h"
#include "uisupport/controls/win32/shbtn.h"
#include "widgets/win32/checkbuttons.h"

namespace inst {

TWelcomeForm::TWelcomeForm(fw::TComponent* owner) : TBaseInstallForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmBeforeInstall));
}

void TWelcomeForm::FormCreate(fw::TObject*) { UseInstallTheme(ThemeBitmap); }

void TWelcomeForm::UpdateControls() { BackBtn->SetVisible(!IsFirstPage()); }

void TWelcomeForm::AcceptClick(fw::TObject*) {
    ProceedBtn->SetEnabled(true);
    Image3->SetVisible(true);
}

void TWelcomeForm::DeclineClick(fw::TObject*) { ProceedBtn->SetEnabled(false); }

void TWelcomeForm::BackBtnClick(fw::TObject*) { GoBack(); }
void TWelcomeForm::ProceedBtnClick(fw::TObject*) { GoNext(); }
void TWelcomeForm::CancelBtnClick(fw::TObject*) { CancelInstall(); }

void RegisterWelcomePage() {
    using F = TWelcomeForm;
    fw::Class<F, TBaseInstallForm>("TWelcomeForm")
        .Field("ThemeBitmap", &F::ThemeBitmap)
        .Field("Image3", &F::Image3)
        .Field("KVXRadioButton1", &F::KVXRadioButton1)
        .Field("KVXRadioButton2", &F::KVXRadioButton2)
        .Field("BackBtn", &F::BackBtn)
        .Field("ProceedBtn", &F::ProceedBtn)
        .Field("CancelBtn", &F::CancelBtn)
        .Method("FormCreate", &F::FormCreate)
        .Method("AcceptClick", &F::AcceptClick)
        .Method("DeclineClick", &F::DeclineClick)
        .Method("BackBtnClick", &F::BackBtnClick)
        .Method("ProceedBtnClick", &F::ProceedBtnClick)
        .Method("CancelBtnClick", &F::CancelBtnClick);
    InstallFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
