// TTimer and utility windows under Wine: ticks and stopping, exceptions in OnTimer reaching the
// application's handler with the timer going on, loading from form text, broadcasts reaching a hidden
// window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "framework/win32/callback.h"
#include "framework/win32/timers.h"
#include "framework/win32/utilwindow.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Collects what reaches the application's exception handler.
std::vector<std::string> g_reported;
void RecordException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        g_reported.push_back(e.what());
    } catch (...) {
        g_reported.push_back("?");
    }
}

class HandlerScope {
public:
    HandlerScope() {
        g_reported.clear();
        SetCallbackExceptionHandler(&RecordException);
    }
    ~HandlerScope() { SetCallbackExceptionHandler(nullptr); }
};

struct Ticks {
    int count = 0;
    int failEvery = 0;  // 0: never fail
    void OnTick(TObject*) {
        ++count;
        if (failEvery && count % failEvery == 1) throw EConvertError("tick " + std::to_string(count) + " failed");
    }
};

TEST(TimerTest, FiresWhileEnabledAndStops) {
    Ticks ticks;
    TTimer* timer = Make<TTimer>(nullptr);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_FALSE(timer->Active());  // no handler yet
    timer->SetInterval(10);
    timer->SetOnTimer(TNotifyEvent(&ticks, &Ticks::OnTick));
    EXPECT_TRUE(timer->Active());
    EXPECT_TRUE(PumpUntil([&] { return ticks.count >= 3; }, 5000));

    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Active());
    const int stoppedAt = ticks.count;
    PumpUntil([] { return false; }, 60);
    EXPECT_EQ(ticks.count, stoppedAt);

    // Interval 0 runs nothing, even when enabled.
    timer->SetInterval(0);
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Active());
    PumpUntil([] { return false; }, 30);
    EXPECT_EQ(ticks.count, stoppedAt);
    timer->SetInterval(10);
    EXPECT_TRUE(timer->Active());
    EXPECT_TRUE(PumpUntil([&] { return ticks.count >= stoppedAt + 2; }, 5000));
    timer->Free();
}

TEST(TimerTest, ExceptionInOnTimerReachesTheHandlerAndTheTimerGoesOn) {
    HandlerScope handler;
    Ticks ticks;
    ticks.failEvery = 2;  // ticks 1, 3, 5... fail
    TTimer* timer = Make<TTimer>(nullptr);
    timer->SetInterval(10);
    timer->SetOnTimer(TNotifyEvent(&ticks, &Ticks::OnTick));
    EXPECT_TRUE(PumpUntil([&] { return ticks.count >= 4; }, 5000));
    timer->Free();
    ASSERT_GE(g_reported.size(), 2u);
    EXPECT_EQ(g_reported[0], "tick 1 failed");
    EXPECT_EQ(g_reported[1], "tick 3 failed");
}

// A one-shot timer that frees itself from its own OnTimer (its window goes while its procedure runs).
TEST(TimerTest, OnTimerMayFreeItsTimer) {
    struct OneShot {
        int fired = 0;
        void OnTick(TObject* sender) {
            ++fired;
            static_cast<TTimer*>(sender)->Free();
        }
    } shot;
    TTimer* timer = Make<TTimer>(nullptr);
    HWND wnd = static_cast<HWND>(timer->WindowHandle());
    timer->SetInterval(5);
    timer->SetOnTimer(TNotifyEvent(&shot, &OneShot::OnTick));
    EXPECT_TRUE(PumpUntil([&] { return shot.fired > 0; }, 5000));
    PumpUntil([] { return false; }, 30);
    EXPECT_EQ(shot.fired, 1);
    EXPECT_FALSE(IsWindow(wnd));
}

TEST(TimerTest, FreedTimerDestroysItsWindow) {
    TTimer* timer = Make<TTimer>(nullptr);
    HWND wnd = static_cast<HWND>(timer->WindowHandle());
    ASSERT_TRUE(IsWindow(wnd));
    timer->Free();
    EXPECT_FALSE(IsWindow(wnd));
}

// A form-like root with a timer and its handler, read from form text.
class TTimerHost : public TComponent {
public:
    explicit TTimerHost(TComponent* owner) : TComponent(owner) {}
    TTimer* Timer1 = nullptr;
    int ticks = 0;
    void Timer1Timer(TObject*) { ++ticks; }
    void GetChildren(ChildProc proc, void* context, TComponent* root) override {
        for (int i = 0; i < ComponentCount(); ++i) proc(context, Components(i));
    }
};

