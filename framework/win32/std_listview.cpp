// TListView over the system "SysListView32" class.
#include "framework/win32/std_listview.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "framework/win32/callback.h"

namespace fw {

namespace {

// The item messages the view sends itself go straight to the system list view: nothing of ours
// handles them, and under Wine the trip through the control's own window procedure costs far more
// than the list view's work (a lister filling 100,000 rows sends over a million of them).
LRESULT SendToList(TWinControl* view, UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    view->DefaultHandler(message);
    return message.Result;
}

}  // namespace

namespace {

int ColumnFormat(TAlignment alignment) {
    switch (alignment) {
        case TAlignment::taRightJustify: return LVCFMT_RIGHT;
        case TAlignment::taCenter: return LVCFMT_CENTER;
        default: return LVCFMT_LEFT;
    }
}

}  // namespace

// ---- columns -------------------------------------------------------------------------------------

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {}

TListView* TListColumn::View() const {
    auto* columns = dynamic_cast<TListColumns*>(Collection());
    return columns ? columns->Owner() : nullptr;
}

void TListColumn::SetCaption(const std::string& value) {
    caption_ = value;
    Changed(false);
}

int TListColumn::Width() {
    TListView* view = View();
    if (view && view->HandleAllocated() && view->ViewStyle() == TViewStyle::vsReport)
        width_ = static_cast<int>(SendMessageA(view->Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    return width_;
}

void TListColumn::SetWidth(int value) {
    width_ = value;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment value) {
    alignment_ = value;
    Changed(false);
}

void TListColumn::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TListColumn*>(source)) {
        caption_ = other->caption_;
        width_ = other->width_;
        alignment_ = other->alignment_;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

TListColumns::TListColumns(TListView* view) : TCollection(&TCollection::MakeItem<TListColumn>, view), view_(view) {}

void TListColumns::Update(TCollectionItem* item) {
    if (item)
        view_->UpdateColumn(item->Index());
    else
        view_->UpdateColumns();
}

// ---- items ---------------------------------------------------------------------------------------

// The sub-item texts: every change is shown by the window at once.
class TListItem::SubItemStrings : public TStringList {
public:
    explicit SubItemStrings(TListItem* item) : item_(item) {}
    void Put(int index, const std::string& s) override {
        TStringList::Put(index, s);
        Changed();
    }
    void Insert(int index, const std::string& s) override {
        TStringList::Insert(index, s);
        Changed();
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        Changed();
    }
    void Clear() override {
        TStringList::Clear();
        Changed();
    }

private:
    void Changed() {
        if (UpdateCount() == 0) item_->Update();
    }
    void SetUpdateState(bool updating) override {
        if (!updating) item_->Update();
    }
    TListItem* item_;
};

TListItem::TListItem(TListItems* owner) : subItems_(std::make_unique<SubItemStrings>(this)), owner_(owner) {}

TListItem::~TListItem() = default;

TListView* TListItem::ListView() const { return owner_ ? owner_->owner_ : nullptr; }

int TListItem::Index() const { return owner_ ? owner_->IndexOf(this) : -1; }

void TListItem::SetCaption(const std::string& value) {
    caption_ = value;
    Update();
}

void TListItem::SetImageIndex(int value) {
    imageIndex_ = value;
    TListView* view = ListView();
    if (!view || !view->HandleAllocated()) return;
    LVITEMA lv{};
    lv.mask = LVIF_IMAGE;
    lv.iItem = Index();
    lv.iImage = value;
    SendToList(view, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
}

void TListItem::SetOverlayIndex(int value) {
    overlayIndex_ = value;
    TListView* view = ListView();
    if (!view || !view->HandleAllocated()) return;
    LVITEMA lv{};
    lv.stateMask = LVIS_OVERLAYMASK;
    lv.state = INDEXTOOVERLAYMASK(value > 0 ? value : 0);
    SendToList(view, LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&lv));
}

bool TListItem::Selected() const {
    TListView* view = ListView();
    if (!view || !view->HandleAllocated()) return selected_;
    return SendToList(view, LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value) {
    selected_ = value;
    TListView* view = ListView();
    if (!view || !view->HandleAllocated()) return;
    LVITEMA lv{};
    lv.stateMask = LVIS_SELECTED;
    lv.state = value ? LVIS_SELECTED : 0;
    SendToList(view, LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&lv));
}

bool TListItem::Focused() const {
    TListView* view = ListView();
    if (!view || !view->HandleAllocated()) return focused_;
    return SendToList(view, LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool value) {
    focused_ = value;
    TListView* view = ListView();
    if (!view || !view->HandleAllocated()) return;
    LVITEMA lv{};
    lv.stateMask = LVIS_FOCUSED;
    lv.state = value ? LVIS_FOCUSED : 0;
    SendToList(view, LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&lv));
}

void TListItem::Delete() {
    if (owner_) owner_->Delete(Index());
}

void TListItem::Update() {
    TListView* view = ListView();
    if (!view || !view->HandleAllocated()) return;
    const int index = Index();
    // Sub-items the window does not know yet ask for their text too; the others it asks again anyway.
    for (int i = windowSubItems_ + 1; i <= subItems_->Count(); ++i) {
        LVITEMA lv{};
        lv.iSubItem = i;
        lv.pszText = LPSTR_TEXTCALLBACKA;
        SendToList(view, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lv));
    }
    windowSubItems_ = std::max(windowSubItems_, subItems_->Count());
    // While the view's updates are suspended its end repaints everything.
    if (view->updateCount_ == 0) SendToList(view, LVM_UPDATE, static_cast<WPARAM>(index), 0);
}

void TListItem::MakeVisible(bool partialOK) {
    TListView* view = ListView();
    if (view && view->HandleAllocated())
        SendMessageA(view->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index()), partialOK ? TRUE : FALSE);
}

void TListItem::EditCaption() {
    TListView* view = ListView();
    if (view) {
        ::SetFocus(view->Handle());
        SendMessageA(view->Handle(), LVM_EDITLABELA, static_cast<WPARAM>(Index()), 0);
    }
}

TListItems::~TListItems() {
    for (TListItem* item : items_) {
        item->owner_ = nullptr;
        delete item;
    }
}

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<size_t>(index)];
}

