// The Start-menu folder page (before the install): the folder of the program's links below the
// Programs menu, typed or picked from the folders there. Skipped without a main link group.
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TEdit;
class TImage;
class TListBox;
}  // namespace fw
namespace uis {
class TShBtn;
}

namespace inst {

class TSelectFolderForm : public TBaseInstallForm {
public:
    explicit TSelectFolderForm(fw::TComponent* owner);

    fw::TImage* ThemeBitmap = nullptr;
    fw::TEdit* FolderEdit = nullptr;
    fw::TListBox* FolderListBox = nullptr;
    uis::TShBtn* BackBtn = nullptr;
    uis::TShBtn* ProceedBtn = nullptr;
    uis::TShBtn* CancelBtn = nullptr;

    bool IsSkipped() override;
    // Fills the list with the Programs menu's folders (Program Manager's groups on old systems) and the
    // edit with the main group's folder, or else the first one listed.
    void UpdateControls() override;

    void FormCreate(fw::TObject* Sender);
    void FolderListBoxClick(fw::TObject* Sender);
    // Every change, the page's own too, becomes the main group's folder below the Programs menu.
    void FolderEditChange(fw::TObject* Sender);
    void BackBtnClick(fw::TObject* Sender);
    void ProceedBtnClick(fw::TObject* Sender);
    void CancelBtnClick(fw::TObject* Sender);
};

void RegisterFolderPage();

}  // namespace inst
