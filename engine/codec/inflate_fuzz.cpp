// Feeds arbitrary bytes to both forms of inflate and checks that they agree: same status, same fault,
// same output. The first byte picks the streaming form's block size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/codec/inflate.h"

using namespace mx::codec;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t blockSize = 1 + data[0] % 64;
  std::span<const uint8_t> in(data + 1, size - 1);
  // 64 KB of output is past the 32 KB a match reaches back. The decoder and the buffers live across
  // inputs (as the extractor keeps one decoder for a whole archive), so each run pays for decoding
  // only, and a run that left anything behind for the next would show as the two forms disagreeing.
  constexpr size_t kCapacity = 1 << 16;
  static Inflater inflater;
  static uint8_t whole[kCapacity];
  static std::vector<uint8_t> streamed;
  streamed.clear();
  streamed.reserve(kCapacity);

  InflateResult a = inflater.Run(in, std::span<uint8_t>(whole, kCapacity));
  SpanSource src(in, blockSize);
  VectorSink sink(streamed);
  InflateResult b = inflater.Run(src, sink, kCapacity);

  if (a.status != b.status || a.fault != b.fault || a.outputSize != b.outputSize ||
      streamed.size() != b.outputSize || (!streamed.empty() && std::memcmp(whole, streamed.data(), streamed.size()) != 0))
    std::abort();
  if (a.status == Status::Ok && (a.inputUsed != b.inputUsed || a.inputUsed > in.size())) std::abort();
  return 0;
}
