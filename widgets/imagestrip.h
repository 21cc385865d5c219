// The bookkeeping of an image strip: equal-sized images side by side in one bitmap. The strip bitmap
// itself lives in the Win32 image-list item; this records how wide it is, how much of it is used, and
// one entry per image (the low 16 bits its x in the strip, bit 16 set when the image has its own mask).
//
// The stored image item, after the item header:
//   Height, Width, AllocBy   3 x 4 bytes
//   Masked                   1 byte
//   image count              4 bytes
//   strip                    with a count above 0: a bitmap item (count x Width pixels wide)
//   mask                     with a count above 0 and Masked: a bitmap item (monochrome)
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/streams.h"

namespace kvx {

// The widest strip (and mask) an item may have.
constexpr int kKVXMaxStripWidth = 32768;
constexpr uint32_t kStripOwnMask = 0x10000;

constexpr const char* SInvalidImageSize = "Invalid image size";
constexpr const char* STooManyImages = "Too many images";

class TKVXImageStrip {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    int X(int index) const { return static_cast<int>(entries_.at(static_cast<size_t>(index)) & 0xFFFF); }
    bool OwnMask(int index) const { return (entries_.at(static_cast<size_t>(index)) & kStripOwnMask) != 0; }
    void SetOwnMask(int index, bool own);
    const std::vector<uint32_t>& Entries() const { return entries_; }
    int UsedWidth() const { return usedWidth_; }
    int StripWidth() const { return stripWidth_; }

    // The strip width that holds Images more images of Width pixels: the current width when they fit,
    // else widened by steps of AllocBy images (at least one). Raises EInvalidGraphicOperation
    // "Too many images" past kKVXMaxStripWidth.
    int WidthFor(int images, int width, int allocBy) const;
    // Records one image at the used width once the strip is StripWidth wide; returns its index.
    int Add(int width, bool ownMask, int stripWidth);
    // No images; the strip 0 wide.
    void Reset();
    // Count images at x = index x Width in a strip of StripWidth pixels, all with the given mask bit.
    void Rebuild(int count, int width, bool ownMask, int stripWidth);

private:
    std::vector<uint32_t> entries_;
    int usedWidth_ = 0;
    int stripWidth_ = 0;
};

// The image item's stored record (the bitmaps as their BMP file images).
struct TKVXImageItemData {
    int32_t height = 16;
    int32_t width = 16;
    int32_t allocBy = 4;
    bool masked = false;
    int32_t count = 0;
    std::vector<uint8_t> strip;
    std::vector<uint8_t> mask;
};

// Reads the record after the item header. Height and Width below 1 raise EInvalidGraphicOperation
// "Invalid image size"; a count below 0 EReadError; count x Width above kKVXMaxStripWidth
// "Too many images".
TKVXImageItemData KVXReadImageItemData(fw::TStream& stream, bool compressed);
// Writes the record; the bitmaps are given as BMP file images (Strip only when Count > 0, Mask only when
// also Masked).
void KVXWriteImageItemData(fw::TStream& stream, const TKVXImageItemData& data, bool compressed);
// The record's numbers alone (for the older "Bitmap" form, which starts at the count).
void KVXReadImageStripPart(fw::TStream& stream, bool compressed, TKVXImageItemData& data);

// Raises EInvalidGraphicOperation "Invalid image size" unless a strip of StripWidth x StripHeight (and,
// when masked, a mask of MaskWidth x MaskHeight) holds Count images of Width x Height.
void KVXCheckStripSize(const TKVXImageItemData& data, int stripWidth, int stripHeight, int maskWidth, int maskHeight);

}  // namespace kvx
