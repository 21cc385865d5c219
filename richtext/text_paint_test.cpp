// Line layout with fixed metrics (every glyph 8 pixels, height 16, ascent 13, 96 pixels per inch).
#include <gtest/gtest.h>

#include "richtext/testdata/rt_layout_util.h"
#include "richtext/testdata/rt_test_util.h"
#include "richtext/text_paint.h"

namespace rt {
namespace {

using test::LoadString;

struct Laid {
    FixedCellMetrics metrics;
    TZrtRTFTextPaint doc;
    explicit Laid(int width, const std::string& rtf = {}, const FixedCellMetrics& m = FixedCellMetrics()) : metrics(m) {
        if (!rtf.empty()) LoadString(doc, rtf);
        doc.SetCanvas(&metrics);
        doc.SetWrapToWindow(true);
        doc.SetClientWidth(width);
        doc.ReformatAll();
    }
    std::vector<std::string> Lines(int paragraph = 0) {
        std::vector<std::string> out;
        for (TTextLine* l = doc.ParagraphAt(paragraph)->FirstLine; l; l = l->Next)
            out.emplace_back(l->Chars.data(), l->Length);
        return out;
    }
};

std::string Rtf(const std::string& body) { return "{\\rtf1 " + body + "}"; }

TEST(Layout, Breaking) {
    struct Case { const char* name; int width; std::string text; std::vector<std::string> want; } cases[] = {
        {"long word split where it overflows", 80, "abcdefghijklmnopqrst", {"abcdefghi", "jklmnopqr", "st"}},
        {"no break at index 1", 80, "a bcdefghijklmnop", {"a bcdefgh", "ijklmnop"}},
        {"break after a space at index 2", 80, "aa bbbbbbbbbbbb", {"aa ", "bbbbbbbbb", "bbb"}},
        {"spaces overhang the edge", 80, "abcdefgh      x", {"abcdefgh      ", "x"}},
        {"width below 1 is 16", 0, "abc", {"a", "b", "c"}},
        {"soft break ends the line", 200, "ab\\line cd", {"ab\n", "cd"}},
    };
    for (const Case& c : cases) {
        Laid l(c.width, Rtf(c.text));
        EXPECT_EQ(l.Lines(), c.want) << c.name;
    }
}

TEST(Layout, WithoutWrapToWindowTheTextTakesThePrintableWidth) {
    // 12240 twips of paper less 1880 on each side: 8480 twips, 565 pixels at 96 per inch.
    FixedCellMetrics metrics;
    TZrtRTFTextPaint doc;
    LoadString(doc, Rtf(std::string(100, 'x')));
    doc.SetCanvas(&metrics);
    doc.SetClientWidth(100);
    doc.ReformatAll();
    EXPECT_EQ(doc.TextWidth(), 565);
    EXPECT_EQ(doc.Body->FirstLine->Length, 565 / 8);
    // The device read again after a suspension keeps it.
    doc.SetOptions(poSuspended);
    doc.SetOptions(poBase);
    EXPECT_EQ(doc.TextWidth(), 565);
    EXPECT_EQ(doc.Body->FirstLine->Length, 565 / 8);
}

TEST(Layout, JustifiedAndAligned) {
    Laid j(80, Rtf("\\qj aa bb cc dd ee ff gg"));
    TParagraph* p = j.doc.Body;
    ASSERT_TRUE(p->FirstLine->Next);
    EXPECT_GT(p->FirstLine->SpaceWidth, 0);
    EXPECT_EQ(TZrtRTFText::LastLine(p)->SpaceWidth, 0);  // the last line is left-aligned
    // Trailing spaces do not count for right alignment.
    Laid r(160, Rtf("\\qr abc   "));
    TParagraph* q = r.doc.Body;
    EXPECT_EQ(r.doc.CharX(q, q->FirstLine, 0), 160 - 24);
    Laid c(160, Rtf("\\qc a\\tab b"));
    EXPECT_EQ(c.doc.Body->FirstLine->Cells[1].Width, 8);  // a tab in a centred paragraph is a space
}

TEST(Layout, TabStops) {
    // Stops at 720 and 1440 twips (48 and 96 pixels); text already past the first uses the second.
    Laid l(400, Rtf("\\tx720\\tx1440 abcdefgh\\tab x"));
    TTextLine* line = l.doc.Body->FirstLine;
    EXPECT_EQ(line->Cells[8].Width, 96 - 64);
    // A left-aligned line at x 0 starts at 1.
    EXPECT_EQ(l.doc.CharX(l.doc.Body, line, 9), 1 + 96);
    // A right stop pulls the following text to end at the stop.
    Laid r(400, Rtf("\\tqr\\tx1440 a\\tab xyz"));
    EXPECT_EQ(r.doc.Body->FirstLine->Cells[1].Width, 96 - 24 - 8);
    EXPECT_EQ(r.doc.CharX(r.doc.Body, r.doc.Body->FirstLine, 2), 1 + 96 - 24);
}

TEST(Layout, FontsOfCells) {
    Laid l(400);
    TAttrCell cell;
    cell.Size = 12;
    cell.Flags = afSuperScript;
    EXPECT_EQ(l.doc.SelectCellFont(&cell).height, -10);  // 16 pixels, two thirds for superscript
    cell.Flags = afItalic;
    l.doc.SelectCellMetrics(&cell);
    EXPECT_EQ(l.doc.WidthTable[39], 10);  // the italic apostrophe is a quarter wider
    EXPECT_EQ(l.doc.WidthTable['a'], 8);
    cell.FontIndex = 100;
    EXPECT_THROW(l.doc.SelectCellFont(&cell), fw::Exception);
}

TEST(Layout, HitTestingMatchesCharX) {
    Laid l(400, Rtf("\\li720 hello world"));
    TParagraph* p = l.doc.Body;
    TTextLine* line = p->FirstLine;
    EXPECT_EQ(l.doc.CharX(p, line, 0), 48);
    for (int i = 0; i < line->Length; ++i) EXPECT_EQ(l.doc.CharAtX(p, line, l.doc.CharX(p, line, i) + 3), i);
    EXPECT_EQ(l.doc.CharAtX(p, line, 1000), line->Length);
}

TEST(Layout, ReflowAfterEditEqualsFreshLayout) {
    const std::string text = "the quick brown fox jumps over the lazy dog and keeps running far away";
    Laid edited(120, Rtf(text + "\\par second paragraph here"));
    TParagraph* p = edited.doc.Body;
    TTextLine* l = p->FirstLine->Next;
    edited.doc.CurrentCell = l->Cells[0];
    edited.doc.InsertChar(p, l, 'X', 2);
    edited.doc.FormatDirty(true);
    // The same text laid out from the start.
    std::string after;
    for (TTextLine* x = p->FirstLine; x; x = x->Next) after.append(x->Chars.data(), x->Length);
    Laid fresh(120, Rtf(after + "\\par second paragraph here"));
    test::ExpectSameLayout(edited.doc, fresh.doc);
    EXPECT_EQ(edited.doc.DocumentHeight(), fresh.doc.DocumentHeight());
}

TEST(Layout, TableCellsShareTheRow) {
    Laid l(400, Rtf("\\trowd\\cellx2000\\cellx4000\\intbl aaaa bbbb cccc\\cell x\\cell\\row"));
    TParagraph* a = l.doc.Body;
    TParagraph* b = a->Next;
    EXPECT_EQ(l.doc.ParLeft(a, true), 0);
    EXPECT_EQ(l.doc.ParRight(a, true), l.doc.ParLeft(b, true));
    int ha = 0, hb = 0;
    for (TTextLine* x = a->FirstLine; x; x = x->Next) ha += x->Height;
    for (TTextLine* x = b->FirstLine; x; x = x->Next) hb += x->Height;
    EXPECT_EQ(ha, hb);  // the shorter cell is padded to the row's height
}

}  // namespace
}  // namespace rt

