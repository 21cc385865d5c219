#include "engine/codec/rar_crypt.h"

#include <bit>
#include <cstring>
#include <vector>

#include "engine/codec/aes.h"
#include "engine/codec/crc32.h"
#include "engine/codec/le_bytes.h"
#include "engine/codec/sha1.h"

namespace mx::codec {

namespace {

// Passwords are cut to this many characters, as the archiver does.
constexpr size_t kMaxPassword = 127;



// The initial substitution table of the RAR 2.0 cipher.
constexpr uint8_t kInitSubst[256] = {
    215, 19,  149, 35,  73,  197, 192, 205, 249, 28,  16,  119, 48,  221, 2,   42,  232, 1,   177, 233, 14,  88,
    219, 25,  223, 195, 244, 90,  87,  239, 153, 137, 255, 199, 147, 70,  92,  66,  246, 13,  216, 40,  62,  29,
    217, 230, 86,  6,   71,  24,  171, 196, 101, 113, 218, 123, 93,  91,  163, 178, 202, 67,  44,  235, 107, 250,
    75,  234, 49,  167, 125, 211, 83,  114, 157, 144, 32,  193, 143, 36,  158, 124, 247, 187, 89,  214, 141, 47,
    121, 228, 61,  130, 213, 194, 174, 251, 97,  110, 54,  229, 115, 57,  152, 94,  105, 243, 212, 55,  209, 245,
    63,  11,  164, 200, 31,  156, 81,  176, 227, 21,  76,  99,  139, 188, 127, 17,  248, 51,  207, 120, 189, 210,
    8,   226, 41,  72,  183, 203, 135, 165, 166, 60,  98,  7,   122, 38,  155, 170, 69,  172, 252, 238, 39,  134,
    59,  128, 236, 27,  240, 80,  131, 3,   85,  206, 145, 79,  154, 142, 159, 220, 201, 133, 74,  64,  20,  129,
    224, 185, 138, 103, 173, 182, 43,  34,  254, 82,  198, 151, 231, 180, 58,  10,  118, 26,  102, 12,  50,  132,
    22,  191, 136, 111, 162, 179, 45,  4,   148, 108, 161, 56,  78,  126, 242, 222, 15,  175, 146, 23,  33,  241,
    181, 190, 77,  225, 0,   46,  169, 186, 68,  95,  237, 65,  53,  208, 253, 168, 9,   18,  100, 52,  116, 184,
    160, 96,  109, 37,  30,  106, 140, 104, 150, 5,   204, 117, 112, 84};

std::string_view Cut(std::string_view password) noexcept { return password.substr(0, kMaxPassword); }

class AesStream final : public RarDecryptor {
 public:
  explicit AesStream(const RarAesKey& k) noexcept : cbc_(k.key, k.iv) {}
  size_t BlockSize() const noexcept override { return 16; }
  void Decrypt(std::span<uint8_t> data) noexcept override { cbc_.Decrypt(data); }

 private:
  AesCbcDecryptor cbc_;
};

class Rar20Stream final : public RarDecryptor {
 public:
  explicit Rar20Stream(std::string_view password) noexcept : cipher_(password) {}
  size_t BlockSize() const noexcept override { return 16; }
  void Decrypt(std::span<uint8_t> data) noexcept override {
    for (size_t i = 0; i + 16 <= data.size(); i += 16) cipher_.DecryptBlock(data.data() + i);
  }

 private:
  Rar20Cipher cipher_;
};

class Rar15Stream final : public RarDecryptor {
 public:
  explicit Rar15Stream(std::string_view password) noexcept : cipher_(password) {}
  size_t BlockSize() const noexcept override { return 1; }
  void Decrypt(std::span<uint8_t> data) noexcept override { cipher_.Crypt(data); }

 private:
  Rar15Cipher cipher_;
};

class Rar13Stream final : public RarDecryptor {
 public:
  explicit Rar13Stream(std::string_view password) noexcept : cipher_(password) {}
  size_t BlockSize() const noexcept override { return 1; }
  void Decrypt(std::span<uint8_t> data) noexcept override { cipher_.Decrypt(data); }

