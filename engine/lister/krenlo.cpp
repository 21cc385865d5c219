#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

#include <algorithm>
#include <cstdint>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/core/wildcard.h"
#include "engine/formats/methods/method_names.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/local_walker.h"
#include "engine/formats/open/archive_detection.h"
#include "engine/lister/list_walks.h"
#include "engine/formats/common/file_source.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

// Deflate variant of an entry from its flag bits 1 and 2.
uint8_t DeflateOptionOf(uint16_t flags)
{
    const bool b1 = (flags & zip::kFlagOption1) != 0, b2 = (flags & zip::kFlagOption2) != 0;
    return b1 && b2 ? 6 : b2 ? 4 : b1 ? 2 : 0;
}

bool IsListedType(TArcType t) { return t >= TArcType::atArc && t <= TArcType::atZoo; }

// Turns a failed read of the archive into the run's fatal report.
void CheckRead(TKrenlo& self, const FileReadSource& source)
{
    if (source.Failed())
        self.RaiseError(self.ArchiveFile(), "", "0", 25236);
}

}  // namespace

TKrenlo::TKrenlo(fw::TComponent* owner) : TZipCommon(owner)
{
    SetFileSpec("*.*");
    SetZipCmntBufSize(2000);
}

void TKrenlo::SetArcType(TArcType value) { TZipCommon::SetArcType(DetectArchive(*this, value)); }

void TKrenlo::ReportEntry(int64_t offset, int filenum)
{
    if (OnReadBegin)
        OnReadBegin(this);
    if (OnRead)
        OnRead(this, offset, filenum);
    if (OnReadEnd)
        OnReadEnd(this);
}

namespace {

// Sizes come from archive headers: a damaged one may hold a negative or huge number, which must not
// wrap the totals.
void AddSize(int64_t& total, int64_t size)
{
    if (size > 0 && __builtin_add_overflow(total, size, &total))
        total = INT64_MAX;
}

}  // namespace

void TKrenlo::AddTotals(int64_t packed, int64_t unpacked)
{
    AddSize(TotalPackedSize, packed);
    AddSize(TotalUnpackedSize, unpacked);
}

void TKrenlo::SetEntryName(const std::string& name, bool utf8)
{
    std::string cut = name;
    TrimAtNul(cut);
    FileName = utf8 ? Utf8ToAnsiPath(cut) : OemToAnsiPath(cut);
    FileComment.clear();
}

void TKrenlo::ClearEntryFields()
{
    FileCount = 0;
    TotalPackedSize = TotalUnpackedSize = 0;
    CRC = 0;
    Ratio = 0;
    Date = kDosEpoch;
    PackedSize = UnpackedSize = 0;
    MethodName.clear();
    FileName.clear();
    FileComment.clear();
    RunPacked = RunUnpacked = 0;
    HeaderPos = ArcStartPos;
    EndPos = ArchiveSize;
}

