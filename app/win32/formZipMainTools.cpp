// The main window's other commands: viewing entries, the virus scan, the desktop link, handing the
// archive to the self-extractor builder and the UU-encode dialog.
#include "app/commands.h"
#include "app/program_lines.h"
#include "app/win32/formMapiMail.h"
#include "app/win32/formUUEncode.h"
#include "app/win32/formZipMain.h"
#include "engine/core/file_routines.h"
#include "engine/core/un_base.h"
#include "engine/formats/uue/uu_encode.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/lister/krenlo.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_listview.h"
#include "widgets/win32/starter.h"

// The shell's link and folder interfaces, after the framework, whose colour routines the system
// headers would otherwise turn into macros.
#include <shlobj.h>
#include <shobjidl.h>

namespace app {

namespace {

TfrmUUEncode* frmUUEncode = nullptr;

const char kNoViewerMessage[] =
    "There is no file application associated with this file type.\r\nYou should set a viewer in your "
    "preferences for files\r\nwhich have no application associated to them.";

// The desktop folder the shell keeps for the user: the "Shell Folders" value, else the shell's own
// answer ("" when neither has one).
std::string DesktopFolder() {
    std::string folder;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key, "Desktop", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ) && size > 1) {
            std::string value(size, '\0');
            if (RegQueryValueExA(key, "Desktop", nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) ==
                ERROR_SUCCESS)
                folder = value.c_str();
        }
        RegCloseKey(key);
    }
    if (folder.empty()) {
        char path[MAX_PATH] = {};
        if (SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) folder = path;
    }
    return folder;
}

template <typename T>
void ReleaseInterface(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

}  // namespace

void TfrmZipMain::EnableToolCommands(bool archiveOpen, bool extract) {
    ViewSelected1->SetEnabled(extract);
    pmiView->SetEnabled(extract);
    miFileShortcut->SetEnabled(archiveOpen);
    Create1->SetEnabled(archiveOpen);
    miActionsScanforviruses->SetEnabled(archiveOpen && !prefs_.virusScanner.empty());
    miFileMail->SetEnabled(archiveOpen);
}

// ---- view entries ----------------------------------------------------------------------------------

void TfrmZipMain::ViewSelected1Click(fw::TObject*) {
    if (!Busy() && ListView1->SelCount() > 0) ViewEntries();
}

void TfrmZipMain::ViewEntries() {
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty()) return;
    if (!CurrentExtractor && !engine::DriveReady(fw::ExtractFilePath(archive))) return;
    engine::TUnBase* extractor = ChooseExtractor();
    if (!extractor) return;
    const std::string temp = engine::GetTempDir();
    extractor->SetExtractDir(temp);
    extractor->SetUseStoredDirs(false);
    // The viewer always gets a fresh copy: an answer left by the last extract command ("No to All")
    // must not keep an older file of the same name in the temporary folder.
    const int answer = OverwriteAnswer;
    fw::TListItems* items = ListView1->Items();
    std::vector<fw::TListItem*> selected;
    for (int i = ListView1->NextSelected(-1); i >= 0; i = ListView1->NextSelected(i)) selected.push_back(items->Item(i));
    for (fw::TListItem* item : selected) {
        const EntryRecord* record = RecordOf(item);
        if (!record || closeAfterRun_) continue;
        const std::string file = temp + item->Caption();
        OverwriteAnswer = 5;
        extractor->SetFileSpec(EntryFileSpec(record->folder, record->name));
        extractor->VolumeID = record->volumeId;
        BeginRun();
        try {
            extractor->Extract();
        } catch (...) {
            EndRun();
            OverwriteAnswer = answer;
            throw;
        }
        EndRun();
        const auto opened = reinterpret_cast<INT_PTR>(ShellExecuteA(Handle(), "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (opened > 32) continue;
        if (!prefs_.fileViewer.empty()) {
            // Quoted, so that a temporary folder with blanks reaches the viewer as one name.
            const std::string parameter = "\"" + file + "\"";
            ShellExecuteA(Handle(), "open", prefs_.fileViewer.c_str(), parameter.c_str(), nullptr, SW_SHOWNORMAL);
        } else {
            fw::MessageDlg(kNoViewerMessage, fw::mtInformation, fw::TMsgDlgButtons{fw::mbOK}, 0);
        }
    }
    OverwriteAnswer = answer;
}

// ---- the virus scan, the builder ------------------------------------------------------------------

void TfrmZipMain::miActionsScanforvirusesClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    if (prefs_.virusScanner.empty() || archive.empty()) return;
    KVXStarter1->SetParameters(ScannerParameters(prefs_.virusParams, archive));
    KVXStarter1->Execute();
}

void TfrmZipMain::Create1Click(fw::TObject*) {
    WinExec(BuilderCommandLine(Krenlo1->ArchiveFile()).c_str(), SW_SHOWNORMAL);
}

// ---- the desktop link -----------------------------------------------------------------------------

void TfrmZipMain::miFileShortcutClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty()) return;
    if (!CreateDesktopShortcut(archive))
        fw::MessageDlg("The desktop shortcut could not be created.", fw::mtError, fw::TMsgDlgButtons{fw::mbOK}, 0);
}

bool TfrmZipMain::CreateDesktopShortcut(const std::string& archive) {
    const std::string desktop = DesktopFolder();
    // Without a desktop folder the link would land in the root of the current drive: refuse.
    if (desktop.empty()) return false;
    CreateDirectoryA(desktop.c_str(), nullptr);
    const std::string linkName = DesktopLinkName(desktop, archive);
    const HRESULT init = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::string program = fw::Application->ExeName();
        const std::string folder = fw::ExtractFileDir(archive);
        link->SetPath(program.c_str());
        link->SetArguments(archive.c_str());
        link->SetRelativePath(folder.c_str(), 0);
        link->SetHotkey(635);
        link->SetWorkingDirectory(folder.c_str());
        link->SetDescription("Your Description");
        link->SetIconLocation(program.c_str(), 0);
        std::wstring wide(MAX_PATH, L'\0');
        const int length = MultiByteToWideChar(CP_ACP, 0, linkName.c_str(), -1, wide.data(), MAX_PATH);
        saved = length > 0 && SUCCEEDED(file->Save(wide.c_str(), TRUE));
    }
    ReleaseInterface(file);
    ReleaseInterface(link);
    if (SUCCEEDED(init)) CoUninitialize();
    return saved;
}

// ---- mail ---------------------------------------------------------------------------------------

void TfrmZipMain::miFileMailClick(fw::TObject*) {
    const std::string archive = Krenlo1->ArchiveFile();
    if (archive.empty()) return;
    auto* dialog = fw::CreateForm<TfrmMapiMail>(fw::Application);
    if (!dialog->MailAvailable()) {
        dialog->Release();
        return;
    }
    dialog->Repaint();
    dialog->Show();
    fw::Application->ProcessMessages();
    dialog->AttachFile(archive);
}

// ---- UU-encode ------------------------------------------------------------------------------------

void TfrmZipMain::mnuUUEncode1Click(fw::TObject*) {
    if (!frmUUEncode) {
        frmUUEncode = fw::CreateForm<TfrmUUEncode>(fw::Application);
        frmUUEncode->ZMain = this;
    }
    OverwriteAnswer = 0;
    frmUUEncode->Show();
}

void TfrmZipMain::RunEncoder() {
    if (Busy()) return;
    BeginRun();
    try {
        UUEncode1->Activate();
    } catch (...) {
        EndRun();
        throw;
    }
    EndRun();
}

}  // namespace app
