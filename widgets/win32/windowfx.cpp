#include "widgets/win32/windowfx.h"

#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/screen.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/dcstate.h"
#include "widgets/windowplace.h"

namespace kvx::win32 {

namespace {

TRect ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

int DialogDelay() { return KVXApplication ? KVXApplication->DlgEffectDelay : 3; }

// The start point, the window's rectangle and the pass; false when there is no window.
bool EffectStart(fw::TWinControl* control, int& x, int& y, TRect& target) {
    if (!control) return false;
    if (x < 0) {
        POINT p{};
        GetCursorPos(&p);
        x = p.x;
        y = p.y;
    }
    RECT r{};
    if (!GetWindowRect(control->Handle(), &r)) return false;
    target = FromRECT(r);
    return true;
}

void TwoPasses(const std::vector<TRect>& rects, int delay) {
    KVXDrawOutlines(rects, delay);
    KVXDrawOutlines(rects, delay);
}

}  // namespace

void KVXCenterOnScreen(fw::TControl* control) {
    if (!control) return;
    const TRect screen = ScreenRect();
    control->SetBounds((screen.Width() - control->Width()) / 2, (screen.Height() - control->Height()) / 2,
                       control->Width(), control->Height());
}

void KVXReferenceRect(TKVXDlgPosRel posRel, TRect& rect) {
    rect = ScreenRect();
    switch (posRel) {
        case TKVXDlgPosRel::brScreen: break;
        case TKVXDlgPosRel::brScreenWorkArea: {
            RECT work{};
            if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) rect = FromRECT(work);
            break;
        }
        case TKVXDlgPosRel::brMainForm:
            if (fw::Application && fw::Application->MainForm()) rect = fw::Application->MainForm()->BoundsRect();
            break;
        case TKVXDlgPosRel::brActiveWindow:
            if (fw::Screen && fw::Screen->ActiveForm()) rect = fw::Screen->ActiveForm()->BoundsRect();
            break;
    }
}

void KVXPlaceWindow(HWND handle, const TRect& refRect, TKVXDlgPosition position) {
    RECT r{};
    if (!GetWindowRect(handle, &r)) return;
    const TPoint at = KVXPlacePosition(r.right - r.left, r.bottom - r.top, refRect, position,
                                       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(handle, nullptr, at.X, at.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KVXDrawOutlines(const std::vector<TRect>& rects, int delay) {
    TScreenDC screen;
    if (!screen.Get()) return;
    for (const TRect& r : rects) {
        KVXEffectPause(delay);
        const RECT rc = ToRECT(r);
        DrawFocusRect(screen.Get(), &rc);
    }
}

void KVXExplodeEffect(fw::TWinControl* control, int x, int y, int steps, int delay) {
    TRect target;
    if (!EffectStart(control, x, y, target)) return;
    TwoPasses(KVXExplodeRects(x, y, steps, target), KVXEffectDelay(delay));
}

void KVXExplode(fw::TWinControl* control) { KVXExplodeEffect(control, -1, 0, 40, DialogDelay()); }

void KVXExplodeExtEffect(fw::TWinControl* control, int x, int y, int steps, int startWidth, int startHeight, int delay,
                         bool fly) {
    TRect target;
    if (!EffectStart(control, x, y, target)) return;
    TwoPasses(KVXExplodeExtRects(x, y, steps, startWidth, startHeight, fly, target), KVXEffectDelay(delay));
}

void KVXExplodeExt(fw::TWinControl* control) { KVXExplodeExtEffect(control, -1, 0, 40, 20, 10, DialogDelay(), true); }

}  // namespace kvx::win32
