#include "engine/formats/zip/unzip/unzip_entry.h"

#include <algorithm>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/codec/explode.h"
#include "engine/codec/inflate.h"
#include "engine/codec/unreduce.h"
#include "engine/codec/unshrink.h"
#include "engine/core/e_raise.h"
#include "engine/core/run_context.h"

namespace engine::zip {

namespace {

using mx::codec::Status;

// Reads of a block or more pass the archive's read-ahead by.
constexpr int64_t kBlock = 65536;

// The entry's compressed bytes from the archive, deciphered when the entry is encrypted. Counting
// them drives the progress reports; a cancel ends the input.
class EntrySource final : public mx::codec::ByteSource {
public:
    EntrySource(TUnBase& component, ReadAtSource& archive, uint64_t pos, bool encrypted)
        : component_(component), archive_(archive), pos_(pos), encrypted_(encrypted), buffer_(kBlock)
    {
    }

    Status Read(std::span<const uint8_t>& block) noexcept override
    {
        if (component_.Aborted()) {
            component_.BytesLeft = 0;
            cancelled_ = true;
            return Status::Cancelled;
        }
        if (component_.BytesLeft <= 0)
            return Status::End;
        const int64_t want = std::min(component_.BytesLeft, kBlock);
        const int64_t got = int64_t(archive_.ReadAt(pos_, std::span<uint8_t>(buffer_.data(), size_t(want))));
        if (got <= 0) {
            component_.BytesLeft = 0;
            return Status::End;
        }
        pos_ += uint64_t(got);
        if (encrypted_)
            component_.Keys.Decrypt(std::span<uint8_t>(buffer_.data(), size_t(got)));
        try {
            component_.CountInputBytes(got);
        } catch (...) {
            // A progress handler's failure must not cross the codec.
        }
        block = std::span<const uint8_t>(buffer_.data(), size_t(got));
        return Status::Ok;
    }

    bool Cancelled() const { return cancelled_; }

private:
    TUnBase& component_;
    ReadAtSource& archive_;
    uint64_t pos_;
    bool encrypted_;
    std::vector<uint8_t> buffer_;
    bool cancelled_ = false;
};

// The run's output sink with the CRC-32 kept over everything it is handed.
class EntrySink final : public mx::codec::ByteSink {
public:
    Status Write(std::span<const uint8_t> block) noexcept override
    {
        RunContext& run = CurrentRun();
        mx::codec::UpdateCrc32(block, run.crc32);
        int64_t count = static_cast<int64_t>(block.size());
        written_ += uint64_t(block.size());
        bool ok = true;
        try {
            ok = run.sink ? run.sink->Write(block.data(), count) : true;
        } catch (...) {
            ok = false;
        }
        if (!ok) {
            failed_ = true;
            return Status::OutputFull;
        }
        return Status::Ok;
    }
    bool Failed() const { return failed_; }
    uint64_t Written() const { return written_; }

private:
    bool failed_ = false;
    uint64_t written_ = 0;
};

// The report for a failed decoder other than inflate.
int MessageOf(Status status, const EntrySink& sink)
{
    if (sink.Failed())
        return 25136;
    switch (status) {
    case Status::NoMemory:
        return 25253;
    default:
        return 25109;
    }
}

}  // namespace

bool UnzipEntry(TUnBase& component, fw::FileHandle archive, ReadAtSource& archiveSource, uint64_t dataPos,
                CentralHeader& central, const std::string& fileName, bool encrypted, mx::codec::Inflater& inflater)
{
    RunContext& run = CurrentRun();
    run.crc32 = 0xFFFFFFFFu;
    if (encrypted)
        central.compressedSize = central.compressedSize >= 12 ? central.compressedSize - 12 : 0;
    component.BeginEntryProgress(central.compressedSize);
    component.Encrypted = encrypted;

    EntrySource source(component, archiveSource, dataPos, encrypted);
    EntrySink sink;
    const uint64_t outSize = central.uncompressedSize;
    Status status = Status::Ok;
    switch (central.method) {
    case 0: {
        // Stored data holds exactly as many bytes as the entry declares; more is damage, cut there.
        if (fw::Fs().Seek(archive, int64_t(dataPos), fw::SeekOrigin::Begin) != int64_t(dataPos))
            component.RaiseError(fileName, "", "0", 25109);
        const int64_t copied =
            component.CopyStored(archive, int64_t(std::min<uint64_t>(central.compressedSize, outSize)), 32);
        return central.compressedSize == outSize && uint64_t(copied) == outSize;
    }
    case 1:
        status = mx::codec::Unshrink(source, sink, outSize);
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        status = mx::codec::Unreduce(source, sink, central.method, outSize);
        break;
    case 6:
        status = mx::codec::Explode(source, sink, central.flags, outSize);
        break;
    case 8: {
        // The declared size bounds the output: a small entry that inflates to gigabytes stops
        // there instead of filling the disk before its CRC check fails.
        const mx::codec::InflateResult result = inflater.Run(source, sink, outSize);
        if (result.status == Status::OutputFull && !sink.Failed())
            return false;
        if (result.status != Status::Ok) {
            const int code = static_cast<int>(result.Message());
            try {
                component.RaiseError(fileName, "", "0", code ? code : 25109);
            } catch (const E_RAISE&) {
                // Inflate's failures end only the decoding; the CRC judges the entry.
            }
        } else if (!source.Cancelled()) {
            TZipCommon::RaiseProgress(&component, 100);
        }
        return sink.Written() == outSize;
    }
    default:
        component.RaiseError(fileName, "", "0", 25301);
    }
    if (status != Status::Ok)
        component.RaiseError(fileName, "", "0", MessageOf(status, sink));
    TZipCommon::RaiseProgress(&component, 100);
    return sink.Written() == outSize;
}

}  // namespace engine::zip
