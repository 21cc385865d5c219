#pragma once
// Decoder for ARJ's method 4 ("fastest"): LZ77 over a 26,624-byte window with unary-prefixed match
// lengths and distances and plain 8-bit literals.

#include <cstdint>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

// Decodes one entry until outSize bytes have been written (a match running past outSize is cut).
//   Ok         outSize bytes written
//   Truncated  the input ended well before outSize (what was decoded has been written)
//   NoMemory   the window could not be allocated; nothing was written
//   anything else: the source's or sink's failure, passed on unchanged
Status ArjMethod4Decode(ByteSource& in, ByteSink& out, uint64_t outSize) noexcept;

}  // namespace mx::codec
