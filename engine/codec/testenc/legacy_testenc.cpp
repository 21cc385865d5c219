#include "engine/codec/testenc/legacy_testenc.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <queue>
#include <unordered_map>

#include "engine/codec/bytestream.h"
#include "engine/codec/explode.h"
#include "engine/codec/unreduce.h"
#include "engine/codec/unshrink.h"
#include "testing/test_env.h"

namespace mx::codec::testenc {

void BitWriter::Put(uint32_t value, unsigned bits) {
  buf_ |= uint64_t{value & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1))} << count_;
  count_ += bits;
  while (count_ >= 8) {
    out_.push_back(static_cast<uint8_t>(buf_));
    buf_ >>= 8;
    count_ -= 8;
  }
}

std::vector<uint8_t> BitWriter::Finish() {
  if (count_ > 0) out_.push_back(static_cast<uint8_t>(buf_));
  buf_ = 0;
  count_ = 0;
  return std::move(out_);
}

// ---------------------------------------------------------------------------------------------
// Shrink. The encoder keeps the same table as the decoder: the entry for (previous code, next
// string's first byte) is added after the next code is chosen, behind any escapes sent between.

namespace {

struct ShrinkTable {
  ShrinkTable() {
    parent.fill(-1);
    for (int c = 257; c < 8192; ++c) {
      freeList[static_cast<size_t>(c)] = static_cast<uint16_t>(c);
      isFree[static_cast<size_t>(c)] = true;
    }
  }
  std::array<int, 8192> parent{};
  std::array<uint8_t, 8192> character{};
  std::array<bool, 8192> isFree{};
  std::array<uint16_t, 8192> freeList{};
  int nextFree = 257;
  int lastAdded = 256;     // the code handed out last since the previous clear
  int highestInUse = 256;
  std::unordered_map<uint32_t, int> lookup;  // parent * 256 + byte -> code

  int FreeCount() const { return 8192 - nextFree; }
  void Add(int prev, uint8_t first) {
    size_t c = freeList[static_cast<size_t>(nextFree++)];
    lastAdded = static_cast<int>(c);
    highestInUse = std::max(highestInUse, lastAdded);
    parent[c] = prev;
    character[c] = first;
    isFree[c] = false;
    lookup[static_cast<uint32_t>(prev) * 256 + first] = static_cast<int>(c);
  }
  // Codes that a clear would keep: the parents of codes in use.
  std::vector<bool> Parents() const {
    std::vector<bool> has(8192);
    for (int c = 257; c < 8192; ++c)
      if (!isFree[static_cast<size_t>(c)] && parent[static_cast<size_t>(c)] > 256)
        has[static_cast<size_t>(parent[static_cast<size_t>(c)])] = true;
    return has;
  }
  // The lowest code a clear would free; a clear must not hand that code out below itself.
  int LowestFreed() const {
    auto has = Parents();
    for (int c = 257; c < 8192; ++c)
      if (isFree[static_cast<size_t>(c)] || !has[static_cast<size_t>(c)]) return c;
    return 8192;
  }
  // Whether the codes in use are exactly 257 up to the code handed out last. Real writers clear
  // only then (when every code below their limit is taken); a decoder that looks at the table only
  // up to the last code handed out then frees the same codes as one that looks at all of it.
  // Codes are handed out in ascending order, so every code below the lowest free one is in use;
  // it is enough that none above the last one handed out is.
  bool InUseUpToLastAdded() const { return lastAdded > 256 && highestInUse == lastAdded; }
  // Mirrors the decoder: frees the codes without children in use; freed codes keep their string
  // until handed out again.
  void PartialClear() {
    auto has = Parents();
    nextFree = 8192;
    lastAdded = 256;
    highestInUse = 256;
    for (int c = 8191; c >= 257; --c) {
      size_t i = static_cast<size_t>(c);
      if (!isFree[i] && has[i]) {
        highestInUse = std::max(highestInUse, c);
        continue;
      }
      if (!isFree[i]) lookup.erase(static_cast<uint32_t>(parent[i]) * 256 + character[i]);
      isFree[i] = true;
      freeList[static_cast<size_t>(--nextFree)] = static_cast<uint16_t>(c);
    }
  }
};

}  // namespace

