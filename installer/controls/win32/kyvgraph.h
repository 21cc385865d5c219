// Bitmaps as device-independent bitmap files in memory, at 1, 4, 8 or 24 bits per pixel; 8-bit files
// from true-colour pictures through one of the colour reductions of colorreduce.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/win32/graphics.h"
#include "installer/controls/colorreduce.h"
#include "installer/controls/dibfile.h"

namespace inst {

// The method used when a caller does not choose one (initially rmHistogram).
extern TReductionMethod DefaultMappingMethod;

// Colours of a pixel format: 2, 16, 256 for pf1bit, pf4bit, pf8bit; 0 for the others.
int PixelFormatColors(fw::TPixelFormat format);
// Bits per pixel of the formats handled here (1, 4, 8, 24), 0 for the others.
int PixelFormatBits(fw::TPixelFormat format);

// The information header a bitmap has in `format` (size and depth; palette formats with all colours).
DibInfoHeader BitmapInfoHeader(HBITMAP bitmap, fw::TPixelFormat format);
// The bitmap's pixels at `bits` bits per pixel as the system converts them, with `palette` (may be
// null) selected and realized in a memory device context: a whole bitmap file. Empty when the system
// refuses.
std::vector<uint8_t> BitmapFileThroughSystem(HBITMAP bitmap, HPALETTE palette, int bits);

// A new memory stream at position 0 holding a whole bitmap file of `bitmap` in `format`:
//   - a bitmap already in `format` is saved unchanged, unless the method is rmGrayscale;
//   - pf1bit and pf4bit come from the system's conversion;
//   - pf8bit is the 24-bit picture reduced by `method`.
// A bitmap without a handle, and pf24bit asked of a bitmap of another format (the methods make 8-bit
// pictures only), raise EInvalidGraphic "Bitmap image is not valid"; other formats end in
// ShowNotImplemented.
std::unique_ptr<fw::TMemoryStream> ConvertBitmapToDIB(fw::TBitmap* bitmap, fw::TPixelFormat format,
                                                      TReductionMethod method);
// ConvertBitmapToDIB in the smallest format for `colors`: pf1bit up to 2, pf4bit up to 16, pf8bit up to
// 256, pf24bit above; with DefaultMappingMethod.
std::unique_ptr<fw::TMemoryStream> ReduceBitmapColors(fw::TBitmap* bitmap, int colors);

}  // namespace inst
