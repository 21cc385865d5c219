// Reads arbitrary bytes as a list item's "Internal" data; the first byte picks the item: a string item,
// a wave item, an image item's record (its pictures decoded as BMP images and checked against the
// record) or a bitmap item's picture.
#include <cstdint>
#include <span>

#include "framework/core/bmp.h"
#include "framework/core/exceptions.h"
#include "framework/core/streams.h"
#include "widgets/imagestrip.h"
#include "widgets/kvxlists.h"
#include "widgets/kvxstreams.h"

namespace {

// An item whose header is read and whose data is a picture record (the Win32 picture items' layout).
class TPictureItem final : public kvx::TKVXListItem {
public:
    explicit TPictureItem(fw::TComponent* owner) : kvx::TKVXListItem(owner) {}
    void Clear() override {}
    bool IsEmpty() const override { return true; }
    void SaveToStream(fw::TStream&) override {}
    void LoadFromStream(fw::TStream& stream) override { flags = LoadHeader(stream); }
    uint8_t flags = 0;
};

void Decode(const std::vector<uint8_t>& bytes, int& width, int& height) {
    fw::BmpImage image;
    if (fw::DecodeBmp(std::span<const uint8_t>(bytes.data(), bytes.size()), image)) {
        width = image.width;
        height = image.height;
    }
}

template <class Item>
void LoadItem(fw::TMemoryStream& in) {
    Item* item = fw::Make<Item>(nullptr);
    try {
        item->LoadFromStream(in);
    } catch (const fw::Exception&) {
    }
    item->Free();
}

void LoadPicture(fw::TMemoryStream& in, bool strip) {
    TPictureItem* item = fw::Make<TPictureItem>(nullptr);
    try {
        item->LoadFromStream(in);
        if (strip) {
            const kvx::TKVXImageItemData data = kvx::KVXReadImageItemData(in, item->Compressed());
            int sw = 0, sh = 0, mw = 0, mh = 0;
            Decode(data.strip, sw, sh);
            Decode(data.mask, mw, mh);
            if (data.count > 0) kvx::KVXCheckStripSize(data, sw, sh, mw, mh);
        } else if (item->flags & kvx::kItemHasData) {
            int w = 0, h = 0;
            Decode(kvx::KVXReadBlock(in, item->Compressed()), w, h);
        }
    } catch (const fw::Exception&) {
    }
    item->Free();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    fw::TMemoryStream in;
    in.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
    in.SetPosition(0);
    switch (data[0] % 4) {
        case 0: LoadItem<kvx::TKVXStringListItem>(in); break;
        case 1: LoadItem<kvx::TKVXWaveListItem>(in); break;
        case 2: LoadPicture(in, true); break;
        default: LoadPicture(in, false); break;
    }
    return 0;
}
