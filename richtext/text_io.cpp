#include "richtext/text_io.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/text_reader.h"
#include "richtext/text_writer.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::map<std::string, ReaderFactory>& Readers() {
    static std::map<std::string, ReaderFactory> map;
    return map;
}
std::map<std::string, WriterFactory>& Writers() {
    static std::map<std::string, WriterFactory> map;
    return map;
}

// Streams up to this size that are not in memory are copied there before reading.
constexpr int64_t kInPlaceReadSize = 600000;

}  // namespace

void RegisterReaderClass(const std::string& name, ReaderFactory factory) { Readers()[Upper(name)] = std::move(factory); }
void RegisterWriterClass(const std::string& name, WriterFactory factory) { Writers()[Upper(name)] = std::move(factory); }

std::unique_ptr<TZrtCustomTextReader> CreateReader(const std::string& name) {
    RegisterRichText();
    auto it = Readers().find(Upper(name));
    if (it == Readers().end()) throw fw::Exception(Message(msgReaderNotFound) + name);
    auto reader = it->second();
    if (!reader) throw fw::Exception(Message(msgIncorrectIoClass) + name);
    return reader;
}

std::unique_ptr<TZrtCustomTextWriter> CreateWriter(const std::string& name) {
    RegisterRichText();
    auto it = Writers().find(Upper(name));
    if (it == Writers().end()) throw fw::Exception(Message(msgWriterNotFound) + name);
    auto writer = it->second();
    if (!writer) throw fw::Exception(Message(msgIncorrectIoClass) + name);
    return writer;
}

void RegisterRichText() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterReaderClass(kTextReaderClass, [] { return std::make_unique<TZrtTextReader>(); });
    RegisterReaderClass(kRtfReaderClass, [] { return std::make_unique<TZrtRtfReader>(); });
    RegisterWriterClass(kTextWriterClass, [] { return std::make_unique<TZrtTextWriter>(); });
    RegisterWriterClass(kRtfWriterClass, [] { return std::make_unique<TZrtRTFWriter>(); });
    RegisterObjectClasses();
    RegisterCharacterAttrClass();
    fw::Class<TZrtRTFText, fw::TPersistent>("TZrtRTFText");
    fw::Class<TZrtRTFTextIo, TZrtRTFText>("TZrtRTFTextIo");
}

TZrtRTFTextIo::TZrtRTFTextIo(fw::TComponent* owner) : TZrtRTFText(owner) {
    RegisterRichText();
    CurPar = Body;
    CurLine = Body->FirstLine;
    CurPos = 0;
}

bool TZrtRTFTextIo::IsEmpty() const {
    return Body && !Body->Next && !Body->FirstLine->Next && Body->FirstLine->Length == 0;
}

void TZrtRTFTextIo::DefineProperties(fw::TFiler& filer) {
    TZrtRTFText::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](fw::TStream& s) { ReadData(s); }, [this](fw::TStream& s) { WriteData(s); }, !IsEmpty());
}

void TZrtRTFTextIo::Clear() {
    TZrtRTFText::Clear();
    SelStartPar = SelEndPar = nullptr;
    SelStartLine = SelEndLine = nullptr;
    SelStartPos = SelEndPos = 0;
    SelBackwards = false;
    CurPar = Body;
    CurLine = Body->FirstLine;
    CurPos = 0;
    const uint8_t font = CurrentCell.FontIndex;
    const uint8_t size = CurrentCell.Size;
    CurrentCell = TAttrCell();
    CurrentCell.FontIndex = font;
    CurrentCell.Size = size ? size : 10;
    Body->SpaceBefore = 0;
    Body->SpaceAfter = 0;
}

void TZrtRTFTextIo::ReadData(fw::TStream& stream) {
    Clear();
    auto reader = CreateReader(kRtfReaderClass);
    Loading = true;
    try {
        ReadWith(stream, *reader);
    } catch (...) {
        Loading = false;
        Clear();
        throw;
    }
    Loading = false;
}

void TZrtRTFTextIo::WriteData(fw::TStream& stream) {
    auto writer = CreateWriter(kRtfWriterClass);
    writer->Reset();
    WriteWith(stream, *writer);
    const uint8_t zeros[4] = {};
    stream.WriteBuffer(zeros, 4);
}

