#include "app/win32/formArcFindFiles.h"

#include "app/archive_writing.h"
#include "app/win32/formArcAddFiles.h"
#include "framework/core/rtti.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_datetimepicker.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_statusbar.h"
#include "uisupport/win32/formstorage.h"
#include "widgets/win32/buttongroups.h"
#include "widgets/win32/dirdlg.h"
#include "widgets/win32/filegrep.h"
#include "widgets/win32/kvxlistbox.h"
#include "widgets/win32/spinedit.h"

namespace app {

using kvx::win32::TKVXFileGrepAttribute;
using kvx::win32::TKVXLookFor;

namespace {

// A bound of a date range: the day of the date picker and the time of day of the time picker.
double Bound(fw::TDateTimePicker* date, fw::TDateTimePicker* time) {
    const double t = time->DateTime();
    return static_cast<int>(date->DateTime()) + (t - static_cast<int>(t));
}

}  // namespace

void TfrmArcFindFiles::FormCloseQuery(fw::TObject*, bool&) {
    closing_ = true;
    if (lf->Searching()) lf->Cancel();
}

void TfrmArcFindFiles::FormClose(fw::TObject*, fw::TCloseAction& Action) { Action = fw::TCloseAction::caFree; }

void TfrmArcFindFiles::btnStartDirClick(fw::TObject*) {
    KVXDirDlg1->Path = EditStartDir->Text();
    if (KVXDirDlg1->Execute()) EditStartDir->SetText(KVXDirDlg1->Path);
}

void TfrmArcFindFiles::btnStartClick(fw::TObject*) {
    if (lf->Searching()) return;
    btnStart->SetEnabled(false);
    btnStop->SetEnabled(true);
    KVXListBox1->Items()->Clear();
    found_ = 0;
    lblFound->SetCaption("Found: 0");

    kvx::win32::TKVXFileGrepAttributes attributes;
    if (LimitAttr->Checked()) {
        const int boxes = AttrBox->Value();
        if (boxes & 1) attributes.Include(TKVXFileGrepAttribute::fmReadOnly);
        if (boxes & 2) attributes.Include(TKVXFileGrepAttribute::fmHidden);
        if (boxes & 4) attributes.Include(TKVXFileGrepAttribute::fmSystem);
        if (boxes & 8) attributes.Include(TKVXFileGrepAttribute::fmArchive);
    } else {
        attributes.Include(TKVXFileGrepAttribute::fmAnyfile);
    }
    lf->Attributes = attributes;

    kvx::win32::TKVXLookFors dates;
    struct Range {
        fw::TCheckBox* ignore;
        TKVXLookFor after, before;
        int afterIndex;
        fw::TDateTimePicker *min, *minTime, *max, *maxTime;
    } ranges[] = {
        {IgnoreCreated, TKVXLookFor::lfCreateAfter, TKVXLookFor::lfCreateBefore, 0, MinC, MinCT, MaxC, MaxCT},
        {IgnoreAccessed, TKVXLookFor::lfAccessedAfter, TKVXLookFor::lfAccessedBefore, 2, MinA, MinAT, MaxA, MaxAT},
        {IgnoreModified, TKVXLookFor::lfModifiedAfter, TKVXLookFor::lfModifiedBefore, 4, MinM, MinMT, MaxM, MaxMT},
    };
    for (const Range& r : ranges) {
        lf->GetDate(r.afterIndex)->SetDateTime(Bound(r.min, r.minTime));
        lf->GetDate(r.afterIndex + 1)->SetDateTime(Bound(r.max, r.maxTime));
        if (!r.ignore->Checked()) {
            dates.Include(r.after);
            dates.Include(r.before);
        }
    }
    lf->LookForDates = dates;
    lf->FileMasks = EditFileMasks->Text();
    lf->Dirs = EditStartDir->Text();
    lf->RecurseSubDirs = RecurseSubDirs->Checked();
    lf->MinSize = MinSize->Value();
    lf->MaxSize = MaxSize->Value();
    lf->Content = EditContent->Text();
    lf->Execute();
}

void TfrmArcFindFiles::btnStopClick(fw::TObject*) { lf->Cancel(); }

void TfrmArcFindFiles::lfFound(fw::TObject*, const std::string&) {
    // The hit's line is added to the list after this event: the count is kept here.
    lblFound->SetCaption("Found: " + std::to_string(++found_));
}

void TfrmArcFindFiles::lfDirChange(fw::TObject*, const std::string& name) { StatusBar1->SetSimpleText(name); }

void TfrmArcFindFiles::SearchEnded(const char* message) {
    btnStart->SetEnabled(true);
    btnStop->SetEnabled(false);
    StatusBar1->SetSimpleText("");
    if (!closing_) fw::ShowMessage(message);
}

void TfrmArcFindFiles::lfFinished(fw::TObject*) { SearchEnded("Finished!"); }

void TfrmArcFindFiles::lfCancel(fw::TObject*) { SearchEnded("Cancelled"); }

void TfrmArcFindFiles::AddLines(bool selectedOnly) {
    // A search still running is stopped first; the dialog is freed once the loop is back outside it.
    closing_ = true;
    if (lf->Searching()) lf->Cancel();
    SetVisible(false);
    fw::TStrings* lines = KVXListBox1->Items();
    for (int i = 0; i < lines->Count(); ++i) {
        if (selectedOnly && !KVXListBox1->Selected(i)) continue;
        const std::string path = FoundLinePath(lines->Strings(i));
        if (!path.empty() && AddFiles) AddFiles->AddToList(path);
    }
    Close();
}

void TfrmArcFindFiles::btnAddAllClick(fw::TObject*) { AddLines(false); }

void TfrmArcFindFiles::btnAddSelectedClick(fw::TObject*) { AddLines(true); }

void RegisterArcFindFilesClass() {
    using F = TfrmArcFindFiles;
    fw::Class<F, fw::TForm>("TfrmArcFindFiles")
        .Field("EditFileMasks", &F::EditFileMasks)
        .Field("EditStartDir", &F::EditStartDir)
        .Field("RecurseSubDirs", &F::RecurseSubDirs)
        .Field("MinA", &F::MinA)
        .Field("MinAT", &F::MinAT)
        .Field("MaxA", &F::MaxA)
        .Field("MaxAT", &F::MaxAT)
        .Field("IgnoreAccessed", &F::IgnoreAccessed)
        .Field("MinC", &F::MinC)
        .Field("MinCT", &F::MinCT)
        .Field("MaxC", &F::MaxC)
        .Field("MaxCT", &F::MaxCT)
        .Field("IgnoreCreated", &F::IgnoreCreated)
        .Field("MinM", &F::MinM)
        .Field("MinMT", &F::MinMT)
        .Field("MaxM", &F::MaxM)
        .Field("MaxMT", &F::MaxMT)
        .Field("IgnoreModified", &F::IgnoreModified)
        .Field("MinSize", &F::MinSize)
        .Field("MaxSize", &F::MaxSize)
        .Field("EditContent", &F::EditContent)
        .Field("AttrBox", &F::AttrBox)
        .Field("LimitAttr", &F::LimitAttr)
        .Field("KVXListBox1", &F::KVXListBox1)
        .Field("lblFound", &F::lblFound)
        .Field("btnStart", &F::btnStart)
        .Field("btnStop", &F::btnStop)
        .Field("StatusBar1", &F::StatusBar1)
        .Field("lf", &F::lf)
        .Field("KVXDirDlg1", &F::KVXDirDlg1)
        .Field("FormStorage1", &F::FormStorage1)
        .Method("FormClose", &F::FormClose)
        .Method("FormCloseQuery", &F::FormCloseQuery)
        .Method("btnStartDirClick", &F::btnStartDirClick)
        .Method("btnStartClick", &F::btnStartClick)
        .Method("btnStopClick", &F::btnStopClick)
        .Method("btnAddAllClick", &F::btnAddAllClick)
        .Method("btnAddSelectedClick", &F::btnAddSelectedClick)
        .Method("lfFound", &F::lfFound)
        .Method("lfDirChange", &F::lfDirChange)
        .Method("lfFinished", &F::lfFinished)
        .Method("lfCancel", &F::lfCancel);
}

}  // namespace app
