// The Welcome page (before the install, first): the licence agreement, which must be accepted before
// Next is usable.
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TImage;
}
namespace kvx::win32 {
class TKVXRadioButton;
}
namespace uis {
class TShBtn;
}

namespace inst {

class TWelcomeForm : public TBaseInstallForm {
public:
    explicit TWelcomeForm(fw::TComponent* owner);

    fw::TImage* ThemeBitmap = nullptr;
    fw::TImage* Image3 = nullptr;
    kvx::win32::TKVXRadioButton* KVXRadioButton1 = nullptr;  // accept
    kvx::win32::TKVXRadioButton* KVXRadioButton2 = nullptr;  // don't accept
    uis::TShBtn* BackBtn = nullptr;
    uis::TShBtn* ProceedBtn = nullptr;
    uis::TShBtn* CancelBtn = nullptr;

    void UpdateControls() override;

    void FormCreate(fw::TObject* Sender);
    void AcceptClick(fw::TObject* Sender);
    void DeclineClick(fw::TObject* Sender);
    void BackBtnClick(fw::TObject* Sender);
    void ProceedBtnClick(fw::TObject* Sender);
    void CancelBtnClick(fw::TObject* Sender);
};

void RegisterWelcomePage();

}  // namespace inst
