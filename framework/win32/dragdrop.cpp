// Dragging between controls. One drag at a time per program: a press on a dmAutomatic control (or
// BeginDrag) makes it pending, moving past the threshold starts it. While it runs, the mouse messages
// of every framework window come here first (the source window holds the capture, but posted
// messages reach the windows they were posted to), the control under the mouse is asked whether it
// accepts the source, the cursor shows the answer, a release drops and Escape cancels.
#include <cstdlib>

#include "framework/win32/controls.h"

namespace fw {

namespace {

struct DragState {
    TControl* source = nullptr;
    bool active = false;  // false: pending until the threshold is passed
    int threshold = 0;
    TPoint start{};
    TControl* target = nullptr;  // the control the last move was over
    bool accepted = false;
    HWND capture = nullptr;
};

DragState g_drag;

int SignedLow(LPARAM value) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(value))); }
int SignedHigh(LPARAM value) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(value))); }

// The window that takes the capture for the source: its own, or its parent's when windowless.
HWND CaptureWindowOf(TControl* control) {
    for (TControl* c = control; c; c = c->Parent())
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->HandleAllocated()) return wc->Handle();
    return nullptr;
}

void ShowDragCursor(bool accepted) {
    ::SetCursor(CursorHandle(accepted ? g_drag.source->DragCursor() : crNoDrop));
}

void Start() {
    g_drag.active = true;
    g_drag.target = nullptr;
    g_drag.accepted = false;
    g_drag.source->DoStartDrag();
    if (!g_drag.source) return;  // cancelled from the handler
    g_drag.capture = CaptureWindowOf(g_drag.source);
    if (g_drag.capture) SetCapture(g_drag.capture);
    ShowDragCursor(false);
}

void Move(const TPoint& screen) {
    TControl* target = FindDragTarget(screen, false);
    if (target != g_drag.target) {
        if (g_drag.target) {
            bool ignored = false;
            const TPoint local = g_drag.target->ScreenToClient(screen);
            g_drag.target->DragOver(g_drag.source, local.X, local.Y, TDragState::dsDragLeave, ignored);
        }
        g_drag.target = target;
        g_drag.accepted = false;
        if (target) {
            const TPoint local = target->ScreenToClient(screen);
            bool accept = false;
            target->DragOver(g_drag.source, local.X, local.Y, TDragState::dsDragEnter, accept);
            g_drag.accepted = accept;
        }
    } else if (target) {
        const TPoint local = target->ScreenToClient(screen);
        bool accept = false;
        target->DragOver(g_drag.source, local.X, local.Y, TDragState::dsDragMove, accept);
        g_drag.accepted = accept;
    }
    if (g_drag.source) ShowDragCursor(g_drag.accepted);
}

// Ends the drag; drops on the control at `screen` when it accepts.
void Finish(bool drop, const TPoint& screen) {
    DragState drag = g_drag;
    g_drag = DragState{};
    if (drag.capture && GetCapture() == drag.capture) ReleaseCapture();
    if (!drag.active || !drag.source) return;
    TControl* target = nullptr;
    if (drop) {
        TControl* at = FindDragTarget(screen, false);
        if (at) {
            // A drop without a move over the target first still asks it.
            const TPoint local = at->ScreenToClient(screen);
            bool accept = drag.accepted && at == drag.target;
            if (at != drag.target) at->DragOver(drag.source, local.X, local.Y, TDragState::dsDragMove, accept);
            if (accept) {
                target = at;
                at->DragDrop(drag.source, local.X, local.Y);
            }
        }
    } else if (drag.target) {
        bool ignored = false;
        const TPoint local = drag.target->ScreenToClient(screen);
        drag.target->DragOver(drag.source, local.X, local.Y, TDragState::dsDragLeave, ignored);
    }
    const TPoint local = target ? target->ScreenToClient(screen) : Point(0, 0);
    drag.source->DoEndDrag(target, local.X, local.Y);
    ::SetCursor(CursorHandle(crDefault));
}

TPoint ScreenPoint(TControl* receiver, LPARAM lParam) {
    return receiver->ClientToScreen(Point(SignedLow(lParam), SignedHigh(lParam)));
}

}  // namespace

TControl* DragSource() { return g_drag.source; }

void ForgetDragControl(TControl* control) {
    if (g_drag.target == control) g_drag.target = nullptr;
    if (g_drag.source == control) {
        if (g_drag.capture && GetCapture() == g_drag.capture) ReleaseCapture();
        g_drag = DragState{};
    }
}

void TControl::BeginDrag(bool immediate, int threshold) {
    if (g_drag.source) return;
    g_drag = DragState{};
    g_drag.source = this;
    g_drag.threshold = threshold >= 0 ? threshold : GetSystemMetrics(SM_CXDRAG);
    POINT p{};
    GetCursorPos(&p);
    g_drag.start = Point(p.x, p.y);
    if (immediate) Start();
}

void TControl::EndDrag(bool drop) {
    if (g_drag.source != this) return;
    POINT p{};
    GetCursorPos(&p);
    Finish(drop, Point(p.x, p.y));
}

bool TControl::Dragging() const { return g_drag.source == this && g_drag.active; }

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, source, x, y, state, accept);
    }
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag() {
    if (!OnStartDrag) return;
    TObject* dragObject = nullptr;
    OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

bool DispatchDragMessage(TControl* receiver, TMessage& message) {
    switch (message.Msg) {
        case WM_LBUTTONDOWN:
            // A press on a dmAutomatic control makes its drag pending (the press still goes on).
            if (!g_drag.source && receiver->DragMode() == TDragMode::dmAutomatic && receiver->DragStartsOnPress()) {
                receiver->BeginDrag(false);
                g_drag.start = ScreenPoint(receiver, message.LParam);
            }
            return false;
        case WM_MOUSEMOVE: {
            if (!g_drag.source) return false;
            const TPoint screen = ScreenPoint(receiver, message.LParam);
            if (!g_drag.active) {
                if (!(message.WParam & MK_LBUTTON)) {
                    g_drag = DragState{};
                    return false;
                }
                if (std::abs(screen.X - g_drag.start.X) < g_drag.threshold &&
                    std::abs(screen.Y - g_drag.start.Y) < g_drag.threshold)
                    return false;
                Start();
                if (!g_drag.source) return true;
            }
            Move(screen);
            message.Result = 0;
            return true;
        }
        case WM_LBUTTONUP:
            if (!g_drag.source) return false;
            if (!g_drag.active) {
                g_drag = DragState{};
                return false;
            }
            Finish(true, ScreenPoint(receiver, message.LParam));
            message.Result = 0;
            return true;
        case WM_KEYDOWN:
            if (!g_drag.active || message.WParam != VK_ESCAPE) return false;
            {
                POINT p{};
                GetCursorPos(&p);
                Finish(false, Point(p.x, p.y));
            }
            message.Result = 0;
            return true;
        case WM_CANCELMODE:
            if (g_drag.active) {
                POINT p{};
                GetCursorPos(&p);
                Finish(false, Point(p.x, p.y));
            }
            return false;
        case WM_SETCURSOR:
            if (!g_drag.active) return false;
            ShowDragCursor(g_drag.accepted);
            message.Result = 1;
            return true;
        default: return false;
    }
}

}  // namespace fw
