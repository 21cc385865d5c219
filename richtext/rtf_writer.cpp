#include "richtext/rtf_writer.h"

#include "richtext/engine_settings.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

std::string N(int n) { return std::to_string(n); }

const char* FamilyWord(uint8_t pitchFamily) {
    switch (pitchFamily & 0xF0) {
        case 0x20: return "\\swiss";
        case 0x30: return "\\fmodern";
        case 0x40: return "\\fscript";
        case 0x50: return "\\fdecor";
        default: return "\\fnil";
    }
}

}  // namespace

void TZrtRTFWriter::Reset() {
    TZrtTextWriter::Reset();
    groups_.clear();
    rowCells_.clear();
    numberStyleWritten_ = raw_ = fieldOpen_ = unnamedIp_ = hiddenWritten_ = shadingOpen_ = false;
    bookmarkName_.clear();
}

std::string TZrtRTFWriter::Escaped(const std::string& s) const {
    std::string out;
    for (unsigned char b : s) {
        if (b == '\\' || b == '{' || b == '}') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b >= 32 && b <= 126) {
            out += static_cast<char>(b);
        } else if (b == 9) {
            out += "\\tab ";
        } else if (b > 3) {
            static const char digits[] = "0123456789abcdef";
            out += "\\'";
            out += digits[b >> 4];
            out += digits[b & 15];
        }
    }
    return out;
}

int TZrtRTFWriter::WriteHeader(fw::TStream* stream) {
    Stream = stream;
    TTextHeader& h = *Doc->Header;
    Put("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl");
    auto font = [&](int number, int index) {
        const std::string& name = h.FontNames[static_cast<size_t>(index)];
        Put("{\\f" + N(number) + FamilyWord(h.FontPitchFamily[index]) + "\\charset" + N(h.FontCharset[index]) + " " +
            Escaped(name) + ";}");
    };
    if (!h.rich) {
        font(0, Doc->CurrentCell.FontIndex % kMaxFont);
    } else {
        for (int i = 0; i < kMaxFont && !h.FontNames[i].empty(); ++i) font(i, i);
    }
    Put("}");
    if (!h.StoreOptions.Contains(TStoreOption::soNoColorTableInRTF)) {
        Put("{\\colortbl");
        for (int i = 0; i < 15; ++i)
            Put("\\red" + N(h.Colors[i].red) + "\\green" + N(h.Colors[i].green) + "\\blue" + N(h.Colors[i].blue) + ";");
        Put("}");
    }
    if (!h.StoreOptions.Contains(TStoreOption::soNoPageFormatInRTF)) {
        Put("\\paperw" + N(h.PageWidth) + "\\paperh" + N(h.PageHeight) + "\\margl" + N(h.LeftMargin) + "\\margr" +
            N(h.RightMargin) + "\\margt" + N(h.TopMargin) + "\\margb" + N(h.BottomMargin));
    }
    // Document information is escaped like text: a brace in a title must not end its group.
    if (!h.Title.empty()) Put("{\\title " + Escaped(h.Title) + "}");
    if (!h.Subject.empty()) Put("{\\subject\t" + Escaped(h.Subject) + "}");
    if (!h.Comment.empty()) Put("{\\comment\t" + Escaped(h.Comment) + "}");
    return Flush();
}

int TZrtRTFWriter::WriteBody(fw::TStream* stream) {
    Stream = stream;
    if (!EndPar && !StartLine) {
        TParagraph* const start = StartPar;
        for (int which = 0; which < 2 && Result == 0; ++which) {
            TParagraph* text = which == 0 ? Doc->HeaderText : Doc->FooterText;
            if (!text) continue;
            Put(which == 0 ? "{\\header\t" : "{\\footer\t");
            StartPar = text;
            TZrtTextWriter::WriteBody(stream);
            CloseGroupsThrough(gkDocument);
            WriteBookmarkEnd();
            if (raw_) {
                Put("\\zrtrtf0 ");
                raw_ = false;
            }
            Put("}\r\n");
            fieldOpen_ = false;
        }
        StartPar = start;
        prevCell_ = nullptr;
    }
    if (Result) return Result;
    return TZrtTextWriter::WriteBody(stream);
}

