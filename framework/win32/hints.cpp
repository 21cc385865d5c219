// The hint window and the timing of hints.
#include "framework/win32/hints.h"

#include <algorithm>

#include "framework/core/rtti.h"
#include "framework/win32/graphics.h"
#include "framework/win32/timers.h"

namespace fw {
namespace {

enum class Phase { Idle, Waiting, Showing };

class THintTracker;
THintTracker* g_tracker = nullptr;

// Keeps the state of the hint machinery; a component, so the control under the mouse and the window
// are cleared by free notification.
class THintTracker : public TComponent {
public:
    explicit THintTracker(TComponent* owner) : TComponent(owner) {
        timer_ = Make<TTimer>(this);
        timer_->SetEnabled(false);
        timer_->SetOnTimer(TNotifyEvent(this, &THintTracker::TimerFired));
    }

    void MouseAt(TControl* control, TPoint clientPos) {
        if (control == control_) {
            if (phase_ == Phase::Showing && control && !PtInRect(&cursorRect_, POINT{clientPos.X, clientPos.Y})) Hide(false);
            return;
        }
        const bool wasShowing = phase_ == Phase::Showing;
        SetControl(control);
        Hide(false);
        if (Application) Application->SetHint(control ? GetLongHint(HintOf(control)) : std::string());
        if (!control || !Application) return;
        // Moving from one hint to the next shows the next one sooner.
        Start(wasShowing ? Application->HintShortPause() : Application->HintPause(), Phase::Waiting);
    }

    void Hide(bool forget) {
        timer_->SetEnabled(false);
        if (window_) window_->ReleaseHandle();
        phase_ = Phase::Idle;
        if (forget) SetControl(nullptr);
    }

    THintWindow* Window() const { return phase_ == Phase::Showing ? window_ : nullptr; }

protected:
    ~THintTracker() override {
        if (g_tracker == this) g_tracker = nullptr;
    }
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != opRemove) return;
        if (component == control_) {
            control_ = nullptr;
            Hide(false);
        }
        if (component == window_) window_ = nullptr;
    }

private:
    static std::string HintOf(TControl* control) {
        for (TControl* c = control; c; c = c->Parent())
            if (!c->Hint().empty()) return c->Hint();
        return {};
    }

    void SetControl(TControl* control) {
        if (control_) RemoveFreeNotification(control_);
        control_ = control;
        if (control_) FreeNotification(control_);
    }

    void Start(int ms, Phase phase) {
        phase_ = phase;
        timer_->SetEnabled(false);
        timer_->SetInterval(static_cast<unsigned>(std::max(ms, 1)));
        timer_->SetEnabled(true);
    }

    void TimerFired(TObject*) {
        timer_->SetEnabled(false);
        if (phase_ == Phase::Showing) {
            Hide(false);
            return;
        }
        if (phase_ == Phase::Waiting) Show();
    }

    void Show() {
        phase_ = Phase::Idle;
        TControl* control = control_;
        if (!control || !Application || !Application->ShowHint() || !control->ShowHint()) return;
        THintInfo info;
        info.HintControl = control;
        POINT cursor{};
        GetCursorPos(&cursor);
        info.CursorPos = control->ScreenToClient(Point(cursor.x, cursor.y));
        info.CursorRect = control->ClientRect();
        info.HintPos = control->ClientToScreen(Point(0, control->Height() + 2));
        info.HintMaxWidth = Screen() / 3;
        info.HintColor = Application->HintColor();
        info.HideTimeout = Application->HintHidePause();
        info.HintStr = GetShortHint(HintOf(control));
        bool canShow = true;
        if (control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0) canShow = false;
        if (canShow && Application->OnShowHint) Application->OnShowHint(Application, info.HintStr, canShow, info);
        if (!canShow || info.HintStr.empty() || control_ != control) return;
        if (!window_) {
            window_ = Make<THintWindow>(this);
            FreeNotification(window_);
        }
        window_->SetColor(info.HintColor);
        cursorRect_ = RECT{info.CursorRect.Left, info.CursorRect.Top, info.CursorRect.Right, info.CursorRect.Bottom};
        window_->ActivateHint(info.HintPos, info.HintStr);
        Start(info.HideTimeout > 0 ? info.HideTimeout : 0x7FFFFFFF, Phase::Showing);
    }

