// The ZOO archive header and the chain of directory entries that starts from it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"

namespace engine::zoo {

inline constexpr uint32_t kTag = 0xFDC4A7DC;
inline constexpr int kArchiveHeaderSize = 43;
inline constexpr int kEntrySize = 58;

struct Entry {
    uint64_t pos = 0;
    int type = 0;
    int method = 0;
    uint32_t next = 0;
    uint32_t dataPos = 0;
    uint32_t dosStamp = 0;  // date word low, time word high, as stored
    uint16_t crc = 0;
    uint32_t unpackedSize = 0;
    uint32_t packedSize = 0;
    bool deleted = false;
    std::string name;  // folder (with "/" or "\" as stored) + name, OEM
};

class Walker {
public:
    explicit Walker(ReadAtSource& source) : source_(source) {}

    enum class Start { Ok, Short, BadHeader };
    // Reads the archive header: Short when it is cut off (25236), BadHeader when the first-entry
    // position and its negative do not cancel out (25108).
    Start Begin();

    enum class Step { Entry, End, Broken };
    // The next entry of the chain. End at the terminating entry; Broken (25108) for a record without
    // the tag or a chain that does not move forward.
    Step Next(Entry& entry);

private:
    ReadAtSource& source_;
    uint64_t pos_ = 0;
};

}  // namespace engine::zoo
