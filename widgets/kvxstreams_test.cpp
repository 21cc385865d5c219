#include "widgets/kvxstreams.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "widgets/kvxframe.h"

namespace kvx {
namespace {

std::vector<uint8_t> Bytes(fw::TMemoryStream& s) { return s.Data(); }

fw::TMemoryStream* StreamOf(fw::TMemoryStream& s, const std::vector<uint8_t>& bytes) {
    s.Clear();
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return &s;
}

std::vector<uint8_t> Noise(size_t n) {
    std::mt19937 rng(1234);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = static_cast<uint8_t>(rng());
    return v;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::vector<uint8_t> Frame(const std::vector<uint8_t>& input) {
    fw::TMemoryStream source, dest;
    StreamOf(source, input);
    KVXCompressToStream(source, dest, source.Size());
    EXPECT_EQ(dest.Position(), dest.Size());  // left after the frame
    return Bytes(dest);
}

std::vector<uint8_t> Unframe(const std::vector<uint8_t>& frame) {
    fw::TMemoryStream source, dest;
    StreamOf(source, frame);
    KVXDecompressFromStream(source, dest);
    EXPECT_EQ(source.Position(), source.Size());
    return Bytes(dest);
}

TEST(KVXStreams, FrameSizes) {
    EXPECT_EQ(Frame({}), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_TRUE(Unframe({0, 0, 0, 0}).empty());

    // One full block of incompressible data is copied: 32,782 coded bytes.
    const auto full = Noise(kKVXFrameBlock);
    const auto one = Frame(full);
    ASSERT_EQ(one.size(), 4u + 4 + 32782);
    EXPECT_EQ(Le32(one, 0), 4u + 32782);
    EXPECT_EQ(Le32(one, 4), 32782u);
    EXPECT_EQ(one[8], 0x80);
    EXPECT_EQ(Unframe(one), full);

    // One byte more starts a second block that codes that byte.
    const auto more = Noise(kKVXFrameBlock + 1);
    const auto two = Frame(more);
    ASSERT_EQ(two.size(), 4u + 4 + 32782 + 4 + 2);
    EXPECT_EQ(Le32(two, 0), 4u + 32782 + 4 + 2);
    EXPECT_EQ(Le32(two, 8 + 32782), 2u);
    EXPECT_EQ(Unframe(two), more);

    std::vector<uint8_t> text;
    for (int i = 0; i < 100000; ++i) text.push_back(static_cast<uint8_t>("frames of text "[i % 15]));
    const auto packed = Frame(text);
    EXPECT_LT(packed.size(), text.size() / 4);
    EXPECT_EQ(Unframe(packed), text);
}

TEST(KVXStreams, DecodingAppendsAtTheDestinationsPosition) {
    fw::TMemoryStream source, dest;
    StreamOf(source, Frame({7, 8, 9}));
    dest.WriteString("abcd");
    dest.SetPosition(2);
    KVXDecompressFromStream(source, dest);
    EXPECT_EQ(Bytes(dest), (std::vector<uint8_t>{'a', 'b', 7, 8, 9}));
}

TEST(KVXStreams, DamagedFramesRaiseReadErrors) {
    const auto good = Frame({1, 2, 3, 4, 5});  // total 10: length 6, a copied block of 6
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        auto b = good;
        for (size_t i = 0; i < bytes.size(); ++i) b[at + i] = bytes[i];
        return b;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> frame;
    };
    const Case cases[] = {
        {"total cut off", {10, 0}},
        {"total too short for a length", {3, 0, 0, 0, 6, 0, 0, 0}},
        {"block length 0", with(4, {0, 0, 0, 0})},
        {"block length above 32,787", with(4, {0x94, 0x80, 0, 0})},
        {"block past the total", with(0, {9, 0, 0, 0})},
        {"block past the stream", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"unknown block flag", with(8, {0x33})},
        {"length over four gigabytes", with(4, {0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const Case& c : cases) EXPECT_THROW(Unframe(c.frame), fw::EReadError) << c.name;
}

TEST(KVXStreams, Numbers) {
    fw::TMemoryStream s;
    KVXWriteInteger(s, -2);
    KVXWriteByte(s, 0xAB);
    EXPECT_EQ(Bytes(s), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0xAB}));
    s.SetPosition(0);
    EXPECT_EQ(KVXReadInteger(s), -2);
    EXPECT_EQ(KVXReadByte(s), 0xAB);
    EXPECT_THROW(KVXReadByte(s), fw::EReadError);
    StreamOf(s, {1, 2, 3});
    EXPECT_THROW(KVXReadInteger(s), fw::EReadError);
}

TEST(KVXStreams, ShortStringsOverTwoHundredFiftyFiveAreCut) {
    struct Case {
        size_t length;
        size_t stored;
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{255, 255}, Case{256, 255}, Case{300, 255}}) {
        std::string text;
        for (size_t i = 0; i < c.length; ++i) text.push_back(static_cast<char>('a' + i % 26));
        fw::TMemoryStream s;
        KVXWriteShortString(s, text);
        ASSERT_EQ(s.Size(), static_cast<int64_t>(1 + c.stored)) << c.length;
        EXPECT_EQ(s.Data()[0], c.stored);
        s.SetPosition(0);
        std::string back = "old";
        KVXReadShortString(s, back);
        EXPECT_EQ(back, text.substr(0, c.stored));
    }
    fw::TMemoryStream s;
    StreamOf(s, {5, 'a', 'b'});
    std::string back;
    EXPECT_THROW(KVXReadShortString(s, back), fw::EReadError);
}

TEST(KVXStreams, StringLists) {
    fw::TStringList empty, two, back;
    two.Add("one");
    two.Add("two");
    fw::TMemoryStream s;
    KVXWriteStringList(s, &empty, false);
    EXPECT_EQ(Bytes(s), (std::vector<uint8_t>{0, 0, 0, 0}));  // the count 0 and no text
    for (bool compressed : {false, true}) {
        s.Clear();
        KVXWriteStringList(s, &two, compressed);
        if (!compressed) {
            EXPECT_EQ(s.Size(), 4 + 10);  // "one\r\ntwo\r\n"
        }
        s.SetPosition(0);
        KVXReadStringList(s, &back, compressed);
        EXPECT_TRUE(back.Equals(two));
        EXPECT_EQ(s.Position(), s.Size());
    }
    for (const std::vector<uint8_t>& bad : {std::vector<uint8_t>{11, 0, 0, 0, 'a'}, std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF},
                                            std::vector<uint8_t>{1, 0}}) {
        StreamOf(s, bad);
        EXPECT_THROW(KVXReadStringList(s, &back, false), fw::EReadError);
    }
}

TEST(KVXStreams, Blocks) {
    const auto data = Noise(1000);
    for (bool compressed : {false, true}) {
        fw::TMemoryStream s;
        KVXWriteBlock(s, data.data(), data.size(), compressed);
        if (!compressed) {
            EXPECT_EQ(Le32(s.Data(), 0), 1000u);
        }
        s.SetPosition(0);
        EXPECT_EQ(KVXReadBlock(s, compressed), data);
    }
}

}  // namespace
}  // namespace kvx
