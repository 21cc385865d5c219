// Animated cursor files: a RIFF form "ACON" read into icon images and the steps that show them.
//
//  RIFF chunk:  +0 char[4] identifier  +4 uint32 size  +8 data, padded to an even length
//  File:        "RIFF" size "ACON", then chunks:
//    "anih"     the header, nine uint32: header size, frames, steps, width, height, bit count, planes,
//               default display rate (1/60 s), flags (bit 0: the images are icons or cursors)
//    "rate"     one uint32 display rate per step
//    "seq "     one uint32 icon number per step
//    "LIST"     a list type, then sub-chunks: "fram" holds "icon" chunks (each an .ico or .cur file
//               image); "INFO" holds "INAM" (title) and "IART" (author)
//    others     skipped
//
// Every chunk size is bounded by the data that remains, and every list's sub-chunks by the list.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace inst {

struct AniHeader {
    uint32_t headerSize = 0;
    uint32_t frames = 0;
    uint32_t steps = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitCount = 0;
    uint32_t planes = 0;
    uint32_t displayRate = 0;
    uint32_t flags = 0;
};
constexpr size_t kAniHeaderSize = 36;
constexpr uint32_t kAniFlagIcon = 1;

// One "icon" chunk.
struct AniIcon {
    // The chunk's icon or cursor file image; a cursor's type word is made 1 so that it loads as an icon.
    std::vector<uint8_t> file;
    bool isIcon = true;                // the image was an icon (type 1), not a cursor (type 2)
    std::array<uint8_t, 8> tag{};      // the chunk's header: identifier and size
    int hotX = 0;                      // a cursor's from its directory (the last entry), an icon's centre
    int hotY = 0;
};

// One step of the animation.
struct AniFrame {
    int icon = -1;           // index into AniFile::icons; -1 until an icon chunk is met
    uint32_t rate = 0;       // display rate in jiffies (1/60 s)
    int32_t iconIndex = 0;   // which icon of the file this step shows (-1 for one added by its icon)
};

struct AniFile {
    AniHeader header;
    std::vector<AniIcon> icons;
    std::vector<AniFrame> frames;
    std::string title;
    std::string author;
    int sourceColorCount = 0;  // the most colours (2, 16 or 256) among the icon images
};

// Loads an icon image as the caller shows it; false when it cannot, which ends its "fram" list. It may
// set the hot spot of a true icon (the centre of the picture it shows).
using AniIconLoader = std::function<bool(AniIcon&)>;

// Reads an animated cursor. Damaged files raise EReadError "Stream read error": not a RIFF "ACON"
// form, a header without the icon flag or without steps, or no step left with an icon.
AniFile ReadAni(std::span<const uint8_t> data, const AniIconLoader& load = {});

}  // namespace inst
