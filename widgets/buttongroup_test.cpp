#include "widgets/buttongroup.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using S = TKVXCheckState;

TEST(KVXButtonGroup, ToggleCycles) {
    S s = S::Unchecked;
    const S grayedCycle[] = {S::Grayed, S::Checked, S::Unchecked, S::Grayed};
    for (S want : grayedCycle) EXPECT_EQ(s = KVXToggleState(s, true), want);
    s = S::Unchecked;
    const S plainCycle[] = {S::Checked, S::Unchecked, S::Checked};
    for (S want : plainCycle) EXPECT_EQ(s = KVXToggleState(s, false), want);
    EXPECT_EQ(KVXToggleState(S::Grayed, false), S::Checked) << "a box grayed in code";
}

TEST(KVXButtonGroup, GlyphCells) {
    struct Case {
        S state;
        int glyphNumber;
        bool enabled;
        int want;
    };
    const Case cases[] = {
        {S::Unchecked, 3, true, 0}, {S::Unchecked, 3, false, 1}, {S::Checked, 3, true, 2}, {S::Checked, 3, false, 3},
        {S::Grayed, 3, true, 4},    {S::Grayed, 3, false, 5},    {S::Grayed, 2, true, 2},  {S::Checked, 1, true, 0},
        {S::Grayed, 0, false, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KVXCheckGlyphCell(c.state, c.glyphNumber, c.enabled), c.want)
            << int(c.state) << " of " << c.glyphNumber << (c.enabled ? "" : " disabled");
    EXPECT_EQ(KVXRadioGlyphCell(false, true, 0), 0);
    EXPECT_EQ(KVXRadioGlyphCell(false, false, 0), 1);
    EXPECT_EQ(KVXRadioGlyphCell(true, true, 0), 2);
    EXPECT_EQ(KVXRadioGlyphCell(true, false, 0), 3);
    EXPECT_EQ(KVXRadioGlyphCell(false, true, 2), 2) << "a state index picks its pair";
}

TEST(KVXButtonGroup, ValueAndItsBits) {
    struct Case {
        const char* name;
        std::vector<bool> checked;
        int32_t value;
    };
    const Case cases[] = {
        {"none", {false, false, false}, 0},
        {"boxes 0 and 2", {true, false, true}, 5},
        {"all of three", {true, true, true}, 7},
        {"only the last of four", {false, false, false, true}, 8},
        {"no buttons", {}, 0},
        {"31 boxes fill the positive range", std::vector<bool>(31, true), 0x7FFFFFFF},
        {"a 32nd box is not counted", std::vector<bool>(40, true), 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KVXCheckGroupValue(c.checked), c.value) << c.name;
        for (size_t i = 0; i < c.checked.size(); ++i)
            EXPECT_EQ(KVXCheckGroupBit(c.value, static_cast<int>(i)), c.checked[i] && i < 31) << c.name << " bit " << i;
    }
    for (int i = 0; i < 40; ++i) EXPECT_FALSE(KVXCheckGroupBit(-1, i)) << "a negative Value checks nothing";
    EXPECT_FALSE(KVXCheckGroupBit(5, -1));
}

TEST(KVXButtonGroup, RangesAndHelpNumbers) {
    EXPECT_EQ(KVXClampItemIndex(7, 3), 2);
    EXPECT_EQ(KVXClampItemIndex(-5, 3), -1);
    EXPECT_EQ(KVXClampItemIndex(1, 3), 1);
    EXPECT_EQ(KVXClampItemIndex(4, 0), -1) << "a group without items selects nothing";
    EXPECT_EQ(KVXClampColumns(0), 1);
    EXPECT_EQ(KVXClampColumns(20), 12);
    EXPECT_EQ(KVXClampColumns(5), 5);
    EXPECT_EQ(KVXChildHelpContext(TKVXChildHelpContextID::ciDefault, 300, 2), 0);
    EXPECT_EQ(KVXChildHelpContext(TKVXChildHelpContextID::ciSameAsParent, 300, 2), 300);
    EXPECT_EQ(KVXChildHelpContext(TKVXChildHelpContextID::ciAutoNumbered, 300, 2), 303);
}

TEST(KVXButtonGroup, Arrangement) {
    using G = TKVXGroupCaptionAlign;
    struct Case {
        const char* name;
        TKVXButtonArrange a;
        std::vector<TRect> want;
    };
    // A box of 200 x 100 with a 2-pixel frame and a caption line 14 high.
    auto box = [](G align, int count, int columns, int itemHeight = -1) {
        TKVXButtonArrange a;
        a.width = 200;
        a.height = 100;
        a.bevelWidth = 2;
        a.captionExtent = 14;
        a.align = align;
        a.count = count;
        a.columns = columns;
        a.itemHeight = itemHeight;
        return a;
    };
    const Case cases[] = {
        // Inner (3, 15, 197, 97): rows 2, column width (194 - 4) / 2 = 95, item height 80 / 2 = 40.
        {"three items in two columns", box(G::gcaTopLeft, 3, 2),
         {{7, 16, 102, 56}, {7, 56, 102, 96}, {102, 16, 197, 56}}},
        // Inner (3, 3, 197, 85): one row of height 80, four columns of 47.
        {"caption at the bottom", box(G::gcaBottomCenter, 4, 4),
         {{7, 4, 54, 84}, {54, 4, 101, 84}, {101, 4, 148, 84}, {148, 4, 195, 84}}},
        // Inner (15, 3, 197, 97): three rows of 30, offset (30 mod 3) / 2 = 0.
        {"caption on the left", box(G::gcaLeftCenter, 3, 1),
         {{19, 4, 197, 34}, {19, 34, 197, 64}, {19, 64, 197, 94}}},
        // Inner (3, 3, 185, 97); ItemHeight 20 with 4 rows: offset (20 mod 4) / 2 = 0.
        {"fixed item height, caption on the right", box(G::gcaRightTop, 4, 1, 20),
         {{7, 4, 185, 24}, {7, 24, 185, 44}, {7, 44, 185, 64}, {7, 64, 185, 84}}},
        // Seven rows share 80: 11 each; offset (11 mod 7) / 2 = 2.
        {"the odd offset of the first row", box(G::gcaTopLeft, 7, 0),
         {{7, 18, 197, 29}, {7, 29, 197, 40}, {7, 40, 197, 51}, {7, 51, 197, 62}, {7, 62, 197, 73}, {7, 73, 197, 84},
          {7, 84, 197, 95}}},
        {"no buttons", box(G::gcaTopLeft, 0, 1), {}},
    };
    for (const Case& c : cases) {
        const std::vector<TRect> got = KVXArrangeButtons(c.a);
        ASSERT_EQ(got.size(), c.want.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Left, c.want[i].Left) << c.name << " #" << i;
            EXPECT_EQ(got[i].Top, c.want[i].Top) << c.name << " #" << i;
            EXPECT_EQ(got[i].Right, c.want[i].Right) << c.name << " #" << i;
            EXPECT_EQ(got[i].Bottom, c.want[i].Bottom) << c.name << " #" << i;
        }
    }
}

}  // namespace
}  // namespace kvx
