#include "app/win32/formArcOpen.h"

#include "app/archive_writing.h"
#include "app/text_routines.h"
#include "app/win32/formArcAddFiles.h"
#include "app/win32/formZipMain.h"
#include "engine/core/arc_types.h"
#include "engine/core/routines.h"
#include "framework/core/rtti.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_pagecontrol.h"
#include "uisupport/shell/win32/shelllist.h"
#include "uisupport/shell/win32/shelltree.h"
#include "widgets/win32/mrulist.h"

namespace app {

void TfrmArcOpen::FormCreate(fw::TObject*) {
    cmbArcType->SetItemIndex(0);
    FillMethods();
    cmbArcFilter->SetItemIndex(0);
    JexoShellList1->SetFilter(ArchiveFilterFor(cmbArcFilter->Text()));
}

void TfrmArcOpen::FormShow(fw::TObject*) {
    lbHistory->Items()->Clear();
    if (ZMain) lbHistory->Items()->Assign(ZMain->mruHistory->Items());
}

void TfrmArcOpen::FormClose(fw::TObject*, fw::TCloseAction&) { btnOpen->SetVisible(false); }

void TfrmArcOpen::Prepare(bool create) {
    if (create) {
        PageControl1->SetActivePage(tsNew);
        cmbArcType->SetItemIndex(0);
        FillMethods();
    } else {
        PageControl1->SetActivePage(tsExisting);
        cmbArcType->SetItemIndex(0);
    }
    ShowButtonsFor(create);
}

void TfrmArcOpen::ShowButtonsFor(bool create) {
    SetCaption(create ? "Create Archive" : "Open Archive");
    btnCreate->SetVisible(create);
    btnOpen->SetVisible(!create);
}

void TfrmArcOpen::PageControl1Change(fw::TObject*) { ShowButtonsFor(OnNewPage()); }

void TfrmArcOpen::ShowFolder(const std::string& folder) {
    try {
        JexoShellList1->SetPath(folder);
    } catch (const fw::Exception&) {
        // A folder the shell cannot show leaves the list where it was.
    }
}

bool TfrmArcOpen::OnNewPage() const { return PageControl1->ActivePage() == tsNew; }

std::string TfrmArcOpen::ArchiveName() const { return edtOpenArcName->Text(); }
std::string TfrmArcOpen::NewName() const { return edtArcName->Text(); }
int TfrmArcOpen::ArchiveTypeIndex() const { return cmbArcType->ItemIndex(); }
int TfrmArcOpen::MethodIndex() const { return cmbCompressMethod->ItemIndex(); }
std::string TfrmArcOpen::Password() const { return cbProtect->Checked() ? edtPassword->Text() : std::string(); }

std::vector<std::string> TfrmArcOpen::MethodNames() const {
    std::vector<std::string> names;
    fw::TStrings* items = cmbCompressMethod->Items();
    for (int i = 0; i < items->Count(); ++i) names.push_back(items->Strings(i));
    return names;
}

std::string TfrmArcOpen::Folder() {
    const std::string folder = JexoShellTree1->SelectedFolder();
    return folder.empty() ? folder : engine::AppendBackslash(folder);
}

void TfrmArcOpen::FillMethods() {
    const NewArchiveType* type = NewArchiveTypeAt(cmbArcType->ItemIndex());
    fw::TStrings* items = cmbCompressMethod->Items();
    items->Clear();
    if (!type) return;
    for (const std::string& name : app::MethodNames(type->type)) items->Add(name);
    cmbCompressMethod->SetItemIndex(1);
}

void TfrmArcOpen::cmbArcTypeChange(fw::TObject*) { FillMethods(); }

void TfrmArcOpen::cbProtectClick(fw::TObject*) {
    const bool on = cbProtect->Checked();
    edtPassword->SetEnabled(on);
    edtPassword->SetColor(on ? fw::clWindow : fw::TColor(0xC0C0C0));
    if (!on) edtPassword->SetText("");
}

void TfrmArcOpen::btnCreateFolderClick(fw::TObject*) {
    std::string folder = Folder();
    if (!fw::SelectDirectory("Create Folder", "", folder,
                             fw::TSelectDirOpts{fw::TSelectDirOpt::sdAllowCreate, fw::TSelectDirOpt::sdPerformCreate,
                                                fw::TSelectDirOpt::sdPrompt}))
        return;
    const fw::TCursor saved = fw::Screen->Cursor();
    fw::Screen->SetCursor(fw::crHourGlass);
    try {
        JexoShellTree1->SetSelectedFolder(folder);
    } catch (const fw::Exception&) {
        // A folder the tree cannot show leaves its selection.
    }
    fw::Screen->SetCursor(saved);
}

void TfrmArcOpen::btnUpClick(fw::TObject*) { JexoShellList1->GoUp(); }

void TfrmArcOpen::btnRefreshClick(fw::TObject*) { JexoShellList1->Populate(); }

void TfrmArcOpen::ViewButtonClick(fw::TObject* Sender) {
    auto* button = dynamic_cast<fw::TComponent*>(Sender);
    JexoShellList1->SetViewStyle(button && button->Tag() == 1 ? fw::TViewStyle::vsReport : fw::TViewStyle::vsSmallIcon);
}

void TfrmArcOpen::cmbArcFilterChange(fw::TObject*) { JexoShellList1->SetFilter(ArchiveFilterFor(cmbArcFilter->Text())); }

bool TfrmArcOpen::TakeSelectedArchive() {
    const std::vector<std::string> paths = SelectedShellPaths(JexoShellList1);
    if (paths.empty() || !IsArchiveExtension(paths.front())) return false;
    edtOpenArcName->SetText(paths.front());
    return true;
}

void TfrmArcOpen::JexoShellList1MouseUp(fw::TObject*, fw::TMouseButton, fw::TShiftState, int, int) {
    TakeSelectedArchive();
}

// A selection made with the keys counts as one made with the mouse.
void TfrmArcOpen::JexoShellList1KeyUp(fw::TObject*, uint16_t&, fw::TShiftState) { TakeSelectedArchive(); }

void TfrmArcOpen::JexoShellList1DblClick(fw::TObject*) {
    if (TakeSelectedArchive()) SetModalResult(fw::mrOk);
}

void TfrmArcOpen::lbHistoryClick(fw::TObject*) {
    const int index = lbHistory->ItemIndex();
    if (index >= 0) edtOpenArcName->SetText(lbHistory->Items()->Strings(index));
}

void TfrmArcOpen::lbHistoryDblClick(fw::TObject* Sender) {
    lbHistoryClick(Sender);
    SetModalResult(fw::mrOk);
}

void RegisterArcOpenClass() {
    using F = TfrmArcOpen;
    fw::Class<F, fw::TForm>("TfrmArcOpen")
        .Field("PageControl1", &F::PageControl1)
        .Field("tsNew", &F::tsNew)
        .Field("tsExisting", &F::tsExisting)
        .Field("tsRecent", &F::tsRecent)
        .Field("edtArcName", &F::edtArcName)
        .Field("cmbArcType", &F::cmbArcType)
        .Field("cmbCompressMethod", &F::cmbCompressMethod)
        .Field("JexoShellTree1", &F::JexoShellTree1)
        .Field("cbProtect", &F::cbProtect)
        .Field("edtPassword", &F::edtPassword)
        .Field("JexoShellList1", &F::JexoShellList1)
        .Field("cmbArcFilter", &F::cmbArcFilter)
        .Field("edtOpenArcName", &F::edtOpenArcName)
        .Field("lbHistory", &F::lbHistory)
        .Field("btnOpen", &F::btnOpen)
        .Field("btnCreate", &F::btnCreate)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormShow", &F::FormShow)
        .Method("FormClose", &F::FormClose)
        .Method("PageControl1Change", &F::PageControl1Change)
        .Method("cmbArcTypeChange", &F::cmbArcTypeChange)
        .Method("cbProtectClick", &F::cbProtectClick)
        .Method("btnCreateFolderClick", &F::btnCreateFolderClick)
        .Method("btnUpClick", &F::btnUpClick)
        .Method("btnRefreshClick", &F::btnRefreshClick)
        .Method("ViewButtonClick", &F::ViewButtonClick)
        .Method("cmbArcFilterChange", &F::cmbArcFilterChange)
        .Method("JexoShellList1MouseUp", &F::JexoShellList1MouseUp)
        .Method("JexoShellList1KeyUp", &F::JexoShellList1KeyUp)
        .Method("JexoShellList1DblClick", &F::JexoShellList1DblClick)
        .Method("lbHistoryClick", &F::lbHistoryClick)
        .Method("lbHistoryDblClick", &F::lbHistoryDblClick);
}

}  // namespace app
