#include "engine/formats/arj/unarj/unarj_component.h"

#include <algorithm>

#include "engine/codec/arj_method4.h"
#include "engine/codec/lzh_decoder.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/arj/arj_header.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/lzh/entry_io.h"
#include "engine/formats/open/archive_detection.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

constexpr uint64_t kScanLimit = 25000;

// Hosts whose file mode holds DOS attributes (DOS, OS/2, Windows).
uint32_t AttributesOf(const arj::ArjHeader& h)
{
    const bool dos = h.host == 0 || h.host == 5 || h.host == 10 || h.host == 11;
    return dos ? h.fileMode : 0x20;
}

}  // namespace

TUnARJ::TUnARJ(fw::TComponent* owner) : TUnBase(owner) {}

TUnARJ::~TUnARJ() { CloseVolume(); }

void TUnARJ::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

bool TUnARJ::OpenVolume(const std::string& path)
{
    CloseVolume();
    archive_ = OpenArchiveRead(path);
    if (archive_ == fw::kInvalidFile)
        return false;
    const int64_t size = OpenFileSize(archive_);
    source_ = std::make_unique<FileReadSource>(archive_, size > 0 ? uint64_t(size) : 0);
    volumePath_ = path;
    return true;
}

void TUnARJ::CloseVolume()
{
    source_.reset();
    if (archive_ != fw::kInvalidFile)
        CloseFile(archive_);
    archive_ = fw::kInvalidFile;
}

std::string TUnARJ::ReportVolumeID() const { return std::to_string(std::max(0, Volumes.VolumeNumber - 1)); }

void TUnARJ::ProcessArchive()
{
    GarblePassword.clear();
    FileCount = 0;
    Encrypted = false;
    if (ArchiveFile().empty())
        RaiseError(ArchiveFile(), "", "0", 25243);
    // A missing archive is asked for below, as any volume of the set is; another type is refused.
    const bool arjType = ArcType() == TArcType::atArj || ArcType() == TArcType::atArjExe;
    if (!arjType && !(ArcType() == TArcType::atFileOpenErr && !FileExistsFind(ArchiveFile())))
        RaiseError(ArchiveFile(), "", "0", 25242);
    // One named entry of a set: it lives in the volume the lister named.
    std::string path = ArchiveFile();
    if (!HasWildcards(FileSpec()) && !VolumeID.empty())
        path = ExtractFilePath(path) + VolumeID;
    ParseVolumeExt(path);
    if (!FileExistsFind(path) && !FindVolume(path, ReportVolumeID()))
        return;  // not found: the run ends
    // Only the archive itself may lie behind a self-extractor.
    const uint64_t start = path == ArchiveFile() && ArcStartPos > 1 ? uint64_t(ArcStartPos - 1) : 0;
    if (!OpenVolume(path))
        RaiseError(path, "", ReportVolumeID(), 25235);
    try {
        StartRun(true);
        try {
            Walk(start);
        } catch (...) {
            FinishRun();
            throw;
        }
        FinishRun();
    } catch (...) {
        CloseVolume();
        throw;
    }
    CloseVolume();
}

void TUnARJ::Walk(uint64_t start)
{
    const uint64_t size = source_->Size();
    uint64_t limit = kScanLimit;
    if (size - std::min(size, start) <= kScanLimit + 2)
        limit = size;
    arj::ArjHeader main;
    if (!arj::FindMainHeader(*source_, start, limit, main))
        RaiseError(volumePath_, "", ReportVolumeID(), 25242);
    uint64_t pos = main.dataPos;
    while (!Aborted()) {
        ProcessMessages();
        if (Aborted())
            break;
        arj::ArjHeader h;
        const arj::HeaderStep step = arj::ReadHeader(*source_, pos, h);
        if (step == arj::HeaderStep::End)
            break;
        if (step == arj::HeaderStep::Damaged)
            RaiseError(volumePath_, "", ReportVolumeID(), 25108);
        if (!h.crcOk)
            RaiseError(volumePath_, "", ReportVolumeID(), 25237);
        CurrentRun().crc32 = 0xFFFFFFFFu;
        const std::string before = volumePath_;
        const Outcome outcome = h.fileType == arj::kFolder ? Outcome::Next : HandleEntry(h);
        if (outcome == Outcome::EndRun || (outcome == Outcome::Extracted && SingleEntrySpec()))
            break;
        // HandleEntry leaves H at the entry's last part, in the volume that holds it.
        if (volumePath_ == before && h.nextPos <= pos)
            RaiseError(volumePath_, "", ReportVolumeID(), 25108);
        pos = h.nextPos;
    }
}

bool TUnARJ::SettlePassword()
{
    if (!OnGetPassword) {
        Cancel(this, true);
        return false;
    }
    for (int round = 0; round < 3 && GarblePassword.empty(); ++round) {
        bool tryAgain = true;
        std::string password;
        OnGetPassword(this, FileName, password, tryAgain);
        if (!tryAgain) {
            Cancel(this, true);
            return false;
        }
        GarblePassword = password;
    }
    return !GarblePassword.empty();
}