void TZrtRTFWriter::WriteBookmarkEnd() {
    if (bookmarkName_.empty()) return;
    Put("{\\*\\bkmkend " + Escaped(bookmarkName_) + "}");
    bookmarkName_.clear();
}

int TZrtRTFWriter::WriteClosing(fw::TStream* stream) {
    Stream = stream;
    if (fieldOpen_) {
        Put("}");
        fieldOpen_ = false;
    }
    for (size_t i = 0; i < groups_.size(); ++i) Put("}");
    groups_.clear();
    Put("\r\n}");
    return Flush();
}

void TZrtRTFWriter::CloseGroupsThrough(GroupKind kind) {
    int index = -1;
    for (int i = static_cast<int>(groups_.size()) - 1; i >= 0; --i)
        if (groups_[static_cast<size_t>(i)].kind == kind) {
            index = i;
            break;
        }
    if (index < 0) return;
    if (kind == gkDocument) index = 0;
    while (static_cast<int>(groups_.size()) > index) {
        Put("}");
        groups_.pop_back();
    }
}

TZrtRTFWriter::Snapshot TZrtRTFWriter::SnapshotOf(TParagraph* p) {
    Snapshot s;
    s.borders = p->Borders;
    s.borderWidth = p->BorderWidth;
    s.colorsLR = p->BorderColorsLR;
    s.colorsTB = p->BorderColorsTB;
    s.borderSpace = p->BorderSpace;
    s.spaceBefore = p->SpaceBefore;
    s.lineSpacing = p->LineSpacing;
    s.shading = p->Shading;
    s.shadingPercent = p->ShadingPercent;
    s.tabs = p->Tabs;
    s.cell = p->IsCell();
    if (s.cell) {
        TParObject* t = Doc->ParTable(p);
        s.width = t->Data[kCellWidth];
        s.start = t->Data[kCellStart];
    }
    return s;
}

bool TZrtRTFWriter::RowMatches(TParagraph* first) {
    size_t n = 0;
    for (TParagraph* r = first; r && r->IsCell(); r = r->Next) {
        if (n >= rowCells_.size()) return false;
        Snapshot s = SnapshotOf(r);
        Snapshot saved = rowCells_[n];
        s.tabs = saved.tabs;
        if (!(s == saved)) return false;
        ++n;
        if ((r->ParFlags & pfNotFirstCell) && !(r->ParFlags & pfMoreCells)) break;
        if (n >= 50) break;
    }
    return n == rowCells_.size();
}

std::string TZrtRTFWriter::TabList(TParagraph* p) const {
    std::string s;
    const TTextHeader& h = *Doc->Header;
    for (int i = 0; i < kTabCount; ++i) {
        if (!(p->Tabs >> i & 1)) continue;
        switch (h.TabKind[i]) {
            case 1: s += "\\tqr"; break;
            case 2: s += "\\tqc"; break;
            case 3: s += "\\tqdec"; break;
            default: break;
        }
        s += "\\tx" + N(h.TabPos[i]);
    }
    return s;
}

