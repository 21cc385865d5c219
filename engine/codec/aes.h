#pragma once
// AES-128 (FIPS-197) block cipher and CBC-mode decryption, portable and table-driven. The tables are
// computed at compile time from the field arithmetic.

#include <cstddef>
#include <cstdint>
#include <span>

namespace mx::codec {

class Aes128 {
 public:
  static constexpr size_t kBlock = 16;

  explicit Aes128(const uint8_t key[16]) noexcept;
  void EncryptBlock(const uint8_t in[16], uint8_t out[16]) const noexcept;
  void DecryptBlock(const uint8_t in[16], uint8_t out[16]) const noexcept;

 private:
  uint32_t enc_[44];  // the expanded key, one word per column
  uint32_t dec_[44];  // the decryption schedule: round keys reversed, inner ones through InvMixColumns
};

// CBC decryption that keeps its chain between calls, so that a stream can be fed in pieces whose
// sizes are multiples of the block size.
class AesCbcDecryptor {
 public:
  AesCbcDecryptor(const uint8_t key[16], const uint8_t iv[16]) noexcept;
  // Decrypts data in place; its size must be a multiple of 16.
  void Decrypt(std::span<uint8_t> data) noexcept;

 private:
  Aes128 aes_;
  uint8_t chain_[16];
};

}  // namespace mx::codec
