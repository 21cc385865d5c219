// The fixed palettes (uniform cubes, channel pattern, grey scale) and the choice of method.
#include "installer/controls/colorreduce.h"

#include <cstdlib>

#include "framework/core/exceptions.h"
#include "installer/controls/colorreduce_rows.h"

namespace inst {

namespace {

LevelTable MakeLevels(std::vector<uint8_t> levels) {
    LevelTable t;
    t.levels = std::move(levels);
    for (int v = 0; v < 256; ++v) {
        size_t best = 0;
        for (size_t i = 1; i < t.levels.size(); ++i)
            if (std::abs(v - t.levels[i]) < std::abs(v - t.levels[best])) best = i;  // strict: the lower level wins a tie
        t.nearest[static_cast<size_t>(v)] = static_cast<uint8_t>(best);
    }
    return t;
}

PaletteEntry Entry(int red, int green, int blue) {
    return {static_cast<uint8_t>(blue), static_cast<uint8_t>(green), static_cast<uint8_t>(red), 0};
}

}  // namespace

const LevelTable& Levels4() {
    static const LevelTable t = MakeLevels({0, 85, 170, 255});
    return t;
}
const LevelTable& Levels6() {
    static const LevelTable t = MakeLevels({0, 51, 102, 153, 204, 255});
    return t;
}
const LevelTable& Levels7() {
    static const LevelTable t = MakeLevels({0, 43, 85, 128, 170, 213, 255});
    return t;
}
const LevelTable& Levels8() {
    static const LevelTable t = MakeLevels({0, 36, 73, 109, 146, 182, 219, 255});
    return t;
}

void CheckRows(std::span<const uint8_t> rows, int width, int height) {
    if (width <= 0 || height <= 0 || width > (1 << 24) / 3)
        throw fw::EInvalidGraphic("Bitmap image is not valid");
    const uint64_t need = uint64_t{ScanLineWidth(24u * static_cast<uint32_t>(width))} * static_cast<uint64_t>(height);
    if (rows.size() < need) throw fw::EInvalidGraphic("Bitmap image is not valid");
}

namespace {

// A uniform cube: red, green and blue each take the levels of their table; entry r * (G * B) + g * B + b.
ReducedPalette ReduceUniform(std::span<uint8_t> rows, int width, int height, const LevelTable& red,
                             const LevelTable& green, const LevelTable& blue) {
    CheckRows(rows, width, height);
    ReducedPalette p;
    const size_t greens = green.levels.size(), blues = blue.levels.size();
    for (size_t r = 0; r < red.levels.size(); ++r)
        for (size_t g = 0; g < greens; ++g)
            for (size_t b = 0; b < blues; ++b)
                p.entries[(r * greens + g) * blues + b] = Entry(red.levels[r], green.levels[g], blue.levels[b]);
    p.colorsUsed = static_cast<uint32_t>(red.levels.size() * greens * blues);
    MapRows(rows, width, height, [&](int, int, uint8_t b, uint8_t g, uint8_t r) {
        return static_cast<uint8_t>((red.nearest[r] * greens + green.nearest[g]) * blues + blue.nearest[b]);
    });
    return p;
}

}  // namespace

ReducedPalette ReduceUniform666(std::span<uint8_t> rows, int width, int height) {
    return ReduceUniform(rows, width, height, Levels6(), Levels6(), Levels6());
}

ReducedPalette ReduceUniform784(std::span<uint8_t> rows, int width, int height) {
    return ReduceUniform(rows, width, height, Levels7(), Levels8(), Levels4());
}

// Each pixel keeps one channel, chosen by (x + y) mod 3 with y counted in storage order (bottom row
// first): a red, a green and a blue ramp of 64 steps each.
ReducedPalette ReduceChannelPattern(std::span<uint8_t> rows, int width, int height) {
    CheckRows(rows, width, height);
    ReducedPalette p;
    for (int i = 0; i < 64; ++i) {
        p.entries[static_cast<size_t>(i)] = Entry(4 * i, 0, 0);
        p.entries[static_cast<size_t>(64 + i)] = Entry(0, 4 * i, 0);
        p.entries[static_cast<size_t>(128 + i)] = Entry(0, 0, 4 * i);
    }
    MapRows(rows, width, height, [](int x, int y, uint8_t blue, uint8_t green, uint8_t red) {
        switch ((x + y) % 3) {
            case 0: return static_cast<uint8_t>(red >> 2);
            case 1: return static_cast<uint8_t>(64 + (green >> 2));
            default: return static_cast<uint8_t>(128 + (blue >> 2));
        }
    });
    return p;
}

ReducedPalette ReduceGrayscale(std::span<uint8_t> rows, int width, int height) {
    CheckRows(rows, width, height);
    ReducedPalette p;
    for (int i = 0; i < 256; ++i) p.entries[static_cast<size_t>(i)] = Entry(i, i, i);
    MapRows(rows, width, height, [](int, int, uint8_t blue, uint8_t green, uint8_t red) {
        return static_cast<uint8_t>((red * 77 + green * 150 + blue * 29) >> 8);
    });
    return p;
}

ReducedPalette ReduceRows(std::span<uint8_t> rows, int width, int height, TReductionMethod method, int wanted) {
    switch (method) {
        case TReductionMethod::rmHistogram: return ReduceHistogram(rows, width, height, wanted);
        case TReductionMethod::rmMedianCut: return ReduceMedianCut(rows, width, height, wanted);
        case TReductionMethod::rmUniform784: return ReduceUniform784(rows, width, height);
        case TReductionMethod::rmUniform666: return ReduceUniform666(rows, width, height);
        case TReductionMethod::rmChannelPattern: return ReduceChannelPattern(rows, width, height);
        case TReductionMethod::rmGrayscale: return ReduceGrayscale(rows, width, height);
    }
    throw fw::EInvalidGraphic("Bitmap image is not valid");
}

}  // namespace inst
