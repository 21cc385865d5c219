// The stateless painting procedures that draw borders and colour runs: bevels, the drop-shadow bevel,
// the frame styles (the system's edge drawing), the drop-down arrow and gradients. They change the
// canvas's pen and brush and leave them so; callers set what they need before their next drawing.
#pragma once

#include <cstdint>

#include "framework/win32/graphics.h"
#include "widgets/drawtypes.h"
#include "widgets/gradient.h"

namespace kvx::win32 {

// A bevel of Width pixels just inside Rect; Rect becomes the area inside it. False, Rect unchanged,
// when nothing is drawn (Width 0, bvNone, bvShadow). A raised bevel shows LightColor at the top and left.
bool KVXDrawBevel(fw::TCanvas* canvas, TRect& rect, TKVXBevelStyle style, TColor lightColor, TColor shadowColor,
                  int width);
// A drop shadow of Depth pixels at the right and bottom, the two free corners in CornerColor (unless
// Transparent) and FrameWidth frame lines; Rect becomes the area inside. Always true.
bool KVXDrawShadowBevel(fw::TCanvas* canvas, TRect& rect, TColor frameColor, TColor shadowColor, TColor cornerColor,
                        uint8_t depth, uint8_t frameWidth, bool transparent);
// A frame by the system's edge drawing with BF_ADJUST; ExtraFlags is ORed into most calls. Rect is
// adjusted in place. Always true.
bool KVXDrawFrame(fw::TCanvas* canvas, TRect& rect, TKVXBorderStyle style, uint16_t extraFlags);
// A filled triangle of Size rows (2..15; other sizes draw nothing). Disabled: a clHighlightText copy one
// pixel right and down, then the arrow in clGrayText.
void KVXDrawArrow(fw::TCanvas* canvas, int x, int y, int size, TColor color, bool pointDown, bool enabled);

// Fills Colors with Count steps from StartColor to EndColor (system colours allowed); nothing for a
// missing table or Count 0.
void KVXMakeGradientColors(TColor startColor, TColor endColor, uint8_t count, TKVXColorTable* colors);
// A logical palette with one PC_NOCOLLAPSE entry per colour; null for a missing or empty table.
HPALETTE KVXMakeGradientPalette(const TKVXColorTable* colors);
// Paints a gradient from a colour table. Flags: kpfClip (clip to Rect, or Rect moved by ClipOffset),
// kpfOffscreen (paint a bitmap, then copy it), kpfPalette (select and realize Palette; brushes then use
// palette-relative colours). The palette stays selected in the canvas.
void KVXDrawGradient(fw::TCanvas* canvas, const TRect& rect, TKVXGradientStyle style, const TKVXColorTable* colors,
                     HPALETTE palette, uint16_t flags, int32_t clipOffset);
// The same from two colours, through a temporary table (and, with kpfPalette, palette).
void KVXFillGradient(fw::TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor, uint8_t count,
                     TKVXGradientStyle style, uint16_t flags, int32_t clipOffset);

}  // namespace kvx::win32
