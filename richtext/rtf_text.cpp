#include "richtext/rtf_text.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/core/exceptions.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

TZrtRTFText::TZrtRTFText(fw::TComponent* owner) : Owner(owner), Header(std::make_unique<TTextHeader>()) {
    InsertPointAttr.SetUseTextColor(true);
    InsertPointAttr.SetTextColor(255);
    HyperlinkTextAttr.SetUseUnderlineColor(true);
    HyperlinkTextAttr.SetUnderlineColor(0xFF0000);
    HyperlinkTextAttr.SetUnderline(TThreeState::tsTRUE);
    BookmarkTextAttr.SetUseUnderlineColor(true);
    BookmarkTextAttr.SetUnderlineColor(0x8000);
    BookmarkTextAttr.SetUnderline(TThreeState::tsTRUE);
    ScreenResolution = System().screenResolution;
    Header->Owner = this;
    Header->HorzResolution = ScreenResolution;
    Header->VertResolution = ScreenResolution;
    Header->UsedUnit = TZrtUnit::UnitIn;
    Header->rich = true;
    Header->OnTabFull = [this] { PurgeTabs(); };
    Header->RecalcPixels();
    CurrentCell.Size = 10;
    DefaultCell.Size = 10;
    std::fill(std::begin(WidthTable), std::end(WidthTable), uint16_t(16));
    NewBody(40);
}

TZrtRTFText::~TZrtRTFText() {
    FreeChain(Body);
    FreeChain(HeaderText);
    FreeChain(FooterText);
    Body = HeaderText = FooterText = nullptr;
    ClearObjectMarks();
    PurgeObjectRefs();
    for (auto& ref : ObjectRefs) {
        if (ref->Object) {
            TZrtObject* object = ref->Object;
            ref->Object = nullptr;
            object->Reference = nullptr;
            object->Free();
        }
    }
    ObjectRefs.clear();
}

void TZrtRTFText::NewBody(int capacity) {
    TParagraph* p = nullptr;
    Body = NewParagraph(p, capacity);
    CurPar = Body;
    CurLine = Body->FirstLine;
    CurPos = 0;
}

void TZrtRTFText::ApplyAttr(const TAttrCell& cell, uint32_t) { CurrentCell = cell; }

// ---- structure -----------------------------------------------------------------------------------

TTextLine* TZrtRTFText::NewLine(TTextLine*& l, int n) {
    auto* line = new TTextLine();
    const int capacity = n > 7 ? n + 4 : 8;
    line->Chars.assign(static_cast<size_t>(capacity), 0);
    if (Header->rich) {
        line->Cells.assign(static_cast<size_t>(capacity), TAttrCell());
        line->Cells[0] = CurrentCell;
    }
    line->Height = static_cast<uint16_t>(DefaultLineHeight);
    if (l) {
        line->Next = l->Next;
        line->Prev = l;
        if (l->Next) l->Next->Prev = line;
        l->Next = line;
    }
    l = line;
    return line;
}

void TZrtRTFText::CopyParagraphAttrs(TParagraph& to, const TParagraph& from) {
    to.FirstIndent = from.FirstIndent;
    to.LeftIndent = from.LeftIndent;
    to.RightIndent = from.RightIndent;
    to.SpaceBefore = from.SpaceBefore;
    to.SpaceAfter = from.SpaceAfter;
    to.LineSpacing = from.LineSpacing;
    to.Alignment = from.Alignment;
    to.Shading = from.Shading;
    to.ShadingPercent = from.ShadingPercent;
}

void TZrtRTFText::CopyBorders(TParagraph& to, const TParagraph& from) {
    to.Borders = from.Borders;
    to.BorderWidth = from.BorderWidth;
    to.BorderColorsLR = from.BorderColorsLR;
    to.BorderColorsTB = from.BorderColorsTB;
    to.BorderSpace = from.BorderSpace;
}

TParagraph* TZrtRTFText::NewParagraph(TParagraph*& p, int capacity) {
    auto* np = new TParagraph();
    if (p) {
        CopyParagraphAttrs(*np, *p);
        np->ParFlags = p->ParFlags;
        if (!p->IsCell()) np->Tabs = p->Tabs;
        if (!(p->Borders & brEnds)) CopyBorders(*np, *p);
        np->Outline = p->Outline;
        if ((p->ParFlags & pfOutline) && (p->Outline & 0x0F) < 1) {
            np->Outline = 0;
            p->ParFlags &= ~pfOutline;
        }
        np->Style = p->Style;
        np->Next = p->Next;
        np->Prev = p;
        if (p->Next) p->Next->Prev = np;
        p->Next = np;
    }
    TTextLine* l = nullptr;
    np->FirstLine = NewLine(l, capacity);
    p = np;
    return np;
}

