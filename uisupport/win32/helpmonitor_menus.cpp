// The monitor's menus: what is selected (WM_MENUSELECT of the active form), its context and hint, and
// the keys and clicks inside menus and system dialog boxes, seen through the thread's message filter.
//
// A help request inside a menu closes the menus first: the monitor posts an Alt press and release,
// which the menu loop takes as "close"; the release then reaches the application's loop, where the
// pending action (show help, enter or leave help mode) runs.
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "uisupport/win32/helpmonitor.h"
#include "uisupport/win32/helpmonitor_private.h"

namespace uis {

namespace {

// The MDI window list's command identifiers: the windows, then the entry that lists more.
constexpr UINT kFirstMdiChild = 65280;
constexpr UINT kLastMdiChild = 65288;
constexpr UINT kMoreMdiWindows = 65289;

// The visible menu window of this thread showing `menu`, or null.
HWND MenuWindowOf(HMENU menu) {
    const DWORD thread = GetCurrentThreadId();
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == thread &&
            reinterpret_cast<HMENU>(SendMessageA(w, MN_GETHMENU, 0, 0)) == menu)
            return w;
    return nullptr;
}

}  // namespace

void TqhlHelpMonitor::ClearMenu() {
    menuOwner_ = nullptr;
    menu_ = nullptr;
    menuItem_ = 0;
    menuFlags_ = 0;
    menuKind_ = TMenuKind::Unknown;
}

fw::TMenuItem* TqhlHelpMonitor::TrackedComponentItem() const {
    if (!menu_) return nullptr;
    if (menuFlags_ & MF_POPUP) return helpmsg::FindItemOfMenu(GetSubMenu(menu_, static_cast<int>(menuItem_)));
    fw::TMenuItem* parent = helpmsg::FindItemOfMenu(menu_);
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Command() == menuItem_) return parent->Items(i);
    return fw::FindMenuItemByCommand(menuItem_);
}

bool TqhlHelpMonitor::TrackedCommandSelected() const {
    return menu_ && menuItem_ != 0 && !(menuFlags_ & (MF_POPUP | MF_SEPARATOR));
}

// A selection in a menu: its kind, context and hint. A closed menu clears the tracking and the hint.
void TqhlHelpMonitor::MenuSelect(HWND owner, UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu) {
        ClearMenu();
        UpdateHint();
        return;
    }
    menuOwner_ = owner;
    menu_ = menu;
    menuItem_ = item;
    menuFlags_ = flags;
    const bool enabled = !(flags & (MF_GRAYED | MF_DISABLED));
    if (flags & MF_SYSMENU)
        menuKind_ = TMenuKind::SystemMenu;
    else if (helpmsg::IsComponentMenu(menu))
        menuKind_ = TMenuKind::Component;
    else if (owner && (helpmsg::ClassNameOf(owner) == "Edit" ||
                       (fw::FindControl(owner) && fw::FindControl(owner)->DefWndProc() == editProc_)))
        menuKind_ = TMenuKind::EditMenu;
    else
        menuKind_ = TMenuKind::Unknown;

    auto* ownerForm = dynamic_cast<fw::TForm*>(fw::FindControl(owner));
    switch (menuKind_) {
        case TMenuKind::Component: {
            fw::TMenuItem* tracked = TrackedComponentItem();
            if (popup_ && tracked && tracked->GetParentMenu() == popup_) break;  // the "What's This?" popup
            if (helpmsg::IsMdiFrame(ownerForm) && item >= kFirstMdiChild && item <= kMoreMdiWindows) {
                SetTopic(item == kMoreMdiWindows ? topic::MdiMoreWindows : topic::MdiWindow);
                break;
            }
            if (tracked && tracked == whatIsThisItem_) {
                SetTopic(topic::WhatIsThisItem);
                break;
            }
            int context = tracked ? tracked->HelpContext() : 0;
            if (OnMenuItemHC) OnMenuItemHC(this, tracked, context);
            SetRealContext(context);
            break;
        }
        case TMenuKind::EditMenu:
        case TMenuKind::SystemMenu: {
            const int number = (flags & MF_POPUP) ? 0 : CommandTopic(item, enabled);
            SetTopic(number);
            if (OnStdMenuItemHC) {
                const int shown = number ? topics_->ContextOf(number) : 0;
                int context = shown;
                OnStdMenuItemHC(this, static_cast<int>(item), enabled, context);
                if (context != shown) SetRealContext(context);
            }
            break;
        }
        default: {
            int context = 0;
            if (helpmsg::IsMdiFrame(ownerForm) && item >= kFirstMdiChild && item <= kLastMdiChild) {
                SetTopic(topic::MdiWindow);
                break;
            }
            if (OnUnknownMenuItemHC)
                OnUnknownMenuItemHC(this, owner, menu, static_cast<int>(item), static_cast<int>(flags), context);
            kind_ = context ? TContextKind::UnknownMenu : TContextKind::None;
            context_ = context;
            break;
        }
    }
    UpdateHint();
}

// ---- the message filter ---------------------------------------------------------------------------

