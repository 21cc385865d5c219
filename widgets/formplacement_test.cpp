#include "widgets/formplacement.h"

#include <gtest/gtest.h>

#include "widgets/browseoptions.h"

namespace kvx {
namespace {

using enum TKVXFormIniSaveOption;
constexpr TKVXScreenSize kScreen{1024, 768};

TEST(KVXFormLimits, ResolveGivesPixelsOrScreenFractions) {
    struct Case {
        int value;
        bool vertical;
        int want;
    };
    const Case cases[] = {{0, false, 0}, {300, false, 300}, {-1, false, 1024}, {-2, false, 512},
                          {-3, false, 341}, {-2, true, 384}, {-100, true, 7}};
    for (const Case& c : cases) EXPECT_EQ(KVXResolveLimit(c.value, c.vertical, kScreen), c.want) << c.value;
}

TEST(KVXFormLimits, WritesAreCheckedAgainstTheOtherBound) {
    TKVXFormLimits limits;
    EXPECT_TRUE(limits.Write(flTrackMinWidth, -2, kScreen));
    EXPECT_EQ(limits.Effective(flTrackMinWidth), 512);
    EXPECT_FALSE(limits.Write(flTrackMinWidth, -101, kScreen));  // below -100: ignored
    EXPECT_EQ(limits.Written(flTrackMinWidth), -2);

    ASSERT_TRUE(limits.Write(flTrackMinWidth, 400, kScreen));
    EXPECT_FALSE(limits.Write(flTrackMaxWidth, 300, kScreen));  // below the minimum: refused
    EXPECT_EQ(limits.Written(flTrackMaxWidth), 0);
    EXPECT_EQ(limits.Effective(flTrackMaxWidth), 0);
    EXPECT_TRUE(limits.Write(flTrackMaxWidth, 500, kScreen));
    EXPECT_TRUE(limits.Write(flTrackMaxWidth, 0, kScreen));  // 0 is always taken
    ASSERT_TRUE(limits.Write(flTrackMaxWidth, 500, kScreen));
    EXPECT_FALSE(limits.Write(flTrackMinWidth, 600, kScreen));  // above the maximum: refused
    EXPECT_EQ(limits.Effective(flTrackMinWidth), 400);

    // Heights are their own dimension; maximized values are taken without checks.
    EXPECT_TRUE(limits.Write(flTrackMaxHeight, 100, kScreen));
    EXPECT_TRUE(limits.Write(flMaximizedPosY, -4, kScreen));
    EXPECT_EQ(limits.Effective(flMaximizedPosY), 192);
    EXPECT_TRUE(limits.Write(flMaximizedWidth, 20, kScreen));
    EXPECT_EQ(limits.Effective(flMaximizedWidth), 20);
}

TEST(KVXFormLimits, ComputeCapsAtTheScreen) {
    TKVXFormLimits limits;
    ASSERT_TRUE(limits.Write(flTrackMaxWidth, 1000, kScreen));
    ASSERT_TRUE(limits.Write(flTrackMinWidth, 900, kScreen));
    ASSERT_TRUE(limits.Write(flTrackMinHeight, -2, kScreen));
    limits.Compute({800, 600});
    EXPECT_EQ(limits.Effective(flTrackMaxWidth), 800);
    EXPECT_EQ(limits.Effective(flTrackMinWidth), 800);
    EXPECT_EQ(limits.Effective(flTrackMinHeight), 300);  // fractions follow the new screen
    EXPECT_EQ(limits.Effective(flTrackMaxHeight), 0);    // no limit stays none
}

TEST(KVXPlacement, TextAndParse) {
    const TKVXPlacementRecord p{0, 1, {100, 80, 740, 560}};
    EXPECT_EQ(KVXPlacementText(p), "200,0,1,100,80,740,560");
    TKVXPlacementRecord back;
    ASSERT_TRUE(KVXParsePlacement("200,2,3,-10,-20,300,400", back));
    EXPECT_EQ(back.flags, 2);
    EXPECT_EQ(back.showCmd, 3);
    EXPECT_EQ(back.normal, (TRect{-10, -20, 300, 400}));
    // Anything but seven decimal integers led by 200 is no record.
    for (const char* bad : {"", "200,0,1,100,80,740", "201,0,1,100,80,740,560", "200,0,1,100,80,740,560,1",
                            "200,0,1,abc,80,740,560", "200,0,1,1 0,80,740,560", "200,0,1,$10,80,740,560",
                            "200,0,1,,80,740,560", "200,0,1,99999999999,80,740,560"})
        EXPECT_FALSE(KVXParsePlacement(bad, back)) << bad;
}

TEST(KVXPlacement, ApplyByOptions) {
    const TRect form{50, 40, 350, 240};  // 300 x 200
    const TRect screen{0, 0, 1024, 768};
    struct Case {
        const char* why;
        const char* text;
        TKVXFormIniSaveOptions saved;
        bool autoShow;
        TRect screen;
        TKVXPlacementRecord want;
    };
    const TKVXPlacementRecord current{0, 1, form};
    const Case cases[] = {
        {"position and size", "200,0,1,100,80,740,560", {soPos, soSize}, true, screen, {0, 1, {100, 80, 740, 560}}},
        {"fitted into a narrow screen", "200,0,1,100,80,740,560", {soPos, soSize}, true, {0, 0, 640, 768},
         {0, 1, {0, 80, 640, 560}}},
        {"taller than the screen: the caption stays on it", "200,0,1,100,80,740,560", {soPos, soSize}, true,
         {0, 0, 1024, 400}, {0, 1, {100, 0, 740, 480}}},
        {"position keeps the form's size", "200,0,1,100,80,740,560", {soPos}, true, screen, {0, 1, {100, 80, 400, 280}}},
        {"size keeps the form's place", "200,0,1,100,80,740,560", {soSize}, true, screen, {0, 1, {50, 40, 690, 520}}},
        {"state takes flags and show command", "200,2,3,100,80,740,560", {soState}, true, screen, {2, 3, form}},
        {"without foAutoShow the form keeps its show command", "200,2,0,100,80,740,560", {soState}, false, screen,
         {2, 1, form}},
        {"left of and above the screen is brought onto it", "200,0,1,-500,-300,-200,-100", {soPos, soSize}, true,
         screen, {0, 1, {0, 0, 300, 200}}},
        {"a second monitor's work area is kept", "200,0,1,-500,10,-200,210", {soPos, soSize}, true,
         {-1280, 0, 1024, 768}, {0, 1, {-500, 10, -200, 210}}},
        {"colour and font alone leave the placement", "200,2,3,100,80,740,560", {soColor, soFont}, true, screen,
         current},
    };
    for (const Case& c : cases) {
        TKVXPlacementRecord p = current;
        ASSERT_TRUE(KVXApplyPlacement(c.text, {c.saved, c.autoShow, form, c.screen}, p)) << c.why;
        EXPECT_EQ(p.flags, c.want.flags) << c.why;
        EXPECT_EQ(p.showCmd, c.want.showCmd) << c.why;
        EXPECT_EQ(p.normal, c.want.normal) << c.why;
    }
    TKVXPlacementRecord p = current;
    EXPECT_FALSE(KVXApplyPlacement("200,0,1,100,80,740", {{soPos}, true, form, screen}, p));
    EXPECT_EQ(p.normal, form);
}

TEST(KVXPlacement, CaseChangesAsciiLettersOnly) {
    EXPECT_EQ(KVXAsciiUpperCase("c:\\d\xE9j\xE0\\a.zip"), "C:\\D\xE9J\xE0\\A.ZIP");
    EXPECT_EQ(KVXAsciiLowerCase("C:\\\xC9T\xC9\\A.ZIP"), "c:\\\xC9t\xC9\\a.zip");
}

TEST(KVXBrowseOptions, FlagsAndFolders) {
    using enum TKVXBrowseDlgOption;
    struct Case {
        TKVXBrowseDlgOptions options;
        uint32_t want;
    };
    const Case cases[] = {{{doReturnFileSysDirs, doShowPath}, 0x1},
                          {{doAllowEdit}, 0x30},
                          {{doStatusText, doEnableOK}, 0x4},
                          {{doBrowseForComputer, doBrowseForPrinter, doDontGoBelowDomain, doReturnFileSysAncestors,
                            doShowFiles},
                           0x700A}};
    for (const Case& c : cases) EXPECT_EQ(KVXBrowseFlags(c.options), c.want);
    using F = TKVXSystemFolders;
    EXPECT_EQ(KVXSystemFolderNumber(F::bfoDesktop), 0);
    EXPECT_EQ(KVXSystemFolderNumber(F::bfoDesktopExpanded), 0xFEFE);
    EXPECT_EQ(KVXSystemFolderNumber(F::bfoStartMenu), 11);
    EXPECT_EQ(KVXSystemFolderNumber(F::bfoDesktopDirectory), 16);
    EXPECT_EQ(KVXSystemFolderNumber(F::bfoInternet), 1);
    EXPECT_EQ(KVXSystemFolderNumber(F::bfoPrintHood), 27);
}

}  // namespace
}  // namespace kvx
