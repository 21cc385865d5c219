// The reboot page: files in use wait for the next start of Windows; the user says whether to restart
// now. The choice is the install component's Reboot.
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TImage;
class TRadioGroup;
}  // namespace fw

namespace inst {

class TTranslateBitBtn;

class TRebootForm : public TBaseInstallForm {
public:
    explicit TRebootForm(fw::TComponent* owner);

    fw::TImage* ThemeBitmap = nullptr;
    fw::TRadioGroup* RG = nullptr;
    TTranslateBitBtn* ProceedBtn = nullptr;
    TTranslateBitBtn* FinishBtn = nullptr;
    TTranslateBitBtn* BackBtn = nullptr;

    // The buttons as on the bad-install page; the choice opens on Yes when a reboot is wanted.
    void UpdateControls() override;

    void FormCreate(fw::TObject* Sender);
    void RGClick(fw::TObject* Sender);
    void BackBtnClick(fw::TObject* Sender);
    void NextBtnClick(fw::TObject* Sender);

private:
    bool updating_ = false;
};

void RegisterRebootPage();

}  // namespace inst
