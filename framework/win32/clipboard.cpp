#include "framework/win32/clipboard.h"

#include <cstring>

#include "framework/win32/graphics.h"
#include "framework/win32/utilwindow.h"
#include "framework/win32/winapi.h"

namespace fw {

namespace {

// Another program may hold the clipboard for a moment (a clipboard viewer reading our change).
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 10;

// Opens the clipboard for one call when the caller has not opened it.
class OpenScope {
public:
    explicit OpenScope(TClipboard& clipboard) : clipboard_(clipboard) { clipboard_.Open(); }
    ~OpenScope() { clipboard_.Close(); }
    OpenScope(const OpenScope&) = delete;
    OpenScope& operator=(const OpenScope&) = delete;

private:
    TClipboard& clipboard_;
};

}  // namespace

TClipboard::TClipboard() = default;

TClipboard::~TClipboard() {
    if (openCount_ > 0) CloseClipboard();
    DeallocateHWnd(static_cast<HWND>(window_));
}

void TClipboard::Open() {
    if (openCount_ == 0) {
        if (!window_) window_ = AllocateHWnd(nullptr);
        bool opened = false;
        for (int attempt = 0; attempt < kOpenAttempts && !opened; ++attempt) {
            opened = OpenClipboard(static_cast<HWND>(window_)) != FALSE;
            if (!opened) Sleep(kOpenRetryMs);
        }
        if (!opened) throw EClipboardException("Cannot open clipboard");
        emptied_ = false;
    }
    ++openCount_;
}

void TClipboard::Close() {
    if (openCount_ == 0) return;
    if (--openCount_ == 0) CloseClipboard();
}

void TClipboard::Clear() {
    OpenScope scope(*this);
    EmptyClipboard();
    emptied_ = true;
}

void TClipboard::Adding() {
    if (!emptied_) {
        EmptyClipboard();
        emptied_ = true;
    }
}

bool TClipboard::HasFormat(unsigned format) const { return IsClipboardFormatAvailable(format) != FALSE; }

std::vector<unsigned> TClipboard::Formats() {
    OpenScope scope(*this);
    std::vector<unsigned> formats;
    for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
    return formats;
}

unsigned TClipboard::RegisterFormat(const std::string& name) {
    const UINT format = RegisterClipboardFormatA(name.c_str());
    if (!format) throw EClipboardException("Cannot register clipboard format " + name);
    return format;
}

std::vector<uint8_t> TClipboard::GetBuffer(unsigned format) {
    OpenScope scope(*this);
    std::vector<uint8_t> bytes;
    HANDLE data = GetClipboardData(format);
    if (!data) return bytes;
    const SIZE_T size = GlobalSize(data);
    const void* p = GlobalLock(data);
    if (!p) return bytes;
    bytes.assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size);
    GlobalUnlock(data);
    return bytes;
}

void TClipboard::SetBuffer(unsigned format, const void* data, size_t size) {
    OpenScope scope(*this);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
    if (!block) throw EOutOfMemory("Out of memory for the clipboard");
    if (size) {
        void* p = GlobalLock(block);
        std::memcpy(p, data, size);
        GlobalUnlock(block);
    }
    Adding();
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        throw EClipboardException("Cannot set clipboard data");
    }
}

std::string TClipboard::AsText() {
    const std::vector<uint8_t> bytes = GetBuffer(CF_TEXT);
    // The block may be larger than the text; the text ends at its NUL.
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(bytes.data()), length);
}

void TClipboard::SetAsText(const std::string& text) { SetBuffer(CF_TEXT, text.c_str(), text.size() + 1); }

void* TClipboard::GetAsHandle(unsigned format) {
    OpenScope scope(*this);
    return GetClipboardData(format);
}

void TClipboard::SetAsHandle(unsigned format, void* handle) {
    OpenScope scope(*this);
    Adding();
    if (!SetClipboardData(format, static_cast<HANDLE>(handle)))
        throw EClipboardException("Cannot set clipboard data");
}

void TClipboard::Assign(TPersistent* source) {
    if (auto* picture = dynamic_cast<TPicture*>(source)) source = picture->Graphic();
    auto* graphic = dynamic_cast<TGraphic*>(source);
    if (!graphic) {
        TPersistent::Assign(source);
        return;
    }
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    graphic->SaveToClipboardFormat(format, data, palette);
    OpenScope scope(*this);
    Adding();
    if (!data) return;  // an empty graphic leaves the clipboard empty
    if (!SetClipboardData(format, data)) {
        // Not taken: the handle is still ours.
        if (format == CF_BITMAP) DeleteObject(data); else GlobalFree(data);
        if (palette) DeleteObject(palette);
        throw EClipboardException("Cannot set clipboard data");
    }
    if (palette && !SetClipboardData(CF_PALETTE, palette)) DeleteObject(palette);
}

bool TClipboard::HasPicture() {
    for (unsigned format : Formats())
        if (TPicture::SupportsClipboardFormat(format)) return true;
    return false;
}

void TClipboard::AssignTo(TPersistent* dest) {
    auto* picture = dynamic_cast<TPicture*>(dest);
    auto* graphic = dynamic_cast<TGraphic*>(dest);
    if (!picture && !graphic) {
        TPersistent::AssignTo(dest);
        return;
    }
    OpenScope scope(*this);
    auto* palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
    // The system lists the formats in the order the owner set them, the richest first.
    for (unsigned format : Formats()) {
        if (!TPicture::SupportsClipboardFormat(format)) continue;
        HANDLE data = GetClipboardData(format);
        if (!data) continue;
        if (picture) {
            picture->LoadFromClipboardFormat(format, data, palette);
            return;
        }
        try {
            graphic->LoadFromClipboardFormat(format, data, palette);
            return;
        } catch (const EInvalidGraphic&) {
            // Another class's format; try the next one.
        }
    }
    throw EInvalidGraphic("Unsupported clipboard format");
}

TClipboard& Clipboard() {
    static TClipboard* clipboard = new TClipboard;  // lives to process end: a window of the GUI thread
    return *clipboard;
}

}  // namespace fw
