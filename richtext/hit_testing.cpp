// Hit testing, the cursor and caret, scrolling to the cursor and the selection of TZrtRTFTextPaint.
#include <algorithm>

#include "richtext/text_paint.h"

namespace rt {

namespace {

// The column of a table cell: the number of cells before it in its row.
int CellColumn(TParagraph* p) {
    int column = 0;
    for (TParagraph* q = p; (q->ParFlags & pfNotFirstCell) && q->Prev; q = q->Prev) ++column;
    return column;
}

}  // namespace

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

void TZrtRTFTextPaint::ScrollBy(int dx, int dy) {
    if (options_ & poNoScroll) return;
    const int x = std::min(0, ScrollX + dx);
    const int y = std::max(0, ScrollY + dy);
    if (x == ScrollX && y == ScrollY) return;
    ScrollX = x;
    ScrollY = y;
    InvalidateAll();
}

void TZrtRTFTextPaint::ShowCursor() {
    if (!CurPar || !CurLine) return;
    const TTextLine* l = CurLine;
    if (l->Top < ScrollY) {
        int up = ScrollY - l->Top;
        if (l->Height > clientHeight_) up -= l->Height - clientHeight_;  // a tall line shows its bottom
        ScrollBy(0, -up);
    } else if (l->Top + l->Height > ScrollY + clientHeight_) {
        ScrollBy(0, l->Top + l->Height - ScrollY - clientHeight_ + 4 + 2);
    }
    CursorX = CharX(CurPar, CurLine, CurPos);
    UpdateCaret();
    if (CursorX + ScrollX < 0)
        ScrollBy(clientWidth_ / 3 - (CursorX + ScrollX), 0);
    else if (CursorX + ScrollX > clientWidth_ - 4 && !wrapToWindow_)
        ScrollBy(-(CursorX + ScrollX + clientWidth_ / 3 - clientWidth_), 0);
}

void TZrtRTFTextPaint::SetCursorFromPoint(int x, int y, bool autoscroll, bool select) {
    if (!Body) return;
    if (select && SelectedObject) SelectObject(0);
    TParagraph* oldPar = CurPar;
    TTextLine* oldLine = CurLine;
    const int oldPos = CurPos;
    TParagraph* p = nullptr;
    TTextLine* line = nullptr;
    LineAt(p, line, x - ScrollX, y + ScrollY);
    const int docY = y + ScrollY - 1 - ClientTop;
    if (docY >= line->Top && docY <= line->Top + line->Height) {
        CurPar = p;
        CurLine = line;
        CurPos = CharAtX(p, line, x - ScrollX);
    }
    const bool changed = CurPar != oldPar || CurLine != oldLine || CurPos != oldPos;
    if (select) {
        if (changed) SetSelection(CurPar, CurLine, SelectAnchor, CurPos);
        SelectAnchor = true;
    } else {
        SelectAnchor = false;
    }
    // Following the mouse: the new line's bottom comes into view while the old line was in view.
    if (autoscroll && oldLine && changed && oldLine->Top >= ScrollY && oldLine->Top + oldLine->Height <= ScrollY + clientHeight_) {
        if (CurLine->Top + CurLine->Height > ScrollY + clientHeight_)
            ScrollBy(0, CurLine->Top + CurLine->Height - ScrollY - clientHeight_);
        else if (CurLine->Top < ScrollY)
            ScrollBy(0, CurLine->Top - ScrollY);
    }
    ShowCursor();
}

void TZrtRTFTextPaint::RemoveSelection() {
    for (TParagraph* p = Body; p; p = p->Next) {
        p->ParFlags &= ~pfCellSelected;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            if (l->SelState) l->LineFlags |= lfChanged;
            l->SelState = 0;
        }
    }
    CellSelectCount = 0;
    SelStartPar = SelEndPar = nullptr;
    SelStartLine = SelEndLine = nullptr;
    SelStartPos = SelEndPos = 0;
    SelBackwards = false;
}

