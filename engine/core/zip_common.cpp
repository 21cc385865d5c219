#include "engine/core/zip_common.h"

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/output_name.h"
#include "engine/core/run_context.h"

namespace engine {

TZipCommon::TZipCommon(fw::TComponent* owner) : TAwkMain(owner), fileAttribute_(new TqlvFileAttr) {}

TZipCommon::~TZipCommon() { delete fileAttribute_; }

void TZipCommon::BeforeDestruction()
{
    if (Running()) {
        abort_ = true;
        throw fw::EInvalidOperation("Cannot free " + (Name().empty() ? ClassName() : Name()) +
                                    " while it is running");
    }
    if (ActiveArcComponent() == this)
        SetActiveArcComponent(nullptr);
    TAwkMain::BeforeDestruction();
}

void TZipCommon::BeginRun()
{
    ++running_;
    abort_ = false;
}

void TZipCommon::EndRun()
{
    if (running_ > 0)
        --running_;
}

void TZipCommon::SetArchiveFile(const std::string& value)
{
    if (Running())
        return;
    TotalPackedSize = 0;
    TotalUnpackedSize = 0;
    if (value.empty()) {
        archiveFile_.clear();
        if (ActiveArcComponent() == this || !RunActive())
            SetActiveArcComponent(nullptr);
        arcType_ = TArcType::atNA;
        return;
    }
    HeaderPos = 1;
    FileCount = 0;
    archiveFile_ = ToBackslashes(value);
    SetArcType(arcType_);
}

void TZipCommon::SetArcType(TArcType value) { arcType_ = value; }

void TZipCommon::SetSetDateTo(TSetDate value)
{
    setDateTo_ = value;
    SetDateSetting(value);
}

void TZipCommon::SetExtractDir(const std::string& value)
{
    if (!value.empty()) {
        extractDir_ = AppendBackslash(ToBackslashes(ExpandFileName(ToBackslashes(value))));
        return;
    }
    extractDir_ = archiveFile_.empty() ? std::string() : ExtractFilePath(ExpandFileName(archiveFile_));
    if (!extractDir_.empty())
        extractDir_ = AppendBackslash(ToBackslashes(extractDir_));
}

void TZipCommon::SetFileAttribute(TqlvFileAttr* value)
{
    if (value && value != fileAttribute_)
        fileAttribute_->Assign(value);
}

void TZipCommon::SetZipCmntBufSize(int value)
{
    zipCmntBufSize_ = value > 32767 ? 32767 : value < 2000 ? 2000 : value;
}

void TZipCommon::SetFileSpec(const std::string& value)
{
    fileSpec_ = value.empty() ? std::string("*.*") : ToBackslashes(value);
}

std::string TZipCommon::StoredNameToAnsi(const std::string& name) const { return OemToAnsiPath(name); }

bool TZipCommon::BuildFileName(const std::string& name)
{
    if (name.empty()) {
        FileName.clear();
        return true;
    }
    const std::string ansi = StoredNameToAnsi(name);
    if (extractDir_.empty())
        SetExtractDir("");
    if (extractDir_.empty())
        extractDir_ = AppendBackslash(ToBackslashes(GetCurrentDir()));
    auto out = BuildOutputName(ansi, extractDir_, useStoredDirs_);
    if (!out) {
        FileName.clear();
        return false;
    }
    FileName = *out;
    return true;
}

void TZipCommon::RaiseError(const std::string& fn, const std::string& msgEx, const std::string& volumeID, int eCode)
{
    if (OnError)
        OnError(this, fn, msgEx, volumeID, eCode);
    throw E_RAISE(eCode);
}

void TZipCommon::ReportError(const std::string& fn, const std::string& msgEx, const std::string& volumeID, int eCode)
{
    // While the running component is cancelled its follow-up errors stay quiet. Outside a run (the
    // application may have cleared ActiveArcComponent) this component's own flag decides.
    const TZipCommon* active = ActiveArcComponent();
    if ((active && active->Aborted()) || (!active && Aborted()))
        return;
    if (!OnError)
        return;
    OnError(this, ExtractFileName(fn), msgEx, volumeID, eCode);
}

void TZipCommon::UpdateProgress(int64_t done, int64_t total) { CurrentRun().progressByte = PercentOf(done, total); }

void TZipCommon::RaiseProgress(TZipCommon* component, uint8_t percent)
{
    if (component && component->OnProgress)
        component->OnProgress(component, percent);
    ProcessMessages();
}

void TZipCommon::ReportProgress(int64_t done, int64_t total)
{
    UpdateProgress(done, total);
    RunContext& run = CurrentRun();
    if (run.progress)
        run.progress(run.progressByte);
}

void TZipCommon::SplitVolumePath(std::string& dir, std::string& fn, const std::string& defaultDir)
{
    fn = ToBackslashes(fn);
    if (!ExtractFilePath(fn).empty()) {
        dir = ExtractFilePath(fn);
        fn = ExtractFileName(fn);
    } else {
        dir = ExtractFilePath(ToBackslashes(dir));
    }
    if (!dir.empty())
        dir = AppendBackslash(dir);
    else if (!defaultDir.empty())
        dir = AppendBackslash(defaultDir);
    else
        dir = AppendBackslash(ToBackslashes(GetCurrentDir()));
    fn = ExtractFileName(fn);
    SetCurrentDir(dir);
}

bool TZipCommon::FindVolume(std::string& fn, const std::string& volumeID)
{
    if (!OnNextVolume) {
        ReportError(archiveFile_, "", volumeID, 25172);
        return false;
    }
    std::string dir = ExtractFilePath(ToBackslashes(fn));
    dir = dir.empty() ? AppendBackslash(ToBackslashes(GetCurrentDir())) : AppendBackslash(dir);
    const std::string firstDir = dir;
    fn = ExtractFileName(fn);
    bool exists = FileExistsFind(dir + fn);
    for (;;) {
        if (!DriveReady(dir))
            return false;
        bool cancel = false;
        OnNextVolume(this, dir, fn, volumeID, exists, cancel);
        if (cancel || Aborted())
            return false;
        SplitVolumePath(dir, fn, firstDir);
        if (!DriveReady(dir))
            return false;
        if (!fn.empty() && FileExistsFind(dir + fn)) {
            fn = dir + fn;
            return true;
        }
        exists = false;
    }
}

void TZipCommon::StartStopwatch()
{
    if (OnElapsedTime)
        Stopwatch().Start();
}

void TZipCommon::StopStopwatch()
{
    Stopwatch().Stop();
    if (OnElapsedTime)
        OnElapsedTime(this, Stopwatch().Elapsed());
}

}  // namespace engine
