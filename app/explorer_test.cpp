#include "app/explorer.h"

#include <gtest/gtest.h>

#include "app/archive_writing.h"

namespace {

using namespace app;

TEST(Explorer, PageNamesByNumber) {
    EXPECT_EQ(ExplorerPageName(kPageSearch), "Search");
    EXPECT_EQ(ExplorerPageName(kPageFavorites), "Favorites");
    EXPECT_EQ(ExplorerPageName(kPageHistory), "History");
    EXPECT_EQ(ExplorerPageName(kPageFolders), "Folders");
    EXPECT_EQ(ExplorerPageName(kPageHidden), "");
    EXPECT_EQ(ExplorerPageName(5), "");
}

TEST(Explorer, SearchRootOfADrive) {
    EXPECT_EQ(DriveRoot('c'), "C:\\");
    EXPECT_EQ(DriveRoot('D'), "D:\\");
}

TEST(Explorer, QuickSearchLinesGiveFolderAndName) {
    EXPECT_EQ(QuickSearchLinePath("C:\\fixt\\*a.fixt*"), "C:\\fixt\\a.fixt");
    // A folder without its closing "\" still gets one; a name with ";" stays whole.
    EXPECT_EQ(QuickSearchLinePath("C:\\fixt*a;b.fixt*"), "C:\\fixt\\a;b.fixt");
    EXPECT_EQ(QuickSearchLinePath("no delimiter"), "");
    // The Find Files lines keep their own delimiter.
    EXPECT_EQ(FoundLinePath("C:\\x\\;a.txt;12;"), "C:\\x\\a.txt");
}

}  // namespace
