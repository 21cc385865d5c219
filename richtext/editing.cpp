// Editing the selection of TZrtRTFTextPaint: deleting it and applying attributes to it.
#include <algorithm>

#include "richtext/text_paint.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

// The character offset of (line, pos) within its paragraph.
int OffsetInParagraph(TParagraph* p, TTextLine* line, int pos) {
    int offset = 0;
    for (TTextLine* l = p->FirstLine; l && l != line; l = l->Next) offset += l->Length;
    return offset + std::max(0, pos);
}

int ParagraphTextLength(TParagraph* p) {
    int n = 0;
    for (TTextLine* l = p->FirstLine; l; l = l->Next) n += l->Length;
    return n;
}

// The line and position of a character offset within a paragraph (the end of the last line at most).
void PositionInParagraph(TParagraph* p, int offset, TTextLine*& line, int& pos) {
    line = p->FirstLine;
    while (line->Next && offset > line->Length) {
        offset -= line->Length;
        line = line->Next;
    }
    pos = std::clamp(offset, 0, static_cast<int>(line->Length));
}

// The selection's ends in text order as (paragraph, offset in it). The order is taken from the body
// itself, not from the backwards flag, which line tops decide; false when an end is not in the body.
bool OrderedEnds(TParagraph* body, TParagraph* a, int aOffset, TParagraph* b, int bOffset, TParagraph*& first,
                 int& from, TParagraph*& last, int& to) {
    int ia = -1, ib = -1, i = 0;
    for (TParagraph* p = body; p; p = p->Next, ++i) {
        if (p == a) ia = i;
        if (p == b) ib = i;
    }
    if (ia < 0 || ib < 0) return false;
    const bool swap = ib < ia || (ia == ib && bOffset < aOffset);
    first = swap ? b : a;
    from = swap ? bOffset : aOffset;
    last = swap ? a : b;
    to = swap ? aOffset : bOffset;
    return true;
}

}  // namespace

bool TZrtRTFTextPaint::DeleteSelection() {
    if (CellSelectCount > 0 || !SelStartPar || !SelEndPar || !SelStartLine || !SelEndLine) return false;
    TParagraph* first = nullptr;
    TParagraph* last = nullptr;
    int from = 0, to = 0;
    if (!OrderedEnds(Body, SelStartPar, OffsetInParagraph(SelStartPar, SelStartLine, SelStartPos), SelEndPar,
                     OffsetInParagraph(SelEndPar, SelEndLine, SelEndPos), first, from, last, to))
        return false;
    if (first == last && from >= to) return false;
    // Placeholders that go take their objects' references out of use.
    for (TParagraph* p = first;; p = p->Next) {
        int offset = 0;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            for (int i = 0; i < l->Length && l->HasCells(); ++i) {
                const int at = offset + i;
                const bool inside = (p != first || at >= from) && (p != last || at < to);
                if (!inside || l->Chars[i] != 1 || !(l->Cells[i].Flags & afObject)) continue;
                if (TObjectRef* ref = FindObjectRef(l->Cells[i].Number)) {
                    ref->Used = false;
                    if (ref->Object) ref->Object->PlaceholderDeleted();
                }
            }
            offset += l->Length;
        }
        if (p == last) break;
    }
    RemoveSelection();
    bool crossesCells = false;
    for (TParagraph* p = first;; p = p->Next) {
        crossesCells = crossesCells || p->IsCell();
        if (p == last) break;
    }
    if (first == last) {
        DeleteRange(first, from, to - from);
    } else if (crossesCells) {
        // Cells are emptied where selected, never joined.
        for (TParagraph* p = first;; p = p->Next) {
            const int start = p == first ? from : 0;
            const int end = p == last ? to : ParagraphTextLength(p);
            DeleteRange(p, start, end - start);
            if (p == last) break;
        }
    } else {
        DeleteRange(first, from, ParagraphTextLength(first) - from);
        DeleteRange(last, 0, to);
        while (first->Next != last) {
            TParagraph* doomed = first->Next;
            DeleteParagraphRecord(doomed);
        }
        // The last paragraph's rest joins the first.
        TTextLine* end = LastLine(first);
        CurPar = first;
        CurLine = end;
        CurPos = end->Length;
        DeleteChar(first, end, end->Length);
    }
    CurPar = first;
    PositionInParagraph(first, from, CurLine, CurPos);
    first->MarkDirty();
    FormatDirty(true);
    InvalidateAll();
    return true;
}

void TZrtRTFTextPaint::ApplyAttr(const TAttrCell& cell, uint32_t mask) {
    if (CellSelectCount > 0) {
        for (TParagraph* p = Body; p; p = p->Next) {
            if (!(p->ParFlags & pfCellSelected)) continue;
            for (TTextLine* l = p->FirstLine; l; l = l->Next)
                for (int i = 0; i < l->Length; ++i) UpdateCellAttr(l, i, mask, cell);
            p->MarkDirty();
        }
        UpdateCellAttr(nullptr, 0, mask, cell);
    } else if (SelStartPar && SelEndPar && SelStartLine && SelEndLine) {
        TParagraph* first = nullptr;
        TParagraph* last = nullptr;
        int from = 0, to = 0;
        const bool inBody = OrderedEnds(Body, SelStartPar, OffsetInParagraph(SelStartPar, SelStartLine, SelStartPos),
                                        SelEndPar, OffsetInParagraph(SelEndPar, SelEndLine, SelEndPos), first, from,
                                        last, to);
        for (TParagraph* p = first; inBody; p = p->Next) {
            int offset = 0;
            for (TTextLine* l = p->FirstLine; l; l = l->Next) {
                for (int i = 0; i < l->Length; ++i) {
                    const int at = offset + i;
                    if ((p != first || at >= from) && (p != last || at < to)) UpdateCellAttr(l, i, mask, cell);
                }
                offset += l->Length;
            }
            p->MarkDirty();
            if (p == last) break;
        }
        UpdateCellAttr(nullptr, 0, mask, cell);
        if (CurPar && CurLine == CurPar->FirstLine && CurPos == 0) CurPar->ParCell = CurrentCell;
    } else {
        UpdateCellAttr(nullptr, 0, mask, cell);
    }
    SelectCellMetrics(nullptr);
    if (!IsRich()) ReformatAll();
}

}  // namespace rt
