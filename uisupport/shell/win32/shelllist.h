// TJexoShellList shows the objects of one shell folder in a list view: shell names, icons and detail
// columns, folders opened in place, shell verbs on the selection, the shell's context menu, renaming
// in place, and an incremental refresh whenever the directory monitor sees the folder change.
//
// Each item keeps the object's item-id list relative to the folder; every action on items (verbs,
// the context menu, renaming, the refresh) finds the objects through those lists, so two objects
// shown with one display name ("readme.txt" and "readme.doc" with hidden extensions) stay apart.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/win32/std_listview.h"
#include "uisupport/shell/shellfolders.h"
#include "uisupport/shell/win32/shellapi.h"
#include "uisupport/shell/win32/shellview.h"

namespace uis {

class TShellBrowser;

// The data of one list item: the object's list relative to the folder, and the refresh's seen flag.
struct TJexoShellListItem {
    IDListPtr idList;
    bool seen = true;
};

using TOnAddItem = fw::Event<void(fw::TObject* Sender, fw::TListItem* Item, bool& CanAdd)>;

class TJexoShellList : public fw::TListView {
public:
    explicit TJexoShellList(fw::TComponent* owner);

    std::string Path() const;
    // Raises "Cannot Find Folder: " for a path the shell cannot parse; the items stay.
    void SetPath(const std::string& value);
    std::string Filter() const;
    void SetFilter(const std::string& value);
    bool FileSystemOnly() const;
    void SetFileSystemOnly(bool value);
    bool Details() const { return details_; }
    void SetDetails(bool value);
    TJexoShellFolder SpecialFolder();
    void SetSpecialFolder(TJexoShellFolder value);
    bool DoDblClick() const { return doDblClick_; }
    void SetDoDblClick(bool value) { doDblClick_ = value; }
    bool DoRightClick() const { return doRightClick_; }
    void SetDoRightClick(bool value) { doRightClick_ = value; }
    TJexoShellLink* ShellLink() const { return link_.Link(); }
    void SetShellLink(TJexoShellLink* value) { link_.Set(this, value); }
    std::string Version() const;

    TOnAddItem OnAddItem;
    fw::TNotifyEvent OnCreateColumns;
    fw::TNotifyEvent OnPopulated;

    void GoUp();
    void Populate();
    void InvokeSelected(const std::string& verb);
    TShellBrowser* Browser() const { return browser_; }
    // The item-id list of an item's object (null for an item the list did not add).
    LPCITEMIDLIST ItemIDList(fw::TListItem* item) const;
    // The verb the last context menu ran ("" when none, or when a delete left the objects there).
    const std::string& LastContextVerb() const { return lastVerb_; }
    // The incremental refresh the directory monitor runs.
    void RefreshChanged();
    // Shows the shell's context menu for the selection at a screen point.
    void ContextMenuAt(const fw::TPoint& screen);

protected:
    ~TJexoShellList() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    void Dispatch(fw::TMessage& message) override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void GetDispInfo(NMLVDISPINFOA& info) override;
    void ColumnClick(fw::TListColumn* column) override;
    void CNNotify(fw::TMessage& message) override;

private:
    TJexoShellListItem* DataOf(fw::TListItem* item) const;
    void AddItem();
    void RebuildColumns();
    void SortItems();
    void FolderChanged();
    void SelectAllItems();
    std::vector<fw::TListItem*> SelectedItems() const;
    void FreeOrphanData();
    void FileChanged(fw::TObject* sender);
    void StartRename(fw::TObject* sender);
    bool BeginEdit(fw::TListItem* item);
    void EndEdit(fw::TListItem* item, const char* text);
    static int CompareItems(fw::TListItem* a, fw::TListItem* b, LPARAM list);

    TShellBrowser* browser_ = nullptr;
    ViewLink link_;
    bool details_ = true;
    bool doDblClick_ = false;
    bool doRightClick_ = false;
    int sortColumn_ = 0;
    bool created_ = false;
    int widths_[16] = {};
    bool lastHadPath_ = false;
    std::string lastVerb_;
    std::vector<std::unique_ptr<TJexoShellListItem>> data_;
};

void RegisterShellListClass();

}  // namespace uis
