// The main window's commands on the open archive file (verify, move, copy, rename, delete,
// properties), the log pane's commands, the preferences dialog, help and about, and the question at
// start whether the program may become the default viewer.
#include "app/archive_file.h"
#include "app/atshell.h"
#include "app/default_viewer.h"
#include "app/text_routines.h"
#include "app/win32/dataGlobal.h"
#include "app/win32/formArcVerify.h"
#include "app/win32/formAskDefault.h"
#include "app/win32/formOptions.h"
#include "app/win32/formZipMain.h"
#include "engine/lister/krenlo.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_memo.h"
#include "uisupport/win32/helpmonitor.h"
#include "widgets/inictrl.h"
#include "widgets/win32/aboutdlg.h"
#include "widgets/win32/browsedlg.h"
#include "widgets/win32/filectrl.h"

#include <shellapi.h>

namespace app {

namespace {

// Screen drawing frozen while the associations change; thawed on every way out.
class DesktopLock {
public:
    DesktopLock() { LockWindowUpdate(GetDesktopWindow()); }
    ~DesktopLock() { LockWindowUpdate(nullptr); }
    DesktopLock(const DesktopLock&) = delete;
    DesktopLock& operator=(const DesktopLock&) = delete;
};

// A form made for one command and freed when it returns, also by an exception.
template <class F>
class OneShot {
public:
    OneShot() : form_(fw::CreateForm<F>(fw::Application)) {}
    ~OneShot() { form_->Free(); }
    OneShot(const OneShot&) = delete;
    OneShot& operator=(const OneShot&) = delete;
    F* operator->() const { return form_; }

private:
    F* form_;
};

}  // namespace

void TfrmZipMain::EnableFileCommands(bool fileCommands, bool verify) {
    for (fw::TMenuItem* item : {miFileMove, miFileCopy, miFileRename, miFileDelete, miFileProperties})
        item->SetEnabled(fileCommands);
    Checkpackageforerrors1->SetEnabled(verify);
}

// ---- the default viewer -------------------------------------------------------------------------

void TfrmZipMain::AskDefaultViewer() {
    const std::string program = fw::Application->ExeName();
    if (!ShouldAskDefault(ATShell1->GetAssociatedApp(), program, global->reg->ReadBool("Zip", "Ask Default", true)))
        return;
    OneShot<TfrmAskDefault> ask;
    if (ask->ShowModal() == fw::mrYes) {
        DesktopLock lock;
        MakeDefaultViewer(*ATShell1, program);
    }
    if (ask->cbDontAsk->Checked()) global->reg->WriteBool("Zip", "Ask Default", false);
}

// ---- verify -------------------------------------------------------------------------------------

void TfrmZipMain::Checkpackageforerrors1Click(fw::TObject*) {
    OneShot<TfrmArcVerify> verify;
    verify->Verify(Krenlo1->ArchiveFile());
}

// ---- the archive file ---------------------------------------------------------------------------

bool TfrmZipMain::ChooseFolder(const std::string& title, std::string& folder) {
    KVXBrowseDlg1->CaptionTitle = title;
    KVXBrowseDlg1->Caption = "Select destination directory";
    if (!KVXBrowseDlg1->Execute()) return false;
    folder = KVXBrowseDlg1->SelectedFolder();
    return !folder.empty();
}

void TfrmZipMain::miFileMoveClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    std::string folder;
    if (archive.empty() || Busy() || !ChooseFolder("Move archive", folder)) return;
    const std::string target = DestinationIn(folder, archive);
    KVXFileCtrl1->MoveFile(archive, target);
    OpenArchive(target);
}

void TfrmZipMain::miFileCopyClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    std::string folder;
    if (archive.empty() || Busy() || !ChooseFolder("Copy archive", folder)) return;
    // Success is reported only when there is a copy.
    if (KVXFileCtrl1->CopyFile(archive, DestinationIn(folder, archive)))
        fw::MessageDlg("Copy operation complete", fw::mtInformation, {fw::mbOK}, 0);
}

