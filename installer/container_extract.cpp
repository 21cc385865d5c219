// Reading the archive container: volumes, extraction with the overwrite rules, and plain copies.
#include <algorithm>
#include <vector>

#include "framework/core/format.h"
#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "installer/container.h"
#include "installer/exceptions.h"
#include "installer/strutils.h"

namespace inst {

namespace {

constexpr int kInputBlock = 65536;
constexpr int kOutputBlock = 4096;
constexpr int kCopyBlock = 8192;

void Pump() { fw::HostSeam().PumpMessages(); }

std::string Target(const std::string& dir, const std::string& name) {
    return fw::IncludeTrailingBackslash(dir) + fw::ExtractFileName(name);
}

}  // namespace

void TQnfdCompress::OpenVolume(std::unique_ptr<fw::TStream>& stream, int volume, uint32_t mode, std::string& name) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        stream.reset();
        if (headers_.LayoutFlag() == 1) name = VolumeName(name, volume);
        if (!fw::FileExists(name)) {
            if (!OnNewDisk) throw EQnfdCompress(fw::Format("Could not open the correct disk file %d", {volume}));
            std::string path = fw::ExcludeTrailingBackslash(fw::ExtractFilePath(name));
            OnNewDisk(this, volume, path);
            name = fw::IncludeTrailingBackslash(path) + fw::ExtractFileName(name);
        }
        if (fw::FileExists(name)) {
            try {
                stream = Open(name, mode);
            } catch (const fw::Exception&) {
                throw EQnfdCompress(fw::Format("Cannot open the compressed file %s", {name}));
            }
            return;
        }
    }
    throw EQnfdCompress(fw::Format("Cannot open the compressed file %s", {name}));
}

void TQnfdCompress::ExtractAll() {
    abort_ = false;
    mode_ = Mode::Extracting;
    Guarded([&] {
        EnsureHeaders();
        currentVolume_ = 0;
        headers_.InitTotals(stats_);
        headers_.SumTotals(stats_);
        std::vector<std::string> lines;
        for (int i = 0; i < filesToProcess_.Count(); ++i) lines.push_back(filesToProcess_.Get(i));
        for (const std::string& line : lines) {
            const int index = headers_.IndexOfName(Field(line, 1, ";"));
            if (index < 0)
                throw EQnfdCompress(
                    fw::Format("The file <%s> was not found in the archive <%s>", {line, compressedFile_}));
            const TFileHeader header = headers_.FileHeaders(index);
            stats_.FileName = header.fileName;
            stats_.OriginalSize = header.originalSize;
            stats_.CompressedSize = header.compressedSize;
            stats_.Ratio = Percent(header.compressedSize, header.originalSize);
            stats_.Header = header;
            stats_.BytesDone = 0;
            stats_.FilePercent = 0;
            stats_.Finished = false;
            try {
                if (fw::Trim(extractFileAs_).empty()) extractFileAs_ = fw::ExtractFileName(header.fileName);
                if (OnBeforeExtracting) OnBeforeExtracting(this, stats_);
                std::string target = Target(extractDirectory_, extractFileAs_);
                bool extract = true;
                if (fw::FileExists(target)) {
                    switch (IsFileNewer(header.fileVersion, target, overwrite_, header.fileDate)) {
                        case kCannotCompare:
                            throw EQnfdCompress("Error comparing file versions in TQnfdCompress");
                        case kSourceNewer:
                            if (OnReplace) OnReplace(this, stats_);
                            target = Target(extractDirectory_, extractFileAs_);
                            break;
                        default:
                            extract = false;
                    }
                }
                if (extract) {
                    ExtractEntry(header, target);
                } else {
                    stats_.Finished = true;
                    FireStatus();
                }
            } catch (...) {
                extractFileAs_.clear();
                throw;
            }
            extractFileAs_.clear();
        }
        filesToProcess_.Clear();
    });
    volume_.reset();
}

void TQnfdCompress::ExtractEntry(const TFileHeader& header, const std::string& target) {
    if (header.dataStart < 0 || header.originalSize < 0 || header.lastDataByte < 0)
        throw EQnfdCompress(fw::Format("The archive entry %s is damaged", {header.fileName}));
    const int startVolume = header.startVolume == 0 ? 1 : header.startVolume;
    std::string name = compressedFile_;
    OpenVolume(volume_, startVolume, fw::fmOpenRead | fw::fmShareDenyWrite, name);
    compressedFile_ = name;
    currentVolume_ = startVolume;
    fw::ForceDirectories(fw::ExtractFileDir(target));
    std::unique_ptr<fw::TStream> out;
    try {
        out = Open(target, fw::fmCreate);
    } catch (const fw::Exception&) {
        throw EQnfdCompress(fw::Format("Cannot create the file %s", {target}));
    }
    // A file that did not come out whole is removed, never left looking finished.
    try {
        volume_->SetPosition((startVolume <= 1 ? offset_ : 0) + header.dataStart);
        InflateEntry(header, *out);
        stats_.Finished = true;
        FireStatus();
        if (out->Size() != header.originalSize)
            throw EQnfdCompress(fw::Format(
                "The decompressed file's size does not match with the actual size of the file.  The file is %s",
                {header.fileName}));
        out.reset();
    } catch (...) {
        out.reset();
        fw::DeleteFile(target);
        throw;
    }
    const int32_t date = HeaderDosDate(header.fileDate);
    if (date == 0 || fw::FileSetDate(target, date) != 0)
        throw EQnfdCompress("Cannot set the date of the file just extracted.");
}

