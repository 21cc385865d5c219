// The LZW code streams of GIF frames.
//
// A frame's data stream is a minimum code size byte followed by data sub-blocks (a length byte 1..255
// and that many bytes, ended by a 0 byte). Codes are packed least-significant bit first across the
// concatenated sub-block data, starting at (minimum code size + 1) bits and growing to 12.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace inst {

enum class LzwStatus {
    Ok,            // the end code, or the last row filled
    Truncated,     // the data ended first; the rows decoded so far are kept
    BadCodeSize,   // a minimum code size outside 2..9 (clamped into range when decoding on)
    ChainTooLong,  // a code's string ran past 4096 entries; decoding stopped there
};

// Called with the percentage done (0..100) whenever it changes.
using LzwProgress = std::function<void(int percent)>;

struct LzwDecodeParams {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;  // pixels are masked to this many bits
    bool interlaced = false;
    // Decode on after a minimum code size outside 2..9 (clamped) instead of stopping at once.
    bool clampCodeSize = true;
    LzwProgress progress;
};

struct LzwDecodeResult {
    LzwStatus status = LzwStatus::Ok;
    // width x height indices, rows top first; rows the data never reached are 0.
    std::vector<uint8_t> indices;
};

LzwDecodeResult DecodeLzw(std::span<const uint8_t> dataStream, const LzwDecodeParams& params);

// The interlaced row order: rows 0, 8, 16 ..., then 4, 12 ..., then 2, 6 ..., then 1, 3 ...
std::vector<int> InterlacedRows(int height);

// Encodes width x height indices (rows top first, each below 2^bitsPerPixel) into a data stream. The
// minimum code size is bitsPerPixel, but 2 for 1-bit pictures. Interlaced pictures are written in
// the interlaced row order.
std::vector<uint8_t> EncodeLzw(std::span<const uint8_t> indices, int width, int height, int bitsPerPixel,
                               bool interlaced, const LzwProgress& progress = {});

}  // namespace inst
