#pragma once
// Decoder for shrunk ZIP entries (method 1): LZW with codes of 9 to 13 bits that grow on request and
// a partial clear that frees the table's leaves.

#include <cstdint>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

// Decodes one entry until outSize bytes have been written.
//   Ok          outSize bytes written
//   BadData     an escape other than 256,1 or 256,2, a code size above 13 bits, a code that is
//               neither defined nor the next one to be defined, or a string that leads to a
//               code never defined or loops back on itself
//   OutputFull  a string runs past outSize (the bytes up to outSize have been written)
//   Truncated   the input ended first (what was decoded has been written)
//   NoMemory    the table could not be allocated; nothing was written
//   anything else: the source's or sink's failure, passed on unchanged
Status Unshrink(ByteSource& in, ByteSink& out, uint64_t outSize) noexcept;

}  // namespace mx::codec