void TQnfdCompress::InflateEntry(const TFileHeader& header, fw::TStream& target) {
    const int endVolume = std::max<int>(1, header.endVolume);
    int volume = currentVolume_;
    Inflater z;
    std::vector<uint8_t> in(kInputBlock);
    std::vector<uint8_t> out(kOutputBlock);
    z.SetOutput(out.data(), out.size());
    int64_t produced = 0;
    bool inputDone = false;
    auto flush = [&] {
        const size_t have = out.size() - z.AvailOut();
        if (have == 0) return;
        // More output than the header promised is damage: stop before writing it.
        if (produced + static_cast<int64_t>(have) > header.originalSize)
            throw EQnfdCompress(fw::Format(
                "The decompressed file's size does not match with the actual size of the file.  The file is %s",
                {header.fileName}));
        WriteExtracted(target, out.data(), have);
        produced += static_cast<int64_t>(have);
        z.SetOutput(out.data(), out.size());
    };
    for (;;) {
        if (z.AvailIn() == 0 && !inputDone) {
            // In the end volume nothing past the entry's last byte is read.
            const int64_t pos = volume_->Position();
            int64_t want = kInputBlock;
            if (volume == endVolume) {
                const int64_t last = (volume <= 1 ? offset_ : 0) + header.lastDataByte;
                want = pos > last ? 0 : std::min<int64_t>(want, last - pos + 1);
            }
            const int64_t n = want > 0 ? volume_->Read(in.data(), want) : 0;
            if (n > 0) {
                z.SetInput(in.data(), static_cast<size_t>(n));
            } else if (volume < endVolume) {
                ++volume;
                std::string name = compressedFile_;
                OpenVolume(volume_, volume, fw::fmOpenRead | fw::fmShareDenyWrite, name);
                compressedFile_ = name;
                currentVolume_ = volume;
                volume_->SetPosition(0);
                continue;
            } else {
                inputDone = true;
            }
        }
        const int code = z.Step();
        if (code == kZStreamEnd) break;
        if (code == kZBufError) {
            // No progress: either the output block is full, or the input ran out at a block or
            // volume boundary (read on), or there is no more input (the size check reports it).
            if (z.AvailOut() == 0) {
                flush();
                continue;
            }
            if (z.AvailIn() == 0 && !inputDone) continue;
            if (inputDone) break;
            DCheck(code);
        }
        if (code == kZNeedDict) DCheck(-3);
        DCheck(code);
        if (z.AvailOut() == 0) flush();
    }
    flush();
}

void TQnfdCompress::WriteExtracted(fw::TStream& target, const uint8_t* data, size_t count) {
    CheckAbort();
    Pump();
    const int64_t written = target.Write(data, static_cast<int64_t>(count));
    if (written < static_cast<int64_t>(count)) {
        if (!OnFullDisk) throw EqcDiskFull("The disk is full");
        OnFullDisk(this);
    }
    stats_.BytesDone += static_cast<int32_t>(written);
    stats_.TotalBytesDone += static_cast<int32_t>(written);
    stats_.FilePercent = Percent(stats_.BytesDone, stats_.OriginalSize);
    stats_.TotalPercent = Percent(stats_.TotalBytesDone, stats_.TotalOriginalSize);
    FireStatus();
}

void TQnfdCompress::CopyFile(const std::string& source, const std::string& dest) {
    abort_ = false;
    offset_ = 0;
    extractDirectory_ = fw::ExtractFileDir(dest);
    extractFileAs_ = fw::ExtractFileName(dest);
    std::string target = dest;
    TlzhFileStats stats;
    stats.FileName = source;
    if (fw::FileExists(target)) {
        switch (IsFileNewerByName(source, target, overwrite_)) {
            case kCannotCompare:
                throw EQnfdCompress("Error comparing file versions in TQnfdCompress");
            case kSourceNewer:
                if (OnReplace) OnReplace(this, stats);
                target = Target(extractDirectory_, extractFileAs_);
                break;
            default:
                return;
        }
    }
    std::unique_ptr<fw::TStream> in, out;
    try {
        in = Open(source, fw::fmOpenRead | fw::fmShareDenyNone);
    } catch (const fw::Exception&) {
        throw EQnfdCompress(fw::Format("Cannot open the file %s", {source}));
    }
    try {
        out = Open(target, fw::fmCreate);
    } catch (const fw::Exception&) {
        throw EQnfdCompress(fw::Format("Cannot create the file %s", {target}));
    }
    const int64_t size = in->Size();
    stats.OriginalSize = static_cast<int32_t>(std::min<int64_t>(size, INT32_MAX));
    stats.TotalOriginalSize = stats.OriginalSize;
    std::vector<uint8_t> block(kCopyBlock);
    try {
        for (;;) {
            if (abort_) {
                // Stopped by the user: no error, but no half copy either.
                out.reset();
                fw::DeleteFile(target);
                return;
            }
            const int64_t n = ReadFully(*in, block.data(), kCopyBlock);
            const int64_t written = n > 0 ? out->Write(block.data(), n) : 0;
            if (written < n) {
                if (!OnFullDisk) throw EqcDiskFull("The disk is full");
                OnFullDisk(this);
            }
            stats.BytesDone += static_cast<int32_t>(std::max<int64_t>(n, 0));
            stats.TotalBytesDone = stats.BytesDone;
            stats.FilePercent = Percent(stats.BytesDone, size);
            stats.TotalPercent = stats.FilePercent;
            if (OnStatus) OnStatus(this, stats);
            if (n < kCopyBlock) break;
        }
        out.reset();
    } catch (...) {
        out.reset();
        fw::DeleteFile(target);
        throw;
    }
    in.reset();
    const int32_t date = fw::FileAge(source);
    if (date != -1) fw::FileSetDate(target, date);
    stats.Finished = true;
    if (OnStatus) OnStatus(this, stats);
}

}  // namespace inst