void TZrtRTFTextPaint::SetSelection(TParagraph* p, TTextLine* line, bool extend, int pos) {
    if (NoBlockMarking || !p || !line) return;
    pos = std::clamp(pos, 0, static_cast<int>(line->Length));
    std::vector<std::pair<TParagraph*, TTextLine*>> repaint;
    auto clearAll = [&] {
        for (TParagraph* q = Body; q; q = q->Next) {
            q->ParFlags &= ~pfCellSelected;
            for (TTextLine* l = q->FirstLine; l; l = l->Next)
                if (l->SelState) {
                    l->SelState = 0;
                    repaint.push_back({q, l});
                }
        }
        CellSelectCount = 0;
    };
    if (!extend || !SelStartPar) {
        clearAll();
        SelStartPar = p;
        SelStartLine = line;
        SelStartPos = pos;
        SelEndPar = nullptr;
        SelEndLine = nullptr;
        SelEndPos = 0;
        SelBackwards = false;
    } else {
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
        TParagraph* firstPar = SelBackwards ? SelEndPar : SelStartPar;
        TParagraph* secondPar = SelBackwards ? SelStartPar : SelEndPar;
        // Two cells of one table: the rectangle of cells between them.
        bool oneTable = firstPar != secondPar && firstPar->IsCell() && secondPar->IsCell();
        for (TParagraph* q = firstPar; oneTable && q != secondPar; q = q->Next) oneTable = q && q->IsCell();
        if (oneTable) {
            clearAll();
            const int a = CellColumn(SelStartPar), b = CellColumn(SelEndPar);
            const int lo = std::min(a, b), hi = std::max(a, b);
            TParagraph* q = firstPar;
            while (q->ParFlags & pfNotFirstCell) q = q->Prev;  // the first row's first cell
            for (; q; q = q->Next) {
                const int column = CellColumn(q);
                if (column >= lo && column <= hi) {
                    q->ParFlags |= pfCellSelected;
                    ++CellSelectCount;
                    for (TTextLine* l = q->FirstLine; l; l = l->Next) repaint.push_back({q, l});
                }
                if (q == secondPar) {
                    // The rest of the last row.
                    for (TParagraph* r = q->Next; r && (r->ParFlags & pfNotFirstCell); r = r->Next)
                        if (CellColumn(r) <= hi) {
                            r->ParFlags |= pfCellSelected;
                            ++CellSelectCount;
                            for (TTextLine* l = r->FirstLine; l; l = l->Next) repaint.push_back({r, l});
                        }
                    break;
                }
            }
        } else {
            if (CellSelectCount) clearAll();
            TTextLine* firstEnd = SelBackwards ? SelEndLine : SelStartLine;
            TTextLine* secondEnd = SelBackwards ? SelStartLine : SelEndLine;
            int phase = 0;  // 0 before the selection, 1 inside, 2 after
            for (TParagraph* q = Body; q; q = q->Next) {
                for (TTextLine* l = q->FirstLine; l; l = l->Next) {
                    const uint8_t before = l->SelState;
                    if (l == firstEnd && phase == 0) phase = 1;
                    // The ends get 4 (painting makes them 2 or 3), the lines between 3, the rest 0.
                    if (l == firstEnd || l == secondEnd) {
                        l->SelState = 4;
                        repaint.push_back({q, l});
                    } else if (phase == 1) {
                        l->SelState = 3;
                        if (before != 3) repaint.push_back({q, l});
                    } else if (before) {
                        l->SelState = 0;
                        repaint.push_back({q, l});
                    }
                    if (l == secondEnd && phase == 1) phase = 2;
                }
            }
        }
    }
    if (PaintSuppressed || !paintTarget_ || Suspended() || repaint.empty()) return;
    try {
        TPaintList list;
        for (auto& [q, l] : repaint) PaintLine(q, l, list);
        paintTarget_->Draw(list);
        RepaintPositionedObjects();
    } catch (...) {
        SelStartPar = SelEndPar = nullptr;
        SelStartLine = SelEndLine = nullptr;
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

void TZrtRTFTextPaint::SelectObject(int number) {
    SelectedObject = 0;
    if (number == 0) return;
    for (TParagraph* p = Body; p; p = p->Next)
        for (TTextLine* l = p->FirstLine; l; l = l->Next)
            for (int i = 0; i < l->Length && l->HasCells(); ++i)
                if (l->Chars[i] == 1 && (l->Cells[i].Flags & afObject) && l->Cells[i].Number == number) {
                    SelectedObject = number;
                    SetSelection(p, l, false, i);
                    SetSelection(p, l, true, i + 1);
                    return;
                }
}

}  // namespace rt
