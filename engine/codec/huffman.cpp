#include "engine/codec/huffman.h"

namespace mx::codec {

// Canonical code construction: codes are assigned in order of (length, symbol); since the bit reader
// hands out bits lowest first, each code is used bit-reversed as a table index. The loop walks the
// codes with a bit-reversed counter so that codes sharing a root prefix arrive together and each
// sub-table is opened once, sized by the codes still to come.
HuffmanResult BuildHuffmanTable(std::span<const uint8_t> lengths, const uint32_t* payload, unsigned rootBits,
                                uint32_t* table, size_t capacity, size_t* used) noexcept {
  const size_t rootSize = size_t{1} << rootBits;
  if (rootBits == 0 || rootBits > kHuffMaxBits || capacity < rootSize) return HuffmanResult::TooBig;
  if (lengths.size() > kHuffMaxSymbols) return HuffmanResult::TooBig;

  unsigned count[kHuffMaxBits + 1] = {};
  for (uint8_t len : lengths) {
    if (len > kHuffMaxBits) return HuffmanResult::BadLength;
    ++count[len];
  }
  for (size_t i = 0; i < rootSize; ++i) table[i] = HuffInvalid;
  if (used) *used = rootSize;

  unsigned max = kHuffMaxBits;
  while (max >= 1 && count[max] == 0) --max;
  if (max == 0) return HuffmanResult::Empty;
  unsigned min = 1;
  while (count[min] == 0) ++min;

  int left = 1;
  for (unsigned len = 1; len <= kHuffMaxBits; ++len) {
    left <<= 1;
    left -= static_cast<int>(count[len]);
    if (left < 0) return HuffmanResult::OverSubscribed;
  }

  // Symbols sorted by length, then by value.
  unsigned offs[kHuffMaxBits + 2] = {};
  for (unsigned len = 1; len <= kHuffMaxBits; ++len) offs[len + 1] = offs[len] + count[len];
  uint16_t sorted[kHuffMaxSymbols];
  for (size_t sym = 0; sym < lengths.size(); ++sym)
    if (lengths[sym] != 0) sorted[offs[lengths[sym]]++] = static_cast<uint16_t>(sym);

  const unsigned root = rootBits;
  const unsigned mask = static_cast<unsigned>(rootSize - 1);
  unsigned huff = 0;       // current code, bit-reversed
  unsigned len = min;      // its length
  unsigned drop = 0;       // bits resolved by the root table once inside sub-tables
  unsigned curr = root;    // index bits of the current (sub-)table
  unsigned low = ~0u;      // root index of the current sub-table
  size_t next = 0;         // offset of the current (sub-)table
  size_t total = rootSize;
  size_t i = 0;

  for (;;) {
    // Sub-table entries count their length from the root too: the bits dropped are the whole code's.
    const uint32_t here = payload[sorted[i]] + len + (len << 8);
    unsigned incr = 1u << (len - drop);
    unsigned fill = 1u << curr;
    // Entries land at (huff >> drop) + k * incr below 2^curr as long as the code fits the table's
    // index bits. That holds for every complete code; an incomplete one with long codes may outgrow
    // the sub-table sized for it, and is refused.
    if (len - drop > curr) return HuffmanResult::TooBig;
    do {
      fill -= incr;
      table[next + (huff >> drop) + fill] = here;
    } while (fill != 0);

    // Next code in bit-reversed counting.
    incr = 1u << (len - 1);
    while (huff & incr) incr >>= 1;
    if (incr != 0) {
      huff &= incr - 1;
      huff += incr;
    } else {
      huff = 0;
    }

    ++i;
    if (--count[len] == 0) {
      if (len == max) break;
      len = lengths[sorted[i]];
    }

    if (len > root && (huff & mask) != low) {
      if (drop == 0) drop = root;
      next += size_t{1} << curr;
      // Size the sub-table by the codes left: grow while they do not fill it.
      curr = len - drop;
      int room = 1 << curr;
      while (curr + drop < max) {
        room -= static_cast<int>(count[curr + drop]);
        if (room <= 0) break;
        ++curr;
        room <<= 1;
      }
      const size_t size = size_t{1} << curr;
      total += size;
      if (total > capacity || next > 0xFFFF) return HuffmanResult::TooBig;
      for (size_t k = 0; k < size; ++k) table[next + k] = HuffInvalid;
      low = huff & mask;
      table[low] = HuffLink | (curr << 8) | (static_cast<uint32_t>(next) << 16);
    }
  }
  if (used) *used = total;
  return left == 0 ? HuffmanResult::Complete : HuffmanResult::Incomplete;
}

}  // namespace mx::codec
