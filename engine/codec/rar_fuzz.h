#pragma once
// Shared body of the RAR decoder fuzz targets. Input: a flag byte, two bytes of declared size (at most
// 64 KB of output, or the target's maxOutput), then the packed stream. Flag bits 0-2 choose the size of the blocks the source
// hands out; bit 3 splits the stream in two entries, the second solid. The decoder must never write
// more than the declared size, and Ok must mean exactly that size.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/bytestream.h"
#include "engine/codec/rar_unpack.h"

namespace mx::codec {

// Prepare may rewrite the first stream bytes (to steer the 2.9 decoder into a block type).
inline int RunRarFuzz(const uint8_t* data, size_t size, unsigned version, void (*prepare)(std::vector<uint8_t>&),
                      uint64_t maxOutput = 0xFFFF) {
  if (size < 4) return 0;
  const unsigned flags = data[0];
  const uint64_t outSize = (data[1] | (uint64_t{data[2]} << 8)) % (maxOutput + 1);
  std::vector<uint8_t> stream(data + 3, data + size);
  if (prepare) prepare(stream);
  const size_t split = (flags & 8) ? stream.size() / 2 : stream.size();
  // One unpacker for every input, as one serves all the entries of an archive: its window and model
  // are set up once. Each input starts afresh (its first entry is not solid).
  static RarUnpacker unpacker;
  for (int entry = 0; entry < ((flags & 8) ? 2 : 1); ++entry) {
    const std::span<const uint8_t> part = entry == 0 ? std::span<const uint8_t>(stream.data(), split)
                                                     : std::span<const uint8_t>(stream.data() + split, stream.size() - split);
    std::vector<uint8_t> out;
    SpanSource in(part, 1 + (flags & 7) * 97);
    VectorSink sink(out);
    RarUnpackParams p;
    p.version = version;
    p.dictionary = 0x10000;
    p.solid = entry == 1;
    p.size = outSize;
    // Models beyond 2 MB only cost time: restarts and every symbol kind come within reach below.
    p.maxModel = 2u << 20;
    const Status st = unpacker.Unpack(in, sink, p);
    if (out.size() > outSize) __builtin_trap();
    if (st == Status::Ok && out.size() != outSize) __builtin_trap();
  }
  return 0;
}

}  // namespace mx::codec
