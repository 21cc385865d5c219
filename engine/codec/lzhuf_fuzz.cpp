// Fuzz target: the LZHUF coder. The input is decoded as a stream (two bytes of declared size first),
// and the whole input is also compressed and decoded back, which must give it unchanged.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/lzhuf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mx::codec;
  if (size < 2) return 0;
  const uint64_t outSize = data[0] | (uint64_t{data[1]} << 8);
  {
    std::vector<uint8_t> out;
    SpanSource in(std::span(data + 2, size - 2), 1 + data[0] % 37);
    VectorSink sink(out);
    Status st = LzhufDecode(in, sink, outSize);
    if (out.size() > outSize) __builtin_trap();
    if (st == Status::Ok && out.size() != outSize) __builtin_trap();
  }
  std::vector<uint8_t> packed, back;
  SpanSource plain(std::span(data, size), 1 + data[1] % 50);
  VectorSink packedSink(packed);
  if (LzhufEncode(plain, packedSink) != Status::Ok) __builtin_trap();
  SpanSource packedIn(packed);
  VectorSink backSink(back);
  if (LzhufDecode(packedIn, backSink, size) != Status::Ok) __builtin_trap();
  if (back.size() != size || !std::equal(back.begin(), back.end(), data)) __builtin_trap();
  return 0;
}
