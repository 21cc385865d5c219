#include "widgets/captionrects.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

// Typical metrics of the new look at 96 dpi.
TKVXCaptionMetrics Metrics(bool newLook = true) {
    TKVXCaptionMetrics m;
    m.CXSize = 18;
    m.CYCaption = 19;
    m.CXDlgFrame = 3;
    m.CYDlgFrame = 3;
    m.CXBorder = 1;
    m.CYBorder = 1;
    m.CXFrame = 4;
    m.CYFrame = 4;
    m.CYSmCaption = 15;
    m.CXSmSize = 12;
    m.CXSmIcon = 16;
    m.NewLook = newLook;
    return m;
}

TEST(KVXCaptionRects, StylesAndFlags) {
    struct Case {
        const char* why;
        uint32_t style, exStyle;
        bool newLook, iconic;
        int flagsIn;
        fw::TRect caption, text;
        int flagsOut;
    };
    const uint32_t overlapped = 0x00CF0000;  // caption, sysmenu, thick frame, min and max boxes
    const Case cases[] = {
        // Sizing frame moves the bar in by the frame; the text leaves room for three buttons and the icon.
        {"sizing window", overlapped, 0, true, false, 0, {4, 4, 196, 22}, {4 + 16 + 4 + 1, 4, 196 - 21 - 36, 22}, 8},
        // Without an icon the text starts two borders in.
        {"dialog frame", 0x00C80000, 0x1, true, false, 0, {3, 3, 197, 21}, {5, 3, 197 - 21, 21}, 0},
        // A small caption lays its text out from the unframed bar, and ends with the framed one.
        {"tool window", 0x00C80000, 0x80, true, false, 0, {3, 3, 197, 17}, {4, 3, 200 - 15 - 2, 17}, 4},
        {"context help", 0x00C80000, 0x401, true, false, 0, {3, 3, 197, 21}, {5, 3, 197 - 21 - 19, 21}, 0},
        {"no system menu", 0x00C00000, 0, true, false, 0, {3, 3, 197, 21}, {5, 3, 197, 21}, 0},
        {"iconic sizing window", overlapped, 0, true, true, 0, {4, 4, 196, 21}, {4 + 16 + 4, 4, 196 - 36, 21}, 8 | 16},
        {"caption ends at the text, icon in the caption", overlapped, 0, true, false, 1 | 2,
         {25, 4, 139, 22}, {27, 4, 139, 22}, 1 | 2 | 8},
        {"old look dialog", 0x80C80000, 0, false, false, 32, {21, 1, 199, 18}, {1 + 2 + 18 + 2, 1, 199 - 2, 18}, 32 | 8},
    };
    for (const Case& c : cases) {
        fw::TRect caption, text;
        int flags = c.flagsIn;
        KVXCaptionRectsOf({c.style, c.exStyle, 200, true, c.iconic}, Metrics(c.newLook), caption, text, flags);
        EXPECT_EQ(caption, c.caption) << c.why << ": " << caption.Left << "," << caption.Top << "," << caption.Right
                                      << "," << caption.Bottom;
        EXPECT_EQ(text, c.text) << c.why << ": " << text.Left << "," << text.Top << "," << text.Right << ","
                                << text.Bottom;
        EXPECT_EQ(flags, c.flagsOut) << c.why;
    }
}

TEST(KVXCaptionRects, HiddenWindowsGetNoTextLayout) {
    fw::TRect caption, text;
    int flags = 0;
    KVXCaptionRectsOf({0x00CF0000, 0, 200, false, false}, Metrics(), caption, text, flags);
    EXPECT_EQ(text, caption);
    EXPECT_EQ(flags, 0);
}

}  // namespace
}  // namespace kvx
