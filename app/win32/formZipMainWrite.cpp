// Changing archives: the add command and every other way files reach the open archive (a shell
// drop, a drag from the explorer bar, the Add Files dialog), whole folders added once the command has
// returned, the delete command, new archives, the open dialog's commands and the writers' events.
//
// Every run sets what it needs on its writer: the writers keep their properties between runs, so a
// list of names, a switch or a password left from one command would otherwise go into the next.
// After every run the archive is read again, since the writers report their entries differently
// (some all of them, some only the new ones) and the list must show the archive as it now is.
#include "app/archive_writing.h"
#include "app/commands.h"
#include "app/win32/formArcAddFiles.h"
#include "app/win32/formArcOpen.h"
#include "app/win32/formZipMain.h"
#include "engine/core/comp_base.h"
#include "engine/core/file_routines.h"
#include "engine/core/routines.h"
#include "engine/lister/krenlo.h"
#include "framework/core/datetime.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_radiogroup.h"
#include "framework/win32/std_statusbar.h"
#include "uisupport/shell/win32/shelllist.h"
#include "uisupport/shell/win32/shelltree.h"

namespace app {

namespace {

// Makes the main window add the queued folders (no parameters).
constexpr UINT WM_ADDQUEUEDDIRS = WM_USER + 333;

void Inform(const std::string& text) {
    fw::MessageDlg(text, fw::mtInformation, fw::TMsgDlgButtons{fw::mbOK}, 0);
}

bool Confirm(const std::string& text) {
    return fw::MessageDlg(text, fw::mtConfirmation, fw::TMsgDlgButtons{fw::mbYes, fw::mbNo}, 0) == fw::mrYes;
}

// A folder path as the shell tree gives it, without its trailing "\" (a drive root keeps it).
std::string FolderName(std::string folder) {
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

void TfrmZipMain::Dispatch(fw::TMessage& message) {
    if (message.Msg == WM_ADDQUEUEDDIRS) {
        AddQueuedDirectories();
        message.Result = 0;
        return;
    }
    TForm::Dispatch(message);
}

void TfrmZipMain::EnableWriteCommands(bool addDelete) {
    mnuAddFiles1->SetEnabled(addDelete);
    mnuDeleteSelected1->SetEnabled(addDelete);
}

TfrmArcAddFiles* TfrmZipMain::AddFilesDialog() {
    if (!addFilesDialog_) addFilesDialog_ = fw::CreateForm<TfrmArcAddFiles>(fw::Application);
    return addFilesDialog_;
}

bool TfrmZipMain::DefineCompressComponent() {
    CurrentWriter = nullptr;
    const std::string name = UpdateWriterFor(Krenlo1->ArcType());
    if (!name.empty()) CurrentWriter = dynamic_cast<engine::TCompBase*>(FindComponent(name));
    if (!CurrentWriter) Inform("Compression not supported for this archive");
    return CurrentWriter != nullptr;
}

void TfrmZipMain::RunWriter(engine::TCompBase* writer) {
    if (writer->FileSpecList()->Count() == 0) return;
    BeginRun();
    try {
        writer->Activate();
    } catch (...) {
        writer->Password.clear();
        EndRun();
        throw;
    }
    // A password serves the run it was given for only.
    writer->Password.clear();
    EndRun();
}

void TfrmZipMain::ReopenArchive(const std::string& path) {
    ClearList();
    miFileCloseClick(this);
    OpenArchive(path);
}

// ---- adding -------------------------------------------------------------------------------------

void TfrmZipMain::mnuAddFiles1Click(fw::TObject*) {
    if (Busy()) return;
    TfrmArcAddFiles* dialog = AddFilesDialog();
    dialog->ClearList();
    if (Krenlo1->ArchiveFile().empty()) {
        Inform("You must open a archive before adding files.");
        return;
    }
    if (!DefineCompressComponent()) return;
    const engine::TArcType type = Krenlo1->ArcType();
    dialog->SetMethods(MethodNames(type));
    if (dialog->ShowModal() != fw::mrOk) return;
    engine::TCompBase* writer = CurrentWriter;
    writer->SetSwitch(SwitchAt(dialog->rgSwitch->ItemIndex()));
    writer->SetStoredDirNames(StoredDirsAt(dialog->cmbStoreDir->ItemIndex()));
    writer->SetCompressMethod(MethodAt(type, dialog->cmbCompressMethod->ItemIndex()));
    addFolderContents_ = dialog->ckbRecurseDirs->Checked();
    switchChosen_ = true;
    AddFilesToArchive(dialog->Names());
}

void TfrmZipMain::AddFilesToArchive(const std::vector<std::string>& names) {
    // The add command chose the writer's options; every other caller adds with the defaults.
    const bool chosen = switchChosen_;
    switchChosen_ = false;
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty()) {
        Inform("You must open a archive before adding files.");
        return;
    }
    if (Busy() || !DefineCompressComponent()) return;
    engine::TCompBase* writer = CurrentWriter;
    writer->SetArchiveFile(archive);
    if (!chosen) {
        writer->SetSwitch(engine::TSwitch::swAdd);
        writer->SetStoredDirNames(engine::TStoredDirNames::sdAbsoluteNoDrv);
        writer->SetCompressMethod(MethodAt(Krenlo1->ArcType(), 1));
    }
    writer->Password.clear();
    writer->SetRecurseDirs(false);
    writer->FileSpecList()->Clear();
    const AddPlan plan = PlanAdd(
        names, addFolderContents_, [](const std::string& name) { return engine::DirectoryExists(name); },
        [this](const std::string& folder) {
            if (Visible() && CanFocus()) SetFocus();
            return Confirm(AddFolderQuestion(folder));
        });
    addFolderContents_ = plan.addFolderContents;
    queuedDirectories_.insert(queuedDirectories_.end(), plan.folders.begin(), plan.folders.end());
    for (const std::string& file : plan.files) writer->FileSpecList()->Add(file);
    if (writer->FileSpecList()->Count() > 0) {
        RunWriter(writer);
        writer->FileSpecList()->Clear();
        ReopenArchive(archive);
    }
    if (queuedDirectories_.empty())
        addFolderContents_ = false;
    else
        PostMessageA(Handle(), WM_ADDQUEUEDDIRS, 0, 0);
}

void TfrmZipMain::AddQueuedDirectories() {
    const std::vector<std::string> folders = std::move(queuedDirectories_);
    queuedDirectories_.clear();
    const std::string archive = Krenlo1->ArchiveFile();
    if (!archive.empty() && !Busy() && DefineCompressComponent()) {
        engine::TCompBase* writer = CurrentWriter;
        const std::string current = engine::GetCurrentDir();
        writer->SetArchiveFile(archive);
        writer->Password.clear();
        for (const std::string& folder : folders) {
            writer->FileSpecList()->Clear();
            writer->FileSpecList()->Add("*.*");
            writer->SetRecurseDirs(true);
            if (!engine::SetCurrentDir(folder)) continue;
            writer->SetDefaultDir(engine::GetCurrentDir());
            RunWriter(writer);
        }
        writer->FileSpecList()->Clear();
        engine::SetCurrentDir(current);
        ReopenArchive(archive);
    }
    addFolderContents_ = false;
    if (CurrentWriter) CurrentWriter->SetRecurseDirs(false);
}

void TfrmZipMain::ListView1DragOver(fw::TObject*, fw::TObject*, int, int, fw::TDragState, bool& Accept) {
    Accept = true;
}

void TfrmZipMain::ListView1DragDrop(fw::TObject*, fw::TObject* Source, int, int) {
    std::vector<std::string> names;
    if (Source == JexoShellTree1) {
        const std::string folder = JexoShellTree1->SelectedFolder();
        if (!folder.empty()) names.push_back(FolderName(folder));
    } else if (Source == JexoShellList1) {
        names = SelectedShellPaths(JexoShellList1);
    }
    if (!names.empty()) AddFilesToArchive(names);
}

// ---- deleting -----------------------------------------------------------------------------------

void TfrmZipMain::mnuDeleteSelected1Click(fw::TObject*) {
    if (Busy()) return;
    const std::string archive = Krenlo1->ArchiveFile();
    if (ListView1->SelCount() == 0 || archive.empty()) {
        Inform("No files selected to delete.");
        return;
    }
    if (!Confirm("Delete selected file(s)?") || !DefineCompressComponent()) return;
    engine::TCompBase* writer = CurrentWriter;
    writer->SetArchiveFile(archive);
    writer->FileSpecList()->Clear();
    fw::TListItems* items = ListView1->Items();
    for (int i = ListView1->NextSelected(-1); i >= 0; i = ListView1->NextSelected(i))
        if (const EntryRecord* record = RecordOf(items->Item(i)))
            writer->FileSpecList()->Add(EntryFileSpec(record->folder, record->name));
    writer->SetSwitch(engine::TSwitch::swDelete);
    writer->Password.clear();
    RunWriter(writer);
    writer->FileSpecList()->Clear();
    // The writer removes an archive left without entries; the re-open then finds nothing.
    ReopenArchive(archive);
}

// ---- new archives -------------------------------------------------------------------------------

bool TfrmZipMain::CreateArchive(const NewArchive& archive) {
    const NewArchiveType* type = NewArchiveTypeAt(archive.typeIndex);
    auto* writer = type ? dynamic_cast<engine::TCompBase*>(FindComponent(type->writer)) : nullptr;
    if (!writer) return false;
    CurrentWriter = writer;
    writer->SetCompressMethod(MethodAt(type->type, archive.methodIndex));
    writer->SetSwitch(SwitchAt(archive.switchIndex));
    writer->SetStoredDirNames(StoredDirsAt(archive.storedDirIndex));
    writer->SetDefaultDir(archive.folder);
    writer->SetArchiveFile(engine::AppendBackslash(archive.folder) + archive.name);
    writer->SetRecurseDirs(archive.recurse);
    writer->FileSpecList()->Clear();
    for (const std::string& name : archive.names) writer->FileSpecList()->Add(name);
    writer->Password = archive.password;
    RunWriter(writer);
    writer->FileSpecList()->Clear();
    writer->SetRecurseDirs(false);
    return engine::FileExistsFind(writer->ArchiveFile());
}

// The open and new commands: tag 0 (or the tool button's 100118) creates, 1 (or 100134) opens.
void TfrmZipMain::mnuOpen1Click(fw::TObject* Sender) {
    if (Busy()) return;
    if (!openDialog_) {
        openDialog_ = fw::CreateForm<TfrmArcOpen>(fw::Application);
        openDialog_->ZMain = this;
    }
    TfrmArcOpen* dialog = openDialog_;
    if (prefs_.useStartupFolder && !prefs_.startupFolder.empty()) dialog->ShowFolder(prefs_.startupFolder);
    dialog->Repaint();
    auto* component = dynamic_cast<fw::TComponent*>(Sender);
    const int tag = component ? component->Tag() : 1;
    dialog->Prepare(tag == 0 || tag == 100118);
    if (dialog->ShowModal() == fw::mrOk) {
        if (dialog->OnNewPage()) {
            NewArchiveCommand(*dialog);
        } else {
            OpenArchive(dialog->ArchiveName());
        }
    }
    lblArchiveName->SetCaption(fw::ExtractFileName(Krenlo1->ArchiveFile()));
    SetVisible(true);
}

void TfrmZipMain::NewArchiveCommand(TfrmArcOpen& dialog) {
    NewArchive archive;
    archive.typeIndex = dialog.ArchiveTypeIndex();
    archive.name = NewArchiveName(dialog.NewName(), archive.typeIndex);
    archive.folder = dialog.Folder();
    archive.password = dialog.Password();
    if (fw::ExtractFileName(archive.name).empty() || archive.folder.empty()) return;
    const std::string target = archive.folder + archive.name;
    // An existing file is replaced only when the user says so, and only by a complete new archive.
    const bool exists = engine::FileExistsFind(target);
    if (exists && !Confirm(target + " already exists.\r\nReplace it?")) return;
    TfrmArcAddFiles* files = AddFilesDialog();
    files->SetMethods(dialog.MethodNames(), dialog.MethodIndex());
    files->ClearList();
    if (files->ShowModal() != fw::mrOk) return;
    archive.names = files->Names();
    archive.recurse = files->ckbRecurseDirs->Checked();
    archive.switchIndex = files->rgSwitch->ItemIndex();
    archive.storedDirIndex = files->cmbStoreDir->ItemIndex();
    archive.methodIndex = files->cmbCompressMethod->ItemIndex();
    const std::string kept = target + ".old~";
    if (exists && !MoveFileExA(target.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Inform("Cannot replace " + target);
        return;
    }
    const bool made = CreateArchive(archive);
    if (exists) {
        if (made)
            DeleteFileA(kept.c_str());
        else
            MoveFileExA(kept.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    OpenArchive(target);
}

// ---- the writers' events ------------------------------------------------------------------------

void TfrmZipMain::Zip1Activate(fw::TObject*) {
    StatusBar1->SetSimplePanel(true);
    ProgressBar1->SetVisible(true);
}

void TfrmZipMain::Zip1Deactivate(fw::TObject*) { DisplayTotals(0); }

void TfrmZipMain::Zip1Begin(fw::TObject* Sender, const std::string& FN, int, bool&) {
    auto* writer = dynamic_cast<engine::TCompBase*>(Sender);
    const bool deleting = writer && writer->Switch() == engine::TSwitch::swDelete;
    const std::string text = (deleting ? "Deleting: " : "Compressing: ") + StatusPath(FN);
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetSimpleText(text);
    StatusBar1->Repaint();
    Log(text);
}

void TfrmZipMain::Zip1RecurseDir(fw::TObject*, const std::string& Directory) {
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetSimpleText("Scanning dir: " + StatusPath(Directory));
    StatusBar1->Repaint();
}

void TfrmZipMain::Zip1ReplaceFile(fw::TObject*, const std::string& OldFN, const std::string& FN, double OldDate,
                                  double NewDate, int64_t OldFileSize, int64_t NewFileSize, int OldAttr, int NewAttr,
                                  bool& Replace) {
    const std::string text = ReplaceQuestion({OldFN, OldFileSize, OldDate, OldAttr}, {FN, NewFileSize, NewDate, NewAttr},
                                             fw::FormatSettings.DateSeparator, fw::FormatSettings.TimeSeparator);
    if (!Confirm(text)) Replace = false;
}

}  // namespace app
