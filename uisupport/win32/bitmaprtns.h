// Bitmap routines of the media family: the image beneath a control and bitmaps drawn with a
// transparent colour.
#pragma once

#include "framework/core/graphics_values.h"

namespace fw {
class TBitmap;
class TCanvas;
class TControl;
}  // namespace fw

namespace uis {

// Paints what lies beneath `control` into `canvas`: its parent's painting, then the visible windowless
// siblings below it that overlap it, each offset and clipped to itself.
void PaintParentImage(fw::TControl* control, fw::TCanvas* canvas);

// Draws `source` of `bitmap` (the whole bitmap when `source` is empty) at (x, y), stretched to width x
// height when both are non-zero. With clNone it is copied; otherwise pixels of `transparentColor` are
// left out (its palette-relative bit 0x02000000 cleared; clDefault stands for the bitmap's bottom-left
// pixel). The caller's bitmap is not changed.
void DrawMaskedBitmapRect(fw::TCanvas* canvas, int x, int y, fw::TColor transparentColor, fw::TBitmap* bitmap,
                          const fw::TRect& source, int width, int height);
void DrawMaskedBitmap(fw::TCanvas* canvas, int x, int y, fw::TColor transparentColor, fw::TBitmap* bitmap);

}  // namespace uis
