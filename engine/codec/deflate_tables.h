#pragma once
// Fixed tables of the deflate format (RFC 1951) used by the compressor: extra bits and base values of
// the length and distance codes, the maps from a match length or distance to its code, the order in
// which the code-length code lengths are sent, and the static literal/length and distance trees.
// Everything is computed at compile time from the format's rules, so no table is typed in by hand
// beyond the extra-bit counts and the transmission order.

#include <array>
#include <cstdint>

namespace mx::codec::deflate_tables {

inline constexpr int kMaxBits = 15;      // longest literal/length or distance code
inline constexpr int kMaxBlBits = 7;     // longest code-length code
inline constexpr int kLiterals = 256;
inline constexpr int kEndBlock = 256;
inline constexpr int kLengthCodes = 29;
inline constexpr int kLCodes = kLiterals + 1 + kLengthCodes;  // 286 literal/length codes
inline constexpr int kDCodes = 30;
inline constexpr int kBlCodes = 19;
inline constexpr int kHeapSize = 2 * kLCodes + 1;  // leaves and inner nodes of the largest tree

// Code-length alphabet: repeat the previous length 3-6 times, repeat zero 3-10 and 11-138 times.
inline constexpr int kRep3To6 = 16;
inline constexpr int kRepZ3To10 = 17;
inline constexpr int kRepZ11To138 = 18;

inline constexpr std::array<uint8_t, kLengthCodes> kExtraLBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
inline constexpr std::array<uint8_t, kDCodes> kExtraDBits = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
inline constexpr std::array<uint8_t, kBlCodes> kExtraBlBits = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                               0, 0, 0, 0, 0, 0, 2, 3, 7};
inline constexpr std::array<uint8_t, kBlCodes> kBlOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                           11, 4,  12, 3, 13, 2, 14, 1, 15};

// Every byte with its bits in reverse order.
constexpr std::array<uint8_t, 256> MakeByteReversal() {
  std::array<uint8_t, 256> t{};
  for (unsigned b = 0; b < 256; ++b) {
    unsigned r = 0;
    for (int i = 0; i < 8; ++i) r |= ((b >> i) & 1) << (7 - i);
    t[b] = static_cast<uint8_t>(r);
  }
  return t;
}
inline constexpr std::array<uint8_t, 256> kByteReversal = MakeByteReversal();

// Reverses the low len bits (len <= 16) of code: deflate sends Huffman codes from their top bit down,
// and the bit writer packs from the lowest bit up.
constexpr uint16_t ReverseBits(unsigned code, int len) {
  const unsigned r16 = (unsigned{kByteReversal[code & 0xFF]} << 8) | kByteReversal[(code >> 8) & 0xFF];
  return static_cast<uint16_t>(r16 >> (16 - len));
}

struct LengthTables {
  std::array<uint8_t, 256> code{};  // match length - 3 -> length code 0..28
  std::array<uint16_t, kLengthCodes> base{};
};

constexpr LengthTables MakeLengthTables() {
  LengthTables t;
  int length = 0;
  int code = 0;
  for (; code < kLengthCodes - 1; ++code) {
    t.base[code] = static_cast<uint16_t>(length);
    for (int n = 0; n < (1 << kExtraLBits[code]); ++n) t.code[length++] = static_cast<uint8_t>(code);
  }
  // Length 258 (255 here) has its own code 28 without extra bits, although code 27 could also
  // express it; the last slot is overwritten so that the shorter code is used.
  t.code[length - 1] = static_cast<uint8_t>(code);
  t.base[code] = 255;
  return t;
}

struct DistanceTables {
  std::array<uint8_t, 512> code{};  // distance - 1: the first 256 directly, the rest by (d >> 7) + 256
  std::array<uint16_t, kDCodes> base{};
};

constexpr DistanceTables MakeDistanceTables() {
  DistanceTables t;
  int dist = 0;
  int code = 0;
  for (; code < 16; ++code) {
    t.base[code] = static_cast<uint16_t>(dist);
    for (int n = 0; n < (1 << kExtraDBits[code]); ++n) t.code[dist++] = static_cast<uint8_t>(code);
  }
  dist >>= 7;
  for (; code < kDCodes; ++code) {
    t.base[code] = static_cast<uint16_t>(dist << 7);
    for (int n = 0; n < (1 << (kExtraDBits[code] - 7)); ++n) t.code[256 + dist++] = static_cast<uint8_t>(code);
  }
  return t;
}

inline constexpr LengthTables kLength = MakeLengthTables();
inline constexpr DistanceTables kDistance = MakeDistanceTables();

// Distance code of a distance - 1 (0..32767).
constexpr unsigned DistCode(unsigned distMinus1) {
  return distMinus1 < 256 ? kDistance.code[distMinus1] : kDistance.code[256 + (distMinus1 >> 7)];
}

struct StaticTree {
  std::array<uint16_t, 288> ltreeCode{};
  std::array<uint8_t, 288> ltreeLen{};
  std::array<uint16_t, kDCodes> dtreeCode{};
  std::array<uint8_t, kDCodes> dtreeLen{};
};

constexpr StaticTree MakeStaticTree() {
  StaticTree t;
  std::array<int, kMaxBits + 1> count{};
  for (int n = 0; n < 288; ++n) {
    int len = n <= 143 ? 8 : n <= 255 ? 9 : n <= 279 ? 7 : 8;
    t.ltreeLen[n] = static_cast<uint8_t>(len);
    ++count[len];
  }
  std::array<int, kMaxBits + 1> next{};
  int code = 0;
  for (int bits = 1; bits <= kMaxBits; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next[bits] = code;
  }
  for (int n = 0; n < 288; ++n) t.ltreeCode[n] = ReverseBits(next[t.ltreeLen[n]]++, t.ltreeLen[n]);
  for (int n = 0; n < kDCodes; ++n) {
    t.dtreeLen[n] = 5;
    t.dtreeCode[n] = ReverseBits(n, 5);
  }
  return t;
}

inline constexpr StaticTree kStatic = MakeStaticTree();

}  // namespace mx::codec::deflate_tables
