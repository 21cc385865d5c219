// The shape controls on a panel under Wine: a three-tooth shape with a shadow in the fast and the fill
// mode paints nothing outside its bounds and its shadow only at the depth offset; the outline is kept
// across moves and caption changes; the shadow strip darkens every other pixel.
#include <gtest/gtest.h>

#include "widgets/win32/panels.h"
#include "widgets/win32/shapes.h"
#include "widgets/win32/testsupport/controlhost.h"

namespace kvx::win32 {
namespace {

using test::Pump;
using test::WindowPixel;

class KVXShapes : public test::TControlsTest {
protected:
    void SetUp() override {
        panel = fw::Make<TKVXSimplePanel>(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 200, 120);
        panel->Bevel()->SetMode(TKVXBevelMode::bmStandard);
        panel->Bevel()->SetStandardStyle(TKVXBorderStyle::lsNone);
        panel->SetColor(fw::clWhite);
        shape = fw::Make<TKVXTeethShape>(form);
        shape->SetParent(panel);
        shape->SetBounds(kLeft, kTop, kWidth, kHeight);
        shape->Teeth()->SetCount(3);
        shape->Brush()->SetColor(fw::clRed);
        shape->Shadow()->SetColor(fw::clBlue);
        shape->Shadow()->SetDepth(kDepth);
        shape->Shadow()->SetStyle(TKVXShadowStyle::hssSolid);
    }
    void Show() {
        Pump();
        panel->Repaint();
    }
    // A pixel of the shape's area as the panel shows it.
    fw::TColor At(int x, int y) { return WindowPixel(panel->Handle(), kLeft + x, kTop + y); }
    // Everything around the shape's bounds stays the panel's white.
    int PaintedOutside() {
        int painted = 0;
        for (int x = -3; x < kWidth + 3; ++x)
            for (int y : {-2, -1, kHeight, kHeight + 1})
                if (At(x, y) != fw::clWhite) ++painted;
        for (int y = 0; y < kHeight; y += 4)
            for (int x : {-2, -1, kWidth, kWidth + 1})
                if (At(x, y) != fw::clWhite) ++painted;
        return painted;
    }
    static constexpr int kLeft = 30, kTop = 20, kWidth = 90, kHeight = 60, kDepth = 5;
    TKVXSimplePanel* panel = nullptr;
    TKVXTeethShape* shape = nullptr;
};

TEST_F(KVXShapes, ThreeTeethWithShadowInBothModes) {
    for (TKVXShapeControlMode mode : {TKVXShapeControlMode::scmTeethFast, TKVXShapeControlMode::scmTeethFill}) {
        SCOPED_TRACE(static_cast<int>(mode));
        shape->SetMode(mode);
        Show();
        EXPECT_EQ(PaintedOutside(), 0);
        EXPECT_EQ(At(kWidth / 3, kHeight / 2), fw::clRed) << "the body";
        // The shadow is the body moved by the depth: below the bottom edge from x = depth on, never
        // above the top edge or left of the depth.
        EXPECT_EQ(At(kWidth / 3, kHeight - 2), fw::clBlue);
        EXPECT_EQ(At(kDepth + 2, kHeight - 2), fw::clBlue);
        EXPECT_EQ(At(1, kHeight - 2), fw::clWhite);
        EXPECT_NE(At(kWidth / 3, 1), fw::clBlue);
        EXPECT_NE(At(1, kHeight / 2), fw::clBlue);
    }
    // Without a shadow the band below is the panel's.
    shape->Shadow()->SetStyle(TKVXShadowStyle::hssNone);
    Show();
    EXPECT_EQ(At(kWidth / 3, kHeight - 2), fw::clRed);
}

TEST_F(KVXShapes, OutlineIsKeptAcrossMovesAndCaptionText) {
    Pump();
    panel->Repaint();
    const int builds = shape->OutlineBuilds();
    shape->ShapeCaption()->SetCaption("Step");
    shape->SetBounds(kLeft + 5, kTop, kWidth, kHeight);
    Pump();
    panel->Repaint();
    EXPECT_EQ(shape->OutlineBuilds(), builds);
    shape->SetBounds(kLeft, kTop, kWidth + 10, kHeight);
    Pump();
    panel->Repaint();
    EXPECT_EQ(shape->OutlineBuilds(), builds + 1) << "a new size builds it again at the next paint";
    shape->SetShape(TKVXShapeType::stEllipse);
    EXPECT_EQ(shape->OutlineBuilds(), builds + 2);
}

TEST_F(KVXShapes, ShadowFillDarkensEveryOtherPixel) {
    auto* strip = fw::Make<TKVXShadowFill>(form);
    strip->SetParent(panel);
    strip->SetBounds(150, 10, 20, 40);
    strip->SetShadowColor(fw::clWhite);
    EXPECT_EQ(strip->ShadowColor(), fw::clBlack) << "white would darken nothing";
    Pump();
    panel->Repaint();
    int dark = 0, white = 0;
    for (int y = 12; y < 20; ++y)
        for (int x = 152; x < 160; ++x) (WindowPixel(panel->Handle(), x, y) == fw::clBlack ? dark : white)++;
    EXPECT_EQ(dark, 32);
    EXPECT_EQ(white, 32);
    strip->SetStyle(TKVXShadowFillStyle::sfNone);
    Pump();
    panel->Repaint();
    EXPECT_EQ(WindowPixel(panel->Handle(), 153, 12), fw::clWhite);
    EXPECT_EQ(WindowPixel(panel->Handle(), 152, 12), fw::clWhite);
}

}  // namespace
}  // namespace kvx::win32
