#include "widgets/mruentries.h"

#include <gtest/gtest.h>

#include "framework/core/sysutils.h"

namespace kvx {
namespace {

std::string Joined(const fw::TStrings& list) {
    std::string s;
    for (int i = 0; i < list.Count(); ++i) s += (i ? "," : "") + list.Get(i);
    return s;
}

void Fill(fw::TStringList& list, std::initializer_list<const char*> items) {
    for (const char* s : items) list.Add(s);
}

TEST(KVXMRUEntries, AddDeleteAndTrim) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> before;
        const char* add;
        int max;
        bool changed;
        const char* want;
    };
    const Case cases[] = {
        {"new entry goes on top", {"b", "c"}, "a", 4, true, "a,b,c"},
        {"existing entry moves up and keeps its spelling", {"C:\\A.zip", "c:\\b.ZIP", "d"}, "C:\\B.zip", 4, true,
         "c:\\b.ZIP,C:\\A.zip,d"},
        {"fifth entry drops the oldest", {"d", "c", "b", "a"}, "e", 4, true, "e,d,c,b"},
        {"existing entry in a full list drops nothing", {"d", "c", "b", "a"}, "A", 4, true, "a,d,c,b"},
        {"blank is ignored", {"a"}, "  ", 4, false, "a"},
        {"empty is ignored", {"a"}, "", 4, false, "a"},
        {"no room at all", {}, "a", 0, true, ""},
    };
    for (const Case& c : cases) {
        fw::TStringList list;
        Fill(list, c.before);
        EXPECT_EQ(KVXMRUAdd(list, c.add, c.max), c.changed) << c.name;
        EXPECT_EQ(Joined(list), c.want) << c.name;
    }

    fw::TStringList list;
    Fill(list, {"a", "B", "c"});
    EXPECT_TRUE(KVXMRUDelete(list, "b"));
    EXPECT_EQ(Joined(list), "a,c");
    EXPECT_FALSE(KVXMRUDelete(list, "x"));
    EXPECT_TRUE(KVXMRUTrim(list, 1));
    EXPECT_EQ(Joined(list), "a");
    EXPECT_FALSE(KVXMRUTrim(list, 1));
}

TEST(KVXMRUEntries, DisplayText) {
    struct Case {
        const char* name;
        const char* entry;
        int maxLength;
        bool fileNameOnly;
        const char* want;
    };
    const char* deep = "C:\\Program Files\\App\\Sub\\file.txt";
    const Case cases[] = {
        {"cut after the first backslash past the room", deep, 20, false, "C:\\Program Files\\...\\file.txt"},
        {"room reaches the next folder", deep, 30, false, "C:\\Program Files\\App\\...\\file.txt"},
        {"room just past the drive", deep, 13, false, "C:\\Program Files\\...\\file.txt"},
        {"name longer than the room", "C:\\a\\b\\a-very-long-file-name.txt", 14, false,
         "C:\\...\\a-very-long-file-name.txt"},
        {"fits: unchanged", deep, 33, false, deep},
        {"255: never cut", deep, 255, false, deep},
        {"below 13: the name", deep, 12, false, "file.txt"},
        {"file name only", deep, 255, true, "file.txt"},
        {"no folder: the name", "report.txt", 4, false, "report.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXMRUDisplayText(c.entry, c.maxLength, c.fileNameOnly, nullptr), c.want) << c.name;

    // A relative entry is expanded before it is cut.
    const auto expand = [](const std::string& s) { return "D:\\work\\projects\\" + s; };
    EXPECT_EQ(KVXMRUDisplayText("archives\\old\\backup.zip", 20, false, expand), "D:\\work\\projects\\...\\backup.zip");
}

TEST(KVXMRUEntries, Captions) {
    struct Case {
        int index;
        bool accel;
        const char* want;
    };
    const Case cases[] = {
        {0, true, "&1 a.zip"}, {8, true, "&9 a.zip"},  {9, true, "&A a.zip"},   {10, true, "&B a.zip"},
        {34, true, "&Z a.zip"}, {35, true, "&[ a.zip"}, {0, false, "a.zip"},    {10, false, "a.zip"},
        {200, true, "a.zip"},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXMRUCaption(c.index, "a.zip", c.accel), c.want) << c.index;
}

}  // namespace
}  // namespace kvx
