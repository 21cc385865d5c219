#include "app/entry_table.h"

#include <gtest/gtest.h>

#include "app/totals.h"
#include "engine/lister/krenlo.h"
#include "framework/core/datetime.h"

namespace {

using namespace app;

EntryRecord Record(const std::string& name, int64_t packed, int64_t unpacked, int ratio, double date) {
    EntryRecord r;
    r.name = name;
    r.packed = packed;
    r.unpacked = unpacked;
    r.ratio = ratio;
    r.date = date;
    return r;
}

TEST(EntryTable, RecordComesFromTheCurrentEntryOfTheSender) {
    auto* lister = fw::Make<engine::TKrenlo>(nullptr);
    lister->FileName = "docs\\sub\\Read Me.txt";
    lister->Date = fw::EncodeDate(2024, 1, 5) + fw::EncodeTime(10, 22, 34, 0);
    lister->PackedSize = 5000000000LL;
    lister->UnpackedSize = 6000000000LL;
    lister->Ratio = 17;
    lister->MethodName = "DeflateN";
    lister->ExternalAttr = 0x81A40020u;
    lister->CRC = 0x1c291ca3u;
    lister->Encrypted = true;
    lister->VolumeID = "3";
    lister->FileComment = std::string("hello\0rest", 10);
    EntryRecord r = RecordFromEntry(*lister, 123456, "Text Document");
    lister->Free();

    const char sep = fw::FormatSettings.DateSeparator;
    fw::FormatSettings.DateSeparator = '-';
    const std::vector<std::string> want = {"01-05-24 10:22", "5000000000", "6000000000", "17%", "DeflateN",
                                           "2175008800", "docs\\sub\\", "Text Document", "1C291CA3", "123456",
                                           "Yes", "3", "hello"};
    EXPECT_EQ(r.name, "Read Me.txt");
    EXPECT_EQ(SubItemTexts(r, AllColumns()), want);
    fw::FormatSettings.DateSeparator = sep;
}

TEST(EntryTable, SubItemsFollowTheShownColumns) {
    EntryRecord r = Record("a.txt", 10, 20, 50, fw::EncodeDate(1999, 12, 31));
    ColumnSet shown{};
    shown[colName] = true;
    shown[colRatio] = true;
    shown[colEncrypted] = true;
    EXPECT_EQ(SubItemTexts(r, shown), (std::vector<std::string>{"50%", "No"}));
    ColumnSet none{};
    EXPECT_TRUE(SubItemTexts(r, none).empty());
}

TEST(EntryTable, ComparisonByColumnKind) {
    const double jan2 = fw::EncodeDate(2024, 1, 2);
    const double dec31 = fw::EncodeDate(2023, 12, 31);
    EntryRecord a = Record("B.txt", 9, 100, 9, jan2 + 0.1);
    EntryRecord b = Record("a.txt", 10, 100, 10, dec31 + 0.9);
    // Ratio and sizes are numbers: 9 before 10, not "10" before "9".
    EXPECT_LT(CompareEntries(a, b, colRatio), 0);
    EXPECT_LT(CompareEntries(a, b, colPacked), 0);
    EXPECT_EQ(CompareEntries(a, b, colUnpacked), 0);
    // Names ignore case.
    EXPECT_GT(CompareEntries(a, b, colName), 0);
    // Dates by calendar day across a year end; the time of day does not count.
    EXPECT_GT(CompareEntries(a, b, colDate), 0);
    EntryRecord c = Record("c", 0, 0, 0, jan2 + 0.9);
    EXPECT_EQ(CompareEntries(a, c, colDate), 0);
    // Sizes past 32 bits compare right.
    EntryRecord big = Record("big", 5000000000LL, 0, 0, 0);
    EXPECT_LT(CompareEntries(a, big, colPacked), 0);
}

TEST(Totals, SelectionSumsIn64BitsAndPanelTexts) {
    std::vector<EntryRecord> records = {Record("a", 3000000000LL, 4000000000LL, 0, 0),
                                        Record("b", 2000000000LL, 4000000000LL, 0, 0), Record("c", 1, 1, 0, 0)};
    Totals t = SumRecords(records, {0, 1});
    EXPECT_EQ(t.count, 2);
    EXPECT_EQ(t.packed, 5000000000LL);
    EXPECT_EQ(t.unpacked, 8000000000LL);
    auto panels = PanelTexts(engine::TArcType::atZip, t);
    EXPECT_EQ(panels[0], std::string(engine::ArcTypeNameOf(engine::TArcType::atZip)));
    EXPECT_EQ(panels[1], "Files: 2");
    EXPECT_EQ(panels[2], "Compressed: 5000000000");
    EXPECT_EQ(panels[3], "UnCompressed: 8000000000");
    EXPECT_EQ(panels[4], "Ratio: " + std::to_string(engine::CalcRatio(t.packed, t.unpacked)) + "%");
    // An empty archive: no type name, zero counts.
    auto empty = PanelTexts(engine::TArcType::atZip, Totals{});
    EXPECT_EQ(empty[0], "");
    EXPECT_EQ(empty[1], "Files: 0");
    EXPECT_EQ(empty[4], "Ratio: 0%");
}

TEST(Totals, CaptionOnlyForRealArchiveTypes) {
    EXPECT_EQ(WindowCaption("C:\\a b\\x.zip", "*.*", engine::TArcType::atZip), "C:\\a b\\x.zip    (*.*)");
    EXPECT_EQ(WindowCaption("C:\\x.txt", "*.*", engine::TArcType::atUnknown), "");
    EXPECT_EQ(WindowCaption("", "*.*", engine::TArcType::atNA), "");
}

}  // namespace