void TZrtRTFWriter::WriteParagraphStart() {
    TParagraph* p = curPar_;
    std::string w;
    if (groups_.empty()) {
        w += "{";
        groups_.push_back({gkDocument, Snapshot(), false});
    }
    // Border groups end.
    {
        const Group& g = groups_.back();
        const bool prevEnds = p->Prev && (p->Prev->Borders & brEnds);
        if (((g.snap.borders & brHas) && (!(p->Borders & brHas) || prevEnds)) || (!g.snap.cell && p->IsCell())) {
            for (int i = static_cast<int>(groups_.size()) - 1; i > 0; --i) {
                if (groups_[static_cast<size_t>(i)].kind != gkBorder) continue;
                while (static_cast<int>(groups_.size()) > i) {
                    w += "}";
                    groups_.pop_back();
                }
                break;
            }
        }
    }
    // Table continuation.
    if (groups_.back().tableCells) {
        bool continues = p->IsCell();
        if (continues && !(p->ParFlags & pfNotFirstCell)) continues = RowMatches(p);
        if (!continues) {
            for (int i = static_cast<int>(groups_.size()) - 1; i > 0; --i) {
                if (groups_[static_cast<size_t>(i)].kind != gkTableRow) continue;
                while (static_cast<int>(groups_.size()) > i) {
                    w += "}";
                    groups_.pop_back();
                }
                break;
            }
            rowCells_.clear();
        }
    }
    // Tab groups end.
    if (groups_.back().kind == gkTabs && groups_.back().snap.tabs != p->Tabs) {
        w += "}";
        groups_.pop_back();
    }
    if (p->ParFlags & pfPageBreak) w += "\\page";
    if (p->IsCell()) {
        TParObject* t = Doc->ParTable(p);
        TTableDef def;
        Doc->TableDefs.GetRecord(t->Key, def);
        if (groups_.back().tableCells) {
            w += "\\intbl";
        } else {
            groups_.push_back({gkTableRow, SnapshotOf(p), false});
            w += "{\\pard\\trowd\\trgaph" + N(MulDiv(p->BorderSpace, 567, 10)) + "\\trleft" + N(def.LeftOffset);
            const TTextHeader& h = *Doc->Header;
            tableWidth_ = h.PageWidth - h.LeftMargin - h.RightMargin;
            rowCells_.clear();
            for (TParagraph* r = p; r && r->IsCell() && rowCells_.size() < 50; r = r->Next) {
                if (r->Borders & brHas) {
                    const std::string style = (r->Borders & brDouble) ? "\\brdrdb" : "\\brdrs";
                    const bool box = (r->Borders & brBox) != 0;
                    const int top = r->BorderColorsTB & 15, bottom = r->BorderColorsTB >> 4;
                    const int left = r->BorderColorsLR & 15, right = r->BorderColorsLR >> 4;
                    if (box || (r->Borders & brTop)) w += "\\clbrdrt" + style + (top ? "\\brdrcf" + N(top) : "");
                    if (box || (r->Borders & brBottom)) w += "\\clbrdrb" + style + (bottom ? "\\brdrcf" + N(bottom) : "");
                    if (box || (r->Borders & brLeft)) w += "\\clbrdrl" + style + (left ? "\\brdrcf" + N(left) : "");
                    if (box || (r->Borders & brRight)) w += "\\clbrdrr" + style + (right ? "\\brdrcf" + N(right) : "");
                    w += "\\brdrw" + N(r->BorderWidth);
                    if (r->Borders & brDotted) w += "\\brdrdot";
                    if (r->Borders & brHairline) w += "\\brdrhair";
                }
                if (r->Shading != 0) {
                    w += "\\clshdng\\clcfpat" + N(r->Shading & 15);
                    if (r->ShadingPercent != 100) w += "\\clcbpat" + N(r->Shading >> 4);
                }
                TParObject* rt = Doc->ParTable(r);
                const int share = rt->Data[kCellStart] + rt->Data[kCellWidth];
                const int64_t span = static_cast<int64_t>(tableWidth_) - def.Gap - def.LeftOffset;
                w += "\\cellx" + N(static_cast<int>(def.LeftOffset + share * span / 255));
                rowCells_.push_back(SnapshotOf(r));
                if ((r->ParFlags & pfNotFirstCell) && !(r->ParFlags & pfMoreCells)) break;
                if (w.size() > 512) {
                    Put(w);
                    w.clear();
                    Flush();
                }
            }
            w += "\\intbl";
            groups_.back().tableCells = true;
        }
        w += "{" + TabList(p);
    } else {
        const Group& inner = groups_.back();
        const bool startBorder = (p->Borders & brHas) &&
                                 (!p->Prev || !(p->Prev->Borders & brHas) || (p->Prev->Borders & brEnds) ||
                                  !(inner.snap.borders & brHas));
        if (startBorder) {
            Snapshot s = SnapshotOf(p);
            s.tabs = inner.snap.tabs;
            groups_.push_back({gkBorder, s, false});
            const std::string style = (p->Borders & brDouble) ? "\\brdrdb" : "\\brdrs";
            w += "{";
            if (p->Borders & brBox) w += "\\box" + style;
            if (p->Borders & brTop) w += "\\brdrt" + style;
            if (p->Borders & brBottom) w += "\\brdrb" + style;
            if (p->Borders & brLeft) w += "\\brdrl" + style;
            if (p->Borders & brRight) w += "\\brdrr" + style;
            if (p->Borders & brBar) w += "\\brdrbar";
            if (p->Borders & brTableLines) w += "\\brdrtablin";
            w += "\\brdrw" + N(p->BorderWidth);
            if (p->BorderSpace) w += "\\brsp" + N(MulDiv(p->BorderSpace, 567, 10));
            if (p->BorderColorsTB) w += "\\brdrcf" + N(p->BorderColorsTB & 15);
            if (p->Borders & brDotted) w += "\\brdrdot";
            if (p->Borders & brHairline) w += "\\brdrhair";
        }
        if (p->Shading != 0) {
            w += "{";
            shadingOpen_ = true;
            if (p->ShadingPercent)
                w += "\\shading" + N(p->ShadingPercent * 100);
            else if (p->Shading & 15)
                w += "\\shading10000";
            else
                w += "\\shading1";
            w += "\\cfpat" + N(p->Shading & 15);
            if (p->ShadingPercent != 100) w += "\\cbpat" + N(p->Shading >> 4);
        }
        if (p->ParFlags & pfKeep) w += "\\keep";
        if (groups_.back().snap.tabs != p->Tabs || p->Shading != 0) {
            Snapshot s = groups_.back().snap;
            s.tabs = p->Tabs;
            groups_.push_back({gkTabs, s, false});
            w += "{" + TabList(p);
        }
    }
    // A space ends a control word; after a brace it would be text.
    if (!w.empty() && w.back() != '{' && w.back() != '}') w += " ";
    static const char* const align[] = {"\\ql", "\\qc", "\\qr", "\\qj"};
    w += align[p->Alignment & 3];
    w += "\\li" + N(p->LeftIndent) + "\\fi" + N(p->FirstIndent) + "\\ri" + N(p->RightIndent) + "\\sb" +
         N(p->SpaceBefore) + "\\sl";
    if (p->LineSpacing != 0) {
        w += N(p->LineSpacing);
        if (p->ParFlags & pfMultiple) w += "\\slmult1";
    }
    w += "\\sa" + N(p->IsCell() ? p->SpaceBefore : p->SpaceAfter);
    if (p->ParFlags & pfOutline) {
        const int n = p->Outline & 15;
        w += n ? "\\outlinelevel" + N(n - 1) + "\\s" + N(n) : std::string("\\s0");
    } else if (p->Outline > 0 && p->Outline <= 15) {
        // A level read from \outlinelevel alone is written back the same way.
        w += "\\outlinelevel" + N(p->Outline - 1);
    } else if (p->Outline > 15) {
        w += "\\zrtsnr" + N(p->Outline);
        numberStyleWritten_ = true;
    } else if (numberStyleWritten_) {
        w += "\\zrtsnr0";
        numberStyleWritten_ = false;
    } else if (p->Outline == 0 && p->Prev && (p->Prev->Outline & 15) != 0) {
        // Paragraph attributes carry on to the next paragraph when read; end the outline level.
        w += "\\s0";
    }
    w += " ";
    Put(w);
    WriteAnchoredObjects(static_cast<int>(p->Number));
}

