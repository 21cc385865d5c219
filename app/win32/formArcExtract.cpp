#include "app/win32/formArcExtract.h"

#include "app/win32/formZipMain.h"
#include "engine/core/file_routines.h"
#include "engine/core/routines.h"
#include "framework/core/rtti.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_pagecontrol.h"
#include "framework/win32/std_radiogroup.h"
#include "uisupport/shell/win32/shelltree.h"
#include "widgets/win32/mrulist.h"

namespace app {

namespace {

// The hourglass while the tree looks for a folder.
class HourGlass {
public:
    HourGlass() : saved_(fw::Screen->Cursor()) { fw::Screen->SetCursor(fw::crHourGlass); }
    ~HourGlass() { fw::Screen->SetCursor(saved_); }

private:
    fw::TCursor saved_;
};

}  // namespace

void TfrmArcExtract::FormCreate(fw::TObject*) { PageControl1->SetActivePage(tsGeneral); }

void TfrmArcExtract::FormShow(fw::TObject*) {
    lbHistory->Items()->Assign(KVXMRUList1->Items());
    if (!startFolder_.empty()) SelectFolder(startFolder_);
    startFolder_.clear();
}

void TfrmArcExtract::FormActivate(fw::TObject*) {
    const bool selection = ZMain && ZMain->ListView1->SelCount() > 0;
    RadioGroup1->SetItemIndex(selection ? 0 : 1);
}

// The dialog's buttons are shaped buttons, which take no focus: Enter extracts and Escape closes.
void TfrmArcExtract::FormKeyDown(fw::TObject*, uint16_t& Key, fw::TShiftState Shift) {
    if (Key == VK_RETURN && Shift.Empty()) {
        Key = 0;
        btnExtractClick(this);
    } else if (Key == VK_ESCAPE && Shift.Empty()) {
        Key = 0;
        btnCloseClick(this);
    }
}

std::string TfrmArcExtract::Folder() {
    const std::string folder = JexoShellTree1->SelectedFolder();
    return folder.empty() ? folder : engine::AppendBackslash(folder);
}

bool TfrmArcExtract::SelectFolder(const std::string& folder) {
    HourGlass wait;
    try {
        JexoShellTree1->SetSelectedFolder(folder);
        return true;
    } catch (const fw::Exception&) {
        return false;
    }
}

bool TfrmArcExtract::AllFiles() const { return RadioGroup1->ItemIndex() == 1; }
bool TfrmArcExtract::ConfirmOverwrite() const { return RadioGroup2->ItemIndex() == 1; }
bool TfrmArcExtract::RestoreFolders() const { return Checkbox1->Checked(); }
bool TfrmArcExtract::OpenFolderAfter() const { return Checkbox2->Checked(); }

void TfrmArcExtract::btnExtractClick(fw::TObject*) {
    const std::string folder = Folder();
    if (folder.empty()) return;
    if (engine::DirectoryExists(folder)) {
        KVXMRUList1->Add(folder);
        SelectFolder(folder);
        SetModalResult(fw::mrOk);
    } else if (engine::DriveReady(folder)) {
        fw::MessageDlg(folder + "\r\r ...not found.", fw::mtInformation, fw::TMsgDlgButtons{fw::mbOK}, 0);
    }
}

void TfrmArcExtract::btnCloseClick(fw::TObject*) { SetModalResult(fw::mrCancel); }

void TfrmArcExtract::btnCreateFolderClick(fw::TObject*) {
    std::string folder = Folder();
    if (fw::SelectDirectory("Create Folder", "", folder,
                            fw::TSelectDirOpts{fw::TSelectDirOpt::sdAllowCreate, fw::TSelectDirOpt::sdPerformCreate,
                                               fw::TSelectDirOpt::sdPrompt}))
        SelectFolder(folder);
}

void TfrmArcExtract::lbHistoryDblClick(fw::TObject*) {
    const int index = lbHistory->ItemIndex();
    if (index < 0) return;
    const std::string folder = lbHistory->Items()->Strings(index);
    if (!engine::DirectoryExists(folder)) return;
    PageControl1->SetActivePage(tsGeneral);
    SelectFolder(folder);
}

void RegisterArcExtractClass() {
    using F = TfrmArcExtract;
    fw::Class<F, fw::TForm>("TfrmArcExtract")
        .Field("PageControl1", &F::PageControl1)
        .Field("tsGeneral", &F::tsGeneral)
        .Field("JexoShellTree1", &F::JexoShellTree1)
        .Field("RadioGroup1", &F::RadioGroup1)
        .Field("RadioGroup2", &F::RadioGroup2)
        .Field("Checkbox1", &F::Checkbox1)
        .Field("Checkbox2", &F::Checkbox2)
        .Field("lbHistory", &F::lbHistory)
        .Field("KVXMRUList1", &F::KVXMRUList1)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormShow", &F::FormShow)
        .Method("FormActivate", &F::FormActivate)
        .Method("FormKeyDown", &F::FormKeyDown)
        .Method("btnExtractClick", &F::btnExtractClick)
        .Method("btnCloseClick", &F::btnCloseClick)
        .Method("btnCreateFolderClick", &F::btnCreateFolderClick)
        .Method("lbHistoryDblClick", &F::lbHistoryDblClick);
}

}  // namespace app