LRESULT CALLBACK TqhlHelpMonitor::MsgFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(LRESULT{0}, {
        TqhlHelpMonitor* self = Instance();
        if (code >= 0 && self && self->installed_) {
            MSG& msg = *reinterpret_cast<MSG*>(lParam);
            const bool take = code == MSGF_MENU ? self->MenuFilter(msg) : code == MSGF_DIALOGBOX ? self->DialogFilter(msg) : false;
            if (take) return LRESULT{1};
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    })
}

// Input inside a menu loop: F1 and Shift+F1, and in help mode the choice of a command.
bool TqhlHelpMonitor::MenuFilter(MSG& msg) {
    menuShown_ = true;
    if (pending_ != TPending::None) return false;
    switch (msg.message) {
        case WM_MOUSEMOVE:
            menuByMouse_ = true;
            return false;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_F1) {
                if (GetKeyState(VK_SHIFT) < 0) {
                    CloseMenusThen(mode_ == TMode::HelpMode ? TPending::ExitHelpMode : TPending::EnterHelpMode);
                    return true;
                }
                if (HWND window = MenuWindowOf(menu_)) {
                    POINT origin{0, 0};
                    ClientToScreen(window, &origin);
                    SetPopupPos(origin);
                }
                CloseMenusThen(TPending::ShowHelp);
                return true;
            }
            if (msg.wParam != VK_MENU && msg.wParam != VK_F10) menuByMouse_ = false;
            if (msg.wParam == VK_RETURN && mode_ == TMode::HelpMode && TrackedCommandSelected()) {
                if (HWND window = MenuWindowOf(menu_)) {
                    POINT origin{0, 0};
                    ClientToScreen(window, &origin);
                    SetPopupPos(origin);
                }
                CloseMenusThen(TPending::ShowHelp);
                return true;
            }
            return false;
        case WM_LBUTTONUP:
            if (mode_ == TMode::HelpMode && TrackedCommandSelected() && MenuWindowOf(menu_) == msg.hwnd) {
                POINT at{};
                GetCursorPos(&at);
                SetPopupPos(at);
                CloseMenusThen(TPending::ShowHelp);
                return true;
            }
            return false;
        case WM_RBUTTONUP:
            if (mode_ != TMode::HelpMode && flags_.Contains(TControlFlag::cfMenuRButtonHelp) && menuByMouse_ &&
                TrackedCommandSelected() && MenuWindowOf(menu_) == msg.hwnd) {
                POINT at{};
                GetCursorPos(&at);
                SetPopupPos(at);
                CloseMenusThen(TPending::ShowHelp);
                return true;
            }
            return false;
        default: return false;
    }
}

// System dialog boxes: window-part hints and standard-button hints, and right-button part topics.
bool TqhlHelpMonitor::DialogFilter(MSG& msg) {
    switch (msg.message) {
        case WM_NCMOUSEMOVE:
            if (mode_ == TMode::Idle && statusBar_) {
                const POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
                OutputHint(WindowPartHint(msg.hwnd, static_cast<int>(msg.wParam), at));
            }
            return false;
        case WM_MOUSEMOVE: {
            if (mode_ != TMode::Idle || !statusBar_) return false;
            if (helpmsg::ClassNameOf(msg.hwnd) != "Button" || !IsWindowEnabled(msg.hwnd)) return false;
            const LONG type = GetWindowLongA(msg.hwnd, GWL_STYLE) & BS_TYPEMASK;
            if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return false;
            char caption[128] = {};
            GetWindowTextA(msg.hwnd, caption, sizeof caption);
            if (const int number = StdButtonHint(StdButtonOf(caption, *captions_))) OutputHint(hints_.Text(number));
            return false;
        }
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONUP: {
            const int hitTest = static_cast<int>(msg.wParam);
            if (mode_ != TMode::Idle || hitTest == HTCAPTION) return false;
            const POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            WindowPartContext(msg.hwnd, hitTest, true, at);
            if (kind_ == TContextKind::None) return false;
            if (msg.message == WM_NCRBUTTONUP) {
                SetPopupPos(at);
                ShowWhatIsThis(at);
            }
            return true;
        }
        default: return false;
    }
}

void TqhlHelpMonitor::CloseMenusThen(TPending action) {
    pending_ = action;
    HWND target = GetFocus();
    if (!target) target = menuOwner_;
    if (!target && fw::Application) target = fw::Application->Handle();
    const LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(VK_MENU, MAPVK_VK_TO_VSC)) << 16) | (1 << 29);
    PostMessageA(target, WM_SYSKEYDOWN, VK_MENU, data);
    PostMessageA(target, WM_SYSKEYUP, VK_MENU, data | (static_cast<LPARAM>(3) << 30));
}

void TqhlHelpMonitor::RunPending() {
    const TPending action = pending_;
    pending_ = TPending::None;
    switch (action) {
        case TPending::ShowHelp: ShowHelp(); break;
        case TPending::EnterHelpMode: EnterHelpMode(); break;
        case TPending::ExitHelpMode: ExitHelpMode(); break;
        case TPending::None: break;
    }
}

}  // namespace uis
