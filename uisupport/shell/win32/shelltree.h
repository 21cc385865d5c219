// TJexoShellTree shows the shell's folders as a tree that fills itself as nodes open. The selected
// node's folder goes to the other views of its link after a pause (200 ms at first, 100 ms after a
// click, 800 ms after a key), so travelling through the tree with the keys does not move the linked
// views at every step. A selection made in answer to another view is not sent back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/win32/std_treeview.h"
#include "uisupport/shell/shellfolders.h"
#include "uisupport/shell/win32/shellapi.h"
#include "uisupport/shell/win32/shellview.h"

namespace fw {
class TTimer;
}

namespace uis {

class TShellBrowser;

// The data of one node: the folder's list relative to its parent and its absolute list.
struct TJexoShellTreeItem {
    IDListPtr relative;
    IDListPtr absolute;
    bool seen = true;
};

class TJexoShellTree : public fw::TTreeView {
public:
    explicit TJexoShellTree(fw::TComponent* owner);

    TJexoShellLink* ShellLink() const { return link_.Link(); }
    void SetShellLink(TJexoShellLink* value) { link_.Set(this, value); }
    TJexoShellFolder RootedAt() const { return rootedAt_; }
    void SetRootedAt(TJexoShellFolder value);
    const std::string& RootedAtFileSystemFolder() const { return rootFolder_; }
    void SetRootedAtFileSystemFolder(const std::string& value);
    // The selected node's folder with a trailing "\" ("" for none or a folder without a path).
    std::string SelectedFolder();
    // Raises "Cannot Find Folder: " for a path the shell cannot parse; the selection stays.
    void SetSelectedFolder(const std::string& value);
    TJexoShellFolder SpecialFolder();
    void SetSpecialFolder(TJexoShellFolder value);
    std::string Version() const;

    // Opens the nodes on the way to the folder of an absolute list and selects the deepest one the
    // tree holds; stops at the first folder it does not find.
    void SelectByIDList(LPCITEMIDLIST absolute);
    bool InvokeOnSelection(const std::string& verb);
    void RefreshAll();
    TShellBrowser* Browser() const { return browser_; }
    LPCITEMIDLIST NodeIDList(fw::TTreeNode* node) const;
    // The pause before the selection goes to the link (ms).
    unsigned BroadcastDelay() const;

protected:
    ~TJexoShellTree() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    void Dispatch(fw::TMessage& message) override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    bool CanExpand(fw::TTreeNode* node) override;
    void Change(fw::TTreeNode* node) override;
    void CNNotify(fw::TMessage& message) override;

private:
    TJexoShellTreeItem* DataOf(fw::TTreeNode* node) const;
    void BuildRoot();
    fw::TTreeNode* FirstSelection(fw::TTreeNode* root) const;
    void FillNode(fw::TTreeNode* node);
    void ExpandNode(fw::TTreeNode* node);
    void RefreshNode(fw::TTreeNode* node, bool recursive);
    fw::TTreeNode* AddFolderNode(fw::TTreeNode* parent);
    void SortChildren(fw::TTreeNode* node);
    void FreeOrphanData();
    void DeleteNode(fw::TTreeNode* node);
    void BroadcastSelection(fw::TObject* sender);
    void StartRename(fw::TObject* sender);
    void ContextMenuAt(const fw::TPoint& screen);
    bool SelectObjectOfNode(fw::TTreeNode* node);
    static int CompareNodes(fw::TTreeNode* a, fw::TTreeNode* b, LPARAM tree);

    TShellBrowser* browser_ = nullptr;
    fw::TTimer* timer_ = nullptr;
    ViewLink link_;
    TJexoShellFolder rootedAt_ = TJexoShellFolder::SF_DESKTOP;
    std::string rootFolder_;
    bool created_ = false;
    bool answering_ = false;  // selecting in answer to a link message: not sent back
    std::vector<std::unique_ptr<TJexoShellTreeItem>> data_;
};

void RegisterShellTreeClass();

}  // namespace uis
