#pragma once
// Length and distance slot tables shared by the RAR 2.0 and 2.9-4.x decoders.

#include <cstdint>

namespace mx::codec::rar {

inline constexpr uint8_t kLenBase[28] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 14, 16, 20,
                                          24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
inline constexpr uint8_t kLenBits[28] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
inline constexpr uint8_t kShortDistBase[8] = {0, 4, 8, 16, 32, 64, 128, 192};
inline constexpr uint8_t kShortDistBits[8] = {2, 2, 3, 4, 5, 6, 6, 6};

// Distance slots of RAR 2.9-4.x: 4 slots of 0 extra bits, two each of 1..15, 14 of 16 and 12 of 18.
// The first 48 are also RAR 2.0's slots.
struct DistSlots {
  uint32_t base[60];
  uint8_t bits[60];
};

constexpr DistSlots MakeDistSlots() {
  DistSlots s{};
  constexpr uint8_t kPerBits[19] = {4, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 14, 0, 12};
  uint32_t base = 0;
  unsigned slot = 0;
  for (unsigned bits = 0; bits < 19; ++bits) {
    for (unsigned k = 0; k < kPerBits[bits]; ++k, ++slot) {
      s.base[slot] = base;
      s.bits[slot] = static_cast<uint8_t>(bits);
      base += 1u << bits;
    }
  }
  return s;
}

inline constexpr DistSlots kDistSlots = MakeDistSlots();

}  // namespace mx::codec::rar
