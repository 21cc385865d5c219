// Painting of TZrtRTFTextPaint as paint lists: per line the background strips, runs of up to 100
// equal characters with their advances, underlines, page-break lines and paragraph borders; embedded
// objects, their placeholders and the table of the objects drawn. Lines are inclusive of both ends.
#include <algorithm>

#include "richtext/text_paint.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

constexpr int kMaxRun = 100;
constexpr TColor kHighlight = 0x8000000Du;      // the system highlight colour
constexpr TColor kHighlightText = 0x8000000Eu;  // the system highlight-text colour
constexpr TColor kButtonShadow = 0x80000010u;   // the system button-shadow colour
constexpr TColor kWhite = 0xFFFFFF;

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

TPaintOp LineOp(int x1, int y1, int x2, int y2, TColor color, int width, TPenStyle style) {
    TPaintOp op;
    op.kind = TPaintOp::Kind::Line;
    op.left = x1;
    op.top = y1;
    op.right = x2;
    op.bottom = y2;
    op.color = color;
    op.penWidth = width;
    op.penStyle = style;
    return op;
}

}  // namespace

// ---- whole area ---------------------------------------------------------------------------------

void TZrtRTFTextPaint::ClearPaintedObjects() {
    PaintedObjects.clear();
    PaintedOverflow = TPaintedObject();
    HasPaintedOverflow = false;
}

void TZrtRTFTextPaint::AddPaintedObject(const TPaintedObject& entry) {
    if (static_cast<int>(PaintedObjects.size()) < kMaxPaintedObjects) {
        PaintedObjects.push_back(entry);
    } else {
        PaintedOverflow = entry;
        HasPaintedOverflow = true;
    }
}

void TZrtRTFTextPaint::Clear() {
    ClearPaintedObjects();
    TZrtRTFTextIo::Clear();
}

void TZrtRTFTextPaint::Repaint() {
    if (formatting_ || PaintSuppressed || Suspended() || !Body) return;
    ClearPaintedObjects();
    if (!Visible) return;
    TPaintList list;
    PaintArea(0, 0, clientHeight_, clientWidth_, list);
    if (paintTarget_) paintTarget_->Draw(list);
}

void TZrtRTFTextPaint::InvalidateAll() {
    if (paintTarget_) paintTarget_->ResetClip();
    Repaint();
}

void TZrtRTFTextPaint::RepaintParagraph(TParagraph* p, bool onlyChanged) {
    if (!p || formatting_ || PaintSuppressed || Suspended() || !Visible) return;
    TPaintList list;
    for (TTextLine* l = p->FirstLine; l; l = l->Next) {
        if (onlyChanged && !(l->LineFlags & lfChanged)) continue;
        l->LineFlags &= ~lfChanged;
        PaintLine(p, l, list);
    }
    if (paintTarget_) paintTarget_->Draw(list);
    RepaintPositionedObjects();
}

void TZrtRTFTextPaint::RepaintObject(TZrtObject* object) {
    if (formatting_ || PaintSuppressed || Suspended() || !Visible || !Body) return;
    TPaintList list;
    for (TParagraph* p = Body; p; p = p->Next)
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            bool holds = false;
            for (int i = 0; i < l->Length && l->HasCells() && !holds; ++i) {
                if (l->Chars[i] != 1 || !(l->Cells[i].Flags & afObject)) continue;
                const TObjectRef* ref = FindObjectRef(l->Cells[i].Number);
                holds = ref && (!object || ref->Object == object);
            }
            if (holds) PaintLine(p, l, list);
        }
    if (paintTarget_) paintTarget_->Draw(list);
    RepaintPositionedObjects();
}

void TZrtRTFTextPaint::RepaintPositionedObjects() {
    if (formatting_ || PaintSuppressed || Suspended() || !Visible) return;
    TPaintList list;
    PaintPositionedObjects(list);
    if (!list.empty() && paintTarget_) paintTarget_->Draw(list);
}

