// Inflate: zlib's raw deflate output at every level and strategy, hand-built bit streams for each block
// type and each fault, and the streaming form's source, sink and limit handling.
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/codec/inflate.h"

namespace mx::codec {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- Test data and zlib as the independent encoder ------------------------------------------------

Bytes Random(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<uint8_t>(rng());
  return b;
}

Bytes Text(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  const char* words[] = {"inflate ", "window ", "the ", "block ", "Huffman ", "code\n", "of ", "length ",
                         "distance ", "literal ", "stored ", "dynamic, ", "fixed. "};
  Bytes b;
  while (b.size() < n) {
    const char* w = words[rng() % 13];
    b.insert(b.end(), w, w + std::char_traits<char>::length(w));
  }
  b.resize(n);
  return b;
}

Bytes Repetitive(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i / 1000) % 3 == 0 ? 'z' : "abcabd"[i % 6]);
  return b;
}

Bytes Deflate(const Bytes& in, int level, int strategy, int memLevel = 8) {
  z_stream zs{};
  EXPECT_EQ(deflateInit2(&zs, level, Z_DEFLATED, -15, memLevel, strategy), Z_OK);
  Bytes out(deflateBound(&zs, static_cast<uLong>(in.size())) + 16);
  zs.next_in = const_cast<uint8_t*>(in.data());
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

InflateResult Whole(const Bytes& in, Bytes& out, size_t capacity) {
  out.assign(capacity, 0xEE);
  InflateResult r = Inflate(in, out);
  out.resize(static_cast<size_t>(r.outputSize));
  return r;
}

InflateResult Stream(const Bytes& in, Bytes& out, size_t blockSize, uint64_t limit = UINT64_MAX) {
  out.clear();
  SpanSource src(in, blockSize);
  VectorSink sink(out);
  return Inflate(src, sink, limit);
}

TEST(Inflate, ZlibStreamsAtEveryLevelAndStrategy) {
  const std::vector<std::pair<const char*, Bytes>> inputs = {
      {"empty", {}},
      {"one byte", {0x41}},
      {"text", Text(150000, 1)},
      {"random", Random(70000, 2)},
      {"repetitive", Repetitive(300000)},
      {"mixed", [] {
         Bytes b = Text(60000, 3);
         Bytes r = Random(40000, 4);
         b.insert(b.end(), r.begin(), r.end());
         Bytes t = Repetitive(100000);
         b.insert(b.end(), t.begin(), t.end());
         return b;
       }()},
  };
  const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  for (const auto& [name, data] : inputs) {
    for (int level = 0; level <= 9; ++level) {
      for (int strategy : strategies) {
        SCOPED_TRACE(std::string(name) + " level " + std::to_string(level) + " strategy " + std::to_string(strategy));
        Bytes packed = Deflate(data, level, strategy, level == 9 ? 9 : 8);
        Bytes out;
        InflateResult r = Whole(packed, out, data.size());
        ASSERT_EQ(r.status, Status::Ok);
        ASSERT_EQ(r.inputUsed, packed.size());
        ASSERT_TRUE(out == data);
        // The streaming form, with the input cut into odd blocks.
        r = Stream(packed, out, 4093);
        ASSERT_EQ(r.status, Status::Ok);
        ASSERT_EQ(r.inputUsed, packed.size());
        ASSERT_TRUE(out == data);
      }
    }
  }
}

TEST(Inflate, LargeStreamThroughTheWindowByteByByte) {
  // Matches reach back across the start of the streaming window many times over.
  Bytes data = Text(400000, 9);
  Bytes r = Random(50000, 10);
  data.insert(data.begin() + 200000, r.begin(), r.end());
  Bytes packed = Deflate(data, 6, Z_DEFAULT_STRATEGY);
  Bytes out;
  InflateResult res = Stream(packed, out, 1);
  ASSERT_EQ(res.status, Status::Ok);
  EXPECT_TRUE(out == data);
  EXPECT_EQ(Crc32(out), crc32(0, data.data(), static_cast<uInt>(data.size())));
}

TEST(Inflate, StopsAtTheEndOfTheStream) {
  Bytes data = Text(5000, 5);
  Bytes packed = Deflate(data, 6, Z_DEFAULT_STRATEGY);
  const size_t used = packed.size();
  packed.insert(packed.end(), {0xDE, 0xAD, 0xBE, 0xEF, 1, 2, 3, 4, 5, 6, 7, 8});
  Bytes out;
  InflateResult r = Whole(packed, out, data.size());
  EXPECT_EQ(r.status, Status::Ok);
  EXPECT_EQ(r.inputUsed, used);
  r = Stream(packed, out, 100);
  EXPECT_EQ(r.status, Status::Ok);
  EXPECT_EQ(r.inputUsed, used);
  EXPECT_TRUE(out == data);
}

TEST(Inflate, OutputCapacityIsAHardLimit) {
  Bytes data = Text(20000, 6);
  Bytes packed = Deflate(data, 6, Z_DEFAULT_STRATEGY);
  Bytes out;
  for (size_t cap : {size_t{0}, size_t{1}, size_t{100}, data.size() - 1}) {
    InflateResult r = Whole(packed, out, cap);
    EXPECT_EQ(r.status, Status::OutputFull) << cap;
    EXPECT_EQ(r.Message(), InflateMessage::WriteError);
    EXPECT_LE(r.outputSize, cap);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
    r = Stream(packed, out, 1000, cap);
    EXPECT_EQ(r.status, Status::OutputFull) << cap;
    EXPECT_LE(out.size(), cap);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
  }
}

TEST(Inflate, TruncatedInputAtEveryLength) {
  Bytes data = Text(3000, 7);
  Bytes packed = Deflate(data, 9, Z_DEFAULT_STRATEGY);
  for (size_t n = 0; n < packed.size(); ++n) {
    Bytes cut(packed.begin(), packed.begin() + static_cast<long>(n));
    Bytes out;
    InflateResult r = Whole(cut, out, data.size());
    ASSERT_NE(r.status, Status::Ok) << n;
    ASSERT_EQ(r.Message(), r.status == Status::Truncated ? InflateMessage::BadBlock : r.Message());
    ASSERT_TRUE(std::equal(out.begin(), out.end(), data.begin())) << n;
    InflateResult s = Stream(cut, out, 7);
    ASSERT_EQ(s.status, r.status) << n;
  }
}

// ---- Hand-built bit streams ----------------------------------------------------------------------

class BitWriter {
 public:
  void Put(uint32_t value, unsigned bits) {
    for (unsigned i = 0; i < bits; ++i) PutBit((value >> i) & 1);
  }
  // Huffman codes go out most significant bit first.
  void PutCode(uint32_t code, unsigned len) {
    for (unsigned i = len; i-- > 0;) PutBit((code >> i) & 1);
  }
  void Align() {
    while (n_ != 0) PutBit(0);
  }
  void Byte(uint8_t b) { Put(b, 8); }
  Bytes Finish() {
    Align();
    return bytes_;
  }

 private:
  void PutBit(unsigned bit) {
    if (n_ == 0) bytes_.push_back(0);
    bytes_.back() = static_cast<uint8_t>(bytes_.back() | (bit << n_));
    n_ = (n_ + 1) & 7;
  }
  Bytes bytes_;
  unsigned n_ = 0;
};

// Canonical codes for a set of lengths.
std::vector<uint32_t> Canonical(const std::vector<uint8_t>& lens) {
  unsigned count[16] = {};
  for (uint8_t l : lens) ++count[l];
  count[0] = 0;
  uint32_t next[16] = {};
  uint32_t code = 0;
  for (int b = 1; b < 16; ++b) {
    code = (code + count[b - 1]) << 1;
    next[b] = code;
  }
  std::vector<uint32_t> codes(lens.size());
  for (size_t s = 0; s < lens.size(); ++s)
    if (lens[s]) codes[s] = next[lens[s]]++;
  return codes;
}

struct Code {
  std::vector<uint8_t> lens;
  std::vector<uint32_t> codes;
  explicit Code(std::vector<uint8_t> l) : lens(std::move(l)), codes(Canonical(lens)) {}
  void Put(BitWriter& w, unsigned sym) const { w.PutCode(codes.at(sym), lens.at(sym)); }
};

const Code& Fixed() {
  static const Code c = [] {
    std::vector<uint8_t> l(288);
    for (int i = 0; i < 288; ++i) l[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    return Code(l);
  }();
  return c;
}
const Code& FixedDist() {
  static const Code c(std::vector<uint8_t>(32, 5));
  return c;
}

// A complete code-length code: symbols 0..12 of 4 bits, 13..18 of 5 bits.
const Code& Precode() {
  static const Code c = [] {
    std::vector<uint8_t> l(19);
    for (int i = 0; i < 19; ++i) l[i] = i < 13 ? 4 : 5;
    return Code(l);
  }();
  return c;
}
constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// One run-length item of the dynamic header: a code-length symbol and its extra bits.
struct LenItem {
  unsigned sym, extra = 0, extraBits = 0;
};

void PutDynamicHeader(BitWriter& w, bool last, size_t nlit, size_t ndist, const std::vector<LenItem>& items,
                      const Code& pre = Precode()) {
  w.Put(last, 1);
  w.Put(2, 2);
  w.Put(static_cast<uint32_t>(nlit - 257), 5);
  w.Put(static_cast<uint32_t>(ndist - 1), 5);
  w.Put(19 - 4, 4);
  for (uint8_t s : kOrder) w.Put(pre.lens[s], 3);
  for (const LenItem& it : items) {
    pre.Put(w, it.sym);
    w.Put(it.extra, it.extraBits);
  }
}

std::vector<LenItem> Literally(const std::vector<uint8_t>& lit, const std::vector<uint8_t>& dist) {
  std::vector<LenItem> items;
  for (uint8_t l : lit) items.push_back({l});
  for (uint8_t l : dist) items.push_back({l});
  return items;
}

// Literal/length lengths: 'a' 'b' and end-of-block and the length code 257 (length 3) with 2 bits each.
std::vector<uint8_t> SmallLit(size_t n = 258) {
  std::vector<uint8_t> l(n);
  l['a'] = l['b'] = l[256] = l[257] = 2;
  return l;
}

Bytes StoredEmptyLast() {
  BitWriter w;
  w.Put(1, 1);
  w.Put(0, 2);
  w.Align();
  w.Put(0, 16);
  w.Put(0xFFFF, 16);
  return w.Finish();
}

struct Case {
  const char* why;
  std::function<Bytes()> make;
  Status status;
  InflateFault fault;
  std::string output;  // expected output (for Ok) or the output before the fault
  InflateMessage message = InflateMessage::None;
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"empty stored last block", StoredEmptyLast, Status::Ok, InflateFault::None, ""},
      {"stored block with data, then fixed", [] {
         BitWriter w;
         w.Put(0, 1); w.Put(0, 2); w.Align();
         w.Put(3, 16); w.Put(0xFFFC, 16);
         w.Byte('x'); w.Byte('y'); w.Byte('z');
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'q');
         Fixed().Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "xyzq"},
      {"stored length check fails", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(0, 2); w.Align();
         w.Put(5, 16); w.Put(0xFFFB, 16);
         return w.Finish();
       }, Status::BadData, InflateFault::StoredLength, "", InflateMessage::BadBlock},
      {"stored block cut short", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(0, 2); w.Align();
         w.Put(5, 16); w.Put(0xFFFA, 16);
         w.Byte('1'); w.Byte('2');
         return w.Finish();
       }, Status::Truncated, InflateFault::None, "12", InflateMessage::BadBlock},
      {"block type 3", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(3, 2);
         return w.Finish();
       }, Status::BadData, InflateFault::BadBlockType, "", InflateMessage::BadBlock},
      {"fixed: match of 258 at distance 1", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'a');
         Fixed().Put(w, 285);
         FixedDist().Put(w, 0);
         Fixed().Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, Repeat('a', 259)},
      {"fixed: overlapping match at distance 2", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'a'); Fixed().Put(w, 'b');
         Fixed().Put(w, 265); w.Put(1, 1);  // length 12
         FixedDist().Put(w, 1);
         Fixed().Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "ababababababab"},
      {"fixed: distance too far back", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'a');
         Fixed().Put(w, 257);
         FixedDist().Put(w, 1);  // distance 2, one byte written
         Fixed().Put(w, 256);
         return w.Finish();
       }, Status::BadData, InflateFault::DistanceTooFar, "a", InflateMessage::BadBlock},
      {"fixed: match before any output", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 257);
         FixedDist().Put(w, 0);
         Fixed().Put(w, 256);
         return w.Finish();
       }, Status::BadData, InflateFault::DistanceTooFar, "", InflateMessage::BadBlock},
      {"fixed: literal/length code 286", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'a');
         Fixed().Put(w, 286);
         return w.Finish();
       }, Status::BadData, InflateFault::BadFixedCode, "a", InflateMessage::BadBlock},
      {"fixed: distance code 30", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'a');
         Fixed().Put(w, 257);
         FixedDist().Put(w, 30);
         Fixed().Put(w, 256);
         return w.Finish();
       }, Status::BadData, InflateFault::BadFixedCode, "a", InflateMessage::BadBlock},
      {"fixed: no end-of-block code", [] {
         BitWriter w;
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'a');
         Fixed().Put(w, 'b');
         return w.Finish();
       }, Status::Truncated, InflateFault::None, "ab", InflateMessage::BadBlock},
      {"input ends after a block that is not the last", [] {
         BitWriter w;
         w.Put(0, 1); w.Put(1, 2);
         Fixed().Put(w, 'a');
         Fixed().Put(w, 256);
         return w.Finish();
       }, Status::Truncated, InflateFault::None, "a", InflateMessage::BadBlock},
      {"empty input", [] { return Bytes{}; }, Status::Truncated, InflateFault::None, "", InflateMessage::BadBlock},
      {"dynamic: literals and a match", [] {
         BitWriter w;
         std::vector<uint8_t> dist = {1, 1};
         PutDynamicHeader(w, true, 258, 2, Literally(SmallLit(), dist));
         Code lit(SmallLit()), d(dist);
         lit.Put(w, 'a'); lit.Put(w, 'b'); lit.Put(w, 257); d.Put(w, 1); lit.Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "ababa"},
      {"fixed, dynamic, fixed", [] {
         BitWriter w;
         w.Put(0, 1); w.Put(1, 2);
         Fixed().Put(w, 'x'); Fixed().Put(w, 256);
         std::vector<uint8_t> dist = {1, 1};
         PutDynamicHeader(w, false, 258, 2, Literally(SmallLit(), dist));
         Code lit(SmallLit());
         lit.Put(w, 'a'); lit.Put(w, 256);
         w.Put(1, 1); w.Put(1, 2);
         Fixed().Put(w, 'y'); Fixed().Put(w, 257); FixedDist().Put(w, 2); Fixed().Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "xayxay"},
      {"dynamic: one distance code of one bit", [] {
         BitWriter w;
         std::vector<uint8_t> dist = {0, 0, 0, 1};  // distance 4 only
         PutDynamicHeader(w, true, 258, 4, Literally(SmallLit(), dist));
         Code lit(SmallLit()), d(dist);
         lit.Put(w, 'a'); lit.Put(w, 'b'); lit.Put(w, 'a'); lit.Put(w, 'b');
         lit.Put(w, 257); d.Put(w, 3); lit.Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "abababa"},
      {"dynamic: no distance codes, literals only", [] {
         BitWriter w;
         std::vector<uint8_t> dist = {0};
         PutDynamicHeader(w, true, 258, 1, Literally(SmallLit(), dist));
         Code lit(SmallLit());
         lit.Put(w, 'b'); lit.Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "b"},
      {"dynamic: length code without distance codes", [] {
         BitWriter w;
         std::vector<uint8_t> dist = {0};
         PutDynamicHeader(w, true, 258, 1, Literally(SmallLit(), dist));
         Code lit(SmallLit());
         lit.Put(w, 'b'); lit.Put(w, 257); w.Put(0, 8); lit.Put(w, 256);
         return w.Finish();
       }, Status::BadData, InflateFault::BadDynamicCode, "b", InflateMessage::IncompleteCodeSet},
      {"dynamic: distance code 31 declared, then used", [] {
         BitWriter w;
         std::vector<uint8_t> dist(32, 5);
         PutDynamicHeader(w, true, 258, 32, Literally(SmallLit(), dist));
         Code lit(SmallLit()), d(dist);
         lit.Put(w, 'a'); lit.Put(w, 257); d.Put(w, 31); lit.Put(w, 256);
         return w.Finish();
       }, Status::BadData, InflateFault::BadDynamicCode, "a", InflateMessage::IncompleteCodeSet},
      {"dynamic: 288 codes declared, 287 unused", [] {
         BitWriter w;
         std::vector<uint8_t> l = SmallLit(288);
         l[257] = 3; l[287] = 3;
         std::vector<uint8_t> dist = {1, 1};
         PutDynamicHeader(w, true, 288, 2, Literally(l, dist));
         Code lit(l);
         lit.Put(w, 'a'); lit.Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "a"},
      {"dynamic: 288 codes declared, 287 used", [] {
         BitWriter w;
         std::vector<uint8_t> l = SmallLit(288);
         l[257] = 3; l[287] = 3;
         std::vector<uint8_t> dist = {1, 1};
         PutDynamicHeader(w, true, 288, 2, Literally(l, dist));
         Code lit(l);
         lit.Put(w, 'a'); lit.Put(w, 287); lit.Put(w, 256);
         return w.Finish();
       }, Status::BadData, InflateFault::BadDynamicCode, "a", InflateMessage::IncompleteCodeSet},
      {"dynamic: over-subscribed literal/length code", [] {
         BitWriter w;
         std::vector<uint8_t> l = SmallLit();
         l['c'] = 2;
         std::vector<uint8_t> dist = {1, 1};
         PutDynamicHeader(w, true, 258, 2, Literally(l, dist));
         return w.Finish();
       }, Status::BadData, InflateFault::BadLiteralCode, "", InflateMessage::IncompleteCodeSet},
      {"dynamic: incomplete literal/length code", [] {
         BitWriter w;
         std::vector<uint8_t> l = SmallLit();
         l[257] = 0;
         std::vector<uint8_t> dist = {1, 1};
         PutDynamicHeader(w, true, 258, 2, Literally(l, dist));
         return w.Finish();
       }, Status::BadData, InflateFault::BadLiteralCode, "", InflateMessage::IncompleteCodeSet},
      {"dynamic: no end-of-block code", [] {
         BitWriter w;
         std::vector<uint8_t> l(258);
         l['a'] = l['b'] = 1;
         std::vector<uint8_t> dist = {1, 1};
         PutDynamicHeader(w, true, 258, 2, Literally(l, dist));
         return w.Finish();
       }, Status::BadData, InflateFault::BadLiteralCode, "", InflateMessage::IncompleteCodeSet},
      {"dynamic: incomplete distance code", [] {
         BitWriter w;
         std::vector<uint8_t> dist = {1, 2};
         PutDynamicHeader(w, true, 258, 2, Literally(SmallLit(), dist));
         return w.Finish();
       }, Status::BadData, InflateFault::BadDistanceCode, "", InflateMessage::IncompleteCodeSet},
      {"dynamic: over-subscribed distance code", [] {
         BitWriter w;
         std::vector<uint8_t> dist = {1, 1, 1};
         PutDynamicHeader(w, true, 258, 3, Literally(SmallLit(), dist));
         return w.Finish();
       }, Status::BadData, InflateFault::BadDistanceCode, "", InflateMessage::IncompleteCodeSet},
      {"dynamic: incomplete code-length code", [] {
         BitWriter w;
         std::vector<uint8_t> pl(19);
         for (int i = 0; i < 19; ++i) pl[i] = i < 12 ? 4 : 5;  // 12/16 + 7/32 < 1
         Code pre(pl);
         PutDynamicHeader(w, true, 258, 2, Literally(SmallLit(), {1, 1}), pre);
         return w.Finish();
       }, Status::BadData, InflateFault::BadCodeLengthCode, "", InflateMessage::IncompleteCodeSet},
      {"dynamic: repeat past the last length", [] {
         BitWriter w;
         std::vector<LenItem> items = Literally(SmallLit(), {});
         items.push_back({1});
         items.push_back({16, 0, 2});  // repeats the 1 three times, but only one distance length is left
         PutDynamicHeader(w, true, 258, 2, items);
         return w.Finish();
       }, Status::BadData, InflateFault::BadRepeat, "", InflateMessage::IncompleteCodeSet},
      {"dynamic: zero runs and repeats", [] {
         BitWriter w;
         // 'a'..'d' (97..100) of 3 bits, 256 and 257 of 2 bits, every other length 0.
         std::vector<LenItem> items;
         items.push_back({17, 7, 3});          // 'a' is 97: 3 + 7 = 10 zeros
         items.push_back({18, 76, 7});         // 11 + 76 = 87 zeros -> 97
         items.push_back({3});                 // 'a'
         items.push_back({16, 0, 2});          // 'b' 'c' 'd' repeat it
         items.push_back({18, 127, 7});        // 138 zeros -> 239
         items.push_back({17, 7, 3});          // 10 zeros -> 249
         items.push_back({17, 4, 3});          // 7 zeros -> 256
         items.push_back({2}); items.push_back({2});  // 256, 257
         items.push_back({1}); items.push_back({1});  // distances
         PutDynamicHeader(w, true, 258, 2, items);
         std::vector<uint8_t> l(258);
         l['a'] = l['b'] = l['c'] = l['d'] = 3;
         l[256] = l[257] = 2;
         Code lit(l);
         lit.Put(w, 'd'); lit.Put(w, 'c'); lit.Put(w, 'b'); lit.Put(w, 'a'); lit.Put(w, 256);
         return w.Finish();
       }, Status::Ok, InflateFault::None, "dcba"},
  };
  return cases;
}

TEST(Inflate, HandBuiltStreams) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.why);
    Bytes in = c.make();
    Bytes out;
    InflateResult r = Whole(in, out, 1000);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.fault, c.fault);
    EXPECT_EQ(r.Message(), c.message);
    EXPECT_EQ(std::string(out.begin(), out.end()), c.output);
    for (size_t block : {size_t{1}, size_t{3}, size_t{64}}) {
      r = Stream(in, out, block);
      EXPECT_EQ(r.status, c.status) << "block " << block;
      EXPECT_EQ(r.fault, c.fault) << "block " << block;
      EXPECT_EQ(std::string(out.begin(), out.end()), c.output) << "block " << block;
    }
  }
}

