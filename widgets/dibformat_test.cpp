#include "widgets/dibformat.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

TEST(KVXDibFormat, DepthsAndSizes) {
    struct Case {
        int code, device, bits, header;
    };
    const Case cases[] = {
        {0, 32, 24, 40}, {0, 16, 24, 40}, {0, 24, 24, 40}, {0, 8, 8, 40 + 1024}, {0, 1, 1, 48},
        {2, 32, 1, 48},  {16, 32, 4, 104}, {256, 32, 8, 1064}, {7, 4, 4, 104},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KVXDIBBits(c.code, c.device), c.bits) << c.code << "/" << c.device;
        EXPECT_EQ(KVXDIBHeaderSize(c.bits), c.header) << c.bits;
    }
    // Rows padded to 32 bits.
    EXPECT_EQ(KVXDIBImageSize(1, 1, 1), 4u);
    EXPECT_EQ(KVXDIBImageSize(33, 2, 1), 16u);
    EXPECT_EQ(KVXDIBImageSize(3, 2, 24), 24u);
    EXPECT_EQ(KVXDIBImageSize(5, 3, 4), 12u);
    EXPECT_EQ(KVXDIBImageSize(0, 3, 4), 0u);
    EXPECT_EQ(KVXDIBImageSize(32767, 32767, 24), 98304ull * 32767);
}

TEST(KVXDibFormat, Headers) {
    const auto file = KVXBMPFileHeader(48, 16);
    const uint8_t wantFile[14] = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0};
    EXPECT_TRUE(std::equal(file.begin(), file.end(), wantFile));
    const auto info = KVXBMPInfoHeader(33, 2, 1, 16);
    const uint8_t wantInfo[40] = {40, 0, 0, 0, 33, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 16, 0, 0, 0};
    EXPECT_TRUE(std::equal(info.begin(), info.end(), wantInfo));
}

}  // namespace
}  // namespace kvx
