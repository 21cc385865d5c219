// Bitmap files in memory: the information header, its size rules, and a whole file put together from
// a header, a palette and pixel rows.
//
//  File header (14 bytes):     +0 "BM"  +2 uint32 file size  +6 uint32 reserved  +10 uint32 offset of the bits
//  Information header (40):    +0 uint32 size (40)  +4 int32 width  +8 int32 height (positive: bottom-up)
//                              +12 uint16 planes (1)  +14 uint16 bits per pixel  +16 uint32 compression
//                              +20 uint32 image size  +24 int32 x/m  +28 int32 y/m  +32 uint32 colours used
//                              +36 uint32 colours important
//  then the palette (4 bytes per entry: blue, green, red, 0) and the pixel rows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "installer/controls/colorreduce.h"

namespace inst {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

struct DibInfoHeader {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

// Palette entries a header describes: colours used, or 2^bits up to 8 bits, else none.
uint32_t PaletteCount(const DibInfoHeader& h);
// Header plus palette: 40 + 4 per entry up to 8 bits; 40 above, or 52 with bit-field masks.
uint32_t DibHeaderSize(const DibInfoHeader& h);
// Bytes of the pixel rows.
uint32_t DibImageSize(const DibInfoHeader& h);

// A header for width x height at `bitCount` bits (uncompressed, bottom-up, image size filled in).
DibInfoHeader MakeDibHeader(int width, int height, int bitCount);

// File header, information header, `palette` (PaletteCount(h) entries, missing ones black) and `bits`
// (exactly DibImageSize(h) bytes used; a shorter block is padded with zeros).
std::vector<uint8_t> BuildBitmapFile(const DibInfoHeader& h, std::span<const PaletteEntry> palette,
                                     std::span<const uint8_t> bits);

// The 8-bit file of a 24-bit pixel block (the layout of colorreduce.h) reduced by `method`: the
// palette holds the colours the method made (rmMedianCut: its boxes; rmUniform784: 224; rmUniform666:
// 216; the others 256), and the header's colours-used field says so. `rows` is used up.
std::vector<uint8_t> ReducedBitmapFile(std::vector<uint8_t> rows, int width, int height, TReductionMethod method);

}  // namespace inst