void TZrtRTFText::GrowLine(TTextLine* line, int n) {
    if (n > kMaxLineCapacity) throw fw::Exception("Len>10000");
    if (n < 2) n = 2;
    if (n & 1) ++n;
    line->Chars.resize(static_cast<size_t>(n), 0);
    if (line->HasCells()) line->Cells.resize(static_cast<size_t>(n));
    if (line->Length >= n) line->Length = static_cast<uint16_t>(n - 1);
    line->Chars[line->Length] = 0;
}

void TZrtRTFText::DropSelectionOn(const TParagraph* p, const TTextLine* line) {
    const bool hit = (line && (SelStartLine == line || SelEndLine == line)) || (p && (SelStartPar == p || SelEndPar == p));
    if (!hit) return;
    SelStartPar = SelEndPar = nullptr;
    SelStartLine = SelEndLine = nullptr;
    SelStartPos = SelEndPos = 0;
}

void TZrtRTFText::FreeLine(TTextLine* line) {
    DropSelectionOn(nullptr, line);
    delete line;
}

void TZrtRTFText::FreeLineBuffers(TTextLine* line) {
    line->Chars.clear();
    line->Cells.clear();
    line->Length = 0;
}

void TZrtRTFText::FreeParagraph(TParagraph*& p) {
    TParObject* o = p->Objects;
    while (o) {
        TParObject* next = o->Next;
        if (o == currentTable_) currentTable_ = nullptr;
        delete o;
        o = next;
    }
    DropSelectionOn(p, nullptr);
    delete p;
    p = nullptr;
}

void TZrtRTFText::DeleteParagraphRecord(TParagraph*& p) {
    TTextLine* l = p->FirstLine;
    while (l) {
        TTextLine* next = l->Next;
        FreeLine(l);
        l = next;
    }
    TParagraph* next = p->Next;
    if (p->Prev) p->Prev->Next = p->Next;
    if (p->Next) p->Next->Prev = p->Prev;
    if (p == Body) Body = next;
    FreeParagraph(p);
    p = next;
}

void TZrtRTFText::FreeChain(TParagraph* first) {
    while (first) {
        TParagraph* next = first->Next;
        TTextLine* l = first->FirstLine;
        while (l) {
            TTextLine* nl = l->Next;
            FreeLine(l);
            l = nl;
        }
        FreeParagraph(first);
        first = next;
    }
}

TParObject* TZrtRTFText::ParTable(TParagraph* p) {
    TParObject* o = p->Objects;
    if (!o) {
        o = new TParObject();
        o->Kind = TParObjectKind::Table;
        p->Objects = o;
    } else {
        while (o->Kind != TParObjectKind::Table && o->Next) o = o->Next;
        if (o->Kind != TParObjectKind::Table) {
            o->Next = new TParObject();
            o = o->Next;
            o->Kind = TParObjectKind::Table;
        }
    }
    currentTable_ = o;
    return o;
}

TTextLine* TZrtRTFText::LastLine(TParagraph* p) {
    if (!p) return nullptr;
    TTextLine* l = p->FirstLine;
    while (l && l->Next) l = l->Next;
    return l;
}

int TZrtRTFText::ParagraphIndexOf(TParagraph* first, TParagraph* p) {
    int n = 0;
    for (TParagraph* q = first; q; q = q->Next) {
        ++n;
        if (q == p) return n;
    }
    return n;
}

void TZrtRTFText::DeleteLine(TParagraph* p, TTextLine* line) {
    p->MarkDirty();
    if (line->Prev) {
        line->Prev->Next = line->Next;
        if (line->Next) line->Next->Prev = line->Prev;
        FreeLine(line);
        return;
    }
    // The first line of its paragraph.
    if (p->Prev) {
        TParagraph* prev = p->Prev;
        TTextLine* rest = line->Next;
        FreeLine(line);
        if (rest) {
            TTextLine* last = LastLine(prev);
            last->Next = rest;
            rest->Prev = last;
        }
        p->FirstLine = nullptr;
        prev->Next = p->Next;
        if (p->Next) p->Next->Prev = prev;
        if (CurPar == p) {
            CurPar = prev;
            CurLine = LastLine(prev);
            CurPos = CurLine->Length;
        }
        FreeParagraph(p);
        prev->MarkDirty();
        return;
    }
    if (line->Next) {
        p->FirstLine = line->Next;
        line->Next->Prev = nullptr;
        FreeLine(line);
    } else if (p->Next) {
        TParagraph* next = p->Next;
        next->Prev = nullptr;
        if (Body == p) Body = next;
        if (HeaderText == p) HeaderText = next;
        if (FooterText == p) FooterText = next;
        if (CurPar == p) {
            CurPar = next;
            CurLine = next->FirstLine;
            CurPos = 0;
        }
        FreeLine(line);
        p->FirstLine = nullptr;
        FreeParagraph(p);
    } else {
        line->Length = 0;
        if (!line->Chars.empty()) line->Chars[0] = 0;
    }
}

