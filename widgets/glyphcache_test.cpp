#include "widgets/glyphcache.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using S = TKVXButtonState;

TEST(KVXGlyphCache, SlotOfEveryStateForEveryStrip) {
    // One row per NumGlyphs and style: the slot of states 0..7.
    struct Case {
        int numGlyphs;
        bool shaded;
        int slots[8];
    };
    const Case cases[] = {
        {1, false, {0, 1, 0, 0, 0, 0, 0, 1}}, {2, false, {0, 1, 0, 0, 0, 0, 0, 1}}, {3, false, {0, 1, 2, 0, 0, 0, 0, 1}},
        {4, false, {0, 1, 2, 3, 0, 0, 0, 1}}, {5, false, {0, 1, 2, 3, 4, 0, 0, 1}}, {1, true, {0, 1, 2, 2, 2, 2, 4, 1}},
        {3, true, {0, 1, 2, 2, 2, 2, 4, 1}},  {5, true, {0, 1, 2, 3, 4, 2, 4, 1}},
    };
    for (const Case& c : cases)
        for (int s = 0; s < kKVXButtonStates; ++s)
            EXPECT_EQ(KVXGlyphSlot(static_cast<S>(s), c.numGlyphs, c.shaded), c.slots[s])
                << "NumGlyphs " << c.numGlyphs << (c.shaded ? " shaded" : "") << " state " << s;
}

TEST(KVXGlyphCache, SlotSources) {
    using T = TKVXSlotSource;
    // One picture: the disabled look is made, the other states copy the picture.
    EXPECT_EQ(KVXSlotSource(0, 1, false), T::Picture);
    EXPECT_EQ(KVXSlotSource(1, 1, false), T::DisabledLook);
    EXPECT_EQ(KVXSlotSource(2, 1, false), T::Copy);
    EXPECT_EQ(KVXSlotSource(4, 1, false), T::Copy);
    // Shaded: the up slot is the shaded look even when the strip has the picture.
    EXPECT_EQ(KVXSlotSource(0, 3, true), T::ShadedLook);
    EXPECT_EQ(KVXSlotSource(2, 3, true), T::Picture);
    EXPECT_EQ(KVXSlotSource(1, 2, false), T::Picture);
}

TEST(KVXGlyphCache, NumGlyphsFromTheBitmapSize) {
    struct Case {
        int w, h, current, want;
    };
    const Case cases[] = {
        {64, 16, 1, 4},  // four pictures
        {80, 16, 2, 5},  // five is the most
        {96, 16, 3, 1},  // six pictures are not accepted
        {50, 16, 3, 3},  // no strip: unchanged
        {16, 16, 4, 1},
        {0, 16, 2, 2},   // no width: unchanged (a count of 0 would divide by zero later)
        {16, 0, 2, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXNumGlyphsOf(c.w, c.h, c.current), c.want) << c.w << "x" << c.h;
}

class FakeStrip : public TKVXGlyphStrip {
public:
    using TKVXGlyphStrip::TKVXGlyphStrip;
    int images = 0;

protected:
    void AppendEmptyImage() override { ++images; }
};

class KVXGlyphCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        made = 0;
        KVXSetGlyphStripFactory([this](int w, int h) {
            ++made;
            return std::make_unique<FakeStrip>(w, h);
        });
    }
    void TearDown() override { KVXSetGlyphStripFactory(nullptr); }
    int made = 0;
};

TEST_F(KVXGlyphCacheTest, SlotsAreReusedBeforeTheStripGrows) {
    FakeStrip strip(16, 16);
    EXPECT_EQ(strip.TakeSlot(), 0);
    EXPECT_EQ(strip.TakeSlot(), 1);
    EXPECT_EQ(strip.TakeSlot(), 2);
    EXPECT_EQ(strip.images, 3);
    strip.DeleteGlyph(1);
    strip.DeleteGlyph(1);  // twice: counted once
    strip.DeleteGlyph(9);  // unknown: ignored
    EXPECT_EQ(strip.InUse(), 2);
    EXPECT_EQ(strip.TakeSlot(), 1);
    EXPECT_EQ(strip.images, 3);
    EXPECT_EQ(strip.TakeSlot(), 3);
    EXPECT_EQ(strip.images, 4);
    EXPECT_EQ(strip.Capacity(), 4);
}

TEST_F(KVXGlyphCacheTest, OneStripPerSizeSharedAndFreedWhenUnused) {
    TKVXGlyphCache* cache = KVXGlyphCache();
    TKVXGlyphStrip* a = cache->GetList(16, 16);
    TKVXGlyphStrip* b = cache->GetList(16, 16);
    TKVXGlyphStrip* c = cache->GetList(32, 16);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(made, 2);
    const int first = a->TakeSlot(), second = b->TakeSlot();
    EXPECT_NE(first, second);
    // Still in use: kept.
    a->DeleteGlyph(first);
    cache->ReturnList(a);
    EXPECT_EQ(cache->Count(), 2);
    b->DeleteGlyph(second);
    cache->ReturnList(b);
    cache->ReturnList(c);
    cache->ReturnList(nullptr);
    EXPECT_TRUE(cache->IsEmpty());
    KVXReleaseGlyphCache();
    EXPECT_EQ(KVXGlyphCacheIfAny(), nullptr);
    // Made again on demand.
    EXPECT_NE(KVXGlyphCache(), nullptr);
    KVXReleaseGlyphCache();
}

TEST(KVXGlyphCache, ActionUpdatesKeepTheirOwnImage) {
    using G = TKVXActionGlyph;
    struct Case {
        const char* name;
        bool empty, fromAction, same, hasImage;
        G want;
    };
    const Case cases[] = {
        {"empty takes the image", true, false, false, true, G::Take},
        {"empty without an image stays", true, false, false, false, G::Keep},
        {"the same action image stays", false, true, true, true, G::Keep},
        {"a changed action image is followed", false, true, false, true, G::Take},
        {"the action lost its image", false, true, false, false, G::Clear},
        {"a glyph of its own is cleared", false, false, false, true, G::Clear},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXActionGlyphUpdate(c.empty, c.fromAction, c.same, c.hasImage), c.want) << c.name;
}

}  // namespace
}  // namespace kvx