namespace rt {
namespace {

TEST(HitTest, PointsLinesAndSelection) {
    Laid l(80, Rtf("\\qc ab\\par abcdefghijklmnopqrstu"));
    TParagraph* p = nullptr;
    TTextLine* line = nullptr;
    l.doc.LineAt(p, line, 5, 2);
    EXPECT_EQ(p, l.doc.Body);
    // Left of a centred line is character 0, right of its end the line length.
    EXPECT_EQ(l.doc.CharAtX(p, line, 0), 0);
    EXPECT_EQ(l.doc.CharAtX(p, line, 79), 2);
    // Below the last line: the last line of the last paragraph.
    l.doc.LineAt(p, line, 5, 100000);
    EXPECT_EQ(line, TZrtRTFText::LastLine(p));
    EXPECT_EQ(p, l.doc.Body->Next);

    l.doc.CurPar = p;
    l.doc.CurLine = line;
    l.doc.CurPos = 1;
    l.doc.UpdateCaret();
    EXPECT_EQ(l.doc.CaretHeight, 13);
    EXPECT_EQ(l.doc.CaretY, line->Top);

    l.doc.SelectRange(1, 5);  // "b", the paragraph end and "abc"
    ASSERT_TRUE(l.doc.SelStartPar && l.doc.SelEndPar);
    EXPECT_EQ(l.doc.SelStartPar, l.doc.Body);
    EXPECT_EQ(l.doc.SelStartPos, 1);
    EXPECT_EQ(l.doc.SelEndPar, l.doc.Body->Next);
    EXPECT_EQ(l.doc.SelEndPos, 3);
    EXPECT_FALSE(l.doc.SelBackwards);
    EXPECT_EQ(l.doc.Body->FirstLine->SelState, 4);
    l.doc.SelectRange(0, 0);
    EXPECT_FALSE(l.doc.SelStartPar);
    l.doc.NoBlockMarking = true;
    l.doc.SelectRange(1, 5);
    EXPECT_FALSE(l.doc.SelStartPar);
}

}  // namespace
}  // namespace rt

