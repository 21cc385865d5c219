// The decoder of Unix compress (.Z) files: a three-byte header (magic, then the maximum code width and
// the block-mode flag), then adaptive LZW codes of 9 up to that width.
#pragma once

#include "engine/formats/common/byte_pipe.h"

namespace engine {

enum class CompressResult {
    Ok,            // the data decoded to its end
    ReservedBits,  // header bits 5 and 6 set (25138)
    BadWidth,      // a maximum width above 16 or below 9 (25292)
    CorruptInput,  // a first code that is no single byte (25139)
    Failed,        // a bad code, a corrupt chain or a refused write: the decode stopped early
};

// Decodes the whole file from its first byte.
CompressResult UnixDecompress(ByteInput& in, ByteOutput& out);

}  // namespace engine
