#include "framework/core/sysutils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "framework/core/datetime.h"
#include "framework/core/exceptions.h"
#include "framework/core/streams.h"
#include "testing/test_env.h"

namespace fw {
namespace {

struct Row {
    const char* name;
    std::string got;
    std::string want;
};

void Check(const std::vector<Row>& rows) {
    for (const Row& r : rows) EXPECT_EQ(r.got, r.want) << r.name;
}

TEST(SysUtils, Text) {
    Check({
        {"trim", Trim(" \t a b \r\n"), "a b"},
        {"trim left", TrimLeft("  a "), "a "},
        {"trim right", TrimRight("  a \x01"), "  a"},
        {"trim all blank", Trim(" \t "), ""},
        {"upper ascii", UpperCase("abc-xyz"), "ABC-XYZ"},
        {"upper accents", UpperCase("\xE0\xE9\xFE\xFF\x9A\x9C\x9E"), "\xC0\xC9\xDE\x9F\x8A\x8C\x8E"},
        {"upper keeps sharp s, mu, division", UpperCase("\xDF\xB5\xF7"), "\xDF\xB5\xF7"},
        {"lower accents", LowerCase("\xC0\xC9\xDE\x9F\x8A\xD7"), "\xE0\xE9\xFE\xFF\x9A\xD7"},
        {"int", IntToStr(-1234567890123LL), "-1234567890123"},
        {"hex", IntToHex(255, 4), "00FF"},
        {"hex grows", IntToHex(0x12345, 2), "12345"},
        {"hex negative", IntToHex(-1, 2), "FFFFFFFF"},
        {"hex 64-bit", IntToHex(0x123456789ALL, 1), "123456789A"},
        {"quoted", QuotedStr("it's"), "'it''s'"},
        {"quoted empty", QuotedStr(""), "''"},
        {"replace", StringReplaceAll("a.b.c", ".", "\\"), "a\\b\\c"},
    });
    EXPECT_TRUE(SameText("Straße\xC9", "STRAßE\xE9"));
    EXPECT_FALSE(SameText("abc", "abd"));
    EXPECT_FALSE(SameText("abc", "ab"));
    EXPECT_LT(CompareText("apple", "BANANA"), 0);
    EXPECT_EQ(CompareText("Zip", "zIP"), 0);
    EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
    EXPECT_GT(AnsiCompareText("cherry", "Banana"), 0);
    EXPECT_EQ(AnsiCompareText("Same", "sAME"), 0);
}

TEST(SysUtils, CaseTableIsAnInvolutionOnLetters) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const char u = AnsiUpperChar(c), l = AnsiLowerChar(c);
        if (u != c) {
            EXPECT_EQ(AnsiLowerChar(u), c) << b;
        }
        if (l != c) {
            EXPECT_EQ(AnsiUpperChar(l), c) << b;
        }
    }
}

TEST(SysUtils, StrToInt) {
    const std::pair<const char*, int64_t> good[] = {
        {"0", 0}, {"42", 42}, {"-17", -17}, {"+5", 5}, {"  12", 12}, {"$FF", 255}, {"0x10", 16},
        {"2147483647", 2147483647}, {"-2147483648", -2147483648LL}, {"$FFFFFFFF", -1},
    };
    for (const auto& [text, want] : good) EXPECT_EQ(StrToInt(text), want) << text;
    for (const char* bad : {"", " ", "12 ", "1a", "--1", "$", "2147483648", "$1FFFFFFFF", "99999999999999999999"}) {
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
        EXPECT_EQ(StrToIntDef(bad, -7), -7) << bad;
    }
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    try {
        StrToInt("x1");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x1' is not a valid integer value");
    }
}

TEST(SysUtils, Paths) {
    Check({
        {"path", ExtractFilePath("C:\\dir\\sub\\file.txt"), "C:\\dir\\sub\\"},
        {"path of drive-relative", ExtractFilePath("C:file.txt"), "C:"},
        {"path of bare name", ExtractFilePath("file.txt"), ""},
        {"name", ExtractFileName("C:\\dir\\file.txt"), "file.txt"},
        {"name after colon", ExtractFileName("C:file"), "file"},
        {"name with slash", ExtractFileName("a/b/c.txt"), "c.txt"},
        {"dir", ExtractFileDir("C:\\dir\\file.txt"), "C:\\dir"},
        {"dir of root file", ExtractFileDir("C:\\file.txt"), "C:\\"},
        {"ext", ExtractFileExt("C:\\d.x\\file.tar.gz"), ".gz"},
        {"ext none", ExtractFileExt("C:\\d.x\\file"), ""},
        {"ext dot only", ExtractFileExt("name."), "."},
        {"drive", ExtractFileDrive("C:\\x"), "C:"},
        {"drive unc", ExtractFileDrive("\\\\server\\share\\dir\\f"), "\\\\server\\share"},
        {"drive none", ExtractFileDrive("\\dir"), ""},
        {"change ext", ChangeFileExt("C:\\a.b\\file.txt", ".bak"), "C:\\a.b\\file.bak"},
        {"change ext without one", ChangeFileExt("C:\\a.b\\file", ".bak"), "C:\\a.b\\file.bak"},
        {"remove ext", ChangeFileExt("file.txt", ""), "file"},
        {"include backslash", IncludeTrailingBackslash("C:\\dir"), "C:\\dir\\"},
        {"include backslash kept", IncludeTrailingBackslash("C:\\dir\\"), "C:\\dir\\"},
        {"include backslash empty", IncludeTrailingBackslash(""), "\\"},
        {"exclude backslash", ExcludeTrailingBackslash("C:\\dir\\"), "C:\\dir"},
    });
}

