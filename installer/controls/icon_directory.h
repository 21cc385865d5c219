// The directory at the start of an icon (.ico) or cursor (.cur) file image.
//
//  Header (6 bytes):     +0 uint16 reserved (0)  +2 uint16 type (1 icon, 2 cursor)  +4 uint16 count
//  Entry (16 bytes each, after the header):
//                        +0 uint8 width (0 = 256)  +1 uint8 height  +2 uint8 colours  +3 uint8 reserved
//                        +4 uint16 planes, or a cursor's hot spot x  +6 uint16 bits per pixel, or hot spot y
//                        +8 uint32 size of the image  +12 uint32 offset of the image in the file
//  Image:                a BITMAPINFOHEADER (bit count at +14) with colours, XOR and AND masks, or a PNG
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace inst {

struct IconDirEntry {
    int width = 0;
    int height = 0;
    int colors = 0;
    uint16_t word3 = 0;  // planes, or a cursor's hot spot x
    uint16_t word4 = 0;  // bits per pixel, or a cursor's hot spot y
    uint32_t size = 0;
    uint32_t offset = 0;
    // The image's own bit count (its BITMAPINFOHEADER), 0 for a PNG image or a short one.
    int imageBits = 0;
};

struct IconDirectory {
    int type = 0;  // 1 icon, 2 cursor
    std::vector<IconDirEntry> entries;
};

constexpr size_t kIconDirHeaderSize = 6;
constexpr size_t kIconDirEntrySize = 16;

// Parses the directory; every entry's image must lie inside `file`. False with a reason otherwise.
bool ParseIconDirectory(std::span<const uint8_t> file, IconDirectory& dir, std::string* why = nullptr);

// The colours of a bit count as the animated cursor counts them: 2, 16 or 256 for 1, 4 or 8 bits,
// otherwise 0.
int ColorsOfBitCount(int bits);

}  // namespace inst