std::vector<uint8_t> Shrink(std::span<const uint8_t> data, unsigned clearEvery) {
  BitWriter w;
  if (data.empty()) return w.Finish();
  auto t = std::make_unique<ShrinkTable>();
  unsigned codeSize = 9;
  unsigned sinceClear = 0;
  auto emit = [&](int code) {
    while (code >= (1 << codeSize)) {
      w.Put(256, codeSize);
      w.Put(1, codeSize);
      ++codeSize;
    }
    w.Put(static_cast<uint32_t>(code), codeSize);
    ++sinceClear;
  };
  int cur = data[0];
  for (size_t i = 1; i < data.size(); ++i) {
    uint8_t k = data[i];
    auto it = t->lookup.find(static_cast<uint32_t>(cur) * 256 + k);
    if (it != t->lookup.end()) {
      cur = it->second;
      continue;
    }
    emit(cur);
    // Clear a little before the table is full, at a code that the clear keeps: the pending entry
    // hangs on it, and a decoder may not keep the string of a code the clear frees.
    // Early clears wait until the codes in use are 257 up to the last one handed out, as with the
    // writers that clear when every code below their limit is taken.
    bool wantClear = t->FreeCount() <= 64 ||
                     (clearEvery != 0 && sinceClear >= clearEvery && t->InUseUpToLastAdded());
    if (wantClear && (cur < 256 || t->Parents()[static_cast<size_t>(cur)])) {
      w.Put(256, codeSize);
      w.Put(2, codeSize);
      t->PartialClear();
      sinceClear = 0;
    }
    if (t->FreeCount() > 0) t->Add(cur, k);
    cur = k;
  }
  emit(cur);
  return w.Finish();
}

// ---------------------------------------------------------------------------------------------
// Implode and reduce share a simple greedy LZ77 match finder.

namespace {

struct Match {
  unsigned length = 0;
  unsigned distance = 0;  // 1 = the previous byte
};

class MatchFinder {
 public:
  MatchFinder(std::span<const uint8_t> data, unsigned window, unsigned minLength, unsigned maxLength)
      : data_(data), window_(window), min_(minLength), max_(maxLength), head_(65536, -1), prev_(data.size(), -1) {}

  // Longest match at pos for which accept(length, distance) holds; inserts pos.
  template <class Accept>
  Match Find(size_t pos, Accept accept) {
    Match best;
    if (pos + 2 < data_.size()) {
      int cand = head_[Hash(pos)];
      for (int chain = 0; cand >= 0 && chain < 256; ++chain, cand = prev_[static_cast<size_t>(cand)]) {
        size_t c = static_cast<size_t>(cand);
        if (pos - c > window_) break;
        unsigned n = 0;
        while (n < max_ && pos + n < data_.size() && data_[c + n] == data_[pos + n]) ++n;
        if (n >= min_ && n > best.length && accept(n, static_cast<unsigned>(pos - c))) {
          best.length = n;
          best.distance = static_cast<unsigned>(pos - c);
        }
      }
    }
    Insert(pos);
    return best;
  }
  void Insert(size_t pos) {
    if (pos + 2 >= data_.size()) return;
    size_t h = Hash(pos);
    prev_[pos] = head_[h];
    head_[h] = static_cast<int>(pos);
  }

