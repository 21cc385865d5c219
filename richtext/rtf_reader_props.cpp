// What the RTF reader's control words do: character, paragraph, table and document properties,
// fields, pictures and objects.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "richtext/rtf_reader.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

int16_t Clamp16(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }
uint8_t Clamp8(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

void SetFlag(uint32_t& flags, uint32_t bit, int value) {
    if (value != 0)
        flags |= bit;
    else
        flags &= ~bit;
}

bool StartsNoCase(const std::string& s, const char* prefix) {
    const size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(s[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The word at `pos` (in double quotes, or up to the next blank); pos moves past it.
std::string NextWord(const std::string& s, size_t& pos) {
    while (pos < s.size() && s[pos] == ' ') ++pos;
    std::string word;
    if (pos < s.size() && s[pos] == '"') {
        const size_t end = s.find('"', pos + 1);
        word = s.substr(pos + 1, end == std::string::npos ? std::string::npos : end - pos - 1);
        pos = end == std::string::npos ? s.size() : end + 1;
    } else {
        const size_t end = s.find(' ', pos);
        word = s.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? s.size() : end;
    }
    return word;
}

}  // namespace

void TZrtRtfReader::Paragraphs(void (*fn)(TParagraph&, int), int value) {
    fn(*curPar_, value);
    fn(image_.par, value);
}

void TZrtRtfReader::EndParagraph(bool inCell) {
    TParagraph* p = curPar_;
    TParagraph& im = image_.par;
    p->Alignment = im.Alignment;
    p->LeftIndent = im.LeftIndent;
    p->FirstIndent = im.FirstIndent;
    p->RightIndent = im.RightIndent;
    p->SpaceBefore = im.SpaceBefore;
    p->LineSpacing = im.LineSpacing;
    if (!image_.inRow) p->SpaceAfter = im.SpaceAfter;
    p->Outline = im.Outline;
    p->Shading = im.Shading;
    p->ShadingPercent = im.ShadingPercent;
    // Keep-together belongs to the paragraph that says it; spacing and outline flags go with their values.
    constexpr uint16_t kImageFlags = pfMultiple | pfOutline;
    p->ParFlags = static_cast<uint16_t>((p->ParFlags & ~kImageFlags) | (im.ParFlags & kImageFlags));
    im.ParFlags &= ~pfKeep;
    if (!p->IsCell()) {
        p->Tabs = im.Tabs;
        // A cell keeps the borders of its cell definition.
        p->Borders = im.Borders;
        p->BorderWidth = im.BorderWidth;
        p->BorderColorsLR = im.BorderColorsLR;
        p->BorderColorsTB = im.BorderColorsTB;
        p->BorderSpace = im.BorderSpace;
    }
    TrimLines();
    TParagraph* np = p;
    Doc->NewParagraph(np, 60);
    np->ParFlags = static_cast<uint16_t>(im.ParFlags & kImageFlags);
    np->Alignment = im.Alignment;
    np->LeftIndent = im.LeftIndent;
    np->FirstIndent = im.FirstIndent;
    np->RightIndent = im.RightIndent;
    np->SpaceBefore = im.SpaceBefore;
    np->SpaceAfter = im.SpaceAfter;
    np->LineSpacing = im.LineSpacing;
    np->Outline = im.Outline;
    np->Style = im.Style;
    np->Shading = im.Shading;
    np->ShadingPercent = im.ShadingPercent;
    np->Tabs = im.Tabs;
    if (image_.inRow && inCell && fillIdx_ < kMaxCells) {
        const CellDef& c = cells_[fillIdx_];
        np->Borders = c.border;
        np->BorderWidth = c.width;
        np->BorderColorsLR = c.colorsLR;
        np->BorderColorsTB = c.colorsTB;
        np->BorderSpace = c.space;
    } else {
        np->Borders = im.Borders;
        np->BorderWidth = im.BorderWidth;
        np->BorderColorsLR = im.BorderColorsLR;
        np->BorderColorsTB = im.BorderColorsTB;
        np->BorderSpace = im.BorderSpace;
    }
    np->Number = static_cast<uint32_t>(++ParCount);
    np->MarkDirty();
    firstBorderWord_ = true;
    firstTab_ = true;
    curPar_ = np;
    curLine_ = np->FirstLine;
    if (curLine_->HasCells()) curLine_->Cells[0] = cell_;
}

void TZrtRtfReader::ParEnd(bool fromCell) {
    if (!fromCell && image_.inRow) {
        InsertChar(1010);  // a paragraph end inside a table row is a soft line break
        return;
    }
    // Only text destinations hold paragraphs.
    if (!InText()) return;
    EndParagraph(fromCell);
}

void TZrtRtfReader::StoreTableDef() {
    if (tableKey_ == 0) return;
    TTableDef d;
    d.LeftOffset = rowLeft_;
    d.Gap = rowGap_;
    d.SpaceRight = spaceRight_;
    Doc->TableDefs.Update(nullptr, &d, tableKey_);
}

void TZrtRtfReader::SetBorder(int value) {
    uint16_t* word;
    uint8_t* width;
    CellDef* cell = nullptr;
    if (defining_) {
        if (defIdx_ >= kMaxCells) return;
        cell = &cells_[defIdx_];
        word = &cell->border;
        width = &cell->width;
    } else {
        if (firstBorderWord_) {
            curPar_->Borders = 0;
            firstBorderWord_ = false;
        }
        word = &curPar_->Borders;
        width = &curPar_->BorderWidth;
    }
    uint16_t add = 0;
    switch (value) {
        case 0: add = 0x41; if (*width == 0) *width = 1; break;
        case 1: add = 0x05; borderSide_ = 1; break;
        case 2: add = 0x11; if (*width == 0) *width = 1; borderSide_ = 2; break;
        case 3: add = 0x09; borderSide_ = 3; break;
        case 4: add = 0x21; if (*width == 0) *width = 1; borderSide_ = 4; break;
        case 5: add = 0x81; break;
        case 6: add = 0x101; break;
        case 9: add = 0x4001; break;
        default: break;
    }
    *word |= add;
    if (cell) {
        *word |= brEnds;
        if ((*word & (brTop | brBottom | brLeft | brRight)) == (brTop | brBottom | brLeft | brRight)) *word |= 0x41;
    } else {
        image_.par.Borders = curPar_->Borders;
        image_.par.BorderWidth = curPar_->BorderWidth;
    }
}

void TZrtRtfReader::InsertObjectPlaceholder(int number) {
    TAttrCell c = cell_;
    c.Flags |= afObject;
    c.Number = static_cast<uint16_t>(number);
    InsertWithCell(1, c);
    if (TObjectRef* ref = Doc->FindObjectRef(number)) ref->Used = true;
}

void TZrtRtfReader::Property(RtfProp action, int value) {
    TAttrCell& c = cell_;
    TParagraph& p = *curPar_;
    TParagraph& im = image_.par;
    auto both16 = [&](int16_t TParagraph::*field, int v) {
        p.*field = Clamp16(v);
        im.*field = Clamp16(v);
    };
    switch (action) {
        // ---- characters -------------------------------------------------------------------------
        case RtfProp::Plain: {
            const bool keep = bkOpen_ && (c.Flags & afBookmark);
            const uint16_t number = c.Number;
            c = TAttrCell();
            c.FontIndex = fontMap_[0];
            if (keep) {
                c.Flags |= afBookmark;
                c.Number = number;
            }
            break;
        }
        case RtfProp::Font:
            if (dest_ == dsFontTable)
                fontNumber_ = value;
            else if (value >= 0 && value <= 98)
                c.FontIndex = fontMap_[value];
            break;
        case RtfProp::FontSize: {
            const int size = value / 2;
            c.Size = size == 0 ? 10 : static_cast<uint8_t>(size);
            break;
        }
        case RtfProp::TextColor:
            if (value >= 0 && value <= 15) c.Colors = static_cast<uint8_t>((c.Colors & 0xF0) | (colorMap_[value] & 15));
            break;
        case RtfProp::BackColor:
            if (value >= 0 && value <= 15) c.Colors = static_cast<uint8_t>((c.Colors & 0x0F) | (colorMap_[value] << 4));
            break;
        case RtfProp::Bold: SetFlag(c.Flags, afBold, value); break;
        case RtfProp::Italic: SetFlag(c.Flags, afItalic, value); break;
        case RtfProp::Underline: SetFlag(c.Flags, afUnderline, value); break;
        case RtfProp::StrikeOut: SetFlag(c.Flags, afStrikeOut, value); break;
        case RtfProp::Hyperlink: SetFlag(c.Flags, afHyperlink, value); break;
        case RtfProp::Protected: SetFlag(c.Flags, afProtected, value); break;
        case RtfProp::SubScript: SetFlag(c.Flags, afSubScript, value); break;
        case RtfProp::Hidden: SetFlag(c.Flags, afHidden, value); break;
        case RtfProp::SuperScript:
            if (dest_ == dsText) SetFlag(c.Flags, afSuperScript, value);
            break;
        case RtfProp::NoSuperSub: c.Flags &= ~(afSuperScript | afSubScript); break;
        case RtfProp::RawText:
            SetFlag(c.Flags, afRawRtf, value);
            rawMode_ = value != 0;
            rawMatched_ = 0;
            break;
        case RtfProp::InsertPoint:
            if (value == 0) {
                c.Flags &= ~afInsertPoint;
                c.Number = 0;
            } else {
                c.Flags = (c.Flags | afInsertPoint) & ~afAutomatic;
                c.Number = static_cast<uint16_t>(value);
            }
            break;
        case RtfProp::Automatic:
            if (value != 0)
                c.Flags = (c.Flags | afAutomatic) & ~afInsertPoint;
            else
                c.Flags &= ~afAutomatic;
            break;
        case RtfProp::Numbered: c.Flags |= afNumbered; break;
        case RtfProp::TypoChar: RouteChar(value <= 2 ? '"' : value <= 4 ? '\'' : 150); break;
        case RtfProp::FootnoteNumber:
            if (footnote_) footnote_->Value = value;
            break;

        // ---- paragraphs -------------------------------------------------------------------------
        case RtfProp::ParDefault:
            if (p.Prev && p.Prev->Borders) p.Prev->Borders |= brEnds;
            im.Borders = 0;
            im.BorderWidth = im.BorderColorsLR = im.BorderColorsTB = im.BorderSpace = 0;
            im.Alignment = 0;
            im.Tabs = 0;
            image_.inRow = false;
            p.Borders = 0;
            p.BorderWidth = p.BorderColorsLR = p.BorderColorsTB = p.BorderSpace = 0;
            p.Alignment = 0;
            p.Tabs = 0;
            for (TParagraph* q : {&p, &im}) {
                q->FirstIndent = q->LeftIndent = q->RightIndent = 0;
                q->SpaceBefore = q->SpaceAfter = q->LineSpacing = 0;
                q->Outline = 0;
                q->Shading = q->ShadingPercent = 0;
                q->ParFlags &= ~(pfMultiple | pfOutline | pfKeep);
            }
            pendingFirstIndent_ = 0;
            firstTab_ = true;
            break;
        case RtfProp::LeftIndent:
            both16(&TParagraph::LeftIndent, std::max(value, 0));
            both16(&TParagraph::FirstIndent, pendingFirstIndent_);
            pendingFirstIndent_ = 0;
            break;
        case RtfProp::FirstIndent:
            both16(&TParagraph::FirstIndent, value);
            pendingFirstIndent_ = value;
            break;
        case RtfProp::RightIndent: both16(&TParagraph::RightIndent, value); break;
        case RtfProp::SpaceBefore: both16(&TParagraph::SpaceBefore, value); break;
        case RtfProp::SpaceAfter: both16(&TParagraph::SpaceAfter, value); break;
        case RtfProp::LineSpacing:
            both16(&TParagraph::LineSpacing, value);
            p.ParFlags &= ~pfMultiple;
            im.ParFlags &= ~pfMultiple;
            break;
        case RtfProp::LineMultiple:
            for (TParagraph* q : {&p, &im}) {
                if (value != 0)
                    q->ParFlags |= pfMultiple;
                else
                    q->ParFlags &= ~pfMultiple;
            }
            break;
        case RtfProp::Alignment: {
            static const uint8_t stored[4] = {0, 2, 1, 3};
            p.Alignment = im.Alignment = stored[value & 3];
            break;
        }
        case RtfProp::Keep:
            if (!defining_) {
                p.ParFlags |= pfKeep;
                im.ParFlags |= pfKeep;
            }
            break;
        case RtfProp::OutlineLevel: {
            const uint8_t nibble = value >= 0 && value <= 9 ? static_cast<uint8_t>(value + 1) : 0;
            p.Outline = static_cast<uint8_t>((p.Outline & 0xF0) | nibble);
            im.Outline = static_cast<uint8_t>((im.Outline & 0xF0) | nibble);
            break;
        }
        case RtfProp::NumberStyle: p.Outline = im.Outline = static_cast<uint8_t>(value); break;
        case RtfProp::Style: {
            if (dest_ == dsStyleSheet) {
                style_.ParStyle = value;
                break;
            }
            TStyleRecord s;
            if (Doc->Styles.FindStyle(value, 1, s)) {
                c = s.Cell;
                const bool inRow = image_.inRow;
                im = s.Par;
                image_.inRow = inRow;
                p.Tabs = s.Par.Tabs;
                p.Shading = s.Par.Shading;
                p.ShadingPercent = s.Par.ShadingPercent;
                p.Borders = s.Par.Borders;
                p.BorderWidth = s.Par.BorderWidth;
                p.BorderColorsLR = s.Par.BorderColorsLR;
                p.BorderColorsTB = s.Par.BorderColorsTB;
                p.BorderSpace = s.Par.BorderSpace;
                p.FirstIndent = s.Par.FirstIndent;
                p.LeftIndent = s.Par.LeftIndent;
                p.RightIndent = s.Par.RightIndent;
                p.SpaceBefore = s.Par.SpaceBefore;
                p.SpaceAfter = s.Par.SpaceAfter;
                p.LineSpacing = s.Par.LineSpacing;
                p.Alignment = s.Par.Alignment;
                p.Style = im.Style = static_cast<uint8_t>(value);
                p.Outline = im.Outline = 0;
            } else {
                for (TParagraph* q : {&p, &im}) {
                    q->Outline = static_cast<uint8_t>((q->Outline & 0xF0) | (value & 15));
                    if (value != 0)
                        q->ParFlags |= pfOutline;
                    else
                        q->ParFlags &= ~pfOutline;
                }
            }
            break;
        }
        case RtfProp::Shading:
            if (defining_) {
                if (defIdx_ < kMaxCells) {
                    cells_[defIdx_].shadingPercent = Clamp8(value / 100);
                    cells_[defIdx_].shading &= 0xF0;
                }
            } else {
                p.ShadingPercent = im.ShadingPercent = Clamp8(value / 100);
                p.Shading = im.Shading = 0;
            }
            break;
        case RtfProp::PatternFore: {
            const uint8_t color = colorMap_[((value % 16) + 16) % 16] & 15;
            if (defining_) {
                if (defIdx_ < kMaxCells) cells_[defIdx_].shading = static_cast<uint8_t>((cells_[defIdx_].shading & 0xF0) | color);
            } else {
                p.Shading = im.Shading = static_cast<uint8_t>((im.Shading & 0xF0) | color);
            }
            break;
        }
        case RtfProp::PatternBack: {
            const uint8_t color = colorMap_[((value % 16) + 16) % 16] & 15;
            if (defining_) {
                if (defIdx_ < kMaxCells)
                    cells_[defIdx_].shading = static_cast<uint8_t>((cells_[defIdx_].shading & 0x0F) | color << 4);
            } else {
                p.Shading = im.Shading = static_cast<uint8_t>((im.Shading & 0x0F) | color << 4);
            }
            break;
        }
        case RtfProp::TabPosition:
            if (firstTab_) {
                im.Tabs = 0;
                p.Tabs = 0;
                firstTab_ = false;
            }
            Header->AddTab(value, pendingTabKind_);
            im.Tabs |= Header->CurrentTabSet;
            p.Tabs = im.Tabs;
            pendingTabKind_ = 0;
            break;
        case RtfProp::TabKind: pendingTabKind_ = value >= 1 && value <= 3 ? value : 0; break;
        case RtfProp::PageBreak: {
            if (!InText()) break;
            bool hasText = false;
            for (TTextLine* l = p.FirstLine; l; l = l->Next) hasText = hasText || l->Length > 0;
            if (!hasText) {
                p.ParFlags |= pfPageBreak;
            } else {
                EndParagraph(false);
                curPar_->ParFlags |= pfPageBreak;
            }
            break;
        }
        case RtfProp::ParEnd: ParEnd(false); break;

        // ---- borders ----------------------------------------------------------------------------
        case RtfProp::Border: SetBorder(value); break;
        case RtfProp::BorderWidth:
            if (defining_) {
                if (defIdx_ < kMaxCells) cells_[defIdx_].width = Clamp8(value / 20);
            } else {
                p.BorderWidth = im.BorderWidth = Clamp8(value);
            }
            break;
        case RtfProp::BorderSpace:
            if (defining_) {
                if (defIdx_ < kMaxCells) cells_[defIdx_].space = Clamp8(value / 56);
            } else {
                p.BorderSpace = im.BorderSpace = Clamp8(value / 56);
            }
            break;
        case RtfProp::BorderColor: {
            const uint8_t color = colorMap_[((value % 16) + 16) % 16] & 15;
            uint8_t* lr = defining_ ? (defIdx_ < kMaxCells ? &cells_[defIdx_].colorsLR : nullptr) : &p.BorderColorsLR;
            uint8_t* tb = defining_ ? (defIdx_ < kMaxCells ? &cells_[defIdx_].colorsTB : nullptr) : &p.BorderColorsTB;
            if (!lr || !tb) break;
            switch (borderSide_) {
                case 1: *tb = static_cast<uint8_t>((*tb & 0xF0) | color); break;
                case 3: *tb = static_cast<uint8_t>((*tb & 0x0F) | color << 4); break;
                case 2: *lr = static_cast<uint8_t>((*lr & 0xF0) | color); break;
                case 4: *lr = static_cast<uint8_t>((*lr & 0x0F) | color << 4); break;
                default: break;
            }
            if (!defining_) {
                im.BorderColorsLR = p.BorderColorsLR;
                im.BorderColorsTB = p.BorderColorsTB;
            }
            break;
        }

        // ---- tables -----------------------------------------------------------------------------
        case RtfProp::RowDefaults: {
            if (image_.inRow) StoreTableDef();
            for (CellDef& cd : cells_) cd = CellDef();
            std::fill(std::begin(bounds_), std::end(bounds_), 0);
            nBounds_ = largest_ = defIdx_ = fillIdx_ = runShare_ = 0;
            rowLeft_ = rowGap_ = spaceRight_ = 0;
            TTableDef d;
            tableKey_ = Doc->TableDefs.Add(std::string(), &d);
            image_.inRow = true;
            defining_ = true;
            break;
        }
        case RtfProp::RowGap: {
            int v = value < 1 ? 0 : value < 56 ? 56 : value;
            for (CellDef& cd : cells_) cd.space = Clamp8(v / 56);
            rowGap_ = v;
            break;
        }
        case RtfProp::RowLeft: rowLeft_ = std::max(value, 0); break;
        case RtfProp::CellMerge:
            if (nBounds_ >= 1 && nBounds_ < kMaxCells) {
                --nBounds_;
                ++cells_[nBounds_].merge;
                defIdx_ = nBounds_;
            }
            break;
        case RtfProp::CellBoundary:
            if (nBounds_ < kMaxCells) {
                const int v = std::max(value, 0);
                bounds_[nBounds_] = v;
                largest_ = std::max(largest_, v);
                ++nBounds_;
                defIdx_ = nBounds_;
            }
            break;
        case RtfProp::InTable:
            if (fillIdx_ < kMaxCells) {
                const CellDef& cd = cells_[fillIdx_];
                im.Borders = cd.border;
                im.BorderWidth = cd.width;
                im.BorderColorsLR = cd.colorsLR;
                im.BorderColorsTB = cd.colorsTB;
                im.BorderSpace = cd.space;
                im.Shading = cd.shading;
                im.ShadingPercent = cd.shadingPercent;
            }
            Doc->ParTable(curPar_)->Key = tableKey_;
            image_.inRow = true;
            defining_ = false;
            p.Borders = im.Borders;
            p.BorderWidth = im.BorderWidth;
            p.BorderColorsLR = im.BorderColorsLR;
            p.BorderColorsTB = im.BorderColorsTB;
            p.BorderSpace = im.BorderSpace;
            p.Shading = im.Shading;
            p.ShadingPercent = im.ShadingPercent;
            break;
        case RtfProp::CellEnd: {
            if (!InText()) break;
            defining_ = false;
            const int idx = fillIdx_;
            if (idx < kMaxCells && cells_[idx].merge > 0) {
                --cells_[idx].merge;
                break;
            }
            int share = 10;
            if (idx < nBounds_ && idx < kMaxCells && bounds_[idx] >= 1) {
                // A row whose left offset lies at or past its largest boundary has no width to share.
                const int span = largest_ - rowLeft_;
                if (span > 0) share = std::max(1, MulDiv(255, bounds_[idx] - rowLeft_, span) - runShare_);
            }
            if (idx < kMaxCells) {
                const CellDef& cd = cells_[idx];
                p.Borders = static_cast<uint16_t>(cd.border | brEnds);
                p.BorderWidth = cd.width;
                p.BorderColorsLR = cd.colorsLR;
                p.BorderColorsTB = cd.colorsTB;
                p.BorderSpace = cd.space;
            }
            TParObject* t = Doc->ParTable(&p);
            t->Data[kCellStart] = Clamp8(runShare_);
            t->Data[kCellWidth] = Clamp8(share);
            t->Key = tableKey_;
            runShare_ = std::min(255, runShare_ + share);
            spaceRight_ = paperWidth_ - marginLeft_ - marginRight_ - largest_;
            if (p.RightIndent < 0) p.RightIndent = 0;
            p.ParFlags |= pfInTable | pfMoreCells;
            if (idx > 0) p.ParFlags |= pfNotFirstCell;
            ++fillIdx_;
            EndParagraph(true);
            break;
        }
        case RtfProp::RowEnd:
            fillIdx_ = 0;
            runShare_ = 0;
            if (p.Prev) p.Prev->ParFlags &= ~pfMoreCells;
            p.Borders = 0;
            p.BorderWidth = p.BorderColorsLR = p.BorderColorsTB = p.BorderSpace = 0;
            p.SpaceBefore = 0;
            p.Shading = p.ShadingPercent = 0;
            im.Borders = 0;
            im.BorderWidth = im.BorderColorsLR = im.BorderColorsTB = im.BorderSpace = 0;
            StoreTableDef();
            break;

        // ---- document ---------------------------------------------------------------------------
        case RtfProp::PaperWidth: Header->PageWidth = paperWidth_ = value; break;
        case RtfProp::PaperHeight: Header->PageHeight = value; break;
        case RtfProp::MarginLeft: Header->LeftMargin = marginLeft_ = value; break;
        case RtfProp::MarginRight: Header->RightMargin = marginRight_ = value; break;
        case RtfProp::MarginTop: Header->TopMargin = value; break;
        case RtfProp::MarginBottom: Header->BottomMargin = value; break;
        case RtfProp::FacingPages: Header->FacingPages = value != 0; break;
        case RtfProp::Landscape: Header->Landscape = value != 0; break;
        case RtfProp::Ignored: break;
        case RtfProp::Red:
            if (colorCounter_ >= 0 && colorCounter_ <= 15) red_ = value;
            break;
        case RtfProp::Green:
            if (colorCounter_ >= 0 && colorCounter_ <= 15) green_ = value;
            break;
        case RtfProp::Blue:
            if (colorCounter_ >= 0 && colorCounter_ <= 15) blue_ = value;
            break;

        // ---- pictures and objects ---------------------------------------------------------------
        case RtfProp::PicBitmap: picKind_ = 2; break;
        case RtfProp::PicDib: picKind_ = 1; break;
        case RtfProp::PicMetafile:
            picKind_ = 0;
            if (data_) {
                const uint8_t zeros[22] = {};
                data_->WriteBuffer(zeros, sizeof zeros);
            }
            break;
        case RtfProp::PicGoalWidth: picGoalW_ = value; break;
        case RtfProp::PicGoalHeight: picGoalH_ = value; break;
        case RtfProp::PicWidth:
        case RtfProp::PicHeight:
        case RtfProp::PicScaleX:
        case RtfProp::PicScaleY:
        case RtfProp::PicBitsPerPixel:
        case RtfProp::PicPlanes:
        case RtfProp::PicWidthBytes:
        case RtfProp::PictureFileName: break;
        case RtfProp::ObjectTag: objTag_ = value; break;
        case RtfProp::ObjectWidth: objW_ = value; break;
        case RtfProp::ObjectHeight: objH_ = value; break;
        case RtfProp::ObjectAnchor: anchor_ = value; break;
        case RtfProp::ObjectX: relX_ = value; break;
        case RtfProp::ObjectY: relY_ = value; break;

        // ---- style sheet ------------------------------------------------------------------------
        case RtfProp::CharStyle:
            if (dest_ == dsStyleSheet) style_.CharStyle = value;
            break;
        case RtfProp::SectionStyle:
            if (dest_ == dsStyleSheet) style_.SectionStyle = value;
            break;
        case RtfProp::StyleFn:
            if (dest_ == dsStyleSheet) style_.Fn = value;
            break;
        case RtfProp::Additive:
            if (dest_ == dsStyleSheet) style_.Additive = 1;
            break;
        case RtfProp::AutoUpdate:
            if (dest_ == dsStyleSheet) style_.AutoUpdate = 1;
            break;
        case RtfProp::HiddenStyle:
            if (dest_ == dsStyleSheet) style_.Hidden = 1;
            break;
        case RtfProp::BasedOn:
            if (dest_ == dsStyleSheet) style_.BasedOn = value;
            break;
        case RtfProp::NextStyle:
            if (dest_ == dsStyleSheet) style_.NextStyle = value;
            break;
    }
}

void TZrtRtfReader::FieldInstructionEnd() {
    std::string s = instr_;
    while (!s.empty() && s.back() == ' ') s.pop_back();
    if (StartsNoCase(s, "MERGEFIELD ")) {
        size_t pos = 11;
        const std::string name = NextWord(s, pos);
        if (name.empty()) return;
        int key = Doc->InsertPointNames.KeyOfName(name);
        if (key == 0) key = Doc->InsertPointNames.Add(name, nullptr);
        pendingIp_ = key;
        mergeField_ = true;
        return;
    }
    if (StartsNoCase(s, "INCLUDEPICTURE ") || StartsNoCase(s, "IMPORT ")) {
        if (objectJustRead_) return;
        size_t pos = s.find(' ');
        std::string file = NextWord(s, pos);
        for (size_t i = 0; (i = file.find("\\\\", i)) != std::string::npos; ++i) file.erase(i, 1);
        ObjectEnd(&file, picGoalW_, picGoalH_);
        picGoalW_ = picGoalH_ = 0;
        return;
    }
    size_t pos = 0;
    const std::string name = NextWord(s, pos);
    const std::string mask = NextWord(s, pos);
    if (name.empty()) return;
    const std::string objName = "#" + name + "FIELD";
    TObjectRef* ref = Doc->FindObjectByName(objName);
    if (!ref) {
        auto* field = new TZrtObjectField(Doc->Owner);
        field->SetFieldName(name);
        field->SetFieldMask(mask);
        field->SetObjName(objName);
        field->ParNumber = ParCount;
        ref = Doc->AddObjectRef(field);
    }
    InsertObjectPlaceholder(ref->Number);
}

void TZrtRtfReader::ObjectEnd(const std::string* fileName, int x, int y) {
    TObjectRef* ref = nullptr;
    if (fileName || picKind_ == 3) {
        // Included and linked pictures need a graphic class for their extension.
        const std::string file = fileName ? *fileName : picFileName_;
        const size_t dot = file.rfind('.');
        const std::string cls = dot == std::string::npos ? std::string() : ClassForExtension(file.substr(dot));
        if (!cls.empty()) {
            if (TZrtObject* object = CreateObject(Doc->Owner, cls)) {
                object->SetStreamName(file);
                object->FileName = file;
                try {
                    object->LoadFromFile(file);
                } catch (const std::exception&) {
                }
                if (fileName) {
                    object->SetWidthTW(x);
                    object->SetHeightTW(y);
                }
                ref = Doc->AddObjectRef(object);
            }
        }
    } else if (objectData_) {
        int32_t tag = 0, width = 0, height = 0;
        std::string name;
        TZrtObject* object = data_ ? ObjectFromStream(Doc->Owner, *data_, tag, width, height, name) : nullptr;
        if (object) {
            if (!name.empty() && Doc->FindObjectByName(name)) {
                object->Free();
            } else {
                object->OwnerDocument = Doc;
                LoadObject(object, data_.get());
                object->IsLoaded = true;
                ref = Doc->AddObjectRef(object);
                ref->Width = object->WidthTW();
                ref->Height = object->HeightTW();
                ref->Mode = static_cast<uint8_t>(anchor_);
                ref->AnchorPar = ParCount;
                ref->X = relX_;
                ref->Y = relY_;
                ref->Name = object->ObjName().substr(0, 60);
                objectJustRead_ = true;
            }
        } else if (!name.empty()) {
            if (TObjectRef* existing = Doc->FindObjectByName(name)) {
                ref = Doc->AddObjectRef(existing->Object);
                ref->Width = existing->Width;
                ref->Height = existing->Height;
            }
        }
        anchor_ = relX_ = relY_ = 0;
    } else if (objectJustRead_) {
        objectJustRead_ = false;
    } else {
        const std::string cls = ClassForExtension(picKind_ == 0 ? ".WMF" : ".BMP");
        if (!cls.empty()) {
            if (TZrtObject* object = CreateObject(Doc->Owner, cls)) {
                if (data_) {
                    data_->SetPosition(0);
                    object->LoadData(*data_);
                }
                ref = Doc->AddObjectRef(object);
            }
        }
    }
    if (ref && ref->Object && Doc->OnObjectRead) Doc->OnObjectRead(ref->Object);
    if (ref && ref->Mode == 0) InsertObjectPlaceholder(ref->Number);
}

}  // namespace rt
