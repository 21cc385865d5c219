// The Fuse compressor: every output decodes through the LH decoder to its input, and lhasa (an
// independent -lh5- decoder) accepts it wrapped as an LHA entry; inputs that do not shrink give up.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "engine/codec/bytestream.h"
#include "engine/codec/crc16.h"
#include "engine/codec/lzh_decoder.h"
#include "engine/formats/bh/fused.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "testing/test_env.h"

namespace engine::bh {
namespace {

struct Packed {
    FuseResult result;
    std::string bytes;
};

Packed Fuse(const std::string& input)
{
    size_t pos = 0;
    Packed p;
    p.result = FuseEncode(
        [&](uint8_t* buf, size_t n) -> int64_t {
            const size_t k = std::min(n, input.size() - pos);
            std::memcpy(buf, input.data() + pos, k);
            pos += k;
            return int64_t(k);
        },
        [&](const uint8_t* d, size_t n) {
            p.bytes.append(reinterpret_cast<const char*>(d), n);
            return true;
        });
    return p;
}

std::string Unfuse(const std::string& packed, size_t size)
{
    std::vector<uint8_t> out;
    mx::codec::SpanSource in(std::span(reinterpret_cast<const uint8_t*>(packed.data()), packed.size()));
    mx::codec::VectorSink sink(out);
    EXPECT_EQ(mx::codec::LzhDecode(in, sink, mx::codec::kLzhZoo, size), mx::codec::Status::Ok);
    return std::string(out.begin(), out.end());
}

// A level-0 LHA entry holding Packed as -lh5- data of Plain.
std::string LhaEntry(const std::string& name, const std::string& packed, const std::string& plain)
{
    uint16_t crc = 0;
    mx::codec::UpdateCrc16(std::span(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()), crc);
    std::string h = "-lh5-";
    const auto put = [&h](uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            h += char(v >> (8 * i));
    };
    put(uint32_t(packed.size()), 4);
    put(uint32_t(plain.size()), 4);
    put(0x58216000, 4);
    h += '\x20';
    h += '\x00';
    h += char(name.size());
    h += name;
    put(crc, 2);
    uint8_t sum = 0;
    for (char c : h)
        sum = uint8_t(sum + uint8_t(c));
    return std::string(1, char(h.size())) + char(sum) + h + packed;
}

std::vector<std::pair<std::string, std::string>> Corpus()
{
    std::mt19937 rng(11);
    std::string text, binary, mixed, random;
    for (int i = 0; i < 50000; ++i)
        text += "It is a truth universally acknowledged, that a single man in possession\n"[i % 72];
    for (int i = 0; i < 40000; ++i)
        binary += char((i * i) >> 3 & 0x3F);
    for (int i = 0; i < 1 << 20; ++i)
        mixed += (i / 4096) % 3 == 0 ? char(rng()) : char("abcdefgh"[rng() % 8]);
    for (int i = 0; i < 30000; ++i)
        random += char(rng());
    // Four bytes cannot shrink: the block's tables alone are longer.
    return {{"four", "aaaa"}, {"text", text}, {"binary", binary}, {"mixed", mixed},
            {"random", random}, {"long_runs", std::string(300000, 'r') + text}};
}

TEST(Fused, RoundTripsAndLhasaAccepts)
{
    const std::string dir = mx::test::FreshDir();
    std::string lzh;
    for (const auto& [name, plain] : Corpus()) {
        SCOPED_TRACE(name);
        const Packed p = Fuse(plain);
        EXPECT_FALSE(p.result.failed);
        if (name == "random" || name == "four") {
            EXPECT_TRUE(p.result.unpackable);
            continue;
        }
        ASSERT_FALSE(p.result.unpackable);
        EXPECT_EQ(p.result.compressedSize, p.bytes.size());
        EXPECT_LT(p.bytes.size(), plain.size());
        EXPECT_TRUE(Unfuse(p.bytes, plain.size()) == plain);
        lzh += LhaEntry(name, p.bytes, plain);
    }
    lzh += '\0';
    mx::test::WriteFile(dir + "/fused.lzh", lzh);
    ASSERT_TRUE(engine::test::RunIn(dir, "lhasa t fused.lzh", "lhasa", "lhasa"));
}

TEST(Fused, GivesUpAndFails)
{
    // Nothing to compress: given up, nothing written.
    EXPECT_TRUE(Fuse("").result.unpackable);
    EXPECT_TRUE(Fuse("").bytes.empty());
    // A read error is a failure, not a shorter good entry.
    int calls = 0;
    const FuseResult r = FuseEncode(
        [&](uint8_t* buf, size_t n) -> int64_t {
            if (++calls > 2)
                return -1;
            std::memset(buf, 'x', n);
            return int64_t(n);
        },
        [](const uint8_t*, size_t) { return true; });
    EXPECT_TRUE(r.failed);
}

}  // namespace
}  // namespace engine::bh
