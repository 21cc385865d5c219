// The barrier routes to the application: exceptions thrown in a click handler, a timer and a hook reach
// Application.OnException (EAbort stays silent, other exceptions arrive as the suite's exception),
// and the application's loop goes on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/win32/application.h"
#include "framework/win32/controls.h"
#include "framework/win32/hooks.h"
#include "framework/win32/timers.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kGoOn = WM_APP + 2;

// A hidden windowed control that notes kGoOn.
class TTarget : public TWinControl {
public:
    explicit TTarget(TComponent* owner) : TWinControl(owner) { SetVisible(false); }
    int goOn = 0;

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == kGoOn) {
            ++goOn;
            return;
        }
        TWinControl::WndProc(message);
    }
};

class BarrierApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitApplication();
        Application->OnException.Bind(this, [](void* self, TObject* sender, Exception& e) {
            auto* test = static_cast<BarrierApplicationTest*>(self);
            test->reported.push_back(e.Message());
            test->senders.push_back(sender);
        });
        target = Make<TTarget>(nullptr);
        target->SetBounds(0, 0, 100, 50);
        target->HandleNeeded();
    }
    void TearDown() override {
        target->Free();
        DoneApplication();
    }
    // Posts kGoOn and runs the application's loop until it arrived.
    bool LoopGoesOn() {
        const int before = target->goOn;
        PostMessageA(target->Handle(), kGoOn, 0, 0);
        for (int i = 0; i < 200 && target->goOn == before; ++i) {
            Application->ProcessMessages();
            Sleep(5);
        }
        return target->goOn > before;
    }

    TTarget* target = nullptr;
    std::vector<std::string> reported;
    std::vector<TObject*> senders;
};

TEST_F(BarrierApplicationTest, AClickHandlerThatFailsReachesOnException) {
    target->OnClick.Bind(this, [](void*, TObject*) { throw EConvertError("click failed"); });
    const LPARAM at = MAKELPARAM(10, 10);
    PostMessageA(target->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(target->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(LoopGoesOn());
    EXPECT_EQ(reported, (std::vector<std::string>{"click failed"}));
    EXPECT_NE(senders.at(0), nullptr) << "a handler always gets a sender";
}

TEST_F(BarrierApplicationTest, ATimerThatFailsReachesOnExceptionAndKeepsRunning) {
    TTimer* timer = Make<TTimer>(nullptr);
    int ticks = 0;
    timer->SetInterval(10);
    TNotifyEvent onTimer;
    onTimer.Bind(&ticks, [](void* count, TObject*) {
        ++*static_cast<int*>(count);
        throw EInvalidOperation("tick failed");
    });
    timer->SetOnTimer(onTimer);
    for (int i = 0; i < 400 && ticks < 3; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
    timer->Free();
    EXPECT_GE(ticks, 3) << "the timer keeps running after a failure";
    ASSERT_GE(reported.size(), 3u);
    EXPECT_EQ(reported.front(), "tick failed");
    EXPECT_TRUE(LoopGoesOn());
}

TEST_F(BarrierApplicationTest, HookExceptionsArriveAsTheSuitesExceptionAndEAbortStaysSilent) {
    struct Case {
        const char* name;
        void (*raise)();
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"suite exception", [] { throw EListError("list index out of bounds"); }, {"list index out of bounds"}},
        {"standard exception", [] { throw std::runtime_error("runtime failure"); }, {"runtime failure"}},
        {"unknown exception", [] { throw 42; }, {"Unknown exception"}},
        {"EAbort", [] { Abort(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reported.clear();
        const HookId id = AddHook(*target, [&c](HookMessage& m) {
            if (m.Msg == kThrow) c.raise();
        });
        PostMessageA(target->Handle(), kThrow, 0, 0);
        EXPECT_TRUE(LoopGoesOn());
        EXPECT_EQ(reported, c.want);
        RemoveHook(id);
    }
}

}  // namespace
}  // namespace fw
