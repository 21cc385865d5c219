// TCustomInstall: construction, the command line, the choice of mode, the main form's first
// activation and the exception handling of a run.
#include "installer/install.h"

#include <vector>

#include "framework/core/filer.h"
#include "framework/core/platform.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/container.h"
#include "installer/exceptions.h"
#include "installer/install_host.h"
#include "installer/install_record.h"
#include "installer/pathspec.h"
#include "installer/strutils.h"

namespace inst {

namespace {

bool IsForm(fw::TComponent* c) { return c && (c->InheritsFrom("TCustomForm") || c->InheritsFrom("TForm")); }

// The owner check comes before any part of the component is made.
fw::TComponent* CheckedOwner(fw::TComponent* owner) {
    if (!IsDefinitionRoot(owner))
        throw IEInstall("The owner of the TInstall component must be a form or a data module");
    return owner;
}

}  // namespace

// ---- TBuildInfo and the theme picture ------------------------------------------------------------------------

void TBuildInfo::Assign(fw::TPersistent* source) {
    if (auto* b = dynamic_cast<TBuildInfo*>(source)) {
        AddUninstallOnCreate = b->AddUninstallOnCreate;
        AppName = b->AppName;
        AppURL = b->AppURL;
        BuildDirectory = b->BuildDirectory;
        CredentialsFile = b->CredentialsFile;
        OCXName = b->OCXName;
        PrivateKeyFile = b->PrivateKeyFile;
        SignCode = b->SignCode;
        URLPath = b->URLPath;
        return;
    }
    fw::TPersistent::Assign(source);
}

void TThemeBitmap::LoadDefault() {
    std::string bytes;
    data_ = fw::Res().FindRcData(kResource, bytes) ? bytes : std::string();
}

void TThemeBitmap::Assign(fw::TPersistent* source) {
    if (auto* t = dynamic_cast<TThemeBitmap*>(source)) {
        data_ = t->data_;
        return;
    }
    fw::TPersistent::Assign(source);
}

void TThemeBitmap::DefineProperties(fw::TFiler& filer) {
    filer.DefineBinaryProperty(
        "Data",
        [this](fw::TStream& s) {
            data_.assign(static_cast<size_t>(s.Size() - s.Position()), '\0');
            if (!data_.empty()) s.ReadBuffer(data_.data(), static_cast<int64_t>(data_.size()));
        },
        [this](fw::TStream& s) {
            if (!data_.empty()) s.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
        },
        !data_.empty());
}

// ---- Construction ---------------------------------------------------------------------------------------------

const TCustomInstall::Pass TCustomInstall::kPasses[8] = {
    {2750, "Installing ODBC drivers..."},  {2875, "Installing ODBC sources..."},
    {3000, "Installing database engine aliases..."}, {7000, "Installing shell links..."},
    {8000, "Installing shell links..."},   {4000, "Installing INI files..."},
    {8500, "Installing registry keys..."}, {8700, ""},
};

TCustomInstall::TCustomInstall(fw::TComponent* owner)
    : TInstallRoot(CheckedOwner(owner)),
      buildInfo_(new TBuildInfo),
      theme_(new TThemeBitmap),
      presetupFiles_(new fw::TStringList) {
    theme_->LoadDefault();
    SetDestDir("\\MyApplication");
    SetDestDirType(FindSpecifier<TpsProgramFiles>());
    AppHost().RouteExceptions([this](fw::Exception& e) { HandleException(e); });
}

TCustomInstall::~TCustomInstall() {
    delete buildInfo_;
    delete theme_;
    delete presetupFiles_;
}

void TCustomInstall::BeforeDestruction() {
    UnhookMainForm();
    if (InstallComponent() == this) AppHost().RouteExceptions(nullptr);
    if (runCleanupBatch_) {
        runCleanupBatch_ = false;
        uint32_t error = 0;
        Sys().WinExec("\"" + cleanupBatchFile_ + "\"", true, error);
    }
    TInstallRoot::BeforeDestruction();
}

// ---- Properties ---------------------------------------------------------------------------------------------------

void TCustomInstall::SetAutoMaximizeWindow(bool v) {
    autoMaximizeWindow_ = v;
    if (v && !InState(fw::csLoading)) hideMainForm_ = false;
}

void TCustomInstall::SetHideMainForm(bool v) {
    hideMainForm_ = v;
    if (v && !InState(fw::csLoading)) autoMaximizeWindow_ = false;
}

void TCustomInstall::SetPresetupFiles(fw::TStringList* v) {
    if (v)
        for (int i = v->Count() - 1; i >= 0; --i)
            if (fw::Trim(v->Get(i)).empty()) v->Delete(i);
    presetupFiles_->Assign(v);
}

void TCustomInstall::SetUseLoadingProgram(bool v) {
    useLoadingProgram_ = v;
    if (!v || InState(fw::csLoading)) return;
    SetArchiveFileType(FindSpecifier<TpsMainArchiveFile>());
    SetArchiveFile(std::string());
}

void TCustomInstall::SetDistributeType(TDistributeType v) {
    if (!InState(fw::csLoading) && v != DistributeType())
        throw IEInstall("DistributeType can only be set at design-time");
    // The net location may still be a reference waiting for its component: Loaded checks it.
    TInstallRoot::SetDistributeType(v);
}

void TCustomInstall::SetNetLocation(TCustomNetInstallLocation* value) {
    TInstallRoot::SetNetLocation(value);
    if (!value) StoreDistributeType(TDistributeType::dtTraditional);
}

void TCustomInstall::Notification(fw::TComponent* component, fw::TOperation operation) {
    const bool location = operation == fw::opRemove && component && component == NetLocation();
    TInstallRoot::Notification(component, operation);
    if (location) StoreDistributeType(TDistributeType::dtTraditional);
}

// ---- Loading and the mode of this start ---------------------------------------------------------------------------

void TCustomInstall::ParseCommandLine() {
    std::vector<std::string> args;
    const int count = fw::ParamCount();
    for (int i = 1; i <= count; ++i) args.push_back(fw::ParamStr(i));
    switches_ = inst::ParseCommandLine(args);
}

void TCustomInstall::Loaded() {
    TInstallRoot::Loaded();
    if (DistributeType() != TDistributeType::dtTraditional && !NetLocation())
        throw IEInstallNetLocNil(
            "Must assign a net location via the NetLocation property before you can set the distribute type");
    // A bad command line stops the program before anything runs, with the message alone.
    try {
        ParseCommandLine();
        if (switches_.Has(kSwitchDebug) &&
            (!switches_.Has(kSwitchSource) || fw::Trim(switches_.Value(kSwitchSource)).empty()))
            throw IEInstall(
                "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My "
                "Build\"");
    } catch (const IException& e) {
        AppHost().ShowException(e);
        AppHost().Terminate();
        return;
    }
    SetSourceDir(switches_.Has(kSwitchSource) ? switches_.Value(kSwitchSource) : GetProgramDir());
    SetSelfExtractor(switches_.Has(kSwitchSelfExtract), switches_.Value(kSwitchSelfExtract));
    if (switches_.Has(kSwitchSelfExtract))
        SetSelfExtractPath(AddBackslash(SourceDir()) + switches_.Value(kSwitchSelfExtract));
    ReadInstallRecord(false);
    std::string local;
    if (FindLocalArchive(local)) SetLocalArchive(local);
    mainForm_ = AppHost().MainForm();
    if (!mainForm_ && IsForm(Owner())) mainForm_ = Owner();
    if (!mainForm_ && runAutomatic_)
        throw IEInstall(
            "Application.MainForm is undefined and the TInstall is not on a form. Therefore, therefore the TInstall "
            "can't run the installation automatically");
    SetSelectedInstallType(0);
    const TInstallTypeSet types = InstallTypes();
    if (types.Contains(TInstallType::itDefault))
        SetSelectedInstallType(1);
    else if (types.Contains(TInstallType::itCompact))
        SetSelectedInstallType(2);
    DispatchMode();
}

void TCustomInstall::DispatchMode() {
    if (switches_.Has(kSwitchBuild)) {
        BuildFromBuildInf();
        AppHost().Terminate();
    } else if (switches_.Has(kSwitchFloppy)) {
        TransferToFloppies("a:");
    } else if (switches_.Has(kSwitchAfterReboot)) {
        // The completion is a run like the install run: its failures take the bad-install path.
        try {
            FinishUnfinishedWork();
        } catch (fw::Exception& e) {
            HandleException(e);
        }
    } else if (mainForm_) {
        HookMainForm();
        if (hideMainForm_) AppHost().MoveFormOffScreen(mainForm_);
    }
}

void TCustomInstall::HookMainForm() {
    fw::TNotifyEvent handler(this, &TCustomInstall::HandleFormActivate);
    if (!AppHost().SwapActivateHandler(mainForm_, handler)) return;
    savedOnActivate_ = handler;
    hooked_ = true;
}

void TCustomInstall::UnhookMainForm() {
    if (!hooked_) return;
    hooked_ = false;
    if (mainForm_ && !mainForm_->InState(fw::csDestroying) && savedOnActivate_) {
        fw::TNotifyEvent saved = savedOnActivate_;
        AppHost().SwapActivateHandler(mainForm_, saved);
    }
}

void TCustomInstall::HandleFormActivate(fw::TObject*) {
    if (activated_) return;
    if (savedOnActivate_) savedOnActivate_(Owner());
    activated_ = true;
    if (mainForm_ && autoMaximizeWindow_) AppHost().MaximizeForm(mainForm_);
    if (!runAutomatic_) return;
    if (Owner() && !Owner()->InState(fw::csDestroying) && savedOnActivate_) UnhookMainForm();
    RunInstall();
}

// ---- Exceptions and the end of the program ----------------------------------------------------------------------

void TCustomInstall::HandleException(fw::Exception& e) {
    if (!Running()) {
        AppHost().ShowException(e);
        return;
    }
    SetRunning(false);
    aborted_ = true;
    try {
        if (dynamic_cast<EAIUserAbort*>(&e)) {
            NotifyBadInstall();
            Cleanup();
            RemoveInstallRecord();
            if (runAutomatic_) ShutdownQuery();
        } else {
            NotifyBadInstall();
            AppHost().ShowException(e);
            ShutdownQuery();
        }
    } catch (fw::Exception& again) {
        if (runAutomatic_)
            AppHost().Terminate();
        else
            AppHost().ShowException(again);
    }
}

bool TCustomInstall::UserAbortQuery() {
    bool quitOut = true;
    if (OnUserAbort) OnUserAbort(this, quitOut);
    return quitOut;
}

bool TCustomInstall::ShutdownQuery() {
    bool quitOut = true;
    if (OnBeforeShutdown) OnBeforeShutdown(this, quitOut);
    if (quitOut) AppHost().Terminate();
    return !quitOut;
}

// ---- Where the installation comes from ---------------------------------------------------------------------------

std::string TCustomInstall::GetMainArchiveFile() {
    if (switches_.Has(kSwitchSelfExtract)) return GetArchivePath();
    if (!useLoadingProgram_) return fw::ParamStr(0);
    return AddBackslash(SourceDir()) + fw::ParamStr(2);
}

std::string TCustomInstall::GetProgramDir() { return fw::ExtractFileDir(fw::ParamStr(0)); }

ExtractionRecord TCustomInstall::ReadExtractionInfo(const std::string& fileName) {
    auto fail = [&]() -> ExtractionRecord {
        throw IEInstall(
            "Could not read the extraction info from the archive file %s when trying to find the correct offset into "
            "the self extracting file",
            {fileName});
    };
    uint8_t bytes[ExtractionRecord::kSize];
    try {
        fw::TFileStream file(fileName, fw::fmOpenRead | fw::fmShareDenyNone);
        if (file.Size() < ExtractionRecord::kSize) return fail();
        file.SetPosition(file.Size() - ExtractionRecord::kSize);
        file.ReadBuffer(bytes, ExtractionRecord::kSize);
    } catch (const fw::Exception&) {
        return fail();
    }
    ExtractionRecord record;
    // Without the signature the numbers would point anywhere.
    if (!record.Decode(bytes)) return fail();
    return record;
}

void TCustomInstall::ApplyExtractionOffset() {
    SharedArchive().SetOffset(ReadExtractionInfo(GetArchivePath()).filesStart);
}

}  // namespace inst