void TZrtRTFTextPaint::PaintPositionedObjects(TPaintList& out) {
    for (const auto& ref : ObjectRefs) {
        if (ref->Mode != 1 && ref->Mode != 2) continue;
        int anchor = 0;
        if (ref->Mode == 1) {
            TParagraph* p = ParagraphAt(ref->AnchorPar);
            if (!p) continue;
            anchor = p->FirstLine->Top;
        }
        const int x = ClientLeft + ScrollX + PxX(ref->X);
        const int y = ClientTop + anchor + PxY(ref->Y) - ScrollY;
        const int w = PxX(ref->Width);
        const int h = PxY(ref->Height);
        PaintObject(x, y, x + w, y + h, w, ref.get(), h, out);
    }
}

void TZrtRTFTextPaint::PaintArea(int left, int top, int height, int width, TPaintList& out) {
    if (width < 1 || height < 1 || formatting_ || PaintSuppressed || Suspended()) return;
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
    PaintPositionedObjects(out);
}

// ---- one line -----------------------------------------------------------------------------------

void TZrtRTFTextPaint::PaintLine(TParagraph* p, TTextLine* line, TPaintList& out) {
    int x = LineIndent(p, line) + ParLeft(p, false) + ScrollX;
    const int free = LineFreeWidth(p, line);
    if (p->Alignment == 1 && free > 1) x += free / 2;
    if (p->Alignment == 2 && free > 0) x += free;
    const int lineTop = ClientTop + line->Top - ScrollY;
    const int lineBottom = lineTop + line->Height;
    if (lineBottom < 0 || (clientHeight_ > 0 && lineTop > clientHeight_)) return;
    const bool transparent = options_ & poTransparent;
    const bool cell = p->IsCell();

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
    if (p->ParFlags & pfCellSelected) {
        selFrom = 0;
        selTo = line->Length;
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
    const int penWidth = tallest / 20 + 1;
    const bool wholeSelected = line->Length > 0 && selFrom == 0 && selTo >= line->Length;
    const bool shaded = p->Shading != 0;
    const TColor shade = shaded ? Header->ColorOf(p->ShadingPercent < 51 ? p->Shading >> 4 : p->Shading & 15) : BackColor;

    // The strip left of the text: from the client's left edge, or for a later cell of a row from the
    // cell's own left edge.
    const int stripLeft = cell && (p->ParFlags & pfNotFirstCell) ? ParLeft(p, true) + ScrollX : ClientLeft;
    if ((!transparent || shaded) && x > stripLeft) out.push_back(FillOp(stripLeft, lineTop, x, lineBottom, shade));

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
        run.opaque = !transparent || shaded || selected || first.BackColor() != 0;
        run.back = selected ? ResolveColor(kHighlight) : (shaded && first.BackColor() == 0 ? shade : run.font.backColor);
        run.color = selected ? ResolveColor(kHighlightText) : run.font.color;
        run.baseline = baseline;
        if (run.font.superScript && first.Ascent < line->Ascent) run.baseline -= line->Ascent / 3;
        if (run.font.subScript && first.Ascent < line->Ascent) run.baseline += line->Ascent / 5;
        if (object) {
            TObjectRef* ref = FindObjectRef(first.Number);
            auto* field = ref ? dynamic_cast<TZrtObjectField*>(ref->Object) : nullptr;
            if (field) {
                // A field draws its current text with the font's own advances.
                run.text = field->GetFieldText(line->PageNumber + 1, 0);
                run.advances.clear();
                out.push_back(run);
            } else {
                const int height = ref ? std::min(static_cast<int>(line->Height), PxY(ref->Height)) : line->Height;
                if (run.opaque && lineBottom - height > lineTop)
                    out.push_back(FillOp(run.left, lineTop, run.right, lineBottom - height, run.back));
                if (ref) PaintObject(run.left, lineTop, run.right, lineBottom, run.right - run.left, ref, height, out);
            }
        } else {
            if (end >= line->Length && run.font.italic) run.right += 8;  // the slant is not clipped
            out.push_back(run);
            if (run.font.underline) {
                int y = run.baseline + ToTarget(2);
                if (y + penWidth > lineBottom) y = lineBottom - penWidth;
                if (!line->Next && (p->Borders & brHas) && (p->Borders & (brBox | brBottom)) && p->SpaceAfter == 0)
                    y -= penWidth;
                const bool dotted = (first.Flags & afHyperlink) && (first.Flags & afUnderline);
                out.push_back(LineOp(run.left, y, x - 1, y, run.font.penColor, penWidth,
                                     dotted ? TPenStyle::psDot : TPenStyle::psSolid));
            }
        }
        i = end;
    }

    // The rest of the line: a cell to its right edge in its shading (or the selection), then the
    // client's right edge, which a cell followed by more cells leaves to them.
    const int clientRight = ClientLeft + clientWidth_;
    int fillFrom = x;
    if (cell) {
        const int cellRight = ParRight(p, true) + ScrollX + ((p->ParFlags & pfMoreCells) ? 1 : 0);
        const bool own = shaded || wholeSelected;
        if ((own || !transparent) && x < cellRight)
            out.push_back(FillOp(x, lineTop, cellRight, lineBottom, wholeSelected ? ResolveColor(kHighlight) : shade));
        fillFrom = std::max(x, cellRight);
        if (p->ParFlags & pfMoreCells) fillFrom = clientRight;
    }
    if (!transparent && fillFrom < clientRight) out.push_back(FillOp(fillFrom, lineTop, clientRight, lineBottom, BackColor));

    // Page-break lines at the line's top.
    const bool parBreak = line == p->FirstLine && (p->ParFlags & pfPageBreak) && !(options_ & poNoParBreakLine);
    const bool pageBreak = (line->LineFlags & lfPageBegin) && !(options_ & poNoPageBreakLine);
    if (parBreak || pageBreak)
        out.push_back(LineOp(ClientLeft, lineTop, clientRight - 1, lineTop, 0, 1,
                             parBreak && pageBreak ? TPenStyle::psDashDot
                             : pageBreak           ? TPenStyle::psDot
                                                   : TPenStyle::psDash));
    if (p->Borders & brHas) PaintBorders(p, line, lineTop, lineBottom, out);
}

