// How the picture controls place their pictures, without a device: the placement flags of the image
// and face styles, the clip offset that carries a control's position, the face an image-face button
// shows for a state, and the face table as forms store it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "widgets/controltypes.h"

namespace kvx {

// The placement flags of an image control's style: sbNone and sbAutosize 0x0001 (clip), sbCenter
// 0x0009, sbStretch 0x0010, sbTile 0x0021, sbKeepAspRatio 0x0610, sbKeepWidth 0x0211, sbKeepHeight
// 0x0411; the clip bit is toggled when the bevel takes no space, and ForceTransparent adds 0x0040.
uint16_t KVXImagePlacementFlags(TKVXBitmapStyle style, bool bevelTakesSpace, bool forceTransparent);
// The placement flags of an image-face button: 0x1000 (palette) unless QuickDraw; sbCenter 0x08,
// sbStretch 0x10, sbTile 0x20, sbKeepAspRatio 0x610, sbKeepWidth 0x210, sbKeepHeight 0x410.
uint16_t KVXFacePlacementFlags(TKVXBitmapStyle style, bool quickDraw);

// A control's position as the clipping procedures take it: X in the low and Y in the high 16 bits,
// both signed, so a control reaching past its parent's left or top edge keeps its place.
int32_t KVXPackClipOffset(int x, int y);
TPoint KVXUnpackClipOffset(int32_t clipOffset);

// The face (a button state's picture) an image-face button shows for State, given which faces exist:
// the state's own, else bstUp's for bstDisabled, bstHot and value 5, else bstDown's for bstLatched,
// bstDown, bstDropped and bstLatchedDisabled. None for bstUp without its own face. The fallback face
// may be missing too; then no picture is drawn.
std::optional<TKVXButtonState> KVXFaceSlot(TKVXButtonState state, const std::array<bool, kKVXButtonStates>& hasFace);

// The face table: (ListIndex, ImageIndex) per button state.
struct TKVXFacePair {
    int32_t listIndex = 0;
    int32_t imageIndex = 0;
    friend bool operator==(const TKVXFacePair&, const TKVXFacePair&) = default;
};
using TKVXFaceTable = std::array<TKVXFacePair, kKVXButtonStates>;

// The stored forms, both 56 bytes for states 0 to 6 (state 7 is not stored): the older one pair after
// pair (ListIndex, ImageIndex), the newer one the seven ListIndexes, then the seven ImageIndexes, all
// 32-bit little-endian. A value of another length is refused and leaves the table unchanged.
bool KVXReadOldFaceIndices(std::span<const uint8_t> data, TKVXFaceTable& table);
bool KVXReadFaceIndices(std::span<const uint8_t> data, TKVXFaceTable& table);
std::vector<uint8_t> KVXWriteFaceIndices(const TKVXFaceTable& table);
// The face transparent colour: 4 bytes little-endian; another length is refused.
bool KVXReadFaceColor(std::span<const uint8_t> data, TColor& color);
std::vector<uint8_t> KVXWriteFaceColor(TColor color);

}  // namespace kvx
