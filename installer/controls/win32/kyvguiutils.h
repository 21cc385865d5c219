// GUI routines of the picture classes: bitmaps drawn with a transparent colour, the stop for requests
// that are not supported, and memory blocks.
#pragma once

#include <cstddef>

#include "framework/win32/graphics.h"

namespace inst {

// A colour as a palette-relative COLORREF: matched to the nearest entry of the selected palette.
COLORREF PaletteColor(fw::TColor color);

// Stretches the source rectangle onto the destination rectangle leaving out the pixels of
// `transparentColor`, with the classic pair of monochrome masks. With a palette, it is selected and
// realized in every device context involved.
void TransparentStretchBlt(HDC dest, int dx, int dy, int dw, int dh, HDC source, int sx, int sy, int sw, int sh,
                           fw::TColor transparentColor, HPALETTE palette);

// Draws `bitmap` (or the source rectangle of it) into the destination rectangle. A destination width
// or height below 1 takes the bitmap's; a source width or height below 1 takes the whole bitmap.
// clNone draws it plainly with the canvas's copy mode; clDefault means the bitmap's bottom-left pixel;
// a monochrome bitmap's transparent colour is white.
void DrawBitmapTransparent(fw::TCanvas* dest, fw::TBitmap* bitmap, fw::TColor transparentColor, int dx, int dy, int dw,
                           int dh, int sx, int sy, int sw, int sh);
void DrawBitmapRectTransparent(fw::TCanvas* dest, int x, int y, const fw::TRect& source, fw::TBitmap* bitmap,
                               fw::TColor transparentColor, int dw, int dh);

// Resets the screen cursor, says "Function not yet implemented" and ends the operation silently
// (EAbort).
[[noreturn]] void ShowNotImplemented();

// A zero-filled block of global memory; null for a size of 0 or less.
void* AllocMemo(std::ptrdiff_t size);
// Frees a block from AllocMemo and clears the pointer.
void FreeMemo(void*& block);
bool CompareMem(const void* a, const void* b, std::size_t size);
void* OffsetPointer(void* p, std::ptrdiff_t offset);
void CopyMem(void* dest, const void* source, std::size_t size);

}  // namespace inst
