#include "framework/core/graphics_values.h"

#include <gtest/gtest.h>

#include "framework/core/exceptions.h"

namespace fw {
namespace {

TEST(GraphicsValues, ColourText) {
    const std::pair<TColor, const char*> rows[] = {
        {clBlack, "clBlack"},       {clRed, "clRed"},         {clWhite, "clWhite"},
        {clGray, "clGray"},         {clSilver, "clSilver"},   {clBtnFace, "clBtnFace"},
        {clInfoBk, "clInfoBk"},     {clWindow, "clWindow"},   {clNone, "clNone"},
        {clDefault, "clDefault"},   {0x123456, "$00123456"},  {static_cast<TColor>(0x80000040u), "$80000040"},
        {-1, "$FFFFFFFF"},
    };
    for (const auto& [color, text] : rows) {
        EXPECT_EQ(ColorToString(color), text) << text;
        EXPECT_EQ(StringToColor(text), color) << text;
    }
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0x8000000F));
    EXPECT_EQ(clNone, 0x1FFFFFFF);
    EXPECT_EQ(clDefault, 0x20000000);
    EXPECT_EQ(StringToColor("CLRED"), clRed);
    EXPECT_EQ(StringToColor("clLtGray"), clSilver);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-16777201"), static_cast<TColor>(0xFF00000F));
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
    EXPECT_THROW(StringToColor("$1FFFFFFFF"), EConvertError);
    EXPECT_TRUE(IsSystemColor(clWindowText));
    EXPECT_FALSE(IsSystemColor(clNone));
    EXPECT_EQ(RGB(1, 2, 3), 0x030201);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
}

TEST(GraphicsValues, Rectangles) {
    const TRect a = Rect(0, 0, 10, 10), b = Bounds(5, 5, 10, 10);
    EXPECT_EQ(b, Rect(5, 5, 15, 15));
    EXPECT_EQ(b.Width(), 10);
    TRect r;
    EXPECT_TRUE(IntersectRect(r, a, b));
    EXPECT_EQ(r, Rect(5, 5, 10, 10));
    EXPECT_FALSE(IntersectRect(r, a, Rect(10, 0, 20, 10))) << "touching edges do not overlap";
    EXPECT_EQ(r, TRect{});
    EXPECT_TRUE(UnionRect(r, a, b));
    EXPECT_EQ(r, Rect(0, 0, 15, 15));
    EXPECT_TRUE(UnionRect(r, a, Rect(50, 50, 50, 60)));
    EXPECT_EQ(r, a) << "an empty rectangle adds nothing";
    EXPECT_FALSE(UnionRect(r, TRect{}, TRect{}));
    EXPECT_TRUE(PtInRect(a, Point(0, 0)));
    EXPECT_FALSE(PtInRect(a, Point(10, 5))) << "right edge is outside";
    EXPECT_EQ(OffsetRect(a, 3, -2), Rect(3, -2, 13, 8));
    EXPECT_EQ(InflateRect(a, 2, 1), Rect(-2, -1, 12, 11));
    EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 5, 9)));
    EXPECT_EQ(NormalizeRect(Rect(10, 20, 0, 5)), Rect(0, 5, 10, 20));
    EXPECT_EQ(Point(1, 2) + Point(3, 4), Point(4, 6));
}

}  // namespace
}  // namespace fw
