// Fuzz target: explode. Input: one byte of flag bits (bit 1: 8 KB window, bit 2: literal tree), two
// bytes of declared size (little-endian, so at most 64 KB of output), then the imploded stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/explode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  uint16_t flags = data[0] & 0x06;
  uint64_t outSize = data[1] | (uint64_t{data[2]} << 8);
  std::vector<uint8_t> out;
  mx::codec::SpanSource in(std::span(data + 3, size - 3), 1 + data[1] % 64);
  mx::codec::VectorSink sink(out);
  mx::codec::Status st = mx::codec::Explode(in, sink, flags, outSize);
  if (out.size() > outSize) __builtin_trap();
  if (st == mx::codec::Status::Ok && out.size() != outSize) __builtin_trap();
  return 0;
}
