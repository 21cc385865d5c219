#pragma once
// Decompression of the entries of RAR 1.5-4.x archives: RAR 1.5 (versions 13 and 15), RAR 2.0 (20 and
// 26) and RAR 2.9-4.x (29 and 36). One RarUnpacker decodes the entries of one archive in order; for a
// solid entry it continues the window and the model state of the entry before it.
//
// Memory is bounded by the dictionary the entry header declares (at most 4 MB; RAR 2.9-4.x always get
// 256 KB so that a filter block fits), plus the PPMd model size a stream asks for (at most 256 MB, or maxModel),
// plus 640 KB of filter memory.

#include <cstdint>
#include <memory>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

struct RarUnpackParams {
  static constexpr uint64_t kUnknownSize = UINT64_MAX;
  unsigned version = 29;     // the version needed to extract
  uint32_t dictionary = 0;   // bytes, a power of two of 64 KB to 4 MB
  bool solid = false;        // continues the state of the previous entry
  uint64_t size = 0;         // unpacked size, or kUnknownSize (decoded to the end marker)
  // The largest PPMd model a stream may ask for, in bytes; a larger one is refused as BadData. The
  // format allows 256 MB; a caller short of memory (or a fuzzer) may allow less.
  uint32_t maxModel = 256u << 20;
};

class RarUnpacker {
 public:
  RarUnpacker();
  ~RarUnpacker();
  RarUnpacker(const RarUnpacker&) = delete;
  RarUnpacker& operator=(const RarUnpacker&) = delete;

  // True for the versions this decoder handles.
  static bool Supports(unsigned version) noexcept;

  // Decodes one entry from in to out (at most size bytes reach out).
  //   Ok          the entry was decoded and gave at least size bytes
  //   BadData     damaged data, a wrong password, a version not supported, or a filter program
  //               that is not one of the standard ones (UnknownFilter() tells)
  //   Truncated   the packed data ended early
  //   NoMemory    the window or a model could not be allocated
  //   anything else: the source's or sink's failure
  // After any failure the solid state is lost: the next solid entry fails until Reset().
  Status Unpack(ByteSource& in, ByteSink& out, const RarUnpackParams& params) noexcept;
  // Forgets the solid state.
  void Reset() noexcept;
  bool UnknownFilter() const noexcept;
  // True when the state can continue into a solid entry.
  bool CanContinue() const noexcept;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace mx::codec
