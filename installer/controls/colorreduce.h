// Colour reduction of true-colour pictures to 8-bit palette pictures, over raw bitmap rows.
//
// The input is the pixel block of a 24-bit bitmap file: blue, green, red per pixel, each row padded
// to a multiple of 4 bytes, bottom row first. Each method turns it in place into the pixel block of
// an 8-bit bitmap (one index per pixel, rows padded to 4 bytes, same row order) and fills a
// 256-entry palette. In place works because an index row never reaches past the start of the
// 24-bit pixel it replaces.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace inst {

enum class TReductionMethod { rmHistogram, rmMedianCut, rmUniform784, rmUniform666, rmChannelPattern, rmGrayscale };

// A palette entry as a bitmap file stores it.
struct PaletteEntry {
    uint8_t blue = 128;
    uint8_t green = 128;
    uint8_t red = 128;
    uint8_t reserved = 128;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

struct ReducedPalette {
    // Entries a method does not set keep 128 in every byte.
    std::array<PaletteEntry, 256> entries{};
    // The count for the header's colours-used field: 0 means all 256.
    uint32_t colorsUsed = 0;
};

// Bytes of one row of `bits`-bit pixels: rows are padded to 32 bits.
constexpr uint32_t ScanLineWidth(uint32_t bits) { return (bits + 31) / 32 * 4; }
// Bytes of a row of `pixels` pixels at `bitsPerPixel`, padded to `alignment` bits (a power of two).
constexpr uint32_t BytesPerScanLine(uint32_t pixels, uint32_t bitsPerPixel, uint32_t alignment) {
    return ((pixels * bitsPerPixel + alignment - 1) & ~(alignment - 1)) / 8;
}

// The four level tables (0..255 per channel) of the uniform palettes and the nearest level of every
// channel value (the lower level on a tie).
struct LevelTable {
    std::vector<uint8_t> levels;
    std::array<uint8_t, 256> nearest{};
};
const LevelTable& Levels4();
const LevelTable& Levels6();
const LevelTable& Levels7();
const LevelTable& Levels8();

// Reduces `rows` (width x height, 24-bit layout above, at least height x ScanLineWidth(24 x width)
// bytes) to 8-bit indices in place. `wanted` is the palette size the histogram method fills (the
// target format's colour count); the other methods have fixed sizes.
ReducedPalette ReduceRows(std::span<uint8_t> rows, int width, int height, TReductionMethod method, int wanted = 256);

// The methods one by one (ReduceRows picks one).
ReducedPalette ReduceHistogram(std::span<uint8_t> rows, int width, int height, int wanted);
ReducedPalette ReduceMedianCut(std::span<uint8_t> rows, int width, int height, int wanted);
ReducedPalette ReduceUniform666(std::span<uint8_t> rows, int width, int height);
ReducedPalette ReduceUniform784(std::span<uint8_t> rows, int width, int height);
ReducedPalette ReduceChannelPattern(std::span<uint8_t> rows, int width, int height);
ReducedPalette ReduceGrayscale(std::span<uint8_t> rows, int width, int height);

// What the histogram method did, for tests: the channel masks it ended with and the distinct colours
// it kept.
struct HistogramTrace {
    uint8_t redMask = 255;
    uint8_t greenMask = 255;
    uint8_t blueMask = 255;
    int distinct = 0;
};
ReducedPalette ReduceHistogram(std::span<uint8_t> rows, int width, int height, int wanted, HistogramTrace* trace);

// The boxes of a median cut, for tests: per box its cells (12-bit colours, red most significant) and
// the pixels they hold.
struct MedianCutBox {
    std::vector<uint16_t> cells;
    uint64_t pixels = 0;
};
std::vector<MedianCutBox> MedianCutBoxes(std::span<const uint8_t> rows, int width, int height, int wanted);

}  // namespace inst
