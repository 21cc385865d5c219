// TTreeView over the system "SysTreeView32" class. Nodes (TTreeNode) keep text, images, Data and the
// HasChildren flag themselves and are rebuilt in a new window by RecreateWnd; CanExpand asks the
// owner before a node opens, so children can be added on demand.
#pragma once

#include <vector>

#include "framework/win32/imagelist.h"
#include "framework/win32/std_support.h"

namespace fw {

class TTreeView;
class TTreeNodes;

class TTreeNode : public TPersistent {
public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode() override;

    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int value);
    bool HasChildren() const { return hasChildren_ || !children_.empty(); }
    void SetHasChildren(bool value);
    void* Data() const { return data_; }
    void SetData(void* value) { data_ = value; }
    bool Expanded() const;
    void SetExpanded(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool value);
    TTreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    int Index() const;
    int Level() const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetNextSibling() const;
    HTREEITEM ItemId() const { return id_; }
    TTreeNodes* Owner() const { return owner_; }
    // Removes and frees the node with its children.
    void Delete();
    void DeleteChildren();
    void EditText();
    void MakeVisible();
    // Sorts the children with `compare` (null: by text); recursively when asked.
    bool CustomSort(int (*compare)(TTreeNode*, TTreeNode*, LPARAM), LPARAM data, bool recurse = false);
    bool AlphaSort(bool recurse = false) { return CustomSort(nullptr, 0, recurse); }

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::vector<TTreeNode*> children_;
    std::string text_;
    HTREEITEM id_ = nullptr;
    void* data_ = nullptr;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    bool hasChildren_ = false;
    bool expanded_ = false;  // while there is no window
};

class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TTreeView* owner);
    ~TTreeNodes() override;

    // The top-level nodes.
    int Count() const { return static_cast<int>(roots_.size()); }
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
    void Delete(TTreeNode* node);
    void Clear();
    // Every node, depth first.
    std::vector<TTreeNode*> All() const;
    TTreeNode* GetNode(HTREEITEM id) const;
    void BeginUpdate();
    void EndUpdate();
    TTreeView* Owner() const { return owner_; }
    void Assign(TPersistent* source) override;

private:
    friend class TTreeNode;
    friend class TTreeView;
    TTreeNode* InsertNode(TTreeNode* parent, int index, const std::string& text);
    std::vector<TTreeNode*>& SiblingsOf(TTreeNode* parent) { return parent ? parent->children_ : roots_; }
    TTreeView* owner_;
    std::vector<TTreeNode*> roots_;
    int updateCount_ = 0;
};

using TTVChangedEvent = Event<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = Event<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVEditingEvent = Event<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = Event<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCompareEvent = Event<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* owner);

    TTreeNodes* Items() const { return items_.get(); }
    void SetItems(TTreeNodes* value) { items_->Assign(value); }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool value);
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool value);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // A right click selects the node under the mouse before the popup menu opens.
    bool RightClickSelect() const { return rightClickSelect_; }
    void SetRightClickSelect(bool value) { rightClickSelect_ = value; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TTreeNode* GetNodeAt(int x, int y) const;
    bool AlphaSort() { return CustomSort(nullptr, 0); }
    bool CustomSort(int (*compare)(TTreeNode*, TTreeNode*, LPARAM), LPARAM data);
    bool IsEditing() const;
    // Drags start from the window's own drag notification.
    bool DragStartsOnPress() const override { return false; }

    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVChangedEvent OnExpanded;
    TTVExpandingEvent OnCollapsing;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCompareEvent OnCompare;
    TTVChangedEvent OnDeletion;

protected:
    ~TTreeView() override;
    void BeforeDestruction() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Whether the node may open (OnExpanding); false keeps it closed.
    virtual bool CanExpand(TTreeNode* node);
    virtual bool CanCollapse(TTreeNode* node);
    virtual void Change(TTreeNode* node);
    virtual void CNNotify(TMessage& message);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    void InsertWindowNode(TTreeNode* node, HTREEITEM after);
    void UpdateWindowNode(TTreeNode* node, UINT mask);
    static int CALLBACK SortThunk(LPARAM a, LPARAM b, LPARAM context);

    std::unique_ptr<TTreeNodes> items_;
    TCustomImageList* images_ = nullptr;
    bool showRoot_ = true;
    bool showLines_ = true;
    bool showButtons_ = true;
    bool hideSelection_ = true;
    bool readOnly_ = false;
    bool rightClickSelect_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    TTreeNode* savedSelected_ = nullptr;
    std::string dispText_;
};

void RegisterTreeViewClasses();

}  // namespace fw
