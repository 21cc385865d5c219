// Reads strings from the string table resource of a Windows executable (PE32 or PE32+) straight from
// its bytes, the way the system's string loader finds them: the resource directory's RT_STRING type,
// block (id / 16) + 1, the neutral language first, then the usual fallbacks, then the first language.
// Every offset and length in the file is checked against the file before it is used.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/formats/common/read_source.h"

namespace engine {

class PeStringTable {
public:
    // Parses the headers; Valid() is false for anything that is not a PE image with resources.
    explicit PeStringTable(ReadAtSource& source);

    bool Valid() const { return resourceOffset_.has_value(); }

    // The string with this id as UTF-16 code units; nullopt when the image has no such string. An
    // empty string that is present comes back empty.
    std::optional<std::u16string> Find(uint32_t id) const;

    // As the system's ANSI loader gives it into a buffer of bufferChars characters: at most
    // bufferChars - 1 characters, empty when absent, converted to Windows-1252 ("?" where it has
    // no character).
    std::string LoadAnsi(uint32_t id, size_t bufferChars) const;

private:
    struct Section {
        uint32_t virtualAddress;
        uint32_t virtualSize;
        uint32_t rawOffset;
        uint32_t rawSize;
    };

    std::optional<uint64_t> RvaToOffset(uint32_t rva, uint32_t length) const;
    // Offset of the entry with this id in the directory at dirOffset (relative to the resource
    // root); nullopt when absent. wantDirectory selects subdirectory or data entries.
    std::optional<uint32_t> FindEntry(uint32_t dirOffset, uint32_t id, bool wantDirectory) const;
    std::optional<uint32_t> FirstEntry(uint32_t dirOffset, bool wantDirectory) const;
    bool ReadResource(uint32_t offset, void* out, uint32_t length) const;

    ReadAtSource& source_;
    std::vector<Section> sections_;
    std::optional<uint64_t> resourceOffset_;  // file offset of the resource root directory
    uint32_t resourceSize_ = 0;
};

}  // namespace engine
