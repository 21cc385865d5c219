// The reader bases and the plain-text reader. TZrtTextReader also provides the buffered byte input and
// the paragraph and line building that the RTF reader inherits.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/object.h"
#include "framework/core/streams.h"
#include "richtext/rtf_text.h"

namespace rt {

class TZrtCustomTextReader : public fw::TPersistent {
public:
    int ErrorCode = 0;  // 0 ok, 3 stopped by an error, 5 read error
    TTextHeader* Header = nullptr;
    TZrtRTFText* Doc = nullptr;
    TParagraph Template;                 // the attributes new paragraphs copy
    TParagraph* ContinuePar = nullptr;   // reading continues here; null: a new chain
    bool Inserting = false;
    int ParCount = 0;
    std::string OptionPath;
    uint8_t OptionByte = 0;
    TParagraph* HeaderChain = nullptr;
    TParagraph* FooterChain = nullptr;

    virtual void HandleSpecial(int ch) = 0;
    virtual bool HandleChar(int ch) = 0;
    virtual void InsertChar(int ch) = 0;
    virtual void SetStream(fw::TStream* stream) = 0;
    // Reads the stream into the document; `first` receives the first paragraph read into.
    virtual int Read(fw::TStream* stream, TParagraph*& first) = 0;
    virtual int Hook() { return 0; }
};

class TZrtTextReader : public TZrtCustomTextReader {
public:
    void HandleSpecial(int ch) override { InsertChar(ch); }
    bool HandleChar(int ch) override;
    void InsertChar(int ch) override;
    void SetStream(fw::TStream* stream) override;
    int Read(fw::TStream* stream, TParagraph*& first) override;

    // Two hex digits (either case) as a byte; an invalid first digit counts as 0, an invalid second
    // digit is left out.
    static int HexByte(char high, char low);

protected:
    int ReadByte();
    void UnreadByte();
    int64_t InputPosition() const { return blockPos_ + bufPos_; }
    void FinishInput();
    void NewParagraphRead();
    void TrimLines();
    // A new paragraph made from the template: the start of a chain or of a header or footer text.
    TParagraph* StartParagraph();

    fw::TStream* stream_ = nullptr;
    uint8_t buf_[1024] = {};
    int bufLen_ = 0;
    int bufPos_ = 0;
    int64_t blockPos_ = 0;

    TParagraph* curPar_ = nullptr;
    TTextLine* curLine_ = nullptr;
    TAttrCell cell_;
    int specialChar_ = 0;
    uint8_t colorMap_[16] = {};
};

}  // namespace rt
