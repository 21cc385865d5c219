#include "engine/formats/zip/writer/zip_rebuild.h"

#include <algorithm>
#include <array>

#include "engine/core/routines.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"

namespace engine::zip {

// ---- StreamReadSource -----------------------------------------------------------------------------

size_t StreamReadSource::ReadAt(uint64_t offset, std::span<uint8_t> out)
{
    if (offset >= size_ || out.empty())
        return 0;
    if (stream_.Seek(int64_t(offset), fw::soFromBeginning) != int64_t(offset))
        return 0;
    const int64_t got = stream_.Read(out.data(), int64_t(out.size()));
    return got > 0 ? size_t(got) : 0;
}

// ---- reading the old directory ---------------------------------------------------------------------

DirectoryResult ReadDirectory(ReadAtSource& source, EntryList& entries, uint64_t& prefixLength)
{
    entries.Clear();
    prefixLength = 0;
    const DirectoryLocation loc = LocateDirectory(source);
    if (!loc.end)
        return DirectoryResult::NotFound;
    const EndRecord& end = loc.end->record;
    if (end.diskNumber != 0 || end.directoryDisk != 0 || end.entriesOnDisk != end.totalEntries)
        return DirectoryResult::NotFound;  // a volume of a split archive
    if (end.totalEntries == 0 && end.directorySize == 0) {
        // An empty archive: whatever lies before its end record is its prefix.
        prefixLength = loc.end->position;
        return DirectoryResult::Ok;
    }
    if (loc.kind != DirectoryLocation::Kind::Central || end.totalEntries == 0xFFFF ||
        end.directoryOffset == 0xFFFFFFFFu)
        return DirectoryResult::NotFound;

    CentralDirectoryWalker walker(source, loc.position, loc.end->position);
    CentralEntry e;
    uint64_t first = UINT64_MAX;
    size_t count = 0;
    for (;;) {
        const WalkStep step = walker.Next(e);
        if (step == WalkStep::End)
            break;
        if (step == WalkStep::Truncated)
            return DirectoryResult::NotFound;
        const CentralHeader& h = e.header;
        if (h.compressedSize == 0xFFFFFFFFu || h.uncompressedSize == 0xFFFFFFFFu ||
            h.localHeaderOffset == 0xFFFFFFFFu || h.diskStart != 0)
            return DirectoryResult::NotFound;
        const uint64_t local = loc.offsetBias + h.localHeaderOffset;
        if (local >= source.Size())
            return DirectoryResult::NotFound;
        TZipCompObject& o = entries.Add(StoredKey(e.name));
        o.DosDate = h.DosDateTime();
        o.Size = h.uncompressedSize;
        o.Attr = h.externalAttr;
        o.CompressedSize = h.compressedSize;
        o.Crc = h.crc;
        o.ExtraLength = h.extraLength;
        o.CommentLength = h.commentLength;
        o.Method = h.method;
        o.Flags = h.flags;
        o.VersionNeeded = h.versionNeeded;
        o.InternalAttr = h.internalAttr;
        o.LocalOffset = local;
        o.CentralOffset = e.position;
        o.StoredName = e.name;
        o.Comment = e.comment;
        o.CentralExtra = e.extra;
        first = std::min(first, local);
        ++count;
    }
    // Every record the end record counts must have been read, or entries would be lost.
    if (count == 0 || (count & 0xFFFF) != end.totalEntries)
        return DirectoryResult::NotFound;
    prefixLength = first;
    return DirectoryResult::Ok;
}

// ---- copying ---------------------------------------------------------------------------------------

bool WriteAll(fw::TStream& out, const void* bytes, int64_t count)
{
    return count <= 0 || out.Write(bytes, count) == count;
}

CopyResult CopyBytes(ReadAtSource& source, uint64_t offset, uint64_t count, fw::TStream& out)
{
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(count, 65536)));
    while (count > 0) {
        const size_t n = size_t(std::min<uint64_t>(count, buffer.size()));
        if (!source.ReadExact(offset, std::span<uint8_t>(buffer.data(), n)))
            return CopyResult::ReadFailed;
        if (!WriteAll(out, buffer.data(), int64_t(n)))
            return CopyResult::WriteFailed;
        offset += n;
        count -= n;
    }
    return CopyResult::Ok;
}

