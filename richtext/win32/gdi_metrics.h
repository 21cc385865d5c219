// The cell metrics of a GDI device context: the cell's font selected, GetCharWidth32A for the 256
// characters (GetTextExtentPoint32A one character at a time when the device refuses), GetTextMetricsA
// for height, ascent and external leading, and GetDeviceCaps for resolution and technology. The answers
// for a font are kept: a document asks for the same few fonts once per run of equal cells.
#pragma once

#include "framework/win32/winapi.h"

#include <vector>

#include "richtext/cell_metrics.h"
#include "richtext/win32/gdi_fonts.h"

namespace rt {

class TGdiCellMetrics : public ICellMetrics {
public:
    // `dc` stays the caller's; fonts come from `fonts`.
    TGdiCellMetrics(HDC dc, TGdiFontCache& fonts) : dc_(dc), fonts_(fonts) {}

    int ResolutionX() const override { return GetDeviceCaps(dc_, LOGPIXELSX); }
    int ResolutionY() const override { return GetDeviceCaps(dc_, LOGPIXELSY); }
    int Technology() const { return GetDeviceCaps(dc_, TECHNOLOGY); }
    void Measure(const TCellFont& font, TFontMetrics& metrics) override;

private:
    struct Known {
        TCellFont font;
        TFontMetrics metrics;
    };
    static constexpr size_t kMaxKnown = 64;
    void MeasureOnDevice(const TCellFont& font, TFontMetrics& metrics);

    HDC dc_;
    TGdiFontCache& fonts_;
    std::vector<Known> known_;
};

}  // namespace rt
