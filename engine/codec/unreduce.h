#pragma once
// Decoder for reduced ZIP entries (methods 2 to 5, reduction factors 1 to 4): a follower-set byte
// coder in front of a run-length/LZ expansion over a 4 KB window, with 144 (DLE) as the escape.

#include <cstdint>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

// Decodes one entry of the given ZIP method (2 to 5) until outSize bytes have been written.
//   Ok         outSize bytes written
//   BadData    a method outside 2 to 5, a follower set of more than 32 bytes, or a follower index
//              past the end of its set
//   Truncated  the input ended first (what was decoded has been written)
//   NoMemory   the working structures could not be allocated; nothing was written
//   anything else: the source's or sink's failure, passed on unchanged
Status Unreduce(ByteSource& in, ByteSink& out, int method, uint64_t outSize) noexcept;

}  // namespace mx::codec
