#include "engine/codec/arj_method4.h"

#include <memory>
#include <new>

#include "engine/codec/legacy_output.h"
#include "engine/codec/lzh_decoder.h"

namespace mx::codec {

namespace {
constexpr uint32_t kWindow = 26624;
}

Status ArjMethod4Decode(ByteSource& in, ByteSink& out, uint64_t outSize) noexcept {
  if (outSize == 0) return Status::Ok;
  std::unique_ptr<uint8_t[]> window(new (std::nothrow) uint8_t[kWindow]());
  std::unique_ptr<LegacyOutput> output(new (std::nothrow) LegacyOutput(out, outSize));
  if (!window || !output) return Status::NoMemory;
  LzhBitReader bits(in);
  uint32_t pos = 0;
  while (!output->Full()) {
    if (bits.Failure() != Status::Ok) return bits.Failure();
    if (bits.Overrun()) {
      Status st = output->Flush();
      return st == Status::Ok ? Status::Truncated : st;
    }
    // Length: up to 7 one-bits, each doubling the base, then as many plain bits.
    uint32_t c = 0;
    uint32_t power = 1;
    unsigned width = 0;
    for (; width < 7; ++width) {
      if (!bits.Get(1)) break;
      c += power;
      power <<= 1;
    }
    c += bits.Get(width);
    if (c == 0) {
      const uint8_t b = static_cast<uint8_t>(bits.Get(8));
      window[pos] = b;
      pos = pos + 1 == kWindow ? 0 : pos + 1;
      if (Status st = output->Put(b); st != Status::Ok) return st;
      continue;
    }
    const uint32_t length = c + 2;
    // Distance: widths 9 to 13, each one-bit adding the previous width's range.
    uint32_t plus = 0;
    power = 1u << 9;
    width = 9;
    for (; width < 13; ++width) {
      if (!bits.Get(1)) break;
      plus += power;
      power <<= 1;
    }
    const uint32_t distance = plus + bits.Get(width);
    uint32_t from = pos >= distance + 1 ? pos - distance - 1 : pos + kWindow - distance - 1;
    for (uint32_t k = 0; k < length && !output->Full(); ++k) {
      const uint8_t b = window[from];
      from = from + 1 == kWindow ? 0 : from + 1;
      window[pos] = b;
      pos = pos + 1 == kWindow ? 0 : pos + 1;
      if (Status st = output->Put(b); st != Status::Ok) return st;
    }
  }
  return output->Flush();
}

}  // namespace mx::codec