// ---- editing primitives --------------------------------------------------------------------------

bool TZrtRTFText::InsertChar(TParagraph* p, TTextLine* line, char ch, int pos) {
    if (p->IsCell()) {
        TParObject* t = ParTable(p);
        if (t->Data[kCellCounter] > 239) {
            Beep();
            return false;
        }
    }
    if (line->Capacity() < line->Length + 4) GrowLine(line, line->Length + 10);
    if (pos < 0) pos = 0;
    if (pos < line->Length) {
        std::memmove(&line->Chars[pos + 1], &line->Chars[pos], static_cast<size_t>(line->Length - pos + 1));
        if (line->HasCells())
            std::memmove(&line->Cells[pos + 1], &line->Cells[pos], sizeof(TAttrCell) * (line->Length - pos));
    } else {
        pos = line->Length;
    }
    line->Chars[pos] = ch;
    if (line->HasCells()) line->Cells[pos] = CurrentCell;
    ++line->Length;
    line->Chars[line->Length] = 0;
    line->LineFlags |= lfChanged;
    p->MarkDirty();
    return true;
}

bool TZrtRTFText::DeleteChar(TParagraph* p, TTextLine* line, int pos) {
    if (pos < 0) pos = 0;
    if (pos < line->Length) {
        if (line->Chars[pos] == 1 && line->HasCells() && (line->Cells[pos].Flags & afObject)) {
            if (TObjectRef* ref = FindObjectRef(line->Cells[pos].Number)) {
                ref->Used = false;
                if (ref->Object) ref->Object->PlaceholderDeleted();
            }
        }
        std::memmove(&line->Chars[pos], &line->Chars[pos + 1], static_cast<size_t>(line->Length - pos));
        if (line->HasCells())
            std::memmove(&line->Cells[pos], &line->Cells[pos + 1], sizeof(TAttrCell) * (line->Length - pos - 1));
        --line->Length;
        line->Chars[line->Length] = 0;
        line->LineFlags |= lfChanged;
        p->MarkDirty();
        return true;
    }
    if (line->Next) {
        TTextLine* next = line->Next;
        const int joint = line->Length + next->Length;
        if (line->Capacity() < joint + 1) GrowLine(line, joint + 30);
        const int take = next->Length > 0 ? next->Length - 1 : 0;
        if (take > 0) {
            std::memcpy(&line->Chars[line->Length], &next->Chars[1], static_cast<size_t>(take));
            if (line->HasCells() && next->HasCells())
                std::memcpy(&line->Cells[line->Length], &next->Cells[1], sizeof(TAttrCell) * take);
        }
        line->Length = static_cast<uint16_t>(line->Length + take);
        line->Chars[line->Length] = 0;
        if (CurLine == next) {
            CurLine = line;
            CurPos = line->Length;
        }
        DeleteLine(p, next);
        p->MarkDirty();
        return true;
    }
    TParagraph* next = p->Next;
    if (!next) return false;
    if (!next->IsCell()) {
        if (p->IsCell()) return false;
        TTextLine* first = next->FirstLine;
        line->Next = first;
        first->Prev = line;
        next->FirstLine = nullptr;
        p->Next = next->Next;
        if (next->Next) next->Next->Prev = p;
        if (CurPar == next) CurPar = p;
        FreeParagraph(next);
    } else {
        const bool whole = pos == 0 && line == p->FirstLine && line->Length == 0 && !line->Next;
        p->Outline = next->Outline;
        p->Style = next->Style;
        p->Alignment = next->Alignment;
        p->ParFlags = next->ParFlags;
        p->Shading = next->Shading;
        p->ShadingPercent = next->ShadingPercent;
        p->Borders = next->Borders;
        p->Tabs = next->Tabs;
        p->SpaceBefore = next->SpaceBefore;
        p->LineSpacing = next->LineSpacing;
        p->SpaceAfter = next->SpaceAfter;
        if (whole) {
            p->FirstIndent = next->FirstIndent;
            p->LeftIndent = next->LeftIndent;
            p->RightIndent = next->RightIndent;
        }
        if (!p->Objects) {
            p->Objects = next->Objects;
            next->Objects = nullptr;
        }
        TTextLine* first = next->FirstLine;
        line->Next = first;
        first->Prev = line;
        next->FirstLine = nullptr;
        p->Next = next->Next;
        if (next->Next) next->Next->Prev = p;
        if (CurPar == next) CurPar = p;
        FreeParagraph(next);
    }
    p->MarkDirty();
    return true;
}

