// The recent list in both modes and the captions of its menu items.
#include "uisupport/recentstrings.h"

#include <gtest/gtest.h>

namespace uis {
namespace {

std::string Names(const TRecentStrings& list) {
    std::string s;
    for (int i = 0; i < list.Count(); ++i) s += (i ? "," : "") + list.Get(i);
    return s;
}

TEST(RecentStrings, AppendModeDropsTheOldestAndMovesExistingNamesToTheEnd) {
    TRecentStrings list;
    list.SetMode(TRecentMode::rmAppend);
    list.SetCapacity(5);
    for (const char* name : {"a", "b", "c", "d", "e"}) list.Add(name);
    EXPECT_EQ(list.Add("f"), 4);
    EXPECT_EQ(Names(list), "b,c,d,e,f");
    EXPECT_EQ(list.Add("C"), 4);  // present in another case: moved, not duplicated
    EXPECT_EQ(Names(list), "b,d,e,f,c");
}

TEST(RecentStrings, InsertModePutsTheNewestFirstAndDropsTheLast) {
    TRecentStrings list;
    list.SetCapacity(3);
    for (const char* name : {"a", "b", "c", "d"}) EXPECT_EQ(list.Add(name), 0);
    EXPECT_EQ(Names(list), "d,c,b");
    list.Add("B");
    EXPECT_EQ(Names(list), "b,d,c");
    list.SetCapacity(0);  // at least one
    EXPECT_EQ(Names(list), "b");
}

TEST(RecentStrings, AddStringsKeepsTheFirstLineOnTopWithOneChange) {
    for (const TRecentMode mode : {TRecentMode::rmInsert, TRecentMode::rmAppend}) {
        TRecentStrings list;
        list.SetMode(mode);
        list.SetCapacity(2);
        int changes = 0;
        list.OnChange.Bind(&changes, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
        fw::TStringList lines;
        for (const char* name : {"x", "y", "z"}) lines.Add(name);
        list.AddStrings(lines);
        EXPECT_EQ(Names(list), "x,y");
        EXPECT_EQ(changes, 1);
    }
}

TEST(RecentStrings, UserDataTravelsWithItsName) {
    TRecentStrings list;
    list.SetUserData(list.Add("one"), 11);
    list.SetUserData(list.Add("two"), 22);
    list.Add("one");
    EXPECT_EQ(Names(list), "one,two");
    EXPECT_EQ(list.UserData(0), 11);
    EXPECT_EQ(list.UserData(1), 22);
    list.Remove("ONE");
    EXPECT_EQ(Names(list), "two");
}

TEST(RecentCaptions, AcceleratorsDigitsLettersThenABlank) {
    struct Case {
        int index;
        unsigned start;
        bool show;
        char delimiter;
        const char* want;
    };
    const Case cases[] = {
        {0, 1, true, '\t', "&1\tname"},  {8, 1, true, '\t', "&9\tname"}, {9, 1, true, '\t', "&A\tname"},
        {34, 1, true, ' ', "&Z name"},   {0, 0, true, '\t', "&0\tname"}, {100, 0, true, '\t', "&\x9Bname"},
        {101, 0, true, '\t', " \tname"}, {3, 1, false, '\t', "name"},
    };
    for (const Case& c : cases) {
        std::string want = c.want;
        if (c.index == 100) want = std::string("&") + static_cast<char>(155) + "\tname";
        EXPECT_EQ(RecentItemCaption(c.index, c.start, c.show, c.delimiter, "name"), want) << c.index;
    }
    std::string text, hint;
    SplitCaptionHint("C:\\a.zip|Archive of May", text, hint);
    EXPECT_EQ(text, "C:\\a.zip");
    EXPECT_EQ(hint, "Archive of May");
    SplitCaptionHint("plain", text, hint);
    EXPECT_EQ(text + "|" + hint, "plain|plain");
}

}  // namespace
}  // namespace uis