void TZrtRTFWriter::WriteRunHeader() {
    const TAttrCell& c = curLine_->Cells[static_cast<size_t>(curIndex_)];
    std::string w;
    if (raw_) {
        if (c.Flags & afRawRtf) return;
        w += "\\zrtrtf0";
        raw_ = false;
    }
    // Bookmarks.
    if (c.Flags & afBookmark) {
        if (prevCell_ && (prevCell_->Flags & afBookmark) && prevCell_->Number != c.Number && !bookmarkName_.empty()) {
            w += "{\\*\\bkmkend " + Escaped(bookmarkName_) + "}";
            bookmarkName_.clear();
        }
        if (bookmarkName_.empty()) {
            bookmarkName_ = c.Number < Doc->Bookmarks.Count() ? Doc->Bookmarks[c.Number] : "BM" + N(c.Number);
            w += "{\\*\\bkmkstart " + Escaped(bookmarkName_) + "}";
        }
    } else if (!bookmarkName_.empty()) {
        w += "{\\*\\bkmkend " + Escaped(bookmarkName_) + "}";
        bookmarkName_.clear();
    }
    // An open field ends before the attributes of the next run, which belong outside it.
    if (fieldOpen_ && !(c.Flags & afAutomatic)) {
        if (unnamedIp_) {
            w += "\\inaut0";
        } else {
            w += "}";
            fieldOpen_ = false;
        }
    }
    w += "\\plain\\f" + N(c.FontIndex) + "\\fs" + N(c.Size ? c.Size * 2 : 20) + "\\cf" + N(c.Colors & 15);
    if (c.Colors > 15) w += "\\cb" + N(c.Colors >> 4);
    if (c.Flags & afBold) w += "\\b";
    if (c.Flags & afUnderline) w += "\\ul";
    if (c.Flags & afHyperlink) w += "\\uldb";
    if (c.Flags & afSuperScript) w += "\\super";
    if (c.Flags & afSubScript) w += "\\sub";
    if (c.Flags & afItalic) w += "\\i";
    if (c.Flags & afStrikeOut) w += "\\strike";
    if (c.Flags & afProtected) w += "\\shad";
    hiddenWritten_ = (c.Flags & afHidden) != 0;
    if (hiddenWritten_) w += "\\v";
    if (c.Flags & afRawRtf) {
        w += "\\zrtrtf1";
        raw_ = true;
    }
    if (c.Flags & afNumbered) w += "\\zrtnr";
    if ((c.Flags & afInsertPoint) && !HideInsertPoints) {
        const std::string name = Doc->InsertPointNames.NameOfKey(c.Number);
        if (!name.empty()) {
            const std::string shown = name.find(' ') != std::string::npos ? "\"" + name + "\"" : name;
            w += "{\\field{\\*\\fldinst { MERGEFIELD " + Escaped(shown) + " }}";
            Put(w);
            w.clear();
            WriteChars(1);
            curIndex_ -= 1;
            consumed_ = 1;
            fieldOpen_ = true;
            unnamedIp_ = false;
            return;
        }
        w += "\\inspnt" + N(c.Number);
        unnamedIp_ = true;
    }
    if ((c.Flags & afAutomatic) && !HideAutomatic && !fieldOpen_ && unnamedIp_) w += "\\inaut";
    if (w.back() != '}') w += " ";
    Put(w);
}

