// File masks: the table of cases, the same answers as the recursive rule on many random names and
// masks, a mask of many stars on a long name in bounded time, and the filter text split and joined.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "framework/core/sysutils.h"
#include "uisupport/shell/matchmask.h"

namespace uis {
namespace {

// The rule as a recursion over both strings, read literally; exponential, so only for short inputs.
bool Recursive(const char* name, const char* mask) {
    if (std::string(mask) == "*") return true;
    if (!*name) return !*mask;
    if (*mask == '*') return Recursive(name, mask + 1) || Recursive(name + 1, mask);
    if (!*mask) return false;
    if (*mask != '?' && fw::AnsiUpperChar(*mask) != fw::AnsiUpperChar(*name)) return false;
    return Recursive(name + 1, mask + 1);
}

struct MaskCase {
    const char* name;
    const char* mask;
    bool match;
};

TEST(MatchMask, Cases) {
    const MaskCase cases[] = {
        {"a.zip", "*.zip", true},        {"A.ZIP", "*.zip", true},     {"b.ARJ", "*.arj", true},
        {"a.zip.txt", "*.zip", false},   {"abc", "a?c", true},         {"abcd", "a?c", false},
        {"readme", "*", true},           {"", "*", true},              {"", "", true},
        {"x", "", false},                {"", "**", false},            {"x", "**", true},
        {"a", "a*", true},               {"a", "a**", false},          {"ab", "a**", true},
        {"abc", "*b*", true},            {"abc", "*d*", false},        {"aaab", "*a*b", true},
        {"mississippi", "m*iss*p?", true}, {"mississippi", "m*iss*x", false},
        {"\xe9t\xe9", "\xc9T\xc9", true},  // the 1252 case table
        {"setup.exe", "s*.e?e", true},   {"a.b.c", "*.c", true},       {"a", "?", true},
        {"", "?", false},                {"ab", "?", false},           {"a", "*?", true},
        {"a", "?*", true},               {"", "*?", false},            {"x.zip", "*.zip*", true},
    };
    for (const MaskCase& c : cases) {
        EXPECT_EQ(MatchMask(c.name, c.mask), c.match) << '"' << c.name << "\" against \"" << c.mask << '"';
        EXPECT_EQ(Recursive(c.name, c.mask), c.match) << "the rule itself: \"" << c.name << "\" against \"" << c.mask << '"';
    }
}

TEST(MatchMask, AgreesWithTheRecursiveRule) {
    // Short strings over a small alphabet reach every corner: stars in a row, stars at both ends,
    // names used up before the mask.
    const char alphabet[] = {'a', 'B', 'b', '?', '*', '.'};
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    int compared = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string name, mask;
        for (unsigned n = next() % 7; n > 0; --n) name += "aAbB."[next() % 5];
        for (unsigned n = next() % 7; n > 0; --n) mask += alphabet[next() % 6];
        ASSERT_EQ(MatchMask(name, mask), Recursive(name.c_str(), mask.c_str()))
            << '"' << name << "\" against \"" << mask << '"';
        ++compared;
    }
    EXPECT_EQ(compared, 40000);
}

TEST(MatchMask, ManyStarsOnALongNameTakeNoTime) {
    // The recursive rule needs minutes for this one; each further star multiplies that.
    const std::string name(255, 'a');
    const std::string mask = "*a*a*a*a*a*a*a*a*a*a*b";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MatchMask(name, mask));
    EXPECT_TRUE(MatchMask(name + "b", mask));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 200);
}

struct FilterCase {
    const char* text;
    std::vector<std::string> masks;
    const char* joined;
};

TEST(Filter, SplitAndJoin) {
    const FilterCase cases[] = {
        {"", {"*"}, "*"},
        {"*", {"*"}, "*"},
        {"*.zip;*.arj", {"*.zip", "*.arj"}, "*.zip;*.arj"},
        {"*.zip;", {"*.zip"}, "*.zip"},
        {";", {""}, ""},
        {"a;;b", {"a", "", "b"}, "a;;b"},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitFilter(c.text), c.masks);
        EXPECT_EQ(JoinFilter(SplitFilter(c.text)), c.joined);
    }
}

TEST(Filter, AnyMaskOfTheList) {
    const std::vector<std::string> masks = SplitFilter("*.zip;*.arj");
    const std::pair<const char*, bool> names[] = {
        {"a.zip", true}, {"b.ARJ", true}, {"readme.txt", false}, {"zip", false}, {"x.arj.bak", false}};
    for (const auto& [name, match] : names) EXPECT_EQ(MatchesAnyMask(name, masks), match) << name;
}

}  // namespace
}  // namespace uis
