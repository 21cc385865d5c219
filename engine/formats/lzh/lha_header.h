// LHA/LZH entry headers of levels 0, 1 and 2, read the way the lister, the extractor and the writer
// all need them: every extended header is walked (type 1 gives the name, type 2 the folder, 0x40 the
// DOS attributes), the level-2 header size is taken whole, and a header that would lead the walk
// backwards or out of the file is reported as damaged.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"

namespace engine::lha {

struct LhaEntry {
    uint64_t headerPos = 0;   // first byte of the header
    uint64_t dataPos = 0;     // first byte of the packed data
    uint64_t nextPos = 0;     // where the next header starts
    uint8_t level = 0;
    std::string method;       // five characters, such as "-lh5-"
    uint32_t storedPacked = 0;  // the packed-size field (level 1: extended headers included)
    uint64_t packedSize = 0;  // bytes of packed data
    uint32_t size = 0;        // unpacked size
    uint32_t stamp = 0;       // DOS date and time (levels 0 and 1) or Unix time (level 2)
    uint8_t attr = 0x20;
    uint16_t crc = 0;
    std::string name;         // stored name (OEM), "\" between folders
    uint8_t headerSizeByte = 0;  // byte 0 of the header

    bool UnixTime() const { return level == 2; }
    bool IsFolder() const { return method == "-lhd-"; }
    // The method letter (the fourth character).
    char MethodLetter() const { return method.size() == 5 ? method[3] : '\0'; }
    // The span of the whole entry, header and data.
    uint64_t Span() const { return nextPos - headerPos; }
};

enum class HeaderStep {
    Entry,    // a header was read; nextPos may lie beyond the file when the data is cut short
    End,      // the archive's end mark or the end of the file
    Damaged,  // a header that is cut short, contradicts itself or has a level above 2
};

// Reads the header at Pos.
HeaderStep ReadHeader(ReadAtSource& source, uint64_t pos, LhaEntry& entry);

// The MsgEx of the report of a damaged header (25108): where the header starts in the file.
std::string DamagePlace(uint64_t pos);

// The offset of the first header for an archive that detection found at Start: a zero byte there
// means a 128-byte prefix before the archive.
uint64_t FirstHeaderPos(ReadAtSource& source, uint64_t start);

// A folder text of an extended header: "/" and 0xFF become "\" (except a byte after a double-byte
// lead byte), then leading and trailing blanks, control bytes and separators are trimmed.
std::string FolderText(const std::string& raw);

}  // namespace engine::lha
