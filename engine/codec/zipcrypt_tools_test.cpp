// Traditional encryption against the real archivers: entries made by zip -P and 7z decrypt and check,
// and an archive with headers made here is accepted by unzip -P.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/codec/inflate.h"
#include "engine/codec/zipcrypt.h"
#include "testing/test_env.h"

namespace mx::codec {
namespace {

uint16_t Le16(const std::string& s, size_t off) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s.at(off)) | static_cast<uint8_t>(s.at(off + 1)) << 8);
}
uint32_t Le32(const std::string& s, size_t off) { return Le16(s, off) | uint32_t{Le16(s, off + 2)} << 16; }
void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// The few fields of one entry, from the central directory and its local header.
struct ZipEntry {
  std::string name;
  uint16_t flags, method, localTime;
  uint32_t crc;
  std::string data;  // the stored data, encryption header included
  uint32_t size;
};

//  central header: +0 sig 02014b50 | +8 flags | +10 method | +16 crc | +20 csize | +24 usize
//                  +28 name len | +30 extra len | +32 comment len | +42 local offset | +46 name
//  local header:   +0 sig 04034b50 | +10 time | +26 name len | +28 extra len | +30 name
//  end record:     +0 sig 06054b50 | +10 entries | +16 directory offset (no comment: last 22 bytes)
std::vector<ZipEntry> ReadZip(const std::string& zip) {
  std::vector<ZipEntry> out;
  size_t eocd = zip.rfind(std::string("PK\5\6", 4));
  if (eocd == std::string::npos) return out;
  size_t pos = Le32(zip, eocd + 16);
  for (unsigned i = 0; i < Le16(zip, eocd + 10); ++i) {
    if (Le32(zip, pos) != 0x02014b50) break;
    ZipEntry e;
    e.flags = Le16(zip, pos + 8);
    e.method = Le16(zip, pos + 10);
    e.crc = Le32(zip, pos + 16);
    uint32_t csize = Le32(zip, pos + 20);
    e.size = Le32(zip, pos + 24);
    e.name = zip.substr(pos + 46, Le16(zip, pos + 28));
    size_t local = Le32(zip, pos + 42);
    e.localTime = Le16(zip, local + 10);
    e.data = zip.substr(local + 30 + Le16(zip, local + 26) + Le16(zip, local + 28), csize);
    out.push_back(e);
    pos += 46 + Le16(zip, pos + 28) + Le16(zip, pos + 30) + Le16(zip, pos + 32);
  }
  return out;
}

// Checks the password and decodes the entry; empty optional-like result on a failed check.
bool Extract(const ZipEntry& e, const std::string& pw, std::string& out) {
  if (e.data.size() < 12) return false;
  std::vector<uint8_t> bytes(e.data.begin(), e.data.end());
  ZipCrypto z;
  std::span<const uint8_t, 12> header(bytes.data(), 12);
  if (!z.CheckPassword(header, e.flags, pw, e.localTime, e.crc)) return false;
  std::span<uint8_t> body(bytes.data() + 12, bytes.size() - 12);
  z.Decrypt(body);
  if (e.method == 0) {
    out.assign(body.begin(), body.end());
  } else if (e.method == 8) {
    out.assign(e.size, '\0');
    InflateResult r = Inflate(body, std::span<uint8_t>(reinterpret_cast<uint8_t*>(out.data()), out.size()));
    if (r.status != Status::Ok || r.outputSize != e.size) return false;
  } else {
    return false;
  }
  return Crc32({reinterpret_cast<const uint8_t*>(out.data()), out.size()}) == e.crc;
}

std::string Sample(size_t n, unsigned seed, bool text) {
  std::mt19937 rng(seed);
  std::string s;
  const char* words[] = {"archive ", "entry ", "the ", "password ", "header ", "data\n", "of ", "zip "};
  while (s.size() < n) {
    if (text)
      s += words[rng() % 8];
    else
      s += static_cast<char>(rng());
  }
  s.resize(n);
  return s;
}

void Shell(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd << " (packages zip, unzip, 7zip)"; }

TEST(ZipCryptoTools, EntriesMadeByZipDecryptAndCheck) {
  std::string dir = test::FreshDir();
  std::map<std::string, std::string> files = {
      {"a.txt", Sample(40000, 1, true)}, {"b.bin", Sample(5000, 2, false)}, {"c.txt", Sample(300, 3, true)}};
  for (auto& [name, body] : files) test::WriteFile(dir + "/" + name, body);
  Shell("cd " + dir + " && zip -q -X -P 'pa ss' deflated.zip a.txt b.bin c.txt && zip -q -X -0 -P 'pa ss' stored.zip a.txt c.txt");
  for (const char* zipName : {"deflated.zip", "stored.zip"}) {
    auto entries = ReadZip(test::ReadFile(dir + "/" + zipName));
    ASSERT_FALSE(entries.empty()) << zipName;
    for (const ZipEntry& e : entries) {
      SCOPED_TRACE(std::string(zipName) + " " + e.name);
      EXPECT_TRUE(e.flags & 1);
      std::string out;
      ASSERT_TRUE(Extract(e, "pa ss", out));
      EXPECT_EQ(out, files[e.name]);
      // A wrong password fails the check, or (one time in 256) the data check after it.
      std::string wrong;
      EXPECT_FALSE(Extract(e, "pa sS", wrong) && wrong == files[e.name]);
      EXPECT_FALSE(Extract(e, "", wrong));
    }
  }
}