bool TZrtRTFText::SplitParagraph(TParagraph* p, TTextLine* line, int pos) {
    pos = std::clamp(pos, 0, static_cast<int>(line->Length));
    if (line->HasCells()) {
        if (pos > 0) line->Cells[pos - 1].Flags &= ~afWrapMark;
        line->Cells[pos].Flags &= ~afWrapMark;
    }
    const int rest = line->Length - pos;
    TParagraph* np = p;
    NewParagraph(np, rest + 30);
    np->ParFlags &= ~pfPageBreak;
    TTextLine* nl = np->FirstLine;
    if (rest > 0) {
        std::memcpy(nl->Chars.data(), &line->Chars[pos], static_cast<size_t>(rest));
        if (nl->HasCells() && line->HasCells())
            std::memcpy(nl->Cells.data(), &line->Cells[pos], sizeof(TAttrCell) * rest);
    } else if (nl->HasCells() && line->HasCells()) {
        nl->Cells[0] = line->Cells[pos];
    }
    nl->Length = static_cast<uint16_t>(rest);
    nl->Chars[rest] = 0;
    line->Length = static_cast<uint16_t>(pos);
    line->Chars[pos] = 0;
    if (line->Next) {
        nl->Next = line->Next;
        line->Next->Prev = nl;
        line->Next = nullptr;
    }
    p->MarkDirty();
    np->MarkDirty();
    return true;
}

bool TZrtRTFText::InsertChain(TParagraph*& p, TTextLine*& line, TParagraph* chain, int& pos) {
    if (!chain) return false;
    if (!p) {
        Body = chain;
        p = chain;
        line = chain->FirstLine;
        pos = 0;
        return true;
    }
    if (p->IsCell()) return false;
    if (chain->IsCell() && (p->FirstLine->Length > 0 || p->FirstLine->Next || p->Next)) {
        SplitParagraph(p, line, pos);
        p = p->Next;
        line = p->FirstLine;
        pos = 0;
        if (p->IsCell()) return false;
    }
    pos = std::clamp(pos, 0, static_cast<int>(line->Length));
    const bool atStart = pos == 0 && line == p->FirstLine;
    // Split the target line; the tail goes to a node of its own.
    const int tailLen = line->Length - pos;
    TTextLine* tail = nullptr;
    NewLine(tail, tailLen + 30);
    if (tailLen > 0) {
        std::memcpy(tail->Chars.data(), &line->Chars[pos], static_cast<size_t>(tailLen));
        if (tail->HasCells() && line->HasCells())
            std::memcpy(tail->Cells.data(), &line->Cells[pos], sizeof(TAttrCell) * tailLen);
    }
    tail->Length = static_cast<uint16_t>(tailLen);
    tail->Chars[tailLen] = 0;
    TTextLine* after = line->Next;
    line->Length = static_cast<uint16_t>(pos);
    line->Chars[pos] = 0;
    // Link the chain's first paragraph's lines after the head.
    TTextLine* first = chain->FirstLine;
    TTextLine* firstLast = LastLine(chain);
    line->Next = first;
    first->Prev = line;
    chain->FirstLine = nullptr;
    TParagraph old = *p;
    if (atStart) {
        TParagraph* keepNext = p->Next;
        TParagraph* keepPrev = p->Prev;
        TTextLine* keepFirst = p->FirstLine;
        TParObject* keepObjects = p->Objects;
        uint32_t keepNumber = p->Number;
        *p = *chain;
        p->Next = keepNext;
        p->Prev = keepPrev;
        p->FirstLine = keepFirst;
        p->Number = keepNumber;
        p->Objects = keepObjects;
        if (!keepObjects) {
            p->Objects = chain->Objects;
            chain->Objects = nullptr;
        }
    }
    TParagraph* rest = chain->Next;
    TParagraph* lastPar = p;
    TTextLine* lastLine = firstLast;
    if (rest) {
        TParagraph* oldNext = p->Next;
        p->Next = rest;
        rest->Prev = p;
        lastPar = rest;
        while (lastPar->Next) lastPar = lastPar->Next;
        lastPar->Next = oldNext;
        if (oldNext) oldNext->Prev = lastPar;
        lastLine = LastLine(lastPar);
        // The lines that followed the split line belong to the last paragraph now.
        CopyParagraphAttrs(*lastPar, old);
        lastPar->Tabs = old.Tabs;
    }
    lastLine->Next = tail;
    tail->Prev = lastLine;
    tail->Next = after;
    if (after) after->Prev = tail;
    chain->Next = nullptr;
    FreeParagraph(chain);
    for (TParagraph* q = p; q; q = q->Next) {
        q->MarkDirty();
        if (q == lastPar) break;
    }
    p = lastPar;
    line = tail;
    pos = 0;
    CurPar = p;
    CurLine = tail;
    CurPos = 0;
    return true;
}

