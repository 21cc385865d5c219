// TTreeView over the system "SysTreeView32" class.
#include "framework/win32/std_treeview.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "framework/win32/callback.h"

namespace fw {

namespace {

struct TreeSortContext {
    TTreeView* view;
    int (*compare)(TTreeNode*, TTreeNode*, LPARAM);
    LPARAM data;
};

}  // namespace

// ---- TTreeNode ------------------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() {
    for (TTreeNode* child : children_) delete child;
}

void TTreeNode::SetText(const std::string& value) {
    text_ = value;
    owner_->owner_->UpdateWindowNode(this, TVIF_TEXT);
}

void TTreeNode::SetImageIndex(int value) {
    imageIndex_ = value;
    owner_->owner_->UpdateWindowNode(this, TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int value) {
    selectedIndex_ = value;
    owner_->owner_->UpdateWindowNode(this, TVIF_SELECTEDIMAGE);
}

void TTreeNode::SetHasChildren(bool value) {
    hasChildren_ = value;
    owner_->owner_->UpdateWindowNode(this, TVIF_CHILDREN);
}

bool TTreeNode::Expanded() const {
    TTreeView* view = owner_->owner_;
    if (!id_ || !view->HandleAllocated()) return expanded_;
    return (SendMessageA(view->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(id_), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool value) {
    if (value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
    expanded_ = true;
    TTreeView* view = owner_->owner_;
    if (id_ && view->HandleAllocated())
        SendMessageA(view->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(id_));
    if (recurse)
        for (TTreeNode* child : children_) child->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    expanded_ = false;
    TTreeView* view = owner_->owner_;
    if (id_ && view->HandleAllocated())
        SendMessageA(view->Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(id_));
    if (recurse)
        for (TTreeNode* child : children_) child->Collapse(true);
}

bool TTreeNode::Selected() const { return owner_->owner_->Selected() == this; }

void TTreeNode::SetSelected(bool value) {
    if (value)
        owner_->owner_->SetSelected(this);
    else if (Selected())
        owner_->owner_->SetSelected(nullptr);
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return children_[static_cast<size_t>(index)];
}

int TTreeNode::Index() const {
    const auto& siblings = owner_->SiblingsOf(parent_);
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& siblings = owner_->SiblingsOf(parent_);
    const int index = Index() + 1;
    return index < static_cast<int>(siblings.size()) ? siblings[static_cast<size_t>(index)] : nullptr;
}

void TTreeNode::Delete() { owner_->Delete(this); }

void TTreeNode::DeleteChildren() {
    while (!children_.empty()) owner_->Delete(children_.back());
}

void TTreeNode::EditText() {
    TTreeView* view = owner_->owner_;
    if (!id_) return;
    ::SetFocus(view->Handle());
    SendMessageA(view->Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(id_));
}

void TTreeNode::MakeVisible() {
    TTreeView* view = owner_->owner_;
    if (id_ && view->HandleAllocated()) SendMessageA(view->Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(id_));
}

bool TTreeNode::CustomSort(int (*compare)(TTreeNode*, TTreeNode*, LPARAM), LPARAM data, bool recurse) {
    TTreeView* view = owner_->owner_;
    auto less = [&](TTreeNode* a, TTreeNode* b) {
        if (compare) return compare(a, b, data) < 0;
        int result = 0;
        if (view->OnCompare) {
            view->OnCompare(view, a, b, static_cast<int>(data), result);
            return result < 0;
        }
        return AnsiCompareText(a->text_, b->text_) < 0;
    };
    std::stable_sort(children_.begin(), children_.end(), less);
    if (id_ && view->HandleAllocated()) {
        TreeSortContext context{view, compare, data};
        TVSORTCB sort{};
        sort.hParent = id_;
        sort.lpfnCompare = &TTreeView::SortThunk;
        sort.lParam = reinterpret_cast<LPARAM>(&context);
        SendMessageA(view->Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    if (recurse)
        for (TTreeNode* child : children_) child->CustomSort(compare, data, true);
    return true;
}

// ---- TTreeNodes -----------------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TTreeView* owner) : owner_(owner) {}

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* node : roots_) delete node;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, int index, const std::string& text) {
    auto& siblings = SiblingsOf(parent);
    auto* node = new TTreeNode(this, parent);
    node->text_ = text;
    siblings.insert(siblings.begin() + index, node);
    HTREEITEM after = index == 0 ? TVI_FIRST : siblings[static_cast<size_t>(index - 1)]->id_;
    owner_->InsertWindowNode(node, after);
    if (parent && parent->children_.size() == 1) owner_->UpdateWindowNode(parent, TVIF_CHILDREN);
    return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
    TTreeNode* parent = sibling ? sibling->parent_ : nullptr;
    return InsertNode(parent, static_cast<int>(SiblingsOf(parent).size()), text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
    return InsertNode(parent, static_cast<int>(SiblingsOf(parent).size()), text);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) { return InsertNode(parent, 0, text); }

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node) return;
    if (owner_->OnDeletion) owner_->OnDeletion(owner_, node);
    auto& siblings = SiblingsOf(node->parent_);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    if (owner_->savedSelected_ == node) owner_->savedSelected_ = nullptr;
    TTreeNode* parent = node->parent_;
    if (node->id_ && owner_->HandleAllocated())
        SendMessageA(owner_->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->id_));
    delete node;
    if (parent && parent->children_.empty()) owner_->UpdateWindowNode(parent, TVIF_CHILDREN);
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (!roots_.empty()) Delete(roots_.back());
    EndUpdate();
}

std::vector<TTreeNode*> TTreeNodes::All() const {
    std::vector<TTreeNode*> all;
    std::vector<TTreeNode*> stack(roots_.rbegin(), roots_.rend());
    while (!stack.empty()) {
        TTreeNode* node = stack.back();
        stack.pop_back();
        all.push_back(node);
        stack.insert(stack.end(), node->children_.rbegin(), node->children_.rend());
    }
    return all;
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM id) const {
    if (!id || !owner_->HandleAllocated()) return nullptr;
    TVITEMA item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = id;
    SendMessageA(owner_->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<TTreeNode*>(item.lParam);
}

void TTreeNodes::BeginUpdate() {
    if (updateCount_++ == 0 && owner_->HandleAllocated()) SendMessageA(owner_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && owner_->HandleAllocated()) {
        SendMessageA(owner_->Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(owner_->Handle(), nullptr, TRUE);
    }
}

void TTreeNodes::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTreeNodes*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    Clear();
    struct Copier {
        TTreeNodes* to;
        void Copy(TTreeNode* from, TTreeNode* parent) {
            TTreeNode* node = to->AddChild(parent, from->Text());
            node->imageIndex_ = from->imageIndex_;
            node->selectedIndex_ = from->selectedIndex_;
            node->hasChildren_ = from->hasChildren_;
            node->data_ = from->data_;
            for (TTreeNode* child : from->children_) Copy(child, node);
        }
    } copier{this};
    for (TTreeNode* root : other->roots_) copier.Copy(root, nullptr);
    EndUpdate();
}

// ---- TTreeView -------------------------------------------------------------------------------------

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
    controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

TTreeView::~TTreeView() = default;

void TTreeView::BeforeDestruction() {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = nullptr;
    TWinControl::BeforeDestruction();
}

void TTreeView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TREEVIEWA);
    if (showRoot_) params.Style |= TVS_LINESATROOT;
    if (showLines_) params.Style |= TVS_HASLINES;
    if (showButtons_) params.Style |= TVS_HASBUTTONS;
    if (!hideSelection_) params.Style |= TVS_SHOWSELALWAYS;
    if (!readOnly_) params.Style |= TVS_EDITLABELS;
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TTreeView::CreateWindowState() {
    HWND window = Handle();
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    if (images_) SendMessageA(window, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
    for (TTreeNode* node : items_->All()) InsertWindowNode(node, TVI_LAST);
    for (TTreeNode* node : items_->All())
        if (node->expanded_) SendMessageA(window, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->id_));
    if (savedSelected_) SendMessageA(window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(savedSelected_->id_));
    savedSelected_ = nullptr;
    if (items_->updateCount_ == 0) SendMessageA(window, WM_SETREDRAW, TRUE, 0);
}

void TTreeView::DestroyWnd() {
    if (HandleAllocated()) {
        savedSelected_ = Selected();
        for (TTreeNode* node : items_->All()) {
            node->expanded_ = node->Expanded();
            node->id_ = nullptr;
        }
    }
    TWinControl::DestroyWnd();
}

void TTreeView::InsertWindowNode(TTreeNode* node, HTREEITEM after) {
    if (!HandleAllocated()) return;
    if (node->parent_ && !node->parent_->id_) return;
    TVINSERTSTRUCTA insert{};
    insert.hParent = node->parent_ ? node->parent_->id_ : TVI_ROOT;
    insert.hInsertAfter = after ? after : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(node->text_.c_str());
    insert.item.lParam = reinterpret_cast<LPARAM>(node);
    insert.item.iImage = node->imageIndex_;
    insert.item.iSelectedImage = node->selectedIndex_;
    insert.item.cChildren = node->HasChildren() ? 1 : 0;
    node->id_ = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TTreeView::UpdateWindowNode(TTreeNode* node, UINT mask) {
    if (!HandleAllocated() || !node->id_) return;
    TVITEMA item{};
    item.mask = mask | TVIF_HANDLE;
    item.hItem = node->id_;
    item.pszText = const_cast<char*>(node->text_.c_str());
    item.iImage = node->imageIndex_;
    item.iSelectedImage = node->selectedIndex_;
    item.cChildren = node->HasChildren() ? 1 : 0;
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

TTreeNode* TTreeView::Selected() const {
    if (!HandleAllocated()) return savedSelected_;
    auto id = reinterpret_cast<HTREEITEM>(
        SendMessageA(const_cast<TTreeView*>(this)->Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    return items_->GetNode(id);
}

void TTreeView::SetSelected(TTreeNode* node) {
    if (!HandleAllocated()) {
        savedSelected_ = node;
        return;
    }
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->id_ : nullptr));
}

void TTreeView::SetShowRoot(bool value) {
    showRoot_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, TVS_LINESATROOT, value);
}

void TTreeView::SetShowLines(bool value) {
    showLines_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, TVS_HASLINES, value);
}

void TTreeView::SetShowButtons(bool value) {
    showButtons_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, TVS_HASBUTTONS, value);
}

void TTreeView::SetHideSelection(bool value) {
    hideSelection_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, TVS_SHOWSELALWAYS, !value);
}

