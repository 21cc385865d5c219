// The speed button's layout arithmetic with a fixed-width text measurer, its glyph counts, greys, drop
// points and glyph-list slots.
#include "uisupport/controls/speedlayout.h"

#include <gtest/gtest.h>

namespace uis {
namespace {

// 6 pixels per character, 13 per line.
TSpeedLayoutInput Input(fw::TRect content, int gw, int gh, const std::string& caption, TGlyphSide side, int margin,
                        int spacing) {
    TSpeedLayoutInput in;
    in.Content = content;
    in.GlyphWidth = gw;
    in.GlyphHeight = gh;
    in.Caption = caption;
    in.Side = side;
    in.Margin = margin;
    in.Spacing = spacing;
    in.LineWidth = [](const std::string& s) { return static_cast<int>(s.size()) * 6; };
    in.Measure = [](const std::string& s, int, bool) { return fw::TPoint{static_cast<int>(s.size()) * 6, 13}; };
    return in;
}

TEST(SpeedButtonLayout, MarginAndSpacingRules) {
    struct Case {
        const char* name;
        TSpeedLayoutInput in;
        fw::TPoint glyph;
        fw::TRect caption;
    };
    const fw::TRect wide = fw::Rect(0, 0, 100, 30);
    const Case cases[] = {
        {"glyph only, centred", Input(fw::Rect(2, 2, 23, 23), 16, 16, "", TGlyphSide::Top, -1, 1), {4, 4}, fw::Rect(12, 4 + 16, 12, 4 + 16)},
        {"margin -1", Input(wide, 16, 16, "Open", TGlyphSide::Left, -1, 1), {30, 7}, fw::Rect(47, 9, 71, 22)},
        {"spacing -1", Input(wide, 16, 16, "Open", TGlyphSide::Left, 4, -1), {4, 7}, fw::Rect(48, 9, 72, 22)},
        {"both -1", Input(wide, 16, 16, "Open", TGlyphSide::Left, -1, -1), {20, 7}, fw::Rect(56, 9, 80, 22)},
        {"glyph right", Input(wide, 16, 16, "Open", TGlyphSide::Right, 4, 2), {80, 7}, fw::Rect(54, 9, 78, 22)},
        {"glyph bottom", Input(fw::Rect(0, 0, 60, 60), 16, 16, "Go", TGlyphSide::Bottom, 5, 3), {22, 39}, fw::Rect(24, 23, 36, 36)},
    };
    for (const Case& c : cases) {
        const TSpeedLayout out = LayoutSpeedButton(c.in);
        EXPECT_EQ(out.Glyph, c.glyph) << c.name;
        if (!c.in.Caption.empty()) {
            EXPECT_EQ(out.CaptionRect, c.caption) << c.name;
        }
    }
}

TEST(SpeedButtonLayout, LongCaptionsEndInDotsUnlessWrapped) {
    TSpeedLayoutInput in = Input(fw::Rect(0, 0, 40, 40), 0, 0, "Extract files", TGlyphSide::Top, -1, 1);
    EXPECT_EQ(LayoutSpeedButton(in).Caption, "Ext...");
    in.Caption = "Two\r\nLong line";
    EXPECT_EQ(LayoutSpeedButton(in).Caption, "Two\r\nLon...");
    in.WordWrap = true;
    EXPECT_EQ(LayoutSpeedButton(in).Caption, "Two\r\nLong line");
    EXPECT_EQ(CutLineToWidth("abc", 0, [](const std::string& s) { return static_cast<int>(s.size()); }), "...");
}

TEST(SpeedButtonLayout, DropMarkBesideGlyphOrCaption) {
    TSpeedLayoutInput glyph = Input(fw::Rect(0, 0, 30, 30), 16, 16, "", TGlyphSide::Top, -1, 1);
    glyph.DrawMark = true;
    TSpeedLayout out = LayoutSpeedButton(glyph);
    EXPECT_EQ(out.Glyph, (fw::TPoint{4, 7}));
    EXPECT_EQ(out.Mark, (fw::TPoint{21, 15}));

    TSpeedLayoutInput text = Input(fw::Rect(0, 0, 60, 20), 0, 0, "Go", TGlyphSide::Left, -1, 1);
    text.DrawMark = true;
    out = LayoutSpeedButton(text);
    EXPECT_EQ(out.CaptionRect, fw::Rect(20, 4, 32, 17));
    EXPECT_EQ(out.Mark, (fw::TPoint{35, 10}));
    const std::vector<TMarkRow> rows = DropMarkRows(10, 20);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].X + rows[0].Width / 2, rows[3].X + rows[3].Width / 2);  // centred under each other
    EXPECT_EQ(rows[0].Y, 19);
    EXPECT_EQ(rows[3].Y, 22);
}

TEST(SpeedButtonGlyphs, CountsGreysAndDropPoints) {
    const struct {
        int w, h, current, want;
    } counts[] = {{80, 16, 1, 5}, {96, 16, 3, 1}, {40, 16, 3, 3}, {16, 16, 4, 1}, {16, 0, 2, 2}, {0, 16, 2, 2}};
    for (const auto& c : counts) EXPECT_EQ(SpeedNumGlyphs(c.w, c.h, c.current), c.want) << c.w << "x" << c.h;
    EXPECT_EQ(GreyLevel(255, 255, 255), 255);
    EXPECT_EQ(GreyLevel(255, 0, 0), 76);
    EXPECT_EQ(GreyLevel(0, 255, 0), 149);
    EXPECT_EQ(GreyLevel(0, 0, 255), 28);
    using P = TDropPosition;
    using A = TMenuAlign;
    EXPECT_EQ(DropPoint(P::Bottom, A::Left, 25, 25), (fw::TPoint{-1, 25}));
    EXPECT_EQ(DropPoint(P::Bottom, A::Right, 25, 25), (fw::TPoint{26, 25}));
    EXPECT_EQ(DropPoint(P::Bottom, A::Center, 25, 25), (fw::TPoint{12, 25}));
    EXPECT_EQ(DropPoint(P::Right, A::Center, 25, 25), (fw::TPoint{12, 25}));
    EXPECT_EQ(DropPoint(P::Right, A::Left, 25, 25), (fw::TPoint{25, -1}));
    EXPECT_EQ(DropPoint(P::Right, A::Right, 25, 25), (fw::TPoint{-1, -1}));
}

TEST(SpeedButtonGlyphs, SlotsAreReusedAfterRelease) {
    TGlyphSlots slots;
    EXPECT_EQ(slots.Allocate(), 0);
    EXPECT_EQ(slots.Allocate(), 1);
    EXPECT_EQ(slots.Allocate(), 2);
    EXPECT_TRUE(slots.Release(1));
    EXPECT_FALSE(slots.Release(1));
    EXPECT_FALSE(slots.Release(7));
    EXPECT_EQ(slots.UsedCount(), 2);
    EXPECT_EQ(slots.Allocate(), 1);
    EXPECT_EQ(slots.Count(), 3);
    EXPECT_EQ(slots.UsedCount(), 3);
}

}  // namespace
}  // namespace uis
