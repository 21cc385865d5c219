// The RTF reader: tokens, groups, properties, tables, fields, footnotes and damaged input.
#include <gtest/gtest.h>

#include "richtext/testdata/rt_test_util.h"

namespace rt {
namespace {

using test::BodyText;
using test::CellOf;
using test::LoadString;

std::string Rtf(const std::string& body) { return "{\\rtf1\\ansi " + body + "}"; }

TEST(RtfReader, TokensAndCharacters) {
    struct Case { const char* name; std::string in; std::string want; } cases[] = {
        {"escapes", Rtf("a\\{b\\}c\\\\d"), "a{b}c\\d"},
        {"tab and line", Rtf("a\\tab b\\line c"), "a\tb\nc"},
        {"literal tab ignored", Rtf("a\tb"), "ab"},
        {"hex", Rtf("caf\\'e9"), "caf\xe9"},
        {"unicode keeps fallback", Rtf("\\u233?x"), "?x"},
        {"star skips unknown group", Rtf("a{\\*\\unknownword hidden}b"), "ab"},
        {"unknown word keeps text", Rtf("a{\\unknownword kept}b"), "akeptb"},
        {"brace inside skipped group", Rtf("a{\\*\\gen x\\{y}b"), "ab"},
        {"nul ends", std::string("{\\rtf1 ab") + '\0' + "cd}", "ab"},
        {"bad hex ends", Rtf("ab\\'zzcd"), "ab"},
        {"raw text", Rtf("\\zrtrtf1 {\\b x}\\zrtrtx\\zrtrtf0 y"), "{\\b x}\\zrtrtx y"},
        {"typographic quotes", Rtf("\\lquote x\\rquote"), "'x'"},
        {"paragraphs", Rtf("one\\par two"), "one\ntwo"},
        {"info skipped", Rtf("{\\info{\\title T}}x"), "x"},
    };
    for (const Case& c : cases) {
        TZrtRTFTextIo doc;
        LoadString(doc, c.in);
        EXPECT_EQ(BodyText(doc), c.want) << c.name;
    }
}

TEST(RtfReader, StopsAfterOutermostGroup) {
    TZrtRTFTextIo doc;
    fw::TMemoryStream s;
    s.WriteString("{\\rtf1 abc}rest");
    s.SetPosition(0);
    doc.LoadFromStream(s);
    EXPECT_EQ(BodyText(doc), "abc");
    EXPECT_EQ(s.Position(), 11);
}

TEST(RtfReader, CharacterProperties) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                        "{\\b b}{\\b1 c}{\\b\\b0 d}{\\f1 x}{\\fs21 s}{\\fs0 z}{\\cf2 k}{\\cf16 m}{\\ul\\uldb u}{\\shad p}"));
    EXPECT_EQ(CellOf(doc, 'b')->Flags & afBold, afBold);
    EXPECT_EQ(CellOf(doc, 'c')->Flags & afBold, afBold);
    EXPECT_EQ(CellOf(doc, 'd')->Flags & afBold, 0u);
    EXPECT_EQ(doc.Header->FontNames[CellOf(doc, 'x')->FontIndex], "Times");
    EXPECT_EQ(CellOf(doc, 's')->Size, 10);
    EXPECT_EQ(CellOf(doc, 'z')->Size, 10);
    EXPECT_EQ(doc.Header->ColorOf(CellOf(doc, 'k')->TextColor()), 0xFF0000u);  // blue
    EXPECT_EQ(CellOf(doc, 'm')->TextColor(), 0);
    EXPECT_EQ(CellOf(doc, 'u')->Flags & (afUnderline | afHyperlink), afUnderline | afHyperlink);
    EXPECT_EQ(CellOf(doc, 'p')->Flags & afProtected, afProtected);
}

