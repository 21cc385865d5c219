// TLabel: a windowless caption painted by its parent. Alt plus the caption's accelerator letter
// (or the letter alone when the focused control does not want characters) focuses FocusControl.
#pragma once

#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/std_types.h"

namespace fw {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    // The label's size follows its caption (the width too, unless WordWrap).
    void SetAutoSize(bool value) override;
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // Transparent: the parent's background shows through; otherwise the label fills it with Color.
    bool Transparent() const { return !(controlStyle_ & csOpaque); }
    void SetTransparent(bool value);
    // The control focused by the caption's accelerator.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    // '&' marks the accelerator ("&&" is one '&'); false shows every '&'.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    // Only a label of fixed size that does not wrap: AutoSize fits it to its caption.
    bool MeasureCaption(int& needed, int& room) override;

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    virtual void AdjustBounds();
    // DrawText flags for the caption.
    unsigned TextFlags() const;

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

void RegisterLabelClasses();

}  // namespace fw
