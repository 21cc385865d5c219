// Tool bar menus: buttons that drop the sub-items of their MenuItem and move between each other the
// way a menu bar's menus do, by the mouse and by the keyboard.
//
// TrackPopupMenu runs its own loop, which the tool bar cannot see. While a menu is dropped, a
// WH_MSGFILTER hook on the thread watches the input of that loop (MSGF_MENU): a key or a mouse
// message that should open another button's menu is taken from the loop, the next button is noted
// and EndMenu closes the menu; TrackMenu then drops the next one. Which menu is innermost is read
// from the menu windows themselves (#32768, MN_GETHMENU) and their highlighted items, so sub-menus
// opened with the mouse or the keyboard count alike.
//
// The keyboard reaches the menus as it reaches a menu bar: Alt with a button's letter drops that
// button's menu (CM_DIALOGCHAR), and F10 or Alt alone on a form without a window menu (SC_KEYMENU,
// offered to the controls as CM_APPSYSCOMMAND) shows the first menu button hot. While one is hot, a
// small loop of the tool bar's own reads the keys, as the system's loop does for a menu bar.
#include <algorithm>
#include <vector>

#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_toolbar.h"

namespace fw {
namespace {

// What the hook needs while one tool bar tracks its menus.
struct MenuTracking {
    TToolBar* bar = nullptr;
    HMENU dropped = nullptr;       // the menu of the current button
    TToolButton* next = nullptr;   // the button whose menu opens once this one closed
    bool closeOnly = false;        // a click on the current button: close, open nothing
    bool escaped = false;          // Escape closed the first level: back to the bar's keyboard mode
    POINT mouse{};                 // where the mouse was last seen; a menu showing up may report a
                                   // "move" to the same place, which must not switch menus
};

MenuTracking* g_tracking = nullptr;

// The menus open now, as the visible menu windows of this thread report them.
std::vector<HMENU> OpenMenus() {
    std::vector<HMENU> menus;
    const DWORD thread = GetCurrentThreadId();
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == thread)
            menus.push_back(reinterpret_cast<HMENU>(SendMessageA(w, MN_GETHMENU, 0, 0)));
    return menus;
}

int HighlightedItem(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

// The innermost open menu: from the dropped one down through highlighted items whose sub-menus show.
HMENU InnermostMenu(HMENU dropped) {
    const std::vector<HMENU> open = OpenMenus();
    HMENU menu = dropped;
    for (int depth = 0; depth < 32; ++depth) {
        const int item = HighlightedItem(menu);
        HMENU sub = item >= 0 ? GetSubMenu(menu, item) : nullptr;
        if (!sub || std::find(open.begin(), open.end(), sub) == open.end()) break;
        menu = sub;
    }
    return menu;
}

// Left leaves the first level for the previous menu; Right on an item that opens no sub-menu goes to
// the next. Deeper levels keep both keys (Left closes a sub-menu, Right opens one).
TToolButton* KeyTarget(const MenuTracking& tracking, WPARAM key) {
    TToolButton* current = tracking.bar->MenuButton();
    if (!current) return nullptr;
    HMENU menu = InnermostMenu(tracking.dropped);
    if (key == VK_LEFT) return menu == tracking.dropped ? tracking.bar->NeighbourMenuButton(current, -1) : nullptr;
    const int item = HighlightedItem(menu);
    if (item >= 0 && GetSubMenu(menu, item)) return nullptr;
    return tracking.bar->NeighbourMenuButton(current, 1);
}

// The menu button of the tracking tool bar under a screen point, or null.
TToolButton* MenuButtonAt(const MenuTracking& tracking, POINT screen) {
    TToolBar* bar = tracking.bar;
    if (!bar->HandleAllocated() || !IsWindowVisible(bar->Handle())) return nullptr;
    const TPoint at = bar->ScreenToClient(Point(screen.x, screen.y));
    if (!PtInRect(bar->ClientRect(), at)) return nullptr;
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        TToolButton* button = bar->Buttons(i);
        if (button->MenuItem() && button->Visible() && button->Enabled() && PtInRect(button->BoundsRect(), at))
            return button;
    }
    return nullptr;
}

// True when the hook takes the message from the menu's loop.
bool FilterMenuMessage(MenuTracking& tracking, const MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                tracking.escaped = InnermostMenu(tracking.dropped) == tracking.dropped;
                return false;
            }
            if (msg.wParam != VK_LEFT && msg.wParam != VK_RIGHT) return false;
            tracking.next = KeyTarget(tracking, msg.wParam);
            if (!tracking.next || tracking.next == tracking.bar->MenuButton()) {
                tracking.next = nullptr;
                return false;
            }
            EndMenu();
            return true;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN: {
            if (msg.message == WM_MOUSEMOVE) {
                if (msg.pt.x == tracking.mouse.x && msg.pt.y == tracking.mouse.y) return false;
                tracking.mouse = msg.pt;
            }
            TToolButton* button = MenuButtonAt(tracking, msg.pt);
            if (!button) return false;
            if (button == tracking.bar->MenuButton()) {
                // A press on the dropped menu's own button closes it, as on a menu bar.
                if (msg.message != WM_LBUTTONDOWN) return false;
                tracking.closeOnly = true;
            } else {
                tracking.next = button;
            }
            EndMenu();
            return true;
        }
        default: return false;
    }
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        if (code == MSGF_MENU && g_tracking && lParam &&
            FilterMenuMessage(*g_tracking, *reinterpret_cast<const MSG*>(lParam)))
            return static_cast<LRESULT>(1);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    })
}

