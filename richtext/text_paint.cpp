#include "richtext/text_paint.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/core/exceptions.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

bool SameRun(const TAttrCell& a, const TAttrCell& b) {
    return a.FontIndex == b.FontIndex && a.Size == b.Size && a.Flags == b.Flags;
}

}  // namespace

TZrtRTFTextPaint::TZrtRTFTextPaint(fw::TComponent* owner) : TZrtRTFTextIo(owner) {
    BackColor = ResolveColor(0x80000005u);
}

// ---- device -------------------------------------------------------------------------------------

void TZrtRTFTextPaint::SetCanvas(ICellMetrics* metrics) {
    if (metrics == metrics_) return;
    metrics_ = metrics;
    if (!metrics) {
        options_ = poSuspended;
        return;
    }
    SetupDevice();
}

void TZrtRTFTextPaint::SetupDevice() {
    if (Suspended()) return;
    SetResolution(metrics_->ResolutionX(), metrics_->ResolutionY());
    // The default line height is that of a plain 10-point cell, unzoomed.
    const int zoom = zoom_;
    zoom_ = 100;
    TAttrCell plain;
    plain.Size = 10;
    SelectCellMetrics(&plain);
    zoom_ = zoom;
    DefaultLineHeight = fontHeight_;
    Paginate(nullptr);
}

void TZrtRTFTextPaint::SetResolution(int x, int y) {
    if (x == 0) x = 96;
    x = std::max(1, x * zoom_ / 100);
    y = std::max(1, y * zoom_ / 100);
    const bool changed = x != Header->HorzResolution || y != Header->VertResolution;
    Header->HorzResolution = x;
    Header->VertResolution = y;
    Header->RulerStep = x * 100 / (Header->UsedUnit == TZrtUnit::UnitCm ? 254 : 300);
    Header->RecalcPixels();
    if (changed) ReformatAll();
}

void TZrtRTFTextPaint::SetZoom(int percent) {
    if (percent <= 0 || percent == zoom_) return;
    zoom_ = percent;
    if (metrics_) SetResolution(metrics_->ResolutionX(), metrics_->ResolutionY());
    ReformatAll();
    InvalidateAll();
}

void TZrtRTFTextPaint::SetOptions(uint32_t bits) {
    const bool wasSuspended = options_ & poSuspended;
    options_ = bits;
    if (wasSuspended && !(bits & poSuspended) && metrics_) {
        // The device is read again, from cleared resolutions.
        Header->HorzResolution = Header->VertResolution = 0;
        SetupDevice();
        ReformatAll();
    }
    if (!(bits & poSuspended)) InvalidateAll();
}

void TZrtRTFTextPaint::SetClientWidth(int w) {
    clientWidth_ = w;
    if (wrapToWindow_)
        RecalcTextWidth();
    else
        Paginate(nullptr);
    if (clientWidth_ >= textWidth_ && ScrollX < 0) ScrollX = 0;
}

void TZrtRTFTextPaint::SetWrapToWindow(bool on) {
    wrapToWindow_ = on;
    if (on) ScrollX = 0;
    RecalcTextWidth();
    ReformatAll();
}

void TZrtRTFTextPaint::RecalcTextWidth() {
    const int width = wrapToWindow_ ? clientWidth_ : Header->PrintableWidth;
    if (width == textWidth_) return;
    textWidth_ = width;
    ReformatAll();
}

// ---- fonts --------------------------------------------------------------------------------------

