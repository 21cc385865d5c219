#pragma once
// MSB-first bit input of the RAR decoders over a ByteSource. The stream is read through a buffer that
// keeps at least kAhead bytes after the read position while the source has them, so a decoder calls
// Fill() once per symbol and then reads without bounds checks. Past the end of the input it reads zero
// bytes; PastEnd() says whether any were consumed. The PPMd range coder takes whole bytes from the
// same position after Align().

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec::rar {

class BitInput {
 public:
  // Bytes a decoder may read after one Fill(): enough for any single symbol with its extra bits.
  static constexpr size_t kAhead = 64;

  explicit BitInput(ByteSource& source);
  BitInput(const BitInput&) = delete;
  BitInput& operator=(const BitInput&) = delete;

  void Fill() noexcept {
    if (pos_ + kAhead > end_) Refill();
  }
  // The next 16 bits, the first one in bit 15.
  uint32_t Peek16() const noexcept {
    const uint8_t* p = buf_.get() + pos_;
    const uint32_t v = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    return (v >> (8 - bit_)) & 0xFFFF;
  }
  void Drop(unsigned n) noexcept {
    bit_ += n;
    pos_ += bit_ >> 3;
    bit_ &= 7;
  }
  // n (at most 16) bits.
  uint32_t Bits(unsigned n) noexcept {
    const uint32_t v = Peek16() >> (16 - n);
    Drop(n);
    return v;
  }
  void Align() noexcept {
    if (bit_) Drop(8 - bit_);
  }
  // The next whole byte (after Align()).
  uint8_t Byte() noexcept {
    Fill();
    return buf_[pos_++];
  }

  // True when bits beyond the end of the input have been consumed.
  bool PastEnd() const noexcept { return overrun_ || (ended_ && (pos_ > end_ || (pos_ == end_ && bit_ != 0))); }
  // Bytes consumed past the end of the input, 0 while within it (for the range coder, which may read
  // a few bytes ahead of its last symbol).
  uint64_t BytesPastEnd() const noexcept { return ended_ && pos_ > end_ ? pos_ - end_ + overrunBytes_ : overrunBytes_; }
  // True when at least n more bytes of real input follow the current byte position.
  bool HasBytes(size_t n) noexcept {
    Fill();
    return pos_ + n <= end_;
  }
  // The source's failure, Ok while there is none.
  Status SourceStatus() const noexcept { return failure_; }
  // Why a decoder that ran out of input stops: the source's failure, or the end of the data.
  Status Fault() const noexcept { return failure_ != Status::Ok ? failure_ : Status::Truncated; }

 private:
  void Refill() noexcept;

  ByteSource& source_;
  std::span<const uint8_t> pending_;  // the part of the source's last block not yet buffered
  std::unique_ptr<uint8_t[]> buf_;
  size_t pos_ = 0;  // read position (whole bytes)
  unsigned bit_ = 0;  // bits of buf_[pos_] already consumed
  size_t end_ = 0;  // bytes of real input in the buffer; zeros follow
  bool ended_ = false;
  bool overrun_ = false;
  uint64_t overrunBytes_ = 0;
  Status failure_ = Status::Ok;
};

}  // namespace mx::codec::rar
