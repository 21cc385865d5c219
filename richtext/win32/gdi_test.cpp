// The GDI side under Wine: the metrics of Wine's fonts, and documents painted into a 32-bit DIB section.
// Fonts are substituted, so the checks are structural pixel facts, never images compared.
#include <gtest/gtest.h>

#include <numeric>

#include "framework/win32/controls_test_support.h"
#include "richtext/testdata/rt_test_util.h"
#include "richtext/text_input.h"
#include "richtext/win32/gdi_metrics.h"
#include "richtext/win32/gdi_paint.h"
#include "richtext/win32/win32_system.h"

namespace rt {
namespace {

using fw::testing::DibSurface;

constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kLime = 0x00FF00;
constexpr TColor kRed = 0x0000FF;

std::string Rtf(const std::string& body) { return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}" + body + "}"; }

int WidthSum(const TFontMetrics& m) { return std::accumulate(std::begin(m.widths) + 32, std::begin(m.widths) + 127, 0); }

TEST(GdiMetrics, PositiveAndOrdered) {
    InstallRichTextSystem();
    DibSurface surface(8, 8);
    TGdiFontCache fonts;
    TGdiCellMetrics metrics(surface.DC(), fonts);
    EXPECT_GT(metrics.ResolutionX(), 0);
    EXPECT_GT(metrics.ResolutionY(), 0);
    for (const char* name : {"Arial", "MS Sans Serif", "Times New Roman", "Courier New"}) {
        SCOPED_TRACE(name);
        TCellFont regular;
        regular.name = name;
        regular.height = -16;
        TFontMetrics r;
        metrics.Measure(regular, r);
        EXPECT_TRUE(r.haveWidths);
        EXPECT_GT(r.height, 0);
        EXPECT_GT(r.ascent, 0);
        EXPECT_LE(r.ascent, r.height);
        EXPECT_GE(r.externalLeading, 0);
        for (int c = '!'; c <= '~'; ++c) EXPECT_GT(r.widths[c], 0) << static_cast<char>(c);
        TCellFont bold = regular;
        bold.bold = true;
        TFontMetrics b;
        metrics.Measure(bold, b);
        EXPECT_GE(WidthSum(b), WidthSum(r)) << "bold is at least as wide";
    }
    // Superscript through the document's font choice: two thirds of the size, smaller metrics.
    TZrtRTFTextPaint doc;
    doc.SetCanvas(&metrics);
    TAttrCell cell;
    cell.Size = 12;
    doc.SelectCellMetrics(&cell);
    const int height = doc.FontHeight();
    const int width = doc.WidthTable['m'];
    cell.Flags = afSuperScript;
    doc.SelectCellMetrics(&cell);
    EXPECT_LT(doc.FontHeight(), height);
    EXPECT_LT(doc.WidthTable['m'], width);
    EXPECT_GT(doc.FontHeight(), 0);
}

// A document laid out with the metrics of a DIB section and painted into it.
struct Painted {
    static constexpr int kWidth = 300, kHeight = 200;
    DibSurface surface{kWidth, kHeight};
    TGdiFontCache fonts;
    TGdiCellMetrics metrics{surface.DC(), fonts};
    TZrtRTFTextInput doc;
    TPaintList list;

