#include "engine/zipcheck/zip_check.h"

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/arc/arc_component.h"
#include "engine/formats/arj/unarj/unarj_component.h"
#include "engine/formats/bh/bh_extract.h"
#include "engine/formats/gzip/gzip_component.h"
#include "engine/formats/lzh/unlha/unlha_component.h"
#include "engine/formats/open/archive_detection.h"
#include "engine/formats/rar/unrar_component.h"
#include "engine/formats/tar/tar_component.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/formats/zoo/zoo_component.h"
#include "engine/lister/krenlo.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

// The output sink of the private extractor's run: nothing is written; the decoded bytes only move
// the tester's progress. A failing progress handler must not fail the entry, so nothing leaves.
class TesterProgress final : public OutputSink {
public:
    explicit TesterProgress(TZipCheck& tester) : tester_(tester) {}
    bool Write(const uint8_t*, int64_t& count) override
    {
        try {
            tester_.CountDecoded(count);
        } catch (...) {
        }
        return true;
    }

private:
    TZipCheck& tester_;
};

}  // namespace

TZipCheck::TZipCheck(fw::TComponent* owner) : TUnBase(owner) { SetFileSpec("*.*"); }

void TZipCheck::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

bool TZipCheck::IsRarArchive() const { return ArcType() == TArcType::atRar || ArcType() == TArcType::atRarExe; }

void TZipCheck::Cancel(bool value)
{
    abort_ = value;
    TZipCommon* active = ActiveArcComponent();
    if (active && active != this)
        TAwkMain::Cancel(active, value);
    else
        ProcessMessages();
}

bool TZipCheck::Activate()
{
    RunScope scope(*this, OutputMode::Test);
    if (!scope.Started())
        return false;
    // The private extractor's run takes this sink instead of its file writer; the next run of any
    // extractor gets its own file writer again.
    TesterProgress sink(*this);
    scope.Context().nestedSink = &sink;
    try {
        RunTest();
    } catch (...) {
        // Failures have been reported through OnError; nothing reaches the caller.
    }
    return true;
}

void TZipCheck::RunTest()
{
    if (ArchiveFile().empty() || !CanTestArcType(ArcType()))
        RaiseError(ArchiveFile(), "", "0", 25242);
    RequireEvent(OnStatus, "OnStatus");
    Cancel(false);
    checkLister_ = nullptr;
    checkExtractor_ = nullptr;
    StartStopwatch();
    struct Finally {
        TZipCheck& self;
        ~Finally()
        {
            try {
                self.StopStopwatch();
            } catch (...) {
            }
            self.FreePrivateComponents();
        }
    } finally{*this};

    if (OnProgress)
        RunLister();
    // An archive of empty entries has nothing to count; RAR sizes come per entry from the library.
    if (Aborted() || (checkLister_ && checkLister_->TotalUnpackedSize == 0 && !IsRarArchive()))
        return;

    checkExtractor_ = MakeExtractor();
    TUnBase& ex = *checkExtractor_;
    ex.SetUseStoredDirs(false);
    ex.SetArchiveFile(ArchiveFile());
    ex.SetFileSpec(FileSpec());
    ex.SetPasswords(Passwords());
    ex.OnBegin.Bind(this, &TZipCheck::ExtractorBegin);
    ex.OnEnd.Bind(this, &TZipCheck::ExtractorEnd);
    ex.OnNextVolume.Bind(this, &TZipCheck::ExtractorNextVolume);
    // The caller's own handlers, so that their Sender is the extractor.
    ex.OnActivate = OnActivate;
    ex.OnDeactivate = OnDeactivate;
    ex.OnError = OnError;
    ex.OnGetPassword = OnGetPassword;
    ex.Test();
    // Passwords found during the test are kept, the one that worked first.
    SetPasswords(ex.Passwords());
}

void TZipCheck::RunLister()
{
    checkLister_ = fw::Make<TKrenlo>(this);
    TKrenlo& lister = *checkLister_;
    lister.OnError = OnError;
    lister.OnRead.Bind(this, &TZipCheck::ListerRead);
    lister.OnTotals.Bind(this, &TZipCheck::ListerTotals);
    lister.OnNextVolume.Bind(this, &TZipCheck::ListerNextVolume);
    lister.SetArchiveFile(ArchiveFile());
    lister.SetFileSpec(FileSpec());
    lister.Activate();
    if (lister.Aborted())
        Cancel(true);
}