TEST(SysUtils, ExpandFileNameResolvesAgainstCurrentFolder) {
    const std::string dir = mx::test::FreshDir();
    const std::string saved = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir));
    const std::string here = IncludeTrailingBackslash(GetCurrentDir());
    auto same = [](std::string a, std::string b) {
        std::replace(a.begin(), a.end(), '/', '\\');
        std::replace(b.begin(), b.end(), '/', '\\');
        return SameText(a, b);
    };
    EXPECT_TRUE(same(ExpandFileName("x.txt"), here + "x.txt")) << ExpandFileName("x.txt");
    EXPECT_TRUE(same(ExpandFileName("a\\..\\b\\.\\c.txt"), here + "b\\c.txt")) << ExpandFileName("a\\..\\b\\.\\c.txt");
    ASSERT_TRUE(SetCurrentDir(saved));
}

TEST(SysUtils, CommandLineRule) {
    using V = std::vector<std::string>;
    const std::pair<const char*, V> rows[] = {
        {"prog a b", V{"prog", "a", "b"}},
        {"  prog   a\tb  ", V{"prog", "a", "b"}},
        {"\"C:\\Program Files\\x.exe\" /s", V{"C:\\Program Files\\x.exe", "/s"}},
        {"x \"-sC:\\TEMP\\\" next", V{"x", "-sC:\\TEMP\\", "next"}},
        {"x a\"b c\"d", V{"x", "ab cd"}},
        {"x \"\"", V{"x", ""}},
        {"x C:\\dir\\ \\\\server", V{"x", "C:\\dir\\", "\\\\server"}},
        {"x \"open", V{"x", "open"}},
    };
    for (const auto& [line, want] : rows) EXPECT_EQ(SplitCommandLine(line), want) << line;
    EXPECT_FALSE(ParamStr(0).empty());
    EXPECT_GE(ParamCount(), 0);
    EXPECT_EQ(ParamStr(ParamCount() + 1), "");
}

TEST(SysUtils, RoundHalfToEvenAndRandom) {
    const std::pair<double, int64_t> rows[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {1e15 + 0.5, 1000000000000000},
    };
    for (const auto& [v, want] : rows) EXPECT_EQ(Round(v), want) << v;
    EXPECT_THROW(Round(1e300), EInvalidOperation);
    RandSeed = 12345;
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) first.push_back(Random(10));
    RandSeed = 12345;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(Random(10), first[static_cast<size_t>(i)]);
    for (int v : first) EXPECT_TRUE(v >= 0 && v < 10);
    EXPECT_EQ(Random(0), 0);
    const double d = Random();
    EXPECT_TRUE(d >= 0 && d < 1);
    Randomize();
}

void Touch(const std::string& path) {
    TFileStream f(path, fmCreate);
    f.WriteString("data");
}

TEST(SysUtils, FileRoutines) {
    const std::string dir = IncludeTrailingBackslash(mx::test::FreshDir());
    const std::string deep = dir + "a\\b\\c";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep + "\\"));
    EXPECT_FALSE(FileExists(deep));
    const std::string file = deep + "\\f.txt";
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(FileAge(file), -1);
    Touch(file);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));

    // A DOS time set is read back unchanged.
    const int32_t dos = DateTimeToFileDate(EncodeDate(2001, 7, 14) + EncodeTime(13, 45, 22, 0));
    EXPECT_EQ(FileSetDate(file, dos), 0);
    EXPECT_EQ(FileAge(file), dos);
    EXPECT_NE(FileSetDate(dir + "missing.txt", dos), 0);

    EXPECT_EQ(FileGetAttr(file) & (faDirectory | faReadOnly), 0);
    EXPECT_EQ(FileSetAttr(file, faReadOnly), 0);
    EXPECT_EQ(FileGetAttr(file) & faReadOnly, static_cast<int32_t>(faReadOnly));
    EXPECT_EQ(FileSetAttr(file, faArchive), 0);
    EXPECT_EQ(FileGetAttr(file) & faReadOnly, 0);
    EXPECT_EQ(FileGetAttr(dir + "missing"), -1);
    EXPECT_NE(FileGetAttr(deep) & faDirectory, 0);

    const std::string moved = dir + "moved.txt";
    EXPECT_TRUE(RenameFile(file, moved));
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(FileExists(moved));
    Touch(file);
    EXPECT_FALSE(RenameFile(file, moved)) << "rename never replaces";
    EXPECT_TRUE(DeleteFile(moved));
    EXPECT_FALSE(DeleteFile(moved));
    EXPECT_FALSE(DeleteFile(deep)) << "a folder is not a file";
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_TRUE(RemoveDir(deep));
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_GT(DiskFree(dir), 0);
}

