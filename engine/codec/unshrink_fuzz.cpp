// Fuzz target: unshrink. Input: two bytes of declared size (little-endian, at most 64 KB of output),
// then the shrunk stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/unshrink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  uint64_t outSize = data[0] | (uint64_t{data[1]} << 8);
  std::vector<uint8_t> out;
  mx::codec::SpanSource in(std::span(data + 2, size - 2), 1 + data[0] % 64);
  mx::codec::VectorSink sink(out);
  mx::codec::Status st = mx::codec::Unshrink(in, sink, outSize);
  if (out.size() > outSize) __builtin_trap();
  if (st == mx::codec::Status::Ok && out.size() != outSize) __builtin_trap();
  return 0;
}