TEST(ZipCryptoTools, LongPasswordFromSevenZip) {
  std::string dir = test::FreshDir();
  std::string body = Sample(20000, 4, true);
  test::WriteFile(dir + "/long.txt", body);
  std::string pw(300, 'k');
  pw[299] = 'z';
  Shell("cd " + dir + " && 7zz a -bso0 -bsp0 -tzip -mem=ZipCrypto -p" + pw + " long.zip long.txt");
  auto entries = ReadZip(test::ReadFile(dir + "/long.zip"));
  ASSERT_EQ(entries.size(), 1u);
  std::string out;
  ASSERT_TRUE(Extract(entries[0], pw, out));
  EXPECT_EQ(out, body);
}

// Builds a one-entry archive with an encryption header made here; method 0 or 8.
std::string MakeEncryptedZip(const std::string& name, const std::string& body, const std::string& pw, int method) {
  std::vector<uint8_t> plain(body.begin(), body.end());
  uint32_t crc = Crc32(plain);
  std::vector<uint8_t> packed = plain;
  if (method == 8) {
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    packed.resize(deflateBound(&zs, static_cast<uLong>(plain.size())));
    zs.next_in = plain.data();
    zs.avail_in = static_cast<uInt>(plain.size());
    zs.next_out = packed.data();
    zs.avail_out = static_cast<uInt>(packed.size());
    deflate(&zs, Z_FINISH);
    packed.resize(zs.total_out);
    deflateEnd(&zs);
  }
  ZipCrypto z;
  std::array<uint8_t, 12> header;
  z.MakeEncryptionHeader(pw, crc, header);
  z.Encrypt(packed);
  std::string data(header.begin(), header.end());
  data.append(packed.begin(), packed.end());

  const uint32_t dosTime = 0x6000, dosDate = 0x5A21;
  std::string local, central, zip;
  Put32(local, 0x04034b50); Put16(local, 20); Put16(local, 1); Put16(local, method);
  Put16(local, dosTime); Put16(local, dosDate); Put32(local, crc);
  Put32(local, static_cast<uint32_t>(data.size())); Put32(local, static_cast<uint32_t>(body.size()));
  Put16(local, static_cast<uint32_t>(name.size())); Put16(local, 0);
  local += name;
  Put32(central, 0x02014b50); Put16(central, 20); Put16(central, 20); Put16(central, 1); Put16(central, method);
  Put16(central, dosTime); Put16(central, dosDate); Put32(central, crc);
  Put32(central, static_cast<uint32_t>(data.size())); Put32(central, static_cast<uint32_t>(body.size()));
  Put16(central, static_cast<uint32_t>(name.size())); Put16(central, 0); Put16(central, 0); Put16(central, 0);
  Put16(central, 0); Put32(central, 0); Put32(central, 0);
  central += name;
  zip = local + data + central;
  Put32(zip, 0x06054b50); Put16(zip, 0); Put16(zip, 0); Put16(zip, 1); Put16(zip, 1);
  Put32(zip, static_cast<uint32_t>(central.size())); Put32(zip, static_cast<uint32_t>(local.size() + data.size()));
  Put16(zip, 0);
  return zip;
}

TEST(ZipCryptoTools, HeadersMadeHereAreAcceptedByUnzip) {
  std::string dir = test::FreshDir();
  for (int method : {0, 8}) {
    SCOPED_TRACE(method);
    std::string body = Sample(30000, 5 + method, true);
    test::WriteFile(dir + "/ours.zip", MakeEncryptedZip("file.txt", body, "Secret 1", method));
    Shell("cd " + dir + " && unzip -qq -P 'Secret 1' -p ours.zip file.txt > out.txt");
    EXPECT_EQ(test::ReadFile(dir + "/out.txt"), body);
    Shell("cd " + dir + " && unzip -qq -t -P 'Secret 1' ours.zip");
    EXPECT_NE(std::system(("cd " + dir + " && unzip -qq -t -P 'secret 1' ours.zip >/dev/null 2>&1").c_str()), 0);
  }
}

}  // namespace
}  // namespace mx::codec
