// The extraction record: the last 56 bytes of a self-extracting installation (little-endian).
//   +0   15  "SELFEXTRACTING" as a length byte (14) and the 14 characters
//   +15   1  zero
//   +16   4  position of the first byte of setup.1 (the loader's size), int32
//   +20   4  position of the last byte of setup.1
//   +24   4  position of the first byte of files.1 (0: none)
//   +28   4  position of the last byte of files.1 (0: none)
//   +32  24  zero
// The self-extracting file is the loader, setup.1, files.1 (when there is one) and this record.
#pragma once

#include <cstdint>

namespace inst {

struct ExtractionRecord {
    static constexpr int kSize = 56;
    int32_t setupStart = 0;
    int32_t setupEnd = 0;
    int32_t filesStart = 0;
    int32_t filesEnd = 0;

    void Encode(uint8_t out[kSize]) const;
    // False (the record unchanged) when the bytes do not begin with the signature.
    bool Decode(const uint8_t in[kSize]);
};

}  // namespace inst
