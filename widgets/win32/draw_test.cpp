// Frames, bevels, arrows, gradients, bitmap placement and effects, button frames and shapes, checked
// pixel by pixel in a 32-bit DIB section (system colours read from the system).
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "framework/win32/application.h"
#include "widgets/drawgeometry.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/buttonframe.h"
#include "widgets/win32/framedraw.h"
#include "widgets/win32/shapepaint.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/testsupport/dibcanvas.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using test::SysColor;
using test::TDibCanvas;

// Wine's bitmap font first: the captions are checked pixel by pixel.
class DrawEnvironment : public test::TSuiteEnvironment {
public:
    void SetUp() override {
        ASSERT_TRUE(test::LoadWineBitmapFont()) << "Wine's bitmap fonts: install the Debian package fonts-wine";
        TSuiteEnvironment::SetUp();
    }
};
const ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new DrawEnvironment);

constexpr TColor kWhite = fw::clWhite;

// A bitmap of Width x Height filled with Color.
std::unique_ptr<fw::TBitmap> Solid(int width, int height, TColor color) {
    auto b = std::make_unique<fw::TBitmap>();
    KVXFillBitmap(b.get(), {0, 0, width, height}, color);
    return b;
}

// ---- bevels ---------------------------------------------------------------------------------------

TEST(KVXDraw, BevelRectangles) {
    TDibCanvas d(20, 20);
    TRect r{0, 0, 20, 20};
    EXPECT_TRUE(KVXDrawBevel(d.Canvas(), r, TKVXBevelStyle::bvFrameRaised, fw::clRed, fw::clBlue, 2));
    EXPECT_EQ(r, (TRect{3, 3, 17, 17}));
    r = {0, 0, 20, 20};
    EXPECT_TRUE(KVXDrawBevel(d.Canvas(), r, TKVXBevelStyle::bvRaised, fw::clRed, fw::clBlue, 2));
    EXPECT_EQ(r, (TRect{2, 2, 18, 18}));
    d.Fill(kWhite);
    r = {0, 0, 20, 20};
    EXPECT_FALSE(KVXDrawBevel(d.Canvas(), r, TKVXBevelStyle::bvShadow, fw::clRed, fw::clBlue, 2));
    EXPECT_EQ(r, (TRect{0, 0, 20, 20}));
    EXPECT_EQ(d.RunOf(0, 0, kWhite), 20);  // nothing drawn
}

TEST(KVXDraw, BevelColours) {
    const TColor light = fw::clBtnHighlight, shadow = fw::clBtnShadow;
    TDibCanvas d(20, 20);
    TRect r{0, 0, 20, 20};
    KVXDrawBevel(d.Canvas(), r, TKVXBevelStyle::bvRaised, light, shadow, 1);
    // Raised: light at the top and left, shadow at the bottom and right, the inside untouched.
    EXPECT_EQ(d.RunOf(0, 0, SysColor(light)), 19);
    EXPECT_EQ(d.Pixel(19, 0), SysColor(shadow));
    EXPECT_EQ(d.Pixel(0, 18), SysColor(light));
    EXPECT_EQ(d.Pixel(0, 19), SysColor(light));  // the polyline of the light colour starts there
    EXPECT_EQ(d.RunOf(1, 19, SysColor(shadow)), 19);
    EXPECT_EQ(d.Pixel(10, 10), kWhite);
    // Etched: rings one pixel apart; a lowered frame has the light ring inside-right.
    d.Fill(kWhite);
    r = {0, 0, 20, 20};
    KVXDrawBevel(d.Canvas(), r, TKVXBevelStyle::bvFrameLowered, fw::clRed, fw::clBlue, 1);
    EXPECT_EQ(d.Pixel(0, 0), fw::clBlue);
    EXPECT_EQ(d.Pixel(1, 1), fw::clRed);
    EXPECT_EQ(d.Pixel(19, 19), fw::clRed);
    EXPECT_EQ(d.Pixel(18, 18), fw::clBlue);
    EXPECT_EQ(d.Pixel(2, 2), kWhite);
    // Wider bevels are two polygons: away from the diagonals, each band has its colour.
    d.Fill(kWhite);
    r = {0, 0, 20, 20};
    KVXDrawBevel(d.Canvas(), r, TKVXBevelStyle::bvLowered, fw::clRed, fw::clBlue, 3);
    EXPECT_EQ(d.Pixel(10, 1), fw::clBlue);
    EXPECT_EQ(d.Pixel(1, 10), fw::clBlue);
    EXPECT_EQ(d.Pixel(10, 18), fw::clRed);
    EXPECT_EQ(d.Pixel(18, 10), fw::clRed);
    EXPECT_EQ(d.Pixel(10, 10), kWhite);
}

