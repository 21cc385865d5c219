#include "widgets/placement.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

TEST(KVXPlacement, Table) {
    struct Case {
        const char* name;
        TRect dest;
        int sw, sh;
        uint16_t flags;
        TRect cell;
        int columns, rows;
        TRect painted;
    };
    const Case cases[] = {
        {"natural", {5, 6, 50, 50}, 16, 16, 0, {5, 6, 21, 22}, 1, 1, {5, 6, 21, 22}},
        {"centre", {0, 0, 21, 21}, 16, 16, kpfCenter, {2, 2, 18, 18}, 1, 1, {2, 2, 18, 18}},
        {"centre larger than dest", {0, 0, 10, 10}, 15, 13, kpfCenter, {-2, -1, 13, 12}, 1, 1, {-2, -1, 13, 12}},
        {"tile", {0, 0, 25, 20}, 10, 10, kpfTile, {0, 0, 10, 10}, 3, 3, {0, 0, 25, 20}},
        {"tile wins over stretch", {0, 0, 25, 20}, 10, 10, kpfTile | kpfStretch, {0, 0, 10, 10}, 3, 3, {0, 0, 25, 20}},
        {"stretch", {1, 1, 31, 21}, 10, 10, kpfStretch | kpfCenter, {1, 1, 31, 21}, 1, 1, {1, 1, 31, 21}},
        {"fit both", {0, 0, 30, 30}, 40, 20, kpfStretch | kpfFitBoth, {0, 0, 30, 15}, 1, 1, {0, 0, 30, 15}},
        {"fit width", {0, 0, 30, 30}, 40, 20, kpfStretch | kpfFitWidth, {0, 0, 30, 15}, 1, 1, {0, 0, 30, 15}},
        {"fit height", {0, 0, 30, 30}, 40, 20, kpfStretch | kpfFitHeight, {0, 0, 60, 30}, 1, 1, {0, 0, 60, 30}},
        {"fit without stretch is natural", {0, 0, 30, 30}, 40, 20, kpfFitBoth, {0, 0, 40, 20}, 1, 1, {0, 0, 40, 20}},
        {"empty source", {3, 3, 30, 30}, 0, 10, 0, {}, 0, 0, {3, 3, 30, 30}},
        {"empty source tiled", {3, 3, 30, 30}, 0, 10, kpfTile, {}, 0, 0, {3, 3, 30, 30}},
        {"empty source fitted", {3, 3, 30, 30}, 0, 0, kpfStretch | kpfFitBoth, {}, 0, 0, {3, 3, 30, 30}},
        {"empty dest", {3, 3, 3, 30}, 10, 10, 0, {}, 0, 0, {}},
    };
    for (const Case& c : cases) {
        const TKVXPlacement p = KVXPlacement(c.dest, c.sw, c.sh, c.flags);
        EXPECT_EQ(p.columns, c.columns) << c.name;
        EXPECT_EQ(p.rows, c.rows) << c.name;
        if (c.columns) {
            EXPECT_EQ(p.cell, c.cell) << c.name;
        }
        EXPECT_EQ(p.painted, c.painted) << c.name;
    }
    const TKVXPlacement tiles = KVXPlacement({0, 0, 25, 20}, 10, 10, kpfTile);
    EXPECT_EQ(tiles.Tile(2, 1), (TRect{20, 10, 30, 20}));  // the overhang is drawn too
}

TEST(KVXPlacement, ShadingLevels) {
    // 3 x 2: the corner (transparent) colour, then pixels of sums 0, 300, 600 and 765.
    const TColor t = fw::RGB(0, 128, 128);
    const std::vector<TColor> src{t, fw::RGB(0, 0, 0), fw::RGB(100, 100, 100), fw::RGB(200, 200, 200), fw::RGB(255, 255, 255), t};
    // Mean of the others 1665 / 4 = 416.25: offset 216; thresholds 766, 466, 266.
    const auto out = KVXShadePixels(src, 3, 2, 1, 2, 3, 4);
    EXPECT_EQ(out, (std::vector<TColor>{t, 4, 3, 2, 2, t}));
}

TEST(KVXPlacement, ShadingLeavesAGlyphOfOneColourUnchanged) {
    const std::vector<TColor> src(12, fw::RGB(9, 9, 9));
    EXPECT_EQ(KVXShadePixels(src, 4, 3, 1, 2, 3, 4), src);
}

}  // namespace
}  // namespace kvx
