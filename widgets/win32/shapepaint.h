// The painter of the shape controls: shadow, body, fill picture, outline and pen-drawn bevel of a shape
// from its outline (widgets/shapegeometry.h).
#pragma once

#include <cstdint>

#include "framework/win32/graphics.h"
#include "widgets/shapegeometry.h"

namespace kvx::win32 {

// Paints the shape into Rect. A given List (built by KVXBuildShapePoints for Rect's size) is used and
// put back as it was; with a null list a temporary outline is built. Color is the colour around the
// shape (the fill picture's transparent colour), BackColor the background of hatched brushes. The bevel
// must be given; the shadow and the fill picture may be null.
void KVXPaintShape(const TRect& rect, fw::TCanvas* canvas, TKVXShapeType shape, TKVXTeeth* teeth, TKVXPointList* list,
                   bool square, fw::TBrush* brush, uint8_t roundPercent, TKVXSimpleBevel* bevel, TKVXShadow* shadow,
                   fw::TBitmap* fillBitmap, TColor color, TColor backColor);

}  // namespace kvx::win32
