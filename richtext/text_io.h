// TZrtRTFTextIo: the document with loading and saving. It picks a reader or writer class by format
// name, file extension or a look at the data, makes it from the case-insensitive class factory, and
// runs it; it streams the whole document as the binary property "Data" (RTF followed by four zero
// bytes); it copies documents with their fonts, footnotes, objects and bookmarks, numbers outline
// paragraphs, maps character positions and places lines on pages.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/core/filer.h"
#include "framework/core/streams.h"
#include "richtext/rtf_text.h"

namespace rt {

class TZrtCustomTextReader;
class TZrtCustomTextWriter;

using ReaderFactory = std::function<std::unique_ptr<TZrtCustomTextReader>()>;
using WriterFactory = std::function<std::unique_ptr<TZrtCustomTextWriter>()>;
// Reader and writer classes by name, found without regard to case.
void RegisterReaderClass(const std::string& name, ReaderFactory factory);
void RegisterWriterClass(const std::string& name, WriterFactory factory);
// Raise "Text-Reader class not found <name>" / "Text-Writer class not found <name>" when unknown.
std::unique_ptr<TZrtCustomTextReader> CreateReader(const std::string& name);
std::unique_ptr<TZrtCustomTextWriter> CreateWriter(const std::string& name);

class TZrtRTFTextIo : public TZrtRTFText {
public:
    explicit TZrtRTFTextIo(fw::TComponent* owner = nullptr);

    bool SavingToFile = false;
    int LastIoResult = 0;
    std::string SaveFormat = "AUTO";
    std::string LoadFormat = "AUTO";
    uint8_t WriterOptions[3] = {};
    bool Loading = false;
    bool Copying = false;
    std::string ReaderPath;
    uint8_t ReaderOption = 0;
    std::string FileExtension;
    TZrtRTFTextIo* CopySource = nullptr;

    void DefineProperties(fw::TFiler& filer) override;
    void Assign(fw::TPersistent* source) override;
    void Clear() override;
    virtual void ReadData(fw::TStream& stream);
    virtual void WriteData(fw::TStream& stream);
    virtual int WriteWith(fw::TStream& stream, TZrtCustomTextWriter& writer);
    virtual int WriteSelectionWith(fw::TStream& stream, TZrtCustomTextWriter& writer);
    virtual int ReadWith(fw::TStream& stream, TZrtCustomTextReader& reader);
    virtual void LoadFromStream(fw::TStream& stream);
    virtual void SaveToStream(fw::TStream& stream);
    virtual void SaveSelectionToStream(fw::TStream& stream);
    virtual void SaveHeaderFooterToStream(int which, fw::TStream& stream);
    virtual void LoadHeaderFooterFromStream(int which, fw::TStream& stream);
    virtual void SaveToFile(const std::string& name);
    virtual void LoadFromFile(const std::string& name);
    virtual void GetCursorPos(int& absolute, int& lineIndex, int& posInParagraph, int& paragraphIndex);
    virtual void SetCursorPos(int absolute, int lineIndex, int posInParagraph, int paragraphIndex);
    // Gives every line its vertical position and page; answers the total height in pixels.
    virtual int Paginate(TParagraph* from);

    bool IsEmpty() const;
    void GetPosition(int& absolute, int& lineIndex, int pos, TTextLine* line, TParagraph* paragraph,
                     int& posInParagraph, int& paragraphIndex) const;
    bool FindPosition(int absolute, int lineIndex, int& pos, TTextLine*& line, TParagraph*& paragraph,
                      int posInParagraph, int paragraphIndex) const;
    void AppendFrom(TParagraph* first, TTextLine* line);
    void CopyHeaderFooterIn(int which, TZrtRTFTextIo* source);
    void CopyHeaderFooterOut(int which, TZrtRTFTextIo* target);
    void UpdateNumbering();

    // Line metrics; answers whether the height changed.
    bool LineMetrics(TParagraph* paragraph, TTextLine* line);
    void PlaceAnchoredObjects(TParagraph* paragraph, TTextLine* line);

private:
    std::string ChooseReaderClass(fw::TStream& stream) const;
    std::string ChooseWriterClass() const;
    int TwipsToPixels(int twips) const;
    TParagraph* AppendChain(TParagraph* sourceFirst);
    bool numbering_ = false;
};

// The body paragraphs of a document as lines of a string list.
class TZrtRtfStrings : public fw::TStrings {
public:
    explicit TZrtRtfStrings(TZrtRTFTextIo* document) : doc_(document) {}
    std::string Get(int index) const override { return doc_->GetParagraphText(index); }
    void Put(int index, const std::string& s) override { doc_->SetParagraphText(index, s, &doc_->CurrentCell); }
    void Insert(int index, const std::string& s) override { doc_->InsertParagraph(index, s, &doc_->CurrentCell); }
    void Delete(int index) override { doc_->DeleteParagraph(index); }
    void Clear() override { doc_->Clear(); }
    int Count() const override { return doc_->ParagraphCount(); }
    void LoadFromStream(fw::TStream& stream);
    void SaveToStream(fw::TStream& stream);

protected:
    void SetUpdateState(bool updating) override {
        if (!updating) doc_->Reformat(true);
    }

private:
    TZrtRTFTextIo* doc_;
};

// Registers the reader and writer classes and the published classes of the engine (idempotent).
void RegisterRichText();

}  // namespace rt