 private:
  size_t Hash(size_t pos) const {
    return (data_[pos] * 251u + data_[pos + 1] * 31u + data_[pos + 2]) & 0xFFFF;
  }
  std::span<const uint8_t> data_;
  unsigned window_;
  unsigned min_;
  unsigned max_;
  std::vector<int> head_;
  std::vector<int> prev_;
};

// Huffman code lengths for every symbol (each counted at least once), at most maxBits long.
std::vector<uint8_t> CodeLengths(std::vector<uint64_t> freq, unsigned maxBits) {
  const size_t n = freq.size();
  for (;;) {
    std::vector<uint8_t> lengths(n, 0);
    struct Item {
      uint64_t weight;
      int node;
      bool operator>(const Item& o) const { return weight > o.weight || (weight == o.weight && node > o.node); }
    };
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> q;
    std::vector<int> parent(2 * n, -1);
    for (size_t i = 0; i < n; ++i) q.push({freq[i] + 1, static_cast<int>(i)});
    int next = static_cast<int>(n);
    while (q.size() > 1) {
      Item a = q.top();
      q.pop();
      Item b = q.top();
      q.pop();
      parent[static_cast<size_t>(a.node)] = parent[static_cast<size_t>(b.node)] = next;
      q.push({a.weight + b.weight, next++});
    }
    bool ok = true;
    for (size_t i = 0; i < n; ++i) {
      unsigned d = 0;
      for (int p = parent[i]; p >= 0; p = parent[static_cast<size_t>(p)]) ++d;
      lengths[i] = static_cast<uint8_t>(d);
      if (d > maxBits) ok = false;
    }
    if (ok) return lengths;
    for (auto& f : freq) f /= 2;
  }
}

// Codes as the decoder assigns them: sorted by length then symbol, handed out from the longest.
std::vector<uint16_t> ShannonFanoCodes(const std::vector<uint8_t>& lengths) {
  std::vector<int> order(lengths.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return lengths[static_cast<size_t>(a)] < lengths[static_cast<size_t>(b)]; });
  std::vector<uint16_t> codes(lengths.size());
  uint32_t code = 0, inc = 0;
  unsigned last = 0;
  for (size_t i = order.size(); i-- > 0;) {
    unsigned bits = lengths[static_cast<size_t>(order[i])];
    code = (code + inc) & 0xFFFF;
    if (bits != last) {
      last = bits;
      inc = 1u << (16 - bits);
    }
    codes[static_cast<size_t>(order[i])] = static_cast<uint16_t>(code >> (16 - bits));
  }
  return codes;
}

void PutTree(BitWriter& w, const std::vector<uint8_t>& lengths) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < lengths.size();) {
    size_t run = 1;
    while (i + run < lengths.size() && run < 16 && lengths[i + run] == lengths[i]) ++run;
    bytes.push_back(static_cast<uint8_t>(((run - 1) << 4) | (lengths[i] - 1u)));
    i += run;
  }
  w.Put(static_cast<uint32_t>(bytes.size() - 1), 8);
  for (uint8_t b : bytes) w.Put(b, 8);
}

void PutCode(BitWriter& w, uint16_t code, unsigned bits) {
  for (unsigned b = bits; b-- > 0;) w.Put((code >> b) & 1u, 1);
}

}  // namespace

uint16_t ImplodeFlags(bool bigWindow, bool literalTree) {
  return static_cast<uint16_t>((bigWindow ? kImplodeFlag8KWindow : 0) | (literalTree ? kImplodeFlagLiteralTree : 0));
}

