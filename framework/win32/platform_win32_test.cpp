// The Win32 seams against the portable ones: code page tables and conversions, the case table, and
// the ini parser against the system's profile functions, on the same inputs.
#include "framework/win32/platform_win32.h"

#include <gtest/gtest.h>
#include "framework/win32/winapi.h"

#include <cstdio>

#include "framework/core/inifiles.h"
#include "framework/core/inifiles_cases.h"
#include "framework/core/sysutils.h"
#include "testing/test_env.h"

namespace fw {
namespace {

class Win32Platform : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InstallWin32Platform(); }
};

TEST_F(Win32Platform, CodePageTablesMatchTheSystem) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        wchar_t w = 0;
        ASSERT_EQ(MultiByteToWideChar(437, 0, &c, 1, &w, 1), 1);
        EXPECT_EQ(static_cast<uint16_t>(w), kCp437ToUnicode[b]) << "cp437 byte " << b;
        ASSERT_EQ(MultiByteToWideChar(1252, 0, &c, 1, &w, 1), 1);
        EXPECT_EQ(static_cast<uint16_t>(w), kCp1252ToUnicode[b]) << "cp1252 byte " << b;
        // And back: every byte round-trips through Unicode in its own code page.
        char back = 0;
        w = static_cast<wchar_t>(kCp437ToUnicode[b]);
        ASSERT_EQ(WideCharToMultiByte(437, 0, &w, 1, &back, 1, nullptr, nullptr), 1);
        EXPECT_EQ(static_cast<uint8_t>(back), b) << "cp437 byte " << b;
        w = static_cast<wchar_t>(kCp1252ToUnicode[b]);
        ASSERT_EQ(WideCharToMultiByte(1252, 0, &w, 1, &back, 1, nullptr, nullptr), 1);
        EXPECT_EQ(static_cast<uint8_t>(back), b) << "cp1252 byte " << b;
    }
}

TEST_F(Win32Platform, OemAnsiConversionMatchesTheSystem) {
    EXPECT_EQ(Win32CodePage().OemCodePage(), 437);
    EXPECT_EQ(Win32CodePage().AnsiCodePage(), 1252);
    for (int b = 0; b < 256; ++b) {
        const std::string s(1, static_cast<char>(b));
        const std::string sysAnsi = Win32CodePage().OemToAnsi(s), ourAnsi = TableCodePage().OemToAnsi(s);
        const std::string sysOem = Win32CodePage().AnsiToOem(s), ourOem = TableCodePage().AnsiToOem(s);
        EXPECT_EQ(static_cast<uint8_t>(ourAnsi[0]), static_cast<uint8_t>(sysAnsi[0]))
            << "OemToAnsi byte " << b << " U+" << std::hex << kCp437ToUnicode[b];
        EXPECT_EQ(static_cast<uint8_t>(ourOem[0]), static_cast<uint8_t>(sysOem[0]))
            << "AnsiToOem byte " << b << " U+" << std::hex << kCp1252ToUnicode[b];
    }
}

TEST_F(Win32Platform, CaseTableMatchesTheSystem) {
    for (int b = 1; b < 256; ++b) {
        char up = static_cast<char>(b), low = static_cast<char>(b);
        CharUpperBuffA(&up, 1);
        CharLowerBuffA(&low, 1);
        EXPECT_EQ(static_cast<uint8_t>(AnsiUpperChar(static_cast<char>(b))), static_cast<uint8_t>(up)) << "upper " << b;
        EXPECT_EQ(static_cast<uint8_t>(AnsiLowerChar(static_cast<char>(b))), static_cast<uint8_t>(low)) << "lower " << b;
    }
}

TEST_F(Win32Platform, IniParserMatchesProfileFunctions) {
    const std::string path = IncludeTrailingBackslash(mx::test::FreshDir()) + "cases.ini";
    mx::test::WriteFile(path, inicases::kText);
    ProfileStore& sys = Win32ProfileStore();
    const IniDocument doc(inicases::kText);
    for (const inicases::Lookup& c : inicases::kLookups) {
        std::string sysValue, ourValue;
        const bool sysFound = sys.ReadString(path, c.section, c.key, sysValue);
        const bool ourFound = doc.Read(c.section, c.key, ourValue);
        EXPECT_EQ(ourFound, sysFound) << c.name;
        EXPECT_EQ(ourValue, sysValue) << c.name;
        EXPECT_EQ(sysFound, c.found) << c.name;
    }
    for (const inicases::Listing& l : inicases::Listings()) {
        std::vector<std::string> got;
        if (l.section)
            sys.ReadKeys(path, l.section, got);
        else
            sys.ReadSections(path, got);
        EXPECT_EQ(got, l.want) << l.name;
    }
}

TEST_F(Win32Platform, IniFilesWrittenByEitherReadInTheOther) {
    const std::string dir = IncludeTrailingBackslash(mx::test::FreshDir());
    ProfileStore& sys = Win32ProfileStore();
    ProfileStore& ours = TextProfileStore();
    const std::tuple<const char*, const char*, const char*> writes[] = {
        {"A", "one", "1"}, {"B", "two", "  padded  "}, {"A", "three", "'quoted'"}, {"A", "one", "replaced"}, {"C", "x", ""},
    };
    for (const auto& [writer, reader] : {std::pair{&sys, &ours}, std::pair{&ours, &sys}}) {
        const std::string path = dir + (writer == &sys ? "sys.ini" : "ours.ini");
        for (const auto& [s, k, v] : writes) ASSERT_TRUE(writer->WriteString(path, s, k, v));
        writer->Flush(path);
        for (const auto& [s, k, v] : writes) {
            std::string a, b;
            EXPECT_EQ(writer->ReadString(path, s, k, a), reader->ReadString(path, s, k, b)) << path << " " << k;
            EXPECT_EQ(a, b) << path << " " << k;
        }
        std::vector<std::string> sa, sb;
        writer->ReadSections(path, sa);
        reader->ReadSections(path, sb);
        EXPECT_EQ(sa, sb) << path;
        writer->ReadKeys(path, "A", sa);
        reader->ReadKeys(path, "A", sb);
        EXPECT_EQ(sa, sb) << path;
        ASSERT_TRUE(writer->EraseSection(path, "B"));
        ASSERT_TRUE(writer->DeleteKey(path, "A", "three"));
        writer->Flush(path);
        writer->ReadSections(path, sa);
        EXPECT_EQ(sa, (std::vector<std::string>{"A", "C"})) << path;
        std::string v;
        EXPECT_FALSE(reader->ReadString(path, "A", "three", v)) << path;
    }
}

}  // namespace
}  // namespace fw
