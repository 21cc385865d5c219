// TQnfdCompress: the installer's archive container. It packs files into one archive of zlib entries
// ("files.1"), splits an archive into numbered volumes for small disks, and extracts entries with
// overwrite rules, dates and disk-change requests. See container_header.h for the layout.
//
// Every block of work lets pending window messages run (the Host seam) and stops at the next block once
// Abort is set. The archive's files are opened through StreamFactory, which tests replace to stage full
// disks and short writes.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "framework/core/event.h"
#include "framework/core/lists.h"
#include "framework/core/object.h"
#include "framework/core/streams.h"
#include "installer/container_header.h"
#include "installer/versions.h"
#include "installer/zstream.h"

namespace inst {

using TlzhFileStatsEvent = fw::Event<void(fw::TObject* Sender, const TlzhFileStats& Stats)>;
using TlzhNewDiskEvent = fw::Event<void(fw::TObject* Compress, int DiskNumber, std::string& Path)>;

enum class TlzhCommand { lzcOverwrite, lzcOnlyAdd };

class TQnfdCompress : public fw::TComponent {
public:
    static constexpr int kMaxUniqueIds = 2000;
    enum class Mode { Idle, Compressing, Extracting };

    explicit TQnfdCompress(fw::TComponent* owner);

    bool Abort() const { return abort_; }
    void SetAbort(bool v) { abort_ = v; }
    const std::string& CompressedFile() const { return compressedFile_; }
    // Switching between volumes of one set keeps the loaded headers.
    void SetCompressedFile(const std::string& name);
    TCompressionLevel CompressionLevel() const { return level_; }
    void SetCompressionLevel(TCompressionLevel v) { level_ = v; }
    const std::string& ExtractDirectory() const { return extractDirectory_; }
    void SetExtractDirectory(const std::string& v) { extractDirectory_ = v; }
    // Assignment drops the lines that are blank after trimming.
    fw::TStringList* FilesToProcess() { return &filesToProcess_; }
    void SetFilesToProcess(fw::TStrings* list);
    int64_t Offset() const { return offset_; }
    void SetOffset(int64_t v) { offset_ = v; }
    TOverwriteType Overwrite() const { return overwrite_; }
    void SetOverwrite(TOverwriteType v) { overwrite_ = v; }
    // The name the next extracted entry is stored under ("": the entry's own name).
    const std::string& ExtractFileAs() const { return extractFileAs_; }
    void SetExtractFileAs(const std::string& v) { extractFileAs_ = v; }

    Mode CurrentMode() const { return mode_; }
    int CurrentVolume() const { return currentVolume_; }
    bool HeadersLoaded() const { return headersLoaded_; }
    TFileHeaders& Headers() { return headers_; }
    const TlzhFileStats& Stats() const { return stats_; }

    void ReadHeaders();
    int FileCount();
    // Raises EQnfdCompress for an index outside the archive.
    TlzhFileStats GetFileStats(int index);
    // The entry index of a unique id; 0 for an id outside 0..1999.
    int GetEntryIndexById(int id);

    void Compress(bool addMode, int uniqueId);
    void ExtractAll();
    void CopyFile(const std::string& source, const std::string& dest);
    void CopyToVolumes(const std::string& destDir, const std::string& volumeName);
    // Opens volume `volume` (asking for it through OnNewDisk, at most four times); name is updated.
    void OpenVolume(std::unique_ptr<fw::TStream>& stream, int volume, uint32_t mode, std::string& name);

    // Opens or creates an archive file. Default: fw::TFileStream.
    std::function<std::unique_ptr<fw::TStream>(const std::string& path, uint32_t mode)> StreamFactory;

    fw::TNotifyEvent OnAborted;
    TlzhFileStatsEvent OnAfterAdding, OnBeforeAdding, OnAfterExtracting, OnListing, OnBeforeExtracting;
    fw::TNotifyEvent OnFullDisk;
    TlzhNewDiskEvent OnNewDisk;
    TlzhFileStatsEvent OnReplace, OnStatus;

private:
    std::unique_ptr<fw::TStream> Open(const std::string& path, uint32_t mode);
    void EnsureHeaders();
    void ClearIdTable();
    // Runs an operation: an abort ends it quietly (OnAborted), any other error sets Abort.
    void Guarded(const std::function<void()>& body);
    void CheckAbort();
    void FireStatus();
    void CompressEntry(fw::TStream& archive, int index, int uniqueId);
    void ExtractEntry(const TFileHeader& header, const std::string& target);
    void InflateEntry(const TFileHeader& header, fw::TStream& target);
    void WriteExtracted(fw::TStream& target, const uint8_t* data, size_t count);
    void CopyEntryToVolumes(fw::TStream& source, TFileHeader& header, std::unique_ptr<fw::TStream>& dest,
                            std::string& destDir, const std::string& volumeName);

    bool abort_ = false;
    std::string compressedFile_;
    TCompressionLevel level_ = TCompressionLevel::colMax;
    std::string extractDirectory_;
    fw::TStringList filesToProcess_;
    int64_t offset_ = 0;
    TOverwriteType overwrite_ = TOverwriteType::owAlways;
    std::string extractFileAs_;

    Mode mode_ = Mode::Idle;
    int currentVolume_ = 0;
    bool headersLoaded_ = false;
    std::unique_ptr<fw::TStream> volume_;  // the volume being read
    TlzhFileStats stats_;
    std::array<int32_t, kMaxUniqueIds> ids_{};
    TFileHeaders headers_;
};

// Volume n of an archive: its name with the extension replaced by "." and n.
std::string VolumeName(const std::string& archive, int volume);

}  // namespace inst
