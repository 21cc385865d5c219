// The BH Fuse compressor: LZ77 over an 8 KB dictionary with matches of 3 to 256 bytes, coded in blocks
// with static Huffman codes, in the bit format of LHA's -lh5- method (which the LH decoder reads with
// a 13-bit dictionary). The compressor gives up as soon as its output would not be smaller than the
// input read so far; the caller then stores the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace engine::bh {

struct FuseResult {
    bool unpackable = false;  // given up: the output would not be smaller
    bool failed = false;      // the read or write callback failed
    uint64_t compressedSize = 0;
    uint64_t bytesRead = 0;
};

// Read fills Buffer with up to Count bytes and returns how many (0 at the end, < 0 on a read error).
using FuseRead = std::function<int64_t(uint8_t* buffer, size_t count)>;
// Write takes Count output bytes; false on failure.
using FuseWrite = std::function<bool(const uint8_t* data, size_t count)>;
// Progress gets the input bytes coded so far.
using FuseProgress = std::function<void(uint64_t done)>;

FuseResult FuseEncode(const FuseRead& read, const FuseWrite& write, const FuseProgress& progress = nullptr);

}  // namespace engine::bh
