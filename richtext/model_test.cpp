// The document model, the header and the keyed lists.
#include <gtest/gtest.h>

#include "framework/core/exceptions.h"
#include "richtext/rtf_text.h"
#include "richtext/testdata/rt_test_util.h"
#include "richtext/text_header.h"
#include "richtext/zrt_list.h"

namespace rt {
namespace {

TEST(TextHeader, RoundTabByUnit) {
    TTextHeader h;
    struct Case { TZrtUnit unit; int pos, want; } cases[] = {
        {TZrtUnit::UnitIn, 0, 0}, {TZrtUnit::UnitIn, 100, 144}, {TZrtUnit::UnitCm, 100, 141},
        {TZrtUnit::UnitCm, 70, 141}, {TZrtUnit::UnitPt, 144, 144},
    };
    for (const Case& c : cases) {
        h.UsedUnit = c.unit;
        EXPECT_EQ(h.RoundTab(c.pos), c.want) << c.pos;
    }
    h.RoundTabs = false;
    EXPECT_EQ(h.RoundTab(100), 100);
}

TEST(TextHeader, FontsColoursAndTabs) {
    TTextHeader h;
    h.FontNames[0] = "Arial";
    EXPECT_EQ(h.FindOrAddFont("Times"), 1);
    EXPECT_EQ(h.FindOrAddFont("TIMES"), 1);
    EXPECT_EQ(h.FontNames[1], "Times");
    for (int i = 2; i < 99; ++i) h.FontNames[i] = "F" + std::to_string(i);
    EXPECT_EQ(h.FindOrAddFont("Another"), 99);

    int index = -1;
    EXPECT_TRUE(h.ColorIndex(0xFF0000, index));  // blue is standard colour 3
    EXPECT_EQ(index, 3);
    EXPECT_TRUE(h.ColorIndex(0x123456, index));  // a new colour takes the first unused entry
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(h.ColorIndex(0x123456, index));
    EXPECT_EQ(index, 1);
    h.NoColorTable = true;
    EXPECT_FALSE(h.ColorIndex(0x123456, index));
    EXPECT_EQ(index, -1);

    h.UsedUnit = TZrtUnit::UnitIn;
    EXPECT_EQ(h.AddTab(0, 0), -1);
    const int t = h.AddTab(100, 1);
    EXPECT_EQ(t, 0);
    EXPECT_EQ(h.TabPos[0], 144);
    EXPECT_EQ(h.CurrentTabSet, 1u);
    EXPECT_EQ(h.AddTab(144, 1), -1);  // found: the set names it, nothing is added
    EXPECT_EQ(h.CurrentTabSet, 1u);
    EXPECT_EQ(h.AddTab(50, 0), -1);  // rounds to 0, which only free entries hold
    EXPECT_EQ(h.AddTab(100, 2), 1);
    EXPECT_EQ(h.TabKind[1], 2);
    EXPECT_EQ(h.AddTab(60, 0), -1);
    h.AddTab(72, 3);
    EXPECT_EQ(h.TabPos[h.TabOrder[0]], 144);  // sorted by position
    // A full table asks the handler, then gives up.
    for (int i = 0; i < 64; ++i) h.AddTab(2000 + i * 144, 0);
    int asked = 0;
    h.OnTabFull = [&] { ++asked; };
    EXPECT_EQ(h.AddTab(50000, 0), -1);
    EXPECT_EQ(asked, 1);
}

TEST(ZrtList, KeysNamesAndData) {
    TZrtList list(sizeof(TTableDef));
    TTableDef d;
    d.LeftOffset = 5;
    EXPECT_EQ(list.Add("one", &d), 1);
    list.Delete(1);
    EXPECT_EQ(list.Add("one", &d), 1);
    EXPECT_EQ(list.Add("Two", &d), 2);
    EXPECT_EQ(list.KeyOfName("TWO"), 2);
    std::string name = "two";
    int key = 0;
    EXPECT_TRUE(list.FindByName(name, nullptr, key));
    EXPECT_EQ(name, "Two");
    d.Gap = 9;
    EXPECT_TRUE(list.Update(nullptr, &d, 2));
    TTableDef back;
    EXPECT_TRUE(list.GetRecord(2, back));
    EXPECT_EQ(back.Gap, 9);
    EXPECT_FALSE(list.Update(nullptr, &d, 7));
    TZrtList copy(0);
    copy.Assign(list);
    EXPECT_EQ(copy.NameOfKey(1), "one");
    EXPECT_EQ(copy.RecordSize(), static_cast<int>(sizeof(TTableDef)));
}

TEST(CharacterAttr, NotifiesWhatChanged) {
    TCharacterAttr a(0x10);
    std::vector<std::pair<uint32_t, bool>> seen;
    a.SetOnChange([&](uint32_t code, bool reformat) { seen.push_back({code, reformat}); });
    a.SetBold(TThreeState::tsTRUE);
    a.SetBold(TThreeState::tsTRUE);
    a.SetUseUnderlineColor(true);  // the underline is not forced: no notice
    a.SetUnderline(TThreeState::tsTRUE);
    a.SetTextColor(0xFF);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(0x10u, true));
    EXPECT_EQ(seen[1], std::make_pair(0x10u, false));
    EXPECT_TRUE(a.UseTextColor());
}

TEST(Document, LinesAndCapacities) {
    TZrtRTFText doc;
    TTextLine* l = nullptr;
    for (auto [ask, want] : {std::pair{0, 8}, {7, 8}, {8, 12}, {40, 44}}) {
        TTextLine* n = nullptr;
        doc.NewLine(n, ask);
        EXPECT_EQ(n->Capacity(), want) << ask;
        EXPECT_EQ(static_cast<int>(n->Cells.size()), want);
        delete n;
    }
    doc.NewLine(l, 10);
    EXPECT_NO_THROW(doc.GrowLine(l, 10000));
    try {
        doc.GrowLine(l, 10001);
        FAIL();
    } catch (const fw::Exception& e) {
        EXPECT_EQ(e.Message(), "Len>10000");
    }
    delete l;
}

TEST(Document, EditingPrimitives) {
    TZrtRTFText doc;
    EXPECT_EQ(doc.ParagraphCount(), 0);
    doc.InsertParagraph(0, "abc", nullptr);
    EXPECT_EQ(doc.ParagraphCount(), 1);
    doc.InsertParagraph(1, "second", nullptr);
    EXPECT_EQ(test::BodyText(doc), "abc\nsecond");
    TParagraph* p = doc.Body;
    EXPECT_TRUE(doc.InsertChar(p, p->FirstLine, 'Z', 99));  // beyond the end appends
    EXPECT_EQ(doc.GetParagraphText(0), "abcZ");
    EXPECT_TRUE(doc.DeleteChar(p, p->FirstLine, 0));
    EXPECT_EQ(doc.GetParagraphText(0), "bcZ");
    // Deleting at the end of the last paragraph changes nothing.
    TParagraph* lastPar = p->Next;
    EXPECT_FALSE(doc.DeleteChar(lastPar, lastPar->FirstLine, lastPar->FirstLine->Length));
    // Splitting at 0 leaves an empty first paragraph with the same attributes.
    p->LeftIndent = 300;
    doc.SplitParagraph(p, p->FirstLine, 0);
    EXPECT_EQ(test::BodyText(doc), "\nbcZ\nsecond");
    EXPECT_EQ(p->Next->LeftIndent, 300);
    // Joining back: delete at the end of the empty paragraph.
    EXPECT_TRUE(doc.DeleteChar(p, p->FirstLine, 0));
    EXPECT_EQ(test::BodyText(doc), "bcZ\nsecond");
    doc.InsertString(doc.Body, 1, nullptr, "XY");
    EXPECT_EQ(doc.GetParagraphText(0), "bXYcZ");
    doc.DeleteRange(doc.Body, 0, 3);  // across the line nodes the insertion made
    EXPECT_EQ(doc.GetParagraphText(0), "cZ");
    doc.DeleteRange(doc.Body, -1, 2);
    EXPECT_EQ(doc.GetParagraphText(0), "Z");
    TTextLine* last = TZrtRTFText::LastLine(doc.Body);
    EXPECT_EQ(doc.ReplaceRange(doc.Body, last, nullptr, 3, "xyz", 1, 0), 2);
    EXPECT_EQ(doc.GetParagraphText(0), "xyz");
    doc.DeleteParagraph(0);
    EXPECT_EQ(test::BodyText(doc), "second");
}

TEST(Document, DeleteBeforeTableCellTakesItsAttributes) {
    TZrtRTFText doc;
    doc.InsertParagraph(0, "a", nullptr);
    doc.InsertParagraph(1, "cell", nullptr);
    TParagraph* cell = doc.Body->Next;
    cell->ParFlags |= pfInTable | pfMoreCells;
    cell->Alignment = 2;
    TParagraph* p = doc.Body;
    EXPECT_TRUE(doc.DeleteChar(p, p->FirstLine, 1));
    EXPECT_EQ(test::BodyText(doc), "acell");
    EXPECT_EQ(p->Alignment, 2);
    EXPECT_TRUE(p->IsCell());
}

TEST(Document, NumberText) {
    struct Case { int style, n; const char* want; } cases[] = {
        {2, 1, "A)"}, {2, 28, "AB)"}, {2, 52, "AZ)"}, {3, 53, "ba)"}, {5, 14, "xiv."}, {5, 100, "."},
        {4, 40, "XXXX."}, {5, 90, "lxxxx."}, {6, 12345, "12345."}, {1, 3, "l"}, {7, 3, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TZrtRTFText::NumberText(c.style, c.n), c.want) << c.style << " " << c.n;
}

TEST(Document, ClearKeepsFontZeroOrArial) {
    TZrtRTFText doc;
    doc.Header->FontNames[0].clear();
    doc.Clear();
    EXPECT_EQ(doc.Header->FontNames[0], "Arial");
    doc.Header->FontNames[0] = "Courier";
    doc.Header->FontNames[1] = "Other";
    doc.Clear();
    EXPECT_EQ(doc.Header->FontNames[0], "Courier");
    EXPECT_TRUE(doc.Header->FontNames[1].empty());
    EXPECT_EQ(doc.ParagraphCount(), 0);
}

TEST(Document, PlainAndRichMode) {
    TZrtRTFText doc;
    doc.InsertParagraph(0, "text", nullptr);
    doc.SetMemoryFormat(1);
    EXPECT_FALSE(doc.IsRich());
    EXPECT_FALSE(doc.Body->FirstLine->HasCells());
    EXPECT_EQ(doc.Body->FirstLine->Height, 16);
    doc.SetMemoryFormat(0);
    EXPECT_TRUE(doc.Body->FirstLine->HasCells());
    EXPECT_EQ(doc.Body->FirstLine->Cells.size(), doc.Body->FirstLine->Chars.size());
}

TEST(Document, FullTableCellRefusesTyping) {
    int beeps = 0;
    System().beep = [&] { ++beeps; };
    TZrtRTFText doc;
    TParagraph* p = doc.Body;
    p->ParFlags |= pfInTable;
    doc.ParTable(p)->Data[kCellCounter] = 240;
    EXPECT_FALSE(doc.InsertChar(p, p->FirstLine, 'x', 0));
    EXPECT_EQ(beeps, 1);
    System().beep = nullptr;
}

}  // namespace
}  // namespace rt