TEST(KVXDraw, ShadowBevel) {
    TDibCanvas d(20, 20);
    TRect r{0, 0, 20, 20};
    EXPECT_TRUE(KVXDrawShadowBevel(d.Canvas(), r, fw::clRed, fw::clBlue, fw::clLime, 3, 2, false));
    EXPECT_EQ(r, (TRect{2, 2, 15, 15}));
    EXPECT_EQ(d.Pixel(18, 5), fw::clBlue);   // the right strip
    EXPECT_EQ(d.Pixel(5, 18), fw::clBlue);   // the bottom strip
    EXPECT_EQ(d.Pixel(18, 1), fw::clLime);   // the free corners
    EXPECT_EQ(d.Pixel(1, 18), fw::clLime);
    EXPECT_EQ(d.Pixel(0, 0), fw::clRed);     // two frame lines
    EXPECT_EQ(d.Pixel(1, 1), fw::clRed);
    EXPECT_EQ(d.Pixel(2, 2), kWhite);
    d.Fill(kWhite);
    r = {0, 0, 20, 20};
    KVXDrawShadowBevel(d.Canvas(), r, fw::clRed, fw::clBlue, fw::clLime, 3, 0, true);
    EXPECT_EQ(d.Pixel(18, 1), kWhite);  // transparent: the corners stay
    EXPECT_EQ(r, (TRect{0, 0, 17, 17}));
}

// ---- frames ---------------------------------------------------------------------------------------

TEST(KVXDraw, FramesConsumeTheirFrameWidth) {
    using S = TKVXBorderStyle;
    struct Case {
        S style;
        int left, top, right, bottom;  // how far each edge moved in
    };
    // The edges the system's BF_ADJUST moves are those the calls name: lsSingle moves only its left and
    // top edges, and the two "spb" looks take one pixel less on two sides than KVXFrameWidth reports.
    const Case cases[] = {
        {S::lsNone, 0, 0, 0, 0},         {S::lsSingle, 1, 1, 0, 0},         {S::lsLowered, 2, 2, 2, 2},
        {S::lsRaised, 2, 2, 2, 2},       {S::lsRaisedspb, 1, 1, 2, 2},      {S::lsLoweredspb, 2, 2, 1, 1},
        {S::lsRaisedExt, 2, 2, 2, 2},    {S::lsLoweredExt, 2, 2, 2, 2},     {S::lsFrameInset, 2, 2, 2, 2},
        {S::lsFrameOffset, 2, 2, 2, 2},  {S::lsWindowBorder, 2, 2, 2, 2},   {S::lsSingleRaised, 1, 1, 1, 1},
        {S::lsSingleLowered, 1, 1, 1, 1}, {S::lsDoubleRaised, 2, 2, 2, 2},  {S::lsDoubleLowered, 2, 2, 2, 2},
    };
    TDibCanvas d(40, 40);
    for (const Case& c : cases) {
        TRect r{5, 5, 35, 35};
        EXPECT_TRUE(KVXDrawFrame(d.Canvas(), r, c.style, 0));
        const int i = static_cast<int>(c.style);
        EXPECT_EQ(r, (TRect{5 + c.left, 5 + c.top, 35 - c.right, 35 - c.bottom})) << i;
        const int widest = std::max({c.left, c.top, c.right, c.bottom});
        EXPECT_EQ(widest, KVXFrameWidth(c.style)) << i;
    }
}

