// The BMP codec over bytes. Reads 1/4/8/16/24/32 bits per pixel, uncompressed (BI_RGB) or with
// colour masks (BI_BITFIELDS), and RLE4/RLE8; writes 1/4/8/24/32 bits per pixel uncompressed. Every
// size and offset in a header is checked against the data before use, so damaged or hostile files
// give an error, never a read outside the input or an outsized allocation.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fw {

struct BmpImage {
    int width = 0;
    int height = 0;
    // Bits per pixel as read (or to be written when encoding with bitsPerPixel 0).
    int bitsPerPixel = 24;
    // Palette images (1/4/8 bpp): 0x00RRGGBB entries and one index per pixel, rows top first.
    std::vector<uint32_t> palette;
    std::vector<uint8_t> indices;
    // Every decoded image: 0xAARRGGBB per pixel, rows top first. AA is the stored fourth byte of
    // 32-bit pixels (or their alpha mask), 0 otherwise.
    std::vector<uint32_t> pixels;

    uint32_t Pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// The largest image the reader accepts, in pixels (and 32767 in either direction).
constexpr int64_t kBmpMaxPixels = int64_t{1} << 25;

// A whole .bmp file ("BM" and the file header first). False with a reason on failure.
bool DecodeBmp(std::span<const uint8_t> data, BmpImage& image, std::string* error = nullptr);
// A packed DIB (information header, colours, bits) as in clipboard data and resources.
bool DecodeDib(std::span<const uint8_t> data, BmpImage& image, std::string* error = nullptr);

// Writes a .bmp file at 1, 4 or 8 bits per pixel (from palette and indices; the palette may hold at
// most 2^bpp entries) or 24 or 32 (from pixels). bitsPerPixel 0 uses image.bitsPerPixel. Raises
// EInvalidGraphic when the image does not fit the depth.
std::vector<uint8_t> EncodeBmp(const BmpImage& image, int bitsPerPixel = 0);

// DecodeBmp raising EInvalidGraphic "Bitmap image is not valid".
BmpImage ReadBmp(std::span<const uint8_t> data);

}  // namespace fw
