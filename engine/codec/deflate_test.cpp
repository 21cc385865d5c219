// Deflate compressor: round trips through zlib's raw inflate and through our own inflate at every
// setting, over a corpus from empty to several megabytes; the whole-entry stored case; option bits;
// determinism; the matching rules seen in the token stream; and the source and sink failure paths.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/codec/deflate.h"
#include "engine/codec/inflate.h"

namespace mx::codec {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- Corpus -----------------------------------------------------------------------------------------

Bytes Random(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<uint8_t>(rng());
  return b;
}

Bytes Text(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  static const char* const words[] = {"archive ", "the ", "window ", "entry ", "folder ", "stored\n",
                                      "of ",      "and ", "header ", "deflate ", "name, ",  "size. ",
                                      "Morvix ",  "to ",  "file "};
  Bytes b;
  b.reserve(n + 16);
  while (b.size() < n) {
    const char* w = words[rng() % 15];
    b.insert(b.end(), w, w + std::strlen(w));
    if (rng() % 7 == 0) b.push_back(static_cast<uint8_t>('0' + rng() % 10));
  }
  b.resize(n);
  return b;
}

// Records of a binary file: counters, small integers and runs, with some noise.
Bytes Records(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b;
  b.reserve(n + 32);
  for (uint32_t i = 0; b.size() < n; ++i) {
    const uint32_t v[4] = {i, i * 3 + 7, static_cast<uint32_t>(rng() % 64), 0x00401000u + (i % 97) * 16};
    const auto* p = reinterpret_cast<const uint8_t*>(v);
    b.insert(b.end(), p, p + sizeof v);
    if (rng() % 5 == 0) b.push_back(static_cast<uint8_t>(rng()));
  }
  b.resize(n);
  return b;
}

Bytes Repetitive(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i / 1000) % 3 == 0 ? 'z' : "abcabd"[i % 6]);
  return b;
}

// Random 30,000-byte pattern repeated: every match reaches 30,000 back, across the window's slides.
Bytes RepeatedPattern(size_t n) {
  const Bytes pattern = Random(30000, 77);
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = pattern[i % pattern.size()];
  return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes b;
  for (const auto& p : parts) b.insert(b.end(), p.begin(), p.end());
  return b;
}

struct Sample {
  std::string name;
  Bytes data;
};

const std::vector<Sample>& Corpus() {
  static const std::vector<Sample> corpus = {
      {"empty", {}},
      {"one byte", {'x'}},
      {"two bytes", {'x', 'y'}},
      {"small text", Text(300, 1)},
      {"small random", Random(100, 2)},
      {"random 200 KB", Random(200000, 3)},
      {"repetitive 300 KB", Repetitive(300000)},
      {"text just over the slide point", Text(65275, 4)},
      {"text 700 KB", Text(700000, 5)},
      {"records 400 KB", Records(400000, 6)},
      {"repeated 30,000-byte pattern", RepeatedPattern(200000)},
      {"mixed 3 MB", Concat({Text(900000, 7), Random(300000, 8), Records(900000, 9), Bytes(200000, 0),
                             Text(700000, 10)})},
  };
  return corpus;
}

constexpr DeflateType kTypes[] = {DeflateType::dtDeflateS, DeflateType::dtDeflateF, DeflateType::dtDeflateN,
                                  DeflateType::dtDeflateX};

// ---- Running the compressor and the decoders --------------------------------------------------------

struct Compressed {
  Status status;
  DeflateResult result;
  Bytes out;
};

Compressed Compress(const Bytes& in, int level, size_t blockSize = 4093) {
  Compressed c;
  VectorSink sink(c.out);
  SpanSource source(in, blockSize);
  c.status = Deflate(source, sink, level, c.result);
  return c;
}

Bytes ZlibInflate(const Bytes& in, size_t expected, int& rc) {
  Bytes out(expected + 64);
  z_stream zs{};
  inflateInit2(&zs, -15);
  zs.next_in = const_cast<uint8_t*>(in.data());
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  rc = inflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  inflateEnd(&zs);
  return out;
}

