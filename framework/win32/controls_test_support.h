// Shared pieces of the control tests: a plain top-level host window, a windowless box that fills
// itself with a colour, a message pump, and pixel reads from a DIB section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/controlcanvas.h"
#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"

namespace fw::testing {

// A top-level popup (no frame: the client area is the window) that accepts children.
class THost : public TCustomControl {
public:
    explicit THost(TComponent* owner) : TCustomControl(owner) {
        controlStyle_ |= csAcceptsControls;
        SetColor(clWhite);
    }
    int paints = 0;

protected:
    void Paint() override { ++paints; }
};

// A windowless box that fills its client rectangle with Fill, or paints nothing when Fill is clNone.
class TBox : public TGraphicControl {
public:
    explicit TBox(TComponent* owner) : TGraphicControl(owner) {}
    TColor Fill = clNone;
    // Paints past its own rectangle, to show that the parent clips it.
    bool Overpaint = false;
    int paints = 0;
    void SetStyle(TControlStyle style) { controlStyle_ = style; }
    TControlStyle Style() const { return controlStyle_; }

protected:
    void Paint() override {
        ++paints;
        if (Fill == clNone) return;
        Canvas()->Brush()->SetColor(Fill);
        if (Overpaint)
            Canvas()->FillRect(Rect(-500, -500, 1000, 1000));
        else
            Canvas()->FillRect(ClientRect());
    }
};

inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A 32-bit top-down DIB section selected into a memory DC.
class DibSurface {
public:
    DibSurface(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~DibSurface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC DC() const { return dc_; }
    void Clear(TColor color) {
        GdiFlush();
        RECT r{0, 0, width_, height_};
        HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(color));
        FillRect(dc_, &r, b);
        DeleteObject(b);
    }
    // The pixel as a TColor (0x00BBGGRR).
    TColor Pixel(int x, int y) const {
        GdiFlush();
        const uint32_t v = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        return static_cast<TColor>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// The pixel of a window's client area, read from the window's DC.
inline TColor WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<TColor>(c);
}

inline THost* MakeHost(int left, int top, int width, int height) {
    auto* host = Make<THost>(nullptr);
    host->SetBounds(left, top, width, height);
    host->HandleNeeded();
    Pump();
    return host;
}

}  // namespace fw::testing
