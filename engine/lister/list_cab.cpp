// CAB: the files of a cabinet and of the cabinets chained after it. A file continued from an earlier
// cabinet of the set is listed once, where it starts.
#include <array>
#include <memory>
#include <set>

#include "engine/core/file_routines.h"
#include "engine/core/wildcard.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/methods/method_names.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/list_walks.h"

namespace engine {

namespace {

constexpr uint16_t kFlagPrev = 1, kFlagNext = 2, kFlagReserve = 4;
constexpr uint16_t kContinuedFromPrev = 0xFFFD, kContinuedPrevAndNext = 0xFFFF;

// A NUL-terminated name of at most 255 bytes at Pos; Pos moves past it.
std::string ReadName(ReadAtSource& source, uint64_t& pos)
{
    std::array<uint8_t, 256> buf{};
    const size_t got = source.ReadAt(pos, buf);
    size_t n = 0;
    while (n < got && n < 255 && buf[n] != 0)
        ++n;
    pos += n + 1;
    return std::string(reinterpret_cast<const char*>(buf.data()), n);
}

struct Cabinet {
    uint16_t flags = 0;
    uint8_t minor = 0, major = 0;
    uint16_t files = 0;
    uint16_t compression = 0;
    uint64_t firstFile = 0;
    std::string nextName, nextDisk;
};

enum class Read { Ok, BadHeader, NoFolder };

Read ReadCabinet(ReadAtSource& source, uint64_t start, Cabinet& cab)
{
    std::array<uint8_t, 36> h{};
    if (!source.ReadExact(start, h) || h[0] != 'M' || h[1] != 'S' || h[2] != 'C' || h[3] != 'F')
        return Read::BadHeader;
    cab.flags = Le16(h.data() + 30);
    cab.minor = h[24];
    cab.major = h[25];
    cab.files = Le16(h.data() + 28);
    cab.firstFile = start + Le32(h.data() + 16);
    uint64_t pos = start + 36;
    uint8_t folderReserve = 0;
    if (cab.flags & kFlagReserve) {
        std::array<uint8_t, 4> r{};
        if (!source.ReadExact(pos, r))
            return Read::BadHeader;
        folderReserve = r[2];
        pos += 4 + Le16(r.data());
    }
    if (cab.flags & kFlagPrev) {
        ReadName(source, pos);
        ReadName(source, pos);
    }
    cab.nextName.clear();
    cab.nextDisk = "0";
    if (cab.flags & kFlagNext) {
        cab.nextName = ReadName(source, pos);
        cab.nextDisk = ReadName(source, pos);
        if (cab.nextDisk.empty())
            cab.nextDisk = "0";
    }
    std::array<uint8_t, 8> folder{}, data{};
    if (!source.ReadExact(pos, folder))
        return Read::NoFolder;
    cab.compression = Le16(folder.data() + 6);
    if (!source.ReadExact(start + Le32(folder.data()), data))
        return Read::NoFolder;
    (void)folderReserve;
    return Read::Ok;
}

}  // namespace

void ListCab(TKrenlo& k, ReadAtSource& first)
{
    k.VolumeName.clear();
    k.HeaderLen = 16;
    const uint64_t start = k.ArcStartPos > 1 ? uint64_t(k.ArcStartPos - 1) : 0;
    Cabinet cab;
    Read r = ReadCabinet(first, start, cab);
    if (r != Read::Ok) {
        k.ReportError(k.ArchiveFile(), "", "0", r == Read::BadHeader ? 25108 : 25236);
        return;
    }
    ReadAtSource* source = &first;
    // A later cabinet of the set, open for the walk.
    fw::FileHandle volume = fw::kInvalidFile;
    std::unique_ptr<FileReadSource> volumeSource;
    std::set<std::string> visited = {UpperCase(k.ArchiveFile())};
    uint64_t pos = cab.firstFile;
    int left = cab.files;
    const auto closeVolume = [&] {
        if (volume != fw::kInvalidFile)
            CloseFile(volume);
        volume = fw::kInvalidFile;
    };
    while (!k.Aborted()) {
        ProcessMessages();
        if (left > 0) {
            k.HeaderPos = int64_t(pos) + 1;
            std::array<uint8_t, 16> f{};
            if (!source->ReadExact(pos, f))
                break;
            uint64_t namePos = pos + 16;
            k.SetEntryName(ReadName(*source, namePos));
            const uint64_t entryPos = pos;
            pos = namePos;
            k.NextPos = int64_t(pos);
            --left;
            if (k.OnReadFile)
                k.OnReadFile(&k, k.FileName);
            const uint16_t folderIndex = Le16(f.data() + 8);
            if (folderIndex == kContinuedFromPrev || folderIndex == kContinuedPrevAndNext)
                continue;
            if (!WildcardMatch(k.FileSpec(), k.FileName, true))
                continue;
            ++k.FileCount;
            const uint32_t size = Le32(f.data());
            k.AddTotals(size, size);
            k.Date = k.DosDateToDateTime(SwapWords(Le32(f.data() + 10)));
            k.VersionMadeBy = cab.minor;
            k.VersionNeeded = cab.major;
            k.PackedSize = k.UnpackedSize = size;
            k.CRC = 0;
            k.Encrypted = false;
            k.MethodNum = cab.compression;
            k.MethodName = MethodNameOf(TArcType::atCab, cab.compression);
            k.InternalAttr = k.ExternalAttr = Le16(f.data() + 14);
            k.Ratio = 0;
            k.VolumeID = (cab.flags & (kFlagPrev | kFlagNext))
                             ? ExtractFileName(k.VolumeName.empty() ? k.ArchiveFile() : k.VolumeName)
                             : "";
            k.ReportEntry(int64_t(entryPos), k.FileCount);
            continue;
        }
        if (!(cab.flags & kFlagNext))
            break;
        std::string next = ExtractFilePath(k.ArchiveFile()) + cab.nextName;
        // A set that names a cabinet already read would go round for ever.
        if (!visited.insert(UpperCase(next)).second)
            break;
        std::string disk = cab.nextDisk;
        if (!k.FindVolume(next, disk))
            break;
        closeVolume();
        volume = OpenArchiveRead(next);
        if (volume == fw::kInvalidFile)
            k.RaiseError(next, "", "0", 25236);
        k.VolumeName = next;
        const int64_t size = OpenFileSize(volume);
        volumeSource = std::make_unique<FileReadSource>(volume, uint64_t(size > 0 ? size : 0));
        source = volumeSource.get();
        const std::string nextName = cab.nextName, nextDisk = cab.nextDisk;
        r = ReadCabinet(*source, 0, cab);
        if (r != Read::Ok) {
            k.ReportError(r == Read::BadHeader ? nextName : next, "", r == Read::BadHeader ? nextDisk : "0",
                          r == Read::BadHeader ? 25108 : 25236);
            break;
        }
        pos = cab.firstFile;
        left = cab.files;
    }
    closeVolume();
}

}  // namespace engine