int TZrtRTFWriter::WriteChars(int count) {
    static const char digits[] = "0123456789abcdef";
    const bool hard = Doc->Header->StoreOptions.Contains(TStoreOption::soHardLineBreaks);
    for (int i = 0; i < count; ++i) {
        const unsigned char b = static_cast<unsigned char>(curLine_->Chars[static_cast<size_t>(curIndex_ + i)]);
        if ((b == '\\' || b == '{' || b == '}') && !raw_) {
            out_ += '\\';
            out_ += static_cast<char>(b);
        } else if (b == 9) {
            out_ += "\\tab ";
        } else if (b >= 32 && b <= 126) {
            out_ += static_cast<char>(b);
        } else if (b == 10) {
            if (!hard) out_ += "\\line ";
        } else if (b >= 1 && b <= 3) {
        } else {
            out_ += "\\'";
            out_ += digits[b >> 4];
            out_ += digits[b & 15];
        }
    }
    curIndex_ += count;
    if (out_.size() > 4096) Flush();
    return Result;
}

int TZrtRTFWriter::WriteLineBreak() {
    if (Doc->Header->StoreOptions.Contains(TStoreOption::soHardLineBreaks)) Put("\\par ");
    return Result;
}

int TZrtRTFWriter::WriteParagraphEnd() {
    TParagraph* p = curPar_;
    if (fieldOpen_) {
        Put("}");
        fieldOpen_ = false;
    }
    if (p->IsCell()) {
        Put("\\cell}");
        if ((p->ParFlags & pfNotFirstCell) && !(p->ParFlags & pfMoreCells))
            Put("\\row\r\n");
        else
            Put("\r\n");
        return Result;
    }
    if (!p->Next) return Result;
    Put(hiddenWritten_ ? "\\plain\\par\r\n" : "\\par\r\n");
    if (shadingOpen_) {
        Put("}\\pard ");
        shadingOpen_ = false;
        // The shading's tab group closed with it.
        if (!groups_.empty() && groups_.back().kind == gkTabs) groups_.pop_back();
    }
    return Result;
}

