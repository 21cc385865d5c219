// Fuzz target: deflate round trip. Input: one byte choosing the level and the source block size,
// then the data to compress: at most 8 KB of it at any level (1 + byte % 9), or with a first byte of
// 0xFE or 0xFF kSlideInput bytes, enough to slide the window, at level 1 (greedy) or 4 (lazy), whose
// searches stay short: few inputs pay for a slide, and none costs more than a few milliseconds.
// The output must inflate back to the data exactly, or be the data itself when the compressor chose
// to store the entry.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/deflate.h"
#include "engine/codec/inflate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  constexpr size_t kSlideInput = 68 * 1024, kMaxInput = 8 * 1024;
  const bool slide = data[0] >= 0xFE;
  const int level = slide ? (data[0] == 0xFE ? 1 : 4) : 1 + data[0] % 9;
  const std::span<const uint8_t> input(data + 1, std::min(size - 1, slide ? kSlideInput : kMaxInput));
  // The compressor, the decoder and the buffers live across inputs, as the ZIP writer and extractor
  // keep them for a whole archive: each run pays for its own work only, and a run must come out the
  // same whatever ran before it.
  static mx::codec::Deflater deflater;
  static mx::codec::Inflater inflater;
  static std::vector<uint8_t> packed, unpacked;
  packed.clear();
  mx::codec::SpanSource source(input, 1 + size_t{data[0]} * 97);
  mx::codec::VectorSink sink(packed);
  mx::codec::DeflateResult result;
  if (deflater.Run(source, sink, level, result) != mx::codec::Status::Ok) __builtin_trap();
  if (result.bytesIn != input.size() || result.bytesOut != packed.size()) __builtin_trap();
  if (result.stored) {
    if (packed.size() != input.size() || !std::equal(packed.begin(), packed.end(), input.begin())) __builtin_trap();
    return 0;
  }
  unpacked.resize(input.size());
  const mx::codec::InflateResult r = inflater.Run(packed, unpacked);
  if (r.status != mx::codec::Status::Ok || r.outputSize != input.size() || r.inputUsed != packed.size()) __builtin_trap();
  if (!std::equal(unpacked.begin(), unpacked.end(), input.begin())) __builtin_trap();
  return 0;
}