TEST(KVXDraw, FrameColoursAreTheSystemsEdges) {
    TDibCanvas d(20, 20);
    TRect r{0, 0, 20, 20};
    KVXDrawFrame(d.Canvas(), r, TKVXBorderStyle::lsSingleLowered, 0);
    EXPECT_EQ(d.Pixel(5, 0), SysColor(fw::clBtnShadow));
    EXPECT_EQ(d.Pixel(0, 5), SysColor(fw::clBtnShadow));
    EXPECT_EQ(d.Pixel(5, 19), SysColor(fw::clBtnHighlight));
    EXPECT_EQ(d.Pixel(19, 5), SysColor(fw::clBtnHighlight));
    EXPECT_EQ(d.Pixel(5, 5), kWhite);
}

// ---- arrows ---------------------------------------------------------------------------------------

// The runs of Color per row, as spans.
std::vector<TKVXSpan> Runs(const TDibCanvas& d, TColor color) {
    std::vector<TKVXSpan> out;
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x)
            if (d.Pixel(x, y) == color) {
                int n = d.RunOf(x, y, color);
                out.push_back({x, x + n, y});
                x += n;
            }
    return out;
}

TEST(KVXDraw, ArrowRowsAndTheDisabledCopy) {
    TDibCanvas d(40, 40);
    KVXDrawArrow(d.Canvas(), 10, 10, 4, fw::clRed, true, true);
    EXPECT_EQ(Runs(d, fw::clRed), KVXArrowRows(10, 10, 4, true));
    d.Fill(kWhite);
    KVXDrawArrow(d.Canvas(), 10, 10, 5, fw::clRed, false, true);
    EXPECT_EQ(Runs(d, fw::clRed), KVXArrowRows(10, 10, 5, false));
    // Disabled: the clHighlightText copy at (11, 11) below the clGrayText arrow.
    d.Fill(fw::clBlack);
    KVXDrawArrow(d.Canvas(), 10, 10, 4, fw::clRed, true, false);
    const TColor gray = SysColor(fw::clGrayText), highlight = SysColor(fw::clHighlightText);
    ASSERT_NE(gray, highlight);
    EXPECT_EQ(Runs(d, gray), KVXArrowRows(10, 10, 4, true));
    EXPECT_EQ(d.Pixel(17, 11), highlight);  // the copy's first row ends one pixel further right
    EXPECT_EQ(d.Pixel(14, 14), highlight);  // the copy's tip, below the arrow's
    EXPECT_EQ(d.Pixel(10, 11), fw::clBlack);
    d.Fill(kWhite);
    KVXDrawArrow(d.Canvas(), 10, 10, 16, fw::clRed, true, true);
    EXPECT_TRUE(Runs(d, fw::clRed).empty());
}

// ---- gradients ------------------------------------------------------------------------------------

TEST(KVXDraw, SixteenBandsOfTenPixelsBlueAtTheLeft) {
    for (uint16_t flags : {uint16_t{0}, kpfOffscreen, kpfClip, kpfPalette}) {
        TDibCanvas d(170, 20);
        KVXFillGradient(d.Canvas(), {5, 2, 165, 18}, fw::clBlue, fw::clBlack, 16, TKVXGradientStyle::gstHorizontal, flags, 0);
        TKVXColorTable colors;
        KVXGradientTable(fw::clBlue, fw::clBlack, 16, colors);
        EXPECT_EQ(d.Pixel(5, 2), fw::clBlue) << flags;
        for (int band = 0; band < 16; ++band) {
            EXPECT_EQ(d.RunOf(5 + 10 * band, 10, colors[static_cast<size_t>(band)]), 10) << band << " flags " << flags;
        }
        EXPECT_EQ(d.Pixel(4, 10), kWhite);
        EXPECT_EQ(d.Pixel(165, 10), kWhite);
        EXPECT_EQ(d.Pixel(50, 1), kWhite);
        EXPECT_EQ(d.Pixel(50, 18), kWhite);
    }
}

