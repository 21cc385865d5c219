// TComboBox over the system "COMBOBOX" class.
#include "framework/win32/std_combobox.h"

#include "framework/win32/callback.h"

namespace fw {

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(new TControlItems(this)), canvas_(std::make_unique<TCanvas>()) {
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
    controlStyle_ = csSetCaption | csDoubleClicks;
}

TCustomComboBox::~TCustomComboBox() { delete items_; }

int TCustomComboBox::DropHeight() const { return dropDownCount_ * (itemHeight_ + 2) + 4; }

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "COMBOBOX");
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (style_) {
        case TComboBoxStyle::csDropDown: params.Style |= CBS_DROPDOWN; break;
        case TComboBoxStyle::csSimple: params.Style |= CBS_SIMPLE; break;
        case TComboBoxStyle::csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
        case TComboBoxStyle::csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
        case TComboBoxStyle::csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
    }
    // The window's height includes the dropped list; the closed height is the system's.
    if (style_ != TComboBoxStyle::csSimple) params.Height = Height() + DropHeight();
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
    if (!HandleAllocated() || style_ == TComboBoxStyle::csSimple) {
        TWinControl::SetBounds(left, top, width, height);
        return;
    }
    // Only the closed height is the control's; the window takes the list below it as well.
    RECT r{};
    GetWindowRect(Handle(), &r);
    const int closed = r.bottom - r.top;
    TWinControl::SetBounds(left, top, width, closed);
    SetWindowPos(Handle(), nullptr, left, top, width, closed + DropHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::CreateWindowState() {
    HWND window = Handle();
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(window, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    if (style_ == TComboBoxStyle::csOwnerDrawFixed) {
        SendMessageA(window, CB_SETITEMHEIGHT, 0, itemHeight_);
        SendMessageA(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
    }
    SendMessageA(window, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    const std::string text = TextBuffer();
    if (savedIndex_ >= 0)
        SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(savedIndex_), 0);
    else if (!text.empty())
        SetWindowTextA(window, text.c_str());
    HookEdit();
}

namespace {
const char kComboOwner[] = "FwComboOwner";
}

void TCustomComboBox::HookEdit() {
    HWND edit = FindWindowExA(Handle(), nullptr, "Edit", nullptr);
    if (!edit) return;
    edit_ = edit;
    SetPropA(edit, kComboOwner, this);
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomComboBox::EditProc)));
}

void TCustomComboBox::UnhookEdit() {
    if (!edit_) return;
    if (IsWindow(edit_)) {
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
        RemovePropA(edit_, kComboOwner);
    }
    edit_ = nullptr;
    editProc_ = nullptr;
}

LRESULT CALLBACK TCustomComboBox::EditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(LRESULT(0), {
        auto* combo = static_cast<TCustomComboBox*>(GetPropA(window, kComboOwner));
        if (!combo) return DefWindowProcA(window, msg, wParam, lParam);
        const WNDPROC original = combo->editProc_;
        if (msg == WM_CHAR) {
            char key = static_cast<char>(wParam);
            combo->KeyPress(key);
            if (key == 0) return LRESULT(0);
            wParam = static_cast<unsigned char>(key);
        } else if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYUP) {
            uint16_t key = static_cast<uint16_t>(wParam);
            const TShiftState shift = KeyDataToShiftState(lParam);
            if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
                combo->KeyDown(key, shift);
            else
                combo->KeyUp(key, shift);
            if (key == 0) return LRESULT(0);
            wParam = key;
        } else if (msg == WM_NCDESTROY) {
            combo->edit_ = nullptr;
            RemovePropA(window, kComboOwner);
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        }
        return CallWindowProcA(original, window, msg, wParam, lParam);
    })
}

void TCustomComboBox::DestroyWnd() {
    if (HandleAllocated()) savedIndex_ = ItemIndex();
    UnhookEdit();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::ItemInserted(int index, const std::string& s) {
    if (HandleAllocated())
        SendMessageA(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    else if (savedIndex_ >= index)
        ++savedIndex_;
}

void TCustomComboBox::ItemDeleted(int index) {
    if (HandleAllocated())
        SendMessageA(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    else if (savedIndex_ == index)
        savedIndex_ = -1;
    else if (savedIndex_ > index)
        --savedIndex_;
}

void TCustomComboBox::ItemsCleared() {
    if (HandleAllocated()) SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    savedIndex_ = -1;
}

void TCustomComboBox::Clear() {
    items_->Clear();
    SetText("");
}

int TCustomComboBox::ItemIndex() {
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)) : savedIndex_;
}

void TCustomComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_->Count()) value = -1;
    if (!HandleAllocated()) {
        savedIndex_ = value;
        TextBuffer() = value >= 0 ? items_->Get(value) : std::string();
        return;
    }
    if (ItemIndex() == value) return;
    SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    Change();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (style_ == value) return;
    style_ = value;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int value) {
    if (value < 1) value = 1;
    dropDownCount_ = value;
    if (HandleAllocated()) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::SetItemHeight(int value) {
    if (value <= 0) return;
    itemHeight_ = value;
    if (HandleAllocated() && style_ == TComboBoxStyle::csOwnerDrawFixed) RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
    if (HandleAllocated()) SendMessageA(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool TCustomComboBox::DroppedDown() {
    return HandleAllocated() && SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
    SendMessageA(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CN_COMMAND: CNCommand(message); break;
        case CN_DRAWITEM: CNDrawItem(message); break;
        case CN_MEASUREITEM: CNMeasureItem(message); break;
        default: TWinControl::Dispatch(message); break;
    }
}

void TCustomComboBox::CNCommand(TMessage& message) {
    switch (HIWORD(message.WParam)) {
        case CBN_EDITCHANGE: Change(); break;
        case CBN_SELCHANGE: {
            // The edit still shows the old text while this arrives: show the choice first.
            const int index = ItemIndex();
            if (index >= 0 && style_ == TComboBoxStyle::csDropDown)
                SetWindowTextA(Handle(), items_->Get(index).c_str());
            Click();
            Change();
            break;
        }
        case CBN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            break;
        default: break;
    }
    message.Result = 0;
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index >= 0 && index < items_->Count()) canvas_->TextOut(rect.Left + 2, rect.Top, items_->Get(index));
}

void TCustomComboBox::CNDrawItem(TMessage& message) {
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

void TCustomComboBox::CNMeasureItem(TMessage& message) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    int height = itemHeight_;
    if (OnMeasureItem && style_ == TComboBoxStyle::csOwnerDrawVariable)
        OnMeasureItem(this, static_cast<int>(mis->itemID), height);
    mis->itemHeight = static_cast<UINT>(std::max(height, 1));
    message.Result = 1;
}

void RegisterComboBoxClasses() {
    RegisterStdSupport();
    RegisterEnum<TComboBoxStyle>(
        {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}, "TComboBoxStyle");
    Class<TCustomComboBox, TWinControl>("TCustomComboBox")
        .Prop("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
        .Prop("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
        .Prop("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
        .Prop("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText)
        .Prop("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted)
        .Prop("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
        .Prop("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
        .Prop("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength)
        .Event("OnChange", &TCustomComboBox::OnChange)
        .Event("OnDropDown", &TCustomComboBox::OnDropDown)
        .Event("OnDrawItem", &TCustomComboBox::OnDrawItem)
        .Event("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
    Class<TComboBox, TCustomComboBox>("TComboBox");
}

}  // namespace fw
