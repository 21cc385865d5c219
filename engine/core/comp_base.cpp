#include "engine/core/comp_base.h"

#include <memory>
#include <vector>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/messages.h"
#include "framework/core/exceptions.h"

namespace engine {

// ---- TTempFileStream ------------------------------------------------------------------------------

std::string TTempFileStream::NewName()
{
    std::string name = TempFileName("BH");
    RunContext& run = CurrentRun();
    if (run.firstTempName.empty())
        run.firstTempName = name;
    else
        run.secondTempName = name;
    return name;
}

TTempFileStream::TTempFileStream() : fw::TFileStream(NewName(), fw::fmCreate) {}

// The handle closes in the base destructor; the run deletes the files when it ends.
TTempFileStream::~TTempFileStream() = default;

// ---- TNewArchiveStream ----------------------------------------------------------------------------

namespace {

fw::StagedFile StagedFor(const std::string& archive)
{
    fw::StagedFile staged;
    staged.target = ExpandFileName(archive);
    staged.prefix = "BH";
    if (!fw::Fs().CreateStaged(staged))
        throw fw::EFCreateError(std::string(MessageText(msgErrorOpening)));
    return staged;
}

}  // namespace

TNewArchiveStream::TNewArchiveStream(const std::string& archive) : fw::THandleStream(fw::kInvalidFile)
{
    staged_ = StagedFor(archive);
    handle_ = staged_.handle;
}

TNewArchiveStream::~TNewArchiveStream()
{
    if (staged_.handle != fw::kInvalidFile)
        fw::Fs().DiscardStaged(staged_);
}

bool TNewArchiveStream::Commit()
{
    handle_ = fw::kInvalidFile;
    return fw::Fs().CommitStaged(staged_);
}

// ---- TCompBase ------------------------------------------------------------------------------------

TCompBase::TCompBase(fw::TComponent* owner)
    : TZipCommon(owner), fileSpecList_(new fw::TStringList), passwords_(new fw::TStringList)
{
    SetSwitch(TSwitch::swAdd);
    SetProgressNotify(TProgressNotify::Ten);
    SetStoredDirNames(TStoredDirNames::sdRelative);
}

TCompBase::~TCompBase()
{
    delete fileSpecList_;
    delete passwords_;
}

void TCompBase::SetCompressMethod(TCompressMethod value)
{
    const unsigned ord = static_cast<unsigned>(value);
    if (ord <= 15 && (AllowedMethods & MethodBit(value)))
        compressMethod_ = value;
}

std::string TCompBase::DefaultDir()
{
    if (defaultDir_.find_first_not_of(' ') == std::string::npos)
        defaultDir_ = AppendBackslash(ToBackslashes(GetCurrentDir()));
    return defaultDir_;
}

void TCompBase::SetDefaultDir(const std::string& value)
{
    const std::string v = ToBackslashes(value);
    if (v.find_first_not_of(' ') != std::string::npos && DirectoryExists(v))
        defaultDir_ = AppendBackslash(ToBackslashes(ExpandFileName(v)));
    else
        defaultDir_ = AppendBackslash(ToBackslashes(GetCurrentDir()));
}

void TCompBase::SetFileSpecList(fw::TStrings* value)
{
    if (!value || value == fileSpecList_)
        return;
    fw::TStringList copy;
    for (int i = 0; i < value->Count(); ++i) {
        const std::string line = value->Get(i);
        if (line.empty())
            continue;
        copy.Add(ExtractFileName(ToBackslashes(line)));
    }
    fileSpecList_->Assign(&copy);
}

bool TCompBase::BuildFileName(const std::string& name)
{
    std::string n = StoredDirNames() != TStoredDirNames::sdNone && !name.empty()
                        ? AppendBackslash(ToBackslashes(CurrentDir)) + name
                        : name;
    n = AnsiToOemPath(n);
    switch (StoredDirNames()) {
    case TStoredDirNames::sdNone:
        n = ExtractFileName(n);
        break;
    case TStoredDirNames::sdAbsoluteNoDrv:
        if (n.size() > 3 && n[1] == ':')
            n.erase(0, 2);
        break;
    case TStoredDirNames::sdRelative: {
        const std::string base = AppendBackslash(ToBackslashes(BaseDir));
        if (!base.empty() && n.size() >= base.size())
            n.erase(0, base.size());
        break;
    }
    case TStoredDirNames::sdAbsolute:
        break;
    }
    FileName = n;
    return true;
}

bool TCompBase::MayAddFile(bool skipCheck, fw::TStrings* entries, const std::string& name, int64_t newSize,
                           uint32_t newTime, uint32_t newAttr, bool mayAsk)
{
    if (skipCheck || !entries || entries->Count() == 0)
        return true;
    const int index = entries->IndexOf(name);
    if (index < 0)
        return true;
    const auto* old = dynamic_cast<const TCompObject*>(entries->Objects(index));
    const uint32_t oldDate = old ? old->DosDate : 0;
    const int64_t oldSize = old ? old->Size : 0;
    const uint32_t oldAttr = old ? old->Attr : 0;
    if (oldDate == newTime && oldSize == newSize && oldAttr == newAttr)
        return false;
    if (!mayAsk || !OnReplaceFile)
        return false;
    bool replace = true;
    OnReplaceFile(this, name, AppendBackslash(ToBackslashes(CurrentDir)) + name, DosDateToDateTime(oldDate),
                  DosDateToDateTime(newTime), oldSize, newSize, int(oldAttr), int(newAttr), replace);
    return replace;
}

bool TCompBase::FirstHeader(std::string& name, fw::TStream& stream, bool central)
{
    NextHeaderPos = HeaderPos - 1;
    return NextHeader(name, stream, central);
}

void TCompBase::ListArchive()
{
    if (!OnRead)
        return;
    try {
        fw::TFileStream stream(ArchiveFile(), fw::fmOpenRead | fw::fmShareDenyNone);
        ListCount = 0;
        std::string name;
        if (FirstHeader(name, stream, true)) {
            for (;;) {
                LoadEntry(name);
                ++ListCount;
                OnRead(this, stream.Position(), ListCount);
                if (NextHeaderPos == 0 || Aborted() || !NextHeader(name, stream, true))
                    break;
            }
        }
    } catch (const fw::EStreamError&) {
        ReportError(ArchiveFile(), "", "0", 25236);
    }
}

bool TCompBase::RunWriterFrame(bool trimName, const std::function<bool(fw::TStream&, fw::TStream*)>& body,
                               const std::function<void()>& reportAdded)
{
    RunScope scope(*this, OutputMode::Files);
    if (!scope.Started())
        return false;
    try {
        return WriterFrame(trimName, body, reportAdded);
    } catch (...) {
        // Reported through OnError already; nothing reaches the caller.
        return false;
    }
}

bool TCompBase::WriterFrame(bool trimName,
                            const std::function<bool(fw::TStream&, fw::TStream*)>& body,
                            const std::function<void()>& reportAdded)
{
    std::string archive = ArchiveFile();
    if (trimName) {
        const size_t b = archive.find_first_not_of(' '), e = archive.find_last_not_of(' ');
        archive = b == std::string::npos ? std::string() : archive.substr(b, e - b + 1);
    }
    if (archive.empty())
        return false;
    if (Switch() == TSwitch::swRead) {
        ListArchive();
        return true;
    }
    if (FileSpecList()->Count() == 0)
        return false;
    const bool isNew = !FileExistsFind(archive);
    if (!isNew && !IsPlainFile(archive)) {
        bool writeToFile = false;
        if (OnNonWriteableArchive)
            OnNonWriteableArchive(this, archive, writeToFile);
        else
            ReportError(archive, "", "0", 25136);
        if (!writeToFile)
            return false;
        if (!FileSetAttr(archive, kAttrArchive)) {
            ReportError(archive, "", "0", 25136);
            return false;
        }
    }
    if (isNew && Switch() == TSwitch::swDelete) {
        ReportError(archive, "", "0", 26999);
        return false;
    }

    bool ok = false;
    std::unique_ptr<TNewArchiveStream> out;
    std::unique_ptr<fw::TFileStream> old;
    try {
        out = std::make_unique<TNewArchiveStream>(archive);
        if (!isNew)
            old = std::make_unique<fw::TFileStream>(archive, fw::fmOpenRead | fw::fmShareDenyNone);
    } catch (const std::exception&) {
        ReportError(archive, "", "0", 25298);
        return false;
    }
    ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
    FileCount = 0;
    Cancel(this, false);
    try {
        if (OnActivate)
            OnActivate(this);
        // An executable prefix in front of the old archive is kept as it is.
        if (old && HeaderPos > 1) {
            old->Seek(0, 0);
            out->CopyFrom(*old, HeaderPos - 1);
        }
        StartStopwatch();
        ok = body(*out, old.get());
    } catch (...) {
        ok = false;
    }
    // The old archive closes first: the system may not replace a file that is still open.
    old.reset();
    if (ok && !Aborted()) {
        if (out->Commit()) {
            try {
                if (reportAdded)
                    reportAdded();
            } catch (...) {
            }
        } else {
            ok = false;
            ReportError(archive, "", "0", 25136);
        }
    }
    out.reset();
    StopStopwatch();
    if (OnDeactivate) {
        try {
            OnDeactivate(this);
        } catch (...) {
        }
    }
    return ok;
}

}  // namespace engine
