// The BH entry header: 37 bytes, then the name, then (encrypted) the 12-byte encryption header and the
// data. The reader and the writer share it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"

namespace engine::bh {

inline constexpr uint32_t kSignature = 0x07054842;  // "BH" 5 7
inline constexpr int kHeaderSize = 37;
inline constexpr size_t kMaxName = 255;
inline constexpr uint8_t kFlagEncrypted = 0x01;
inline constexpr uint8_t kFlagTimeCheck = 0x08;
inline constexpr uint8_t kMethodStored = 0;
inline constexpr uint8_t kMethodFused = 1;

struct Header {
    uint16_t headerSize = 0;  // from the header's start to the data
    uint8_t versionMadeBy = 0, versionNeeded = 0;
    uint8_t flags = 0;
    uint8_t method = 0;
    uint32_t dosStamp = 0;
    uint32_t packedSize = 0;
    uint32_t unpackedSize = 0;
    uint32_t crc = 0;  // the CRC-32 register after the data, not complemented
    uint16_t attr = 0;
    std::string name;  // OEM, "\" between folders
    uint64_t pos = 0;

    uint64_t DataPos() const { return pos + headerSize; }
    bool Encrypted() const { return (flags & kFlagEncrypted) != 0; }
    std::array<uint8_t, kHeaderSize> Encode() const;
};

enum class Read { Ok, End, SkipRecord, Broken };

// Reads the record at Pos. End at a different signature or the end of the data; SkipRecord for a
// header size of 0 (the walk steps over 37 bytes); Broken for a record that cannot be whole (a name
// cut off, a header size shorter than its name, a name over 255 bytes).
Read ReadHeader(ReadAtSource& source, uint64_t pos, Header& header);

}  // namespace engine::bh