TEST(Inflate, EmptyStoredBlockGivesCrcZero) {
  Bytes out;
  InflateResult r = Stream(StoredEmptyLast(), out, 1);
  ASSERT_EQ(r.status, Status::Ok);
  EXPECT_EQ(r.outputSize, 0u);
  EXPECT_EQ(Crc32(out), 0u);
}

// A source that cancels after handing out a number of blocks.
class CancellingSource final : public ByteSource {
 public:
  CancellingSource(const Bytes& data, size_t blocks) : data_(data), blocks_(blocks) {}
  Status Read(std::span<const uint8_t>& block) noexcept override {
    if (blocks_ == 0) return Status::Cancelled;
    --blocks_;
    size_t n = std::min<size_t>(1024, data_.size() - pos_);
    if (n == 0) return Status::End;
    block = std::span<const uint8_t>(data_.data() + pos_, n);
    pos_ += n;
    return Status::Ok;
  }

 private:
  const Bytes& data_;
  size_t blocks_;
  size_t pos_ = 0;
};

// A sink that fails after taking a number of bytes.
class FailingSink final : public ByteSink {
 public:
  explicit FailingSink(size_t room) : room_(room) {}
  Status Write(std::span<const uint8_t> block) noexcept override {
    if (block.size() > room_) return Status::OutputFull;
    room_ -= block.size();
    taken += block.size();
    return Status::Ok;
  }
  size_t taken = 0;

