#include "installer/container.h"

#include <vector>

#include "framework/core/format.h"
#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"

namespace inst {

namespace {

constexpr const char kCorrupt[] =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";
constexpr int kCompressReadBlock = 65536;

void Pump() { fw::HostSeam().PumpMessages(); }

int32_t ArchivePosition(fw::TStream& archive, const std::string& name) {
    const int64_t p = archive.Position();
    if (p > INT32_MAX) throw EQnfdCompress(fw::Format("The archive %s is too large", {name}));
    return static_cast<int32_t>(p);
}

void WriteCount(fw::TStream& archive, int32_t count) {
    const int64_t end = archive.Position();
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
    archive.SetPosition(0);
    archive.WriteBuffer(bytes, 4);
    archive.SetPosition(end);
}

}  // namespace

std::string VolumeName(const std::string& archive, int volume) {
    return fw::ChangeFileExt(archive, "." + std::to_string(volume));
}

TQnfdCompress::TQnfdCompress(fw::TComponent* owner) : fw::TComponent(owner) {
    StreamFactory = [](const std::string& path, uint32_t mode) -> std::unique_ptr<fw::TStream> {
        return std::make_unique<fw::TFileStream>(path, mode);
    };
}

std::unique_ptr<fw::TStream> TQnfdCompress::Open(const std::string& path, uint32_t mode) {
    return StreamFactory(path, mode);
}

void TQnfdCompress::SetCompressedFile(const std::string& name) {
    if (fw::SameText(name, compressedFile_)) return;
    if (headersLoaded_ && !fw::SameText(fw::ChangeFileExt(name, ".1"), fw::ChangeFileExt(compressedFile_, ".1")))
        headersLoaded_ = false;
    compressedFile_ = name;
}

void TQnfdCompress::SetFilesToProcess(fw::TStrings* list) {
    filesToProcess_.Clear();
    for (int i = 0; i < list->Count(); ++i)
        if (!fw::Trim(list->Get(i)).empty()) filesToProcess_.Add(list->Get(i));
}

void TQnfdCompress::ClearIdTable() { ids_.fill(0); }

void TQnfdCompress::ReadHeaders() {
    std::unique_ptr<fw::TStream> file;
    if (fw::FileExists(compressedFile_)) {
        try {
            file = Open(compressedFile_, fw::fmOpenRead | fw::fmShareDenyWrite);
        } catch (const fw::Exception&) {
        }
    }
    if (!file) throw EQnfdCompress(fw::Format("Cannot open the compressed file %s", {compressedFile_}));
    ClearIdTable();
    try {
        headers_.ReadFromStream(*file, offset_);
    } catch (const fw::Exception&) {
        headers_.Clear();
        throw EQnfdCompress(kCorrupt);
    }
    for (int i = 0; i < headers_.Count(); ++i) {
        const int32_t id = headers_.FileHeaders(i).uniqueId;
        if (id >= 0 && id < kMaxUniqueIds) ids_[static_cast<size_t>(id)] = i;
    }
    headersLoaded_ = true;
}

void TQnfdCompress::EnsureHeaders() {
    if (!headersLoaded_) ReadHeaders();
}

int TQnfdCompress::FileCount() {
    if (!headersLoaded_ && mode_ != Mode::Compressing) ReadHeaders();
    return headers_.Count();
}

TlzhFileStats TQnfdCompress::GetFileStats(int index) {
    EnsureHeaders();
    if (index < 0 || index >= headers_.Count())
        throw EQnfdCompress(fw::Format("Tried to access the %dth file. This file is not defined", {index}));
    TlzhFileStats s;
    headers_.InitTotals(s);
    headers_.SumTotals(s);
    const TFileHeader& h = headers_.FileHeaders(index);
    s.Header = h;
    s.FileName = h.fileName;
    s.OriginalSize = h.originalSize;
    s.CompressedSize = h.compressedSize;
    s.Ratio = Percent(h.compressedSize, h.originalSize);
    stats_ = s;
    return s;
}

int TQnfdCompress::GetEntryIndexById(int id) {
    EnsureHeaders();
    return id >= 0 && id < kMaxUniqueIds ? ids_[static_cast<size_t>(id)] : 0;
}

void TQnfdCompress::Guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const EqcAborted&) {
        if (OnAborted) OnAborted(this);
    } catch (const fw::EAbort&) {
    } catch (...) {
        abort_ = true;
        throw;
    }
}

void TQnfdCompress::CheckAbort() {
    if (abort_) throw EqcAborted("Operation aborted by user");
}

void TQnfdCompress::FireStatus() {
    if (OnStatus) OnStatus(this, stats_);
}

// ---- Compress ---------------------------------------------------------------------------------------------

