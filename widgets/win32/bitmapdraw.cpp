#include "widgets/win32/bitmapdraw.h"

#include <vector>

#include "widgets/placement.h"
#include "widgets/win32/dcstate.h"

namespace kvx::win32 {

namespace {

constexpr DWORD kRopDSPDxax = 0x00E20746;  // where the source is white the brush, elsewhere the destination
constexpr DWORD kRopPatAnd = 0x00A000C9;   // destination AND pattern

void StretchCopy(HDC dest, const TRect& d, HDC src, const TRect& s, DWORD rop) {
    StretchBlt(dest, d.Left, d.Top, d.Width(), d.Height(), src, s.Left, s.Top, s.Width(), s.Height(), rop);
}

template <class F>
void EachCell(const TKVXPlacement& p, F draw) {
    for (int row = 0; row < p.rows; ++row)
        for (int column = 0; column < p.columns; ++column) draw(p.Tile(column, row));
}

// The mask ANDed in (its white keeps the destination), then the picture ORed over the black holes.
void MaskedCopy(HDC dc, const TKVXPlacement& p, HDC maskDC, const TRect& maskRect, HDC imageDC, const TRect& imageRect) {
    TDCState state(dc);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    EachCell(p, [&](const TRect& cell) {
        StretchCopy(dc, cell, maskDC, maskRect, SRCAND);
        StretchCopy(dc, cell, imageDC, imageRect, SRCPAINT);
    });
}

HPALETTE DuplicatePalette(HPALETTE palette) {
    WORD count = 0;
    if (!palette || GetObjectA(palette, sizeof(count), &count) == 0 || count == 0) return nullptr;
    std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = count;
    GetPaletteEntries(palette, 0, count, lp->palPalEntry);
    return CreatePalette(lp);
}

template <class F>
void UnderClip(fw::TCanvas* canvas, const TRect& destRect, uint16_t flags, int32_t clipOffset, F draw) {
    if (!(flags & kpfClip)) {
        draw();
        return;
    }
    HDC dc = canvas->Handle();
    const RECT clip = ToRECT(KVXClipOffsetRect(destRect, clipOffset));
    HRGN region = CreateRectRgnIndirect(&clip);
    SelectClipRgn(dc, region);
    struct Release {
        HDC dc;
        HRGN region;
        ~Release() {
            if (DeleteObject(region)) SelectClipRgn(dc, nullptr);
        }
    } release{dc, region};
    draw();
}

std::vector<TColor> PixelsOf(fw::TBitmap* bitmap) {
    const fw::BmpImage image = bitmap->ToImage();
    std::vector<TColor> out;
    out.reserve(image.pixels.size());
    for (uint32_t p : image.pixels) out.push_back(fw::RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return out;
}

}  // namespace

void KVXPlaceImage(fw::TCanvas* destCanvas, const TRect& destRect, fw::TCanvas* sourceCanvas, const TRect& sourceRect,
                   uint16_t flags, TColor color, HPALETTE palette, fw::TPersistent* extra, TRect& paintedRect) {
    paintedRect = {};
    if (!destCanvas || fw::IsRectEmpty(destRect)) return;
    const TKVXPlacement p = KVXPlacement(destRect, sourceRect.Width(), sourceRect.Height(), flags);
    HDC dc = destCanvas->Handle();
    if (flags & kpfStretch) SetStretchBltMode(dc, COLORONCOLOR);
    paintedRect = p.painted;
    if (p.columns == 0) return;
    auto* extraBitmap = dynamic_cast<fw::TBitmap*>(extra);
    auto* extraCanvas = dynamic_cast<fw::TCanvas*>(extra);
    if ((flags & kpfBrushCopy) && extraBitmap) {
        destCanvas->Brush()->SetColor(color);
        const TColor transparent = extraBitmap->TransparentColor();
        EachCell(p, [&](const TRect& cell) { destCanvas->BrushCopy(cell, extraBitmap, sourceRect, transparent); });
        return;
    }
    if (!sourceCanvas) return;
    if ((flags & kpfGivenMask) && extraCanvas) {
        MaskedCopy(dc, p, extraCanvas->Handle(), sourceRect, sourceCanvas->Handle(), sourceRect);
        return;
    }
    if (flags & kpfColorMask) {
        fw::TBitmap mask, image;
        if (palette) image.SetPalette(DuplicatePalette(palette));
        KVXMakeMaskPair(sourceCanvas, sourceRect, &mask, &image, color);
        const TRect area{0, 0, sourceRect.Width(), sourceRect.Height()};
        MaskedCopy(dc, p, mask.Canvas()->Handle(), area, image.Canvas()->Handle(), area);
        return;
    }
    EachCell(p, [&](const TRect& cell) { destCanvas->CopyRect(cell, sourceCanvas, sourceRect); });
}

void KVXDrawBitmap(fw::TCanvas* canvas, const TRect& destRect, fw::TBitmap* bitmap, uint16_t flags, TColor color,
                   TRect& paintedRect) {
    paintedRect = {};
    if (!canvas || !bitmap || bitmap->Empty()) return;
    HPALETTE palette = nullptr;
    if (KVXPaletteWanted(flags) && bitmap->Palette()) {
        HDC dc = canvas->Handle();
        SelectPalette(dc, bitmap->Palette(), FALSE);
        RealizePalette(dc);
        if (!(flags & kpfBrushCopy)) palette = bitmap->Palette();
    }
    const TRect source{0, 0, bitmap->Width(), bitmap->Height()};
    if (flags & kpfBrushCopy)
        KVXPlaceImage(canvas, destRect, nullptr, source, flags, color, nullptr, bitmap, paintedRect);
    else
        KVXPlaceImage(canvas, destRect, bitmap->Canvas(), source, flags, color, palette, nullptr, paintedRect);
}

void KVXDrawBitmapClipped(fw::TCanvas* canvas, const TRect& destRect, fw::TBitmap* bitmap, uint16_t flags,
                          int32_t clipOffset, TColor color) {
    if (!canvas) return;
    TRect painted;
    UnderClip(canvas, destRect, flags, clipOffset, [&] { KVXDrawBitmap(canvas, destRect, bitmap, flags, color, painted); });
}

void KVXDrawCanvasClipped(fw::TCanvas* destCanvas, const TRect& destRect, fw::TCanvas* sourceCanvas,
                          const TRect& sourceRect, uint16_t flags, int32_t clipOffset, TColor color, fw::TBitmap* bitmap) {
    if (!destCanvas) return;
    // The bitmap is the brush-copy source, or the mask whose canvas a given mask reads.
    fw::TPersistent* extra = nullptr;
    if (bitmap) extra = (flags & kpfBrushCopy) ? static_cast<fw::TPersistent*>(bitmap) : bitmap->Canvas();
    TRect painted;
    UnderClip(destCanvas, destRect, flags, clipOffset, [&] {
        KVXPlaceImage(destCanvas, destRect, sourceCanvas, sourceRect, flags, color, nullptr, extra, painted);
    });
}

void KVXMakeMaskPair(fw::TCanvas* sourceCanvas, const TRect& sourceRect, fw::TBitmap* mask, fw::TBitmap* image,
                     TColor transparentColor) {
    if (!sourceCanvas || !mask || !image) return;
    const TColor rgb = fw::ColorToRGB(transparentColor);
    const int w = sourceRect.Width(), h = sourceRect.Height();
    const TRect area{0, 0, w, h};
    image->SetSize(w, h);
    BitBlt(image->Canvas()->Handle(), 0, 0, w, h, sourceCanvas->Handle(), sourceRect.Left, sourceRect.Top, SRCCOPY);
    mask->SetSize(w, h);
    mask->Canvas()->CopyRect(area, sourceCanvas, sourceRect);
    mask->Mask(rgb);
    // The mask's white (transparent) pixels turn the image's pixels black.
    HDC dc = image->Canvas()->Handle();
    TDCState state(dc);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 255, 255));
    BitBlt(dc, 0, 0, w, h, mask->Canvas()->Handle(), 0, 0, SRCAND);
}

