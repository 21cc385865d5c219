#include "widgets/spinvalue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kvx {
namespace {

constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();

TEST(KVXSpinValue, ParsesTextWithAndWithoutSuffix) {
    struct Case {
        const char* name;
        const char* text;
        const char* suffix;
        int32_t minValue;
        int32_t value;
        const char* shown;
    };
    const Case cases[] = {
        {"number and its suffix", "12 kB", " kB", 0, 12, "12 kB"},
        {"a minus inside the number", "1-2 kB", " kB", 3, 3, "3 kB"},
        {"letters around digits are dropped", "x4y2 kB", " kB", 0, 42, "42 kB"},
        {"signs and digits only", "-7 kB", " kB", -10, -7, "-7 kB"},
        {"no digits reads as the minimum", "kB", " kB", 5, 5, "5 kB"},
        {"empty with suffix", "", " kB", -2, -2, "-2 kB"},
        {"digits of the suffix are collected too", "5 k2", " k2", 0, 52, "52 k2"},
        {"plain number", "37", "", 0, 37, "37"},
        {"plain hexadecimal", "$1F", "", 0, 31, "$1F"},
        {"empty reads as the minimum", "", "", 4, 4, "4"},
        {"not a number", "abc", "", 4, 4, "4"},
        {"beyond 32 bits", "99999999999", "", 1, 1, "1"},
        {"beyond 32 bits with suffix", "99999999999 B", " B", 1, 1, "1 B"},
        {"the smallest 32-bit number", "-2147483648", "", 0, kMin32, "-2147483648"},
        {"limits are not applied", "500", "", 0, 500, "500"},
    };
    for (const Case& c : cases) {
        const TKVXSpinParse p = KVXParseSpinText(c.text, c.suffix, c.minValue);
        EXPECT_EQ(p.value, c.value) << c.name;
        EXPECT_EQ(p.text, c.shown) << c.name;
    }
}

TEST(KVXSpinValue, LimitsStayOrdered) {
    TKVXSpinLimits l;
    EXPECT_FALSE(l.SetMaxValue(0)) << "MaxValue := MinValue is ignored";
    EXPECT_FALSE(l.SetMaxValue(-5));
    EXPECT_FALSE(l.SetMaxValue(100)) << "unchanged";
    EXPECT_FALSE(l.SetMinValue(100));
    EXPECT_FALSE(l.SetMinValue(101));
    EXPECT_EQ(l.MinValue, 0);
    EXPECT_EQ(l.MaxValue, 100);
    EXPECT_TRUE(l.SetMaxValue(27000000));
    EXPECT_TRUE(l.SetMinValue(-3));
    EXPECT_EQ(l.Limit(500000000), 27000000);
    EXPECT_EQ(l.Limit(-4), -3);
    EXPECT_EQ(l.Limit(12), 12);
    EXPECT_TRUE(l.Inside(-3));
    EXPECT_FALSE(l.Inside(27000001));
}

TEST(KVXSpinValue, StepsNeverWrapAtTheEndsOfTheRange) {
    TKVXSpinLimits full;
    full.MinValue = kMin32;
    full.MaxValue = kMax32;
    struct Case {
        const char* name;
        int32_t value, step;
        TKVXSpinLimits limits;
        int32_t want;
    };
    const Case cases[] = {
        {"line up", 5, 1, {}, 6},
        {"page down below the minimum", 3, -10, {}, 0},
        {"page up above the maximum", 95, 10, {}, 100},
        {"up from the largest number", kMax32, 1, full, kMax32},
        {"down from the smallest number", kMin32, -10, full, kMin32},
        {"a huge page from the middle", 0, kMax32, full, kMax32},
        {"a huge negative page", -5, kMin32, full, kMin32},
        {"a value far outside is limited", 500, 1, {}, 100},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXSpinStep(c.value, c.step, c.limits), c.want) << c.name;
}

TEST(KVXSpinValue, AcceptedCharacters) {
    struct Case {
        char key;
        bool editorEnabled;
        bool want;
    };
    const Case cases[] = {
        {'5', true, true},   {'+', true, true},  {'-', true, true},  {'a', true, false}, {' ', true, false},
        {'.', true, false},  {8, true, true},    {13, true, true},   {27, true, true},   {'5', false, false},
        {'-', false, false}, {8, false, false},  {13, false, true},  {3, false, true},   {'\x80', true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KVXSpinValidChar(c.key, c.editorEnabled), c.want) << int(c.key) << " editor " << c.editorEnabled;
}

TEST(KVXSpinValue, MinimumHeight) {
    EXPECT_EQ(KVXSpinMinHeight(13, 13, 16, 1, true), 13 + 3 + 4);
    EXPECT_EQ(KVXSpinMinHeight(13, 20, 16, 1, true), 13 + 4 + 4) << "the smaller font height counts";
    EXPECT_EQ(KVXSpinMinHeight(13, 13, 16, 1, false), 16);
}

TEST(KVXSpinValue, HalvesOfTheButton) {
    struct Case {
        int x, y, w, h;
        TKVXSpinHalf want;
    };
    using H = TKVXSpinHalf;
    const Case cases[] = {
        {2, 2, 20, 20, H::Top},      {17, 17, 20, 20, H::Bottom}, {10, 10, 20, 20, H::Top},
        {10, 11, 20, 20, H::Bottom}, {0, 19, 20, 20, H::Top},     {19, 2, 20, 20, H::Bottom},
        // Not square: the diagonal still runs from corner to corner.
        {30, 3, 40, 10, H::Bottom},  {30, 2, 40, 10, H::Top},     {5, 5, 10, 40, H::Top},
        {5, 21, 10, 40, H::Bottom},  {5, 5, 20, 0, H::None},      {5, 5, 0, 20, H::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(int(KVXSpinHalfAt(c.x, c.y, c.w, c.h)), int(c.want)) << c.x << "," << c.y << " in " << c.w << "x" << c.h;
}

TEST(KVXSpinValue, RepeatIntervalsThePoolServes) {
    EXPECT_TRUE(KVXSpinIntervalValid(100));
    EXPECT_TRUE(KVXSpinIntervalValid(50));
    EXPECT_FALSE(KVXSpinIntervalValid(0));
    EXPECT_FALSE(KVXSpinIntervalValid(75));
}

}  // namespace
}  // namespace kvx
