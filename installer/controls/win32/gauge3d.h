// TGauge3D: a windowless progress gauge with an etched double frame, a bar growing from the left or
// from the bottom (a solid colour, or tiles of a glyph) and the centred percentage. Every paint renders
// the whole gauge into an off-screen bitmap and copies it in one step, so frequent updates do not
// flicker. Transparent shows what lies beneath the gauge instead of its Color.
#pragma once

#include <memory>

#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"

namespace inst::win32 {

enum class TGaugeKind { gkHorizontalBar, gkVerticalBar };

class TGauge3D : public fw::TGraphicControl {
public:
    explicit TGauge3D(fw::TComponent* owner);

    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind value);
    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);
    int Progress() const { return progress_; }
    // Clamped to MinValue..MaxValue; an unchanged value does not repaint.
    void SetProgress(int value);
    bool ShowText() const { return showText_; }
    void SetShowText(bool value);
    fw::TColor BarColor() const { return barColor_; }
    void SetBarColor(fw::TColor value);
    fw::TColor FrameLightColor() const { return frameLight_; }
    void SetFrameLightColor(fw::TColor value);
    fw::TColor FrameShadowColor() const { return frameShadow_; }
    void SetFrameShadowColor(fw::TColor value);
    bool UseGlyph() const { return useGlyph_; }
    void SetUseGlyph(bool value);
    fw::TBitmap* ProgressGlyph() const { return glyph_.get(); }
    void SetProgressGlyph(fw::TBitmap* value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    // The percentage and bar sizes of the last paint, and the paints so far (for the tests).
    int Percent() const { return percent_; }
    int BarWidth() const { return barWidth_; }
    int BarHeight() const { return barHeight_; }
    int PaintCount() const { return paints_; }

protected:
    ~TGauge3D() override;
    void Paint() override;

private:
    void UpdateBar();
    void PaintBar(fw::TCanvas* canvas, const fw::TRect& bar);
    void PaintText(fw::TCanvas* canvas);

    TGaugeKind kind_ = TGaugeKind::gkHorizontalBar;
    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    bool showText_ = true;
    fw::TColor barColor_ = fw::clBtnFace;
    fw::TColor frameLight_ = fw::clBtnHighlight;
    fw::TColor frameShadow_ = fw::clBtnShadow;
    bool useGlyph_ = false;
    bool transparent_ = false;
    int percent_ = 0;
    int barWidth_ = 0;
    int barHeight_ = 0;
    int paints_ = 0;
    std::unique_ptr<fw::TBitmap> buffer_;
    std::unique_ptr<fw::TBitmap> glyph_;
    std::unique_ptr<fw::TBitmap> tile_;
};

// A one-pixel 3-D ring inside Rect (right and bottom edges exclusive): the left and top lines in Top,
// the right and bottom lines in Bottom, which also take the two far corners.
void Frame3D(fw::TCanvas* canvas, const fw::TRect& rect, fw::TColor top, fw::TColor bottom);

}  // namespace inst::win32