void KVXMakeBitmapMask(fw::TBitmap* source, fw::TBitmap* mask, fw::TBitmap* image, TColor transparentColor) {
    if (!source) return;
    KVXMakeMaskPair(source->Canvas(), {0, 0, source->Width(), source->Height()}, mask, image, transparentColor);
}

void KVXFillBitmap(fw::TBitmap* bitmap, const TRect& rect, TColor color) {
    if (!bitmap || fw::IsRectEmpty(rect)) return;
    bitmap->SetSize(rect.Width(), rect.Height());
    fw::TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect({0, 0, rect.Width(), rect.Height()});
}

void KVXGrabScreen(fw::TBitmap* bitmap, const TRect& rect) {
    if (!bitmap || fw::IsRectEmpty(rect)) return;
    bitmap->SetSize(rect.Width(), rect.Height());
    TScreenDC screen;
    BitBlt(bitmap->Canvas()->Handle(), 0, 0, rect.Width(), rect.Height(), screen.Get(), rect.Left, rect.Top, SRCCOPY);
}

void KVXIconToBitmap(fw::TBitmap* bitmap, fw::TIcon* icon, TColor backColor) {
    if (!bitmap || !icon || icon->Empty()) return;
    KVXFillBitmap(bitmap, {0, 0, icon->Width(), icon->Height()}, backColor);
    bitmap->Canvas()->Draw(0, 0, icon);
}

