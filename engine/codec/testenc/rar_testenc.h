#pragma once
// Test-only writers of RAR 2.0 and RAR 2.9-4.x bit streams (no RAR compressor exists on these
// machines). The tables are fixed: every symbol of an alphabet gets a code of the same length (the
// codes are then the symbol numbers), sent as plain lengths through a pre-code of 5-bit codes. That
// is enough to put any literal, match, table change, audio block or filter record into a stream.

#include <cstdint>
#include <span>
#include <vector>

#include "engine/codec/rar_tables.h"

namespace mx::codec::testenc {

// MSB-first bit writer.
class MsbWriter {
 public:
  void Put(uint32_t value, unsigned bits) {
    for (unsigned i = bits; i-- > 0;) Bit((value >> i) & 1);
  }
  void Bit(unsigned b) {
    cur_ = static_cast<uint8_t>(cur_ << 1 | b);
    if (++count_ == 8) {
      out_.push_back(cur_);
      cur_ = 0;
      count_ = 0;
    }
  }
  void Align() {
    while (count_) Bit(0);
  }
  void Byte(uint8_t b) { Put(b, 8); }
  std::vector<uint8_t> Finish() {
    Align();
    return out_;
  }

 private:
  std::vector<uint8_t> out_;
  uint8_t cur_ = 0;
  unsigned count_ = 0;
};

// Finds the length slot for a match length: base[k] + minimum + extra.
inline void LengthSlot(uint32_t len, uint32_t minimum, unsigned& slot, uint32_t& extra) {
  const uint32_t v = len - minimum;
  slot = 0;
  while (slot + 1 < 28 && rar::kLenBase[slot + 1] <= v) ++slot;
  extra = v - rar::kLenBase[slot];
}

inline void DistSlot(uint32_t dist, unsigned& slot, uint32_t& extra) {
  const uint32_t v = dist - 1;
  slot = 0;
  while (slot + 1 < 60 && rar::kDistSlots.base[slot + 1] <= v) ++slot;
  extra = v - rar::kDistSlots.base[slot];
}

// Writes a match's symbol (firstSymbol + length slot), the length's extra bits and the distance slot
// (6-bit codes); the distance's extra bits are left to the caller, whose formats differ there.
inline void MatchHead(MsbWriter& w, unsigned firstSymbol, uint32_t len, uint32_t dist, unsigned& distSlot,
                      uint32_t& distExtra) {
  if (dist >= 0x2000) --len;
  if (dist >= 0x40000) --len;
  unsigned slot;
  uint32_t extra;
  LengthSlot(len, 3, slot, extra);
  w.Put(firstSymbol + slot, 9);
  w.Put(extra, rar::kLenBits[slot]);
  DistSlot(dist, distSlot, distExtra);
  w.Put(distSlot, 6);
}

// RAR 2.9-4.x LZ blocks: main codes 9 bits, distance slots 6, low distances 5, repeat lengths 5.
class Rar29Writer {
 public:
  explicit Rar29Writer(bool tables = true) {
    if (tables) Tables();
  }
  void Tables(bool keep = false) {
    w.Align();
    w.Bit(0);  // LZ
    w.Bit(keep ? 1 : 0);
    for (int i = 0; i < 20; ++i) w.Put(5, 4);
    const unsigned sizes[4] = {299, 60, 17, 28};
    const unsigned lens[4] = {9, 6, 5, 5};
    for (int t = 0; t < 4; ++t)
      for (unsigned i = 0; i < sizes[t]; ++i) w.Put(keep ? 0 : lens[t], 5);
  }
  void Literal(uint8_t b) { w.Put(b, 9); }
  void Literals(std::span<const uint8_t> bytes) {
    for (uint8_t b : bytes) Literal(b);
  }
  void Match(uint32_t len, uint32_t dist) {
    unsigned d;
    uint32_t dextra;
    MatchHead(w, 271, len, dist, d, dextra);
    const unsigned bits = rar::kDistSlots.bits[d];
    if (bits == 0) return;
    if (d <= 9) {
      w.Put(dextra, bits);
      return;
    }
    if (bits > 4) w.Put(dextra >> 4, bits - 4);
    w.Put(dextra & 15, 5);  // the low-distance code of value n is n
  }
  // A filter record: the flag byte and the record bytes, as symbol 257 sends them.
  void Filter(uint8_t flags, std::span<const uint8_t> record) {
    w.Put(257, 9);
    const size_t n = record.size();
    if (n <= 6) {
      w.Byte(static_cast<uint8_t>(flags | (n - 1)));
    } else if (n < 7 + 256) {
      w.Byte(static_cast<uint8_t>(flags | 6));
      w.Byte(static_cast<uint8_t>(n - 7));
    } else {
      w.Byte(static_cast<uint8_t>(flags | 7));
      w.Put(static_cast<uint32_t>(n), 16);
    }
    for (uint8_t b : record) w.Byte(b);
  }
  // End of block: new tables follow in this file, or the file ends (the next solid file then starts
  // with a table block, or not).
  void NewTables() {
    w.Put(256, 9);
    w.Bit(1);
    Tables();
  }
  void EndOfFile(bool tablesNext = false) {
    w.Put(256, 9);
    w.Bit(0);
    w.Bit(tablesNext ? 1 : 0);
  }
  MsbWriter w;
};

// RAR 2.0 blocks: LZ codes 9 bits (main), 6 (distance), 5 (repeat length); audio codes 8 bits for
// deltas 0..254 and 9 bits for 255 and the table code 256.
class Rar20Writer {
 public:
  void LzTables() {
    w.Bit(0);
    w.Bit(0);
    for (int i = 0; i < 19; ++i) w.Put(5, 4);
    for (unsigned i = 0; i < 298; ++i) w.Put(9, 5);
    for (unsigned i = 0; i < 48; ++i) w.Put(6, 5);
    for (unsigned i = 0; i < 28; ++i) w.Put(5, 5);
    audio_ = false;
  }
  void AudioTables(unsigned channels) {
    w.Bit(1);
    w.Bit(0);
    w.Put(channels - 1, 2);
    for (int i = 0; i < 19; ++i) w.Put(5, 4);
    for (unsigned c = 0; c < channels; ++c)
      for (unsigned i = 0; i < 257; ++i) w.Put(i < 255 ? 8 : 9, 5);
    audio_ = true;
  }
  // The code that announces new tables (then write them).
  void TableCode() {
    if (audio_) w.Put(0x1FF, 9);  // symbol 256
    else w.Put(269, 9);
  }
  void Literal(uint8_t b) { w.Put(b, 9); }
  void Delta(uint8_t d) {
    if (d < 255) w.Put(d, 8);
    else w.Put(0x1FE, 9);
  }
  void Match(uint32_t len, uint32_t dist) {
    unsigned d;
    uint32_t dextra;
    MatchHead(w, 270, len, dist, d, dextra);
    w.Put(dextra, rar::kDistSlots.bits[d]);
  }
  MsbWriter w;

 private:
  bool audio_ = false;
};

}  // namespace mx::codec::testenc
