// Vertical placement: line heights from cells and paragraph spacing, page breaks with keep-together
// paragraphs, table rows padded to the height of their tallest cell, and paragraph numbers.
#include <algorithm>
#include <climits>

#include "richtext/text_io.h"

namespace rt {

int TZrtRTFTextIo::TwipsToPixels(int twips) const { return MulDiv(twips, Header->VertResolution, 1440); }

bool TZrtRTFTextIo::LineMetrics(TParagraph* paragraph, TTextLine* line) {
    int h = 0, a = 0;
    bool keep = false;
    if (Header->rich && line->HasCells()) {
        for (int i = 0; i < line->Length; ++i) {
            const TAttrCell& c = line->Cells[i];
            if (line->Chars[i] == ' ' || (c.Flags & afHidden)) continue;
            if (c.Height > h) {
                h = c.Height;
                a = c.Ascent;
            }
        }
        if (line->Length == 0) {
            if (paragraph->ParCell.Size != 0) {
                h = line->Height;
                a = line->Ascent;
                keep = true;
            } else if (paragraph->IsCell()) {
                h = a = DefaultLineHeight < 0 ? 16 : DefaultLineHeight;
            }
        }
    }
    if (h <= 0) {
        h = PlainLineHeight;
        a = PlainAscent;
    }
    if (paragraph->ParFlags & pfMultiple) {
        if (paragraph->LineSpacing < 240) paragraph->LineSpacing = 240;
        const int c = paragraph->LineSpacing * h / 240;
        if (c > h) {
            a += (c - h) / 2;
            h = c;
        }
    } else {
        const int c = TwipsToPixels(paragraph->LineSpacing);
        if (c > 0 && c > h) {
            a += (c - h) / 2;
            h = c;
        } else if (c < 0) {
            a = std::max(0, a - (h + c) / 2);
            h = -c;
        }
    }
    if (line == paragraph->FirstLine) {
        const int sb = TwipsToPixels(paragraph->SpaceBefore);
        h = std::max(0, h + sb);
        a = std::max(0, a + sb);
    }
    if (!line->Next) h = std::max(0, h + TwipsToPixels(paragraph->SpaceAfter));
    const bool singleEmpty = !paragraph->FirstLine->Next && paragraph->FirstLine->Length == 0;
    if ((paragraph->Borders & brHas) && paragraph->BorderSpace != 0 && !singleEmpty) {
        const int extra = MulDiv(paragraph->BorderSpace * 72, Header->HorzResolution, 1440);
        if (line == paragraph->FirstLine) {
            h += extra;
            a += extra;
        }
        if (!line->Next) h += extra;
    }
    h = std::clamp(h, 0, 65535);
    a = std::clamp(a, 0, 65535);
    const bool changed = h != line->Height || keep;
    line->Height = static_cast<uint16_t>(h);
    line->Ascent = static_cast<uint16_t>(a);
    return changed;
}

void TZrtRTFTextIo::PlaceAnchoredObjects(TParagraph* paragraph, TTextLine* line) {
    for (int i = 0; i < line->Length; ++i) {
        if (line->Chars[i] != 1 || !line->HasCells() || !(line->Cells[i].Flags & afObject)) continue;
        TObjectRef* ref = FindObjectRef(line->Cells[i].Number);
        if (!ref) continue;
        int y = line->Top;
        if (line == paragraph->FirstLine && paragraph->SpaceBefore > 0) y += TwipsToPixels(paragraph->SpaceBefore);
        ref->VertPos = y;
        ref->Used = true;
    }
}

int TZrtRTFTextIo::Paginate(TParagraph* from) {
    if (NoPagination || !Body) return 0;
    const bool limited = from == nullptr;
    const int textHeight =
        limited ? TwipsToPixels(Header->PageHeight - Header->TopMargin - Header->BottomMargin) : INT_MAX;
    TParagraph* start = from ? from : Body;
    int offset = from ? from->FirstLine->Top : 0;
    int pageTop = offset;
    int rowHeight = 0;
    TParagraph* rowFirst = nullptr;
    const int vres = Header->VertResolution == 0 ? 96 : Header->VertResolution;
    for (TParagraph* p = start; p; p = p->Next) {
        if (p->ParFlags & pfPageBreak) pageTop = offset;
        // Repair table flags that do not describe a row.
        bool repaired = false;
        if ((p->ParFlags & pfMoreCells) && (!p->Next || !(p->Next->ParFlags & pfNotFirstCell))) {
            p->ParFlags &= ~(pfMoreCells | pfInTable);
            repaired = true;
        }
        if ((p->ParFlags & pfNotFirstCell) && (!p->Prev || !(p->Prev->ParFlags & pfMoreCells))) {
            p->ParFlags &= ~(pfNotFirstCell | pfInTable);
            repaired = true;
        }
        if ((p->ParFlags & (pfNotFirstCell | pfMoreCells)) && !(p->ParFlags & pfInTable)) {
            p->ParFlags &= ~(pfNotFirstCell | pfMoreCells);
            repaired = true;
        }
        if ((p->ParFlags & pfInTable) && !(p->ParFlags & (pfNotFirstCell | pfMoreCells))) {
            p->ParFlags &= ~pfInTable;
            repaired = true;
        }
        if (repaired) p->SpaceAfter = 0;
        if ((p->ParFlags & pfMoreCells) && !(p->ParFlags & pfNotFirstCell)) {
            rowFirst = p;
            rowHeight = 0;
        }
        if (p->IsCell()) p->SpaceAfter = 0;

        int height = 0;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            l->Top = offset + height;
            if (l->LineFlags & lfHasObjects) PlaceAnchoredObjects(p, l);
            l->LineFlags &= ~lfPageBegin;
            if (p->IsCell()) {
                if (!l->Next) LineMetrics(p, l);
            } else if (l->Top + l->Height - pageTop > textHeight) {
                TTextLine* first = p->FirstLine;
                if ((p->ParFlags & pfKeep) && !(first->LineFlags & lfPageBegin) && pageTop < first->Top) {
                    first->LineFlags |= lfPageBegin;
                    pageTop = first->Top;
                } else {
                    l->LineFlags |= lfPageBegin;
                    pageTop = l->Top;
                }
            }
            height += l->Height;
        }

        if (p->IsCell() && (p->ParFlags & pfMoreCells)) {
            rowHeight = std::max(rowHeight, height);
            p->SpaceAfter = static_cast<int16_t>(std::min(height, 32767));
        } else if (p->IsCell()) {
            if (p->SpaceBefore > 0) rowHeight += TwipsToPixels(p->SpaceBefore);
            rowHeight = std::max(rowHeight, height);
            offset += rowHeight;
            TParagraph* first = rowFirst ? rowFirst : p;
            if (limited && offset - pageTop > textHeight && !(first->FirstLine->LineFlags & lfPageBegin)) {
                first->FirstLine->LineFlags |= lfPageBegin;
                pageTop = first->FirstLine->Top;
            }
            for (TParagraph* r = first; r; r = r->Next) {
                const int own = r == p ? height : r->SpaceAfter;
                const int pad = std::max(0, (rowHeight - own) * 1440 / vres);
                r->SpaceAfter = static_cast<int16_t>(std::min(pad, 32767));
                LineMetrics(r, LastLine(r));
                if (r != p) {
                    for (TParObject* o = r->Objects; o; o = o->Next)
                        if (o->Kind == TParObjectKind::Rect) {
                            o->Top = r->FirstLine->Top;
                            o->Bottom = offset;
                        }
                }
                if (r == p) break;
            }
            rowFirst = nullptr;
            rowHeight = 0;
        } else {
            offset += height;
        }
        for (TParObject* o = p->Objects; o; o = o->Next)
            if (o->Kind == TParObjectKind::Rect) {
                o->Top = p->FirstLine->Top;
                o->Bottom = offset;
            }
    }
    int page = 0;
    uint32_t index = 0;
    TTextLine* last = nullptr;
    for (TParagraph* p = Body; p; p = p->Next) {
        if (p->ParFlags & pfPageBreak) ++page;
        p->Number = index++;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            if (l->LineFlags & lfPageBegin) ++page;
            l->PageNumber = static_cast<uint16_t>(std::min(page, 65535));
            last = l;
        }
    }
    return last ? last->Top + last->Height : 0;
}

}  // namespace rt
