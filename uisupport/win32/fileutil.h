// TBrowseFolderDlg: the shell's folder browser for a folder or a network computer, with the current
// folder preselected, OK only on existing folders, an optional Help button, and centring; ChooseFolder
// runs it for a folder edit.
#pragma once

#include <string>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/win32/hooks.h"
#include "framework/win32/winapi.h"

namespace uis {

enum class TBrowseKind { bfFolders, bfComputers };
enum class TDialogPosition { dpDefault, dpScreenCenter };

// The control identifier of the Help button the dialog gets with a HelpContext.
constexpr int kBrowseHelpButtonId = 65535;

class TBrowseFolderDlg : public fw::TComponent {
public:
    explicit TBrowseFolderDlg(fw::TComponent* owner);

    TBrowseKind BrowseKind() const { return browseKind_; }
    void SetBrowseKind(TBrowseKind value) { browseKind_ = value; }
    // Folders: the tree starts at the desktop; false: at the computer folder (the drives).
    bool DesktopRoot() const { return desktopRoot_; }
    void SetDesktopRoot(bool value) { desktopRoot_ = value; }
    const std::string& DialogText() const { return dialogText_; }
    void SetDialogText(const std::string& value) { dialogText_ = value; }
    // The initial selection and, after OK, the result.
    const std::string& FolderName() const { return folderName_; }
    void SetFolderName(const std::string& value) { folderName_ = value; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    TDialogPosition Position() const { return position_; }
    void SetPosition(TDialogPosition value) { position_ = value; }

    // The dialog's window while it is open.
    HWND Handle() const { return window_; }
    // The path (or computer name) selected now.
    const std::string& Selection() const { return selection_; }
    int ImageIndex() const { return imageIndex_; }

    // Shows the dialog; true on OK. The program's other windows are disabled meanwhile.
    bool Execute();

    fw::TNotifyEvent OnInitialized;
    fw::TNotifyEvent OnSelChanged;

protected:
    ~TBrowseFolderDlg() override = default;

private:
    int Callback(HWND window, UINT message, LPARAM param);
    void Initialize(HWND window);
    void SelectionChanged(HWND window, LPARAM itemList);
    void AddHelpButton(HWND window);
    void HookProc(fw::HookMessage& message);

    TBrowseKind browseKind_ = TBrowseKind::bfFolders;
    bool desktopRoot_ = true;
    std::string dialogText_;
    std::string folderName_;
    int helpContext_ = 0;
    TDialogPosition position_ = TDialogPosition::dpScreenCenter;
    HWND window_ = nullptr;
    fw::ScopedHook hook_;
    std::string selection_;
    int imageIndex_ = 0;
};

// Runs a folder browser with `title`, `folder` preselected and the help context; on OK stores the
// result in `folder`.
bool ChooseFolder(std::string& folder, const std::string& title, int helpContext);

void RegisterFileUtilClasses();

}  // namespace uis
