#include "widgets/editscroll.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

// Every character 7 pixels wide; the text rectangle runs from 3 to 73.
int Fixed(int32_t n) { return 7 * n; }
constexpr int kLeft = 3, kRight = 73;

TEST(EditScroll, CaretScrollTable) {
    const struct {
        const char* name;
        int32_t cursor, length, offset;
        int32_t wantOffset;
        int wantX;
        bool wantScrolled;
    } cases[] = {
        {"empty text stands at the left", 1, 0, 0, 0, kLeft, false},
        {"inside the view", 5, 20, 0, 0, 4 * 7 + kLeft, false},
        {"last place before the right edge", 10, 20, 0, 0, 9 * 7 + kLeft, false},
        {"past the right edge scrolls", 12, 20, 0, 77 + kLeft - kRight + kLeft, kRight - kLeft, true},
        {"at the end of a long text", 21, 20, 0, 140 + kLeft - kRight + kLeft, kRight - kLeft, true},
        {"left of the view scrolls back to the edge", 3, 20, 40, 14, kLeft, true},
        {"home scrolls back to 0", 1, 20, 70, 0, kLeft, true},
        {"left of the edge but not scrolled", 1, 20, 0, 0, kLeft, false},
        {"just left of the edge goes no further", 6, 20, 36, 35, kLeft, true},
    };
    for (const auto& c : cases) {
        const TKVXCaretScroll r = KVXScrollToCaret(c.cursor, c.length, c.offset, kLeft, kRight, Fixed);
        EXPECT_EQ(r.offset, c.wantOffset) << c.name;
        EXPECT_EQ(r.x, c.wantX) << c.name;
        EXPECT_EQ(r.scrolled, c.wantScrolled) << c.name;
    }
}

TEST(EditScroll, PositionUnderAPoint) {
    const struct {
        const char* name;
        int x;
        int32_t length, offset, want;
    } cases[] = {
        {"left of the text", 0, 5, 0, 1},
        {"on the first character", 5, 5, 0, 1},
        {"on the right edge of the first", 10, 5, 0, 1},
        {"on the second", 11, 5, 0, 2},
        {"right of the last character", 60, 5, 0, 6},
        {"empty text", 20, 0, 0, 1},
        {"scrolled by two characters", 5, 5, 14, 3},
    };
    for (const auto& c : cases) EXPECT_EQ(KVXPosFromX(c.x, c.length, c.offset, kLeft, Fixed), c.want) << c.name;
}

TEST(EditScroll, AutoHeight) {
    EXPECT_EQ(KVXEditAutoHeight(13, true, 0), 13 * 5 / 4 + 5);
    EXPECT_EQ(KVXEditAutoHeight(13, false, 3), 16 + 6);
    EXPECT_EQ(KVXEditAutoHeight(16, false, 0), 20);
}

}  // namespace
}  // namespace kvx