namespace rt {
namespace {

std::vector<const TPaintOp*> OfKind(const TPaintList& list, TPaintOp::Kind kind) {
    std::vector<const TPaintOp*> out;
    for (const TPaintOp& op : list)
        if (op.kind == kind) out.push_back(&op);
    return out;
}

TEST(Paint, RunsAdvancesAndDecorations) {
    // A line holding only a tab: one run, one tab wide, on the background.
    Laid tab(400, Rtf("\\tx720\\tab"));
    tab.doc.SetClientHeight(200);
    TPaintList list;
    tab.doc.PaintLine(tab.doc.Body, tab.doc.Body->FirstLine, list);
    auto runs = OfKind(list, TPaintOp::Kind::Text);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]->advances, std::vector<int>{48});
    EXPECT_TRUE(runs[0]->opaque);
    EXPECT_EQ(runs[0]->back, tab.doc.BackColor);

    // Justified spaces: 7 pixels with a remainder of 1 gives 8, then 7.
    Laid j(400, Rtf("a b c"));
    TTextLine* line = j.doc.Body->FirstLine;
    j.doc.Body->Alignment = 3;
    line->LineWidth = 0;
    line->SpaceWidth = 7;
    line->SpaceRemainder = 1;
    list.clear();
    j.doc.PaintLine(j.doc.Body, line, list);
    std::vector<int> advances;
    for (const TPaintOp* r : OfKind(list, TPaintOp::Kind::Text)) advances.insert(advances.end(), r->advances.begin(), r->advances.end());
    EXPECT_EQ(advances, (std::vector<int>{8, 8, 8, 7, 8}));

    // A hyperlink is underlined dotted in the hyperlink colour; plain underline is solid.
    Laid h(400, Rtf("{\\ul\\uldb link} {\\ul under}"));
    list.clear();
    h.doc.PaintLine(h.doc.Body, h.doc.Body->FirstLine, list);
    auto lines = OfKind(list, TPaintOp::Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->penStyle, TPenStyle::psDot);
    EXPECT_EQ(lines[0]->color, 0xFF0000u);
    EXPECT_EQ(lines[1]->penStyle, TPenStyle::psSolid);
}

