#include "engine/codec/unshrink.h"

#include <gtest/gtest.h>

#include "engine/codec/testenc/legacy_testenc.h"
#include "testing/test_env.h"

namespace mx::codec {
namespace {

using testenc::BitWriter;

Status UnshrinkInto(std::span<const uint8_t> packed, uint64_t size, std::vector<uint8_t>& out, size_t block = 0) {
  SpanSource in(packed, block);
  VectorSink sink(out);
  return Unshrink(in, sink, size);
}

// Codes as (value, bits) pairs.
std::vector<uint8_t> Codes(std::initializer_list<std::pair<unsigned, unsigned>> codes) {
  BitWriter w;
  for (auto [value, bits] : codes) w.Put(value, bits);
  return w.Finish();
}

TEST(Unshrink, RoundTripsWithAndWithoutPartialClears) {
  for (const auto& sample : testenc::Corpus()) {
    for (unsigned clearEvery : {0u, 40u, 1500u}) {
      SCOPED_TRACE(sample.name + " clear every " + std::to_string(clearEvery));
      // Frequent clears cost a table scan each; a shorter input shows them as well.
      std::span<const uint8_t> data = sample.data;
      if (clearEvery == 40 && data.size() > 20000) data = data.first(20000);
      auto packed = testenc::Shrink(data, clearEvery);
      std::vector<uint8_t> out;
      ASSERT_EQ(UnshrinkInto(packed, data.size(), out), Status::Ok);
      EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin(), data.end()));
      if (clearEvery != 0) continue;
      std::vector<uint8_t> slow;
      ASSERT_EQ(UnshrinkInto(packed, data.size(), slow, 3), Status::Ok);
      EXPECT_TRUE(std::equal(slow.begin(), slow.end(), data.begin(), data.end()));
    }
  }
}