int TZrtRTFTextIo::WriteWith(fw::TStream& stream, TZrtCustomTextWriter& writer) {
    std::copy(std::begin(WriterOptions), std::end(WriterOptions), writer.Options);
    writer.Doc = this;
    writer.StartPar = Body;
    writer.StartLine = nullptr;
    writer.StartPos = 0;
    writer.EndPar = nullptr;
    writer.EndLine = nullptr;
    writer.HideInsertPoints = HideInsertPoints;
    writer.HideAutomatic = HideAutomaticText;
    writer.NoNul = SavingToFile || Header->StoreOptions.Contains(TStoreOption::soNoNULLChar);
    writer.DocEmpty = IsEmpty();
    int r = writer.WriteHeader(&stream);
    if (r == 0) r = writer.WriteBody(&stream);
    if (r == 0) r = writer.WriteClosing(&stream);
    return r;
}

int TZrtRTFTextIo::WriteSelectionWith(fw::TStream& stream, TZrtCustomTextWriter& writer) {
    if (!SelStartPar || !SelEndPar || !SelStartLine || !SelEndLine) return 0;
    std::copy(std::begin(WriterOptions), std::end(WriterOptions), writer.Options);
    writer.Doc = this;
    const bool back = SelBackwards;
    writer.StartPar = back ? SelEndPar : SelStartPar;
    writer.StartLine = back ? SelEndLine : SelStartLine;
    writer.StartPos = back ? SelEndPos : SelStartPos;
    writer.EndPar = back ? SelStartPar : SelEndPar;
    writer.EndLine = back ? SelStartLine : SelEndLine;
    writer.EndPos = back ? SelStartPos : SelEndPos;
    writer.HideInsertPoints = HideInsertPoints;
    writer.HideAutomatic = HideAutomaticText;
    writer.NoNul = SavingToFile || Header->StoreOptions.Contains(TStoreOption::soNoNULLChar);
    writer.DocEmpty = IsEmpty();
    int r = writer.WriteHeader(&stream);
    if (r == 0) r = writer.WriteBody(&stream);
    if (r == 0) r = writer.WriteClosing(&stream);
    return r;
}

int TZrtRTFTextIo::ReadWith(fw::TStream& stream, TZrtCustomTextReader& reader) {
    reader.OptionPath = ReaderPath;
    reader.OptionByte = ReaderOption;
    LastIoResult = 6;
    const TAttrCell savedCell = CurrentCell;
    reader.Header = Header.get();
    reader.Doc = this;
    reader.Template = *CurPar;
    reader.Template.FirstLine = nullptr;
    reader.Template.Next = reader.Template.Prev = nullptr;
    reader.Template.Objects = nullptr;
    if (IsEmpty()) {
        const bool wasLoading = Loading;
        Loading = true;
        Header->NoColorTable = true;
        Header->Title.clear();
        Header->Subject.clear();
        Header->Comment.clear();
        reader.ContinuePar = CurPar;
        reader.ParCount = 0;
        reader.Inserting = false;
        TParagraph* first = nullptr;
        try {
            const int64_t start = stream.Position();
            if (dynamic_cast<fw::TMemoryStream*>(&stream) || stream.Size() - start > kInPlaceReadSize) {
                reader.Read(&stream, first);
            } else {
                fw::TMemoryStream memory;
                memory.CopyFrom(stream, stream.Size() - start);
                memory.SetPosition(0);
                reader.Read(&memory, first);
                stream.SetPosition(start + memory.Position());
            }
        } catch (...) {
            FreeChain(reader.HeaderChain);
            FreeChain(reader.FooterChain);
            reader.HeaderChain = reader.FooterChain = nullptr;
            Header->NoColorTable = false;
            Loading = wasLoading;
            Clear();
            LastIoResult = 6;
            throw;
        }
        Header->NoColorTable = false;
        Loading = wasLoading;
        Header->RecalcPixels();
        if (reader.HeaderChain) {
            FreeChain(HeaderText);
            HeaderText = reader.HeaderChain;
        }
        if (reader.FooterChain) {
            FreeChain(FooterText);
            FooterText = reader.FooterChain;
        }
        reader.HeaderChain = reader.FooterChain = nullptr;
        CurPar = Body;
        while (CurPar->Next) CurPar = CurPar->Next;
        CurLine = LastLine(CurPar);
        CurPos = CurLine->Length;
    } else {
        DeleteSelection();
        reader.ContinuePar = nullptr;
        reader.ParCount = static_cast<int>(CurPar->Number);
        reader.Inserting = true;
        TParagraph* chain = nullptr;
        try {
            reader.Read(&stream, chain);
        } catch (...) {
            FreeChain(chain);
            LastIoResult = 6;
            throw;
        }
        if (chain && !InsertChain(CurPar, CurLine, chain, CurPos)) FreeChain(chain);
    }
    if (Header->rich) CurrentCell = savedCell;
    UpdateNumbering();
    Reformat(true);
    bool anyCell = false;
    for (TParagraph* p = Body; p; p = p->Next) anyCell = anyCell || p->IsCell();
    if (anyCell) {
        for (TParagraph* p = Body; p; p = p->Next) p->MarkDirty();
        Reformat(true);
    }
    Paginate(nullptr);
    LastIoResult = 0;
    return reader.ErrorCode;
}

