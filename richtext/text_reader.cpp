#include "richtext/text_reader.h"

#include "framework/core/exceptions.h"

namespace rt {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int TZrtTextReader::HexByte(char high, char low) {
    const int h = HexValue(high) < 0 ? 0 : HexValue(high);
    const int l = HexValue(low);
    return l < 0 ? h * 16 : h * 16 + l;
}

void TZrtTextReader::SetStream(fw::TStream* stream) {
    stream_ = stream;
    bufLen_ = bufPos_ = 0;
    blockPos_ = stream ? stream->Position() : 0;
    for (int i = 0; i < 15; ++i) colorMap_[i] = 0;
}

int TZrtTextReader::ReadByte() {
    if (bufPos_ >= bufLen_) {
        if (!stream_) return -1;
        blockPos_ += bufLen_;
        bufPos_ = 0;
        bufLen_ = static_cast<int>(stream_->Read(buf_, sizeof buf_));
        if (bufLen_ <= 0) {
            bufLen_ = 0;
            return -1;
        }
    }
    return buf_[bufPos_++];
}

void TZrtTextReader::UnreadByte() {
    if (bufPos_ > 0) {
        --bufPos_;
    } else if (stream_) {
        // At the start of the buffer: step back in the stream itself and start a fresh block there.
        blockPos_ = blockPos_ - 1;
        stream_->SetPosition(blockPos_);
        bufLen_ = 0;
    }
}

void TZrtTextReader::FinishInput() {
    if (stream_) stream_->SetPosition(InputPosition());
    blockPos_ = InputPosition();
    bufLen_ = bufPos_ = 0;
}

void TZrtTextReader::TrimLines() {
    for (TTextLine* l = curPar_->FirstLine; l; l = l->Next)
        if (l->Capacity() != l->Length + 2 && l->Length + 2 >= 2) Doc->GrowLine(l, l->Length + 2);
}

void TZrtTextReader::NewParagraphRead() {
    TrimLines();
    TParagraph* p = curPar_;
    Doc->NewParagraph(p, 60);
    p->Number = static_cast<uint32_t>(++ParCount);
    p->MarkDirty();
    curPar_ = p;
    curLine_ = p->FirstLine;
    if (curLine_->HasCells()) curLine_->Cells[0] = cell_;
}

TParagraph* TZrtTextReader::StartParagraph() {
    TParagraph* p = nullptr;
    Doc->NewParagraph(p, 60);
    TTextLine* line = p->FirstLine;
    *p = Template;
    p->FirstLine = line;
    p->Next = p->Prev = nullptr;
    p->Objects = nullptr;
    p->MarkDirty();
    return p;
}

int TZrtTextReader::Read(fw::TStream* stream, TParagraph*& first) {
    ErrorCode = 0;
    if (!Header || !Doc) throw fw::Exception("Wrong Arguments");
    if (!stream_) SetStream(stream);
    try {
        cell_ = Doc->CurrentCell;
        if (ContinuePar) {
            curPar_ = ContinuePar;
        } else {
            curPar_ = StartParagraph();
            ParCount = 0;
        }
        curLine_ = curPar_->FirstLine;
        first = curPar_;
        curPar_->MarkDirty();
        for (;;) {
            const int b = ReadByte();
            if (b <= 0) break;
            if (HandleChar(b)) break;
        }
        FinishInput();
        return 0;
    } catch (...) {
        if (ErrorCode == 0) ErrorCode = 3;
        throw;
    }
}

bool TZrtTextReader::HandleChar(int ch) {
    try {
        if (ch == '\r')
            NewParagraphRead();
        else if (specialChar_ != 0 && ch == specialChar_)
            HandleSpecial(ch);
        else if (ch != '\n')
            InsertChar(ch);
    } catch (...) {
        ErrorCode = 5;
        throw;
    }
    return false;
}

void TZrtTextReader::InsertChar(int ch) {
    if (ch == '\r' || ch == '\n' || ch <= 0) return;
    TTextLine* line = curLine_;
    if (line->Capacity() - line->Length <= 4) {
        Doc->NewLine(curLine_, 200);
        line = curLine_;
        curPar_->MarkDirty();
    }
    line->Chars[line->Length] = static_cast<char>(ch);
    if (line->HasCells()) line->Cells[line->Length] = cell_;
    ++line->Length;
    line->Chars[line->Length] = 0;
}

}  // namespace rt
