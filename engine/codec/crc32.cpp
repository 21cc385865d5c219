#include "engine/codec/crc32.h"

#include <array>

namespace mx::codec {
namespace {

// Eight tables for slicing by 8: table k gives the CRC of a byte followed by k zero bytes.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    t[0][i] = c;
  }
  for (uint32_t i = 0; i < 256; ++i)
    for (int k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = MakeTables();
static_assert(kTables[0][1] == 0x77073096u);

inline uint32_t Le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

const uint32_t* Crc32Table() noexcept { return kTables[0].data(); }

void UpdateCrc32(std::span<const uint8_t> data, uint32_t& crc) noexcept {
  const uint8_t* p = data.data();
  size_t n = data.size();
  uint32_t c = crc;
  while (n >= 8) {
    uint32_t a = c ^ Le32(p);
    uint32_t b = Le32(p + 4);
    c = kTables[7][a & 0xFF] ^ kTables[6][(a >> 8) & 0xFF] ^ kTables[5][(a >> 16) & 0xFF] ^ kTables[4][a >> 24] ^
        kTables[3][b & 0xFF] ^ kTables[2][(b >> 8) & 0xFF] ^ kTables[1][(b >> 16) & 0xFF] ^ kTables[0][b >> 24];
    p += 8;
    n -= 8;
  }
  while (n--) c = kTables[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  crc = c;
}

uint32_t Crc32(std::span<const uint8_t> data) noexcept {
  uint32_t c = 0xFFFFFFFFu;
  UpdateCrc32(data, c);
  return ~c;
}

}  // namespace mx::codec
