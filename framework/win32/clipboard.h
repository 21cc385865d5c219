// The system clipboard: text (CF_TEXT), raw bytes of any format, and handles (bitmaps).
//
//   fw::Clipboard().SetAsText("hello");
//   if (fw::Clipboard().HasFormat(CF_TEXT)) text = fw::Clipboard().AsText();
//   fw::Clipboard().Assign(bitmap);           // a picture in the graphic's clipboard format
//   picture->Assign(&fw::Clipboard());        // the first clipboard format a graphic class reads
//
// Each call opens and closes the clipboard by itself unless the caller holds it open with Open/Close
// (nesting counts), which makes several formats one change. Opening fails while another program
// holds the clipboard; after a few short retries that raises EClipboardException "Cannot open
// clipboard".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/object.h"

namespace fw {

FW_DECLARE_EXCEPTION(EClipboardException, Exception);

class TClipboard : public TPersistent {
public:
    TClipboard();
    ~TClipboard() override;

    void Open();
    void Close();
    // Empties the clipboard and makes us its owner.
    void Clear();

    bool HasFormat(unsigned format) const;
    // The formats on the clipboard now, in the order the system lists them.
    std::vector<unsigned> Formats();
    // A format number for a name ("Rich Text Format"); the same name gives the same number.
    static unsigned RegisterFormat(const std::string& name);

    // CF_TEXT. Reading stops at the first NUL or at the end of the block; "" when there is no text.
    std::string AsText();
    void SetAsText(const std::string& text);

    // The bytes of one format (a global memory block); empty when the format is absent.
    std::vector<uint8_t> GetBuffer(unsigned format);
    void SetBuffer(unsigned format, const void* data, size_t size);

    // The handle of a format as the system holds it (HBITMAP for CF_BITMAP, HGLOBAL for memory
    // formats). After SetAsHandle the clipboard owns the handle.
    void* GetAsHandle(unsigned format);
    void SetAsHandle(unsigned format, void* handle);

    // Puts a graphic (or a picture's graphic) on the clipboard in its own format (a bitmap as CF_DIB).
    void Assign(TPersistent* source) override;
    // True when a registered graphic class reads one of the formats on the clipboard.
    bool HasPicture();

protected:
    // Fills a TPicture or a TGraphic from the first clipboard format it reads.
    void AssignTo(TPersistent* dest) override;

private:
    // Sets a format inside Open/Close, clearing first when this change has not done so yet.
    void Adding();

    void* window_ = nullptr;  // the owner window that OpenClipboard needs for SetClipboardData
    int openCount_ = 0;
    bool emptied_ = false;
};

// The process's clipboard object (made on first use).
TClipboard& Clipboard();

}  // namespace fw
