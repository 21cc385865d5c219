#include "richtext/text_input.h"

#include <algorithm>

#include "richtext/zrt_object.h"

namespace rt {

namespace {

bool AtParagraphStart(const TParagraph* p, const TTextLine* line, int pos) { return line == p->FirstLine && pos == 0; }

}  // namespace

void TZrtRTFTextInput::InputString(const std::string& text) {
    if (ReadOnly || formatting_ || !Body || !CurPar || !CurLine) return;
    int level = 0;
    for (size_t i = 0; i < text.size() && text[i] != 0; ++i) {
        const bool more = i + 1 < text.size() && text[i + 1] != 0 && text[i + 1] != 13;
        level = std::max(level, TypeChars(text[i], more));
    }
    if (RenumberPending) {
        RenumberPending = false;
        UpdateNumbering();
        ReformatAll();
        level = 3;
    }
    if (text.size() <= 1) {
        if (level == 3)
            InvalidateAll();
        else if (level == 1 || level == 2)
            RepaintParagraph(CurPar, level == 1);
        ShowCursor();
    }
    UpdateCurrentAttr();
}

int TZrtRTFTextInput::Reflow(TParagraph* p, bool compare) {
    const int scroll = ScrollX;
    MeasureParagraph(p);
    int change = 0;
    WrapParagraph(p, compare, change);
    p->ParFlags &= ~pfDirty;
    Paginate(nullptr);
    if (change == 3 || ScrollX != scroll) return 3;
    return 1;
}

int TZrtRTFTextInput::TypeChars(char ch, bool more) {
    if (CurLine->HasCells()) {
        if (CurPos < CurLine->Capacity()) CurLine->Cells[CurPos].Flags &= ~afWrapMark;
        if (CurPos + 1 < CurLine->Capacity()) CurLine->Cells[CurPos + 1].Flags &= ~afWrapMark;
    }
    switch (static_cast<unsigned char>(ch)) {
        case 0:
            return 0;
        case 8:
            if (HasSelection()) return DeleteSelection() ? 3 : 0;
            if (CurPos > 0) {
                --CurPos;
                return DeleteAtCursor();
            }
            if (CurLine != CurPar->FirstLine) {
                // The previous line's last character goes; the cursor keeps its place in the text.
                TTextLine* prev = CurLine->Prev;
                if (prev->Length > 0) DeleteChar(CurPar, prev, prev->Length - 1);
                Reflow(CurPar, false);
                return 3;
            }
            // At the start of a paragraph: joined to the previous one, never across a table cell.
            if (!CurPar->Prev || CurPar->IsCell()) return 0;
            CurPar = CurPar->Prev;
            CurLine = LastLine(CurPar);
            CurPos = CurLine->Length;
            return DeleteAtCursor();
        case 12:
            if (AtParagraphStart(CurPar, CurLine, CurPos)) {
                CurPar->ParFlags ^= pfPageBreak;
                Paginate(nullptr);
                return 3;
            }
            return BreakParagraph(true, more);
        case 13:
            return BreakParagraph(false, more);
        case 127:
            return DeleteAtCursor();
        default:
            break;
    }
    if (HasSelection()) DeleteSelection();
    if (!InsertChar(CurPar, CurLine, ch, CurPos)) return 0;  // a full table cell refuses (and beeps)
    ++CurPos;
    if (more) return 0;
    const int level = Reflow(CurPar, true);
    return ch == 10 ? 3 : level;
}

int TZrtRTFTextInput::BreakParagraph(bool pageBreak, bool more) {
    if (HasSelection()) DeleteSelection();
    if (CurPar->Outline != 0) RenumberPending = true;
    const bool documentStart = CurPar == Body && AtParagraphStart(CurPar, CurLine, CurPos);
    if (CurPar->IsCell() && !documentStart) return TypeChars(10, more);
    if (documentStart) {
        // An empty paragraph with the same attributes goes before the first; the cursor stays.
        TParagraph* np = nullptr;
        TZrtRTFText::NewParagraph(np, 8);
        CopyParagraphAttrs(*np, *Body);
        np->ParFlags = Body->ParFlags & ~pfPageBreak;
        CopyBorders(*np, *Body);
        np->Tabs = Body->Tabs;
        np->Style = Body->Style;
        np->ParCell = CurrentCell;
        np->Next = Body;
        Body->Prev = np;
        Body = np;
        ShiftObjectAnchors(0, true);
        Reflow(np, false);
        return 3;
    }
    TParagraph* p = CurPar;
    SplitParagraph(p, CurLine, CurPos);
    TParagraph* np = p->Next;
    if (pageBreak) np->ParFlags |= pfPageBreak;
    CurPar = np;
    CurLine = np->FirstLine;
    CurPos = 0;
    Reflow(p, false);
    Reflow(np, false);
    return 3;
}

int TZrtRTFTextInput::DeleteAtCursor() {
    if (DeleteObjects && SelectedObject) {
        TObjectRef* ref = FindObjectRef(SelectedObject);
        if (ref && (ref->Mode == 1 || ref->Mode == 2)) {
            RepaintPositionedObjects();
            return 0;
        }
    }
    if (HasSelection()) return DeleteSelection() ? 3 : 0;
    TParagraph* p = CurPar;
    if (CurPos < CurLine->Length || CurLine->Next) {
        DeleteChar(p, CurLine, CurPos);
        return Reflow(p, true);
    }
    if (p->Next) {
        if (p->IsCell()) return 0;  // a cell is never joined to the next
        if (!DeleteChar(p, CurLine, CurPos)) return 0;
        Reflow(p, false);
        return 3;
    }
    // At the end of the text only the paragraph's formatting goes.
    p->Borders = 0;
    p->BorderWidth = 0;
    p->BorderColorsLR = p->BorderColorsTB = 0;
    p->BorderSpace = 0;
    p->Shading = 0;
    p->ShadingPercent = 0;
    p->Alignment = 0;
    p->Style = 0;
    p->Outline = 0;
    p->ParFlags &= pfInTable | pfNotFirstCell | pfMoreCells;
    Reflow(p, false);
    return 3;
}

void TZrtRTFTextInput::UpdateCurrentAttr() {
    if (Suspended() || formatting_ || !IsRich() || !CurPar || !CurLine) return;
    const TAttrCell* found = nullptr;
    if (!IsEmpty()) {
        if (CurPos > 0 && CurLine->HasCells()) {
            found = &CurLine->Cells[static_cast<size_t>(std::min(CurPos, static_cast<int>(CurLine->Length)) - 1)];
        } else if (CurLine->Prev && CurLine->Prev->Length > 0) {
            found = &CurLine->Prev->Cells[CurLine->Prev->Length - 1];
        } else {
            for (TParagraph* q = CurPar->Prev; q && !found; q = q->Prev)
                for (TTextLine* l = LastLine(q); l && !found; l = l->Prev)
                    if (l->Length > 0 && l->HasCells()) found = &l->Cells[l->Length - 1];
            if (!found && CurLine->HasCells()) found = &CurLine->Cells[0];
        }
    }
    if (found) {
        const uint32_t f = found->Flags;
        const bool refused = ((ProtectOptions & ptProtected) && (f & afProtected)) ||
                             ((ProtectOptions & ptInsertPoints) && (f & afInsertPoint)) ||
                             ((ProtectOptions & ptAutomatic) && (f & afAutomatic)) ||
                             ((ProtectOptions & ptHidden) && (f & afHidden)) ||
                             ((ProtectOptions & ptInvisible) && found->Width == 0);
        if (!refused) {
            const bool differs = CurrentCell.FontIndex != found->FontIndex || CurrentCell.Colors != found->Colors ||
                                 CurrentCell.Flags != found->Flags || CurrentCell.Size != found->Size;
            CurrentCell.FontIndex = found->FontIndex;
            CurrentCell.Colors = found->Colors;
            CurrentCell.Flags = found->Flags;
            CurrentCell.Size = found->Size;
            if (differs && OnAttrChanged) OnAttrChanged();
        }
    }
    // Marks that belong to one piece of text are not typed on.
    if (CurrentCell.Flags & (afObject | afFootnote | afInsertPoint)) CurrentCell.Number = 0;
    uint32_t drop = afInsertPoint | afAutomatic | afObject | afFootnote | afHidden | afNumbered;
    if (ProtectOptions & ptProtected) drop |= afProtected;
    if (!CurLine->Next && CurPos >= CurLine->Length) drop |= afBookmark;
    CurrentCell.Flags &= ~(drop | afLayoutMark | afWrapMark | afLayoutMark2);
}

void TZrtRTFTextInput::SetCursorFromPoint(int x, int y, bool autoscroll, bool select) {
    if (!CursorPlacement) return;
    TZrtRTFTextPaint::SetCursorFromPoint(x, y, autoscroll, select);
    UpdateCurrentAttr();
}

void TZrtRTFTextInput::SetCursorPos(int absolute, int lineIndex, int posInParagraph, int paragraphIndex) {
    TZrtRTFTextPaint::SetCursorPos(absolute, lineIndex, posInParagraph, paragraphIndex);
    if (CurLine && CurLine->Next && CurPos >= CurLine->Length) {
        CurLine = CurLine->Next;
        CurPos = 0;
    }
    if (OnAttrChanged) OnAttrChanged();
}

int TZrtRTFTextInput::ReadWith(fw::TStream& stream, TZrtCustomTextReader& reader) {
    const int result = TZrtRTFTextPaint::ReadWith(stream, reader);
    UpdateCurrentAttr();
    return result;
}

void TZrtRTFTextInput::Clear() {
    TZrtRTFTextPaint::Clear();
    RemoveSelection();
    ScrollY = 0;
    CursorX = 0;
    CaretY = 0;
    CurPar = Body;
    CurLine = Body ? Body->FirstLine : nullptr;
    CurPos = 0;
    UpdateCurrentAttr();
}

}  // namespace rt
