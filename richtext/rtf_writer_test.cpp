// The RTF writer: its exact words, and documents written and read back.
#include <gtest/gtest.h>

#include "richtext/testdata/rt_test_util.h"

namespace rt {
namespace {

using test::BodyText;
using test::CellOf;
using test::LoadString;
using test::SaveString;

std::string Rtf(const std::string& body) { return "{\\rtf1\\ansi " + body + "}"; }

TEST(RtfWriter, HeaderOfEmptyDocument) {
    TZrtRTFTextIo doc;
    doc.Header->FontNames[0] = "Arial";
    const std::string out = SaveString(doc);
    EXPECT_EQ(out.rfind("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil\\charset0 Arial;}}", 0), 0u) << out;
    EXPECT_EQ(out.substr(out.size() - 3), "\r\n}");
}

TEST(RtfWriter, WordsOfTextAndParagraphs) {
    TZrtRTFTextIo doc;
    doc.InsertParagraph(0, std::string("a{b\t\xe9"), nullptr);
    doc.Body->FirstLine->Cells[0].Size = 12;
    const std::string out = SaveString(doc);
    EXPECT_NE(out.find("\\{b\\tab \\'e9"), std::string::npos) << out;
    EXPECT_NE(out.find("\\fs24"), std::string::npos);
    EXPECT_NE(out.find("\\sl\\sa0"), std::string::npos);  // no number after \sl for spacing 0
}

TEST(RtfWriter, TabGroups) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("\\tx720 a\\par b\\par\\pard\\tx1440 c"));
    const std::string out = SaveString(doc);
    // One group for the two paragraphs of tab 720, another for 1440.
    EXPECT_NE(out.find("{\\tx720"), std::string::npos) << out;
    EXPECT_EQ(out.find("{\\tx720", out.find("{\\tx720") + 1), std::string::npos) << out;
    EXPECT_NE(out.find("{\\tx1440"), std::string::npos) << out;
}

TEST(RtfWriter, NamedInsertionPointInQuotes) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("{\\field{\\*\\fldinst { MERGEFIELD \"First Name\" }}{\\fldrslt xy}}"));
    const std::string out = SaveString(doc);
    EXPECT_NE(out.find("{\\field{\\*\\fldinst { MERGEFIELD \"First Name\" }}x"), std::string::npos) << out;
}

// Everything the writer keeps, compared paragraph by paragraph and cell by cell.
void ExpectSameDocument(TZrtRTFTextIo& a, TZrtRTFTextIo& b) {
    EXPECT_EQ(BodyText(a), BodyText(b));
    EXPECT_EQ(a.Header->Title, b.Header->Title);
    EXPECT_EQ(a.Header->Subject, b.Header->Subject);
    EXPECT_EQ(BodyText(a, a.HeaderText), BodyText(b, b.HeaderText));
    EXPECT_EQ(BodyText(a, a.FooterText), BodyText(b, b.FooterText));
    TParagraph* p = a.Body;
    TParagraph* q = b.Body;
    for (int n = 0; p && q; p = p->Next, q = q->Next, ++n) {
        SCOPED_TRACE("paragraph " + std::to_string(n));
        EXPECT_EQ(p->FirstIndent, q->FirstIndent);
        EXPECT_EQ(p->LeftIndent, q->LeftIndent);
        EXPECT_EQ(p->RightIndent, q->RightIndent);
        EXPECT_EQ(p->SpaceBefore, q->SpaceBefore);
        if (!p->IsCell()) {
            EXPECT_EQ(p->SpaceAfter, q->SpaceAfter);
        }
        EXPECT_EQ(p->LineSpacing, q->LineSpacing);
        EXPECT_EQ(p->Alignment, q->Alignment);
        EXPECT_EQ(p->ParFlags & ~pfDirty, q->ParFlags & ~pfDirty);
        EXPECT_EQ(p->Borders & ~brEnds, q->Borders & ~brEnds);
        EXPECT_EQ(p->BorderWidth, q->BorderWidth);
        EXPECT_EQ(p->Shading, q->Shading);
        EXPECT_EQ(p->ShadingPercent, q->ShadingPercent);
        std::vector<int> ta, tb;
        for (int i = 0; i < kTabCount; ++i) {
            if (p->Tabs >> i & 1) ta.push_back(a.Header->TabPos[i]);
            if (q->Tabs >> i & 1) tb.push_back(b.Header->TabPos[i]);
        }
        EXPECT_EQ(ta, tb);
        if (p->IsCell()) {
            EXPECT_EQ(a.ParTable(p)->Data[kCellWidth], b.ParTable(q)->Data[kCellWidth]);
            EXPECT_EQ(a.ParTable(p)->Data[kCellStart], b.ParTable(q)->Data[kCellStart]);
        }
        // Cells, compared character by character over the line nodes.
        std::vector<TAttrCell> ca, cb;
        for (TTextLine* l = p->FirstLine; l; l = l->Next)
            for (int i = 0; i < l->Length; ++i) ca.push_back(l->Cells[i]);
        for (TTextLine* l = q->FirstLine; l; l = l->Next)
            for (int i = 0; i < l->Length; ++i) cb.push_back(l->Cells[i]);
        ASSERT_EQ(ca.size(), cb.size());
        for (size_t i = 0; i < ca.size(); ++i) {
            SCOPED_TRACE("character " + std::to_string(i));
            EXPECT_EQ(ca[i].Flags & ~afPaintMark, cb[i].Flags & ~afPaintMark);
            EXPECT_EQ(a.Header->FontNames[ca[i].FontIndex], b.Header->FontNames[cb[i].FontIndex]);
            EXPECT_EQ(ca[i].Size ? ca[i].Size : 10, cb[i].Size ? cb[i].Size : 10);
            EXPECT_EQ(a.Header->ColorOf(ca[i].TextColor()), b.Header->ColorOf(cb[i].TextColor()));
            EXPECT_EQ(a.Header->ColorOf(ca[i].BackColor()), b.Header->ColorOf(cb[i].BackColor()));
        }
    }
    EXPECT_EQ(p == nullptr, q == nullptr);
    ASSERT_EQ(a.Footnotes.size(), b.Footnotes.size());
    for (size_t i = 0; i < a.Footnotes.size(); ++i) {
        EXPECT_EQ(a.Footnotes[i]->Text, b.Footnotes[i]->Text);
        EXPECT_EQ(a.Footnotes[i]->Mark, b.Footnotes[i]->Mark);
        EXPECT_EQ(a.Footnotes[i]->Value, b.Footnotes[i]->Value);
    }
    EXPECT_EQ(a.Bookmarks.Text(), b.Bookmarks.Text());
    EXPECT_EQ(a.InsertPointNames.KeyOfName("Name"), b.InsertPointNames.KeyOfName("Name"));
}

