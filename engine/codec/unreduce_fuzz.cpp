// Fuzz target: unreduce. Input: one byte whose low two bits pick the method (2 to 5), two bytes of
// declared size (little-endian, at most 64 KB of output), then the reduced stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/unreduce.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  int method = 2 + (data[0] & 3);
  uint64_t outSize = data[1] | (uint64_t{data[2]} << 8);
  std::vector<uint8_t> out;
  mx::codec::SpanSource in(std::span(data + 3, size - 3), 1 + data[1] % 64);
  mx::codec::VectorSink sink(out);
  mx::codec::Status st = mx::codec::Unreduce(in, sink, method, outSize);
  if (out.size() > outSize) __builtin_trap();
  if (st == mx::codec::Status::Ok && out.size() != outSize) __builtin_trap();
  return 0;
}
