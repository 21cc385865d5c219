// TListView over the system "SysListView32" class. The view keeps its items (caption, sub-items,
// image and overlay index, Data, selection) in objects of its own and gives the window only their
// addresses: texts come back through LVN_GETDISPINFO, so a descendant can answer them itself, the
// window holds no copies, and items, columns and selection survive RecreateWnd. Image lists are always
// shared (LVS_SHAREIMAGELISTS): freeing the view never destroys a list it shows.
#pragma once

#include <vector>

#include "framework/win32/imagelist.h"
#include "framework/win32/std_support.h"

namespace fw {

class TListView;
class TListItems;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TItemChange { ctText, ctImage, ctState };

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* collection);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    int Width();
    void SetWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    std::string DisplayName() const override { return caption_.empty() ? TCollectionItem::DisplayName() : caption_; }
    void Assign(TPersistent* source) override;

private:
    friend class TListView;
    TListView* View() const;
    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TListColumns : public TCollection {
public:
    explicit TListColumns(TListView* view);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListView* Owner() const { return view_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TListView* view_;
};

class TListItem : public TPersistent {
public:
    TListItem(TListItems* owner);
    ~TListItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // The texts of the columns after the first.
    TStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(TStrings* value) { subItems_->Assign(value); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // An overlay image (1..15 of the list's overlays); 0 or -1 for none.
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int value);
    void* Data() const { return data_; }
    void SetData(void* value) { data_ = value; }
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);
    int Index() const;
    TListItems* Owner() const { return owner_; }
    TListView* ListView() const;
    // Removes and frees the item.
    void Delete();
    // Redraws the item in the window.
    void Update();
    void MakeVisible(bool partialOK);
    // Starts editing the caption in place.
    void EditCaption();

private:
    friend class TListView;
    friend class TListItems;
    class SubItemStrings;
    std::string caption_;
    std::unique_ptr<TStrings> subItems_;
    TListItems* owner_;
    void* data_ = nullptr;
    int imageIndex_ = -1;
    int overlayIndex_ = -1;
    // How many sub-item slots the window has been given (their texts come from the item on request).
    int windowSubItems_ = 0;
    // Where the item stood when last looked up: checked first, so asking a long list for an item's
    // position is not a search.
    mutable size_t indexHint_ = 0;
    bool selected_ = false;  // while there is no window
    bool focused_ = false;
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TListView* owner) : owner_(owner) {}
    ~TListItems() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    // Adds an item made beforehand with no owner (new TListItem(nullptr)) and filled while no window
    // knew it: the window gets it whole, in one insert (null adds an empty item). At Index, or at the
    // end when Index is -1. The list takes ownership.
    TListItem* AddItem(TListItem* item, int index = -1);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    // Counted: the window redraws once, after the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    TListView* Owner() const { return owner_; }
    void Assign(TPersistent* source) override;

private:
    friend class TListView;
    friend class TListItem;
    std::vector<TListItem*> items_;
    TListView* owner_;
};

using TLVCompare = int (*)(TListItem* item1, TListItem* item2, LPARAM data);
using TLVColumnClickEvent = Event<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent = Event<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVEditingEvent = Event<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = Event<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVChangeEvent = Event<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVSelectItemEvent = Event<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVDeletedEvent = Event<void(TObject* Sender, TListItem* Item)>;

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);

    TListColumns* Columns() const { return columns_.get(); }
    void SetColumns(TListColumns* value) { columns_->Assign(value); }
    TListItems* Items() const { return items_.get(); }
    void SetItems(TListItems* value) { items_->Assign(value); }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value);
    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* value);
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* value);
    TCustomImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* value);

    // The first selected item (null: none); setting selects only that item.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int SelCount() const;
    // The position of the next selected item after Index (-1: from the start), or -1; the window
    // answers, so a walk over the selection costs one question per selected item.
    int NextSelected(int index) const;
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* item);
    TListItem* GetItemAt(int x, int y) const;
    TListItem* TopItem() const;

    // Sorts with `compare` (null: OnCompare, or the captions as the locale orders them); the items
    // take the window's new order.
    bool CustomSort(TLVCompare compare, LPARAM data);
    bool AlphaSort() { return CustomSort(nullptr, 0); }
    void BeginUpdate() { items_->BeginUpdate(); }
    void EndUpdate() { items_->EndUpdate(); }
    int UpdateCount() const { return updateCount_; }
    bool IsEditing() const;
    // Drags start from the window's own drag notification.
    bool DragStartsOnPress() const override { return false; }

    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVChangeEvent OnChange;
    TLVSelectItemEvent OnSelectItem;
    TLVDeletedEvent OnDeletion;

protected:
    ~TListView() override;
    void BeforeDestruction() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Fills what the window asks of an item (texts, images); a descendant may answer more.
    virtual void GetDispInfo(NMLVDISPINFOA& info);
    virtual void ColumnClick(TListColumn* column);
    virtual void CNNotify(TMessage& message);

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    friend class TListColumn;
    void UpdateColumns();
    void UpdateColumn(int index);
    void InsertWindowItem(TListItem* item, int index);
    void UpdateExStyle();
    void SetImageList(TCustomImageList*& field, TCustomImageList* value, int slot);
    void ApplyImageLists();
    void ItemsReordered();
    int SortCompare(TListItem* a, TListItem* b);
    static int CALLBACK SortThunk(LPARAM a, LPARAM b, LPARAM context);

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
    bool multiSelect_ = false;
    bool rowSelect_ = false;
    bool readOnly_ = false;
    bool gridLines_ = false;
    bool hideSelection_ = true;
    bool showColumnHeaders_ = true;
    int allocBy_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    int updateCount_ = 0;
    std::string dispText_;  // the text handed out by the last LVN_GETDISPINFO
    struct SortContext {
        TListView* view;
        TLVCompare compare;
        LPARAM data;
    };
};

void RegisterListViewClasses();

}  // namespace fw
