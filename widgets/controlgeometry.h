// The arithmetic of the control bases and panels, without a window: what a SetBounds changed, and the
// background chain by which a transparent control finds its part of a parent panel's tiled bitmap.
//
// The background chain. A parent panel tiles an image into a bitmap whose coordinates are its own
// client coordinates. A transparent panel inside it (at any depth, through other transparent panels)
// copies from that bitmap: the point of its client origin is the sum, over itself and every transparent
// panel between it and the bitmap's owner, of the panel's position in its parent's client area plus its
// left and top border (half the difference of its window and client size).
#pragma once

#include <cstdint>
#include <span>

#include "framework/core/rtti.h"
#include "widgets/drawtypes.h"

namespace kvx {

// What SetBounds changed: size (value 1) and position (value 2).
enum class TKVXBoundsChange { bcSize, bcPosition };
using TKVXBoundsKind = fw::Set<TKVXBoundsChange>;
TKVXBoundsKind KVXBoundsKind(const TRect& before, const TRect& after);

// The left and top border of a control: (Width - ClientWidth) div 2 and (Height - ClientHeight) div 2,
// truncating towards zero.
TPoint KVXHalfBorder(int width, int height, int clientWidth, int clientHeight);

// One transparent panel of a background chain: its position in its parent's client area and its border.
struct TKVXBackLevel {
    TPoint position;
    TPoint border;
};
// Maps a point in the client coordinates of Levels[0] into the owner's bitmap. Levels run from the
// innermost panel outwards and stop below the panel that owns the bitmap.
TPoint KVXBackgroundPoint(std::span<const TKVXBackLevel> levels, TPoint point);

// Whether a parent panel's bitmap of BitmapWidth x BitmapHeight still covers the client rectangle:
// both its top-left and bottom-right corner lie inside the bitmap (right and bottom edges excluded).
bool KVXBitmapCovers(const TRect& client, int bitmapWidth, int bitmapHeight);

// The copy a parent panel makes from its own bitmap for CopyBackground(Rect, Offset): the whole client
// rectangle copies only the canvas's clip box from the same place; any other rectangle copies from
// Offset less the panel's (Left, Top).
struct TKVXBackCopy {
    TRect dest;
    TPoint source;
};
TKVXBackCopy KVXParentPanelCopy(const TRect& rect, const TRect& client, const TRect& clipBox, TPoint offset,
                                TPoint panelPosition);

}  // namespace kvx
