#include "widgets/lzrw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace kvx {
namespace {

std::vector<uint8_t> Pack(const std::vector<uint8_t>& in) {
    std::vector<uint8_t> out(KVXLZRWDestSize(static_cast<uint32_t>(in.size())));
    out.resize(KVXLZRWCompress(in.data(), out.data(), static_cast<uint32_t>(in.size())));
    return out;
}

std::vector<uint8_t> Unpack(const std::vector<uint8_t>& block, uint32_t capacity) {
    std::vector<uint8_t> out(capacity);
    out.resize(KVXLZRWDecompress(block.data(), out.data(), static_cast<uint32_t>(block.size()), capacity));
    return out;
}

// Text-like data with repeats, runs and noise, so every item kind and group boundary occurs.
std::vector<uint8_t> Mixed(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v;
    const std::string words[] = {"archive ", "folder\\", "entry ", "LZRW ", "block"};
    while (v.size() < n) {
        switch (rng() % 4) {
        case 0: v.insert(v.end(), rng() % 40 + 1, static_cast<uint8_t>(rng())); break;
        case 1: {
            const std::string& w = words[rng() % 5];
            v.insert(v.end(), w.begin(), w.end());
            break;
        }
        default: v.push_back(static_cast<uint8_t>(rng())); break;
        }
    }
    v.resize(n);
    return v;
}

TEST(LZRW, SizeExamples) {
    struct Case {
        const char* why;
        std::vector<uint8_t> input;
        size_t packed;
        uint8_t flag;
    };
    std::vector<uint8_t> noise(1000);
    std::mt19937 rng(7);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    const Case cases[] = {
        {"empty input is the one-byte copied block", {}, 1, 0x80},
        {"100 equal bytes are one run item", std::vector<uint8_t>(100, 'a'), 7, 0x40},
        {"a run is cut at 4,095 bytes", std::vector<uint8_t>(4095 + 16, 'z'), 1 + 2 + 4 + 4, 0x40},
        {"incompressible input is copied, one byte longer", noise, 1001, 0x80},
        {"one byte is copied", {42}, 2, 0x80},
    };
    for (const Case& c : cases) {
        const auto block = Pack(c.input);
        EXPECT_EQ(block.size(), c.packed) << c.why;
        EXPECT_EQ(block[0], c.flag) << c.why;
        EXPECT_EQ(Unpack(block, static_cast<uint32_t>(c.input.size())), c.input) << c.why;
    }
}

TEST(LZRW, FullBlockOfNoiseCodesTo65536Bytes) {
    std::vector<uint8_t> noise(65535);
    std::mt19937 rng(11);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    const auto block = Pack(noise);
    ASSERT_EQ(block.size(), 65536u);
    EXPECT_EQ(block[0], 0x80);
    EXPECT_EQ(Unpack(block, 65535), noise);
}

// The item that produced output position `at` of a compressed block: 'L', 'C' (with its offset) or 'R'.
char ItemAt(const std::vector<uint8_t>& block, uint32_t at, uint32_t& offset) {
    uint32_t pos = 3, items = 16, out = 0;
    uint32_t control = (block[1] << 8) | block[2];
    while (pos < block.size()) {
        if (items == 0) {
            control = (block[pos] << 8) | block[pos + 1];
            pos += 2;
            items = 16;
        }
        char kind = 'L';
        uint32_t length = 1;
        if (control & 0x8000) {
            const uint32_t v = (block[pos] << 8) | block[pos + 1];
            offset = v >> 4;
            kind = offset ? 'C' : 'R';
            length = offset ? (v & 15) + 3 : ((block[pos + 1] << 8) | block[pos + 2]) + 16;
            pos += offset ? 2 : 4;
        } else {
            ++pos;
        }
        if (at < out + length) return kind;
        out += length;
        control = (control << 1) & 0xFFFF;
        --items;
    }
    return '?';
}

TEST(LZRW, MatchesBeyond4095BytesAreNotUsed) {
    // A compressible filler (period 1,000, so matched at distance 1,000) with a marker at 0 and 5,000
    // that the filler never contains: the second marker is too far back to be copied.
    std::vector<uint8_t> v(6000);
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>('a' + (i * 7 + i / 13) % 1000 % 26);
    std::memcpy(v.data(), "#MARKER#", 8);
    std::memcpy(v.data() + 5000, "#MARKER#", 8);
    auto block = Pack(v);
    ASSERT_EQ(block[0], 0x40);
    uint32_t offset = 0;
    EXPECT_EQ(ItemAt(block, 5001, offset), 'L');
    EXPECT_EQ(Unpack(block, 6000), v);

    std::memcpy(v.data() + 3000, "#MARKER#", 8);  // 2,000 bytes back: in reach
    block = Pack(v);
    ASSERT_EQ(ItemAt(block, 5001, offset), 'C');
    EXPECT_EQ(offset, 2000u);
    EXPECT_EQ(Unpack(block, 6000), v);
}

TEST(LZRW, RoundTripsEveryLengthUpTo65535) {
    const auto data = Mixed(65535, 1);
    std::vector<uint8_t> block(KVXLZRWDestSize(65535));
    std::vector<uint8_t> back(65535);
    for (uint32_t n = 0; n <= 65535; ++n) {
        // Every length near the start and around group boundaries; a stride elsewhere keeps it quick.
        if (n > 600 && n < 65000 && n % 97 != 0) continue;
        const uint32_t packed = KVXLZRWCompress(data.data(), block.data(), n);
        ASSERT_LE(packed, n + 1) << n;
        const uint32_t got = KVXLZRWDecompress(block.data(), back.data(), packed, n);
        ASSERT_EQ(got, n);
        ASSERT_EQ(std::memcmp(back.data(), data.data(), n), 0) << n;
    }
}

TEST(LZRW, DamagedBlocksRaiseInsteadOfLeavingTheirBuffers) {
    const auto input = Mixed(3000, 5);
    const auto good = Pack(input);
    ASSERT_EQ(good[0], 0x40);
    struct Case {
        const char* why;
        std::vector<uint8_t> block;
        uint32_t capacity;
    };
    std::vector<uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
    truncated.back() = 0xFF;
    const Case cases[] = {
        {"empty block", {}, 10},
        {"unknown flag", {0x41, 0, 0, 'a'}, 10},
        {"copy before the start of the output", {0x40, 0x80, 0x00, 0x01, 0x00}, 100},
        {"run past the capacity", {0x40, 0x80, 0x00, 0x00, 0x00, 0x10, 'x'}, 20},
        {"copied block longer than the capacity", {0x80, 1, 2, 3}, 2},
        {"literal past the capacity", {0x40, 0x00, 0x00, 'a', 'b', 'c'}, 2},
        {"copy item cut short", {0x40, 0x40, 0x00, 'a', 0x00}, 10},
        {"run item cut short", {0x40, 0x80, 0x00, 0x00, 0x00}, 10},
        {"whole good block into too small a buffer", good, 2999},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out(c.capacity);
        EXPECT_THROW(KVXLZRWDecompress(c.block.data(), out.data(), static_cast<uint32_t>(c.block.size()), c.capacity),
                     ELZRWError)
            << c.why;
    }
}

TEST(LZRW, RefusesBlocksAboveTheLimit) {
    std::vector<uint8_t> in(65536), out(KVXLZRWDestSize(65536));
    EXPECT_THROW(KVXLZRWCompress(in.data(), out.data(), 65536), ELZRWError);
}

}  // namespace
}  // namespace kvx
