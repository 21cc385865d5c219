// The extract command and the handlers every engine component shares: begin, progress, end, the
// overwrite question, the password and volume prompts.
#include "app/commands.h"
#include "app/log_lines.h"
#include "app/win32/formArcExtract.h"
#include "app/win32/formOverwrite.h"
#include "app/win32/formZipMain.h"
#include "engine/core/display_routines.h"
#include "engine/core/file_routines.h"
#include "engine/core/routines.h"
#include "engine/core/un_base.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/lister/krenlo.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_statusbar.h"

namespace app {

namespace {

TfrmOverwrite* frmOverwrite = nullptr;

// The path shortened with "...\" to the width of the status bar, in its font.
std::string ShortenForStatus(fw::TStatusBar* bar, const std::string& path) {
    HWND window = bar->Handle();
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
    auto measure = [dc](const std::string& text) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    std::string shortened = engine::ShortenPath(path, bar->ClientWidth() - 100, measure);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return shortened;
}

}  // namespace

void TfrmZipMain::mnuExtract1Click(fw::TObject*) {
    if (!Busy()) ExtractCommand();
}

void TfrmZipMain::ExtractCommand() {
    TfrmArcExtract* dialog = ExtractDialog();
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty()) return;
    const std::string start = prefs_.useExtractFolder ? prefs_.extractFolder : fw::ExtractFilePath(archive);
    dialog->SetStartFolder(start);
    if (dialog->ShowModal() != fw::mrOk) return;
    if (!dialog->AllFiles() && ListView1->SelCount() == 0) return;
    OverwriteAnswer = 0;
    engine::TUnBase* extractor = ChooseExtractor();
    if (!extractor) return;
    const std::string folder = dialog->Folder();
    extractor->SetExtractDir(folder);
    extractor->SetUseStoredDirs(dialog->RestoreFolders());
    BeginRun();
    try {
        if (dialog->AllFiles()) {
            extractor->SetFileSpec(Krenlo1->FileSpec());
            extractor->Extract();
        } else {
            // One run per selected entry, reached through the item's record whatever the list's order.
            fw::TListItems* items = ListView1->Items();
            for (int i = ListView1->NextSelected(-1); i >= 0 && !closeAfterRun_; i = ListView1->NextSelected(i)) {
                const EntryRecord* record = RecordOf(items->Item(i));
                if (!record) continue;
                extractor->SetFileSpec(EntryFileSpec(record->folder, record->name));
                extractor->VolumeID = record->volumeId;
                extractor->Extract();
            }
        }
    } catch (...) {
        EndRun();
        throw;
    }
    EndRun();
    if (dialog->OpenFolderAfter() && !closeAfterRun_) {
        // Quoted, so that a folder with blanks opens as one.
        const std::string line = "explorer \"" + folder + "\"";
        WinExec(line.c_str(), SW_SHOWNORMAL);
    }
}

engine::TUnBase* TfrmZipMain::ChooseExtractor() {
    const std::string name = ExtractorFor(Krenlo1->ArcType());
    auto* extractor = name.empty() ? nullptr : dynamic_cast<engine::TUnBase*>(FindComponent(name));
    if (!extractor) {
        fw::MessageDlg("Extract not supported for this filetype.", fw::mtInformation, fw::TMsgDlgButtons{fw::mbOK}, 0);
        return nullptr;
    }
    CurrentExtractor = extractor;
    if (extractor == UnZIP1) UnZIP1->SetZipCmntBufSize(Krenlo1->ZipCmntBufSize());
    extractor->SetArchiveFile(Krenlo1->ArchiveFile());
    return extractor;
}

std::string TfrmZipMain::StatusPath(const std::string& path) { return ShortenForStatus(StatusBar1, path); }

void TfrmZipMain::UnZIP1Begin(fw::TObject*, const std::string& FN, int, bool&) {
    const std::string text = "Extracting: " + ShortenForStatus(StatusBar1, FN);
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetSimpleText(text);
    StatusBar1->Repaint();
    Log(text);
}

void TfrmZipMain::UnZIP1Progress(fw::TObject*, uint8_t Progress) {
    ProgressBar1->SetPosition(Progress);
    ProgressBar1->Repaint();
}

void TfrmZipMain::UnZIP1End(fw::TObject*, const std::string& FN, bool CRC_PASS) {
    StatusBar1->SetSimpleText("");
    ProgressBar1->SetPosition(0);
    if (!CRC_PASS) Log(ExtractFailedLine(FN));
}

void TfrmZipMain::UnZIP1FileExists(fw::TObject*, const std::string& FN, double, bool& Accept) {
    if (!frmOverwrite) frmOverwrite = fw::CreateForm<TfrmOverwrite>(fw::Application);
    TfrmArcExtract* dialog = ExtractDialog();
    fw::Application->ProcessMessages();
    switch (NextOverwriteStep(OverwriteAnswer, dialog->ConfirmOverwrite())) {
        case OverwriteStep::Ask:
            OverwriteAnswer = frmOverwrite->Ask(FN);
            Accept = AnswerOverwrites(OverwriteAnswer);
            break;
        case OverwriteStep::Skip: Accept = false; break;
        case OverwriteStep::Overwrite: break;
    }
}

void TfrmZipMain::UnZIP1GetPassword(fw::TObject*, const std::string&, std::string& Password, bool& TryAgain) {
    std::string typed = Password;
    if (fw::InputQuery("Encrypted file...", "Enter password", typed, true))
        Password = typed;
    else
        TryAgain = false;
}

void TfrmZipMain::Krenlo1NextVolume(fw::TObject*, std::string& Dir, std::string& FN, const std::string& VolumeID,
                                    bool FExists, bool& Cancel) {
    if (FExists) return;
    std::string typed = VolumePromptText(Dir, FN);
    if (fw::InputQuery(fw::ExtractFileName(Krenlo1->ArchiveFile()), "Volume ID: " + VolumeID, typed))
        SplitVolumeAnswer(typed, Dir, FN);
    else
        Cancel = true;
}

}  // namespace app
