// TOpenFolderDialog: the shell's folder browser, extended while it is open with a button that makes a
// new folder and selects it, and an edit that shows the selected path and takes a typed one. The added
// controls carry fixed control ids, so a driver reaches them like the browser's own buttons.
//
// The browser opens on the nearest existing folder of SelectedPath. After a folder was made, the
// browser closes and opens again on it. With the path edit, the typed or selected path is the result
// and is made when it does not exist yet.
#pragma once

#include <string>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/winapi.h"

namespace inst {

class TOpenFolderDialog;

// The control ids of the added button and edit inside the browser's window.
constexpr int kCreateFolderButtonId = 0x4D01;
constexpr int kFolderPathEditId = 0x4D02;

using TCreateFolderEvent = fw::Event<void(fw::TObject* Sender, bool& Allow)>;

class TOFDCreateButton : public fw::TButton {
public:
    TOFDCreateButton(fw::TComponent* owner, TOpenFolderDialog* dialog) : fw::TButton(owner), dialog_(dialog) {}
    void Click() override;

protected:
    void CreateWnd() override;

private:
    TOpenFolderDialog* dialog_;
};

class TOFDPathEdit : public fw::TEdit {
public:
    TOFDPathEdit(fw::TComponent* owner, TOpenFolderDialog* dialog) : fw::TEdit(owner), dialog_(dialog) {}

protected:
    void CreateWnd() override;
    void KeyUp(uint16_t& key, fw::TShiftState shift) override;

private:
    TOpenFolderDialog* dialog_;
};

class TOpenFolderDialog : public fw::TComponent {
public:
    explicit TOpenFolderDialog(fw::TComponent* owner) : fw::TComponent(owner) {}

    // Shows the browser; true when a folder was chosen (SelectedPath).
    bool Execute();

    const std::string& SelectedPath() const { return selectedPath_; }
    void SetSelectedPath(const std::string& v) { selectedPath_ = v; }
    const std::string& CurrentPath() const { return currentPath_; }
    bool ShowCreateButton() const { return showCreateButton_; }
    void SetShowCreateButton(bool v) { showCreateButton_ = v; }
    bool ShowPathEdit() const { return showPathEdit_; }
    void SetShowPathEdit(bool v) { showPathEdit_ = v; }
    bool FolderCreated() const { return folderCreated_; }
    HWND DialogWindow() const { return dialogWindow_; }

    TCreateFolderEvent OnCreateFolder;

    // The texts the browser is extended with, as the system names them, or English where the system
    // has none.
    static std::string CreateButtonText();
    static std::string NewFolderPrompt();
    static std::string BrowserTitle();

    // The added controls' reactions.
    void CreateButtonClick();
    void PathEditKeyUp();

protected:
    void BeforeDestruction() override;

private:
    int Callback(HWND window, UINT message, LPARAM param);
    void Initialize(HWND window);
    void AddCreateButton();
    void AddPathEdit();
    void SelectPath(const std::string& path);
    void SelectionChanged(LPARAM itemList);
    void DropControls();

    TOFDCreateButton* createButton_ = nullptr;
    TOFDPathEdit* pathEdit_ = nullptr;
    std::string currentPath_;
    bool folderCreated_ = false;
    bool updating_ = false;
    std::string selectedPath_;
    bool showCreateButton_ = true;
    bool showPathEdit_ = true;
    bool editTyping_ = false;
    HWND dialogWindow_ = nullptr;
    HWND okButton_ = nullptr, cancelButton_ = nullptr, treeWindow_ = nullptr;
    RECT okRect_{}, cancelRect_{}, treeRect_{};
};

void RegisterFolderDialogClasses();

}  // namespace inst
