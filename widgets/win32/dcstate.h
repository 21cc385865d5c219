// Raw drawing on a canvas's DC without upsetting the canvas: the DC's state (selected objects, colours,
// modes, clipping, character spacing) is saved on entry and restored on exit, so the canvas finds its
// tools selected exactly as it left them.
#pragma once

#include "framework/win32/graphics.h"
#include "framework/win32/winapi.h"
#include "widgets/drawtypes.h"

namespace kvx::win32 {

class TDCState {
public:
    explicit TDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    explicit TDCState(fw::TCanvas* canvas) : TDCState(canvas->Handle()) {}
    ~TDCState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    TDCState(const TDCState&) = delete;
    TDCState& operator=(const TDCState&) = delete;

    HDC DC() const { return dc_; }

private:
    HDC dc_;
    int saved_;
};

// A GDI object deleted on scope exit.
template <class H>
class TGdiObject {
public:
    explicit TGdiObject(H handle = nullptr) : handle_(handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    H Get() const { return handle_; }
    void Reset(H handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    H handle_;
};

// The screen DC, released on scope exit.
class TScreenDC {
public:
    TScreenDC() : dc_(GetDC(nullptr)) {}
    ~TScreenDC() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

inline RECT ToRECT(const fw::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
inline fw::TRect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The system's edge drawing on Rect, which it adjusts when the flags ask for it.
inline void KVXEdge(HDC dc, fw::TRect& rect, UINT edge, UINT flags) {
    RECT rc = ToRECT(rect);
    DrawEdge(dc, &rc, edge, flags);
    rect = FromRECT(rc);
}

// The canvas's pen and brush set up for plain lines and fills.
inline void KVXSolidPen(fw::TCanvas* canvas, fw::TColor color, int width = 1) {
    canvas->Pen()->SetStyle(fw::TPenStyle::psSolid);
    canvas->Pen()->SetWidth(width);
    canvas->Pen()->SetColor(color);
}
inline void KVXSolidBrush(fw::TCanvas* canvas, fw::TColor color) {
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(color);
}

// The clipping region a clip offset names: Rect moved by the low word horizontally and the high word
// vertically, both read as unsigned 16-bit numbers (no move for an offset of 0).
fw::TRect KVXClipOffsetRect(const fw::TRect& rect, int32_t clipOffset);

// True when a palette should be selected and realized for Flags: the palette bit is set, unless the
// application asks to realize palettes automatically (aoAutoRealizePalette) on a display of fewer than
// 9 bits per pixel.
bool KVXPaletteWanted(uint16_t flags);

}  // namespace kvx::win32