 private:
  size_t room_;
};

TEST(Inflate, CancelEndsTheEntryAsBadBlockAndKeepsTheOutputSoFar) {
  Bytes data = Text(400000, 12);
  Bytes packed = Deflate(data, 6, Z_DEFAULT_STRATEGY);
  CancellingSource src(packed, 10);
  Bytes out;
  VectorSink sink(out);
  InflateResult r = Inflate(src, sink);
  EXPECT_EQ(r.status, Status::Cancelled);
  EXPECT_EQ(r.Message(), InflateMessage::BadBlock);
  EXPECT_GT(out.size(), 0u);
  EXPECT_EQ(out.size(), r.outputSize);
  EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
}

TEST(Inflate, SinkFailureEndsTheEntryAsWriteError) {
  Bytes data = Text(400000, 13);
  Bytes packed = Deflate(data, 6, Z_DEFAULT_STRATEGY);
  SpanSource src(packed);
  FailingSink sink(100000);
  InflateResult r = Inflate(src, sink);
  EXPECT_EQ(r.status, Status::OutputFull);
  EXPECT_EQ(r.Message(), InflateMessage::WriteError);
  EXPECT_LE(sink.taken, 100000u);
}

// A sink that counts the blocks it is handed.
class CountingSink final : public ByteSink {
 public:
  Status Write(std::span<const uint8_t> block) noexcept override {
    ++writes;
    bytes += block.size();
    return Status::Ok;
  }
  size_t writes = 0;
  size_t bytes = 0;
};