TEST(KVXDraw, GradientShapesAndClipping) {
    TDibCanvas d(100, 60);
    KVXFillGradient(d.Canvas(), {0, 0, 100, 50}, fw::clRed, fw::clBlue, 10, TKVXGradientStyle::gstVertical, 0, 0);
    EXPECT_EQ(d.Pixel(50, 0), fw::clRed);
    EXPECT_EQ(d.Pixel(50, 49), fw::clBlue);
    EXPECT_EQ(d.Pixel(50, 50), kWhite);
    // The corner styles put colour 0 into their corner.
    d.Fill(kWhite);
    KVXFillGradient(d.Canvas(), {0, 0, 100, 50}, fw::clRed, fw::clBlue, 10, TKVXGradientStyle::gstBottomRight, 0, 0);
    EXPECT_EQ(d.Pixel(98, 48), fw::clRed);
    EXPECT_EQ(d.Pixel(1, 1), fw::clBlue);
    // The square and ellipse grow from the centre; clipped, nothing leaves the rectangle.
    d.Fill(kWhite);
    KVXFillGradient(d.Canvas(), {10, 10, 90, 50}, fw::clRed, fw::clBlue, 8, TKVXGradientStyle::gstElliptic, kpfClip, 0);
    EXPECT_EQ(d.Pixel(50, 30), fw::clRed);
    EXPECT_EQ(d.Pixel(11, 11), fw::clBlue);  // the largest ellipse covers the corners
    EXPECT_EQ(d.Pixel(9, 30), kWhite);
    EXPECT_EQ(d.Pixel(50, 50), kWhite);
    // One colour paints the start colour.
    d.Fill(kWhite);
    KVXFillGradient(d.Canvas(), {0, 0, 100, 60}, fw::clLime, fw::clBlue, 1, TKVXGradientStyle::gstSquare, 0, 0);
    EXPECT_EQ(d.Pixel(50, 30), fw::clLime);
    EXPECT_EQ(d.Pixel(0, 0), fw::clLime);
}

// ---- placement and effects ------------------------------------------------------------------------

// 16 x 16: a red frame around a blue inside, with the bottom-left pixel olive (the transparent colour
// in automatic mode).
std::unique_ptr<fw::TBitmap> Glyph() {
    auto b = Solid(16, 16, fw::clRed);
    fw::TCanvas* c = b->Canvas();
    c->Brush()->SetColor(fw::clBlue);
    c->FillRect({1, 1, 15, 15});
    c->SetPixels(0, 15, fw::clOlive);
    return b;
}

TEST(KVXDraw, CentreTileAndFitBoth) {
    auto glyph = Glyph();
    TDibCanvas d(60, 60);
    TRect painted;
    KVXDrawBitmap(d.Canvas(), {0, 0, 21, 21}, glyph.get(), kpfCenter, 0, painted);
    EXPECT_EQ(painted, (TRect{2, 2, 18, 18}));
    EXPECT_EQ(d.Pixel(2, 2), fw::clRed);
    EXPECT_EQ(d.Pixel(1, 2), kWhite);
    EXPECT_EQ(d.Pixel(2, 17), fw::clOlive);
    // Tiles of 10 x 10 over (0, 0, 25, 20): 3 x 3 whole tiles, the overhang drawn.
    auto tile = Solid(10, 10, fw::clBlue);
    tile->Canvas()->SetPixels(0, 0, fw::clRed);
    d.Fill(kWhite);
    KVXDrawBitmap(d.Canvas(), {0, 0, 25, 20}, tile.get(), kpfTile, 0, painted);
    EXPECT_EQ(painted, (TRect{0, 0, 25, 20}));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) EXPECT_EQ(d.Pixel(10 * column, 10 * row), fw::clRed);
    EXPECT_EQ(d.Pixel(29, 29), fw::clBlue);
    EXPECT_EQ(d.Pixel(30, 0), kWhite);
    // The clipped wrapper with the clip bit keeps the overhang out.
    d.Fill(kWhite);
    KVXDrawBitmapClipped(d.Canvas(), {0, 0, 25, 20}, tile.get(), kpfTile | kpfClip, 0, 0);
    EXPECT_EQ(d.Pixel(24, 19), fw::clBlue);
    EXPECT_EQ(d.Pixel(25, 5), kWhite);
    EXPECT_EQ(d.Pixel(5, 20), kWhite);
    // 40 x 20 fitted into 30 x 30: 30 x 15 at the top-left corner.
    auto wide = Solid(40, 20, fw::clLime);
    d.Fill(kWhite);
    KVXDrawBitmap(d.Canvas(), {0, 0, 30, 30}, wide.get(), kpfStretch | kpfFitBoth, 0, painted);
    EXPECT_EQ(painted, (TRect{0, 0, 30, 15}));
    EXPECT_EQ(d.RunOf(0, 14, fw::clLime), 30);
    EXPECT_EQ(d.Pixel(0, 15), kWhite);
}