void TZrtRTFWriter::WriteObject(int number) {
    TObjectRef* ref = Doc->FindObjectRef(number);
    if (!ref || !ref->Object) return;
    TZrtObject* object = ref->Object;
    if (auto* field = dynamic_cast<TZrtObjectField*>(object)) {
        Put("{\\field{\\*\\fldinst{" + field->FieldName() + " " + field->FieldMask() + "}}}");
        return;
    }
    const int32_t w = object->WidthTW(), h = object->HeightTW();
    object->SetWidthTW(ref->Width);
    object->SetHeightTW(ref->Height);
    const TZrtObjectWriteRTFMode mode = object->WriteRTFMode();
    if (mode != TZrtObjectWriteRTFMode::wobOnlyRTF) {
        fw::TMemoryStream data;
        const bool linked = object->Linked;
        if (!object->ObjName().empty() && object->LoadedFromFile) object->Linked = true;
        SaveObject(object, data);
        object->Linked = linked;
        if (ref->Mode == 1)
            Put("{\\*\\zrtkit\\ppar\\relx" + N(ref->X) + "\\rely" + N(ref->Y) + "{");
        else if (ref->Mode == 2)
            Put("{\\*\\zrtkit\\ppag\\relx" + N(ref->X) + "\\rely" + N(ref->Y) + "{");
        else
            Put("{\\*\\zrtkit{");
        WriteHex(data.Memory(), static_cast<size_t>(data.Size()));
        Put("}}");
    }
    if (mode != TZrtObjectWriteRTFMode::wobOnlyStandard) {
        Flush();
        object->WriteRTF(*Stream);
    }
    object->SetWidthTW(w);
    object->SetHeightTW(h);
}

void TZrtRTFWriter::WriteFootnote(int number) {
    TFootnote* f = Doc->FindFootnote(number);
    if (!f) return;
    const std::string m = Escaped(std::string(1, f->Mark));
    if (f->Value == 0 || f->Flag)
        Put("{\\cs16\\super " + m + "{\\*\\footnote \\pard\\plain\t\\s15\\widctlpar \\f4\\fs20\\lang1031 {\\cs16\\super " + m +
            "}\r\n");
    else
        Put("{\\cs16\\super " + m + "{\\*\\footnote \\zrtfnnr" + N(f->Value) +
            " \\pard\\plain \\s15\\widctlpar \\f4\\fs20\\lang1031 {\\cs16\\super\t" + m + "}\r\n");
    Put(Escaped(f->Text) + "}}");
}

}  // namespace rt
