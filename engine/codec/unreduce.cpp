#include "engine/codec/unreduce.h"

#include <array>
#include <memory>
#include <new>

#include "engine/codec/bitreader.h"
#include "engine/codec/legacy_output.h"

namespace mx::codec {
namespace {

constexpr uint8_t kDle = 144;  // escape of the expansion stage
constexpr unsigned kWindowMask = 0x0FFF;

struct UnreduceState {
  UnreduceState(ByteSink& sink, uint64_t size) : out(sink, size) {}
  std::array<uint8_t, 256> followerCount{};
  std::array<std::array<uint8_t, 32>, 256> followers{};
  std::array<uint8_t, 4096> window{};  // zeros, so distances before the first byte copy zeros
  LegacyOutput out;
};

// Bits of a follower index for a set of n bytes (1 to 32).
unsigned IndexBits(unsigned n) noexcept {
  unsigned bits = 1;
  while ((1u << bits) < n) ++bits;
  return bits;
}

// The expansion stage. After DLE: 0 stands for a DLE byte; any other byte V starts a match whose
// length (minus 3) is V's low bits (an all-ones value takes one more byte to add) and whose distance
// (minus 1) has V's high bits above the byte that ends the match.
class Expander {
 public:
  Expander(UnreduceState& s, unsigned factor) noexcept
      : s_(s), lengthMask_(0xFFu >> factor), distanceShift_(8 - factor) {}

  Status Feed(uint8_t b) noexcept {
    switch (state_) {
      case 0:
        if (b == kDle) {
          state_ = 1;
          return Status::Ok;
        }
        return Put(b);
      case 1:
        if (b == 0) {
          state_ = 0;
          return Put(kDle);
        }
        v_ = b;
        length_ = b & lengthMask_;
        state_ = length_ == lengthMask_ ? 2 : 3;
        return Status::Ok;
      case 2:
        length_ += b;
        state_ = 3;
        return Status::Ok;
      default: {
        state_ = 0;
        unsigned distance = ((v_ >> distanceShift_) << 8) + b + 1;
        unsigned from = (pos_ - distance) & kWindowMask;
        for (unsigned n = length_ + 3; n > 0 && !s_.out.Full(); --n) {
          uint8_t c = s_.window[from];
          from = (from + 1) & kWindowMask;
          if (Status st = Put(c); st != Status::Ok) return st;
        }
        return Status::Ok;
      }
    }
  }

 private:
  Status Put(uint8_t b) noexcept {
    s_.window[pos_] = b;
    pos_ = (pos_ + 1) & kWindowMask;
    return s_.out.Put(b);
  }

  UnreduceState& s_;
  unsigned lengthMask_;
  unsigned distanceShift_;
  int state_ = 0;
  unsigned v_ = 0;
  unsigned length_ = 0;
  unsigned pos_ = 0;
};

}  // namespace

Status Unreduce(ByteSource& in, ByteSink& out, int method, uint64_t outSize) noexcept {
  if (method < 2 || method > 5) return Status::BadData;
  std::unique_ptr<UnreduceState> sp(new (std::nothrow) UnreduceState(out, outSize));
  if (!sp) return Status::NoMemory;
  UnreduceState& s = *sp;

  BitReader br(in);
  // Follower sets, for the byte values 255 down to 0: a 6-bit count, then that many bytes.
  for (int v = 255; v >= 0; --v) {
    br.Refill();
    unsigned n = br.Bits(6);
    if (n > 32) return br.Overrun() ? br.Fault(Status::Truncated) : Status::BadData;
    s.followerCount[static_cast<size_t>(v)] = static_cast<uint8_t>(n);
    for (unsigned i = 0; i < n; ++i) {
      br.Need(8);
      s.followers[static_cast<size_t>(v)][i] = static_cast<uint8_t>(br.Bits(8));
    }
    if (br.Overrun()) return br.Fault(Status::Truncated);
  }

  Expander expander(s, static_cast<unsigned>(method - 1));
  Status st = Status::Ok;
  uint8_t last = 0;
  while (!s.out.Full()) {
    br.Refill();  // one byte takes at most 1 + 8 bits
    unsigned n = s.followerCount[last];
    uint8_t b;
    if (n != 0 && br.Bits(1) == 0) {
      unsigned index = br.Bits(IndexBits(n));
      if (br.Overrun()) break;
      if (index >= n) {
        st = Status::BadData;
        break;
      }
      b = s.followers[last][index];
    } else {
      b = static_cast<uint8_t>(br.Bits(8));
    }
    if (br.Overrun()) break;
    if ((st = expander.Feed(b)) != Status::Ok) break;
    last = b;
  }
  if (st == Status::Ok && br.Overrun()) st = br.Fault(Status::Truncated);
  Status flushed = s.out.Flush();
  return st != Status::Ok ? st : flushed;
}

}  // namespace mx::codec
