// SHA-1 against the FIPS 180 examples, AES-128 against FIPS-197 and SP 800-38A, the SHA-1 update form
// of the RAR key derivation against an independent message schedule, and the RAR 2.0 / 1.5 ciphers
// against their own encryption.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/codec/aes.h"
#include "engine/codec/rar_crypt.h"
#include "engine/codec/sha1.h"

namespace mx::codec {
namespace {

std::vector<uint8_t> Hex(std::string_view hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return out;
}

std::string ToHex(std::span<const uint8_t> bytes) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

std::span<const uint8_t> Bytes(std::string_view s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

TEST(Sha1, Fips180Examples) {
  struct Case {
    std::string message;
    const char* digest;
  };
  const Case cases[] = {
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.substr(0, 20));
    EXPECT_EQ(ToHex(Sha1::Hash(Bytes(c.message))), c.digest);
    // Fed in uneven pieces, across block boundaries.
    Sha1 s;
    for (size_t at = 0, step = 1; at < c.message.size(); at += step, step = step * 3 % 97 + 1)
      s.Update(Bytes(std::string_view(c.message).substr(at, step)));
    EXPECT_EQ(ToHex(s.Final()), c.digest);
  }
}

// The schedule words 64..79 of one block, computed on their own.
std::vector<uint8_t> ScheduleTail(const uint8_t* block) {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) w[t] = uint32_t{block[4 * t]} << 24 | uint32_t{block[4 * t + 1]} << 16 | uint32_t{block[4 * t + 2]} << 8 | block[4 * t + 3];
  for (int t = 16; t < 80; ++t) w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  std::vector<uint8_t> out;
  for (int t = 64; t < 80; ++t)
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(w[t] >> (8 * k)));
  return out;
}

TEST(Sha1, RarUpdateWritesBackTheScheduleOfDirectBlocks) {
  std::mt19937 rng(3);
  std::vector<uint8_t> data(200);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  // 10 bytes buffered first: the block that completes the buffer is not written back; the two full
  // blocks taken from data at offsets 54 and 118 are; the tail is buffered.
  std::vector<uint8_t> changed = data;
  Sha1 plain, rar;
  plain.Update(std::span(data.data(), 10));
  rar.UpdateRar(std::span(changed.data(), 10));
  plain.Update(std::span(data.data() + 10, 190));
  rar.UpdateRar(std::span(changed.data() + 10, 190));
  EXPECT_EQ(plain.Final(), rar.Final());  // the digest itself is unchanged
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 64, changed.begin()));
  EXPECT_EQ(std::vector<uint8_t>(changed.begin() + 64, changed.begin() + 128), ScheduleTail(data.data() + 64));
  EXPECT_EQ(std::vector<uint8_t>(changed.begin() + 128, changed.begin() + 192), ScheduleTail(data.data() + 128));
  EXPECT_TRUE(std::equal(data.begin() + 192, data.end(), changed.begin() + 192));
}

#ifndef _WIN32
TEST(Sha1, MatchesPythonHashlib) {
  std::mt19937 rng(11);
  std::string script = "import hashlib\n";
  std::vector<std::string> ours;
  for (size_t n : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 127u, 128u, 1000u, 4097u}) {
    std::string message(n, '\0');
    for (auto& c : message) c = static_cast<char>(rng());
    script += "print(hashlib.sha1(bytes.fromhex('" + ToHex(Bytes(message)) + "')).hexdigest())\n";
    ours.push_back(ToHex(Sha1::Hash(Bytes(message))));
  }
  const std::string path = ::testing::TempDir() + "sha1_check.py";
  FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(script.c_str(), f);
  std::fclose(f);
  FILE* p = popen(("python3 '" + path + "'").c_str(), "r");
  ASSERT_NE(p, nullptr) << "python3 is missing: install the Debian package python3";
  std::string theirs;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) theirs += buf;
  pclose(p);
  std::string expected;
  for (const auto& d : ours) expected += d + "\n";
  EXPECT_EQ(theirs, expected);
}
#endif

TEST(Aes128, Fips197AndSp80038aVectors) {
  struct Case {
    const char* key;
    const char* plain;
    const char* cipher;
  };
  const Case cases[] = {
      {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734", "3925841d02dc09fbdc118597196a0b32"},
  };
  for (const Case& c : cases) {
    const Aes128 aes(Hex(c.key).data());
    uint8_t out[16], back[16];
    aes.EncryptBlock(Hex(c.plain).data(), out);
    EXPECT_EQ(ToHex(out), c.cipher);
    aes.DecryptBlock(out, back);
    EXPECT_EQ(ToHex(back), c.plain);
  }
  // SP 800-38A F.2.2, CBC-AES128.Decrypt, fed in two calls.
  std::vector<uint8_t> data = Hex(
      "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b273bed6b8e3c1743b7116e69e22229516"
      "3ff1caa1681fac09120eca307586e1a7");
  AesCbcDecryptor cbc(Hex("2b7e151628aed2a6abf7158809cf4f3c").data(), Hex("000102030405060708090a0b0c0d0e0f").data());
  cbc.Decrypt(std::span(data.data(), 16));
  cbc.Decrypt(std::span(data.data() + 16, 48));
  EXPECT_EQ(ToHex(data),
            "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e5130c81c46a35ce411e5fbc1191a0a52ef"
            "f69f2445df4f9b17ad2b417be66c3710");
}

TEST(RarCiphers, OldCiphersDecryptWhatTheyEncrypt) {
  std::vector<uint8_t> data(64);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  for (const char* password : {"password", "a", "a much longer password of more than sixteen bytes"}) {
    SCOPED_TRACE(password);
    std::vector<uint8_t> work = data;
    Rar20Cipher enc(password), dec(password);
    for (size_t i = 0; i < work.size(); i += 16) enc.EncryptBlock(work.data() + i);
    EXPECT_NE(work, data);
    for (size_t i = 0; i < work.size(); i += 16) dec.DecryptBlock(work.data() + i);
    EXPECT_EQ(work, data);
    Rar15Cipher c1(password), c2(password);
    c1.Crypt(work);
    EXPECT_NE(work, data);
    c2.Crypt(work);
    EXPECT_EQ(work, data);
  }
  // Passwords are cut at 127 characters.
  std::vector<uint8_t> a(16, 1), b(16, 1);
  Rar20Cipher(std::string(130, 'x')).EncryptBlock(a.data());
  Rar20Cipher(std::string(127, 'x')).EncryptBlock(b.data());
  EXPECT_EQ(a, b);
  // A different password gives different plaintext.
  std::vector<uint8_t> work = data;
  Rar20Cipher enc("right"), dec("wrong");
  enc.EncryptBlock(work.data());
  dec.DecryptBlock(work.data());
  EXPECT_FALSE(std::equal(data.begin(), data.begin() + 16, work.begin()));
}

TEST(RarCiphers, AesKeyDependsOnPasswordAndSalt) {
  const uint8_t salt[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const RarAesKey a = DeriveRarAesKey(u"test", salt);
  const RarAesKey b = DeriveRarAesKey(u"test", nullptr);
  const RarAesKey c = DeriveRarAesKey(u"tesT", salt);
  EXPECT_NE(std::memcmp(a.key, b.key, 16), 0);
  EXPECT_NE(std::memcmp(a.key, c.key, 16), 0);
  EXPECT_NE(std::memcmp(a.iv, b.iv, 16), 0);
}

}  // namespace
}  // namespace mx::codec