TEST(Paint, FirstPageOnlyTransparentAndMissingObjects) {
    std::string body;
    for (int i = 0; i < 10; ++i) body += "line\\par ";
    Laid pages(400, Rtf(body + "end"));
    pages.doc.SetClientHeight(1000);
    pages.doc.ParagraphAt(1)->FirstLine->LineFlags |= lfPageBegin;  // the second line
    pages.doc.ParagraphAt(4)->FirstLine->LineFlags |= lfPageBegin;  // the fifth line
    pages.doc.SetOptions(poBase | poOwnerArea | poFirstPageOnly | poNoPageBreakLine);
    TPaintList list;
    pages.doc.PaintArea(0, 0, 1000, 400, list);
    EXPECT_EQ(OfKind(list, TPaintOp::Kind::Text).size(), 4u);

    Laid t(400, Rtf("{\\colortbl;\\red255\\green0\\blue0;}plain {\\cb1 marked}"));
    t.doc.SetOptions(poBase | poTransparent);
    t.doc.SetClientHeight(100);
    list.clear();
    t.doc.PaintArea(0, 0, 100, 400, list);
    EXPECT_TRUE(OfKind(list, TPaintOp::Kind::Fill).empty());
    auto runs = OfKind(list, TPaintOp::Kind::Text);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FALSE(runs[0]->opaque);
    EXPECT_TRUE(runs[1]->opaque);
    EXPECT_EQ(runs[1]->back, 0x0000FFu);

    Laid o(400, Rtf("ab"));
    TObjectRef* ref = o.doc.AddObjectRef(nullptr);  // an extent, but no object and no name
    ref->Width = 1440;
    ref->Height = 720;
    o.doc.CurrentCell.Flags = afObject;
    o.doc.CurrentCell.Number = ref->Number;
    o.doc.InsertChar(o.doc.Body, o.doc.Body->FirstLine, 1, 1);
    o.doc.ReformatAll();
    list.clear();
    o.doc.PaintLine(o.doc.Body, o.doc.Body->FirstLine, list);
    EXPECT_EQ(OfKind(list, TPaintOp::Kind::CrossedRect).size(), 1u);
}

}  // namespace
}  // namespace rt

