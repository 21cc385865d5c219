// The ZIP writer's rebuild: reading the old archive's central directory into a list of
// stored names, copying a kept entry unchanged (data descriptor included), and writing the new central
// directory and end record from records held in memory, so that no size is ever taken from a local
// header that does not hold it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/formats/common/read_source.h"
#include "engine/formats/zip/writer/comp_object.h"
#include "engine/formats/zip/writer/entry_list.h"
#include "engine/formats/zip/zip_records.h"
#include "framework/core/streams.h"

namespace engine::zip {

// A random-access view of a framework stream.
class StreamReadSource final : public ReadAtSource {
public:
    explicit StreamReadSource(fw::TStream& stream) : stream_(stream), size_(uint64_t(stream.Size())) {}
    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, std::span<uint8_t> out) override;

private:
    fw::TStream& stream_;
    uint64_t size_;
};

enum class DirectoryResult {
    Ok,
    NotFound,    // no end record, a directory that cannot be walked whole, or records this writer
                 // cannot carry (ZIP64 fields): the archive must not be rewritten
    ReadFailed,  // the file could not be read
};

// Reads every central record of the archive into Entries (cleared first). PrefixLength receives the
// bytes in front of the first entry (an executable prefix). Offsets in the objects are file positions.
DirectoryResult ReadDirectory(ReadAtSource& source, EntryList& entries, uint64_t& prefixLength);

// One record of the new central directory, with its name, extra field and comment bytes.
struct CentralRecord {
    CentralHeader header;
    std::string name;
    std::string extra;
    std::string comment;
};

enum class CopyResult { Ok, ReadFailed, WriteFailed };

// Copies a kept entry from the old archive to Out unchanged: its local header, name, extra field, data
// and, for an entry with flag bit 3, its data descriptor. Record receives its new central record:
// the old central record's values with version made by 2, its extra field and comment, and the new
// local header offset.
CopyResult CopyKeptEntry(ReadAtSource& old, const TZipCompObject& entry, fw::TStream& out, CentralRecord& record);

// Copies Count bytes from Source at Offset to Out.
CopyResult CopyBytes(ReadAtSource& source, uint64_t offset, uint64_t count, fw::TStream& out);

// Appends the central directory and an end record without comment; false on a short write or when
// the archive outgrows the 32-bit fields.
bool WriteDirectory(fw::TStream& out, const std::vector<CentralRecord>& records);

// Writes all of Bytes; false on a short write.
bool WriteAll(fw::TStream& out, const void* bytes, int64_t count);

}  // namespace engine::zip
