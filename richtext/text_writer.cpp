#include "richtext/text_writer.h"

#include "richtext/text_header.h"

namespace rt {

void TZrtTextWriter::WriteHexByte(std::string& out, uint8_t b) {
    static const char digits[] = "0123456789abcdef";
    out += digits[b >> 4];
    out += digits[b & 15];
}

int TZrtTextWriter::Flush() {
    if (out_.empty()) return Result;
    const int64_t n = Stream ? Stream->Write(out_.data(), static_cast<int64_t>(out_.size())) : 0;
    if (n != static_cast<int64_t>(out_.size())) Result = 5;
    out_.clear();
    return Result;
}

int TZrtTextWriter::WriteHex(const uint8_t* data, size_t count) {
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) WriteHexByte(text, data[i]);
    Flush();
    const int64_t n = Stream ? Stream->Write(text.data(), static_cast<int64_t>(text.size())) : 0;
    if (n != static_cast<int64_t>(text.size())) Result = 5;
    return Result;
}

int TZrtTextWriter::WriteHeader(fw::TStream* stream) {
    Stream = stream;
    return 0;
}

int TZrtTextWriter::WriteClosing(fw::TStream* stream) {
    Stream = stream;
    if (!NoNul) Put('\0');
    return Flush();
}

int TZrtTextWriter::WriteChars(int count) {
    if (count > 0) out_.append(&curLine_->Chars[curIndex_], static_cast<size_t>(count));
    curIndex_ += count;
    if (out_.size() > 4096) Flush();
    return Result;
}

int TZrtTextWriter::WriteLineBreak() {
    if (Doc->Header->StoreOptions.Contains(TStoreOption::soHardLineBreaks)) Put("\r\n");
    return Result;
}

int TZrtTextWriter::WriteParagraphEnd() {
    Put("\r\n");
    return Result;
}

void TZrtTextWriter::WriteAnchoredObjects(int paragraphNumber) {
    for (auto& ref : Doc->ObjectRefs)
        if (ref->Mode == 1 && ref->AnchorPar == paragraphNumber) WriteObject(ref->Number);
}

int TZrtTextWriter::WriteText(int from, int to) {
    curIndex_ = from;
    if (from >= to) return Result;
    if (!curLine_->HasCells()) return WriteChars(to - from);
    int done = 0;
    while (done < to - from && Result == 0) {
        const TAttrCell* cell = &curLine_->Cells[curIndex_];
        consumed_ = 0;
        WriteRunHeader();
        if (consumed_ > 0) {
            curIndex_ += consumed_;
            done += consumed_;
            prevCell_ = cell;
            continue;
        }
        const char ch = curLine_->Chars[curIndex_];
        if ((cell->Flags & afObject) && ch == 1) WriteObject(cell->Number);
        if (cell->Flags & afFootnote) {
            WriteFootnote(cell->Number);
            ++curIndex_;
            ++done;
            prevCell_ = cell;
            continue;
        }
        prevCell_ = cell;
        int run = 1;
        if (!(cell->Flags & (afObject | afInsertPoint))) {
            while (done + run < to - from) {
                const TAttrCell& next = curLine_->Cells[curIndex_ + run];
                if (next.FontIndex != cell->FontIndex || next.Size != cell->Size || next.Flags != cell->Flags ||
                    next.Colors != cell->Colors)
                    break;
                ++run;
            }
        }
        const bool hidden = ((cell->Flags & afInsertPoint) && HideInsertPoints) ||
                            ((cell->Flags & afAutomatic) && HideAutomatic);
        if (hidden)
            curIndex_ += run;
        else
            WriteChars(run);
        done += run;
    }
    return Result;
}

int TZrtTextWriter::WriteBody(fw::TStream* stream) {
    if (!StartPar) return Result = 6;
    Stream = stream;
    prevPar_ = nullptr;
    prevLine_ = nullptr;
    prevCell_ = nullptr;
    const bool fromStartLine = StartLine != nullptr;
    bool first = true;
    for (TParagraph* p = StartPar; p && Result == 0; p = p->Next) {
        curPar_ = p;
        WriteParagraphStart();
        TTextLine* l = (first && fromStartLine) ? StartLine : p->FirstLine;
        for (; l && Result == 0; l = l->Next) {
            curLine_ = l;
            const int from = first ? StartPos : 0;
            first = false;
            if (p == EndPar && l == EndLine) {
                WriteText(from, EndPos);
                break;
            }
            WriteText(from, l->Length);
            if (l->Next) WriteLineBreak();
        }
        first = false;
        prevPar_ = p;
        if (p == EndPar) {
            if (p->IsCell()) WriteParagraphEnd();
            break;
        }
        if (p->Next || p->IsCell()) WriteParagraphEnd();
        if (out_.size() > 4096) Flush();
    }
    Flush();
    return Result;
}

}  // namespace rt
