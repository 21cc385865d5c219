#include "uisupport/win32/fileutil.h"

#include <shlobj.h>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "uisupport/textutils.h"
#include "uisupport/win32/guiutils.h"
#include "uisupport/win32/pathnames.h"

namespace uis {

namespace {

constexpr int kCsidlNetwork = 0x12;  // the network neighbourhood
constexpr int kCsidlDrives = 0x11;   // the computer folder

std::string PathOfItem(LPCITEMIDLIST item) {
    char path[MAX_PATH] = {};
    if (!item || !SHGetPathFromIDListA(item, path)) return {};
    return path;
}

std::string DisplayNameOfItem(LPCITEMIDLIST item) {
    SHFILEINFOA info{};
    if (!item || !SHGetFileInfoA(reinterpret_cast<LPCSTR>(item), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME))
        return {};
    return info.szDisplayName;
}

}  // namespace

TBrowseFolderDlg::TBrowseFolderDlg(fw::TComponent* owner) : TComponent(owner) {}

bool TBrowseFolderDlg::Execute() {
    const bool computers = browseKind_ == TBrowseKind::bfComputers;
    LPITEMIDLIST root = nullptr;
    if (computers || !desktopRoot_) {
        const HRESULT result = SHGetSpecialFolderLocation(nullptr, computers ? kCsidlNetwork : kCsidlDrives, &root);
        if (FAILED(result))
            throw fw::Exception("The folder browser has no root (system error " + std::to_string(result & 0xFFFF) + ")");
    }
    fw::TBrowseFolderParams params;
    params.Owner = fw::Application ? fw::Application->Handle() : nullptr;
    params.Title = dialogText_;
    params.Flags = computers ? BIF_BROWSEFORCOMPUTER : (BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS);
    params.Root = root;
    std::string folder;
    HWND active = GetActiveWindow();
    const std::vector<HWND> disabled = fw::DisableTaskWindows(nullptr);
    const auto finish = [&] {
        fw::EnableTaskWindows(disabled);
        if (active && IsWindow(active)) SetActiveWindow(active);
        hook_.Reset();
        window_ = nullptr;
        CoTaskMemFree(root);
    };
    bool ok = false;
    try {
        ok = fw::BrowseForFolder(params, folder,
                                 [this](HWND window, UINT message, LPARAM param) { return Callback(window, message, param); });
    } catch (...) {
        finish();
        throw;
    }
    finish();
    if (computers) {
        // A computer has no path: the chosen item's display name is the result.
        if (!ok && params.DisplayName.empty()) return false;
        folderName_ = ok ? folder : params.DisplayName;
        imageIndex_ = params.Image;
        return true;
    }
    if (!ok) {
        if (!params.DisplayName.empty()) throw fw::Exception("The chosen item \"" + params.DisplayName + "\" is no folder");
        return false;
    }
    folderName_ = StripTrailingBackslash(folder);
    imageIndex_ = params.Image;
    return true;
}

int TBrowseFolderDlg::Callback(HWND window, UINT message, LPARAM param) {
    if (message == BFFM_INITIALIZED) Initialize(window);
    if (message == BFFM_SELCHANGED) SelectionChanged(window, param);
    return 0;
}

void TBrowseFolderDlg::Initialize(HWND window) {
    if (position_ == TDialogPosition::dpScreenCenter) CentreOnScreen(window);
    window_ = window;
    hook_.Reset(fw::AddHook(window, [this](fw::HookMessage& m) { HookProc(m); }, [this] {
        hook_.Release();
        window_ = nullptr;
    }));
    // Posted: the tree may still be filling while the dialog initialises, and a selection made then can
    // be lost; the name stays valid while the dialog runs.
    if (browseKind_ == TBrowseKind::bfComputers || FolderExists(folderName_))
        PostMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folderName_.c_str()));
    if (helpContext_ != 0) AddHelpButton(window);
    if (OnInitialized) OnInitialized(this);
}

void TBrowseFolderDlg::AddHelpButton(HWND window) {
    // The dialog's first button gives the row and size; the Help button goes to the left edge.
    HWND first = FindWindowExA(window, nullptr, "BUTTON", nullptr);
    RECT r{0, 0, 75, 23};
    if (first) {
        GetWindowRect(first, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    }
    HWND help = CreateWindowExA(0, "BUTTON", "&Help", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 12, r.top,
                                r.right - r.left, r.bottom - r.top, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBrowseHelpButtonId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (help) SendMessageA(help, WM_SETFONT, SendMessageA(window, WM_GETFONT, 0, 0), FALSE);
}

void TBrowseFolderDlg::SelectionChanged(HWND window, LPARAM itemList) {
    const auto* item = reinterpret_cast<LPCITEMIDLIST>(itemList);
    if (browseKind_ == TBrowseKind::bfComputers) {
        selection_ = DisplayNameOfItem(item);
    } else {
        selection_ = PathOfItem(item);
        SendMessageA(window, BFFM_ENABLEOK, 0, !selection_.empty() && FolderExists(selection_));
    }
    if (OnSelChanged) OnSelChanged(this);
}

void TBrowseFolderDlg::HookProc(fw::HookMessage& message) {
    if (message.Msg == WM_COMMAND && LOWORD(message.WParam) == kBrowseHelpButtonId) {
        if (fw::Application) fw::Application->HelpContext(helpContext_);
        message.Handled = true;
    }
}

bool ChooseFolder(std::string& folder, const std::string& title, int helpContext) {
    auto* dialog = fw::Make<TBrowseFolderDlg>(nullptr);
    bool ok = false;
    try {
        dialog->SetDialogText(title);
        dialog->SetFolderName(folder);
        dialog->SetHelpContext(helpContext);
        ok = dialog->Execute();
        if (ok) folder = dialog->FolderName();
    } catch (...) {
        dialog->Free();
        throw;
    }
    dialog->Free();
    return ok;
}

void RegisterFileUtilClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TBrowseKind>({"bfFolders", "bfComputers"}, "TBrowseKind");
    fw::RegisterEnum<TDialogPosition>({"dpDefault", "dpScreenCenter"}, "TDialogPosition");
    fw::Class<TBrowseFolderDlg, fw::TComponent>("TBrowseFolderDlg")
        .Prop("BrowseKind", &TBrowseFolderDlg::BrowseKind, &TBrowseFolderDlg::SetBrowseKind)
        .Prop("DesktopRoot", &TBrowseFolderDlg::DesktopRoot, &TBrowseFolderDlg::SetDesktopRoot)
        .Prop("DialogText", &TBrowseFolderDlg::DialogText, &TBrowseFolderDlg::SetDialogText)
        .Prop("FolderName", &TBrowseFolderDlg::FolderName, &TBrowseFolderDlg::SetFolderName)
        .Prop("HelpContext", &TBrowseFolderDlg::HelpContext, &TBrowseFolderDlg::SetHelpContext)
        .Prop("Position", &TBrowseFolderDlg::Position, &TBrowseFolderDlg::SetPosition)
        .Event("OnInitialized", &TBrowseFolderDlg::OnInitialized)
        .Event("OnSelChanged", &TBrowseFolderDlg::OnSelChanged);
}

}  // namespace uis
