// The stream items that need device objects: bitmaps stored as BMP file images (plain after a 4-byte
// count, or inside the compressed frame), and fonts written as and read from their one-line text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/streams.h"
#include "framework/win32/graphics.h"

namespace kvx::win32 {

// Code -1 stores the framework's own bitmap format; 0, 2, 16 or 256 a DIB of that colour code (a
// compressed monochrome bitmap always as 1 bit).
constexpr int kBitmapFrameworkFormat = -1;
// The BMP file image KVXWriteBitmap stores for these arguments.
std::vector<uint8_t> KVXBitmapImage(fw::TBitmap* bitmap, bool compressed, int code);
void KVXWriteBitmap(fw::TStream& stream, fw::TBitmap* bitmap, bool compressed, int code);
// Every stored form is a BMP file image; a damaged one raises the framework's read or graphics error.
void KVXReadBitmap(fw::TStream& stream, fw::TBitmap* bitmap, bool compressed);

std::string KVXFontToString(fw::TFont* font);
// See widgets/fonttext.h; each field is the font's own property write.
void KVXStringToFont(const std::string& text, fw::TFont* font);

}  // namespace kvx::win32
