// Opening and listing an archive: the lister's handlers, the columns, sorting, the status bar's
// totals, the command states and the busy indicator.
#include <algorithm>

#include "app/commands.h"
#include "app/log_lines.h"
#include "app/text_routines.h"
#include "app/totals.h"
#include "app/win32/formZipMain.h"
#include "engine/core/file_routines.h"
#include "engine/core/messages.h"
#include "engine/core/run_context.h"
#include "engine/formats/uue/uu_decode.h"
#include "engine/lister/krenlo.h"
#include "engine/win32/shell_info.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/menus.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_statusbar.h"
#include "framework/win32/std_toolbar.h"
#include "uisupport/win32/mrumanager.h"
#include "widgets/win32/filectrl.h"
#include "widgets/win32/imagelistbox.h"
#include "widgets/win32/mrulist.h"

namespace app {

using engine::TArcType;

namespace {

void* IndexData(size_t index) { return reinterpret_cast<void*>(static_cast<uintptr_t>(index)); }
size_t DataIndex(void* data) { return static_cast<size_t>(reinterpret_cast<uintptr_t>(data)); }

// The sort of one column click: the records and the column's identity.
struct SortContext {
    const std::vector<EntryRecord>* records;
    ColumnId column;
    bool ascending;
};

int CompareItems(fw::TListItem* a, fw::TListItem* b, LPARAM data) {
    const auto* sort = reinterpret_cast<const SortContext*>(data);
    const size_t ia = DataIndex(a->Data()), ib = DataIndex(b->Data());
    if (ia >= sort->records->size() || ib >= sort->records->size()) return 0;
    const int c = CompareEntries((*sort->records)[ia], (*sort->records)[ib], sort->column);
    return sort->ascending ? c : -c;
}

}  // namespace

// ---- opening ------------------------------------------------------------------------------------

void TfrmZipMain::OpenArchive(const std::string& path) {
    if (!path.empty() && engine::FileExistsFind(path)) {
        records_.clear();
        KVXFileCtrl1->SetFileName(path);
        if (mrumHistory->Strings().IndexOf(path) < 0) mrumHistory->Add(path, 0);
        if (mruHistory->Items()->IndexOf(path) < 0) mruHistory->Add(path);
        UpdateHistoryLists(path);
        lblArchiveName->SetCaption(fw::ExtractFileName(path));
        ClearList();
        Krenlo1->SetArchiveFile(path);
        BeginRun();
        Krenlo1->Activate();
        EndRun();
        if (Visible() && ListView1->CanFocus()) ListView1->SetFocus();
        DisplayTotals(0);
        if (Krenlo1->ArcType() == TArcType::atUue) DoUueDecode();
    }
    EnableMenus();
    const TArcType type = Krenlo1->ArcType();
    SetCaption(WindowCaption(engine::FileExistsFind(path) ? path : std::string(), Krenlo1->FileSpec(), type));
}

void TfrmZipMain::UpdateHistoryLists(const std::string& path) {
    lsbHistory->Items()->Assign(mruHistory->Items());
    cmbAddress->Items()->Assign(mruHistory->Items());
    cmbAddress->SetItemIndex(cmbAddress->Items()->IndexOf(path));
}

void TfrmZipMain::ClearList() {
    ListView1->Items()->Clear();
    records_.clear();
}

void TfrmZipMain::Krenlo1Activate(fw::TObject*) {
    ClearList();
    StatusBar1->SetSimplePanel(true);
}

const TfrmZipMain::ShellLook& TfrmZipMain::LookOf(const std::string& fileName) {
    // The shell answers by extension alone, and slowly: one question per extension serves a listing
    // of any size.
    const std::string ext = fw::UpperCase(fw::ExtractFileExt(fileName));
    auto found = shellLooks_.find(ext);
    if (found == shellLooks_.end())
        found = shellLooks_
                    .emplace(ext, ShellLook{engine::win32::GetIconIndex(fileName), engine::win32::GetFileTypeName(fileName)})
                    .first;
    return found->second;
}

void TfrmZipMain::Krenlo1Read(fw::TObject* Sender, int64_t Offset, int) {
    auto* entry = dynamic_cast<engine::TZipCommon*>(Sender);
    if (!entry) return;
    const ShellLook& look = LookOf(entry->FileName);
    records_.push_back(RecordFromEntry(*entry, Offset, look.typeName));
    const EntryRecord& record = records_.back();
    // Filled first and handed to the list whole: one insert into the window per entry.
    auto* item = new fw::TListItem(nullptr);
    item->SetData(IndexData(records_.size() - 1));
    item->SetImageIndex(look.icon);
    item->SetCaption(record.name);
    fw::TStrings* sub = item->SubItems();
    for (const std::string& text : SubItemTexts(record, prefs_.columnShown)) sub->Add(text);
    ListView1->Items()->AddItem(item);
}

// The run's end (EndRun) restores the list and the indicator.
void TfrmZipMain::Krenlo1Deactivate(fw::TObject*) { StatusBar1->SetSimpleText(""); }

const EntryRecord* TfrmZipMain::RecordOf(fw::TListItem* item) const {
    if (!item) return nullptr;
    const size_t index = DataIndex(item->Data());
    return index < records_.size() ? &records_[index] : nullptr;
}

void TfrmZipMain::AddSelectedIndexes(std::vector<size_t>& indexes) const {
    fw::TListItems* items = ListView1->Items();
    for (int i = ListView1->NextSelected(-1); i >= 0; i = ListView1->NextSelected(i))
        indexes.push_back(DataIndex(items->Item(i)->Data()));
}

// ---- totals and states --------------------------------------------------------------------------

void TfrmZipMain::DisplayTotals(int mode) {
    if (ListView1->SelCount() == 0) mode = 0;
    Totals totals;
    if (mode == 1) {
        std::vector<size_t> selected;
        AddSelectedIndexes(selected);
        totals = SumRecords(records_, selected);
    } else {
        totals.count = ListView1->Items()->Count();
        totals.packed = Krenlo1->TotalPackedSize;
        totals.unpacked = Krenlo1->TotalUnpackedSize;
    }
    const auto texts = PanelTexts(Krenlo1->ArcType(), totals);
    for (int i = 0; i < 5; ++i) StatusBar1->Panels()->Items(i)->SetText(texts[static_cast<size_t>(i)]);
    ProgressBar1->SetVisible(false);
    StatusBar1->SetSimplePanel(false);
    StatusBar1->Repaint();
    if (!Busy()) engine::SetActiveArcComponent(nullptr);
}

void TfrmZipMain::ListView1Click(fw::TObject*) { DisplayTotals(1); }

void TfrmZipMain::StatusBar1Click(fw::TObject*) { DisplayTotals(0); }

void TfrmZipMain::EnableMenus() {
    const bool open = !Krenlo1->ArchiveFile().empty();
    const CommandStates s = CommandsFor(Krenlo1->ArcType(), open, Busy());
    mnuAction->SetVisible(true);
    mnuExtract1->SetEnabled(s.extract);
    pmiExtract->SetEnabled(s.extract);
    mnuRefresh1->SetEnabled(s.refresh);
    miFileClose->SetEnabled(s.fileCommands);
    EnableFileCommands(s.fileCommands, s.verify);
    EnableWriteCommands(s.addDelete);
    EnableToolCommands(open && !Busy(), s.extract);
}

void TfrmZipMain::ApplicationBusy() {
    ListView1->SetCursor(fw::crHourGlass);
    fw::Screen->SetCursor(fw::crHourGlass);
    SetLedColor(0x0000FF);
    ++busyCount_;
    ListView1->BeginUpdate();
    Repaint();
}

void TfrmZipMain::ApplicationWaiting() {
    // A resumption while nothing is suspended changes nothing.
    if (busyCount_ > 0) {
        --busyCount_;
        ListView1->EndUpdate();
    }
    SetLedColor(0x008000);
    ListView1->SetCursor(fw::crDefault);
    fw::Screen->SetCursor(fw::crDefault);
}

// ---- the busy indicator -------------------------------------------------------------------------

void TfrmZipMain::MakeLedPicture() {
    fw::TBitmap* bitmap = imgLed->Picture()->Bitmap();
    bitmap->SetWidth(13);
    bitmap->SetHeight(13);
    fw::TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(fw::clBtnFace);
    canvas->FillRect(fw::TRect(0, 0, 13, 13));
    canvas->Pen()->SetColor(fw::clBlack);
    canvas->Brush()->SetColor(0x008000);
    canvas->Ellipse(1, 1, 12, 12);
}

void TfrmZipMain::SetLedColor(fw::TColor color) {
    fw::TCanvas* canvas = imgLed->Picture()->Bitmap()->Canvas();
    canvas->Brush()->SetColor(color);
    canvas->FloodFill(6, 6, canvas->Pixels(6, 6), fw::TFillStyle::fsSurface);
    pbxLed->Repaint();
}

void TfrmZipMain::pbxLedPaint(fw::TObject*) {
    fw::TBitmap* bitmap = imgLed->Picture()->Bitmap();
    pbxLed->Canvas()->Draw((pbxLed->Width() - bitmap->Width()) / 2, (pbxLed->Height() - bitmap->Height()) / 2, bitmap);
}

void TfrmZipMain::LedClick(fw::TObject*) {
    engine::TZipCommon* active = engine::ActiveArcComponent();
    if (!active || !Busy()) return;
    engine::TAwkMain::Cancel(active, true);
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetSimpleText("Aborting...");
    StatusBar1->Repaint();
}

// ---- columns and sorting ------------------------------------------------------------------------

void TfrmZipMain::BuildColumns() {
    ListView1->Items()->Clear();
    records_.clear();
    LockWindowUpdate(Handle());
    fw::TListColumns* columns = ListView1->Columns();
    columns->Clear();
    shownColumns_.clear();
    for (int c = 0; c < kColumnCount; ++c) {
        if (!prefs_.columnShown[static_cast<size_t>(c)]) continue;
        fw::TListColumn* column = columns->Add();
        column->SetCaption(kColumns[static_cast<size_t>(c)].caption);
        column->SetWidth(kColumns[static_cast<size_t>(c)].width);
        shownColumns_.push_back(static_cast<ColumnId>(c));
    }
    mnuRefresh1Click(this);
    LockWindowUpdate(nullptr);
}

void TfrmZipMain::ListView1ColumnClick(fw::TObject*, fw::TListColumn* Column) {
    if (!Column) return;
    const int position = Column->Index();
    if (position < 0 || static_cast<size_t>(position) >= shownColumns_.size()) return;
    if (position == sortColumn_) {
        sortAscending_ = !sortAscending_;
    } else {
        sortColumn_ = position;
        sortAscending_ = true;
    }
    SortContext sort{&records_, shownColumns_[static_cast<size_t>(position)], sortAscending_};
    ListView1->CustomSort(&CompareItems, reinterpret_cast<LPARAM>(&sort));
}

// ---- commands -----------------------------------------------------------------------------------

void TfrmZipMain::mnuRefresh1Click(fw::TObject*) {
    if (Busy()) return;
    ClearList();
    if (Krenlo1->ArchiveFile().empty()) return;
    BeginRun();
    Krenlo1->Activate();
    EndRun();
}

void TfrmZipMain::miFileCloseClick(fw::TObject*) {
    if (Busy()) return;
    records_.clear();
    Krenlo1->SetArchiveFile("");
    KVXFileCtrl1->SetFileName("");
    lblArchiveName->SetCaption("");
    cmbAddress->SetText("");
    ApplicationBusy();
    ListView1->Items()->Clear();
    ApplicationWaiting();
    SetCaption("");
    StatusBar1->SetSimplePanel(true);
    EnableMenus();
}

void TfrmZipMain::miEditSelectAllClick(fw::TObject*) {
    if (Visible() && ListView1->CanFocus()) ListView1->SetFocus();
    fw::TListItems* items = ListView1->Items();
    for (int i = 0; i < items->Count(); ++i) items->Item(i)->SetSelected(true);
}

void TfrmZipMain::miEditInvertClick(fw::TObject*) {
    fw::TListItems* items = ListView1->Items();
    for (int i = 0; i < items->Count(); ++i) items->Item(i)->SetSelected(!items->Item(i)->Selected());
}

void TfrmZipMain::mrumHistoryClick(fw::TObject*, const std::string& RecentName, const std::string&, int) {
    if (!Busy()) OpenArchive(RecentName);
}

void TfrmZipMain::KVXFMDrop1FMDragDrop(fw::TObject*, int, int, int, fw::TStrings* FileList) {
    if (Busy() || !FileList || FileList->Count() == 0) return;
    if (IsArchiveExtension(FileList->Strings(0))) {
        OpenArchive(FileList->Strings(0));
        return;
    }
    std::vector<std::string> names;
    for (int i = 0; i < FileList->Count(); ++i) names.push_back(FileList->Strings(i));
    AddFilesToArchive(names);
}

// ---- UU-encoded archives ------------------------------------------------------------------------

void TfrmZipMain::DoUueDecode() {
    const std::string inner = Krenlo1->FileName;
    if (inner.empty() || engine::ExtensionIndex(fw::ExtractFileExt(inner)) == -1) return;
    if (fw::MessageDlg("Decode archive to a temp folder and open it?", fw::mtConfirmation,
                       fw::TMsgDlgButtons{fw::mbYes, fw::mbNo}, 0) != fw::mrYes)
        return;
    StatusBar1->SetSimplePanel(true);
    ProgressBar1->SetVisible(true);
    const std::string folder = engine::GetCurrentDir();
    UUDecode1->SetArchiveFile(Krenlo1->ArchiveFile());
    UUDecode1->SetExtractDir(engine::GetTempDir());
    BeginRun();
    UUDecode1->Extract();
    Krenlo1->SetArchiveFile(UUDecode1->FileName);
    Krenlo1->Activate();
    EndRun();
    DisplayTotals(0);
    OpenDialog1->SetFileName(Krenlo1->ArchiveFile());
    StatusBar1->SetSimplePanel(false);
    ProgressBar1->SetVisible(false);
    engine::SetCurrentDir(folder);
}

// ---- the log ------------------------------------------------------------------------------------

void TfrmZipMain::Log(const std::string& line) { memLog->Lines()->Add(line); }

void TfrmZipMain::Krenlo1Error(fw::TObject* Sender, const std::string& FN, const std::string& MsgEx,
                               const std::string&, int ECode) {
    auto* component = dynamic_cast<engine::TZipCommon*>(Sender);
    const std::string archive = component ? component->ArchiveFile() : std::string();
    const std::string line =
        ErrorLogLine(archive, FN, ECode, std::string(engine::MessageText(ECode)), MsgEx);
    if (!line.empty()) Log(line);
}

}  // namespace app
