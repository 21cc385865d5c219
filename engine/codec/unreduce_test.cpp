#include "engine/codec/unreduce.h"

#include <gtest/gtest.h>

#include "engine/codec/testenc/legacy_testenc.h"
#include "testing/test_env.h"

namespace mx::codec {
namespace {

using testenc::BitWriter;

Status UnreduceInto(std::span<const uint8_t> packed, int method, uint64_t size, std::vector<uint8_t>& out, size_t block = 0) {
  SpanSource in(packed, block);
  VectorSink sink(out);
  return Unreduce(in, sink, method, size);
}

TEST(Unreduce, RoundTripsEveryFactor) {
  for (const auto& sample : testenc::Corpus()) {
    for (int method = 2; method <= 5; ++method) {
      for (bool followers : {true, false}) {
        SCOPED_TRACE(sample.name + " method " + std::to_string(method) + (followers ? " followers" : ""));
        auto packed = testenc::Reduce(sample.data, method, followers);
        std::vector<uint8_t> out;
        ASSERT_EQ(UnreduceInto(packed, method, sample.data.size(), out), Status::Ok);
        EXPECT_EQ(out, sample.data);
      }
    }
    auto packed = testenc::Reduce(sample.data, 3);
    std::vector<uint8_t> slow;
    ASSERT_EQ(UnreduceInto(packed, 3, sample.data.size(), slow, 1), Status::Ok);
    EXPECT_EQ(slow, sample.data);
  }
}

// No installed tool decodes reduced entries, so these archives (two independent writers, all four
// factors) and their expected contents are the outside reference.
TEST(Unreduce, DecodesRealReducedArchives) {
  const char* archives[] = {"zip/sharpcompress/Zip.reduce1.zip", "zip/sharpcompress/Zip.reduce2.zip",
                            "zip/sharpcompress/Zip.reduce3.zip", "zip/sharpcompress/Zip.reduce4.zip",
                            "zip/defacto2/HWREDUCE.ZIP"};
  bool seen[6] = {};
  for (const char* name : archives) {
    std::string bytes = test::ReadFile(testenc::FixturePath(name));
    auto entries = testenc::ReadZip(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_FALSE(entries.empty()) << name;
    for (const auto& e : entries) {
      if (e.method < 2 || e.method > 5) continue;
      SCOPED_TRACE(std::string(name) + " " + e.name);
      seen[e.method] = true;
      std::vector<uint8_t> out;
      ASSERT_EQ(testenc::DecodeEntry(e, out), Status::Ok);
      EXPECT_EQ(out.size(), e.size);
      EXPECT_EQ(testenc::Crc32(out), e.crc);
    }
  }
  for (int m = 2; m <= 5; ++m) EXPECT_TRUE(seen[m]) << "method " << m;
  std::string expected = test::ReadFile(testenc::FixturePath("expected/defacto2/TESTDAT1.TXT"));
  std::string bytes = test::ReadFile(testenc::FixturePath("zip/defacto2/HWREDUCE.ZIP"));
  for (const auto& e : testenc::ReadZip(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))) {
    if (e.name != "TESTDAT1.TXT") continue;
    std::vector<uint8_t> out;
    ASSERT_EQ(testenc::DecodeEntry(e, out), Status::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), expected);
  }
}

// Follower sets: a map from byte value to its set; every other set is empty.
void PutFollowers(BitWriter& w, std::initializer_list<std::pair<int, std::vector<uint8_t>>> sets) {
  for (int v = 255; v >= 0; --v) {
    const std::vector<uint8_t>* set = nullptr;
    for (const auto& [value, bytes] : sets)
      if (value == v) set = &bytes;
    w.Put(set ? static_cast<uint32_t>(set->size()) : 0, 6);
    if (set)
      for (uint8_t b : *set) w.Put(b, 8);
  }
}

std::vector<uint8_t> Plain(std::initializer_list<uint8_t> bytes) {
  BitWriter w;
  PutFollowers(w, {});
  for (uint8_t b : bytes) w.Put(b, 8);
  return w.Finish();
}

TEST(Unreduce, HandWorkedStreams) {
  struct Case {
    const char* why;
    int method;
    std::vector<uint8_t> packed;
    std::string want;
  };
  Case cases[] = {
      {"DLE 0 is one DLE byte", 2, Plain({'a', 144, 0, 'b'}), "a\x90" "b"},
      {"factor 4: V = 0x01 copies 1 + 3 bytes at distance 1", 5, Plain({'A', 144, 0x01, 0x00}), "AAAAA"},
      {"factor 4: V = 0xF7 is length 7 + 3 at distance 15 * 256 + 255 + 1 = 4096, here zeros", 5,
       Plain({'x', 144, 0xF7, 0xFF}), "x" + std::string(10, '\0')},
      {"factor 1: an all-ones length takes one more byte", 2, Plain({'A', 144, 0x7F, 5, 0x00}),
       "A" + std::string(127 + 5 + 3, 'A')},
      {"factor 2: distance high bits are V >> 6", 3, Plain({'p', 'q', 144, 0x40, 0x01}),
       // distance (1 * 256 + 1) + 1 = 258 reaches before the start: three zeros.
       "pq" + std::string(3, '\0')},
      {"ends at the declared size with bits left over", 4, Plain({'z', 'y', 'x', 'w'}), "zy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<uint8_t> out;
    ASSERT_EQ(UnreduceInto(c.packed, c.method, c.want.size(), out), Status::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), c.want);
  }
}

TEST(Unreduce, FollowerSetsPickBytesByIndex) {
  BitWriter w;
  // The byte before the first is 0; its set has three bytes, so indexes take 2 bits.
  PutFollowers(w, {{0, {'a', 'b', 'c'}}, {'c', {'!'}}});
  w.Put(0, 1);  // from the set of 0 ...
  w.Put(2, 2);  // ... index 2: 'c'
  w.Put(0, 1);  // from the set of 'c', one byte, so one index bit ...
  w.Put(0, 1);  // ... index 0: '!'
  w.Put('k', 8);  // '!' has an empty set: 8 plain bits, no flag bit
  auto packed = w.Finish();
  std::vector<uint8_t> out;
  ASSERT_EQ(UnreduceInto(packed, 2, 3, out), Status::Ok);
  EXPECT_EQ(std::string(out.begin(), out.end()), "c!k");
}

TEST(Unreduce, RefusesDamagedStreams) {
  struct Case {
    const char* why;
    int method;
    std::vector<uint8_t> packed;
    uint64_t size;
    Status want;
  };
  BitWriter big;
  big.Put(33, 6);  // the set of 255 claims 33 bytes
  for (int i = 0; i < 40; ++i) big.Put(0, 8);
  BitWriter index;
  PutFollowers(index, {{0, {'a', 'b', 'c'}}});
  index.Put(0, 1);
  index.Put(3, 2);  // index 3 in a set of three
  index.Put(0, 8);
  auto text = testenc::Corpus()[3].data;
  auto packed = testenc::Reduce(text, 4);
  Case cases[] = {
      {"follower set of 33 bytes", 2, big.Finish(), 10, Status::BadData},
      {"follower index past its set", 2, index.Finish(), 10, Status::BadData},
      {"method 6 is not a reduce method", 6, Plain({'a'}), 1, Status::BadData},
      {"follower sets cut short", 2, std::vector<uint8_t>(100, 0), 1, Status::Truncated},
      {"data cut short", 5, std::vector<uint8_t>(packed.begin(), packed.begin() + packed.size() / 2), text.size(),
       Status::Truncated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<uint8_t> out;
    EXPECT_EQ(UnreduceInto(c.packed, c.method, c.size, out), c.want);
    EXPECT_LT(out.size(), c.size);
  }
}

// A cut entry used to be decoded on with the reader's end values until the declared size was
// written; it now ends at the end of its input.
TEST(Unreduce, TruncatedEntryStopsAtEndOfInput) {
  auto text = testenc::Corpus()[3].data;
  for (int method = 2; method <= 5; ++method) {
    auto packed = testenc::Reduce(text, method);
    for (size_t cut : {size_t{0}, size_t{150}, packed.size() / 2, packed.size() - 1}) {
      std::vector<uint8_t> out;
      EXPECT_EQ(UnreduceInto(std::span(packed).first(cut), method, text.size(), out), Status::Truncated) << cut;
      EXPECT_TRUE(std::equal(out.begin(), out.end(), text.begin()));
    }
    for (size_t i = 0; i < packed.size(); i += 97) {
      auto bad = packed;
      bad[i] ^= 0x3C;
      std::vector<uint8_t> out;
      UnreduceInto(bad, method, text.size(), out);
      EXPECT_LE(out.size(), text.size());
    }
  }
}

}  // namespace
}  // namespace mx::codec