TEST(RtfReader, ParagraphProperties) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("\\fi-360\\li720 a\\par\\pard\\li720\\fi-360 b\\par\\pard\\qr c\\par\\pard\\qc5 d\\par\\pard\\s3 e\\par"
                        "\\pard\\sl-300\\sb120\\sa60 f"));
    TParagraph* p = doc.Body;
    // The first paragraphs carry a number and tab from the outline of "\s3"; look at attributes only.
    EXPECT_EQ(p->FirstIndent, -360);
    EXPECT_EQ(p->LeftIndent, 720);
    p = p->Next;
    EXPECT_EQ(p->FirstIndent, -360);
    EXPECT_EQ(p->LeftIndent, 720);
    p = p->Next;
    EXPECT_EQ(p->Alignment, 2);
    p = p->Next;
    EXPECT_EQ(p->Alignment, 1);
    p = p->Next;
    EXPECT_EQ(p->Outline & 15, 3);
    EXPECT_TRUE(p->ParFlags & pfOutline);
    EXPECT_EQ(doc.GetParagraphText(4), "\te");  // the outline number (style 0: none) and its tab
    p = p->Next;
    EXPECT_EQ(p->LineSpacing, -300);
    EXPECT_EQ(p->SpaceBefore, 120);
    EXPECT_EQ(p->SpaceAfter, 60);
}

TEST(RtfReader, TableRowShares) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row after"));
    TParagraph* a = doc.Body;
    TParagraph* b = a->Next;
    ASSERT_TRUE(b);
    EXPECT_EQ(BodyText(doc), "a\nb\nafter");
    EXPECT_EQ(doc.ParTable(a)->Data[kCellWidth], 128);
    EXPECT_EQ(doc.ParTable(b)->Data[kCellWidth], 127);
    EXPECT_EQ(doc.ParTable(b)->Data[kCellStart], 128);
    EXPECT_TRUE(a->ParFlags & pfInTable);
    EXPECT_TRUE(b->ParFlags & pfInTable);
    EXPECT_FALSE(a->ParFlags & pfNotFirstCell);
    EXPECT_TRUE(b->ParFlags & pfNotFirstCell);
    EXPECT_TRUE(a->ParFlags & pfMoreCells);
    EXPECT_FALSE(b->ParFlags & pfMoreCells);
}

TEST(RtfReader, ParInsideCellIsSoftBreak) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("\\trowd\\cellx2000\\cellx4000\\intbl a\\par x\\cell b\\cell\\row"));
    EXPECT_EQ(doc.GetParagraphText(0), "a\nx");
}

TEST(RtfReader, RowWithoutWidthGetsShareTen) {
    // The left offset at the largest boundary leaves no width to divide.
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("\\trowd\\trleft1440\\cellx1440\\intbl x\\cell\\row"));
    EXPECT_EQ(doc.GetParagraphText(0), "x");
    EXPECT_EQ(doc.ParTable(doc.Body)->Data[kCellWidth], 10);
    TZrtRTFTextIo past;
    LoadString(past, Rtf("\\trowd\\trleft3000\\cellx1000\\cellx2000\\intbl x\\cell y\\cell\\row"));
    EXPECT_EQ(BodyText(past), "x\ny\n");  // the paragraph after a row stays
}

TEST(RtfReader, RowOfSixtyCells) {
    std::string row = "\\trowd";
    for (int i = 1; i <= 60; ++i) row += "\\clbrdrt\\brdrs\\cellx" + std::to_string(i * 100);
    row += "\\intbl ";
    for (int i = 0; i < 60; ++i) row += "c\\cell\\intbl ";
    row += "\\row";
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf(row));
    EXPECT_GE(test::ParagraphCountOf(doc.Body), 60);
}

TEST(RtfReader, MergeFieldGivesInsertionPoint) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("{\\field{\\*\\fldinst { MERGEFIELD Name }}{\\fldrslt abc}}"));
    EXPECT_EQ(BodyText(doc), "abc");
    const int key = doc.InsertPointNames.KeyOfName("Name");
    ASSERT_NE(key, 0);
    EXPECT_TRUE(CellOf(doc, 'a')->Flags & afInsertPoint);
    EXPECT_EQ(CellOf(doc, 'a')->Number, key);
    EXPECT_TRUE(CellOf(doc, 'b')->Flags & afAutomatic);
    EXPECT_EQ(CellOf(doc, 'c')->Number, key);
}

