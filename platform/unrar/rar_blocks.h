// The RAR 1.5-4.x block format: the marker, the generic block header and the file header, parsed
// from bytes with their header CRC checked. No I/O here, so the walk can be fuzzed on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace unrar {

inline constexpr uint8_t kMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
inline constexpr uint8_t kMarker5[8] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x01, 0x00};

enum BlockType : uint8_t { kMainHead = 0x73, kFileHead = 0x74, kSubHead = 0x77, kNewSub = 0x7A, kEndArc = 0x7B };

// Main header flags.
inline constexpr uint16_t kMainVolume = 0x0001, kMainComment = 0x0002, kMainSolid = 0x0008, kMainNewNumbering = 0x0010,
                          kMainPassword = 0x0080;
// File header flags.
inline constexpr uint16_t kSplitBefore = 0x0001, kSplitAfter = 0x0002, kFileEncrypted = 0x0004,
                          kFileComment = 0x0008, kFileSolid = 0x0010, kDirectoryMask = 0x00E0, kLarge = 0x0100, kUnicode = 0x0200,
                          kSalt = 0x0400, kExtTime = 0x1000, kLongBlock = 0x8000;
// End-of-archive flags.
inline constexpr uint16_t kEndNextVolume = 0x0001;

// The generic part of a block: 7 bytes, plus the data size of a long block.
struct BlockHeader {
    uint16_t crc = 0;
    uint8_t type = 0;
    uint16_t flags = 0;
    uint16_t headSize = 0;
    uint64_t dataSize = 0;  // the bytes that follow the header
};

struct FileHeader {
    uint16_t flags = 0;
    uint64_t packSize = 0;
    uint64_t unpSize = 0;
    uint8_t hostOS = 0;
    uint32_t fileCRC = 0;
    uint32_t fileTime = 0;
    uint8_t unpVer = 0;
    uint8_t method = 0;
    uint32_t attr = 0;
    std::string name;      // as stored (code page bytes; the plain part of a Unicode name)
    std::u16string wideName;  // the Unicode name, when the header has one
    bool hasSalt = false;
    uint8_t salt[8] = {};
    // The dictionary the entry was packed with: 64 KB << the 3-bit window field.
    uint32_t Dictionary() const { return 0x10000u << ((flags & kDirectoryMask) >> 5); }
    bool IsDirectory() const { return (flags & kDirectoryMask) == kDirectoryMask || (unpVer < 20 && (attr & 0x10)); }
};

enum class ParseResult { Ok, Short, Bad, BadCrc };

// The generic header at the start of Bytes (at least 7 bytes; 11 for a long block).
ParseResult ParseBlockHeader(std::span<const uint8_t> bytes, BlockHeader& out);
// Checks the CRC of a whole header (HeadSize bytes) of the given type.
bool HeaderCrcMatches(std::span<const uint8_t> header, const BlockHeader& block);
// A file header of HeadSize bytes.
ParseResult ParseFileHeader(std::span<const uint8_t> header, FileHeader& out);

// The Unicode name encoded after the zero of a name field: UTF-16 units given whole, as low bytes
// with a common high byte, or as runs copied (and corrected) from the plain name. Empty when it
// decodes to nothing.
std::u16string DecodeUnicodeName(std::span<const uint8_t> plain, std::span<const uint8_t> encoded);

// UTF-8 to UTF-16; a byte that does not start a valid sequence stands for itself (Latin-1).
std::u16string Utf8ToUtf16(const std::string& text);

// The name of the next volume: "x.part1.rar" -> "x.part2.rar" (new numbering), "x.rar" -> "x.r00",
// "x.r99" -> "x.s00" (old numbering).
std::string NextVolumeName(const std::string& name, bool newNumbering);

}  // namespace unrar
