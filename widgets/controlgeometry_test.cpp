#include "widgets/controlgeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvx {
namespace {

TEST(KVXControlGeometry, BoundsKindFlags) {
    struct Case {
        const char* name;
        TRect before, after;
        uint32_t want;  // 1 size, 2 position
    };
    const Case cases[] = {
        {"nothing", {10, 10, 60, 40}, {10, 10, 60, 40}, 0},
        {"move only", {10, 10, 60, 40}, {20, 5, 70, 35}, 2},
        {"resize only", {10, 10, 60, 40}, {10, 10, 90, 40}, 1},
        {"height only", {10, 10, 60, 40}, {10, 10, 60, 41}, 1},
        {"both", {10, 10, 60, 40}, {0, 0, 20, 20}, 3},
        {"right edge moves with left", {10, 10, 60, 40}, {11, 10, 61, 40}, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXBoundsKind(c.before, c.after).Bits(), c.want) << c.name;
}

TEST(KVXControlGeometry, HalfBorderTruncatesTowardsZero) {
    EXPECT_EQ(KVXHalfBorder(100, 40, 96, 36), (TPoint{2, 2}));  // a client edge
    EXPECT_EQ(KVXHalfBorder(100, 40, 98, 38), (TPoint{1, 1}));  // a plain border
    EXPECT_EQ(KVXHalfBorder(100, 40, 97, 40), (TPoint{1, 0}));  // odd: rounded down
    EXPECT_EQ(KVXHalfBorder(100, 40, 101, 43), (TPoint{0, -1}));  // towards zero, not down
    EXPECT_EQ(KVXHalfBorder(100, 40, 100, 40), (TPoint{0, 0}));
}

TEST(KVXControlGeometry, BackgroundPointSumsEveryPanelOfTheChain) {
    // A transparent panel at (30, 20) with a client edge, inside one at (12, 8) with a client edge, inside
    // the bitmap's owner: the inner client origin sits at 12 + 2 + 30 + 2, 8 + 2 + 20 + 2.
    const std::vector<TKVXBackLevel> chain = {{{30, 20}, {2, 2}}, {{12, 8}, {2, 2}}};
    EXPECT_EQ(KVXBackgroundPoint(chain, {0, 0}), (TPoint{46, 32}));
    EXPECT_EQ(KVXBackgroundPoint(chain, {5, 7}), (TPoint{51, 39}));
    EXPECT_EQ(KVXBackgroundPoint({}, {5, 7}), (TPoint{5, 7}));
    // A label at (3, 4) on the inner panel asks with its position: the same sum.
    EXPECT_EQ(KVXBackgroundPoint(chain, {3, 4}), (TPoint{49, 36}));
}

TEST(KVXControlGeometry, BitmapCoversOnlyWhenBothCornersAreInside) {
    struct Case {
        TRect client;
        int w, h;
        bool want;
    };
    const Case cases[] = {
        {{0, 0, 96, 36}, 100, 40, true},    // shrunk: the old bitmap serves
        {{0, 0, 100, 40}, 100, 40, false},  // right and bottom edges are excluded
        {{0, 0, 120, 36}, 100, 40, false},  // grown
        {{0, 0, 50, 60}, 100, 40, false},
        {{0, 0, 10, 10}, 0, 0, false},      // no bitmap yet
    };
    for (const Case& c : cases) EXPECT_EQ(KVXBitmapCovers(c.client, c.w, c.h), c.want);
}

TEST(KVXControlGeometry, ParentPanelCopiesTheClipBoxOrTheOffsetBack) {
    const TRect client{0, 0, 200, 100};
    // The whole client area: only the invalid part, from the same place.
    TKVXBackCopy c = KVXParentPanelCopy(client, client, {20, 10, 60, 30}, {5, 5}, {100, 50});
    EXPECT_EQ(c.dest, (TRect{20, 10, 60, 30}));
    EXPECT_EQ(c.source, (TPoint{20, 10}));
    // A windowed child asks with (Left + x, Top + y): back to (x, y).
    c = KVXParentPanelCopy({0, 0, 40, 20}, client, {0, 0, 200, 100}, {130, 65}, {100, 50});
    EXPECT_EQ(c.dest, (TRect{0, 0, 40, 20}));
    EXPECT_EQ(c.source, (TPoint{30, 15}));
}

}  // namespace
}  // namespace kvx
