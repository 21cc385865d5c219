// Traditional ZIP encryption: header making and password checks.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/codec/zipcrypt.h"

namespace mx::codec {
namespace {

using Header = std::array<uint8_t, ZipCrypto::kHeaderSize>;

Header Make(std::string_view pw, uint32_t crc) {
  Header h;
  ZipCrypto z;
  z.MakeEncryptionHeader(pw, crc, h);
  return h;
}

TEST(ZipCrypto, HeaderPassesWithSamePasswordAndCrc) {
  const uint32_t crc = 0xA1B2C3D4;
  Header h = Make("secret", crc);
  ZipCrypto z;
  EXPECT_TRUE(z.CheckPassword(h, 0, "secret", 0, crc));
  EXPECT_FALSE(z.CheckPassword(h, 0, "", 0, crc));
  EXPECT_FALSE(z.CheckPassword(h, 0, "secret", 0, crc ^ 0x01000000));  // other check byte
}

TEST(ZipCrypto, DataDescriptorEntriesCheckTheTimeByte) {
  const uint32_t crc = 0x5E000000;
  Header h = Make("pw", crc);
  ZipCrypto z;
  EXPECT_TRUE(z.CheckPassword(h, ZipCrypto::kFlagDataDescriptor, "pw", 0x5E12, 0));
  EXPECT_FALSE(z.CheckPassword(h, ZipCrypto::kFlagDataDescriptor, "pw", 0x5F12, crc));
}

TEST(ZipCrypto, HeadersDifferInTheirRandomBytes) {
  Header a = Make("pw", 1), b = Make("pw", 1);
  EXPECT_NE(std::vector<uint8_t>(a.begin(), a.begin() + 10), std::vector<uint8_t>(b.begin(), b.begin() + 10));
}

TEST(ZipCrypto, CheckingLeavesKeysReadyForTheData) {
  const std::string plain = "The data after the header.";
  const uint32_t crc = 0x11223344;
  Header h = Make("pw", crc);
  std::vector<uint8_t> data(plain.begin(), plain.end());
  {
    ZipCrypto enc;
    Header again;
    std::array<uint8_t, 10> random{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    enc.MakeEncryptionHeader("pw", crc, random, again);
    h = again;
    enc.Encrypt(data);
  }
  ZipCrypto dec;
  ASSERT_TRUE(dec.CheckPassword(h, 0, "pw", 0, crc));
  dec.Decrypt(data);
  EXPECT_EQ(std::string(data.begin(), data.end()), plain);
}

TEST(ZipCrypto, LongPasswordsAreUsedWhole) {
  std::string longPw(300, 'x');
  longPw[290] = 'y';
  ZipCrypto a, b;
  a.InitKeys(longPw);
  b.InitKeys(std::string_view(longPw).substr(0, 290));
  EXPECT_NE(a.Key0(), b.Key0());
  b.InitKeys(std::string_view(longPw).substr(0, 300 % 256));  // what a count kept in 8 bits would use
  EXPECT_NE(a.Key2(), b.Key2());
}

}  // namespace
}  // namespace mx::codec