TEST(KVXDraw, ThreeWaysOfTransparencyGiveTheSamePixels) {
    auto glyph = Glyph();
    glyph->Canvas()->Brush()->SetColor(fw::clOlive);  // a transparent hole in the middle
    glyph->Canvas()->FillRect({6, 6, 10, 10});
    const TColor back = fw::clYellow;
    const TRect dest{3, 4, 19, 20};
    auto draw = [&](auto paint) {
        TDibCanvas d(24, 24);
        d.Fill(back);
        paint(d);
        return d.Pixels();
    };
    TRect painted;
    const auto byColour = draw([&](TDibCanvas& d) {
        KVXPlaceImage(d.Canvas(), dest, glyph->Canvas(), {0, 0, 16, 16}, kpfColorMask, fw::clOlive, nullptr, nullptr, painted);
    });
    fw::TBitmap mask, image;
    KVXMakeBitmapMask(glyph.get(), &mask, &image, fw::clOlive);
    EXPECT_EQ(image.Canvas()->Pixels(7, 7), fw::clBlack);  // the masked copy has black holes
    EXPECT_EQ(mask.Canvas()->Pixels(7, 7), fw::clWhite);
    EXPECT_EQ(mask.Canvas()->Pixels(3, 3), fw::clBlack);
    const auto byMask = draw([&](TDibCanvas& d) {
        KVXPlaceImage(d.Canvas(), dest, image.Canvas(), {0, 0, 16, 16}, kpfGivenMask, 0, nullptr, mask.Canvas(), painted);
    });
    // Brush copy paints the bitmap's own transparent colour (olive) with the brush colour.
    const auto byBrush = draw([&](TDibCanvas& d) { KVXDrawBitmap(d.Canvas(), dest, glyph.get(), kpfBrushCopy, back, painted); });
    EXPECT_EQ(byColour, byMask);
    EXPECT_EQ(byColour, byBrush);
    TDibCanvas check(24, 24);
    check.Fill(back);
    KVXPlaceImage(check.Canvas(), dest, glyph->Canvas(), {0, 0, 16, 16}, kpfColorMask, fw::clOlive, nullptr, nullptr, painted);
    EXPECT_EQ(check.Pixel(3 + 7, 4 + 7), back);
    EXPECT_EQ(check.Pixel(3 + 3, 4 + 3), fw::clBlue);
    EXPECT_EQ(check.Pixel(3, 4), fw::clRed);
}

