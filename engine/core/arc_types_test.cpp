#include <gtest/gtest.h>

#include <set>

#include "engine/core/arc_types.h"
#include "engine/core/e_raise.h"
#include "engine/core/messages.h"

using namespace engine;

TEST(ArcTypes, DisplayNamesAreTenCharactersAndMatchTheirTypes)
{
    ASSERT_EQ(ArcTypeName.size(), 28u);
    for (size_t i = 0; i < ArcTypeName.size(); ++i)
        EXPECT_EQ(ArcTypeName[i].size(), 10u) << "ordinal " << i << " '" << ArcTypeName[i] << "'";
    EXPECT_EQ(ArcTypeNameOf(TArcType::atNA), "Not avail.");
    EXPECT_EQ(ArcTypeNameOf(TArcType::atBhExe), "BH  SFX   ");
    EXPECT_EQ(ArcTypeNameOf(TArcType::atZip250Exe), "ZIP250 SFX");
    EXPECT_EQ(ArcTypeNameOf(TArcType::atZoo), "ZOO       ");
    EXPECT_EQ(static_cast<int>(TArcType::atZoo), 27);
    EXPECT_EQ(static_cast<int>(TArcType::atZip), 23);
    EXPECT_EQ(sizeof(TArcType), 1u);
}

TEST(ArcTypes, CapabilityTestsFollowTheTable)
{
    // Valid, writable, extractable, testable for every ordinal, as the application enables commands.
    struct Row { TArcType t; bool valid, write, extract, test; };
    using T = TArcType;
    const Row rows[] = {
        {T::atNA, 0, 0, 0, 0}, {T::atUnsupported, 0, 0, 0, 0}, {T::atFileOpenErr, 0, 0, 0, 0},
        {T::atUnknown, 0, 0, 0, 0}, {T::atArc, 1, 0, 1, 1}, {T::atArcExe, 1, 0, 1, 1},
        {T::atArj, 1, 0, 1, 1}, {T::atArjExe, 1, 0, 1, 1}, {T::atBh, 1, 1, 1, 1},
        {T::atBhExe, 1, 0, 1, 1}, {T::atCab, 1, 1, 1, 0}, {T::atGZip, 1, 0, 1, 1},
        {T::atHa, 1, 0, 0, 0}, {T::atLha, 1, 1, 1, 1}, {T::atLhaExe, 1, 0, 1, 1},
        {T::atLzh, 1, 1, 1, 1}, {T::atLzhExe, 1, 0, 1, 1}, {T::atPak, 1, 0, 0, 0},
        {T::atPakExe, 1, 0, 0, 0}, {T::atRar, 1, 0, 1, 1}, {T::atRarExe, 1, 0, 1, 1},
        {T::atTar, 1, 0, 1, 1}, {T::atUue, 1, 1, 1, 0}, {T::atZip, 1, 1, 1, 1},
        {T::atZipExe, 1, 0, 1, 1}, {T::atZip250, 1, 0, 1, 1}, {T::atZip250Exe, 1, 0, 1, 1},
        {T::atZoo, 1, 0, 1, 1},
    };
    ASSERT_EQ(std::size(rows), 28u);
    for (const Row& r : rows) {
        SCOPED_TRACE(ArcTypeIdent[static_cast<size_t>(r.t)]);
        EXPECT_EQ(IsValidArcType(r.t), r.valid);
        EXPECT_EQ(CanWriteArcType(r.t), r.write);
        EXPECT_EQ(CanExtractArcType(r.t), r.extract);
        EXPECT_EQ(CanTestArcType(r.t), r.test);
    }
    // A value outside the enumeration is in no set.
    EXPECT_FALSE(IsValidArcType(static_cast<TArcType>(40)));
}

TEST(ArcTypes, ExtensionIndexIgnoresCaseAndNeedsTheDot)
{
    EXPECT_EQ(ExtensionIndex(".zip"), 6);
    EXPECT_EQ(ExtensionIndex("zip"), -1);
    EXPECT_EQ(ExtensionIndex(".xxe"), 1);
    EXPECT_EQ(ExtensionIndex(".UUE"), 0);
    EXPECT_EQ(ExtensionIndex(".Ace"), 17);
    EXPECT_EQ(ExtensionIndex(".z"), 4);
    EXPECT_EQ(ExtensionIndex(""), -1);
    EXPECT_EQ(ExtensionIndex(".zipx"), -1);
    EXPECT_EQ(ArcExtensions.size(), 18u);
}

TEST(ArcTypes, EnumerationsKeepTheirOrdinals)
{
    EXPECT_EQ(ProgressStepOf(TProgressNotify::Five), 5);
    EXPECT_EQ(ProgressStepOf(TProgressNotify::Ten), 10);
    EXPECT_EQ(ProgressStepOf(TProgressNotify::TwentyFive), 25);
    EXPECT_EQ(static_cast<int>(TCompressMethod::cmXXEncode), 8);
    EXPECT_EQ(CompressMethodIdent[static_cast<int>(TCompressMethod::cmMsZip)], "cmMsZip");
    EXPECT_EQ(StoredDirNamesIdent[static_cast<int>(TStoredDirNames::sdAbsoluteNoDrv)], "sdAbsoluteNoDrv");
    EXPECT_EQ(MethodBit(TCompressMethod::cmDeflate), 2);
}

TEST(Messages, TableHoldsTheReportedCodesInRange)
{
    const auto& t = MessageTable();
    std::set<int> seen;
    for (const auto& [code, text] : t) {
        EXPECT_GE(code, 25100);
        EXPECT_LE(code, 26999);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_TRUE(seen.insert(code).second) << "duplicate " << code;
    }
    EXPECT_EQ(MessageText(25108), "Bad file header");
    EXPECT_EQ(MessageText(msgInconsistentLocalHeader), "Inconsistant local header");
    EXPECT_EQ(MessageText(25156), "is not accessible.");
    EXPECT_EQ(MessageText(25240), "Line found before 'BEGIN'");
    EXPECT_EQ(MessageText(26999), "Nothing to do");
    EXPECT_EQ(MessageText(25101), "");
    // Every code that the engine reports is in the table.
    for (int code : {25108, 25109, 25120, 25134, 25135, 25136, 25137, 25138, 25139, 25151, 25152, 25153, 25157,
                     25172, 25235, 25236, 25237, 25238, 25240, 25242, 25243, 25248, 25250, 25253, 25258, 25259,
                     25262, 25263, 25270, 25290, 25291, 25292, 25297, 25298, 25301, 25302, 25402, 26517, 26522,
                     26999})
        EXPECT_FALSE(MessageText(code).empty()) << code;
}

TEST(Messages, ERaiseCarriesTheTableText)
{
    try {
        throw E_RAISE(msgCrcFailed);
    } catch (const fw::Exception& e) {
        EXPECT_EQ(e.Message(), "File fails CRC check");
        EXPECT_EQ(dynamic_cast<const E_RAISE&>(e).Code(), 25151);
    }
}
