// TKVXBrowseDlg: the shell's folder browser set up from published properties: the root, the options,
// the window caption, the text above the tree, the initial selection, the status line and the window's
// place on the screen. The folder chosen last is selected again the next time it opens. It runs on the
// framework's folder browser (fw::BrowseForFolder), so a driver's queued "folder" answer reaches it too.
#pragma once

#include <string>

#include "framework/core/event.h"
#include "framework/win32/winapi.h"
#include "widgets/browseoptions.h"
#include "widgets/drawtypes.h"
#include "widgets/kvxclass.h"

#include <shlobj.h>

namespace kvx::win32 {

using TKVXBrowseDlgEditValidateEvent = fw::Event<void(TObject* Sender, const std::string& Path, bool& Cancel)>;
using TKVXBrowseDlgSelectionChangeEvent =
    fw::Event<void(TObject* Sender, HWND DialogHandle, const std::string& Path, LPCITEMIDLIST Item)>;

// The longest status line the selection writes; longer paths lose folders from the left.
constexpr int kKVXBrowseStatusLength = 40;

class TKVXBrowseDlg : public TKVXComponent {
public:
    explicit TKVXBrowseDlg(TComponent* owner) : TKVXComponent(owner) {}

    // Shows the browser modally: true when a folder was chosen (SelectedFolder and DisplayName then
    // hold it). The owner window is the Owner's, else the main form's.
    bool Execute();

    const std::string& SelectedFolder() const { return selectedFolder_; }
    // While the browser is open, it selects the new path.
    void SetSelectedFolder(const std::string& value);
    const std::string& DisplayName() const { return displayName_; }
    std::string Caption;
    std::string CaptionTitle;
    const std::string& StatusText() const { return statusText_; }
    // While the browser is open, its status line shows the new text.
    void SetStatusText(const std::string& value);
    // The browser's window while it is open, else null.
    HWND Handle() const { return window_; }

    TKVXDlgPosRel RelatePos = TKVXDlgPosRel::brActiveWindow;
    TKVXBrowseDlgOptions Options{TKVXBrowseDlgOption::doReturnFileSysDirs, TKVXBrowseDlgOption::doShowPath};
    TKVXDlgPosition Position = TKVXDlgPosition::bpCenter;
    TKVXSystemFolders StartFolder = TKVXSystemFolders::bfoDesktopExpanded;

    TNotifyEvent OnInit;
    TKVXBrowseDlgEditValidateEvent OnValidate;
    TKVXBrowseDlgSelectionChangeEvent OnSelectionChanged;

private:
    HWND OwnerWindow() const;
    int Callback(HWND window, UINT message, LPARAM param);
    void Initialize(HWND window);

    std::string selectedFolder_;
    std::string displayName_;
    std::string statusText_;
    HWND window_ = nullptr;
};

// Registers TKVXBrowseDlg and its enumerations for form text. Harmless to repeat.
void KVXRegisterBrowseClasses();

}  // namespace kvx::win32