std::vector<uint8_t> Implode(std::span<const uint8_t> data, bool bigWindow, bool literalTree) {
  const unsigned window = bigWindow ? 8192 : 4096;
  const unsigned lowBits = bigWindow ? 7 : 6;
  const unsigned minMatch = literalTree ? 3 : 2;
  const unsigned maxMatch = minMatch + 63 + 255;
  struct Token {
    unsigned length;  // 0 for a literal
    unsigned value;   // the literal, or the distance - 1
  };
  std::vector<Token> tokens;
  MatchFinder finder(data, window, std::max(minMatch, 3u), maxMatch);
  for (size_t pos = 0; pos < data.size();) {
    Match m = finder.Find(pos, [](unsigned, unsigned) { return true; });
    if (m.length == 0) {
      tokens.push_back({0, data[pos]});
      ++pos;
      continue;
    }
    tokens.push_back({m.length, m.distance - 1});
    for (unsigned k = 1; k < m.length; ++k) finder.Insert(pos + k);
    pos += m.length;
  }
  std::vector<uint64_t> litFreq(256), lenFreq(64), distFreq(64);
  for (const Token& t : tokens) {
    if (t.length == 0) {
      ++litFreq[t.value];
    } else {
      ++lenFreq[std::min(t.length - minMatch, 63u)];
      ++distFreq[t.value >> lowBits];
    }
  }
  auto litLen = CodeLengths(litFreq, 16), lenLen = CodeLengths(lenFreq, 16), distLen = CodeLengths(distFreq, 16);
  auto litCode = ShannonFanoCodes(litLen), lenCode = ShannonFanoCodes(lenLen), distCode = ShannonFanoCodes(distLen);
  BitWriter w;
  if (literalTree) PutTree(w, litLen);
  PutTree(w, lenLen);
  PutTree(w, distLen);
  for (const Token& t : tokens) {
    if (t.length == 0) {
      w.Put(1, 1);
      if (literalTree)
        PutCode(w, litCode[t.value], litLen[t.value]);
      else
        w.Put(t.value, 8);
      continue;
    }
    w.Put(0, 1);
    w.Put(t.value & ((1u << lowBits) - 1), lowBits);
    unsigned d = t.value >> lowBits;
    PutCode(w, distCode[d], distLen[d]);
    unsigned l = std::min(t.length - minMatch, 63u);
    PutCode(w, lenCode[l], lenLen[l]);
    if (l == 63) w.Put(t.length - minMatch - 63, 8);
  }
  return w.Finish();
}

// ---------------------------------------------------------------------------------------------
// Reduce: the LZ/DLE stage first, then the follower-set coder over its bytes.

std::vector<uint8_t> Reduce(std::span<const uint8_t> data, int method, bool useFollowers) {
  const unsigned factor = static_cast<unsigned>(method - 1);
  const unsigned lengthMask = 0xFFu >> factor;
  const unsigned shift = 8 - factor;
  const unsigned maxDistance = ((0xFFu >> shift) << 8) + 256;
  const unsigned maxLength = lengthMask + 255 + 3;
  std::vector<uint8_t> mid;
  MatchFinder finder(data, maxDistance, 3, maxLength);
  for (size_t pos = 0; pos < data.size();) {
    // A length of 3 at a distance up to 256 would make the byte after DLE zero.
    Match m = finder.Find(pos, [](unsigned len, unsigned dist) { return len > 3 || dist > 256; });
    if (m.length == 0) {
      mid.push_back(data[pos]);
      if (data[pos] == 144) mid.push_back(0);
      ++pos;
      continue;
    }
    unsigned len = m.length - 3, d = m.distance - 1;
    unsigned high = (d >> 8) << shift;
    mid.push_back(144);
    if (len < lengthMask) {
      mid.push_back(static_cast<uint8_t>(high | len));
    } else {
      mid.push_back(static_cast<uint8_t>(high | lengthMask));
      mid.push_back(static_cast<uint8_t>(len - lengthMask));
    }
    mid.push_back(static_cast<uint8_t>(d & 0xFF));
    for (unsigned k = 1; k < m.length; ++k) finder.Insert(pos + k);
    pos += m.length;
  }

  std::vector<std::vector<uint8_t>> followers(256);
  if (useFollowers) {
    std::vector<std::array<uint64_t, 256>> pairs(256);
    for (auto& p : pairs) p.fill(0);
    uint8_t last = 0;
    for (uint8_t b : mid) {
      ++pairs[last][b];
      last = b;
    }
    for (int v = 0; v < 256; ++v) {
      std::vector<int> order;
      for (int b = 0; b < 256; ++b)
        if (pairs[static_cast<size_t>(v)][static_cast<size_t>(b)]) order.push_back(b);
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return pairs[static_cast<size_t>(v)][static_cast<size_t>(a)] > pairs[static_cast<size_t>(v)][static_cast<size_t>(b)];
      });
      if (order.size() > 32) order.resize(32);
      for (int b : order) followers[static_cast<size_t>(v)].push_back(static_cast<uint8_t>(b));
    }
  }
  BitWriter w;
  for (int v = 255; v >= 0; --v) {
    const auto& set = followers[static_cast<size_t>(v)];
    w.Put(static_cast<uint32_t>(set.size()), 6);
    for (uint8_t b : set) w.Put(b, 8);
  }
  uint8_t last = 0;
  for (uint8_t b : mid) {
    const auto& set = followers[last];
    if (set.empty()) {
      w.Put(b, 8);
    } else {
      auto it = std::find(set.begin(), set.end(), b);
      if (it == set.end()) {
        w.Put(1, 1);
        w.Put(b, 8);
      } else {
        unsigned bits = 1;
        while ((1u << bits) < set.size()) ++bits;
        w.Put(0, 1);
        w.Put(static_cast<uint32_t>(it - set.begin()), bits);
      }
    }
    last = b;
  }
  return w.Finish();
}

