#include "uisupport/win32/bitmaprtns.h"

#include <algorithm>

#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"
#include "uisupport/win32/memsurface.h"

namespace uis {

void PaintParentImage(fw::TControl* control, fw::TCanvas* canvas) {
    if (control && canvas) fw::PaintControlBackground(control, canvas->Handle());
}

void DrawMaskedBitmapRect(fw::TCanvas* canvas, int x, int y, fw::TColor transparentColor, fw::TBitmap* bitmap,
                          const fw::TRect& source, int width, int height) {
    if (!canvas || !bitmap || bitmap->Empty()) return;
    const fw::TRect src = fw::IsRectEmpty(source) ? fw::Rect(0, 0, bitmap->Width(), bitmap->Height()) : source;
    const int sw = src.Width(), sh = src.Height();
    const int dw = width && height ? width : sw;
    const int dh = width && height ? height : sh;
    HDC target = canvas->Handle();
    // The bitmap's own canvas: a bitmap can be selected into one DC only.
    HDC image = bitmap->Canvas()->Handle();
    if (transparentColor == fw::clNone) {
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, x, y, dw, dh, image, src.Left, src.Top, sw, sh, SRCCOPY);
        return;
    }
    fw::TColor color = transparentColor & ~0x02000000;
    COLORREF key = color == fw::clDefault ? GetPixel(image, 0, bitmap->Height() - 1)
                                          : static_cast<COLORREF>(fw::ColorToRGB(color));
    {
        // The mask: 1 where the source has the key colour.
        TMemorySurface mask(target, sw, sh, true);
        const COLORREF oldBack = SetBkColor(image, key);
        BitBlt(mask.DC(), 0, 0, sw, sh, image, src.Left, src.Top, SRCCOPY);
        SetBkColor(image, oldBack);
        // The source part with its transparent pixels made black.
        TMemorySurface part(target, sw, sh, false);
        BitBlt(part.DC(), 0, 0, sw, sh, image, src.Left, src.Top, SRCCOPY);
        SetTextColor(part.DC(), RGB(255, 255, 255));
        SetBkColor(part.DC(), RGB(0, 0, 0));
        BitBlt(part.DC(), 0, 0, sw, sh, mask.DC(), 0, 0, SRCAND);
        // The destination area with the opaque pixels made black, then the source ORed in.
        const int ww = std::max(sw, dw), wh = std::max(sh, dh);
        TMemorySurface work(target, ww, wh, false);
        BitBlt(work.DC(), 0, 0, ww, wh, target, x, y, SRCCOPY);
        SetTextColor(work.DC(), RGB(0, 0, 0));
        SetBkColor(work.DC(), RGB(255, 255, 255));
        SetStretchBltMode(work.DC(), COLORONCOLOR);
        StretchBlt(work.DC(), 0, 0, dw, dh, mask.DC(), 0, 0, sw, sh, SRCAND);
        StretchBlt(work.DC(), 0, 0, dw, dh, part.DC(), 0, 0, sw, sh, SRCPAINT);
        BitBlt(target, x, y, dw, dh, work.DC(), 0, 0, SRCCOPY);
    }
}

void DrawMaskedBitmap(fw::TCanvas* canvas, int x, int y, fw::TColor transparentColor, fw::TBitmap* bitmap) {
    DrawMaskedBitmapRect(canvas, x, y, transparentColor, bitmap, fw::TRect{}, 0, 0);
}

}  // namespace uis
