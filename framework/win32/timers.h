// TTimer: OnTimer every Interval milliseconds on the GUI thread, through SetTimer on a utility window
// of its own. An exception in OnTimer goes to the application's handler and the timer keeps running.
#pragma once

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace fw {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);

    // Runs only while Enabled, Interval is not 0 and OnTimer is assigned.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    const TNotifyEvent& GetOnTimer() const { return onTimer_; }
    void SetOnTimer(const TNotifyEvent& value);

    // Whether the system timer is running now.
    bool Active() const { return active_; }
    // The utility window that receives WM_TIMER (for tests and diagnostics).
    void* WindowHandle() const { return window_; }

protected:
    ~TTimer() override;
    void Loaded() override;
    virtual void Timer();

private:
    friend void RegisterTimerClasses();
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    bool active_ = false;
    void* window_ = nullptr;
};

// Registers TTimer (Enabled, Interval, OnTimer) for form text, after fw_core's classes. Calling it
// again is harmless. OnTimer set by the reader starts the timer from Loaded.
void RegisterTimerClasses();

}  // namespace fw
