// ARJ headers: the id 60 EA, the basic-header size (0 ends the archive, at most 2,600), the basic
// header with its CRC-32 and the chain of extended headers, which is skipped. The main header at the
// start of an archive and every entry header share this form.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"

namespace engine::arj {

inline constexpr uint32_t kMaxBasicSize = 2600;

enum ArjFlags : uint8_t {
    kFlagGarbled = 0x01,
    kFlagVolume = 0x04,   // entry: continues in the next volume; main header: a volume of a set
    kFlagExtFile = 0x08,  // an extended file position follows the fixed part
};

inline constexpr uint8_t kHostUnix = 2;

enum ArjFileType : uint8_t { kBinary = 0, kText = 1, kMain = 2, kFolder = 3, kLabel = 4 };

struct ArjHeader {
    uint64_t pos = 0;       // offset of the id
    uint64_t dataPos = 0;   // first byte after the header chain
    uint64_t nextPos = 0;   // dataPos + packed size
    uint8_t firstSize = 0;  // offset of the name in the basic header
    uint8_t version = 0;
    uint8_t minVersion = 0;
    uint8_t host = 0;
    uint8_t flags = 0;
    uint8_t method = 0;
    uint8_t fileType = 0;
    uint8_t modifier = 0;  // the garble password modifier
    uint32_t dosTime = 0;
    uint32_t packedSize = 0;
    uint32_t size = 0;
    uint32_t crc = 0;
    uint16_t fileMode = 0;
    std::string name;     // OEM, as stored
    std::string comment;
    bool crcOk = false;   // the basic header matches its CRC-32

    // Archives made on Unix hosts store Unix time in the time field; the others a DOS stamp.
    bool UnixTime() const { return host == kHostUnix; }
};

enum class HeaderStep {
    Entry,    // a header was read (check crcOk)
    End,      // basic-header size 0: the end of the archive
    Damaged,  // no id, an oversized or cut-short header
};

HeaderStep ReadHeader(ReadAtSource& source, uint64_t pos, ArjHeader& header);

// The main header: scanned for byte by byte from Start (up to Limit bytes on), accepted at the first
// id whose basic header passes its CRC. False when none is found.
bool FindMainHeader(ReadAtSource& source, uint64_t start, uint64_t limit, ArjHeader& header);

}  // namespace engine::arj
