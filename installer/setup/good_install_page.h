// The page after a good install: "Setup complete".
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TImage;
}
namespace uis {
class TShBtn;
}

namespace inst {

class TGoodInstallForm : public TBaseInstallForm {
public:
    explicit TGoodInstallForm(fw::TComponent* owner);

    fw::TImage* ThemeBitmap = nullptr;
    uis::TShBtn* BackBtn = nullptr;
    uis::TShBtn* FinishBtn = nullptr;

    void UpdateControls() override;

    void FormCreate(fw::TObject* Sender);
    void BackBtnClick(fw::TObject* Sender);
    void FinishBtnClick(fw::TObject* Sender);
};

void RegisterGoodInstallPage();

}  // namespace inst
