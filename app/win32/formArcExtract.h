// TfrmArcExtract: the extract dialog. The destination comes from a shell folder tree joined to a
// shell combo; the dialog also chooses selected or all entries, overwrite or confirm, stored folders
// and whether the folder opens afterwards, and keeps the recent destinations.
#pragma once

#include <cstdint>
#include <string>

#include "framework/win32/forms.h"

namespace fw {
class TCheckBox;
class TListBox;
class TPageControl;
class TRadioGroup;
class TTabSheet;
}  // namespace fw
namespace kvx::win32 {
class TKVXMRUList;
}
namespace uis {
class TJexoShellTree;
}

namespace app {

class TfrmZipMain;

class TfrmArcExtract : public fw::TForm {
public:
    using TForm::TForm;

    fw::TPageControl* PageControl1 = nullptr;
    fw::TTabSheet* tsGeneral = nullptr;
    uis::TJexoShellTree* JexoShellTree1 = nullptr;
    fw::TRadioGroup* RadioGroup1 = nullptr;
    fw::TRadioGroup* RadioGroup2 = nullptr;
    fw::TCheckBox* Checkbox1 = nullptr;
    fw::TCheckBox* Checkbox2 = nullptr;
    fw::TListBox* lbHistory = nullptr;
    kvx::win32::TKVXMRUList* KVXMRUList1 = nullptr;
    TfrmZipMain* ZMain = nullptr;

    void FormCreate(fw::TObject* Sender);
    void FormShow(fw::TObject* Sender);
    void FormActivate(fw::TObject* Sender);
    void FormKeyDown(fw::TObject* Sender, uint16_t& Key, fw::TShiftState Shift);
    void btnExtractClick(fw::TObject* Sender);
    void btnCloseClick(fw::TObject* Sender);
    void btnCreateFolderClick(fw::TObject* Sender);
    void lbHistoryDblClick(fw::TObject* Sender);

    // The tree's folder with a trailing "\" ("" when none is selected).
    std::string Folder();
    // Selects the folder in the tree; false when the shell cannot show it.
    bool SelectFolder(const std::string& folder);
    // The folder the tree shows when the dialog next appears.
    void SetStartFolder(const std::string& folder) { startFolder_ = folder; }
    bool AllFiles() const;
    bool ConfirmOverwrite() const;
    bool RestoreFolders() const;
    bool OpenFolderAfter() const;

private:
    std::string startFolder_;
};

void RegisterArcExtractClass();

}  // namespace app