std::string TZrtRTFTextIo::ChooseReaderClass(fw::TStream& stream) const {
    if (!FileExtension.empty() && Upper(LoadFormat) == "AUTO") {
        if (FileExtension == ".RTF" || FileExtension == ".DOC") return kRtfReaderClass;
        if (FileExtension == ".HTM" || FileExtension == ".HTML") return kHtmlReaderClass;
        if (FileExtension == ".TXT") return kTextReaderClass;
    }
    const std::string format = Upper(LoadFormat);
    if (format == "RTF") return kRtfReaderClass;
    if (format == "HTML") return kHtmlReaderClass;
    if (format == "ANSI") return kTextReaderClass;
    if (!format.empty() && format != "AUTO") return kTextReaderClass;
    const int64_t start = stream.Position();
    uint8_t b = 0;
    bool rtf = false;
    while (stream.Read(&b, 1) == 1 && (b == ' ' || b == '\n' || b == '\r' || b == '\t' || b == 8)) {
    }
    if (b == '{') {
        char next[4] = {};
        rtf = stream.Read(next, 4) == 4 && std::string(next, 4) == "\\rtf";
    }
    stream.SetPosition(start);
    if (rtf) return kRtfReaderClass;
    bool html = false;
    std::string tag;
    bool inTag = false;
    for (int i = 0; i < 2000 && !html && stream.Read(&b, 1) == 1; ++i) {
        if (b == 0) break;
        if (b == '<') {
            inTag = true;
            tag.clear();
        } else if (inTag) {
            if (b == '>') {
                static const char* const tags[] = {"HTML", "B", "P", "BR", "TITLE", "BODY", "H1"};
                for (const char* t : tags) html = html || Upper(tag) == t;
                inTag = false;
            } else if (b == '\r' || tag.size() >= 9) {
                inTag = false;
            } else {
                tag += static_cast<char>(b);
            }
        }
    }
    stream.SetPosition(start);
    return html ? kHtmlReaderClass : kTextReaderClass;
}

std::string TZrtRTFTextIo::ChooseWriterClass() const {
    if (!FileExtension.empty() && Upper(SaveFormat) == "AUTO") {
        if (FileExtension == ".RTF" || FileExtension == ".DOC") return kRtfWriterClass;
        if (FileExtension == ".HTM" || FileExtension == ".HTML") return kHtmlWriterClass;
        if (FileExtension == ".TXT") return kTextWriterClass;
    }
    const std::string format = Upper(SaveFormat);
    if (format == "RTF") return kRtfWriterClass;
    if (format == "HTML") return kHtmlWriterClass;
    if (format == "ANSI") return kTextWriterClass;
    if (format.empty() || format == "AUTO") return (!Header->rich || IsEmpty()) ? kTextWriterClass : kRtfWriterClass;
    return {};
}

void TZrtRTFTextIo::LoadFromStream(fw::TStream& stream) {
    LastIoResult = 5;
    auto reader = CreateReader(ChooseReaderClass(stream));
    try {
        LastIoResult = ReadWith(stream, *reader);
    } catch (...) {
        LastIoResult = 5;
        throw;
    }
}

void TZrtRTFTextIo::SaveToStream(fw::TStream& stream) {
    LastIoResult = 5;
    auto writer = CreateWriter(ChooseWriterClass());
    writer->Reset();
    LastIoResult = WriteWith(stream, *writer);
}

void TZrtRTFTextIo::SaveSelectionToStream(fw::TStream& stream) {
    LastIoResult = 5;
    auto writer = CreateWriter(ChooseWriterClass());
    writer->Reset();
    LastIoResult = WriteSelectionWith(stream, *writer);
}