int TZrtRTFText::ReplaceRange(TParagraph* p, TTextLine* line, const TAttrCell* cell, int newCount, const char* text,
                              int oldCount, int pos) {
    if (newCount <= 0 && oldCount <= 0) return 0;
    newCount = std::max(newCount, 0);
    oldCount = std::max(oldCount, 0);
    pos = std::clamp(pos, 0, static_cast<int>(line->Length));
    oldCount = std::min(oldCount, line->Length - pos);
    TAttrCell fill = cell ? *cell : (line->HasCells() ? line->Cells[pos] : TAttrCell());
    if (newCount > oldCount) {
        const int diff = newCount - oldCount;
        if (line->Capacity() < line->Length + diff + 1) GrowLine(line, line->Length + diff + 6);
        std::memmove(&line->Chars[pos + newCount], &line->Chars[pos + oldCount],
                     static_cast<size_t>(line->Length - pos - oldCount + 1));
        if (line->HasCells())
            std::memmove(&line->Cells[pos + newCount], &line->Cells[pos + oldCount],
                         sizeof(TAttrCell) * (line->Length - pos - oldCount));
    } else if (newCount < oldCount) {
        if (newCount == 0 && pos + oldCount >= line->Length) {
            line->Length = static_cast<uint16_t>(pos);
            line->Chars[pos] = 0;
            p->MarkDirty();
            return -oldCount;
        }
        std::memmove(&line->Chars[pos + newCount], &line->Chars[pos + oldCount],
                     static_cast<size_t>(line->Length - pos - oldCount + 1));
        if (line->HasCells())
            std::memmove(&line->Cells[pos + newCount], &line->Cells[pos + oldCount],
                         sizeof(TAttrCell) * (line->Length - pos - oldCount));
    }
    for (int i = 0; i < newCount; ++i) {
        line->Chars[pos + i] = text ? text[i] : ' ';
        if (line->HasCells()) line->Cells[pos + i] = fill;
    }
    line->Length = static_cast<uint16_t>(line->Length + newCount - oldCount);
    line->Chars[line->Length] = 0;
    p->MarkDirty();
    return newCount - oldCount;
}

void TZrtRTFText::ReplaceChars(TParagraph* p, TTextLine* line, const std::string& text, int count, int pos) {
    ReplaceRange(p, line, nullptr, static_cast<int>(text.size()), text.data(), count, pos);
}

void TZrtRTFText::InsertString(TParagraph* p, int offset, const TAttrCell* cell, const std::string& text) {
    if (text.empty()) return;
    const int n = static_cast<int>(text.size());
    TTextLine* node = nullptr;
    NewLine(node, n);
    std::memcpy(node->Chars.data(), text.data(), text.size());
    node->Length = static_cast<uint16_t>(n);
    node->Chars[n] = 0;
    if (node->HasCells())
        for (int i = 0; i < n; ++i) node->Cells[i] = cell ? *cell : DefaultCell;
    if (offset <= 0) {
        node->Next = p->FirstLine;
        p->FirstLine->Prev = node;
        p->FirstLine = node;
    } else {
        TTextLine* l = p->FirstLine;
        int start = 0;
        while (l->Next && start + l->Length < offset) {
            start += l->Length;
            l = l->Next;
        }
        const int inside = std::min(offset - start, static_cast<int>(l->Length));
        if (inside < l->Length) {
            // Split the node at the offset.
            const int tailLen = l->Length - inside;
            TTextLine* tail = l;
            NewLine(tail, tailLen);
            std::memcpy(tail->Chars.data(), &l->Chars[inside], static_cast<size_t>(tailLen));
            if (tail->HasCells() && l->HasCells())
                std::memcpy(tail->Cells.data(), &l->Cells[inside], sizeof(TAttrCell) * tailLen);
            tail->Length = static_cast<uint16_t>(tailLen);
            tail->Chars[tailLen] = 0;
            l->Length = static_cast<uint16_t>(inside);
            l->Chars[inside] = 0;
        }
        node->Next = l->Next;
        node->Prev = l;
        if (l->Next) l->Next->Prev = node;
        l->Next = node;
    }
    p->MarkDirty();
}

