#include "widgets/win32/captiondraw.h"

#include "widgets/drawgeometry.h"
#include "widgets/glyphlayout.h"
#include "widgets/kvxutils.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/dcstate.h"
#include "widgets/win32/framedraw.h"

namespace kvx::win32 {

namespace {

HGDIOBJ FontHandle(fw::TFont* font) { return font ? static_cast<HGDIOBJ>(font->Handle()) : GetStockObject(DEFAULT_GUI_FONT); }

int Depth(const TKVX3DCaption* caption) {
    return caption ? KVXEffectDepth(caption->Style(), caption->LightDepth(), caption->ShadowDepth()) : 0;
}

void DrawTextIn(HDC dc, const std::string& text, TRect& rect, uint32_t format) {
    RECT rc = ToRECT(rect);
    DrawTextExA(dc, const_cast<char*>(text.data()), static_cast<int>(text.size()), &rc, format, nullptr);
    rect = FromRECT(rc);
}

TColor PassColor(TKVXPassColor pass, const TKVX3DCaption& caption, TColor textColor) {
    switch (pass) {
        case TKVXPassColor::Light: return caption.LightColor();
        case TKVXPassColor::Shadow: return caption.ShadowColor();
        case TKVXPassColor::Text: return textColor;
    }
    return textColor;
}

}  // namespace

void KVXMeasureCaption(const std::string& text, TKVX3DCaption* caption, TRect& rect, fw::TFont* font, bool multiLine,
                       bool showAccelChar, int margin, uint32_t format) {
    TScreenDC screen;
    HDC dc = screen.Get();
    TDCState state(dc);
    SelectObject(dc, FontHandle(font));
    auto* fx = dynamic_cast<TKVXFxCaption*>(caption);
    const int tracing = caption ? caption->Tracing() : 0;
    if (tracing) SetTextCharacterExtra(dc, tracing);
    const int depth = Depth(caption);
    if (!fx || fx->Angle() == 0) {
        if (fx) fx->SetPosQuiet(0, 0);
        uint32_t f = format | kDtCalcRect | kDtExpandTabs;
        if (multiLine) f |= kDtWordBreak;
        if (!showAccelChar) f |= kDtNoPrefix;
        const std::string measured = text.empty() || (text == "&" && showAccelChar) ? std::string(" ") : text;
        DrawTextIn(dc, measured, rect, f);
        rect.Right += depth;
        rect.Bottom += depth;
    } else {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        TRect turned{0, 0, size.cx + depth, size.cy + depth};
        KVXRotatedRect(turned, fx->Angle());
        const int correction = KVXEffectCorrection(caption->Style(), caption->LightDepth(), caption->ShadowDepth());
        const TPoint start = KVXRotatedStart(size.cx, size.cy, turned, fx->Angle(), correction);
        fx->SetPos(0, static_cast<uint16_t>(start.X));
        fx->SetPos(1, static_cast<uint16_t>(start.Y));
        rect = turned;
    }
    rect.Right += (margin + 1) * 2;
    rect.Bottom += (margin + 1) * 2;
}

void KVXCaptionRect(TKVXAlignment alignment, const std::string& text, TKVX3DCaption* caption, const TRect& area,
                    fw::TFont* font, bool multiLine, bool showAccelChar, uint32_t format, TRect& result) {
    TRect measured{0, 0, area.Width() - 1, 0};
    KVXMeasureCaption(text, caption, measured, font, multiLine, showAccelChar, 0, format);
    KVXAlignRect(alignment, measured, area, result);
}

void KVXDrawCaptionText(fw::TCanvas* canvas, const std::string& text, TKVX3DCaption* caption, const TRect& rect,
                        uint32_t format, uint16_t flags, const TRect* clipRect) {
    if (!canvas || text.empty() || fw::IsRectEmpty(rect)) return;
    fw::TFont* font = canvas->Font();
    if (!caption) {
        HDC dc = canvas->Handle();
        TDCState state(dc);
        SelectObject(dc, font->Handle());
        SetTextColor(dc, static_cast<COLORREF>(fw::ColorToRGB(font->Color())));
        const bool clear = canvas->Brush()->Style() == fw::TBrushStyle::bsClear;
        SetBkMode(dc, clear ? TRANSPARENT : OPAQUE);
        SetBkColor(dc, static_cast<COLORREF>(fw::ColorToRGB(canvas->Brush()->Color())));
        TRect r = rect;
        DrawTextIn(dc, text, r, format);
        return;
    }
    auto* fx = dynamic_cast<TKVXFxCaption*>(caption);
    const bool rotated = fx && fx->Angle() != 0;
    const TKVXCaptionLook look = KVXCaptionLook(caption->Style(), caption->DisabledStyle(), flags);
    const TColor textColor = look.grayText ? fw::clGrayText : look.brushColor ? canvas->Brush()->Color() : font->Color();
    if (rotated) {
        LOGFONTA lf{};
        GetObjectA(font->Handle(), sizeof(lf), &lf);
        lf.lfEscapement = lf.lfOrientation = fx->Angle() * 10;
        font->SetHandle(CreateFontIndirectA(&lf));
    }
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    // The start offsets are 16-bit; read signed so that a start just left of the rectangle stays near it.
    TRect r = rect;
    if (fx) r = {rect.Left + static_cast<int16_t>(fx->PosX()), rect.Top + static_cast<int16_t>(fx->PosY()), rect.Right,
                 rect.Bottom};
    TColor last = textColor;
    {
        HDC dc = canvas->Handle();
        TDCState state(dc);
        TGdiObject<HRGN> region;
        if (flags & ktfClip) {
            const RECT clip = ToRECT(clipRect ? *clipRect : rect);
            region.Reset(CreateRectRgnIndirect(&clip));
            SelectClipRgn(dc, region.Get());
        }
        SelectObject(dc, font->Handle());
        SetBkMode(dc, TRANSPARENT);
        if (caption->Tracing()) SetTextCharacterExtra(dc, caption->Tracing());
        const TKVXCaptionEffect effect = KVXCaptionEffect(look.style, caption->LightDepth(), caption->ShadowDepth());
        r.Right -= effect.shrink;
        for (const TKVXCaptionPass& pass : effect.passes) {
            last = PassColor(pass.color, *caption, textColor);
            SetTextColor(dc, static_cast<COLORREF>(fw::ColorToRGB(last)));
            r = fw::OffsetRect(r, pass.offset, pass.offset);
            if (rotated) {
                ExtTextOutA(dc, r.Left, r.Top, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
            } else {
                TRect passRect = r;
                DrawTextIn(dc, text, passRect, format);
            }
        }
    }
    font->SetColor(last);
}

void KVXDrawGlyphText(fw::TCanvas* canvas, const std::string& text, TKVX3DCaption* caption, const TRect& area,
                      fw::TCanvas* glyphCanvas, TRect& glyphRect, fw::TCanvas* maskCanvas, TColor glyphTransparentColor,
                      const TKVXGlyphTextLayout* layout, bool multiLine, bool showAccelChar, bool transparentGlyph,
                      uint16_t flags, uint32_t format) {
    if (!canvas) return;
    TKVXGlyphTextInput in;
    in.hasText = !text.empty();
    in.area = area;
    in.hasGlyph = glyphCanvas && !fw::IsRectEmpty(glyphRect);
    in.glyphWidth = glyphRect.Width();
    in.glyphHeight = glyphRect.Height();
    in.layout = layout;
    in.multiLine = multiLine;
    in.flags = flags;
    in.format = format | (showAccelChar ? 0 : kDtNoPrefix);
    fw::TFont* font = canvas->Font();
    const TKVXGlyphTextPlan plan = KVXPlanGlyphText(in, [&](int width) {
        TRect r{0, 0, width, 0};
        KVXMeasureCaption(text, caption, r, font, multiLine, showAccelChar, 0, format);
        return r;
    });
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    const auto* button = dynamic_cast<const TKVXButtonLayout*>(layout);
    auto drawArrow = [&] {
        if (plan.arrow && button && !plan.measureOnly)
            KVXDrawArrow(canvas, plan.arrowAt.X, plan.arrowAt.Y, button->ArrowSize(), button->ArrowColor(), true,
                         (flags & ktfEnabled) != 0);
    };
    if (!plan.measureOnly && in.hasText) KVXDrawCaptionText(canvas, text, caption, plan.text, plan.format, flags, nullptr);
    if (plan.arrowBeforeGlyph) drawArrow();
    if (in.hasGlyph && !plan.measureOnly) {
        uint16_t place = 0;
        fw::TPersistent* extra = nullptr;
        if (transparentGlyph) {
            place = maskCanvas ? kpfGivenMask : kpfColorMask;
            extra = maskCanvas;
        }
        TRect painted;
        KVXPlaceImage(canvas, plan.glyph, glyphCanvas, glyphRect, place, glyphTransparentColor, nullptr, extra, painted);
    }
    if (!plan.arrowBeforeGlyph) drawArrow();
    glyphRect = plan.result;
}

TRect KVXDrawGlyphTextBitmap(fw::TCanvas* canvas, const std::string& text, TKVX3DCaption* caption, const TRect& area,
                             fw::TBitmap* glyph, fw::TBitmap* mask, const TKVXGlyphTextLayout* layout, bool multiLine,
                             bool showAccelChar, uint16_t flags, uint32_t format) {
    const bool hasGlyph = glyph && !glyph->Empty();
    TRect glyphRect = hasGlyph ? TRect{0, 0, glyph->Width(), glyph->Height()} : TRect{};
    KVXDrawGlyphText(canvas, text, caption, area, hasGlyph ? glyph->Canvas() : nullptr, glyphRect,
                     hasGlyph && mask ? mask->Canvas() : nullptr, hasGlyph ? glyph->TransparentColor() : fw::clWhite, layout,
                     multiLine, showAccelChar, true, flags, format);
    return glyphRect;
}

bool KVXIsTrueTypeFont(fw::TFont* font) {
    if (!font) return false;
    TScreenDC screen;
    TDCState state(screen.Get());
    SelectObject(screen.Get(), font->Handle());
    TEXTMETRICA tm{};
    return GetTextMetricsA(screen.Get(), &tm) && (tm.tmPitchAndFamily & TMPF_TRUETYPE);
}

bool KVXCanvasIsTrueType(fw::TCanvas* canvas) {
    if (!canvas) return false;
    TDCState state(canvas);
    SelectObject(state.DC(), canvas->Font()->Handle());
    TEXTMETRICA tm{};
    return GetTextMetricsA(state.DC(), &tm) && (tm.tmPitchAndFamily & TMPF_TRUETYPE);
}

int KVXCaptionLineHeight(TKVX3DCaption* caption, fw::TFont* font) {
    TScreenDC screen;
    TDCState state(screen.Get());
    SelectObject(screen.Get(), FontHandle(font));
    SIZE size{};
    GetTextExtentPoint32A(screen.Get(), "W", 1, &size);
    return size.cy + Depth(caption);
}

}  // namespace kvx::win32
