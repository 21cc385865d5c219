// The fixed-size ZIP records. All numbers are little-endian; every record is parsed from a byte span
// at the named offsets below and encoded back the same way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace engine::zip {

inline constexpr uint32_t kLocalSignature = 0x04034B50;       // "PK" 3 4
inline constexpr uint32_t kLocalSignatureAlt = 0x50000000;    // 00 00 00 "P": accepted by the extractor
inline constexpr uint32_t kCentralSignature = 0x02014B50;     // "PK" 1 2
inline constexpr uint32_t kEndSignature = 0x06054B50;         // "PK" 5 6
inline constexpr uint32_t kDescriptorSignature = 0x08074B50;  // "PK" 7 8

// General purpose flag bits.
inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagOption1 = 0x0002;  // deflate: maximum; implode: 8 KB dictionary
inline constexpr uint16_t kFlagOption2 = 0x0004;  // deflate: fast; implode: three trees
inline constexpr uint16_t kFlagDescriptor = 0x0008;
inline constexpr uint16_t kFlagUtf8 = 0x0800;  // the name (and comment) are UTF-8

// External attribute bits (DOS attributes in the low byte).
inline constexpr uint32_t kAttrVolume = 0x08;
inline constexpr uint32_t kAttrDirectory = 0x10;

// Local file header, followed by the name, the extra field, an optional 12-byte encryption header and
// the compressed data.
//
//   0  signature        4     14 crc32              4
//   4  version needed   2     18 compressed size    4
//   6  flags            2     22 uncompressed size  4
//   8  method           2     26 name length        2
//   10 time (DOS)       2     28 extra length       2
//   12 date (DOS)       2     30 name, extra
struct LocalHeader {
    static constexpr size_t kSize = 30;
    static constexpr size_t kOffSignature = 0, kOffVersionNeeded = 4, kOffFlags = 6, kOffMethod = 8,
                            kOffTime = 10, kOffDate = 12, kOffCrc = 14, kOffCompressedSize = 18,
                            kOffUncompressedSize = 22, kOffNameLength = 26, kOffExtraLength = 28;

    uint32_t signature = kLocalSignature;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;

    // The record at the start of bytes, when bytes hold at least kSize and begin with "PK" 3 4 (or,
    // with acceptAlt, with 00 00 00 "P").
    static std::optional<LocalHeader> Parse(std::span<const uint8_t> bytes, bool acceptAlt = false);
    std::array<uint8_t, kSize> Encode() const;
    // Time in the low half, date in the high half.
    uint32_t DosDateTime() const { return time | (static_cast<uint32_t>(date) << 16); }
    // Bytes from the record's first byte to its compressed data (encryption header included in the data).
    uint64_t DataOffset() const { return kSize + uint64_t{nameLength} + extraLength; }
};

// Data descriptor behind the compressed data of an entry with flag bit 3: CRC-32, compressed and
// uncompressed size, with or without a leading "PK" 7 8 signature (12 or 16 bytes).
struct DataDescriptor {
    static constexpr size_t kSizeWithSignature = 16, kSizeWithout = 12;

    bool hasSignature = true;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;

    // With a signature when the bytes begin with one, else the 12-byte form; bytes must hold the form.
    static std::optional<DataDescriptor> Parse(std::span<const uint8_t> bytes);
    size_t Size() const { return hasSignature ? kSizeWithSignature : kSizeWithout; }
};

// Central directory file header, followed by the name, the extra field and the entry comment.
//
//   0  signature        4     24 uncompressed size  4
//   4  version made by  2     28 name length        2
//   6  version needed   2     30 extra length       2
//   8  flags            2     32 comment length     2
//   10 method           2     34 disk number start  2
//   12 time (DOS)       2     36 internal attrs     2
//   14 date (DOS)       2     38 external attrs     4
//   16 crc32            4     42 local header offset 4
//   20 compressed size  4     46 name, extra, comment
struct CentralHeader {
    static constexpr size_t kSize = 46;
    static constexpr size_t kOffSignature = 0, kOffVersionMadeBy = 4, kOffVersionNeeded = 6, kOffFlags = 8,
                            kOffMethod = 10, kOffTime = 12, kOffDate = 14, kOffCrc = 16,
                            kOffCompressedSize = 20, kOffUncompressedSize = 24, kOffNameLength = 28,
                            kOffExtraLength = 30, kOffCommentLength = 32, kOffDiskStart = 34,
                            kOffInternalAttr = 36, kOffExternalAttr = 38, kOffLocalHeaderOffset = 42;

    uint32_t signature = kCentralSignature;
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;
    uint16_t commentLength = 0;
    uint16_t diskStart = 0;
    uint16_t internalAttr = 0;
    uint32_t externalAttr = 0;
    uint32_t localHeaderOffset = 0;

    static std::optional<CentralHeader> Parse(std::span<const uint8_t> bytes);
    std::array<uint8_t, kSize> Encode() const;
    uint32_t DosDateTime() const { return time | (static_cast<uint32_t>(date) << 16); }
    // Bytes from the record's first byte to the next record.
    uint64_t RecordSize() const { return kSize + uint64_t{nameLength} + extraLength + commentLength; }
    bool IsDirectory() const { return (externalAttr & kAttrDirectory) != 0; }
};

// End of central directory record, followed by the archive comment.
//
//   0  signature                  4     12 central directory size    4
//   4  number of this disk        2     16 central directory offset  4
//   6  disk of central directory  2     20 comment length            2
//   8  entries on this disk       2     22 comment
//   10 total entries              2
struct EndRecord {
    static constexpr size_t kSize = 22;
    static constexpr size_t kOffSignature = 0, kOffDiskNumber = 4, kOffDirectoryDisk = 6,
                            kOffEntriesOnDisk = 8, kOffTotalEntries = 10, kOffDirectorySize = 12,
                            kOffDirectoryOffset = 16, kOffCommentLength = 20;

    uint32_t signature = kEndSignature;
    uint16_t diskNumber = 0;
    uint16_t directoryDisk = 0;
    uint16_t entriesOnDisk = 0;
    uint16_t totalEntries = 0;
    uint32_t directorySize = 0;
    uint32_t directoryOffset = 0;
    uint16_t commentLength = 0;

    static std::optional<EndRecord> Parse(std::span<const uint8_t> bytes);
    std::array<uint8_t, kSize> Encode() const;
};

// One field of an extra-field block: a 16-bit id, a 16-bit length and that many data bytes.
struct ExtraField {
    uint16_t id = 0;
    std::span<const uint8_t> data;
};

// Walks an extra-field block field by field. A field whose length runs past the block ends the walk
// (Truncated() then tells), so a damaged block can never be read beyond its end.
class ExtraFieldReader {
public:
    explicit ExtraFieldReader(std::span<const uint8_t> block) : block_(block) {}
    bool Next(ExtraField& field);
    bool Truncated() const { return truncated_; }

private:
    std::span<const uint8_t> block_;
    size_t pos_ = 0;
    bool truncated_ = false;
};

// The first field with this id, if the block holds one.
std::optional<ExtraField> FindExtraField(std::span<const uint8_t> block, uint16_t id);

inline constexpr uint16_t kExtraZip64 = 0x0001;

}  // namespace engine::zip
