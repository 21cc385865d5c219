#include "installer/controls/icon_directory.h"

#include "installer/controls/le_bytes.h"

namespace inst {

namespace {

bool Fail(std::string* why, const char* text) {
    if (why) *why = text;
    return false;
}

constexpr size_t kBitmapHeaderBitCount = 14;  // offset of the bit count in a BITMAPINFOHEADER

}  // namespace

bool ParseIconDirectory(std::span<const uint8_t> file, IconDirectory& dir, std::string* why) {
    dir = {};
    if (file.size() < kIconDirHeaderSize) return Fail(why, "shorter than the directory header");
    if (Le16(&file[0]) != 0) return Fail(why, "reserved word is not 0");
    dir.type = Le16(&file[2]);
    if (dir.type != 1 && dir.type != 2) return Fail(why, "neither an icon nor a cursor");
    const size_t count = Le16(&file[4]);
    if (count == 0) return Fail(why, "no images");
    if (count > (file.size() - kIconDirHeaderSize) / kIconDirEntrySize) return Fail(why, "directory runs past the end");
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* d = &file[kIconDirHeaderSize + i * kIconDirEntrySize];
        IconDirEntry e;
        e.width = d[0] ? d[0] : 256;
        e.height = d[1] ? d[1] : 256;
        e.colors = d[2];
        e.word3 = Le16(d + 4);
        e.word4 = Le16(d + 6);
        e.size = Le32(d + 8);
        e.offset = Le32(d + 12);
        if (e.offset > file.size() || e.size > file.size() - e.offset) return Fail(why, "image runs past the end");
        if (e.size >= kBitmapHeaderBitCount + 2) {
            const uint32_t headerSize = Le32(&file[e.offset]);
            if (headerSize == 40 || headerSize == 108 || headerSize == 124)  // not a PNG image
                e.imageBits = Le16(&file[e.offset + kBitmapHeaderBitCount]);
        }
        dir.entries.push_back(e);
    }
    return true;
}

int ColorsOfBitCount(int bits) {
    switch (bits) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

}  // namespace inst
