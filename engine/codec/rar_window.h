#pragma once
// The sliding window the RAR decoders share, and the clamped output of one file.
//
// The window is a ring of a power-of-two size. Decoders put bytes at ptr; the bytes from wr up to ptr
// are decoded but not yet passed on. total counts every byte decoded since the stream started (it
// survives solid files), so a match that reaches back before the first byte is caught.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec::rar {

class Window {
 public:
  // Room kept free ahead of ptr: more than the longest match of any of the formats.
  static constexpr size_t kMargin = 0x400;

  // Makes the ring size bytes (a power of two) and empty; false when it cannot be allocated.
  bool Allocate(size_t size) noexcept;
  size_t Size() const noexcept { return mask_ + 1; }
  void Clear() noexcept {
    ptr = wr = 0;
    total = 0;
  }

  uint8_t* Data() noexcept { return data_.get(); }
  size_t Mask() const noexcept { return mask_; }

  void Put(uint8_t b) noexcept {
    data_[ptr] = b;
    ptr = (ptr + 1) & mask_;
    ++total;
  }
  // Copies len bytes from dist back. False for a distance of 0, beyond the ring, or before the first
  // byte of the stream.
  bool Copy(size_t dist, size_t len) noexcept {
    if (dist == 0 || dist > mask_ + 1 || dist > total) return false;
    total += len;
    size_t src = (ptr - dist) & mask_;
    uint8_t* w = data_.get();
    if (src + len <= mask_ && ptr + len <= mask_) {
      uint8_t* d = w + ptr;
      const uint8_t* s = w + src;
      ptr += len;
      // Byte by byte: an overlapping copy repeats the bytes it has just written.
      while (len--) *d++ = *s++;
      return true;
    }
    while (len--) {
      w[ptr] = w[src];
      ptr = (ptr + 1) & mask_;
      src = (src + 1) & mask_;
    }
    return true;
  }
  // Bytes decoded and not yet passed on.
  size_t Pending() const noexcept { return (ptr - wr) & mask_; }
  // True when the next symbol might overwrite bytes that are not yet passed on.
  bool NearlyFull() const noexcept { return Pending() >= mask_ + 1 - kMargin; }

  size_t ptr = 0;
  size_t wr = 0;
  uint64_t total = 0;

 private:
  std::unique_ptr<uint8_t[]> data_;
  size_t mask_ = 0;
};

// One file's output: passes bytes to the sink up to the declared size and drops the rest.
class Output {
 public:
  Output(ByteSink& sink, uint64_t limit) noexcept : sink_(sink), limit_(limit) {}
  Status Write(const uint8_t* data, size_t size) noexcept {
    written_ += size;
    if (passed_ >= limit_ || size == 0) return Status::Ok;
    const uint64_t room = limit_ - passed_;
    const size_t n = size < room ? size : static_cast<size_t>(room);
    passed_ += n;
    return sink_.Write(std::span<const uint8_t>(data, n));
  }
  // Every byte offered, including those beyond the declared size.
  uint64_t Written() const noexcept { return written_; }
  uint64_t Limit() const noexcept { return limit_; }

 private:
  ByteSink& sink_;
  uint64_t limit_;
  uint64_t written_ = 0;
  uint64_t passed_ = 0;
};

// Passes the window's bytes from wr up to ptr to out.
Status FlushWindow(Window& w, Output& out) noexcept;

// Before a symbol of the 1.5 and 2.0 decoders: passes the window on when the symbol might overwrite
// bytes not yet passed on.
inline Status MakeRoom(Window& w, Output& out) noexcept { return w.NearlyFull() ? FlushWindow(w, out) : Status::Ok; }

}  // namespace mx::codec::rar
