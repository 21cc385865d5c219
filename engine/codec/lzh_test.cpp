// The LH-family decoders and the LZHUF coder against real archives that jlha and arj make at test
// time, and LZHUF output checked by lhasa.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/codec/arj_method4.h"
#include "engine/codec/crc16.h"
#include "engine/codec/lzh_decoder.h"
#include "engine/codec/lzhuf.h"
#include "testing/test_env.h"

namespace mx::codec {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct Sample {
  std::string name;
  Bytes data;
};

// Inputs that reach the coders' corners: empty, tiny, long runs, blanks that meet the prefilled
// window, text long enough to rebuild the adaptive tree and to wrap every window, and noise.
std::vector<Sample> Samples() {
  std::vector<Sample> s;
  s.push_back({"empty", {}});
  s.push_back({"one byte", {'x'}});
  s.push_back({"run of 61", Bytes(61, 'a')});
  s.push_back({"run of 5000", Bytes(5000, 0)});
  s.push_back({"leading blanks", ToBytes(std::string(100, ' ') + "after the blanks" + std::string(70, ' '))});
  std::string text;
  for (int i = 0; text.size() < 150000; ++i)
    text += "line " + std::to_string(i * 7919 % 1000) + " of a text that repeats with small changes\n";
  s.push_back({"text 150 KB", ToBytes(text)});
  std::mt19937 rng(7);
  Bytes noise(70000);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  s.push_back({"noise 70 KB", noise});
  Bytes mixed;
  for (int i = 0; i < 40; ++i) {
    mixed.insert(mixed.end(), noise.begin() + i * 997, noise.begin() + i * 997 + 300);
    mixed.insert(mixed.end(), text.begin() + i * 131, text.begin() + i * 131 + 2000);
  }
  s.push_back({"mixed", mixed});
  return s;
}

Status Decode(const Bytes& packed, uint64_t size, Bytes& out, size_t block = 0) {
  SpanSource in(packed, block);
  VectorSink sink(out);
  return LzhufDecode(in, sink, size);
}

TEST(Lzhuf, RoundTripsInWholeAndInTinyBlocks) {
  for (const auto& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    SpanSource in(sample.data, 1000);
    Bytes packed;
    VectorSink sink(packed);
    ASSERT_EQ(LzhufEncode(in, sink), Status::Ok);
    if (sample.data.empty()) {
      EXPECT_TRUE(packed.empty());
    }
    Bytes out;
    ASSERT_EQ(Decode(packed, sample.data.size(), out), Status::Ok);
    EXPECT_TRUE(out == sample.data);
    Bytes slow;
    ASSERT_EQ(Decode(packed, sample.data.size(), slow, 3), Status::Ok);
    EXPECT_TRUE(slow == sample.data);
  }
}

TEST(Lzhuf, RunsBecomeFullLengthMatchesAtDistanceOne) {
  // A run: one literal, then matches of 60 bytes at position 0 (distance 1).
  Bytes run(61 + 60 * 100, 'q');
  SpanSource in(run);
  Bytes packed;
  VectorSink sink(packed);
  ASSERT_EQ(LzhufEncode(in, sink), Status::Ok);
  EXPECT_LT(packed.size(), 200u);
}

TEST(Lzhuf, TruncatedAndCutStreams) {
  const Bytes text = Samples()[5].data;
  SpanSource in(text);
  Bytes packed;
  VectorSink sink(packed);
  ASSERT_EQ(LzhufEncode(in, sink), Status::Ok);
  Bytes half(packed.begin(), packed.begin() + packed.size() / 2);
  Bytes out;
  EXPECT_EQ(Decode(half, text.size(), out), Status::Truncated);
  EXPECT_LT(out.size(), text.size());
  // A declared size below the data's stops there exactly.
  Bytes cut;
  EXPECT_EQ(Decode(packed, 1000, cut), Status::Ok);
  EXPECT_TRUE(std::equal(cut.begin(), cut.end(), text.begin()));
  EXPECT_EQ(cut.size(), 1000u);
}

// ---- real archives -------------------------------------------------------------------------------

std::string Shell(const std::string& dir, const std::string& cmd) {
  return "cd '" + dir + "' && " + cmd + " >/dev/null 2>&1";
}

void Write(const std::string& path, const Bytes& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

uint32_t Le32(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
         uint32_t(uint8_t(s[at + 3])) << 24;
}

// The first entry of a level-0 LHA archive: method, packed data, size and CRC.
struct Lh0Entry {
  std::string method;
  Bytes packed;
  uint32_t size = 0;
  uint16_t crc = 0;
};
Lh0Entry FirstEntry(const std::string& archive) {
  Lh0Entry e;
  const size_t h = uint8_t(archive.at(0));
  e.method = archive.substr(2, 5);
  const uint32_t packed = Le32(archive, 7);
  e.size = Le32(archive, 11);
  const size_t n = uint8_t(archive.at(21));
  e.crc = uint16_t(uint8_t(archive.at(22 + n)) | uint8_t(archive.at(23 + n)) << 8);
  e.packed.assign(archive.begin() + long(h + 2), archive.begin() + long(h + 2 + packed));
  return e;
}

TEST(LzhDecoder, DecodesJlhaLh5AndLh6) {
  const std::string dir = test::FreshDir();
  int decoded = 0;
  for (const auto& sample : Samples()) {
    if (sample.data.empty()) continue;
    Write(dir + "/in.bin", sample.data);
    for (const char* method : {"5", "6"}) {
      SCOPED_TRACE(sample.name + " -lh" + method + "-");
      std::remove((dir + "/a.lzh").c_str());
      ASSERT_EQ(std::system(Shell(dir, std::string("jlha c0o") + method + "q a.lzh in.bin").c_str()), 0);
      const Lh0Entry e = FirstEntry(test::ReadFile(dir + "/a.lzh"));
      if (e.method == "-lh0-") continue;  // jlha stores what does not shrink
      ASSERT_EQ(e.method, std::string("-lh") + method + "-");
      for (size_t block : {size_t(0), size_t(7)}) {
        SpanSource in(e.packed, block);
        Bytes out;
        VectorSink sink(out);
        ASSERT_EQ(LzhDecode(in, sink, *method == '5' ? kLzhLh5 : kLzhLh6, e.size), Status::Ok);
        EXPECT_TRUE(out == sample.data);
        EXPECT_EQ(Crc16(out), e.crc);
      }
      ++decoded;
    }
  }
  EXPECT_GE(decoded, 8);
}

TEST(LzhDecoder, DamagedStreamsAreRefusedWithinBounds) {
  const std::string dir = test::FreshDir();
  Write(dir + "/in.bin", Samples()[5].data);
  ASSERT_EQ(std::system(Shell(dir, "jlha c0o5q a.lzh in.bin").c_str()), 0);
  const Lh0Entry e = FirstEntry(test::ReadFile(dir + "/a.lzh"));
  // Cut short: Truncated with less than the whole.
  {
    Bytes half(e.packed.begin(), e.packed.begin() + long(e.packed.size() / 3));
    SpanSource in(half);
    Bytes out;
    VectorSink sink(out);
    EXPECT_EQ(LzhDecode(in, sink, kLzhLh5, e.size), Status::Truncated);
    EXPECT_LT(out.size(), e.size);
  }
  // Flipped bytes anywhere: never more than the declared size, never a crash.
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    Bytes bad = e.packed;
    for (int k = 0; k < 3; ++k) bad[rng() % std::min<size_t>(bad.size(), round < 100 ? 64 : bad.size())] ^= uint8_t(1 + rng() % 255);
    SpanSource in(bad);
    Bytes out;
    VectorSink sink(out);
    const Status st = LzhDecode(in, sink, kLzhLh5, e.size);
    EXPECT_LE(out.size(), e.size);
    if (st == Status::Ok) {
      EXPECT_EQ(out.size(), e.size);
    }
  }
  // Nothing to decode: nothing read, nothing written.
  SpanSource none(Bytes{});
  Bytes out;
  VectorSink sink(out);
  EXPECT_EQ(LzhDecode(none, sink, kLzhLh5, 0), Status::Ok);
  EXPECT_TRUE(out.empty());
  // A block header of zero symbols ends the data early.
  Bytes zero{0, 0, 0, 0};
  SpanSource z(zero);
  EXPECT_EQ(LzhDecode(z, sink, kLzhLh5, 10), Status::Truncated);
}

TEST(Lzhuf, LhasaTestsOurOutputInALevel0Archive) {
  const std::string dir = test::FreshDir();
  for (const auto& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    SpanSource in(sample.data);
    Bytes packed;
    VectorSink sink(packed);
    ASSERT_EQ(LzhufEncode(in, sink), Status::Ok);
    const std::string name = "f.bin";
    Bytes a;
    a.push_back(uint8_t(22 + name.size()));
    a.push_back(0);
    for (char c : std::string("-lh1-")) a.push_back(uint8_t(c));
    auto le32 = [&](uint32_t v) {
      for (int i = 0; i < 4; ++i) a.push_back(uint8_t(v >> (8 * i)));
    };
    le32(uint32_t(packed.size()));
    le32(uint32_t(sample.data.size()));
    le32(0x5A210000);  // 1 Jan 2025
    a.push_back(0x20);
    a.push_back(0);
    a.push_back(uint8_t(name.size()));
    a.insert(a.end(), name.begin(), name.end());
    const uint16_t crc = Crc16(sample.data);
    a.push_back(uint8_t(crc));
    a.push_back(uint8_t(crc >> 8));
    unsigned sum = 0;
    for (size_t i = 2; i < a.size(); ++i) sum += a[i];
    a[1] = uint8_t(sum);
    a.insert(a.end(), packed.begin(), packed.end());
    a.push_back(0);
    Write(dir + "/ours.lzh", a);
    EXPECT_EQ(std::system(Shell(dir, "lhasa t ours.lzh").c_str()), 0);
  }
}

TEST(ArjMethod4, DecodesArjFastestMethod) {
  const std::string dir = test::FreshDir();
  for (const auto& sample : Samples()) {
    if (sample.data.size() < 100) continue;
    SCOPED_TRACE(sample.name);
    Write(dir + "/in.bin", sample.data);
    std::remove((dir + "/a.arj").c_str());
    ASSERT_EQ(std::system(Shell(dir, "arj a -m4 -y a.arj in.bin").c_str()), 0);
    const std::string arj = test::ReadFile(dir + "/a.arj");
    // Main header, then the file header: id, basic size, basic header, CRC, extended size 0.
    size_t pos = 4 + (uint8_t(arj[2]) | uint8_t(arj[3]) << 8) + 4 + 2;
    ASSERT_EQ(uint8_t(arj[pos]), 0x60);
    const size_t basic = uint8_t(arj[pos + 2]) | uint8_t(arj[pos + 3]) << 8;
    const size_t h = pos + 4;
    const int method = uint8_t(arj[h + 5]);
    const uint32_t packed = Le32(arj, h + 12), size = Le32(arj, h + 16);
    const size_t data = h + basic + 4 + 2;
    if (method == 0) continue;
    ASSERT_EQ(method, 4);
    Bytes in(arj.begin() + long(data), arj.begin() + long(data + packed));
    SpanSource src(in, 5);
    Bytes out;
    VectorSink sink(out);
    ASSERT_EQ(ArjMethod4Decode(src, sink, size), Status::Ok);
    EXPECT_TRUE(out == sample.data);
  }
}

}  // namespace
}  // namespace mx::codec
