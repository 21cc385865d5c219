#include "engine/codec/explode.h"

#include <gtest/gtest.h>

#include "engine/codec/testenc/legacy_testenc.h"
#include "testing/test_env.h"

namespace mx::codec {
namespace {

using testenc::BitWriter;

struct Variant {
  bool bigWindow;
  bool literalTree;
};
constexpr Variant kVariants[] = {{false, false}, {false, true}, {true, false}, {true, true}};

Status ExplodeInto(std::span<const uint8_t> packed, uint16_t flags, uint64_t size, std::vector<uint8_t>& out,
           size_t block = 0) {
  SpanSource in(packed, block);
  VectorSink sink(out);
  return Explode(in, sink, flags, size);
}

TEST(Explode, RoundTripsEveryWindowAndTreeCount) {
  for (const auto& sample : testenc::Corpus()) {
    for (Variant v : kVariants) {
      SCOPED_TRACE(sample.name + (v.bigWindow ? " 8K" : " 4K") + (v.literalTree ? " 3 trees" : " 2 trees"));
      auto packed = testenc::Implode(sample.data, v.bigWindow, v.literalTree);
      uint16_t flags = testenc::ImplodeFlags(v.bigWindow, v.literalTree);
      std::vector<uint8_t> out;
      ASSERT_EQ(ExplodeInto(packed, flags, sample.data.size(), out), Status::Ok);
      EXPECT_EQ(out, sample.data);
      // The same stream handed out one byte per block.
      std::vector<uint8_t> slow;
      ASSERT_EQ(ExplodeInto(packed, flags, sample.data.size(), slow, 1), Status::Ok);
      EXPECT_EQ(slow, sample.data);
    }
  }
}

TEST(Explode, DecodesRealImplodedArchives) {
  const char* archives[] = {"zip/commons-compress/imploding-4Kdict-2trees.zip",
                            "zip/commons-compress/imploding-8Kdict-3trees.zip", "zip/defacto2/HWIMPODE.ZIP",
                            "zip/sharpcompress/Zip.implode.zip"};
  int imploded = 0;
  for (const char* name : archives) {
    std::string bytes = test::ReadFile(testenc::FixturePath(name));
    auto entries = testenc::ReadZip(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_FALSE(entries.empty()) << name;
    for (const auto& e : entries) {
      if (e.method != 6) continue;
      SCOPED_TRACE(std::string(name) + " " + e.name);
      ++imploded;
      std::vector<uint8_t> out;
      ASSERT_EQ(testenc::DecodeEntry(e, out), Status::Ok);
      EXPECT_EQ(out.size(), e.size);
      EXPECT_EQ(testenc::Crc32(out), e.crc);
    }
  }
  EXPECT_EQ(imploded, 7);
  std::string expected = test::ReadFile(testenc::FixturePath("expected/defacto2/TESTDAT3.TXT"));
  std::string bytes = test::ReadFile(testenc::FixturePath("zip/defacto2/HWIMPODE.ZIP"));
  for (const auto& e : testenc::ReadZip(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))) {
    if (e.name != "TESTDAT3.TXT") continue;
    std::vector<uint8_t> out;
    ASSERT_EQ(testenc::DecodeEntry(e, out), Status::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), expected);
  }
}

// A tree description giving all 64 symbols 6-bit codes: four bytes of 16 symbols each. Codes are
// handed out from the last symbol, so symbol s has the code 63 - s.
void PutFlatTree64(BitWriter& w) {
  w.Put(3, 8);
  for (int i = 0; i < 4; ++i) w.Put(0xF5, 8);
}
void PutFlatCode64(BitWriter& w, unsigned symbol) {
  unsigned code = 63 - symbol;
  for (unsigned b = 6; b-- > 0;) w.Put((code >> b) & 1, 1);
}
// All 256 literals with 8-bit codes: sixteen bytes of 16 symbols each; literal c has code 255 - c.
void PutFlatTree256(BitWriter& w) {
  w.Put(15, 8);
  for (int i = 0; i < 16; ++i) w.Put(0xF7, 8);
}
void PutFlatCode256(BitWriter& w, unsigned symbol) {
  unsigned code = 255 - symbol;
  for (unsigned b = 8; b-- > 0;) w.Put((code >> b) & 1, 1);
}

struct Token {
  bool literal;
  unsigned value;     // literal, or stored distance (offset - 1)
  unsigned lengthSym; // length symbol for a match
  unsigned extra;     // the 8 bits after length symbol 63
};

std::vector<uint8_t> HandStream(Variant v, const std::vector<Token>& tokens) {
  BitWriter w;
  if (v.literalTree) PutFlatTree256(w);
  PutFlatTree64(w);  // lengths
  PutFlatTree64(w);  // distances
  const unsigned low = v.bigWindow ? 7 : 6;
  for (const Token& t : tokens) {
    if (t.literal) {
      w.Put(1, 1);
      if (v.literalTree)
        PutFlatCode256(w, t.value);
      else
        w.Put(t.value, 8);
      continue;
    }
    w.Put(0, 1);
    w.Put(t.value & ((1u << low) - 1), low);
    PutFlatCode64(w, t.value >> low);
    PutFlatCode64(w, t.lengthSym);
    if (t.lengthSym == 63) w.Put(t.extra, 8);
  }
  return w.Finish();
}

TEST(Explode, HandWorkedStreams) {
  struct Case {
    const char* why;
    Variant variant;
    std::vector<Token> tokens;
    std::string want;
  };
  const std::string z(2, '\0');
  const Case cases[] = {
      {"length symbol 1 with two trees copies 1 + 2 bytes", {false, false}, {{true, 'A', 0, 0}, {false, 0, 1, 0}},
       "AAAA"},
      {"length symbol 1 with three trees copies 1 + 3 bytes, also with the 4K window", {false, true},
       {{true, 'A', 0, 0}, {false, 0, 1, 0}}, "AAAAA"},
      {"minimum match follows the tree count, not the window", {true, false}, {{true, 'A', 0, 0}, {false, 0, 0, 0}},
       "AAA"},
      {"distance before the first byte copies zeros", {false, false}, {{true, 'x', 0, 0}, {false, 9, 0, 0}},
       "x" + z},
      {"distance high part from the tree, 8K window", {true, true},
       {{true, 'a', 0, 0}, {true, 'b', 0, 0}, {false, 1, 0, 0}}, "abab" "a"},
      {"length symbol 63 adds eight more bits", {false, false}, {{true, 'r', 0, 0}, {false, 0, 63, 10}},
       std::string(1 + 63 + 10 + 2, 'r')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    auto packed = HandStream(c.variant, c.tokens);
    std::vector<uint8_t> out;
    ASSERT_EQ(ExplodeInto(packed, testenc::ImplodeFlags(c.variant.bigWindow, c.variant.literalTree), c.want.size(), out),
              Status::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), c.want);
  }
}

TEST(Explode, StopsAtTheDeclaredSizeInsideAMatch) {
  auto packed = HandStream({false, false}, {{true, 'A', 0, 0}, {false, 0, 20, 0}});
  std::vector<uint8_t> out;
  ASSERT_EQ(ExplodeInto(packed, 0, 5, out), Status::Ok);
  EXPECT_EQ(std::string(out.begin(), out.end()), "AAAAA");
}

TEST(Explode, RefusesBadTrees) {
  struct Case {
    const char* why;
    std::vector<uint8_t> description;  // the length tree; a flat distance tree follows
    Status want;
  };
  const Case cases[] = {
      {"three 1-bit codes collide", {0x00, 0x20}, Status::BadData},
      {"a 1-bit code is the prefix of a 2-bit one", {0x01, 0x10, 0x01}, Status::BadData},
      {"more than 64 symbols", {0x04, 0xF5, 0xF5, 0xF5, 0xF5, 0x05}, Status::BadData},
      {"a 1-bit code lands on the prefix of sixteen 16-bit codes", {0x01, 0x00, 0xFF}, Status::BadData},
      {"description cut short", {0x05, 0xF5}, Status::Truncated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    BitWriter w;
    for (uint8_t b : c.description) w.Put(b, 8);
    if (c.want != Status::Truncated) {
      PutFlatTree64(w);
      for (int i = 0; i < 8; ++i) w.Put(0x55, 8);
    }
    auto packed = w.Finish();
    std::vector<uint8_t> out;
    EXPECT_EQ(ExplodeInto(packed, 0, 100, out), c.want);
    EXPECT_TRUE(out.empty());
  }
}

TEST(Explode, MissingBranchIsBadData) {
  // Length tree: one symbol with a 2-bit code, which gets the code 00; the bits 1... lead nowhere.
  BitWriter w;
  w.Put(0x00, 8);
  w.Put(0x01, 8);
  PutFlatTree64(w);
  w.Put(0, 1);          // a match
  w.Put(0, 6);          // low distance bits
  PutFlatCode64(w, 0);  // distance symbol 0
  w.Put(1, 1);          // length code starting with 1: no such branch
  w.Put(0, 8);
  auto packed = w.Finish();
  std::vector<uint8_t> out;
  EXPECT_EQ(ExplodeInto(packed, 0, 10, out), Status::BadData);
}

// A cut entry used to be decoded on with the reader's end values until the declared size was
// written; it now ends at the end of its input.
TEST(Explode, TruncatedEntryStopsAtEndOfInput) {
  const auto corpus = testenc::Corpus();
  const auto& text = corpus[3].data;
  for (Variant v : kVariants) {
    auto packed = testenc::Implode(text, v.bigWindow, v.literalTree);
    uint16_t flags = testenc::ImplodeFlags(v.bigWindow, v.literalTree);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{40}, packed.size() / 2, packed.size() - 1}) {
      SCOPED_TRACE(cut);
      std::vector<uint8_t> out;
      EXPECT_EQ(ExplodeInto(std::span(packed).first(cut), flags, text.size(), out), Status::Truncated);
      EXPECT_LT(out.size(), text.size());
      EXPECT_TRUE(std::equal(out.begin(), out.end(), text.begin()));
    }
  }
}

TEST(Explode, DamagedStreamsNeverOverrun) {
  const auto corpus = testenc::Corpus();
  const auto& text = corpus[3].data;
  std::vector<uint8_t> data(text.begin(), text.begin() + 6000);
  for (Variant v : kVariants) {
    auto packed = testenc::Implode(data, v.bigWindow, v.literalTree);
    uint16_t flags = testenc::ImplodeFlags(v.bigWindow, v.literalTree);
    for (size_t i = 0; i < packed.size(); i += 7) {
      auto bad = packed;
      bad[i] ^= static_cast<uint8_t>(0x5A + i);
      std::vector<uint8_t> out;
      ExplodeInto(bad, flags, data.size(), out);
      EXPECT_LE(out.size(), data.size());
    }
  }
}

TEST(Explode, SinkFailureIsPassedOn) {
  std::vector<uint8_t> data(100000, 'q');
  auto packed = testenc::Implode(data, true, true);
  std::vector<uint8_t> out;
  SpanSource in(packed);
  VectorSink sink(out, 40000);
  EXPECT_EQ(Explode(in, sink, testenc::ImplodeFlags(true, true), data.size()), Status::OutputFull);
}

}  // namespace
}  // namespace mx::codec