void TZrtRTFText::DeleteRange(TParagraph* p, int offset, int count) {
    if (offset < 0) {
        count += offset;
        offset = 0;
    }
    if (count < 1) return;
    int start = 0;
    for (TTextLine* l = p->FirstLine; l && count > 0; l = l->Next) {
        if (offset < start + l->Length) {
            const int from = offset - start;
            const int n = std::min(count, l->Length - from);
            std::memmove(&l->Chars[from], &l->Chars[from + n], static_cast<size_t>(l->Length - from - n + 1));
            if (l->HasCells())
                std::memmove(&l->Cells[from], &l->Cells[from + n], sizeof(TAttrCell) * (l->Length - from - n));
            l->Length = static_cast<uint16_t>(l->Length - n);
            l->Chars[l->Length] = 0;
            count -= n;
        }
        start += l->Length;
    }
    p->MarkDirty();
}

// ---- paragraph-level access ----------------------------------------------------------------------

int TZrtRTFText::ParagraphCount() const {
    if (!Body) return 0;
    if (!Body->Next && Body->FirstLine->Length == 0 && !Body->FirstLine->Next) return 0;
    int n = 0;
    for (TParagraph* p = Body; p; p = p->Next) ++n;
    return n;
}

TParagraph* TZrtRTFText::ParagraphAt(int index) const {
    TParagraph* p = Body;
    for (int i = 0; p && i < index; ++i) p = p->Next;
    return p;
}

std::string TZrtRTFText::GetParagraphText(int index) const {
    std::string s;
    if (index < 0) return s;
    TParagraph* p = ParagraphAt(index);
    if (!p) return s;
    for (TTextLine* l = p->FirstLine; l; l = l->Next) s.append(l->Chars.data(), l->Length);
    return s;
}

int TZrtRTFText::ParagraphLength(int index) const {
    TParagraph* p = index >= 0 ? ParagraphAt(index) : nullptr;
    int n = 0;
    for (TTextLine* l = p ? p->FirstLine : nullptr; l; l = l->Next) n += l->Length;
    return n;
}

void TZrtRTFText::SetParagraphText(int index, const std::string& text, const TAttrCell* cell) {
    TParagraph* p = index >= 0 ? ParagraphAt(index) : Body;
    if (!p) {
        p = Body;
        while (p->Next) p = p->Next;
    }
    while (p->FirstLine->Next) DeleteLine(p, p->FirstLine->Next);
    TTextLine* l = p->FirstLine;
    if (l->HasCells()) l->Cells[0] = CurrentCell;
    if (CurLine && CurPar == p) CurLine = l, CurPos = 0;
    ReplaceRange(p, l, cell ? cell : &CurrentCell, static_cast<int>(text.size()), text.data(), l->Length, 0);
    p->MarkDirty();
    Reformat(true);
}

void TZrtRTFText::InsertParagraph(int index, const std::string& text, const TAttrCell* cell) {
    if (index <= 0 && ParagraphCount() == 0) {
        SetParagraphText(0, text, cell);
        return;
    }
    if (index <= 0) {
        TParagraph* np = nullptr;
        NewParagraph(np, static_cast<int>(text.size()) + 4);
        CopyParagraphAttrs(*np, *Body);
        np->Next = Body;
        Body->Prev = np;
        Body = np;
        SetParagraphText(0, text, cell);
        return;
    }
    TParagraph* p = ParagraphAt(index);
    if (!p) {
        p = Body;
        while (p->Next) p = p->Next;
    }
    TParagraph* np = p;
    NewParagraph(np, static_cast<int>(text.size()) + 4);
    np->ParFlags &= ~pfPageBreak;
    SetParagraphText(ParagraphIndexOf(Body, np) - 1, text, cell);
}

void TZrtRTFText::DeleteParagraph(int index) {
    TParagraph* p = ParagraphAt(index);
    if (!p) return;
    // Deleting every line makes the paragraph disappear (or leaves the only one empty).
    while (p->FirstLine->Next) DeleteLine(p, p->FirstLine->Next);
    if (!p->Prev && !p->Next) {
        DeleteLine(p, p->FirstLine);
    } else if (!p->Prev) {
        TParagraph* next = p->Next;
        next->Prev = nullptr;
        Body = next;
        if (CurPar == p) CurPar = next, CurLine = next->FirstLine, CurPos = 0;
        DeleteParagraphRecord(p);
        Body = next;
    } else {
        TParagraph* prev = p->Prev;
        if (CurPar == p) CurPar = prev, CurLine = LastLine(prev), CurPos = CurLine->Length;
        DeleteParagraphRecord(p);
    }
    Reformat(true);
}

