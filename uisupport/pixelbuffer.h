// Pixel work of the fast bitmap that needs no device: 24-bit rows, the blur, and colour shifts.
//
// A pixel buffer is top-down: row 0 is the top row, pixels are 3 bytes (blue, green, red), and a row
// takes 3 * Width + (Width mod 4) bytes, which is the 4-byte-aligned length of 3 * Width.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/graphics_values.h"

namespace uis {

struct TPixelBuffer {
    int Width = 0;
    int Height = 0;
    uint8_t* Bits = nullptr;  // Height rows of RowBytes(Width) bytes

    uint8_t* Row(int y) const { return Bits + static_cast<size_t>(y) * RowBytes(Width); }
    static size_t RowBytes(int width) { return static_cast<size_t>(3 * width + width % 4); }
};

// In place, rows from the top and pixels from the left: each pixel becomes, channel by channel, the
// integer average of its four diagonal neighbours at distance `amount`, reading rows above it that were
// already replaced. A neighbour row above the top is the pixel's own row, one below the bottom row
// Height - y; a column left of the edge is its own column, one right of it Width - x; every index is then
// clamped into the bitmap, so no amount and no size reads outside it. Amount 0 does nothing.
void BlurBy(TPixelBuffer& buffer, int amount);

// Adds a signed delta (-128 to 127) to each of the three colour bytes, clamping each to 0..255; the
// fourth byte is kept.
fw::TColor AdjustColor(fw::TColor color, int deltaRed, int deltaGreen, int deltaBlue);

}  // namespace uis
