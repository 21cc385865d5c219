#include "engine/core/un_base.h"

#include <algorithm>
#include <vector>

#include "engine/codec/crc16.h"
#include "engine/codec/crc32.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/wildcard.h"

namespace engine {

TUnBase::TUnBase(fw::TComponent* owner) : TZipCommon(owner), passwords_(new fw::TStringList)
{
    SetProgressNotify(TProgressNotify::Ten);
    SetFileSpec("*.*");
    SetSetDateTo(TSetDate::sdOrigDate);
}

TUnBase::~TUnBase() { delete passwords_; }

void TUnBase::SetPasswords(fw::TStrings* value)
{
    if (value && value != passwords_)
        passwords_->Assign(value);
}

void TUnBase::Loaded()
{
    TZipCommon::Loaded();
    if (FileSpec().empty())
        SetFileSpec("*.*");
}

bool TUnBase::RunEntry(OutputMode mode)
{
    RunScope scope(*this, mode);
    if (!scope.Started())
        return false;
    try {
        ProcessArchive();
    } catch (...) {
        // Failures have been reported through OnError; nothing reaches the caller.
    }
    return true;
}

bool TUnBase::Extract()
{
    if (cpuType_ == TCpuType::cpt80486)
        cpuType_ = TCpuType::cptAuto;
    return RunEntry(OutputMode::Files);
}

bool TUnBase::Test() { return RunEntry(OutputMode::Test); }

void TUnBase::StartRun(bool canHandle)
{
    ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
    if (ArchiveFile().empty())
        RaiseError(ArchiveFile(), "", ReportVolumeID(), 25243);
    if (!canHandle)
        RaiseError(ArchiveFile(), "", ReportVolumeID(), 25242);
    if (OnActivate)
        OnActivate(this);
    Cancel(this, false);
    singleEntry_ = !HasWildcards(FileSpec());
    StartStopwatch();
}

void TUnBase::FinishRun()
{
    StopStopwatch();
    if (OnDeactivate)
        OnDeactivate(this);
}

bool TUnBase::Selected(const std::string& storedName) const
{
    return WildcardMatch(StoredNameToAnsi(storedName), FileSpec(), false);
}

bool TUnBase::BeginEntry(const std::string& storedName, TDateTime entryDate)
{
    if (!BuildFileName(storedName)) {
        ReportError(StoredNameToAnsi(storedName), "", ReportVolumeID(), 25243);
        return false;
    }
    entryName_ = StoredNameToAnsi(storedName);
    ++FileCount;
    bool extract = true;
    const bool files = CurrentRun().outputMode == OutputMode::Files;
    if (files && OnFileExists && FileExistsFind(FileName)) {
        // The date offered is the archived entry's, so the host can compare it with the file on disk.
        bool accept = true;
        OnFileExists(this, FileName, entryDate, accept);
        extract = accept;
    }
    if (extract && OnBegin)
        OnBegin(this, files ? FileName : entryName_, FileCount, extract);
    if (!extract)
        --FileCount;
    return extract;
}

TUnBase::PasswordResult TUnBase::FindPassword(const std::string& current,
                                              const std::function<bool(const std::string&)>& tryPassword)
{
    if (!current.empty() && tryPassword(current))
        return PasswordResult::Found;
    for (int i = 0; i < passwords_->Count(); ++i)
        if (tryPassword(passwords_->Get(i)))
            return PasswordResult::Found;
    if (!OnGetPassword)
        return PasswordResult::NotFound;
    // The handler edits the current password: the first question offers it, and each wrong answer
    // clears it before the next one.
    std::string password = current;
    for (int round = 0; round < 3 && !Aborted(); ++round) {
        bool tryAgain = true;
        OnGetPassword(this, FileName, password, tryAgain);
        if (!tryAgain)
            break;
        if (!password.empty() && tryPassword(password)) {
            passwords_->Insert(0, password);
            return PasswordResult::Found;
        }
        password.clear();
        ReportError(FileName, "", ReportVolumeID(), 26517);
    }
    ReportError(FileName, "", ReportVolumeID(), 26522);
    return PasswordResult::EndRun;
}

void TUnBase::OpenEntryOutput()
{
    RunContext& run = CurrentRun();
    run.crc32 = 0xFFFFFFFFu;
    run.crc16 = 0;
    if (run.outputMode != OutputMode::Files)
        return;
    if (run.outputFile != fw::kInvalidFile) {
        CloseFile(run.outputFile);
        run.outputFile = fw::kInvalidFile;
    }
    run.outputFile = CreateOutputFile(FileName, &run.outputExisted);
    if (run.outputFile == fw::kInvalidFile)
        RaiseError(FileName, "", ReportVolumeID(), 25235);
}

void TUnBase::EndEntry(bool decoded, bool crcPass, uint32_t dosDate, uint32_t attributes)
{
    RunContext& run = CurrentRun();
    if (run.outputMode == OutputMode::Files && run.outputFile != fw::kInvalidFile) {
        if (DateSetting() != TSetDate::sdSysDate)
            FileSetDate(run.outputFile, dosDate);
        SetOutputAttributes(run.outputFile, FileName, run.outputExisted, attributes & 0x27);
        CloseFile(run.outputFile);
        run.outputFile = fw::kInvalidFile;
    }
    const bool pass = decoded && crcPass;
    if (OnEnd)
        OnEnd(this, run.outputMode == OutputMode::Files ? FileName : entryName_, pass);
    else if (decoded && !crcPass)
        ReportError(FileName, "", ReportVolumeID(), 25151);
}

int64_t TUnBase::CopyStored(fw::FileHandle in, int64_t count, int crcKind)
{
    if (count <= 0 || in == fw::kInvalidFile)
        return 0;
    constexpr int64_t kBlock = 32768;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kBlock)) + 1);
    int64_t remaining = count;
    const bool arj = ArcType() == TArcType::atArj || ArcType() == TArcType::atArjExe;
    const bool zipKeys = ArcType() == TArcType::atBh || ArcType() == TArcType::atBhExe || IsZipArcType(ArcType());
    RunContext& run = CurrentRun();
    while (remaining > 0 && !Aborted()) {
        const int64_t want = std::min(remaining, kBlock);
        const int64_t got = fw::Fs().Read(in, buffer.data(), want);
        if (got <= 0)
            break;  // the archive ended early: the entry will fail its CRC check
        if (Encrypted) {
            if (arj && !GarblePassword.empty()) {
                for (int64_t i = 0; i < got; ++i) {
                    if (GarbleIndex < 1 || GarbleIndex > GarblePassword.size())
                        GarbleIndex = 1;
                    buffer[size_t(i)] ^= static_cast<uint8_t>(GarblePassword[GarbleIndex - 1]);
                    GarbleIndex = GarbleIndex >= GarblePassword.size() ? 1 : uint16_t(GarbleIndex + 1);
                }
            } else if (zipKeys) {
                Keys.Decrypt(std::span<uint8_t>(buffer.data(), size_t(got)));
            }
        }
        int64_t written = got;
        const bool sunk = run.sink ? run.sink->Write(buffer.data(), written) : true;
        const std::span<const uint8_t> plain(buffer.data(), size_t(got));
        if (crcKind == 16)
            mx::codec::UpdateCrc16(plain, run.crc16);
        else if (crcKind == 32)
            mx::codec::UpdateCrc32(plain, run.crc32);
        remaining -= got;
        ReportProgress(count - remaining, count);
        if (!sunk)
            RaiseError(FileName, "", ReportVolumeID(), 25136);
        if (got < want)
            break;
    }
    return count - remaining;
}

}  // namespace engine
