#pragma once
// Pull and push interfaces through which the streaming codecs see their input and output. Both move
// whole blocks, never one virtual call per byte.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/codec/status.h"

namespace mx::codec {

// Hands out the input in blocks. Read sets block to the next non-empty block and returns Ok, returns
// End when the input is used up, or a failure (Cancelled, Truncated, ...) that the codec passes on.
// A block stays valid until the next Read.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual Status Read(std::span<const uint8_t>& block) noexcept = 0;
};

// Takes the output in blocks. Write returns Ok when it kept the whole block; any other status ends the
// codec, which returns it unchanged (OutputFull for a failed write, Cancelled for a cancel).
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual Status Write(std::span<const uint8_t> block) noexcept = 0;
};

// A source over one buffer, handed out in blocks of at most blockSize bytes (the whole buffer by default).
class SpanSource final : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> data, size_t blockSize = 0) noexcept
      : data_(data), blockSize_(blockSize ? blockSize : data.size()) {}
  Status Read(std::span<const uint8_t>& block) noexcept override {
    if (pos_ >= data_.size()) return Status::End;
    size_t n = data_.size() - pos_;
    if (n > blockSize_) n = blockSize_;
    block = data_.subspan(pos_, n);
    pos_ += n;
    return Status::Ok;
  }

 private:
  std::span<const uint8_t> data_;
  size_t blockSize_;
  size_t pos_ = 0;
};

// A sink that appends to a vector, refusing to grow past a limit (OutputFull).
class VectorSink final : public ByteSink {
 public:
  explicit VectorSink(std::vector<uint8_t>& out, size_t limit = SIZE_MAX) noexcept : out_(out), limit_(limit) {}
  Status Write(std::span<const uint8_t> block) noexcept override {
    if (block.size() > limit_ - out_.size()) return Status::OutputFull;
#if defined(__cpp_exceptions)
    try {
      out_.insert(out_.end(), block.begin(), block.end());
    } catch (...) {
      return Status::NoMemory;
    }
#else
    out_.insert(out_.end(), block.begin(), block.end());
#endif
    return Status::Ok;
  }

 private:
  std::vector<uint8_t>& out_;
  size_t limit_;
};

}  // namespace mx::codec
