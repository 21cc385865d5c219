#include "widgets/win32/hitimer.h"

#include <mmsystem.h>

#include <chrono>

#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/utilwindow.h"
#include "widgets/timerpool.h"

namespace kvx::win32 {

namespace {
void CALLBACK PostTimerMessage(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    FW_CALLBACK_VOID({ PostMessageA(reinterpret_cast<HWND>(user), WM_TIMER, id, 0); })
}
}  // namespace

// ---- TKVXThreadedTimer --------------------------------------------------------------------------

void TKVXThreadedTimer::Configure(unsigned interval, bool running) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        interval_ = interval;
        running_ = running;
        ++generation_;
    }
    wake_.notify_all();
}

void TKVXThreadedTimer::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Terminate();
        ++generation_;
    }
    wake_.notify_all();
}

void TKVXThreadedTimer::Execute() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!Terminated()) {
        wake_.wait(lock, [this] { return Terminated() || running_; });
        if (Terminated()) break;
        const uint64_t generation = generation_;
        // The sleep starts after the previous firing returned; a new configuration starts it again.
        const bool changed = wake_.wait_for(lock, std::chrono::milliseconds(interval_), [&] {
            return Terminated() || generation_ != generation;
        });
        if (changed || Terminated()) continue;
        if (fw::Application && fw::Application->Terminated()) continue;
        lock.unlock();
        timer_->FireFromWorker();
        lock.lock();
    }
}

// ---- TKVXHiTimer --------------------------------------------------------------------------------

TKVXHiTimer::TKVXHiTimer(TComponent* owner) : TKVXComponent(owner) {
    TIMECAPS caps{};
    if (timeGetDevCaps(&caps, sizeof(caps)) == MMSYSERR_NOERROR) {
        minPeriod_ = caps.wPeriodMin;
        maxPeriod_ = caps.wPeriodMax;
    }
    timeBeginPeriod(minPeriod_);
    worker_ = new TKVXThreadedTimer(this);
    worker_->Start();
}

void TKVXHiTimer::BeforeDestruction() {
    dying_ = true;
    enabled_ = false;
    if (mmTimer_) timeKillEvent(mmTimer_);
    mmTimer_ = 0;
    timeEndPeriod(minPeriod_);
    if (worker_) {
        worker_->Stop();
        fw::RemoveQueuedEvents(this);
        // Serves Synchronize while it waits, so a worker blocked in one still ends (and sees dying_).
        worker_->WaitFor();
        fw::FreeAndNil(worker_);
    }
    {
        std::lock_guard<std::mutex> lock(handlerMutex_);
        onTimer_.Reset();
    }
    if (window_) fw::DeallocateHWnd(window_);
    window_ = nullptr;
    TKVXComponent::BeforeDestruction();
}

void TKVXHiTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Restart();
}

void TKVXHiTimer::SetUseThread(bool value) {
    if (value == useThread_) return;
    useThread_ = value;
    Restart();
}

void TKVXHiTimer::SetInterval(uint16_t value) {
    if (value == interval_) return;
    interval_ = value < minPeriod_ || value > maxPeriod_ ? 1000 : value;
    Restart();
}

void TKVXHiTimer::SetThreadPriority(fw::TThreadPriority value) {
    if (value == priority_) return;
    priority_ = value;
    if (useThread_) Restart();
}

TNotifyEvent TKVXHiTimer::OnTimer() const {
    std::lock_guard<std::mutex> lock(handlerMutex_);
    return onTimer_;
}

void TKVXHiTimer::SetOnTimer(const TNotifyEvent& value) {
    {
        std::lock_guard<std::mutex> lock(handlerMutex_);
        onTimer_ = value;
    }
    Restart();
}

void TKVXHiTimer::DoTimer() {
    const TNotifyEvent handler = OnTimer();
    if (handler) handler(this);
}

void TKVXHiTimer::Restart() {
    if (dying_) return;
    if (mmTimer_) timeKillEvent(mmTimer_);
    mmTimer_ = 0;
    const bool run = enabled_ && static_cast<bool>(OnTimer());
    if (useThread_) {
        if (window_) fw::DeallocateHWnd(window_);
        window_ = nullptr;
        if (run) worker_->SetPriority(priority_);
        worker_->Configure(interval_, run);
        return;
    }
    worker_->Configure(interval_, false);
    if (!window_)
        window_ = fw::AllocateHWnd([this](HWND h, UINT m, WPARAM w, LPARAM l) { return WindowProc(h, m, w, l); });
    if (interval_ != 0 && run) {
        inEvent_ = false;
        mmTimer_ = timeSetEvent(interval_, interval_, PostTimerMessage, reinterpret_cast<DWORD_PTR>(window_),
                                TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
        if (!mmTimer_) throw fw::EOutOfResources(texts::SNoTimers);
    }
}

// One firing on the GUI thread; an exception is reported with the component as Sender and later
// firings still run.
void TKVXHiTimer::RunTimer() {
    if (dying_ || !enabled_) return;
    try {
        DoTimer();
    } catch (...) {
        KVXReportException(this);
    }
}

void TKVXHiTimer::FireFromWorker() {
    if (synchronize_) {
        fw::Synchronize([this] { RunTimer(); }, this);
        return;
    }
    if (dying_ || !enabled_) return;
    try {
        DoTimer();
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        fw::Synchronize(
            [this, error] {
                try {
                    std::rethrow_exception(error);
                } catch (...) {
                    KVXReportException(this);
                }
            },
            this);
    }
}

LRESULT TKVXHiTimer::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_TIMER) return DefWindowProcA(wnd, msg, wParam, lParam);
    if (mmTimer_ && wParam == mmTimer_ && !inEvent_) {
        inEvent_ = true;
        RunTimer();
        inEvent_ = false;
    }
    return 0;
}

}  // namespace kvx::win32
