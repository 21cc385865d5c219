// Archive type detection: decides an archive's type from its first bytes, from the places where
// self-extractors keep their archive (fixed offsets, numbers in the executable's string table, the end
// of the DOS image, a ZIP end record at the tail) and, failing those, from the file's extension.
// It works on an open source only; opening the file and its date belong to the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/core/arc_types.h"
#include "engine/formats/common/read_source.h"

namespace engine {

// Offsets at which ZIP self-extractors of known makers keep their first local header.
inline constexpr uint64_t kZipSfxOffsets[3] = {7612, 15770, 25669};
// Archive start of the ARC self-extractor whose first bytes are B7 92 or B7 DF.
inline constexpr int64_t kArcSfxStart = 7717;

struct HeaderMatch {
    TArcType arcType = TArcType::atUnknown;
    std::optional<int64_t> arcStartPos;  // set only by the rows that fix the archive's start
};

// The signature table. head is the first four bytes as a little-endian number (b0 lowest); exe tells
// whether they were found behind an executable prefix.
HeaderMatch ArcTypeFromHeader(uint32_t head, bool exe);

struct DetectResult {
    TArcType arcType = TArcType::atNA;
    // Where the archive starts. 1-based like every header position of the engine, except where a ZIP
    // self-extractor's start came from a fixed offset or from its central directory: those are kept
    // as the plain offset (the ZIP readers do not use it).
    int64_t arcStartPos = 1;
    // For a ZIP archive found through the string table: its offset, from which its stored offsets
    // count; 0 otherwise.
    uint32_t sfxZipOffset = 0;
    uint64_t archiveSize = 0;
};

// Detects the type of the archive in source. fileName gives the extension for files that match no
// signature; zipCmntBufSize sizes the tail window searched for a ZIP end record behind an executable.
DetectResult DetectArcType(ReadAtSource& source, std::string_view fileName, uint32_t zipCmntBufSize = 2000);

// The TAR test: a 512-byte header block (the second one after a volume header) whose checksum holds.
// On success arcStartPos is 513 behind a volume header, else 1.
bool IsTarArchive(ReadAtSource& source, int64_t& arcStartPos);

}  // namespace engine
