// Gradient geometry without a device: the colour table and the figures (bands, rectangles, ellipses)
// that paint it. The Win32 painter fills each figure in its table colour, in the order given.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/drawtypes.h"

namespace kvx {

// Plain RGB values (0x00BBGGRR), entry 0 the start colour.
using TKVXColorTable = std::vector<TColor>;

// a * b / c rounded half away from zero, computed in 64 bits; -1 when c is 0 or the result does not
// fit in 32 bits (the system's rule, which the gradient bands follow).
int KVXMulDiv(int a, int b, int c);

// Count entries from StartRGB to EndRGB, each component StartRGB + MulDiv(i, End - Start, Count - 1)
// truncated to a byte. One entry is the start colour; a Count of 0 leaves the table as it was.
void KVXGradientTable(TColor startRGB, TColor endRGB, int count, TKVXColorTable& table);

enum class TKVXFigureKind { Fill, Rectangle, Ellipse };
struct TKVXGradientFigure {
    TKVXFigureKind kind = TKVXFigureKind::Fill;
    TRect rect;
    int colorIndex = 0;
    friend bool operator==(const TKVXGradientFigure&, const TKVXGradientFigure&) = default;
};

// The anchor of a gradient of Width x Height, relative to its top-left corner.
TRect KVXGradientAnchor(TKVXGradientStyle style, int width, int height);

// The figures of a gradient of Count colours over Width x Height with the anchor moved by Origin, in
// painting order: ascending bands for gstHorizontal, descending figures for every other style so that
// colour 0 ends on top. Nothing for an empty area or Count < 1.
std::vector<TKVXGradientFigure> KVXGradientFigures(TKVXGradientStyle style, int width, int height, int count,
                                                   TPoint origin);

}  // namespace kvx
