#include "engine/codec/zipcrypt.h"

#include "engine/codec/crc32.h"

namespace mx::codec {

void ZipCrypto::InitKeys(std::string_view password) noexcept {
  key0_ = 0x12345678u;
  key1_ = 0x23456789u;
  key2_ = 0x34567890u;
  for (char c : password) UpdateKeys(static_cast<uint8_t>(c));
}

void ZipCrypto::UpdateKeys(uint8_t b) noexcept {
  key0_ = Crc32Step(key0_, b);
  key1_ = (key1_ + (key0_ & 0xFF)) * 134775813u + 1;
  key2_ = Crc32Step(key2_, static_cast<uint8_t>(key1_ >> 24));
}

void ZipCrypto::Decrypt(std::span<uint8_t> data) noexcept {
  for (uint8_t& b : data) b = Decrypt(b);
}

void ZipCrypto::Encrypt(std::span<uint8_t> data) noexcept {
  for (uint8_t& b : data) b = EncryptByte(b);
}

void ZipCrypto::MakeEncryptionHeader(std::string_view password, uint32_t crc, std::span<const uint8_t, 10> random,
                                     std::span<uint8_t, kHeaderSize> header) noexcept {
  InitKeys(password);
  for (size_t i = 0; i < 10; ++i) header[i] = EncryptByte(random[i]);
  header[10] = EncryptByte(static_cast<uint8_t>(crc >> 16));
  header[11] = EncryptByte(static_cast<uint8_t>(crc >> 24));
}

bool ZipCrypto::CheckPassword(std::span<const uint8_t, kHeaderSize> header, uint16_t flags, std::string_view password,
                              uint16_t dosTime, uint32_t crc) noexcept {
  if (password.empty()) return false;
  InitKeys(password);
  uint8_t last = 0;
  for (uint8_t b : header) last = Decrypt(b);
  uint8_t expected = (flags & kFlagDataDescriptor) ? static_cast<uint8_t>(dosTime >> 8) : static_cast<uint8_t>(crc >> 24);
  return last == expected;
}

}  // namespace mx::codec
