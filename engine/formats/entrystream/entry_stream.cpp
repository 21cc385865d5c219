#include "engine/formats/entrystream/entry_stream.h"

#include <algorithm>
#include <span>
#include <vector>

#include "engine/codec/crc16.h"
#include "engine/codec/crc32.h"
#include "engine/core/file_routines.h"
#include "engine/core/run_context.h"
#include "engine/formats/common/file_source.h"

namespace engine {

ByteInput ArchiveInput(TAwkMain& component, fw::FileHandle archive, uint64_t size, size_t blockSize)
{
    component.BeginEntryProgress(static_cast<int64_t>(size));
    return ByteInput(
        [&component, archive](uint8_t* buffer, size_t count) -> size_t {
            if (component.Aborted())
                return 0;
            const int64_t got = fw::Fs().Read(archive, buffer, static_cast<int64_t>(count));
            if (got <= 0)
                return 0;
            component.CountInputBytes(got);
            return static_cast<size_t>(got);
        },
        size, blockSize);
}

ByteOutput DecoderOutput(CrcKind crc, size_t blockSize)
{
    return ByteOutput(
        [crc](const uint8_t* data, size_t count) {
            RunContext& run = CurrentRun();
            int64_t taken = static_cast<int64_t>(count);
            const bool ok = run.sink ? run.sink->Write(data, taken) : true;
            const std::span<const uint8_t> plain(data, static_cast<size_t>(taken));
            if (crc == CrcKind::Crc16)
                mx::codec::UpdateCrc16(plain, run.crc16);
            else if (crc == CrcKind::Crc32)
                mx::codec::UpdateCrc32(plain, run.crc32);
            return ok;
        },
        blockSize);
}

uint64_t CopyToOutput(TAwkMain& component, ReadAtSource& archive, uint64_t pos, uint64_t size, CrcKind crc,
                      bool& refused)
{
    refused = false;
    component.BeginEntryProgress(static_cast<int64_t>(size));
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(size, 65536)));
    uint64_t done = 0;
    while (done < size && !component.Aborted()) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(size - done, buffer.size()));
        const size_t got = archive.ReadAt(pos + done, std::span<uint8_t>(buffer.data(), want));
        if (got == 0)
            break;
        component.CountInputBytes(static_cast<int64_t>(got));
        RunContext& run = CurrentRun();
        int64_t taken = static_cast<int64_t>(got);
        const bool ok = run.sink ? run.sink->Write(buffer.data(), taken) : true;
        const std::span<const uint8_t> plain(buffer.data(), static_cast<size_t>(taken));
        if (crc == CrcKind::Crc16)
            mx::codec::UpdateCrc16(plain, run.crc16);
        else if (crc == CrcKind::Crc32)
            mx::codec::UpdateCrc32(plain, run.crc32);
        done += static_cast<uint64_t>(taken);
        if (!ok) {
            refused = true;
            break;
        }
    }
    return done;
}

bool SeekTo(fw::FileHandle archive, int64_t offset)
{
    return offset >= 0 && fw::Fs().Seek(archive, offset, fw::SeekOrigin::Begin) == offset;
}

bool ReadExact(fw::FileHandle archive, void* buffer, int64_t count)
{
    return count == 0 || fw::Fs().Read(archive, buffer, count) == count;
}

}  // namespace engine

namespace engine {

void RunArchiveWalk(TUnBase& component, bool canHandle,
                    const std::function<void(fw::FileHandle archive, int64_t size)>& prepare,
                    const std::function<void(fw::FileHandle archive, int64_t size)>& walk)
{
    component.FileCount = 0;
    component.ProgressStep = static_cast<uint8_t>(ProgressStepOf(component.ProgressNotify()));
    if (component.ArchiveFile().empty())
        component.RaiseError(component.ArchiveFile(), "", "0", 25243);
    if (!canHandle)
        component.RaiseError(component.ArchiveFile(), "", "0", 25242);
    const fw::FileHandle archive = OpenArchiveRead(component.ArchiveFile());
    if (archive == fw::kInvalidFile)
        component.RaiseError(component.ArchiveFile(), "", "0", 25235);
    bool started = false;
    try {
        const int64_t size = OpenFileSize(archive);
        component.ArchiveSize = size > 0 ? size : 0;
        if (prepare)
            prepare(archive, component.ArchiveSize);
        component.StartRun(true);
        started = true;
        walk(archive, component.ArchiveSize);
    } catch (...) {
        RunContext& run = CurrentRun();
        if (run.outputFile != fw::kInvalidFile) {
            CloseFile(run.outputFile);
            run.outputFile = fw::kInvalidFile;
        }
        CloseFile(archive);
        if (started)
            component.FinishRun();
        throw;
    }
    CloseFile(archive);
    component.FinishRun();
}

}  // namespace engine
