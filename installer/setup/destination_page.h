// The destination page (before the install): the folder the program goes into, typed or chosen in the
// folder dialog.
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TEdit;
class TImage;
}  // namespace fw
namespace kvx::win32 {
class TKVXGroupBox;
}
namespace uis {
class TShBtn;
}

namespace inst {

class TOpenFolderDialog;

class TSelectDestinationForm : public TBaseInstallForm {
public:
    explicit TSelectDestinationForm(fw::TComponent* owner);

    fw::TImage* ThemeBitmap = nullptr;
    kvx::win32::TKVXGroupBox* gbDirectory = nullptr;
    fw::TEdit* edDestDir = nullptr;
    TOpenFolderDialog* FolderDialog = nullptr;
    uis::TShBtn* BackBtn = nullptr;
    uis::TShBtn* ProceedBtn = nullptr;
    uis::TShBtn* CancelBtn = nullptr;

    // The install component's destination into the edit; the group is shown only with a destination.
    void UpdateControls() override;

    void FormCreate(fw::TObject* Sender);
    void edDestDirChange(fw::TObject* Sender);
    // Runs the folder dialog from the destination, made for it when it does not exist; every folder
    // made for it goes again afterwards if it is still empty.
    void BrowseBtnClick(fw::TObject* Sender);
    void BackBtnClick(fw::TObject* Sender);
    void ProceedBtnClick(fw::TObject* Sender);
    void CancelBtnClick(fw::TObject* Sender);

private:
    // Sets the edit without storing it back.
    void ShowDestination(const std::string& path);

    bool updating_ = false;
};

void RegisterDestinationPage();

}  // namespace inst
