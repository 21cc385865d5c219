// TPanel: a window that holds other controls, framed by an outer and an inner bevel with a border
// between them, and showing its caption aligned left, right or centred.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

    // The caption on one line inside the bevels and the border.
    bool MeasureCaption(int& needed, int& room) override;

protected:
    ~TCustomPanel() override = default;
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;
    void CMTextChanged(TMessage& message) override;

private:
    void Changed();
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    TAlignment alignment_ = TAlignment::taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}

protected:
    ~TPanel() override = default;
};

// Draws a bevel of `width` pixels inside `rect` and moves `rect` inside it.
void DrawBevel(TCanvas* canvas, TRect& rect, TBevelCut cut, int width);

void RegisterPanelClasses();

}  // namespace fw
