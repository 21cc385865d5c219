#pragma once
// The RAR 1.5 decoder (also used for RAR 1.3 data in the 1.5 container): LZ77 without transmitted
// tables. Fixed prefix-code shapes give a rank, and adaptive tables that move used entries to the
// front turn ranks into bytes and distances; running averages pick the shape for each symbol.

#include <cstdint>

#include "engine/codec/rar_input.h"
#include "engine/codec/rar_window.h"
#include "engine/codec/status.h"

namespace mx::codec::rar {

class Unpack15 {
 public:
  // Forgets all adaptive state (a non-solid start).
  void Reset() noexcept;
  // Decodes until size bytes have been produced into the window (passed to out on the way).
  Status Decode(BitInput& in, Window& w, Output& out, uint64_t size) noexcept;

 private:
  enum Shape { kL1, kL2, kHf0, kHf1, kHf2, kHf3, kHf4 };
  unsigned DecodeNum(BitInput& in, Shape shape) noexcept;
  void InitHuff() noexcept;
  static void CorrHuff(uint16_t* table, uint8_t* next) noexcept;
  void GetFlagsBuf(BitInput& in) noexcept;
  // The next bit of the flag bytes that choose between literals and the two kinds of match.
  bool NextFlag(BitInput& in) noexcept;
  bool HuffDecode(BitInput& in, Window& w) noexcept;
  bool ShortLz(BitInput& in, Window& w) noexcept;
  bool LongLz(BitInput& in, Window& w) noexcept;
  bool Copy(Window& w, uint32_t dist, uint32_t len) noexcept;
  void Remember(uint32_t dist, uint32_t len) noexcept;

  uint16_t chSet_[256], chSetA_[256], chSetB_[256], chSetC_[256];
  uint8_t nToPl_[256], nToPlB_[256], nToPlC_[256];
  uint32_t avrPlc_, avrPlcB_, avrLn1_, avrLn2_, avrLn3_;
  uint32_t nhfb_, nlzb_, maxDist3_;
  uint32_t buf60_, numHuf_, stMode_, lCount_;
  uint32_t flagBuf_;
  int flagsCnt_;
  uint32_t oldDist_[4], oldDistPtr_, lastDist_, lastLength_;
  uint64_t produced_ = 0;
};

}  // namespace mx::codec::rar