int TListItems::IndexOf(const TListItem* item) const {
    if (!item) return -1;
    if (item->indexHint_ < items_.size() && items_[item->indexHint_] == item) return static_cast<int>(item->indexHint_);
    // Recently added items are the usual question.
    for (size_t i = items_.size(); i-- > 0;)
        if (items_[i] == item) {
            item->indexHint_ = i;
            return static_cast<int>(i);
        }
    return -1;
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::AddItem(TListItem* item, int index) {
    if (index < 0) index = Count();
    if (index > Count()) {
        delete item;
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    if (!item) item = new TListItem(nullptr);
    item->owner_ = this;
    items_.insert(items_.begin() + index, item);
    item->indexHint_ = static_cast<size_t>(index);
    owner_->InsertWindowItem(item, index);
    return item;
}

TListItem* TListItems::Insert(int index) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    auto* item = new TListItem(this);
    items_.insert(items_.begin() + index, item);
    item->indexHint_ = static_cast<size_t>(index);
    owner_->InsertWindowItem(item, index);
    return item;
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    if (owner_->OnDeletion) owner_->OnDeletion(owner_, item);
    items_.erase(items_.begin() + index);
    if (owner_->HandleAllocated()) SendMessageA(owner_->Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    item->owner_ = nullptr;
    delete item;
}

void TListItems::Clear() {
    BeginUpdate();
    if (owner_->OnDeletion)
        for (TListItem* item : items_) owner_->OnDeletion(owner_, item);
    if (owner_->HandleAllocated()) SendMessageA(owner_->Handle(), LVM_DELETEALLITEMS, 0, 0);
    std::vector<TListItem*> doomed;
    doomed.swap(items_);
    for (TListItem* item : doomed) {
        item->owner_ = nullptr;
        delete item;
    }
    EndUpdate();
}

void TListItems::BeginUpdate() {
    if (owner_->updateCount_++ == 0 && owner_->HandleAllocated())
        SendMessageA(owner_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (owner_->updateCount_ == 0) return;
    if (--owner_->updateCount_ == 0 && owner_->HandleAllocated()) {
        SendMessageA(owner_->Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(owner_->Handle(), nullptr, TRUE);
    }
}

void TListItems::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TListItems*>(source)) {
        BeginUpdate();
        Clear();
        for (TListItem* from : other->items_) {
            TListItem* item = Add();
            item->caption_ = from->caption_;
            item->subItems_->Assign(from->subItems_.get());
            item->imageIndex_ = from->imageIndex_;
            item->overlayIndex_ = from->overlayIndex_;
            item->data_ = from->data_;
            item->SetImageIndex(from->imageIndex_);
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

// ---- TListView -------------------------------------------------------------------------------------

TListView::TListView(TComponent* owner)
    : TWinControl(owner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)) {
    controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

TListView::~TListView() = default;

void TListView::BeforeDestruction() {
    // The lists stay with their owners (LVS_SHAREIMAGELISTS); only the links go.
    for (TCustomImageList* list : {largeImages_, smallImages_, stateImages_})
        if (list) list->RemoveFreeNotification(this);
    largeImages_ = smallImages_ = stateImages_ = nullptr;
    TWinControl::BeforeDestruction();
}

void TListView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_LISTVIEWA);
    params.Style |= LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
    switch (viewStyle_) {
        case TViewStyle::vsIcon: params.Style |= LVS_ICON; break;
        case TViewStyle::vsSmallIcon: params.Style |= LVS_SMALLICON; break;
        case TViewStyle::vsList: params.Style |= LVS_LIST; break;
        case TViewStyle::vsReport: params.Style |= LVS_REPORT; break;
    }
    if (!multiSelect_) params.Style |= LVS_SINGLESEL;
    if (!readOnly_) params.Style |= LVS_EDITLABELS;
    if (!hideSelection_) params.Style |= LVS_SHOWSELALWAYS;
    if (!showColumnHeaders_) params.Style |= LVS_NOCOLUMNHEADER;
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TListView::CreateWindowState() {
    HWND window = Handle();
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    UpdateExStyle();
    ApplyImageLists();
    UpdateColumns();
    if (allocBy_ > 0) SendMessageA(window, LVM_SETITEMCOUNT, static_cast<WPARAM>(allocBy_), 0);
    for (int i = 0; i < items_->Count(); ++i) {
        TListItem* item = items_->items_[static_cast<size_t>(i)];
        InsertWindowItem(item, i);
        if (item->selected_) item->SetSelected(true);
        if (item->focused_) item->SetFocused(true);
    }
    if (updateCount_ == 0) SendMessageA(window, WM_SETREDRAW, TRUE, 0);
}

void TListView::DestroyWnd() {
    if (HandleAllocated()) {
        for (size_t i = 0; i < items_->items_.size(); ++i) {
            TListItem* item = items_->items_[i];
            const auto state = static_cast<UINT>(SendToList(this, LVM_GETITEMSTATE, i, LVIS_SELECTED | LVIS_FOCUSED));
            item->selected_ = (state & LVIS_SELECTED) != 0;
            item->focused_ = (state & LVIS_FOCUSED) != 0;
        }
        for (int i = 0; i < columns_->Count(); ++i) columns_->Items(i)->Width();
    }
    TWinControl::DestroyWnd();
}

void TListView::InsertWindowItem(TListItem* item, int index) {
    if (!HandleAllocated()) return;
    LVITEMA lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    lv.iItem = index;
    lv.pszText = LPSTR_TEXTCALLBACKA;
    lv.iImage = item->imageIndex_;
    lv.lParam = reinterpret_cast<LPARAM>(item);
    lv.stateMask = LVIS_OVERLAYMASK;
    lv.state = INDEXTOOVERLAYMASK(item->overlayIndex_ > 0 ? item->overlayIndex_ : 0);
    SendToList(this, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv));
    for (int i = 1; i <= item->subItems_->Count(); ++i) {
        LVITEMA sub{};
        sub.iSubItem = i;
        sub.pszText = LPSTR_TEXTCALLBACKA;
        SendToList(this, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    }
    item->windowSubItems_ = item->subItems_->Count();
}

void TListView::UpdateColumns() {
    if (!HandleAllocated()) return;
    HWND window = Handle();
    while (SendMessageA(window, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < columns_->Count(); ++i) {
        TListColumn* column = columns_->Items(i);
        LVCOLUMNA lc{};
        lc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        lc.fmt = ColumnFormat(column->alignment_);
        lc.cx = column->width_;
        lc.pszText = const_cast<char*>(column->caption_.c_str());
        lc.iSubItem = i;
        SendMessageA(window, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lc));
    }
}

void TListView::UpdateColumn(int index) {
    if (!HandleAllocated()) return;
    if (SendMessageA(Handle(), LVM_GETHEADER, 0, 0) &&
        index >= SendMessageA(reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0)) {
        UpdateColumns();
        return;
    }
    TListColumn* column = columns_->Items(index);
    LVCOLUMNA lc{};
    lc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    lc.fmt = ColumnFormat(column->alignment_);
    lc.cx = column->width_;
    lc.pszText = const_cast<char*>(column->caption_.c_str());
    SendMessageA(Handle(), LVM_SETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lc));
}

void TListView::UpdateExStyle() {
    if (!HandleAllocated()) return;
    DWORD ex = 0;
    if (rowSelect_) ex |= LVS_EX_FULLROWSELECT;
    if (gridLines_) ex |= LVS_EX_GRIDLINES;
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, ex);
}

void TListView::SetViewStyle(TViewStyle value) {
    if (viewStyle_ == value) return;
    viewStyle_ = value;
    if (!HandleAllocated()) return;
    static constexpr LONG_PTR kinds[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kinds[static_cast<int>(value)];
    SetWindowLongPtrA(Handle(), GWL_STYLE, style);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TListView::SetMultiSelect(bool value) {
    multiSelect_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, LVS_SINGLESEL, !value);
}

void TListView::SetRowSelect(bool value) {
    rowSelect_ = value;
    UpdateExStyle();
}

void TListView::SetReadOnly(bool value) {
    readOnly_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, LVS_EDITLABELS, !value);
}

void TListView::SetGridLines(bool value) {
    gridLines_ = value;
    UpdateExStyle();
}

void TListView::SetHideSelection(bool value) {
    hideSelection_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, LVS_SHOWSELALWAYS, !value);
}

void TListView::SetShowColumnHeaders(bool value) {
    if (showColumnHeaders_ == value) return;
    showColumnHeaders_ = value;
    RecreateWnd();
}

void TListView::SetAllocBy(int value) {
    allocBy_ = std::max(value, 0);
    if (HandleAllocated() && allocBy_ > 0) SendMessageA(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(allocBy_), 0);
}

void TListView::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    RecreateWnd();
}