void TZrtRTFTextIo::SaveHeaderFooterToStream(int which, fw::TStream& stream) {
    TZrtRTFTextIo temp(Owner);
    temp.SaveFormat = SaveFormat;
    CopyHeaderFooterOut(which, &temp);
    temp.SaveToStream(stream);
    LastIoResult = temp.LastIoResult;
}

void TZrtRTFTextIo::LoadHeaderFooterFromStream(int which, fw::TStream& stream) {
    TZrtRTFTextIo temp(Owner);
    temp.LoadFormat = LoadFormat;
    temp.LoadFromStream(stream);
    CopyHeaderFooterIn(which, &temp);
    LastIoResult = temp.LastIoResult;
}

void TZrtRTFTextIo::SaveToFile(const std::string& name) {
    SavingToFile = true;
    const size_t dot = name.rfind('.');
    FileExtension = dot == std::string::npos ? std::string() : Upper(name.substr(dot));
    try {
        fw::TFileStream file(name, fw::fmCreate);
        SaveToStream(file);
    } catch (...) {
        SavingToFile = false;
        FileExtension.clear();
        throw;
    }
    SavingToFile = false;
    FileExtension.clear();
}

void TZrtRTFTextIo::LoadFromFile(const std::string& name) {
    const size_t dot = name.rfind('.');
    FileExtension = dot == std::string::npos ? std::string() : Upper(name.substr(dot));
    try {
        fw::TFileStream file(name, fw::fmOpenRead | fw::fmShareDenyWrite);
        LoadFromStream(file);
        Header->FormatName = LoadFormat;
    } catch (...) {
        FileExtension.clear();
        throw;
    }
    FileExtension.clear();
}

// ---- positions -----------------------------------------------------------------------------------

void TZrtRTFTextIo::GetPosition(int& absolute, int& lineIndex, int pos, TTextLine* line, TParagraph* paragraph,
                                int& posInParagraph, int& paragraphIndex) const {
    absolute = lineIndex = posInParagraph = paragraphIndex = 0;
    for (TParagraph* p = Body; p; p = p->Next) {
        if (p == paragraph) {
            for (TTextLine* l = p->FirstLine; l && l != line; l = l->Next) {
                posInParagraph += l->Length;
                ++lineIndex;
            }
            posInParagraph += pos;
            absolute += posInParagraph;
            return;
        }
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            absolute += l->Length;
            ++lineIndex;
        }
        absolute += 1;
        ++paragraphIndex;
    }
}

bool TZrtRTFTextIo::FindPosition(int absolute, int lineIndex, int& pos, TTextLine*& line, TParagraph*& paragraph,
                                 int posInParagraph, int paragraphIndex) const {
    int count = 0, lines = 0, pars = 0;
    for (TParagraph* p = Body; p; p = p->Next, ++pars) {
        int inPar = 0;
        for (TTextLine* l = p->FirstLine; l; l = l->Next, ++lines) {
            if (absolute != 0) {
                if (count + l->Length >= absolute) {
                    paragraph = p;
                    line = l;
                    pos = std::max(0, absolute - count);
                    return true;
                }
            } else if (lineIndex != 0) {
                if (lines == lineIndex) {
                    paragraph = p;
                    line = l;
                    pos = 0;
                    return true;
                }
            } else if (pars == paragraphIndex) {
                if (inPar + l->Length >= posInParagraph || !l->Next) {
                    paragraph = p;
                    line = l;
                    pos = std::clamp(posInParagraph - inPar, 0, static_cast<int>(l->Length));
                    return true;
                }
            }
            count += l->Length;
            inPar += l->Length;
        }
        count += 1;
    }
    paragraph = Body;
    while (paragraph->Next) paragraph = paragraph->Next;
    line = LastLine(paragraph);
    pos = line->Length;
    return true;
}

void TZrtRTFTextIo::GetCursorPos(int& absolute, int& lineIndex, int& posInParagraph, int& paragraphIndex) {
    GetPosition(absolute, lineIndex, CurPos, CurLine, CurPar, posInParagraph, paragraphIndex);
}

void TZrtRTFTextIo::SetCursorPos(int absolute, int lineIndex, int posInParagraph, int paragraphIndex) {
    FindPosition(absolute, lineIndex, CurPos, CurLine, CurPar, posInParagraph, paragraphIndex);
}

// ---- copies --------------------------------------------------------------------------------------

