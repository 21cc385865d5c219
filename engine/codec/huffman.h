#pragma once
// Table-driven Huffman decoding shared by the LSB-first decoders.
//
// A code is decoded by indexing a root table with the next rootBits bits of the bit buffer. Codes no
// longer than rootBits resolve there (their entry is repeated for every value of the unused bits);
// longer codes find a link to a sub-table that is indexed by the bits after the root bits.
//
// Entry (32 bits):
//   bits 0..4   bits the whole symbol takes: its code and the extra bits that follow it, so that one
//               shift drops both (a link: 0)
//   bits 8..11  code length, counted from the root (a link: the sub-table's index bits)
//   bits 12..15 kind: HuffLiteral, HuffEnd, HuffLink, HuffInvalid, or none of them for a base entry
//   bits 16..31 value: the symbol's literal or base value, or the sub-table's offset (links)
// A base value and its extra bits come out together as HuffValueWithExtra.
//
// The caller gives each symbol its payload (kind, extra bits and value, without the length); the
// builder adds the lengths and places the entries. Table slots that no code reaches hold HuffInvalid
// entries (which take no bits), so an incomplete code can never lead outside the table.

#include <cstddef>
#include <cstdint>
#include <span>

namespace mx::codec {

inline constexpr uint32_t HuffLiteral = 0x1000;
inline constexpr uint32_t HuffEnd = 0x2000;
inline constexpr uint32_t HuffLink = 0x4000;
inline constexpr uint32_t HuffInvalid = 0x8000;

// The payload of a symbol: kind flags, extra bits and value.
constexpr uint32_t HuffPayload(uint32_t kind, unsigned extraBits, unsigned value) {
  return kind | uint32_t{extraBits} | (uint32_t{value} << 16);
}
// The bits a symbol takes with its extra bits.
inline unsigned HuffTotalBits(uint32_t e) { return e & 31; }
// The bits of the code alone.
inline unsigned HuffCodeBits(uint32_t e) { return (e >> 8) & 15; }
inline unsigned HuffExtraBits(uint32_t e) { return HuffTotalBits(e) - HuffCodeBits(e); }
inline unsigned HuffValue(uint32_t e) { return e >> 16; }
// The value plus the extra bits that follow the code in bits (which must hold the whole symbol).
inline unsigned HuffValueWithExtra(uint32_t e, uint64_t bits) {
  return HuffValue(e) + static_cast<unsigned>((bits & ((uint64_t{1} << HuffTotalBits(e)) - 1)) >> HuffCodeBits(e));
}

enum class HuffmanResult {
  Complete,        // every bit pattern decodes
  Incomplete,      // some bit patterns are unused (their slots are HuffInvalid); the table is usable
  Empty,           // no symbol has a code; every slot is HuffInvalid
  OverSubscribed,  // more codes than the lengths allow; no usable table
  BadLength,       // a length above 15
  TooBig,          // the table would not fit the given capacity (or an incomplete code does not fit)
};

// Longest code length and largest alphabet the builder handles.
inline constexpr unsigned kHuffMaxBits = 15;
inline constexpr size_t kHuffMaxSymbols = 1024;

// Builds the table for the code whose length for symbol i is lengths[i] (0 = unused), with the given
// payload per symbol, into table[0 .. capacity). On success *used is the number of entries filled.
HuffmanResult BuildHuffmanTable(std::span<const uint8_t> lengths, const uint32_t* payload, unsigned rootBits,
                                uint32_t* table, size_t capacity, size_t* used = nullptr) noexcept;

// The entry of the symbol at the low bits of bits (which must hold at least its code), following a
// link into its sub-table.
inline uint32_t HuffLookup(const uint32_t* table, unsigned rootBits, uint64_t bits) noexcept {
  const uint32_t e = table[bits & ((uint64_t{1} << rootBits) - 1)];
  if (!(e & HuffLink)) return e;
  return table[HuffValue(e) + static_cast<uint32_t>((bits >> rootBits) & ((uint64_t{1} << HuffCodeBits(e)) - 1))];
}

// Decodes one symbol, returning its entry; *drop receives the length of its code.
inline uint32_t HuffDecode(const uint32_t* table, unsigned rootBits, uint64_t bits, unsigned* drop) noexcept {
  const uint32_t e = HuffLookup(table, rootBits, bits);
  *drop = HuffCodeBits(e);
  return e;
}

}  // namespace mx::codec
