// Buttons over the system BUTTON class: push buttons, check boxes and radio buttons.
//
// TButton: a Default button is pressed by Enter wherever the focus is (unless the focused control
// takes Enter itself, or is another button, which then is the one pressed); a Cancel button by
// Escape. SetButtonStyle runs as the focus moves, so the button that Enter would press shows the
// default frame. Clicking a button with a ModalResult gives its form that result.
#pragma once

#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_types.h"

namespace fw {

// What the buttons share: the BUTTON class, clicks reflected as CN_COMMAND, the accelerator.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);

    // As the system draws its window: beside a push button's frame, a check box's box.
    bool MeasureCaption(int& needed, int& room) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    // BN_CLICKED came back from the window.
    virtual void CNCommand(TMessage& message);
    // The caption's accelerator was typed (CM_DIALOGCHAR): the default clicks the button.
    virtual bool DialogChar(char key);
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    // True while Enter would press this button (it is focused, or it is Default and the focus is not
    // on another button).
    bool Active() const { return active_; }

    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;
    // Shows (or drops) the default frame; owner-drawn descendants repaint themselves.
    virtual void SetButtonStyle(bool isDefault);
    // An owner-drawn descendant draws here (CN_DRAWITEM); the base leaves it to the system.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    void CMFocusChanged(TMessage& message) override;
    virtual void CMDialogKey(TMessage& message);

private:

    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* owner);

    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool value) { SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    // A change made by code fires OnClick as well.
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void CNCommand(TMessage& message) override;
    // The accelerator does what Space does: the box takes the focus and toggles (OnClick).
    bool DialogChar(char key) override;
    // The next state a click gives: unchecked, checked, grayed (when allowed), unchecked...
    virtual void Toggle();

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    TLeftRight alignment_ = TLeftRight::taRightJustify;
};

// Checking one radio button unchecks the others of the same parent.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void CNCommand(TMessage& message) override;
    bool DialogChar(char key) override;

private:
    bool checked_ = false;
    TLeftRight alignment_ = TLeftRight::taRightJustify;
};

void RegisterButtonClasses();

}  // namespace fw