TEST(KVXDraw, DisabledShadedAndCheckerLooks) {
    // A black bar on olive.
    auto glyph = Solid(8, 8, fw::clOlive);
    glyph->Canvas()->Brush()->SetColor(fw::clBlack);
    glyph->Canvas()->FillRect({2, 2, 5, 3});
    fw::TBitmap disabled;
    KVXMakeDisabledBitmap(&disabled, glyph.get(), 0, 0);
    auto px = [&](int x, int y) { return disabled.Canvas()->Pixels(x, y); };
    const TColor shadow = SysColor(fw::clBtnShadow), highlight = SysColor(fw::clBtnHighlight);
    EXPECT_EQ(px(2, 2), shadow);
    EXPECT_EQ(px(4, 2), shadow);
    EXPECT_EQ(px(5, 3), highlight);  // the highlight copy, one right and down
    EXPECT_EQ(px(3, 3), highlight);
    EXPECT_EQ(px(0, 0), fw::clOlive);
    EXPECT_EQ(px(5, 2), fw::clOlive);

    // Four levels on a transparent corner colour.
    auto source = Solid(5, 1, fw::clOlive);
    const TColor levels[] = {fw::RGB(0, 0, 0), fw::RGB(100, 100, 100), fw::RGB(200, 200, 200), fw::RGB(255, 255, 255)};
    for (int i = 0; i < 4; ++i) source->Canvas()->SetPixels(i + 1, 0, levels[i]);
    fw::TBitmap shaded;
    KVXMakeShadedBitmap(&shaded, source.get());
    EXPECT_EQ(shaded.Canvas()->Pixels(0, 0), fw::clOlive);
    EXPECT_EQ(shaded.Canvas()->Pixels(1, 0), fw::clBlack);
    EXPECT_EQ(shaded.Canvas()->Pixels(2, 0), shadow);
    EXPECT_EQ(shaded.Canvas()->Pixels(3, 0), highlight);
    EXPECT_EQ(shaded.Canvas()->Pixels(4, 0), highlight);

    // The checker pattern ANDed into white leaves black where exactly one of x and y is odd.
    TDibCanvas d(16, 16);
    KVXPatternAnd(d.Canvas()->Handle(), {0, 0, 16, 16}, KVXCheckerPattern());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(d.Pixel(x, y), ((x ^ y) & 1) ? fw::clBlack : kWhite) << x << "," << y;
}

TEST(KVXDraw, ThroughMaskShowsThePictureOnlyInsideTheOverlay) {
    auto overlay = Solid(10, 10, fw::clRed);  // red outside ...
    overlay->Canvas()->Brush()->SetColor(fw::clWhite);
    overlay->Canvas()->FillRect({2, 2, 8, 8});  // ... a white window
    auto base = Solid(10, 10, fw::clBlue);
    TDibCanvas d(10, 10);
    d.Fill(fw::clLime);
    KVXDrawBitmapThroughMask(d.Canvas(), {0, 0, 10, 10}, overlay.get(), base.get(), fw::clWhite, fw::clRed);
    EXPECT_EQ(d.Pixel(5, 5), fw::clBlue);
    EXPECT_EQ(d.Pixel(0, 0), fw::clLime);
    EXPECT_EQ(d.Pixel(9, 5), fw::clLime);
}

// ---- button frames --------------------------------------------------------------------------------

TEST(KVXDraw, ButtonFrameBackgrounds) {
    TDibCanvas d(30, 20);
    TRect r{0, 0, 30, 20};
    // The explorer look in state 0 paints nothing at all.
    KVXDrawButtonFrame(d.Canvas(), false, r, TKVXUserButtonStyle::ubsExplorer, 0, 0, fw::clRed);
    EXPECT_EQ(d.Pixels(), std::vector<TColor>(30 * 20, kWhite));
    EXPECT_EQ(r, (TRect{3, 3, 27, 17}));
    // Latched flat buttons: solid with SolidLatched, else the checker of the colour.
    r = {0, 0, 30, 20};
    KVXDrawButtonFrame(d.Canvas(), true, r, TKVXUserButtonStyle::ubsFlat, kButtonLatched, 0, fw::clRed);
    EXPECT_EQ(d.Pixel(10, 10), fw::clRed);
    EXPECT_EQ(d.Pixel(11, 10), fw::clRed);
    EXPECT_EQ(r, (TRect{4, 4, 28, 18}));
    d.Fill(kWhite);
    r = {0, 0, 30, 20};
    KVXDrawButtonFrame(d.Canvas(), false, r, TKVXUserButtonStyle::ubsFlat, kButtonLatched, 0, fw::clRed);
    EXPECT_EQ(d.Pixel(10, 10), kWhite);
    EXPECT_EQ(d.Pixel(11, 10), fw::clRed);
    // An up plain button fills with the colour and frames it; the focus adds the dotted rectangle.
    d.Fill(kWhite);
    r = {0, 0, 30, 20};
    KVXDrawButtonFrame(d.Canvas(), false, r, TKVXUserButtonStyle::ubsWin40, 0, kbfFocused, fw::clLime);
    EXPECT_EQ(d.Pixel(15, 10), fw::clLime);
    EXPECT_NE(d.Pixel(0, 0), fw::clLime);
    EXPECT_EQ(r, (TRect{4, 4, 26, 16}));
}

