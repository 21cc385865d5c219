// The frequency histogram method: the most frequent colours become the palette, every other colour
// takes its nearest palette entry. At most 2049 distinct colours are counted; a picture with more
// loses one low bit of one channel at a time (blue, red, green in turn) until its colours fit.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "installer/controls/colorreduce.h"
#include "installer/controls/colorreduce_rows.h"

namespace inst {

namespace {

constexpr int kMaxColors = 2049;
constexpr int kSlots = 5191;  // hash table slots, linear probing; a prime well above kMaxColors
constexpr uint16_t kEmpty = 0xFFFF;

struct Color {
    uint8_t red = 0, green = 0, blue = 0;
    uint32_t count = 0;
    uint8_t index = 0;
};

class Histogram {
public:
    Histogram() { slots_.fill(kEmpty); }

    void Clear() {
        slots_.fill(kEmpty);
        colors_.clear();
    }

    // The slot holding the colour, or the empty slot where it belongs.
    int Find(uint8_t red, uint8_t green, uint8_t blue) const {
        int slot = static_cast<int>((uint32_t{red} + green) * (uint32_t{blue} + green) * (uint32_t{red} + blue) % kSlots);
        for (;;) {
            const uint16_t at = slots_[static_cast<size_t>(slot)];
            if (at == kEmpty) return slot;
            const Color& c = colors_[at];
            if (c.red == red && c.green == green && c.blue == blue) return slot;
            slot = slot == kSlots - 1 ? 0 : slot + 1;
        }
    }

    // Counts one pixel; false when it would be colour number kMaxColors + 1.
    bool Add(uint8_t red, uint8_t green, uint8_t blue) {
        const int slot = Find(red, green, blue);
        uint16_t& at = slots_[static_cast<size_t>(slot)];
        if (at != kEmpty) {
            ++colors_[at].count;
            return true;
        }
        if (static_cast<int>(colors_.size()) == kMaxColors) return false;
        at = static_cast<uint16_t>(colors_.size());
        colors_.push_back({red, green, blue, 1, 0});
        return true;
    }

    uint8_t IndexOf(uint8_t red, uint8_t green, uint8_t blue) const {
        return colors_[slots_[static_cast<size_t>(Find(red, green, blue))]].index;
    }

    std::vector<Color>& Colors() { return colors_; }

private:
    std::array<uint16_t, kSlots> slots_{};
    std::vector<Color> colors_;
};

// Drops one more low bit: green when red has fewer bits than green, else red when blue has fewer
// than red, else blue. From equal masks that gives blue, red, green, blue ...
void DropBit(uint8_t& red, uint8_t& green, uint8_t& blue) {
    if (red < green)
        green = static_cast<uint8_t>(green << 1);
    else if (blue < red)
        red = static_cast<uint8_t>(red << 1);
    else
        blue = static_cast<uint8_t>(blue << 1);
}

}  // namespace

ReducedPalette ReduceHistogram(std::span<uint8_t> rows, int width, int height, int wanted, HistogramTrace* trace) {
    CheckRows(rows, width, height);
    wanted = std::clamp(wanted, 1, 256);
    auto histogram = std::make_unique<Histogram>();
    uint8_t redMask = 255, greenMask = 255, blueMask = 255;
    for (;;) {
        bool fits = true;
        ForEachPixel(rows, width, height, [&](int, int, uint8_t blue, uint8_t green, uint8_t red) {
            if (fits) fits = histogram->Add(red & redMask, green & greenMask, blue & blueMask);
        });
        if (fits) break;
        // Eight bits per channel can always be dropped before 2049 colours cannot hold a picture.
        DropBit(redMask, greenMask, blueMask);
        histogram->Clear();
    }

    std::vector<Color>& colors = histogram->Colors();
    ReducedPalette p;
    // The most frequent colours, the first of equal counts first, take the palette in turn.
    std::vector<bool> chosen(colors.size(), false);
    int used = 0;
    while (used < wanted) {
        size_t best = colors.size();
        for (size_t i = 0; i < colors.size(); ++i)
            if (!chosen[i] && (best == colors.size() || colors[i].count > colors[best].count)) best = i;
        if (best == colors.size()) break;
        chosen[best] = true;
        colors[best].index = static_cast<uint8_t>(used);
        p.entries[static_cast<size_t>(used)] = {colors[best].blue, colors[best].green, colors[best].red, 0};
        ++used;
    }
    // The rest take the nearest chosen entry (the first of equal distances).
    for (size_t i = 0; i < colors.size(); ++i) {
        if (chosen[i]) continue;
        int best = 0;
        int bestDistance = -1;
        for (int e = 0; e < used; ++e) {
            const PaletteEntry& q = p.entries[static_cast<size_t>(e)];
            const int dr = colors[i].red - q.red, dg = colors[i].green - q.green, db = colors[i].blue - q.blue;
            const int d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = e;
            }
        }
        colors[i].index = static_cast<uint8_t>(best);
    }
    if (trace) *trace = {redMask, greenMask, blueMask, static_cast<int>(colors.size())};
    MapRows(rows, width, height, [&](int, int, uint8_t blue, uint8_t green, uint8_t red) {
        return histogram->IndexOf(red & redMask, green & greenMask, blue & blueMask);
    });
    p.colorsUsed = wanted == 256 ? 0 : static_cast<uint32_t>(wanted);
    return p;
}

ReducedPalette ReduceHistogram(std::span<uint8_t> rows, int width, int height, int wanted) {
    return ReduceHistogram(rows, width, height, wanted, nullptr);
}

}  // namespace inst