    explicit Painted(const std::string& rtf, uint32_t options = poBase | poOwnerArea | poNoPageBreakLine | poNoParBreakLine) {
        InstallRichTextSystem();
        test::LoadString(doc, rtf);
        doc.SetCanvas(&metrics);
        doc.SetOptions(options);
        doc.SetWrapToWindow(true);
        doc.SetClientWidth(kWidth);
        doc.SetClientHeight(kHeight);
        doc.ReformatAll();
    }
    void Paint(TColor under = kMagenta) {
        surface.Clear(under);
        list.clear();
        doc.PaintArea(0, 0, kHeight, kWidth, list);
        ReplayPaintList(surface.DC(), list, fonts);
    }
    TColor At(int x, int y) const { return static_cast<TColor>(surface.Pixel(x, y)); }
    int Count(int left, int top, int right, int bottom, TColor color) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += At(x, y) == color;
        return n;
    }
    TTextLine* Line(int paragraph) const { return doc.ParagraphAt(paragraph)->FirstLine; }
    // The right edge of a line's text.
    int TextEnd(int paragraph) { return doc.CharX(doc.ParagraphAt(paragraph), Line(paragraph), Line(paragraph)->Length); }
    // The first operation of a kind in the last paint.
    const TPaintOp* Op(TPaintOp::Kind kind) const {
        for (const TPaintOp& op : list)
            if (op.kind == kind) return &op;
        return nullptr;
    }
};

TEST(GdiPaint, BackgroundOutsideTheTextAndTheSelection) {
    Painted p(Rtf("mmmm mmmm\\par second"));
    p.doc.BackColor = kYellow;
    p.Paint();
    EXPECT_EQ(p.Count(0, 0, Painted::kWidth, Painted::kHeight, kMagenta), 0) << "every pixel painted";
    const TTextLine* first = p.Line(0);
    EXPECT_EQ(p.At(Painted::kWidth - 2, first->Height / 2), kYellow) << "right of the text";
    EXPECT_EQ(p.At(Painted::kWidth / 2, Painted::kHeight - 2), kYellow) << "below the text";
    // A selection of the first word is in the highlight colour; the second word is not.
    p.doc.SelectRange(0, 4);
    p.Paint();
    const TColor highlight = GetSysColor(COLOR_HIGHLIGHT);
    const int wordEnd = p.doc.CharX(p.doc.Body, p.doc.Body->FirstLine, 4);
    const int secondWord = p.doc.CharX(p.doc.Body, p.doc.Body->FirstLine, 5);
    const int area = (wordEnd - 1) * first->Height;
    EXPECT_GT(p.Count(1, 0, wordEnd, first->Height, highlight), area / 2);
    EXPECT_EQ(p.Count(secondWord, 0, p.TextEnd(0), first->Height, highlight), 0);
}

TEST(GdiPaint, UnderlineRowPresentOrAbsent) {
    Painted p(Rtf("{\\ul mmmm} mmmm"));
    p.Paint(kYellow);
    TTextLine* line = p.Line(0);
    const int y = line->Ascent + 2;  // the underline row
    const int firstEnd = p.doc.CharX(p.doc.Body, line, 4);
    const int second = p.doc.CharX(p.doc.Body, line, 5);
    // (Painting starts a left-aligned line at 0, hit testing at 1: the ends are left out.)
    EXPECT_EQ(p.Count(2, y, firstEnd - 2, y + 1, 0), firstEnd - 4) << "a solid line under the underlined word";
    EXPECT_EQ(p.Count(second, y, p.TextEnd(0), y + 1, 0), 0) << "none under the plain word";
}

TEST(GdiPaint, DottedLineOnlyWherePagesStart) {
    Painted p(Rtf("one\\par two\\par three\\par four"), poBase | poOwnerArea | poNoParBreakLine);
    p.Line(2)->LineFlags |= lfPageBegin;  // the third line starts a page
    p.Paint();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const int y = p.Line(i)->Top;
        const int from = p.TextEnd(i) + 4;
        const int black = p.Count(from, y, Painted::kWidth, y + 1, 0);
        if (i == 2) {
            // Dots: black and background alternate along the row.
            int changes = 0;
            for (int x = from + 1; x < Painted::kWidth; ++x) changes += (p.At(x, y) == 0) != (p.At(x - 1, y) == 0);
            EXPECT_GT(black, 10);
            EXPECT_LT(black, Painted::kWidth - from - 10);
            EXPECT_GT(changes, 10);
        } else {
            EXPECT_EQ(black, 0);
        }
    }
}