void TListView::SetImageList(TCustomImageList*& field, TCustomImageList* value, int slot) {
    if (field == value) return;
    if (field) field->RemoveFreeNotification(this);
    field = value;
    if (value) value->FreeNotification(this);
    if (HandleAllocated())
        SendMessageA(Handle(), LVM_SETIMAGELIST, static_cast<WPARAM>(slot),
                     reinterpret_cast<LPARAM>(value ? value->Handle() : nullptr));
}

void TListView::SetLargeImages(TCustomImageList* value) { SetImageList(largeImages_, value, LVSIL_NORMAL); }
void TListView::SetSmallImages(TCustomImageList* value) { SetImageList(smallImages_, value, LVSIL_SMALL); }
void TListView::SetStateImages(TCustomImageList* value) { SetImageList(stateImages_, value, LVSIL_STATE); }

void TListView::ApplyImageLists() {
    const std::pair<TCustomImageList*, int> lists[] = {
        {largeImages_, LVSIL_NORMAL}, {smallImages_, LVSIL_SMALL}, {stateImages_, LVSIL_STATE}};
    for (const auto& [list, slot] : lists)
        if (list) SendMessageA(Handle(), LVM_SETIMAGELIST, static_cast<WPARAM>(slot), reinterpret_cast<LPARAM>(list->Handle()));
}

void TListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == largeImages_) SetLargeImages(nullptr);
    if (component == smallImages_) SetSmallImages(nullptr);
    if (component == stateImages_) SetStateImages(nullptr);
}

TListItem* TListView::Selected() const {
    if (!HandleAllocated()) {
        for (TListItem* item : items_->items_)
            if (item->selected_) return item;
        return nullptr;
    }
    const int index = static_cast<int>(SendMessageA(const_cast<TListView*>(this)->Handle(), LVM_GETNEXTITEM,
                                                    static_cast<WPARAM>(-1), LVNI_SELECTED));
    return index >= 0 && index < items_->Count() ? items_->items_[static_cast<size_t>(index)] : nullptr;
}

void TListView::SetSelected(TListItem* item) {
    for (TListItem* other : items_->items_)
        if (other != item && other->Selected()) other->SetSelected(false);
    if (item) item->SetSelected(true);
}

int TListView::NextSelected(int index) const {
    const int count = items_->Count();
    if (!HandleAllocated()) {
        for (int i = std::max(index + 1, 0); i < count; ++i)
            if (items_->items_[static_cast<size_t>(i)]->selected_) return i;
        return -1;
    }
    const int next = static_cast<int>(SendMessageA(const_cast<TListView*>(this)->Handle(), LVM_GETNEXTITEM,
                                                   static_cast<WPARAM>(index), MAKELPARAM(LVNI_SELECTED, 0)));
    return next >= 0 && next < count ? next : -1;
}

