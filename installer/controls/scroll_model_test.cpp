#include "installer/controls/scroll_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace inst {
namespace {

using C = TScrollCode;
constexpr C E = C::scEndScroll;

// A bar of the default range and thumb on an inner length of 132: track 100, thumb 16 fixed, so the
// thumb moves over 84 pixels for 100 units.
struct Bar {
    Bar(int position = 50) {
        model.OnNotify = [this](C code) { codes.push_back(code); };
        model.Layout(132);
        model.SetPosition(position);
    }
    ScrollModel model;
    std::vector<C> codes;
};

TEST(ScrollModel, ThumbOffsetFollowsThePosition) {
    struct Case {
        int position, start;
    };
    // Start: the first button's 16 pixels plus R(position * 84 / 100), halves to even.
    const Case cases[] = {{0, 16}, {50, 58}, {100, 100}, {1, 17}, {25, 37}, {99, 99}};
    for (const Case& c : cases) {
        Bar bar(c.position);
        EXPECT_EQ(bar.model.ThumbStart(), c.start) << c.position;
        EXPECT_EQ(bar.model.ThumbExtent(), 16);
    }
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
}

TEST(ScrollModel, TrackClicksPageAndReportEdges) {
    struct Case {
        const char* name;
        int position, point;
        int after;
        std::vector<C> codes;
        bool repeat;
    };
    // The thumb of position 50 lies from 58 to 74.
    const Case cases[] = {
        {"above the thumb", 50, 10, 40, {E, C::scPageDown}, true},
        {"below the thumb", 50, 120, 60, {E, C::scPageUp}, true},
        {"inside the thumb", 50, 60, 50, {}, false},
        {"on the thumb's first pixel", 50, 58, 50, {}, true},
        {"above, reaching Min", 5, 10, 0, {E, C::scPageDown, E, C::scTop}, true},
        {"below, reaching Max", 95, 120, 100, {E, C::scPageUp, E, C::scBottom}, true},
    };
    for (const Case& c : cases) {
        Bar bar(c.position);
        const int from = bar.model.ThumbStart();
        const bool repeat = bar.model.TrackClick(c.point, from, from + bar.model.ThumbExtent());
        EXPECT_EQ(bar.model.Position(), c.after) << c.name;
        EXPECT_EQ(bar.codes, c.codes) << c.name;
        EXPECT_EQ(repeat, c.repeat) << c.name;
    }
}

TEST(ScrollModel, KeysStepAndPage) {
    struct Case {
        const char* name;
        int position;
        TScrollKey key;
        int after;
        std::vector<C> codes;
    };
    const Case cases[] = {
        {"Page Up sends scPageDown alone", 50, TScrollKey::PageUp, 40, {C::scPageDown}},
        {"Page Down sends scPageUp alone", 50, TScrollKey::PageDown, 60, {C::scPageUp}},
        {"Page Up to Min", 5, TScrollKey::PageUp, 0, {C::scPageDown, E, C::scTop}},
        {"Page Up at Min still reports", 0, TScrollKey::PageUp, 0, {C::scPageDown, E, C::scTop}},
        {"Down increases", 50, TScrollKey::Down, 51, {E, C::scLineUp}},
        {"Right to Max", 99, TScrollKey::Right, 100, {E, C::scLineUp, E, C::scBottom}},
        {"Up decreases", 50, TScrollKey::Up, 49, {E, C::scLineDown}},
        {"Left at Min steps nothing", 0, TScrollKey::Left, 0, {E, C::scTop}},
    };
    for (const Case& c : cases) {
        Bar bar(c.position);
        bar.model.Key(c.key);
        EXPECT_EQ(bar.model.Position(), c.after) << c.name;
        EXPECT_EQ(bar.codes, c.codes) << c.name;
    }
}

TEST(ScrollModel, RangeWritesClamp) {
    ScrollModel m;
    m.SetPosition(60);
    EXPECT_TRUE(m.SetMax(-5));  // below Min: becomes Min, Position follows
    EXPECT_EQ(m.Max(), 0);
    EXPECT_EQ(m.Position(), 0);
    EXPECT_FALSE(m.SetPosition(30));
    m.SetMax(100);
    m.SetPosition(30);
    EXPECT_TRUE(m.SetMin(200));  // above Max: becomes Max, Position raised
    EXPECT_EQ(m.Min(), 100);
    EXPECT_EQ(m.Position(), 100);
    EXPECT_FALSE(m.SetMin(200));  // unchanged write
    EXPECT_EQ(m.Min(), 100);
    m.ThumbMode = TKVXThumbMode::tmAuto;
    EXPECT_FALSE(m.SetThumbLength(30));  // written by the bar itself in tmAuto
}

TEST(ScrollModel, AutoThumbFromTheRange) {
    struct Case {
        int max, inner, thumb, extent;
    };
    const Case cases[] = {
        {0, 132, 100, 100},   // a range of 0: the whole track
        {60, 132, 40, 40},
        {1000, 132, 8, 8},    // a range larger than the track: 8 pixels
        {100, 40, 8, 8},      // track 8: the minimum fills it
        {100, 36, 8, 4},      // track 4, shorter than the thumb: placed within the track
        {100, 20, 8, 0},      // no track at all
    };
    for (const Case& c : cases) {
        ScrollModel m;
        m.ThumbMode = TKVXThumbMode::tmAuto;
        m.SetMax(c.max);
        m.SetPosition(c.max);
        m.Layout(c.inner);
        EXPECT_EQ(m.ThumbLength(), c.thumb) << c.max << " " << c.inner;
        EXPECT_EQ(m.ThumbExtent(), c.extent) << c.max << " " << c.inner;
        EXPECT_GE(m.ThumbStart(), m.ButtonWidth);
        EXPECT_LE(m.ThumbStart() + m.ThumbExtent(), m.ButtonWidth + std::max(m.TrackLength(), 0));
    }
}

TEST(ScrollModel, TrackShorterThanTheThumbStaysFinite) {
    // Fixed thumb 16 on tracks of 16, 10, 0 and -12 pixels: no division by a zero or negative span,
    // and the thumb never leaves the track.
    for (int inner : {48, 42, 32, 20}) {
        for (int position : {0, 1, 50, 100}) {
            Bar bar;
            bar.model.Layout(inner);
            bar.model.SetPosition(position);
            EXPECT_GE(bar.model.ThumbStart(), 16) << inner;
            EXPECT_LE(bar.model.ThumbStart() + bar.model.ThumbExtent(), 16 + std::max(inner - 32, 0)) << inner;
            bar.model.Drag(5);  // one unit per move without a span
            EXPECT_EQ(bar.model.Position(), std::min(position + 1, 100)) << inner;
        }
    }
}

TEST(ScrollModel, DragMovesByRangePerPixel) {
    struct Case {
        int position, distance, after;
        std::vector<C> codes;
    };
    const Case cases[] = {
        {10, 42, 60, {C::scTrack}},  // R(100 / 84 * 42) = 50
        {50, -1, 49, {C::scTrack}},  // R(1.19) = 1
        {20, -100, 0, {C::scTrack, E, C::scTop}},
        {50, 0, 50, {C::scTrack}},
    };
    for (const Case& c : cases) {
        Bar bar(c.position);
        bar.model.Drag(c.distance);
        EXPECT_EQ(bar.model.Position(), c.after) << c.distance;
        EXPECT_EQ(bar.codes, c.codes) << c.distance;
    }
    Bar bar;
    bar.model.Release();
    EXPECT_EQ(bar.codes, (std::vector<C>{E, C::scPosition}));
}

}  // namespace
}  // namespace inst
