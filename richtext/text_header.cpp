#include "richtext/text_header.h"

#include <cctype>
#include <limits>

namespace rt {

const TColor kStandardColors[kColorCount] = {
    0x000000, 0x0000FF, 0x008000, 0xFF0000, 0x00FFFF, 0xFF00FF, 0x800080, 0x000080,
    0x00FF00, 0xFFFF00, 0x808000, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000,
};

namespace {

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

TTextHeader::TTextHeader() {
    for (int i = 0; i < kTabCount; ++i) TabOrder[i] = i;
    Reset();
    FormatName = "AUTO";
}

TTextHeader::~TTextHeader() { ClearTabs(); }

TRgb TTextHeader::ToRgb(TColor color) {
    color = ResolveColor(color);
    TRgb rgb;
    rgb.red = color & 0xFF;
    rgb.green = (color >> 8) & 0xFF;
    rgb.blue = (color >> 16) & 0xFF;
    return rgb;
}

TColor TTextHeader::ColorOf(int index) const {
    const TRgb& c = Colors[static_cast<size_t>(index & 15)];
    return c.red | (c.green << 8) | (static_cast<TColor>(c.blue) << 16);
}

int TTextHeader::FindOrAddFont(const std::string& name) {
    int i = 0;
    while (i < kMaxFont && !FontNames[i].empty()) {
        if (SameText(FontNames[i], name)) return i;
        ++i;
    }
    if (i >= kMaxFont) return kMaxFont;
    FontNames[i] = name;
    return i;
}

void TTextHeader::Reset() {
    for (int i = 1; i < kMaxFont; ++i) {
        FontNames[i].clear();
        FontPitchFamily[i] = 0;
        FontCharset[i] = 0;
    }
    for (int i = 0; i < kTabCount; ++i) TabOrder[i] = i;
    PageNumberStart = 1;
    PageWidth = DefaultPageWidth;
    PageHeight = DefaultPageHeight;
    TopMargin = DefaultTopMargin;
    BottomMargin = DefaultBottomMargin;
    LeftMargin = DefaultLeftMargin;
    RightMargin = DefaultRightMargin;
    for (int i = 0; i < kColorCount; ++i) {
        Colors[i] = ToRgb(kStandardColors[i]);
        ColorUsed[i] = 0;
    }
    RulerStep = HorzResolution * 100 / (UsedUnit == TZrtUnit::UnitCm ? 254 : 300);
    RecalcPixels();
    DefaultTabKind = 0;
    DecimalTabChar = kDefaultDecimalTabChar;
    Changed();
}

bool TTextHeader::ColorIndex(TColor color, int& index) {
    if (NoColorTable) {
        index = -1;
        return false;
    }
    color = ResolveColor(color);
    if (color == 0) {
        index = 0;
        return true;
    }
    const TRgb rgb = ToRgb(color);
    for (int i = 0; i < kColorCount; ++i) {
        if (Colors[i] == rgb) {
            index = i;
            ColorUsed[i] = 1;
            return true;
        }
    }
    // No exact entry: a free entry takes the colour; with none free, the nearest entry stands in.
    for (int i = 1; i < kColorCount; ++i) {
        if (!ColorUsed[i]) {
            Colors[i] = rgb;
            ColorUsed[i] = 1;
            index = i;
            return true;
        }
    }
    int64_t best = std::numeric_limits<int64_t>::max();
    index = 0;
    for (int i = 0; i < kColorCount - 1; ++i) {
        const int64_t dr = int(Colors[i].red) - rgb.red, dg = int(Colors[i].green) - rgb.green,
                      db = int(Colors[i].blue) - rgb.blue;
        const int64_t d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return false;
}

void TTextHeader::Changed() {
    if (OnChange) OnChange();
}

int TTextHeader::RoundTab(int pos) const {
    if (!RoundTabs || HorzResolution <= 0) return pos;
    const int step = UsedUnit == TZrtUnit::UnitCm ? 141 : 144;
    return (pos + step / 2 + 1) / step * step;
}

int TTextHeader::FindTab(int& pos, int kind) const {
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kTabCount; ++i)
            if (TabPos[i] == pos && (kind == 4 || TabKind[i] == kind)) return i;
        if (pass == 0) pos = RoundTab(pos);
    }
    return -1;
}

int TTextHeader::AddTab(int pos, int kind) {
    CurrentTabSet = 0;
    if (pos <= 0) return -1;
    const int found = FindTab(pos, kind);
    if (found >= 0) {
        CurrentTabSet |= uint64_t(1) << found;
        return -1;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (int i = 0; i < kTabCount; ++i) {
            if (TabPos[i] != 0) continue;
            TabPos[i] = pos;
            TabPixelPos[i] = static_cast<int32_t>(static_cast<int64_t>(pos) * HorzResolution / 1440);
            TabKind[i] = static_cast<uint8_t>(kind == 4 ? DefaultTabKind : kind);
            CurrentTabSet |= uint64_t(1) << i;
            SortTabs();
            return i;
        }
        if (attempt == 0 && OnTabFull)
            OnTabFull();
        else
            break;
    }
    CurrentTabSet = 0;
    return -1;
}

void TTextHeader::RecalcPixels() {
    for (int i = 0; i < kTabCount; ++i)
        TabPixelPos[i] = static_cast<int32_t>(static_cast<int64_t>(TabPos[i]) * HorzResolution / 1440);
    PrintableWidth = static_cast<int32_t>(static_cast<int64_t>(PageWidth - LeftMargin - RightMargin) * HorzResolution / 1440);
    PrintableHeight = static_cast<int32_t>(static_cast<int64_t>(PageHeight - TopMargin - BottomMargin) * VertResolution / 1440);
}

void TTextHeader::SortTabs() {
    for (int i = 0; i < kTabCount; ++i) TabOrder[i] = i;
    auto key = [this](int index) { return TabPos[index] == 0 ? 0xFFFFFF : TabPos[index]; };
    for (int pass = 0; pass < kTabCount; ++pass) {
        bool swapped = false;
        for (int i = 0; i + 1 < kTabCount; ++i) {
            if (key(TabOrder[i]) > key(TabOrder[i + 1])) {
                std::swap(TabOrder[i], TabOrder[i + 1]);
                swapped = true;
            }
        }
        if (!swapped) break;
    }
}

void TTextHeader::ClearTabs() {
    TabPos.fill(0);
    TabPixelPos.fill(0);
    TabKind.fill(0);
    for (int i = 0; i < kTabCount; ++i) TabOrder[i] = i;
}

void TTextHeader::Assign(fw::TPersistent* source) {
    auto* src = dynamic_cast<TTextHeader*>(source);
    if (!src) {
        fw::TPersistent::Assign(source);
        return;
    }
    Reset();
    for (int i = 0; i < kMaxFont; ++i) {
        if (src->FontNames[i].empty()) continue;
        FontNames[i] = src->FontNames[i];
        FontPitchFamily[i] = src->FontPitchFamily[i];
        FontCharset[i] = src->FontCharset[i];
    }
    Colors = src->Colors;
    TabPos = src->TabPos;
    TabPixelPos = src->TabPixelPos;
    TabKind = src->TabKind;
    TabOrder = src->TabOrder;
    PageWidth = src->PageWidth;
    PageHeight = src->PageHeight;
    PageNumberStart = src->PageNumberStart;
    LeftMargin = src->LeftMargin;
    RightMargin = src->RightMargin;
    TopMargin = src->TopMargin;
    BottomMargin = src->BottomMargin;
    FacingPages = src->FacingPages;
    Landscape = src->Landscape;
    Reserved = src->Reserved;
    DefaultPageWidth = src->DefaultPageWidth;
    DefaultPageHeight = src->DefaultPageHeight;
    DefaultTopMargin = src->DefaultTopMargin;
    DefaultBottomMargin = src->DefaultBottomMargin;
    DefaultLeftMargin = src->DefaultLeftMargin;
    DefaultRightMargin = src->DefaultRightMargin;
    MarginHeaderText = src->MarginHeaderText;
    MarginFooterText = src->MarginFooterText;
    PrintHeaderFooterInPageMargins = src->PrintHeaderFooterInPageMargins;
    Changed();
}

}  // namespace rt
