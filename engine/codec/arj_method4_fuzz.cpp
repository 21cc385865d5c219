// Fuzz target: ARJ method 4. Input: two bytes of declared size (at most 64 KB of output), then the
// stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/arj_method4.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint64_t outSize = data[0] | (uint64_t{data[1]} << 8);
  std::vector<uint8_t> out;
  mx::codec::SpanSource in(std::span(data + 2, size - 2), 1 + data[0] % 29);
  mx::codec::VectorSink sink(out);
  mx::codec::Status st = mx::codec::ArjMethod4Decode(in, sink, outSize);
  if (out.size() > outSize) __builtin_trap();
  if (st == mx::codec::Status::Ok && out.size() != outSize) __builtin_trap();
  return 0;
}