TCellFont TZrtRTFTextPaint::SelectCellFont(const TAttrCell* cellOrNull) {
    const TAttrCell& c = cellOrNull ? *cellOrNull : CurrentCell;
    TCharacterAttr* attr = nullptr;
    if (c.Flags & afInsertPoint)
        attr = &InsertPointAttr;
    else if (c.Flags & afHyperlink)
        attr = &HyperlinkTextAttr;
    else if (c.Flags & afAutomatic)
        attr = &AutomaticTextAttr;
    else if (c.Flags & afProtected)
        attr = &ProtectedTextAttr;
    else if (c.Flags & afBookmark)
        attr = &BookmarkTextAttr;
    TCellFont f;
    if (!(c.Flags & afPaintMark)) {
        f.color = Header->ColorOf(c.TextColor());
        Header->ColorUsed[c.TextColor()] = 1;
        if (attr && attr->UseTextColor()) f.color = ResolveColor(attr->TextColor());
        if (c.BackColor() == 0) {
            f.backColor = BackColor;
        } else {
            f.backColor = Header->ColorOf(c.BackColor());
            Header->ColorUsed[c.BackColor()] = 1;
        }
        if (attr && attr->UseBackgroundColor()) f.backColor = ResolveColor(attr->BackgroundColor());
    }
    if (c.FontIndex > 99) throw fw::Exception(Message(msgInternalError));
    if (c.FontIndex < kMaxFont) f.name = Header->FontNames[c.FontIndex];
    f.bold = c.Flags & afBold;
    f.italic = c.Flags & afItalic;
    f.strikeOut = c.Flags & afStrikeOut;
    f.underline = c.Flags & afUnderline;
    f.superScript = (c.Flags & (afSuperScript | afFootnote)) != 0;
    f.subScript = !f.superScript && (c.Flags & afSubScript);
    f.penColor = f.color;
    if (attr) {
        auto apply = [](TThreeState s, bool& v) {
            if (s == TThreeState::tsTRUE) v = true;
            if (s == TThreeState::tsFALSE) v = false;
        };
        apply(attr->Bold(), f.bold);
        apply(attr->Italic(), f.italic);
        apply(attr->StrikeOut(), f.strikeOut);
        apply(attr->Underline(), f.underline);
        apply(attr->SuperScript(), f.superScript);
        apply(attr->SubScript(), f.subScript);
        if (f.superScript && f.subScript) f.subScript = false;
        if (attr->UseUnderlineColor()) f.penColor = ResolveColor(attr->UnderlineColor());
    }
    const int points = c.Size ? c.Size : 10;
    int pixels = points * Header->VertResolution / 72;
    if ((f.superScript || f.subScript) && pixels > 1) pixels = pixels * 2 / 3;
    if (fontZoom_ != 100) pixels = pixels * fontZoom_ / 100;
    f.height = -pixels;
    return f;
}

void TZrtRTFTextPaint::SelectCellMetrics(const TAttrCell* cell) {
    const TCellFont f = SelectCellFont(cell);
    if (!metrics_) return;
    TFontMetrics m;
    metrics_->Measure(f, m);
    for (int i = 0; i < 256; ++i) WidthTable[i] = m.widths[i];
    if (f.italic) WidthTable[39] = static_cast<uint16_t>(WidthTable[39] * 5 / 4);
    fontHeight_ = m.height + m.externalLeading;
    fontAscent_ = m.ascent;
    PlainLineHeight = fontHeight_;
    PlainAscent = fontAscent_;
}

bool TZrtRTFTextPaint::IsInvisible(const TAttrCell& c) const {
    if ((c.Flags & afInsertPoint) && (HideInsertPoints || InsertPointAttr.Hidden())) return true;
    if ((c.Flags & afAutomatic) && (HideAutomaticText || AutomaticTextAttr.Hidden())) return true;
    if ((c.Flags & afHyperlink) && HyperlinkTextAttr.Hidden()) return true;
    if ((c.Flags & afProtected) && ProtectedTextAttr.Hidden()) return true;
    if ((c.Flags & afBookmark) && BookmarkTextAttr.Hidden()) return true;
    return (c.Flags & afHidden) != 0;
}

// ---- measuring ----------------------------------------------------------------------------------

