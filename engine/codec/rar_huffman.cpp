#include "engine/codec/rar_huffman.h"

namespace mx::codec::rar {

bool HuffDecoder::Build(const uint8_t* lengths, unsigned count) noexcept {
  unsigned lenCount[16] = {};
  for (unsigned i = 0; i < count; ++i) ++lenCount[lengths[i] & 15];
  lenCount[0] = 0;
  // Kraft sum in units of 2^-15: more than one whole means over-subscribed.
  uint32_t kraft = 0;
  for (unsigned n = 1; n <= 15; ++n) kraft += lenCount[n] << (15 - n);
  quickLimit_ = 0;
  if (kraft > (1u << 15)) {
    for (auto& l : limit_) l = 0;
    return false;
  }
  uint32_t acc = 0;
  limit_[0] = 0;
  first_[0] = 0;
  for (unsigned n = 1; n <= 15; ++n) {
    acc += lenCount[n];
    limit_[n] = acc << (16 - n);
    acc <<= 1;
    first_[n] = static_cast<uint16_t>(first_[n - 1] + lenCount[n - 1]);
  }
  uint16_t next[16];
  for (unsigned n = 0; n < 16; ++n) next[n] = first_[n];
  for (unsigned i = 0; i < count; ++i) {
    const unsigned n = lengths[i] & 15;
    if (n) sorted_[next[n]++] = static_cast<uint16_t>(i);
  }
  // Small alphabets get a small lookup table: it is rebuilt with every table block.
  quickBits_ = count > 64 ? kQuickBitsMax : 7;
  quickLimit_ = limit_[quickBits_];
  const uint32_t entries = quickLimit_ >> (16 - quickBits_);
  unsigned n = 1;
  for (uint32_t q = 0; q < entries; ++q) {
    const uint32_t bf = q << (16 - quickBits_);
    while (bf >= limit_[n]) ++n;
    const unsigned sym = sorted_[first_[n] + ((bf - limit_[n - 1]) >> (16 - n))];
    quick_[q] = static_cast<uint16_t>(sym << 4 | n);
  }
  return true;
}

unsigned HuffDecoder::DecodeLong(BitInput& in, uint32_t bf) const noexcept {
  unsigned n = quickBits_ + 1;
  while (n <= 15 && bf >= limit_[n]) ++n;
  if (n > 15) return kInvalid;
  in.Drop(n);
  return sorted_[first_[n] + ((bf - limit_[n - 1]) >> (16 - n))];
}

}  // namespace mx::codec::rar
