// Row walking shared by the colour reduction methods (not part of the interface).
#pragma once

#include <cstdint>
#include <span>

#include "installer/controls/colorreduce.h"

namespace inst {

// Raises EInvalidGraphic "Bitmap image is not valid" unless `rows` holds a width x height 24-bit
// pixel block.
void CheckRows(std::span<const uint8_t> rows, int width, int height);

// Calls visit(x, y, blue, green, red) for every pixel, y counted in storage order.
template <class Visit>
void ForEachPixel(std::span<const uint8_t> rows, int width, int height, Visit visit) {
    const size_t stride = ScanLineWidth(24u * static_cast<uint32_t>(width));
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = rows.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x, src += 3) visit(x, y, src[0], src[1], src[2]);
    }
}

// Replaces every pixel by map(x, y, blue, green, red), an index, turning the block into 8-bit rows in
// place. Row y's indices start at y x stride8, never past its 24-bit pixels at y x stride24, and each
// pixel is read before its index is written, so nothing unread is overwritten. Row padding is zeroed.
template <class Map>
void MapRows(std::span<uint8_t> rows, int width, int height, Map map) {
    const size_t stride24 = ScanLineWidth(24u * static_cast<uint32_t>(width));
    const size_t stride8 = ScanLineWidth(8u * static_cast<uint32_t>(width));
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = rows.data() + static_cast<size_t>(y) * stride24;
        uint8_t* dst = rows.data() + static_cast<size_t>(y) * stride8;
        for (int x = 0; x < width; ++x, src += 3) {
            const uint8_t blue = src[0], green = src[1], red = src[2];
            dst[x] = map(x, y, blue, green, red);
        }
        for (size_t x = static_cast<size_t>(width); x < stride8; ++x) dst[x] = 0;
    }
}

}  // namespace inst