int TListView::SelCount() const {
    if (!HandleAllocated())
        return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                              [](TListItem* i) { return i->selected_; }));
    return static_cast<int>(SendMessageA(const_cast<TListView*>(this)->Handle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

TListItem* TListView::ItemFocused() const {
    if (!HandleAllocated()) return nullptr;
    const int index = static_cast<int>(SendMessageA(const_cast<TListView*>(this)->Handle(), LVM_GETNEXTITEM,
                                                    static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return index >= 0 && index < items_->Count() ? items_->items_[static_cast<size_t>(index)] : nullptr;
}

void TListView::SetItemFocused(TListItem* item) {
    if (item) item->SetFocused(true);
}

TListItem* TListView::GetItemAt(int x, int y) const {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    const int index = static_cast<int>(
        SendMessageA(const_cast<TListView*>(this)->Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return index >= 0 && index < items_->Count() ? items_->items_[static_cast<size_t>(index)] : nullptr;
}

TListItem* TListView::TopItem() const {
    const int index = static_cast<int>(SendMessageA(const_cast<TListView*>(this)->Handle(), LVM_GETTOPINDEX, 0, 0));
    return index >= 0 && index < items_->Count() ? items_->items_[static_cast<size_t>(index)] : nullptr;
}

bool TListView::IsEditing() const {
    return HandleAllocated() && SendMessageA(const_cast<TListView*>(this)->Handle(), LVM_GETEDITCONTROL, 0, 0) != 0;
}

int TListView::SortCompare(TListItem* a, TListItem* b) {
    int result = 0;
    if (OnCompare) {
        OnCompare(this, a, b, 0, result);
        return result;
    }
    return AnsiCompareText(a->caption_, b->caption_);
}

int CALLBACK TListView::SortThunk(LPARAM a, LPARAM b, LPARAM context) {
    FW_CALLBACK_BODY(0, {
        auto* sort = reinterpret_cast<SortContext*>(context);
        auto* first = reinterpret_cast<TListItem*>(a);
        auto* second = reinterpret_cast<TListItem*>(b);
        if (sort->compare) return sort->compare(first, second, sort->data);
        return sort->view->SortCompare(first, second);
    })
}

bool TListView::CustomSort(TLVCompare compare, LPARAM data) {
    if (!HandleAllocated()) {
        std::stable_sort(items_->items_.begin(), items_->items_.end(), [&](TListItem* a, TListItem* b) {
            return (compare ? compare(a, b, data) : SortCompare(a, b)) < 0;
        });
        return true;
    }
    SortContext context{this, compare, data};
    const bool sorted = SendMessageA(Handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                                     reinterpret_cast<LPARAM>(&SortThunk)) != 0;
    ItemsReordered();
    return sorted;
}

void TListView::ItemsReordered() {
    const int count = static_cast<int>(SendToList(this, LVM_GETITEMCOUNT, 0, 0));
    std::vector<TListItem*> order;
    order.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        LVITEMA lv{};
        lv.mask = LVIF_PARAM;
        lv.iItem = i;
        SendToList(this, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
        order.push_back(reinterpret_cast<TListItem*>(lv.lParam));
    }
    if (order.size() == items_->items_.size()) items_->items_.swap(order);
    for (size_t i = 0; i < items_->items_.size(); ++i) items_->items_[i]->indexHint_ = i;
}

void TListView::ColumnClick(TListColumn* column) {
    if (OnColumnClick) OnColumnClick(this, column);
}

void TListView::GetDispInfo(NMLVDISPINFOA& info) {
    auto* item = reinterpret_cast<TListItem*>(info.item.lParam);
    if (!item) {
        const int index = info.item.iItem;
        if (index < 0 || index >= items_->Count()) return;
        item = items_->items_[static_cast<size_t>(index)];
    }
    if (info.item.mask & LVIF_TEXT) {
        const int sub = info.item.iSubItem;
        if (sub == 0)
            dispText_ = item->caption_;
        else
            dispText_ = sub - 1 < item->subItems_->Count() ? item->subItems_->Get(sub - 1) : std::string();
        if (info.item.pszText && info.item.cchTextMax > 0) {
            const size_t n = std::min(dispText_.size(), static_cast<size_t>(info.item.cchTextMax - 1));
            dispText_.copy(info.item.pszText, n);
            info.item.pszText[n] = '\0';
        }
    }
    if (info.item.mask & LVIF_IMAGE) info.item.iImage = item->imageIndex_;
}

void TListView::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        CNNotify(message);
        return;
    }
    TWinControl::Dispatch(message);
}

void TListView::CNNotify(TMessage& message) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    message.Result = 0;
    auto itemAt = [this](int index) -> TListItem* {
        return index >= 0 && index < items_->Count() ? items_->items_[static_cast<size_t>(index)] : nullptr;
    };
    switch (header->code) {
        case LVN_GETDISPINFOA: GetDispInfo(*reinterpret_cast<NMLVDISPINFOA*>(header)); break;
        // The items raise OnDeletion themselves: the window need not report each item it lets go of
        // (a list of 100,000 destroyed would send as many notifications).
        case LVN_DELETEALLITEMS: message.Result = TRUE; break;
        case LVN_COLUMNCLICK: {
            const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
            if (column >= 0 && column < columns_->Count()) ColumnClick(columns_->Items(column));
            break;
        }
        case LVN_BEGINLABELEDITA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            bool allow = !readOnly_;
            TListItem* item = itemAt(info->item.iItem);
            if (allow && item && OnEditing) OnEditing(this, item, allow);
            message.Result = allow ? FALSE : TRUE;
            break;
        }
        case LVN_ENDLABELEDITA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            TListItem* item = itemAt(info->item.iItem);
            if (item && info->item.pszText) {
                std::string text = info->item.pszText;
                if (OnEdited) OnEdited(this, item, text);
                item->SetCaption(text);
            }
            // The window keeps asking for the text; it must not store the edited one.
            message.Result = FALSE;
            break;
        }
        case LVN_ITEMCHANGED: {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
            TListItem* item = itemAt(nm->iItem);
            if (!item) break;
            if (OnChange) OnChange(this, item, TItemChange::ctState);
            if (((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) && OnSelectItem)
                OnSelectItem(this, item, (nm->uNewState & LVIS_SELECTED) != 0);
            break;
        }
        case LVN_BEGINDRAG:
            if (DragMode() == TDragMode::dmAutomatic) BeginDrag(true);
            break;
        case NM_CLICK: Click(); break;
        case NM_DBLCLK: DblClick(); break;
        default: break;
    }
}

void RegisterListViewClasses() {
    RegisterStdSupport();
    RegisterImageListClasses();
    RegisterEnum<TViewStyle>({"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, "TViewStyle");
    RegisterEnum<TItemChange>({"ctText", "ctImage", "ctState"}, "TItemChange");
    Class<TListColumn, TCollectionItem>("TListColumn")
        .Prop("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
        .Prop("Width", &TListColumn::Width, &TListColumn::SetWidth)
        .Prop("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment);
    Class<TListColumns, TCollection>("TListColumns");
    Class<TListItems, TPersistent>("TListItems");
    Class<TListView, TWinControl>("TListView")
        .Prop("Columns", &TListView::Columns, &TListView::SetColumns)
        .Prop("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle)
        .Prop("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect)
        .Prop("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect)
        .Prop("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly)
        .Prop("GridLines", &TListView::GridLines, &TListView::SetGridLines)
        .Prop("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection)
        .Prop("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders)
        .Prop("AllocBy", &TListView::AllocBy, &TListView::SetAllocBy)
        .Prop("BorderStyle", &TListView::BorderStyle, &TListView::SetBorderStyle)
        .Prop("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages)
        .Prop("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages)
        .Prop("StateImages", &TListView::StateImages, &TListView::SetStateImages)
        .Prop("SelCount", &TListView::SelCount)
        .Event("OnColumnClick", &TListView::OnColumnClick)
        .Event("OnCompare", &TListView::OnCompare)
        .Event("OnEditing", &TListView::OnEditing)
        .Event("OnEdited", &TListView::OnEdited)
        .Event("OnChange", &TListView::OnChange)
        .Event("OnSelectItem", &TListView::OnSelectItem)
        .Event("OnDeletion", &TListView::OnDeletion);
}

}  // namespace fw
