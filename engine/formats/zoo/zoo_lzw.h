// ZOO's LZW (method 1): codes of 9 to 13 bits read as one continuous stream, least significant bit
// first; 256 clears the table and 257 ends the data.
#pragma once

#include "engine/formats/common/byte_pipe.h"

namespace engine::zoo {

enum class LzwResult {
    Ok,       // the end code or the end of the input
    Corrupt,  // a code after a clear that is no byte, or a string longer than the table
};

LzwResult LzwDecode(ByteInput& in, ByteOutput& out);

}  // namespace engine::zoo
