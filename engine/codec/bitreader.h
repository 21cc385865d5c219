#pragma once
// LSB-first bit reader shared by the decoders (inflate, explode, unshrink, unreduce).
//
// The reader keeps up to 63 unconsumed bits in a 64-bit buffer, lowest bit first. Refill tops the
// buffer up to at least 56 bits: with 8 or more bytes left in the current input block it loads one
// 64-bit word and takes as many whole bytes as fit; near the end of a block it goes byte by byte and
// asks the source for the next block. Past the end of the input it supplies zero bytes and counts
// them, so a decoder never reads outside its input and needs no per-bit end check: Overrun() tells
// whether any of those padding bits were actually consumed, and Refill() returns false once that has
// happened, which ends every decoding loop in a bounded number of steps.
//
// Usage:  if (!br.Refill()) ...truncated...;  v = br.Peek(n); br.Drop(n);   (n <= 56 after a Refill)
// or:     if (!br.Need(n)) ...;  v = br.Bits(n);

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

class BitReader {
 public:
  // Reads the blocks handed out by source.
  explicit BitReader(ByteSource& source) noexcept : source_(&source) {}
  // Reads one whole buffer.
  explicit BitReader(std::span<const uint8_t> data) noexcept
      : in_(data.data()), end_(data.data() + data.size()), blockStart_(data.data()), ended_(true) {}

  BitReader(const BitReader&) = delete;
  BitReader& operator=(const BitReader&) = delete;

  // Makes at least 56 bits available. False once padding past the end of input has been consumed
  // or the source failed; the bits handed out are then zeros.
  bool Refill() noexcept {
    if (end_ - in_ >= 8) {
      buf_ |= Load64(in_) << count_;
      in_ += (63 - count_) >> 3;
      count_ |= 56;
      return true;
    }
    return SlowRefill();
  }

  // Makes at least n (at most 56) bits available.
  bool Need(unsigned n) noexcept { return count_ >= n ? true : Refill(); }

  // The next n bits (n <= the bits available) without consuming them.
  uint32_t Peek(unsigned n) const noexcept { return static_cast<uint32_t>(buf_ & ((uint64_t{1} << n) - 1)); }
  // The whole buffer; bits at and above Available() are undefined.
  uint64_t PeekAll() const noexcept { return buf_; }
  void Drop(unsigned n) noexcept {
    buf_ >>= n;
    count_ -= n;
  }
  uint32_t Bits(unsigned n) noexcept {
    uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  unsigned Available() const noexcept { return count_; }

  // Drops the bits up to the next byte boundary of the input.
  void AlignToByte() noexcept { Drop(count_ & 7); }

  // Copies up to n whole bytes, after AlignToByte; returns the count copied (less only at the end of
  // input or when the source failed).
  size_t ReadBytes(uint8_t* out, size_t n) noexcept;

  // Bit state for a hot loop that keeps it in registers. Such a loop takes the state, refills with
  // FastRefill only while at least 8 bytes of the current block are left, and puts the state back
  // before calling anything else on the reader.
  struct FastState {
    uint64_t buf;
    unsigned count;
    const uint8_t* in;
    const uint8_t* end;
  };
  FastState TakeState() const noexcept { return {buf_, count_, in_, end_}; }
  void PutState(const FastState& s) noexcept {
    buf_ = s.buf;
    count_ = s.count;
    in_ = s.in;
  }
  static void FastRefill(FastState& s) noexcept {
    s.buf |= Load64(s.in) << s.count;
    s.in += (63 - s.count) >> 3;
    s.count |= 56;
  }

  // Eight input bytes as a word, the first in the lowest bits.
  static uint64_t Load64(const uint8_t* p) noexcept {
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::big) {
      uint64_t r = 0;
      for (int i = 0; i < 8; ++i) r |= uint64_t{p[i]} << (8 * i);
      v = r;
    }
    return v;
  }

  // True once zero padding has been appended (the input has ended); only then can Overrun() change.
  bool Padded() const noexcept { return pad_ != 0; }
  // True when bits beyond the end of the input were consumed.
  bool Overrun() const noexcept { return overrun_ || pad_ > count_; }
  // The source's failure (Cancelled, ...), or Ok; End is not a failure.
  Status SourceStatus() const noexcept { return sourceStatus_; }
  // The status a decoder reports when it stops early: the source's failure, else Truncated when
  // padding was consumed, else the given one.
  Status Fault(Status otherwise) const noexcept {
    if (sourceStatus_ != Status::Ok) return sourceStatus_;
    if (Overrun()) return Status::Truncated;
    return otherwise;
  }
  // Input bytes consumed so far (whole bytes; a partly used byte counts).
  uint64_t BytesConsumed() const noexcept {
    uint64_t loaded = taken_ + static_cast<uint64_t>(in_ - blockStart_);
    unsigned realHeld = count_ > pad_ ? count_ - pad_ : 0;
    return loaded - realHeld / 8;
  }

 private:
  bool NextBlock() noexcept;
  bool SlowRefill() noexcept;

  uint64_t buf_ = 0;        // bits, lowest first; bits at and above count_ may hold copies of later input
  unsigned count_ = 0;      // valid bits in buf_ (0..63)
  unsigned pad_ = 0;        // zero bits appended past the end of input, all at the top of buf_
  bool overrun_ = false;    // padding was consumed at some point
  const uint8_t* in_ = nullptr;
  const uint8_t* end_ = nullptr;
  const uint8_t* blockStart_ = nullptr;
  uint64_t taken_ = 0;      // bytes of earlier blocks
  ByteSource* source_ = nullptr;
  bool ended_ = false;      // no more blocks
  Status sourceStatus_ = Status::Ok;
};

}  // namespace mx::codec
