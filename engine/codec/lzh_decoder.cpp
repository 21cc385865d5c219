#include "engine/codec/lzh_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace mx::codec {

void LzhBitReader::Refill() noexcept {
  while (count_ <= 56) {
    uint8_t b = 0;
    if (pos_ < block_.size()) {
      b = block_[pos_++];
    } else {
      while (!ended_) {
        std::span<const uint8_t> next;
        Status st = in_.Read(next);
        if (st != Status::Ok) {
          ended_ = true;
          if (st != Status::End) failure_ = st;
          break;
        }
        if (!next.empty()) {
          block_ = next;
          pos_ = 0;
          break;
        }
      }
      if (pos_ < block_.size()) {
        b = block_[pos_++];
      } else {
        ++padding_;
      }
    }
    buf_ |= uint64_t{b} << (56 - count_);
    count_ += 8;
  }
}

namespace {

constexpr int kNC = 510;  // literals and match lengths 3..256
constexpr int kNT = 19;   // pre-code symbols
constexpr int kTBit = 5;  // width of the pre-code count
constexpr int kCBit = 9;  // width of the literal/length count
constexpr int kNPMax = 20;

// One canonical code with a direct lookup of tableBits and a link tree for longer codes.
template <int N, int TableBits>
struct HuffTable {
  std::array<uint8_t, N> len{};
  std::array<uint16_t, size_t{1} << TableBits> table{};
  std::array<uint16_t, 2 * N> left{}, right{};
  int n = N;  // symbols in use

  // Every code decodes to symbol with no bits.
  void SetSingle(int symbol) {
    std::fill(len.begin(), len.end(), uint8_t{0});
    std::fill(table.begin(), table.end(), static_cast<uint16_t>(symbol));
  }

  // Builds the lookup from len[0..n). False when the lengths are not a complete prefix code.
  bool Build(int count) {
    n = count;
    uint32_t bitCount[17] = {};
    for (int i = 0; i < n; ++i) {
      if (len[size_t(i)] > 16) return false;
      ++bitCount[len[size_t(i)]];
    }
    uint32_t start[18] = {};
    for (int i = 1; i <= 16; ++i) start[i + 1] = start[i] + (bitCount[i] << (16 - i));
    if (start[17] != (1u << 16)) return false;
    const int jut = 16 - TableBits;
    uint32_t weight[17] = {};
    for (int i = 1; i <= TableBits; ++i) {
      start[i] >>= jut;
      weight[i] = 1u << (TableBits - i);
    }
    for (int i = TableBits + 1; i <= 16; ++i) weight[i] = 1u << (16 - i);
    uint32_t fillFrom = start[TableBits + 1] >> jut;
    for (uint32_t i = fillFrom; i < table.size(); ++i) table[i] = 0;
    int avail = n;
    const uint32_t mask = 1u << (15 - TableBits);
    for (int ch = 0; ch < n; ++ch) {
      const int l = len[size_t(ch)];
      if (l == 0) continue;
      const uint32_t next = start[l] + weight[l];
      if (l <= TableBits) {
        if (next > table.size()) return false;
        for (uint32_t i = start[l]; i < next; ++i) table[i] = static_cast<uint16_t>(ch);
      } else {
        uint32_t k = start[l];
        uint16_t* p = &table[k >> jut];
        for (int i = l - TableBits; i > 0; --i) {
          if (*p == 0) {
            if (avail >= 2 * N) return false;
            left[size_t(avail)] = right[size_t(avail)] = 0;
            *p = static_cast<uint16_t>(avail++);
          } else if (*p < n) {
            return false;  // a shorter code already owns this prefix
          }
          p = (k & mask) ? &right[*p] : &left[*p];
          k <<= 1;
        }
        *p = static_cast<uint16_t>(ch);
      }
      start[l] = next;
    }
    return true;
  }

