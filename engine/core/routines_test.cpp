#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/core/crc.h"
#include "engine/core/display_routines.h"
#include "engine/core/routines.h"
#include "engine/core/wildcard.h"

using namespace engine;

TEST(Routines, DosDatesConvertAndInvalidStampsGive1980)
{
    EXPECT_EQ(DosDateToDateTime(0), 29221.0);
    // 2001-02-03 04:05:06: date (21 << 9 | 2 << 5 | 3), time (4 << 11 | 5 << 5 | 3).
    const uint32_t stamp = (uint32_t(21 << 9 | 2 << 5 | 3) << 16) | (4 << 11 | 5 << 5 | 3);
    const double want = EncodeDate(2001, 2, 3) + (4 * 3600 + 5 * 60 + 6) / 86400.0;
    EXPECT_DOUBLE_EQ(DosDateToDateTime(stamp), want);
    EXPECT_EQ(DateTimeToDosDate(want), stamp);
    // Month 13, day 0, February 30 and hour 24 do not convert.
    EXPECT_EQ(DosDateToDateTime(uint32_t(1 << 9 | 13 << 5 | 1) << 16), 29221.0);
    EXPECT_EQ(DosDateToDateTime(uint32_t(1 << 9 | 1 << 5 | 0) << 16), 29221.0);
    EXPECT_EQ(DosDateToDateTime(uint32_t(21 << 9 | 2 << 5 | 30) << 16), 29221.0);
    EXPECT_EQ(DosDateToDateTime((uint32_t(21 << 9 | 2 << 5 | 3) << 16) | (24 << 11)), 29221.0);
    // February 29 of a leap year does.
    EXPECT_NE(DosDateToDateTime(uint32_t(20 << 9 | 2 << 5 | 29) << 16), 29221.0);
    EXPECT_EQ(SwapWords(0x12345678u), 0x56781234u);
}

TEST(Routines, UnixTimesUseTheBiasRule)
{
    EXPECT_DOUBLE_EQ(UnixToDateTime(0, 0), 29221.0 + 60.0 / 86400.0);
    EXPECT_DOUBLE_EQ(UnixToDateTime(86400, 0), 25570.0);
    EXPECT_DOUBLE_EQ(UnixToDateTime(86399, 0), 25569.0 + 86399.0 / 86400.0);
    // A bias of at most 12 is hours, a larger one minutes; both move the time the same way.
    EXPECT_DOUBLE_EQ(UnixToDateTime(86400, 2), UnixToDateTime(86400, 120));
    EXPECT_DOUBLE_EQ(UnixToDateTime(86400, -60), 25570.0 + 3600.0 / 86400.0);
    // Stamps from damaged headers, the extremes included, give one far date and never overflow.
    EXPECT_DOUBLE_EQ(UnixToDateTime(INT64_MIN, -12), UnixToDateTime(INT64_MAX, -12));
    EXPECT_DOUBLE_EQ(UnixToDateTime(INT64_MAX, 0), UnixToDateTime(int64_t(1) << 40, 0));
    // 2038-01-19 03:14:07, the last 32-bit second.
    int y, mo, d, h, mi, s;
    DecodeDateTime(UnixToDateTime(2147483647, 0), y, mo, d, h, mi, s);
    EXPECT_EQ(y * 10000 + mo * 100 + d, 20380119);
    EXPECT_EQ(h * 10000 + mi * 100 + s, 31407);
}

