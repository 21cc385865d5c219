#include "richtext/win32/gdi_metrics.h"

#include <algorithm>

namespace rt {

namespace {

uint16_t ClampWidth(long w) { return static_cast<uint16_t>(std::clamp<long>(w, 0, 65535)); }

}  // namespace

void TGdiCellMetrics::Measure(const TCellFont& font, TFontMetrics& metrics) {
    // Colours and decorations drawn as lines do not change what the device measures.
    for (const Known& k : known_)
        if (k.font.height == font.height && k.font.bold == font.bold && k.font.italic == font.italic &&
            k.font.strikeOut == font.strikeOut && k.font.name == font.name) {
            metrics = k.metrics;
            return;
        }
    MeasureOnDevice(font, metrics);
    if (known_.size() >= kMaxKnown) known_.clear();
    known_.push_back({font, metrics});
}

void TGdiCellMetrics::MeasureOnDevice(const TCellFont& font, TFontMetrics& metrics) {
    HGDIOBJ old = SelectObject(dc_, fonts_.Get(font));
    INT widths[256] = {};
    metrics.haveWidths = GetCharWidth32A(dc_, 0, 255, widths) != FALSE;
    for (int i = 0; i < 256; ++i) {
        if (metrics.haveWidths) {
            metrics.widths[i] = ClampWidth(widths[i]);
        } else {
            // Each character measured as a text of its own.
            const char c = static_cast<char>(i);
            SIZE size{};
            metrics.widths[i] = i != 0 && GetTextExtentPoint32A(dc_, &c, 1, &size) ? ClampWidth(size.cx) : 0;
        }
    }
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc_, &tm)) {
        metrics.height = tm.tmHeight;
        metrics.ascent = tm.tmAscent;
        metrics.externalLeading = tm.tmExternalLeading;
    } else {
        // A device without text metrics (a metafile): the width of "A" stands for the height, two
        // fifths of it for the ascent.
        SIZE size{};
        const int a = GetTextExtentPoint32A(dc_, "A", 1, &size) && size.cx > 0 ? size.cx : -font.height;
        metrics.height = a;
        metrics.ascent = a * 2 / 5;
        metrics.externalLeading = 0;
    }
    SelectObject(dc_, old);
}

}  // namespace rt
