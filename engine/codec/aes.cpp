#include "engine/codec/aes.h"

#include <array>
#include <bit>
#include <cstring>

#include "engine/codec/le_bytes.h"

namespace mx::codec {

namespace {

constexpr uint8_t XTime(uint8_t x) { return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

constexpr uint8_t GfMul(uint8_t a, uint8_t b) {
  uint8_t r = 0;
  while (b) {
    if (b & 1) r ^= a;
    a = XTime(a);
    b >>= 1;
  }
  return r;
}

// The S-box: the multiplicative inverse in GF(2^8) (through powers of the generator 3) followed by
// the affine map.
constexpr std::array<uint8_t, 256> MakeSbox() {
  std::array<uint8_t, 256> exp{}, log{};
  uint8_t x = 1;
  for (int i = 0; i < 255; ++i) {
    exp[i] = x;
    log[x] = static_cast<uint8_t>(i);
    x = static_cast<uint8_t>(x ^ XTime(x));  // x * 3
  }
  std::array<uint8_t, 256> s{};
  for (int v = 0; v < 256; ++v) {
    const uint8_t inv = v == 0 ? 0 : exp[(255 - log[v]) % 255];
    uint8_t out = inv;
    for (int k = 1; k < 5; ++k) out ^= static_cast<uint8_t>((inv << k) | (inv >> (8 - k)));
    s[v] = out ^ 0x63;
  }
  return s;
}

constexpr std::array<uint8_t, 256> kSbox = MakeSbox();

constexpr std::array<uint8_t, 256> MakeInvSbox() {
  std::array<uint8_t, 256> s{};
  for (int x = 0; x < 256; ++x) s[kSbox[x]] = static_cast<uint8_t>(x);
  return s;
}

constexpr std::array<uint8_t, 256> kInvSbox = MakeInvSbox();

// Round tables: column j of MixColumns (or InvMixColumns) applied to a substituted byte, as a
// little-endian word whose byte r is row r. The other three tables are byte rotations of these.
constexpr std::array<uint32_t, 256> MakeEncTable() {
  std::array<uint32_t, 256> t{};
  for (int x = 0; x < 256; ++x) {
    const uint8_t s = kSbox[x];
    t[x] = uint32_t{GfMul(s, 2)} | uint32_t{s} << 8 | uint32_t{s} << 16 | uint32_t{GfMul(s, 3)} << 24;
  }
  return t;
}

constexpr std::array<uint32_t, 256> MakeDecTable() {
  std::array<uint32_t, 256> t{};
  for (int x = 0; x < 256; ++x) {
    const uint8_t s = kInvSbox[x];
    t[x] = uint32_t{GfMul(s, 14)} | uint32_t{GfMul(s, 9)} << 8 | uint32_t{GfMul(s, 13)} << 16 |
           uint32_t{GfMul(s, 11)} << 24;
  }
  return t;
}

constexpr std::array<uint32_t, 256> kEnc = MakeEncTable();
constexpr std::array<uint32_t, 256> kDec = MakeDecTable();



uint32_t SubWord(uint32_t w) noexcept {
  return uint32_t{kSbox[w & 0xFF]} | uint32_t{kSbox[(w >> 8) & 0xFF]} << 8 | uint32_t{kSbox[(w >> 16) & 0xFF]} << 16 |
         uint32_t{kSbox[w >> 24]} << 24;
}

// InvMixColumns of one column word (through the decryption table of the forward S-box value).
uint32_t InvMixColumn(uint32_t w) noexcept {
  return kDec[kSbox[w & 0xFF]] ^ std::rotl(kDec[kSbox[(w >> 8) & 0xFF]], 8) ^
         std::rotl(kDec[kSbox[(w >> 16) & 0xFF]], 16) ^ std::rotl(kDec[kSbox[w >> 24]], 24);
}

}  // namespace

// State words are columns, little-endian: byte r of word c is row r of column c.
Aes128::Aes128(const uint8_t key[16]) noexcept {
  for (int i = 0; i < 4; ++i) enc_[i] = LoadLe32(key + 4 * i);
  uint8_t rcon = 1;
  for (int i = 4; i < 44; ++i) {
    uint32_t t = enc_[i - 1];
    if (i % 4 == 0) {
      t = SubWord(std::rotr(t, 8)) ^ rcon;
      rcon = XTime(rcon);
    }
    enc_[i] = enc_[i - 4] ^ t;
  }
  // The equivalent inverse cipher: round keys in reverse order, the middle ones through InvMixColumns.
  for (int r = 0; r <= 10; ++r) {
    for (int c = 0; c < 4; ++c) {
      const uint32_t w = enc_[4 * (10 - r) + c];
      dec_[4 * r + c] = (r == 0 || r == 10) ? w : InvMixColumn(w);
    }
  }
}

void Aes128::EncryptBlock(const uint8_t in[16], uint8_t out[16]) const noexcept {
  uint32_t s[4], t[4];
  for (int c = 0; c < 4; ++c) s[c] = LoadLe32(in + 4 * c) ^ enc_[c];
  for (int r = 1; r < 10; ++r) {
    // Row k of the new column c comes from column c + k (ShiftRows).
    for (int c = 0; c < 4; ++c) {
      t[c] = kEnc[s[c] & 0xFF] ^ std::rotl(kEnc[(s[(c + 1) & 3] >> 8) & 0xFF], 8) ^
             std::rotl(kEnc[(s[(c + 2) & 3] >> 16) & 0xFF], 16) ^ std::rotl(kEnc[s[(c + 3) & 3] >> 24], 24) ^
             enc_[4 * r + c];
    }
    std::memcpy(s, t, sizeof s);
  }
  for (int c = 0; c < 4; ++c) {
    const uint32_t v = uint32_t{kSbox[s[c] & 0xFF]} | uint32_t{kSbox[(s[(c + 1) & 3] >> 8) & 0xFF]} << 8 |
                       uint32_t{kSbox[(s[(c + 2) & 3] >> 16) & 0xFF]} << 16 |
                       uint32_t{kSbox[s[(c + 3) & 3] >> 24]} << 24;
    StoreLe32(out + 4 * c, v ^ enc_[40 + c]);
  }
}

void Aes128::DecryptBlock(const uint8_t in[16], uint8_t out[16]) const noexcept {
  uint32_t s[4], t[4];
  for (int c = 0; c < 4; ++c) s[c] = LoadLe32(in + 4 * c) ^ dec_[c];
  for (int r = 1; r < 10; ++r) {
    // InvShiftRows: row k of the new column c comes from column c - k.
    for (int c = 0; c < 4; ++c) {
      t[c] = kDec[s[c] & 0xFF] ^ std::rotl(kDec[(s[(c + 3) & 3] >> 8) & 0xFF], 8) ^
             std::rotl(kDec[(s[(c + 2) & 3] >> 16) & 0xFF], 16) ^ std::rotl(kDec[s[(c + 1) & 3] >> 24], 24) ^
             dec_[4 * r + c];
    }
    std::memcpy(s, t, sizeof s);
  }
  for (int c = 0; c < 4; ++c) {
    const uint32_t v = uint32_t{kInvSbox[s[c] & 0xFF]} | uint32_t{kInvSbox[(s[(c + 3) & 3] >> 8) & 0xFF]} << 8 |
                       uint32_t{kInvSbox[(s[(c + 2) & 3] >> 16) & 0xFF]} << 16 |
                       uint32_t{kInvSbox[s[(c + 1) & 3] >> 24]} << 24;
    StoreLe32(out + 4 * c, v ^ dec_[40 + c]);
  }
}

AesCbcDecryptor::AesCbcDecryptor(const uint8_t key[16], const uint8_t iv[16]) noexcept : aes_(key) {
  std::memcpy(chain_, iv, 16);
}

void AesCbcDecryptor::Decrypt(std::span<uint8_t> data) noexcept {
  uint8_t plain[16];
  for (size_t i = 0; i + 16 <= data.size(); i += 16) {
    uint8_t* block = data.data() + i;
    aes_.DecryptBlock(block, plain);
    for (int k = 0; k < 16; ++k) plain[k] ^= chain_[k];
    std::memcpy(chain_, block, 16);
    std::memcpy(block, plain, 16);
  }
}

}  // namespace mx::codec