TEST(RtfReader, OtherFieldsBecomeFieldObjects) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("x{\\field{\\*\\fldinst{HYPERLINK \"http://e.com/\"}}{\\fldrslt{\\ul link}}}y"));
    EXPECT_EQ(BodyText(doc), "x<HYPERLINK>y");
    TObjectRef* ref = doc.FindObjectByName("#HYPERLINKFIELD");
    ASSERT_TRUE(ref);
    auto* field = dynamic_cast<TZrtObjectField*>(ref->Object);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->FieldMask(), "http://e.com/");
}

TEST(RtfReader, Footnotes) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("x{\\footnote y note}z"));
    const TAttrCell* mark = CellOf(doc, 'x');
    ASSERT_TRUE(mark);
    EXPECT_TRUE(mark->Flags & afFootnote);
    TFootnote* f = doc.FindFootnote(mark->Number);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Mark, 'x');
    EXPECT_EQ(f->Text, "y note");
    // At the start of a line there is nothing to mark.
    TZrtRTFTextIo empty;
    LoadString(empty, Rtf("{\\footnote note}z"));
    ASSERT_EQ(empty.Footnotes.size(), 1u);
    EXPECT_EQ(empty.Footnotes[0]->Mark, '?');
    EXPECT_EQ(BodyText(empty), "z");
}

TEST(RtfReader, BookmarksEndWhereClosed) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("a{\\*\\bkmkstart here}b{\\*\\bkmkend here}c"));
    EXPECT_EQ(BodyText(doc), "abc");
    EXPECT_FALSE(CellOf(doc, 'a')->Flags & afBookmark);
    EXPECT_TRUE(CellOf(doc, 'b')->Flags & afBookmark);
    EXPECT_FALSE(CellOf(doc, 'c')->Flags & afBookmark);
    ASSERT_EQ(doc.Bookmarks.Count(), 1);
    EXPECT_EQ(doc.Bookmarks[0], "here");
}

TEST(RtfReader, ColourTableKeepsFifteen) {
    std::string table = "{\\colortbl;";
    for (int i = 1; i <= 20; ++i) table += "\\red" + std::to_string(i) + "\\green0\\blue0;";
    table += "}";
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf(table + "{\\cf14 a}{\\cf15 b}"));
    EXPECT_EQ(doc.Header->ColorOf(CellOf(doc, 'a')->TextColor()), 14u);
    EXPECT_EQ(CellOf(doc, 'b')->TextColor(), 0);
}

TEST(RtfReader, HeaderFooterTitleAndStyles) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("{\\stylesheet{\\s1\\qc Centred;}}{\\title The title}{\\header head}{\\footer foot}\\s1 body"));
    EXPECT_EQ(doc.Header->Title, "The title");
    EXPECT_EQ(BodyText(doc, doc.HeaderText), "head");
    EXPECT_EQ(BodyText(doc, doc.FooterText), "foot");
    EXPECT_EQ(BodyText(doc), "body");
    EXPECT_EQ(doc.Body->Alignment, 1);
    EXPECT_EQ(doc.Body->Style, 1);
}

TEST(RtfReader, ObjectStreamNamesOnlyObjectClasses) {
    // A stream naming a component class that is no embedded object makes nothing.
    auto objectRtf = [](const std::string& className) {
        std::string data = "\x11\x0e";
        data += static_cast<char>(className.size() + 1);
        data += '\0';
        data += className + '\0';
        std::string hex;
        static const char digits[] = "0123456789abcdef";
        for (unsigned char c : data) {
            hex += digits[c >> 4];
            hex += digits[c & 15];
        }
        return Rtf("a{\\*\\zrtkit{" + hex + "00000000" + "00000000}}b");
    };
    TZrtRTFTextIo doc;
    LoadString(doc, objectRtf("TComponent"));
    EXPECT_EQ(BodyText(doc), "ab");
    EXPECT_TRUE(doc.ObjectRefs.empty());
    TZrtRTFTextIo ok;
    LoadString(ok, objectRtf("TZrtObject"));
    EXPECT_EQ(ok.ObjectRefs.size(), 1u);
}

TEST(RtfReader, OverflowingParameterClearsFreshLoad) {
    TZrtRTFTextIo doc;
    EXPECT_THROW(LoadString(doc, Rtf("text\\fs99999999999 more")), fw::Exception);
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_EQ(doc.LastIoResult, 5);
}

}  // namespace
}  // namespace rt
