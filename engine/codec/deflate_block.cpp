#include "engine/codec/deflate_block.h"

#include <algorithm>

namespace mx::codec {

using namespace deflate_tables;

namespace {

constexpr int kStoredBlock = 0;
constexpr int kStaticTrees = 1;
constexpr int kDynTrees = 2;

// A leaf's sort key: its frequency above its symbol, so that equal frequencies keep symbol order.
// A block holds fewer than 2^15 symbols, and no alphabet has more than 2^9 of them.
constexpr unsigned kSymbolBits = 9;
static_assert(kLCodes <= (1 << kSymbolBits));

}  // namespace

DeflateBlock::DeflateBlock(DeflateBitWriter& out) noexcept : out_(out) { ClearSymbols(); }

void DeflateBlock::Reset(int level) noexcept {
  level_ = level;
  emittedAny_ = false;
  ClearSymbols();
}

void DeflateBlock::ClearSymbols() noexcept {
  lfreq_.fill(0);
  dfreq_.fill(0);
  count_ = 0;
  matches_ = 0;
}

bool DeflateBlock::MostlyLiteralsAndSmall(int64_t inLength) const noexcept {
  // Estimated size of the block so far: 8 bits per symbol plus about 5 bits and the extra bits per
  // distance.
  int64_t outLength = int64_t{count_} * 8;
  for (int d = 0; d < kDCodes; ++d) outLength += int64_t{dfreq_[d]} * (5 + kExtraDBits[d]);
  outLength >>= 3;
  return matches_ < count_ / 2 && outLength < inLength / 2;
}

// Sets the code lengths of the tree whose nodes order_[orderStart_..] lists from the root down,
// limiting them to kind.maxLength, and adds the block's size under these lengths (and under the
// static ones) to optLen_ and staticLen_.
void DeflateBlock::GenBitLengths(Tree& t, const TreeKind& kind) noexcept {
  const int maxCode = t.maxCode;
  int overflow = 0;
  blCount_.fill(0);

  t.len[order_[orderStart_]] = 0;  // the root
  int h = orderStart_ + 1;
  for (; h < kHeapSize; ++h) {
    const int n = order_[h];
    int bits = t.len[t.dad[n]] + 1;
    if (bits > kind.maxLength) {
      bits = kind.maxLength;
      ++overflow;
    }
    t.len[n] = static_cast<uint8_t>(bits);
    if (n > maxCode) continue;  // not a leaf
    ++blCount_[bits];
    int xbits = 0;
    if (n >= kind.extraBase) xbits = kind.extraBits[n - kind.extraBase];
    const int64_t f = t.freq[n];
    optLen_ += f * (bits + xbits);
    if (kind.staticLen) staticLen_ += f * (kind.staticLen[n] + xbits);
  }
  if (overflow == 0) return;

  // Some leaves were cut to maxLength. Move leaves down from the deepest level that has room until
  // the code is complete again, then give the lengths back to the leaves in frequency order.
  do {
    int bits = kind.maxLength - 1;
    while (blCount_[bits] == 0) --bits;
    --blCount_[bits];
    blCount_[bits + 1] += 2;
    --blCount_[kind.maxLength];
    overflow -= 2;
  } while (overflow > 0);

  for (int bits = kind.maxLength; bits != 0; --bits) {
    int n = blCount_[bits];
    while (n != 0) {
      const int m = order_[--h];
      if (m > maxCode) continue;
      if (t.len[m] != bits) {
        optLen_ += (int64_t{bits} - t.len[m]) * t.freq[m];
        t.len[m] = static_cast<uint8_t>(bits);
      }
      --n;
    }
  }
}

void DeflateBlock::GenCodes(Tree& t, int maxCode) noexcept {
  std::array<unsigned, kMaxBits + 1> next{};
  unsigned code = 0;
  for (int bits = 1; bits <= kMaxBits; ++bits) {
    code = (code + static_cast<unsigned>(blCount_[bits - 1])) << 1;
    next[bits] = code;
  }
  for (int n = 0; n <= maxCode; ++n) {
    const int len = t.len[n];
    if (len == 0) continue;
    t.code[n] = ReverseBits(next[len]++, len);
  }
}

// Huffman's construction with two queues: the leaves sorted by frequency, and the inner nodes, which
// are made in order of frequency too, so the next node to join is always at the front of one of
// them (a leaf first on equal frequencies, which keeps the tree flat). Each node joined goes into
// order_ from the top down, so order_[orderStart_..] ends up listing the root and then every node in
// order of falling frequency, parents before their children.
void DeflateBlock::BuildTree(Tree& t, const TreeKind& kind) noexcept {
  std::array<uint32_t, kLCodes> leaves;
  int count = 0;
  int maxCode = -1;
  for (int n = 0; n < kind.elems; ++n) {
    if (t.freq[n] != 0) {
      leaves[count++] = (t.freq[n] << kSymbolBits) | static_cast<uint32_t>(n);
      maxCode = n;
    } else {
      t.len[n] = 0;
    }
  }
  // A valid code needs at least two codes: add dummy ones of frequency 1.
  while (count < 2) {
    const int node = maxCode < 2 ? ++maxCode : 0;
    t.freq[node] = 1;
    leaves[count++] = (1u << kSymbolBits) | static_cast<uint32_t>(node);
    --optLen_;
    if (kind.staticLen) staticLen_ -= kind.staticLen[node];
  }
  t.maxCode = maxCode;
  std::sort(leaves.begin(), leaves.begin() + count);

  int leaf = 0;            // next leaf to join
  int inner = kind.elems;  // next inner node to join
  int node = kind.elems;   // next inner node to make
  const auto next = [&]() -> int {
    if (leaf < count && (inner == node || (leaves[leaf] >> kSymbolBits) <= t.freq[inner]))
      return static_cast<int>(leaves[leaf++] & ((1u << kSymbolBits) - 1));
    return inner++;
  };
  orderStart_ = kHeapSize;
  do {
    const int n = next();
    const int m = next();
    order_[--orderStart_] = n;
    order_[--orderStart_] = m;
    t.freq[node] = t.freq[n] + t.freq[m];
    t.dad[n] = t.dad[m] = static_cast<uint16_t>(node);
    ++node;
  } while ((count - leaf) + (node - inner) >= 2);
  order_[--orderStart_] = node - 1;  // the root

  GenBitLengths(t, kind);
  GenCodes(t, maxCode);
}

// Counts the code-length symbols (with the repeat codes) that SendTree will send for t.
void DeflateBlock::ScanTree(const Tree& t, int maxCode) noexcept {
  int prevlen = -1;
  int nextlen = t.len[0];
  int count = 0;
  int maxCount = 7;
  int minCount = 4;
  if (nextlen == 0) maxCount = 138, minCount = 3;
  for (int n = 0; n <= maxCode; ++n) {
    const int curlen = nextlen;
    nextlen = n < maxCode ? t.len[n + 1] : 0xFFFF;
    if (++count < maxCount && curlen == nextlen) continue;
    if (count < minCount) {
      bltree_.freq[curlen] += count;
    } else if (curlen != 0) {
      if (curlen != prevlen) ++bltree_.freq[curlen];
      ++bltree_.freq[kRep3To6];
    } else if (count <= 10) {
      ++bltree_.freq[kRepZ3To10];
    } else {
      ++bltree_.freq[kRepZ11To138];
    }
    count = 0;
    prevlen = curlen;
    if (nextlen == 0) {
      maxCount = 138, minCount = 3;
    } else if (curlen == nextlen) {
      maxCount = 6, minCount = 3;
    } else {
      maxCount = 7, minCount = 4;
    }
  }
}

void DeflateBlock::SendTree(const Tree& t, int maxCode) noexcept {
  auto send = [&](int sym) { out_.Put(bltree_.code[sym], bltree_.len[sym]); };
  int prevlen = -1;
  int nextlen = t.len[0];
  int count = 0;
  int maxCount = 7;
  int minCount = 4;
  if (nextlen == 0) maxCount = 138, minCount = 3;
  for (int n = 0; n <= maxCode; ++n) {
    const int curlen = nextlen;
    nextlen = n < maxCode ? t.len[n + 1] : 0xFFFF;
    if (++count < maxCount && curlen == nextlen) continue;
    if (count < minCount) {
      do send(curlen);
      while (--count != 0);
    } else if (curlen != 0) {
      if (curlen != prevlen) {
        send(curlen);
        --count;
      }
      send(kRep3To6);
      out_.Put(static_cast<uint32_t>(count - 3), 2);
    } else if (count <= 10) {
      send(kRepZ3To10);
      out_.Put(static_cast<uint32_t>(count - 3), 3);
    } else {
      send(kRepZ11To138);
      out_.Put(static_cast<uint32_t>(count - 11), 7);
    }
    count = 0;
    prevlen = curlen;
    if (nextlen == 0) {
      maxCount = 138, minCount = 3;
    } else if (curlen == nextlen) {
      maxCount = 6, minCount = 3;
    } else {
      maxCount = 7, minCount = 4;
    }
  }
}

// Builds the code-length tree over both trees' lengths; returns the index in kBlOrder of the last
// code-length code that must be sent (at least 3, so at least 4 codes go out).
int DeflateBlock::BuildBlTree() noexcept {
  bltree_.freq.fill(0);
  ScanTree(ltree_, ltree_.maxCode);
  ScanTree(dtree_, dtree_.maxCode);
  static constexpr TreeKind kBl = {nullptr, kExtraBlBits.data(), 0, kBlCodes, kMaxBlBits};
  BuildTree(bltree_, kBl);
  int maxBlIndex = kBlCodes - 1;
  for (; maxBlIndex >= 3; --maxBlIndex) {
    if (bltree_.len[kBlOrder[maxBlIndex]] != 0) break;
  }
  optLen_ += 3 * (int64_t{maxBlIndex} + 1) + 5 + 5 + 4;
  return maxBlIndex;
}

void DeflateBlock::SendAllTrees(int lcodes, int dcodes, int blcodes) noexcept {
  out_.Put(static_cast<uint32_t>(lcodes - 257), 5);
  out_.Put(static_cast<uint32_t>(dcodes - 1), 5);
  out_.Put(static_cast<uint32_t>(blcodes - 4), 4);
  for (int rank = 0; rank < blcodes; ++rank) out_.Put(bltree_.len[kBlOrder[rank]], 3);
  SendTree(ltree_, lcodes - 1);
  SendTree(dtree_, dcodes - 1);
}

void DeflateBlock::CompressBlock(const uint16_t* lcode, const uint8_t* llen, const uint16_t* dcode,
                                 const uint8_t* dlen) noexcept {
  // Each match length (0..255) goes out as its length code followed by its extra bits, joined into
  // one value of at most 15 + 5 bits the first time the length occurs in the block (a count of 0
  // marks one not joined yet: a used code is at least one bit long).
  std::array<uint32_t, 256> lenBits;
  std::array<uint8_t, 256> lenCount{};
  for (unsigned i = 0; i < count_; ++i) {
    const unsigned lc = lc_[i];
    const unsigned dist = dist_[i];
    if (dist == 0) {
      out_.Put(lcode[lc], llen[lc]);
      continue;
    }
    if (lenCount[lc] == 0) {
      const unsigned code = kLength.code[lc];
      const unsigned sym = code + kLiterals + 1;
      lenBits[lc] = lcode[sym] | ((lc - kLength.base[code]) << llen[sym]);
      lenCount[lc] = static_cast<uint8_t>(llen[sym] + kExtraLBits[code]);
    }
    out_.Put(lenBits[lc], lenCount[lc]);
    const unsigned d = dist - 1;
    const unsigned code = DistCode(d);
    out_.Put(dcode[code] | ((d - kDistance.base[code]) << dlen[code]), dlen[code] + kExtraDBits[code]);
  }
  out_.Put(lcode[kEndBlock], llen[kEndBlock]);
}

bool DeflateBlock::Emit(const uint8_t* data, uint64_t storedLen, bool last) noexcept {
  static constexpr TreeKind kL = {kStatic.ltreeLen.data(), kExtraLBits.data(), kLiterals + 1, kLCodes, kMaxBits};
  static constexpr TreeKind kD = {kStatic.dtreeLen.data(), kExtraDBits.data(), 0, kDCodes, kMaxBits};

  std::copy(lfreq_.begin(), lfreq_.end(), ltree_.freq.begin());
  std::copy(dfreq_.begin(), dfreq_.end(), dtree_.freq.begin());
  ltree_.freq[kEndBlock] = 1;
  optLen_ = 0;
  staticLen_ = 0;

  BuildTree(ltree_, kL);
  BuildTree(dtree_, kD);
  const int maxBlIndex = BuildBlTree();

  uint64_t optBytes = static_cast<uint64_t>(optLen_ + 3 + 7) >> 3;
  const uint64_t staticBytes = static_cast<uint64_t>(staticLen_ + 3 + 7) >> 3;
  if (staticBytes <= optBytes) optBytes = staticBytes;

  bool wholeStored = false;
  if (storedLen <= optBytes && last && !emittedAny_ && data) {
    // The entry does not compress: its bytes go out as they are, without a block header.
    out_.PutBytes(std::span<const uint8_t>(data, storedLen));
    wholeStored = true;
  } else if (storedLen + 4 <= optBytes && data && storedLen <= 0xFFFF) {
    out_.Put((kStoredBlock << 1) + (last ? 1 : 0), 3);
    out_.AlignToByte();
    const auto len = static_cast<uint16_t>(storedLen);
    out_.Put(len, 16);
    out_.Put(static_cast<uint16_t>(~len), 16);
    out_.AlignToByte();
    out_.PutBytes(std::span<const uint8_t>(data, storedLen));
  } else if (staticBytes == optBytes) {
    out_.Put((kStaticTrees << 1) + (last ? 1 : 0), 3);
    CompressBlock(kStatic.ltreeCode.data(), kStatic.ltreeLen.data(), kStatic.dtreeCode.data(),
                  kStatic.dtreeLen.data());
  } else {
    out_.Put((kDynTrees << 1) + (last ? 1 : 0), 3);
    SendAllTrees(ltree_.maxCode + 1, dtree_.maxCode + 1, maxBlIndex + 1);
    CompressBlock(ltree_.code.data(), ltree_.len.data(), dtree_.code.data(), dtree_.len.data());
  }
  emittedAny_ = true;
  ClearSymbols();
  if (last) {
    out_.AlignToByte();
    out_.Drain();
  }
  return wholeStored;
}

}  // namespace mx::codec