 private:
  Rar13Cipher cipher_;
};

}  // namespace

RarAesKey DeriveRarAesKey(std::u16string_view password, const uint8_t* salt) noexcept {
  password = password.substr(0, kMaxPassword);
  // Password as UTF-16LE, then the salt. The buffer is hashed in place round after round, and the
  // derivation's SHA-1 writes into it (Sha1::UpdateRar), so it must stay the same buffer.
  uint8_t raw[2 * kMaxPassword + 8];
  size_t n = 0;
  for (char16_t c : password) {
    raw[n++] = static_cast<uint8_t>(c);
    raw[n++] = static_cast<uint8_t>(c >> 8);
  }
  if (salt) {
    std::memcpy(raw + n, salt, 8);
    n += 8;
  }
  RarAesKey out{};
  Sha1 sha;
  constexpr uint32_t kRounds = 0x40000;
  for (uint32_t i = 0; i < kRounds; ++i) {
    sha.UpdateRar(std::span<uint8_t>(raw, n));
    uint8_t counter[3] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i >> 16)};
    sha.Update(counter);
    if (i % (kRounds / 16) == 0) {
      Sha1 copy = sha;
      out.iv[i / (kRounds / 16)] = copy.Final()[19];
    }
  }
  sha.Final();
  // The first four state words, each stored little-endian.
  for (int k = 0; k < 4; ++k) StoreLe32(out.key + 4 * k, sha.State()[k]);
  return out;
}

Rar20Cipher::Rar20Cipher(std::string_view password) noexcept {
  password = Cut(password);
  const uint32_t* crc = Crc32Table();
  key_[0] = 0xD3A3B879;
  key_[1] = 0x3F6D12F7;
  key_[2] = 0x7515A235;
  key_[3] = 0xA4E7F123;
  std::memcpy(sub_, kInitSubst, sizeof sub_);
  // The password, zero-padded to whole blocks; the byte after it reads as zero.
  uint8_t psw[kMaxPassword + 1 + 16] = {};
  std::memcpy(psw, password.data(), password.size());
  const size_t n = password.size();
  for (uint32_t j = 0; j < 256; ++j) {
    for (size_t i = 0; i < n; i += 2) {
      uint32_t n1 = crc[(psw[i] - j) & 0xFF] & 0xFF;
      const uint32_t n2 = crc[(psw[i + 1] + j) & 0xFF] & 0xFF;
      for (uint32_t k = 1; n1 != n2; n1 = (n1 + 1) & 0xFF, ++k) std::swap(sub_[n1], sub_[(n1 + i + k) & 0xFF]);
    }
  }
  // Encrypting the password blocks updates the keys; the ciphertext is dropped.
  for (size_t i = 0; i < n; i += 16) EncryptBlock(psw + i);
}

uint32_t Rar20Cipher::Substitute(uint32_t t) const noexcept {
  return uint32_t{sub_[t & 0xFF]} | uint32_t{sub_[(t >> 8) & 0xFF]} << 8 | uint32_t{sub_[(t >> 16) & 0xFF]} << 16 |
         uint32_t{sub_[t >> 24]} << 24;
}

void Rar20Cipher::UpdateKeys(const uint8_t block[16]) noexcept {
  const uint32_t* crc = Crc32Table();
  for (int i = 0; i < 16; i += 4) {
    key_[0] ^= crc[block[i]];
    key_[1] ^= crc[block[i + 1]];
    key_[2] ^= crc[block[i + 2]];
    key_[3] ^= crc[block[i + 3]];
  }
}

