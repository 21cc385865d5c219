#pragma once
// Output stage shared by explode, unshrink and unreduce: collects decoded bytes in a 32 KB buffer,
// passes each full buffer to the sink, and stops at the entry's declared size so that a damaged
// stream can never write more than the header promised.

#include <array>
#include <cstdint>
#include <span>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

class LegacyOutput {
 public:
  LegacyOutput(ByteSink& sink, uint64_t limit) noexcept : sink_(sink), limit_(limit) {}
  LegacyOutput(const LegacyOutput&) = delete;
  LegacyOutput& operator=(const LegacyOutput&) = delete;

  // True once the declared size has been produced.
  bool Full() const noexcept { return count_ == limit_; }
  uint64_t Count() const noexcept { return count_; }

  // Appends one byte; the caller checks Full() first. Returns the sink's failure, if any.
  Status Put(uint8_t b) noexcept {
    buf_[pos_++] = b;
    ++count_;
    return pos_ == buf_.size() ? Flush() : Status::Ok;
  }

  // Passes the buffered bytes on.
  Status Flush() noexcept {
    if (pos_ == 0) return Status::Ok;
    Status st = sink_.Write(std::span<const uint8_t>(buf_.data(), pos_));
    pos_ = 0;
    return st;
  }

 private:
  ByteSink& sink_;
  uint64_t limit_;
  uint64_t count_ = 0;
  size_t pos_ = 0;
  std::array<uint8_t, 32768> buf_{};
};

}  // namespace mx::codec
