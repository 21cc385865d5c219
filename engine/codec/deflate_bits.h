#pragma once
// LSB-first bit writer of the deflate compressor.
//
// Bits are packed from the lowest bit upward into a 64-bit buffer. After every Put fewer than 32 bits
// are pending, so one Put may add up to 32 bits without overflowing the buffer; whenever 32 bits are
// pending they are stored as four bytes, low byte first. Bytes collect in an output buffer that is
// handed to the sink when it is nearly full and at Drain. A sink failure is kept: later output is
// dropped and Failed() reports the status, which the compressor checks between blocks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

class DeflateBitWriter {
 public:
  DeflateBitWriter() noexcept = default;
  DeflateBitWriter(const DeflateBitWriter&) = delete;
  DeflateBitWriter& operator=(const DeflateBitWriter&) = delete;

  // Starts a new output into sink, with nothing pending.
  void Reset(ByteSink& sink) noexcept {
    sink_ = &sink;
    bits_ = 0;
    count_ = 0;
    pos_ = 0;
    status_ = Status::Ok;
    bytesOut_ = 0;
  }

  // Appends the low n bits of value (n <= 32; value has no bits above them).
  void Put(uint32_t value, unsigned n) noexcept {
    bits_ |= uint64_t{value} << count_;
    count_ += n;
    if (count_ >= 32) Store32();
  }

  // Pads with zero bits to the next byte boundary and moves the pending bytes to the buffer.
  void AlignToByte() noexcept {
    while (count_ > 0) {
      buf_[pos_++] = static_cast<uint8_t>(bits_);
      bits_ >>= 8;
      count_ = count_ > 8 ? count_ - 8 : 0;
    }
    bits_ = 0;
    if (pos_ > kBufSize - 8) Drain();
  }

  // Appends whole bytes; the writer must be at a byte boundary.
  void PutBytes(std::span<const uint8_t> bytes) noexcept {
    if (bytes.size() <= kBufSize - pos_) {
      for (size_t i = 0; i < bytes.size(); ++i) buf_[pos_ + i] = bytes[i];
      pos_ += bytes.size();
      if (pos_ > kBufSize - 8) Drain();
      return;
    }
    Drain();
    Write(bytes);
  }

  // Hands the buffered bytes to the sink.
  void Drain() noexcept {
    if (pos_ == 0) return;
    Write(std::span<const uint8_t>(buf_.data(), pos_));
    pos_ = 0;
  }

  // Ok, or the first failure the sink reported.
  Status Failed() const noexcept { return status_; }
  // Bytes handed to the sink so far.
  uint64_t BytesOut() const noexcept { return bytesOut_; }

 private:
  static constexpr size_t kBufSize = 64 * 1024;

  void Store32() noexcept {
    const uint32_t v = static_cast<uint32_t>(bits_);
    buf_[pos_] = static_cast<uint8_t>(v);
    buf_[pos_ + 1] = static_cast<uint8_t>(v >> 8);
    buf_[pos_ + 2] = static_cast<uint8_t>(v >> 16);
    buf_[pos_ + 3] = static_cast<uint8_t>(v >> 24);
    pos_ += 4;
    bits_ >>= 32;
    count_ -= 32;
    if (pos_ > kBufSize - 8) Drain();
  }

  void Write(std::span<const uint8_t> bytes) noexcept {
    if (status_ != Status::Ok || bytes.empty()) return;
    status_ = sink_->Write(bytes);
    if (status_ == Status::Ok) bytesOut_ += bytes.size();
  }

  ByteSink* sink_ = nullptr;
  uint64_t bits_ = 0;
  unsigned count_ = 0;
  size_t pos_ = 0;
  Status status_ = Status::Ok;
  uint64_t bytesOut_ = 0;
  std::array<uint8_t, kBufSize> buf_;
};

}  // namespace mx::codec
