// Hit testing, the caret and the selection of TZrtRTFTextPaint.
#include <algorithm>

#include "richtext/text_paint.h"

namespace rt {

void TZrtRTFTextPaint::LineAt(TParagraph*& p, TTextLine*& line, int x, int y) const {
    const int target = y - ClientTop;
    for (TParagraph* q = Body; q; q = q->Next) {
        const bool inColumn = !q->IsCell() || x == 0 || (x >= ParLeft(q, true) && x < ParRight(q, true));
        for (TTextLine* l = q->FirstLine; l; l = l->Next) {
            if (!inColumn) continue;
            // A point above the text maps to the first line.
            if ((l->Top <= target && target <= l->Top + l->Height) || (x == 0 && l->Top > target)) {
                p = q;
                line = l;
                return;
            }
        }
    }
    p = Body;
    while (p->Next) p = p->Next;
    line = LastLine(p);
}

void TZrtRTFTextPaint::UpdateCaret() {
    TTextLine* line = CurLine;
    if (!line) return;
    CaretWidth = 1;
    if (line->HasCells() && CurPos < line->Length) {
        const TAttrCell& c = line->Cells[static_cast<size_t>(CurPos > 0 ? CurPos - 1 : 0)];
        CaretHeight = c.Ascent;
    } else {
        CaretHeight = PlainAscent;
        if (line->Ascent != 0 && line->Ascent < CaretHeight) CaretHeight = line->Ascent;
    }
    CaretY = std::max(line->Top, ClientTop + line->Top + line->Ascent - CaretHeight);
}

void TZrtRTFTextPaint::RemoveSelection() {
    for (TParagraph* p = Body; p; p = p->Next)
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            if (l->SelState) l->LineFlags |= lfChanged;
            l->SelState = 0;
        }
    SelStartPar = SelEndPar = nullptr;
    SelStartLine = SelEndLine = nullptr;
    SelStartPos = SelEndPos = 0;
    SelBackwards = false;
}

void TZrtRTFTextPaint::SetSelection(TParagraph* p, TTextLine* line, bool extend, int pos) {
    if (NoBlockMarking || !p || !line) return;
    pos = std::clamp(pos, 0, static_cast<int>(line->Length));
    if (!extend || !SelStartPar) {
        RemoveSelection();
        SelStartPar = p;
        SelStartLine = line;
        SelStartPos = pos;
        return;
    }
    if (SelEndPar == p && SelEndLine == line && SelEndPos == pos) return;
    SelEndPar = p;
    SelEndLine = line;
    SelEndPos = pos;
    // Which end comes first in the text.
    if (SelStartLine == line)
        SelBackwards = pos < SelStartPos;
    else if (SelStartPar == p)
        SelBackwards = line->Top < SelStartLine->Top;
    else if (p->FirstLine->Top != SelStartPar->FirstLine->Top)
        SelBackwards = p->FirstLine->Top < SelStartPar->FirstLine->Top;
    TTextLine* firstEnd = SelBackwards ? SelEndLine : SelStartLine;
    TTextLine* secondEnd = SelBackwards ? SelStartLine : SelEndLine;
    int phase = 0;  // 0 before the selection, 1 inside, 2 after
    for (TParagraph* q = Body; q; q = q->Next) {
        for (TTextLine* l = q->FirstLine; l; l = l->Next) {
            const uint8_t before = l->SelState;
            if (l == firstEnd && phase == 0) phase = 1;
            if (l == firstEnd || l == secondEnd)
                l->SelState = 4;
            else
                l->SelState = phase == 1 ? 3 : 0;
            if (l->SelState != before) l->LineFlags |= lfChanged;
            if (l == secondEnd && phase == 1) phase = 2;
        }
    }
}

void TZrtRTFTextPaint::SelectRange(int start, int length) {
    if (NoBlockMarking) return;
    if (length <= 0) {
        RemoveSelection();
        return;
    }
    TParagraph* p = nullptr;
    TTextLine* line = nullptr;
    int pos = 0;
    FindPosition(start + 1, 0, pos, line, p, 0, 0);
    pos = std::max(0, pos - 1);
    SetSelection(p, line, false, pos);
    FindPosition(start + length, 0, pos, line, p, 0, 0);
    SetSelection(p, line, true, pos);
}

}  // namespace rt