void KVXMakeDisabledBitmap(fw::TBitmap* target, fw::TBitmap* glyph, int x, int y) {
    if (!target || !glyph || glyph->Empty()) return;
    const int w = glyph->Width(), h = glyph->Height();
    // The monochrome copy: white where the glyph is black (the conversion's background colour).
    TGdiObject<HBITMAP> mono(CreateBitmap(w, h, 1, 1, nullptr));
    HDC monoDC = CreateCompatibleDC(nullptr);
    HGDIOBJ oldMono = SelectObject(monoDC, mono.Get());
    struct Release {
        HDC dc;
        HGDIOBJ old;
        ~Release() {
            SelectObject(dc, old);
            DeleteDC(dc);
        }
    } release{monoDC, oldMono};
    {
        HDC g = glyph->Canvas()->Handle();
        TDCState state(g);
        SetBkColor(g, RGB(0, 0, 0));
        BitBlt(monoDC, 0, 0, w, h, g, 0, 0, SRCCOPY);
    }
    if (target->Empty()) target->SetSize(w, h);
    KVXFillBitmap(target, {0, 0, target->Width(), target->Height()}, glyph->TransparentColor());
    HDC t = target->Canvas()->Handle();
    TDCState state(t);
    SetTextColor(t, RGB(0, 0, 0));
    SetBkColor(t, RGB(255, 255, 255));
    TGdiObject<HBRUSH> light(CreateSolidBrush(static_cast<COLORREF>(fw::ColorToRGB(fw::clBtnHighlight))));
    TGdiObject<HBRUSH> dark(CreateSolidBrush(static_cast<COLORREF>(fw::ColorToRGB(fw::clBtnShadow))));
    HGDIOBJ oldBrush = SelectObject(t, light.Get());
    BitBlt(t, x + 1, y + 1, w, h, monoDC, 0, 0, kRopDSPDxax);
    SelectObject(t, dark.Get());
    BitBlt(t, x, y, w, h, monoDC, 0, 0, kRopDSPDxax);
    SelectObject(t, oldBrush);
}

void KVXMakeShadedBitmap(fw::TBitmap* target, fw::TBitmap* source) {
    if (!target || !source) return;
    target->Assign(source);
    if (source->Empty()) return;
    const int w = source->Width(), h = source->Height();
    const std::vector<TColor> before = PixelsOf(source);
    const std::vector<TColor> after =
        KVXShadePixels(before, w, h, fw::clWhite, fw::ColorToRGB(fw::clBtnHighlight), fw::ColorToRGB(fw::clBtnShadow), fw::clBlack);
    fw::TCanvas* canvas = target->Canvas();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            if (after[i] != before[i]) canvas->SetPixels(x, y, after[i]);
        }
}

void KVXDrawBitmapThroughMask(fw::TCanvas* destCanvas, const TRect& destRect, fw::TBitmap* overlay, fw::TBitmap* base,
                              TColor overlayTransparent, TColor baseTransparent) {
    if (!destCanvas || !overlay || !base) return;
    const TColor overlayRGB = fw::ColorToRGB(overlayTransparent);
    const TColor baseRGB = fw::ColorToRGB(baseTransparent);
    const TRect s{0, 0, base->Width(), base->Height()};
    fw::TBitmap work;
    KVXMakeBitmapMask(overlay, overlay, &work, overlayRGB);
    TRect painted;
    KVXPlaceImage(base->Canvas(), s, work.Canvas(), s, kpfGivenMask, 0, nullptr, overlay->Canvas(), painted);
    KVXPlaceImage(destCanvas, destRect, base->Canvas(), s, kpfColorMask | kpfPalette, baseRGB, nullptr, nullptr, painted);
}

void KVXPatternAnd(HDC dc, const TRect& rect, fw::TBitmap* pattern) {
    if (!dc || !pattern || pattern->Empty()) return;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    TGdiObject<HBRUSH> brush(CreatePatternBrush(pattern->Handle()));
    SelectObject(dc, brush.Get());
    PatBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), kRopPatAnd);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

}  // namespace kvx::win32
