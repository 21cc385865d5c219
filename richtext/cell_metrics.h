// What layout asks of the device: for the font of a character cell, the widths of the 256 characters,
// the height, ascent and external leading, and the resolution. The GDI implementation selects the font
// into a device context; FixedCellMetrics answers fixed values for tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

#include "richtext/engine_settings.h"

namespace rt {

// The font and colours a cell is shown with, as layout and painting select them.
struct TCellFont {
    std::string name;
    int height = -13;  // negative: character height in pixels
    bool bold = false, italic = false, underline = false, strikeOut = false;
    bool superScript = false, subScript = false;
    TColor color = 0;
    TColor backColor = 0xFFFFFF;
    TColor penColor = 0;
};

struct TFontMetrics {
    uint16_t widths[256] = {};
    bool haveWidths = true;  // false: the device gave no widths; each is measured as a text
    int height = 0;
    int ascent = 0;
    int externalLeading = 0;
};

class ICellMetrics {
public:
    virtual ~ICellMetrics() = default;
    virtual int ResolutionX() const = 0;
    virtual int ResolutionY() const = 0;
    // Fills the metrics of `font`.
    virtual void Measure(const TCellFont& font, TFontMetrics& metrics) = 0;
};

// Every glyph `glyph` pixels wide (character 0 has no width), fixed height and ascent.
class FixedCellMetrics : public ICellMetrics {
public:
    explicit FixedCellMetrics(int glyph = 8, int height = 16, int ascent = 13, int resolution = 96)
        : glyph_(glyph), height_(height), ascent_(ascent), resolution_(resolution) {}
    int ResolutionX() const override { return resolution_; }
    int ResolutionY() const override { return resolution_; }
    void Measure(const TCellFont& font, TFontMetrics& metrics) override {
        for (int i = 0; i < 256; ++i) metrics.widths[i] = static_cast<uint16_t>(i == 0 ? 0 : glyph_);
        metrics.height = height_;
        metrics.ascent = ascent_;
        metrics.externalLeading = 0;
        lastFont = font;
    }
    TCellFont lastFont;

private:
    int glyph_, height_, ascent_, resolution_;
};

}  // namespace rt