void TTreeView::SetReadOnly(bool value) {
    readOnly_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, TVS_EDITLABELS, !value);
}

void TTreeView::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    RecreateWnd();
}

void TTreeView::SetImages(TCustomImageList* value) {
    if (images_ == value) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value) value->FreeNotification(this);
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(value ? value->Handle() : nullptr));
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) SetImages(nullptr);
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const {
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    auto id = reinterpret_cast<HTREEITEM>(
        SendMessageA(const_cast<TTreeView*>(this)->Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) ? items_->GetNode(id) : nullptr;
}

bool TTreeView::IsEditing() const {
    return HandleAllocated() && SendMessageA(const_cast<TTreeView*>(this)->Handle(), TVM_GETEDITCONTROL, 0, 0) != 0;
}

int CALLBACK TTreeView::SortThunk(LPARAM a, LPARAM b, LPARAM context) {
    FW_CALLBACK_BODY(0, {
        auto* sort = reinterpret_cast<TreeSortContext*>(context);
        auto* first = reinterpret_cast<TTreeNode*>(a);
        auto* second = reinterpret_cast<TTreeNode*>(b);
        if (sort->compare) return sort->compare(first, second, sort->data);
        int result = 0;
        if (sort->view->OnCompare) {
            sort->view->OnCompare(sort->view, first, second, static_cast<int>(sort->data), result);
            return result;
        }
        return AnsiCompareText(first->Text(), second->Text());
    })
}

bool TTreeView::CustomSort(int (*compare)(TTreeNode*, TTreeNode*, LPARAM), LPARAM data) {
    auto less = [&](TTreeNode* a, TTreeNode* b) {
        if (compare) return compare(a, b, data) < 0;
        int result = 0;
        if (OnCompare) {
            OnCompare(this, a, b, static_cast<int>(data), result);
            return result < 0;
        }
        return AnsiCompareText(a->Text(), b->Text()) < 0;
    };
    std::stable_sort(items_->roots_.begin(), items_->roots_.end(), less);
    if (HandleAllocated()) {
        TreeSortContext context{this, compare, data};
        TVSORTCB sort{};
        sort.hParent = TVI_ROOT;
        sort.lpfnCompare = &TTreeView::SortThunk;
        sort.lParam = reinterpret_cast<LPARAM>(&context);
        SendMessageA(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    for (TTreeNode* root : items_->roots_) root->CustomSort(compare, data, true);
    return true;
}

bool TTreeView::CanExpand(TTreeNode* node) {
    bool allow = true;
    if (OnExpanding) OnExpanding(this, node, allow);
    return allow;
}

bool TTreeView::CanCollapse(TTreeNode* node) {
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, node, allow);
    return allow;
}

void TTreeView::Change(TTreeNode* node) {
    if (OnChange) OnChange(this, node);
}

void TTreeView::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        CNNotify(message);
        return;
    }
    if (message.Msg == WM_RBUTTONDOWN && rightClickSelect_) {
        if (TTreeNode* node = GetNodeAt(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))))
            SetSelected(node);
    }
    TWinControl::Dispatch(message);
}

