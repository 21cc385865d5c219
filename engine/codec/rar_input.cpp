#include "engine/codec/rar_input.h"

#include <cstring>

namespace mx::codec::rar {

namespace {

// The buffer holds kBuffer bytes of input plus zero padding for reads past its end.
constexpr size_t kBuffer = 0x8000;
constexpr size_t kPadding = 2 * BitInput::kAhead;

}  // namespace

BitInput::BitInput(ByteSource& source) : source_(source), buf_(new uint8_t[kBuffer + kPadding]) {
  std::memset(buf_.get(), 0, kBuffer + kPadding);
}

void BitInput::Refill() noexcept {
  if (ended_) {
    // Only zeros are left. A decoder that keeps reading them is moved back to the end, so it never
    // leaves the padding; the reads it made still count as past the end.
    if (pos_ > end_) {
      overrun_ = true;
      overrunBytes_ += pos_ - end_;
      pos_ = end_;
    }
    return;
  }
  const size_t keep = end_ - pos_;
  std::memmove(buf_.get(), buf_.get() + pos_, keep);
  end_ = keep;
  pos_ = 0;
  while (end_ < kBuffer) {
    if (pending_.empty()) {
      const Status st = source_.Read(pending_);
      if (st != Status::Ok) {
        if (st != Status::End) failure_ = st;
        pending_ = {};
        ended_ = true;
        break;
      }
    }
    // A block larger than the room left is taken in part; the rest waits for the next refill.
    const size_t n = pending_.size() < kBuffer - end_ ? pending_.size() : kBuffer - end_;
    std::memcpy(buf_.get() + end_, pending_.data(), n);
    end_ += n;
    pending_ = pending_.subspan(n);
  }
  std::memset(buf_.get() + end_, 0, kPadding);
}

}  // namespace mx::codec::rar