void TZrtRTFTextPaint::MeasureParagraph(TParagraph* p) {
    if (Suspended()) return;
    for (TParagraph* q = p; q; q = q->Next) {
        for (TTextLine* l = q->FirstLine; l; l = l->Next) {
            int h = 0, a = 0;
            if (!l->HasCells()) {
                SelectCellMetrics(nullptr);
                l->Height = static_cast<uint16_t>(fontHeight_);
                l->Ascent = static_cast<uint16_t>(fontAscent_);
                continue;
            }
            SelectCellMetrics(&l->Cells[0]);
            for (int i = 0; i < l->Length; ++i) {
                TAttrCell& c = l->Cells[i];
                if (c.Size == 0) c.Size = 10;
                if (i > 0 && !SameRun(c, l->Cells[i - 1])) SelectCellMetrics(&c);
                const char ch = l->Chars[i];
                if (ch == 0) break;
                if (IsInvisible(c)) {
                    c.Width = c.Height = c.Ascent = 0;
                } else if ((c.Flags & afObject) && ch == 1) {
                    TObjectRef* ref = FindObjectRef(c.Number);
                    if (!ref) {
                        c.Width = 0;
                        c.Height = static_cast<uint16_t>(fontHeight_);
                        c.Ascent = static_cast<uint16_t>(fontAscent_);
                    } else if (auto* field = dynamic_cast<TZrtObjectField*>(ref->Object)) {
                        int w = 0;
                        for (unsigned char t : field->GetFieldText(1, 1)) w += WidthTable[t];
                        c.Width = static_cast<uint16_t>(w);
                        c.Height = static_cast<uint16_t>(fontHeight_);
                        c.Ascent = static_cast<uint16_t>(fontAscent_);
                    } else {
                        const int height = ToTarget(PxY(ref->Height));
                        c.Width = static_cast<uint16_t>(std::max(0, ToTarget(PxX(ref->Width))));
                        c.Height = static_cast<uint16_t>(std::max(0, height + 1));
                        c.Ascent = static_cast<uint16_t>(std::max(0, height - 4));
                    }
                } else {
                    c.Width = static_cast<uint16_t>(std::max(1, static_cast<int>(WidthTable[static_cast<unsigned char>(ch)])));
                    c.Height = static_cast<uint16_t>(std::max(1, fontHeight_));
                    c.Ascent = static_cast<uint16_t>(std::max(1, fontAscent_));
                }
                h = std::max(h, static_cast<int>(c.Height));
                a = std::max(a, static_cast<int>(c.Ascent));
            }
            if (l->Length == 0 && !l->Prev && !l->Next && q->Prev) {
                h = q->ParCell.Height;
                a = q->ParCell.Ascent;
            } else {
                h = std::max(h, fontHeight_);
                a = std::max(a, fontAscent_);
            }
            l->Height = static_cast<uint16_t>(h);
            l->Ascent = static_cast<uint16_t>(a);
        }
        for (TTextLine* l = q->FirstLine; l; l = l->Next) LineMetrics(q, l);
        q->MarkDirty();
        // The next paragraph is measured too when it is a single empty line (once).
        if (q != p || !q->Next || q->Next->FirstLine->Next || q->Next->FirstLine->Length != 0) break;
    }
}

// ---- geometry -----------------------------------------------------------------------------------

int TZrtRTFTextPaint::ParLeft(TParagraph* p, bool inner) const {
    int left = ClientLeft;
    if (p->IsCell()) {
        auto* self = const_cast<TZrtRTFTextPaint*>(this);
        TParObject* t = self->ParTable(p);
        TTableDef def;
        TableDefs.GetRecord(t->Key, def);
        const int allowance = def.LeftOffset + def.Gap;
        const int twips = Header->HorzResolution ? textWidth_ * 1440 / Header->HorzResolution : 0;
        left = std::max(0, ClientLeft + PxX(t->Data[kCellStart] * (twips - allowance) / 255 + def.LeftOffset));
    }
    if (!inner && (p->Borders & brHas) && p->BorderSpace) left += PxX(p->BorderSpace * 72);
    return left;
}

