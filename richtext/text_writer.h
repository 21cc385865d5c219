// The writer bases and the plain-text writer. TZrtTextWriter also provides the body loop and the run
// splitting that the RTF writer inherits: a run is a stretch of cells with equal font, size, flags and
// colours, written after one run header.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/object.h"
#include "framework/core/streams.h"
#include "richtext/rtf_text.h"

namespace rt {

class TZrtCustomTextWriter : public fw::TPersistent {
public:
    fw::TStream* Stream = nullptr;
    TZrtRTFText* Doc = nullptr;
    TParagraph* StartPar = nullptr;
    TTextLine* StartLine = nullptr;
    int StartPos = 0;
    TParagraph* EndPar = nullptr;  // null: to the end of the text
    TTextLine* EndLine = nullptr;
    int EndPos = 0;
    int Result = 0;  // 0 ok, 5 write error, 6 nothing to write
    bool HideInsertPoints = false;
    bool HideAutomatic = false;
    bool DocEmpty = false;
    bool NoNul = false;
    uint8_t Options[3] = {};

    virtual void WriteNumber(std::string& out, int n) = 0;
    virtual void WriteHexByte(std::string& out, uint8_t b) = 0;
    virtual int WriteHex(const uint8_t* data, size_t count) = 0;
    virtual void Reset() = 0;
    virtual int WriteHeader(fw::TStream* stream) = 0;
    virtual int WriteBody(fw::TStream* stream) = 0;
    virtual int WriteClosing(fw::TStream* stream) = 0;
};

class TZrtTextWriter : public TZrtCustomTextWriter {
public:
    // Signed decimal of any width.
    void WriteNumber(std::string& out, int n) override { out += std::to_string(n); }
    void WriteHexByte(std::string& out, uint8_t b) override;
    int WriteHex(const uint8_t* data, size_t count) override;
    void Reset() override { Result = 0; }
    int WriteHeader(fw::TStream* stream) override;
    int WriteBody(fw::TStream* stream) override;
    int WriteClosing(fw::TStream* stream) override;

    virtual void WriteRunHeader() {}
    virtual int Hook() { return 0; }
    virtual int WriteChars(int count);
    virtual int WriteText(int from, int to);
    virtual int WriteLineBreak();
    virtual int WriteParagraphEnd();
    virtual void WriteParagraphStart() {}
    virtual void WriteObject(int) {}
    virtual void WriteAnchoredObjects(int paragraphNumber);
    virtual void WriteFootnote(int) {}

protected:
    // Output is collected and written in blocks; a short write sets the result 5.
    void Put(const std::string& s) { out_ += s; }
    void Put(char c) { out_ += c; }
    int Flush();

    std::string out_;
    TParagraph* curPar_ = nullptr;
    TTextLine* curLine_ = nullptr;
    int curIndex_ = 0;  // index of the current character in curLine_
    TParagraph* prevPar_ = nullptr;
    TTextLine* prevLine_ = nullptr;
    const TAttrCell* prevCell_ = nullptr;
    int consumed_ = 0;  // characters a run header wrote itself
};

}  // namespace rt