TEST(Unshrink, DecodesRealShrunkArchives) {
  const char* archives[] = {"zip/commons-compress/SHRUNK.ZIP", "zip/defacto2/HWSHRINK.ZIP",
                            "zip/sharpcompress/Zip.shrink.zip"};
  int shrunk = 0;
  for (const char* name : archives) {
    std::string bytes = test::ReadFile(testenc::FixturePath(name));
    auto entries = testenc::ReadZip(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_FALSE(entries.empty()) << name;
    for (const auto& e : entries) {
      if (e.method != 1) continue;
      SCOPED_TRACE(std::string(name) + " " + e.name);
      ++shrunk;
      std::vector<uint8_t> out;
      ASSERT_EQ(testenc::DecodeEntry(e, out), Status::Ok);
      EXPECT_EQ(out.size(), e.size);
      EXPECT_EQ(testenc::Crc32(out), e.crc);
    }
  }
  EXPECT_GE(shrunk, 5);
}

TEST(Unshrink, HandWorkedStreams) {
  struct Case {
    const char* why;
    std::vector<uint8_t> packed;
    std::string want;
  };
  const Case cases[] = {
      {"literals only", Codes({{'H', 9}, {'i', 9}}), "Hi"},
      {"257 is the first pair", Codes({{'A', 9}, {'B', 9}, {257, 9}}), "ABAB"},
      {"256,1 grows the codes to 10 bits", Codes({{'A', 9}, {'B', 9}, {256, 9}, {1, 9}, {257, 10}, {'C', 10}}),
       "ABABC"},
      {"a code not yet defined is the previous string plus its first byte", Codes({{'A', 9}, {257, 9}, {258, 9}}),
       "AAAAAA"},
      // 257 = AB, 258 = BA, 259 = AB+C; the clear frees the leaves 258 and 259 and keeps 257,
      // then 258 is handed out again first: 258 = C+D.
      {"partial clear frees leaves and reuses them in ascending order",
       Codes({{'A', 9}, {'B', 9}, {257, 9}, {'C', 9}, {256, 9}, {2, 9}, {'D', 9}, {258, 9}, {257, 9}}),
       "ABABCDCDAB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<uint8_t> out;
    ASSERT_EQ(UnshrinkInto(c.packed, c.want.size(), out), Status::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), c.want);
  }
}

TEST(Unshrink, RefusesDamagedStreams) {
  struct Case {
    const char* why;
    std::vector<uint8_t> packed;
    uint64_t size;
    Status want;
  };
  const Case cases[] = {
      {"escape followed by 3", Codes({{'A', 9}, {256, 9}, {3, 9}, {'B', 9}}), 2, Status::BadData},
      {"code size past 13 bits",
       Codes({{'A', 9}, {256, 9}, {1, 9}, {256, 10}, {1, 10}, {256, 11}, {1, 11}, {256, 12}, {1, 12}, {256, 13},
              {1, 13}, {'B', 13}}),
       2, Status::BadData},
      {"undefined code that is not the next one", Codes({{'A', 9}, {300, 9}, {'B', 9}}), 5, Status::BadData},
      {"no input at all", {}, 3, Status::Truncated},
      {"input ends early", Codes({{'A', 9}, {'B', 9}}), 3, Status::Truncated},
      {"string runs past the declared size", Codes({{'A', 9}, {'B', 9}, {257, 9}}), 3, Status::OutputFull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<uint8_t> out;
    EXPECT_EQ(UnshrinkInto(c.packed, c.size, out), c.want);
    EXPECT_LE(out.size(), c.size);
  }
}

// A partial clear often frees the code that the next entry hangs on (writers send the clear right
// after it). Resetting freed codes left that entry with a parent that had none, and expanding it
// walked out of the table; freed codes now keep their string until they are handed out again.
TEST(Unshrink, EntryBelowAFreedCodeKeepsItsString) {
  // 257 = AB, 258 = BC, 259 = CB; the clear frees all three while 258 is the previous code. The
  // next entry, (258, D), takes 257 and must read "BCD".
  auto packed = Codes({{'A', 9}, {'B', 9}, {'C', 9}, {258, 9}, {256, 9}, {2, 9}, {'D', 9}, {257, 9}});
  std::vector<uint8_t> out;
  ASSERT_EQ(UnshrinkInto(packed, 9, out), Status::Ok);
  EXPECT_EQ(std::string(out.begin(), out.end()), "ABCBCDBCD");
}

// A partial clear looks at the whole table, not only up to the code handed out last. Here the
// second clear comes when only 257 has been handed out since the first; 260 lost its only child in
// the first clear and must be freed by the second, so the third new code is 260 = "IJ". A decoder
// that stops its look at 257 would keep 260 = "BCD". Writers clear only when the codes in use run
// from 257 to the last one handed out, where both readings agree.
TEST(Unshrink, PartialClearLooksAtTheWholeTable) {
  // 257 AB, 258 BC, 259 CB, 260 BCD (child of 258), 261 DB, 262 BCDE (child of 260), 263 EF.
  // The first clear keeps 258 and 260; then 257 = FG; the second clear frees 257 and 260.
  auto packed = Codes({{'A', 9}, {'B', 9}, {'C', 9}, {258, 9}, {'D', 9}, {260, 9}, {'E', 9}, {'F', 9},
                       {256, 9}, {2, 9}, {'G', 9}, {256, 9}, {2, 9}, {'H', 9}, {'I', 9}, {'J', 9}, {260, 9}});
  std::vector<uint8_t> out;
  ASSERT_EQ(UnshrinkInto(packed, 17, out), Status::Ok);
  EXPECT_EQ(std::string(out.begin(), out.end()), "ABCBCDBCDEFGHIJIJ");
}

// A hostile stream can make a code its own prefix: here the clear frees 257 while it is the
// previous code, and 257 is then handed out again below itself. Expanding it must end, not loop.
TEST(Unshrink, CodeThatIsItsOwnPrefixIsRefused) {
  auto packed = Codes({{'A', 9}, {'B', 9}, {257, 9}, {256, 9}, {2, 9}, {257, 9}, {'C', 9}, {257, 9}});
  std::vector<uint8_t> out;
  EXPECT_EQ(UnshrinkInto(packed, 100000, out), Status::BadData);
  EXPECT_EQ(std::string(out.begin(), out.end()), "ABABABAC");
}

TEST(Unshrink, TruncatedAndDamagedStreamsStayInBounds) {
  const auto corpus = testenc::Corpus();
  const auto& mixed = corpus[5].data;
  std::vector<uint8_t> data(mixed.begin(), mixed.begin() + 12000);
  auto packed = testenc::Shrink(data, 200);
  for (size_t cut : {size_t{1}, size_t{2}, packed.size() / 3, packed.size() - 2}) {
    std::vector<uint8_t> out;
    EXPECT_EQ(UnshrinkInto(std::span(packed).first(cut), data.size(), out), Status::Truncated) << cut;
    EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
  }
  for (size_t i = 0; i < packed.size(); i += 37) {
    auto bad = packed;
    bad[i] ^= static_cast<uint8_t>(0xA5 ^ i);
    std::vector<uint8_t> out;
    UnshrinkInto(bad, data.size(), out);
    EXPECT_LE(out.size(), data.size());
  }
}

}  // namespace
}  // namespace mx::codec
