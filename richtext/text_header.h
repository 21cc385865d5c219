// The document's page format, font table, 16-entry colour table, 64-entry tab-stop table, document
// information and storing options.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "richtext/engine_settings.h"

namespace rt {

class TZrtRTFText;

enum class TZrtUnit { UnitCm, UnitIn, UnitPt, UnitPix };
enum class TStoreOption { soNoColorTableInRTF, soNoPageFormatInRTF, soHardLineBreaks, soNoNULLChar };
using TStoreOptions = fw::Set<TStoreOption>;

constexpr int kFontCount = 100;  // entries 0-98 are used
constexpr int kMaxFont = 99;
constexpr int kColorCount = 16;
constexpr int kTabCount = 64;

struct TRgb {
    uint8_t red = 0, green = 0, blue = 0, zero = 0;
    bool operator==(const TRgb&) const = default;
};

class TTextHeader : public fw::TPersistent {
public:
    TTextHeader();
    ~TTextHeader() override;

    int32_t DefaultPageWidth = 12240;
    int32_t DefaultPageHeight = 15840;
    int32_t DefaultTopMargin = 1440;
    int32_t DefaultBottomMargin = 1440;
    int32_t DefaultRightMargin = 1880;
    int32_t DefaultLeftMargin = 1880;
    int32_t MarginHeaderText = 0;
    int32_t MarginFooterText = 0;
    bool RoundTabs = true;
    TZrtUnit UsedUnit = TZrtUnit::UnitCm;
    TZrtRTFText* Owner = nullptr;
    std::function<void()> OnChange;
    std::array<TRgb, kColorCount> Colors{};
    std::array<uint8_t, kColorCount> ColorUsed{};
    bool NoColorTable = false;
    int32_t HorzResolution = 96;
    int32_t VertResolution = 96;
    std::function<void()> OnTabFull;
    bool rich = false;
    std::array<std::string, kFontCount> FontNames;
    std::array<uint8_t, kFontCount> FontPitchFamily{};
    std::array<uint8_t, kFontCount> FontCharset{};
    std::array<int32_t, kTabCount> TabPos{};
    std::array<int32_t, kTabCount> TabPixelPos{};
    std::array<uint8_t, kTabCount> TabKind{};  // 0 left, 1 right, 2 centre, 3 decimal
    std::array<int32_t, kTabCount> TabOrder{};
    uint64_t CurrentTabSet = 0;
    char DecimalTabChar = kDefaultDecimalTabChar;
    TStoreOptions StoreOptions;
    std::string Title, Subject, Comment;
    bool PrintHeaderFooterInPageMargins = true;
    int32_t PageWidth = 12240;
    int32_t PageHeight = 15840;
    int32_t PageNumberStart = 1;
    int32_t LeftMargin = 1880;
    int32_t RightMargin = 1880;
    int32_t TopMargin = 1440;
    int32_t BottomMargin = 1440;
    bool FacingPages = false;
    bool Landscape = false;
    int32_t Reserved = 0;  // the value copied after the facing-pages and landscape flags
    int32_t PrintableWidth = 0;
    int32_t PrintableHeight = 0;
    int32_t RulerStep = 0;
    std::string FormatName = "AUTO";
    uint8_t DefaultTabKind = 0;

    // The index of `name` (ignoring case), added at the first free entry; 99 when the table is full.
    int FindOrAddFont(const std::string& name);
    void Reset();
    // Maps a colour to an index of the colour table; answers whether the colour is represented exactly.
    bool ColorIndex(TColor color, int& index);
    void Changed();
    int RoundTab(int pos) const;
    int FindTab(int& pos, int kind) const;
    int AddTab(int pos, int kind);
    void RecalcPixels();
    void SortTabs();
    void ClearTabs();
    void Assign(fw::TPersistent* source) override;

    TColor ColorOf(int index) const;
    static TRgb ToRgb(TColor color);

    // Published accessors.
    int32_t GetPageWidth() const { return PageWidth; }
    void SetPageWidth(int32_t v) { PageWidth = v; Changed(); }
    int32_t GetPageHeight() const { return PageHeight; }
    void SetPageHeight(int32_t v) { PageHeight = v; Changed(); }
    int32_t GetLeftMargin() const { return LeftMargin; }
    void SetLeftMargin(int32_t v) { LeftMargin = v; Changed(); }
    int32_t GetRightMargin() const { return RightMargin; }
    void SetRightMargin(int32_t v) { RightMargin = v; Changed(); }
    int32_t GetTopMargin() const { return TopMargin; }
    void SetTopMargin(int32_t v) { TopMargin = v; Changed(); }
    int32_t GetBottomMargin() const { return BottomMargin; }
    void SetBottomMargin(int32_t v) { BottomMargin = v; Changed(); }
};

// The 16 standard colours as TColor values.
extern const TColor kStandardColors[kColorCount];

}  // namespace rt
