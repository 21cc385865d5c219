#pragma once
// Table-driven Huffman decoding shared by the LSB-first decoders.
//
// A code is decoded by indexing a root table with the next rootBits bits of the bit buffer. Codes no
// longer than rootBits resolve there (their entry is repeated for every value of the unused bits);
// longer codes find a link to a sub-table that is indexed by the bits after the root bits.
//
// Entry (32 bits):
//   bits 0..3   bits to drop: the code length (less rootBits inside a sub-table); rootBits for a link
//   bits 4..7   extra bits that follow the code (base entries), or the sub-table's index bits (links)
//   bits 8..11  kind: HuffLiteral, HuffEnd, HuffLink, HuffInvalid, or none of them for a base entry
//   bits 16..31 value: the symbol's literal or base value, or the sub-table's offset (links)
//
// The caller gives each symbol its payload (kind, extra bits and value, without the length); the
// builder adds the lengths and places the entries. Table slots that no code reaches hold HuffInvalid
// entries, so an incomplete code can never lead outside the table.

#include <cstddef>
#include <cstdint>
#include <span>

namespace mx::codec {

inline constexpr uint32_t HuffLiteral = 0x100;
inline constexpr uint32_t HuffEnd = 0x200;
inline constexpr uint32_t HuffLink = 0x400;
inline constexpr uint32_t HuffInvalid = 0x800;

// The payload of a symbol: kind flags, extra bits and value.
constexpr uint32_t HuffPayload(uint32_t kind, unsigned extraBits, unsigned value) {
  return kind | (uint32_t{extraBits} << 4) | (uint32_t{value} << 16);
}
inline unsigned HuffDropBits(uint32_t e) { return e & 15; }
inline unsigned HuffExtraBits(uint32_t e) { return (e >> 4) & 15; }
inline unsigned HuffValue(uint32_t e) { return e >> 16; }

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

// Decodes one symbol from the low bits of bits (which must hold at least the code's length), returning
// its entry; *drop receives the number of bits the code takes.
inline uint32_t HuffDecode(const uint32_t* table, unsigned rootBits, uint64_t bits, unsigned* drop) noexcept {
  uint32_t e = table[bits & ((uint64_t{1} << rootBits) - 1)];
  if (e & HuffLink) {
    unsigned root = HuffDropBits(e);
    uint32_t sub = HuffValue(e) + static_cast<uint32_t>((bits >> root) & ((uint64_t{1} << HuffExtraBits(e)) - 1));
    e = table[sub];
    *drop = root + HuffDropBits(e);
    return e;
  }
  *drop = HuffDropBits(e);
  return e;
}

}  // namespace mx::codec