int TZrtRTFTextPaint::ParRight(TParagraph* p, bool inner) const {
    int right = ClientLeft + textWidth_;
    if (p->IsCell()) {
        auto* self = const_cast<TZrtRTFTextPaint*>(this);
        TParObject* t = self->ParTable(p);
        TTableDef def;
        TableDefs.GetRecord(t->Key, def);
        const int allowance = def.LeftOffset + def.Gap;
        const int twips = Header->HorzResolution ? textWidth_ * 1440 / Header->HorzResolution : 0;
        right = std::max(0, ClientLeft + PxX((t->Data[kCellStart] + t->Data[kCellWidth]) * (twips - allowance) / 255 +
                                             def.LeftOffset));
    }
    if (!inner && (p->Borders & brHas) && p->BorderSpace) right -= PxX(p->BorderSpace * 72);
    return right;
}

int TZrtRTFTextPaint::LineIndent(TParagraph* p, TTextLine* line) const {
    return PxX(line == p->FirstLine ? p->FirstIndent + p->LeftIndent : p->LeftIndent);
}

int TZrtRTFTextPaint::RightIndentPx(TParagraph* p) const { return PxX(p->RightIndent); }

int TZrtRTFTextPaint::LineTextWidth(TTextLine* line) const {
    int end = line->Length;
    while (end > 0 && line->Chars[end - 1] == ' ') --end;
    int w = 0;
    for (int i = 0; i < end; ++i)
        w += line->HasCells() ? line->Cells[i].Width : WidthTable[static_cast<unsigned char>(line->Chars[i])];
    return w;
}

int TZrtRTFTextPaint::LineFreeWidth(TParagraph* p, TTextLine* line) const {
    return ParRight(p, false) - ParLeft(p, false) - LineTextWidth(line) - RightIndentPx(p) - LineIndent(p, line);
}

int TZrtRTFTextPaint::Advance(TParagraph* p, TTextLine* line, int i, int x, int& justified) const {
    const char ch = line->Chars[i];
    const bool stretch = ch == ' ' && line->SpaceWidth != 0 && i >= line->LineWidth;
    int w;
    if (stretch) {
        w = line->SpaceWidth + (justified < line->SpaceRemainder ? 1 : 0);
        ++justified;
    } else if (line->HasCells()) {
        w = line->Cells[i].Width;
    } else if (ch == '\t' && (p->Alignment == 0 || p->Alignment == 3)) {
        w = NextTabStop(p, line, x, i) - x;
    } else {
        w = WidthTable[static_cast<unsigned char>(ch)];
    }
    return std::max(0, w);
}

int TZrtRTFTextPaint::CharX(TParagraph* p, TTextLine* line, int index) const {
    int x = LineIndent(p, line) + ParLeft(p, false);
    const int free = LineFreeWidth(p, line);
    if (p->Alignment == 1 && free > 1) x += free / 2;
    if (p->Alignment == 2 && free > 0) x += free;
    if ((p->Alignment == 0 || p->Alignment == 3) && x == 0) x = 1;
    int justified = 0;
    for (int i = 0; i < index && i < line->Length; ++i) x += Advance(p, line, i, x, justified);
    return x;
}

int TZrtRTFTextPaint::CharAtX(TParagraph* p, TTextLine* line, int x) const {
    int run = CharX(p, line, 0);
    int justified = 0;
    for (int i = 0; i < line->Length; ++i) {
        const int w = Advance(p, line, i, run, justified);
        if (run + w > x) return i;
        run += w;
    }
    return line->Length;
}

