#include "engine/codec/huffman.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace mx::codec {

namespace {

// A build for size (the self-extractor stub) counts and sorts the symbols in one pass and builds
// every code the general way; the others split the counting four ways and build complete codes by
// doubling.
#if defined(__OPTIMIZE_SIZE__)
constexpr bool kForSpeed = false;
#else
constexpr bool kForSpeed = true;
#endif

// Canonical codes are assigned in order of (length, symbol); since the bit reader hands out bits
// lowest first, each code is used bit-reversed as a table index. Both builders below walk the codes
// with a bit-reversed counter.

// The next code of the same length in bit-reversed counting: the highest 0 bit below length is set
// and the bits above it are cleared. An all-ones huff stays as it is.
inline unsigned NextReversed(unsigned huff, unsigned len) {
  const unsigned bit = std::bit_floor(huff ^ ((1u << len) - 1));
  return (huff & (bit - 1)) | bit;
}

// Opens a sub-table for the codes that share the root prefix of huff, sized by the codes still to
// come (count holds those left per length): it grows while they do not fill it. Returns its index
// bits; next and total move past it. False when it does not fit.
bool OpenSubTable(const unsigned* count, unsigned len, unsigned root, unsigned max, size_t capacity, unsigned& curr,
                  size_t& next, size_t& total) {
  next += size_t{1} << curr;
  curr = len - root;
  int room = 1 << curr;
  while (curr + root < max) {
    room -= static_cast<int>(count[curr + root]);
    if (room <= 0) break;
    ++curr;
    room <<= 1;
  }
  total += size_t{1} << curr;
  return total <= capacity && next <= 0xFFFF;
}

// Any code: every slot starts invalid, each code's entries are spread over the slots its unused
// high bits select, and codes longer than the root bits go to sub-tables. Used for the codes that
// are not complete (rare in real data), whose unused slots must stay invalid.
HuffmanResult BuildAnyCode(std::span<const uint8_t> lengths, const uint16_t* sorted, unsigned* count, unsigned min,
                           unsigned max, int left, const uint32_t* payload, unsigned root, uint32_t* table,
                           size_t capacity, size_t* used) noexcept {
  const size_t rootSize = size_t{1} << root;
  const unsigned mask = static_cast<unsigned>(rootSize - 1);
  for (size_t i = 0; i < rootSize; ++i) table[i] = HuffInvalid;
  unsigned huff = 0;     // current code, bit-reversed
  unsigned len = min;    // its length
  unsigned drop = 0;     // bits resolved by the root table once inside sub-tables
  unsigned curr = root;  // index bits of the current (sub-)table
  unsigned low = ~0u;    // root index of the current sub-table
  size_t next = 0;       // offset of the current (sub-)table
  size_t total = rootSize;
  size_t i = 0;
  for (;;) {
    // Sub-table entries count their length from the root too: the bits dropped are the whole code's.
    const uint32_t here = payload[sorted[i]] + len + (len << 8);
    // Entries land at (huff >> drop) + k * incr below 2^curr as long as the code fits the table's
    // index bits. An incomplete code with long codes may outgrow the sub-table sized for it, and is
    // refused.
    if (len - drop > curr) return HuffmanResult::TooBig;
    const unsigned incr = 1u << (len - drop);
    unsigned fill = 1u << curr;
    do {
      fill -= incr;
      table[next + (huff >> drop) + fill] = here;
    } while (fill != 0);

    // Incomplete codes may end without an all-ones code: the plain counter wraps to 0 then.
    unsigned step = 1u << (len - 1);
    while (huff & step) step >>= 1;
    huff = step != 0 ? (huff & (step - 1)) + step : 0;

    ++i;
    if (--count[len] == 0) {
      if (len == max) break;
      len = lengths[sorted[i]];
    }
    if (len > root && (huff & mask) != low) {
      drop = root;
      if (!OpenSubTable(count, len, root, max, capacity, curr, next, total)) return HuffmanResult::TooBig;
      for (size_t k = 0; k < (size_t{1} << curr); ++k) table[next + k] = HuffInvalid;
      low = huff & mask;
      table[low] = HuffLink | (curr << 8) | (static_cast<uint32_t>(next) << 16);
    }
  }
  if (used) *used = total;
  return left == 0 ? HuffmanResult::Complete : HuffmanResult::Incomplete;
}

// A complete code whose shortest code fits the root: every slot is reached, so nothing is filled in
// advance. The root is built length by length in its first 2^len slots; moving on to the next length
// doubles the filled part by copying it, which places each shorter code's entry in every slot its
// unused high bits select. Codes longer than the root go to sub-tables, which they fill exactly.
HuffmanResult BuildCompleteCode(std::span<const uint8_t> lengths, const uint16_t* sorted, unsigned* count,
                                unsigned min, unsigned max, const uint32_t* payload, unsigned root, uint32_t* table,
                                size_t capacity, size_t* used) noexcept {
  const size_t rootSize = size_t{1} << root;
  unsigned huff = 0;
  unsigned len = min;
  size_t filled = size_t{1} << len;
  size_t i = 0;
  for (;;) {
    for (unsigned n = count[len]; n != 0; --n) {
      table[huff] = payload[sorted[i++]] + len + (len << 8);
      if (huff == (1u << len) - 1) {
        // The all-ones code is the last one of a complete code.
        for (; filled < rootSize; filled <<= 1) std::memcpy(table + filled, table, filled * sizeof *table);
        if (used) *used = rootSize;
        return HuffmanResult::Complete;
      }
      huff = NextReversed(huff, len);
    }
    do {
      if (++len > root) break;
      std::memcpy(table + filled, table, filled * sizeof *table);
      filled <<= 1;
    } while (count[len] == 0);
    if (len > root) break;
  }

  // The rest are longer than the root bits. Appending zeros to a bit-reversed code changes nothing,
  // so huff already is the first of them.
  while (count[len] == 0) ++len;
  const unsigned mask = static_cast<unsigned>(rootSize - 1);
  unsigned curr = root;
  unsigned low = ~0u;
  size_t next = 0;
  size_t total = rootSize;
  for (;;) {
    if ((huff & mask) != low) {
      if (!OpenSubTable(count, len, root, max, capacity, curr, next, total)) return HuffmanResult::TooBig;
      low = huff & mask;
      table[low] = HuffLink | (curr << 8) | (static_cast<uint32_t>(next) << 16);
    }
    const uint32_t here = payload[sorted[i++]] + len + (len << 8);
    const unsigned incr = 1u << (len - root);
    unsigned fill = 1u << curr;
    do {
      fill -= incr;
      table[next + (huff >> root) + fill] = here;
    } while (fill != 0);
    // (After the all-ones code, the last one, the counter stays as it is.)
    huff = NextReversed(huff, len);
    if (--count[len] == 0) {
      if (len == max) break;
      len = lengths[sorted[i]];
    }
  }
  if (used) *used = total;
  return HuffmanResult::Complete;
}

}  // namespace