Bytes ZlibDeflate(const Bytes& in, int level) {
  z_stream zs{};
  deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&zs, static_cast<uLong>(in.size())) + 16);
  zs.next_in = const_cast<uint8_t*>(in.data());
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

// ---- A small independent reader of the token stream -------------------------------------------------
// Lists the blocks of a deflate stream with their type and tokens, so that tests can see which matches
// the compressor chose and where it ended blocks. Written for clarity, not speed.

struct Token {
  unsigned length;    // 0 for a literal
  unsigned distance;  // or the literal byte
};

struct Block {
  int type;  // 0 stored, 1 static, 2 dynamic
  bool last;
  std::vector<Token> tokens;
  size_t bytes = 0;  // output bytes of the block
};

class TokenLister {
 public:
  explicit TokenLister(const Bytes& in) : in_(in) {}

  bool List(std::vector<Block>& blocks) {
    static const unsigned lbase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const unsigned lext[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static const unsigned dbase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                       193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static const unsigned dext[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                      6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    for (;;) {
      Block b;
      b.last = Bits(1) != 0;
      b.type = static_cast<int>(Bits(2));
      if (b.type == 0) {
        bitbuf_ = 0, bitcnt_ = 0;
        if (pos_ + 4 > in_.size()) return false;
        const unsigned len = in_[pos_] | in_[pos_ + 1] << 8;
        pos_ += 4;
        if (pos_ + len > in_.size()) return false;
        for (unsigned i = 0; i < len; ++i) b.tokens.push_back({0, in_[pos_ + i]});
        pos_ += len;
        b.bytes = len;
      } else {
        Huff lit, dist;
        if (b.type == 1) {
          std::vector<int> l(288);
          for (int i = 0; i < 288; ++i) l[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
          lit.Build(l);
          dist.Build(std::vector<int>(30, 5));
        } else if (b.type == 2) {
          if (!Dynamic(lit, dist)) return false;
        } else {
          return false;
        }
        for (;;) {
          const int sym = Decode(lit);
          if (sym < 0 || bad_) return false;
          if (sym < 256) {
            b.tokens.push_back({0, static_cast<unsigned>(sym)});
            ++b.bytes;
          } else if (sym == 256) {
            break;
          } else {
            const unsigned s = static_cast<unsigned>(sym - 257);
            if (s >= 29) return false;
            const unsigned len = lbase[s] + Bits(lext[s]);
            const int ds = Decode(dist);
            if (ds < 0 || ds >= 30) return false;
            const unsigned d = dbase[ds] + Bits(dext[ds]);
            b.tokens.push_back({len, d});
            b.bytes += len;
          }
        }
      }
      blocks.push_back(std::move(b));
      if (blocks.back().last) return !bad_;
    }
  }

 private:
  struct Huff {
    std::vector<int> count = std::vector<int>(16), symbol;
    void Build(const std::vector<int>& lengths) {
      std::fill(count.begin(), count.end(), 0);
      for (int l : lengths) ++count[l];
      std::vector<int> offs(16);
      for (int i = 1; i < 15; ++i) offs[i + 1] = offs[i] + count[i];
      symbol.assign(lengths.size(), 0);
      for (size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s]) symbol[offs[lengths[s]]++] = static_cast<int>(s);
      }
    }
  };

  unsigned Bits(unsigned n) {
    while (bitcnt_ < n) {
      if (pos_ >= in_.size()) {
        bad_ = true;
        return 0;
      }
      bitbuf_ |= uint32_t{in_[pos_++]} << bitcnt_;
      bitcnt_ += 8;
    }
    const unsigned v = bitbuf_ & ((1u << n) - 1);
    bitbuf_ >>= n;
    bitcnt_ -= n;
    return v;
  }

  int Decode(const Huff& h) {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= 15; ++len) {
      code |= static_cast<int>(Bits(1));
      const int count = h.count[len];
      if (code - count < first) return h.symbol[index + (code - first)];
      index += count;
      first += count;
      first <<= 1;
      code <<= 1;
      if (bad_) return -1;
    }
    return -1;
  }

