// TShellBrowser wraps the shell namespace for one current folder and one current object in it: paths
// and item-id lists to folders, the folder's objects through a mask filter, names, icons and detail
// columns, the shell's context menu (with an application popup menu's items after the shell's own),
// shell verbs, renaming, and a directory monitor on the folder. Each shell view owns one; everything
// runs on the GUI thread, with the shell started (ShellSession).
//
// The current object changes with every FindNext, ObjectName write, GoUp and view operation, so a
// caller sets it right before each question. A view acts on the objects it lists through their
// item-id lists (SetObjectIDList, SetMultiObjectIDLists), never through their captions: with hidden
// extensions "readme.txt" and "readme.doc" are both shown as "readme". ObjectName and MultiObjects
// look objects up by name and serve names the user typed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/exceptions.h"
#include "framework/core/object.h"
#include "framework/win32/controls.h"
#include "framework/win32/std_types.h"
#include "uisupport/shell/shellfolders.h"
#include "uisupport/shell/win32/shellapi.h"

namespace fw {
class TCustomImageList;
class TPopupMenu;
class TStrings;
}  // namespace fw

namespace uis {

class TDirMon;

class EShellBrowserError : public fw::Exception {
public:
    using Exception::Exception;
};

// Where a browser gets a folder's details interface: the folder's own view object by default; tests
// hand in a fake, since Wine's folders offer none.
using ShellDetailsSource = std::function<IShellDetails*(IShellFolder* folder, HWND owner)>;
void SetShellDetailsSource(ShellDetailsSource source);

class TShellBrowser : public fw::TComponent {
public:
    explicit TShellBrowser(fw::TComponent* owner);

    // ---- published ----
    std::string Filter() const;
    void SetFilter(const std::string& value);
    // The current folder's path with a trailing "\"; empty for folders without one (My Computer).
    // Writing raises "Cannot Find Folder: " for a path the shell cannot parse and keeps the folder.
    const std::string& Folder() const { return folder_; }
    void SetFolder(const std::string& value);
    std::string ObjectName();
    void SetObjectName(const std::string& value);
    int IconNumber();
    int SelectedIconNumber();
    fw::TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(fw::TCustomImageList* value);
    fw::TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(fw::TCustomImageList* value);
    IShellFolder* ShellFolder() const { return shellFolder_.Get(); }
    bool FileSystemOnly() const { return fileSystemOnly_; }
    void SetFileSystemOnly(bool value) { fileSystemOnly_ = value; }
    // Names of objects to act on at once, as the user typed them (looked up by ObjectName).
    fw::TStrings* MultiObjects() const { return multiObjects_; }
    void SetMultiObjects(fw::TStrings* value);
    std::string Version() const;
    fw::TNotifyEvent OnRename;
    const fw::TNotifyEvent& OnFileChange() const { return onFileChange_; }
    // Assigning starts a directory monitor on the folder (file and folder names); clearing stops it.
    void SetOnFileChange(const fw::TNotifyEvent& value);

    // ---- item-id lists ----
    void SetFolderIDList(LPCITEMIDLIST list);
    LPCITEMIDLIST FolderIDListRef() const { return folderList_.get(); }
    LPITEMIDLIST FolderIDList() const;  // a copy; the caller frees it
    void SetObjectIDList(LPCITEMIDLIST relative);
    LPCITEMIDLIST ObjectIDListRef() const { return objectList_.get(); }
    LPITEMIDLIST ObjectIDList() const;  // a copy
    // The object's absolute list, owned by the browser (null without folder or object).
    LPCITEMIDLIST AbsoluteIDList();
    // Objects of the folder (relative lists, copied) to act on at once; they win over MultiObjects.
    void SetMultiObjectIDLists(const std::vector<LPCITEMIDLIST>& relative);

    // ---- the current object ----
    std::string DisplayName();
    bool IsFolder() { return GetAttributes(SFGAO_FOLDER) != 0; }
    bool HasSubFolders() { return GetAttributes(SFGAO_HASSUBFOLDER) != 0; }
    bool CanRename() { return GetAttributes(SFGAO_CANRENAME) != 0; }
    ULONG GetAttributes(ULONG mask);
    bool FindNext();
    // The folder's parent becomes current with the old folder as its object; false at the desktop.
    bool GoUp();
    bool OpenFolder();
    bool SetSpecialFolder(TJexoShellFolder folder);
    TJexoShellFolder GetSpecialFolder();
    int DesktopIconNumber();
    std::string DesktopName();
    bool MatchesFilter();
    std::string DetailText(int column, bool header);
    fw::TAlignment ColumnInfo(int column, int& width);

    // ---- commands ----
    // Shows the merged context menu at the screen point; the chosen shell verb comes back in `verb`
    // (empty when nothing was chosen, an application item ran, or a delete left the objects there).
    void ShowContextMenu(const fw::TPoint& at, fw::TPopupMenu* appMenu, std::string& verb);
    bool InvokeVerb(const std::string& verb);
    // Renames the object; `name` comes back as its display name (the old one when refused).
    void Rename(std::string& name);
    // Owner-drawn menu messages of a shown context menu go to the shell; a passed one gets Msg 0.
    void HandleMenuMsg(fw::TMessage& message);
    // Whether a context menu is up (for the views' message routing).
    bool ContextMenuActive() const { return contextMenu2_ != nullptr; }

    void Loaded() override;
    // The owner window for the shell's calls and menus: a windowed owner's window once it exists,
    // else the application's.
    HWND OwnerWindow() const;
    // The directory monitor while OnFileChange is assigned.
    TDirMon* Monitor() const { return monitor_; }

protected:
    ~TShellBrowser() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    struct Objects;
    void ClearObject();
    void ReleaseEnumerator();
    void AttachImages(fw::TCustomImageList* list, UINT sizeFlag);
    bool ObtainDetails();
    std::string FindDataText(int column);
    Objects CollectObjects();
    bool AnyStillExists(const Objects& objects) const;
    void MonitorChanged(fw::TObject* sender);
    int IconIndex(LPCITEMIDLIST absolute, UINT flags) const;

    std::string folder_;
    IDListPtr folderList_;
    ComPtr<IShellFolder> shellFolder_;
    IDListPtr objectList_;
    IDListPtr absoluteList_;  // cache of folder + object, dropped whenever either changes
    ComPtr<IEnumIDList> enumerator_;
    std::vector<std::string> masks_;
    ComPtr<IShellDetails> details_;
    bool noDetails_ = false;
    IContextMenu2* contextMenu2_ = nullptr;  // held while a context menu shows
    HMENU contextMenuHandle_ = nullptr;
    int copiedItems_ = 0;
    fw::TCustomImageList* smallImages_ = nullptr;
    fw::TCustomImageList* largeImages_ = nullptr;
    bool fileSystemOnly_ = true;
    fw::TStrings* multiObjects_ = nullptr;
    std::vector<IDListPtr> multiObjectLists_;
    fw::TNotifyEvent onFileChange_;
    TDirMon* monitor_ = nullptr;
};

// The component a view's browser has as its owner window source.
void RegisterShellBrowserClass();

}  // namespace uis
