// The monitor's input: the application's messages before dispatch, the active form's messages, help
// mode with its cursor and swallowed commands, caption help mode, F1 and right-button requests.
#include <climits>

#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_toolbar.h"
#include "uisupport/win32/helpmonitor.h"
#include "uisupport/win32/helpmonitor_private.h"
#include "uisupport/win32/kyvhook.h"

namespace uis {

namespace {

// The program cursor id under which help mode's cursor is registered with the screen.
constexpr fw::TCursor kHelpModeCursorId = 14002;

POINT ScreenPointOf(const MSG& msg) {
    POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    const bool nonClient = msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK;
    if (!nonClient) ClientToScreen(msg.hwnd, &p);
    return p;
}

POINT ClientPointOf(const MSG& msg) {
    return POINT{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// A tool button that drops a menu may be clicked in help mode: its menu's commands get help then.
bool DropsMenu(const fw::TControl* control) {
    auto* button = dynamic_cast<const fw::TToolButton*>(control);
    return button && (button->DropdownMenu() || button->MenuItem());
}

// Runs the message through the window the way the loop would, counted as a dispatch.
void DispatchNow(MSG& msg) {
    TranslateMessage(&msg);
    fw::Application->BeginLoop();
    try {
        DispatchMessageA(&msg);
    } catch (...) {
        fw::Application->EndLoop();
        throw;
    }
    fw::Application->EndLoop();
}

TqhlHelpMonitor* g_callWndOwner = nullptr;

}  // namespace

// ---- the application's messages ---------------------------------------------------------------------

void TqhlHelpMonitor::DoMessage(fw::TObject* sender, MSG& msg, bool& handled) {
    FollowFormHook();
    // The synthesised Alt that closed the menus: its release runs the pending action.
    if (pending_ != TPending::None && IsKeyMessage(msg.message) && msg.wParam == VK_MENU) {
        handled = true;
        if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) RunPending();
        return;
    }
    switch (mode_) {
        case TMode::HelpMode: handled = HelpModeMessage(msg); break;
        case TMode::CaptionHelpMode: handled = CaptionModeMessage(msg); break;
        default: handled = KeyMessage(msg) || RightButtonMessage(msg); break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        const POINT at = ScreenPointOf(msg);
        UpdateHint(&at);
    }
    const bool follow = (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) ||
                        (msg.message == WM_KEYUP && msg.wParam == VK_SPACE) || msg.message == WM_LBUTTONUP ||
                        msg.message == WM_SYSCHAR;
    // After the message ran (a dialog it opens is up by then).
    if (follow && window_)
        PostMessageA(window_, helpMessage_, static_cast<WPARAM>(helpmsg::Action::FollowActiveForm), 0);
    if (!handled && chainedMessage_) chainedMessage_(sender, msg, handled);
}

// Outside the modes: Shift+F1 starts help mode, F1 starts F1 mode, the caption's help button its mode.
bool TqhlHelpMonitor::KeyMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
        if (GetKeyState(VK_SHIFT) < 0) {
            EnterHelpMode();
            return true;
        }
        // The WM_HELP the system makes of the key shows the focused control's help; without one the
        // monitor serves F1 itself once the key has been dispatched.
        mode_ = TMode::F1Mode;
        if (window_) PostMessageA(window_, helpMessage_, static_cast<WPARAM>(helpmsg::Action::F1Wait), 0);
        return false;
    }
    if (msg.message == WM_NCLBUTTONDOWN && msg.wParam == HTHELP) return StartCaptionHelpMode(GetAncestor(msg.hwnd, GA_ROOT));
    return false;
}

