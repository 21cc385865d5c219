#pragma once
// Decoder for imploded ZIP entries (method 6): LZ77 over a 4 KB or 8 KB window with two or three
// Shannon-Fano trees sent at the start of the entry.

#include <cstdint>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

// Bits of the entry's general-purpose flag word that select the variant.
inline constexpr uint16_t kImplodeFlag8KWindow = 0x0002;  // else a 4 KB window
inline constexpr uint16_t kImplodeFlagLiteralTree = 0x0004;  // three trees, else two

// Decodes one entry until outSize bytes have been written.
//   Ok         outSize bytes written
//   BadData    a tree description that is ambiguous, lists too many symbols or runs out of inner
//              nodes, or a code that leads to a missing branch
//   Truncated  the input ended first (what was decoded has been written)
//   NoMemory   the working structures could not be allocated; nothing was written
//   anything else: the source's or sink's failure, passed on unchanged
Status Explode(ByteSource& in, ByteSink& out, uint16_t flags, uint64_t outSize) noexcept;

}  // namespace mx::codec
