// TWinControl's message handling: the handler table, mouse routing to windowless children, mouse
// enter/leave, keys, focus notifications and the reflection of child notifications.
#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"

namespace fw {

namespace {

int SignedLow(LPARAM value) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(value))); }
int SignedHigh(LPARAM value) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(value))); }

LPARAM PointToLParam(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

bool IsMouseButtonOrMove(UINT msg) {
    return msg == WM_MOUSEMOVE || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK);
}

}  // namespace

void TWinControl::WndProc(TMessage& message) {
    if (IsMouseButtonOrMove(message.Msg) && handle_) {
        if (message.Msg == WM_MOUSEMOVE) {
            if (!(controlState_ & csMouseInside)) {
                controlState_ |= csMouseInside;
                Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
            }
            if (!trackingLeave_) {
                TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle_, 0};
                if (TrackMouseEvent(&track)) trackingLeave_ = true;
            }
        }
        if (RouteMouseToControl(message)) return;
    } else if (message.Msg == WM_MOUSELEAVE) {
        trackingLeave_ = false;
        UpdateControlMouse(nullptr);
        if (controlState_ & csMouseInside) {
            controlState_ &= ~csMouseInside;
            Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
        }
    }
    TControl::WndProc(message);
}

bool TWinControl::RouteMouseToControl(TMessage& message) {
    const TPoint pt = Point(SignedLow(message.LParam), SignedHigh(message.LParam));
    TControl* under = ControlAtPos(pt);
    if (message.Msg == WM_MOUSEMOVE) UpdateControlMouse(under);
    TControl* target = under;
    if (captureControl_) {
        if (GetCapture() == handle_)
            target = captureControl_;
        else
            captureControl_ = nullptr;
    }
    if (!target) return false;
    TMessage routed{message.Msg, message.WParam, PointToLParam(pt.X - target->Left(), pt.Y - target->Top()), 0};
    target->WndProc(routed);
    message.Result = routed.Result;
    return true;
}

void TWinControl::UpdateControlMouse(TControl* over) {
    if (over == mouseControl_) return;
    TControl* old = mouseControl_;
    mouseControl_ = over;
    if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (over && mouseControl_ == over) over->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(over));
}

void TWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT: WMPaint(message); break;
        case WM_ERASEBKGND: WMEraseBkgnd(message); break;
        case WM_SIZE: WMSize(message); break;
        case WM_MOVE: WMMove(message); break;
        case WM_SETFOCUS: WMSetFocus(message); break;
        case WM_KILLFOCUS: WMKillFocus(message); break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_CHAR: WMKey(message); break;
        case WM_MOUSEWHEEL: WMMouseWheel(message); break;
        case WM_CONTEXTMENU: WMContextMenu(message); break;
        case WM_SETCURSOR: WMSetCursor(message); break;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(message.LParam) != handle_) captureControl_ = nullptr;
            DefaultHandler(message);
            break;
        case WM_DESTROY:
            // Keep the text of a window destroyed from outside (its parent went first).
            if (handle_ && !InState(csDestroying)) {
                const int len = GetWindowTextLengthA(handle_);
                std::string text(static_cast<size_t>(std::max(len, 0)) + 1, '\0');
                text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), len + 1)));
                TextBuffer() = text;
            }
            DefaultHandler(message);
            break;
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            // The window keeps the text while it exists.
            if (handle_)
                DefaultHandler(message);
            else
                TControl::Dispatch(message);
            break;
        case WM_COMMAND:
            if (message.LParam)
                ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
            else
                DefaultHandler(message);
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
            ReflectToChild(message, header ? header->hwndFrom : nullptr);
            break;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
            if (item && item->CtlType != ODT_MENU)
                ReflectToChild(message, item->hwndItem);
            else
                DefaultHandler(message);
            break;
        }
        case WM_MEASUREITEM: {
            const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(message.LParam);
            if (item && item->CtlType != ODT_MENU && handle_)
                ReflectToChild(message, GetDlgItem(handle_, static_cast<int>(item->CtlID)));
            else
                DefaultHandler(message);
            break;
        }
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_HSCROLL:
        case WM_VSCROLL: ReflectToChild(message, reinterpret_cast<HWND>(message.LParam)); break;
        case CM_ENTER: CMEnter(message); break;
        case CM_EXIT: CMExit(message); break;
        case CM_FOCUSCHANGED: CMFocusChanged(message); break;
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
        case CM_APPSYSCOMMAND: Broadcast(message); break;
        case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); break;
        case CM_CTL3DCHANGED: NotifyControls(CM_PARENTCTL3DCHANGED); break;
        case CM_PARENTCTL3DCHANGED:
            if (parentCtl3D_ && Parent() && ctl3D_ != Parent()->Ctl3D()) {
                ctl3D_ = Parent()->Ctl3D();
                Perform(CM_CTL3DCHANGED);
            }
            break;
        default: TControl::Dispatch(message); break;
    }
}

void TWinControl::ReflectToChild(TMessage& message, HWND child) {
    TWinControl* control = child ? FindControl(child) : nullptr;
    if (control && control != this) {
        message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        return;
    }
    DefaultHandler(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
    // Framework notifications never reach the system's procedures.
    if (message.Msg >= CM_BASE && message.Msg < CN_BASE + WM_USER) {
        if (message.Msg >= CN_CTLCOLORMSGBOX && message.Msg <= CN_CTLCOLORSTATIC) {
            HDC dc = reinterpret_cast<HDC>(message.WParam);
            SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
            SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
            message.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
        } else {
            message.Result = 0;
        }
        return;
    }
    if (!handle_) {
        message.Result = 0;
        return;
    }
    message.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, message.Msg,
                                     message.WParam, message.LParam);
}