TEST(TimerTest, LoadsFromFormText) {
    RegisterClasses();
    RegisterTimerClasses();
    Class<TTimerHost, TComponent>("TTimerHost")
        .Field("Timer1", &TTimerHost::Timer1)
        .Method("Timer1Timer", &TTimerHost::Timer1Timer);
    auto* host = Make<TTimerHost>(nullptr);
    ReadComponentText(host,
                      "object Host: TTimerHost\n"
                      "  object Timer1: TTimer\n"
                      "    Interval = 15\n"
                      "    OnTimer = Timer1Timer\n"
                      "  end\n"
                      "end\n",
                      "Host");
    ASSERT_NE(host->Timer1, nullptr);
    EXPECT_EQ(host->Timer1->Interval(), 15u);
    EXPECT_TRUE(host->Timer1->Enabled());
    EXPECT_TRUE(host->Timer1->Active());
    EXPECT_TRUE(PumpUntil([&] { return host->ticks >= 2; }, 5000));
    // Written back: only what differs from a fresh timer.
    const std::string text = WriteComponentText(host);
    EXPECT_NE(text.find("Interval = 15"), std::string::npos) << text;
    EXPECT_NE(text.find("OnTimer = Timer1Timer"), std::string::npos) << text;
    EXPECT_EQ(text.find("Enabled"), std::string::npos) << text;
    host->Free();

    // A disabled timer in the text never starts.
    auto* quiet = Make<TTimerHost>(nullptr);
    ReadComponentText(quiet,
                      "object Quiet: TTimerHost\n"
                      "  object Timer1: TTimer\n"
                      "    Enabled = False\n"
                      "    Interval = 10\n"
                      "    OnTimer = Timer1Timer\n"
                      "  end\n"
                      "end\n",
                      "Quiet");
    EXPECT_FALSE(quiet->Timer1->Active());
    PumpUntil([] { return false; }, 40);
    EXPECT_EQ(quiet->ticks, 0);
    quiet->Free();
}

// ---- utility windows ---------------------------------------------------------------------------------

TEST(UtilWindowTest, IsAHiddenTopLevelWindowThatBroadcastsReach) {
    const UINT broadcast = RegisterWindowMessageA("FwUtilWindowTestBroadcast");
    ASSERT_NE(broadcast, 0u);
    std::vector<WPARAM> received;
    HWND wnd = AllocateHWnd([&](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == broadcast) {
            received.push_back(w);
            return 0;
        }
        return DefWindowProcA(h, msg, w, l);
    });
    ASSERT_TRUE(IsWindow(wnd));
    EXPECT_FALSE(IsWindowVisible(wnd));
    // Top-level: its parent is the desktop, not the message-only root.
    EXPECT_EQ(GetAncestor(wnd, GA_PARENT), GetDesktopWindow());

    ASSERT_TRUE(PostMessageA(HWND_BROADCAST, broadcast, 42, 0));
    EXPECT_TRUE(PumpUntil([&] { return !received.empty(); }, 5000));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], 42u);

    DeallocateHWnd(wnd);
    EXPECT_FALSE(IsWindow(wnd));
    DeallocateHWnd(nullptr);  // ignored
}

TEST(UtilWindowTest, MethodExceptionGoesToTheHandlerWithResultZero) {
    HandlerScope handler;
    HWND wnd = AllocateHWnd([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == WM_APP + 5) throw EInvalidOperation("no such operation");
        if (msg == WM_APP + 6) return 99;
        return DefWindowProcA(h, msg, w, l);
    });
    EXPECT_EQ(SendMessageA(wnd, WM_APP + 5, 0, 0), 0);
    EXPECT_EQ(SendMessageA(wnd, WM_APP + 6, 0, 0), 99);  // the window goes on working
    DeallocateHWnd(wnd);
    ASSERT_EQ(g_reported.size(), 1u);
    EXPECT_EQ(g_reported[0], "no such operation");
}

TEST(UtilWindowTest, MethodMayDestroyItsOwnWindow) {
    int calls = 0;
    HWND wnd = nullptr;
    wnd = AllocateHWnd([&](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == WM_APP + 7) {
            ++calls;
            DeallocateHWnd(h);
            // The method's own state is still alive here.
            ++calls;
            return 1;
        }
        return DefWindowProcA(h, msg, w, l);
    });
    EXPECT_EQ(SendMessageA(wnd, WM_APP + 7, 0, 0), 1);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(IsWindow(wnd));
}

}  // namespace
}  // namespace fw
