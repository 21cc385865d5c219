// Caption effects and the glyph-and-text layout, without a device: the passes that draw a 3D caption,
// the look of a disabled caption, and where glyph, text and drop-down arrow go on a button face. The
// Win32 side (win32/captiondraw.h) measures the text, hands the measure in, and draws the plan.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "widgets/drawtypes.h"
#include "widgets/kvxgraph.h"

namespace kvx {

// ---- caption effects ------------------------------------------------------------------------------

// What the effect adds to the text's size: LightDepth for tdSunken and tdRaised, LightDepth +
// ShadowDepth for the shadow and palette styles, ShadowDepth for tdShadow.
int KVXEffectDepth(TKVXThreeDStyle style, int lightDepth, int shadowDepth);
// The correction of a rotated start point: half the effect depth less 1, never below 0.
int KVXEffectCorrection(TKVXThreeDStyle style, int lightDepth, int shadowDepth);

enum class TKVXPassColor { Light, Shadow, Text };
// One draw: the rectangle moves by (Offset, Offset) (the moves add up), then the text is drawn.
struct TKVXCaptionPass {
    int offset = 0;
    TKVXPassColor color = TKVXPassColor::Text;
    friend bool operator==(const TKVXCaptionPass&, const TKVXCaptionPass&) = default;
};
struct TKVXCaptionEffect {
    int shrink = 0;  // the right edge moves in by this much first
    std::vector<TKVXCaptionPass> passes;
};
TKVXCaptionEffect KVXCaptionEffect(TKVXThreeDStyle style, int lightDepth, int shadowDepth);

struct TKVXCaptionLook {
    TKVXThreeDStyle style = TKVXThreeDStyle::tdNone;
    bool grayText = false;    // disabled: the text colour is clGrayText
    bool brushColor = false;  // the palette styles take the canvas's brush colour as text colour
};
// The style and text colour a caption is drawn with for the text flags (ktfEnabled, ktf3DDisabled).
TKVXCaptionLook KVXCaptionLook(TKVXThreeDStyle style, TKVXDisabledStyle disabledStyle, uint16_t flags);

// The start of rotated text in its bounding rectangle: the centre less the turned half-size of the
// W x H text, less the correction.
TPoint KVXRotatedStart(int width, int height, const TRect& bounds, int angle, int correction);

// ---- glyph-and-text layout ------------------------------------------------------------------------

// Measures the text wrapped at Width: (0, 0, w, h) with the effect and margin included.
using TKVXMeasureText = std::function<TRect(int width)>;

struct TKVXGlyphTextInput {
    bool hasText = false;
    TRect area;
    bool hasGlyph = false;
    int glyphWidth = 0;
    int glyphHeight = 0;
    const TKVXGlyphTextLayout* layout = nullptr;  // a TKVXButtonLayout adds the arrow
    bool multiLine = false;
    uint16_t flags = 0;
    uint32_t format = 0;
};

struct TKVXGlyphTextPlan {
    bool measureOnly = false;
    TRect text;        // the caption's rectangle (empty without text)
    TRect glyph;       // the glyph's rectangle (empty without a glyph)
    uint32_t format = 0;
    bool arrow = false;        // a drop-down arrow is drawn ...
    TPoint arrowAt;            // ... with its top-left corner here
    bool arrowBeforeGlyph = false;  // text arrows come before the glyph, glyph arrows after it
    TRect result;      // what the caller frames (GlyphRect on return)
};

TKVXGlyphTextPlan KVXPlanGlyphText(const TKVXGlyphTextInput& input, const TKVXMeasureText& measure);

}  // namespace kvx
