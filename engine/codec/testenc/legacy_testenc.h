#pragma once
// Test-only encoders for the three old ZIP methods that no installed tool writes, and a tiny ZIP
// kit to wrap their output for the external oracles and to walk real fixture archives.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/codec/status.h"

namespace mx::codec::testenc {

// LSB-first bit writer, the order all three methods use.
class BitWriter {
 public:
  void Put(uint32_t value, unsigned bits);
  std::vector<uint8_t> Finish();

 private:
  std::vector<uint8_t> out_;
  uint64_t buf_ = 0;
  unsigned count_ = 0;
};

// Shrinks data. clearEvery > 0 asks for a partial clear after about that many codes, so that small
// inputs exercise the clear; otherwise a clear is sent only when the table is full.
std::vector<uint8_t> Shrink(std::span<const uint8_t> data, unsigned clearEvery = 0);

// Implodes data with the 8 KB or 4 KB window, with or without the literal tree. The returned flag
// bits go into the entry's general-purpose flags.
std::vector<uint8_t> Implode(std::span<const uint8_t> data, bool bigWindow, bool literalTree);
uint16_t ImplodeFlags(bool bigWindow, bool literalTree);

// Reduces data with ZIP method 2 to 5. useFollowers = false sends empty follower sets.
std::vector<uint8_t> Reduce(std::span<const uint8_t> data, int method, bool useFollowers = true);

uint32_t Crc32(std::span<const uint8_t> data);

struct ZipEntry {
  std::string name;
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t crc = 0;
  uint32_t size = 0;  // uncompressed
  std::vector<uint8_t> packed;
};

// Local headers, data, central directory and end record; nothing else.
std::vector<uint8_t> BuildZip(const std::vector<ZipEntry>& entries);
// Walks the central directory of a plain archive; empty on any inconsistency.
std::vector<ZipEntry> ReadZip(std::span<const uint8_t> archive);

// Runs the decoder for the entry's method into out.
Status DecodeEntry(const ZipEntry& e, std::vector<uint8_t>& out, size_t blockSize = 0);

}  // namespace mx::codec::testenc

namespace mx::codec::testenc {

struct Sample {
  std::string name;
  std::vector<uint8_t> data;
};
// Inputs that reach the decoders' corners: empty, one byte, runs, text, noise, and sizes past the
// 32 KB output block and the 8 KB window.
std::vector<Sample> Corpus();

// A file of the fixture corpus (testing/fixtures).
std::string FixturePath(const std::string& relative);

}  // namespace mx::codec::testenc
