// TControlCanvas: a canvas that draws on a control outside WM_PAINT. It takes a DC of the control's
// window when first drawn on; for a windowless control, a DC of the parent's window with the origin at
// the control's top-left and clipped to it. FreeHandle gives the DC back. Such DCs come from the
// system's cache, so at most a few are held at once: taking another gives back the oldest.
#pragma once

#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"

namespace fw {

class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;

    TControl* Control() const { return control_; }
    void SetControl(TControl* control);
    // Gives back a DC the canvas took itself (a DC set with SetHandle stays the caller's).
    void FreeHandle();
    // Right-to-left reading is never used; kept for the painting code that calls it.
    void UpdateTextFlags() {}
    // The window whose DC the canvas took itself, or null.
    HWND HeldWindow() const { return ownDC_ ? ownWindow_ : nullptr; }

protected:
    void CreateHandle() override;

private:
    TControl* control_ = nullptr;
    HDC ownDC_ = nullptr;
    HWND ownWindow_ = nullptr;
};

// Gives back every DC that control canvases hold on `window` (before the window is destroyed).
void FreeControlCanvasDCs(HWND window);

}  // namespace fw
