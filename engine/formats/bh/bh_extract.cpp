#include "engine/formats/bh/bh_extract.h"

#include <array>
#include <vector>

#include "engine/codec/lzh_decoder.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/bh/bh_header.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/entrystream/entry_stream.h"
#include "engine/formats/lzh/entry_io.h"
#include "engine/formats/open/archive_detection.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

// The entry's compressed bytes, deciphered with the component's keys when it is encrypted.
class DecryptingInput final : public mx::codec::ByteSource {
public:
    DecryptingInput(TUnBase& component, fw::FileHandle archive, bool encrypted)
        : component_(component), archive_(archive), encrypted_(encrypted), buffer_(32768)
    {
    }
    mx::codec::Status Read(std::span<const uint8_t>& block) noexcept override
    {
        if (component_.Aborted())
            return mx::codec::Status::Cancelled;
        if (component_.BytesLeft <= 0)
            return mx::codec::Status::End;
        const int64_t want = std::min<int64_t>(component_.BytesLeft, int64_t(buffer_.size()));
        const int64_t got = fw::Fs().Read(archive_, buffer_.data(), want);
        if (got <= 0) {
            component_.BytesLeft = 0;
            return mx::codec::Status::End;
        }
        if (encrypted_)
            component_.Keys.Decrypt(std::span(buffer_.data(), size_t(got)));
        try {
            component_.CountInputBytes(got);
        } catch (...) {
            return mx::codec::Status::Cancelled;
        }
        block = std::span<const uint8_t>(buffer_.data(), size_t(got));
        return mx::codec::Status::Ok;
    }

private:
    TUnBase& component_;
    fw::FileHandle archive_;
    bool encrypted_;
    std::vector<uint8_t> buffer_;
};

}  // namespace

TUnBH::TUnBH(fw::TComponent* owner) : TUnBase(owner) {}

void TUnBH::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnBH::ProcessArchive()
{
    password_.clear();
    const bool bh = ArcType() == TArcType::atBh || ArcType() == TArcType::atBhExe;
    RunArchiveWalk(*this, bh, nullptr, [this](fw::FileHandle archive, int64_t size) { Walk(archive, size); });
}

void TUnBH::Walk(fw::FileHandle archive, int64_t size)
{
    FileReadSource source(archive, uint64_t(size));
    uint64_t pos = ArcStartPos > 1 ? uint64_t(ArcStartPos - 1) : 0;
    bh::Header h;
    while (!Aborted()) {
        ProcessMessages();
        const bh::Read read = bh::ReadHeader(source, pos, h);
        if (read == bh::Read::End)
            break;
        if (read == bh::Read::SkipRecord) {
            pos += bh::kHeaderSize;
            continue;
        }
        if (read == bh::Read::Broken)
            RaiseError(ArchiveFile(), "", "0", 25108);
        const uint64_t next = h.DataPos() + h.packedSize;
        if (!Selected(h.name)) {
            pos = next;
            continue;
        }
        if (!BeginEntry(h.name, DosDateToDateTime(h.dosStamp))) {
            if (SingleEntrySpec())
                break;
            pos = next;
            continue;
        }
        Encrypted = h.Encrypted();
        bool decoded = false;
        if (Encrypted) {
            std::array<uint8_t, mx::codec::ZipCrypto::kHeaderSize> header{};
            const bool have = source.ReadExact(h.DataPos(), header);
            std::string fitting;
            const auto tryPassword = [&](const std::string& password) {
                if (!have || !Keys.CheckPassword(header, h.flags & bh::kFlagTimeCheck, password,
                                                 uint16_t(h.dosStamp & 0xFFFF), h.crc))
                    return false;
                fitting = password;
                return true;
            };
            const PasswordResult found = FindPassword(password_, tryPassword);
            if (found == PasswordResult::EndRun) {
                EndEntry(false, false, h.dosStamp, h.attr);
                break;
            }
            if (found == PasswordResult::NotFound) {
                ReportError(FileName, "OnGetPassword", "0", 25270);
                break;
            }
            password_ = fitting;
        }
        try {
            if (h.method > bh::kMethodFused)
                RaiseError(FileName, "", "0", 25301);
            OpenEntryOutput();
            const int64_t packed = int64_t(h.packedSize) - (Encrypted ? 12 : 0);
            if (Encrypted)
                Keys.InitKeys(password_);
            if (!SeekTo(archive, int64_t(h.DataPos()) + (Encrypted ? 12 : 0)))
                RaiseError(ArchiveFile(), "", "0", 25291);
            BeginEntryProgress(packed);
            decoded = true;
            if (h.method == bh::kMethodStored) {
                CopyStored(archive, packed, 32);
            } else {
                DecryptingInput in(*this, archive, Encrypted);
                EntryOutput out(32);
                const mx::codec::Status status = mx::codec::LzhDecode(in, out, mx::codec::kLzhZoo, h.unpackedSize);
                if (const int report = DecodeReport(status, out); report == 25136 || report == 25253)
                    RaiseError(FileName, "", "0", report);
            }
        } catch (const E_RAISE&) {
            // Reported already; the CRC report fails the entry.
        }
        EndEntry(decoded, decoded && CurrentRun().crc32 == h.crc, h.dosStamp, h.attr);
        if (SingleEntrySpec())
            break;
        pos = next;
    }
}

void RegisterUnBhClasses()
{
    RegisterClasses();
    fw::Class<TUnBH, TUnBase>("TUnBH");
}

}  // namespace engine
