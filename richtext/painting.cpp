// Painting of TZrtRTFTextPaint as a paint list: per line the background strips, runs of up to 100
// equal characters with their advances, underlines and page-break lines.
#include <algorithm>

#include "richtext/text_paint.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

constexpr int kMaxRun = 100;
constexpr TColor kHighlight = 0x8000000Du;      // the system highlight colour
constexpr TColor kHighlightText = 0x8000000Eu;  // the system highlight-text colour

TPaintOp FillOp(int left, int top, int right, int bottom, TColor color) {
    TPaintOp op;
    op.kind = TPaintOp::Kind::Fill;
    op.left = left;
    op.top = top;
    op.right = right;
    op.bottom = bottom;
    op.color = color;
    return op;
}

}  // namespace

void TZrtRTFTextPaint::PaintArea(int left, int top, int height, int width, TPaintList& out) {
    if (width < 1 || height < 1 || formatting_ || Suspended()) return;
    int counted = 0;
    int lastBottom = -1;
    bool stop = false;
    for (TParagraph* p = Body; p && !stop; p = p->Next) {
        if ((options_ & poFirstPageOnly) && counted >= 4 && (p->ParFlags & pfPageBreak)) break;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            if (l->Top + l->Height - ScrollY + 1 < top || l->Top - ScrollY > top + height + 1) continue;
            if ((options_ & poFirstPageOnly) && counted >= 4 && (l->LineFlags & lfPageBegin)) {
                stop = true;
                break;
            }
            ++counted;
            PaintLine(p, l, out);
            lastBottom = l->Top + l->Height;
        }
    }
    if (!(options_ & poTransparent)) {
        const int from = std::max(top, lastBottom < 0 ? top : ClientTop + lastBottom - ScrollY);
        if (from < top + height) out.push_back(FillOp(left, from, left + width, top + height, BackColor));
    }
}

