#include "widgets/win32/framedraw.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "widgets/drawgeometry.h"
#include "widgets/win32/dcstate.h"

namespace kvx::win32 {

bool KVXDrawBevel(fw::TCanvas* canvas, TRect& rect, TKVXBevelStyle style, TColor lightColor, TColor shadowColor,
                  int width) {
    TRect inner = rect;
    if (!KVXBevelInnerRect(style, width, inner)) return false;
    using S = TKVXBevelStyle;
    TColor first = fw::clBlack, second = fw::clBlack;
    if (style == S::bvLowered || style == S::bvFrameLowered) {
        first = lightColor;
        second = shadowColor;
    } else if (style == S::bvRaised || style == S::bvFrameRaised) {
        first = shadowColor;
        second = lightColor;
    }
    const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    if (style == S::bvFrameLowered || style == S::bvFrameRaised) {
        // Etched: two one-pixel rings per step, offset by one, so the frame takes Width + 1.
        for (int i = 0; i < width; ++i) {
            KVXSolidBrush(canvas, first);
            canvas->FrameRect({L + i + 1, T + i + 1, R, B});
            KVXSolidBrush(canvas, second);
            canvas->FrameRect({L, T, R - i - 1, B - i - 1});
        }
    } else if (width == 1) {
        KVXSolidPen(canvas, second);
        const TPoint upperLeft[] = {{L, B - 1}, {L, T}, {R - 1, T}};
        canvas->Polyline(upperLeft);
        KVXSolidPen(canvas, first);
        const TPoint lowerRight[] = {{R - 1, T}, {R - 1, B - 1}, {L, B - 1}};
        canvas->Polyline(lowerRight);
    } else {
        const int W = width, b1 = B - 1;
        const TRect I{L + W, T + W, R - W, b1 - W};
        canvas->Pen()->SetStyle(fw::TPenStyle::psClear);
        KVXSolidBrush(canvas, first);
        const TPoint lowerRight[] = {{L, B}, {I.Left, I.Bottom}, {I.Right, I.Bottom}, {I.Right, I.Top}, {R, T}, {R, B}};
        canvas->Polygon(lowerRight);
        KVXSolidBrush(canvas, second);
        const TPoint upperLeft[] = {{L, b1}, {I.Left, I.Bottom}, {I.Left, I.Top}, {I.Right - 1, I.Top}, {R - 1, T}, {L, T}};
        canvas->Polygon(upperLeft);
    }
    rect = inner;
    return true;
}

bool KVXDrawShadowBevel(fw::TCanvas* canvas, TRect& rect, TColor frameColor, TColor shadowColor, TColor cornerColor,
                        uint8_t depth, uint8_t frameWidth, bool transparent) {
    const int D = depth, L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    canvas->Pen()->SetStyle(fw::TPenStyle::psClear);
    KVXSolidBrush(canvas, shadowColor);
    canvas->FillRect({R - D, T + D, R, B});
    canvas->FillRect({L + D, B - D, R, B});
    if (!transparent) {
        KVXSolidBrush(canvas, cornerColor);
        canvas->FillRect({R - D, T, R, T + D});
        canvas->FillRect({L, B - D, L + D, B});
    }
    rect = {L, T, R - D, B - D};
    KVXSolidBrush(canvas, frameColor);
    for (int i = 0; i < frameWidth; ++i) {
        canvas->FrameRect(rect);
        rect = fw::InflateRect(rect, -1, -1);
    }
    canvas->Pen()->SetWidth(1);
    return true;
}

bool KVXDrawFrame(fw::TCanvas* canvas, TRect& rect, TKVXBorderStyle style, uint16_t extraFlags) {
    using S = TKVXBorderStyle;
    if (style == S::lsNone) return true;
    HDC dc = canvas->Handle();
    const UINT F = extraFlags | BF_ADJUST;
    switch (style) {
        case S::lsNone: break;
        case S::lsSingle:
            KVXEdge(dc, rect, BDR_SUNKENOUTER, F | BF_SOFT | BF_TOPLEFT);
            KVXEdge(dc, rect, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
            break;
        case S::lsLowered: KVXEdge(dc, rect, EDGE_SUNKEN, F | BF_SOFT | BF_RECT); break;
        case S::lsRaised: KVXEdge(dc, rect, EDGE_RAISED, F | BF_SOFT | BF_RECT); break;
        case S::lsRaisedspb:
        case S::lsRaisedExt:
            KVXEdge(dc, rect, BDR_RAISEDOUTER, F | BF_SOFT | BF_RECT);
            KVXEdge(dc, rect, BDR_RAISEDINNER, BF_ADJUST | BF_BOTTOMRIGHT);
            if (style == S::lsRaisedExt) ++rect.Top, ++rect.Left;
            break;
        case S::lsLoweredspb:
            KVXEdge(dc, rect, BDR_SUNKENOUTER, F | BF_RECT);
            KVXEdge(dc, rect, BDR_SUNKENINNER, F | BF_TOPLEFT);
            break;
        case S::lsLoweredExt:
            KVXEdge(dc, rect, BDR_SUNKENOUTER, F | BF_RECT);
            KVXEdge(dc, rect, BDR_SUNKENINNER, BF_ADJUST | BF_TOPLEFT);
            --rect.Right, --rect.Bottom;
            break;
        case S::lsFrameInset: KVXEdge(dc, rect, EDGE_ETCHED, F | BF_RECT); break;
        case S::lsFrameOffset:
            KVXEdge(dc, rect, BDR_RAISEDINNER, F | BF_RECT);
            KVXEdge(dc, rect, BDR_SUNKENOUTER, F | BF_RECT);
            break;
        case S::lsWindowBorder:
            KVXEdge(dc, rect, BDR_RAISEDOUTER, F | BF_BOTTOMRIGHT);
            ++rect.Top, ++rect.Left;
            KVXEdge(dc, rect, BDR_RAISEDINNER, F | BF_RECT);
            break;
        case S::lsSingleRaised: KVXEdge(dc, rect, BDR_RAISEDINNER, F | BF_RECT); break;
        case S::lsSingleLowered: KVXEdge(dc, rect, BDR_SUNKENOUTER, F | BF_RECT); break;
        case S::lsDoubleRaised:
            KVXEdge(dc, rect, BDR_RAISEDINNER, F | BF_RECT);
            KVXEdge(dc, rect, BDR_RAISEDINNER, F | BF_RECT);
            break;
        case S::lsDoubleLowered:
            KVXEdge(dc, rect, BDR_SUNKENOUTER, F | BF_RECT);
            KVXEdge(dc, rect, BDR_SUNKENOUTER, F | BF_RECT);
            break;
    }
    return true;
}

void KVXDrawArrow(fw::TCanvas* canvas, int x, int y, int size, TColor color, bool pointDown, bool enabled) {
    const std::vector<TKVXSpan> rows = KVXArrowRows(x, y, size, pointDown);
    if (rows.empty()) return;
    if (!enabled) {
        KVXDrawArrow(canvas, x + 1, y + 1, size, fw::clHighlightText, pointDown, true);
        color = fw::clGrayText;
    }
    KVXSolidPen(canvas, color);
    for (const TKVXSpan& row : rows) {
        canvas->MoveTo(row.x0, row.y);
        canvas->LineTo(row.x1, row.y);
    }
}

void KVXMakeGradientColors(TColor startColor, TColor endColor, uint8_t count, TKVXColorTable* colors) {
    if (!colors || count == 0) return;
    KVXGradientTable(fw::ColorToRGB(startColor), fw::ColorToRGB(endColor), count, *colors);
}

HPALETTE KVXMakeGradientPalette(const TKVXColorTable* colors) {
    if (!colors || colors->empty()) return nullptr;
    const size_t n = std::min<size_t>(colors->size(), 256);
    std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(n);
    for (size_t i = 0; i < n; ++i) {
        const TColor c = (*colors)[i];
        lp->palPalEntry[i] = {static_cast<BYTE>(fw::GetRValue(c)), static_cast<BYTE>(fw::GetGValue(c)),
                              static_cast<BYTE>(fw::GetBValue(c)), PC_NOCOLLAPSE};
    }
    return CreatePalette(lp);
}

void KVXDrawGradient(fw::TCanvas* canvas, const TRect& rect, TKVXGradientStyle style, const TKVXColorTable* colors,
                     HPALETTE palette, uint16_t flags, int32_t clipOffset) {
    if (!colors || colors->empty() || fw::IsRectEmpty(rect)) return;
    const bool realize = palette && KVXPaletteWanted(flags);
    const bool offscreen = (flags & kpfOffscreen) != 0;
    HDC dc = canvas->Handle();
    std::unique_ptr<fw::TBitmap> bitmap;
    HDC target = dc;
    TPoint origin = rect.TopLeft();
    if (offscreen) {
        bitmap = std::make_unique<fw::TBitmap>();
        bitmap->SetSize(rect.Width(), rect.Height());
        target = bitmap->Canvas()->Handle();
        origin = {0, 0};
    }
    {
        TDCState state(target);
        TGdiObject<HRGN> region;
        if (!offscreen && (flags & kpfClip)) {
            const RECT clip = ToRECT(KVXClipOffsetRect(rect, clipOffset));
            region.Reset(CreateRectRgnIndirect(&clip));
            SelectClipRgn(target, region.Get());
        }
        if (realize) {
            SelectPalette(target, palette, FALSE);
            RealizePalette(target);
        }
        SelectObject(target, GetStockObject(NULL_PEN));
        for (const TKVXGradientFigure& f :
             KVXGradientFigures(style, rect.Width(), rect.Height(), static_cast<int>(colors->size()), origin)) {
            const TColor c = (*colors)[static_cast<size_t>(f.colorIndex)];
            COLORREF ref = RGB(fw::GetRValue(c), fw::GetGValue(c), fw::GetBValue(c));
            if (realize) ref |= kPaletteRelative;
            TGdiObject<HBRUSH> brush(CreateSolidBrush(ref));
            const RECT r = ToRECT(f.rect);
            if (f.kind == TKVXFigureKind::Fill) {
                FillRect(target, &r, brush.Get());
                continue;
            }
            HGDIOBJ old = SelectObject(target, brush.Get());
            if (f.kind == TKVXFigureKind::Rectangle)
                Rectangle(target, r.left, r.top, r.right, r.bottom);
            else
                Ellipse(target, r.left, r.top, r.right, r.bottom);
            SelectObject(target, old);
        }
    }
    if (realize) {
        SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    if (bitmap) canvas->Draw(rect.Left, rect.Top, bitmap.get());
}

void KVXFillGradient(fw::TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor, uint8_t count,
                     TKVXGradientStyle style, uint16_t flags, int32_t clipOffset) {
    TKVXColorTable colors;
    KVXMakeGradientColors(startColor, endColor, count, &colors);
    TGdiObject<HPALETTE> palette((flags & kpfPalette) ? KVXMakeGradientPalette(&colors) : nullptr);
    struct Release {
        fw::TCanvas* canvas;
        HPALETTE palette;
        ~Release() {
            // The palette stays selected after painting; put the default back before it goes.
            if (palette) SelectPalette(canvas->Handle(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        }
    } release{canvas, palette.Get()};
    KVXDrawGradient(canvas, rect, style, &colors, palette.Get(), flags, clipOffset);
}

}  // namespace kvx::win32
