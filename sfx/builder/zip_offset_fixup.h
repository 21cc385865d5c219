// Moves a ZIP archive's absolute offsets by the distance the archive was moved inside a file, so that
// they count from the start of that file again. Only two fields change: the central-directory offset of
// the end record and the local-header offset of every central-directory header.
#pragma once

#include <cstdint>

#include "sfx/builder/random_access.h"

namespace sfx {

enum class FixupStatus {
    Ok,
    NoEndRecord,  // no end record that ends the file within its last 32 KB
    Zip64,        // the archive keeps offsets or counts in ZIP64 records
    TooLarge,     // a shifted offset would not fit 32 bits
    IoError,
};

struct FixupResult {
    FixupStatus status = FixupStatus::IoError;
    uint64_t endRecordPos = 0;  // where the end record was found
    uint32_t entries = 0;       // central-directory headers shifted
};

// The end record "PK" 05 06 nearest to the end of the file whose comment ends exactly at the end of the
// file, searched in the last 32 KB. With apply false nothing is written (a check of the source archive).
FixupResult FixEndOfCentralDir(RandomAccess& f, uint32_t shift, bool apply);

// Fixes the end record and then every central-directory header it leads to. All offsets are checked
// before the first byte is written, so a refused archive is left as it was.
FixupResult FixCentralDir(RandomAccess& f, uint32_t shift, bool apply = true);

}  // namespace sfx
