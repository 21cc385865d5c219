#include "widgets/win32/browsedlg.h"

#include <memory>

#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/forms.h"
#include "widgets/kvxutils.h"
#include "widgets/win32/windowfx.h"

namespace kvx::win32 {

namespace {

struct ItemListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// The root the shell gives for a start folder; none for the open desktop and for a folder the
// system does not have.
ItemList RootOf(TKVXSystemFolders folder, HWND owner) {
    const int number = KVXSystemFolderNumber(folder);
    if (number == kKVXDesktopExpanded) return {};
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, number, &list))) return {};
    return ItemList(list);
}

}  // namespace

void TKVXBrowseDlg::SetSelectedFolder(const std::string& value) {
    if (value == selectedFolder_) return;
    selectedFolder_ = value;
    if (window_) SendMessageA(window_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(selectedFolder_.c_str()));
}

void TKVXBrowseDlg::SetStatusText(const std::string& value) {
    if (value == statusText_) return;
    statusText_ = value;
    if (window_) SendMessageA(window_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(statusText_.c_str()));
}

HWND TKVXBrowseDlg::OwnerWindow() const {
    if (auto* control = dynamic_cast<fw::TWinControl*>(Owner())) return control->Handle();
    // An owner without a window of its own is treated as none.
    if (fw::Application && fw::Application->MainForm()) return fw::Application->MainForm()->Handle();
    return nullptr;
}

bool TKVXBrowseDlg::Execute() {
    fw::TBrowseFolderParams params;
    params.Owner = OwnerWindow();
    const ItemList root = RootOf(StartFolder, params.Owner);
    params.Root = root.get();
    params.Title = Caption;
    params.Flags = KVXBrowseFlags(Options);
    // The selection is sent from the callback, before the OK button's state, so InitialDir stays
    // empty; a driver's queued answer sees the folder through it all the same.
    std::string chosen;
    bool ok = false;
    try {
        ok = fw::BrowseForFolder(params, chosen, [this](HWND window, UINT message, LPARAM param) {
            return Callback(window, message, param);
        });
    } catch (...) {
        window_ = nullptr;
        throw;
    }
    window_ = nullptr;
    if (!ok) return false;
    selectedFolder_ = chosen;
    displayName_ = params.DisplayName;
    return true;
}

int TKVXBrowseDlg::Callback(HWND window, UINT message, LPARAM param) {
    switch (message) {
        case BFFM_INITIALIZED:
            Initialize(window);
            return 0;
        case BFFM_SELCHANGED: {
            const bool showPath = Options.Contains(TKVXBrowseDlgOption::doShowPath);
            if (!showPath && !OnSelectionChanged) return 0;
            auto* item = reinterpret_cast<LPCITEMIDLIST>(param);
            char buffer[MAX_PATH] = {};
            const std::string path = item && SHGetPathFromIDListA(item, buffer) ? buffer : "";
            if (showPath) SetStatusText(KVXShortenPath(path, kKVXBrowseStatusLength));
            if (OnSelectionChanged) OnSelectionChanged(this, window, path, item);
            return 0;
        }
        case BFFM_VALIDATEFAILEDA: {
            bool cancel = false;
            const char* typed = reinterpret_cast<const char*>(param);
            if (OnValidate) OnValidate(this, typed ? typed : "", cancel);
            return cancel ? 1 : 0;
        }
        default:
            return 0;
    }
}

void TKVXBrowseDlg::Initialize(HWND window) {
    window_ = window;
    TRect reference;
    KVXReferenceRect(RelatePos, reference);
    KVXPlaceWindow(window, reference, Position);
    if (!CaptionTitle.empty()) SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(CaptionTitle.c_str()));
    if (!statusText_.empty())
        SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(statusText_.c_str()));
    if (!selectedFolder_.empty())
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(selectedFolder_.c_str()));
    // OK stays disabled until the user picks a folder, unless doEnableOK says otherwise.
    SendMessageA(window, BFFM_ENABLEOK, 0, Options.Contains(TKVXBrowseDlgOption::doEnableOK) ? 1 : 0);
    if (OnInit) OnInit(this);
}

void KVXRegisterBrowseClasses() {
    KVXRegisterBrowseTypes();
    using B = TKVXBrowseDlg;
    fw::Class<B, TKVXComponent>("TKVXBrowseDlg")
        .Prop("SelectedFolder", &B::SelectedFolder, &B::SetSelectedFolder)
        .Data("Caption", &B::Caption)
        .Data("CaptionTitle", &B::CaptionTitle)
        .Prop("StatusText", &B::StatusText, &B::SetStatusText)
        .Data("RelatePos", &B::RelatePos)
        .Data("Options", &B::Options)
        .Data("Position", &B::Position)
        .Data("StartFolder", &B::StartFolder)
        .Event("OnInit", &B::OnInit)
        .Event("OnValidate", &B::OnValidate)
        .Event("OnSelectionChanged", &B::OnSelectionChanged);
}

}  // namespace kvx::win32