void TTreeView::CNNotify(TMessage& message) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    message.Result = 0;
    switch (header->code) {
        case TVN_ITEMEXPANDINGA:
        case TVN_ITEMEXPANDINGW: {
            auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
            TTreeNode* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam);
            if (!node) break;
            const bool allow = nm->action == TVE_EXPAND ? CanExpand(node) : CanCollapse(node);
            message.Result = allow ? FALSE : TRUE;
            break;
        }
        case TVN_ITEMEXPANDEDA:
        case TVN_ITEMEXPANDEDW: {
            auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
            if (auto* node = reinterpret_cast<TTreeNode*>(nm->itemNew.lParam); node && OnExpanded) OnExpanded(this, node);
            break;
        }
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW: Change(reinterpret_cast<TTreeNode*>(reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.lParam)); break;
        case TVN_BEGINLABELEDITA: {
            auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
            bool allow = !readOnly_;
            auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
            if (allow && node && OnEditing) OnEditing(this, node, allow);
            message.Result = allow ? FALSE : TRUE;
            break;
        }
        case TVN_ENDLABELEDITA: {
            auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
            auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam);
            if (node && info->item.pszText) {
                std::string text = info->item.pszText;
                if (OnEdited) OnEdited(this, node, text);
                node->SetText(text);
            }
            message.Result = FALSE;
            break;
        }
        case TVN_BEGINDRAGA:
        case TVN_BEGINDRAGW:
            if (DragMode() == TDragMode::dmAutomatic) BeginDrag(true);
            break;
        case NM_CLICK: Click(); break;
        case NM_DBLCLK: DblClick(); break;
        case NM_RCLICK: {
            // The window keeps the button's release to itself (it watches for a drag), so the popup
            // menu opens here; a non-zero answer stops the system from asking for a context menu too.
            const DWORD at = GetMessagePos();
            if (DoPopupMenu(Point(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))))) message.Result = 1;
            break;
        }
        default: break;
    }
}

void RegisterTreeViewClasses() {
    RegisterStdSupport();
    RegisterImageListClasses();
    Class<TTreeNodes, TPersistent>("TTreeNodes");
    Class<TTreeView, TWinControl>("TTreeView")
        .Prop("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot)
        .Prop("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines)
        .Prop("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons)
        .Prop("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection)
        .Prop("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly)
        .Prop("RightClickSelect", &TTreeView::RightClickSelect, &TTreeView::SetRightClickSelect)
        .Prop("BorderStyle", &TTreeView::BorderStyle, &TTreeView::SetBorderStyle)
        .Prop("Images", &TTreeView::Images, &TTreeView::SetImages)
        .Event("OnChange", &TTreeView::OnChange)
        .Event("OnExpanding", &TTreeView::OnExpanding)
        .Event("OnExpanded", &TTreeView::OnExpanded)
        .Event("OnCollapsing", &TTreeView::OnCollapsing)
        .Event("OnEditing", &TTreeView::OnEditing)
        .Event("OnEdited", &TTreeView::OnEdited)
        .Event("OnCompare", &TTreeView::OnCompare)
        .Event("OnDeletion", &TTreeView::OnDeletion);
}

}  // namespace fw