bool TZrtRTFText::MarkByAttr(uint32_t codes) {
    if (!Header->rich || marking_) return false;
    marking_ = true;
    bool any = false;
    for (TParagraph* p = Body; p; p = p->Next) {
        bool mark = false;
        for (TTextLine* l = p->FirstLine; l && !mark; l = l->Next) {
            if (!l->HasCells()) continue;
            for (int i = 0; i < l->Length && !mark; ++i) {
                const uint32_t f = l->Cells[i].Flags;
                mark = ((f & afInsertPoint) && (codes & 0x800)) || ((f & afAutomatic) && (codes & 0x1000)) ||
                       ((f & afHyperlink) && (codes & 0x10));
            }
        }
        if (mark) {
            p->MarkDirty();
            any = true;
        }
    }
    marking_ = false;
    return any;
}

void TZrtRTFText::SetMemoryFormat(int format) {
    if (format == 0) {
        const bool hasText = ParagraphCount() > 0;
        if (Header->rich || !hasText || clearing_) {
            Header->rich = true;
            if (!hasText) {
                for (TParagraph* p = Body; p; p = p->Next)
                    for (TTextLine* l = p->FirstLine; l; l = l->Next)
                        if (!l->HasCells()) l->Cells.assign(l->Chars.size(), CurrentCell);
            }
            return;
        }
        if (CurrentCell.Size == 0) CurrentCell.Size = 10;
        for (TParagraph* p = Body; p; p = p->Next) {
            for (TTextLine* l = p->FirstLine; l; l = l->Next) {
                l->Cells.assign(l->Chars.size(), CurrentCell);
                for (int i = 0; i < l->Length; ++i)
                    l->Cells[i].Width = WidthTable[static_cast<unsigned char>(l->Chars[i])];
                l->Height = CurrentCell.Height;
                l->Ascent = CurrentCell.Ascent;
            }
            p->MarkDirty();
        }
        Header->rich = true;
    } else {
        for (TParagraph* p = Body; p; p = p->Next) {
            for (TTextLine* l = p->FirstLine; l; l = l->Next) {
                l->Cells.clear();
                l->Cells.shrink_to_fit();
                l->Height = static_cast<uint16_t>(PlainLineHeight);
                l->Ascent = static_cast<uint16_t>(PlainAscent);
            }
            p->MarkDirty();
        }
        Header->rich = false;
    }
    Reformat(true);
}

void TZrtRTFText::PurgeTabs() {
    uint64_t used = 0;
    for (TParagraph* p = Body; p; p = p->Next) used |= p->Tabs;
    uint64_t all = 0;
    for (int i = 0; i < kTabCount; ++i)
        if (Header->TabPos[i] != 0) all |= uint64_t(1) << i;
    if ((all & ~used) == 0) return;
    for (int i = 0; i < kTabCount; ++i) {
        if ((all >> i & 1) && !(used >> i & 1)) {
            Header->TabPos[i] = 0;
            Header->TabPixelPos[i] = 0;
        }
    }
}

std::string TZrtRTFText::NumberText(int style, int n) {
    switch (style) {
        case 1: return std::string(1, kBulletChar);
        case 2:
        case 3: {
            int m = n % 702;
            if (m <= 0) m = 702;
            std::string s;
            if (m <= 26) {
                s += static_cast<char>('a' + m - 1);
            } else {
                m -= 27;
                s += static_cast<char>('a' + m / 26);
                s += static_cast<char>('a' + m % 26);
            }
            if (style == 2)
                for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return s + ")";
        }
        case 4:
        case 5: {
            static const char* const units[] = {"", "i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix"};
            int m = n % 100;
            if (m < 0) m = -m;
            std::string s(static_cast<size_t>(m / 50), 'l');
            m %= 50;
            s.append(static_cast<size_t>(m / 10), 'x');
            s += units[m % 10];
            if (style == 4)
                for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return s + ".";
        }
        case 6: return std::to_string(n) + ".";
        default: return {};
    }
}

// ---- footnotes -----------------------------------------------------------------------------------