void TZrtRTFTextIo::AppendFrom(TParagraph* first, TTextLine* only) {
    TZrtRTFTextIo* src = CopySource;
    uint8_t fontMap[kFontCount];
    for (int i = 0; i < kFontCount; ++i) {
        fontMap[i] = static_cast<uint8_t>(i);
        if (src && i < kMaxFont && !src->Header->FontNames[i].empty()) {
            const int f = Header->FindOrAddFont(src->Header->FontNames[i]);
            fontMap[i] = static_cast<uint8_t>(f > 98 ? 0 : f);
        }
    }
    TParagraph* target = Body;
    while (target->Next) target = target->Next;
    CurPar = target;
    const bool lastEmpty = !target->FirstLine->Next && target->FirstLine->Length == 0;
    if (only && only != first->FirstLine) {
        TTextLine* l = LastLine(target);
        NewLine(l, 100);
    } else if (!lastEmpty || target->IsCell()) {
        NewParagraph(target, 100);
        target->ParFlags &= ~pfPageBreak;
    }
    for (TParagraph* sp = first; sp; sp = sp->Next) {
        TTextLine* tl = LastLine(target);
        for (TTextLine* sl = only ? only : sp->FirstLine; sl; sl = sl->Next) {
            for (int i = 0; i < sl->Length; ++i) {
                TAttrCell cell = sl->HasCells() ? sl->Cells[i] : CurrentCell;
                if (!Copying && (((cell.Flags & afInsertPoint) && HideInsertPoints) ||
                                 ((cell.Flags & afAutomatic) && HideAutomaticText)))
                    continue;
                const char ch = sl->Chars[i];
                cell.FontIndex = cell.FontIndex < kFontCount ? fontMap[cell.FontIndex] : 0;
                if (cell.FontIndex > 99) cell.FontIndex = 0;
                if (src && (cell.Flags & afFootnote)) {
                    if (TFootnote* f = src->FindFootnote(cell.Number)) {
                        TFootnote* nf = AddFootnote(f->Mark, f->Value, f->Text);
                        nf->Flag = f->Flag;
                        cell.Number = nf->Number;
                    } else {
                        cell.Flags &= ~afFootnote;
                    }
                }
                if (src && ch == 1 && (cell.Flags & afObject)) {
                    TObjectRef* sref = src->FindObjectRef(cell.Number);
                    TObjectRef* nref = nullptr;
                    if (sref && sref->Object) {
                        TObjectRef* same =
                            sref->Object->ObjName().empty() ? nullptr : FindObjectByName(sref->Object->ObjName());
                        if (same) {
                            nref = AddObjectRef(same->Object);
                        } else if (TZrtObject* clone = sref->Object->Clone(Owner)) {
                            nref = AddObjectRef(clone);
                        }
                    }
                    if (nref) {
                        nref->Mode = sref->Mode;
                        nref->AnchorPar = sref->AnchorPar;
                        nref->X = sref->X;
                        nref->Y = sref->Y;
                        nref->Width = sref->Width;
                        nref->Height = sref->Height;
                        nref->Name = sref->Name;
                        nref->Used = true;
                        cell.Number = nref->Number;
                    } else {
                        continue;
                    }
                }
                if (src && (cell.Flags & afBookmark)) {
                    const std::string name =
                        cell.Number < src->Bookmarks.Count() ? src->Bookmarks[cell.Number] : "BM" + std::to_string(cell.Number);
                    int index = Bookmarks.IndexOf(name);
                    if (index < 0) index = Bookmarks.Add(name);
                    cell.Number = static_cast<uint16_t>(index);
                }
                if (tl->Length + 2 >= tl->Capacity()) {
                    if (tl->Capacity() < 100)
                        GrowLine(tl, std::min(100, tl->Length + 8));
                    if (tl->Length + 2 >= tl->Capacity()) NewLine(tl, 100);
                }
                tl->Chars[tl->Length] = ch;
                if (tl->HasCells()) tl->Cells[tl->Length] = cell;
                ++tl->Length;
                tl->Chars[tl->Length] = 0;
            }
            if (only) break;
        }
        // Paragraph attributes.
        target->Alignment = sp->Alignment;
        target->LeftIndent = sp->LeftIndent;
        target->FirstIndent = sp->FirstIndent;
        target->RightIndent = sp->RightIndent;
        target->SpaceBefore = sp->SpaceBefore;
        target->LineSpacing = sp->LineSpacing;
        if (sp->IsCell()) {
            TParObject* st = ParTable(sp);
            TParObject* tt = ParTable(target);
            std::copy(std::begin(st->Data), std::end(st->Data), tt->Data);
            tt->Key = st->Key;
        }
        target->Outline = sp->Outline;
        target->Style = sp->Style;
        target->Shading = sp->Shading;
        target->ShadingPercent = sp->ShadingPercent;
        target->SpaceAfter = sp->IsCell() ? 0 : sp->SpaceAfter;
        target->Tabs = sp->Tabs;
        target->ParFlags = static_cast<uint16_t>((sp->ParFlags & ~pfPageBreak) | (target->ParFlags & pfPageBreak) |
                                                 (sp->ParFlags & pfPageBreak));
        target->Borders = sp->Borders;
        target->BorderWidth = sp->BorderWidth;
        target->BorderColorsLR = sp->BorderColorsLR;
        target->BorderColorsTB = sp->BorderColorsTB;
        target->BorderSpace = sp->BorderSpace;
        target->MarkDirty();
        if (only) {
            if (only->Next) target->ParFlags |= pfPartial;
            const bool rowStart = only == sp->FirstLine && sp->IsCell() && !(sp->ParFlags & pfNotFirstCell);
            if (!rowStart || !(sp->ParFlags & pfMoreCells)) break;
            only = nullptr;
        }
        if (sp->Next) {
            NewParagraph(target, 100);
            target->ParFlags &= ~pfPageBreak;
        }
    }
    CurPar = target;
    CurLine = LastLine(target);
    CurPos = CurLine->Length;
}

