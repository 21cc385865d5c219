// Pieces the monitor's source files share.
#pragma once

#include <string>

#include "framework/win32/winapi.h"

namespace fw {
class TForm;
class TMenuItem;
}  // namespace fw

namespace uis::helpmsg {

// What the monitor's own registered message asks of its window (wParam).
// F1Wait and F1Check are two hops through the queue after an F1 press: a help message the system makes
// of the key (posted while the key is dispatched) comes first, and F1Check serves F1 when none came.
enum class Action : WPARAM { FollowActiveForm = 1, ShowHelp = 2, F1Wait = 3, F1Check = 4 };

// The window's class name.
std::string ClassNameOf(HWND window);
// The menu item of one of the program's menus whose drop-down is `menu`, or null.
fw::TMenuItem* FindItemOfMenu(HMENU menu);
// A menu of the program's own (a main or popup menu component) contains `menu`.
bool IsComponentMenu(HMENU menu);
// The form asks for the MDI frame style. The framework makes no MDI client window, so no window list
// or child system menu ever shows: the monitor's MDI rules are written but never reached.
bool IsMdiFrame(const fw::TForm* form);

}  // namespace uis::helpmsg
