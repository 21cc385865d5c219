#pragma once
// The ciphers of RAR 1.3 to 4.x archives: AES-128-CBC keyed by the SHA-1 derivation of RAR 2.9-4.x, the
// 16-byte block cipher of RAR 2.0, and the byte ciphers of RAR 1.5 and 1.3. A file's packed data are
// decrypted as one stream from its first byte; RarDecryptor keeps the state between pieces.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace mx::codec {

// Key and initial vector of the 2.9-4.x derivation, from the UTF-16 password and an optional 8-byte
// salt: 2^18 rounds of SHA-1 over password, salt and a round counter.
struct RarAesKey {
  uint8_t key[16];
  uint8_t iv[16];
};
RarAesKey DeriveRarAesKey(std::u16string_view password, const uint8_t* salt) noexcept;

// The RAR 2.0 block cipher: a key-dependent substitution table and four 32-bit keys that every block
// updates.
class Rar20Cipher {
 public:
  explicit Rar20Cipher(std::string_view password) noexcept;
  void DecryptBlock(uint8_t block[16]) noexcept;
  void EncryptBlock(uint8_t block[16]) noexcept;

 private:
  void Round(uint32_t& a, uint32_t& b, uint32_t c, uint32_t d, uint32_t k) const noexcept;
  uint32_t Substitute(uint32_t t) const noexcept;
  void UpdateKeys(const uint8_t block[16]) noexcept;
  void Transform(uint8_t block[16], bool decrypt) noexcept;

  uint32_t key_[4];
  uint8_t sub_[256];
};

// The RAR 1.5 byte cipher (four 16-bit keys stepped per byte).
class Rar15Cipher {
 public:
  explicit Rar15Cipher(std::string_view password) noexcept;
  void Crypt(std::span<uint8_t> data) noexcept;  // the same step encrypts and decrypts

 private:
  uint16_t key_[4];
};

// The RAR 1.3 byte cipher (three 8-bit keys).
class Rar13Cipher {
 public:
  explicit Rar13Cipher(std::string_view password) noexcept;
  void Decrypt(std::span<uint8_t> data) noexcept;

 private:
  uint8_t key_[3];
};

// The decryption of one file's packed stream, chosen by the version needed to extract it: 13 the 1.3
// cipher, 15 the 1.5 cipher, 20 and 26 the 2.0 cipher, 29 and later AES. The 8-bit password serves the
// old ciphers and the UTF-16 one AES.
class RarDecryptor {
 public:
  static std::unique_ptr<RarDecryptor> Make(unsigned version, std::string_view password8, std::u16string_view password16,
                                            const uint8_t* salt);
  static std::unique_ptr<RarDecryptor> MakeAes(const RarAesKey& key);
  virtual ~RarDecryptor() = default;
  // 16 for the block ciphers, 1 for the byte ciphers.
  virtual size_t BlockSize() const noexcept = 0;
  // Decrypts data in place; its size is a multiple of BlockSize().
  virtual void Decrypt(std::span<uint8_t> data) noexcept = 0;
};

}  // namespace mx::codec
