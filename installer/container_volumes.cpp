// Splitting an archive into volumes (layout 1): the headers go first on volume 1, the data follows and
// runs on into volume 2, 3 ... whenever a disk is full.
#include <algorithm>
#include <vector>

#include "framework/core/format.h"
#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "installer/container.h"
#include "installer/exceptions.h"

namespace inst {

namespace {
constexpr int kSplitBlock = 8192;
}  // namespace

void TQnfdCompress::CopyToVolumes(const std::string& destDir, const std::string& volumeName) {
    abort_ = false;
    std::unique_ptr<fw::TStream> source, dest;
    Guarded([&] {
        EnsureHeaders();
        currentVolume_ = 1;
        headers_.SetLayoutFlag(1);
        headers_.InitTotals(stats_);
        headers_.SumTotals(stats_);
        stats_.TotalBytesDone = 0;
        // The source is only read: it may be a running self-extracting program.
        try {
            source = Open(compressedFile_, fw::fmOpenRead | fw::fmShareDenyWrite);
        } catch (const fw::Exception&) {
            throw EQnfdCompress(fw::Format("Cannot open the compressed file %s", {compressedFile_}));
        }
        std::string dir = destDir;
        const std::string first = fw::IncludeTrailingBackslash(destDir) + fw::ExtractFileName(volumeName);
        try {
            dest = Open(first, fw::fmCreate);
        } catch (const fw::Exception&) {
            throw EQnfdCompress(fw::Format("Cannot create the file %s", {first}));
        }
        headers_.WriteToStream(*dest);
        for (int i = 0; i < headers_.Count(); ++i)
            CopyEntryToVolumes(*source, headers_.FileHeaders(i), dest, dir, volumeName);
        dest.reset();
        std::string name = first;
        OpenVolume(dest, 1, fw::fmOpenReadWrite | fw::fmShareDenyWrite, name);
        headers_.WriteToStream(*dest);
    });
    // The headers in memory now describe the volumes, not CompressedFile.
    headersLoaded_ = false;
}

void TQnfdCompress::CopyEntryToVolumes(fw::TStream& source, TFileHeader& header, std::unique_ptr<fw::TStream>& dest,
                                       std::string& destDir, const std::string& volumeName) {
    stats_.Header = header;
    stats_.FileName = header.fileName;
    stats_.OriginalSize = header.originalSize;
    stats_.CompressedSize = header.compressedSize;
    stats_.BytesDone = 0;
    stats_.FilePercent = 0;
    stats_.Finished = false;
    source.SetPosition(offset_ + header.dataStart);
    const int64_t end = offset_ + static_cast<int64_t>(header.lastDataByte);
    header.dataStart = static_cast<int32_t>(dest->Position());
    header.startVolume = static_cast<uint8_t>(currentVolume_);
    std::vector<uint8_t> block(kSplitBlock);
    for (;;) {
        CheckAbort();
        const int64_t pos = source.Position();
        if (pos > end) break;
        const int64_t n = source.Read(block.data(), std::min<int64_t>(kSplitBlock, end - pos + 1));
        if (n <= 0) throw EQnfdCompress(fw::Format("The archive entry %s is damaged", {header.fileName}));
        fw::HostSeam().PumpMessages();
        const int64_t written = std::max<int64_t>(dest->Write(block.data(), n), 0);
        if (written < n) {
            dest.reset();
            ++currentVolume_;
            if (!OnNewDisk)
                throw EQnfdCompress(
                    "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
            OnNewDisk(this, currentVolume_, destDir);
            const std::string path =
                fw::IncludeTrailingBackslash(destDir) + fw::ExtractFileName(VolumeName(volumeName, currentVolume_));
            try {
                dest = Open(path, fw::fmCreate);
            } catch (const fw::Exception&) {
                throw EQnfdCompress(fw::Format("Cannot create the file %s", {path}));
            }
            if (dest->Write(block.data() + written, n - written) < n - written)
                throw EQnfdCompress("There is too little space on this disk to operate");
        }
        stats_.BytesDone += static_cast<int32_t>(n);
        stats_.TotalBytesDone += static_cast<int32_t>(n);
        stats_.FilePercent = Percent(stats_.BytesDone, header.compressedSize);
        stats_.TotalPercent = Percent(stats_.TotalBytesDone, stats_.TotalCompressedSize);
        FireStatus();
    }
    header.lastDataByte = static_cast<int32_t>(dest->Position() - 1);
    header.endVolume = static_cast<uint8_t>(currentVolume_);
}

}  // namespace inst