int TZrtRTFTextPaint::NextTabStop(TParagraph* p, TTextLine* line, int x, int index) const {
    const int left = ParLeft(p, false);
    const TTextHeader& h = *Header;
    int stop = -1;
    for (int o = 0; o < kTabCount; ++o) {
        const int i = h.TabOrder[o];
        if (h.TabPos[i] == 0 || !(p->Tabs >> i & 1)) continue;
        if (x < h.TabPixelPos[i] + left) {
            stop = i;
            break;
        }
    }
    if (stop < 0) {
        const int d = h.RulerStep;
        return d > 0 ? x + d - (x + d) % d : 0;
    }
    const int stopX = h.TabPixelPos[stop] + left;
    if (stopX > ParRight(p, false) - RightIndentPx(p)) return x;
    const int kind = h.TabKind[stop];
    if (kind == 0 || kind == 4) return stopX;
    auto width = [&](TTextLine* l, int k) {
        return l->HasCells() ? l->Cells[k].Width : WidthTable[static_cast<unsigned char>(l->Chars[k])];
    };
    int w = 0;
    if (kind == 2) {
        for (int k = index + 1; k < line->Length && line->Chars[k] != '\t'; ++k) {
            w += width(line, k);
            if (w >= 2 * (stopX - x)) break;
        }
        return stopX - w / 2;
    }
    bool done = false;
    int k = index + 1;
    for (TTextLine* l = line; l && !done; l = l->Next, k = 0) {
        for (; k < l->Length; ++k) {
            const char ch = l->Chars[k];
            if (ch == '\t' || (kind == 3 && (ch == h.DecimalTabChar || ch == ')' || ch == '>' || ch == ']' || ch == '}'))) {
                done = true;
                break;
            }
            w += width(l, k);
        }
    }
    return stopX - w < x ? x : stopX - w;
}

// ---- wrapping -----------------------------------------------------------------------------------

