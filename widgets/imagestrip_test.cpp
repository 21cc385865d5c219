#include "widgets/imagestrip.h"

#include <gtest/gtest.h>

#include "framework/core/exceptions.h"
#include "widgets/kvxstreams.h"

namespace kvx {
namespace {

TEST(KVXImageStrip, GrowsByAllocByImages) {
    TKVXImageStrip strip;
    std::vector<int> widths;
    for (int i = 0; i < 5; ++i) {
        const int w = strip.WidthFor(1, 16, 4);
        widths.push_back(w);
        EXPECT_EQ(strip.Add(16, false, w), i);
    }
    EXPECT_EQ(widths, (std::vector<int>{64, 64, 64, 64, 128}));
    EXPECT_EQ(strip.X(4), 64);  // the fifth image
    EXPECT_EQ(strip.UsedWidth(), 80);
    EXPECT_EQ(strip.StripWidth(), 128);
    strip.SetOwnMask(2, true);
    EXPECT_TRUE(strip.OwnMask(2));
    EXPECT_EQ(strip.Entries()[2], 0x10020u);
    EXPECT_EQ(strip.WidthFor(3, 16, 0), 128);  // an AllocBy below 1 still grows one image at a time
    EXPECT_EQ(strip.WidthFor(4, 16, 0), 144);
    strip.Reset();
    EXPECT_EQ(strip.Count(), 0);
    EXPECT_EQ(strip.StripWidth(), 0);
}

TEST(KVXImageStrip, NoWiderThan32768Pixels) {
    TKVXImageStrip strip;
    // A strip that would grow past the limit by AllocBy images refuses even an image that would fit.
    strip.Rebuild(2047, 16, true, 2047 * 16);
    EXPECT_THROW(strip.WidthFor(1, 16, 4), fw::EInvalidGraphicOperation);
    EXPECT_EQ(strip.WidthFor(1, 16, 1), 32768);
    strip.Add(16, false, 32768);
    try {
        strip.WidthFor(1, 16, 4);
        FAIL();
    } catch (const fw::EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "Too many images");
    }
    EXPECT_EQ(strip.Count(), 2048);  // nothing changed
    EXPECT_TRUE(strip.OwnMask(2046));
    EXPECT_FALSE(strip.OwnMask(2047));
}

std::vector<uint8_t> Record(int32_t h, int32_t w, int32_t alloc, uint8_t masked, int32_t count, bool blocks) {
    fw::TMemoryStream s;
    for (int32_t v : {h, w, alloc}) KVXWriteInteger(s, v);
    KVXWriteByte(s, masked);
    KVXWriteInteger(s, count);
    if (blocks) {
        const uint8_t bmp[3] = {'B', 'M', 0};
        KVXWriteBlock(s, bmp, 3, false);
        if (masked) KVXWriteBlock(s, bmp, 2, false);
    }
    return s.Data();
}

TEST(KVXImageStrip, StoredRecords) {
    TKVXImageItemData data;
    data.height = 10;
    data.width = 8;
    data.allocBy = 2;
    data.masked = true;
    data.count = 3;
    data.strip = {1, 2, 3};
    data.mask = {4};
    for (bool compressed : {false, true}) {
        fw::TMemoryStream s;
        KVXWriteImageItemData(s, data, compressed);
        s.SetPosition(0);
        const TKVXImageItemData back = KVXReadImageItemData(s, compressed);
        EXPECT_EQ(back.height, 10);
        EXPECT_EQ(back.width, 8);
        EXPECT_EQ(back.allocBy, 2);
        EXPECT_TRUE(back.masked);
        EXPECT_EQ(back.count, 3);
        EXPECT_EQ(back.strip, data.strip);
        EXPECT_EQ(back.mask, data.mask);
        EXPECT_EQ(s.Position(), s.Size());
    }
    struct Bad {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Bad bad[] = {
        {"zero height", Record(0, 16, 4, 0, 0, false)},
        {"negative width", Record(16, -16, 4, 0, 0, false)},
        {"negative count", Record(16, 16, 4, 0, -1, false)},
        {"too many images", Record(16, 16, 4, 0, 2049, true)},
        {"strip cut off", Record(16, 16, 4, 1, 1, false)},
    };
    for (const Bad& b : bad) {
        fw::TMemoryStream s;
        s.WriteBuffer(b.bytes.data(), static_cast<int64_t>(b.bytes.size()));
        s.SetPosition(0);
        EXPECT_THROW(KVXReadImageItemData(s, false), fw::Exception) << b.name;
    }
    // The decoded pictures must hold the images.
    data.count = 2;
    EXPECT_NO_THROW(KVXCheckStripSize(data, 16, 10, 16, 10));
    EXPECT_THROW(KVXCheckStripSize(data, 15, 10, 16, 10), fw::EInvalidGraphicOperation);
    EXPECT_THROW(KVXCheckStripSize(data, 16, 11, 16, 10), fw::EInvalidGraphicOperation);
    EXPECT_THROW(KVXCheckStripSize(data, 16, 10, 0, 0), fw::EInvalidGraphicOperation);
}

}  // namespace
}  // namespace kvx
