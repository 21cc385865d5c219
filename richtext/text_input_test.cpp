// Editing through the API with fixed metrics (every glyph 8 pixels, height 16, ascent 13, 96 pixels
// per inch): typed keys, deleting and formatting the selection, the typing attribute, the cursor.
#include <gtest/gtest.h>

#include <functional>

#include "richtext/testdata/rt_layout_util.h"
#include "richtext/testdata/rt_test_util.h"
#include "richtext/text_input.h"

namespace rt {
namespace {

using test::LoadString;

std::string Rtf(const std::string& body) { return "{\\rtf1 " + body + "}"; }

// Counts the paragraphs wrapped.
class CountingInput : public TZrtRTFTextInput {
public:
    void WrapParagraph(TParagraph* p, bool compare, int& change) override {
        ++wraps;
        TZrtRTFTextInput::WrapParagraph(p, compare, change);
    }
    int wraps = 0;
};


struct Typed {
    FixedCellMetrics metrics;
    CountingInput doc;
    test::PaintRecorder target;
    explicit Typed(const std::string& rtf, int width = 400) {
        LoadString(doc, Rtf(rtf));
        doc.SetCanvas(&metrics);
        doc.SetPaintTarget(&target);
        doc.SetWrapToWindow(true);
        doc.SetClientWidth(width);
        doc.SetClientHeight(400);
        doc.ReformatAll();
    }
    void CursorAt(int paragraph, int pos) { doc.SetCursorPos(0, 0, pos, paragraph); }
    std::vector<std::string> Paragraphs() const {
        std::vector<std::string> out;
        for (int i = 0; i < doc.ParagraphCount(); ++i) out.push_back(doc.GetParagraphText(i));
        return out;
    }
    // The cursor as (paragraph, position in the paragraph).
    std::pair<int, int> Cursor() {
        int absolute = 0, line = 0, pos = 0, par = 0;
        doc.GetCursorPos(absolute, line, pos, par);
        return {par, pos};
    }
};

TEST(Editing, KeysAtTheEdges) {
    struct Case {
        const char* name;
        std::string rtf;
        std::pair<int, int> at;
        std::string keys;
        std::vector<std::string> want;
        std::pair<int, int> cursor;
        std::function<void(Typed&)> check;
    } cases[] = {
        {"backspace at the start of a table cell leaves the cell before it",
         "\\trowd\\cellx2000\\cellx4000\\intbl ab\\cell cd\\cell\\row", {1, 0}, "\b", {"ab", "cd", ""}, {1, 0},
         [](Typed& t) { EXPECT_TRUE(t.doc.Body->Next->IsCell()); }},
        {"backspace at the start of a paragraph joins it to the one before", "ab\\par cd", {1, 0}, "\b", {"abcd"}, {0, 2}, {}},
        {"backspace inside a line", "abc", {0, 2}, "\b", {"ac"}, {0, 1}, {}},
        {"backspace at the start of the text does nothing", "abc", {0, 0}, "\b", {"abc"}, {0, 0}, {}},
        {"enter at the very start inserts an empty paragraph and the cursor stays", "ab\\par cd", {0, 0}, "\r",
         {"", "ab", "cd"}, {1, 0}, {}},
        {"enter inside a paragraph splits it", "abcd", {0, 2}, "\r", {"ab", "cd"}, {1, 0}, {}},
        {"enter in a table cell breaks the line", "\\trowd\\cellx2000\\cellx4000\\intbl ab\\cell cd\\cell\\row", {0, 1},
         "\r", {"a\nb", "cd", ""}, {0, 2}, {}},
        {"delete at the end of the last paragraph keeps the text and resets its formatting",
         "\\qc\\box\\brdrs abc", {0, 3}, "\x7f", {"abc"}, {0, 3},
         [](Typed& t) {
             EXPECT_EQ(t.doc.Body->Alignment, 0);
             EXPECT_EQ(t.doc.Body->Borders, 0);
         }},
        {"delete inside a line", "abc", {0, 1}, "\x7f", {"ac"}, {0, 1}, {}},
        {"delete at the end of a paragraph joins the next", "ab\\par cd", {0, 2}, "\x7f", {"abcd"}, {0, 2}, {}},
        {"delete at the end of a cell leaves the next cell", "\\trowd\\cellx2000\\cellx4000\\intbl ab\\cell cd\\cell\\row",
         {0, 2}, "\x7f", {"ab", "cd", ""}, {0, 2}, {}},
        {"page break at the start of a paragraph sets its flag", "ab\\par cd", {1, 0}, "\f", {"ab", "cd"}, {1, 0},
         [](Typed& t) { EXPECT_TRUE(t.doc.Body->Next->ParFlags & pfPageBreak); }},
        {"page break inside a paragraph splits it with the flag", "abcd", {0, 2}, "\f", {"ab", "cd"}, {1, 0},
         [](Typed& t) {
             EXPECT_FALSE(t.doc.Body->ParFlags & pfPageBreak);
             EXPECT_TRUE(t.doc.Body->Next->ParFlags & pfPageBreak);
         }},
        {"typed characters go in at the cursor", "ab", {0, 1}, "xy", {"axyb"}, {0, 3}, {}},
        {"a soft break typed", "ab", {0, 1}, "\n", {"a\nb"}, {0, 2}, {}},
        {"read-only text takes nothing", "ab", {0, 1}, "xy", {"ab"}, {0, 1}, {}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Typed t(c.rtf);
        t.doc.ReadOnly = std::string(c.name).find("read-only") != std::string::npos;
        t.CursorAt(c.at.first, c.at.second);
        for (char k : c.keys) t.doc.InputString(std::string(1, k));
        EXPECT_EQ(t.Paragraphs(), c.want);
        EXPECT_EQ(t.Cursor(), c.cursor);
        if (c.check) c.check(t);
    }
}

TEST(Editing, PageBreakAtTheStartTogglesTheFlag) {
    Typed t("ab");
    t.CursorAt(0, 0);
    t.doc.InputString("\f");
    EXPECT_TRUE(t.doc.Body->ParFlags & pfPageBreak);
    t.doc.InputString("\f");
    EXPECT_FALSE(t.doc.Body->ParFlags & pfPageBreak);
}

TEST(Editing, TwoCharactersAsOneStringRewrapOnce) {
    Typed t("the quick brown fox\\par second", 80);
    t.CursorAt(0, 4);
    t.doc.wraps = 0;
    t.doc.InputString("xy");
    EXPECT_EQ(t.doc.wraps, 1);
    EXPECT_EQ(t.doc.GetParagraphText(0), "the xyquick brown fox");
    // One character at a time rewraps after each.
    t.doc.wraps = 0;
    t.doc.InputString("a");
    t.doc.InputString("b");
    EXPECT_EQ(t.doc.wraps, 2);
    // A single character repaints the changed lines itself; a longer string leaves it to the caller.
    t.target.lists.clear();
    t.doc.InputString("c");
    EXPECT_FALSE(t.target.lists.empty());
    t.target.lists.clear();
    t.doc.InputString("de");
    EXPECT_TRUE(t.target.lists.empty());
}

TEST(Editing, ReflowAfterTypingEqualsAFreshLayout) {
    Typed edited("the quick brown fox jumps over the lazy dog and keeps running\\par second paragraph here", 120);
    edited.CursorAt(0, 10);
    edited.doc.InputString("a longer insertion ");
    edited.doc.FormatDirty(true);
    edited.CursorAt(0, 3);
    edited.doc.InputString("\b");
    Typed fresh(edited.doc.GetParagraphText(0) + "\\par second paragraph here", 120);
    test::ExpectSameLayout(edited.doc, fresh.doc);
}

TEST(Editing, AnAnchorOnALineThatEnterMovesFollowsItsText) {
    // The anchor lies in the second line of a wrapped paragraph; Enter in the first line moves that
    // line into the new paragraph, and its reflow frees the old line node.
    Typed t("aaaa bbbb cccc dddd", 48);
    t.doc.NoBlockMarking = false;
    TParagraph* p = t.doc.Body;
    ASSERT_TRUE(p->FirstLine->Next);
    t.doc.SetSelection(p, p->FirstLine->Next, false, 2);
    t.CursorAt(0, 2);
    t.doc.InputString("\r");
    ASSERT_EQ(t.Paragraphs(), (std::vector<std::string>{"aa", "aa bbbb cccc dddd"}));
    ASSERT_EQ(t.doc.SelStartPar, t.doc.Body->Next);
    int absolute = 0, line = 0, pos = 0, par = 0;
    t.doc.GetPosition(absolute, line, t.doc.SelStartPos, t.doc.SelStartLine, t.doc.SelStartPar, pos, par);
    EXPECT_EQ(pos, 5);  // still the first "b"
    // Extending from it (the mouse went down at the anchor) reads the anchor's line.
    t.doc.SelectAnchor = true;
    t.doc.SetCursorFromPoint(30, 5, false, true);
    EXPECT_TRUE(t.doc.HasSelection());
    // A selection end on a line that goes away is dropped, not left dangling.
    t.doc.SetParagraphText(1, "new", nullptr);
    EXPECT_FALSE(t.doc.SelStartPar);
    EXPECT_FALSE(t.doc.SelStartLine);
}

TEST(Editing, DeleteSelection) {
    struct Case {
        const char* name;
        std::string rtf;
        int start, length;
        bool deleted;
        std::vector<std::string> want;
    } cases[] = {
        {"inside one line", "abcdef", 1, 3, true, {"aef"}},
        {"over wrapped lines of one paragraph", "aaaa bbbb cccc dddd", 2, 12, true, {"aa dddd"}},
        {"across paragraphs, which join", "abc\\par def\\par ghi", 2, 6, true, {"abghi"}},
        {"into a table, whose cells are emptied, not joined",
         "xy\\par\\trowd\\cellx2000\\cellx4000\\intbl abc\\cell\\intbl def\\cell\\row", 1, 7, true, {"x", "", "ef", ""}},
        {"no selection", "abc", 0, 0, false, {"abc"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Typed t(c.rtf, 48);
        t.doc.SelectRange(c.start, c.length);
        EXPECT_EQ(t.doc.DeleteSelection(), c.deleted);
        EXPECT_EQ(t.Paragraphs(), c.want);
        EXPECT_FALSE(t.doc.HasSelection());
    }
}

TEST(Editing, SelectionOrderComesFromTheTextNotTheBackwardsFlag) {
    // The flag is worked out from line tops; equal or stale tops can leave it wrong. Formatting and
    // deleting walk from the end that comes first in the text and never past the last paragraph.
    for (bool flag : {false, true}) {
        SCOPED_TRACE(flag);
        Typed t("abc\\par def\\par ghi");
        t.doc.NoBlockMarking = false;
        TParagraph* second = t.doc.ParagraphAt(1);
        TParagraph* first = t.doc.Body;
        t.doc.SetSelection(second, second->FirstLine, false, 1);
        t.doc.SetSelection(first, first->FirstLine, true, 1);
        t.doc.SelBackwards = flag;
        TAttrCell bold;
        bold.Flags = afBold;
        t.doc.ApplyAttr(bold, 0x40);
        for (char ch : std::string("bcd")) EXPECT_TRUE(test::CellOf(t.doc, ch)->Flags & afBold) << ch;
        for (char ch : std::string("aef")) EXPECT_FALSE(test::CellOf(t.doc, ch)->Flags & afBold) << ch;
        EXPECT_TRUE(t.doc.DeleteSelection());
        EXPECT_EQ(t.Paragraphs(), (std::vector<std::string>{"aef", "ghi"}));
    }
}

TEST(Editing, CellSelectionIsARectangleAndIsNotDeleted) {
    Typed t("\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row"
            "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl d\\cell e\\cell f\\cell\\row");
    TParagraph* a = t.doc.Body;
    TParagraph* e = t.doc.ParagraphAt(4);
    t.doc.SetSelection(a, a->FirstLine, false, 0);
    t.doc.SetSelection(e, e->FirstLine, true, 1);
    EXPECT_EQ(t.doc.CellSelectCount, 4);
    std::string selected;
    for (TParagraph* p = t.doc.Body; p; p = p->Next)
        if (p->ParFlags & pfCellSelected) selected += t.doc.GetParagraphText(TZrtRTFText::ParagraphIndexOf(t.doc.Body, p) - 1);
    EXPECT_EQ(selected, "abde");
    EXPECT_FALSE(t.doc.DeleteSelection());
    // Formatting reaches every character of the selected cells.
    TAttrCell bold;
    bold.Flags = afBold;
    t.doc.ApplyAttr(bold, 0x40);
    EXPECT_TRUE(test::CellOf(t.doc, 'e')->Flags & afBold);
    EXPECT_FALSE(test::CellOf(t.doc, 'c')->Flags & afBold);
    EXPECT_TRUE(t.doc.CurrentCell.Flags & afBold);
}

TEST(Editing, ApplyAttrToTheSelectionAndTheCursor) {
    Typed t("abc\\par def");
    t.doc.SelectRange(1, 4);  // "bc", the paragraph end and "d"
    TAttrCell cell;
    cell.Flags = afItalic;
    t.doc.ApplyAttr(cell, 0x40);
    for (char ch : std::string("bcd")) EXPECT_TRUE(test::CellOf(t.doc, ch)->Flags & afItalic) << ch;
    for (char ch : std::string("aef")) EXPECT_FALSE(test::CellOf(t.doc, ch)->Flags & afItalic) << ch;
    // Without a selection only the typing attribute changes; at a paragraph's start it is kept there.
    t.doc.RemoveSelection();
    t.CursorAt(1, 0);
    cell.Size = 20;
    t.doc.ApplyAttr(cell, 0x2);
    EXPECT_EQ(t.doc.CurrentCell.Size, 20);
    EXPECT_EQ(test::CellOf(t.doc, 'd')->Size, 10);
    t.doc.SelectRange(4, 1);
    t.CursorAt(1, 0);
    t.doc.ApplyAttr(cell, 0x2);
    EXPECT_EQ(t.doc.Body->Next->ParCell.Size, 20);
}

TEST(Editing, TypingAttributeFollowsTheTextBeforeTheCursor) {
    Typed t("a{\\b b}{\\v h}\\par c");
    int changes = 0;
    t.doc.OnAttrChanged = [&] { ++changes; };
    t.CursorAt(0, 2);
    t.doc.UpdateCurrentAttr();
    EXPECT_TRUE(t.doc.CurrentCell.Flags & afBold);
    EXPECT_GE(changes, 1);
    // After hidden text: hidden is never typed on.
    t.CursorAt(0, 3);
    t.doc.UpdateCurrentAttr();
    EXPECT_FALSE(t.doc.CurrentCell.Flags & afHidden);
    // With hidden text protected, the attribute is not taken from it (the bold stays).
    t.CursorAt(0, 2);
    t.doc.UpdateCurrentAttr();
    t.doc.ProtectOptions = ptHidden;
    t.CursorAt(0, 3);
    t.doc.UpdateCurrentAttr();
    EXPECT_TRUE(t.doc.CurrentCell.Flags & afBold);
    // At a paragraph's start: the last cell of the paragraph before.
    t.doc.ProtectOptions = 0;
    t.CursorAt(1, 0);
    t.doc.UpdateCurrentAttr();
    EXPECT_FALSE(t.doc.CurrentCell.Flags & afHidden);
    // Typed text takes the attribute.
    t.CursorAt(0, 2);
    t.doc.UpdateCurrentAttr();
    t.doc.InputString("x");
    EXPECT_TRUE(test::CellOf(t.doc, 'x')->Flags & afBold);
}

TEST(HitTest, CursorFromPointsSelectionAndScrolling) {
    Typed t("hello world\\par second line\\par third", 400);
    t.doc.SetClientHeight(32);
    // A point on the second paragraph, on its fourth character.
    t.doc.SetCursorFromPoint(1 + 3 * 8 + 2, 16 + 5, false, false);
    EXPECT_EQ(t.Cursor(), std::make_pair(1, 3));
    EXPECT_EQ(t.doc.CursorX, 1 + 3 * 8);
    // A press and a drag select from the anchor.
    t.doc.NoBlockMarking = false;
    t.doc.SetCursorFromPoint(1 + 1 * 8 + 2, 5, false, true);
    t.doc.SetCursorFromPoint(1 + 4 * 8 + 2, 16 + 5, false, true);
    ASSERT_TRUE(t.doc.HasSelection());
    EXPECT_EQ(t.doc.SelStartPos, 1);
    EXPECT_EQ(t.doc.SelEndPos, 4);
    // The cursor on the third line, below the client area, scrolls it into view.
    t.CursorAt(2, 0);
    t.doc.ShowCursor();
    EXPECT_EQ(t.doc.ScrollY, 32 + 16 - 32 + 6);
    // Back at the top; with poNoScroll nothing scrolls.
    t.CursorAt(0, 0);
    t.doc.ShowCursor();
    EXPECT_EQ(t.doc.ScrollY, 0);
    t.doc.SetOptions(t.doc.Options() | poNoScroll);
    t.CursorAt(2, 0);
    t.doc.ShowCursor();
    EXPECT_EQ(t.doc.ScrollY, 0);
    // With cursor placement off, points are ignored.
    t.doc.CursorPlacement = false;
    t.doc.SetCursorFromPoint(5, 5, false, false);
    EXPECT_EQ(t.Cursor(), std::make_pair(2, 0));
}

TEST(HitTest, SelectObjectSelectsItsPlaceholder) {
    Typed t("ab");
    t.doc.NoBlockMarking = false;
    TObjectRef* ref = t.doc.AddObjectRef(nullptr);
    t.doc.CurrentCell.Flags = afObject;
    t.doc.CurrentCell.Number = ref->Number;
    t.doc.InsertChar(t.doc.Body, t.doc.Body->FirstLine, 1, 1);
    t.doc.CurrentCell = TAttrCell();
    t.doc.SelectObject(ref->Number);
    EXPECT_EQ(t.doc.SelectedObject, ref->Number);
    EXPECT_EQ(t.doc.SelStartPos, 1);
    EXPECT_EQ(t.doc.SelEndPos, 2);
    t.doc.SelectObject(0);
    EXPECT_EQ(t.doc.SelectedObject, 0);
}

}  // namespace
}  // namespace rt