  bool Dynamic(Huff& lit, Huff& dist) {
    static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const unsigned nlen = Bits(5) + 257, ndist = Bits(5) + 1, ncode = Bits(4) + 4;
    std::vector<int> lengths(19);
    for (unsigned i = 0; i < ncode; ++i) lengths[order[i]] = static_cast<int>(Bits(3));
    Huff lencode;
    lencode.Build(lengths);
    std::vector<int> all;
    while (all.size() < nlen + ndist) {
      const int sym = Decode(lencode);
      if (sym < 0) return false;
      if (sym < 16) {
        all.push_back(sym);
      } else {
        int len = 0;
        unsigned rep;
        if (sym == 16) {
          if (all.empty()) return false;
          len = all.back();
          rep = 3 + Bits(2);
        } else if (sym == 17) {
          rep = 3 + Bits(3);
        } else {
          rep = 11 + Bits(7);
        }
        all.insert(all.end(), rep, len);
      }
    }
    if (all.size() != nlen + ndist) return false;
    lit.Build(std::vector<int>(all.begin(), all.begin() + nlen));
    dist.Build(std::vector<int>(all.begin() + nlen, all.end()));
    return true;
  }

  const Bytes& in_;
  size_t pos_ = 0;
  uint32_t bitbuf_ = 0;
  unsigned bitcnt_ = 0;
  bool bad_ = false;
};

std::vector<Block> ListBlocks(const Bytes& deflated) {
  std::vector<Block> blocks;
  TokenLister lister(deflated);
  EXPECT_TRUE(lister.List(blocks)) << "the token lister could not read the stream";
  return blocks;
}

// ---- Tests ------------------------------------------------------------------------------------------

TEST(Deflate, SettingsMapToLevelsAndOptionBits) {
  struct Row {
    DeflateType type;
    int level;
    uint16_t bits;
  };
  const Row rows[] = {
      {DeflateType::dtDeflateS, 1, 4},
      {DeflateType::dtDeflateF, 2, 4},
      {DeflateType::dtDeflateN, 7, 0},
      {DeflateType::dtDeflateX, 9, 2},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(DeflateLevel(row.type), row.level);
    EXPECT_EQ(DeflateOptionBits(row.level), row.bits);
    const Compressed c = Compress(Text(5000, 11), row.level);
    EXPECT_EQ(c.result.optionBits, row.bits) << "level " << row.level;
  }
  for (int level = 3; level <= 7; ++level) EXPECT_EQ(DeflateOptionBits(level), 0) << level;
  EXPECT_EQ(DeflateOptionBits(8), 2);
}

TEST(Deflate, RoundTripsThroughZlibAndOurInflateAtEverySetting) {
  for (const auto& sample : Corpus()) {
    for (DeflateType type : kTypes) {
      const int level = DeflateLevel(type);
      SCOPED_TRACE(sample.name + ", level " + std::to_string(level));
      const Compressed c = Compress(sample.data, level);
      ASSERT_EQ(c.status, Status::Ok);
      EXPECT_EQ(c.result.bytesIn, sample.data.size());
      EXPECT_EQ(c.result.bytesOut, c.out.size());
      if (c.result.stored) {
        EXPECT_EQ(c.out, sample.data);
        continue;
      }
      int rc = 0;
      EXPECT_EQ(ZlibInflate(c.out, sample.data.size(), rc), sample.data) << "zlib";
      EXPECT_EQ(rc, Z_STREAM_END);

      Bytes ours(sample.data.size());
      const InflateResult r = Inflate(c.out, ours);
      EXPECT_EQ(r.status, Status::Ok);
      EXPECT_EQ(r.inputUsed, c.out.size());
      EXPECT_EQ(ours, sample.data) << "our inflate";
    }
  }
}

