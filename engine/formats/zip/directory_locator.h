// Finds where a ZIP archive's headers start: the end of central directory record near the end of the
// file, the central directory it points to (or, when that pointer is wrong, a central header found
// near the end), and as a last resort the local header at the start, for a walk over local headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/formats/common/read_source.h"
#include "engine/formats/zip/zip_records.h"

namespace engine::zip {

// The end record is looked for within this many bytes before the end of the file.
inline constexpr uint64_t kEndRecordWindow = 32768;

// No end record whose comment ends at the end of the file lies further back than this; larger windows
// are cut to it, so a caller's large comment buffer never makes the search read more.
inline constexpr uint64_t kEndRecordMaxReach = 22 + 65535;

struct EndRecordHit {
    uint64_t position = 0;  // file offset of the record's signature
    EndRecord record;
};

// Scans the last `window` bytes (the whole source when shorter; at most kEndRecordMaxReach) backwards for the end record. The
// record nearest the end wins, but an archive comment may itself contain the signature: a candidate
// whose comment ends exactly at the end of the file is preferred over one nearer the end whose stated
// comment does not, and one whose comment fits in the file over one whose comment runs past it.
std::optional<EndRecordHit> FindEndRecord(ReadAtSource& source, uint64_t window = kEndRecordWindow);

struct DirectoryLocation {
    enum class Kind { None, Central, Local };

    Kind kind = Kind::None;
    uint64_t position = 0;            // first central header (Central) or local header (Local)
    std::optional<EndRecordHit> end;  // the end record, when one was found
    // The end record, the central header it points to and that entry's local header all check out.
    // When false a lister reports the archive's directory as not found, but may still walk.
    bool chainValid = false;
    // The central directory pointer was wrong and the directory was found by a scan instead.
    bool recoveredByScan = false;
    // Bytes in front of an archive whose stored offsets do not count them (an archive appended to
    // other data without its offsets being shifted): the end record's position less the directory's
    // size and stored offset. Add it to stored offsets; 0 for a well-formed archive.
    uint64_t offsetBias = 0;
    std::string archiveComment;       // the end record's comment, cut at the end of the file
};

// Locates the headers of a ZIP archive. embeddedOffset is added to every stored offset: the start of
// an archive found inside an executable through its string table, whose offsets count from its own
// start; 0 otherwise. localStart is where the local-header walk starts when no central directory is
// found and the file does not begin with a local header (the archive's start behind a prefix).
DirectoryLocation LocateDirectory(ReadAtSource& source, uint64_t embeddedOffset = 0, uint64_t localStart = 0);

}  // namespace engine::zip