void TZrtRTFTextPaint::WrapParagraph(TParagraph* p, bool compare, int& change) {
    change = 0;
    if (Suspended()) return;
    const bool rich = p->FirstLine->HasCells();
    // The text as one run of characters; the positions that point into it as offsets.
    std::vector<char> chars;
    std::vector<TAttrCell> cells;
    int cursor = -1, selStart = -1, selEnd = -1;
    bool anySelected = false;
    std::vector<TTextLine*> old;
    for (TTextLine* l = p->FirstLine; l; l = l->Next) {
        // Positions are found by their line: a line may have moved here from another paragraph.
        const int base = static_cast<int>(chars.size());
        if (CurLine == l) cursor = base + CurPos;
        if (SelStartLine == l) selStart = base + SelStartPos;
        if (SelEndLine == l) selEnd = base + SelEndPos;
        anySelected = anySelected || l->SelState == 2 || l->SelState == 3;
        chars.insert(chars.end(), l->Chars.begin(), l->Chars.begin() + l->Length);
        if (rich) cells.insert(cells.end(), l->Cells.begin(), l->Cells.begin() + l->Length);
        old.push_back(l);
    }
    const int total = static_cast<int>(chars.size());
    const bool spaceAlign = p->Alignment == 1 || p->Alignment == 2;
    auto widthOf = [&](int k) { return rich ? cells[k].Width : WidthTable[static_cast<unsigned char>(chars[k])]; };

    TTextLine* first = nullptr;
    TTextLine* last = nullptr;
    std::vector<std::pair<TTextLine*, int>> starts;  // new line and its first offset
    int index = 0;
    do {
        const bool isFirst = first == nullptr;
        const int left = PxX(isFirst ? p->FirstIndent + p->LeftIndent : p->LeftIndent) + ParLeft(p, false);
        int available = ParRight(p, false) - RightIndentPx(p) - left;
        if (available < 1) available = 16;
        int x = 0;
        int spaces = 0;
        int lastSpace = -1, xBeforeSpace = 0;
        int lastTab = -1;
        int k = index;
        bool full = false;
        for (; k < total; ++k) {
            const char ch = chars[k];
            if (ch == 0) break;
            int w = widthOf(k);
            if (rich && (cells[k].Flags & afHidden)) w = 0;
            const bool tab = ch == '\t';
            if (tab && !spaceAlign) {
                // A tab reaches the next stop; its width is kept in its cell.
                TTextLine view;
                view.Chars.assign(chars.begin() + index, chars.end());
                if (rich) view.Cells.assign(cells.begin() + index, cells.end());
                view.Length = static_cast<uint16_t>(std::min(total - index, 65535));
                const int next = NextTabStop(p, &view, left + x, k - index);
                w = std::max(0, next - (left + x));
                if (rich) cells[k].Width = static_cast<uint16_t>(w);
            }
            if (x + w >= available && ch != ' ' && !tab) {
                full = true;
                break;
            }
            if (ch == ' ' || (tab && spaceAlign)) {
                if (k - index >= 2) {
                    lastSpace = k + 1;
                    xBeforeSpace = x;
                }
                ++spaces;
            } else if (tab) {
                if (k - index >= 2) lastTab = k + 1;
                spaces = 0;
                lastSpace = -1;
            }
            x += w;
            if (ch == 10) {
                ++k;
                break;
            }
        }
        int end = k;
        int lineWidth = x;
        if (full) {
            if (lastSpace > 0) {
                end = lastSpace;
                lineWidth = xBeforeSpace;
            } else if (lastTab > 0) {
                end = lastTab;
                int w = 0;
                for (int j = index; j < end; ++j) w += widthOf(j);
                lineWidth = w;
            }
        }
        if (end <= index) end = std::min(total, index + 1);  // a line holds at least one character
        if (end < index + 1 && total == 0) end = 0;
        const int count = std::max(0, end - index);
        TTextLine* line = nullptr;
        NewLine(line, count);
        if (count > 0) std::memcpy(line->Chars.data(), chars.data() + index, static_cast<size_t>(count));
        if (rich) {
            if (line->Cells.empty()) line->Cells.assign(line->Chars.size(), TAttrCell());
            if (count > 0) std::memcpy(line->Cells.data(), cells.data() + index, sizeof(TAttrCell) * count);
            else if (!old.empty() && old.front()->HasCells()) line->Cells[0] = old.front()->Cells[0];
        } else {
            line->Cells.clear();
        }
        line->Length = static_cast<uint16_t>(count);
        line->Chars[count] = 0;
        // Objects in line remember their x.
        int ox = left;
        for (int j = 0; j < count && rich; ++j) {
            if (line->Chars[j] == 1 && (line->Cells[j].Flags & afObject)) {
                if (TObjectRef* ref = FindObjectRef(line->Cells[j].Number)) ref->X = ox;
                line->LineFlags |= lfHasObjects;
            }
            ox += line->Cells[j].Width;
        }
        const bool lastOfParagraph = end >= total;
        int justifySpaces = 0, justifyWidth = 0, justifyFrom = 0;
        for (int j = index; j < end; ++j) {
            if (chars[j] == '\t') {
                justifySpaces = justifyWidth = 0;
                justifyFrom = j + 1 - index;
            } else if (chars[j] == ' ') {
                ++justifySpaces;
                justifyWidth += widthOf(j);
            }
        }
        if (p->Alignment == 3 && (!lastOfParagraph || (p->ParFlags & pfPartial)) && justifySpaces >= 2) {
            const int extra = justifyWidth + available - lineWidth - 3;
            line->LineWidth = static_cast<uint16_t>(justifyFrom);
            line->SpaceWidth = static_cast<uint16_t>(std::max(0, extra / (justifySpaces - 1)));
            line->SpaceRemainder = static_cast<uint16_t>(std::max(0, extra % (justifySpaces - 1)));
        } else {
            line->LineWidth = static_cast<uint16_t>(std::max(0, lineWidth));
            line->SpaceWidth = 0;
            line->SpaceRemainder = 0;
        }
        if (anySelected && selStart < 0 && selEnd < 0) line->SelState = 3;
        if (!first) {
            first = line;
        } else {
            last->Next = line;
            line->Prev = last;
        }
        last = line;
        starts.push_back({line, index});
        index = end;
    } while (index < total);

    // Map the remembered offsets onto the new lines.
    auto map = [&](int offset, TTextLine*& line, int& pos) {
        if (offset < 0) return;
        for (size_t i = 0; i < starts.size(); ++i) {
            const int begin = starts[i].second;
            const int end = begin + starts[i].first->Length;
            const bool lastLine = i + 1 == starts.size();
            if (offset < end || (offset == end && lastLine)) {
                line = starts[i].first;
                pos = std::clamp(offset - begin, 0, static_cast<int>(line->Length));
                return;
            }
        }
        line = starts.back().first;
        pos = line->Length;
    };
    map(cursor, CurLine, CurPos);
    map(selStart, SelStartLine, SelStartPos);
    map(selEnd, SelEndLine, SelEndPos);
    if (cursor >= 0) CurPar = p;
    if (selStart >= 0) SelStartPar = p;
    if (selEnd >= 0) SelEndPar = p;

    int top = old.front()->Top;
    for (TTextLine* l = first; l; l = l->Next) {
        l->Top = top;
        p->FirstLine = first;
        LineMetrics(p, l);
        top += l->Height;
    }
    if (compare) {
        int oldTotal = 0, newTotal = 0;
        for (TTextLine* l : old) oldTotal += l->Height;
        for (TTextLine* l = first; l; l = l->Next) newTotal += l->Height;
        if (oldTotal != newTotal || old.front()->Height != first->Height) change = 3;
        size_t i = 0;
        for (TTextLine* l = first; l; l = l->Next, ++i) {
            if (i >= old.size()) {
                change = std::max(change, 2);
                continue;
            }
            TTextLine* o = old[i];
            if (o->Height != l->Height) change = std::max(change, 2);
            // An edited old line (InsertChar and DeleteChar mark it) is painted again in any case.
            bool differs = (o->LineFlags & lfChanged) || o->Length != l->Length || o->SpaceWidth != l->SpaceWidth;
            for (int j = 0; !differs && j < l->Length; ++j)
                differs = o->Chars[j] != l->Chars[j] || (o->HasCells() && l->HasCells() && o->Cells[j].Width != l->Cells[j].Width);
            if (differs) {
                l->LineFlags |= lfChanged;
                change = std::max(change, 1);
            }
        }
    }
    p->FirstLine = first;
    for (TTextLine* l : old) FreeLine(l);
}

