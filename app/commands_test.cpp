#include "app/commands.h"

#include <gtest/gtest.h>

namespace {

using engine::TArcType;
using namespace app;

TEST(Commands, ExtractorPerArchiveType) {
    struct Case {
        TArcType type;
        const char* want;
    } cases[] = {
        {TArcType::atArc, "UnARC1"},   {TArcType::atArcExe, "UnARC1"}, {TArcType::atArj, "UnARJ1"},
        {TArcType::atArjExe, "UnARJ1"}, {TArcType::atBh, "UnBH1"},     {TArcType::atBhExe, "UnBH1"},
        {TArcType::atCab, "UnCAB1"},   {TArcType::atGZip, "UnGZIP1"},  {TArcType::atLha, "UnLHA1"},
        {TArcType::atLhaExe, "UnLHA1"}, {TArcType::atLzh, "UnLHA1"},   {TArcType::atLzhExe, "UnLHA1"},
        {TArcType::atRar, "UnRAR1"},   {TArcType::atRarExe, "UnRAR1"}, {TArcType::atTar, "UnTAR1"},
        {TArcType::atUue, "UUDecode1"}, {TArcType::atZip, "UnZIP1"},   {TArcType::atZipExe, "UnZIP1"},
        {TArcType::atZip250, "UnZIP1"}, {TArcType::atZip250Exe, "UnZIP1"}, {TArcType::atZoo, "UnZOO1"},
        {TArcType::atHa, ""},          {TArcType::atPak, ""},          {TArcType::atPakExe, ""},
        {TArcType::atNA, ""},          {TArcType::atUnknown, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractorFor(c.type), c.want) << static_cast<int>(c.type);
}

TEST(Commands, EntryFileSpecJoinsFolderAndName) {
    EXPECT_EQ(EntryFileSpec("", "a.txt"), "a.txt");
    EXPECT_EQ(EntryFileSpec("docs\\", "a.txt"), "docs\\a.txt");
    EXPECT_EQ(EntryFileSpec("docs", "a.txt"), "docs\\a.txt");
}

TEST(Commands, OverwriteAnswersHoldForOneFileOrTheRestOfTheCommand) {
    // Confirm Overwrite: ask until an "... to All" answer.
    EXPECT_EQ(NextOverwriteStep(0, true), OverwriteStep::Ask);
    EXPECT_EQ(NextOverwriteStep(6, true), OverwriteStep::Ask);
    EXPECT_EQ(NextOverwriteStep(7, true), OverwriteStep::Ask);
    EXPECT_EQ(NextOverwriteStep(5, true), OverwriteStep::Overwrite);
    EXPECT_EQ(NextOverwriteStep(2, true), OverwriteStep::Skip);
    // Overwrite Existing: never asked.
    EXPECT_EQ(NextOverwriteStep(0, false), OverwriteStep::Overwrite);
    EXPECT_TRUE(AnswerOverwrites(6));
    EXPECT_TRUE(AnswerOverwrites(5));
    EXPECT_FALSE(AnswerOverwrites(7));
    EXPECT_FALSE(AnswerOverwrites(2));
}

TEST(Commands, VolumePromptTextAndAnswer) {
    EXPECT_EQ(VolumePromptText("C:\\vols\\", "a.a01"), "C:\\vols\\a.a01");
    EXPECT_EQ(VolumePromptText("C:\\vols", "a.a01"), "C:\\vols\\a.a01");
    EXPECT_EQ(VolumePromptText("", "a.a01"), "a.a01");
    std::string dir, fn;
    SplitVolumeAnswer("D:\\other place\\a.a01", dir, fn);
    EXPECT_EQ(dir, "D:\\other place\\");
    EXPECT_EQ(fn, "a.a01");
    SplitVolumeAnswer("a.a01", dir, fn);
    EXPECT_EQ(dir, "");
    EXPECT_EQ(fn, "a.a01");
}

TEST(Commands, EnablingFollowsTypeAndNoSecondRunWhileOneRuns) {
    CommandStates zip = CommandsFor(TArcType::atZip, true, false);
    EXPECT_TRUE(zip.addDelete);
    EXPECT_TRUE(zip.extract);
    EXPECT_TRUE(zip.fileCommands);
    EXPECT_TRUE(zip.open);
    // A cabinet is extracted but never changed in place.
    CommandStates cab = CommandsFor(TArcType::atCab, true, false);
    EXPECT_FALSE(cab.addDelete);
    EXPECT_TRUE(cab.extract);
    // HA lists but has no extractor.
    EXPECT_FALSE(CommandsFor(TArcType::atHa, true, false).extract);
    CommandStates none = CommandsFor(TArcType::atNA, false, false);
    EXPECT_FALSE(none.fileCommands);
    EXPECT_FALSE(none.extract);
    EXPECT_TRUE(none.open);
    CommandStates busy = CommandsFor(TArcType::atZip, true, true);
    EXPECT_FALSE(busy.open || busy.extract || busy.addDelete || busy.fileCommands || busy.refresh || busy.verify);
}

}  // namespace
