// Fuzz target: the static-Huffman LH decoder. Input: one byte choosing the parameters (-lh4-,
// -lh5-, -lh6-, ARJ), two bytes of declared size (at most 64 KB of output), then the stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/lzh_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  static const mx::codec::LzhParams params[] = {mx::codec::kLzhLh4, mx::codec::kLzhLh5, mx::codec::kLzhLh6,
                                                mx::codec::kLzhArj};
  const uint64_t outSize = data[1] | (uint64_t{data[2]} << 8);
  std::vector<uint8_t> out;
  mx::codec::SpanSource in(std::span(data + 3, size - 3), 1 + data[0] % 61);
  mx::codec::VectorSink sink(out);
  mx::codec::Status st = mx::codec::LzhDecode(in, sink, params[data[0] % 4], outSize);
  if (out.size() > outSize) __builtin_trap();
  if (st == mx::codec::Status::Ok && out.size() != outSize) __builtin_trap();
  return 0;
}