void TfrmZipMain::miFileRenameClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty() || Busy()) return;
    std::string name;
    if (!fw::InputQuery("Rename archive", "New name: ", name) || name.empty()) return;
    const std::string target = RenamedPath(archive, name);
    KVXFileCtrl1->RenameFile(archive, target);
    OpenArchive(target);
}

void TfrmZipMain::miFileDeleteClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty() || Busy()) return;
    KVXFileCtrl1->DeleteFile(archive);
    if (!fw::FileExists(archive)) miFileCloseClick(this);
}

void TfrmZipMain::miFilePropertiesClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty()) return;
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = Handle();
    info.lpVerb = "properties";
    info.lpFile = archive.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}

// ---- the log pane -------------------------------------------------------------------------------

void TfrmZipMain::Savelog1Click(fw::TObject*) {
    SaveDialog1->SetFileName(ReplaceExtension(Krenlo1->ArchiveFile(), "log"));
    SaveDialog1->SetTitle("Save Log...");
    if (SaveDialog1->Execute()) memLog->Lines()->SaveToFile(SaveDialog1->FileName());
}

void TfrmZipMain::Clearlog1Click(fw::TObject*) { memLog->Lines()->Clear(); }

// ---- preferences, help, about -------------------------------------------------------------------

void TfrmZipMain::mnuEditPreferencesClick(fw::TObject*) {
    int result = fw::mrCancel;
    {
        OneShot<TfrmOptions> options;
        result = options->ShowModal();
    }
    if (result != fw::mrOk) return;
    LoadPreferences();
    ApplyViewSettings();
    // "Scan for viruses..." follows the scanner just set or cleared.
    EnableMenus();
}

void TfrmZipMain::ContentsandIndex1Click(fw::TObject*) { qhlHelpMonitor1->ShowContents(); }

void TfrmZipMain::QuickStart1Click(fw::TObject*) { fw::Application->HelpContext(100050); }

void TfrmZipMain::Preferences1Click(fw::TObject*) { fw::Application->HelpContext(100060); }

void TfrmZipMain::AboutMorvixZip1Click(fw::TObject*) { KVXAboutDlg1->Execute(); }

void RegisterZipMainFileMembers(fw::Class<TfrmZipMain, fw::TForm>& c) {
    using F = TfrmZipMain;
    c.Field("ATShell1", &F::ATShell1)
        .Field("SaveDialog1", &F::SaveDialog1)
        .Field("KVXBrowseDlg1", &F::KVXBrowseDlg1)
        .Field("KVXAboutDlg1", &F::KVXAboutDlg1)
        .Field("qhlHelpMonitor1", &F::qhlHelpMonitor1)
        .Field("miFileMove", &F::miFileMove)
        .Field("miFileCopy", &F::miFileCopy)
        .Field("miFileRename", &F::miFileRename)
        .Field("miFileDelete", &F::miFileDelete)
        .Field("miFileProperties", &F::miFileProperties)
        .Field("Checkpackageforerrors1", &F::Checkpackageforerrors1)
        .Method("Checkpackageforerrors1Click", &F::Checkpackageforerrors1Click)
        .Method("miFileMoveClick", &F::miFileMoveClick)
        .Method("miFileCopyClick", &F::miFileCopyClick)
        .Method("miFileRenameClick", &F::miFileRenameClick)
        .Method("miFileDeleteClick", &F::miFileDeleteClick)
        .Method("miFilePropertiesClick", &F::miFilePropertiesClick)
        .Method("Savelog1Click", &F::Savelog1Click)
        .Method("Clearlog1Click", &F::Clearlog1Click)
        .Method("ContentsandIndex1Click", &F::ContentsandIndex1Click)
        .Method("QuickStart1Click", &F::QuickStart1Click)
        .Method("Preferences1Click", &F::Preferences1Click)
        .Method("AboutMorvixZip1Click", &F::AboutMorvixZip1Click);
}

}  // namespace app
