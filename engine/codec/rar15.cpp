#include "engine/codec/rar15.h"

namespace mx::codec::rar {

namespace {

// The fixed shapes: the number of codes of each length 0..12 (every row fills the 12-bit space).
constexpr uint8_t kShapeCounts[7][13] = {
    {0, 0, 2, 1, 2, 2, 4, 5, 4, 4, 8, 0, 224},     // L1
    {0, 0, 0, 5, 2, 2, 4, 5, 4, 4, 8, 2, 220},     // L2
    {0, 0, 0, 0, 8, 8, 8, 9, 0, 0, 0, 0, 224},     // Hf0
    {0, 0, 0, 0, 0, 4, 40, 16, 16, 4, 0, 47, 130},  // Hf1
    {0, 0, 0, 0, 0, 2, 5, 46, 64, 116, 24, 0, 0},  // Hf2
    {0, 0, 0, 0, 0, 0, 2, 14, 202, 33, 6, 0, 0},   // Hf3
    {0, 0, 0, 0, 0, 0, 0, 0, 255, 2, 0, 0, 0},     // Hf4
};

// The short-match length codes: bits and left-aligned pattern; entry 1 (table 1) and entry 3
// (table 2) take Buf60 + 3 bits.
constexpr uint8_t kShortLen1[16] = {1, 3, 4, 4, 5, 6, 7, 8, 8, 4, 4, 5, 6, 6, 4, 0};
constexpr uint8_t kShortXor1[16] = {0x00, 0xa0, 0xd0, 0xe0, 0xf0, 0xf8, 0xfc, 0xfe, 0xff, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0, 0};
constexpr uint8_t kShortLen2[16] = {2, 3, 3, 3, 4, 4, 5, 6, 6, 4, 4, 5, 6, 6, 4, 0};
constexpr uint8_t kShortXor2[16] = {0x00, 0x40, 0x60, 0xa0, 0xd0, 0xe0, 0xf0, 0xf8, 0xfc, 0xc0, 0x80, 0x90, 0x98, 0x9c, 0xb0, 0};

unsigned CountLeadingZeros16(uint32_t v) noexcept {
  unsigned n = 0;
  for (uint32_t bit = 0x8000; bit && !(v & bit); bit >>= 1) ++n;
  return n;
}

}  // namespace

void Unpack15::Reset() noexcept {
  avrPlc_ = 0x3500;
  avrPlcB_ = avrLn1_ = avrLn2_ = avrLn3_ = 0;
  nhfb_ = nlzb_ = 0x80;
  maxDist3_ = 0x2001;
  buf60_ = numHuf_ = 0;
  for (auto& d : oldDist_) d = 0;
  oldDistPtr_ = 0;
  lastDist_ = 0;
  lastLength_ = 0;
  InitHuff();
}

unsigned Unpack15::DecodeNum(BitInput& in, Shape shape) noexcept {
  const uint8_t* count = kShapeCounts[shape];
  uint32_t v = in.Peek16() >> 4;
  unsigned base = 0, len = 2;
  for (;;) {
    const uint32_t span = uint32_t{count[len]} << (12 - len);
    if (v < span || len == 12) break;
    v -= span;
    base += count[len];
    ++len;
  }
  in.Drop(len);
  return base + (v >> (12 - len));
}

void Unpack15::CorrHuff(uint16_t* table, uint8_t* next) noexcept {
  for (unsigned k = 0; k < 256; ++k) table[k] = static_cast<uint16_t>((table[k] & 0xFF00) | (7 - k / 32));
  for (unsigned i = 0; i < 256; ++i) next[i] = 0;
  for (unsigned i = 0; i < 7; ++i) next[i] = static_cast<uint8_t>((7 - i) * 32);
}

void Unpack15::InitHuff() noexcept {
  for (unsigned i = 0; i < 256; ++i) {
    chSet_[i] = chSetB_[i] = static_cast<uint16_t>(i << 8);
    chSetA_[i] = static_cast<uint16_t>(i);
    chSetC_[i] = static_cast<uint16_t>(((0u - i) & 0xFF) << 8);
    nToPl_[i] = nToPlB_[i] = nToPlC_[i] = 0;
  }
  CorrHuff(chSetB_, nToPlB_);
}

void Unpack15::GetFlagsBuf(BitInput& in) noexcept {
  const unsigned place = DecodeNum(in, kHf2);
  if (place > 255) return;  // only damaged data reach the 257th code
  uint32_t v, newPlace;
  for (;;) {
    v = chSetC_[place];
    flagBuf_ = v >> 8;
    newPlace = nToPlC_[v & 0xFF]++;
    ++v;
    if (v & 0xFF) break;
    CorrHuff(chSetC_, nToPlC_);
  }
  chSetC_[place] = chSetC_[newPlace];
  chSetC_[newPlace] = static_cast<uint16_t>(v);
}

void Unpack15::Remember(uint32_t dist, uint32_t len) noexcept {
  oldDist_[oldDistPtr_] = dist;
  oldDistPtr_ = (oldDistPtr_ + 1) & 3;
  lastLength_ = len;
  lastDist_ = dist;
}

bool Unpack15::Copy(Window& w, uint32_t dist, uint32_t len) noexcept {
  produced_ += len;
  return w.Copy(dist, len);
}

bool Unpack15::HuffDecode(BitInput& in, Window& w) noexcept {
  const uint32_t bf = in.Peek16();
  const Shape shape = avrPlc_ > 0x75FF   ? kHf4
                      : avrPlc_ > 0x5DFF ? kHf3
                      : avrPlc_ > 0x35FF ? kHf2
                      : avrPlc_ > 0x0DFF ? kHf1
                                         : kHf0;
  unsigned place = DecodeNum(in, shape) & 0xFF;  // the 257th code folds onto 0
  if (stMode_) {
    if (place == 0 && bf > 0x0FFF) place = 0x100;
    if (place == 0) {
      // The escape of run mode: leave it, or a short copy that does not enter the history.
      if (in.Bits(1)) {
        numHuf_ = stMode_ = 0;
        return true;
      }
      const uint32_t len = in.Bits(1) ? 4 : 3;
      const uint32_t dist = (DecodeNum(in, kHf2) << 5) | in.Bits(5);
      return Copy(w, dist, len);
    }
    --place;
  } else if (numHuf_++ >= 16 && flagsCnt_ == 0) {
    stMode_ = 1;
  }
  avrPlc_ += place;
  avrPlc_ -= avrPlc_ >> 8;
  nhfb_ += 16;
  if (nhfb_ > 0xFF) {
    nhfb_ = 0x90;
    nlzb_ >>= 1;
  }
  // The byte comes from the entry before it is promoted.
  w.Put(static_cast<uint8_t>(chSet_[place] >> 8));
  ++produced_;
  uint32_t v, newPlace;
  for (;;) {
    v = chSet_[place];
    newPlace = nToPl_[v & 0xFF]++;
    ++v;
    if ((v & 0xFF) <= 0xA1) break;
    CorrHuff(chSet_, nToPl_);
  }
  chSet_[place] = chSet_[newPlace];
  chSet_[newPlace] = static_cast<uint16_t>(v);
  return true;
}

bool Unpack15::ShortLz(BitInput& in, Window& w) noexcept {
  numHuf_ = 0;
  uint32_t bf = in.Peek16();
  if (lCount_ == 2) {
    in.Drop(1);
    if (bf >= 0x8000) return Copy(w, lastDist_, lastLength_);
    bf <<= 1;
    lCount_ = 0;
  }
  bf = (bf >> 8) & 0xFF;
  uint8_t len[16];
  const uint8_t* pattern;
  if (avrLn1_ < 37) {
    for (int i = 0; i < 16; ++i) len[i] = kShortLen1[i];
    len[1] = static_cast<uint8_t>(buf60_ + 3);
    pattern = kShortXor1;
  } else {
    for (int i = 0; i < 16; ++i) len[i] = kShortLen2[i];
    len[3] = static_cast<uint8_t>(buf60_ + 3);
    pattern = kShortXor2;
  }
  unsigned n = 0;
  while (n < 15 && ((bf ^ pattern[n]) & (0xFF << (8 - len[n])) & 0xFF) != 0) ++n;
  in.Drop(len[n]);
  if (n >= 9) {
    if (n == 9) {
      ++lCount_;
      return Copy(w, lastDist_, lastLength_);
    }
    lCount_ = 0;
    if (n == 14) {
      const uint32_t length = DecodeNum(in, kL2) + 5;
      const uint32_t dist = (in.Peek16() >> 1) | 0x8000;
      in.Drop(15);
      lastLength_ = length;
      lastDist_ = dist;
      return Copy(w, dist, length);
    }
    // 10..13: a distance from the history, 1 the most recent.
    uint32_t dist = oldDist_[(oldDistPtr_ - (n - 9)) & 3];
    uint32_t length = DecodeNum(in, kL1) + 2;
    if (length == 0x101 && n == 10) {
      buf60_ ^= 1;
      return true;
    }
    if (dist > 256) ++length;
    if (dist >= maxDist3_) ++length;
    Remember(dist, length);
    return Copy(w, dist, length);
  }
  lCount_ = 0;
  avrLn1_ += n;
  avrLn1_ -= avrLn1_ >> 4;
  const unsigned place = DecodeNum(in, kHf2) & 0xFF;
  uint32_t dist = chSetA_[place];
  if (place > 0) {
    chSetA_[place] = chSetA_[place - 1];
    chSetA_[place - 1] = static_cast<uint16_t>(dist);
  }
  const uint32_t length = n + 2;
  ++dist;
  Remember(dist, length);
  return Copy(w, dist, length);
}

bool Unpack15::LongLz(BitInput& in, Window& w) noexcept {
  numHuf_ = 0;
  nlzb_ += 16;
  if (nlzb_ > 0xFF) {
    nlzb_ = 0x90;
    nhfb_ >>= 1;
  }
  const uint32_t oldAvr2 = avrLn2_;
  uint32_t length;
  const uint32_t bf = in.Peek16();
  if (avrLn2_ >= 122) {
    length = DecodeNum(in, kL2);
  } else if (avrLn2_ >= 64) {
    length = DecodeNum(in, kL1);
  } else if (bf < 0x100) {
    length = bf;
    in.Drop(16);
  } else {
    length = CountLeadingZeros16(bf);
    in.Drop(length + 1);
  }
  avrLn2_ += length;
  avrLn2_ -= avrLn2_ >> 5;
  const Shape shape = avrPlcB_ > 0x28FF ? kHf2 : avrPlcB_ > 0x6FF ? kHf1 : kHf0;
  const unsigned place = DecodeNum(in, shape) & 0xFF;
  avrPlcB_ += place;
  avrPlcB_ -= avrPlcB_ >> 8;
  uint32_t v, newPlace;
  for (;;) {
    v = chSetB_[place];
    newPlace = nToPlB_[v & 0xFF]++;
    ++v;
    if (v & 0xFF) break;
    CorrHuff(chSetB_, nToPlB_);
  }
  chSetB_[place] = chSetB_[newPlace];
  chSetB_[newPlace] = static_cast<uint16_t>(v);
  const uint32_t dist = ((v & 0xFF00) | (in.Peek16() >> 8)) >> 1;
  in.Drop(7);
  const uint32_t oldAvr3 = avrLn3_;
  if (length != 1 && length != 4) {
    if (length == 0 && dist <= maxDist3_) {
      ++avrLn3_;
      avrLn3_ -= avrLn3_ >> 8;
    } else if (avrLn3_ > 0) {
      --avrLn3_;
    }
  }
  length += 3;
  if (dist >= maxDist3_) ++length;
  if (dist <= 256) length += 8;
  maxDist3_ = (oldAvr3 > 0xB0 || (avrPlc_ >= 0x2A00 && oldAvr2 < 0x40)) ? 0x7F00 : 0x2001;
  Remember(dist, length);
  return Copy(w, dist, length);
}

bool Unpack15::NextFlag(BitInput& in) noexcept {
  if (--flagsCnt_ < 0) {
    GetFlagsBuf(in);
    flagsCnt_ = 7;
  }
  const bool bit = (flagBuf_ & 0x80) != 0;
  flagBuf_ = (flagBuf_ << 1) & 0xFF;
  return bit;
}

Status Unpack15::Decode(BitInput& in, Window& w, Output& out, uint64_t size) noexcept {
  flagsCnt_ = 0;
  flagBuf_ = 0;
  stMode_ = 0;
  lCount_ = 0;
  produced_ = 0;
  if (size > 0) {
    in.Fill();
    GetFlagsBuf(in);
    flagsCnt_ = 8;
  }
  while (produced_ < size) {
    in.Fill();
    if (in.PastEnd()) return in.Fault();
    if (const Status st = MakeRoom(w, out); st != Status::Ok) return st;
    bool ok;
    if (stMode_) ok = HuffDecode(in, w);
    else if (NextFlag(in)) ok = nlzb_ > nhfb_ ? LongLz(in, w) : HuffDecode(in, w);  // "1": the likelier kind
    else if (NextFlag(in)) ok = nlzb_ > nhfb_ ? HuffDecode(in, w) : LongLz(in, w);  // "01": the other one
    else ok = ShortLz(in, w);                                                      // "00"
    if (!ok) return Status::BadData;
  }
  if (in.PastEnd()) return in.Fault();
  return FlushWindow(w, out);
}

}  // namespace mx::codec::rar