// ---- shapes ---------------------------------------------------------------------------------------

TEST(KVXDraw, ShapesStayInsideTheirRectangle) {
    TKVXSimpleBevel bevel;
    TKVXShadow shadow;
    shadow.SetDepth(4);
    shadow.SetColor(fw::clBlue);
    fw::TBrush brush;
    brush.SetColor(fw::clRed);
    const TRect rect{20, 10, 80, 60};
    for (int s = 0; s <= static_cast<int>(TKVXShapeType::stStar); ++s) {
        for (TKVXSimpleBevelStyle style : {TKVXSimpleBevelStyle::sbNormal, TKVXSimpleBevelStyle::sbInset}) {
            bevel.SetStyle(style);
            TDibCanvas d(100, 80);
            d.Fill(fw::clYellow);
            KVXPaintShape(rect, d.Canvas(), static_cast<TKVXShapeType>(s), nullptr, nullptr, false, &brush, 20, &bevel,
                          &shadow, nullptr, fw::clYellow, fw::clWhite);
            int outside = 0, body = 0, shadowPixels = 0;
            std::string where;
            for (int y = 0; y < 80; ++y)
                for (int x = 0; x < 100; ++x) {
                    const TColor c = d.Pixel(x, y);
                    if (c == fw::clYellow) continue;
                    if (!fw::PtInRect(rect, {x, y})) {
                        ++outside;
                        where += " (" + std::to_string(x) + "," + std::to_string(y) + ")=" + std::to_string(c);
                    }
                    body += c == fw::clRed;
                    shadowPixels += c == fw::clBlue;
                }
            EXPECT_EQ(outside, 0) << "shape " << s << ":" << where;
            EXPECT_GT(body, 0) << s;
            EXPECT_GT(shadowPixels, 0) << s;
            // The body's middle is filled; the shadow sits only at the depth offset, right and down.
            EXPECT_EQ(d.Pixel(48, 33), fw::clRed) << s;
            EXPECT_NE(d.Pixel(rect.Left, rect.Bottom - 1), fw::clBlue) << s;
        }
    }
}

TEST(KVXDraw, TeethShapeAndFillPicture) {
    TKVXSimpleBevel bevel;
    TKVXTeeth teeth;
    teeth.SetCount(3);
    fw::TBrush brush;
    brush.SetColor(fw::clRed);
    TKVXPointList list;
    const TRect rect{0, 0, 60, 40};
    KVXBuildShapePoints(rect, TKVXShapeType::stRectangle, &teeth, false, 0, &bevel, nullptr, &list);
    std::vector<uint32_t> stored;
    for (int i = 0; i < list.Count(); ++i) stored.push_back(list.Get(i));
    TDibCanvas d(80, 60);
    d.Fill(fw::clYellow);
    KVXPaintShape({10, 10, 70, 50}, d.Canvas(), TKVXShapeType::stRectangle, &teeth, &list, false, &brush, 0, &bevel, nullptr,
                  nullptr, fw::clYellow, fw::clWhite);
    EXPECT_EQ(d.Pixel(30, 30), fw::clRed);
    EXPECT_EQ(d.Pixel(9, 30), fw::clYellow);
    ASSERT_EQ(static_cast<size_t>(list.Count()), stored.size());
    for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Get(i), stored[static_cast<size_t>(i)]);  // put back
    // A fill picture shows only inside the shape.
    auto picture = Solid(60, 40, fw::clBlue);
    d.Fill(fw::clYellow);
    KVXPaintShape({10, 10, 70, 50}, d.Canvas(), TKVXShapeType::stEllipse, nullptr, nullptr, false, &brush, 0, &bevel, nullptr,
                  picture.get(), fw::clYellow, fw::clWhite);
    EXPECT_EQ(d.Pixel(40, 30), fw::clBlue);
    EXPECT_EQ(d.Pixel(11, 11), fw::clYellow);
}

}  // namespace
}  // namespace kvx::win32
