#include "installer/controls/win32/kyvguiutils.h"

#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/win32/controls.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/screen.h"

namespace inst {

namespace {

// A memory DC with a bitmap of its own selected, released in reverse order.
class Surface {
public:
    // Monochrome, or compatible with `like`.
    Surface(HDC like, int width, int height, bool monochrome) {
        dc_ = CreateCompatibleDC(like);
        bitmap_ = monochrome ? CreateBitmap(width, height, 1, 1, nullptr) : CreateCompatibleBitmap(like, width, height);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Surface() {
        if (oldPalette_) SelectPalette(dc_, oldPalette_, FALSE);
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC DC() const { return dc_; }
    void UsePalette(HPALETTE palette) {
        if (!palette) return;
        oldPalette_ = SelectPalette(dc_, palette, FALSE);
        RealizePalette(dc_);
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    HPALETTE oldPalette_ = nullptr;
};

}  // namespace

COLORREF PaletteColor(fw::TColor color) { return static_cast<COLORREF>(fw::ColorToRGB(color)) | 0x02000000; }

void TransparentStretchBlt(HDC dest, int dx, int dy, int dw, int dh, HDC source, int sx, int sy, int sw, int sh,
                           fw::TColor transparentColor, HPALETTE palette) {
    Surface mask(dest, sw, sh, true);
    Surface inverse(dest, sw, sh, true);
    Surface result(dest, dw, dh, false);
    Surface copy(dest, sw, sh, false);
    HPALETTE oldDestPalette = nullptr;
    if (palette) {
        oldDestPalette = SelectPalette(dest, palette, FALSE);
        RealizePalette(dest);
        copy.UsePalette(palette);
        mask.UsePalette(palette);
        result.UsePalette(palette);
    }
    SetMapMode(source, GetMapMode(dest));

    // The mask is white where the source has the transparent colour; the inverse mask black there.
    BitBlt(copy.DC(), 0, 0, sw, sh, source, sx, sy, SRCCOPY);
    const COLORREF oldBack = SetBkColor(copy.DC(), PaletteColor(transparentColor));
    BitBlt(mask.DC(), 0, 0, sw, sh, copy.DC(), 0, 0, SRCCOPY);
    SetBkColor(copy.DC(), oldBack);
    BitBlt(inverse.DC(), 0, 0, sw, sh, mask.DC(), 0, 0, NOTSRCCOPY);

    // Destination with the opaque pixels cleared, OR the source with its transparent pixels cleared.
    BitBlt(result.DC(), 0, 0, dw, dh, dest, dx, dy, SRCCOPY);
    StretchBlt(result.DC(), 0, 0, dw, dh, mask.DC(), 0, 0, sw, sh, SRCAND);
    BitBlt(copy.DC(), 0, 0, sw, sh, inverse.DC(), 0, 0, SRCAND);
    StretchBlt(result.DC(), 0, 0, dw, dh, copy.DC(), 0, 0, sw, sh, SRCPAINT);
    BitBlt(dest, dx, dy, dw, dh, result.DC(), 0, 0, SRCCOPY);

    if (oldDestPalette) SelectPalette(dest, oldDestPalette, FALSE);
}

void DrawBitmapTransparent(fw::TCanvas* dest, fw::TBitmap* bitmap, fw::TColor transparentColor, int dx, int dy, int dw,
                           int dh, int sx, int sy, int sw, int sh) {
    if (!dest || !bitmap || bitmap->Empty()) return;
    if (dw < 1 || dh < 1) {
        dw = bitmap->Width();
        dh = bitmap->Height();
    }
    if (sw < 1 || sh < 1) {
        sx = sy = 0;
        sw = bitmap->Width();
        sh = bitmap->Height();
    }
    HDC target = dest->Handle();
    const bool monochrome = bitmap->Monochrome();
    if (!monochrome) SetStretchBltMode(target, COLORONCOLOR);
    // The bitmap's canvas is held still and its change events kept away while it is read.
    fw::TCanvas* canvas = bitmap->Canvas();
    canvas->Lock();
    fw::TNotifyEvent saved = canvas->OnChange;
    canvas->OnChange = {};
    try {
        HDC image = canvas->Handle();
        if (transparentColor == fw::clNone) {
            StretchBlt(target, dx, dy, dw, dh, image, sx, sy, sw, sh, static_cast<DWORD>(dest->CopyMode()));
        } else {
            fw::TColor key = transparentColor;
            if (key == fw::clDefault) key = static_cast<fw::TColor>(GetPixel(image, 0, bitmap->Height() - 1));
            if (monochrome) key = fw::clWhite;
            TransparentStretchBlt(target, dx, dy, dw, dh, image, sx, sy, sw, sh, key, bitmap->Palette());
        }
    } catch (...) {
        canvas->OnChange = saved;
        canvas->Unlock();
        throw;
    }
    canvas->OnChange = saved;
    canvas->Unlock();
}

void DrawBitmapRectTransparent(fw::TCanvas* dest, int x, int y, const fw::TRect& source, fw::TBitmap* bitmap,
                               fw::TColor transparentColor, int dw, int dh) {
    DrawBitmapTransparent(dest, bitmap, transparentColor, x, y, dw, dh, source.Left, source.Top, source.Width(),
                          source.Height());
}

void ShowNotImplemented() {
    if (fw::Screen) fw::Screen->SetCursor(fw::crDefault);
    fw::MessageDlg("Function not yet implemented", fw::mtInformation, {fw::mbOK}, 0);
    fw::Abort();
}

void* AllocMemo(std::ptrdiff_t size) {
    if (size <= 0) return nullptr;
    return GlobalAlloc(GPTR, static_cast<SIZE_T>(size));
}

void FreeMemo(void*& block) {
    if (block) GlobalFree(block);
    block = nullptr;
}

bool CompareMem(const void* a, const void* b, std::size_t size) { return size == 0 || std::memcmp(a, b, size) == 0; }

void* OffsetPointer(void* p, std::ptrdiff_t offset) { return static_cast<char*>(p) + offset; }

void CopyMem(void* dest, const void* source, std::size_t size) {
    if (size) std::memmove(dest, source, size);
}

}  // namespace inst
