// Helpers of the button tests: a form whose client area is painted into a bitmap, and mouse messages
// sent the way Windows delivers them.
#pragma once

#include <string>

#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "testing/test_env.h"

namespace uis::test {

// The client area of `window`'s control as the control paints it (background, then children).
inline void Snapshot(fw::TWinControl* control, fw::TBitmap& into) {
    into.SetPixelFormat(fw::TPixelFormat::pf24bit);
    into.SetSize(control->ClientWidth(), control->ClientHeight());
    HDC dc = into.Canvas()->Handle();
    control->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

inline LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))); }

inline void Mouse(HWND window, UINT msg, int x, int y, WPARAM keys = 0) { SendMessageA(window, msg, keys, At(x, y)); }

inline void Pump(int milliseconds = 0) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        fw::Application->ProcessMessages();
        Sleep(1);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// A scratch folder as this process and a Unix shell both name it.
struct CaseDir {
    std::string win, unix;
};
inline CaseDir NewCaseDir() {
    CaseDir d;
    d.win = mx::test::FreshDir();
    d.unix = mx::test::UnixPathOf(d.win);
    return d;
}

}  // namespace uis::test
