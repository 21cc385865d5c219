#pragma once
// Decoder for the block-structured static-Huffman LZ77 format of the LH family: LHA's -lh4-, -lh5-
// and -lh6-, ARJ's methods 1 to 3, ZOO's method 2 and the BH Fuse method. Each block carries its own
// canonical codes for literals/lengths and for positions, sent through a small pre-code.
//
// The decoder is bounded on hostile input: every count, code length, table link and distance is
// checked before it is used, and it never writes more than the declared size.

#include <cstdint>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

struct LzhParams {
  uint8_t dictBits;  // the stream has dictBits + 1 position codes
  uint8_t pBits;     // width of the position-code count in each block header
  uint32_t window;   // bytes of history kept; a distance must lie below it
};

inline constexpr LzhParams kLzhLh4{12, 4, 26624};
inline constexpr LzhParams kLzhLh5{13, 4, 26624};
inline constexpr LzhParams kLzhLh6{16, 5, 32768};
inline constexpr LzhParams kLzhArj{16, 5, 26624};  // ARJ methods 1, 2 and 3
inline constexpr LzhParams kLzhZoo{13, 4, 26624};  // ZOO method 2 and BH Fuse

// Decodes one entry until outSize bytes have been written.
//   Ok          outSize bytes written (a match running past outSize is cut there)
//   BadData     a code table that is incomplete or over-full, a count or zero run beyond its table,
//               or a distance reaching beyond the window
//   Truncated   the input ended, or a block header announced no symbols, before outSize
//   NoMemory    the window or tables could not be allocated; nothing was written
//   anything else: the source's or sink's failure, passed on unchanged
Status LzhDecode(ByteSource& in, ByteSink& out, const LzhParams& params, uint64_t outSize) noexcept;

// MSB-first bit input over a ByteSource, shared by the LH decoders and ARJ's method 4. Past the end
// of the input it delivers zero bits; Overrun() tells when the decoder has used more than a few of
// them, which real streams never do.
class LzhBitReader {
 public:
  explicit LzhBitReader(ByteSource& in) noexcept : in_(in) {}

  // The next n bits (n <= 32) without consuming them.
  uint32_t Peek(unsigned n) noexcept {
    if (n == 0) return 0;
    if (count_ < n) Refill();
    return static_cast<uint32_t>(buf_ >> (64 - n));
  }
  void Drop(unsigned n) noexcept {
    if (n == 0) return;
    if (count_ < n) Refill();
    buf_ <<= n;
    count_ -= n;
  }
  uint32_t Get(unsigned n) noexcept {
    uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  // Makes at least 57 bits available.
  void Refill() noexcept;

  bool Overrun() const noexcept { return padding_ * 8 > count_ + 16; }
  // The source's failure (Cancelled, ...), Ok while there is none.
  Status Failure() const noexcept { return failure_; }

 private:
  ByteSource& in_;
  std::span<const uint8_t> block_;
  size_t pos_ = 0;
  uint64_t buf_ = 0;
  unsigned count_ = 0;
  unsigned padding_ = 0;
  bool ended_ = false;
  Status failure_ = Status::Ok;
};

}  // namespace mx::codec
