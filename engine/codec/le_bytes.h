#pragma once
// Little-endian 32-bit loads and stores on byte buffers, for the codecs and ciphers.

#include <cstdint>

namespace mx::codec {

inline uint32_t LoadLe32(const uint8_t* p) noexcept {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline void StoreLe32(uint8_t* p, uint32_t v) noexcept {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace mx::codec
