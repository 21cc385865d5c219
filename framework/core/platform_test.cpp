#include "framework/core/platform.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace fw {
namespace {

TEST(Platform, MatchesMask) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"file.txt", "*.*", true},   {"file", "*.*", true},        {"file", "*", true},
        {"file.txt", "*.TXT", true}, {"file.txt", "*.tx", false},   {"file.txt", "f?le.*", true},
        {"fle.txt", "f?le.*", false}, {"a.b.c", "*.c", true},       {"abc", "a*c", true},
        {"ac", "a*c", true},         {"ab", "a*c", false},          {"readme", "readme.*", true},
        {"x.tar.gz", "*.tar.*", true}, {"", "*", true},             {"abc", "", false},
        {"\xE9t\xE9.txt", "\xC9T\xC9.TXT", false},  // only ASCII letters fold in masks
    };
    for (const auto& [name, mask, want] : rows) EXPECT_EQ(MatchesMask(name, mask), want) << name << " ~ " << mask;
}

TEST(Platform, DosTimePacking) {
    SystemTime t{2010, 8, 31, 23, 59, 58, 0};
    const uint32_t dos = PackDosTime(t);
    EXPECT_EQ(dos, (((30u << 9) | (8u << 5) | 31u) << 16) | ((23u << 11) | (59u << 5) | 29u));
    SystemTime back;
    ASSERT_TRUE(UnpackDosTime(dos, back));
    EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day, 20100831);
    EXPECT_EQ(back.hour * 10000 + back.minute * 100 + back.second, 235958);
    EXPECT_EQ(PackDosTime(SystemTime{1979, 12, 31, 0, 0, 0, 0}), 0u);
    EXPECT_EQ(PackDosTime(SystemTime{2108, 1, 1, 0, 0, 0, 0}), 0u);
    EXPECT_FALSE(UnpackDosTime(0, back));  // month 0
    EXPECT_FALSE(UnpackDosTime(((1u << 5) | 0u) << 16, back));
    EXPECT_FALSE(UnpackDosTime((((20u << 9) | (2u << 5) | 30u) << 16), back));  // Feb 30
    EXPECT_FALSE(UnpackDosTime((((20u << 9) | (1u << 5) | 1u) << 16) | (24u << 11), back));
}

TEST(Platform, FileTimeConversions) {
    const SystemTime t{1601, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(SystemTimeToFileTime(t), 0);
    EXPECT_EQ(SystemTimeToFileTime(SystemTime{1970, 1, 1, 0, 0, 0, 0}), kFileTimeUnixEpoch);
    const SystemTime u{2038, 1, 19, 3, 14, 8, 250};
    const SystemTime back = FileTimeToSystemTime(SystemTimeToFileTime(u));
    EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day, 20380119);
    EXPECT_EQ(back.hour * 10000000 + back.minute * 100000 + back.second * 1000 + back.millisecond, 31408250);
    // A DOS time survives the trip through UTC and back in the local zone.
    const uint32_t dos = PackDosTime(SystemTime{2015, 3, 29, 1, 30, 0, 0});
    EXPECT_EQ(FileTimeToDosTime(DosTimeToFileTime(dos)), dos);
    const uint32_t summer = PackDosTime(SystemTime{2015, 7, 1, 12, 0, 0, 0});
    EXPECT_EQ(FileTimeToDosTime(DosTimeToFileTime(summer)), summer);
}

TEST(Platform, CodePageTables) {
    // Spot values that matter for archive names.
    EXPECT_EQ(kCp437ToUnicode[0x81], 0x00FC);  // u diaeresis
    EXPECT_EQ(kCp437ToUnicode[0xE1], 0x00DF);  // sharp s
    EXPECT_EQ(kCp437ToUnicode[0xC4], 0x2500);  // box drawing
    EXPECT_EQ(kCp1252ToUnicode[0x80], 0x20AC);  // euro
    EXPECT_EQ(kCp1252ToUnicode[0x81], 0x0081);  // unassigned: the C1 control
    for (int b = 0; b < 128; ++b) {
        EXPECT_EQ(kCp437ToUnicode[b], b);
        EXPECT_EQ(kCp1252ToUnicode[b], b);
    }
    // Every OEM letter that exists in 1252 converts there and back.
    CodePage& cp = TableCodePage();
    int roundTrips = 0;
    for (int b = 0; b < 256; ++b) {
        for (int a = 0; a < 256; ++a) {
            if (kCp1252ToUnicode[a] != kCp437ToUnicode[b]) continue;
            const std::string oem(1, static_cast<char>(b));
            EXPECT_EQ(cp.OemToAnsi(oem), std::string(1, static_cast<char>(a))) << "oem " << b;
            EXPECT_EQ(cp.AnsiToOem(cp.OemToAnsi(oem)), oem) << "oem " << b;
            ++roundTrips;
        }
    }
    EXPECT_GT(roundTrips, 128 + 50);
    EXPECT_EQ(cp.OemToAnsi("M\x81nchen \x84"), "M\xFCnchen \xE4");
    EXPECT_EQ(cp.AnsiToOem("M\xFCnchen"), "M\x81nchen");
}

#ifndef _WIN32
// The tables agree with Python's codecs for every byte Python defines.
TEST(Platform, CodePageTablesMatchPython) {
    for (const auto& [codec, table] : {std::pair{"cp437", kCp437ToUnicode}, std::pair{"cp1252", kCp1252ToUnicode}}) {
        const std::string cmd = std::string("python3 -c \"import sys\nfor b in range(256):\n try: print(ord(bytes([b]).decode('") +
                                codec + "')))\n except Exception: print(-1)\"";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr) << "python3 (package python3) is needed";
        int b = 0, value = 0;
        while (b < 256 && std::fscanf(p, "%d", &value) == 1) {
            if (value >= 0) {
                EXPECT_EQ(table[b], value) << codec << " byte " << b;
            }
            ++b;
        }
        EXPECT_EQ(pclose(p), 0);
        EXPECT_EQ(b, 256) << codec;
    }
}
#endif

}  // namespace
}  // namespace fw