void TZrtRTFTextPaint::PaintLine(TParagraph* p, TTextLine* line, TPaintList& out) {
    int x = LineIndent(p, line) + ParLeft(p, false) + ScrollX;
    const int free = LineFreeWidth(p, line);
    if (p->Alignment == 1 && free > 1) x += free / 2;
    if (p->Alignment == 2 && free > 0) x += free;
    const int lineTop = ClientTop + line->Top - ScrollY;
    const int lineBottom = lineTop + line->Height;
    if (lineBottom < 0 || (clientHeight_ > 0 && lineTop > clientHeight_)) return;
    const bool transparent = options_ & poTransparent;

    // The selected characters of this line.
    int selFrom = 0, selTo = 0;
    if (SelStartPar && SelEndPar) {
        const bool back = SelBackwards;
        TTextLine* firstLine = back ? SelEndLine : SelStartLine;
        TTextLine* lastLine = back ? SelStartLine : SelEndLine;
        const int firstPos = back ? SelEndPos : SelStartPos;
        const int lastPos = back ? SelStartPos : SelEndPos;
        if (line->SelState == 3 && line != firstLine && line != lastLine) {
            selTo = line->Length;
        } else if (line == firstLine || line == lastLine) {
            selFrom = line == firstLine ? firstPos : 0;
            selTo = line == lastLine ? lastPos : line->Length;
        }
        if (selTo > selFrom) line->SelState = line == lastLine ? 2 : 3;
    }

    // Plain text paints through cells made for the occasion.
    std::vector<TAttrCell> plainCells;
    TAttrCell* cells = line->HasCells() ? line->Cells.data() : nullptr;
    if (!cells) {
        plainCells.assign(static_cast<size_t>(std::max<int>(line->Length, 1)), CurrentCell);
        for (int i = 0; i < line->Length; ++i) {
            plainCells[i].Width = WidthTable[static_cast<unsigned char>(line->Chars[i])];
            plainCells[i].Height = static_cast<uint16_t>(PlainLineHeight);
            plainCells[i].Ascent = static_cast<uint16_t>(PlainAscent);
        }
        cells = plainCells.data();
    }
    int tallest = 0;
    for (int i = 0; i < line->Length; ++i) {
        if (i >= selFrom && i < selTo)
            cells[i].Flags |= afPaintMark;
        else
            cells[i].Flags &= ~afPaintMark;
        if (!(cells[i].Flags & afObject)) tallest = std::max(tallest, static_cast<int>(cells[i].Height));
    }
    const bool wholeSelected = line->Length > 0 && selFrom == 0 && selTo >= line->Length;
    TColor brush = BackColor;
    if (wholeSelected)
        brush = ResolveColor(kHighlight);
    else if (p->Shading != 0)
        brush = Header->ColorOf(p->ShadingPercent < 51 ? p->Shading >> 4 : p->Shading & 15);
    if (line->Length == 0 && !p->IsCell())
        out.push_back(FillOp(ClientLeft, lineTop, ParLeft(p, false) + ScrollX, lineBottom, BackColor));
    if (!transparent && x > ClientLeft)
        out.push_back(FillOp(ClientLeft, lineTop, x, lineBottom, p->Shading ? brush : BackColor));

    const int baseline = lineTop + line->Ascent;
    int justified = 0;
    int i = 0;
    while (i < line->Length) {
        if (cells[i].Width == 0 && line->Chars[i] != '\t') {
            ++i;
            continue;
        }
        const TAttrCell& first = cells[i];
        const bool object = (first.Flags & afObject) && line->Chars[i] == 1;
        int end = i + 1;
        while (!object && end < line->Length && end - i < kMaxRun) {
            const TAttrCell& c = cells[end];
            const char ch = line->Chars[end];
            if (ch == '\t' || (c.Flags & afObject) || c.Width == 0 || c.FontIndex != first.FontIndex ||
                c.Number != first.Number || c.Size != first.Size || c.Colors != first.Colors || c.Flags != first.Flags)
                break;
            ++end;
        }
        TPaintOp run;
        run.kind = TPaintOp::Kind::Text;
        run.font = SelectCellFont(&first);
        run.left = x;
        for (int k = i; k < end; ++k) {
            const char ch = line->Chars[k];
            int w;
            if (p->Alignment == 1 || p->Alignment == 2) {
                w = cells[k].Width;
            } else if (ch == '\t') {
                w = std::max(0, NextTabStop(p, line, x, k) - x);
                cells[k].Width = static_cast<uint16_t>(w);
            } else if (ch == ' ' && line->SpaceWidth > 0 && k >= line->LineWidth) {
                w = line->SpaceWidth + (justified < line->SpaceRemainder ? 1 : 0);
                ++justified;
            } else {
                w = cells[k].Width;
            }
            run.text += static_cast<unsigned char>(ch) < 32 ? ' ' : ch;
            run.advances.push_back(w);
            x += w;
        }
        run.right = x;
        run.top = lineTop;
        run.bottom = lineBottom;
        const bool selected = first.Flags & afPaintMark;
        run.opaque = !(transparent && p->Shading == 0) || first.BackColor() != 0;
        run.back = selected ? ResolveColor(kHighlight) : (p->Shading && first.BackColor() == 0 ? brush : run.font.backColor);
        run.color = selected ? ResolveColor(kHighlightText) : run.font.color;
        run.baseline = baseline;
        if ((run.font.superScript) && first.Ascent < line->Ascent) run.baseline -= line->Ascent / 3;
        if ((run.font.subScript) && first.Ascent < line->Ascent) run.baseline += line->Ascent / 5;
        if (object) {
            TObjectRef* ref = FindObjectRef(first.Number);
            auto* field = ref ? dynamic_cast<TZrtObjectField*>(ref->Object) : nullptr;
            if (field) {
                run.text = field->GetFieldText(line->PageNumber + 1, 0);
                run.advances.assign(run.text.size(), 0);
                out.push_back(run);
            } else {
                TPaintOp frame = run;
                frame.kind = ref && (ref->Object || !ref->Name.empty()) ? TPaintOp::Kind::ObjectFrame
                                                                          : TPaintOp::Kind::CrossedRect;
                frame.reference = first.Number;
                frame.text = ref && !ref->Object ? ref->Name : std::string();
                frame.color = 0;
                out.push_back(frame);
            }
        } else {
            if (end >= line->Length && run.font.italic) run.right += 8;
            out.push_back(run);
            if (run.font.underline) {
                TPaintOp u;
                u.kind = TPaintOp::Kind::Line;
                u.left = run.left;
                u.right = x;
                u.top = u.bottom = std::min(run.baseline + ToTarget(2), lineBottom - 1);
                u.penWidth = ToTarget(1);
                u.color = run.font.penColor;
                u.penStyle = (first.Flags & afHyperlink) && (first.Flags & afUnderline) ? TPenStyle::psDot : TPenStyle::psSolid;
                out.push_back(u);
            }
        }
        i = end;
    }
    (void)tallest;
    if (!transparent && x < ClientLeft + clientWidth_)
        out.push_back(FillOp(x, lineTop, ClientLeft + clientWidth_, lineBottom, BackColor));
    const bool parBreak = line == p->FirstLine && (p->ParFlags & pfPageBreak) && !(options_ & poNoParBreakLine);
    const bool pageBreak = (line->LineFlags & lfPageBegin) && !(options_ & poNoPageBreakLine);
    if (parBreak || pageBreak) {
        TPaintOp l;
        l.kind = TPaintOp::Kind::Line;
        l.left = ClientLeft;
        l.right = ClientLeft + clientWidth_;
        l.top = l.bottom = lineTop;
        l.color = 0;
        l.penStyle = parBreak && pageBreak ? TPenStyle::psDashDot : pageBreak ? TPenStyle::psDot : TPenStyle::psDash;
        out.push_back(l);
    }
}

}  // namespace rt
