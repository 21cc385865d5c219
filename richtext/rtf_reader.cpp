#include "richtext/rtf_reader.h"

#include <cstring>

#include "framework/core/exceptions.h"

namespace rt {

namespace {

constexpr char kRawEnd[] = "\\zrtrtf0";
constexpr int kRawEndLength = 8;

bool SmallHex(int c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
int HexDigit(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

TZrtRtfReader::TZrtRtfReader() = default;
TZrtRtfReader::~TZrtRtfReader() = default;

int TZrtRtfReader::Read(fw::TStream* stream, TParagraph*& first) {
    ErrorCode = 0;
    if (!stream_) SetStream(stream);
    if (!Header || !Doc) throw fw::Exception("Wrong Arguments in\tTZrtRTFReader");
    cell_ = Doc->CurrentCell;
    cell_.Size = 10;
    paperWidth_ = Header->PageWidth;
    marginLeft_ = Header->LeftMargin;
    marginRight_ = Header->RightMargin;
    if (ContinuePar) {
        curPar_ = ContinuePar;
    } else {
        curPar_ = StartParagraph();
        ParCount = 0;
    }
    curLine_ = TZrtRTFText::LastLine(curPar_);
    first = curPar_;
    image_.par = Template;
    image_.par.FirstLine = nullptr;
    image_.par.Next = image_.par.Prev = nullptr;
    image_.par.Objects = nullptr;
    try {
        for (;;) {
            const int b = ReadByte();
            if (b < 0) break;
            if (dest_ == dsPictureData && SmallHex(b)) {
                RouteChar(b);
                continue;
            }
            if (depth_ < 0) break;
            int stop = 0;
            if (dest_ == dsColorTable && b == ';') {
                ColorEntryEnd();
            } else if (byteMode_ == 1 || byteMode_ == 3) {
                RouteChar(b);
            } else if (rawMode_) {
                RawByte(b);
            } else {
                switch (b) {
                    case 0: stop = 1; break;
                    case '\\':
                        if (dest_ == dsFieldInstruction)
                            RouteChar(b);
                        else
                            stop = ControlWord();
                        break;
                    case '{':
                        GroupBegin();
                        groupSeen_ = true;
                        break;
                    case '}':
                        if ((dest_ == dsPictureData || dest_ == dsPictureFile) && data_) FinishPicture();
                        stop = GroupEnd();
                        break;
                    case '\t':
                    case '\n':
                    case '\r': break;
                    default:
                        if (byteMode_ == 2) {
                            const int d = HexDigit(b);
                            if (d < 0) {
                                stop = 1;
                            } else if (hexHigh_ < 0) {
                                hexHigh_ = d;
                            } else {
                                const int value = hexHigh_ * 16 + d;
                                hexHigh_ = -1;
                                byteMode_ = 0;
                                RouteChar(value);
                            }
                        } else {
                            RouteChar(b);
                        }
                }
            }
            if (stop) break;
            if (groupSeen_ && depth_ == 0) break;
        }
    } catch (...) {
        for (TParagraph* p = first; p; p = p->Next) p->MarkDirty();
        ErrorCode = 5;
        data_.reset();
        throw;
    }
    for (TParagraph* p = first; p; p = p->Next) p->MarkDirty();
    FinishInput();
    return ErrorCode;
}

void TZrtRtfReader::RawByte(int ch) {
    if (ch == kRawEnd[rawMatched_]) {
        if (++rawMatched_ == kRawEndLength) {
            rawMode_ = false;
            rawMatched_ = 0;
            cell_.Flags &= ~afRawRtf;
        }
        return;
    }
    // The held-back bytes were text after all; the mismatching byte is not tried as a new start.
    for (int i = 0; i < rawMatched_; ++i) InsertChar(static_cast<unsigned char>(kRawEnd[i]));
    rawMatched_ = 0;
    InsertChar(ch);
}

void TZrtRtfReader::GroupBegin() {
    Group g;
    g.cell = cell_;
    g.image = image_;
    g.dest = dest_;
    g.byteMode = byteMode_;
    groups_.push_back(g);
    byteMode_ = 0;
    ++depth_;
    if (dest_ == dsStyleSheet) ++styleLevel_;
}

int TZrtRtfReader::GroupEnd() {
    if (groups_.empty()) {
        --depth_;
        return 2;
    }
    Group g = groups_.back();
    groups_.pop_back();
    if (dest_ == dsStyleSheet) {
        if (styleLevel_ == 2) StoreStyle();
        --styleLevel_;
    }
    const bool bookmarkPending = dest_ == dsBookmarkName && bkIndex_ == 32000;
    if (dest_ != g.dest) DestinationEnd(dest_);
    if (g.image.par.Borders == 0 && curPar_->Prev && curPar_->Prev->Borders != 0)
        curPar_->Prev->Borders |= brEnds;
    const bool leavingRow = image_.inRow && !g.image.inRow;
    cell_ = g.cell;
    image_ = g.image;
    dest_ = g.dest;
    byteMode_ = g.byteMode;
    if (bookmarkPending) CompleteBookmark();
    if (bkClosed_) {
        // The bookmark ended inside this group; the text after the group does not carry it.
        cell_.Flags &= ~afBookmark;
        cell_.Number = 0;
        bkClosed_ = false;
    }
    if (leavingRow) StoreTableDef();
    --depth_;
    curPar_->Shading = image_.par.Shading;
    curPar_->ShadingPercent = image_.par.ShadingPercent;
    return depth_ < 0 ? 2 : 0;
}

int TZrtRtfReader::ControlWord() {
    int c = ReadByte();
    if (c < 0) return 1;
    if (!(c >= 'a' && c <= 'z')) return Dispatch(std::string(1, static_cast<char>(c)), 0, false);
    std::string word;
    while (c >= 'a' && c <= 'z') {
        if (word.size() < 30)
            word += static_cast<char>(c);
        else
            word.back() = static_cast<char>(c);
        c = ReadByte();
    }
    bool negative = false;
    bool hasValue = false;
    int value = 0;
    if (c == '-') {
        negative = true;
        c = ReadByte();
    }
    std::string digits;
    while (c >= '0' && c <= '9') {
        if (digits.size() < 20)
            digits += static_cast<char>(c);
        else
            digits.back() = static_cast<char>(c);
        c = ReadByte();
    }
    if (negative || !digits.empty()) {
        if (digits.empty() || digits.size() > 10) throw fw::EConvertError("'" + digits + "' is not a valid integer value");
        int64_t v = std::stoll(digits);
        if (negative) v = -v;
        if (v > INT32_MAX || v < INT32_MIN) throw fw::EConvertError("'" + digits + "' is not a valid integer value");
        value = static_cast<int>(v);
        hasValue = true;
        lastParam_ = value;
    }
    if (c >= 0 && c != ' ') UnreadByte();
    return Dispatch(word, value, hasValue);
}

int TZrtRtfReader::Dispatch(const std::string& word, int value, bool hasValue) {
    if (word == "'") {
        byteMode_ = 2;
        hexHigh_ = -1;
        return 0;
    }
    if (word == "{" || word == "}" || word == "\\") {
        // Escaped braces and backslashes are text of the paragraph, also inside the font table. A
        // skipped group drops them like any text, and destinations that collect a text of their own
        // (title, footnote, names, fields) keep them in it.
        const int ch = static_cast<unsigned char>(word[0]);
        if (dest_ == dsFontTable || dest_ == dsColorTable || InText())
            InsertChar(ch);
        else if (dest_ != dsSkip)
            RouteChar(ch);
        return 0;
    }
    const TRtfKeyword* k = FindRtfKeyword(word);
    if (!k) {
        if (star_) dest_ = dsSkip;
        star_ = false;
        return 0;
    }
    star_ = false;
    switch (k->kind) {
        case RtfKind::Char: RouteChar(k->action); break;
        case RtfKind::Destination:
            if (dest_ != dsSkip) Destination(static_cast<RtfDest>(k->action));
            break;
        case RtfKind::Property:
            if (dest_ != dsSkip)
                Property(static_cast<RtfProp>(k->action), (k->useDefault || !hasValue) ? k->defaultValue : value);
            break;
        case RtfKind::Special:
            if (dest_ != dsSkip) Special(static_cast<RtfSpecial>(k->action));
            break;
    }
    return 0;
}

void TZrtRtfReader::Special(RtfSpecial action) {
    switch (action) {
        case RtfSpecial::Binary: break;  // its data is then read as text
        case RtfSpecial::Hex:
            byteMode_ = 2;
            hexHigh_ = -1;
            break;
        case RtfSpecial::Star: star_ = true; break;
    }
}

void TZrtRtfReader::InsertWithCell(int ch, const TAttrCell& cell) {
    if (ch == 1010) ch = 10;
    if (ch == '\r' || ch <= 0 || ch > 255) return;
    TTextLine* line = curLine_;
    if (line->Capacity() - line->Length <= 4) {
        Doc->NewLine(curLine_, 60);
        line = curLine_;
    }
    line->Chars[line->Length] = static_cast<char>(ch);
    if (line->HasCells()) {
        line->Cells[line->Length] = cell;
        if (ch == 1) line->Cells[line->Length].Flags |= afObject;
    }
    ++line->Length;
    line->Chars[line->Length] = 0;
}

void TZrtRtfReader::InsertChar(int ch) {
    // Line feeds from the input are dropped; a soft line break arrives as 1010.
    if (ch == '\n' || ch == '\r' || ch <= 0) return;
    InsertWithCell(ch, cell_);
}

void TZrtRtfReader::RouteChar(int ch) {
    switch (dest_) {
        case dsText:
        case dsHeader:
        case dsFooter: InsertChar(ch); break;
        case dsFontTable:
            if (ch == ';')
                FontEntryEnd();
            else if (!(ch == ' ' && fontName_.empty()) && ch > 0 && ch < 256)
                fontName_ += static_cast<char>(ch);
            break;
        case dsPictureData:
            if (!SmallHex(ch)) break;
            if (hexHigh_ < 0) {
                hexHigh_ = HexDigit(ch);
            } else {
                const uint8_t byte = static_cast<uint8_t>(hexHigh_ * 16 + HexDigit(ch));
                hexHigh_ = -1;
                if (data_) data_->WriteBuffer(&byte, 1);
            }
            break;
        case dsPictureFile:
            if (ch == '"') {
                byteMode_ = byteMode_ == 3 ? 0 : 3;
            } else if (byteMode_ == 3 && picFileName_.size() < 255 && ch > 0 && ch < 256) {
                picFileName_ += static_cast<char>(ch);
            }
            break;
        case dsTitle:
            if (ch > 0 && ch < 256) Header->Title += static_cast<char>(ch);
            break;
        case dsComment:
            if (ch > 0 && ch < 256) Header->Comment += static_cast<char>(ch);
            break;
        case dsSubject:
            if (ch > 0 && ch < 256) Header->Subject += static_cast<char>(ch);
            break;
        case dsFootnote:
            if (!footnote_ || ch <= 0 || ch >= 256) break;
            if (footnote_->Text.empty() && (ch == ' ' || ch == static_cast<unsigned char>(footnoteMark_))) break;
            footnote_->Text += static_cast<char>(ch);
            break;
        case dsFieldResult: {
            // Only a MERGEFIELD keeps its result (as insertion-point text); the result of any other
            // field is shown by its field object.
            if (!mergeField_ || (pendingIp_ == 0 && lastIp_ == 0)) break;
            TAttrCell c = cell_;
            if (pendingIp_ != 0) {
                c.Flags = (c.Flags | afInsertPoint) & ~afAutomatic;
                c.Number = static_cast<uint16_t>(pendingIp_);
                lastIp_ = pendingIp_;
                pendingIp_ = 0;
            } else {
                c.Flags = (c.Flags | afAutomatic) & ~afInsertPoint;
                c.Number = static_cast<uint16_t>(lastIp_);
            }
            if (ch != '\n' && ch != '\r' && ch > 0) InsertWithCell(ch, c);
            break;
        }
        case dsFieldInstruction:
            if (ch <= 0 || ch >= 256) break;
            if (instrSwitch_) {
                if (ch == ' ') instrSwitch_ = false;
                break;
            }
            if (!instrQuote_) {
                if (ch == '"')
                    instrQuote_ = true;
                else if (ch == '\\') {
                    instrSwitch_ = true;
                    break;
                }
            } else if (ch == '"') {
                instrQuote_ = false;
            }
            if (instr_.empty() && ch == ' ') break;
            if (instr_.size() < 399) instr_ += static_cast<char>(ch);
            break;
        case dsBookmarkName:
            if (ch > 0 && ch < 256) bkName_ += static_cast<char>(ch);
            break;
        case dsStyleSheet:
            if (ch > 0 && ch < 256) styleName_ += static_cast<char>(ch);
            break;
        default: break;
    }
}

void TZrtRtfReader::FontEntryEnd() {
    const int index = Header->FindOrAddFont(fontName_);
    if (fontNumber_ >= 0 && fontNumber_ <= 98 && index <= 98) {
        fontMap_[fontNumber_] = static_cast<uint8_t>(index);
        if (fontNumber_ == 0) cell_.FontIndex = static_cast<uint8_t>(index);
    }
    fontNumber_ = 0;
    fontName_.clear();
}

void TZrtRtfReader::ColorEntryEnd() {
    TRgb c;
    c.red = static_cast<uint8_t>(red_);
    c.green = static_cast<uint8_t>(green_);
    c.blue = static_cast<uint8_t>(blue_);
    if (Header->NoColorTable) {
        if (colorCounter_ < 15) {
            int found = -1;
            for (int j = 0; j < colorCounter_; ++j)
                if (taken_[j] == c) {
                    found = j;
                    break;
                }
            if (found >= 0) {
                colorMap_[colorCounter_] = colorMap_[found];
            } else {
                Header->Colors[static_cast<size_t>(colorCounter_)] = c;
                colorMap_[colorCounter_] = static_cast<uint8_t>(colorCounter_);
            }
            taken_[colorCounter_] = c;
        }
    } else {
        int index = -1;
        Header->ColorIndex(c.red | c.green << 8 | static_cast<TColor>(c.blue) << 16, index);
        if (index >= 0 && colorCounter_ < 15) colorMap_[colorCounter_] = static_cast<uint8_t>(index);
        colorMap_[0] = 0;
    }
    ++colorCounter_;
    red_ = green_ = blue_ = 0;
}

void TZrtRtfReader::Destination(RtfDest action) {
    switch (action) {
        case RtfDest::Skip: dest_ = dsSkip; break;
        case RtfDest::Picture:
        case RtfDest::ObjectData:
            data_ = std::make_unique<fw::TMemoryStream>();
            hexHigh_ = -1;
            dest_ = dsPictureData;
            objectData_ = action == RtfDest::ObjectData;
            if (!objectData_) picKind_ = 0;
            break;
        case RtfDest::PictureFile:
            data_ = std::make_unique<fw::TMemoryStream>();
            picFileName_.clear();
            picKind_ = 3;
            dest_ = dsPictureFile;
            break;
        case RtfDest::FontTable: dest_ = dsFontTable; break;
        case RtfDest::ColorTable:
            dest_ = dsColorTable;
            colorCounter_ = 0;
            break;
        case RtfDest::Title: dest_ = Header->Title.empty() ? dsTitle : dsSkip; break;
        case RtfDest::Comment: dest_ = Header->Comment.empty() ? dsComment : dsSkip; break;
        case RtfDest::Subject: dest_ = Header->Subject.empty() ? dsSubject : dsSkip; break;
        case RtfDest::Footnote: {
            if (!Header->rich) {
                dest_ = dsSkip;
                break;
            }
            footnote_ = Doc->AddFootnote('#', 1, std::string());
            TTextLine* line = curLine_;
            if (line->Length > 0) {
                footnoteMark_ = line->Chars[line->Length - 1];
                if (line->HasCells()) {
                    TAttrCell& c = line->Cells[line->Length - 1];
                    c.Number = footnote_->Number;
                    c.Flags = (c.Flags | afFootnote) & ~afSuperScript;
                }
            } else {
                // Nothing to mark on an empty line: the mark is '?' and no cell changes.
                footnoteMark_ = '?';
            }
            footnote_->Mark = footnoteMark_;
            dest_ = dsFootnote;
            break;
        }
        case RtfDest::Field:
            dest_ = Header->rich ? dsFieldResult : dsSkip;
            mergeField_ = false;
            break;
        case RtfDest::FieldInstruction:
            instr_.clear();
            instrQuote_ = instrSwitch_ = false;
            dest_ = Header->rich ? dsFieldInstruction : dsSkip;
            break;
        case RtfDest::BookmarkStart:
            bkOpen_ = true;
            bkIndex_ = 32000;
            bkName_.clear();
            dest_ = dsBookmarkName;
            break;
        case RtfDest::BookmarkEnd:
            if (bkIndex_ >= 0 && bkIndex_ < Doc->Bookmarks.Count() && !bkName_.empty())
                Doc->Bookmarks.Put(bkIndex_, bkName_);
            cell_.Flags &= ~afBookmark;
            cell_.Number = 0;
            bkOpen_ = false;
            bkClosed_ = true;
            dest_ = dsSkip;
            break;
        case RtfDest::Header:
        case RtfDest::Footer: {
            const bool header = action == RtfDest::Header;
            TParagraph*& chain = header ? HeaderChain : FooterChain;
            if (mainPar_ || Inserting || chain) {
                dest_ = dsSkip;
                break;
            }
            mainPar_ = curPar_;
            mainLine_ = curLine_;
            chain = StartParagraph();
            curPar_ = chain;
            curLine_ = chain->FirstLine;
            dest_ = header ? dsHeader : dsFooter;
            break;
        }
        case RtfDest::StyleSheet:
            dest_ = dsStyleSheet;
            style_ = TStyleRecord();
            styleName_.clear();
            styleLevel_ = 1;
            break;
    }
}

void TZrtRtfReader::DestinationEnd(int state) {
    switch (state) {
        case dsFieldInstruction:
            FieldInstructionEnd();
            instr_.clear();
            break;
        case dsHeader:
        case dsFooter:
            if (mainPar_) {
                TrimLines();
                curPar_ = mainPar_;
                curLine_ = mainLine_;
                mainPar_ = nullptr;
                mainLine_ = nullptr;
            }
            break;
        case dsStyleSheet: styleLevel_ = 0; break;
        default: break;
    }
}

void TZrtRtfReader::CompleteBookmark() {
    int index = Doc->Bookmarks.IndexOf(bkName_);
    if (index < 0) index = Doc->Bookmarks.Add(bkName_);
    bkIndex_ = index;
    cell_.Flags |= afBookmark;
    cell_.Number = static_cast<uint16_t>(index);
}

void TZrtRtfReader::StoreStyle() {
    TStyleRecord r = style_;
    r.Par = *curPar_;
    r.Par.FirstLine = nullptr;
    r.Par.Next = r.Par.Prev = nullptr;
    r.Par.Objects = nullptr;
    r.Cell = cell_;
    std::string name = styleName_;
    while (!name.empty() && (name.back() == ';' || name.back() == ' ')) name.pop_back();
    if (name.size() > 40) name.resize(40);
    std::memcpy(r.Name, name.c_str(), name.size() + 1);
    Doc->Styles.Add(name, &r);
    style_ = TStyleRecord();
    styleName_.clear();
}

void TZrtRtfReader::FinishPicture() {
    ObjectEnd(nullptr, 0, 0);
    data_.reset();
    dest_ = dsSkip;
    objectData_ = false;
}

}  // namespace rt