TParagraph* TZrtRTFTextIo::AppendChain(TParagraph* sourceFirst) {
    if (!sourceFirst) return nullptr;
    TParagraph* body = Body;
    TParagraph* cur = CurPar;
    TTextLine* curLine = CurLine;
    const int curPos = CurPos;
    Body = nullptr;
    TParagraph* fresh = nullptr;
    NewParagraph(fresh, 100);
    Body = fresh;
    try {
        AppendFrom(sourceFirst, nullptr);
    } catch (...) {
        FreeChain(Body);
        Body = body;
        CurPar = cur;
        CurLine = curLine;
        CurPos = curPos;
        throw;
    }
    TParagraph* chain = Body;
    Body = body;
    CurPar = cur;
    CurLine = curLine;
    CurPos = curPos;
    return chain;
}

void TZrtRTFTextIo::Assign(fw::TPersistent* source) {
    auto* src = dynamic_cast<TZrtRTFTextIo*>(source);
    if (!src) {
        TZrtRTFText::Assign(source);
        return;
    }
    if (src == this) return;
    Copying = true;
    try {
        Clear();
        Header->Assign(src->Header.get());
        Header->Title = src->Header->Title;
        Header->Subject = src->Header->Subject;
        Header->Comment = src->Header->Comment;
        InsertPointNames.Assign(src->InsertPointNames);
        TableDefs.Assign(src->TableDefs);
        Header->RecalcPixels();
        CopySource = src;
        AppendFrom(src->Body, nullptr);
        HeaderText = AppendChain(src->HeaderText);
        FooterText = AppendChain(src->FooterText);
        CurPar = Body;
        while (CurPar->Next) CurPar = CurPar->Next;
        CurLine = LastLine(CurPar);
        CurPos = CurLine->Length;
        RecalcTextWidth();
        Reformat(true);
    } catch (...) {
        Copying = false;
        CopySource = nullptr;
        Reformat(true);
        throw;
    }
    Copying = false;
    CopySource = nullptr;
}

void TZrtRTFTextIo::CopyHeaderFooterIn(int which, TZrtRTFTextIo* source) {
    TParagraph*& text = which == 1 ? HeaderText : FooterText;
    FreeChain(text);
    text = nullptr;
    if (source) {
        CopySource = source;
        try {
            text = AppendChain(source->Body);
        } catch (...) {
            CopySource = nullptr;
            throw;
        }
        CopySource = nullptr;
    }
    Reformat(true);
}

void TZrtRTFTextIo::CopyHeaderFooterOut(int which, TZrtRTFTextIo* target) {
    target->Clear();
    target->Header->Assign(Header.get());
    TParagraph* text = which == 1 ? HeaderText : FooterText;
    if (text) {
        target->CopySource = this;
        target->AppendFrom(text, nullptr);
        target->CopySource = nullptr;
    }
    target->CurPar = target->Body;
    target->CurLine = target->Body->FirstLine;
    target->CurPos = 0;
    target->Reformat(true);
    Reformat(true);
}