  // Decodes one symbol and consumes its bits.
  int Decode(LzhBitReader& bits) const {
    const uint32_t b16 = bits.Peek(16);
    int c = table[b16 >> (16 - TableBits)];
    uint32_t mask = 1u << (15 - TableBits);
    while (c >= n) {
      if (mask == 0) return -1;
      c = (b16 & mask) ? right[size_t(c)] : left[size_t(c)];
      mask >>= 1;
    }
    bits.Drop(len[size_t(c)]);
    return c;
  }
};

struct Tables {
  HuffTable<kNC, 12> c;
  HuffTable<kNPMax, 8> pt;  // the pre-code, then the position code
};

// Reads pre-code or position lengths: count width nbit, nn symbols, a zero run after index special.
bool ReadPtLen(LzhBitReader& bits, HuffTable<kNPMax, 8>& pt, int nn, int nbit, int special) {
  const int n = static_cast<int>(bits.Get(unsigned(nbit)));
  if (n == 0) {
    const int c = static_cast<int>(bits.Get(unsigned(nbit)));
    if (c >= nn) return false;
    pt.n = nn;
    pt.SetSingle(c);
    return true;
  }
  if (n > nn) return false;
  int i = 0;
  while (i < n) {
    const uint32_t b16 = bits.Peek(16);
    int c = static_cast<int>(b16 >> 13);
    if (c == 7) {
      uint32_t mask = 1u << 12;
      while (mask & b16) {
        mask >>= 1;
        ++c;
      }
      if (c > 16) return false;
    }
    bits.Drop(c < 7 ? 3 : unsigned(c - 3));
    pt.len[size_t(i++)] = static_cast<uint8_t>(c);
    if (i == special) {
      const int zeros = static_cast<int>(bits.Get(2));
      if (i + zeros > nn) return false;
      for (int z = 0; z < zeros; ++z) pt.len[size_t(i++)] = 0;
    }
  }
  while (i < kNPMax) pt.len[size_t(i++)] = 0;
  return pt.Build(nn);
}

bool ReadCLen(LzhBitReader& bits, Tables& t) {
  const int n = static_cast<int>(bits.Get(kCBit));
  if (n == 0) {
    const int c = static_cast<int>(bits.Get(kCBit));
    if (c >= kNC) return false;
    t.c.n = kNC;
    t.c.SetSingle(c);
    return true;
  }
  if (n > kNC) return false;
  int i = 0;
  while (i < n) {
    int c = t.pt.Decode(bits);
    if (c < 0) return false;
    if (c <= 2) {
      int zeros = 1;
      if (c == 1)
        zeros = static_cast<int>(bits.Get(4)) + 3;
      else if (c == 2)
        zeros = static_cast<int>(bits.Get(kCBit)) + 20;
      if (i + zeros > kNC) return false;
      for (int z = 0; z < zeros; ++z) t.c.len[size_t(i++)] = 0;
    } else {
      t.c.len[size_t(i++)] = static_cast<uint8_t>(c - 2);
    }
  }
  while (i < kNC) t.c.len[size_t(i++)] = 0;
  return t.c.Build(kNC);
}

}  // namespace

Status LzhDecode(ByteSource& in, ByteSink& out, const LzhParams& params, uint64_t outSize) noexcept {
  if (outSize == 0) return Status::Ok;
  const int np = params.dictBits + 1;
  const uint32_t w = params.window;
  if (np > kNPMax - 1 || params.pBits == 0 || params.pBits > 5 || w < 257) return Status::BadData;

  std::unique_ptr<Tables> t(new (std::nothrow) Tables);
  std::unique_ptr<uint8_t[]> window(new (std::nothrow) uint8_t[w]);
  if (!t || !window) return Status::NoMemory;
  std::memset(window.get(), 0, w);

  LzhBitReader bits(in);
  uint32_t pos = 0;
  uint64_t count = 0;
  uint32_t blockLeft = 0;

  auto flush = [&](uint32_t n) -> Status {
    return n ? out.Write(std::span<const uint8_t>(window.get(), n)) : Status::Ok;
  };

  while (count < outSize) {
    if (bits.Failure() != Status::Ok) return bits.Failure();
    if (bits.Overrun()) {
      Status st = flush(pos);
      return st == Status::Ok ? Status::Truncated : st;
    }
    if (blockLeft == 0) {
      blockLeft = bits.Get(16);
      if (blockLeft == 0) {
        Status st = flush(pos);
        return st == Status::Ok ? Status::Truncated : st;
      }
      if (!ReadPtLen(bits, t->pt, kNT, kTBit, 3) || !ReadCLen(bits, *t) ||
          !ReadPtLen(bits, t->pt, np, params.pBits, -1)) {
        flush(pos);
        return Status::BadData;
      }
    }
    --blockLeft;
    bits.Refill();
    const int c = t->c.Decode(bits);
    if (c < 0) {
      flush(pos);
      return Status::BadData;
    }
    if (c < 256) {
      window[pos++] = static_cast<uint8_t>(c);
      ++count;
      if (pos == w) {
        if (Status st = flush(w); st != Status::Ok) return st;
        pos = 0;
      }
      continue;
    }
    uint64_t len = static_cast<uint32_t>(c - 253);
    int j = t->pt.Decode(bits);
    if (j < 0) {
      flush(pos);
      return Status::BadData;
    }
    uint32_t d = static_cast<uint32_t>(j);
    if (j > 1) d = (1u << (j - 1)) + bits.Get(unsigned(j - 1));
    if (d >= w) {
      flush(pos);
      return Status::BadData;
    }
    len = std::min<uint64_t>(len, outSize - count);
    count += len;
    uint32_t src = pos >= d + 1 ? pos - d - 1 : pos + w - d - 1;
    if (src < pos && pos + len < w) {
      // Neither end of the window is touched: a plain forward copy (overlap repeats bytes).
      uint8_t* dst = window.get() + pos;
      const uint8_t* from = window.get() + src;
      for (uint64_t i = 0; i < len; ++i) dst[i] = from[i];
      pos += static_cast<uint32_t>(len);
      continue;
    }
    for (uint64_t i = 0; i < len; ++i) {
      window[pos++] = window[src++];
      if (src == w) src = 0;
      if (pos == w) {
        if (Status st = flush(w); st != Status::Ok) return st;
        pos = 0;
      }
    }
  }
  return flush(pos);
}

}  // namespace mx::codec
