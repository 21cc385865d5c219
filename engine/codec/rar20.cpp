#include "engine/codec/rar20.h"

#include <cstdlib>
#include <cstring>

#include "engine/codec/rar_audio.h"
#include "engine/codec/rar_tables.h"

namespace mx::codec::rar {

void Unpack20::Reset() noexcept {
  tablesRead_ = false;
  audio_ = false;
  channels_ = 1;
  curChannel_ = 0;
  channelDelta_ = 0;
  std::memset(channel_, 0, sizeof channel_);
  std::memset(oldTable_, 0, sizeof oldTable_);
  for (auto& d : oldDist_) d = 0;
  oldDistPtr_ = 0;
  lastDist_ = lastLength_ = 0;
}

bool Unpack20::ReadTables(BitInput& in) noexcept {
  in.Fill();
  const uint32_t bf = in.Peek16();
  audio_ = (bf & 0x8000) != 0;
  if (!(bf & 0x4000)) std::memset(oldTable_, 0, sizeof oldTable_);
  in.Drop(2);
  unsigned count;
  if (audio_) {
    channels_ = ((bf >> 12) & 3) + 1;
    if (curChannel_ >= channels_) curChannel_ = 0;
    in.Drop(2);
    count = kAudio * channels_;
  } else {
    count = kMain + kDist + kRep;
  }
  uint8_t pre[19];
  for (auto& l : pre) l = static_cast<uint8_t>(in.Bits(4));
  HuffDecoder preCode;
  if (!preCode.Build(pre, 19)) return false;
  uint8_t table[4 * kAudio];
  unsigned i = 0;
  while (i < count) {
    in.Fill();
    const unsigned s = preCode.Decode(in);
    if (s < 16) {
      table[i] = static_cast<uint8_t>((s + oldTable_[i]) & 0xF);
      ++i;
    } else if (s == 16) {
      if (i == 0) return false;
      unsigned n = in.Bits(2) + 3;
      for (; n > 0 && i < count; --n, ++i) table[i] = table[i - 1];
    } else if (s == 17 || s == 18) {
      unsigned n = s == 17 ? in.Bits(3) + 3 : in.Bits(7) + 11;
      for (; n > 0 && i < count; --n, ++i) table[i] = 0;
    } else {
      return false;
    }
  }
  if (in.PastEnd()) return false;
  tablesRead_ = true;
  if (audio_) {
    for (unsigned c = 0; c < channels_; ++c)
      if (!audioCode_[c].Build(table + c * kAudio, kAudio)) return false;
  } else if (!main_.Build(table, kMain) || !dist_.Build(table + kMain, kDist) || !rep_.Build(table + kMain + kDist, kRep)) {
    return false;
  }
  std::memcpy(oldTable_, table, count);
  return true;
}

uint8_t Unpack20::DecodeAudio(int delta) noexcept {
  AudioChannel& v = channel_[curChannel_];
  ++v.byteCount;
  v.d4 = v.d3;
  v.d3 = v.d2;
  v.d2 = v.lastDelta - v.d1;
  v.d1 = v.lastDelta;
  int pred = 8 * v.lastChar + v.k1 * v.d1 + v.k2 * v.d2 + v.k3 * v.d3 + v.k4 * v.d4 + v.k5 * channelDelta_;
  pred = (pred >> 3) & 0xFF;
  const unsigned ch = static_cast<unsigned>(pred - delta) & 0xFF;
  const int d = static_cast<int8_t>(delta) * 8;
  v.dif[0] += static_cast<unsigned>(std::abs(d));
  v.dif[1] += static_cast<unsigned>(std::abs(d - v.d1));
  v.dif[2] += static_cast<unsigned>(std::abs(d + v.d1));
  v.dif[3] += static_cast<unsigned>(std::abs(d - v.d2));
  v.dif[4] += static_cast<unsigned>(std::abs(d + v.d2));
  v.dif[5] += static_cast<unsigned>(std::abs(d - v.d3));
  v.dif[6] += static_cast<unsigned>(std::abs(d + v.d3));
  v.dif[7] += static_cast<unsigned>(std::abs(d - v.d4));
  v.dif[8] += static_cast<unsigned>(std::abs(d + v.d4));
  v.dif[9] += static_cast<unsigned>(std::abs(d - channelDelta_));
  v.dif[10] += static_cast<unsigned>(std::abs(d + channelDelta_));
  channelDelta_ = v.lastDelta = static_cast<int8_t>(ch - static_cast<unsigned>(v.lastChar));
  v.lastChar = static_cast<int>(ch);
  if ((v.byteCount & 0x1F) == 0) {
    int* const k[5] = {&v.k1, &v.k2, &v.k3, &v.k4, &v.k5};
    AdaptCoefficients(v.dif, 11, k);
  }
  return static_cast<uint8_t>(ch);
}

bool Unpack20::Copy(Window& w, uint32_t dist, uint32_t len) noexcept {
  lastDist_ = dist;
  oldDist_[oldDistPtr_] = dist;
  oldDistPtr_ = (oldDistPtr_ + 1) & 3;
  lastLength_ = len;
  produced_ += len;
  return w.Copy(dist, len);
}

Status Unpack20::Decode(BitInput& in, Window& w, Output& out, uint64_t size) noexcept {
  produced_ = 0;
  if (!tablesRead_ && !ReadTables(in)) return in.PastEnd() ? Status::Truncated : Status::BadData;
  while (produced_ < size) {
    in.Fill();
    if (in.PastEnd()) return in.Fault();
    if (const Status st = MakeRoom(w, out); st != Status::Ok) return st;
    if (audio_) {
      const unsigned s = audioCode_[curChannel_].Decode(in);
      if (s == 256) {
        if (!ReadTables(in)) return Status::BadData;
        continue;
      }
      if (s > 256) return Status::BadData;
      w.Put(DecodeAudio(static_cast<int>(s)));
      ++produced_;
      if (++curChannel_ == channels_) curChannel_ = 0;
      continue;
    }
    const unsigned s = main_.Decode(in);
    bool ok = true;
    if (s < 256) {
      w.Put(static_cast<uint8_t>(s));
      ++produced_;
    } else if (s == 256) {
      ok = Copy(w, lastDist_, lastLength_);
    } else if (s < 261) {
      const uint32_t dist = oldDist_[(oldDistPtr_ - (s - 256)) & 3];
      const unsigned k = rep_.Decode(in);
      if (k >= kRep) return Status::BadData;
      uint32_t len = kLenBase[k] + 2 + in.Bits(kLenBits[k]);
      if (dist >= 0x101) {
        ++len;
        if (dist >= 0x2000) {
          ++len;
          if (dist >= 0x40000) ++len;
        }
      }
      ok = Copy(w, dist, len);
    } else if (s < 269) {
      const unsigned k = s - 261;
      ok = Copy(w, kShortDistBase[k] + 1 + in.Bits(kShortDistBits[k]), 2);
    } else if (s == 269) {
      if (!ReadTables(in)) return Status::BadData;
    } else if (s < kMain) {
      const unsigned k = s - 270;
      uint32_t len = kLenBase[k] + 3 + in.Bits(kLenBits[k]);
      const unsigned d = dist_.Decode(in);
      if (d >= kDist) return Status::BadData;
      const uint32_t dist = kDistSlots.base[d] + 1 + in.Bits(kDistSlots.bits[d]);
      if (dist >= 0x2000) {
        ++len;
        if (dist >= 0x40000) ++len;
      }
      ok = Copy(w, dist, len);
    } else {
      return Status::BadData;
    }
    if (!ok) return Status::BadData;
  }
  // A table change right after the last symbol belongs to this file's stream; the next solid file
  // starts with a fresh bit stream that does not repeat it.
  if (in.HasBytes(5)) {
    if (audio_) {
      if (audioCode_[curChannel_].Decode(in) == 256 && !ReadTables(in)) return Status::BadData;
    } else if (main_.Decode(in) == 269 && !ReadTables(in)) {
      return Status::BadData;
    }
  }
  if (in.PastEnd()) return in.Fault();
  return FlushWindow(w, out);
}

}  // namespace mx::codec::rar
