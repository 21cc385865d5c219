// TfrmArcOpen: the open and create dialog of the main window's "Open" and "New" commands. The "New"
// page names a new archive (name, type, method, folder, password); the "Existing" page picks an
// archive in a shell list; the "Recent" page one of the recently opened archives, which are the main
// window's history list: one list, so neither window's copy overwrites the other's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/forms.h"

namespace fw {
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TListBox;
class TPageControl;
class TTabSheet;
}  // namespace fw
namespace uis {
class TJexoShellList;
class TJexoShellTree;
}  // namespace uis

namespace app {

class TfrmZipMain;

class TfrmArcOpen : public fw::TForm {
public:
    using TForm::TForm;

    fw::TPageControl* PageControl1 = nullptr;
    fw::TTabSheet* tsNew = nullptr;
    fw::TTabSheet* tsExisting = nullptr;
    fw::TTabSheet* tsRecent = nullptr;
    fw::TEdit* edtArcName = nullptr;
    fw::TComboBox* cmbArcType = nullptr;
    fw::TComboBox* cmbCompressMethod = nullptr;
    uis::TJexoShellTree* JexoShellTree1 = nullptr;
    fw::TCheckBox* cbProtect = nullptr;
    fw::TEdit* edtPassword = nullptr;
    uis::TJexoShellList* JexoShellList1 = nullptr;
    fw::TComboBox* cmbArcFilter = nullptr;
    fw::TEdit* edtOpenArcName = nullptr;
    fw::TListBox* lbHistory = nullptr;
    fw::TButton* btnOpen = nullptr;
    fw::TButton* btnCreate = nullptr;
    TfrmZipMain* ZMain = nullptr;

    void FormCreate(fw::TObject* Sender);
    void FormShow(fw::TObject* Sender);
    void FormClose(fw::TObject* Sender, fw::TCloseAction& Action);
    void PageControl1Change(fw::TObject* Sender);
    void cmbArcTypeChange(fw::TObject* Sender);
    void cbProtectClick(fw::TObject* Sender);
    void btnCreateFolderClick(fw::TObject* Sender);
    void btnUpClick(fw::TObject* Sender);
    void btnRefreshClick(fw::TObject* Sender);
    void ViewButtonClick(fw::TObject* Sender);
    void cmbArcFilterChange(fw::TObject* Sender);
    void JexoShellList1MouseUp(fw::TObject* Sender, fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y);
    void JexoShellList1KeyUp(fw::TObject* Sender, uint16_t& Key, fw::TShiftState Shift);
    void JexoShellList1DblClick(fw::TObject* Sender);
    void lbHistoryClick(fw::TObject* Sender);
    void lbHistoryDblClick(fw::TObject* Sender);

    // Shows the "New" page (create) or the "Existing" page (open) with the command's caption.
    void Prepare(bool create);
    // Points the file list at a folder (nothing when the shell cannot show it).
    void ShowFolder(const std::string& folder);
    bool OnNewPage() const;
    // The "Existing" and "Recent" pages' choice.
    std::string ArchiveName() const;
    // The "New" page's choices.
    std::string NewName() const;
    int ArchiveTypeIndex() const;
    std::vector<std::string> MethodNames() const;
    int MethodIndex() const;
    // The tree's folder with a trailing "\" ("" when none).
    std::string Folder();
    std::string Password() const;

private:
    void FillMethods();
    void ShowButtonsFor(bool create);
    // Copies the list's selected archive into the name edit; false when it is none.
    bool TakeSelectedArchive();
};

void RegisterArcOpenClass();

}  // namespace app