std::set<std::string> Listing(const std::string& pattern, int32_t attr) {
    std::set<std::string> names;
    TSearchRec rec;
    for (int r = FindFirst(pattern, attr, rec); r == 0; r = FindNext(rec)) names.insert(rec.Name);
    FindClose(rec);
    return names;
}

TEST(SysUtils, FindFirstFiltersByAttribute) {
    const std::string dir = IncludeTrailingBackslash(mx::test::FreshDir());
    for (const char* name : {"plain.txt", "ro.txt", "hid.txt", "sys.txt", "arc.dat"}) Touch(dir + name);
    ASSERT_TRUE(CreateDir(dir + "sub"));
    ASSERT_TRUE(CreateDir(dir + "hsub"));
    ASSERT_EQ(FileSetAttr(dir + "ro.txt", faReadOnly), 0);
    ASSERT_EQ(FileSetAttr(dir + "hid.txt", faHidden), 0);
    ASSERT_EQ(FileSetAttr(dir + "sys.txt", faSysFile), 0);
    ASSERT_EQ(FileSetAttr(dir + "arc.dat", faArchive), 0);
    ASSERT_EQ(FileSetAttr(dir + "hsub", faHidden | faDirectory), 0);

    using S = std::set<std::string>;
    const S plain{"plain.txt", "ro.txt", "arc.dat"};
    auto with = [](S s, std::initializer_list<const char*> more) {
        for (const char* m : more) s.insert(m);
        return s;
    };
    const std::tuple<const char*, int32_t, S> rows[] = {
        {"*.*", 0, plain},
        {"*.*", faReadOnly | faArchive, plain},
        {"*.*", faHidden, with(plain, {"hid.txt"})},
        {"*.*", faSysFile, with(plain, {"sys.txt"})},
        {"*.*", faDirectory, with(plain, {".", "..", "sub"})},
        {"*.*", faDirectory | faHidden, with(plain, {".", "..", "sub", "hsub", "hid.txt"})},
        {"*.*", faAnyFile, with(plain, {".", "..", "sub", "hsub", "hid.txt", "sys.txt"})},
        {"*.txt", faAnyFile, S{"plain.txt", "ro.txt", "hid.txt", "sys.txt"}},
        {"?lain.*", 0, S{"plain.txt"}},
        {"*", faDirectory, with(plain, {".", "..", "sub"})},
        {"nothing*", faAnyFile, S{}},
    };
    for (const auto& [mask, attr, want] : rows) EXPECT_EQ(Listing(dir + mask, attr), want) << mask << " attr " << attr;

    TSearchRec rec;
    ASSERT_EQ(FindFirst(dir + "arc.dat", 0, rec), 0);
    EXPECT_EQ(rec.Name, "arc.dat");
    EXPECT_EQ(rec.Size, 4);
    EXPECT_EQ(rec.Time, FileAge(dir + "arc.dat"));
    EXPECT_EQ(rec.Attr & faArchive, static_cast<int32_t>(faArchive));
    EXPECT_EQ(FindNext(rec), 18);
    FindClose(rec);
    EXPECT_NE(FindFirst(dir + "missing\\*.*", faAnyFile, rec), 0);
    EXPECT_EQ(FindFirst(dir + "*.none", faAnyFile, rec), 2);
    FileSetAttr(dir + "ro.txt", 0);
}

TEST(SysUtils, FindAttrRule) {
    // Read-only and archive never exclude; each special attribute needs its bit in the mask.
    EXPECT_TRUE(FindAttrMatches(faReadOnly | faArchive, 0));
    EXPECT_FALSE(FindAttrMatches(faHidden, 0));
    EXPECT_TRUE(FindAttrMatches(faHidden, faHidden));
    EXPECT_FALSE(FindAttrMatches(faHidden | faSysFile, faHidden));
    EXPECT_FALSE(FindAttrMatches(faDirectory, faReadOnly | faHidden | faSysFile | faArchive));
    EXPECT_TRUE(FindAttrMatches(faDirectory | faReadOnly, faDirectory));
    EXPECT_FALSE(FindAttrMatches(faVolumeID, faDirectory));
    EXPECT_TRUE(FindAttrMatches(faVolumeID | faHidden | faSysFile | faDirectory, faAnyFile));
}

}  // namespace
}  // namespace fw
