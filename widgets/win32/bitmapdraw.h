// Bitmap placement and bitmap effects. One placement core draws every picture of the suite: a source
// area of a canvas into a destination rectangle plain, centred, stretched (optionally keeping the aspect)
// or tiled, opaque or transparent by the bitmap's transparent colour (brush copy), through a given mask,
// or through a mask made on the fly from a colour. Beside it: masks, the disabled and shaded looks of
// glyphs, a screen grab, an icon on a background and a pattern darkening.
#pragma once

#include <cstdint>

#include "framework/win32/graphics.h"
#include "widgets/drawtypes.h"

namespace kvx::win32 {

// The placement core (flags: see drawtypes.h; brush copy wins over given mask, given mask over colour
// mask). Color is the brush colour for brush copy and the transparent colour for colour mask; Palette, when
// not null, is given to the image built for colour mask. Extra is the source TBitmap for brush copy (the
// source canvas is then not used) and the mask TCanvas for a given mask. PaintedRect receives what was
// painted (empty when nothing was). The destination's stretch mode is left at COLORONCOLOR when stretching.
void KVXPlaceImage(fw::TCanvas* destCanvas, const TRect& destRect, fw::TCanvas* sourceCanvas, const TRect& sourceRect,
                   uint16_t flags, TColor color, HPALETTE palette, fw::TPersistent* extra, TRect& paintedRect);
// A whole bitmap; with kpfPalette its palette is selected and realized first.
void KVXDrawBitmap(fw::TCanvas* canvas, const TRect& destRect, fw::TBitmap* bitmap, uint16_t flags, TColor color,
                   TRect& paintedRect);
// The same under a clipping region made from DestRect (moved by ClipOffset) when kpfClip is set.
void KVXDrawBitmapClipped(fw::TCanvas* canvas, const TRect& destRect, fw::TBitmap* bitmap, uint16_t flags,
                          int32_t clipOffset, TColor color);
void KVXDrawCanvasClipped(fw::TCanvas* destCanvas, const TRect& destRect, fw::TCanvas* sourceCanvas,
                          const TRect& sourceRect, uint16_t flags, int32_t clipOffset, TColor color, fw::TBitmap* bitmap);

// Mask becomes the monochrome mask of TransparentColor in the source area (white where the colour is),
// Image a copy of the area with those pixels black.
void KVXMakeMaskPair(fw::TCanvas* sourceCanvas, const TRect& sourceRect, fw::TBitmap* mask, fw::TBitmap* image,
                     TColor transparentColor);
void KVXMakeBitmapMask(fw::TBitmap* source, fw::TBitmap* mask, fw::TBitmap* image, TColor transparentColor);

// The bitmap sized to Rect and filled with Color; nothing for a missing bitmap or an empty rectangle.
void KVXFillBitmap(fw::TBitmap* bitmap, const TRect& rect, TColor color);
// The bitmap sized to Rect with that area of the screen copied into it.
void KVXGrabScreen(fw::TBitmap* bitmap, const TRect& rect);
// The bitmap sized to the icon, filled with BackColor, the icon drawn at (0, 0).
void KVXIconToBitmap(fw::TBitmap* bitmap, fw::TIcon* icon, TColor backColor);

// The disabled look: Target filled with the glyph's transparent colour, then the glyph's black pixels
// embossed, clBtnHighlight one pixel right and down of clBtnShadow, the glyph at (X, Y). An empty
// target takes the glyph's size.
void KVXMakeDisabledBitmap(fw::TBitmap* target, fw::TBitmap* glyph, int x, int y);
// The three-level shaded look (see KVXShadePixels): Target becomes a shaded copy of Source.
void KVXMakeShadedBitmap(fw::TBitmap* target, fw::TBitmap* source);
// Lays Overlay (less its OverlayTransparent pixels) over Base and draws Base into DestRect, transparent by
// BaseTransparent. Both bitmaps are changed (Overlay becomes its own mask).
void KVXDrawBitmapThroughMask(fw::TCanvas* destCanvas, const TRect& destRect, fw::TBitmap* overlay, fw::TBitmap* base,
                              TColor overlayTransparent, TColor baseTransparent);
// ANDs a pattern brush made from Pattern into Rect of the DC.
void KVXPatternAnd(HDC dc, const TRect& rect, fw::TBitmap* pattern);

}  // namespace kvx::win32