void TQnfdCompress::Compress(bool addMode, int uniqueId) {
    abort_ = false;
    mode_ = Mode::Compressing;
    headers_.SetLayoutFlag(0);
    offset_ = 0;
    std::unique_ptr<fw::TStream> archive;
    try {
        Guarded([&] {
            const std::string dir = fw::ExtractFileDir(compressedFile_);
            if (!dir.empty()) fw::ForceDirectories(dir);
            const bool adding = addMode && fw::FileExists(compressedFile_);
            if (adding) {
                try {
                    archive = Open(compressedFile_, fw::fmOpenReadWrite | fw::fmShareDenyWrite);
                } catch (const fw::Exception&) {
                    throw EQnfdCompress(fw::Format("Cannot create the file %s", {compressedFile_}));
                }
                try {
                    headers_.ReadFromStream(*archive, 0);
                } catch (const fw::Exception&) {
                    throw EQnfdCompress(kCorrupt);
                }
                if (headers_.LayoutFlag() != 0)
                    throw EQnfdCompress(fw::Format("Cannot add files to the split archive %s", {compressedFile_}));
                headers_.AddFiles(filesToProcess_, true);
            } else {
                // The sources are read before the old archive goes, so a missing one leaves it alone.
                headers_.AddFiles(filesToProcess_, false);
                try {
                    archive = Open(compressedFile_, fw::fmCreate);
                } catch (const fw::Exception&) {
                    throw EQnfdCompress(fw::Format("Cannot create the file %s", {compressedFile_}));
                }
            }
            // The count on disk only ever covers complete entries: an archive cut short by an abort
            // or an error still reads, with what it held before.
            int32_t count = 0;
            for (int i = 0; i < headers_.Count(); ++i)
                if (headers_.FileHeaders(i).loaded) ++count;
            if (!adding) {
                TFileHeaders empty;
                empty.WriteToStream(*archive);
            }
            archive->Seek(0, fw::soFromEnd);
            int64_t goodSize = archive->Position();
            headers_.InitTotals(stats_, true);
            stats_.TotalCompressedSize = 0;
            try {
                for (int i = 0; i < headers_.Count(); ++i) {
                    if (headers_.FileHeaders(i).loaded) continue;
                    CompressEntry(*archive, i, uniqueId);
                    WriteCount(*archive, ++count);
                    goodSize = archive->Position();
                }
            } catch (...) {
                try {
                    archive->SetSize(goodSize);
                } catch (...) {
                }
                throw;
            }
        });
    } catch (...) {
        headersLoaded_ = false;
        archive.reset();
        filesToProcess_.Clear();
        throw;
    }
    headersLoaded_ = false;
    archive.reset();
    filesToProcess_.Clear();
}

void TQnfdCompress::CompressEntry(fw::TStream& archive, int index, int uniqueId) {
    TFileHeader& h = headers_.FileHeaders(index);
    std::unique_ptr<fw::TStream> source;
    try {
        source = Open(h.fileName, fw::fmOpenRead | fw::fmShareDenyNone);
    } catch (const fw::Exception&) {
        throw EQnfdCompress(fw::Format("Cannot open the file %s", {h.fileName}));
    }
    const int64_t headerPos = archive.Position();
    h.WriteToStream(archive);
    h.dataStart = ArchivePosition(archive, compressedFile_);
    stats_.FileName = h.fileName;
    stats_.OriginalSize = h.originalSize;
    stats_.CompressedSize = 0;
    stats_.BytesDone = 0;
    stats_.FilePercent = 0;
    stats_.Finished = false;
    stats_.Header = h;
    if (OnBeforeAdding) OnBeforeAdding(this, stats_);

    int64_t counted = 0;
    auto status = [&] {
        CheckAbort();
        Pump();
        const int64_t done = source->Position();
        stats_.BytesDone = static_cast<int32_t>(done);
        stats_.TotalBytesDone += static_cast<int32_t>(done - counted);
        counted = done;
        stats_.CompressedSize = static_cast<int32_t>(archive.Size() - h.dataStart);
        stats_.FilePercent = Percent(stats_.BytesDone, stats_.OriginalSize);
        stats_.TotalPercent = Percent(stats_.TotalBytesDone, stats_.TotalOriginalSize);
        FireStatus();
    };
    int64_t read = 0;
    {
        TCompressionStream z(level_, archive);
        z.OnProgress = status;
        std::vector<uint8_t> buffer(kCompressReadBlock);
        for (;;) {
            const int64_t n = source->Read(buffer.data(), kCompressReadBlock);
            if (n <= 0) break;
            read += n;
            if (read > INT32_MAX) throw EQnfdCompress(fw::Format("The file %s is too large for the archive", {h.fileName}));
            z.Write(buffer.data(), n);
        }
        z.Finish();
    }
    const int32_t end = ArchivePosition(archive, compressedFile_);
    const int32_t compressed = end - h.dataStart;
    // The bytes read are the truth, should the file have changed since its header was made.
    h.originalSize = static_cast<int32_t>(read);
    stats_.OriginalSize = h.originalSize;
    stats_.Ratio = Percent(compressed, h.originalSize);
    stats_.Finished = true;
    status();
    stats_.TotalCompressedSize += compressed;
    h.lastDataByte = end - 1;
    h.nextHeader = end;
    h.compressedSize = compressed;
    h.uniqueId = uniqueId;
    if (uniqueId >= 0 && uniqueId < kMaxUniqueIds) ids_[static_cast<size_t>(uniqueId)] = index;
    archive.SetPosition(headerPos);
    h.WriteToStream(archive);
    archive.SetPosition(end);
    stats_.Header = h;
    if (OnAfterAdding) OnAfterAdding(this, stats_);
}

}  // namespace inst
