// The blur in place, the edges of small bitmaps, and colour shifts.
#include "uisupport/pixelbuffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace uis {
namespace {

// A buffer of exactly its rows, so that a read outside it is caught by the address sanitizer.
struct Image {
    Image(int w, int h) : bytes(new uint8_t[TPixelBuffer::RowBytes(w) * static_cast<size_t>(h)]()) {
        buffer.Width = w;
        buffer.Height = h;
        buffer.Bits = bytes.get();
    }
    void Set(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
        uint8_t* p = buffer.Row(y) + 3 * x;
        p[0] = b, p[1] = g, p[2] = r;
    }
    int Blue(int x, int y) const { return buffer.Row(y)[3 * x]; }
    std::unique_ptr<uint8_t[]> bytes;
    TPixelBuffer buffer;
};

TEST(FastBitmapBlur, RowsAreFourByteAligned) {
    const std::pair<int, size_t> cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {7, 24}};
    for (const auto& [width, bytes] : cases) EXPECT_EQ(TPixelBuffer::RowBytes(width), bytes) << width;
}

// The centre of a 3-by-3 bitmap reads the top corners already blurred and the bottom ones as they were:
// (80 + 140 + 240 + 160) / 4 = 155.
TEST(FastBitmapBlur, InPlaceOnThreeByThreeReadsReplacedRowsAbove) {
    Image image(3, 3);
    const uint8_t values[3][3] = {{0, 40, 80}, {120, 160, 200}, {240, 200, 160}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) image.Set(x, y, values[y][x], 7, 9);
    BlurBy(image.buffer, 1);
    const int want[3][3] = {{80, 120, 140}, {160, 155, 160}, {157, 160, 155}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(image.Blue(x, y), want[y][x]) << x << "," << y;
    EXPECT_EQ(image.buffer.Row(1)[4], 7);  // green and red averaged on their own
    EXPECT_EQ(image.buffer.Row(2)[8], 9);
}

TEST(FastBitmapBlur, ThinBitmapsAndLargeAmountsStayInside) {
    const struct {
        int w, h, amount;
    } cases[] = {{1, 5, 1}, {7, 1, 1}, {1, 1, 1}, {2, 2, 100}, {4, 3, -2}, {16, 16, 15}};
    for (const auto& c : cases) {
        Image image(c.w, c.h);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) image.Set(x, y, 100, 50, 25);
        BlurBy(image.buffer, c.amount);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) ASSERT_EQ(image.Blue(x, y), 100) << c.w << "x" << c.h;  // a flat image stays flat
    }
    Image untouched(3, 3);
    untouched.Set(1, 1, 200, 0, 0);
    BlurBy(untouched.buffer, 0);
    EXPECT_EQ(untouched.Blue(1, 1), 200);
}

TEST(Colors, AdjustColorClampsEachByteAndKeepsTheFourth) {
    const struct {
        fw::TColor in;
        int delta;
        fw::TColor out;
    } cases[] = {
        {fw::RGB(128, 128, 128), 70, fw::RGB(198, 198, 198)},
        {fw::RGB(200, 30, 0), 70, fw::RGB(255, 100, 70)},
        {fw::RGB(200, 30, 0), -70, fw::RGB(130, 0, 0)},
        {fw::TColor(0x02000000) | fw::RGB(10, 20, 30), -128, 0x02000000},
        {fw::RGB(0, 0, 0), 127, fw::RGB(127, 127, 127)},
    };
    for (const auto& c : cases) EXPECT_EQ(AdjustColor(c.in, c.delta, c.delta, c.delta), c.out) << std::hex << c.in;
    EXPECT_EQ(AdjustColor(fw::RGB(10, 10, 10), 5, -20, 0), fw::RGB(15, 0, 10));
}

}  // namespace
}  // namespace uis