bool TKrenlo::Activate()
{
    RunScope scope(*this, OutputMode::Test);
    if (!scope.Started())
        return false;
    if (ArchiveFile().empty())
        return false;
    bool result = false;
    try {
        RequireEvent(OnRead, "OnRead");
        if (ArcType() == TArcType::atNA || ArcType() == TArcType::atUnknown)
            RaiseError(ArchiveFile(), "", "0", 25302);
        if (ArcType() == TArcType::atFileOpenErr)
            RaiseError(ArchiveFile(), "", "0", 25238);
        result = true;
        VolumeName.clear();
        VolumeID.clear();

        const fw::FileHandle handle = OpenArchiveRead(ArchiveFile());
        if (handle == fw::kInvalidFile)
            RaiseError(ArchiveFile(), "", "0", 25236);
        try {
            const int64_t size = OpenFileSize(handle);
            if (size < 0)
                RaiseError(ArchiveFile(), "", "0", 25236);
            ArchiveSize = size;
            FileReadSource source(handle, static_cast<uint64_t>(size));
            if (OnActivate)
                OnActivate(this);
            ArchiveComment.clear();
            LocalWalk = false;
            ClearEntryFields();
            StartStopwatch();
            try {
                if (IsZipArcType(ArcType()))
                    ListZip(source);
                else if (ListOlderFormat(*this, source) || ListMoreFormats(*this, source)) {
                } else if (IsListedType(ArcType()))
                    ReportError(ArchiveFile(), "", "0", 25242);  // this format's headers are not read yet
                CheckRead(*this, source);
            } catch (...) {
                Stopwatch().Stop();
                TotalRatio = CalcRatio(TotalPackedSize, TotalUnpackedSize);
                if (OnTotals)
                    OnTotals(this, FileCount);
                ArchiveComment.clear();
                throw;
            }
            Stopwatch().Stop();
            TotalRatio = CalcRatio(TotalPackedSize, TotalUnpackedSize);
            if (OnTotals)
                OnTotals(this, FileCount);
            ArchiveComment.clear();
        } catch (...) {
            NextPos = HeaderPos = EndPos = HeaderLen = 0;
            if (OnDeactivate)
                OnDeactivate(this);
            if (!CloseFile(handle))
                ReportError(ArchiveFile(), "", "0", 25137);
            if (OnElapsedTime)
                OnElapsedTime(this, Stopwatch().Elapsed());
            throw;
        }
        NextPos = HeaderPos = EndPos = HeaderLen = 0;
        if (OnDeactivate)
            OnDeactivate(this);
        if (!CloseFile(handle))
            ReportError(ArchiveFile(), "", "0", 25137);
        if (OnElapsedTime)
            OnElapsedTime(this, Stopwatch().Elapsed());
    } catch (...) {
        // Reported through OnError already.
        result = false;
    }
    return result;
}

void TKrenlo::ListZip(ReadAtSource& source)
{
    // An archive found inside an executable through its string table counts its offsets from its
    // own start.
    const uint64_t embedded =
        (SfxZipOffset > 0 && int64_t{SfxZipOffset} == ArcStartPos - 1) ? uint64_t{SfxZipOffset} : 0;
    const uint64_t localStart = ArcStartPos > 1 ? static_cast<uint64_t>(ArcStartPos - 1) : 0;
    const zip::DirectoryLocation loc = zip::LocateDirectory(source, embedded, localStart);
    if (!loc.chainValid)
        ReportError(ArchiveFile(), "", "0", 25238);
    if (loc.end)
        ArchiveComment = loc.archiveComment;
    HeaderLen = loc.kind == zip::DirectoryLocation::Kind::Local ? 30 : 46;
    bool any = false;
    if (loc.kind == zip::DirectoryLocation::Kind::Central)
        any = ListZipCentral(source, loc.position);
    else if (loc.kind == zip::DirectoryLocation::Kind::Local)
        any = ListZipLocal(source, loc.position);
    if (!any && !Aborted())
        ReportError(ArchiveFile(), "", "0", 25108);
}