// ---------------------------------------------------------------------------------------------
// ZIP kit.

uint32_t Crc32(std::span<const uint8_t> data) {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

namespace {

void Le16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Le32(std::vector<uint8_t>& v, uint32_t x) {
  Le16(v, x & 0xFFFF);
  Le16(v, x >> 16);
}
uint32_t Get16(std::span<const uint8_t> p, size_t off) { return p[off] | (uint32_t{p[off + 1]} << 8); }
uint32_t Get32(std::span<const uint8_t> p, size_t off) { return Get16(p, off) | (Get16(p, off + 2) << 16); }

}  // namespace

std::vector<uint8_t> BuildZip(const std::vector<ZipEntry>& entries) {
  std::vector<uint8_t> zip, central;
  for (const ZipEntry& e : entries) {
    uint32_t offset = static_cast<uint32_t>(zip.size());
    // Local header: signature, version needed, flags, method, time, date, crc, sizes, name/extra length.
    Le32(zip, 0x04034b50);
    Le16(zip, 10);
    Le16(zip, e.flags);
    Le16(zip, e.method);
    Le16(zip, 0);
    Le16(zip, 0x21);
    Le32(zip, e.crc);
    Le32(zip, static_cast<uint32_t>(e.packed.size()));
    Le32(zip, e.size);
    Le16(zip, static_cast<uint32_t>(e.name.size()));
    Le16(zip, 0);
    zip.insert(zip.end(), e.name.begin(), e.name.end());
    zip.insert(zip.end(), e.packed.begin(), e.packed.end());

    Le32(central, 0x02014b50);
    Le16(central, 10);
    Le16(central, 10);
    Le16(central, e.flags);
    Le16(central, e.method);
    Le16(central, 0);
    Le16(central, 0x21);
    Le32(central, e.crc);
    Le32(central, static_cast<uint32_t>(e.packed.size()));
    Le32(central, e.size);
    Le16(central, static_cast<uint32_t>(e.name.size()));
    Le16(central, 0);  // extra
    Le16(central, 0);  // comment
    Le16(central, 0);  // disk
    Le16(central, 0);  // internal attributes
    Le32(central, 0);  // external attributes
    Le32(central, offset);
    central.insert(central.end(), e.name.begin(), e.name.end());
  }
  uint32_t cdOffset = static_cast<uint32_t>(zip.size());
  zip.insert(zip.end(), central.begin(), central.end());
  Le32(zip, 0x06054b50);
  Le16(zip, 0);
  Le16(zip, 0);
  Le16(zip, static_cast<uint32_t>(entries.size()));
  Le16(zip, static_cast<uint32_t>(entries.size()));
  Le32(zip, static_cast<uint32_t>(central.size()));
  Le32(zip, cdOffset);
  Le16(zip, 0);
  return zip;
}

std::vector<ZipEntry> ReadZip(std::span<const uint8_t> a) {
  std::vector<ZipEntry> out;
  if (a.size() < 22) return {};
  size_t end = a.size() - 22;
  while (Get32(a, end) != 0x06054b50) {
    if (end == 0) return {};
    --end;
  }
  size_t count = Get16(a, end + 10);
  size_t pos = Get32(a, end + 16);
  for (size_t i = 0; i < count; ++i) {
    if (pos + 46 > a.size() || Get32(a, pos) != 0x02014b50) return {};
    ZipEntry e;
    e.flags = static_cast<uint16_t>(Get16(a, pos + 8));
    e.method = static_cast<uint16_t>(Get16(a, pos + 10));
    e.crc = Get32(a, pos + 16);
    uint32_t packed = Get32(a, pos + 20);
    e.size = Get32(a, pos + 24);
    size_t nameLen = Get16(a, pos + 28), extra = Get16(a, pos + 30), comment = Get16(a, pos + 32);
    size_t local = Get32(a, pos + 42);
    if (pos + 46 + nameLen > a.size()) return {};
    e.name.assign(a.begin() + static_cast<std::ptrdiff_t>(pos + 46),
                  a.begin() + static_cast<std::ptrdiff_t>(pos + 46 + nameLen));
    if (local + 30 > a.size() || Get32(a, local) != 0x04034b50) return {};
    size_t data = local + 30 + Get16(a, local + 26) + Get16(a, local + 28);
    if (data + packed > a.size()) return {};
    e.packed.assign(a.begin() + static_cast<std::ptrdiff_t>(data), a.begin() + static_cast<std::ptrdiff_t>(data + packed));
    out.push_back(std::move(e));
    pos += 46 + nameLen + extra + comment;
  }
  return out;
}

Status DecodeEntry(const ZipEntry& e, std::vector<uint8_t>& out, size_t blockSize) {
  SpanSource in(e.packed, blockSize);
  VectorSink sink(out);
  switch (e.method) {
    case 0:
      out = e.packed;
      return Status::Ok;
    case 1:
      return Unshrink(in, sink, e.size);
    case 2:
    case 3:
    case 4:
    case 5:
      return Unreduce(in, sink, e.method, e.size);
    case 6:
      return Explode(in, sink, e.flags, e.size);
    default:
      return Status::BadData;
  }
}

}  // namespace mx::codec::testenc