// An output limit equal to the stream's size (how the extractor holds an entry to its declared size)
// must not make the decoder push the last stretch to the sink a symbol at a time.
TEST(Inflate, OutputLimitNearDoesNotFlushShortBlocks) {
  for (size_t size : {size_t{300}, size_t{5000}, size_t{131072 + 700}, size_t{400000}}) {
    Bytes data = Text(size, 14);
    Bytes packed = Deflate(data, 6, Z_DEFAULT_STRATEGY);
    SpanSource src(packed);
    CountingSink sink;
    InflateResult r = Inflate(src, sink, size);
    EXPECT_EQ(r.status, Status::Ok) << size;
    EXPECT_EQ(sink.bytes, size);
    EXPECT_LE(sink.writes, size / 131072 + 1) << size;
  }
}

// Data whose matches all sit at one distance: a random pattern of that period repeated, with a
// random byte now and then so that literals and short matches mix in.
Bytes Periodic(size_t n, size_t period, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = i < period ? static_cast<uint8_t>(rng()) : b[i - period];
  for (size_t i = period; i < n; i += 97 + rng() % 200) b[i] = static_cast<uint8_t>(rng());
  return b;
}

// Every way a match is copied (one byte repeated, periods shorter than a word, periods inside the
// unrolled word copies, long ones), with the output buffer exactly as large as the data, so that
// matches near its end must keep within it; checked through both forms against the data.
TEST(Inflate, MatchesAtEveryShortDistanceStayInsideAnExactBuffer) {
  for (size_t period : {1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 39, 40, 41, 300, 5000}) {
    for (size_t size : {size_t{100}, size_t{3000}, size_t{70000}}) {
      const Bytes data = Periodic(size, period, static_cast<unsigned>(period * 7 + size));
      for (int strategy : {Z_DEFAULT_STRATEGY, Z_RLE, Z_FIXED}) {
        const Bytes packed = Deflate(data, 9, strategy);
        Bytes out;
        InflateResult r = Whole(packed, out, size);
        ASSERT_EQ(r.status, Status::Ok) << period << " " << size << " " << strategy;
        ASSERT_EQ(out, data) << period << " " << size << " " << strategy;
        r = Stream(packed, out, 4096);
        ASSERT_EQ(r.status, Status::Ok) << period << " " << size << " " << strategy;
        ASSERT_EQ(out, data) << period << " " << size << " " << strategy;
      }
    }
  }
}

