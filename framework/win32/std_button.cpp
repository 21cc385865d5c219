// Push buttons, check boxes and radio buttons over the system BUTTON class.
#include "framework/win32/std_button.h"

#include "framework/core/rtti.h"
#include "framework/win32/caption_check.h"
#include "framework/win32/graphics.h"
#include "framework/win32/keyboard.h"

namespace fw {

// ---- TButtonControl ------------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    // Clicks come from the window's BN_CLICKED, for the mouse and the keyboard alike.
    controlStyle_ &= ~csClickEvents;
    SetTabStop(true);
    SetParentColor(true);
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
}

bool TButtonControl::MeasureCaption(int& needed, int& room) {
    return HandleAllocated() && MeasureSystemCaption(Handle(), true, Font()->Handle(), Caption(), needed, room);
}

void TButtonControl::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == BN_CLICKED) Click();
    message.Result = 0;
}

bool TButtonControl::DialogChar(char key) {
    if (!IsAccel(static_cast<unsigned char>(key), Caption()) || !CanFocus()) return false;
    Click();
    return true;
}

void TButtonControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CN_COMMAND: CNCommand(message); break;
        case CM_DIALOGCHAR:
            if (DialogChar(static_cast<char>(message.WParam))) {
                message.Result = 1;
                return;
            }
            TWinControl::Dispatch(message);
            break;
        default: TWinControl::Dispatch(message); break;
    }
}

// ---- TButton -----------------------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWindowState() {
    TButtonControl::CreateWindowState();
    // Until a control of the form takes the focus, Enter goes to the Default button.
    HWND focus = GetFocus();
    TWinControl* focused = focus ? FindControl(focus) : nullptr;
    if (!focused || GetParentForm(focused) != GetParentForm(this)) active_ = default_;
    SetButtonStyle(active_);
}

void TButton::SetDefault(bool value) {
    if (default_ == value) return;
    default_ = value;
    HWND focus = GetFocus();
    TWinControl* focused = focus ? FindControl(focus) : nullptr;
    if (focused == this || dynamic_cast<TButton*>(focused)) return;
    active_ = value;
    if (HandleAllocated()) SetButtonStyle(active_);
}

void TButton::Click() {
    if (modalResult_ != mrNone) {
        if (auto* form = dynamic_cast<TForm*>(GetParentForm(this))) form->SetModalResult(modalResult_);
    }
    TButtonControl::Click();
}

void TButton::SetButtonStyle(bool isDefault) {
    if (!HandleAllocated()) return;
    const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    const LONG_PTR type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW) {
        Invalidate();
        return;
    }
    const LONG_PTR wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted) SendMessageA(Handle(), BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
}

void TButton::DrawItem(const DRAWITEMSTRUCT&) {}

void TButton::CMFocusChanged(TMessage& message) {
    auto* focused = reinterpret_cast<TControl*>(message.LParam);
    bool active;
    if (focused == this)
        active = true;
    else if (dynamic_cast<TButton*>(focused))
        active = false;
    else
        active = default_;
    if (active != active_) {
        active_ = active;
        SetButtonStyle(active_);
    }
    TButtonControl::CMFocusChanged(message);
}

void TButton::CMDialogKey(TMessage& message) {
    const unsigned key = static_cast<unsigned>(message.WParam);
    const bool plain = !KeyboardShiftState().Contains(ssCtrl) && !KeyboardShiftState().Contains(ssAlt);
    if (plain && ((key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_)) && CanFocus()) {
        Click();
        message.Result = 1;
        return;
    }
    TButtonControl::Dispatch(message);
}

void TButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CM_DIALOGKEY: CMDialogKey(message); break;
        case CN_DRAWITEM:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
            message.Result = TRUE;
            break;
        default: TButtonControl::Dispatch(message); break;
    }
}

// ---- TCheckBox ---------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= allowGrayed_ ? BS_3STATE : BS_CHECKBOX;
    if (alignment_ == TLeftRight::taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWindowState() {
    TButtonControl::CreateWindowState();
    SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    if (!InState(csLoading | csReading)) Click();
}

void TCheckBox::SetAlignment(TLeftRight value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TCheckBox::Toggle() {
    switch (state_) {
        case TCheckBoxState::cbUnchecked:
            SetState(TCheckBoxState::cbChecked);
            break;
        case TCheckBoxState::cbChecked:
            SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
            break;
        case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
    }
}

void TCheckBox::CNCommand(TMessage& message) {
    // The state change fires OnClick (SetState), for the mouse, the keyboard and code alike.
    if (HIWORD(message.WParam) == BN_CLICKED) Toggle();
    message.Result = 0;
}

bool TCheckBox::DialogChar(char key) {
    if (!IsAccel(static_cast<unsigned char>(key), Caption()) || !CanFocus()) return false;
    SetFocus();
    Toggle();
    return true;
}

// ---- TRadioButton ------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= BS_RADIOBUTTON;
    if (alignment_ == TLeftRight::taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWindowState() {
    TButtonControl::CreateWindowState();
    SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    if (Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
            if (sibling && sibling != this) sibling->SetChecked(false);
        }
    }
    if (!InState(csLoading | csReading)) Click();
}

void TRadioButton::SetAlignment(TLeftRight value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TRadioButton::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == BN_CLICKED) SetChecked(true);
    message.Result = 0;
}

bool TRadioButton::DialogChar(char key) {
    if (!IsAccel(static_cast<unsigned char>(key), Caption()) || !CanFocus()) return false;
    SetFocus();
    SetChecked(true);
    return true;
}

void RegisterButtonClasses() {
    RegisterStdTypes();
    RegisterFormClasses();
    RegisterEnum<TCheckBoxState>({"cbUnchecked", "cbChecked", "cbGrayed"}, "TCheckBoxState");
    Class<TButtonControl, TWinControl>("TButtonControl");
    Class<TButton, TButtonControl>("TButton")
        .Prop("Default", &TButton::Default, &TButton::SetDefault)
        .Prop("Cancel", &TButton::Cancel, &TButton::SetCancel)
        .Prop("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
        .Idents(ModalResultIdents());
    Class<TCheckBox, TButtonControl>("TCheckBox")
        .Prop("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
        .Prop("State", &TCheckBox::State, &TCheckBox::SetState)
        .Prop("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
        .Stored(false)
        .Prop("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment);
    Class<TRadioButton, TButtonControl>("TRadioButton")
        .Prop("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
        .Prop("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment);
}

}  // namespace fw