TEST(Deflate, CompressesAboutAsWellAsZlibAtTheMatchingLevels) {
  // Same matching parameters as zlib's levels 2, 7 and 9. Our blocks hold up to 32,767 symbols
  // against zlib's 16,383, which costs a little where the data changes inside a block (here about 1%
  // at level 2 around the switch from text to records); a fault in the matcher or the trees costs far
  // more.
  const Bytes data = Concat({Text(400000, 21), Records(400000, 22)});
  for (int level : {2, 7, 9}) {
    const Compressed c = Compress(data, level);
    const double ratio = static_cast<double>(c.out.size()) / static_cast<double>(ZlibDeflate(data, level).size());
    EXPECT_LT(ratio, 1.015) << "level " << level;
    EXPECT_GT(ratio, 0.98) << "level " << level;
  }
}

TEST(Deflate, IncompressibleSingleBlockEntryIsStoredWhole) {
  struct Row {
    const char* name;
    Bytes data;
    bool stored;
  };
  const Row rows[] = {
      {"empty", {}, true},
      {"one byte", {'A'}, true},
      {"a few random bytes", Random(40, 31), true},
      {"random 20 KB", Random(20000, 32), true},
      {"small text", Text(400, 33), false},
      {"random 200 KB: several blocks", Random(200000, 34), false},
  };
  for (const auto& row : rows) {
    for (DeflateType type : kTypes) {
      const int level = DeflateLevel(type);
      SCOPED_TRACE(std::string(row.name) + ", level " + std::to_string(level));
      const Compressed c = Compress(row.data, level);
      ASSERT_EQ(c.status, Status::Ok);
      EXPECT_EQ(c.result.stored, row.stored);
      if (row.stored) {
        EXPECT_EQ(c.out, row.data) << "a stored entry holds the plain bytes";
      } else {
        EXPECT_LT(c.out.size(), row.data.size() + row.data.size() / 1000 + 8);
      }
    }
  }
}

TEST(Deflate, IncompressibleDataAfterTheFirstBlockGoesOutAsStoredBlocks) {
  const Bytes data = Random(200000, 41);
  const Compressed c = Compress(data, 7);
  ASSERT_FALSE(c.result.stored);
  const auto blocks = ListBlocks(c.out);
  ASSERT_GT(blocks.size(), 1u);
  size_t total = 0;
  for (const auto& b : blocks) {
    EXPECT_EQ(b.type, 0);
    total += b.bytes;
  }
  EXPECT_EQ(total, data.size());
}

TEST(Deflate, OutputIsTheSameOnEveryRunAndForEverySourceBlockSize) {
  const Bytes data = Concat({Text(150000, 51), Records(100000, 52), Random(5000, 53)});
  for (DeflateType type : kTypes) {
    const int level = DeflateLevel(type);
    const Compressed first = Compress(data, level, 0);
    EXPECT_EQ(Compress(data, level, 0).out, first.out) << level;
    EXPECT_EQ(Compress(data, level, 1).out, first.out) << level;
    EXPECT_EQ(Compress(data, level, 65536).out, first.out) << level;
    EXPECT_EQ(Compress(data, level, 100003).out, first.out) << level;
  }
}

