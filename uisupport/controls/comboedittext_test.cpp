// Tables of the file-name and folder edits' text rules.
#include "uisupport/controls/comboedittext.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace uis {
namespace {

TEST(ComboEditText, QuotingAndReadingBack) {
    const std::set<std::string> existing = {"C:\\My Dir\\a.txt", "C:\\plain.txt", "C:\\x y.exe -a"};
    auto exists = [&](const std::string& name) { return existing.count(name) > 0; };
    struct Case {
        const char* name;
        const char* text;  // what the edit shows
        const char* read;  // what FileName reads back
    };
    const Case cases[] = {
        {"C:\\My Dir\\a.txt", "\"C:\\My Dir\\a.txt\"", "C:\\My Dir\\a.txt"},
        {"C:\\plain.txt", "C:\\plain.txt", "C:\\plain.txt"},
        {"\"C:\\q d\\a.txt\"", "\"C:\\q d\\a.txt\"", "C:\\q d\\a.txt"},  // already quoted: kept
        {"C:\\x y.exe -a", "\"C:\\x y.exe -a\"", "C:\\x y.exe -a"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QuotedFileName(c.name), c.text);
        EXPECT_EQ(FileNameOfText(c.text, exists), c.read);
    }
    // A text naming an existing file is that file, blanks and all.
    EXPECT_EQ(FileNameOfText("C:\\x y.exe -a", exists), "C:\\x y.exe -a");
    // A program with arguments reads back as the program.
    EXPECT_EQ(FileNameOfText("\"C:\\Program Files\\v.exe\" /p %1", exists), "C:\\Program Files\\v.exe");
    EXPECT_EQ(FileNameOfText("notepad.exe readme.txt", exists), "notepad.exe");
}

TEST(ComboEditText, AcceptedNames) {
    struct Case {
        const char* value;
        bool valid;
    };
    const Case cases[] = {
        {"report[1].txt", true},   {"C:\\dir\\report[1].txt", true}, {"C:\\a b\\c.txt", true},
        {"\\\\server\\share\\x", true}, {"a.txt", true},          {"C:\\dir\\", false},
        {"C:\\dir\\a?.txt", false}, {"C:\\dir\\a*.txt", false},   {"a<b.txt", false},
        {"a|b", false},            {"C:\\a:b", false},            {"C:\\a\"b", false},
        {"line\nbreak", false},    {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidFileValue(c.value), c.valid) << c.value;
}

TEST(ComboEditText, PastesKeepTheFirstLine) {
    EXPECT_EQ(FirstLineOf("C:\\a.txt\r\nC:\\b.txt"), "C:\\a.txt");
    EXPECT_EQ(FirstLineOf("C:\\a.txt\nrest"), "C:\\a.txt");
    EXPECT_EQ(FirstLineOf("one line"), "one line");
    EXPECT_EQ(FirstLineOf("\r\nsecond"), "");
}

TEST(ComboEditText, FoldersJoinAndMap) {
    EXPECT_EQ(JoinFolder("", "C:\\a", true), "C:\\a");
    EXPECT_EQ(JoinFolder("C:\\a", "C:\\b", true), "C:\\a;C:\\b");
    EXPECT_EQ(JoinFolder("C:\\a", "C:\\b", false), "C:\\b");
    auto upper = [](const std::string& s) {
        std::string r = s;
        for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return r.empty() ? r : "<" + r + ">";
    };
    EXPECT_EQ(MapFolders("c:\\a;d:\\b", true, upper), "<C:\\A>;<D:\\B>");
    EXPECT_EQ(MapFolders("c:\\a;;d:\\b", true, upper), "<C:\\A>;;<D:\\B>");
    EXPECT_EQ(MapFolders("c:\\a;d:\\b", false, upper), "<C:\\A;D:\\B>");
}

TEST(ComboEditText, EllipsisGeometry) {
    struct Case {
        int button, width, gap, start;
    };
    const Case cases[] = {
        {21, 15, 3, 1},  // a wide button: gap limited to 3
        {16, 10, 2, 0},
        {14, 8, 1, 0},
        {12, 6, 1, -1},  // narrower than the dots: they start left of the bitmap
        {3, 1, 1, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        const TEllipsisGeometry g = EllipsisGeometry(c.button);
        EXPECT_EQ(g.width, c.width);
        EXPECT_EQ(g.height, 4);
        EXPECT_EQ(g.gap, c.gap);
        EXPECT_EQ(g.start, c.start);
    }
}

}  // namespace
}  // namespace uis
