// TKVXHiTimer: a millisecond timer. In thread mode (UseThread) a worker sleeps for Interval and runs
// OnTimer, on the GUI thread through Synchronize (the default) or in the worker itself; in message
// mode a periodic multimedia timer posts WM_TIMER to a hidden window. The system's minimum timer
// period is requested for the component's whole life.
//
// The worker is never suspended from outside: it waits on a condition that Restart and the
// destructor signal, so it cannot be stopped while it holds a lock. Destroying the component stops all
// firing first; a firing already queued for the GUI thread is dropped.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "framework/win32/threads.h"
#include "framework/win32/winapi.h"
#include "widgets/kvxclass.h"

namespace kvx::win32 {

class TKVXHiTimer;

class TKVXThreadedTimer : public fw::TThread {
public:
    explicit TKVXThreadedTimer(TKVXHiTimer* timer) : timer_(timer) {}
    // Runs (or idles) the loop with the new interval; a sleep in progress starts again.
    void Configure(unsigned interval, bool running);
    // Ends the loop at its next check.
    void Stop();

protected:
    void Execute() override;

private:
    TKVXHiTimer* timer_;
    std::mutex mutex_;
    std::condition_variable wake_;
    unsigned interval_ = 1000;
    bool running_ = false;
    uint64_t generation_ = 0;
};

class TKVXHiTimer : public TKVXComponent {
public:
    explicit TKVXHiTimer(TComponent* owner);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds; a value outside the system's timer period range becomes 1000.
    uint16_t Interval() const { return interval_; }
    void SetInterval(uint16_t value);
    fw::TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(fw::TThreadPriority value);
    bool Synchronize() const { return synchronize_; }
    void SetSynchronize(bool value) { synchronize_ = value; }
    bool UseThread() const { return useThread_; }
    void SetUseThread(bool value);
    TNotifyEvent OnTimer() const;
    void SetOnTimer(const TNotifyEvent& value);

    // The system's timer period range.
    unsigned MinPeriod() const { return minPeriod_; }
    unsigned MaxPeriod() const { return maxPeriod_; }

protected:
    virtual void DoTimer();
    void BeforeDestruction() override;

private:
    friend class TKVXThreadedTimer;
    void Restart();
    // From the worker: one firing, by the mode the component asks for now.
    void FireFromWorker();
    void RunTimer();
    LRESULT WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::atomic<bool> enabled_{false};
    bool inEvent_ = false;
    uint16_t interval_ = 1000;
    UINT mmTimer_ = 0;
    unsigned minPeriod_ = 1;
    unsigned maxPeriod_ = 1000000;
    TNotifyEvent onTimer_;
    HWND window_ = nullptr;
    TKVXThreadedTimer* worker_ = nullptr;
    fw::TThreadPriority priority_ = fw::TThreadPriority::tpNormal;
    std::atomic<bool> synchronize_{true};
    bool useThread_ = true;
    std::atomic<bool> dying_{false};
    // The handler is read by the worker in its own-thread mode.
    mutable std::mutex handlerMutex_;
};

}  // namespace kvx::win32