namespace rt {
namespace {


bool HasLine(const TPaintList& list, int x1, int y1, int x2, int y2) {
    for (const TPaintOp& op : list)
        if (op.kind == TPaintOp::Kind::Line && op.left == x1 && op.top == y1 && op.right == x2 && op.bottom == y2) return true;
    return false;
}

TEST(Paint, DoubleBordersAndTheGreyTable) {
    // A box of double lines 3 pixels wide (40 twips): the second line 6 pixels inside.
    Laid b(400, Rtf("\\box\\brdrdb\\brdrw40 text"));
    TParagraph* p = b.doc.Body;
    ASSERT_TRUE(p->Borders & brDouble);
    TPaintList list;
    b.doc.PaintLine(p, p->FirstLine, list);
    const int bottom = p->FirstLine->Height - 1;
    EXPECT_TRUE(HasLine(list, 0, 0, 399, 0)) << "top";
    EXPECT_TRUE(HasLine(list, 6, 6, 393, 6)) << "inner top";
    EXPECT_TRUE(HasLine(list, 0, bottom, 399, bottom)) << "bottom";
    EXPECT_TRUE(HasLine(list, 6, bottom - 6, 393, bottom - 6)) << "inner bottom";
    EXPECT_TRUE(HasLine(list, 0, 0, 0, bottom)) << "left";
    EXPECT_TRUE(HasLine(list, 6, 6, 6, bottom - 6)) << "inner left, shortened";
    EXPECT_TRUE(HasLine(list, 399, 0, 399, bottom)) << "right";
    for (const TPaintOp* l : OfKind(list, TPaintOp::Kind::Line)) EXPECT_EQ(l->penWidth, 3);

    // The grey table: 1-pixel lines, top and left in the button shadow, bottom and right white.
    b.doc.PaintGrayTable = true;
    list.clear();
    b.doc.PaintLine(p, p->FirstLine, list);
    for (const TPaintOp* l : OfKind(list, TPaintOp::Kind::Line)) {
        EXPECT_EQ(l->penWidth, 1);
        const bool lightSide = l->top == l->bottom ? l->top > bottom / 2 : l->left > 200;
        EXPECT_EQ(l->color, lightSide ? 0xFFFFFFu : ResolveColor(0x80000010u)) << l->left << "," << l->top;
    }
}

TEST(Paint, TableCellsFillTheirArea) {
    Laid t(400, Rtf("{\\colortbl;\\red255\\green0\\blue0;}\\trowd\\clcbpat1\\cellx2000\\cellx4000\\intbl ab\\cell\\intbl cd\\cell\\row"));
    TParagraph* first = t.doc.Body;
    TParagraph* second = first->Next;
    TPaintList list;
    t.doc.PaintLine(first, first->FirstLine, list);
    // The shaded cell is red to its right edge and one pixel more; nothing beyond.
    const int right = t.doc.ParRight(first, true);
    bool filled = false;
    for (const TPaintOp* f : OfKind(list, TPaintOp::Kind::Fill)) {
        EXPECT_LE(f->right, right + 1);
        filled = filled || (f->right == right + 1 && f->color == 0x0000FFu);
    }
    EXPECT_TRUE(filled);
    // The last cell of the row fills on to the client's right edge in the background colour.
    list.clear();
    t.doc.PaintLine(second, second->FirstLine, list);
    auto fills = OfKind(list, TPaintOp::Kind::Fill);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.back()->right, 400);
    EXPECT_EQ(fills.back()->color, t.doc.BackColor);
}

TEST(Paint, UnderlinePenAndBorderOffset) {
    // Lines 40 pixels high: the pen is 40 / 20 + 1 = 3 wide, the underline 2 below the baseline (30).
    const FixedCellMetrics tall(8, 40, 30);
    Laid u(400, Rtf("{\\ul big}"), tall);
    TPaintList list;
    u.doc.PaintLine(u.doc.Body, u.doc.Body->FirstLine, list);
    auto lines = OfKind(list, TPaintOp::Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->penWidth, 3);
    EXPECT_EQ(lines[0]->top, 32);
    // Above a box's bottom line it moves up one pen width.
    Laid boxed(400, Rtf("\\box\\brdrs{\\ul big}"), tall);
    list.clear();
    boxed.doc.PaintLine(boxed.doc.Body, boxed.doc.Body->FirstLine, list);
    bool found = false;
    for (const TPaintOp* l : OfKind(list, TPaintOp::Kind::Line))
        if (l->penWidth == 3 && l->left != l->right) found = found || l->top == 29;
    EXPECT_TRUE(found);
}

TEST(Paint, ObjectsPlacedAndCounted) {
    Laid o(4000, Rtf("x"));
    o.doc.SetClientHeight(200);
    // 35 placeholders in line: the table keeps 30, the overflow entry the last.
    int last = 0;
    for (int i = 0; i < 35; ++i) {
        TObjectRef* ref = o.doc.AddObjectRef(nullptr);
        ref->Width = 150;
        ref->Height = 150;
        o.doc.CurrentCell.Flags = afObject;
        o.doc.CurrentCell.Number = ref->Number;
        o.doc.InsertChar(o.doc.Body, o.doc.Body->FirstLine, 1, 1);
        last = ref->Number;
    }
    // One placed on the page, one inch right and half an inch down, with a name.
    TObjectRef* placed = o.doc.AddObjectRef(nullptr);
    placed->Mode = 2;
    placed->X = 1440;
    placed->Y = 720;
    placed->Width = 1440;
    placed->Height = 720;
    placed->Name = "logo";
    o.doc.CurrentCell = TAttrCell();
    o.doc.ReformatAll();
    TPaintList list;
    o.doc.PaintArea(0, 0, 200, 4000, list);
    EXPECT_EQ(o.doc.PaintedObjects.size(), 30u);
    EXPECT_TRUE(o.doc.HasPaintedOverflow);
    EXPECT_EQ(o.doc.PaintedOverflow.reference, placed->Number);
    EXPECT_EQ(OfKind(list, TPaintOp::Kind::CrossedRect).size(), 35u);
    auto named = OfKind(list, TPaintOp::Kind::Placeholder);
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0]->text, "logo");
    EXPECT_EQ(named[0]->left, 96);
    EXPECT_EQ(named[0]->top, 48);
    EXPECT_EQ(named[0]->right, 192);
    EXPECT_EQ(named[0]->bottom, 96);
    (void)last;
}

TEST(Paint, RepaintGoesToTheTarget) {
    Laid r(400, Rtf("text"));
    r.doc.SetClientHeight(100);
    test::PaintRecorder target;
    r.doc.SetPaintTarget(&target);
    r.doc.Repaint();
    ASSERT_EQ(target.lists.size(), 1u);
    EXPECT_FALSE(OfKind(target.lists[0], TPaintOp::Kind::Text).empty());
    r.doc.InvalidateAll();
    EXPECT_EQ(target.resets, 1);
    EXPECT_EQ(target.lists.size(), 2u);
    // Hidden owner or suppressed painting: nothing drawn.
    r.doc.Visible = false;
    r.doc.Repaint();
    r.doc.Visible = true;
    r.doc.PaintSuppressed = true;
    r.doc.Repaint();
    EXPECT_EQ(target.lists.size(), 2u);
}

}  // namespace
}  // namespace rt
