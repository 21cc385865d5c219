#include "widgets/windowplace.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kvx {
namespace {

using P = TKVXDlgPosition;

TEST(KVXWindowPlace, NinePositions) {
    const TRect ref{100, 50, 500, 350};  // 400 x 300
    struct Case {
        P position;
        TPoint want;
    };
    const Case cases[] = {
        {P::bpCustom, {100, 50}},     {P::bpTopLeft, {100, 50}},     {P::bpTopCenter, {250, 50}},
        {P::bpTopRight, {400, 50}},   {P::bpCenterLeft, {100, 160}}, {P::bpCenter, {250, 160}},
        {P::bpCenterRight, {400, 160}}, {P::bpBottomLeft, {100, 270}}, {P::bpBottomCenter, {250, 270}},
        {P::bpBottomRight, {400, 270}},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXPlacePosition(100, 80, ref, c.position, 1024, 768), c.want) << static_cast<int>(c.position);
}

TEST(KVXWindowPlace, KeptOnTheScreen) {
    // Below the screen: up to the reference's bottom edge; past the right: to its right edge.
    EXPECT_EQ(KVXPlacePosition(100, 80, {0, 700, 300, 760}, P::bpTopLeft, 1024, 768), (TPoint{0, 680}));
    EXPECT_EQ(KVXPlacePosition(100, 80, {960, 0, 1000, 40}, P::bpTopLeft, 1024, 768), (TPoint{900, 0}));
    // A negative coordinate becomes 0.
    EXPECT_EQ(KVXPlacePosition(300, 200, {0, 0, 100, 100}, P::bpCenter, 1024, 768), (TPoint{0, 0}));
    EXPECT_EQ(KVXPlacePosition(300, 200, {-50, -40, 100, 100}, P::bpTopLeft, 1024, 768), (TPoint{0, 0}));
}

TEST(KVXWindowPlace, ExplodeOutlines) {
    EXPECT_EQ(KVXEffectSteps(3), 40);
    EXPECT_EQ(KVXEffectSteps(4), 4);
    EXPECT_EQ(KVXEffectDelay(0), 1);
    EXPECT_EQ(KVXEffectDelay(-5), 1);
    const TRect target{203, 117, 503, 317};
    const auto rects = KVXExplodeRects(11, 13, 3, target);
    ASSERT_EQ(rects.size(), 40u);
    EXPECT_EQ(rects.back(), target);  // the last outline is the window's own rectangle
    EXPECT_EQ(rects.front(), (TRect{15, 15, 22, 20}));
    for (size_t i = 1; i < rects.size(); ++i) EXPECT_GE(rects[i].Width(), rects[i - 1].Width());

    const auto ext = KVXExplodeExtRects(11, 13, 7, 20, 10, true, target);
    ASSERT_EQ(ext.size(), 14u);
    // The small outline flies to the turning point below the window's middle ...
    EXPECT_EQ(ext[6], (TRect{107, 317, 127, 327}));
    // ... then grows into the window.
    EXPECT_EQ(ext.back(), target);
    EXPECT_EQ(KVXExplodeExtRects(11, 13, 7, 20, 10, false, target).size(), 7u);
}

TEST(KVXWindowPlace, PauseIsNotOptimisedAway) {
    const auto start = std::chrono::steady_clock::now();
    KVXEffectPause(2000);  // 20 million counts
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GT(elapsed, std::chrono::milliseconds(2));
}

}  // namespace
}  // namespace kvx