TEST(Routines, TextAndPathHelpers)
{
    EXPECT_EQ(OctalToInt("0000644 "), 420);
    EXPECT_EQ(OctalToInt("7x7"), 63);
    std::string s("abc\0def", 7);
    TrimAtNul(s);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(AppendBackslash(""), "");
    EXPECT_EQ(AppendBackslash("C:\\a"), "C:\\a\\");
    EXPECT_EQ(AppendBackslash("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(ToBackslashes("a/b/c"), "a\\b\\c");
    EXPECT_EQ(ToSlashes("a\\b"), "a/b");
    EXPECT_EQ(ExtractFileName("C:\\x\\y.txt"), "y.txt");
    EXPECT_EQ(ExtractFileName("C:y.txt"), "y.txt");
    EXPECT_EQ(ExtractFilePath("C:\\x\\y.txt"), "C:\\x\\");
    EXPECT_EQ(ExtractFileExt("C:\\v.1\\set"), "");
    EXPECT_EQ(ExtractFileExt("set.tar.gz"), ".gz");
    EXPECT_EQ(ShiftText(true, "\x01" "b", 2), "\xff" "`");
    EXPECT_EQ(ShiftText(false, "\xff", 1), std::string(1, '\0'));
    EXPECT_TRUE(HasWildcards("a?"));
    EXPECT_FALSE(HasWildcards("abc.txt"));
}

TEST(Routines, CalcRatio)
{
    EXPECT_EQ(CalcRatio(0, 5), 0);
    EXPECT_EQ(CalcRatio(5, 0), 0);
    EXPECT_EQ(CalcRatio(50, 100), 50);
    EXPECT_EQ(CalcRatio(99, 100), 1);
    EXPECT_EQ(CalcRatio(100, 100), 0);
    EXPECT_EQ(CalcRatio(1000, 300000), 99);
    // Sizes past 32 bits work too.
    EXPECT_EQ(CalcRatio(int64_t(1) << 32, int64_t(1) << 33), 50);
    // Damaged headers: 64-bit sizes read as negative numbers give no ratio.
    EXPECT_EQ(CalcRatio(-6780073222245689815, 6052837880043143193), 0);
    EXPECT_EQ(CalcRatio(5, -1), 0);
    EXPECT_EQ(CalcRatio(INT64_MIN, INT64_MAX), 0);
}

TEST(Routines, PercentRoundsHalfToEvenIn64Bits)
{
    EXPECT_EQ(PercentOf(0, 0), 0);
    EXPECT_EQ(PercentOf(5, 0), 0);
    EXPECT_EQ(PercentOf(1, 200), 0);   // 0.5 -> 0
    EXPECT_EQ(PercentOf(3, 200), 2);   // 1.5 -> 2
    EXPECT_EQ(PercentOf(5, 200), 2);   // 2.5 -> 2
    EXPECT_EQ(PercentOf(7, 200), 4);   // 3.5 -> 4
    EXPECT_EQ(PercentOf(300, 200), 100);
    const int64_t threeGb = int64_t(3) << 30;
    EXPECT_EQ(PercentOf(threeGb / 2, threeGb), 50);
    EXPECT_EQ(PercentOf(threeGb - 1, threeGb), 100);
    EXPECT_EQ(PercentOf(INT64_MAX / 3, INT64_MAX), 33);
}

TEST(Wildcard, Cases)
{
    struct Case { const char* a; const char* b; bool nameOnly; bool want; };
    const Case cases[] = {
        {"README", "*.*", false, true},
        {"a.TXT", "*.txt", false, true},
        {"ab", "a?c", false, false},
        {"", "", false, false},
        {"dir\\a.txt", "*.txt", true, true},
        {"dir\\a.txt", "*.txt", false, true},
        {"dir/a.txt", "dir\\a.txt", false, true},
        {"abc", "abc.", false, true},
        {"abc.txt", "abc.", false, false},
        {"abc", "*.", false, true},
        {"a.b", "*.", false, true},
        {"x", "", false, false},
        {"", "*", false, true},
        {"dir\\", "*.*", true, false},
        {"abc", "ABC", false, true},
        {"abcd", "a*d", false, true},
        {"abcd", "a*c", false, false},
        {"abc", "abc*", false, true},
        {"abc", "abc**", false, true},
        {"a?c", "abc", false, true},
        {"sub\\x.dat", "sub\\*", false, true},
        {"other\\x.dat", "sub\\*", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.a, c.b, c.nameOnly), c.want) << c.a << " vs " << c.b << " nameOnly " << c.nameOnly;
}

TEST(Wildcard, ManyStarsStayFast)
{
    // A crafted stored name with many stars must not take exponential time (the test's time limit
    // catches a regression).
    std::string name, mask;
    for (int i = 0; i < 30; ++i) {
        name += "*a";
        mask += "*a";
    }
    name += "b";
    mask += "c";
    EXPECT_FALSE(WildcardMatch(name, mask, false));
    EXPECT_TRUE(WildcardMatch(std::string(300, 'a'), std::string(40, '*') + "a", false));
}

// "*" and "*.*" are decided without the full rule; "**" and "*.**" fold to the same masks but take
// the full rule, so both roads must agree on every kind of name.
TEST(Routines, WholeArchiveMasksAgreeWithTheFullRule)
{
    const char* names[] = {"a", "a.txt", "A.B.C", ".profile", "name.", ".", "..", "dir\\", "dir/file", "d.x\\file",
                           "d\\name.", "x\\.", "", "a*b", "q?.txt", "dir.\\", "sub/dir/", "trail ", "\\lead"};
    for (const char* n : names)
        for (const bool nameOnly : {false, true}) {
            EXPECT_EQ(WildcardMatch("*.*", n, nameOnly), WildcardMatch("*.**", n, nameOnly)) << n << " " << nameOnly;
            EXPECT_EQ(WildcardMatch(n, "*.*", nameOnly), WildcardMatch(n, "*.**", nameOnly)) << n << " " << nameOnly;
            EXPECT_EQ(WildcardMatch("*", n, nameOnly), WildcardMatch("**", n, nameOnly)) << n << " " << nameOnly;
            EXPECT_EQ(WildcardMatch(n, "*", nameOnly), WildcardMatch(n, "**", nameOnly)) << n << " " << nameOnly;
        }
    // Every name of up to five characters from the ones the dot and folder rules look at.
    const std::string alphabet = "a.\\/ ";
    for (int length = 1; length <= 5; ++length) {
        int count = 1;
        for (int i = 0; i < length; ++i)
            count *= int(alphabet.size());
        for (int code = 0; code < count; ++code) {
            std::string n;
            for (int i = 0, c = code; i < length; ++i, c /= int(alphabet.size()))
                n += alphabet[size_t(c) % alphabet.size()];
            for (const bool nameOnly : {false, true}) {
                ASSERT_EQ(WildcardMatch("*.*", n, nameOnly), WildcardMatch("*.**", n, nameOnly)) << n << " " << nameOnly;
                ASSERT_EQ(WildcardMatch(n, "*", nameOnly), WildcardMatch(n, "**", nameOnly)) << n << " " << nameOnly;
            }
        }
    }
}


TEST(Routines, CrcsOfAbc)
{
    uint32_t c32 = 0xFFFFFFFFu;
    UpdateCrc32("abc", 3, c32);
    EXPECT_EQ(~c32, 0x352441C2u);
    uint16_t c16 = 0;
    UpdateCrc16("abc", 3, c16);
    EXPECT_EQ(c16, 0x9738);
    UpdateCrc16("abc", 0, c16);
    UpdateCrc16("abc", -5, c16);
    EXPECT_EQ(c16, 0x9738);
}

TEST(Routines, ShortenPathDropsLeadingFolders)
{
    auto len = [](const std::string& s) { return int(s.size()); };
    const std::string p = "C:\\alpha\\beta\\gamma\\file.txt";
    EXPECT_EQ(ShortenPath(p, 100, len), p);
    EXPECT_EQ(ShortenPath(p, 26, len), "C:\\...\\beta\\gamma\\file.txt");
    EXPECT_EQ(ShortenPath(p, 22, len), "C:\\...\\gamma\\file.txt");
    EXPECT_EQ(ShortenPath(p, 12, len), "C:file.txt");
    EXPECT_EQ(ShortenPath(p, 9, len), "file.txt");
    EXPECT_EQ(ShortenPath("file.txt", 3, len), "file.txt");
}
