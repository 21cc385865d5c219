#include "widgets/timerpool.h"

#include <gtest/gtest.h>

#include <vector>

#include "widgets/kvxapplication.h"

namespace kvx {
namespace {

// Records which item fired on which tick of the pool.
struct Recorder {
    TKVXTimerPool* pool = nullptr;
    std::vector<std::pair<int, int>> fired;  // (tick, tag)
    TNotifyEvent Make(int tag) {
        TNotifyEvent e;
        e.Bind(this, [tag](void* self, TObject*) {
            auto* r = static_cast<Recorder*>(self);
            r->fired.push_back({r->pool->TickCounter(), tag});
        });
        return e;
    }
    std::vector<int> TicksOf(int tag) const {
        std::vector<int> ticks;
        for (auto [tick, t] : fired)
            if (t == tag) ticks.push_back(tick);
        return ticks;
    }
};

void RunTicks(TKVXTimerPool* pool, int n) {
    for (int i = 0; i < n; ++i) pool->HandleTick();
}

class ApplicationTimers : public ::testing::Test {
protected:
    void SetUp() override { app = KVXCreateApplication(); }
    void TearDown() override { KVXDestroyApplication(); }
    TKVXApplication* app = nullptr;
};

TEST_F(ApplicationTimers, ItemsFireOnTheirTicks) {
    Recorder rec;
    rec.pool = app->TimerPool();
    const uint16_t a = app->AddTimer(500, rec.Make(1));
    const uint16_t b = app->AddTimer(50, rec.Make(2));
    const uint16_t c = app->AddTimer(1000, rec.Make(3));  // a new item already at 1000 ms
    ASSERT_EQ(a, 0xFD01);
    ASSERT_EQ(b, 0xFD02);
    ASSERT_EQ(c, 0xFD03);
    EXPECT_EQ(app->GetTimerItem(c)->TicksPerFiring(), 20);
    RunTicks(app->TimerPool(), 45);
    EXPECT_EQ(rec.TicksOf(1), (std::vector<int>{10, 20, 30, 40}));
    EXPECT_EQ(rec.TicksOf(2).size(), 45u);
    EXPECT_EQ(rec.TicksOf(3), (std::vector<int>{20, 40}));
}

TEST_F(ApplicationTimers, CallCountSwitchesOffAndOnAgain) {
    Recorder rec;
    rec.pool = app->TimerPool();
    const uint16_t id = app->AddTimer(50, rec.Make(1));
    TKVXTimerItem* item = app->GetTimerItem(id);
    item->CallCount = 3;
    RunTicks(app->TimerPool(), 10);
    EXPECT_EQ(rec.TicksOf(1).size(), 3u);
    EXPECT_FALSE(item->Enabled());
    EXPECT_EQ(item->Counter(), 3);
    item->SetEnabled(true);
    EXPECT_EQ(item->Counter(), 0);
    RunTicks(app->TimerPool(), 10);
    EXPECT_EQ(rec.TicksOf(1).size(), 6u);
    item->CallCount = 0;
    item->SetEnabled(true);  // switching on needs a CallCount other than 0
    EXPECT_FALSE(item->Enabled());
}

TEST_F(ApplicationTimers, IntervalsAndSlots) {
    TNotifyEvent none;
    for (uint16_t bad : {75, 0, 25, 130}) EXPECT_THROW(app->AddTimer(bad, none), fw::Exception) << bad;
    try {
        app->AddTimer(75, none);
    } catch (const fw::Exception& e) {
        EXPECT_EQ(e.Message(), "Interval not compatible with MinInterval property!");
    }
    for (int i = 0; i < 250; ++i) ASSERT_EQ(app->AddTimer(100, none), 0xFD01 + i);
    EXPECT_EQ(app->AddTimer(100, none), 0);  // the 251st
    app->RemoveTimer(0xFD05);
    EXPECT_EQ(app->AddTimer(100, none), 0xFD05);  // the lowest free slot
    app->RemoveTimer(0x1234);                     // not an application ident: ignored
    EXPECT_EQ(app->TimerPool()->Count(), 250);
}

TEST_F(ApplicationTimers, CallbacksRemoveItemsDuringATick) {
    // Item 1 removes itself and item 3 on its second firing; item 2 keeps going; nothing fires twice.
    struct Ctx {
        TKVXApplication* app;
        uint16_t ids[3];
        int count[3] = {0, 0, 0};
    } ctx{app, {}};
    TNotifyEvent e[3];
    for (int k = 0; k < 3; ++k) {
        e[k].Bind(&ctx, [k](void* p, TObject*) {
            auto* c = static_cast<Ctx*>(p);
            ++c->count[k];
            if (k == 0 && c->count[0] == 2) {
                c->app->RemoveTimer(c->ids[0]);
                c->app->RemoveTimer(c->ids[2]);
            }
        });
    }
    for (int k = 0; k < 3; ++k) ctx.ids[k] = app->AddTimer(50, e[k]);
    RunTicks(app->TimerPool(), 5);
    EXPECT_EQ(ctx.count[0], 2);
    EXPECT_EQ(ctx.count[1], 5);
    EXPECT_EQ(ctx.count[2], 1);
    EXPECT_EQ(app->TimerPool()->Count(), 1);
}

TEST_F(ApplicationTimers, AnExceptionInATickIsReportedAndLaterTicksRun) {
    int reported = 0;
    KVXSetExceptionReporter([&](TObject* sender) {
        EXPECT_EQ(sender, app->TimerPool());
        ++reported;
    });
    int calls = 0;
    TNotifyEvent e;
    e.Bind(&calls, [](void* p, TObject*) {
        if (++*static_cast<int*>(p) == 1) throw fw::Exception("boom");
    });
    app->AddTimer(50, e);
    RunTicks(app->TimerPool(), 3);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(calls, 3);
    // A raising item does not hold the counter back: a 500 ms item that raises on tick 10 fires
    // again on tick 20 only, never a second time on tick 10.
    int slowCalls = 0;
    TNotifyEvent slow;
    slow.Bind(&slowCalls, [](void* p, TObject*) {
        if (++*static_cast<int*>(p) == 1) throw fw::Exception("slow boom");
    });
    app->RemoveTimer(0xFD01);
    app->AddTimer(500, slow);
    RunTicks(app->TimerPool(), 25);
    EXPECT_EQ(slowCalls, 2);
    EXPECT_EQ(reported, 2);
    KVXSetExceptionReporter({});
}

TEST(TimerPool, DuplicateIdentsMinIntervalAndOnTimer) {
    auto* pool = new TKVXTimerPool(nullptr, 0);  // 0 is refused
    EXPECT_EQ(pool->MinInterval(), 1000);
    pool->SetMinInterval(50);  // only while loading
    EXPECT_EQ(pool->MinInterval(), 1000);
    pool->SetComponentState(fw::csLoading);
    pool->SetMinInterval(0);
    EXPECT_EQ(pool->MinInterval(), 1000);
    pool->SetMinInterval(100);
    pool->ClearComponentState(fw::csLoading);
    EXPECT_EQ(pool->MinInterval(), 100);

    std::vector<std::pair<int, int>> seen;
    pool->OnTimer.Bind(&seen, [](void* p, TObject*, uint16_t ident, int counter) {
        static_cast<std::vector<std::pair<int, int>>*>(p)->push_back({ident, counter});
    });
    pool->Add(7, 200, TNotifyEvent());
    try {
        pool->Add(7, 100, TNotifyEvent());
        ADD_FAILURE() << "duplicate ident accepted";
    } catch (const fw::Exception& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (7)");
    }
    EXPECT_TRUE(pool->Running());
    pool->ItemByIdent(7)->SetInterval(0);  // 0 stands for MinInterval
    EXPECT_EQ(pool->ItemByIdent(7)->Interval(), 100);
    for (int i = 0; i < 3; ++i) pool->HandleTick();
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{7, 1}, {7, 2}, {7, 3}}));
    pool->Remove(7);
    EXPECT_FALSE(pool->Running());
    pool->Free();
}

}  // namespace
}  // namespace kvx
