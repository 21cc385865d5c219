#include "uisupport/controls/win32/shbtn.h"

#include <algorithm>

#include "framework/win32/graphics.h"
#include "uisupport/controls/grutils.h"
#include "uisupport/win32/bitmaprtns.h"
#include "uisupport/win32/fastbmp.h"

namespace uis {

TShBtn::TShBtn(fw::TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<fw::TBitmap>()) {
    SetBounds(0, 0, 85, 35);
    // Opaque; the click comes from the shape's own release handling.
    controlStyle_ = (controlStyle_ | fw::csOpaque) & ~fw::csClickEvents;
}

TShBtn::~TShBtn() = default;

void TShBtn::SetBtnKind(TBtnKind value) { btnKind_ = value, Changed(); }
void TShBtn::SetRadius(int value) { radius_ = value, Changed(); }
void TShBtn::SetShadowOffset(int value) { shadowOffset_ = std::clamp(value, 0, 255), Changed(); }
void TShBtn::SetBtnColor(fw::TColor value) { btnColor_ = value, Changed(); }
void TShBtn::SetActiveTextColor(fw::TColor value) { activeTextColor_ = value, Changed(); }
void TShBtn::SetLayout(TLayout value) { layout_ = value, Changed(); }
void TShBtn::SetNumGlyphs(int value) { numGlyphs_ = std::max(1, value), Changed(); }

void TShBtn::SetGlyph(fw::TBitmap* value) {
    if (value)
        glyph_->Assign(value);
    else
        glyph_->SetSize(0, 0);
    numGlyphs_ = ShBtnNumGlyphs(glyph_->Width(), glyph_->Height());
    Changed();
}

bool TShBtn::HitTest(int x, int y) const {
    return ShBtnHitTest(btnKind_, ShBtnFaceRect(Width(), Height(), shadowOffset_), radius_, x, y);
}

int TShBtn::CurrentCell() const { return ShBtnGlyphCell(numGlyphs_, pressed_, inside_, Enabled()); }

void TShBtn::Paint() {
    const int w = Width();
    const int h = Height();
    const bool down = pressed_ && inside_;
    fw::TBitmap buffer;
    buffer.SetSize(w + 5, h);
    fw::TCanvas* c = buffer.Canvas();
    const fw::TColor back = fw::ColorToRGB(Color());
    c->Brush()->SetColor(back);
    c->FillRect(fw::Rect(0, 0, w + 5, h));

    // The shadow, half way to black, then softened with the rest.
    c->Brush()->SetColor(BlendColors(fw::clBlack, back));
    c->Pen()->SetColor(back);
    const int so = shadowOffset_;
    if (btnKind_ == TBtnKind::bkRect) {
        fw::TRect r = fw::Rect(so + 2, so + 2, w - 2, h - 1);
        if (down) {
            r.Right -= 1, r.Bottom -= 1;
            if (r.Left > 5) r.Left -= 1;
            if (r.Top > 5) r.Top -= 1;
        }
        c->FillRect(r);
    } else {
        fw::TRect r = fw::Rect(so, so, w - 2, h - 1);
        if (down) {
            r.Right -= 1, r.Bottom -= 1;
            if (so > 5) r.Left -= 1, r.Top -= 1;
        }
        if (btnKind_ == TBtnKind::bkEllipse)
            c->Ellipse(r);
        else
            c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 2 * radius_, 2 * radius_);
    }
    {
        TFastBmp fast(w + 5, h);
        fast.CopyFrom(c->Handle(), 0, 0);
        fast.BlurBy(1);
        fast.DrawTo(c->Handle(), 0, 0);
    }

    const fw::TRect face = fw::OffsetRect(ShBtnFaceRect(w, h, so), down ? 1 : 0, down ? 1 : 0);
    c->Brush()->SetColor(fw::ColorToRGB(btnColor_));
    c->Pen()->SetColor(fw::ColorToRGB(btnColor_));
    switch (btnKind_) {
    case TBtnKind::bkRect: c->Rectangle(face); break;
    case TBtnKind::bkEllipse: c->Ellipse(face); break;
    case TBtnKind::bkRndRect:
        c->RoundRect(face.Left, face.Top, face.Right, face.Bottom, 2 * radius_, 2 * radius_);
        break;
    }

