#pragma once
// The RAR 2.0 decoder (versions 20 and 26): LZ77 with Huffman tables sent in the stream as deltas of
// the previous ones, a four-entry distance history, and a multimedia mode that codes the bytes of up
// to four interleaved channels as differences from an adaptive linear prediction.

#include <cstdint>

#include "engine/codec/rar_huffman.h"
#include "engine/codec/rar_input.h"
#include "engine/codec/rar_window.h"
#include "engine/codec/status.h"

namespace mx::codec::rar {

class Unpack20 {
 public:
  void Reset() noexcept;
  Status Decode(BitInput& in, Window& w, Output& out, uint64_t size) noexcept;

 private:
  static constexpr unsigned kMain = 298, kDist = 48, kRep = 28, kAudio = 257;

  struct AudioChannel {
    int k1, k2, k3, k4, k5;
    int d1, d2, d3, d4;
    int lastDelta;
    unsigned dif[11];
    unsigned byteCount;
    int lastChar;
  };

  bool ReadTables(BitInput& in) noexcept;
  uint8_t DecodeAudio(int delta) noexcept;
  bool Copy(Window& w, uint32_t dist, uint32_t len) noexcept;

  HuffDecoder main_, dist_, rep_, audioCode_[4];
  uint8_t oldTable_[4 * kAudio];
  bool tablesRead_ = false;
  bool audio_ = false;
  unsigned channels_ = 1, curChannel_ = 0;
  int channelDelta_ = 0;
  AudioChannel channel_[4];
  uint32_t oldDist_[4], oldDistPtr_ = 0, lastDist_ = 0, lastLength_ = 0;
  uint64_t produced_ = 0;
};

}  // namespace mx::codec::rar