TFootnote* TZrtRTFText::AddFootnote(char mark, int32_t value, const std::string& text) {
    uint16_t number = 0;
    for (auto& f : Footnotes) number = std::max(number, f->Number);
    auto f = std::make_unique<TFootnote>();
    f->Mark = mark;
    f->Value = value;
    f->Text = text;
    f->Number = static_cast<uint16_t>(number + 1);
    Footnotes.push_back(std::move(f));
    return Footnotes.back().get();
}

TFootnote* TZrtRTFText::FindFootnote(int number) {
    if (number == 0) return nullptr;
    for (auto& f : Footnotes)
        if (f->Number == number) return f.get();
    return nullptr;
}

void TZrtRTFText::ClearFootnotes() { Footnotes.clear(); }

// ---- object references ---------------------------------------------------------------------------

TObjectRef* TZrtRTFText::AddObjectRef(TZrtObject* object) {
    uint16_t number = 0;
    for (auto& r : ObjectRefs) number = std::max(number, r->Number);
    auto r = std::make_unique<TObjectRef>();
    r->Number = static_cast<uint16_t>(number + 1);
    r->Object = object;
    if (object) {
        r->Width = object->WidthTW();
        r->Height = object->HeightTW();
        if (!object->Reference) object->Reference = r.get();
        object->OwnerDocument = this;
    }
    ObjectRefs.push_back(std::move(r));
    return ObjectRefs.back().get();
}

TObjectRef* TZrtRTFText::FindObjectRef(int number) {
    if (number == 0) return nullptr;
    for (auto& r : ObjectRefs)
        if (r->Number == number) return r.get();
    return nullptr;
}

TObjectRef* TZrtRTFText::FindObjectByName(const std::string& name) {
    for (auto& r : ObjectRefs)
        if (r->Object && SameText(r->Object->ObjName(), name)) return r.get();
    return nullptr;
}

void TZrtRTFText::DeleteObjectRef(int number) {
    for (auto it = ObjectRefs.begin(); it != ObjectRefs.end(); ++it) {
        if ((*it)->Number != number) continue;
        if ((*it)->Object) ReleaseObject((*it)->Object);
        ObjectRefs.erase(it);
        return;
    }
}

void TZrtRTFText::ReleaseObject(TZrtObject* object) {
    if (!object) return;
    int refs = 0;
    for (auto& r : ObjectRefs)
        if (r->Object == object) ++refs;
    if (refs > 1) return;
    for (auto& r : ObjectRefs)
        if (r->Object == object) r->Object = nullptr;
    object->Reference = nullptr;
    object->Free();
}

void TZrtRTFText::ClearObjectMarks() {
    for (auto& r : ObjectRefs) r->Used = false;
}

void TZrtRTFText::PurgeObjectRefs() {
    for (size_t i = 0; i < ObjectRefs.size();) {
        TObjectRef* r = ObjectRefs[i].get();
        if (r->Used || r->Mode == 1 || r->Mode == 2) {
            ++i;
            continue;
        }
        TZrtObject* object = r->Object;
        r->Object = nullptr;
        ObjectRefs.erase(ObjectRefs.begin() + static_cast<std::ptrdiff_t>(i));
        if (object) {
            bool shared = false;
            for (auto& other : ObjectRefs)
                if (other->Object == object) shared = true;
            if (!shared) {
                object->Reference = nullptr;
                object->Free();
            }
        }
    }
}

void TZrtRTFText::ShiftObjectAnchors(int from, bool up) {
    for (auto& r : ObjectRefs)
        if (r->Mode == 1 && r->AnchorPar >= from) r->AnchorPar += up ? 1 : -1;
}

// ---- clear ---------------------------------------------------------------------------------------

void TZrtRTFText::Clear() {
    if (clearing_) return;
    clearing_ = true;
    try {
        TableDefs.Clear();
        InsertPointNames.Clear();
        Styles.Clear();
        FreeChain(Body);
        FreeChain(HeaderText);
        FreeChain(FooterText);
        Body = HeaderText = FooterText = nullptr;
        CurPar = nullptr;
        CurLine = nullptr;
        std::string font0 = Header->FontNames[CurrentCell.FontIndex % kFontCount];
        if (font0.empty()) font0 = "Arial";
        Header->FontNames[0] = font0;
        CurrentCell.FontIndex = 0;
        if (CurrentCell.Size == 0) CurrentCell.Size = 10;
    } catch (...) {
    }
    DefaultCell = TAttrCell();
    DefaultCell.Size = 10;
    Header->Reset();
    Bookmarks.Clear();
    ClearObjectMarks();
    PurgeObjectRefs();
    ClearFootnotes();
    NewBody(100);
    Body->MarkDirty();
    clearing_ = false;
    Reformat(true);
}

}  // namespace rt
