#include "widgets/pictureplace.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvx {
namespace {

using B = TKVXBitmapStyle;
using S = TKVXButtonState;

TEST(KVXPicturePlace, ImageFlagsByStyle) {
    struct Case {
        B style;
        uint16_t withBevel, withoutBevel;
    };
    const Case cases[] = {
        {B::sbNone, 0x0001, 0x0000},     {B::sbAutosize, 0x0001, 0x0000},     {B::sbCenter, 0x0009, 0x0008},
        {B::sbStretch, 0x0010, 0x0011},  {B::sbTile, 0x0021, 0x0020},         {B::sbKeepAspRatio, 0x0610, 0x0611},
        {B::sbKeepWidth, 0x0211, 0x0210}, {B::sbKeepHeight, 0x0411, 0x0410},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KVXImagePlacementFlags(c.style, true, false), c.withBevel) << static_cast<int>(c.style);
        EXPECT_EQ(KVXImagePlacementFlags(c.style, false, false), c.withoutBevel) << static_cast<int>(c.style);
        EXPECT_EQ(KVXImagePlacementFlags(c.style, true, true), c.withBevel | 0x0040) << static_cast<int>(c.style);
    }
}

TEST(KVXPicturePlace, FaceFlagsByStyle) {
    const uint16_t want[] = {0x0000, 0x0000, 0x0008, 0x0010, 0x0020, 0x0610, 0x0210, 0x0410};
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(KVXFacePlacementFlags(static_cast<B>(s), true), want[s]) << s;
        EXPECT_EQ(KVXFacePlacementFlags(static_cast<B>(s), false), want[s] | 0x1000) << s;
    }
}

TEST(KVXPicturePlace, ClipOffsetsAreSigned) {
    struct Case {
        int x, y;
    };
    for (const Case c : {Case{0, 0}, Case{12, 34}, Case{-5, 7}, Case{20, -3}, Case{-32768, 32767}}) {
        const TPoint p = KVXUnpackClipOffset(KVXPackClipOffset(c.x, c.y));
        EXPECT_EQ(p, (TPoint{c.x, c.y}));
    }
    EXPECT_EQ(KVXPackClipOffset(-1, 0), 0x0000FFFF);
    EXPECT_EQ(KVXUnpackClipOffset(static_cast<int32_t>(0xFFFE0003u)), (TPoint{3, -2}));
}

TEST(KVXPicturePlace, FaceFallbacks) {
    std::array<bool, 8> onlyUp{};
    onlyUp[0] = true;
    // Only the up face: disabled, hot and value 5 show it; the pressed states fall back to the missing
    // down face (caption only).
    const std::optional<S> want[] = {S::bstUp,   S::bstUp,   S::bstUp,   S::bstDown,
                                     S::bstDown, S::bstUp,   S::bstDown, S::bstDown};
    for (int s = 0; s < 8; ++s) EXPECT_EQ(KVXFaceSlot(static_cast<S>(s), onlyUp), want[s]) << s;
    std::array<bool, 8> none{};
    EXPECT_EQ(KVXFaceSlot(S::bstUp, none), std::nullopt);
    std::array<bool, 8> all;
    all.fill(true);
    for (int s = 0; s < 8; ++s) EXPECT_EQ(KVXFaceSlot(static_cast<S>(s), all), static_cast<S>(s));
}

TEST(KVXPicturePlace, StoredFaceTables) {
    TKVXFaceTable table{};
    for (int i = 0; i < 8; ++i) table[i] = {i + 1, 100 + i};
    const std::vector<uint8_t> stored = KVXWriteFaceIndices(table);
    ASSERT_EQ(stored.size(), 56u);
    EXPECT_EQ(stored[0], 1);   // ListIndex of state 0 ...
    EXPECT_EQ(stored[28], 100);  // ... then the ImageIndexes
    TKVXFaceTable back{};
    ASSERT_TRUE(KVXReadFaceIndices(stored, back));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(back[i], table[i]) << i;
    EXPECT_EQ(back[7], TKVXFacePair{});  // state 7 is not stored

    // The older form holds the pairs one after the other.
    std::vector<uint8_t> old(56, 0);
    old[0] = 2;   // pair 0 ListIndex
    old[4] = 9;   // pair 0 ImageIndex
    old[8] = 3;   // pair 1 ListIndex
    old[52] = 0xFF, old[53] = 0xFF, old[54] = 0xFF, old[55] = 0xFF;  // pair 6 ImageIndex -1
    TKVXFaceTable fromOld{};
    ASSERT_TRUE(KVXReadOldFaceIndices(old, fromOld));
    EXPECT_EQ(fromOld[0], (TKVXFacePair{2, 9}));
    EXPECT_EQ(fromOld[1], (TKVXFacePair{3, 0}));
    EXPECT_EQ(fromOld[6], (TKVXFacePair{0, -1}));

    // Values of another length are refused and change nothing.
    TKVXFaceTable kept = table;
    for (size_t n : {0u, 4u, 55u, 57u, 64u}) {
        const std::vector<uint8_t> wrong(n, 0x7F);
        EXPECT_FALSE(KVXReadFaceIndices(wrong, kept)) << n;
        EXPECT_FALSE(KVXReadOldFaceIndices(wrong, kept)) << n;
    }
    EXPECT_EQ(kept, table);

    TColor color = fw::clWhite;
    EXPECT_TRUE(KVXReadFaceColor(KVXWriteFaceColor(0x00FF00FF), color));
    EXPECT_EQ(color, 0x00FF00FF);
    const std::vector<uint8_t> three{1, 2, 3};
    EXPECT_FALSE(KVXReadFaceColor(three, color));
    EXPECT_EQ(color, 0x00FF00FF);
}

}  // namespace
}  // namespace kvx