// Installs the hook for the length of one TrackMenu call.
class TrackingScope {
public:
    explicit TrackingScope(MenuTracking& tracking) : saved_(g_tracking) {
        g_tracking = &tracking;
        hook_ = SetWindowsHookExA(WH_MSGFILTER, &MenuFilterProc, nullptr, GetCurrentThreadId());
    }
    ~TrackingScope() {
        if (hook_) UnhookWindowsHookEx(hook_);
        g_tracking = saved_;
    }
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;

private:
    MenuTracking* saved_;
    HHOOK hook_ = nullptr;
};

bool IsMouseButtonDown(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN: return true;
        default: return false;
    }
}

}  // namespace

TToolButton* TToolBar::NeighbourMenuButton(TToolButton* from, int step) const {
    const int count = ButtonCount();
    auto it = std::find(buttons_.begin(), buttons_.end(), from);
    if (it == buttons_.end() || count == 0) return nullptr;
    int index = static_cast<int>(it - buttons_.begin());
    for (int i = 0; i < count; ++i) {
        index = (index + step + count) % count;
        TToolButton* button = buttons_[static_cast<size_t>(index)];
        if (button->MenuItem() && button->Visible() && button->Enabled()) return button;
    }
    return from;
}

bool TToolBar::TrackMenu(TToolButton* button) {
    if (!button || !button->MenuItem() || button->ToolBar() != this || menuButton_ || !HandleAllocated()) return false;
    DropMenus(button, false);
    return true;
}

TToolButton* TToolBar::DropMenus(TToolButton* button, bool fromKeyboard) {
    if (button->MenuItem()->Count() == 0) {
        button->MenuItem()->Click();
        return nullptr;
    }
    if (Application) Application->CancelHint();
    MenuTracking tracking;
    tracking.bar = this;
    unsigned command = 0;
    TToolButton* back = nullptr;
    {
        TrackingScope scope(tracking);
        TToolButton* current = button;
        while (current && !command) {
            TMenuItem* item = current->MenuItem();
            for (int i = 0; i < item->Count(); ++i) item->Items(i)->UpdateAction();
            menuButton_ = current;
            tracking.dropped = item->Handle();
            tracking.next = nullptr;
            tracking.closeOnly = false;
            tracking.escaped = false;
            GetCursorPos(&tracking.mouse);
            const WPARAM id = static_cast<WPARAM>(current->CommandId());
            SendMessageA(Handle(), TB_PRESSBUTTON, id, MAKELPARAM(TRUE, 0));
            // Below the button, never over it.
            const TPoint topLeft = ClientToScreen(Point(current->Left(), current->Top()));
            TPMPARAMS avoid{};
            avoid.cbSize = sizeof avoid;
            avoid.rcExclude = RECT{topLeft.X, topLeft.Y, topLeft.X + current->Width(), topLeft.Y + current->Height()};
            TWinControl* form = GetParentForm(this);
            HWND owner = form && form->HandleAllocated() ? form->Handle() : Handle();
            // A menu dropped from the keyboard shows its first item selected, as a menu bar's does;
            // the menu's loop takes the key from the queue.
            if (fromKeyboard && current == button) PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
            command = static_cast<unsigned>(TrackPopupMenuEx(item->Handle(),
                                                             TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN |
                                                                 TPM_VERTICAL | TPM_RIGHTBUTTON,
                                                             topLeft.X, topLeft.Y + current->Height(), owner, &avoid));
            // The button may have left the bar while its menu showed.
            if (menuButton_ == current) SendMessageA(Handle(), TB_PRESSBUTTON, id, MAKELPARAM(FALSE, 0));
            const bool stillHere = menuButton_ == current;
            menuButton_ = nullptr;
            if (!stillHere || tracking.closeOnly) break;
            if (!tracking.next && !command && tracking.escaped && fromKeyboard) back = current;
            current = tracking.next;
        }
    }
    if (command) {
        if (TMenuItem* chosen = FindMenuItemByCommand(command)) chosen->Click();
    }
    return back;
}

