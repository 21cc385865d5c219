// Channels, composition and blending of colours.
#include "uisupport/controls/grutils.h"

#include <gtest/gtest.h>

namespace uis {
namespace {

TEST(ColorRoutines, BlendColorsAveragesEachChannelDroppingTheFraction) {
    const struct {
        fw::TColor a, b, want;
    } cases[] = {
        {fw::clBlack, fw::clWhite, fw::RGB(127, 127, 127)},
        {fw::clBlack, fw::RGB(1, 1, 1), fw::clBlack},
        {fw::RGB(10, 200, 255), fw::RGB(20, 100, 0), fw::RGB(15, 150, 127)},
        {fw::clBlue, fw::clBlue, fw::clBlue},
    };
    for (const auto& c : cases) EXPECT_EQ(BlendColors(c.a, c.b), c.want) << std::hex << c.a << " " << c.b;
}

TEST(ColorRoutines, SystemColoursGoThroughTheResolver) {
    SetColorResolver([](fw::TColor c) { return c == fw::clBtnFace ? fw::RGB(192, 192, 192) : c; });
    EXPECT_EQ(GetRed(fw::clBtnFace), 192);
    EXPECT_EQ(BlendColors(fw::clBlack, fw::clBtnFace), fw::RGB(96, 96, 96));
    SetColorResolver(nullptr);
    EXPECT_EQ(ComposeColor(1, 2, 3), fw::RGB(1, 2, 3));
    EXPECT_EQ(GetGreen(fw::RGB(1, 2, 3)), 2);
    EXPECT_EQ(GetBlue(fw::RGB(1, 2, 3)), 3);
}

}  // namespace
}  // namespace uis
