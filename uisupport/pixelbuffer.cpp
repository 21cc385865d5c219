#include "uisupport/pixelbuffer.h"

#include <algorithm>

namespace uis {

namespace {

int Clamp(int value, int limit) { return std::clamp(value, 0, limit - 1); }

// The neighbour index before and after `i` at distance `a`, with the replacements for the edges.
int Before(int i, int a, int limit) { return Clamp(i - a < 0 ? i : i - a, limit); }
int After(int i, int a, int limit) { return Clamp(i + a >= limit ? limit - i : i + a, limit); }

}  // namespace

void BlurBy(TPixelBuffer& buffer, int amount) {
    if (amount == 0 || buffer.Width <= 0 || buffer.Height <= 0 || !buffer.Bits) return;
    const int w = buffer.Width;
    const int h = buffer.Height;
    for (int y = 0; y < h; ++y) {
        const uint8_t* above = buffer.Row(Before(y, amount, h));
        const uint8_t* below = buffer.Row(After(y, amount, h));
        uint8_t* row = buffer.Row(y);
        for (int x = 0; x < w; ++x) {
            const size_t left = static_cast<size_t>(Before(x, amount, w)) * 3;
            const size_t right = static_cast<size_t>(After(x, amount, w)) * 3;
            for (size_t c = 0; c < 3; ++c) {
                const int sum = above[left + c] + above[right + c] + below[left + c] + below[right + c];
                row[static_cast<size_t>(x) * 3 + c] = static_cast<uint8_t>(sum >> 2);
            }
        }
    }
}

fw::TColor AdjustColor(fw::TColor color, int deltaRed, int deltaGreen, int deltaBlue) {
    const auto shift = [](int value, int delta) { return std::clamp(value + delta, 0, 255); };
    const auto bits = static_cast<uint32_t>(color);
    const uint32_t red = static_cast<uint32_t>(shift(static_cast<int>(bits & 0xFF), deltaRed));
    const uint32_t green = static_cast<uint32_t>(shift(static_cast<int>((bits >> 8) & 0xFF), deltaGreen));
    const uint32_t blue = static_cast<uint32_t>(shift(static_cast<int>((bits >> 16) & 0xFF), deltaBlue));
    return static_cast<fw::TColor>((bits & 0xFF000000u) | red | (green << 8) | (blue << 16));
}

}  // namespace uis
