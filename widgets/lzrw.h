// The suite's block coder: LZRW1 matching with a run item and a "copied" fallback, one block of at
// most 65,535 bytes held in memory. Each block stands alone (a fresh hash table per call).
//
// Block layout (offsets from the start of the block):
//   byte 0      flag: 0x40 compressed, 0x80 copied
//   copied      bytes 1..n are the input unchanged (the block is one byte longer than the input)
//   compressed  groups of a 16-bit control word (high byte first) and up to 16 items; bit 15 of the
//               word describes the group's first item. Bit 0: a literal byte. Bit 1: a 16-bit value
//               V (high byte first); V >> 4 != 0 copies (V & 15) + 3 bytes from V >> 4 bytes back;
//               V >> 4 == 0 is a run: 0, run - 16 (16 bits, high byte first), the byte (16..4,095).
#pragma once

#include <cstdint>

#include "framework/core/exceptions.h"

namespace kvx {

// A block that does not decode within its own bounds or the caller's output capacity.
using fw::Exception;
FW_DECLARE_EXCEPTION(ELZRWError, Exception);

// The largest block the coder takes.
constexpr uint32_t kLZRWMaxBlock = 65535;
// Dest of KVXLZRWCompress must hold this many bytes: the output is checked between items only and
// may run up to six bytes past Size before the coder falls back to the copied form (Size + 1 bytes).
constexpr uint32_t KVXLZRWDestSize(uint32_t size) { return size + 6; }

// Compresses Size (at most kLZRWMaxBlock) bytes of Source into Dest and returns the block's length
// (1 to Size + 1). Lengths are 32-bit: an incompressible 65,535-byte block codes to 65,536 bytes.
uint32_t KVXLZRWCompress(const uint8_t* source, uint8_t* dest, uint32_t size);

// Expands the Size-byte block at Source into Dest, which holds Capacity bytes, and returns the number
// of bytes written. Raises ELZRWError on an unknown flag, a truncated item, or an offset, run or
// length that reaches outside the output written so far or past Capacity.
uint32_t KVXLZRWDecompress(const uint8_t* source, uint8_t* dest, uint32_t size, uint32_t capacity);

}  // namespace kvx
