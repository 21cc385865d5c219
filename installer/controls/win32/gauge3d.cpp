#include "installer/controls/win32/gauge3d.h"

#include <algorithm>
#include <string>

#include "installer/controls/gauge_model.h"
#include "uisupport/win32/bitmaprtns.h"

namespace inst::win32 {

using fw::TRect;

void Frame3D(fw::TCanvas* canvas, const TRect& rect, fw::TColor top, fw::TColor bottom) {
    const int right = rect.Right - 1, last = rect.Bottom - 1;
    if (right < rect.Left || last < rect.Top) return;
    fw::TBrush* brush = canvas->Brush();
    brush->SetStyle(fw::TBrushStyle::bsSolid);
    brush->SetColor(top);
    canvas->FillRect({rect.Left, rect.Top, rect.Left + 1, last});
    canvas->FillRect({rect.Left, rect.Top, right, rect.Top + 1});
    brush->SetColor(bottom);
    canvas->FillRect({right, rect.Top, right + 1, last + 1});
    canvas->FillRect({rect.Left, last, right + 1, last + 1});
}

TGauge3D::TGauge3D(fw::TComponent* owner)
    : fw::TGraphicControl(owner),
      buffer_(std::make_unique<fw::TBitmap>()),
      glyph_(std::make_unique<fw::TBitmap>()),
      tile_(std::make_unique<fw::TBitmap>()) {
    SetControlStyle(ControlStyle() | fw::csCaptureMouse | fw::csOpaque);
    SetBounds(Left(), Top(), 100, 50);
}

TGauge3D::~TGauge3D() = default;

void TGauge3D::SetKind(TGaugeKind value) {
    if (value == kind_) return;
    kind_ = value;
    Repaint();
}

void TGauge3D::SetMinValue(int value) {
    if (value == minValue_) return;
    minValue_ = value;
    // The percentage follows at the next paint.
    progress_ = std::max(progress_, minValue_);
    Repaint();
}

void TGauge3D::SetMaxValue(int value) {
    if (value == maxValue_) return;
    maxValue_ = value;
    progress_ = std::min(progress_, maxValue_);
    Repaint();
}

void TGauge3D::SetProgress(int value) {
    value = std::max(std::min(value, maxValue_), minValue_);
    if (value == progress_) return;
    progress_ = value;
    UpdateBar();
    Repaint();
}

void TGauge3D::SetShowText(bool value) {
    showText_ = value;
    Repaint();
}

void TGauge3D::SetBarColor(fw::TColor value) {
    barColor_ = value;
    Repaint();
}

void TGauge3D::SetFrameLightColor(fw::TColor value) {
    frameLight_ = value;
    Invalidate();
}

void TGauge3D::SetFrameShadowColor(fw::TColor value) {
    frameShadow_ = value;
    Invalidate();
}

void TGauge3D::SetUseGlyph(bool value) {
    useGlyph_ = value;
    Invalidate();
}

void TGauge3D::SetProgressGlyph(fw::TBitmap* value) {
    glyph_->Assign(value);
    Invalidate();
}

void TGauge3D::SetTransparent(bool value) {
    transparent_ = value;
    Repaint();
}

void TGauge3D::UpdateBar() {
    percent_ = GaugePercent(progress_, minValue_, maxValue_);
    barWidth_ = GaugeBarSize(Width(), percent_);
    barHeight_ = GaugeBarSize(Height(), percent_);
}

void TGauge3D::Paint() {
    ++paints_;
    const int w = Width(), h = Height();
    buffer_->SetSize(w, h);
    UpdateBar();
    fw::TCanvas* canvas = buffer_->Canvas();
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    if (transparent_) {
        if (Parent()) canvas->Brush()->SetColor(Parent()->Color());
        canvas->FillRect({0, 0, w, h});
        uis::PaintParentImage(this, canvas);
    } else {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect({0, 0, w, h});
    }
    Frame3D(canvas, {2, 2, w - 2, h - 2}, frameLight_, frameShadow_);
    Frame3D(canvas, {3, 3, w - 3, h - 3}, frameShadow_, frameLight_);
    if (kind_ == TGaugeKind::gkHorizontalBar) {
        if (barWidth_ >= kGaugeMinBar) PaintBar(canvas, {5, 5, barWidth_ + 3, h - 5});
    } else if (barHeight_ >= kGaugeMinBar) {
        PaintBar(canvas, {5, h - barHeight_ - 3, w - 5, h - 5});
    }
    if (showText_) PaintText(canvas);
    Canvas()->Draw(0, 0, buffer_.get());
}

void TGauge3D::PaintBar(fw::TCanvas* canvas, const TRect& bar) {
    if (!useGlyph_) {
        canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(barColor_);
        canvas->FillRect(bar);
    } else if (glyph_->Width() > 0 && glyph_->Height() > 0) {
        tile_->SetSize(bar.Width(), bar.Height());
        const int gw = glyph_->Width(), gh = glyph_->Height();
        for (int i = 0; i <= bar.Width() / gw; ++i)
            for (int j = 0; j <= bar.Height() / gh; ++j) tile_->Canvas()->Draw(i * gw, j * gh, glyph_.get());
        canvas->Draw(bar.Left, bar.Top, tile_.get());
    }
    Frame3D(canvas, bar, frameLight_, frameShadow_);
}

void TGauge3D::PaintText(fw::TCanvas* canvas) {
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    const std::string number = std::to_string(percent_);
    const std::string text = number + "%";
    const int x = Width() / 2 - canvas->TextWidth(text) / 2;
    const int y = Height() / 2 - canvas->TextHeight(number) / 2;
    canvas->TextOut(x, y, text);
}

}  // namespace inst::win32