// One Inflater decodes a run of streams, good and bad, in both forms; each must come out exactly as
// from a fresh decoder. A stream right after a damaged one, or a fixed-code block after dynamic ones,
// would show tables or window contents left over from the stream before.
TEST(Inflate, ReusedInflaterDecodesEachStreamAsAFreshOne) {
  const Bytes text = Text(50000, 21), random = Random(20000, 22), runs = Repetitive(90000);
  std::vector<Bytes> streams = {
      Deflate(text, 6, Z_DEFAULT_STRATEGY), Deflate(runs, 9, Z_FIXED),     Deflate(random, 6, Z_DEFAULT_STRATEGY),
      Deflate(text, 1, Z_HUFFMAN_ONLY),     Deflate(runs, 6, Z_RLE),       Bytes{0x03, 0x00},
      Bytes{0x07},                          Deflate(Text(10, 23), 6, Z_FIXED)};
  // Damaged copies: cut short, and with bytes flipped inside.
  const Bytes good = Deflate(text, 9, Z_DEFAULT_STRATEGY);
  streams.push_back(Bytes(good.begin(), good.begin() + static_cast<long>(good.size() / 2)));
  for (size_t at : {size_t{40}, good.size() / 3, good.size() - 20}) {
    Bytes bad = good;
    bad[at] ^= 0x5A;
    streams.push_back(bad);
  }
  streams.push_back(good);
  Inflater inflater;
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < streams.size(); ++i) {
      const Bytes& in = streams[i];
      Bytes reused(60000, 0xEE), fresh(60000, 0xEE);
      const InflateResult a = inflater.Run(in, reused);
      const InflateResult b = Inflate(in, fresh);
      EXPECT_EQ(a.status, b.status) << i;
      EXPECT_EQ(a.fault, b.fault) << i;
      EXPECT_EQ(a.outputSize, b.outputSize) << i;
      EXPECT_EQ(reused, fresh) << i;
      Bytes streamed, alone;
      SpanSource src(in, 333);
      VectorSink sink(streamed);
      const InflateResult c = inflater.Run(src, sink, 100000);
      const InflateResult d = Stream(in, alone, 333, 100000);
      EXPECT_EQ(c.status, d.status) << i;
      EXPECT_EQ(c.fault, d.fault) << i;
      EXPECT_EQ(streamed, alone) << i;
    }
  }
}

}  // namespace
}  // namespace mx::codec
