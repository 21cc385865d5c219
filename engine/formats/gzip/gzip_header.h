// The header of a gzip member (RFC 1952) and the other single-file formats that share the 1F lead
// byte, as the lister and the extractor read them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/formats/common/read_source.h"

namespace engine::gz {

inline constexpr uint16_t kGzip = 0x8B1F;
inline constexpr uint16_t kGzipOld = 0x9E1F;
inline constexpr uint16_t kCompress = 0x9D1F;
inline constexpr uint16_t kPack = 0x1E1F;
inline constexpr uint16_t kLzh = 0xA01F;

inline constexpr uint8_t kFlagHeaderCrc = 0x02;
inline constexpr uint8_t kFlagExtra = 0x04;
inline constexpr uint8_t kFlagName = 0x08;
inline constexpr uint8_t kFlagComment = 0x10;
inline constexpr uint8_t kFlagEncrypted = 0x20;

struct Header {
    uint16_t magic = 0;  // the first two bytes, little-endian
    uint8_t method = 0;
    uint8_t flags = 0;
    uint32_t mtime = 0;
    uint16_t extraLength = 0;
    bool hasName = false;
    std::string name;  // the stored name (up to its NUL)
    uint64_t dataPos = 0;

    bool IsGzip() const { return magic == kGzip || magic == kGzipOld; }
};

// True for the magics the engine knows (gzip, old gzip, compress, pack, LZH).
bool KnownMagic(uint16_t magic);

// Reads the header at Pos. For gzip the optional fields (extra, name, comment, header CRC) are stepped
// over to the data; false when the magic is unknown or a gzip header is cut short.
bool ReadHeader(ReadAtSource& source, uint64_t pos, Header& header);

// The entry name of a file without a stored name: its own name without the last extension, with
// .tgz and .taz giving .tar.
std::string NameFromArchive(const std::string& archivePath);

}  // namespace engine::gz