void Rar20Cipher::Transform(uint8_t block[16], bool decrypt) noexcept {
  uint8_t in[16];
  std::memcpy(in, block, 16);
  uint32_t a = LoadLe32(block) ^ key_[0], b = LoadLe32(block + 4) ^ key_[1], c = LoadLe32(block + 8) ^ key_[2],
           d = LoadLe32(block + 12) ^ key_[3];
  for (int step = 0; step < 32; ++step) {
    const int r = decrypt ? 31 - step : step;
    const uint32_t k = key_[r & 3];
    const uint32_t ta = a ^ Substitute((c + std::rotl(d, 11)) ^ k);
    const uint32_t tb = b ^ Substitute((d ^ std::rotl(c, 17)) + k);
    a = c;
    b = d;
    c = ta;
    d = tb;
  }
  StoreLe32(block, c ^ key_[0]);
  StoreLe32(block + 4, d ^ key_[1]);
  StoreLe32(block + 8, a ^ key_[2]);
  StoreLe32(block + 12, b ^ key_[3]);
  // The keys follow the ciphertext: the input when decrypting, the output when encrypting.
  UpdateKeys(decrypt ? in : block);
}

void Rar20Cipher::DecryptBlock(uint8_t block[16]) noexcept { Transform(block, true); }
void Rar20Cipher::EncryptBlock(uint8_t block[16]) noexcept { Transform(block, false); }

Rar15Cipher::Rar15Cipher(std::string_view password) noexcept {
  password = Cut(password);
  const uint32_t* crc = Crc32Table();
  uint32_t reg = 0xFFFFFFFFu;
  UpdateCrc32(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(password.data()), password.size()), reg);
  key_[0] = static_cast<uint16_t>(reg);
  key_[1] = static_cast<uint16_t>(reg >> 16);
  key_[2] = key_[3] = 0;
  for (char ch : password) {
    const uint8_t p = static_cast<uint8_t>(ch);
    key_[2] = static_cast<uint16_t>(key_[2] ^ p ^ crc[p]);
    key_[3] = static_cast<uint16_t>(key_[3] + p + (crc[p] >> 16));
  }
}

void Rar15Cipher::Crypt(std::span<uint8_t> data) noexcept {
  const uint32_t* crc = Crc32Table();
  for (uint8_t& byte : data) {
    key_[0] = static_cast<uint16_t>(key_[0] + 0x1234);
    const uint32_t t = crc[(key_[0] & 0x1FE) >> 1];
    key_[1] = static_cast<uint16_t>(key_[1] ^ t);
    key_[2] = static_cast<uint16_t>(key_[2] - (t >> 16));
    key_[0] = static_cast<uint16_t>(key_[0] ^ key_[2]);
    key_[3] = static_cast<uint16_t>(std::rotr(key_[3], 1) ^ key_[1]);
    key_[3] = std::rotr(key_[3], 1);
    key_[0] = static_cast<uint16_t>(key_[0] ^ key_[3]);
    byte ^= static_cast<uint8_t>(key_[0] >> 8);
  }
}

Rar13Cipher::Rar13Cipher(std::string_view password) noexcept {
  key_[0] = key_[1] = key_[2] = 0;
  for (char ch : Cut(password)) {
    const uint8_t p = static_cast<uint8_t>(ch);
    key_[0] = static_cast<uint8_t>(key_[0] + p);
    key_[1] ^= p;
    key_[2] = std::rotl(static_cast<uint8_t>(key_[2] + p), 1);
  }
}

void Rar13Cipher::Decrypt(std::span<uint8_t> data) noexcept {
  for (uint8_t& byte : data) {
    key_[1] = static_cast<uint8_t>(key_[1] + key_[2]);
    key_[0] = static_cast<uint8_t>(key_[0] + key_[1]);
    byte = static_cast<uint8_t>(byte - key_[0]);
  }
}

std::unique_ptr<RarDecryptor> RarDecryptor::Make(unsigned version, std::string_view password8,
                                                 std::u16string_view password16, const uint8_t* salt) {
  if (version == 13) return std::make_unique<Rar13Stream>(password8);
  if (version == 15) return std::make_unique<Rar15Stream>(password8);
  if (version == 20 || version == 26) return std::make_unique<Rar20Stream>(password8);
  return MakeAes(DeriveRarAesKey(password16, salt));
}

std::unique_ptr<RarDecryptor> RarDecryptor::MakeAes(const RarAesKey& key) { return std::make_unique<AesStream>(key); }

}  // namespace mx::codec
