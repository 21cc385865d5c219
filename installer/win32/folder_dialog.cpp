#include "installer/win32/folder_dialog.h"

#include <commctrl.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "framework/core/format.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/callback.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/hooks.h"
#include "installer/folder_paths.h"
#include "installer/strutils.h"

namespace inst {

namespace {

// A string of a system library; "" when the library or the string is missing.
std::string SystemString(const char* library, UINT id) {
    HMODULE module = LoadLibraryA(library);
    if (!module) return std::string();
    std::vector<char> text(4096);
    const int length = LoadStringA(module, id, text.data(), static_cast<int>(text.size()));
    FreeLibrary(module);
    return length > 0 ? std::string(text.data(), static_cast<size_t>(length)) : std::string();
}

std::string OrEnglish(const std::string& system, const char* english) { return system.empty() ? english : system; }

// The rectangle of a child in its dialog's client coordinates, where the added controls are placed.
RECT ChildRect(HWND dialog, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BOOL CALLBACK FindTree(HWND window, LPARAM param) {
    FW_CALLBACK_BODY(TRUE, {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        std::string prefix(name, strnlen(name, 7));
        for (char& c : prefix) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (prefix != "SYSTREE") return TRUE;
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    })
}

bool IsFolder(const std::string& path) { return fw::DirectoryExists(path); }

}  // namespace

// ---- The added controls --------------------------------------------------------------------------------------

void TOFDCreateButton::CreateWnd() {
    fw::TButton::CreateWnd();
    SetWindowLongPtrA(Handle(), GWLP_ID, kCreateFolderButtonId);
}

void TOFDCreateButton::Click() {
    fw::TButton::Click();
    dialog_->CreateButtonClick();
}

void TOFDPathEdit::CreateWnd() {
    fw::TEdit::CreateWnd();
    SetWindowLongPtrA(Handle(), GWLP_ID, kFolderPathEditId);
}

void TOFDPathEdit::KeyUp(uint16_t& key, fw::TShiftState shift) {
    fw::TEdit::KeyUp(key, shift);
    dialog_->PathEditKeyUp();
}

// ---- The dialog ------------------------------------------------------------------------------------------------

std::string TOpenFolderDialog::CreateButtonText() { return OrEnglish(SystemString("comdlg32.dll", 703), "Create New Folder"); }

std::string TOpenFolderDialog::NewFolderPrompt() {
    return OrEnglish(SystemString("shell32.dll", 8977), "Name of the new folder:");
}

std::string TOpenFolderDialog::BrowserTitle() {
    const std::string system = SystemString("shell32.dll", 9248);
    if (system.empty()) return "Choose a folder:";
    try {
        return fw::Format(system, {std::string()});
    } catch (const fw::Exception&) {
        return system;
    }
}

void TOpenFolderDialog::BeforeDestruction() {
    DropControls();
    fw::TComponent::BeforeDestruction();
}

bool TOpenFolderDialog::Execute() {
    for (;;) {
        folderCreated_ = false;
        DropControls();
        dialogWindow_ = okButton_ = cancelButton_ = treeWindow_ = nullptr;
        fw::TBrowseFolderParams params;
        params.Owner = GetActiveWindow();
        params.Title = BrowserTitle();
        params.Flags = BIF_RETURNONLYFSDIRS;
        std::string folder;
        const bool chosen = fw::BrowseForFolder(params, folder,
                                                [this](HWND w, UINT m, LPARAM p) { return Callback(w, m, p); });
        const bool shown = dialogWindow_ != nullptr;
        DropControls();
        dialogWindow_ = nullptr;
        if (chosen) {
            // The edit's path is the answer; it is made when it does not exist yet.
            if (showPathEdit_ && shown && !currentPath_.empty()) {
                fw::ForceDirectories(currentPath_);
                selectedPath_ = currentPath_;
            } else {
                selectedPath_ = folder.substr(0, MAX_PATH);
            }
        }
        if (!folderCreated_) return chosen;
        // Open again on the folder just made.
        selectedPath_ = currentPath_;
    }
}

int TOpenFolderDialog::Callback(HWND window, UINT message, LPARAM param) {
    if (message == BFFM_INITIALIZED) Initialize(window);
    if (message == BFFM_SELCHANGED && dialogWindow_) SelectionChanged(param);
    return 0;
}

void TOpenFolderDialog::Initialize(HWND window) {
    dialogWindow_ = window;
    okButton_ = GetDlgItem(window, IDOK);
    cancelButton_ = GetDlgItem(window, IDCANCEL);
    treeWindow_ = nullptr;
    EnumChildWindows(window, &FindTree, reinterpret_cast<LPARAM>(&treeWindow_));
    if (okButton_) okRect_ = ChildRect(window, okButton_);
    if (cancelButton_) cancelRect_ = ChildRect(window, cancelButton_);
    if (treeWindow_) treeRect_ = ChildRect(window, treeWindow_);
    // The added button's clicks reach the browser's window, as its own buttons' do.
    fw::AddHook(window, [this](fw::HookMessage& m) {
        if (m.Msg != WM_COMMAND || LOWORD(m.WParam) != kCreateFolderButtonId || HIWORD(m.WParam) != BN_CLICKED ||
            !createButton_)
            return;
        m.Handled = true;
        m.Result = 0;
        createButton_->Click();
    });
    if (showCreateButton_) AddCreateButton();
    if (showPathEdit_) AddPathEdit();
    if (treeWindow_)
        SetWindowLongPtrA(treeWindow_, GWL_STYLE, GetWindowLongPtrA(treeWindow_, GWL_STYLE) | TVS_SHOWSELALWAYS);
    SelectPath(selectedPath_);
}

void TOpenFolderDialog::AddCreateButton() {
    int top = 230, right = 140, bottom = 253;
    if (okButton_ && cancelButton_) {
        top = okRect_.top - 22;
        right = okRect_.right + okRect_.left - cancelRect_.left;
        bottom = okRect_.bottom - 22;
    }
    const int left = treeWindow_ ? treeRect_.left : 20;
    createButton_ = fw::Make<TOFDCreateButton>(this, this);
    createButton_->SetName("CreateButton");
    createButton_->SetParentWindow(dialogWindow_);
    createButton_->SetBounds(left, top, right - left, bottom - top);
    createButton_->SetCaption(CreateButtonText());
    createButton_->Show();
    SendMessageA(createButton_->Handle(), WM_SETFONT, SendMessageA(dialogWindow_, WM_GETFONT, 0, 0), TRUE);
}

void TOpenFolderDialog::AddPathEdit() {
    int left = 20, top = 230, right = 140;
    if (treeWindow_) {
        // The tree gives the edit its room.
        treeRect_.bottom -= 60;
        MoveWindow(treeWindow_, treeRect_.left, treeRect_.top, treeRect_.right - treeRect_.left,
                   treeRect_.bottom - treeRect_.top, TRUE);
        if (okButton_) {
            left = treeRect_.left;
            top = treeRect_.bottom + 15;
            right = treeRect_.right;
        }
    }
    pathEdit_ = fw::Make<TOFDPathEdit>(this, this);
    pathEdit_->SetName("PathEdit");
    pathEdit_->SetParentWindow(dialogWindow_);
    pathEdit_->SetBounds(left, top, right - left, pathEdit_->Height());
    pathEdit_->Show();
    SendMessageA(pathEdit_->Handle(), WM_SETFONT, SendMessageA(dialogWindow_, WM_GETFONT, 0, 0), TRUE);
}

void TOpenFolderDialog::DropControls() {
    if (createButton_) createButton_->Free();
    if (pathEdit_) pathEdit_->Free();
    createButton_ = nullptr;
    pathEdit_ = nullptr;
}

void TOpenFolderDialog::SelectPath(const std::string& path) {
    updating_ = true;
    const std::string folder = BrowserSelection(path, &IsFolder);
    fw::SelectBrowserFolder(dialogWindow_, folder);
    updating_ = false;
}

void TOpenFolderDialog::SelectionChanged(LPARAM itemList) {
    char path[MAX_PATH] = {};
    if (itemList && SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(itemList), path)) currentPath_ = path;
    if (pathEdit_ && !editTyping_) pathEdit_->SetText(currentPath_);
    if (createButton_) createButton_->SetVisible(okButton_ && IsWindowEnabled(okButton_));
}

void TOpenFolderDialog::PathEditKeyUp() {
    if (updating_ || !pathEdit_) return;
    editTyping_ = true;
    const std::string typed = pathEdit_->Text();
    fw::SelectBrowserFolder(dialogWindow_, typed);
    currentPath_ = typed;
    editTyping_ = false;
}

void TOpenFolderDialog::CreateButtonClick() {
    bool allow = true;
    if (OnCreateFolder) OnCreateFolder(createButton_, allow);
    if (!allow) return;
    const bool typedNewPath = pathEdit_ && !pathEdit_->Text().empty() && !fw::DirectoryExists(pathEdit_->Text());
    if (!typedNewPath) {
        std::string name;
        if (!fw::InputQuery(CreateButtonText(), NewFolderPrompt(), name)) return;
        currentPath_ = AddBackslash(currentPath_) + name;
    }
    fw::ForceDirectories(currentPath_);
    folderCreated_ = true;
    if (okButton_) SendMessageA(okButton_, BM_CLICK, 0, 0);
}

void RegisterFolderDialogClasses() {
    fw::Class<TOFDCreateButton, fw::TButton>("TOFDCreateButton");
    fw::Class<TOFDPathEdit, fw::TEdit>("TOFDPathEdit");
    fw::Class<TOpenFolderDialog, fw::TComponent>("TOpenFolderDialog")
        .Prop("ShowCreateButton", &TOpenFolderDialog::ShowCreateButton, &TOpenFolderDialog::SetShowCreateButton)
        .Prop("ShowPathEdit", &TOpenFolderDialog::ShowPathEdit, &TOpenFolderDialog::SetShowPathEdit)
        .Event("OnCreateFolder", &TOpenFolderDialog::OnCreateFolder);
}

}  // namespace inst