bool TqhlHelpMonitor::HelpModeMessage(MSG& msg) {
    const UINT m = msg.message;
    if (IsKeyMessage(m)) {
        if (m == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            ExitHelpMode();
            return true;
        }
        if (m == WM_KEYDOWN && msg.wParam == VK_F1 && GetKeyState(VK_SHIFT) < 0) {
            ExitHelpMode();
            return true;
        }
        // Enter and Space still work the help button when it has the focus.
        auto* focused = dynamic_cast<fw::TControl*>(fw::FindControl(GetFocus()));
        const bool onButton = focused && IsHelpModeButton(focused);
        return !(onButton && (msg.wParam == VK_RETURN || msg.wParam == VK_SPACE || m == WM_CHAR));
    }
    fw::TWinControl* windowed = nullptr;
    fw::TControl* graphic = nullptr;
    switch (m) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            ControlsAt(msg.hwnd, ClientPointOf(msg), windowed, graphic);
            fw::TControl* target = graphic ? graphic : windowed;
            if (IsHelpModeButton(target)) {
                if (m != WM_LBUTTONDBLCLK) return false;
                // A double click on the help button: the contents, or the dialog's own help.
                const bool main = OnMainHelpForm(target);
                fw::TWinControl* form = fw::GetParentForm(target);
                ExitHelpMode();
                if (main) {
                    ShowContents();
                } else {
                    SetRealContext(form ? form->HelpContext() : 0);
                    ShowHelp();
                }
                return true;
            }
            if (DropsMenu(target)) return false;
            bool canClick = false;
            if (OnHelpModeClick) OnHelpModeClick(this, target, canClick);
            if (canClick) return false;
            if (pressed_) pressed_->RemoveFreeNotification(this);
            pressed_ = target;
            if (pressed_) pressed_->FreeNotification(this);
            return true;
        }
        case WM_LBUTTONUP: {
            if (!pressed_) return false;  // the press went to the control
            ControlsAt(msg.hwnd, ClientPointOf(msg), windowed, graphic);
            pressed_->RemoveFreeNotification(this);
            pressed_ = nullptr;
            if (ControlContext(windowed, graphic, TRequestType::rtHelpMode, ScreenPointOf(msg))) ShowHelp();
            return true;
        }
        case WM_NCLBUTTONDOWN: {
            const int hitTest = static_cast<int>(msg.wParam);
            if (hitTest == ht::Menu) return false;  // the menu opens; its commands get help
            WindowPartContext(msg.hwnd, hitTest, false, ScreenPointOf(msg));
            if (kind_ != TContextKind::None) {
                SetPopupPos(ScreenPointOf(msg));
                ShowHelp();
            }
            return true;
        }
        case WM_NCLBUTTONUP:
        case WM_NCLBUTTONDBLCLK: return msg.wParam != HTMENU;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            // Swallowed over windowless controls, passed on to windowed ones.
            ControlsAt(msg.hwnd, ClientPointOf(msg), windowed, graphic);
            return graphic != nullptr;
        case WM_MOUSEMOVE: {
            ControlsAt(msg.hwnd, ClientPointOf(msg), windowed, graphic);
            bool stop = false;
            if (OnHelpModeMouseMove) OnHelpModeMouseMove(this, graphic ? graphic : windowed, stop);
            return stop;
        }
        default: return false;
    }
}

// ---- help mode ----------------------------------------------------------------------------------------

