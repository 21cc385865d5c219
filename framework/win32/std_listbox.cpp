// TListBox over the system "LISTBOX" class.
#include "framework/win32/std_listbox.h"

namespace fw {

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), items_(new TControlItems(this)), canvas_(std::make_unique<TCanvas>()) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    controlStyle_ = csSetCaption | csDoubleClicks;
}

TCustomListBox::~TCustomListBox() { delete items_; }

void TCustomListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "LISTBOX");
    params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
    if (!integralHeight_) params.Style |= LBS_NOINTEGRALHEIGHT;
    if (multiSelect_) params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (style_ == TListBoxStyle::lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
    if (style_ == TListBoxStyle::lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWindowState() {
    HWND window = Handle();
    if (style_ != TListBoxStyle::lbOwnerDrawVariable) SendMessageA(window, LB_SETITEMHEIGHT, 0, itemHeight_);
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(window, LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    if (Multi()) {
        for (size_t i = 0; i < savedSelected_.size() && i < static_cast<size_t>(items_->Count()); ++i)
            if (savedSelected_[i]) SendMessageA(window, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        if (savedIndex_ >= 0) SendMessageA(window, LB_SETCARETINDEX, static_cast<WPARAM>(savedIndex_), FALSE);
    } else if (savedIndex_ >= 0) {
        SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(savedIndex_), 0);
    }
    SendMessageA(window, LB_SETTOPINDEX, static_cast<WPARAM>(savedTop_), 0);
    savedSelected_.clear();
}

void TCustomListBox::DestroyWnd() {
    if (HandleAllocated()) {
        savedIndex_ = ItemIndex();
        savedTop_ = TopIndex();
        savedSelected_.assign(static_cast<size_t>(items_->Count()), false);
        if (Multi())
            for (int i = 0; i < items_->Count(); ++i) savedSelected_[static_cast<size_t>(i)] = Selected(i);
    }
    TWinControl::DestroyWnd();
}

void TCustomListBox::ItemInserted(int index, const std::string& s) {
    if (HandleAllocated())
        SendMessageA(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    else if (savedIndex_ >= index)
        ++savedIndex_;
}

void TCustomListBox::ItemDeleted(int index) {
    if (HandleAllocated())
        SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    else if (savedIndex_ == index)
        savedIndex_ = -1;
    else if (savedIndex_ > index)
        --savedIndex_;
}

void TCustomListBox::ItemsCleared() {
    if (HandleAllocated()) SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
    savedIndex_ = -1;
    savedTop_ = 0;
    savedSelected_.clear();
}

void TCustomListBox::ItemsUpdating(bool updating) {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
    if (!updating) InvalidateRect(Handle(), nullptr, TRUE);
}

int TCustomListBox::ItemIndex() {
    if (!HandleAllocated()) return savedIndex_;
    if (Multi()) return static_cast<int>(SendMessageA(Handle(), LB_GETCARETINDEX, 0, 0));
    return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_->Count()) value = -1;
    if (!HandleAllocated()) {
        savedIndex_ = value;
        return;
    }
    if (Multi()) {
        SendMessageA(Handle(), LB_SETSEL, FALSE, -1);
        if (value >= 0) {
            SendMessageA(Handle(), LB_SETSEL, TRUE, value);
            SendMessageA(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
        }
    } else {
        SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(value), 0);
    }
}

bool TCustomListBox::Selected(int index) {
    if (index < 0 || index >= items_->Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (!HandleAllocated())
        return static_cast<size_t>(index) < savedSelected_.size() ? savedSelected_[static_cast<size_t>(index)]
                                                                  : index == savedIndex_;
    return SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
    if (index < 0 || index >= items_->Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (!Multi()) {
        if (value)
            SetItemIndex(index);
        else if (ItemIndex() == index)
            SetItemIndex(-1);
        return;
    }
    SendMessageA(Handle(), LB_SETSEL, value ? TRUE : FALSE, index);
}

int TCustomListBox::SelCount() {
    if (!Multi()) return ItemIndex() >= 0 ? 1 : 0;
    return static_cast<int>(SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (multiSelect_ == value) return;
    multiSelect_ = value;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool value) {
    if (extendedSelect_ == value) return;
    extendedSelect_ = value;
    RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    if (style_ == value) return;
    style_ = value;
    RecreateWnd();
}

void TCustomListBox::SetItemHeight(int value) {
    if (value <= 0 || itemHeight_ == value) return;
    itemHeight_ = value;
    if (HandleAllocated() && style_ != TListBoxStyle::lbOwnerDrawVariable) {
        SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, value);
        Invalidate();
    }
}

int TCustomListBox::TopIndex() {
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0)) : savedTop_;
}

void TCustomListBox::SetTopIndex(int value) {
    if (HandleAllocated())
        SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(value), 0);
    else
        savedTop_ = value;
}

void TCustomListBox::SetIntegralHeight(bool value) {
    if (integralHeight_ == value) return;
    integralHeight_ = value;
    RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    RecreateWnd();
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) {
    const LRESULT r = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(pos.X, pos.Y));
    const int index = LOWORD(r);
    if (HIWORD(r)) return existing ? -1 : index + 1;
    return index;
}

TRect TCustomListBox::ItemRect(int index) {
    RECT r{};
    SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return Rect(r.left, r.top, r.right, r.bottom);
}

void TCustomListBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CN_COMMAND: CNCommand(message); break;
        case CN_DRAWITEM: CNDrawItem(message); break;
        case CN_MEASUREITEM: CNMeasureItem(message); break;
        default: TWinControl::Dispatch(message); break;
    }
}