TEST(Deflate, ShortMatchFarBackIsUsedOnlyAtTheGreedyLevels) {
  // "QZJ" again 4,097 bytes later, with filler that repeats no three bytes in between. The string
  // starts at offset 1: position 0 of the window is never a match candidate.
  Bytes data = {'#', 'Q', 'Z', 'J'};
  for (int i = 0; data.size() < 4098; ++i) {
    data.push_back(static_cast<uint8_t>('a' + i % 26));
    data.push_back(static_cast<uint8_t>('a' + (i / 26) % 26));
    data.push_back(static_cast<uint8_t>(0x80 + (i / 676) % 64));
  }
  data.resize(4098);
  data.insert(data.end(), {'Q', 'Z', 'J', '!'});

  auto hasMatchAt4097 = [&](int level) {
    for (const auto& b : ListBlocks(Compress(data, level).out)) {
      for (const auto& t : b.tokens) {
        if (t.length == 3 && t.distance == 4097) return true;
      }
    }
    return false;
  };
  for (int level = 1; level <= 3; ++level) EXPECT_TRUE(hasMatchAt4097(level)) << level;
  for (int level = 4; level <= 9; ++level) EXPECT_FALSE(hasMatchAt4097(level)) << level;

  // At 4,096 back the match is worth it at every level.
  Bytes near(data.begin(), data.begin() + 4097);
  near.insert(near.end(), {'Q', 'Z', 'J', '!'});
  for (int level = 1; level <= 9; ++level) {
    bool found = false;
    for (const auto& b : ListBlocks(Compress(near, level).out)) {
      for (const auto& t : b.tokens) found |= t.length == 3 && t.distance == 4096;
    }
    EXPECT_TRUE(found) << level;
  }
}

TEST(Deflate, MatchesReachAcrossTheWindowSlide) {
  const Bytes data = RepeatedPattern(200000);
  for (DeflateType type : kTypes) {
    const int level = DeflateLevel(type);
    const Compressed c = Compress(data, level);
    // One copy of the pattern plus cheap matches for the other five and a half.
    EXPECT_LT(c.out.size(), 34000u) << level;
    size_t far = 0;
    for (const auto& b : ListBlocks(c.out)) {
      for (const auto& t : b.tokens) far += t.length != 0 && t.distance == 30000;
    }
    EXPECT_GT(far, 100u) << level;
  }
}

TEST(Deflate, MostlyLiteralBlockEndsEarlyAboveLevelTwo) {
  // Units of two random bytes and a 30-byte piece of a fixed pattern: two literals per match, and the
  // block is much smaller than its input. From level 3 up the block ends at the first check, after
  // 4,096 symbols; at level 2 it runs on until the symbol buffer is full or the input ends.
  std::mt19937 rng(61);
  const Bytes pattern = Random(64, 62);
  Bytes data;
  while (data.size() < 120000) {
    data.push_back(static_cast<uint8_t>(rng()));
    data.push_back(static_cast<uint8_t>(rng()));
    const size_t k = rng() % 34;
    data.insert(data.end(), pattern.begin() + static_cast<long>(k), pattern.begin() + static_cast<long>(k) + 30);
  }
  for (int level : {2, 3, 7, 9}) {
    const auto blocks = ListBlocks(Compress(data, level).out);
    ASSERT_GT(blocks.size(), 0u);
    const size_t firstSymbols = blocks.front().tokens.size();
    if (level <= 2) {
      EXPECT_GT(firstSymbols, 4096u) << level;
    } else {
      EXPECT_EQ(firstSymbols, 4096u) << level;
      EXPECT_GT(blocks.size(), 2u) << level;
    }
  }
}

// ---- Failures of the source and the sink --------------------------------------------------------------

class FailingSource final : public ByteSource {
 public:
  FailingSource(const Bytes& data, size_t okBlocks, Status failure, size_t blockSize = 10000)
      : data_(data), okBlocks_(okBlocks), failure_(failure), blockSize_(blockSize) {}
  Status Read(std::span<const uint8_t>& block) noexcept override {
    if (blocks_ == okBlocks_) return failure_;
    const size_t at = blocks_++ * blockSize_;
    if (at >= data_.size()) return Status::End;
    block = std::span<const uint8_t>(data_).subspan(at, std::min<size_t>(blockSize_, data_.size() - at));
    return Status::Ok;
  }

 private:
  const Bytes& data_;
  size_t okBlocks_;
  Status failure_;
  size_t blockSize_;
  size_t blocks_ = 0;
};

class CountingSink final : public ByteSink {
 public:
  CountingSink(size_t okWrites, Status failure) : okWrites_(okWrites), failure_(failure) {}
  Status Write(std::span<const uint8_t>) noexcept override {
    ++calls;
    return calls > okWrites_ ? failure_ : Status::Ok;
  }
  size_t calls = 0;