bool TqhlHelpMonitor::EnterHelpMode() {
    if (mode_ == TMode::HelpMode) return true;
    auto popUp = [this] {
        if (auto* speed = dynamic_cast<TKyvSpeedButton*>(helpModeButton_)) speed->SetDown(false);
        if (auto* tool = dynamic_cast<fw::TToolButton*>(helpModeButton_)) tool->SetDown(false);
    };
    if ((GetAsyncKeyState(VK_LBUTTON) | GetAsyncKeyState(VK_RBUTTON) | GetAsyncKeyState(VK_MBUTTON)) & 0x8000) {
        popUp();
        Beep();
        return false;
    }
    if (!GetSystemMetrics(SM_MOUSEPRESENT)) {
        popUp();
        return false;
    }
    fw::TForm* form = ActiveHelpForm();
    fw::TForm* dialog = nullptr;
    if (form && form->BorderIcons().Contains(fw::biHelp)) {
        const bool showsButton = form->HandleAllocated() && (GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
        const bool allowed = form == mainForm_ || helpModeButton_ ||
                             (flags_.Contains(TControlFlag::cfDlgAllowHelpMode) &&
                              !(flags_.Contains(TControlFlag::cfDlgCheckHelpButton) && showsButton));
        if (!allowed) {
            popUp();
            Beep();
            return false;
        }
        dialog = form;
    }
    if (mode_ == TMode::CaptionHelpMode) EndCaptionHelpMode();
    mode_ = TMode::HelpMode;
    dialog_ = dialog;
    if (dialog_) dialog_->FreeNotification(this);
    if (fw::Application) {
        savedHintPause_ = fw::Application->HintPause();
        fw::Application->SetHintPause(INT_MAX);
        fw::Application->CancelHint();
    }
    OutputHint(hints_.Text(hint::HelpMode));
    helpModeCursor_ = HelpModeCursor(form);
    if (fw::Screen) {
        fw::Screen->SetCursors(kHelpModeCursorId, helpModeCursor_);
        savedScreenCursor_ = fw::Screen->Cursor();
        fw::Screen->SetCursor(kHelpModeCursorId);
    }
    SetCursor(helpModeCursor_);
    if (auto* speed = dynamic_cast<TKyvSpeedButton*>(helpModeButton_)) speed->SetDown(true);
    if (auto* tool = dynamic_cast<fw::TToolButton*>(helpModeButton_)) tool->SetDown(true);
    if (whatIsThisItem_) whatIsThisItem_->SetChecked(true);
    if (OnEnterHelpMode) OnEnterHelpMode(this);
    InstallCallWndHook();
    return true;
}

void TqhlHelpMonitor::ExitHelpMode() {
    if (mode_ != TMode::HelpMode) return;
    mode_ = TMode::Idle;
    if (dialog_) dialog_->RemoveFreeNotification(this);
    dialog_ = nullptr;
    if (pressed_) pressed_->RemoveFreeNotification(this);
    pressed_ = nullptr;
    if (fw::Application) fw::Application->SetHintPause(savedHintPause_);
    OutputHint("");
    if (auto* speed = dynamic_cast<TKyvSpeedButton*>(helpModeButton_)) speed->SetDown(false);
    if (auto* tool = dynamic_cast<fw::TToolButton*>(helpModeButton_)) tool->SetDown(false);
    if (whatIsThisItem_) whatIsThisItem_->SetChecked(false);
    RemoveCallWndHook();
    subclass_.Reset();
    subclassed_ = nullptr;
    if (fw::Screen) {
        fw::Screen->SetCursor(savedScreenCursor_);
        fw::Screen->SetCursors(kHelpModeCursorId, nullptr);
    }
    // The window under the mouse shows its own cursor again.
    POINT cursor{};
    GetCursorPos(&cursor);
    if (HWND under = WindowFromPoint(cursor); under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
        POINT local = cursor;
        ScreenToClient(under, &local);
        PostMessageA(under, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
    }
    if (OnExitHelpMode) OnExitHelpMode(this);
}

// The named cursor resource; the system's help cursor with cfSmallCursor (or in a dialog with
// cfDlgForceSmallCursor); else the program's "HELPMODECURSOR".
HCURSOR TqhlHelpMonitor::HelpModeCursor(fw::TForm* form) const {
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (!helpCursor_.empty()) {
        if (HCURSOR named = LoadCursorA(module, helpCursor_.c_str())) return named;
    }
    const bool dialog = form && form != mainForm_ && form->BorderIcons().Contains(fw::biHelp);
    if (flags_.Contains(TControlFlag::cfSmallCursor) || (dialog && flags_.Contains(TControlFlag::cfDlgForceSmallCursor)))
        return LoadCursorA(nullptr, IDC_HELP);
    if (HCURSOR own = LoadCursorA(module, "HELPMODECURSOR")) return own;
    return LoadCursorA(nullptr, IDC_HELP);
}

// In help mode every window of the thread that is sent a cursor, command, help or system-command
// message is hooked, one at a time, to keep the help cursor and swallow the command.
void TqhlHelpMonitor::InstallCallWndHook() {
    if (callWnd_) return;
    g_callWndOwner = this;
    callWnd_ = SetWindowsHookExA(WH_CALLWNDPROC, &TqhlHelpMonitor::CallWndProcHook, nullptr, GetCurrentThreadId());
}

void TqhlHelpMonitor::RemoveCallWndHook() {
    if (callWnd_) UnhookWindowsHookEx(callWnd_);
    callWnd_ = nullptr;
    if (g_callWndOwner == this) g_callWndOwner = nullptr;
}

LRESULT CALLBACK TqhlHelpMonitor::CallWndProcHook(int code, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        TqhlHelpMonitor* self = g_callWndOwner;
        if (code == HC_ACTION && self && self->mode_ == TMode::HelpMode) {
            const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
            const UINT m = call->message;
            if ((m == WM_SETCURSOR || m == WM_COMMAND || m == WM_HELP || m == WM_SYSCOMMAND) && call->hwnd != self->subclassed_)
                self->SubclassForHelpMode(call->hwnd);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    })
}

void TqhlHelpMonitor::SubclassForHelpMode(HWND window) {
    if (helpmsg::ClassNameOf(window) == "#32768") return;  // menus keep their own cursor
    subclass_.Reset();
    subclassed_ = nullptr;
    try {
        subclass_.Reset(fw::AddHook(window, [this](fw::HookMessage& m) { SubclassProc(m); }, [this, window] {
            if (subclassed_ == window) subclassed_ = nullptr;
        }));
        subclassed_ = window;
    } catch (const fw::EInvalidOperation&) {
        // A window that cannot be hooked keeps its own behaviour.
    }
}

void TqhlHelpMonitor::SubclassProc(fw::HookMessage& m) {
    if (mode_ != TMode::HelpMode) return;
    switch (m.Msg) {
        case WM_SETCURSOR:
            SetCursor(helpModeCursor_);
            m.Result = TRUE;
            m.Handled = true;
            return;
        case WM_HELP:
            m.Result = TRUE;
            m.Handled = true;
            return;
        case WM_COMMAND: {
            const bool fromMenu = m.LParam == 0 && HIWORD(m.WParam) == 0;
            if (fromMenu) {
                m.Handled = true;
                if (menuItem_ == LOWORD(m.WParam)) ShowHelp();
                return;
            }
            // The window holding the help-mode button still reports its click.
            auto* holder = dynamic_cast<fw::TWinControl*>(helpModeButton_);
            if (!holder && helpModeButton_) holder = helpModeButton_->Parent();
            if (holder && holder->HandleAllocated() && reinterpret_cast<HWND>(m.LParam) == holder->Handle()) return;
            m.Handled = true;
            return;
        }
        case WM_SYSCOMMAND: {
            const WPARAM command = m.WParam & 0xFFF0;
            if (command == SC_KEYMENU || command == SC_MOUSEMENU) return;  // menus still open
            m.Handled = true;
            if (menuKind_ == TMenuKind::SystemMenu && menuItem_ == command) ShowHelp();
            return;
        }
        default: return;
    }
}

// ---- caption help mode ------------------------------------------------------------------------------

bool TqhlHelpMonitor::StartCaptionHelpMode(HWND window) {
    if (!window || mode_ == TMode::HelpMode) return false;
    mode_ = TMode::CaptionHelpMode;
    captionWindow_ = window;
    SetCapture(window);
    OutputHint(hints_.Text(hint::CaptionHelpMode));
    SetCursor(LoadCursorA(nullptr, IDC_HELP));
    return true;
}

void TqhlHelpMonitor::EndCaptionHelpMode() {
    if (mode_ != TMode::CaptionHelpMode) return;
    mode_ = TMode::Idle;
    const HWND window = captionWindow_;
    captionWindow_ = nullptr;
    if (GetCapture() == window) ReleaseCapture();
    OutputHint("");
}

// The next click on the window shows the help of what it lands on; anything else ends the mode.
bool TqhlHelpMonitor::CaptionModeMessage(MSG& msg) {
    const UINT m = msg.message;
    if (m == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        EndCaptionHelpMode();
        return true;
    }
    if (m == WM_SETCURSOR || m == WM_MOUSEMOVE) {
        SetCursor(LoadCursorA(nullptr, IDC_HELP));
        return false;
    }
    if (m != WM_LBUTTONDOWN && m != WM_NCLBUTTONDOWN) return m == WM_LBUTTONUP || m == WM_NCLBUTTONUP;
    const POINT screen = ScreenPointOf(msg);
    const HWND window = captionWindow_;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    if (!PtInRect(&bounds, screen)) {
        EndCaptionHelpMode();
        return true;
    }
    const int hitTest = static_cast<int>(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    bool show = true;
    if (hitTest == HTCLIENT) {
        fw::TWinControl* windowed = nullptr;
        fw::TControl* graphic = nullptr;
        ControlsAtScreen(screen, windowed, graphic);
        show = ControlContext(windowed, graphic, TRequestType::rtHelpMode, screen);
    } else {
        WindowPartContext(window, hitTest, false, screen);
        show = hitTest != HTHELP;  // the caption's help button itself shows nothing
        if (show) SetPopupPos(screen);
    }
    EndCaptionHelpMode();
    if (show) ShowHelp();
    return true;
}

// ---- right-button requests ------------------------------------------------------------------------

bool TqhlHelpMonitor::RightButtonMessage(MSG& msg) {
    const UINT m = msg.message;
    if (m != WM_RBUTTONDOWN && m != WM_RBUTTONUP && m != WM_NCRBUTTONDOWN && m != WM_NCRBUTTONUP) return false;
    if (mode_ != TMode::Idle || !fw::Application) return false;
    fw::TWinControl* windowed = nullptr;
    fw::TControl* graphic = nullptr;
    const bool nonClient = m == WM_NCRBUTTONDOWN || m == WM_NCRBUTTONUP;
    if (nonClient)
        windowed = fw::FindControl(msg.hwnd);
    else
        ControlsAt(msg.hwnd, ClientPointOf(msg), windowed, graphic);
    if (!windowed) return false;
    if (fw::GetParentForm(windowed) == mainForm_ && !flags_.Contains(TControlFlag::cfMainFrmRButtonHelp)) return false;
    const POINT screen = ScreenPointOf(msg);

    if (nonClient) {
        const int hitTest = static_cast<int>(msg.wParam);
        if (hitTest == HTCAPTION) return false;  // the system menu opens there
        WindowPartContext(msg.hwnd, hitTest, true, screen);
        if (kind_ == TContextKind::None) return false;
        if (m == WM_NCRBUTTONUP) {
            SetPopupPos(screen);
            ShowWhatIsThis(screen);
        }
        return true;
    }
    if (m == WM_RBUTTONDOWN) {
        menuShown_ = false;
        if (!graphic && IsViewWindow(msg.hwnd)) {
            WatchViewRightClick(msg, windowed);
            return true;
        }
        return false;
    }
    // The release.
    if (graphic) {
        if (!ControlContext(windowed, graphic, TRequestType::rtRightButton, screen) || kind_ == TContextKind::None)
            return false;
        graphic->Perform(fw::CM_MOUSELEAVE, 0, 0);
        ShowWhatIsThis(screen);
        graphic->Perform(fw::CM_MOUSEENTER, 0, 0);
        return true;
    }
    // The control's own context menu first; the popup only when no menu showed.
    DispatchNow(msg);
    if (!menuShown_ && ControlContext(windowed, nullptr, TRequestType::rtRightButton, screen) &&
        kind_ != TContextKind::None)
        ShowWhatIsThis(screen);
    return true;
}

bool TqhlHelpMonitor::IsViewWindow(HWND window) const {
    const std::string name = helpmsg::ClassNameOf(window);
    if (name == "SysTreeView32" || name == "SysListView32") return true;
    fw::TWinControl* control = fw::FindControl(window);
    if (!control) return false;
    const WNDPROC proc = control->DefWndProc();
    return proc && (proc == treeViewProc_ || proc == listViewProc_);
}

// A tree or list view runs its own loop on a right-button press and reports the click to its parent
// (NM_RCLICK) or through its mouse-up event; the press is dispatched while both are watched.
void TqhlHelpMonitor::WatchViewRightClick(MSG& msg, fw::TWinControl* view) {
    rightView_ = view;
    view->FreeNotification(this);
    rightClickSeen_ = false;
    savedViewMouseUp_ = view->OnMouseUp;
    view->OnMouseUp = fw::TMouseEvent(this, &TqhlHelpMonitor::ViewMouseUp);
    const HWND viewWindow = msg.hwnd;
    fw::ScopedHook parentHook;
    if (HWND parent = GetParent(viewWindow)) {
        try {
            parentHook.Reset(fw::AddHook(parent, [this, viewWindow](fw::HookMessage& m) {
                if (m.Msg != WM_NOTIFY) return;
                const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
                if (header && header->hwndFrom == viewWindow && header->code == static_cast<UINT>(NM_RCLICK))
                    rightClickSeen_ = true;
            }));
        } catch (const fw::EInvalidOperation&) {
        }
    }
    auto restore = [&] {
        parentHook.Reset();
        if (rightView_) {
            if (rightView_->OnMouseUp == fw::TMouseEvent(this, &TqhlHelpMonitor::ViewMouseUp))
                rightView_->OnMouseUp = savedViewMouseUp_;
            rightView_->RemoveFreeNotification(this);
        }
        savedViewMouseUp_.Reset();
    };
    try {
        DispatchNow(msg);
    } catch (...) {
        restore();
        rightView_ = nullptr;
        throw;
    }
    fw::TWinControl* watched = rightView_;
    restore();
    rightView_ = nullptr;
    if (!watched || !rightClickSeen_ || menuShown_) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    fw::TWinControl* windowed = nullptr;
    fw::TControl* graphic = nullptr;
    ControlsAtScreen(cursor, windowed, graphic);
    if (ControlContext(windowed, graphic, TRequestType::rtRightButton, cursor) && kind_ != TContextKind::None)
        ShowWhatIsThis(cursor);
}

void TqhlHelpMonitor::ViewMouseUp(fw::TObject* sender, fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    if (button == fw::mbRight) rightClickSeen_ = true;
    if (savedViewMouseUp_) savedViewMouseUp_(sender, button, shift, x, y);
}

// ---- the active form's messages ----------------------------------------------------------------

void TqhlHelpMonitor::FollowFormHook() {
    if (!formHook_) return;
    fw::TForm* form = ActiveHelpForm();
    if (form == hookedForm_) return;
    if (hookedForm_) hookedForm_->RemoveFreeNotification(this);
    hookedForm_ = form;
    if (form) form->FreeNotification(this);
    formHook_->SetWinControl(form);
}

void TqhlHelpMonitor::FormMessage(fw::TObject*, fw::TMessage& msg, bool& handled) {
    switch (msg.Msg) {
        case WM_MENUSELECT:
            MenuSelect(hookedForm_ && hookedForm_->HandleAllocated() ? hookedForm_->Handle() : nullptr,
                       LOWORD(msg.WParam), HIWORD(msg.WParam), reinterpret_cast<HMENU>(msg.LParam));
            return;
        case WM_ENTERMENULOOP:
        case WM_INITMENUPOPUP: menuShown_ = true; return;
        case WM_HELP: {
            const auto* info = reinterpret_cast<const HELPINFO*>(msg.LParam);
            if (mode_ != TMode::F1Mode || !info) return;
            mode_ = TMode::Idle;
            if (info->iContextType == HELPINFO_MENUITEM) return;
            HelpF1(reinterpret_cast<HWND>(info->hItemHandle));
            msg.Result = TRUE;
            handled = true;
            return;
        }
        case WM_ACTIVATE:
            if (LOWORD(msg.WParam) == WA_INACTIVE && mode_ == TMode::CaptionHelpMode) EndCaptionHelpMode();
            return;
        case WM_CAPTURECHANGED:
            if (mode_ == TMode::CaptionHelpMode && reinterpret_cast<HWND>(msg.LParam) != captionWindow_)
                EndCaptionHelpMode();
            return;
        default: return;
    }
}

// F1 help for the focused control, or for its child under the mouse pointer.
void TqhlHelpMonitor::HelpF1(HWND item) {
    fw::TWinControl* windowed = fw::FindControl(GetFocus());
    if (!windowed) windowed = fw::FindControl(item);
    fw::TControl* graphic = nullptr;
    POINT cursor{};
    GetCursorPos(&cursor);
    fw::TWinControl* underWindowed = nullptr;
    fw::TControl* underGraphic = nullptr;
    ControlsAtScreen(cursor, underWindowed, underGraphic);
    if (windowed && underWindowed && (underWindowed == windowed || windowed->ContainsControl(underWindowed))) {
        windowed = underWindowed;
        graphic = underGraphic;
    }
    if (!windowed) windowed = ActiveHelpForm();
    if (!windowed) return;
    fw::TControl* target = graphic ? graphic : windowed;
    const fw::TPoint origin = target->ClientOrigin();
    const bool show = ControlContext(windowed, graphic, TRequestType::rtF1, POINT{origin.X, origin.Y});
    if (!show) return;
    if (OnMainHelpForm(target))
        ShowContents();
    else
        ShowHelp();
}

}  // namespace uis