const char* const kEverything =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red10\\green20\\blue30;}"
    "{\\title Brace \\} and \\\\ slash}{\\subject Sub}"
    "{\\header Head text}{\\footer Foot text}"
    "\\pard\\fi-360\\li720\\ri100\\sb120\\sa240\\sl360\\qj\\tx1440\\tqr\\tx2880 "
    "{\\b bold}{\\i italic}{\\ul under}{\\strike struck}{\\super sup}{\\sub sub}{\\v hid}{\\shad prot}"
    "{\\uldb link}{\\f1\\fs28\\cf1\\cb2 coloured}\\tab tabbed\\line soft\\par"
    "\\pard\\sl480\\slmult1\\qc centred x{\\footnote note text}y\\par"
    "\\pard\\box\\brdrs\\brdrw20\\brsp112 boxed\\par"
    "\\pard{\\shading5000\\cfpat1\\cbpat2 shaded\\par}"
    "\\pard\\keep{\\*\\bkmkstart mark}marked{\\*\\bkmkend mark} "
    "{\\field{\\*\\fldinst { MERGEFIELD Name }}{\\fldrslt Value}} "
    "{\\field{\\*\\fldinst{PAGE x}}{\\fldrslt 1}}\\par"
    "\\pard\\trowd\\trgaph108\\clbrdrt\\brdrs\\cellx3000\\clbrdrb\\brdrdb\\cellx6000"
    "\\intbl one\\cell\\intbl two\\cell\\row"
    "\\pard\\page after\\par"
    "\\pard\\s2\\outlinelevel1 outline}";

TEST(RtfWriter, EverythingReadsBackEqual) {
    TZrtRTFTextIo first;
    LoadString(first, kEverything);
    EXPECT_EQ(first.Header->Title, "Brace } and \\ slash");
    EXPECT_EQ(first.Body->FirstIndent, -360);
    const std::string written = SaveString(first);
    TZrtRTFTextIo second;
    LoadString(second, written);
    SCOPED_TRACE(written);
    ExpectSameDocument(first, second);
    // Later generations write the same bytes. (The first rewrite may move cell boundaries: rows
    // keep their widths in 255ths of the row and the gap in units of 56 twips.)
    const std::string again = SaveString(second);
    TZrtRTFTextIo third;
    LoadString(third, again);
    EXPECT_EQ(SaveString(third), again);
}

TEST(RtfWriter, NegativeValuesSurvive) {
    TZrtRTFTextIo doc;
    LoadString(doc, Rtf("\\fi-720\\li1440\\sl-300 x"));
    const std::string out = SaveString(doc);
    EXPECT_NE(out.find("\\fi-720"), std::string::npos) << out;
    EXPECT_NE(out.find("\\sl-300"), std::string::npos) << out;
    TZrtRTFTextIo back;
    LoadString(back, out);
    EXPECT_EQ(back.Body->FirstIndent, -720);
    EXPECT_EQ(back.Body->LineSpacing, -300);
}

}  // namespace
}  // namespace rt
