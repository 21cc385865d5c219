#include "framework/win32/timers.h"

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "framework/win32/utilwindow.h"
#include "framework/win32/winapi.h"

namespace fw {

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    window_ = AllocateHWnd([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_TIMER && wParam == kTimerId) {
            // The window procedure is the exception barrier: a failing handler is reported and the
            // next tick comes all the same.
            Timer();
            return 0;
        }
        return DefWindowProcA(wnd, msg, wParam, lParam);
    });
}

TTimer::~TTimer() {
    if (active_) KillTimer(static_cast<HWND>(window_), kTimerId);
    active_ = false;
    DeallocateHWnd(static_cast<HWND>(window_));
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& value) {
    onTimer_ = value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Timer() {
    if (enabled_ && onTimer_) onTimer_(this);
}

void TTimer::UpdateTimer() {
    HWND wnd = static_cast<HWND>(window_);
    if (active_) KillTimer(wnd, kTimerId);
    active_ = false;
    // A form being read sets the properties one by one; the timer starts once, from Loaded.
    if (InState(csLoading)) return;
    if (interval_ != 0 && enabled_ && onTimer_) {
        if (!SetTimer(wnd, kTimerId, interval_, nullptr)) throw EOutOfResources("Not enough timers available");
        active_ = true;
    }
}

void RegisterTimerClasses() {
    RegisterClasses();  // TComponent first; harmless when done already
    Class<TTimer, TComponent>("TTimer")
        .Prop("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
        .Prop("Interval", &TTimer::Interval, &TTimer::SetInterval)
        .Event("OnTimer", &TTimer::onTimer_);
}

}  // namespace fw
