#include "installer/controls/scroll_spin_machine.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "widgets/kvxapplication.h"

namespace inst {
namespace {

// A fresh suite application whose 50 ms pool the test ticks by hand; tick n of the test is the pool's
// n-th tick after the button registered its timer.
class SpinMachine : public ::testing::Test {
protected:
    void SetUp() override { app = kvx::KVXCreateApplication(); }
    void TearDown() override {
        button.reset();
        kvx::KVXDestroyApplication();
    }
    void MakeButton(uint8_t arrows) {
        button = std::make_unique<ScrollSpinMachine>();
        button->SetArrows(arrows);
        button->OnClick = [this](int state) {
            clicks.push_back(tick);
            states.push_back(state);
        };
        button->OnRepaint = [this] { ++repaints; };
        button->HasCapture = [this] { return captured; };
    }
    void RunTicks(int n) {
        for (int i = 0; i < n; ++i) {
            ++tick;
            app->TimerPool()->HandleTick();
        }
    }

    kvx::TKVXApplication* app = nullptr;
    std::unique_ptr<ScrollSpinMachine> button;
    std::vector<int> clicks, states;
    int tick = 0;
    int repaints = 0;
    bool captured = true;
};

TEST_F(SpinMachine, HeldArrowFiresAtOnceThenAfter300ThenEvery100) {
    MakeButton(sbDown);
    ASSERT_NE(button->TimerIdent(), 0);
    // The pool fires an item on the ticks its interval divides, counted from the last registration:
    // pressed right after it, the 300 ms wait is whole.
    button->Press();
    EXPECT_EQ(button->State(), 2);
    RunTicks(12);
    // At once, after 6 ticks of 50 ms, then every 2 ticks.
    EXPECT_EQ(clicks, (std::vector<int>{0, 6, 8, 10, 12}));
    EXPECT_EQ(states, std::vector<int>(5, 2));
    button->Release(true);
    EXPECT_EQ(button->State(), 0);
    EXPECT_FALSE(button->Repeating());
    RunTicks(10);
    EXPECT_EQ(clicks.size(), 5u);
}

TEST_F(SpinMachine, StatePerSingleArrowAndNoneForSeveral) {
    struct Case {
        uint8_t arrows;
        int state;
    };
    const Case cases[] = {{sbUp, 1}, {sbDown, 2}, {sbLeft, 3}, {sbRight, 4}, {sbUp | sbDown, 0}, {sbLeft | sbRight | sbUp, 0}};
    for (const Case& c : cases) {
        MakeButton(c.arrows);
        clicks.clear();
        states.clear();
        button->Press();
        EXPECT_EQ(button->State(), c.state) << int(c.arrows);
        EXPECT_EQ(states, c.state ? std::vector<int>{c.state} : std::vector<int>{}) << int(c.arrows);
        EXPECT_TRUE(button->Tracking());
        RunTicks(10);
        EXPECT_EQ(clicks.size(), c.state ? 4u : 0u) << int(c.arrows);
        button->Release(true);
    }
}

TEST_F(SpinMachine, LeavingTheButtonOrLosingTheCaptureStopsRepeats) {
    MakeButton(sbUp);
    button->Press();
    button->Move(true);
    EXPECT_EQ(button->State(), 1);
    button->Move(false);
    EXPECT_EQ(button->State(), 0);
    button->Move(true);  // coming back does not press again
    EXPECT_EQ(button->State(), 0);
    RunTicks(10);
    EXPECT_EQ(clicks.size(), 1u);
    button->Release(false);

    clicks.clear();
    button->Press();
    captured = false;
    RunTicks(10);
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(SpinMachine, EmptySetKeepsTheLayoutAndDisablingShowsState5) {
    MakeButton(sbLeft);
    EXPECT_FALSE(button->SetArrows(0));
    EXPECT_EQ(button->Arrows(), sbLeft);
    button->SetEnabled(false);
    EXPECT_EQ(button->State(), 5);
    button->Press();  // a disabled button is not pressed
    EXPECT_TRUE(clicks.empty());
    button->SetEnabled(true);
    EXPECT_EQ(button->State(), 0);
}

TEST_F(SpinMachine, RaisingClickStopsTheTimer) {
    MakeButton(sbRight);
    button->Press();
    button->OnClick = [](int) { throw std::runtime_error("click"); };
    EXPECT_THROW(button->Tick(), std::runtime_error);
    EXPECT_FALSE(button->Repeating());
}

TEST_F(SpinMachine, FullTimerPoolMeansNoRepeatAndNoFailure) {
    std::vector<uint16_t> taken;
    for (int i = 0; i < kvx::kTimerSlots; ++i) taken.push_back(app->AddTimer(50, kvx::TNotifyEvent()));
    ASSERT_EQ(app->AddTimer(50, kvx::TNotifyEvent()), 0);
    MakeButton(sbUp);
    EXPECT_EQ(button->TimerIdent(), 0);
    button->Press();  // fires once, does not fail
    EXPECT_EQ(clicks.size(), 1u);
    RunTicks(10);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_FALSE(button->Repeating());
    button->Release(true);
    button.reset();  // and leaves the other idents alone
    EXPECT_EQ(app->TimerPool()->Count(), kvx::kTimerSlots);
    for (uint16_t ident : taken) app->RemoveTimer(ident);
}

}  // namespace
}  // namespace inst
