// Bitmap placement and the shaded-glyph rule, without a device: where the placement core draws a source
// of Sw x Sh into a destination, and which colour each pixel of a shaded glyph gets.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/drawtypes.h"

namespace kvx {

struct TKVXPlacement {
    // Where the source is drawn: Cell, repeated Columns x Rows times at steps of the cell's size (tiles
    // run left to right, then down). Columns and Rows are 0 when nothing is drawn.
    TRect cell;
    int columns = 0;
    int rows = 0;
    // What the caller reports as painted: the bounds of the one placement, or Dest for tiles and for a
    // placement without width or height; empty when Dest is empty.
    TRect painted;

    TRect Tile(int column, int row) const {
        return fw::OffsetRect(cell, column * cell.Width(), row * cell.Height());
    }
};

// The placement flags that count here: kpfCenter, kpfStretch (with kpfFitWidth, kpfFitHeight,
// kpfFitBoth) and kpfTile; stretch overrides centre and tile overrides both. Without them the source
// sits at its natural size at Dest's top-left corner. A fitted picture keeps Dest's top-left corner.
TKVXPlacement KVXPlacement(const TRect& dest, int sourceWidth, int sourceHeight, uint16_t flags);

// The three-level shaded look of a glyph, over 0x00BBGGRR pixels, rows top first. The colour of pixel
// (0, 0) is transparent and never changes; every other pixel becomes White, Highlight, Shadow or Black
// by R + G + B against thresholds 550, 250 and 50 above the offset (mean of the other pixels) - 200.
std::vector<TColor> KVXShadePixels(const std::vector<TColor>& pixels, int width, int height, TColor white,
                                   TColor highlight, TColor shadow, TColor black);

}  // namespace kvx
