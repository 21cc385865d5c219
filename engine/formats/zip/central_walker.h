// Walks a ZIP central directory record by record. The walk is bounded by the source (or a given end)
// and always moves forward by at least one record header, so damaged input ends it instead of looping.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"
#include "engine/formats/zip/zip_records.h"

namespace engine::zip {

enum class WalkStep {
    Entry,      // a record was read; the walk can go on
    End,        // no further record: signature missing or fewer bytes left than a record header
    Truncated,  // a record's name, extra field or comment (local: header) runs past the end
};

struct CentralEntry {
    CentralHeader header;
    uint64_t position = 0;  // file offset of the record's signature
    std::string name;       // stored bytes (OEM code page, "/" separators), not converted
    std::string extra;
    std::string comment;
};

class CentralDirectoryWalker {
public:
    // Walks from start up to end (clamped to the source's size; 0 means the source's size).
    CentralDirectoryWalker(ReadAtSource& source, uint64_t start, uint64_t end = 0);

    WalkStep Next(CentralEntry& entry);
    // Offset of the next record to read.
    uint64_t Position() const { return pos_; }

private:
    ReadAtSource& source_;
    uint64_t pos_;
    uint64_t end_;
    bool done_ = false;
};

}  // namespace engine::zip
