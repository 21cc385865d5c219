#include "engine/formats/zip/zip_records.h"

#include "engine/formats/common/le_bytes.h"

namespace engine::zip {

std::optional<LocalHeader> LocalHeader::Parse(std::span<const uint8_t> bytes, bool acceptAlt) {
    if (bytes.size() < kSize) return std::nullopt;
    const uint8_t* p = bytes.data();
    LocalHeader h;
    h.signature = Le32(p + kOffSignature);
    if (h.signature != kLocalSignature && !(acceptAlt && h.signature == kLocalSignatureAlt)) return std::nullopt;
    h.versionNeeded = Le16(p + kOffVersionNeeded);
    h.flags = Le16(p + kOffFlags);
    h.method = Le16(p + kOffMethod);
    h.time = Le16(p + kOffTime);
    h.date = Le16(p + kOffDate);
    h.crc = Le32(p + kOffCrc);
    h.compressedSize = Le32(p + kOffCompressedSize);
    h.uncompressedSize = Le32(p + kOffUncompressedSize);
    h.nameLength = Le16(p + kOffNameLength);
    h.extraLength = Le16(p + kOffExtraLength);
    return h;
}

std::array<uint8_t, LocalHeader::kSize> LocalHeader::Encode() const {
    std::array<uint8_t, kSize> out{};
    uint8_t* p = out.data();
    PutLe32(p + kOffSignature, signature);
    PutLe16(p + kOffVersionNeeded, versionNeeded);
    PutLe16(p + kOffFlags, flags);
    PutLe16(p + kOffMethod, method);
    PutLe16(p + kOffTime, time);
    PutLe16(p + kOffDate, date);
    PutLe32(p + kOffCrc, crc);
    PutLe32(p + kOffCompressedSize, compressedSize);
    PutLe32(p + kOffUncompressedSize, uncompressedSize);
    PutLe16(p + kOffNameLength, nameLength);
    PutLe16(p + kOffExtraLength, extraLength);
    return out;
}

std::optional<DataDescriptor> DataDescriptor::Parse(std::span<const uint8_t> bytes) {
    DataDescriptor d;
    const uint8_t* p = bytes.data();
    if (bytes.size() >= 4 && Le32(p) == kDescriptorSignature) {
        if (bytes.size() < kSizeWithSignature) return std::nullopt;
        p += 4;
    } else {
        if (bytes.size() < kSizeWithout) return std::nullopt;
        d.hasSignature = false;
    }
    d.crc = Le32(p);
    d.compressedSize = Le32(p + 4);
    d.uncompressedSize = Le32(p + 8);
    return d;
}

std::optional<CentralHeader> CentralHeader::Parse(std::span<const uint8_t> bytes) {
    if (bytes.size() < kSize) return std::nullopt;
    const uint8_t* p = bytes.data();
    CentralHeader h;
    h.signature = Le32(p + kOffSignature);
    if (h.signature != kCentralSignature) return std::nullopt;
    h.versionMadeBy = Le16(p + kOffVersionMadeBy);
    h.versionNeeded = Le16(p + kOffVersionNeeded);
    h.flags = Le16(p + kOffFlags);
    h.method = Le16(p + kOffMethod);
    h.time = Le16(p + kOffTime);
    h.date = Le16(p + kOffDate);
    h.crc = Le32(p + kOffCrc);
    h.compressedSize = Le32(p + kOffCompressedSize);
    h.uncompressedSize = Le32(p + kOffUncompressedSize);
    h.nameLength = Le16(p + kOffNameLength);
    h.extraLength = Le16(p + kOffExtraLength);
    h.commentLength = Le16(p + kOffCommentLength);
    h.diskStart = Le16(p + kOffDiskStart);
    h.internalAttr = Le16(p + kOffInternalAttr);
    h.externalAttr = Le32(p + kOffExternalAttr);
    h.localHeaderOffset = Le32(p + kOffLocalHeaderOffset);
    return h;
}

std::array<uint8_t, CentralHeader::kSize> CentralHeader::Encode() const {
    std::array<uint8_t, kSize> out{};
    uint8_t* p = out.data();
    PutLe32(p + kOffSignature, signature);
    PutLe16(p + kOffVersionMadeBy, versionMadeBy);
    PutLe16(p + kOffVersionNeeded, versionNeeded);
    PutLe16(p + kOffFlags, flags);
    PutLe16(p + kOffMethod, method);
    PutLe16(p + kOffTime, time);
    PutLe16(p + kOffDate, date);
    PutLe32(p + kOffCrc, crc);
    PutLe32(p + kOffCompressedSize, compressedSize);
    PutLe32(p + kOffUncompressedSize, uncompressedSize);
    PutLe16(p + kOffNameLength, nameLength);
    PutLe16(p + kOffExtraLength, extraLength);
    PutLe16(p + kOffCommentLength, commentLength);
    PutLe16(p + kOffDiskStart, diskStart);
    PutLe16(p + kOffInternalAttr, internalAttr);
    PutLe32(p + kOffExternalAttr, externalAttr);
    PutLe32(p + kOffLocalHeaderOffset, localHeaderOffset);
    return out;
}

std::optional<EndRecord> EndRecord::Parse(std::span<const uint8_t> bytes) {
    if (bytes.size() < kSize) return std::nullopt;
    const uint8_t* p = bytes.data();
    EndRecord r;
    r.signature = Le32(p + kOffSignature);
    if (r.signature != kEndSignature) return std::nullopt;
    r.diskNumber = Le16(p + kOffDiskNumber);
    r.directoryDisk = Le16(p + kOffDirectoryDisk);
    r.entriesOnDisk = Le16(p + kOffEntriesOnDisk);
    r.totalEntries = Le16(p + kOffTotalEntries);
    r.directorySize = Le32(p + kOffDirectorySize);
    r.directoryOffset = Le32(p + kOffDirectoryOffset);
    r.commentLength = Le16(p + kOffCommentLength);
    return r;
}

std::array<uint8_t, EndRecord::kSize> EndRecord::Encode() const {
    std::array<uint8_t, kSize> out{};
    uint8_t* p = out.data();
    PutLe32(p + kOffSignature, signature);
    PutLe16(p + kOffDiskNumber, diskNumber);
    PutLe16(p + kOffDirectoryDisk, directoryDisk);
    PutLe16(p + kOffEntriesOnDisk, entriesOnDisk);
    PutLe16(p + kOffTotalEntries, totalEntries);
    PutLe32(p + kOffDirectorySize, directorySize);
    PutLe32(p + kOffDirectoryOffset, directoryOffset);
    PutLe16(p + kOffCommentLength, commentLength);
    return out;
}

bool ExtraFieldReader::Next(ExtraField& field) {
    if (truncated_ || block_.size() - pos_ < 4) {
        if (pos_ < block_.size() && block_.size() - pos_ < 4) truncated_ = true;
        return false;
    }
    const uint8_t* p = block_.data() + pos_;
    const uint16_t id = Le16(p);
    const size_t len = Le16(p + 2);
    if (len > block_.size() - pos_ - 4) {
        truncated_ = true;
        return false;
    }
    field.id = id;
    field.data = block_.subspan(pos_ + 4, len);
    pos_ += 4 + len;
    return true;
}

std::optional<ExtraField> FindExtraField(std::span<const uint8_t> block, uint16_t id) {
    ExtraFieldReader reader(block);
    ExtraField f;
    while (reader.Next(f)) {
        if (f.id == id) return f;
    }
    return std::nullopt;
}

}  // namespace engine::zip
