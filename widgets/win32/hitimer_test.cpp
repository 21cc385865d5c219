// The high-resolution timer under Wine: where OnTimer runs, message mode, exceptions, and many
// create/destroy cycles while it fires.
#include <gtest/gtest.h>

#include <atomic>

#include "framework/win32/application.h"
#include "framework/win32/winapi.h"
#include "widgets/win32/hitimer.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using test::PumpUntil;

struct Probe {
    std::atomic<int> calls{0};
    std::atomic<DWORD> thread{0};
    bool throwFirst = false;
};

TNotifyEvent Counting(Probe& p) {
    TNotifyEvent e;
    e.Bind(&p, [](void* self, TObject*) {
        auto* probe = static_cast<Probe*>(self);
        probe->thread = GetCurrentThreadId();
        if (++probe->calls == 1 && probe->throwFirst) throw fw::Exception("first firing fails");
    });
    return e;
}

class HiTimer : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        KVXStartApplication();
    }
    void TearDown() override {
        KVXStopApplication();
        fw::DoneApplication();
    }
};

TEST_F(HiTimer, SynchronizedFiringsRunOnTheGuiThread) {
    Probe p;
    auto* t = new TKVXHiTimer(nullptr);
    EXPECT_FALSE(t->Enabled());
    EXPECT_EQ(t->Interval(), 1000);
    t->SetInterval(10);
    t->SetOnTimer(Counting(p));
    t->SetEnabled(true);
    PumpUntil([&] { return p.calls >= 3; });
    EXPECT_GE(p.calls, 3);
    EXPECT_EQ(p.thread, GetCurrentThreadId());

    // Without Synchronize the worker runs it.
    t->SetSynchronize(false);
    p.calls = 0;
    PumpUntil([&] { return p.calls >= 3; });
    EXPECT_GE(p.calls, 3);
    EXPECT_NE(p.thread, GetCurrentThreadId());

    // Disabled: nothing more.
    t->SetEnabled(false);
    Sleep(30);
    const int after = p.calls;
    Sleep(60);
    EXPECT_EQ(p.calls, after);
    t->Free();
}

TEST_F(HiTimer, MessageModeAndExceptionsThatDoNotStopIt) {
    Probe p;
    p.throwFirst = true;
    int reported = 0;
    fw::Application->OnException.Bind(&reported, [](void* r, TObject*, fw::Exception&) { ++*static_cast<int*>(r); });
    auto* t = new TKVXHiTimer(nullptr);
    t->SetUseThread(false);
    t->SetInterval(10);
    t->SetOnTimer(Counting(p));
    t->SetEnabled(true);
    PumpUntil([&] { return p.calls >= 4; });
    EXPECT_GE(p.calls, 4) << "an exception in the first firing must not stop the timer";
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(p.thread, GetCurrentThreadId());
    t->SetInterval(0);  // below the system's minimum period: 1000
    EXPECT_EQ(t->Interval(), 1000);
    if (t->MaxPeriod() < 65535) {
        t->SetInterval(65535);
        EXPECT_EQ(t->Interval(), 1000);
    }
    t->Free();
    fw::Application->OnException.Reset();
}

TEST_F(HiTimer, HundredCyclesOfCreateAndDestroyWhileFiring) {
    Probe p;
    for (int cycle = 0; cycle < 100; ++cycle) {
        auto* t = new TKVXHiTimer(nullptr);
        t->SetSynchronize(cycle % 2 == 0);
        t->SetInterval(1);
        t->SetOnTimer(Counting(p));
        t->SetEnabled(true);
        const int before = p.calls;
        PumpUntil([&] { return p.calls > before; });
        Sleep(2);  // let a firing be under way, or queued for the GUI thread
        t->Free();
        const int atFree = p.calls;
        Sleep(5);
        fw::Application->ProcessMessages();
        ASSERT_EQ(p.calls, atFree) << "fired after its destruction, cycle " << cycle;
    }
    EXPECT_GE(p.calls, 100);
}

}  // namespace
}  // namespace kvx::win32
