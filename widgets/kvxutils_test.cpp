#include "widgets/kvxutils.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

TEST(KVXShortenPath, DropsFoldersFromTheLeft) {
    struct Case {
        const char* path;
        int max;
        const char* want;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Sub\\file.txt", 40, "C:\\Program Files\\Sub\\file.txt"},
        {"C:\\Program Files\\Sub\\file.txt", 20, "C:\\...\\Sub\\file.txt"},
        {"C:\\Program Files\\Sub\\file.txt", 16, "C:\\...\\file.txt"},
        {"C:\\Program Files\\Sub\\file.txt", 12, "...\\file.txt"},
        {"C:\\Program Files\\Sub\\file.txt", 8, "file.txt"},
        {"C:\\Program Files\\Sub\\file.txt", 3, "file.txt"},
        {"Program Files\\Sub\\file.txt", 16, "...\\Sub\\file.txt"},
        {"C:file.txt", 5, "file.txt"},
        {"", 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXShortenPath(c.path, c.max), c.want) << c.path << " at " << c.max;
}

TEST(KVXUtils, Strings) {
    EXPECT_TRUE(KVXIsBlank(""));
    EXPECT_TRUE(KVXIsBlank("   "));
    EXPECT_FALSE(KVXIsBlank(" x "));
    EXPECT_EQ(KVXAddBackslash(""), "\\");
    EXPECT_EQ(KVXAddBackslash("C:\\A"), "C:\\A\\");
    EXPECT_EQ(KVXAddBackslash("C:\\A\\"), "C:\\A\\");
    EXPECT_EQ(KVXRemoveBackslash("C:\\A\\"), "C:\\A");
    EXPECT_EQ(KVXRemoveBackslash("  "), "  ");
    EXPECT_EQ(KVXReplaceChar("a.b.c", '.', '-'), "a-b-c");
    EXPECT_EQ(KVXJoinStrings({"a", "b", "c"}, ';'), "a;b;c");
    EXPECT_EQ(KVXJoinIntegers({1, -2, 30}, ','), "1,-2,30");
    EXPECT_EQ(KVXStringOfChar(3, '*'), "***");
    EXPECT_EQ(KVXStringOfChar(-1, '*'), "");
}

TEST(KVXUtils, Rectangles) {
    TRect r{10, 10, 20, 30};
    KVXInflateRectBy(r, -1, -2, 3, 4);
    EXPECT_EQ(r, (TRect{9, 8, 23, 34}));

    TRect fit;
    KVXFitRect({0, 0, 100, 50}, {5, 5, 55, 105}, fit);  // factor 0.5 by width
    EXPECT_EQ(fit, (TRect{5, 5, 55, 30}));
    KVXFitRect({0, 0, 3, 3}, {0, 0, 10, 7}, fit);  // 7/3 truncated per side
    EXPECT_EQ(fit, (TRect{0, 0, 7, 7}));
    KVXFitRect({0, 0, 0, 10}, {1, 2, 10, 10}, fit);
    EXPECT_EQ(fit, (TRect{1, 2, 1, 2}));

    EXPECT_TRUE(KVXRectInRect({1, 1, 5, 5}, {0, 0, 10, 10}));
    EXPECT_FALSE(KVXRectInRect({1, 1, 10, 5}, {0, 0, 10, 10}));  // right edge is outside

    TRect rot{0, 0, 40, 20};
    KVXRotatedRect(rot, 0);
    EXPECT_EQ(rot, (TRect{0, 0, 40, 20}));
    KVXRotatedRect(rot, 90);
    EXPECT_EQ(rot, (TRect{0, 0, 20, 40}));
    rot = {5, 5, 25, 25};
    KVXRotatedRect(rot, 45);  // half sizes 10: corners at 14.14 from the centre
    EXPECT_EQ(rot, (TRect{0, 0, 28, 28}));

    EXPECT_EQ(KVXMaxIntValue({3, -1, 7}), 7);
    EXPECT_EQ(KVXMinIntValue({3, -1, 7}), -1);
    EXPECT_DOUBLE_EQ(KVXMinFloatValue({2.5, 0.5}), 0.5);
    EXPECT_EQ(KVXIntPower(3, 4), 81);
    EXPECT_EQ(KVXIntPower(5, 0), 1);
}

TEST(KVXUtils, PrefixFolders) {
    KVXSetFolderSource({[] { return std::string("C:\\Apps\\demo.exe"); }, [] { return std::string("C:\\WINDOWS"); },
                        [] { return std::string("C:\\WINDOWS\\system32"); }});
    EXPECT_EQ(KVXProgramFolder(), "C:\\Apps\\");
    EXPECT_EQ(KVXPrefixFolder(TKVXPathPrefix::ppWindows, true), "C:\\WINDOWS\\");
    EXPECT_EQ(KVXPrefixFolder(TKVXPathPrefix::ppSystem, false), "C:\\WINDOWS\\system32");
    EXPECT_EQ(KVXPrefixFolder(TKVXPathPrefix::ppProgram, false), "C:\\Apps");
    EXPECT_EQ(KVXPrefixFolder(TKVXPathPrefix::ppFixed, true), "");
    KVXSetFolderSource({});
}

}  // namespace
}  // namespace kvx