// ---- passes -------------------------------------------------------------------------------------

void TZrtRTFTextPaint::FormatChain(TParagraph* chain) {
    int top = 0;
    for (TParagraph* p = chain; p; p = p->Next) {
        MeasureParagraph(p);
        int change = 0;
        WrapParagraph(p, false, change);
        p->ParFlags &= ~pfDirty;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            l->Top = top;
            top += l->Height;
        }
    }
}

void TZrtRTFTextPaint::FormatDirty(bool measure) {
    if (Suspended() || formatting_) return;
    formatting_ = true;
    try {
        for (TParagraph* p = Body; p; p = p->Next) {
            if (!(p->ParFlags & pfDirty)) continue;
            if (measure) MeasureParagraph(p);
            int change = 0;
            WrapParagraph(p, false, change);
            p->ParFlags &= ~pfDirty;
        }
    } catch (...) {
        formatting_ = false;
        throw;
    }
    formatting_ = false;
    Paginate(nullptr);
}

void TZrtRTFTextPaint::ReformatAll() {
    if (Suspended() || formatting_) return;
    // Unless wrapping to the window the text takes the printable width, in pixels of the resolution now.
    textWidth_ = wrapToWindow_ ? clientWidth_ : Header->PrintableWidth;
    FormatChain(HeaderText);
    FormatChain(FooterText);
    Header->ColorUsed.fill(0);
    for (TParagraph* p = Body; p; p = p->Next) p->MarkDirty();
    FormatDirty(true);
}