    c->SetFont(Font());
    if (inside_) c->Font()->SetColor(activeTextColor_);
    c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    const std::string caption = Caption();
    const fw::TSize text = caption.empty() ? fw::TSize{} : c->TextExtent(caption);
    const bool hasGlyph = !glyph_->Empty() && glyph_->Width() > 0;
    const int gw = hasGlyph ? glyph_->Width() / numGlyphs_ : 0;
    const int gh = hasGlyph ? glyph_->Height() : 0;
    const TShBtnPlacement at = ShBtnPlace(layout_, w, h, text.cx, text.cy, gw, gh, so, down);
    if (!caption.empty()) c->TextOut(at.Caption.X, at.Caption.Y, caption);
    if (hasGlyph) {
        const int cell = CurrentCell() - 1;
        const fw::TRect source = fw::Bounds(cell * gw, 0, gw, gh);
        const fw::TColor key = glyph_->Canvas()->Pixels(source.Left, gh - 1);
        DrawMaskedBitmapRect(c, at.Glyph.X, at.Glyph.Y, key, glyph_.get(), source, 0, 0);
    }
    Canvas()->CopyRect(fw::Rect(0, 0, w, h), c, fw::Rect(0, 0, w, h));
}

void TShBtn::MouseMove(fw::TShiftState shift, int x, int y) {
    const bool inside = Enabled() && HitTest(x, y);
    if (inside != inside_) {
        inside_ = inside;
        Repaint();
    }
    if (inside_) TGraphicControl::MouseMove(shift, x, y);
}

void TShBtn::CMMouseLeave(fw::TMessage& message) {
    TGraphicControl::CMMouseLeave(message);
    if (message.LParam && reinterpret_cast<fw::TControl*>(message.LParam) != this) return;
    if (!inside_) return;
    inside_ = false;
    Repaint();
}

void TShBtn::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    if (button != fw::mbLeft || !HitTest(x, y)) return;  // other buttons and presses outside are ignored
    inside_ = true;
    pressed_ = true;
    Repaint();
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TShBtn::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    if (button != fw::mbLeft || !pressed_) return;
    pressed_ = false;
    inside_ = HitTest(x, y);
    if (inside_) {
        Repaint();
        Click();
    } else {
        Repaint();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TShBtn::CMEnabledChanged(fw::TMessage& message) {
    TGraphicControl::CMEnabledChanged(message);
    Invalidate();
}

void TShBtn::CMTextChanged(fw::TMessage& message) {
    TGraphicControl::CMTextChanged(message);
    Invalidate();
}

void RegisterShBtnClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TBtnKind>({"bkRect", "bkEllipse", "bkRndRect"}, "TBtnKind");
    fw::RegisterEnum<TLayout>({"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, "TLayout");
    fw::Class<TShBtn, fw::TGraphicControl>("TShBtn")
        .Prop("BtnKind", &TShBtn::BtnKind, &TShBtn::SetBtnKind)
        .Prop("Radius", &TShBtn::Radius, &TShBtn::SetRadius)
        .Prop("ShadowOffset", &TShBtn::ShadowOffset, &TShBtn::SetShadowOffset)
        .Prop("BtnColor", &TShBtn::BtnColor, &TShBtn::SetBtnColor)
        .Idents(fw::ColorIdentTable())
        .Prop("ActiveTextColor", &TShBtn::ActiveTextColor, &TShBtn::SetActiveTextColor)
        .Idents(fw::ColorIdentTable())
        .Prop("Glyph", &TShBtn::Glyph, &TShBtn::SetGlyph)
        .Prop("NumGlyphs", &TShBtn::NumGlyphs, &TShBtn::SetNumGlyphs)
        .Prop("Layout", &TShBtn::Layout, &TShBtn::SetLayout);
}

}  // namespace uis
