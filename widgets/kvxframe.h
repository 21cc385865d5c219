// The compressed stream frame in which the containers and the wave object store pictures, string lists
// and sounds. All counts are 32-bit little-endian:
//
//   total         4 bytes   the bytes that follow: the sum over all blocks of 4 + the block's length
//   per block:
//     length L    4 bytes   the coded block's length (1 .. 32,781 + 6; the upper 16 bits are 0)
//     block       L bytes   one LZRW block (flag 0x40 compressed or 0x80 copied, then its data)
//
// The input is cut into blocks of 32,781 bytes; only the last may be shorter. No input gives the total
// 0 alone. The frame carries no mark of its own: readers are told whether an item was compressed.
#pragma once

#include <cstdint>

#include "framework/core/streams.h"

namespace kvx {

// Input bytes per block, and the longest coded block the writer can produce for one.
constexpr uint32_t kKVXFrameBlock = 32781;
constexpr uint32_t kKVXFrameMaxCoded = kKVXFrameBlock + 6;
// The most bytes a frame may decode to; a frame claiming more is damaged.
constexpr int64_t kKVXFrameMaxOutput = int64_t{1} << 28;

// Writes Count bytes of Source, from its position, as one frame at Dest's position and leaves Dest
// after the frame. Source must hold Count bytes after its position.
void KVXCompressToStream(fw::TMemoryStream& source, fw::TStream& dest, int64_t count);

// Reads one frame from Source and appends the decoded bytes to Dest at its position. A frame that is
// short, has a block length outside 1 .. 32,787 or beyond its total, a block that does not decode to at
// most 32,781 bytes, or more than kKVXFrameMaxOutput bytes in all raises EReadError; Dest keeps what was
// decoded before.
void KVXDecompressFromStream(fw::TStream& source, fw::TMemoryStream& dest);

}  // namespace kvx