void TZrtRTFTextPaint::Reformat(bool) {
    if (!metrics_ || formatting_) return;
    SelectCellMetrics(nullptr);
    if (!CurPar) {
        CurPar = Body;
        CurLine = Body->FirstLine;
        CurPos = 0;
    }
    if (Suspended()) return;
    if (wrapToWindow_) ScrollX = 0;
    const int width = wrapToWindow_ ? clientWidth_ : Header->PrintableWidth;
    textWidth_ = width;
    Header->RecalcPixels();
    FormatChain(HeaderText);
    FormatChain(FooterText);
    FormatDirty(true);
    InvalidateAll();
}

int TZrtRTFTextPaint::Paginate(TParagraph* from) {
    if (formatting_) return documentHeight_;
    const int h = TZrtRTFTextIo::Paginate(from);
    if (!NoPagination) documentHeight_ = h;
    return h;
}

void TZrtRTFTextPaint::ReplaceChars(TParagraph* p, TTextLine* line, const std::string& text, int count, int pos) {
    TZrtRTFTextIo::ReplaceChars(p, line, text, count, pos);
    MeasureParagraph(p);
    if (!formatting_) {
        int change = 0;
        WrapParagraph(p, false, change);
        p->ParFlags &= ~pfDirty;
        Paginate(nullptr);
    }
}

void TZrtRTFTextPaint::UpdateCellAttr(TTextLine* line, int pos, uint32_t mask, const TAttrCell& cell) {
    TAttrCell* target = line ? (line->HasCells() && pos < line->Capacity() ? &line->Cells[pos] : nullptr) : &CurrentCell;
    if (!target) return;
    TAttrCell& c = *target;
    if (mask & 0x1) c.FontIndex = cell.FontIndex;
    if (mask & 0x2) c.Size = cell.Size;
    if (mask & 0x4) c.Size = static_cast<uint8_t>(std::min(255, c.Size + cell.Size));
    if (mask & 0x8) c.Size = static_cast<uint8_t>(std::max(1, c.Size - cell.Size));
    if (mask & 0x10) c.Colors = static_cast<uint8_t>((c.Colors & 0xF0) | (cell.Colors & 0x0F));
    if (mask & 0x20) c.Colors = static_cast<uint8_t>((c.Colors & 0x0F) | (cell.Colors & 0xF0));
    if (mask & 0x40) c.Flags |= cell.Flags;
    if (mask & 0x200) c.Flags &= ~cell.Flags;
    if (mask & 0x80) c.Flags = (c.Flags & ~0x402FFu) | (cell.Flags & 0x402FFu);
    if (mask & 0x100) c.Flags = (c.Flags & ~0x4007Fu) | (cell.Flags & 0x4007Fu);
    if (c.Flags & (afSuperScript | afFootnote)) c.Flags &= ~afSubScript;
    const bool object = line && line->Chars[pos] == 1 && (c.Flags & afObject);
    if (cell.Number != 0 && !(c.Flags & (afObject | afFootnote | afInsertPoint))) c.Number = cell.Number;
    if (line && !object && metrics_) {
        SelectCellMetrics(&c);
        const unsigned char ch = static_cast<unsigned char>(line->Chars[pos]);
        c.Width = static_cast<uint16_t>((c.Flags & afHidden) ? 0 : WidthTable[ch == '\t' ? 9 : ch]);
        c.Height = static_cast<uint16_t>(fontHeight_);
        c.Ascent = static_cast<uint16_t>(fontAscent_);
        line->Height = std::max(line->Height, c.Height);
        line->Ascent = std::max(line->Ascent, c.Ascent);
    }
}

}  // namespace rt