// ---- numbering -----------------------------------------------------------------------------------

void TZrtRTFTextIo::UpdateNumbering() {
    if (numbering_ || !Body) return;
    numbering_ = true;
    int cursorOffset = 0;
    if (CurPar) {
        for (TTextLine* l = CurPar->FirstLine; l && l != CurLine; l = l->Next) cursorOffset += l->Length;
        cursorOffset += CurPos;
    }
    const int symbol = Header->FindOrAddFont(kSymbolFontName);
    int counters[17] = {};
    int prevLevel = 0;
    bool active = false;
    int lastFont = 0;
    auto leadingNumbered = [](TParagraph* p) {
        int n = 0;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            for (int i = 0; i < l->Length; ++i) {
                if (!l->HasCells() || !(l->Cells[i].Flags & afNumbered)) return n;
                ++n;
            }
        }
        return n;
    };
    for (TParagraph* p = Body; p; p = p->Next) {
        const int removed = leadingNumbered(p);
        if (removed > 0) {
            DeleteRange(p, 0, removed);
            if (p == CurPar) cursorOffset = std::max(0, cursorOffset - removed);
        }
        if (p->Outline == 0) {
            if (active) {
                std::fill(std::begin(counters), std::end(counters), 0);
                active = false;
                prevLevel = 0;
            }
            if (removed > 0) p->MarkDirty();
            continue;
        }
        const int level = p->Outline & 15;
        const int style = p->Outline >> 4;
        if (level > prevLevel) {
            for (int l = prevLevel + 1; l <= level; ++l) counters[l] = 0;
        } else if (level < prevLevel) {
            for (int l = level + 1; l <= prevLevel; ++l) counters[l] = 0;
        }
        ++counters[level];
        prevLevel = level;
        active = true;
        TAttrCell cell = CurrentCell;
        bool hasText = false;
        for (TTextLine* l = p->FirstLine; l && !hasText; l = l->Next)
            if (l->Length > 0) {
                hasText = true;
                if (l->HasCells()) cell = l->Cells[0];
            }
        cell.Flags |= afNumbered;
        int inserted = 0;
        if (hasText) {
            if (style == 1) {
                TAttrCell sym = cell;
                sym.FontIndex = static_cast<uint8_t>(symbol > 98 ? 0 : symbol);
                TAttrCell tab = cell;
                tab.FontIndex = 0;
                InsertString(p, 0, &sym, std::string(1, kBulletChar));
                InsertString(p, 1, &tab, "\t");
                inserted = 2;
            } else if (style != 8) {
                if (cell.FontIndex == symbol)
                    cell.FontIndex = static_cast<uint8_t>(lastFont);
                else
                    lastFont = cell.FontIndex;
                const std::string text = NumberText(style, counters[level]) + "\t";
                InsertString(p, 0, &cell, text);
                inserted = static_cast<int>(text.size());
            }
        }
        if (p == CurPar) cursorOffset += inserted;
        p->MarkDirty();
    }
    if (CurPar) {
        int rest = cursorOffset;
        TTextLine* l = CurPar->FirstLine;
        while (l->Next && rest > l->Length) {
            rest -= l->Length;
            l = l->Next;
        }
        CurLine = l;
        CurPos = std::clamp(rest, 0, static_cast<int>(l->Length));
    }
    if (SelBackwards && SelStartPar && SelEndPar) {
        std::swap(SelStartPar, SelEndPar);
        std::swap(SelStartLine, SelEndLine);
        std::swap(SelStartPos, SelEndPos);
        SelBackwards = false;
        if (SelEndLine) SelEndPos = SelEndLine->Length;
    }
    numbering_ = false;
}

void TZrtRtfStrings::LoadFromStream(fw::TStream& stream) {
    const std::string saved = doc_->LoadFormat;
    doc_->LoadFormat = "AUTO";
    try {
        doc_->Clear();
        doc_->LoadFromStream(stream);
    } catch (...) {
        doc_->LoadFormat = saved;
        throw;
    }
    doc_->LoadFormat = saved;
}

void TZrtRtfStrings::SaveToStream(fw::TStream& stream) {
    auto writer = CreateWriter(kTextWriterClass);
    writer->Reset();
    doc_->WriteWith(stream, *writer);
}

}  // namespace rt