namespace {

// The length of the data descriptor behind an entry's data: 16 with its signature, 12 without, 0 when
// neither form is there (nothing is then copied beyond the data).
uint64_t DescriptorLength(ReadAtSource& old, uint64_t at, uint32_t crc)
{
    std::array<uint8_t, 8> b{};
    if (!old.ReadExact(at, std::span<uint8_t>(b.data(), 4)))
        return 0;
    const uint32_t first = Le32(b.data());
    const bool haveSecond = old.ReadExact(at + 4, std::span<uint8_t>(b.data() + 4, 4));
    if (first == kDescriptorSignature && haveSecond && Le32(b.data() + 4) == crc)
        return DataDescriptor::kSizeWithSignature;
    if (first == crc)
        return DataDescriptor::kSizeWithout;
    if (first == kDescriptorSignature)
        return DataDescriptor::kSizeWithSignature;
    return 0;
}

}  // namespace

CopyResult CopyKeptEntry(ReadAtSource& old, const TZipCompObject& entry, fw::TStream& out, CentralRecord& record)
{
    std::array<uint8_t, LocalHeader::kSize> raw{};
    if (!old.ReadExact(entry.LocalOffset, raw))
        return CopyResult::ReadFailed;
    const auto local = LocalHeader::Parse(raw, true);
    if (!local)
        return CopyResult::ReadFailed;
    const uint64_t dataEnd = entry.LocalOffset + local->DataOffset() + entry.CompressedSize;
    if (dataEnd > old.Size())
        return CopyResult::ReadFailed;
    uint64_t length = dataEnd - entry.LocalOffset;
    if ((entry.Flags | local->flags) & kFlagDescriptor) {
        const uint64_t d = DescriptorLength(old, dataEnd, entry.Crc);
        if (dataEnd + d <= old.Size())
            length += d;
    }
    const int64_t position = out.Position();
    if (position < 0 || uint64_t(position) > 0xFFFFFFFFu)
        return CopyResult::WriteFailed;
    const CopyResult copied = CopyBytes(old, entry.LocalOffset, length, out);
    if (copied != CopyResult::Ok)
        return copied;

    CentralHeader& h = record.header;
    h = CentralHeader{};
    h.versionMadeBy = 2;
    h.versionNeeded = std::max<uint16_t>(entry.VersionNeeded, 2);
    h.flags = entry.Flags;
    h.method = entry.Method;
    h.time = uint16_t(entry.DosDate & 0xFFFF);
    h.date = uint16_t(entry.DosDate >> 16);
    h.crc = entry.Crc;
    h.compressedSize = entry.CompressedSize;
    h.uncompressedSize = uint32_t(entry.Size);
    h.nameLength = uint16_t(entry.StoredName.size());
    h.extraLength = uint16_t(entry.CentralExtra.size());
    h.commentLength = uint16_t(entry.Comment.size());
    h.internalAttr = entry.InternalAttr;
    h.externalAttr = entry.Attr;
    h.localHeaderOffset = uint32_t(position);
    record.name = entry.StoredName;
    record.extra = entry.CentralExtra;
    record.comment = entry.Comment;
    return CopyResult::Ok;
}

bool WriteDirectory(fw::TStream& target, const std::vector<CentralRecord>& records)
{
    const int64_t start = target.Position();
    if (start < 0 || uint64_t(start) > 0xFFFFFFFFu || records.size() > 0xFFFF)
        return false;
    // A record's pieces are small: they are gathered and written in large pieces.
    fw::TBufferedStream out(target);
    uint64_t size = 0;
    for (const CentralRecord& r : records) {
        const auto head = r.header.Encode();
        if (!WriteAll(out, head.data(), int64_t(head.size())) ||
            !WriteAll(out, r.name.data(), int64_t(r.name.size())) ||
            !WriteAll(out, r.extra.data(), int64_t(r.extra.size())) ||
            !WriteAll(out, r.comment.data(), int64_t(r.comment.size())))
            return false;
        size += CentralHeader::kSize + r.name.size() + r.extra.size() + r.comment.size();
    }
    if (uint64_t(start) + size > 0xFFFFFFFFu)
        return false;
    EndRecord end;
    end.entriesOnDisk = end.totalEntries = uint16_t(records.size());
    end.directorySize = uint32_t(size);
    end.directoryOffset = uint32_t(start);
    const auto e = end.Encode();
    return WriteAll(out, e.data(), int64_t(e.size())) && out.Flush();
}

}  // namespace engine::zip