TEST(GdiPaint, CrossedRectangleForAMissingObjectWithoutAName) {
    Painted p(Rtf("ab"));
    TObjectRef* ref = p.doc.AddObjectRef(nullptr);
    ref->Width = 720;  // 48 x 48 pixels
    ref->Height = 720;
    p.doc.CurrentCell.Flags = afObject;
    p.doc.CurrentCell.Number = ref->Number;
    p.doc.InsertChar(p.doc.Body, p.doc.Body->FirstLine, 1, 1);
    p.doc.CurrentCell = TAttrCell();
    p.doc.ReformatAll();
    p.Paint(kYellow);
    const TPaintOp* frame = p.Op(TPaintOp::Kind::CrossedRect);
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->right - frame->left, 48);
    ASSERT_EQ(frame->bottom - frame->top, 48);
    const int left = frame->left;
    const int top = frame->top;
    int onDiagonals = 0;
    for (int k = 4; k < 44; k += 4) {
        onDiagonals += p.At(left + k, top + k) == 0;
        onDiagonals += p.At(left + 47 - k, top + k) == 0;
    }
    EXPECT_EQ(onDiagonals, 20) << "both diagonals";
    EXPECT_EQ(p.At(left, top + 20), 0u) << "the frame";
    EXPECT_NE(p.At(left + 24, top + 10), 0u) << "off the diagonals";
    // With a name, the frame holds the name instead of the cross.
    ref->Name = "chart";
    p.Paint(kYellow);
    EXPECT_NE(p.At(left + 24, top + 24), 0u);
}

TEST(GdiPaint, TransparentShowsTheParentExceptBehindOwnBackgrounds) {
    Painted p(Rtf("{\\colortbl;\\red255\\green0\\blue0;}plain {\\cb1 marked}"),
              poBase | poOwnerArea | poTransparent | poNoPageBreakLine | poNoParBreakLine);
    p.Paint(kLime);  // the parent's colour
    EXPECT_EQ(p.Count(0, 0, Painted::kWidth, Painted::kHeight, p.doc.BackColor), 0) << "no background of its own";
    TTextLine* line = p.Line(0);
    const int marked = p.doc.CharX(p.doc.Body, line, 6);
    const int end = p.TextEnd(0);
    EXPECT_GT(p.Count(marked, 0, end, line->Height, kRed), (end - marked) * line->Height / 2) << "behind the marked text";
    EXPECT_EQ(p.Count(0, 0, marked - 1, line->Height, kRed), 0);
    EXPECT_GT(p.Count(1, 0, marked - 1, line->Height, kLime), (marked - 2) * line->Height / 2) << "behind plain text";
    EXPECT_EQ(p.At(Painted::kWidth - 2, Painted::kHeight - 2), kLime);
}

TEST(GdiPaint, GreyOnePixelBordersWithPaintGrayTable) {
    const std::string rtf = Rtf("\\box\\brdrs\\brdrw60 boxed");  // 4 pixels wide when drawn black
    Painted black(rtf);
    black.Paint(kYellow);
    const TTextLine* line = black.Line(0);
    const int mid = Painted::kWidth / 2;
    const int last = line->Height - 1;
    // A pen 4 pixels wide, centred on the line's top: two rows show.
    for (int y = 0; y < 2; ++y) EXPECT_EQ(black.At(mid, y), 0u) << "black top, row " << y;

    Painted grey(rtf);
    grey.doc.PaintGrayTable = true;
    grey.Paint(kYellow);
    const TColor shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(grey.At(mid, 0), shadow) << "top";
    EXPECT_NE(grey.At(mid, 1), shadow) << "one pixel thick";
    EXPECT_EQ(grey.At(0, line->Height / 2), shadow) << "left";
    EXPECT_EQ(grey.At(mid, last), 0xFFFFFFu) << "bottom";
    EXPECT_EQ(grey.At(Painted::kWidth - 1, line->Height / 2), 0xFFFFFFu) << "right";
}

}  // namespace
}  // namespace rt
