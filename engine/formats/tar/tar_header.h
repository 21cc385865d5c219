// The TAR header walk shared by the lister and the extractor: 512-byte headers, octal (or GNU
// base-256) numbers, and the metadata records that only describe the entry after them (GNU long names
// and long link names, pax extended headers, volume labels), which are folded into that entry.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"

namespace engine::tar {

inline constexpr uint64_t kBlock = 512;

struct Entry {
    std::string name;  // the full stored path, "/" separators, as the archive holds it
    std::string linkName;  // the target of a link
    char type = '0';
    uint64_t size = 0;
    int64_t mtime = 0;
    bool mtimeValid = false;
    uint32_t checksum = 0;
    uint64_t headerPos = 0;
    uint64_t dataPos = 0;

    // Regular files: the types NUL, '0' and '7' (contiguous); a v7 folder (a NUL or '0' entry named
    // with a trailing "/") has the type '5'.
    bool IsFile() const { return type == '\0' || type == '0' || type == '7'; }
    bool IsHardLink() const { return type == '1'; }
};

// The value of the octal digits in Field (every other character is passed over), or the big-endian
// number after a first byte with its top bit set (GNU base-256).
uint64_t NumberField(const uint8_t* field, size_t length, bool& valid);

class HeaderWalker {
public:
    HeaderWalker(ReadAtSource& source, uint64_t start) : source_(source), pos_(start) {}

    // The next entry that stands for a file system object; false at the end (a short header, an
    // empty name, or an entry whose data would lie beyond the end of the archive for metadata).
    bool Next(Entry& entry);
    uint64_t Position() const { return pos_; }

private:
    bool ReadData(uint64_t pos, uint64_t size, std::string& out);

    ReadAtSource& source_;
    uint64_t pos_;
};

}  // namespace engine::tar
