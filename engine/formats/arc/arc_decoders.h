// The decoders of the nine ARC methods: stored, packed (run-length), squeezed (Huffman tree and
// run-length), crunched (fixed 12-bit LZW with the old or new hash, and dynamic 9 to 12-bit LZW) and
// squashed (dynamic 9 to 13-bit LZW).
#pragma once

#include "engine/formats/common/byte_pipe.h"

namespace engine::arc {

enum class DecodeResult {
    Ok,
    Unsupported,    // a method number outside 1 to 9
    BadTree,        // squeezed data with an impossible tree (25152)
    BadBits,        // method 8 data announcing a width other than 12 (25134)
    StackOverflow,  // an LZW string longer than the table can hold (25136)
};

// True for the methods 1 to 9.
bool IsKnownMethod(int method);

// Decodes In (the entry's compressed bytes) into Out. Decoding stops at the end of the input, at the
// end-of-data symbol of squeezed data, or once Out has failed.
DecodeResult Decode(int method, ByteInput& in, ByteOutput& out);

}  // namespace engine::arc