TColor TZrtRTFTextPaint::BorderColor(int nibble) const { return nibble == 0 ? 0 : Header->ColorOf(nibble); }

void TZrtRTFTextPaint::PaintBorders(TParagraph* p, TTextLine* line, int lineTop, int lineBottom, TPaintList& out) {
    const uint16_t b = p->Borders;
    const int left = ParLeft(p, true) + ScrollX;
    const int right = ParRight(p, true) + ScrollX - 1;
    const bool box = b & brBox;
    const bool twice = b & brDouble;
    const int width = ((b & brHairline) || PaintGrayTable) ? 1 : std::max(1, PxX(p->BorderWidth));
    const TPenStyle style = (b & brDotted) ? TPenStyle::psDot : TPenStyle::psSolid;
    const int d = 2 * width;
    TColor top = BorderColor(p->BorderColorsTB & 15), bottom = BorderColor(p->BorderColorsTB >> 4);
    TColor leftColor = BorderColor(p->BorderColorsLR & 15), rightColor = BorderColor(p->BorderColorsLR >> 4);
    if (PaintGrayTable) {
        top = leftColor = ResolveColor(kButtonShadow);
        bottom = rightColor = kWhite;
    }
    auto draw = [&](int x1, int y1, int x2, int y2, TColor color) {
        out.push_back(LineOp(x1, y1, x2, y2, color, width, style));
    };
    const int last = lineBottom - 1;

    // Bottom: on the paragraph's last line unless the next paragraph carries the bordered block on,
    // and above a line that starts a new page.
    TParagraph* next = p->Next;
    const bool continues = !box && !(b & brEnds) && !p->IsCell() && next && (next->Borders & brHas) &&
                           !(next->ParFlags & pfPageBreak) && !(next->FirstLine->LineFlags & lfPageBegin);
    const bool nextStartsPage = line->Next && (line->Next->LineFlags & lfPageBegin);
    bool drewBottom = false;
    if ((box || (b & brBottom)) && ((!line->Next && !continues) || nextStartsPage)) {
        draw(left, last, right, last, bottom);
        if (twice) draw(left + d, last - d, right - d, last - d, bottom);
        drewBottom = true;
    }
    // Top: on the first line unless the previous paragraph's block goes on into this one, and on a line
    // that starts a new page.
    TParagraph* prev = p->Prev;
    const bool joined = prev && (prev->Borders & brHas) && !(prev->Borders & brEnds) && !box &&
                        !(p->ParFlags & (pfPageBreak | pfInTable | pfNotFirstCell | pfMoreCells));
    bool drewTop = false;
    if ((box || (b & brTop)) && ((line == p->FirstLine && !joined) || (line->LineFlags & lfPageBegin))) {
        draw(left, lineTop, right, lineTop, top);
        if (twice) draw(left + d, lineTop + d, right - d, lineTop + d, top);
        drewTop = true;
    }
    // Sides; a later cell of a row leaves its left edge to the right edge of the cell before it.
    const int innerTop = lineTop + (twice && drewTop ? d : 0);
    const int innerBottom = last - (twice && drewBottom ? d : 0);
    const bool sharedEdge = (p->ParFlags & pfNotFirstCell) && prev && (prev->Borders & (brRight | brBox)) && !twice;
    if ((box || (b & brLeft)) && !sharedEdge) {
        draw(left, lineTop, left, last, leftColor);
        if (twice) draw(left + d, innerTop, left + d, innerBottom, leftColor);
    }
    if (box || (b & brRight)) {
        draw(right, lineTop, right, last, rightColor);
        if (twice) draw(right - d, innerTop, right - d, innerBottom, rightColor);
    }
    // Table lines: a bottom line and a bar before every tab stop inside the edges.
    if (b & brTableLines) {
        if (!drewBottom) draw(left + d, last, right - d, last, bottom);
        const int textLeft = ParLeft(p, false) + ScrollX;
        for (int t = 0; t < kTabCount; ++t) {
            if (Header->TabPos[t] == 0 || !(p->Tabs >> t & 1)) continue;
            const int stop = Header->TabPixelPos[t] + textLeft - Header->HorzResolution / 25;
            if (stop > left && stop < right) draw(stop, lineTop, stop, last, bottom);
        }
    }
}

// ---- objects ------------------------------------------------------------------------------------

void TZrtRTFTextPaint::PaintObject(int left, int top, int right, int bottom, int width, TObjectRef* ref, int height,
                                   TPaintList& out) {
    if (!ref) return;
    TPaintedObject entry;
    entry.reference = ref->Number;
    entry.x = left + ScrollX;
    entry.y = top + ScrollY;
    entry.width = width;
    entry.height = height;
    AddPaintedObject(entry);
    TPaintOp op;
    op.left = left;
    op.right = std::min(right, left + std::max(0, width));
    op.bottom = bottom;
    op.top = std::max(top, bottom - std::max(0, height));
    op.reference = ref->Number;
    op.color = BackColor;
    if (ref->Object) {
        op.kind = TPaintOp::Kind::Object;
    } else if (!ref->Name.empty()) {
        op.kind = TPaintOp::Kind::Placeholder;
        op.text = ref->Name;
        op.font = SelectCellFont(nullptr);
        op.color = 0;
    } else {
        op.kind = TPaintOp::Kind::CrossedRect;
        op.color = 0;
    }
    out.push_back(op);
}

}  // namespace rt
