#include "widgets/glyphlayout.h"

#include "widgets/drawgeometry.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using S = TKVXThreeDStyle;
using C = TKVXPassColor;

TEST(KVXGlyphLayout, EffectDepths) {
    struct Case {
        S style;
        int depth, correction;
    };
    const Case cases[] = {{S::tdNone, 0, 0},         {S::tdSunken, 4, 1},       {S::tdRaised, 4, 1},
                          {S::tdSunkenShadow, 7, 2}, {S::tdRaisedShadow, 7, 2}, {S::tdPColorSunken, 7, 2},
                          {S::tdPColorRaised, 7, 2}, {S::tdShadow, 3, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(KVXEffectDepth(c.style, 4, 3), c.depth) << static_cast<int>(c.style);
        EXPECT_EQ(KVXEffectCorrection(c.style, 4, 3), c.correction) << static_cast<int>(c.style);
    }
}

TEST(KVXGlyphLayout, CaptionPasses) {
    struct Case {
        S style;
        int shrink;
        std::vector<TKVXCaptionPass> passes;
    };
    const Case cases[] = {
        {S::tdNone, 0, {{0, C::Text}}},
        {S::tdSunken, 2, {{2, C::Light}, {-2, C::Text}}},
        {S::tdRaised, 2, {{0, C::Light}, {2, C::Text}}},  // the light copy at the rectangle, the text 2 right and down
        {S::tdSunkenShadow, 5, {{0, C::Shadow}, {5, C::Light}, {-2, C::Text}}},
        {S::tdPColorSunken, 5, {{0, C::Shadow}, {5, C::Light}, {-2, C::Text}}},
        {S::tdRaisedShadow, 5, {{5, C::Shadow}, {-5, C::Light}, {2, C::Text}}},
        {S::tdPColorRaised, 5, {{5, C::Shadow}, {-5, C::Light}, {2, C::Text}}},
        {S::tdShadow, 3, {{3, C::Shadow}, {-3, C::Text}}},
    };
    for (const Case& c : cases) {
        const TKVXCaptionEffect e = KVXCaptionEffect(c.style, 2, 3);
        EXPECT_EQ(e.shrink, c.shrink) << static_cast<int>(c.style);
        EXPECT_EQ(e.passes, c.passes) << static_cast<int>(c.style);
    }
}

TEST(KVXGlyphLayout, DisabledLooks) {
    using D = TKVXDisabledStyle;
    struct Case {
        S style;
        D disabled;
        uint16_t flags;
        S want;
        bool gray, brush;
    };
    const Case cases[] = {
        {S::tdRaised, D::dsAuto, ktfEnabled, S::tdRaised, false, false},
        {S::tdPColorRaised, D::dsAuto, ktfEnabled, S::tdPColorRaised, false, true},
        {S::tdRaised, D::dsAuto, 0, S::tdRaised, true, false},  // dsAuto without the 3D bit keeps the style
        {S::tdRaised, D::dsAuto, ktf3DDisabled, S::tdSunken, true, false},
        {S::tdShadow, D::ds3d, 0, S::tdSunken, true, false},
        {S::tdShadow, D::dsStandard, ktf3DDisabled, S::tdShadow, true, false},
        {S::tdPColorSunken, D::dsNone, 0, S::tdPColorSunken, false, true},
    };
    for (const Case& c : cases) {
        const TKVXCaptionLook look = KVXCaptionLook(c.style, c.disabled, c.flags);
        EXPECT_EQ(look.style, c.want);
        EXPECT_EQ(look.grayText, c.gray);
        EXPECT_EQ(look.brushColor, c.brush);
    }
}

TKVXGlyphTextInput Input(bool text, bool glyph, const TKVXGlyphTextLayout* layout, uint16_t flags = 0) {
    TKVXGlyphTextInput in;
    in.hasText = text;
    in.hasGlyph = glyph;
    in.glyphWidth = 16;
    in.glyphHeight = 16;
    in.area = {0, 0, 100, 50};
    in.layout = layout;
    in.flags = flags;
    return in;
}

const TKVXMeasureText kText = [](int) { return TRect{0, 0, 30, 13}; };

TEST(KVXGlyphLayout, TextBesideATallerGlyph) {
    TKVXGlyphTextLayout layout;  // agTopLeft, taRight, spacing 2
    const TKVXGlyphTextPlan p = KVXPlanGlyphText(Input(true, true, &layout), kText);
    EXPECT_EQ(p.glyph, (TRect{0, 0, 16, 16}));   // at the block top
    EXPECT_EQ(p.text, (TRect{19, 2, 49, 15}));   // 1 down in the block, and 1 right and down of its place
    EXPECT_EQ(p.result, (TRect{1, 1, 99, 49}));  // no result flag: the area less 1
    EXPECT_EQ(p.format, kDtWordBreak | kDtExpandTabs);
}

TEST(KVXGlyphLayout, Arrangements) {
    struct Case {
        TKVXTextArrange arrange;
        TRect text, glyph;
    };
    // Block side by side 48 x 16 or stacked 30 x 31, at the origin (flag 0x20).
    const Case cases[] = {
        {TKVXTextArrange::taLeft, {0, 1, 30, 14}, {32, 0, 48, 16}},
        {TKVXTextArrange::taLeftTop, {0, 1, 30, 14}, {32, 0, 48, 16}},
        {TKVXTextArrange::taRight, {18, 1, 48, 14}, {0, 0, 16, 16}},
        {TKVXTextArrange::taRightTop, {18, 1, 48, 14}, {0, 0, 16, 16}},
        {TKVXTextArrange::taTop, {0, 0, 30, 13}, {7, 15, 23, 31}},
        {TKVXTextArrange::taTopLeft, {0, 0, 30, 13}, {0, 15, 16, 31}},
        {TKVXTextArrange::taBottom, {0, 18, 30, 31}, {7, 0, 23, 16}},
        {TKVXTextArrange::taBottomLeft, {0, 18, 30, 31}, {0, 0, 16, 16}},
    };
    for (const Case& c : cases) {
        TKVXGlyphTextLayout layout;
        layout.SetAlignText2Glyph(c.arrange);
        const TKVXGlyphTextPlan p = KVXPlanGlyphText(Input(true, true, &layout, ktfNoAlign), kText);
        EXPECT_EQ(p.text, c.text) << static_cast<int>(c.arrange);
        EXPECT_EQ(p.glyph, c.glyph) << static_cast<int>(c.arrange);
    }
}

TEST(KVXGlyphLayout, ResultsAndMeasuring) {
    TKVXGlyphTextLayout layout;
    layout.SetOffset(0, 5);
    layout.SetOffset(1, -1);
    auto plan = [&](uint16_t flags) { return KVXPlanGlyphText(Input(true, true, &layout, flags), kText); };
    EXPECT_EQ(plan(0).text, (TRect{24, 1, 54, 14}));  // the offsets move text and glyph
    EXPECT_EQ(plan(ktfResultText).result, (TRect{23, 0, 55, 15}));
    EXPECT_EQ(plan(ktfResultGlyph).result, (TRect{5, -1, 21, 15}));
    EXPECT_EQ(plan(ktfResultText | ktfResultGlyph).result, (TRect{5, -1, 21, 15}));  // the later step wins
    EXPECT_EQ(plan(ktfResultUnion).result, (TRect{4, -2, 55, 16}));
    const TKVXGlyphTextPlan measured = plan(ktfMeasureOnly);
    EXPECT_TRUE(measured.measureOnly);
    EXPECT_EQ(measured.result, (TRect{3, -3, 56, 17}));  // the union grown by 2
    // Spacing counts only when both are there; without either the result is the area less 1.
    const TKVXGlyphTextPlan glyphOnly = KVXPlanGlyphText(Input(false, true, &layout, ktfResultUnion), kText);
    EXPECT_EQ(glyphOnly.glyph, (TRect{5, -1, 21, 15}));
    EXPECT_EQ(KVXPlanGlyphText(Input(false, false, &layout), kText).result, (TRect{1, 1, 99, 49}));
}

TEST(KVXGlyphLayout, AlignedAndMultiLine) {
    TKVXGlyphTextLayout layout;
    layout.SetAlignment(TKVXAlignment::agCenter);
    TKVXGlyphTextInput in = Input(true, true, &layout);
    in.multiLine = true;
    const TKVXGlyphTextPlan p = KVXPlanGlyphText(in, kText);
    // Block 48 x 16 centred in 100 x 50 at (26, 17).
    EXPECT_EQ(p.glyph, (TRect{26, 17, 42, 33}));
    EXPECT_EQ(p.text, (TRect{45, 19, 75, 32}));
    EXPECT_EQ(p.format, kDtWordBreak | kDtExpandTabs | kDtVCenter | kDtCenter);
}

TEST(KVXGlyphLayout, DropDownArrows) {
    struct Case {
        TKVXArrowPosition pos;
        bool multiLine;
        TRect text, glyph;
        TPoint arrow;
        bool beforeGlyph;
    };
    // ArrowSize 3 (k = 5), ArrowIndent 3: 8 pixels reserved beside the text or the glyph.
    const Case cases[] = {
        {TKVXArrowPosition::apRightText, false, {19, 2, 57, 15}, {0, 0, 16, 16}, {51, 7}, true},
        {TKVXArrowPosition::apRightText, true, {19, 2, 57, 15}, {0, 0, 16, 16}, {53, 7}, true},
        {TKVXArrowPosition::apLeftText, false, {27, 2, 65, 15}, {0, 0, 16, 16}, {19, 7}, true},
        {TKVXArrowPosition::apRightGlyph, false, {27, 2, 57, 15}, {0, 0, 24, 16}, {19, 7}, false},
        {TKVXArrowPosition::apLeftGlyph, false, {27, 2, 57, 15}, {8, 0, 32, 16}, {0, 7}, false},
    };
    for (const Case& c : cases) {
        TKVXButtonLayout layout;
        layout.SetAlignment(TKVXAlignment::agTopLeft);
        layout.SetArrow(true);
        layout.SetArrowPosition(c.pos);
        TKVXGlyphTextInput in = Input(true, true, &layout);
        in.multiLine = c.multiLine;
        const TKVXGlyphTextPlan p = KVXPlanGlyphText(in, kText);
        EXPECT_EQ(p.text, c.text) << static_cast<int>(c.pos);
        EXPECT_EQ(p.glyph, c.glyph) << static_cast<int>(c.pos);
        EXPECT_TRUE(p.arrow);
        EXPECT_EQ(p.arrowAt, c.arrow) << static_cast<int>(c.pos);
        EXPECT_EQ(p.arrowBeforeGlyph, c.beforeGlyph);
    }
}

TEST(KVXGlyphLayout, RotatedStart) {
    // Unturned, the start is the bounds' corner less the correction.
    EXPECT_EQ(KVXRotatedStart(40, 10, {0, 0, 40, 10}, 0, 1), (TPoint{-1, -1}));
    // Turned by 90 degrees the text runs up from the bottom-left corner of a 10 x 40 box.
    EXPECT_EQ(KVXRotatedStart(40, 10, {0, 0, 10, 40}, 90, 0), (TPoint{0, 40}));
}

}  // namespace
}  // namespace kvx
