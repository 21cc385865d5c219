#pragma once
// Canonical Huffman decoding of the RAR 2.0 and 2.9-4.x streams: codes are read MSB-first, shorter
// codes first and, within a length, in symbol order. A code of up to kQuickBits bits resolves through
// one table lookup; longer ones through the left-aligned limit of each length. Incomplete codes are
// legal; a bit pattern that no code has decodes to kInvalid.

#include <cstdint>

#include "engine/codec/rar_input.h"

namespace mx::codec::rar {

class HuffDecoder {
 public:
  static constexpr unsigned kMaxSymbols = 300;  // the largest alphabet, RAR 2.9's 299 main symbols
  static constexpr unsigned kInvalid = 0xFFFF;

  // Builds the code of lengths[0 .. count) (each 0..15, 0 = unused). False for an over-subscribed
  // code, which no real stream has; the decoder is then empty.
  bool Build(const uint8_t* lengths, unsigned count) noexcept;

  unsigned Decode(BitInput& in) const noexcept {
    const uint32_t bf = in.Peek16();
    if (bf < quickLimit_) {
      const uint16_t e = quick_[bf >> (16 - quickBits_)];
      in.Drop(e & 15);
      return e >> 4;
    }
    return DecodeLong(in, bf & 0xFFFE);
  }

 private:
  static constexpr unsigned kQuickBitsMax = 10;
  unsigned DecodeLong(BitInput& in, uint32_t bf) const noexcept;

  uint32_t limit_[16] = {};  // limit_[n]: codes of length <= n, left-aligned in 16 bits, lie below it
  uint16_t first_[16] = {};  // index in sorted_ of the first symbol of length n
  uint16_t sorted_[kMaxSymbols] = {};
  uint32_t quickLimit_ = 0;
  unsigned quickBits_ = 1;
  uint16_t quick_[1u << kQuickBitsMax] = {};  // symbol << 4 | length
};

}  // namespace mx::codec::rar
