// Window routines for forms and dialogs: centring on the screen, the reference rectangle a dialog is
// placed by, placing a window at one of nine positions of it, and the explode effects that draw a
// growing outline on the screen before a window is shown.
#pragma once

#include <vector>

#include "framework/win32/controls.h"
#include "widgets/drawtypes.h"

namespace kvx::win32 {

// Centres the control on the whole primary screen (not the work area); nothing for null.
void KVXCenterOnScreen(fw::TControl* control);
// The screen, the work area, the main form's bounds or the active form's bounds. Without a main or
// active form, the screen.
void KVXReferenceRect(TKVXDlgPosRel posRel, TRect& rect);
// Moves the window (size and Z order kept, not activated) to Position of RefRect, kept on the screen.
void KVXPlaceWindow(HWND handle, const TRect& refRect, TKVXDlgPosition position);

// Focus rectangles (an XOR outline) on the screen's DC, each after a pause; drawing the same list
// twice leaves the screen as it was.
void KVXDrawOutlines(const std::vector<TRect>& rects, int delay);

// Two passes of outlines growing from (X, Y) (the mouse cursor when X < 0) into the control's window:
// the first leaves them on the screen, the second erases them. The window is neither moved nor shown.
void KVXExplodeEffect(fw::TWinControl* control, int x, int y, int steps, int delay);
// 40 outlines from the mouse cursor, with the application object's DlgEffectDelay.
void KVXExplode(fw::TWinControl* control);
// With Fly, a small outline travels to the point below the window's middle first, then grows.
void KVXExplodeExtEffect(fw::TWinControl* control, int x, int y, int steps, int startWidth, int startHeight, int delay,
                         bool fly);
void KVXExplodeExt(fw::TWinControl* control);

}  // namespace kvx::win32
