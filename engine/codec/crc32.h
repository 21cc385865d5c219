#pragma once
// CRC-32 of ZIP and gzip: the reflected polynomial 0xEDB88320. The register form matches the engine's
// running CRC: start from 0xFFFFFFFF, update over the data, compare the complement with the stored CRC.

#include <cstddef>
#include <cstdint>
#include <span>

namespace mx::codec {

// The 256-entry table of the reflected polynomial (entry 1 is 0x77073096).
const uint32_t* Crc32Table() noexcept;

// One byte step: Table[(crc xor b) and 255] xor (crc shr 8).
inline uint32_t Crc32Step(uint32_t crc, uint8_t b) noexcept { return Crc32Table()[(crc ^ b) & 0xFF] ^ (crc >> 8); }

// Updates the register over data (nothing happens for empty data).
void UpdateCrc32(std::span<const uint8_t> data, uint32_t& crc) noexcept;

// The finished CRC-32 of data: register from 0xFFFFFFFF, complemented.
uint32_t Crc32(std::span<const uint8_t> data) noexcept;

// A running CRC-32.
class Crc32Register {
 public:
  void Update(std::span<const uint8_t> data) noexcept { UpdateCrc32(data, reg_); }
  uint32_t Value() const noexcept { return ~reg_; }
  void Reset() noexcept { reg_ = 0xFFFFFFFFu; }

 private:
  uint32_t reg_ = 0xFFFFFFFFu;
};

}  // namespace mx::codec