void TWinControl::WMSize(TMessage& message) {
    DefaultHandler(message);
    UpdateBoundsFromWindow();
    Realign();
    for (TControl* c : controls_) {
        if (!dynamic_cast<TWinControl*>(c)) c->Invalidate();
    }
    Resize();
}

void TWinControl::WMMove(TMessage& message) {
    DefaultHandler(message);
    UpdateBoundsFromWindow();
    for (TControl* c : controls_) {
        if (!dynamic_cast<TWinControl*>(c)) c->Invalidate();
    }
}

// ---- focus ---------------------------------------------------------------------------------------

void TWinControl::WMSetFocus(TMessage& message) {
    DefaultHandler(message);
    if (TWinControl* form = GetParentForm(this); form && form != this)
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
    Perform(CM_ENTER);
}

void TWinControl::WMKillFocus(TMessage& message) {
    DefaultHandler(message);
    Perform(CM_EXIT);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }

void TWinControl::CMFocusChanged(TMessage& message) {
    for (TControl* child : std::vector<TControl*>(controls_)) {
        TMessage copy{message.Msg, message.WParam, message.LParam, 0};
        child->WndProc(copy);
    }
}
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- keys ---------------------------------------------------------------------------------------

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::WMKey(TMessage& message) {
    if (controlStyle_ & csNoStdEvents) {
        DefaultHandler(message);
        return;
    }
    if (message.Msg == WM_CHAR) {
        char key = static_cast<char>(message.WParam);
        KeyPress(key);
        if (key == 0) {
            message.Result = 0;
            return;
        }
        message.WParam = static_cast<unsigned char>(key);
    } else {
        uint16_t key = static_cast<uint16_t>(message.WParam);
        const TShiftState shift = KeyDataToShiftState(message.LParam);
        if (message.Msg == WM_KEYDOWN || message.Msg == WM_SYSKEYDOWN)
            KeyDown(key, shift);
        else
            KeyUp(key, shift);
        // A handler that zeroes the key takes it: the window never sees it.
        if (key == 0) {
            message.Result = 0;
            return;
        }
        message.WParam = key;
    }
    DefaultHandler(message);
}

// ---- wheel, context menu, cursor --------------------------------------------------------------------

bool TWinControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    return handled;
}

void TWinControl::WMMouseWheel(TMessage& message) {
    const TPoint screen = Point(SignedLow(message.LParam), SignedHigh(message.LParam));
    // A windowless child under the mouse may take it first (CM_MOUSEWHEEL answered non-zero).
    if (TControl* child = ControlAtPos(ScreenToClient(screen))) {
        if (child->Perform(CM_MOUSEWHEEL, message.WParam, message.LParam) != 0) {
            message.Result = 0;
            return;
        }
    }
    const TShiftState shift = MouseShiftState(LOWORD(message.WParam));
    const int delta = static_cast<short>(HIWORD(message.WParam));
    if (DoMouseWheel(shift, delta, screen)) {
        message.Result = 0;
        return;
    }
    DefaultHandler(message);
}

void TWinControl::WMContextMenu(TMessage& message) {
    // From the keyboard (Shift+F10, the menu key) the position is -1: open at the control's centre.
    // From a child without a menu of its own the message arrives here through the default handling.
    const bool keyboard =
        message.LParam == -1 || (SignedLow(message.LParam) == -1 && SignedHigh(message.LParam) == -1);
    const TPoint at = keyboard ? ClientToScreen(Point(ClientWidth() / 2, ClientHeight() / 2))
                               : Point(SignedLow(message.LParam), SignedHigh(message.LParam));
    if (DoPopupMenu(at)) {
        message.Result = 0;
        return;
    }
    DefaultHandler(message);
}

void TWinControl::WMSetCursor(TMessage& message) {
    if (LOWORD(static_cast<DWORD_PTR>(message.LParam)) == HTCLIENT && reinterpret_cast<HWND>(message.WParam) == handle_) {
        TCursor cursor = Cursor();
        POINT p;
        if (GetCursorPos(&p)) {
            if (TControl* child = ControlAtPos(ScreenToClient(Point(p.x, p.y)), true)) {
                if (child->Cursor() != crDefault) cursor = child->Cursor();
            }
        }
        if (cursor != crDefault) {
            ::SetCursor(CursorHandle(cursor));
            message.Result = 1;
            return;
        }
    }
    DefaultHandler(message);
}

// ---- state changes ---------------------------------------------------------------------------------

void TWinControl::CMEnabledChanged(TMessage& message) {
    if (handle_) EnableWindow(handle_, Enabled() ? TRUE : FALSE);
    TControl::CMEnabledChanged(message);
}

void TWinControl::CMVisibleChanged(TMessage&) {
    if (Visible()) {
        if (!handle_ && !InState(csLoading | csDestroying) && (!Parent() || Parent()->HandleAllocated()))
            HandleNeeded();
        if (handle_) ShowWindow(handle_, Parent() ? SW_SHOWNA : SW_SHOW);
    } else if (handle_) {
        ShowWindow(handle_, SW_HIDE);
    }
}

void TWinControl::CMColorChanged(TMessage& message) {
    TControl::CMColorChanged(message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& message) {
    if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
    TControl::CMFontChanged(message);
}

}  // namespace fw
