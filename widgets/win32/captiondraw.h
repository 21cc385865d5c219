// Drawing and measuring the suite's text: captions with the 3D effects of a TKVX3DCaption (and rotation
// for a TKVXFxCaption), the glyph-and-text layout of button faces and list items, and the TrueType tests.
// Text flags (ktf*) and the layout's arithmetic are in widgets/glyphlayout.h.
#pragma once

#include <cstdint>
#include <string>

#include "framework/win32/graphics.h"
#include "widgets/drawtypes.h"
#include "widgets/kvxgraph.h"

namespace kvx::win32 {

// The size Text needs in Font (effects and Margin included), measured on the screen's DC: Rect's width
// is the wrapping width. A rotated effect caption gets its start point (PosX, PosY) set.
void KVXMeasureCaption(const std::string& text, TKVX3DCaption* caption, TRect& rect, fw::TFont* font, bool multiLine,
                       bool showAccelChar, int margin, uint32_t format);
// Measured with the area's width less one, then aligned in the area.
void KVXCaptionRect(TKVXAlignment alignment, const std::string& text, TKVX3DCaption* caption, const TRect& area,
                    fw::TFont* font, bool multiLine, bool showAccelChar, uint32_t format, TRect& result);
// Draws Text in the canvas's font with the caption's effects (none without a caption). Flags: ktfEnabled,
// ktf3DDisabled, ktfClip (to ClipRect, or to Rect when ClipRect is null).
void KVXDrawCaptionText(fw::TCanvas* canvas, const std::string& text, TKVX3DCaption* caption, const TRect& rect,
                        uint32_t format, uint16_t flags, const TRect* clipRect);
// Lays out and draws glyph (GlyphRect of GlyphCanvas), text and the layout's arrow in Area; GlyphRect
// receives the result rectangle that the caller frames.
void KVXDrawGlyphText(fw::TCanvas* canvas, const std::string& text, TKVX3DCaption* caption, const TRect& area,
                      fw::TCanvas* glyphCanvas, TRect& glyphRect, fw::TCanvas* maskCanvas, TColor glyphTransparentColor,
                      const TKVXGlyphTextLayout* layout, bool multiLine, bool showAccelChar, bool transparentGlyph,
                      uint16_t flags, uint32_t format);
// The same from bitmaps (an empty or missing glyph counts as none; the glyph is always transparent).
// Returns the result rectangle.
TRect KVXDrawGlyphTextBitmap(fw::TCanvas* canvas, const std::string& text, TKVX3DCaption* caption, const TRect& area,
                             fw::TBitmap* glyph, fw::TBitmap* mask, const TKVXGlyphTextLayout* layout, bool multiLine,
                             bool showAccelChar, uint16_t flags, uint32_t format);

bool KVXIsTrueTypeFont(fw::TFont* font);
bool KVXCanvasIsTrueType(fw::TCanvas* canvas);
// The height of "W" in the font plus the caption's effect depth.
int KVXCaptionLineHeight(TKVX3DCaption* caption, fw::TFont* font);

}  // namespace kvx::win32
