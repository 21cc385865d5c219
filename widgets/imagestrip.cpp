#include "widgets/imagestrip.h"

#include <algorithm>

#include "widgets/kvxstreams.h"

namespace kvx {

void TKVXImageStrip::SetOwnMask(int index, bool own) {
    uint32_t& e = entries_.at(static_cast<size_t>(index));
    e = own ? (e | kStripOwnMask) : (e & ~kStripOwnMask);
}

int TKVXImageStrip::WidthFor(int images, int width, int allocBy) const {
    const int64_t used = int64_t{usedWidth_} + int64_t{images} * width;
    if (used > kKVXMaxStripWidth) throw fw::EInvalidGraphicOperation(STooManyImages);
    int64_t strip = stripWidth_;
    const int64_t step = int64_t{std::max(allocBy, 1)} * width;
    while (strip < used) strip += step;
    if (strip > kKVXMaxStripWidth) throw fw::EInvalidGraphicOperation(STooManyImages);
    return static_cast<int>(strip);
}

int TKVXImageStrip::Add(int width, bool ownMask, int stripWidth) {
    entries_.push_back(static_cast<uint32_t>(usedWidth_) | (ownMask ? kStripOwnMask : 0));
    usedWidth_ += width;
    stripWidth_ = stripWidth;
    return Count() - 1;
}

void TKVXImageStrip::Reset() {
    entries_.clear();
    usedWidth_ = 0;
    stripWidth_ = 0;
}

void TKVXImageStrip::Rebuild(int count, int width, bool ownMask, int stripWidth) {
    entries_.clear();
    for (int i = 0; i < count; ++i)
        entries_.push_back(static_cast<uint32_t>(i * width) | (ownMask ? kStripOwnMask : 0));
    usedWidth_ = count * width;
    stripWidth_ = stripWidth;
}

void KVXReadImageStripPart(fw::TStream& stream, bool compressed, TKVXImageItemData& data) {
    data.count = KVXReadInteger(stream);
    if (data.count < 0) throw fw::EReadError("Stored image count " + std::to_string(data.count) + " is negative");
    if (int64_t{data.count} * data.width > kKVXMaxStripWidth) throw fw::EInvalidGraphicOperation(STooManyImages);
    data.strip.clear();
    data.mask.clear();
    if (data.count == 0) return;
    data.strip = KVXReadBlock(stream, compressed);
    if (data.masked) data.mask = KVXReadBlock(stream, compressed);
}

TKVXImageItemData KVXReadImageItemData(fw::TStream& stream, bool compressed) {
    TKVXImageItemData data;
    data.height = KVXReadInteger(stream);
    data.width = KVXReadInteger(stream);
    data.allocBy = KVXReadInteger(stream);
    data.masked = KVXReadByte(stream) != 0;
    if (data.height < 1 || data.width < 1) throw fw::EInvalidGraphicOperation(SInvalidImageSize);
    KVXReadImageStripPart(stream, compressed, data);
    return data;
}

void KVXWriteImageItemData(fw::TStream& stream, const TKVXImageItemData& data, bool compressed) {
    KVXWriteInteger(stream, data.height);
    KVXWriteInteger(stream, data.width);
    KVXWriteInteger(stream, data.allocBy);
    KVXWriteByte(stream, data.masked ? 1 : 0);
    KVXWriteInteger(stream, data.count);
    if (data.count <= 0) return;
    KVXWriteBlock(stream, data.strip.data(), data.strip.size(), compressed);
    if (data.masked) KVXWriteBlock(stream, data.mask.data(), data.mask.size(), compressed);
}

void KVXCheckStripSize(const TKVXImageItemData& data, int stripWidth, int stripHeight, int maskWidth, int maskHeight) {
    const int64_t need = int64_t{data.count} * data.width;
    const bool stripOk = stripWidth >= need && stripHeight == data.height;
    const bool maskOk = !data.masked || (maskWidth >= need && maskHeight == data.height);
    if (!stripOk || !maskOk) throw fw::EInvalidGraphicOperation(SInvalidImageSize);
}

}  // namespace kvx
