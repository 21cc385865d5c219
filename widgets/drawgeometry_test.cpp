#include "widgets/drawgeometry.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

TEST(KVXDrawGeometry, FrameWidths) {
    using S = TKVXBorderStyle;
    for (int i = 0; i <= static_cast<int>(S::lsDoubleLowered); ++i) {
        const auto s = static_cast<S>(i);
        const int want = s == S::lsNone ? 0 : (s == S::lsSingle || s == S::lsSingleRaised || s == S::lsSingleLowered) ? 1 : 2;
        EXPECT_EQ(KVXFrameWidth(s), want) << i;
    }
}

TEST(KVXDrawGeometry, BevelInnerRects) {
    struct Case {
        TKVXBevelStyle style;
        int width;
        bool drawn;
        TRect want;
    };
    const Case cases[] = {
        {TKVXBevelStyle::bvFrameRaised, 2, true, {3, 3, 17, 17}},
        {TKVXBevelStyle::bvFrameLowered, 1, true, {2, 2, 18, 18}},
        {TKVXBevelStyle::bvRaised, 2, true, {2, 2, 18, 18}},
        {TKVXBevelStyle::bvNormal, 1, true, {1, 1, 19, 19}},
        {TKVXBevelStyle::bvLowered, 0, false, {0, 0, 20, 20}},
        {TKVXBevelStyle::bvNone, 3, false, {0, 0, 20, 20}},
        {TKVXBevelStyle::bvShadow, 3, false, {0, 0, 20, 20}},
    };
    for (const Case& c : cases) {
        TRect r{0, 0, 20, 20};
        EXPECT_EQ(KVXBevelInnerRect(c.style, c.width, r), c.drawn);
        EXPECT_EQ(r, c.want) << static_cast<int>(c.style) << "/" << c.width;
    }
}

TEST(KVXDrawGeometry, ArrowRows) {
    // Down, size 4 at (10, 10): rows 10..16, 11..15, 12..14 and the tip pixel 13 at row 13.
    EXPECT_EQ(KVXArrowRows(10, 10, 4, true),
              (std::vector<TKVXSpan>{{10, 17, 10}, {11, 16, 11}, {12, 15, 12}, {13, 14, 13}}));
    // Up, size 3 at (0, 0): centred on 1, the base 5 wide.
    EXPECT_EQ(KVXArrowRows(0, 0, 3, false), (std::vector<TKVXSpan>{{1, 2, 0}, {0, 3, 1}, {-1, 4, 2}}));
    EXPECT_TRUE(KVXArrowRows(0, 0, 1, true).empty());
    EXPECT_TRUE(KVXArrowRows(0, 0, 16, false).empty());
    EXPECT_EQ(KVXArrowRows(0, 0, 15, true).size(), 15u);
}

TEST(KVXDrawGeometry, AlignRect) {
    const TRect inner{0, 0, 10, 4};
    const TRect outer{100, 200, 131, 221};  // 31 x 21
    struct Case {
        TKVXAlignment a;
        TRect want;
    };
    const Case cases[] = {
        {TKVXAlignment::agTopLeft, {100, 200, 110, 204}},     {TKVXAlignment::agTopCenter, {110, 200, 120, 204}},
        {TKVXAlignment::agTopRight, {121, 200, 131, 204}},    {TKVXAlignment::agCenterLeft, {100, 208, 110, 212}},
        {TKVXAlignment::agCenter, {110, 208, 120, 212}},      {TKVXAlignment::agCenterRight, {121, 208, 131, 212}},
        {TKVXAlignment::agBottomLeft, {100, 217, 110, 221}},  {TKVXAlignment::agBottomCenter, {110, 217, 120, 221}},
        {TKVXAlignment::agBottomRight, {121, 217, 131, 221}},
    };
    for (const Case& c : cases) {
        TRect r;
        KVXAlignRect(c.a, inner, outer, r);
        EXPECT_EQ(r, c.want) << static_cast<int>(c.a);
    }
}

TEST(KVXDrawGeometry, FlagsAndFormats) {
    EXPECT_EQ(KVXFocusStyleFlags(TKVXGlyphTextFocusStyle::fcText), 0x40);
    EXPECT_EQ(KVXFocusStyleFlags(TKVXGlyphTextFocusStyle::fcGlyph), 0x80);
    EXPECT_EQ(KVXFocusStyleFlags(TKVXGlyphTextFocusStyle::fcGlyphText), 0x100);
    EXPECT_EQ(KVXFocusStyleFlags(TKVXGlyphTextFocusStyle::fcControl), 0);
    EXPECT_EQ(KVXFocusStyleFlags(TKVXGlyphTextFocusStyle::fcNone), 0);
    EXPECT_EQ(KVXAlignmentFormat(TKVXAlignment::agTopLeft), 0u);
    EXPECT_EQ(KVXAlignmentFormat(TKVXAlignment::agCenter), kDtVCenter | kDtCenter);
    EXPECT_EQ(KVXAlignmentFormat(TKVXAlignment::agBottomRight), kDtBottom | kDtRight);
    EXPECT_EQ(KVXAlignmentFormat(TKVXAlignment::agCenterLeft), kDtVCenter);
}

TEST(KVXDrawGeometry, ButtonLooks) {
    using U = TKVXUserButtonStyle;
    using L = TKVXButtonLook;
    EXPECT_EQ(KVXButtonLook(U::ubsAutoDetect, 0), L::Plain);
    EXPECT_EQ(KVXButtonLook(U::ubsAutoDetect, kbfDefault), L::Bold);
    EXPECT_EQ(KVXButtonLook(U::ubsWin31, kbfDefault), L::Classic);
    EXPECT_EQ(KVXButtonLook(U::ubsTrevik, 0), L::Plain);
    EXPECT_EQ(KVXButtonLook(U::ubsTrevik, kbfDefault), L::Outlined);
    for (U u : {U::ubsTrevikFlat, U::ubsFlat, U::ubsFlatUnColored, U::ubsNavigator, U::ubsExplorer, U::ubsExplorerColored})
        EXPECT_EQ(KVXButtonLook(u, kbfDefault), L::Flat);
}

}  // namespace
}  // namespace kvx
