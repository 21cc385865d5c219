#include "engine/codec/bitreader.h"

namespace mx::codec {

bool BitReader::NextBlock() noexcept {
  if (ended_) return false;
  std::span<const uint8_t> block;
  Status st = source_->Read(block);
  taken_ += static_cast<uint64_t>(end_ - blockStart_);
  if (st == Status::Ok && !block.empty()) {
    in_ = blockStart_ = block.data();
    end_ = block.data() + block.size();
    return true;
  }
  in_ = end_ = blockStart_ = nullptr;
  ended_ = true;
  if (st != Status::Ok && st != Status::End) sourceStatus_ = st;
  return false;
}

bool BitReader::SlowRefill() noexcept {
  if (pad_ > count_) overrun_ = true;
  if (overrun_ || sourceStatus_ != Status::Ok) {
    // Keep handing out zeros without growing the padding count.
    buf_ = 0;
    count_ = 56;
    pad_ = 56;
    return false;
  }
  buf_ &= count_ ? (~uint64_t{0} >> (64 - count_)) : 0;  // drop copies of input beyond count_
  while (count_ <= 56) {
    if (in_ == end_ && !NextBlock()) {
      if (sourceStatus_ != Status::Ok) {
        buf_ = 0;
        count_ = 56;
        pad_ = 56;
        return false;
      }
      pad_ += 8;
      count_ += 8;
      continue;
    }
    if (pad_ != 0) {  // cannot happen: padding only follows the last block
      overrun_ = true;
      return false;
    }
    buf_ |= uint64_t{*in_++} << count_;
    count_ += 8;
  }
  return true;
}

size_t BitReader::ReadBytes(uint8_t* out, size_t n) noexcept {
  size_t done = 0;
  while (done < n && count_ >= 8) {
    if (pad_ + 8 > count_) {  // the next byte is padding
      overrun_ = true;
      return done;
    }
    out[done++] = static_cast<uint8_t>(buf_);
    Drop(8);
  }
  if (done == n) return done;
  // The buffer is empty now; copies of later input above it are stale once in_ moves.
  buf_ = 0;
  count_ = 0;
  while (done < n) {
    if (in_ == end_ && !NextBlock()) return done;
    size_t k = static_cast<size_t>(end_ - in_);
    if (k > n - done) k = n - done;
    std::memcpy(out + done, in_, k);
    in_ += k;
    done += k;
  }
  return done;
}

}  // namespace mx::codec
