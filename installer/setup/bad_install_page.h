// The page after an install that failed or was cancelled: "Setup incomplete".
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TImage;
}

namespace inst {

class TTranslateBitBtn;

class TBadInstallForm : public TBaseInstallForm {
public:
    explicit TBadInstallForm(fw::TComponent* owner);

    fw::TImage* ThemeBitmap = nullptr;
    TTranslateBitBtn* BackBtn = nullptr;
    TTranslateBitBtn* ProceedBtn = nullptr;
    TTranslateBitBtn* FinishBtn = nullptr;

    // Back unless first; Next unless last, else Finish; the one shown takes the focus.
    void UpdateControls() override;

    void FormCreate(fw::TObject* Sender);
    void BackBtnClick(fw::TObject* Sender);
    void NextBtnClick(fw::TObject* Sender);
};

void RegisterBadInstallPage();

}  // namespace inst
