#include "engine/formats/zip/unzip/unzip_component.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <vector>

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

namespace {

// The local-header positions of every entry of a directory, read once an entry's size is seen to lie.
class LocalHeaderStarts {
public:
    LocalHeaderStarts(ReadAtSource& source, const zip::DirectoryLocation& loc, uint64_t base)
        : source_(source), loc_(loc), base_(base)
    {
    }

    // The first local header after Pos, or UINT64_MAX.
    uint64_t After(uint64_t pos)
    {
        if (!read_) {
            read_ = true;
            zip::CentralDirectoryWalker walker(source_, loc_.position, loc_.end->position);
            zip::CentralEntry e;
            while (walker.Next(e) == zip::WalkStep::Entry)
                starts_.push_back(base_ + e.header.localHeaderOffset);
            std::sort(starts_.begin(), starts_.end());
        }
        const auto next = std::upper_bound(starts_.begin(), starts_.end(), pos);
        return next == starts_.end() ? UINT64_MAX : *next;
    }

private:
    ReadAtSource& source_;
    const zip::DirectoryLocation& loc_;
    uint64_t base_;
    bool read_ = false;
    std::vector<uint64_t> starts_;
};

}  // namespace

TUnZIP::TUnZIP(fw::TComponent* owner) : TUnBase(owner) {}

void TUnZIP::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnZIP::ProcessArchive()
{
    utf8Name_ = false;
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
        StartStopwatch();

        if (loc.kind == zip::DirectoryLocation::Kind::Central) {
            // One decoder for all the run's entries: its tables and window are set up once.
            mx::codec::Inflater inflater;
            WalkCentralDirectory(archive, source, embedded + loc.offsetBias, loc, inflater);
        }
        else if (loc.end->record.totalEntries != 0)
            ReportError(ArchiveFile(), "", "0", 25108);  // entries are counted but no directory is there
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

std::string TUnZIP::StoredNameToAnsi(const std::string& name) const
{
    return utf8Name_ ? Utf8ToAnsiPath(name) : OemToAnsiPath(name);
}

void TUnZIP::WalkCentralDirectory(fw::FileHandle archive, FileReadSource& source, uint64_t base,
                                  const zip::DirectoryLocation& loc, mx::codec::Inflater& inflater)
{
    // The directory lies before its end record: a record that runs into the end record is damaged.
    zip::CentralDirectoryWalker walker(source, loc.position, loc.end->position);
    // The local headers and data are read through a read-ahead of their own, so that the walk over
    // the directory and the reads of the entries do not take each other's place.
    FileReadSource entries(archive, source.Size());
    const bool single = !HasWildcards(FileSpec());
    // Where each entry's local header and data lie; an entry that reuses bytes another entry already
    // claimed is refused, so a small archive cannot expand the same data over and over.
    std::map<uint64_t, uint64_t> claimed;
    LocalHeaderStarts starts(source, loc, base);
    zip::CentralEntry entry;
    uint32_t records = 0;
    zip::WalkStep step = zip::WalkStep::End;
    while (!Aborted() && (step = walker.Next(entry)) == zip::WalkStep::Entry) {
        // Pending messages run between entries too: entries without data report no progress, and an
        // archive of many of them must not freeze the window or the cancel.
        ProcessMessages();
        if (Aborted())
            break;
        ++records;
        TrimAtNul(entry.name);
        utf8Name_ = (entry.header.flags & zip::kFlagUtf8) != 0;
        const uint32_t attr = entry.header.externalAttr;
        if (attr & (zip::kAttrDirectory | zip::kAttrVolume))
            continue;
        if (entry.name.empty())
            return;
        if (!Selected(entry.name))
            continue;
        std::array<uint8_t, zip::LocalHeader::kSize> raw{};
        const uint64_t localPos = base + entry.header.localHeaderOffset;
        std::optional<zip::LocalHeader> local;
        if (entries.ReadExact(localPos, raw))
            local = zip::LocalHeader::Parse(raw, true);
        if (source.Failed() || entries.Failed())
            return;  // the archive cannot be read any more
        uint64_t dataEnd = local ? localPos + local->DataOffset() + entry.header.compressedSize : 0;
        // Entry data lies before the directory (or, behind it, before the end of the file). A size
        // that runs past that is a lie: the entry can only fail, and it claims and reads no more than
        // the bytes up to the next entry's header, so that it cannot take the entries after it.
        const uint64_t limit = localPos < loc.position ? std::min<uint64_t>(loc.position, source.Size())
                                                       : source.Size();
        if (local && dataEnd > limit) {
            const uint64_t dataPos = std::min(localPos + local->DataOffset(), limit);
            dataEnd = std::max(dataPos, std::min(limit, starts.After(localPos)));
            entry.header.compressedSize = uint32_t(dataEnd - dataPos);
        }
        if (!local || !Claim(claimed, localPos, dataEnd)) {
            BuildFileName(entry.name);
            ReportError(FileName.empty() ? StoredNameToAnsi(entry.name) : FileName, "", "0", 25248);
        } else if (HandleEntry(archive, entries, localPos, *local, entry, inflater) == EntryOutcome::EndRun) {
            return;
        }
        if (single)
            return;
    }
    // The walk stopped by itself: at a record that runs past the directory, or before the number of
    // records the end record states (a count of 65535 may stand for more and is not checked).
    const uint16_t declared = loc.end->record.totalEntries;
    if (!Aborted() && (step == zip::WalkStep::Truncated || (declared != 0xFFFF && records < declared)))
        ReportError(ArchiveFile(), "", "0", 25108);
}

bool TUnZIP::Claim(std::map<uint64_t, uint64_t>& claimed, uint64_t start, uint64_t end)
{
    // The first claimed range that ends after Start must begin at or after End.
    auto next = claimed.upper_bound(start);
    if (next != claimed.begin()) {
        auto prev = std::prev(next);
        if (prev->second > start)
            return false;
    }
    if (next != claimed.end() && next->first < end)
        return false;
    claimed.emplace(start, end);
    return true;
}

TUnZIP::EntryOutcome TUnZIP::HandleEntry(fw::FileHandle archive, FileReadSource& entries, uint64_t localPos,
                                         const zip::LocalHeader& local, zip::CentralEntry& entry,
                                         mx::codec::Inflater& inflater)
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
        const bool haveHeader = entries.ReadExact(dataPos, header);
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
    bool sizeMatches = true;
    try {
        OpenEntryOutput();
        decoded = true;
        const uint64_t start = dataPos + (encrypted ? mx::codec::ZipCrypto::kHeaderSize : 0);
        sizeMatches = zip::UnzipEntry(*this, archive, entries, start, central, FileName, encrypted, inflater);
    } catch (...) {
        // Reported through OnError already; the entry has failed and the walk goes on.
    }
    // Data that decodes to more or fewer bytes than the entry declares fails its check (OnEnd with
    // CRC_PASS False, or 25151) whatever the CRC of the bytes written.
    const bool crcPass = decoded && sizeMatches && ~CurrentRun().crc32 == entry.header.crc;
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