TUnBase* TZipCheck::MakeExtractor()
{
    switch (ArcType()) {
    case TArcType::atArc:
    case TArcType::atArcExe:
        return fw::Make<TUnARC>(this);
    case TArcType::atArj:
    case TArcType::atArjExe:
        return fw::Make<TUnARJ>(this);
    case TArcType::atBh:
    case TArcType::atBhExe:
        return fw::Make<TUnBH>(this);
    case TArcType::atGZip:
        return fw::Make<TUnGZIP>(this);
    case TArcType::atLha:
    case TArcType::atLhaExe:
    case TArcType::atLzh:
    case TArcType::atLzhExe:
        return fw::Make<TUnLHA>(this);
    case TArcType::atRar:
    case TArcType::atRarExe:
        return fw::Make<TUnRAR>(this);
    case TArcType::atTar:
        return fw::Make<TUnTAR>(this);
    case TArcType::atZoo:
        return fw::Make<TUnZOO>(this);
    default:
        break;
    }
    if (IsZipArcType(ArcType())) {
        auto* unzip = fw::Make<TUnZIP>(this);
        unzip->SetZipCmntBufSize(32000);
        return unzip;
    }
    RaiseError(ArchiveFile(), "", "0", 25242);
}

void TZipCheck::FreePrivateComponents()
{
    if (checkLister_)
        checkLister_->Free();
    if (checkExtractor_)
        checkExtractor_->Free();
    checkLister_ = nullptr;
    checkExtractor_ = nullptr;
}

void TZipCheck::CountDecoded(int64_t count)
{
    if (!OnProgress || !checkLister_ || !checkExtractor_)
        return;
    if (ArcType() == TArcType::atGZip) {
        // gzip keeps the unpacked size modulo 4 GB and of its last member only: the share of the
        // compressed file read so far measures the progress instead.
        UpdateProgress(checkExtractor_->ProgressTotal - checkExtractor_->BytesLeft, checkExtractor_->ProgressTotal);
    } else {
        const int64_t total = checkLister_->TotalUnpackedSize;
        if (total == 0)
            return;
        remainingBytes_ -= count;
        UpdateProgress(total - remainingBytes_, total);
    }
    OnProgress(this, CurrentRun().progressByte);
}

void TZipCheck::ListerRead(fw::TObject*, int64_t, int) {}

void TZipCheck::ListerTotals(fw::TObject*, int) { remainingBytes_ = checkLister_->TotalUnpackedSize; }

void TZipCheck::ListerNextVolume(fw::TObject*, std::string&, std::string&, const std::string&, bool, bool& cancel)
{
    // The listing counts the volume in hand; the extractor's volume changes list the others.
    cancel = true;
}

void TZipCheck::ExtractorBegin(fw::TObject*, const std::string& fn, int, bool&)
{
    // The library reports RAR data per entry: the progress runs from 0 to 100 for each.
    if (IsRarArchive() && OnProgress && checkLister_) {
        checkLister_->TotalUnpackedSize = checkExtractor_->BytesLeft;
        remainingBytes_ = checkExtractor_->BytesLeft;
        CurrentRun().progressByte = 0;
        OnProgress(this, 0);
    }
    if (OnBegin)
        OnBegin(this, fn);
}

void TZipCheck::ExtractorEnd(fw::TObject*, const std::string& fn, bool crcPass)
{
    OnStatus(this, fn, crcPass);
    if (OnEnd)
        OnEnd(this, fn);
}

void TZipCheck::ExtractorNextVolume(fw::TObject*, std::string& dir, std::string& fn, const std::string& volumeID,
                                    bool exists, bool& cancel)
{
    if (OnNextVolume)
        OnNextVolume(this, dir, fn, volumeID, exists, cancel);
    SplitVolumePath(dir, fn, "");
    if (cancel || !OnProgress || !checkLister_ || IsRarArchive())
        return;
    // The totals follow the extraction into the new volume.
    checkLister_->SetArchiveFile(AppendBackslash(dir) + fn);
    checkLister_->Activate();
}

void RegisterZipCheckClasses()
{
    RegisterClasses();
    using Z = TZipCheck;
    fw::Class<TZipCheck, TUnBase>("TZipCheck")
        .Event("OnBegin", &Z::OnBegin)
        .Event("OnEnd", &Z::OnEnd)
        .Event("OnStatus", &Z::OnStatus);
}

}  // namespace engine
