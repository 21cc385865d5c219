#include "widgets/pictureplace.h"

namespace kvx {

using B = TKVXBitmapStyle;
using S = TKVXButtonState;

uint16_t KVXImagePlacementFlags(B style, bool bevelTakesSpace, bool forceTransparent) {
    uint16_t flags = 0;
    switch (style) {
        case B::sbNone:
        case B::sbAutosize: flags = kpfClip; break;
        case B::sbCenter: flags = kpfClip | kpfCenter; break;
        case B::sbStretch: flags = kpfStretch; break;
        case B::sbTile: flags = kpfClip | kpfTile; break;
        case B::sbKeepAspRatio: flags = kpfStretch | kpfFitBoth; break;
        case B::sbKeepWidth: flags = kpfClip | kpfStretch | kpfFitHeight; break;
        case B::sbKeepHeight: flags = kpfClip | kpfStretch | kpfFitWidth; break;
    }
    if (!bevelTakesSpace) flags ^= kpfClip;
    if (forceTransparent) flags |= kpfColorMask;
    return flags;
}

uint16_t KVXFacePlacementFlags(B style, bool quickDraw) {
    uint16_t flags = quickDraw ? 0 : kpfPalette;
    switch (style) {
        case B::sbCenter: flags |= kpfCenter; break;
        case B::sbStretch: flags |= kpfStretch; break;
        case B::sbTile: flags |= kpfTile; break;
        case B::sbKeepAspRatio: flags |= kpfStretch | kpfFitBoth; break;
        case B::sbKeepWidth: flags |= kpfStretch | kpfFitHeight; break;
        case B::sbKeepHeight: flags |= kpfStretch | kpfFitWidth; break;
        default: break;
    }
    return flags;
}

int32_t KVXPackClipOffset(int x, int y) {
    const uint32_t lo = static_cast<uint16_t>(static_cast<int16_t>(x));
    const uint32_t hi = static_cast<uint16_t>(static_cast<int16_t>(y));
    return static_cast<int32_t>(lo | (hi << 16));
}

TPoint KVXUnpackClipOffset(int32_t clipOffset) {
    const uint32_t v = static_cast<uint32_t>(clipOffset);
    return {static_cast<int16_t>(v & 0xFFFF), static_cast<int16_t>(v >> 16)};
}

std::optional<S> KVXFaceSlot(S state, const std::array<bool, kKVXButtonStates>& hasFace) {
    if (hasFace[static_cast<int>(state)]) return state;
    switch (state) {
        case S::bstUp: return std::nullopt;
        case S::bstDisabled:
        case S::bstHot:
        case S::bstValue5: return S::bstUp;
        default: return S::bstDown;
    }
}

namespace {

constexpr size_t kStoredStates = 7;
constexpr size_t kFaceBytes = kStoredStates * 2 * 4;

int32_t Le32(std::span<const uint8_t> d, size_t at) {
    return static_cast<int32_t>(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<uint32_t>(d[at + 3]) << 24));
}

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

bool KVXReadOldFaceIndices(std::span<const uint8_t> data, TKVXFaceTable& table) {
    if (data.size() != kFaceBytes) return false;
    for (size_t i = 0; i < kStoredStates; ++i) table[i] = {Le32(data, i * 8), Le32(data, i * 8 + 4)};
    return true;
}

bool KVXReadFaceIndices(std::span<const uint8_t> data, TKVXFaceTable& table) {
    if (data.size() != kFaceBytes) return false;
    for (size_t i = 0; i < kStoredStates; ++i) table[i] = {Le32(data, i * 4), Le32(data, (kStoredStates + i) * 4)};
    return true;
}

std::vector<uint8_t> KVXWriteFaceIndices(const TKVXFaceTable& table) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < kStoredStates; ++i) PutLe32(out, static_cast<uint32_t>(table[i].listIndex));
    for (size_t i = 0; i < kStoredStates; ++i) PutLe32(out, static_cast<uint32_t>(table[i].imageIndex));
    return out;
}

bool KVXReadFaceColor(std::span<const uint8_t> data, TColor& color) {
    if (data.size() != 4) return false;
    color = static_cast<TColor>(Le32(data, 0));
    return true;
}

std::vector<uint8_t> KVXWriteFaceColor(TColor color) {
    std::vector<uint8_t> out;
    PutLe32(out, static_cast<uint32_t>(color));
    return out;
}

}  // namespace kvx
