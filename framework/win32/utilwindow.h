// Hidden utility windows that route their messages to a method: the wake-up target of Synchronize,
// the window behind TTimer, and the receivers of shell callbacks (the tray icon) and broadcasts.
//
//   HWND wnd = fw::AllocateHWnd([this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
//       if (msg == WM_USER + 101) { OnIconMessage(l); return 0; }
//       return DefWindowProcA(h, msg, w, l);
//   });
//   ...
//   fw::DeallocateHWnd(wnd);
//
// The windows are top-level (a hidden popup), not message-only: HWND_BROADCAST messages and shell
// notifications only reach top-level windows. The method runs inside the callback barrier, so an
// exception it raises goes to the application's handler and the message gets the result 0.
#pragma once

#include <functional>

#include "framework/win32/winapi.h"

namespace fw {

using TWndMethod = std::function<LRESULT(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)>;

// A new hidden window of the calling thread; an empty method gives the default procedure. Raises
// EOutOfResources when the system refuses the window.
HWND AllocateHWnd(TWndMethod method);
// Destroys a window made by AllocateHWnd; null is ignored. Safe from inside the window's own method.
void DeallocateHWnd(HWND wnd);

}  // namespace fw
