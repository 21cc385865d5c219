#include "installer/controls/gif_lzw.h"

#include <gtest/gtest.h>

#include <random>

namespace inst {
namespace {

// Packs codes least-significant bit first into one data stream (minimum code size, sub-blocks, 0).
struct BitPacker {
    std::vector<uint8_t> bytes;
    uint64_t buffer = 0;
    int count = 0;
    void Put(uint32_t code, int bits) {
        buffer |= uint64_t{code} << count;
        count += bits;
        while (count >= 8) {
            bytes.push_back(static_cast<uint8_t>(buffer));
            buffer >>= 8;
            count -= 8;
        }
    }
    std::vector<uint8_t> Stream(int minCodeSize) {
        if (count > 0) bytes.push_back(static_cast<uint8_t>(buffer));
        std::vector<uint8_t> out{static_cast<uint8_t>(minCodeSize)};
        for (size_t i = 0; i < bytes.size(); i += 255) {
            const size_t n = std::min<size_t>(255, bytes.size() - i);
            out.push_back(static_cast<uint8_t>(n));
            out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i),
                       bytes.begin() + static_cast<std::ptrdiff_t>(i + n));
        }
        out.push_back(0);
        return out;
    }
};

// Packs codes with minimum code size 2 at the widths a decoder reads them: 3 bits after a clear code,
// one more each time its next free code reaches the limit.
std::vector<uint8_t> Pack(const std::vector<uint32_t>& codes) {
    BitPacker p;
    int bits = 3;
    uint32_t next = 6;
    bool first = true;
    for (uint32_t code : codes) {
        p.Put(code, bits);
        if (code == 4) {
            bits = 3;
            next = 6;
            first = true;
        } else if (code == 5) {
            continue;
        } else if (first) {
            first = false;
        } else if (next < 4096 && ++next == (1u << bits) && bits < 12) {
            ++bits;
        }
    }
    return p.Stream(2);
}

LzwDecodeResult Decode(const std::vector<uint8_t>& stream, int w, int h, int bpp, bool interlaced = false) {
    LzwDecodeParams p;
    p.width = w;
    p.height = h;
    p.bitsPerPixel = bpp;
    p.interlaced = interlaced;
    return DecodeLzw(stream, p);
}

TEST(GifLzw, RoundTripsEveryDepthSizeAndOrder) {
    std::mt19937 rng(7);
    for (int bpp = 1; bpp <= 8; ++bpp) {
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{17, 13}, std::pair{1, 40}, std::pair{300, 200}}) {
            for (bool interlaced : {false, true}) {
                std::vector<uint8_t> px(static_cast<size_t>(w) * static_cast<size_t>(h));
                // Runs and noise, so strings both repeat and grow the table past its 4096 codes.
                for (size_t i = 0; i < px.size(); ++i)
                    px[i] = static_cast<uint8_t>(((i / 7) % 3 == 0 ? rng() : i / 5) & ((1u << bpp) - 1));
                const std::vector<uint8_t> stream = EncodeLzw(px, w, h, bpp, interlaced);
                EXPECT_EQ(stream[0], bpp == 1 ? 2 : bpp) << "minimum code size";
                const LzwDecodeResult r = Decode(stream, w, h, bpp, interlaced);
                EXPECT_EQ(r.status, LzwStatus::Ok) << bpp << " bpp " << w << "x" << h;
                EXPECT_EQ(r.indices, px) << bpp << " bpp " << w << "x" << h << (interlaced ? " interlaced" : "");
            }
        }
    }
}

TEST(GifLzw, OneBitPicturesStartWithThreeBitCodes) {
    const std::vector<uint8_t> px = {0, 1, 1, 0};
    const std::vector<uint8_t> s = EncodeLzw(px, 2, 2, 1, false);
    ASSERT_GE(s.size(), 4u);
    EXPECT_EQ(s[0], 2);
    // The first code is the clear code 4 in 3 bits, then the pixel 0, also in 3 bits.
    EXPECT_EQ(s[2] & 7, 4);
    EXPECT_EQ((s[2] >> 3) & 7, 0);
}

