// A memory DC holding a bitmap of its own, both freed when it goes: the scratch surfaces of the masked
// and embossed drawing.
#pragma once

#include "framework/win32/winapi.h"

namespace uis {

class TMemorySurface {
public:
    // A monochrome surface, or one compatible with `like` (null: the screen).
    TMemorySurface(HDC like, int width, int height, bool monochrome)
        : dc_(CreateCompatibleDC(like)),
          bitmap_(monochrome ? CreateBitmap(width, height, 1, 1, nullptr) : CreateScreenCompatible(like, width, height)) {
        old_ = SelectObject(dc_, bitmap_);
    }
    ~TMemorySurface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    TMemorySurface(const TMemorySurface&) = delete;
    TMemorySurface& operator=(const TMemorySurface&) = delete;
    HDC DC() const { return dc_; }

private:
    static HBITMAP CreateScreenCompatible(HDC like, int width, int height) {
        if (like) return CreateCompatibleBitmap(like, width, height);
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        return bitmap;
    }

    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

}  // namespace uis