bool TToolBar::ShowsMenus() {
    return HandleAllocated() && IsWindowVisible(Handle()) && IsWindowEnabled(Handle());
}

TToolButton* TToolBar::MenuButtonFor(unsigned key) const {
    for (TToolButton* button : buttons_)
        if (button->MenuItem() && button->Visible() && button->Enabled() && IsAccel(key, button->Caption()))
            return button;
    return nullptr;
}

void TToolBar::SetHotButton(TToolButton* button) {
    SendMessageA(Handle(), TB_SETHOTITEM, button ? static_cast<WPARAM>(button->Index()) : static_cast<WPARAM>(-1), 0);
}

void TToolBar::KeyboardMenus(TToolButton* hot, TToolButton* drop) {
    while (hot || drop) {
        if (drop) {
            hot = DropMenus(drop, true);
            drop = nullptr;
        } else {
            drop = HotTrack(hot);
            hot = nullptr;
        }
    }
}

TToolButton* TToolBar::HotTrack(TToolButton* hot) {
    bool gone = false;
    keyModeGone_ = &gone;
    const HWND active = GetActiveWindow();
    SendMessageA(Handle(), TB_SETANCHORHIGHLIGHT, TRUE, 0);
    SetHotButton(hot);
    TToolButton* drop = nullptr;
    bool done = false;
    while (!done) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        // A press anywhere leaves the keyboard mode and then goes where it was meant to go.
        if (IsMouseButtonDown(msg.message)) break;
        if (msg.message == WM_QUIT) break;
        PeekMessageA(&msg, nullptr, msg.message, msg.message, PM_REMOVE);
        switch (msg.message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                switch (msg.wParam) {
                    case VK_LEFT:
                    case VK_RIGHT:
                        hot = NeighbourMenuButton(hot, msg.wParam == VK_LEFT ? -1 : 1);
                        SetHotButton(hot);
                        break;
                    case VK_DOWN:
                    case VK_UP:
                    case VK_RETURN:
                        drop = hot;
                        done = true;
                        break;
                    case VK_ESCAPE:
                    case VK_MENU:
                    case VK_F10: done = true; break;
                    default: TranslateMessage(&msg); break;  // letters come back as characters
                }
                break;
            case WM_CHAR:
            case WM_SYSCHAR:
                if (TToolButton* button = MenuButtonFor(static_cast<unsigned>(msg.wParam))) {
                    drop = button;
                    done = true;
                } else {
                    MessageBeep(0);
                }
                break;
            case WM_KEYUP:
            case WM_SYSKEYUP: break;  // the key-downs were ours
            default: DispatchMessageA(&msg); break;
        }
        if (gone || !ShowsMenus() || GetActiveWindow() != active || (Application && Application->Terminated()))
            done = true;
    }
    if (gone) return nullptr;
    keyModeGone_ = nullptr;
    SetHotButton(nullptr);
    SendMessageA(Handle(), TB_SETANCHORHIGHLIGHT, FALSE, 0);
    // The button may have left the bar while the loop dispatched.
    if (std::find(buttons_.begin(), buttons_.end(), drop) == buttons_.end()) return nullptr;
    return drop;
}

}  // namespace fw
