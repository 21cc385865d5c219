#pragma once
// CRC-16 of ARC, LHA and ZOO: the reflected polynomial 0xA001, register started from 0 and compared
// as is (no complement).

#include <cstdint>
#include <span>

namespace mx::codec {

// The 256-entry table (entry 1 is 0xC0C1).
const uint16_t* Crc16Table() noexcept;

// Updates the register over data: crc := Table[(crc xor b) and 255] xor (crc shr 8) per byte.
void UpdateCrc16(std::span<const uint8_t> data, uint16_t& crc) noexcept;

// The CRC-16 of data from a register of 0.
uint16_t Crc16(std::span<const uint8_t> data) noexcept;

}  // namespace mx::codec