bool TKrenlo::ListZipCentral(ReadAtSource& source, uint64_t start)
{
    zip::CentralDirectoryWalker walker(source, start);
    zip::CentralEntry e;
    bool any = false;
    while (!Aborted()) {
        ProcessMessages();
        if (Aborted())
            break;
        HeaderPos = static_cast<int64_t>(walker.Position()) + 1;
        if (walker.Next(e) != zip::WalkStep::Entry)
            break;
        NextPos = static_cast<int64_t>(walker.Position());
        any = true;
        const zip::CentralHeader& h = e.header;
        SetEntryName(e.name, (h.flags & zip::kFlagUtf8) != 0);
        if (OnReadFile)
            OnReadFile(this, FileName);
        FileComment = e.comment;
        DeflateOption = 0;

        const bool folder = h.IsDirectory();
        bool report = false;
        if (folder && showBlankDirs_) {
            report = true;
        } else if (WildcardMatch(FileSpec(), FileName, true)) {
            ++FileCount;
            AddTotals(h.compressedSize, h.uncompressedSize);
            report = true;
        }
        if (report) {
            Date = DosDateToDateTime(h.DosDateTime());
            VersionMadeBy = h.versionMadeBy;
            VersionNeeded = h.versionNeeded;
            PackedSize = h.compressedSize;
            UnpackedSize = h.uncompressedSize;
            CRC = h.crc;
            Encrypted = (h.flags & zip::kFlagEncrypted) != 0;
            MethodNum = h.method;
            MethodName = MethodNameOf(ArcType(), h.method, folder, h.flags);
            InternalAttr = h.internalAttr;
            ExternalAttr = h.externalAttr;
            DeflateOption = DeflateOptionOf(h.flags);
            Ratio = CalcRatio(PackedSize, UnpackedSize);
            ReportEntry(h.localHeaderOffset, FileCount);
        }
        FileComment.clear();
    }
    return any;
}

bool TKrenlo::ListZipLocal(ReadAtSource& source, uint64_t start)
{
    LocalWalk = true;
    zip::LocalHeaderWalker walker(source, start);
    zip::LocalEntry e;
    bool any = false;
    while (!Aborted()) {
        ProcessMessages();
        if (Aborted())
            break;
        HeaderPos = static_cast<int64_t>(walker.Position()) + 1;
        if (walker.Next(e) != zip::WalkStep::Entry)
            break;
        NextPos = static_cast<int64_t>(walker.Position());
        any = true;
        const zip::LocalHeader& h = e.header;
        SetEntryName(e.name, (h.flags & zip::kFlagUtf8) != 0);
        if (OnReadFile)
            OnReadFile(this, FileName);
        DeflateOption = 0;
        if (!WildcardMatch(FileSpec(), FileName, true))
            continue;
        ++FileCount;
        AddTotals(h.compressedSize, h.uncompressedSize);
        Date = DosDateToDateTime(h.DosDateTime());
        VersionMadeBy = VersionNeeded = h.versionNeeded;
        PackedSize = h.compressedSize;
        UnpackedSize = h.uncompressedSize;
        CRC = h.crc;
        Encrypted = (h.flags & zip::kFlagEncrypted) != 0;
        MethodNum = h.method;
        MethodName = MethodNameOf(ArcType(), h.method, false, h.flags);
        InternalAttr = 0;
        ExternalAttr = 0;
        DeflateOption = DeflateOptionOf(h.flags);
        Ratio = CalcRatio(PackedSize, UnpackedSize);
        ReportEntry(static_cast<int64_t>(e.position), FileCount);
    }
    return any;
}

void RegisterListerClasses()
{
    RegisterClasses();
    using K = TKrenlo;
    fw::Class<TKrenlo, TZipCommon>("TKrenlo")
        .Prop("ArcType", &K::ArcType, &K::SetArcType)
        .Prop("FileSpec", &K::FileSpec, &K::SetFileSpec)
        .Prop("ZipCmntBufSize", &K::ZipCmntBufSize, &K::SetZipCmntBufSize)
        .Prop("ShowBlankDirs", &K::ShowBlankDirs, &K::SetShowBlankDirs)
        .Event("OnActivate", static_cast<TNotifyEvent K::*>(&TZipCommon::OnActivate))
        .Event("OnDeactivate", static_cast<TNotifyEvent K::*>(&TZipCommon::OnDeactivate))
        .Event("OnNextVolume", static_cast<TOnNextVolume K::*>(&TZipCommon::OnNextVolume))
        .Event("OnRead", static_cast<TOnRead K::*>(&TZipCommon::OnRead))
        .Event("OnReadFile", &K::OnReadFile)
        .Event("OnReadBegin", &K::OnReadBegin)
        .Event("OnReadEnd", &K::OnReadEnd)
        .Event("OnTotals", &K::OnTotals);
}

}  // namespace engine
