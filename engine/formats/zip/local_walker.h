// Walks a ZIP archive by its local headers, for archives whose central directory cannot be found.
// Each step moves past the header, name, extra field and the compressed size the header states, so
// the walk always advances and never leaves the source. An entry whose sizes follow its data (flag
// bit 3 with zero sizes in the header) ends the walk where its data begins, as nothing says where
// the next header lies.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/zip_records.h"

namespace engine::zip {

struct LocalEntry {
    LocalHeader header;
    uint64_t position = 0;      // file offset of the record's signature
    uint64_t dataPosition = 0;  // file offset of the compressed data (encryption header first)
    bool dataTruncated = false; // the stated compressed size runs past the end
    std::string name;
    std::string extra;
};

class LocalHeaderWalker {
public:
    LocalHeaderWalker(ReadAtSource& source, uint64_t start, uint64_t end = 0);

    WalkStep Next(LocalEntry& entry);
    uint64_t Position() const { return pos_; }

private:
    ReadAtSource& source_;
    uint64_t pos_;
    uint64_t end_;
    bool done_ = false;
};

}  // namespace engine::zip