TEST(GifLzw, InterlacedRowOrder) {
    EXPECT_EQ(InterlacedRows(10), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    EXPECT_EQ(InterlacedRows(1), (std::vector<int>{0}));
    EXPECT_EQ(InterlacedRows(3), (std::vector<int>{0, 2, 1}));  // passes starting outside are skipped
}

// Hand-built code streams: each case gives the codes (minimum code size 2) and what they decode to.
struct HandCase {
    const char* why;
    std::vector<uint32_t> codes;
    int width;
    std::vector<uint8_t> want;
    LzwStatus status;
};

TEST(GifLzw, HandBuiltStreams) {
    const HandCase cases[] = {
        {"plain roots", {4, 0, 1, 2, 3, 5}, 4, {0, 1, 2, 3}, LzwStatus::Ok},
        {"a repeated pair through entry 6", {4, 1, 2, 6, 5}, 4, {1, 2, 1, 2}, LzwStatus::Ok},
        {"code not yet in the table (KwKwK)", {4, 1, 6, 5}, 3, {1, 1, 1}, LzwStatus::Ok},
        {"clear in the middle", {4, 1, 2, 4, 3, 3, 5}, 4, {1, 2, 3, 3}, LzwStatus::Ok},
        {"data ends before the end code", {4, 1, 2}, 8, {1, 2, 0, 0, 0, 0, 0, 0}, LzwStatus::Truncated},
        {"no clear code first", {3, 2, 5}, 2, {3, 2}, LzwStatus::Ok},
        {"last row filled before the end code", {4, 0, 1, 2, 3, 0, 0}, 4, {0, 1, 2, 3}, LzwStatus::Ok},
        {"a code far past the table", {4, 1, 7, 5}, 3, {1, 1, 1}, LzwStatus::Ok},
        {"first code after clear names an old entry", {4, 1, 2, 4, 6, 5}, 3, {1, 2, 2}, LzwStatus::Ok},
    };
    for (const HandCase& c : cases) {
        const LzwDecodeResult r = Decode(Pack(c.codes), c.width, 1, 2);
        EXPECT_EQ(r.status, c.status) << c.why;
        EXPECT_EQ(r.indices, c.want) << c.why;
    }
}

TEST(GifLzw, PixelsAreMaskedToTheFrameDepth) {
    // Root 3 in a 1-bit frame with minimum code size 2 shows index 1.
    EXPECT_EQ(Decode(Pack({4, 3, 2, 5}), 2, 1, 1).indices, (std::vector<uint8_t>{1, 0}));
}

TEST(GifLzw, CodeSizeOutOfRange) {
    for (uint8_t size : {0, 1, 10, 12, 255}) {
        std::vector<uint8_t> s = EncodeLzw(std::vector<uint8_t>{1, 2, 3}, 3, 1, 2, false);
        s[0] = size;
        LzwDecodeParams p;
        p.width = 3;
        p.height = 1;
        p.clampCodeSize = false;
        EXPECT_EQ(DecodeLzw(s, p).status, LzwStatus::BadCodeSize) << int{size};
        p.clampCodeSize = true;
        EXPECT_NE(DecodeLzw(s, p).status, LzwStatus::Ok) << int{size} << ": a clamped size still marks the frame";
    }
}

// A full table without a clear code stays at 12 bits and adds nothing until the next clear.
TEST(GifLzw, FullTableKeepsTwelveBitCodes) {
    BitPacker p;
    int bits = 3;
    uint32_t next = 6;
    p.Put(4, bits);
    p.Put(1, bits);  // first code: no entry
    std::vector<uint8_t> want = {1};
    while (next < 4096) {
        p.Put(1, bits);
        want.push_back(1);
        ++next;
        if (next == (1u << bits) && bits < 12) ++bits;
    }
    for (int i = 0; i < 3; ++i) {
        p.Put(2, 12);
        want.push_back(2);
    }
    p.Put(5, 12);
    const LzwDecodeResult r = Decode(p.Stream(2), static_cast<int>(want.size()), 1, 2);
    EXPECT_EQ(r.status, LzwStatus::Ok);
    EXPECT_EQ(r.indices, want);
}

TEST(GifLzw, TruncatedStreamsEndTheFrame) {
    std::vector<uint8_t> px(64 * 64);
    for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint8_t>((i * 31) % 251);
    const std::vector<uint8_t> full = EncodeLzw(px, 64, 64, 8, false);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{2}, full.size() / 2, full.size() * 3 / 4}) {
        std::vector<uint8_t> s(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        const LzwDecodeResult r = Decode(s, 64, 64, 8);
        EXPECT_EQ(r.status, LzwStatus::Truncated) << cut;
        ASSERT_EQ(r.indices.size(), px.size());
    }
}

TEST(GifLzw, ProgressRisesToOneHundred) {
    std::vector<uint8_t> px(100 * 50, 3);
    std::vector<int> seen;
    const std::vector<uint8_t> s = EncodeLzw(px, 100, 50, 2, false, [&](int p) { seen.push_back(p); });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    seen.clear();
    LzwDecodeParams p;
    p.width = 100;
    p.height = 50;
    p.bitsPerPixel = 2;
    p.progress = [&](int v) { seen.push_back(v); };
    DecodeLzw(s, p);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

}  // namespace
}  // namespace inst
