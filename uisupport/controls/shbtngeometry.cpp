#include "uisupport/controls/shbtngeometry.h"

#include <algorithm>

namespace uis {

fw::TRect ShBtnFaceRect(int width, int height, int shadowOffset) {
    const int fw_ = std::max(0, width - shadowOffset - 4);
    const int fh = std::max(0, height - shadowOffset - 4);
    return fw::Rect(2, 2, fw_ + 2, fh + 2);
}

bool ShBtnHitTest(TBtnKind kind, const fw::TRect& face, int radius, int x, int y) {
    const fw::TPoint p{x, y};
    switch (kind) {
    case TBtnKind::bkRect:
        return fw::PtInRect(face, p);
    case TBtnKind::bkEllipse: {
        const double a = std::max(1, face.Width() / 2);
        const double b = std::max(1, face.Height() / 2);
        const double dx = (x - a - face.Left) / a;
        const double dy = (y - b - face.Top) / b;
        return dx * dx + dy * dy <= 1.0;
    }
    case TBtnKind::bkRndRect: {
        const int r = std::max(0, radius);
        if (fw::PtInRect(fw::Rect(face.Left + r, face.Top, face.Right - r, face.Bottom), p)) return true;
        const fw::TRect tall = fw::Rect(face.Left, face.Top + r, face.Right, face.Bottom - r);
        if (!fw::IsRectEmpty(tall) && fw::PtInRect(tall, p)) return true;
        const int cx[2] = {face.Left + r, face.Right - r};
        const int cy[2] = {face.Top + r, face.Bottom - r};
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) {
                const long long dx = x - cx[i];
                const long long dy = y - cy[j];
                if (dx * dx + dy * dy <= static_cast<long long>(r) * r) return true;
            }
        return false;
    }
    }
    return false;
}

int ShBtnNumGlyphs(int glyphWidth, int glyphHeight) {
    if (glyphWidth <= 0 || glyphHeight <= 0) return 1;
    return std::max(1, glyphWidth / glyphHeight);
}

int ShBtnGlyphCell(int numGlyphs, bool pressed, bool inside, bool enabled) {
    if (pressed && inside && numGlyphs > 2) return 2;
    if (inside && !pressed && numGlyphs >= 4) return 3;
    return enabled ? 1 : std::max(1, numGlyphs);
}

TShBtnPlacement ShBtnPlace(TLayout layout, int width, int height, int tw, int th, int gw, int gh, int shadowOffset,
                           bool pressedInside) {
    const int w2 = width / 2;
    const int h2 = height / 2;
    TShBtnPlacement p;
    switch (layout) {
    case TLayout::blGlyphLeft:
        p.Caption = {w2 + (gw + tw) / 2 - tw + 2, h2 - th / 2 - 1};
        p.Glyph = {w2 - (gw + tw) / 2 - 2, h2 - gh / 2 - 1};
        break;
    case TLayout::blGlyphRight:
        p.Caption = {w2 - (gw + tw) / 2 - 2, h2 - th / 2 - 1};
        p.Glyph = {w2 + (gw + tw) / 2 - gw + 2, h2 - gh / 2 - 1};
        break;
    case TLayout::blGlyphTop:
        p.Caption = {w2 - tw / 2, h2 - (th + gh) / 2 - 2};
        p.Glyph = {w2 - gw / 2, h2 + (th + gh) / 2 - gh + 2};
        break;
    case TLayout::blGlyphBottom:
        p.Caption = {w2 - tw / 2, h2 + (th + gh) / 2 - th + 2};
        p.Glyph = {w2 - gw / 2, h2 - (th + gh) / 2 - 2};
        break;
    }
    const int shift = shadowOffset / 2 - 1 - (pressedInside ? 1 : 0);
    p.Caption = {p.Caption.X - shift, p.Caption.Y - shift};
    p.Glyph = {p.Glyph.X - shift, p.Glyph.Y - shift};
    return p;
}

}  // namespace uis
