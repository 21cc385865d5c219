// TToolBar and TToolButton.
#include "framework/win32/std_toolbar.h"

#include <algorithm>
#include <atomic>

#include "framework/win32/actions.h"
#include "framework/win32/menus.h"

namespace fw {

namespace {

int NextCommandId() {
    static std::atomic<int> next{100};
    return next.fetch_add(1);
}

BYTE ButtonStyle(const TToolButton& button) {
    BYTE style = BTNS_BUTTON;
    switch (button.Style()) {
        case TToolButtonStyle::tbsCheck: style = BTNS_CHECK; break;
        case TToolButtonStyle::tbsDropDown: style = BTNS_DROPDOWN; break;
        case TToolButtonStyle::tbsSeparator:
        case TToolButtonStyle::tbsDivider: return BTNS_SEP;
        default: break;
    }
    if (button.Grouped()) style |= BTNS_GROUP;
    return style;
}

}  // namespace

// ---- TToolButton -----------------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner), commandId_(NextCommandId()) {
    controlStyle_ = csCaptureMouse | csSetCaption;
    SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() = default;

void TToolButton::BeforeDestruction() {
    // A freed button leaves its bar's list before it stops being a button.
    if (TToolBar* bar = ToolBar()) bar->RemoveButton(this);
    TGraphicControl::BeforeDestruction();
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

int TToolButton::Index() const {
    TToolBar* bar = ToolBar();
    if (!bar) return -1;
    const auto& list = bar->buttons_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TToolButton::SetParent(TWinControl* parent) {
    TToolBar* old = ToolBar();
    TGraphicControl::SetParent(parent);
    TToolBar* now = ToolBar();
    if (old == now) return;
    if (old) old->RemoveButton(this);
    if (now) now->InsertButton(this);
}

void TToolButton::Changed() {
    if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::SetStyle(TToolButtonStyle value) {
    style_ = value;
    Changed();
}

bool TToolButton::Down() const {
    TToolBar* bar = ToolBar();
    if (bar && bar->HandleAllocated())
        return (SendMessageA(bar->Handle(), TB_GETSTATE, static_cast<WPARAM>(commandId_), 0) &
                (TBSTATE_CHECKED | TBSTATE_PRESSED)) != 0;
    return down_;
}

void TToolButton::SetDown(bool value) {
    down_ = value;
    TToolBar* bar = ToolBar();
    if (!bar || !bar->HandleAllocated()) return;
    if (style_ == TToolButtonStyle::tbsCheck)
        SendMessageA(bar->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(commandId_), MAKELPARAM(value ? TRUE : FALSE, 0));
    else
        SendMessageA(bar->Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(commandId_), MAKELPARAM(value ? TRUE : FALSE, 0));
}

void TToolButton::SetGrouped(bool value) {
    grouped_ = value;
    Changed();
}

void TToolButton::SetImageIndex(int value) {
    imageIndex_ = value;
    TToolBar* bar = ToolBar();
    if (bar && bar->HandleAllocated())
        SendMessageA(bar->Handle(), TB_CHANGEBITMAP, static_cast<WPARAM>(commandId_), MAKELPARAM(value, 0));
}

void TToolButton::SetEnabled(bool value) {
    TGraphicControl::SetEnabled(value);
    TToolBar* bar = ToolBar();
    if (bar && bar->HandleAllocated())
        SendMessageA(bar->Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(commandId_), MAKELPARAM(value ? TRUE : FALSE, 0));
}

void TToolButton::SetDropdownMenu(TComponent* value) {
    if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
    dropdownMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TToolButton::SetMenuItem(TMenuItem* value) {
    if (menuItem_ == value) return;
    if (menuItem_) menuItem_->RemoveFreeNotification(this);
    menuItem_ = value;
    if (value) {
        value->FreeNotification(this);
        // A menu button shows its item's caption unless it has one of its own.
        if (Caption().empty() || Caption() == Name()) SetCaption(value->Caption());
    }
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == dropdownMenu_) dropdownMenu_ = nullptr;
    if (component == menuItem_) menuItem_ = nullptr;
}

void TToolButton::Click() {
    if (menuItem_) {
        if (TToolBar* bar = ToolBar(); bar && bar->TrackMenu(this)) return;
    }
    TGraphicControl::Click();
}

void TToolButton::ActionChange(TObject* sender, bool checkDefaults) {
    TGraphicControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
    if (!checkDefaults || !down_) SetDown(action->Checked());
}

bool TToolButton::CheckMenuDropdown() {
    if (!dropdownMenu_) return false;
    // The popup machinery opens a control's PopupMenu; lend it the drop-down menu for the call.
    TComponent* own = PopupMenu();
    SetPopupMenu(dropdownMenu_);
    bool shown = false;
    try {
        shown = DoPopupMenu(ClientToScreen(Point(0, Height())));
    } catch (...) {
        SetPopupMenu(own);
        throw;
    }
    SetPopupMenu(own);
    return shown;
}

void TToolButton::CMTextChanged(TMessage& message) {
    TGraphicControl::CMTextChanged(message);
    Changed();
}

void TToolButton::CMVisibleChanged(TMessage& message) {
    TGraphicControl::CMVisibleChanged(message);
    TToolBar* bar = ToolBar();
    if (bar && bar->HandleAllocated())
        SendMessageA(bar->Handle(), TB_HIDEBUTTON, static_cast<WPARAM>(commandId_), MAKELPARAM(Visible() ? FALSE : TRUE, 0));
}

// ---- TToolBar ---------------------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
    SetColor(clBtnFace);
}

TToolBar::~TToolBar() = default;

void TToolBar::BeforeDestruction() {
    if (keyModeGone_) *keyModeGone_ = true;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = nullptr;
    rebuilding_ = true;  // children leaving one by one need no window updates
    TWinControl::BeforeDestruction();
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, TOOLBARCLASSNAMEA);
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
    if (flat_) params.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
    if (list_) params.Style |= TBSTYLE_LIST;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TToolBar::CreateWindowState() {
    HWND window = Handle();
    SendMessageA(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(window, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    if (images_) SendMessageA(window, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    RebuildButtons();
}

void TToolBar::InsertButton(TToolButton* button) {
    buttons_.push_back(button);
    RebuildButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
    // A button leaving while its menu is dropped closes the menu.
    if (button == menuButton_) {
        menuButton_ = nullptr;
        EndMenu();
    }
    if (!rebuilding_) RebuildButtons();
}

TToolButton* TToolBar::FindButton(int commandId) const {
    for (TToolButton* b : buttons_)
        if (b->commandId_ == commandId) return b;
    return nullptr;
}

void TToolBar::RebuildButtons() {
    if (!HandleAllocated() || rebuilding_) return;
    rebuilding_ = true;
    HWND window = Handle();
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    while (SendMessageA(window, TB_DELETEBUTTON, 0, 0)) {
    }
    if (images_)
        SendMessageA(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->Width(), images_->Height()));
    std::vector<std::string> texts;
    texts.reserve(buttons_.size());
    for (TToolButton* b : buttons_) texts.push_back(b->Caption());
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TToolButton* b = buttons_[i];
        TBBUTTON tb{};
        tb.iBitmap = b->Style() == TToolButtonStyle::tbsSeparator || b->Style() == TToolButtonStyle::tbsDivider
                         ? b->Width()
                         : (images_ ? b->imageIndex_ : I_IMAGENONE);
        tb.idCommand = b->commandId_;
        tb.fsStyle = ButtonStyle(*b);
        tb.fsState = static_cast<BYTE>((b->Enabled() ? TBSTATE_ENABLED : 0) | (b->Visible() ? 0 : TBSTATE_HIDDEN));
        if (b->down_) tb.fsState |= b->Style() == TToolButtonStyle::tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
        tb.iString = showCaptions_ && !(tb.fsStyle & BTNS_SEP) ? reinterpret_cast<INT_PTR>(texts[i].c_str()) : -1;
        SendMessageA(window, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
    }
    if (!showCaptions_) SendMessageA(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    SendMessageA(window, TB_AUTOSIZE, 0, 0);
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
    rebuilding_ = false;
    UpdateButtonBounds();
}

void TToolBar::UpdateButtonBounds() {
    if (!HandleAllocated()) return;
    rebuilding_ = true;
    int bottom = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        RECT r{};
        if (!SendMessageA(Handle(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        buttons_[i]->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        bottom = std::max(bottom, static_cast<int>(r.bottom));
    }
    rebuilding_ = false;
    if (AutoSize() && bottom > 0) {
        RECT w{}, c{};
        GetWindowRect(Handle(), &w);
        GetClientRect(Handle(), &c);
        const int frame = (w.bottom - w.top) - c.bottom;
        if (Height() != bottom + frame + 2) SetHeight(bottom + frame + 2);
    }
}

void TToolBar::AlignControls(TControl*, TRect&) {
    // The window places its buttons; the button controls follow it.
    if (!rebuilding_) UpdateButtonBounds();
}

void TToolBar::WndProc(TMessage& message) {
    // The window takes the mouse over its buttons itself.
    if (message.Msg == WM_MOUSEMOVE || (message.Msg >= WM_LBUTTONDOWN && message.Msg <= WM_MBUTTONDBLCLK)) {
        TControl::WndProc(message);
        return;
    }
    TWinControl::WndProc(message);
}

void TToolBar::WMPaint(TMessage& message) { DefaultHandler(message); }

void TToolBar::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (TToolButton* button = FindButton(LOWORD(message.WParam))) {
            button->down_ = button->Down();
            button->Click();
        }
        message.Result = 0;
        return;
    }
    if (message.Msg == CN_NOTIFY) {
        auto* nm = reinterpret_cast<NMTOOLBARA*>(message.LParam);
        message.Result = 0;
        if (nm->hdr.code == TBN_DROPDOWN) {
            if (TToolButton* button = FindButton(nm->iItem)) {
                if (!button->CheckMenuDropdown()) button->Click();
            }
            message.Result = TBDDRET_DEFAULT;
        }
        return;
    }
    // Alt with a menu button's letter drops its menu; F10 or Alt alone (offered by a form without a
    // window menu) shows the first menu button hot.
    if (message.Msg == CM_DIALOGCHAR && (message.LParam & KF_ALTDOWN << 16) && ShowsMenus()) {
        if (TToolButton* button = MenuButtonFor(static_cast<unsigned>(message.WParam))) {
            KeyboardMenus(nullptr, button);
            message.Result = 1;
            return;
        }
    }
    if (message.Msg == CM_APPSYSCOMMAND && (message.WParam & 0xFFF0) == SC_KEYMENU && !menuButton_ && !keyModeGone_ &&
        ShowsMenus()) {
        for (TToolButton* button : buttons_) {
            if (button->MenuItem() && button->Visible() && button->Enabled()) {
                KeyboardMenus(button, nullptr);
                message.Result = 1;
                return;
            }
        }
    }
    TWinControl::Dispatch(message);
}

void TToolBar::SetFlat(bool value) {
    if (flat_ == value) return;
    flat_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT, value);
}

void TToolBar::SetList(bool value) {
    if (list_ == value) return;
    list_ = value;
    RecreateWnd();
}

void TToolBar::SetShowCaptions(bool value) {
    if (showCaptions_ == value) return;
    showCaptions_ = value;
    RecreateWnd();
}

void TToolBar::SetEdgeBorders(TEdgeBorders value) {
    edgeBorders_ = value;
    Invalidate();
}

void TToolBar::SetButtonWidth(int value) {
    buttonWidth_ = value;
    RebuildButtons();
}

void TToolBar::SetButtonHeight(int value) {
    buttonHeight_ = value;
    RebuildButtons();
}

void TToolBar::SetAutoSize(bool value) {
    TWinControl::SetAutoSize(value);
    UpdateButtonBounds();
}

void TToolBar::SetImages(TCustomImageList* value) {
    if (images_ == value) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value) value->FreeNotification(this);
    if (HandleAllocated()) {
        SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(value ? value->Handle() : nullptr));
        RebuildButtons();
    }
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) SetImages(nullptr);
}

void RegisterToolBarClasses() {
    RegisterImageListClasses();
    RegisterEnum<TToolButtonStyle>({"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"},
                                   "TToolButtonStyle");
    RegisterEnum<TEdgeBorder>({"ebLeft", "ebTop", "ebRight", "ebBottom"}, "TEdgeBorders");
    Class<TToolButton, TGraphicControl>("TToolButton")
        .Prop("Style", &TToolButton::Style, &TToolButton::SetStyle)
        .Prop("Down", &TToolButton::Down, &TToolButton::SetDown)
        .Prop("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
        .Prop("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
        .Prop("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu)
        .Prop("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
    Class<TToolBar, TWinControl>("TToolBar")
        .Prop("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
        .Prop("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
        .Prop("List", &TToolBar::List, &TToolBar::SetList)
        .Prop("EdgeBorders", &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders)
        .Prop("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
        .Prop("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
        .Prop("Images", &TToolBar::Images, &TToolBar::SetImages);
}

}  // namespace fw
