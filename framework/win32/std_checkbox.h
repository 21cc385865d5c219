// TCheckBox and TRadioButton over the system "BUTTON" class. The framework keeps the state itself
// (BS_CHECKBOX/BS_3STATE/BS_RADIOBUTTON, not the automatic styles), so a change made by code and a
// click by the user take the same path: the window shows the state and OnClick fires.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TWinControl {
public:
    explicit TCustomCheckBox(TComponent* owner);

    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool value) { SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value);
    // taRightJustify puts the text right of the box (the usual look); taLeftJustify left of it.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

protected:
    ~TCustomCheckBox() override = default;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;
    // The user's click: unchecked, checked, then grayed when allowed.
    virtual void Toggle();

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = TAlignment::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}

protected:
    ~TCheckBox() override = default;
};

// One of a group: checking it unchecks the other radio buttons of the same parent.
class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

protected:
    ~TRadioButton() override = default;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;

private:
    bool checked_ = false;
    TAlignment alignment_ = TAlignment::taRightJustify;
};

void RegisterCheckBoxClasses();

}  // namespace fw
