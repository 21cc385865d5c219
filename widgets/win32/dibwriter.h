// The DIB writer with which the containers store pictures in a chosen colour depth: a bitmap handle
// written as a BMP file image (widgets/dibformat.h) at the depth a colour-count code selects (0 the
// device depth with 16 and 32 written as 24, 2 one bit, 16 four bits, 256 eight bits).
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/streams.h"
#include "framework/win32/graphics.h"

namespace kvx::win32 {

// The information header for Code: one plane, BI_RGB, the image size, no resolution or colours used.
void KVXFillDIBHeader(HBITMAP bitmap, BITMAPINFOHEADER& header, int code);
// 40 (+ the colour table) and the image size.
void KVXDIBSizes(HBITMAP bitmap, int& headerSize, int& imageSize, int code);
// Fills Header (room for the colour table behind it) and Bits by GetDIBits on the focused window's DC
// (the screen's when none), with Palette selected and realized meanwhile. False when GetDIBits fails.
bool KVXGetDIBits(HBITMAP bitmap, HPALETTE palette, BITMAPINFO* header, void* bits, int code);
// The whole file image. A bitmap handle of 0, or bits the system cannot give, raise EInvalidGraphic
// "Bitmap image is not valid".
std::vector<uint8_t> KVXMakeBMPImage(HBITMAP bitmap, HPALETTE palette, int code);
// The image, after its 4-byte size when WithSize.
void KVXWriteBMP(fw::TStream& stream, HBITMAP bitmap, HPALETTE palette, bool withSize, int code);
// The bitmap's image into Stream (code 2 for a monochrome bitmap), which is rewound.
void KVXSaveBitmapDepth(fw::TMemoryStream& stream, fw::TBitmap* bitmap, int code);

}  // namespace kvx::win32
