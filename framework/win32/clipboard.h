// The system clipboard: text (CF_TEXT), raw bytes of any format, and handles (bitmaps).
//
//   fw::Clipboard().SetAsText("hello");
//   if (fw::Clipboard().HasFormat(CF_TEXT)) text = fw::Clipboard().AsText();
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
