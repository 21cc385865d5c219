// The ARC decoders on hand-made data: run-length rules, squeeze trees, the width byte of method 8,
// and round trips through the test encoders of methods 3, 5, 6 and 7, whose archives nomarch must
// accept as well.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "engine/formats/arc/arc_decoders.h"
#include "engine/formats/arc/testing/arc_testenc.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "testing/test_env.h"

namespace engine::arc {
namespace {

struct Result {
    DecodeResult status;
    std::string bytes;
};

Result DecodeBytes(int method, const std::string& packed)
{
    size_t pos = 0;
    ByteInput in(
        [&](uint8_t* buf, size_t n) {
            const size_t k = std::min(n, packed.size() - pos);
            std::memcpy(buf, packed.data() + pos, k);
            pos += k;
            return k;
        },
        packed.size(), 7);
    std::string out;
    ByteOutput sink([&](const uint8_t* d, size_t n) {
        out.append(reinterpret_cast<const char*>(d), n);
        return true;
    }, 5);
    const DecodeResult r = Decode(method, in, sink);
    sink.Flush();
    return {r, out};
}

std::string Bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int x : b)
        s += char(x);
    return s;
}

TEST(ArcDecoders, RunLengthRules)
{
    EXPECT_EQ(DecodeBytes(3, Bytes({0x90, 0x00})).bytes, "\x90");
    EXPECT_EQ(DecodeBytes(3, Bytes({'A', 0x90, 0x05})).bytes, "AAAAA");
    // After a literal 0x90 the byte to repeat is still the one before it.
    EXPECT_EQ(DecodeBytes(3, Bytes({'B', 0x90, 0x00, 0x90, 0x03})).bytes, "B\x90" "BB");
    EXPECT_EQ(DecodeBytes(3, Bytes({'C', 0x90, 0x01})).bytes, "C");
}

TEST(ArcDecoders, SqueezeTrees)
{
    // No nodes: the tree is the end symbol alone.
    EXPECT_EQ(DecodeBytes(4, Bytes({0, 0, 0xFF})).status, DecodeResult::Ok);
    EXPECT_EQ(DecodeBytes(4, Bytes({0, 0, 0xFF})).bytes, "");
    EXPECT_EQ(DecodeBytes(4, Bytes({0x01, 0x01})).status, DecodeResult::BadTree);  // 257 nodes
    EXPECT_EQ(DecodeBytes(4, Bytes({0xFF, 0xFF})).status, DecodeResult::BadTree);  // negative count
    // One node: bit 0 gives 'a' (-(97 + 1)), bit 1 the end symbol.
    const std::string tree = Bytes({1, 0, 0x9E, 0xFF, 0xFE, 0xFE});
    EXPECT_EQ(DecodeBytes(4, tree + Bytes({0xF8})).bytes, "aaa");
    // A child pointing past the nodes read is a corrupt tree, not a read outside the table.
    EXPECT_EQ(DecodeBytes(4, Bytes({1, 0, 5, 0, 0xFE, 0xFE, 0x00})).status, DecodeResult::BadTree);
}

TEST(ArcDecoders, CrunchWidthByte)
{
    EXPECT_EQ(DecodeBytes(8, Bytes({13, 0, 0})).status, DecodeResult::BadBits);
    EXPECT_EQ(DecodeBytes(10, "x").status, DecodeResult::Unsupported);
}

TEST(ArcDecoders, TestEncodersRoundTrip)
{
    std::mt19937 rng(7);
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "the quick brown fox jumps \x90over "[rng() % 33];
    std::string runs(3000, 'z');
    runs += std::string(700, '\x90') + "tail";
    std::string random;
    for (int i = 0; i < 9000; ++i)
        random += char(rng());
    for (int method : {3, 5, 6, 7})
        for (const std::string* plain : {&text, &runs, &random}) {
            SCOPED_TRACE(method);
            const Result r = DecodeBytes(method, test::Pack(method, *plain));
            EXPECT_EQ(r.status, DecodeResult::Ok);
            EXPECT_TRUE(r.bytes == *plain);
        }
}

// nomarch reads what the test encoders write, so the encoders (and with them the decoders) follow the
// format rather than only each other.
TEST(ArcDecoders, NomarchAcceptsTestEncoders)
{
    const std::string dir = mx::test::FreshDir();
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "abcabcabd runs\x90 aaaaaaa "[i % 25];
    std::string archive;
    // nomarch knows no method 7 (the new hash), which the round trip above covers.
    for (int method : {1, 3, 5, 6})
        archive += test::Record(method, "M" + std::to_string(method) + ".TXT", test::Pack(method, text), text);
    archive += test::EndMarker();
    mx::test::WriteFile(dir + "/enc.arc", archive);
    ASSERT_TRUE(engine::test::RunIn(dir, "nomarch -t enc.arc", "nomarch", "nomarch"));
    const std::string out = engine::test::CaptureIn(dir, "nomarch -t enc.arc 2>&1");
    EXPECT_EQ(out.find("error"), std::string::npos) << out;
}

}  // namespace
}  // namespace engine::arc