HuffmanResult BuildHuffmanTable(std::span<const uint8_t> lengths, const uint32_t* payload, unsigned rootBits,
                                uint32_t* table, size_t capacity, size_t* used) noexcept {
  const size_t rootSize = size_t{1} << rootBits;
  if (rootBits == 0 || rootBits > kHuffMaxBits || capacity < rootSize) return HuffmanResult::TooBig;
  if (lengths.size() > kHuffMaxSymbols) return HuffmanResult::TooBig;
  if (!lengths.empty() && *std::max_element(lengths.begin(), lengths.end()) > kHuffMaxBits)
    return HuffmanResult::BadLength;

  // The symbols in four quarters, each with its own counters and, below, its own cursors: a run of
  // equal lengths would otherwise make every step wait for the previous one's counter.
  constexpr unsigned kWays = kForSpeed ? 4 : 1;
  const size_t n = lengths.size();
  const size_t quarter = (n + kWays - 1) / kWays;
  unsigned part[kWays][kHuffMaxBits + 1] = {};
  for (size_t s = 0; s < quarter; ++s)
    for (unsigned w = 0; w < kWays; ++w)
      if (s + w * quarter < n) ++part[w][lengths[s + w * quarter]];
  unsigned count[kHuffMaxBits + 1];
  for (unsigned len = 0; len <= kHuffMaxBits; ++len) {
    count[len] = 0;
    for (unsigned w = 0; w < kWays; ++w) count[len] += part[w][len];
  }

  unsigned max = kHuffMaxBits;
  while (max >= 1 && count[max] == 0) --max;
  if (max == 0) {
    for (size_t i = 0; i < rootSize; ++i) table[i] = HuffInvalid;
    if (used) *used = rootSize;
    return HuffmanResult::Empty;
  }
  unsigned min = 1;
  while (count[min] == 0) ++min;

  int left = 1;
  for (unsigned len = 1; len <= kHuffMaxBits; ++len) {
    left <<= 1;
    left -= static_cast<int>(count[len]);
    if (left < 0) return HuffmanResult::OverSubscribed;
  }

  // Symbols sorted by length, then by value; the unused ones (length 0) first, so that placing a
  // symbol needs no test. Each quarter starts where the earlier quarters' symbols of the same
  // length end.
  uint16_t all[kHuffMaxSymbols];
  unsigned cursor[kWays][kHuffMaxBits + 1];
  for (unsigned len = 0, at = 0; len <= kHuffMaxBits; ++len)
    for (unsigned w = 0; w < kWays; ++w) {
      cursor[w][len] = at;
      at += part[w][len];
    }
  for (size_t s = 0; s < quarter; ++s)
    for (unsigned w = 0; w < kWays; ++w)
      if (s + w * quarter < n) all[cursor[w][lengths[s + w * quarter]]++] = static_cast<uint16_t>(s + w * quarter);
  const uint16_t* const sorted = all + count[0];

  if (kForSpeed && left == 0 && min <= rootBits)
    return BuildCompleteCode(lengths, sorted, count, min, max, payload, rootBits, table, capacity, used);
  return BuildAnyCode(lengths, sorted, count, min, max, left, payload, rootBits, table, capacity, used);
}

}  // namespace mx::codec
