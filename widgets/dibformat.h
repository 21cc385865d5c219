// The BMP file image the suite's DIB writer produces, without a device: the depth a colour-count code
// selects, the header and image sizes, and the two headers.
//
//   offset 0   "BM", file size (4), two reserved zero words, offset of the bits = header size + 14
//   offset 14  BITMAPINFOHEADER (40 bytes): width, height (positive: rows bottom first), 1 plane, bits,
//              BI_RGB, image size, zero resolution and colour-use fields
//   offset 54  the colour table (2^bits entries of 4 bytes; none for 24 bits), then the bits
#pragma once

#include <array>
#include <cstdint>

namespace kvx {

// Colour-count codes.
constexpr int kDibDevice = 0;  // the device bitmap's depth (16 and 32 written as 24)
constexpr int kDibMono = 2;    // 1 bit
constexpr int kDib16 = 16;     // 4 bits
constexpr int kDib256 = 256;   // 8 bits

// Bits per pixel for a code; DeviceBits is planes x bits of the device bitmap. Codes other than
// 2, 16 and 256 take the device depth.
int KVXDIBBits(int code, int deviceBits);
// 40 for 24 bits, else 40 + 4 x 2^bits.
int KVXDIBHeaderSize(int bits);
// ((width x bits + 31) div 32) x 4 x height, in 64 bits.
uint64_t KVXDIBImageSize(int width, int height, int bits);

std::array<uint8_t, 14> KVXBMPFileHeader(int headerSize, uint32_t imageSize);
std::array<uint8_t, 40> KVXBMPInfoHeader(int width, int height, int bits, uint32_t imageSize);

}  // namespace kvx
