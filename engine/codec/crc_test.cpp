// CRC-32 against zlib's crc32, CRC-16 against a bitwise reference, on random blocks.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string_view>
#include <vector>

#include "engine/codec/crc16.h"
#include "engine/codec/crc32.h"

namespace mx::codec {
namespace {

std::span<const uint8_t> Bytes(std::string_view s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

uint16_t ReferenceCrc16(std::span<const uint8_t> data, uint16_t crc) {
  for (uint8_t b : data) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
  }
  return crc;
}

TEST(Crc, KnownValues) {
  EXPECT_EQ(Crc32(Bytes("abc")), 0x352441C2u);
  EXPECT_EQ(Crc16(Bytes("abc")), 0x9738u);
  EXPECT_EQ(Crc32Table()[1], 0x77073096u);
  EXPECT_EQ(Crc16Table()[1], 0xC0C1u);
  EXPECT_EQ(Crc32({}), 0u);
  uint32_t reg = 0x12345678;
  UpdateCrc32({}, reg);
  EXPECT_EQ(reg, 0x12345678u);
}

TEST(Crc, MatchesReferencesOnRandomBlocks) {
  std::mt19937 rng(7);
  std::vector<uint8_t> data(70000);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  for (int round = 0; round < 300; ++round) {
    size_t off = rng() % 64;  // unaligned starts
    size_t len = round < 40 ? static_cast<size_t>(round) : rng() % (data.size() - off);
    std::span<const uint8_t> block(data.data() + off, len);
    ASSERT_EQ(Crc32(block), crc32(0, block.data(), static_cast<uInt>(len))) << "len " << len;
    ASSERT_EQ(Crc16(block), ReferenceCrc16(block, 0)) << "len " << len;
  }
}

TEST(Crc, RunningRegistersAcrossPieces) {
  std::mt19937 rng(11);
  std::vector<uint8_t> data(10000);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  Crc32Register reg32;
  uint16_t reg16 = 0;
  for (size_t pos = 0; pos < data.size();) {
    size_t n = std::min<size_t>(rng() % 300, data.size() - pos);
    reg32.Update({data.data() + pos, n});
    UpdateCrc16({data.data() + pos, n}, reg16);
    pos += n;
  }
  EXPECT_EQ(reg32.Value(), crc32(0, data.data(), static_cast<uInt>(data.size())));
  EXPECT_EQ(reg16, ReferenceCrc16(data, 0));
  // The byte step agrees with the block update.
  uint32_t a = 0xFFFFFFFFu, b = 0xFFFFFFFFu;
  for (uint8_t x : data) a = Crc32Step(a, x);
  UpdateCrc32(data, b);
  EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace mx::codec
