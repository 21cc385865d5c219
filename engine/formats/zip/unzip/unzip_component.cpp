#include "engine/formats/zip/unzip/unzip_component.h"

#include <array>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/unzip/unzip_entry.h"
#include "engine/formats/open/archive_detection.h"
#include "engine/formats/common/file_source.h"
#include "framework/core/rtti.h"

namespace engine {

TUnZIP::TUnZIP(fw::TComponent* owner) : TUnBase(owner) {}

void TUnZIP::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnZIP::ProcessArchive()
{
    BuildFileName("");
    FileCount = 0;
    password_.clear();
    ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
    if (ArchiveFile().empty())
        RaiseError(ArchiveFile(), "", "0", 25243);
    if (!IsZipArcType(ArcType()))
        RaiseError(ArchiveFile(), "", "0", 25242);
    const fw::FileHandle archive = OpenArchiveRead(ArchiveFile());
    if (archive == fw::kInvalidFile)
        RaiseError(ArchiveFile(), "", "0", 25235);

    bool activated = false;
    try {
        const int64_t size = OpenFileSize(archive);
        FileReadSource source(archive, size > 0 ? uint64_t(size) : 0);
        ArchiveSize = size > 0 ? size : 0;
        // An archive found inside an executable through its string table counts its offsets from
        // its own start.
        const uint64_t embedded =
            (SfxZipOffset > 0 && int64_t{SfxZipOffset} == ArcStartPos - 1) ? uint64_t{SfxZipOffset} : 0;
        const zip::DirectoryLocation loc = zip::LocateDirectory(source, embedded);
        if (!loc.end)
            RaiseError(ArchiveFile(), "", "0", 25108);

        if (OnActivate)
            OnActivate(this);
        activated = true;
        Cancel(this, false);
        const bool single = !HasWildcards(FileSpec());
        StartStopwatch();

        if (loc.kind == zip::DirectoryLocation::Kind::Central) {
            const uint64_t base = embedded + loc.offsetBias;
            zip::CentralDirectoryWalker walker(source, loc.position);
            zip::CentralEntry entry;
            while (!Aborted() && walker.Next(entry) == zip::WalkStep::Entry) {
                TrimAtNul(entry.name);
                const uint32_t attr = entry.header.externalAttr;
                if (attr & (zip::kAttrDirectory | zip::kAttrVolume))
                    continue;
                if (entry.name.empty())
                    break;
                if (!Selected(entry.name))
                    continue;
                std::array<uint8_t, zip::LocalHeader::kSize> raw{};
                const uint64_t localPos = base + entry.header.localHeaderOffset;
                std::optional<zip::LocalHeader> local;
                if (source.ReadExact(localPos, raw))
                    local = zip::LocalHeader::Parse(raw, true);
                if (source.Failed())
                    break;  // the archive cannot be read any more
                if (!local) {
                    BuildFileName(entry.name);
                    ReportError(FileName.empty() ? OemToAnsiPath(entry.name) : FileName, "", "0", 25248);
                } else if (HandleEntry(archive, localPos, *local, entry) == EntryOutcome::EndRun) {
                    break;
                }
                if (single)
                    break;
            }
        }
    } catch (...) {
        if (activated) {
            StopStopwatch();
            CloseFile(archive);
            if (OnDeactivate)
                OnDeactivate(this);
        } else {
            CloseFile(archive);
        }
        throw;
    }
    StopStopwatch();
    CloseFile(archive);
    if (OnDeactivate)
        OnDeactivate(this);
}

TUnZIP::EntryOutcome TUnZIP::HandleEntry(fw::FileHandle archive, uint64_t localPos, const zip::LocalHeader& local,
                                         zip::CentralEntry& entry)
{
    zip::CentralHeader& central = entry.header;
    if (!BeginEntry(entry.name, DosDateToDateTime(local.DosDateTime()))) {
        // Declined (or a name that may not be written): no OnEnd.
        CurrentRun().crc32 = ~central.crc;
        return EntryOutcome::Next;
    }
    const uint64_t dataPos = localPos + local.DataOffset();
    const bool encrypted = (local.flags & zip::kFlagEncrypted) != 0;
    Encrypted = encrypted;
    CurrentRun().crc32 = 0xFFFFFFFFu;

    if (encrypted) {
        std::array<uint8_t, mx::codec::ZipCrypto::kHeaderSize> header{};
        const bool haveHeader = fw::Fs().Seek(archive, int64_t(dataPos), fw::SeekOrigin::Begin) == int64_t(dataPos) &&
                                fw::Fs().Read(archive, header.data(), int64_t(header.size())) == int64_t(header.size());
        std::string fitting;
        const auto tryPassword = [&](const std::string& password) {
            if (!haveHeader || !Keys.CheckPassword(header, central.flags, password, central.time, central.crc))
                return false;
            fitting = password;
            return true;
        };
        const PasswordResult found = FindPassword(password_, tryPassword);
        if (found != PasswordResult::Found) {
            if (found == PasswordResult::EndRun)
                password_.clear();
            EndEntry(false, false, central.DosDateTime(), central.externalAttr);
            return found == PasswordResult::EndRun ? EntryOutcome::EndRun : EntryOutcome::Next;
        }
        password_ = fitting;
    }

    bool decoded = false;
    bool withinSize = true;
    try {
        OpenEntryOutput();
        decoded = true;
        const int64_t start = int64_t(dataPos + (encrypted ? mx::codec::ZipCrypto::kHeaderSize : 0));
        if (fw::Fs().Seek(archive, start, fw::SeekOrigin::Begin) != start)
            RaiseError(FileName, "", "0", 25109);
        withinSize = zip::UnzipEntry(*this, archive, central, FileName, encrypted);
    } catch (...) {
        // Reported through OnError already; the entry has failed and the walk goes on.
    }
    // Data that runs past the declared size was cut there: the entry fails its check (OnEnd with
    // CRC_PASS False, or 25151) whatever the CRC of the bytes kept.
    const bool crcPass = decoded && withinSize && ~CurrentRun().crc32 == entry.header.crc;
    try {
        EndEntry(decoded, crcPass, central.DosDateTime(), central.externalAttr);
    } catch (const E_RAISE&) {
    }
    return EntryOutcome::Next;
}

void RegisterUnZipClasses()
{
    RegisterClasses();
    fw::Class<TUnZIP, TUnBase>("TUnZIP");
}

}  // namespace engine
