// The shaped button's hit tests, glyph cells and the placement of caption and glyph.
#include "uisupport/controls/shbtngeometry.h"

#include <gtest/gtest.h>

namespace uis {
namespace {

TEST(ShapedButtonGeometry, FaceLeavesRoomForTheShadow) {
    EXPECT_EQ(ShBtnFaceRect(85, 35, 3), fw::Rect(2, 2, 80, 30));
    EXPECT_EQ(ShBtnFaceRect(5, 5, 3), fw::Rect(2, 2, 2, 2));
}

TEST(ShapedButtonGeometry, HitTestFollowsEachShape) {
    const fw::TRect face = ShBtnFaceRect(85, 35, 3);  // (2,2)-(80,30): 78 x 28
    struct Case {
        TBtnKind kind;
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {TBtnKind::bkRect, 2, 2, true},       {TBtnKind::bkRect, 79, 29, true},
        {TBtnKind::bkRect, 80, 10, false},    {TBtnKind::bkRect, 1, 10, false},
        {TBtnKind::bkEllipse, 41, 16, true},  {TBtnKind::bkEllipse, 3, 3, false},   // a corner of the box
        {TBtnKind::bkEllipse, 78, 29, false}, {TBtnKind::bkEllipse, 3, 16, true},   // the left tip
        {TBtnKind::bkRndRect, 2, 2, false},   {TBtnKind::bkRndRect, 5, 5, true},    // within the corner circle
        {TBtnKind::bkRndRect, 2, 16, true},   {TBtnKind::bkRndRect, 40, 2, true},
        {TBtnKind::bkRndRect, 3, 3, false},   {TBtnKind::bkRndRect, 80, 16, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShBtnHitTest(c.kind, face, 10, c.x, c.y), c.inside)
            << static_cast<int>(c.kind) << " at " << c.x << "," << c.y;
    // A face with no area still answers without dividing by zero.
    EXPECT_FALSE(ShBtnHitTest(TBtnKind::bkEllipse, fw::Rect(2, 2, 2, 2), 10, 50, 50));
    // Radius 0 is a plain rectangle.
    EXPECT_TRUE(ShBtnHitTest(TBtnKind::bkRndRect, face, 0, 2, 2));
}

TEST(ShapedButtonGeometry, GlyphCellsByState) {
    EXPECT_EQ(ShBtnNumGlyphs(64, 16), 4);
    EXPECT_EQ(ShBtnNumGlyphs(0, 0), 1);
    EXPECT_EQ(ShBtnNumGlyphs(8, 16), 1);  // narrower than high: still one cell
    struct Case {
        int cells;
        bool pressed, inside, enabled;
        int want;
    };
    const Case cases[] = {
        {4, false, true, true, 3}, {4, true, true, true, 2},  {4, false, false, false, 4},
        {4, false, false, true, 1}, {2, true, true, true, 1}, {3, false, true, true, 1},
        {3, true, true, true, 2},  {1, false, false, false, 1}, {4, true, false, true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShBtnGlyphCell(c.cells, c.pressed, c.inside, c.enabled), c.want)
            << c.cells << c.pressed << c.inside << c.enabled;
}

TEST(ShapedButtonGeometry, PlacementTableWithTheShadowShift) {
    // 85 x 35 button, caption 40 x 13, glyph 16 x 16, shadow 3 (shift 0).
    struct Case {
        TLayout layout;
        bool pressed;
        fw::TPoint caption, glyph;
    };
    const Case cases[] = {
        {TLayout::blGlyphLeft, false, {32, 10}, {12, 8}},
        {TLayout::blGlyphRight, false, {12, 10}, {56, 8}},
        {TLayout::blGlyphTop, false, {22, 1}, {34, 17}},     // the glyph stands below the caption
        {TLayout::blGlyphBottom, false, {22, 20}, {34, 1}},  // and above it here
        {TLayout::blGlyphLeft, true, {33, 11}, {13, 9}},
    };
    for (const Case& c : cases) {
        const TShBtnPlacement p = ShBtnPlace(c.layout, 85, 35, 40, 13, 16, 16, 3, c.pressed);
        EXPECT_EQ(p.Caption, c.caption) << static_cast<int>(c.layout);
        EXPECT_EQ(p.Glyph, c.glyph) << static_cast<int>(c.layout);
    }
    // Without a glyph the caption is centred; a shadow of 8 moves everything 3 up and left.
    EXPECT_EQ(ShBtnPlace(TLayout::blGlyphLeft, 85, 35, 40, 13, 0, 0, 3, false).Caption, (fw::TPoint{24, 10}));
    EXPECT_EQ(ShBtnPlace(TLayout::blGlyphLeft, 85, 35, 40, 13, 0, 0, 8, false).Caption, (fw::TPoint{21, 7}));
}

}  // namespace
}  // namespace uis