void TCustomListBox::CNCommand(TMessage& message) {
    switch (HIWORD(message.WParam)) {
        case LBN_SELCHANGE: Click(); break;
        case LBN_DBLCLK: DblClick(); break;
        default: break;
    }
    message.Result = 0;
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index >= 0 && index < items_->Count()) canvas_->TextOut(rect.Left + 2, rect.Top, items_->Get(index));
}

void TCustomListBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomListBox::CNDrawItem(TMessage& message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    const TOwnerDrawState state = OwnerDrawState(dis->itemState);
    TBorrowedCanvas bound(canvas_.get(), dis->hDC);
    canvas_->SetFont(Font());
    const bool selected = state.Contains(TOwnerDrawStateItem::odSelected);
    canvas_->Brush()->SetColor(selected ? clHighlight : Color());
    canvas_->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    const TRect rect = Rect(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom);
    const int index = static_cast<int>(static_cast<int32_t>(dis->itemID));
    if (index >= 0) DrawItem(index, rect, state);
    else canvas_->FillRect(rect);
    if (state.Contains(TOwnerDrawStateItem::odFocused)) canvas_->DrawFocusRect(rect);
    message.Result = 1;
}

void TCustomListBox::CNMeasureItem(TMessage& message) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    int height = itemHeight_;
    if (style_ == TListBoxStyle::lbOwnerDrawVariable) MeasureItem(static_cast<int>(mis->itemID), height);
    mis->itemHeight = static_cast<UINT>(std::max(height, 1));
    message.Result = 1;
}

void RegisterListBoxClasses() {
    RegisterStdSupport();
    RegisterEnum<TListBoxStyle>({"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"}, "TListBoxStyle");
    Class<TCustomListBox, TWinControl>("TCustomListBox")
        .Prop("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
        .Prop("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
        .Stored(false)
        .Prop("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
        .Prop("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect)
        .Prop("SelCount", &TCustomListBox::SelCount)
        .Prop("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted)
        .Prop("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle)
        .Prop("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
        .Prop("TopIndex", &TCustomListBox::TopIndex, &TCustomListBox::SetTopIndex)
        .Stored(false)
        .Prop("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight)
        .Prop("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle)
        .Event("OnDrawItem", &TCustomListBox::OnDrawItem)
        .Event("OnMeasureItem", &TCustomListBox::OnMeasureItem);
    Class<TListBox, TCustomListBox>("TListBox");
}

}  // namespace fw