TUnARJ::Outcome TUnARJ::HandleEntry(arj::ArjHeader& h)
{
    const std::string& name = h.name;
    if (!Selected(name))
        return Outcome::Next;
    // An entry this extractor cannot write is reported and passed over; the entries after it still
    // come out.
    if (h.minVersion > 3) {
        ReportError(OemToAnsiPath(name), "", ReportVolumeID(), 25402);
        return Outcome::Next;
    }
    if (h.method > 4 || (h.method == 4 && h.version == 1)) {
        ReportError(OemToAnsiPath(name), "", ReportVolumeID(), 25301);
        return Outcome::Next;
    }
    if (h.fileType != arj::kBinary && h.fileType != arj::kText) {
        ReportError(OemToAnsiPath(name), "", ReportVolumeID(), 25302);
        return Outcome::Next;
    }
    const bool garbled = (h.flags & arj::kFlagGarbled) != 0;
    Encrypted = garbled;
    const TDateTime date = h.UnixTime() ? UnixToDateTimeNow(h.dosTime) : DosDateToDateTime(h.dosTime);
    if (!BeginEntry(name, date))
        return Outcome::Next;
    const uint32_t dosTime = h.UnixTime() ? DateTimeToDosDate(date) : h.dosTime;
    const uint32_t attributes = AttributesOf(h);
    bool decoded = false;
    try {
        OpenEntryOutput();
        GarbleIndex = 1;
        if (!garbled || SettlePassword()) {
            decoded = true;
            if (garbled)
                GarblePassword = ShiftText(false, GarblePassword, h.modifier);
            try {
                DecodePart(h, garbled);
                while ((h.flags & arj::kFlagVolume) && !Aborted()) {
                    // This part is checked on its own; only a failure is reported.
                    if (~CurrentRun().crc32 != h.crc) {
                        if (OnEnd)
                            OnEnd(this, volumePath_, false);
                        else
                            ReportError(volumePath_, "", ReportVolumeID(), 25151);
                    }
                    const uint8_t modifier = h.modifier;
                    if (!NextVolume(h))
                        break;
                    CurrentRun().crc32 = 0xFFFFFFFFu;
                    GarbleIndex = 1;
                    if (garbled)
                        GarblePassword = ShiftText(false, ShiftText(true, GarblePassword, modifier), h.modifier);
                    DecodePart(h, garbled);
                }
            } catch (...) {
                if (garbled)
                    GarblePassword = ShiftText(true, GarblePassword, h.modifier);
                throw;
            }
            if (garbled)
                GarblePassword = ShiftText(true, GarblePassword, h.modifier);
        }
    } catch (const E_RAISE&) {
        // Reported through OnError already; the CRC report judges the entry.
    }
    const bool pass = decoded && ~CurrentRun().crc32 == h.crc;
    try {
        EndEntry(decoded, pass, dosTime, attributes);
    } catch (const E_RAISE&) {
    }
    if (garbled && decoded && !pass)
        RaiseError(FileName, "", ReportVolumeID(), 26517);
    if (garbled && !decoded)
        return Outcome::EndRun;
    return Outcome::Extracted;
}

void TUnARJ::DecodePart(const arj::ArjHeader& h, bool garbled)
{
    if (fw::Fs().Seek(archive_, int64_t(h.dataPos), fw::SeekOrigin::Begin) != int64_t(h.dataPos))
        RaiseError(volumePath_, "", ReportVolumeID(), 25291);
    BeginEntryProgress(h.packedSize);
    if (h.method == 0) {
        CopyStored(archive_, std::min<int64_t>(h.packedSize, h.size), 32);
        return;
    }
    EntryInput input(*this, archive_, garbled ? EntryCipher::ArjGarble : EntryCipher::None);
    EntryOutput output(32);
    const mx::codec::Status status = h.method == 4 ? mx::codec::ArjMethod4Decode(input, output, h.size)
                                                   : mx::codec::LzhDecode(input, output, mx::codec::kLzhArj, h.size);
    if (const int report = DecodeReport(status, output))
        RaiseError(report == 25120 ? volumePath_ : FileName, "", ReportVolumeID(), report);
}

bool TUnARJ::NextVolume(arj::ArjHeader& part)
{
    std::string next = NextVolumePath(ArchiveFile());
    const int number = Volumes.VolumeNumber - 1;
    if (next.empty() || number > 999)
        RaiseError(next, "", std::to_string(number), 25250);
    if (!FindVolume(next, std::to_string(number)))
        return false;
    if (!OpenVolume(next)) {
        OpenVolume(ArchiveFile());
        RaiseError(next, "", std::to_string(number), 25235);
    }
    arj::ArjHeader main;
    if (arj::ReadHeader(*source_, 0, main) != arj::HeaderStep::Entry)
        RaiseError(next, "", std::to_string(number), 25242);
    if (arj::ReadHeader(*source_, main.dataPos, part) != arj::HeaderStep::Entry || !part.crcOk)
        RaiseError(next, "", std::to_string(number), 25108);
    return true;
}

void RegisterUnArjClasses()
{
    RegisterClasses();
    fw::Class<TUnARJ, TUnBase>("TUnARJ");
}

}  // namespace engine
