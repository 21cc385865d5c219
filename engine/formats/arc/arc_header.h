// The ARC header walk: 29-byte records (25 for method 1), folder records (30) that open a folder and
// end-of-folder records (31) that close it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"

namespace engine::arc {

inline constexpr uint8_t kMarker = 0x1A;
inline constexpr int kHeaderSize = 29;
inline constexpr int kMethodFolder = 30;
inline constexpr int kMethodFolderEnd = 31;

struct Header {
    int method = 0;
    std::string name;      // the stored 13-byte name up to its first zero (OEM)
    std::string fullName;  // the open folders' names, "\" after each, then the name
    uint32_t packedSize = 0;
    uint32_t dosStamp = 0;  // date word in the low half, time word in the high half, as stored
    uint16_t crc = 0;
    uint32_t unpackedSize = 0;
    uint64_t headerPos = 0;
    uint64_t dataPos = 0;
    bool IsFolder() const { return method == kMethodFolder; }
};

class HeaderWalker {
public:
    HeaderWalker(ReadAtSource& source, uint64_t start) : source_(source), pos_(start) {}

    // The next record; false at the end marker, at a byte other than the marker, or when no full
    // record is left. Folder records are returned too (their sizes count as 0).
    bool Next(Header& header);
    uint64_t Position() const { return pos_; }

private:
    ReadAtSource& source_;
    uint64_t pos_;
    std::string folder_;
    int depth_ = 0;
};

}  // namespace engine::arc
