#include "engine/codec/crc16.h"

#include <array>

namespace mx::codec {
namespace {

constexpr std::array<uint16_t, 256> MakeTable() {
  std::array<uint16_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
    t[i] = static_cast<uint16_t>(c);
  }
  return t;
}

constexpr std::array<uint16_t, 256> kTable = MakeTable();
static_assert(kTable[1] == 0xC0C1);

}  // namespace

const uint16_t* Crc16Table() noexcept { return kTable.data(); }

void UpdateCrc16(std::span<const uint8_t> data, uint16_t& crc) noexcept {
  uint16_t c = crc;
  for (uint8_t b : data) c = static_cast<uint16_t>(kTable[(c ^ b) & 0xFF] ^ (c >> 8));
  crc = c;
}

uint16_t Crc16(std::span<const uint8_t> data) noexcept {
  uint16_t c = 0;
  UpdateCrc16(data, c);
  return c;
}

}  // namespace mx::codec
