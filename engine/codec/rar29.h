#pragma once
// The RAR 2.9-4.x decoder (versions 29 and 36): a sequence of LZ blocks (Huffman tables and LZ
// symbols) and PPMd blocks, with filters attached to output ranges. Filters change only what is
// passed on: the window keeps the unfiltered bytes that later matches refer to.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/codec/rar_filters.h"
#include "engine/codec/rar_huffman.h"
#include "engine/codec/rar_input.h"
#include "engine/codec/rar_ppmd.h"
#include "engine/codec/rar_window.h"
#include "engine/codec/status.h"

namespace mx::codec::rar {

class Unpack29 {
 public:
  Unpack29();
  ~Unpack29();
  void Reset() noexcept;
  // Decodes one file: until its end marker, or until more than size bytes have been produced.
  Status Decode(BitInput& in, Window& w, Output& out, uint64_t size) noexcept;
  // The largest PPMd model a stream may start, in bytes.
  void SetModelLimit(uint32_t bytes) noexcept { modelLimit_ = bytes; }
  // True when the last failure was a filter program other than the standard ones.
  bool UnknownFilter() const noexcept { return unknownFilter_; }

 private:
  // Bounds on what a stream may define: real archives use a handful of programs and filters.
  static constexpr size_t kMaxPrograms = 1024;
  static constexpr size_t kMaxFilters = 8192;
  static constexpr size_t kMaxRecord = 0x10000;
  static constexpr unsigned kMain = 299, kDist = 60, kLowDist = 17, kRep = 28, kTable = kMain + kDist + kLowDist + kRep;

  struct Program {
    FilterType type;
    uint32_t lastLength;
  };
  struct Filter {
    FilterType type;
    uint32_t blockStart;
    uint32_t blockLength;
    bool nextWindow;
    bool done;
    uint32_t r[7];
  };
  enum class Step { More, EndOfFile, Failed };

  Status ReadTables(BitInput& in, Window& w) noexcept;
  Status ReadPpmHeader(BitInput& in) noexcept;
  Step LzStep(BitInput& in, Window& w, Status& st) noexcept;
  Step PpmStep(BitInput& in, Window& w, Status& st) noexcept;
  bool Copy(Window& w, uint32_t dist, uint32_t len) noexcept;
  Status AddFilter(unsigned flags, std::span<const uint8_t> record, Window& w) noexcept;
  uint8_t* RecordBuffer() noexcept { return filterMemory_.get() + 2 * kFilterMaxBlock; }
  Status Flush(Window& w, Output& out) noexcept;
  Status Emit(Window& w, Output& out, size_t from, size_t to) noexcept;

  HuffDecoder main_, dist_, lowDist_, rep_;
  uint8_t oldTable_[kTable];
  bool tablesRead_ = false;
  bool ppmBlock_ = false;
  int ppmEscChar_ = 2;
  PpmModel ppm_;
  RangeDecoder rc_;
  uint32_t oldDist_[4] = {};
  uint32_t lastLength_ = 0;
  uint32_t prevLowDist_ = 0;
  unsigned lowDistRepCount_ = 0;
  std::vector<Program> programs_;
  uint32_t lastFilter_ = 0;
  std::vector<Filter> filters_;
  std::unique_ptr<uint8_t[]> filterMemory_;
  uint64_t produced_ = 0;
  bool unknownFilter_ = false;
  uint32_t modelLimit_ = 256u << 20;
};

}  // namespace mx::codec::rar
