// The shaped button's geometry without a device: shapes, hit tests, glyph cells and the placement of
// caption and glyph.
#pragma once

#include "framework/core/graphics_values.h"

namespace uis {

enum class TBtnKind { bkRect, bkEllipse, bkRndRect };
// Note the order the button keeps: with blGlyphTop the glyph stands below the caption, with
// blGlyphBottom above it.
enum class TLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The face: width - ShadowOffset - 4 by height - ShadowOffset - 4 (never negative).
fw::TRect ShBtnFaceRect(int width, int height, int shadowOffset);

// Whether (x, y) lies inside the face shape over `face` (its rectangle from (2, 2)).
bool ShBtnHitTest(TBtnKind kind, const fw::TRect& face, int radius, int x, int y);

// NumGlyphs of a glyph strip: 1 when empty, otherwise width / height, at least 1.
int ShBtnNumGlyphs(int glyphWidth, int glyphHeight);

// The glyph cell shown (numbered from 1): pressed with the mouse inside and more than 2 cells: 2; inside,
// not pressed and at least 4 cells: 3; otherwise 1 when enabled and the last cell when disabled.
int ShBtnGlyphCell(int numGlyphs, bool pressed, bool inside, bool enabled);

struct TShBtnPlacement {
    fw::TPoint Caption;
    fw::TPoint Glyph;
};
// Where caption (tw x th) and glyph (gw x gh) go on a button of width x height, after the shift by
// ShadowOffset / 2 - 1 up and left, and one pixel right and down while pressed with the mouse inside.
TShBtnPlacement ShBtnPlace(TLayout layout, int width, int height, int tw, int th, int gw, int gh, int shadowOffset,
                           bool pressedInside);

}  // namespace uis