namespace mx::codec::testenc {

std::vector<Sample> Corpus() {
  std::vector<Sample> c;
  auto bytes = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  c.push_back({"empty", {}});
  c.push_back({"one", {0x90}});
  c.push_back({"run", std::vector<uint8_t>(5000, 'a')});
  std::string text;
  for (int i = 0; text.size() < 70000; ++i)
    text += "Line " + std::to_string(i % 97) + ": the quick brown fox jumps over the lazy dog \x90\x90 again.\r\n";
  c.push_back({"text", bytes(text)});
  std::vector<uint8_t> noise(40000);
  uint32_t x = 12345;
  for (auto& b : noise) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  c.push_back({"noise", noise});
  // Text with noise bursts: long matches far back, many distinct strings (fills the LZW table).
  std::vector<uint8_t> mixed;
  for (int i = 0; mixed.size() < 200000; ++i) {
    std::string line = "record " + std::to_string(i * 7919 % 100003) + " value=" + std::to_string(i * i % 9973) + ";";
    mixed.insert(mixed.end(), line.begin(), line.end());
    if (i % 50 == 0) mixed.insert(mixed.end(), noise.begin() + i % 1000, noise.begin() + i % 1000 + 300);
  }
  c.push_back({"mixed", mixed});
  return c;
}

std::string FixturePath(const std::string& relative) {
  return mx::test::FixtureDir() + "/" + relative;
}

}  // namespace mx::codec::testenc
