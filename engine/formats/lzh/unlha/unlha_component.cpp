#include "engine/formats/lzh/unlha/unlha_component.h"

#include "engine/codec/lzh_decoder.h"
#include "engine/codec/lzhuf.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/lzh/entry_io.h"
#include "engine/formats/lzh/lha_header.h"
#include "engine/formats/open/archive_detection.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

bool IsLhaType(TArcType t)
{
    return t == TArcType::atLha || t == TArcType::atLhaExe || t == TArcType::atLzh || t == TArcType::atLzhExe;
}

// The entry's time as a local DOS stamp (level 2 stores Unix time).
uint32_t DosStampOf(const lha::LhaEntry& e)
{
    if (!e.UnixTime())
        return e.stamp;
    return DateTimeToDosDate(UnixToDateTimeNow(e.stamp));
}

}  // namespace

TUnLHA::TUnLHA(fw::TComponent* owner) : TUnBase(owner) {}

void TUnLHA::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnLHA::ProcessArchive()
{
    Encrypted = false;
    FileCount = 0;
    ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
    if (ArchiveFile().empty())
        RaiseError(ArchiveFile(), "", "0", 25243);
    if (!IsLhaType(ArcType()))
        RaiseError(ArchiveFile(), "", "0", 25242);
    const fw::FileHandle archive = OpenArchiveRead(ArchiveFile());
    if (archive == fw::kInvalidFile)
        RaiseError(ArchiveFile(), "", "0", 25235);

    bool activated = false;
    try {
        const int64_t size = OpenFileSize(archive);
        FileReadSource source(archive, size > 0 ? uint64_t(size) : 0);
        ArchiveSize = size > 0 ? size : 0;
        uint64_t pos = lha::FirstHeaderPos(source, ArcStartPos > 1 ? uint64_t(ArcStartPos - 1) : 0);
        StartRun(true);
        activated = true;
        while (!Aborted()) {
            ProcessMessages();
            if (Aborted())
                break;
            lha::LhaEntry entry;
            const lha::HeaderStep step = lha::ReadHeader(source, pos, entry);
            if (step == lha::HeaderStep::End)
                break;
            if (step == lha::HeaderStep::Damaged || entry.nextPos <= pos) {
                ReportError(ArchiveFile(), lha::DamagePlace(pos), "0", 25108);
                break;
            }
            if (!entry.IsFolder() && Selected(entry.name)) {
                HandleEntry(archive, entry);
                if (SingleEntrySpec())
                    break;
            }
            if (entry.nextPos > uint64_t(ArchiveSize))
                break;  // the data is cut short: nothing can follow
            pos = entry.nextPos;
        }
    } catch (...) {
        if (activated) {
            FinishRun();
        }
        CloseFile(archive);
        throw;
    }
    StopStopwatch();
    CloseFile(archive);
    if (OnDeactivate)
        OnDeactivate(this);
}

void TUnLHA::HandleEntry(fw::FileHandle archive, const lha::LhaEntry& entry)
{
    const uint32_t dosStamp = DosStampOf(entry);
    const TDateTime date = entry.UnixTime() ? UnixToDateTimeNow(entry.stamp) : DosDateToDateTime(entry.stamp);
    if (!BeginEntry(entry.name, date))
        return;
    bool decoded = false;
    try {
        OpenEntryOutput();
        decoded = Decode(archive, entry);
    } catch (...) {
        // Reported through OnError already; the CRC report judges the entry.
    }
    const bool crcPass = decoded && CurrentRun().crc16 == entry.crc;
    try {
        EndEntry(decoded, crcPass, dosStamp, entry.attr);
    } catch (const E_RAISE&) {
    }
}

bool TUnLHA::Decode(fw::FileHandle archive, const lha::LhaEntry& entry)
{
    CurrentRun().crc16 = 0;
    const std::string& m = entry.method;
    const char letter = entry.MethodLetter();
    const bool lh = m.compare(0, 3, "-lh") == 0;
    const bool stored = (lh && letter == '0') || m == "-lz4-";
    const bool known = stored || (lh && (letter == '1' || letter == '4' || letter == '5' || letter == '6'));
    if (!known)
        RaiseError(FileName, "", "0", 25301);
    if (fw::Fs().Seek(archive, int64_t(entry.dataPos), fw::SeekOrigin::Begin) != int64_t(entry.dataPos))
        RaiseError(ArchiveFile(), "", "0", 25291);
    BeginEntryProgress(int64_t(entry.packedSize));
    if (stored) {
        // More stored bytes than the entry's size is damage: only the declared size is written.
        const int64_t count = int64_t(std::min<uint64_t>(entry.packedSize, entry.size));
        CopyStored(archive, count, 16);
        return entry.packedSize == entry.size;
    }
    EntryInput input(*this, archive, EntryCipher::None);
    EntryOutput output(16);
    mx::codec::Status status;
    if (letter == '1')
        status = mx::codec::LzhufDecode(input, output, entry.size);
    else
        status = mx::codec::LzhDecode(input, output,
                                      letter == '4'   ? mx::codec::kLzhLh4
                                      : letter == '5' ? mx::codec::kLzhLh5
                                                      : mx::codec::kLzhLh6,
                                      entry.size);
    if (const int report = DecodeReport(status, output))
        RaiseError(report == 25120 ? ArchiveFile() : FileName, "", "0", report);
    return true;
}

void RegisterUnLhaClasses()
{
    RegisterClasses();
    fw::Class<TUnLHA, TUnBase>("TUnLHA");
}

}  // namespace engine
