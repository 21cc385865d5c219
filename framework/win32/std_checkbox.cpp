// TCheckBox and TRadioButton over the system "BUTTON" class.
#include "framework/win32/std_checkbox.h"

namespace fw {

namespace {

WPARAM CheckOf(TCheckBoxState state) {
    switch (state) {
        case TCheckBoxState::cbChecked: return BST_CHECKED;
        case TCheckBoxState::cbGrayed: return BST_INDETERMINATE;
        default: return BST_UNCHECKED;
    }
}

}  // namespace

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    controlStyle_ = csSetCaption | csDoubleClicks;
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= allowGrayed_ ? BS_3STATE : BS_CHECKBOX;
    if (alignment_ == TAlignment::taLeftJustify) params.Style |= BS_LEFTTEXT;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomCheckBox::CreateWindowState() { SendMessageA(Handle(), BM_SETCHECK, CheckOf(state_), 0); }

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, CheckOf(state_), 0);
    // A change made by code is a click too.
    Click();
}

void TCustomCheckBox::SetAllowGrayed(bool value) {
    if (allowGrayed_ == value) return;
    allowGrayed_ = value;
    RecreateWnd();
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomCheckBox::Toggle() {
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

void TCustomCheckBox::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED) Toggle();
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

// ---- radio button --------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 113, 17);
    controlStyle_ = csSetCaption | csDoubleClicks;
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= BS_RADIOBUTTON;
    if (alignment_ == TAlignment::taLeftJustify) params.Style |= BS_LEFTTEXT;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TRadioButton::CreateWindowState() { SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

void TRadioButton::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
                other->SetChecked(false);
        }
    }
    Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TRadioButton::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED) SetChecked(true);
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

void RegisterCheckBoxClasses() {
    RegisterStdSupport();
    RegisterEnum<TCheckBoxState>({"cbUnchecked", "cbChecked", "cbGrayed"}, "TCheckBoxState");
    Class<TCustomCheckBox, TWinControl>("TCustomCheckBox")
        .Prop("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
        .Prop("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment)
        .Prop("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState)
        .Prop("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
        .Stored(false);
    Class<TCheckBox, TCustomCheckBox>("TCheckBox");
    Class<TRadioButton, TWinControl>("TRadioButton")
        .Prop("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
        .Prop("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
}

}  // namespace fw
