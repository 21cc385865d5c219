#include "widgets/gradient.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

TEST(KVXGradient, MulDivRoundsHalfAwayFromZero) {
    struct Case {
        int a, b, c, want;
    };
    const Case cases[] = {
        {1, 160, 16, 10}, {3, 10, 4, 8},   {1, 1, 2, 1},  {-1, 1, 2, -1}, {5, -255, 15, -85},
        {7, 3, 2, 11},    {0, 100, 0, -1}, {2, 3, -4, -2}, {INT32_MAX, 2, 1, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXMulDiv(c.a, c.b, c.c), c.want) << c.a << "*" << c.b << "/" << c.c;
}

TEST(KVXGradient, TableRunsFromStartToEndColour) {
    TKVXColorTable t;
    KVXGradientTable(fw::clBlue, fw::clBlack, 16, t);
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t.front(), fw::clBlue);
    EXPECT_EQ(t.back(), fw::clBlack);
    EXPECT_EQ(t[1], fw::RGB(0, 0, 255 - 17));  // 255 - MulDiv(1, 255, 15)
    KVXGradientTable(fw::RGB(10, 20, 30), fw::RGB(200, 100, 0), 2, t);
    EXPECT_EQ(t, (TKVXColorTable{fw::RGB(10, 20, 30), fw::RGB(200, 100, 0)}));
}

TEST(KVXGradient, OneColourIsTheStartColourNotMulDivByZero) {
    TKVXColorTable t;
    KVXGradientTable(fw::RGB(1, 2, 3), fw::RGB(250, 251, 252), 1, t);
    EXPECT_EQ(t, TKVXColorTable{fw::RGB(1, 2, 3)});
    KVXGradientTable(fw::clRed, fw::clBlue, 0, t);  // Count 0 leaves the table alone
    EXPECT_EQ(t, TKVXColorTable{fw::RGB(1, 2, 3)});
}

TEST(KVXGradient, SixteenColoursOver160PixelsAreBandsOfTen) {
    const auto figures = KVXGradientFigures(TKVXGradientStyle::gstHorizontal, 160, 30, 16, {5, 7});
    ASSERT_EQ(figures.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(figures[i].kind, TKVXFigureKind::Fill);
        EXPECT_EQ(figures[i].colorIndex, i);  // colour 0 at the left
        EXPECT_EQ(figures[i].rect, (TRect{5 + 10 * i, 7, 15 + 10 * i, 37}));
    }
}

TEST(KVXGradient, NarrowRectanglesStillPaintEveryEntry) {
    const auto figures = KVXGradientFigures(TKVXGradientStyle::gstVertical, 10, 5, 12, {0, 0});
    ASSERT_EQ(figures.size(), 12u);
    int empty = 0;
    for (const auto& f : figures) empty += f.rect.Height() == 0;
    EXPECT_GT(empty, 0);
    EXPECT_EQ(figures.back().colorIndex, 0);  // painted last, on top
    EXPECT_EQ(figures.back().rect, (TRect{0, 0, 10, 0}));
    EXPECT_EQ(figures.front().rect, (TRect{0, 5, 10, 5}));
}

TEST(KVXGradient, FiguresOfEveryStyle) {
    struct Case {
        TKVXGradientStyle style;
        TKVXFigureKind kind;
        TRect last;  // colour 0's figure
        TRect first;  // the last colour's figure
    };
    // 100 x 50 in 4 colours: MulDiv(1, 100, 4) = 25, MulDiv(1, 50, 4) = 13 (12.5 rounded up).
    const Case cases[] = {
        {TKVXGradientStyle::gstSquare, TKVXFigureKind::Rectangle, {50 - 12, 25 - 6, 50 + 14, 25 + 8}, {0, 0, 102, 52}},
        {TKVXGradientStyle::gstElliptic, TKVXFigureKind::Ellipse, {50 - 18, 25 - 9, 50 + 18, 25 + 9}, {50 - 71, 25 - 36, 50 + 71, 25 + 36}},
        {TKVXGradientStyle::gstTopLeft, TKVXFigureKind::Rectangle, {0, 0, 26, 14}, {0, 0, 101, 51}},
        {TKVXGradientStyle::gstTopRight, TKVXFigureKind::Rectangle, {75, 14, 101, 0}, {0, 51, 101, 0}},
        {TKVXGradientStyle::gstBottomLeft, TKVXFigureKind::Rectangle, {26, 37, 0, 51}, {101, 0, 0, 51}},
        {TKVXGradientStyle::gstBottomRight, TKVXFigureKind::Rectangle, {75, 37, 101, 51}, {0, 0, 101, 51}},
    };
    for (const Case& c : cases) {
        const auto figures = KVXGradientFigures(c.style, 100, 50, 4, {0, 0});
        ASSERT_EQ(figures.size(), 4u);
        EXPECT_EQ(figures.back().kind, c.kind);
        EXPECT_EQ(figures.back().colorIndex, 0);
        EXPECT_EQ(figures.back().rect, c.last) << static_cast<int>(c.style);
        EXPECT_EQ(figures.front().rect, c.first) << static_cast<int>(c.style);
    }
    EXPECT_TRUE(KVXGradientFigures(TKVXGradientStyle::gstSquare, 0, 10, 4, {0, 0}).empty());
    EXPECT_TRUE(KVXGradientFigures(TKVXGradientStyle::gstSquare, 10, 10, 0, {0, 0}).empty());
}

}  // namespace
}  // namespace kvx
