#include "widgets/groupcaption.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using G = TKVXGroupCaptionAlign;
using A = TKVXAlignment;

TEST(KVXGroupCaption, TwelvePositions) {
    // A box of 185 x 105 with a caption line 14 high (h = 6) and CaptionOffset 8.
    struct Case {
        G align;
        int angle;
        A text;
        TRect caption, bevel;
    };
    const Case cases[] = {
        {G::gcaTopLeft, 0, A::agTopLeft, {8, 0, 185, 14}, {0, 6, 185, 105}},
        {G::gcaTopCenter, 0, A::agTopCenter, {0, 0, 185, 14}, {0, 6, 185, 105}},
        {G::gcaTopRight, 0, A::agTopRight, {0, 0, 177, 14}, {0, 6, 185, 105}},
        {G::gcaLeftBottom, 90, A::agBottomLeft, {0, 0, 14, 97}, {6, 0, 185, 105}},
        {G::gcaLeftCenter, 90, A::agCenterLeft, {0, 0, 14, 105}, {6, 0, 185, 105}},
        {G::gcaLeftTop, 90, A::agTopLeft, {0, 8, 14, 105}, {6, 0, 185, 105}},
        {G::gcaBottomLeft, 0, A::agBottomLeft, {8, 91, 185, 105}, {0, 0, 185, 99}},
        {G::gcaBottomCenter, 0, A::agBottomCenter, {0, 91, 185, 105}, {0, 0, 185, 99}},
        {G::gcaBottomRight, 0, A::agBottomRight, {0, 91, 177, 105}, {0, 0, 185, 99}},
        {G::gcaRightTop, 270, A::agTopRight, {171, 10, 185, 105}, {0, 0, 179, 105}},
        {G::gcaRightCenter, 270, A::agCenterRight, {171, 2, 185, 105}, {0, 0, 179, 105}},
        {G::gcaRightBottom, 270, A::agBottomRight, {171, 2, 185, 97}, {0, 0, 179, 105}},
    };
    for (const Case& c : cases) {
        const int i = static_cast<int>(c.align);
        EXPECT_EQ(KVXGroupCaptionAngle(c.align), c.angle) << i;
        EXPECT_EQ(KVXGroupTextAlignment(c.align), c.text) << i;
        const TKVXGroupRects r = KVXGroupRects(c.align, 185, 105, 14, 8);
        EXPECT_EQ(r.caption, c.caption) << i;
        EXPECT_EQ(r.bevel, c.bevel) << i;
    }
}

TEST(KVXGroupCaption, HalfExtentTruncates) {
    // Extent 1: h = 1 div 2 - 1 = -1, so the frame reaches one pixel past the top.
    EXPECT_EQ(KVXGroupRects(G::gcaTopLeft, 50, 40, 1, 0).bevel, (TRect{0, -1, 50, 40}));
    EXPECT_EQ(KVXGroupRects(G::gcaTopLeft, 50, 40, 15, 0).bevel, (TRect{0, 6, 50, 40}));
}

TEST(KVXGroupCaption, WipeAndArrangeRectangles) {
    const TRect text{10, 0, 60, 14};
    EXPECT_EQ(KVXGroupWipeRect(G::gcaTopCenter, text), (TRect{8, 0, 60, 14}));
    EXPECT_EQ(KVXGroupWipeRect(G::gcaBottomRight, text), (TRect{8, 0, 60, 14}));
    EXPECT_EQ(KVXGroupWipeRect(G::gcaLeftTop, text), (TRect{10, 0, 60, 16}));
    EXPECT_EQ(KVXGroupWipeRect(G::gcaRightCenter, text), (TRect{10, -2, 60, 14}));
    const TRect area{2, 2, 183, 103};
    EXPECT_EQ(KVXGroupArrangeRect(G::gcaTopRight, area, 14), (TRect{2, 16, 183, 103}));
    EXPECT_EQ(KVXGroupArrangeRect(G::gcaLeftBottom, area, 14), (TRect{16, 2, 183, 103}));
    EXPECT_EQ(KVXGroupArrangeRect(G::gcaBottomLeft, area, 14), (TRect{2, 2, 183, 89}));
    EXPECT_EQ(KVXGroupArrangeRect(G::gcaRightCenter, area, 14), (TRect{2, 2, 169, 103}));
}

}  // namespace
}  // namespace kvx