 private:
  size_t okWrites_;
  Status failure_;
};

TEST(Deflate, SourceFailureEndsTheRunWithItsStatus) {
  const Bytes data = Text(1000000, 71);
  for (Status failure : {Status::Cancelled, Status::Truncated, Status::BadData}) {
    for (size_t okBlocks : {size_t{0}, size_t{1}, size_t{30}}) {
      for (int level : {2, 7}) {
        FailingSource source(data, okBlocks, failure);
        Bytes out;
        VectorSink sink(out);
        DeflateResult result;
        EXPECT_EQ(Deflate(source, sink, level, result), failure) << okBlocks << " " << level;
        EXPECT_LE(result.bytesIn, okBlocks * 10000);
        EXPECT_FALSE(result.stored);
      }
    }
  }
}

TEST(Deflate, SinkFailureEndsTheRunWithItsStatus) {
  const Bytes data = Random(1000000, 72);
  for (Status failure : {Status::OutputFull, Status::Cancelled}) {
    for (int level : {2, 9}) {
      SpanSource source(data, 8192);
      CountingSink sink(2, failure);
      DeflateResult result;
      EXPECT_EQ(Deflate(source, sink, level, result), failure);
      EXPECT_EQ(sink.calls, 3u) << "no write after the failure";
      EXPECT_LT(result.bytesIn, data.size()) << "the run stops soon after the failure";
    }
  }
}

TEST(Deflate, LevelsOutsideTheRangeAreClamped) {
  const Bytes data = Text(20000, 81);
  EXPECT_EQ(Compress(data, 0).out, Compress(data, 1).out);
  EXPECT_EQ(Compress(data, 12).out, Compress(data, 9).out);
}

// One Deflater runs a sequence of inputs; every run that completes must give exactly what a fresh
// compressor gives. Each input follows one with the same bytes, so hash heads left over from the run
// before (a small one, a failed one, one that slid the window) would find matches and change the output.
TEST(Deflate, ReusedDeflaterGivesTheSameOutputAsAFreshOne) {
  const Bytes small = Text(600, 91), medium = Text(3000, 92), large = Text(9000, 93), big = Text(200000, 94);
  const Bytes binary = Records(3500, 95);
  struct Step {
    const char* name;
    const Bytes& data;
    int level;
    size_t failAfter;  // source blocks of 100 bytes handed out before a failure; 0: no failure
  };
  const Step steps[] = {
      {"small", small, 2, 0},
      {"small again", small, 2, 0},
      {"small again at level 7", small, 7, 0},
      {"medium failing half way", medium, 2, 15},
      {"medium", medium, 2, 0},
      {"large, past the cheap clearing", large, 9, 0},
      {"large again", large, 1, 0},
      {"big, sliding the window", big, 7, 0},
      {"medium after the slide", medium, 7, 0},
      {"binary failing early", binary, 4, 3},
      {"binary", binary, 4, 0},
      {"empty", Bytes(), 2, 0},
      {"big failing after the slide", big, 2, 1000},
      {"big", big, 2, 0},
      {"small at the end", small, 9, 0},
  };
  Deflater deflater;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    Bytes out;
    VectorSink sink(out);
    DeflateResult result;
    if (step.failAfter != 0) {
      FailingSource source(step.data, step.failAfter, Status::Cancelled, 100);
      EXPECT_EQ(deflater.Run(source, sink, step.level, result), Status::Cancelled);
      continue;
    }
    SpanSource source(step.data, 1000);
    ASSERT_EQ(deflater.Run(source, sink, step.level, result), Status::Ok);
    const Compressed fresh = Compress(step.data, step.level);
    EXPECT_EQ(out, fresh.out);
    EXPECT_EQ(result.stored, fresh.result.stored);
    EXPECT_EQ(result.bytesIn, step.data.size());
  }
}

}  // namespace
}  // namespace mx::codec
