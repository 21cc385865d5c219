#include "engine/formats/gzip/gzip_component.h"

#include <array>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/codec/inflate.h"
#include "engine/core/e_raise.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/entrystream/entry_stream.h"
#include "engine/formats/gzip/unix_compress.h"
#include "engine/formats/open/archive_detection.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

// Deflate input from the archive, counting progress over the whole file.
class ArchiveBlockSource final : public mx::codec::ByteSource {
public:
    ArchiveBlockSource(TAwkMain& component, fw::FileHandle archive) : component_(component), archive_(archive) {}
    mx::codec::Status Read(std::span<const uint8_t>& block) noexcept override
    {
        if (component_.Aborted())
            return mx::codec::Status::Cancelled;
        const int64_t got = fw::Fs().Read(archive_, buffer_.data(), int64_t(buffer_.size()));
        if (got <= 0)
            return mx::codec::Status::End;
        component_.CountInputBytes(got);
        block = std::span<const uint8_t>(buffer_.data(), size_t(got));
        return mx::codec::Status::Ok;
    }

private:
    TAwkMain& component_;
    fw::FileHandle archive_;
    std::array<uint8_t, 32768> buffer_{};
};

// Inflated bytes into the run's output sink, with the CRC-32 of the current member.
class EntrySink final : public mx::codec::ByteSink {
public:
    mx::codec::Status Write(std::span<const uint8_t> block) noexcept override
    {
        RunContext& run = CurrentRun();
        int64_t taken = int64_t(block.size());
        const bool ok = run.sink ? run.sink->Write(block.data(), taken) : true;
        mx::codec::UpdateCrc32(block.first(size_t(taken)), crc);
        return ok ? mx::codec::Status::Ok : mx::codec::Status::OutputFull;
    }
    uint32_t crc = 0xFFFFFFFFu;
};

}  // namespace

TUnGZIP::TUnGZIP(fw::TComponent* owner) : TUnBase(owner) {}

void TUnGZIP::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnGZIP::ProcessArchive()
{
    RunArchiveWalk(
        *this, ArcType() == TArcType::atGZip,
        [this](fw::FileHandle archive, int64_t size) {
            FileReadSource source(archive, uint64_t(size));
            if (!gz::ReadHeader(source, 0, header_))
                RaiseError(ArchiveFile(), "", "0", 25238);
        },
        [this](fw::FileHandle archive, int64_t size) { Walk(archive, size); });
}

void TUnGZIP::Walk(fw::FileHandle archive, int64_t size)
{
    // A stored name counts by its name part only: gzip keeps no folders.
    const std::string name = header_.hasName && !ExtractFileName(header_.name).empty()
                                 ? ExtractFileName(ToBackslashes(header_.name))
                                 : gz::NameFromArchive(ArchiveFile());
    const int64_t age = FileAge(ArchiveFile());
    const uint32_t ownStamp = age > 0 ? uint32_t(age) : 0;
    const bool stored = header_.IsGzip() && header_.mtime != 0;
    const TDateTime date = stored ? UnixToDateTimeNow(header_.mtime) : engine::DosDateToDateTime(ownStamp);
    const uint32_t stamp = stored ? DateTimeToDosDate(date) : ownStamp;
    if (!BeginEntry(name, date))
        return;
    BeginEntryProgress(size);
    bool decoded = false, pass = false;
    try {
        if (header_.IsGzip()) {
            if (header_.flags & gz::kFlagEncrypted)
                RaiseError(ArchiveFile(), "", "0", 25290);
            if (header_.method != 8)
                RaiseError(ArchiveFile(), "", "0", 25301);
            OpenEntryOutput();
            decoded = true;
            pass = DecodeMembers(archive, size, header_);
        } else if (header_.magic == gz::kCompress) {
            OpenEntryOutput();
            decoded = true;
            pass = DecodeCompress(archive, size);
        } else {
            ReportError(ArchiveFile(), "", "0", 25301);
        }
    } catch (const E_RAISE&) {
        // Reported already; the entry fails below.
    }
    EndEntry(decoded, pass, stamp, 0);
}

bool TUnGZIP::DecodeMembers(fw::FileHandle archive, int64_t size, const gz::Header& first)
{
    FileReadSource source(archive, uint64_t(size));
    gz::Header h = first;
    bool allPass = true;
    for (;;) {
        if (!SeekTo(archive, int64_t(h.dataPos)))
            RaiseError(FileName, "", "0", 25236);
        ArchiveBlockSource in(*this, archive);
        EntrySink out;
        const mx::codec::InflateResult r = mx::codec::Inflate(in, out);
        if (r.status != mx::codec::Status::Ok) {
            if (r.status == mx::codec::Status::OutputFull)
                RaiseError(FileName, "", "0", 25136);
            ReportError(FileName, "", "0", int(r.Message()));
            return false;
        }
        const uint64_t trailerPos = h.dataPos + r.inputUsed;
        std::array<uint8_t, 8> trailer{};
        if (!source.ReadExact(trailerPos, trailer))
            return false;
        allPass = allPass && ~out.crc == Le32(trailer.data()) && uint32_t(r.outputSize) == Le32(trailer.data() + 4);
        // Another member may follow; anything else after the trailer (zero padding) is passed over.
        const uint64_t next = trailerPos + 8;
        std::array<uint8_t, 2> magic{};
        if (!source.ReadExact(next, magic) || Le16(magic.data()) != gz::kGzip || !gz::ReadHeader(source, next, h) ||
            Aborted())
            break;
        if (h.method != 8 || (h.flags & gz::kFlagEncrypted))
            return false;
    }
    return allPass && !Aborted();
}

bool TUnGZIP::DecodeCompress(fw::FileHandle archive, int64_t size)
{
    if (!SeekTo(archive, 0))
        RaiseError(FileName, "", "0", 25236);
    ByteInput in = ArchiveInput(*this, archive, uint64_t(size));
    // A .Z file has no check value to compare: no CRC is kept.
    ByteOutput out = DecoderOutput(CrcKind::None, 65536);
    const CompressResult r = UnixDecompress(in, out);
    if (out.Failed())
        RaiseError(FileName, "", "0", 25136);
    return r == CompressResult::Ok && !Aborted();
}

void RegisterUnGzipClasses()
{
    RegisterClasses();
    fw::Class<TUnGZIP, TUnBase>("TUnGZIP");
}

}  // namespace engine
