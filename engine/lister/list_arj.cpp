// The lister's ARJ walk. An entry that continues over the volumes of a multi-volume set is followed
// into each next volume and reported once, with the sizes of all its parts.
#include <memory>
#include <string>

#include "engine/core/file_routines.h"
#include "engine/formats/arj/arj_header.h"
#include "engine/formats/common/file_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

namespace engine {

namespace {

// The volume opened while following a continued entry; the archive's own file stays the caller's.
class VolumeFile {
public:
    ~VolumeFile() { Close(); }
    bool Open(const std::string& path)
    {
        Close();
        handle_ = OpenArchiveRead(path);
        if (handle_ == fw::kInvalidFile)
            return false;
        const int64_t size = OpenFileSize(handle_);
        source_ = std::make_unique<FileReadSource>(handle_, size > 0 ? uint64_t(size) : 0);
        return true;
    }
    void Close()
    {
        source_.reset();
        if (handle_ != fw::kInvalidFile)
            CloseFile(handle_);
        handle_ = fw::kInvalidFile;
    }
    ReadAtSource* Source() { return source_.get(); }

private:
    fw::FileHandle handle_ = fw::kInvalidFile;
    std::unique_ptr<FileReadSource> source_;
};

}  // namespace

void ListArj(TKrenlo& k, ReadAtSource& archive)
{
    using namespace listing;
    k.HeaderLen = 34;
    arj::ArjHeader main;
    if (arj::ReadHeader(archive, StartOf(k), main) != arj::HeaderStep::Entry)
        return;
    k.ArchiveComment = main.comment;
    const uint8_t archiveFlags = main.flags;
    k.ParseVolumeExt(k.ArchiveFile());
    VolumeFile volume;
    ReadAtSource* source = &archive;
    uint64_t pos = main.dataPos;
    while (Continue(k)) {
        arj::ArjHeader h;
        if (arj::ReadHeader(*source, pos, h) != arj::HeaderStep::Entry)
            break;
        k.HeaderPos = int64_t(pos) + 1;
        k.SetEntryName(h.name);
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        k.FileComment = h.comment;
        k.RunPacked = h.packedSize;
        k.RunUnpacked = h.size;
        const std::string& volumeOf = k.VolumeName.empty() ? k.ArchiveFile() : k.VolumeName;
        k.VolumeID = (archiveFlags & arj::kFlagVolume) ? ExtractFileName(volumeOf) : "";
        const bool folder = h.fileType == arj::kFolder;
        const bool selected = (folder && k.ShowBlankDirs()) || Matches(k);
        if (selected)
            k.AddTotals(h.packedSize, h.size);

        arj::ArjHeader last = h;
        uint64_t next = h.nextPos;
        bool moved = false;
        while (last.flags & arj::kFlagVolume) {
            std::string path = k.NextVolumePath(k.ArchiveFile());
            const int number = k.Volumes.VolumeNumber - 1;
            if (path.empty())
                k.RaiseError(path, "", std::to_string(number), 25235);
            if (number >= 1000)
                k.RaiseError(path, "", std::to_string(number), 25250);
            if (!k.FindVolume(path, std::to_string(number)))
                break;
            if (!volume.Open(path))
                k.RaiseError(path, "", "0", 25236);
            source = volume.Source();
            moved = true;
            k.VolumeName = path;
            k.ArchiveSize = k.EndPos = int64_t(source->Size());
            arj::ArjHeader volumeMain, part;
            if (arj::ReadHeader(*source, 0, volumeMain) != arj::HeaderStep::Entry ||
                arj::ReadHeader(*source, volumeMain.dataPos, part) != arj::HeaderStep::Entry) {
                next = source->Size();
                break;
            }
            k.RunPacked += part.packedSize;
            k.RunUnpacked += part.size;
            if (selected)
                k.AddTotals(part.packedSize, part.size);
            last = part;
            next = part.nextPos;
        }
        if (selected) {
            ++k.FileCount;
            EntryFields f;
            f.date = h.UnixTime() ? UnixToDateTimeNow(h.dosTime) : k.DosDateToDateTime(h.dosTime);
            f.versionMadeBy = h.version;
            f.versionNeeded = h.minVersion;
            f.packed = k.RunPacked;
            f.unpacked = k.RunUnpacked;
            f.crc = h.crc;
            f.encrypted = (h.flags & arj::kFlagGarbled) != 0;
            f.method = h.method;
            f.folder = folder;
            f.internalAttr = h.fileMode;
            f.externalAttr = h.fileMode;
            Report(k, f, int64_t(pos));
        }
        // A packed size that leads backwards or past the end of the volume: the archive is damaged.
        if ((!moved && next <= pos) || next > source->Size()) {
            ReportBadChain(k);
            break;
        }
        k.NextPos = int64_t(next);
        pos = next;
    }
}

}  // namespace engine
