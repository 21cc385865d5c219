#pragma once
// Traditional ZIP encryption: three 32-bit keys driven by the CRC-32 step, and a 12-byte encryption
// header in front of each entry's data whose last byte checks the password.
//
//   header (12 bytes, enciphered):  +0 ten random bytes | +10 CRC bits 16..23 | +11 check byte
//   check byte: bits 24..31 of the entry's CRC-32, or, for an entry with a data descriptor
//   (general-purpose flag bit 3), the high byte of the entry's 16-bit DOS time.

#include <cstdint>
#include <span>
#include <string_view>

namespace mx::codec {

class ZipCrypto {
 public:
  static constexpr size_t kHeaderSize = 12;
  static constexpr uint16_t kFlagDataDescriptor = 0x0008;

  // Sets the initial keys and runs UpdateKeys over every character of the password (any length).
  void InitKeys(std::string_view password) noexcept;
  void UpdateKeys(uint8_t b) noexcept;
  // The next key-stream byte.
  uint8_t DecryptByte() const noexcept {
    uint32_t t = (key2_ & 0xFFFF) | 2;
    return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
  }
  uint8_t EncryptByte(uint8_t plain) noexcept {
    uint8_t t = DecryptByte();
    UpdateKeys(plain);
    return plain ^ t;
  }
  uint8_t Decrypt(uint8_t cipher) noexcept {
    uint8_t plain = cipher ^ DecryptByte();
    UpdateKeys(plain);
    return plain;
  }
  void Decrypt(std::span<uint8_t> data) noexcept;
  void Encrypt(std::span<uint8_t> data) noexcept;

  // Makes the enciphered 12-byte header for an entry with this CRC-32 from ten random bytes; the keys
  // then stand ready to encipher the entry's data.
  void MakeEncryptionHeader(std::string_view password, uint32_t crc, std::span<const uint8_t, 10> random,
                            std::span<uint8_t, kHeaderSize> header) noexcept;
  // The same with random bytes from a generator seeded once per process from the system.
  void MakeEncryptionHeader(std::string_view password, uint32_t crc, std::span<uint8_t, kHeaderSize> header) noexcept;

  // Checks a password against an entry's enciphered header. An empty password never passes. On true
  // the keys stand ready to decipher the entry's data; the header itself is left unchanged, so the
  // caller can try the next candidate with the same bytes.
  bool CheckPassword(std::span<const uint8_t, kHeaderSize> header, uint16_t flags, std::string_view password,
                     uint16_t dosTime, uint32_t crc) noexcept;

  uint32_t Key0() const noexcept { return key0_; }
  uint32_t Key1() const noexcept { return key1_; }
  uint32_t Key2() const noexcept { return key2_; }

 private:
  uint32_t key0_ = 0x12345678u;
  uint32_t key1_ = 0x23456789u;
  uint32_t key2_ = 0x34567890u;
};

}  // namespace mx::codec
