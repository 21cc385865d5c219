// The GDI fonts of cell looks: made once per distinct name, height and style, and kept until the
// cache is cleared (measuring and painting select the same fonts again and again).
#pragma once

#include "framework/win32/winapi.h"

#include <string>
#include <vector>

#include "richtext/cell_metrics.h"

namespace rt {

class TGdiFontCache {
public:
    TGdiFontCache() = default;
    ~TGdiFontCache();
    TGdiFontCache(const TGdiFontCache&) = delete;
    TGdiFontCache& operator=(const TGdiFontCache&) = delete;

    // The font for `font`: its name ("Arial" when empty), character height, bold, italic and
    // strike-out. Underlines are drawn as lines, so the font never underlines.
    HFONT Get(const TCellFont& font);
    void Clear();

private:
    struct Entry {
        std::string name;
        int height = 0;
        bool bold = false, italic = false, strikeOut = false;
        HFONT font = nullptr;
    };
    static constexpr size_t kMaxFonts = 64;  // a document uses a handful; beyond this start again
    std::vector<Entry> entries_;
};

}  // namespace rt
