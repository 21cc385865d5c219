// TShBtn: a windowless push button drawn as a rectangle, ellipse or rounded rectangle over a soft drop
// shadow, with an optional glyph beside its caption. It reacts only inside its shape: hovering colours
// the caption, pressing shifts the face towards the shadow, and a release inside after a press inside
// clicks.
#pragma once

#include <memory>

#include "framework/win32/controls.h"
#include "uisupport/controls/shbtngeometry.h"

namespace fw {
class TBitmap;
}

namespace uis {

class TShBtn : public fw::TGraphicControl {
public:
    explicit TShBtn(fw::TComponent* owner);

    TBtnKind BtnKind() const { return btnKind_; }
    void SetBtnKind(TBtnKind value);
    int Radius() const { return radius_; }
    void SetRadius(int value);
    int ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int value);
    fw::TColor BtnColor() const { return btnColor_; }
    void SetBtnColor(fw::TColor value);
    fw::TColor ActiveTextColor() const { return activeTextColor_; }
    void SetActiveTextColor(fw::TColor value);
    fw::TBitmap* Glyph() const { return glyph_.get(); }
    // Copies the bitmap; NumGlyphs becomes its width / height (1 when empty, never 0).
    void SetGlyph(fw::TBitmap* value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TLayout Layout() const { return layout_; }
    void SetLayout(TLayout value);

    // Whether the point lies inside the face shape.
    bool HitTest(int x, int y) const;
    bool Inside() const { return inside_; }
    bool Pressed() const { return pressed_; }
    // The glyph cell shown now (from 1).
    int CurrentCell() const;

protected:
    ~TShBtn() override;
    void Paint() override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void CMMouseLeave(fw::TMessage& message) override;
    void CMEnabledChanged(fw::TMessage& message) override;
    void CMTextChanged(fw::TMessage& message) override;

private:
    void Changed() { Invalidate(); }

    TBtnKind btnKind_ = TBtnKind::bkRect;
    int radius_ = 10;
    int shadowOffset_ = 3;
    fw::TColor btnColor_ = fw::RGB(0, 0, 255);
    fw::TColor activeTextColor_ = fw::clBlack;
    std::unique_ptr<fw::TBitmap> glyph_;
    int numGlyphs_ = 1;
    TLayout layout_ = TLayout::blGlyphLeft;
    bool inside_ = false;
    bool pressed_ = false;
};

void RegisterShBtnClasses();

}  // namespace uis