    static int Screen() { return GetSystemMetrics(SM_CXSCREEN); }

    TTimer* timer_ = nullptr;
    TControl* control_ = nullptr;
    THintWindow* window_ = nullptr;
    Phase phase_ = Phase::Idle;
    RECT cursorRect_{};
};

// The tracker lives with the application (owned by it, freed with it).
THintTracker* Tracker() {
    if (!Application) return nullptr;
    if (!g_tracker || g_tracker->Owner() != Application) {
        g_tracker = Make<THintTracker>(Application);
        g_tracker->SetName("HintTracker");
    }
    return g_tracker;
}

void HideHintNow() {
    if (THintTracker* t = Tracker()) t->Hide(false);
}

void CancelHintNow() {
    if (THintTracker* t = Tracker()) t->Hide(true);
}

}  // namespace

std::string GetShortHint(const std::string& hint) {
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

// ---- THintWindow -------------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    SetVisible(false);
    SetColor(clInfoBk);
    SetParentFont(false);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT r{0, 0, maxWidth, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return Rect(0, 0, r.right + 8, r.bottom + 4);
}

void THintWindow::ActivateHint(TPoint screenPos, const std::string& text) {
    SetCaption(text);
    TRect r = CalcHintRect(GetSystemMetrics(SM_CXSCREEN) / 3, text);
    // Keep the window on the screen.
    int x = std::min(screenPos.X, GetSystemMetrics(SM_CXSCREEN) - r.Width());
    int y = std::min(screenPos.Y, GetSystemMetrics(SM_CYSCREEN) - r.Height());
    SetBounds(std::max(x, 0), std::max(y, 0), r.Width(), r.Height());
    SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), Width(), Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

bool THintWindow::Showing() const {
    return const_cast<THintWindow*>(this)->HandleAllocated() && IsWindowVisible(const_cast<THintWindow*>(this)->Handle());
}

void THintWindow::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    HDC dc = canvas->Handle();
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    RECT r{2, 1, ClientWidth() - 2, ClientHeight()};
    const std::string text = Caption();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void THintWindow::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_NCHITTEST: message.Result = HTTRANSPARENT; break;
        case WM_MOUSEACTIVATE: message.Result = MA_NOACTIVATE; break;
        default: TCustomControl::Dispatch(message); break;
    }
}

THintWindow* ActiveHintWindow() {
    if (!g_tracker || !Application || g_tracker->Owner() != Application) return nullptr;
    return g_tracker->Window();
}

void HintTrackMessage(const MSG& msg) {
    switch (msg.message) {
        case WM_MOUSEMOVE: {
            TWinControl* window = FindControl(msg.hwnd);
            if (dynamic_cast<THintWindow*>(window)) return;
            THintTracker* tracker = Tracker();
            if (!tracker) return;
            const TPoint at = Point(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            TControl* control = window;
            if (window) {
                if (TControl* child = window->ControlAtPos(at, true)) {
                    control = child;
                    tracker->MouseAt(control, Point(at.X - child->Left(), at.Y - child->Top()));
                    return;
                }
            }
            tracker->MouseAt(control, at);
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            HideHintNow();
            return;
        default: return;
    }
}

void InstallHints() {
    if (Application) Application->SetHintHandlers(&HideHintNow, &CancelHintNow);
}

void RegisterHintClasses() {
    RegisterControlClasses();
    Class<THintWindow, TCustomControl>("THintWindow");
}

}  // namespace fw
