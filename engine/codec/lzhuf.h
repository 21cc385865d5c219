#pragma once
// LZHUF, the -lh1- method of LHA archives: LZSS over a 4,096-byte ring (prefilled with 4,036 blanks)
// with matches of 3 to 60 bytes, an adaptive Huffman code for literals and lengths, and match
// positions sent as a fixed code for their upper 6 bits followed by 6 plain bits.

#include <cstdint>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

// Compresses everything the source holds. An empty source writes nothing.
//   Ok        the source ended and every code byte was written
//   NoMemory  the tables could not be allocated; nothing was written
//   anything else: the source's or sink's failure, passed on unchanged
Status LzhufEncode(ByteSource& in, ByteSink& out) noexcept;

// Decodes until outSize bytes have been written (a match running past outSize is cut there).
//   Ok         outSize bytes written
//   Truncated  the input ended well before outSize (what was decoded has been written)
//   NoMemory   the tables could not be allocated; nothing was written
//   anything else: the source's or sink's failure, passed on unchanged
Status LzhufDecode(ByteSource& in, ByteSink& out, uint64_t outSize) noexcept;

}  // namespace mx::codec
