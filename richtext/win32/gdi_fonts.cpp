#include "richtext/win32/gdi_fonts.h"

#include <cstring>

namespace rt {

TGdiFontCache::~TGdiFontCache() { Clear(); }

void TGdiFontCache::Clear() {
    for (Entry& e : entries_) DeleteObject(e.font);
    entries_.clear();
}

HFONT TGdiFontCache::Get(const TCellFont& font) {
    const std::string name = font.name.empty() ? std::string("Arial") : font.name;
    for (const Entry& e : entries_)
        if (e.height == font.height && e.bold == font.bold && e.italic == font.italic &&
            e.strikeOut == font.strikeOut && _stricmp(e.name.c_str(), name.c_str()) == 0)
            return e.font;
    if (entries_.size() >= kMaxFonts) Clear();
    LOGFONTA lf{};
    lf.lfHeight = font.height;
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    strncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    HFONT handle = CreateFontIndirectA(&lf);
    if (!handle) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    entries_.push_back({name, font.height, font.bold, font.italic, font.strikeOut, handle});
    return handle;
}

}  // namespace rt
