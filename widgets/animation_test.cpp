#include "widgets/animation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvx {
namespace {

using A = TKVXAnimationStyle;

class FakeAnimation : public TKVXAnimationHost {
public:
    FakeAnimation() : run(*this) {}
    TKVXAnimation run;
    bool visible = true, canPaint = true, timer = false, invalidates = false, destroying = false;
    std::vector<int> drawn;  // frames drawn with OnAnimate
    int quietDraws = 0, starts = 0, stops = 0, invalidated = 0;

    bool CanPaint() override { return canPaint; }
    bool IsVisible() override { return visible; }
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    bool Destroying() override { return destroying; }
    void DrawFrame(bool withEvent) override {
        if (withEvent)
            drawn.push_back(run.Frame());
        else
            ++quietDraws;
    }
    bool InvalidatesFrames() override { return invalidates; }
    void Invalidate() override { ++invalidated; }
    void EnableTimer(bool enable) override { timer = enable; }
    void StartEvent() override { ++starts; }
    void StopEvent() override { ++stops; }

    // Ticks until the run stops (at most Limit ticks).
    void RunOut(int limit = 100) {
        for (int i = 0; i < limit && run.Animating(); ++i) run.Step();
    }
};

TEST(KVXAnimation, EndOfRunBehaviours) {
    // Frames 0..3; the frames drawn with OnAnimate from the start, and the state after the run.
    struct Case {
        A style;
        bool reverse;
        int repetitions;
        int ticks;  // 0: until it stops
        std::vector<int> frames;
        bool running, visible;
        int frameAfter;
    };
    const Case cases[] = {
        {A::asLoop, false, 1, 6, {0, 1, 2, 3, 0, 1, 2}, true, true, 2},
        {A::asLoop, true, 1, 5, {3, 2, 1, 0, 3, 2}, true, true, 2},
        {A::asLoopReverse, false, 1, 8, {0, 1, 2, 3, 3, 2, 1, 0, 0}, true, true, 0},
        {A::asRepeat, false, 3, 0, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}, false, true, 3},
        {A::asRepeatFirst, false, 1, 0, {0, 1, 2, 3}, false, true, 0},
        {A::asRepeatHide, false, 1, 0, {0, 1, 2, 3}, false, false, 3},
        {A::asRepeatFirst, true, 1, 0, {3, 2, 1, 0}, false, true, 3},
    };
    for (const Case& c : cases) {
        FakeAnimation a;
        a.run.SetFrameBounds(0, 3);
        a.run.Style = c.style;
        a.run.Reverse = c.reverse;
        a.run.Repetitions = static_cast<uint8_t>(c.repetitions);
        a.run.Start();
        if (c.ticks)
            for (int i = 0; i < c.ticks; ++i) a.run.Step();
        else
            a.RunOut();
        const std::string name = std::to_string(static_cast<int>(c.style)) + (c.reverse ? " reverse" : "");
        EXPECT_EQ(a.drawn, c.frames) << name;
        EXPECT_EQ(a.run.Animating(), c.running) << name;
        EXPECT_EQ(a.timer, c.running) << name;
        EXPECT_EQ(a.visible, c.visible) << name;
        EXPECT_EQ(a.run.Frame(), c.frameAfter) << name;
        EXPECT_EQ(a.starts, 1) << name;
        EXPECT_EQ(a.stops, c.running ? 0 : 1) << name;
    }
}

TEST(KVXAnimation, StopShowsTheFirstFrameOrHides) {
    FakeAnimation loop;
    loop.run.SetFrameBounds(2, 6);
    loop.run.Start();
    loop.run.Step();
    loop.run.Stop();
    EXPECT_EQ(loop.run.Frame(), 2);
    EXPECT_EQ(loop.quietDraws, 1);
    EXPECT_EQ(loop.stops, 1);
    loop.run.Stop();  // not running: nothing
    EXPECT_EQ(loop.stops, 1);

    FakeAnimation hide;
    hide.run.SetFrameBounds(0, 5);
    hide.run.Style = A::asLoopHide;
    hide.run.Start();
    hide.run.Stop();
    EXPECT_FALSE(hide.visible);

    FakeAnimation dying;
    dying.run.SetFrameBounds(0, 5);
    dying.run.Start();
    dying.destroying = true;
    dying.run.Stop();
    EXPECT_EQ(dying.quietDraws, 0);
    EXPECT_EQ(dying.stops, 1);
}

TEST(KVXAnimation, StartNeedsSomethingToShow) {
    FakeAnimation nothing;
    nothing.canPaint = false;
    nothing.run.Start();
    EXPECT_FALSE(nothing.run.Animating());

    FakeAnimation hidden;
    hidden.visible = false;
    hidden.run.MakeVisible = false;
    hidden.run.Start();
    EXPECT_FALSE(hidden.run.Animating());
    hidden.run.MakeVisible = true;
    hidden.run.Start();
    EXPECT_TRUE(hidden.run.Animating());
    EXPECT_TRUE(hidden.visible);

    // Hidden while running: the next tick stops.
    hidden.visible = false;
    hidden.run.Step();
    EXPECT_FALSE(hidden.run.Animating());
}

TEST(KVXAnimation, TransparentFramesWithoutBufferInvalidate) {
    FakeAnimation a;
    a.invalidates = true;
    a.run.SetFrameBounds(0, 9);
    a.run.Start();
    a.run.Step();
    a.run.Step();
    EXPECT_EQ(a.invalidated, 2);
    EXPECT_EQ(a.drawn, (std::vector<int>{0}));
}

TEST(KVXAnimation, FrameBoundsAreCheckedAndSorted) {
    FakeAnimation a;
    a.run.SetFrameBounds(0, 5);
    EXPECT_TRUE(a.run.SetBound(true, 10, 29));  // StartFrame 10 while StopFrame is 5
    EXPECT_EQ(a.run.StartFrame(), 5);
    EXPECT_EQ(a.run.StopFrame(), 10);
    EXPECT_FALSE(a.run.SetBound(false, 29, 29));   // past the entry
    EXPECT_FALSE(a.run.SetBound(false, -1, 29));
    EXPECT_FALSE(a.run.SetBound(false, 256, 300));  // above 255
    EXPECT_TRUE(a.run.SetBound(false, 255, 300));
    EXPECT_EQ(a.run.StopFrame(), 255);
    a.run.Start();
    EXPECT_TRUE(a.run.SetBound(false, 7, 29));  // an accepted bound stops the run
    EXPECT_FALSE(a.run.Animating());
    EXPECT_EQ(a.run.StartFrame(), 5);
    EXPECT_EQ(a.run.StopFrame(), 7);
}

TEST(KVXAnimation, PoolIntervalsRoundUpAndStayInSixteenBits) {
    struct Case {
        unsigned in, want;
    };
    const Case cases[] = {{120, 150}, {100, 100}, {1, 50}, {50, 50}, {65450, 65450}, {65451, 65500},
                          {65500, 65500}, {65501, 65500}, {65535, 65500}};
    for (const Case& c : cases) EXPECT_EQ(KVXPoolInterval(static_cast<uint16_t>(c.in)), c.want) << c.in;
}

}  // namespace
}  // namespace kvx
