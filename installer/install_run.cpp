// TCustomInstall's install run: the record, the before-install pages, the tree and the passes after it,
// and the three ways a run ends (a reboot with work left for it, a good install, or a bad one through
// HandleException). Also the completion after the reboot (-r) and the clean-up of the loader's files.
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/platform.h"
#include "framework/core/registry.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/batch_files.h"
#include "installer/container.h"
#include "installer/exceptions.h"
#include "installer/install.h"
#include "installer/install_file.h"
#include "installer/install_host.h"
#include "installer/install_record.h"
#include "installer/net_location.h"
#include "installer/qnfdregistry.h"
#include "installer/strutils.h"
#include "installer/system.h"
#include "installer/translator.h"
#include "installer/winqueries.h"

namespace inst {

namespace {

constexpr const char* kNoRecord = "The TInstall could not either write or read unfinished business from the registry";
constexpr const char* kRunOnceName = "QuenfordUnfinished";
constexpr uint32_t kMbOk = 0, kMbIconStop = 0x10;

// The broadcasts before the before-install pages; only the last (-980) has a handler in this system.
constexpr int kStartNotifications[] = {-986, -976, -975, -982, -981, -977, kNotifyBeforeInstall};

bool IsProgram(const std::string& path) {
    const std::string ext = fw::UpperCase(fw::ExtractFileExt(path));
    return ext == ".EXE" || ext == ".COM";
}

// How long the completion waits for the batch that moves files in use.
constexpr uint32_t kBatchWaitMs = 120000;

// The names of the RunOnce values of the in-use batch that still name the file: the system has not run
// it yet.
std::vector<std::string> PendingBatchValues(const std::string& batch) {
    std::vector<std::string> pending;
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    try {
        if (!reg.OpenKey(kRunOnceKey, false)) return pending;
        std::vector<std::string> names;
        reg.GetValueNames(names);
        const std::string prefix = kBatchRunOnceName;
        for (const std::string& name : names) {
            if (!fw::SameText(name.substr(0, prefix.size()), prefix)) continue;
            std::string command = fw::Trim(reg.ReadString(name));
            if (command.size() >= 2 && command.front() == '"' && command.back() == '"')
                command = command.substr(1, command.size() - 2);
            if (fw::SameText(command, batch)) pending.push_back(name);
        }
    } catch (const fw::Exception&) {
    }
    return pending;
}

// The batch that moves files in use runs before anything the completion starts: the system may run its
// once-only commands in any order, and a program started first would hold its file again. The batch
// deletes itself; its RunOnce value goes, so the system does not look for it.
void RunPendingBatch(const std::string& batch) {
    const std::vector<std::string> values = PendingBatchValues(batch);
    if (values.empty()) {
        fw::DeleteFile(batch);
        return;
    }
    Sys().RunAndWait("\"" + batch + "\"", kBatchWaitMs);
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    try {
        if (reg.OpenKey(kRunOnceKey, false))
            for (const std::string& name : values) reg.DeleteValue(name);
    } catch (const fw::Exception&) {
    }
}

}  // namespace

// ---- The install run ----------------------------------------------------------------------------------------------

void TCustomInstall::RunInstall() {
    aborted_ = false;
    RunTimeStamp() = fw::Now();
    FailedRegistrations().clear();
    ResetUnfinishedCount();
    runCleanupBatch_ = false;
    SetRunning(true);
    if (useLoadingProgram_ && !switches_.Has(kSwitchSource))
        throw IEInstall(
            "The path of the loading program was not passed correctly. If you are running your install project in "
            "the IDE, then you need to add two command line parameters. In Run | Parameters | \"Run Parameters\", "
            "type in: -d \"-sBUILDPATH\" where BUILDPATH is the path into which you built the distributables. "
            "Example: -d \"-sC:\\My Build\".");
    ReadInstallRecord(true);
    ClearUnfinishedWork();
    if (switches_.Has(kSwitchSelfExtract)) ApplyExtractionOffset();
    ReadArchiveInfo();
    if (OnAfterInitialized) OnAfterInitialized(this);
    for (int code : kStartNotifications) Broadcast(this, code, nullptr);
    if (aborted_) return;

    auto afterInstallObjects = [this] {
        if (OnAfterInstallObjects) OnAfterInstallObjects(this, SharedArchive().Abort());
    };
    try {
        Process();
        const std::vector<TCustomInstallFile*> failed = FailedRegistrations();
        for (TCustomInstallFile* file : failed) file->SelfRegister();
        for (const Pass& pass : kPasses) InstallObjectsOfOrder(pass.order, pass.text);
    } catch (...) {
        afterInstallObjects();
        throw;
    }
    afterInstallObjects();

    if (UnfinishedCount() > 0 || Reboot()) RegisterRunOnce();
    const bool rebootWanted = Reboot();
    if (rebootWanted) Broadcast(this, kNotifyReboot, nullptr);
    if (Reboot() && OnBeforeReboot) {
        bool go = true;
        OnBeforeReboot(this, go);
        SetReboot(go);
    }
    if (Reboot()) {
        SaveLanguage();
        RebootWindows();
    }
    if (rebootWanted) {
        // Declined or failed: the work stays registered for the next start of Windows.
        SetRunning(false);
        AppHost().Terminate();
        return;
    }
    FinishGoodRun();
}

void TCustomInstall::FinishGoodRun() {
    NotifyGoodInstall();
    Cleanup();
    RemoveInstallRecord();
    if (runAutomatic_) ShutdownQuery();
    RunFilesAfterInstall();
    SetRunning(false);
}

void TCustomInstall::InstallObjectsOfOrder(int pass, const std::string& text) {
    bool announced = false;
    try {
        const std::vector<TInstallContainer*> containers = AllContainers();
        for (TInstallContainer* c : containers) {
            if (c->RegisteredType() != pass) continue;
            if (!announced && !fw::Trim(text).empty()) {
                StatusMessage(text);
                announced = true;
            }
            c->Process();
        }
    } catch (...) {
        if (announced) EndStatusMessage();
        throw;
    }
    if (announced) EndStatusMessage();
}

void TCustomInstall::NotifyGoodInstall() {
    if (OnBeforeNotifyGoodInstall) OnBeforeNotifyGoodInstall(this);
    Broadcast(this, kNotifyBeforeGoodPages, nullptr);
    Broadcast(this, kNotifyAfterGoodInstall, nullptr);
    if (OnAfterNotifyGoodInstall) OnAfterNotifyGoodInstall(this);
}

void TCustomInstall::NotifyBadInstall() {
    if (OnBeforeNotifyBadInstall) OnBeforeNotifyBadInstall(this);
    Broadcast(this, kNotifyBeforeBadPages, nullptr);
    Broadcast(this, kNotifyAfterBadInstall, nullptr);
    if (OnAfterNotifyBadInstall) OnAfterNotifyBadInstall(this);
}

// ---- The file information -----------------------------------------------------------------------------------------

void TCustomInstall::ReadInfoFromArchive() { ReadArchiveInfo(); }

void TCustomInstall::ReadArchiveInfo() {
    if (archiveInfoRead_) return;
    if (OnBeforeReadArchiveInfo) OnBeforeReadArchiveInfo(this);
    Broadcast(this, kNotifyBeforeReadInfo, nullptr);
    AppHost().SetBusyCursor(true);
    StatusMessage("Reading file information...");
    auto restore = [this] {
        AppHost().SetBusyCursor(false);
        EndStatusMessage();
    };
    try {
        TInstallRoot::ReadInfoFromArchive();
        if (DistributeType() != TDistributeType::dtTraditional) ReadRemoteFileList();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    archiveInfoRead_ = true;
    if (OnAfterReadArchiveInfo) OnAfterReadArchiveInfo(this);
    Broadcast(this, kNotifyAfterReadInfo, nullptr);
}

void TCustomInstall::ReadRemoteFileList() {
    const std::string local = TempFileName(true);
    auto bad = [&] { return IEInstall("Cannot read the remote list of files: %s", {local}); };
    try {
        TCustomNetInstallLocation* location = NetLocation();
        if (!location) throw bad();
        location->Download("filelist.lst", local);
        fw::TFileStream list(local, fw::fmOpenRead | fw::fmShareDenyWrite);
        uint8_t countBytes[4];
        if (list.Read(countBytes, 4) != 4) throw bad();
        const int32_t count = static_cast<int32_t>(countBytes[0] | countBytes[1] << 8 | countBytes[2] << 16 |
                                                   static_cast<uint32_t>(countBytes[3]) << 24);
        for (int32_t i = 0; i < count; ++i) {
            uint8_t bytes[FileListRecord::kSize];
            if (list.Read(bytes, FileListRecord::kSize) != FileListRecord::kSize) throw bad();
            FileListRecord record;
            record.Decode(bytes);
            for (TCustomInstallFile* file : AllInstallFiles())
                if (fw::SameText(file->Name(), record.name)) {
                    file->SetUncompressedSize(record.uncompressedSize);
                    file->SetFileDate(record.fileDate);
                    file->SetFileVersion(record.version);
                }
        }
    } catch (...) {
        fw::DeleteFile(local);
        throw;
    }
    fw::DeleteFile(local);
}

// ---- Reboot, programs to start, clean-up ---------------------------------------------------------------------------

void TCustomInstall::RebootWindows() {
    bool restarted = false;
    try {
        const int platform = WindowsPlatform();
        if (platform == 1 || platform == 2) restarted = Sys().RestartWindows(platform == 2);
    } catch (const EAPIRoutines&) {
    }
    if (restarted) return;
    if (OnFailedReboot) {
        OnFailedReboot(this);
        return;
    }
    fw::HostSeam().MessageBox(TranslateEnglish("Could not reboot windows. Please manually reboot windows."),
                              fw::HostSeam().Title(), kMbOk | kMbIconStop);
}

void TCustomInstall::RunFilesAfterInstall() {
    const std::vector<TCustomInstallFile*> files = AllInstallFiles();
    for (TCustomInstallFile* file : files) {
        if (!file->RunAfterInstall()) continue;
        bool defaultAction = true;
        if (OnBeforeRunFile) OnBeforeRunFile(this, file, defaultAction);
        if (!file->RunAfterInstall() || !defaultAction) continue;
        const std::string path = file->DestPath();
        uint32_t error = 0;
        // Programs start by themselves; a document opens in the program the system associates with it.
        if (IsProgram(path))
            Sys().WinExec("\"" + path + "\"", false, error);
        else
            Sys().ShellOpen("open", path, error);
    }
}

void TCustomInstall::Cleanup() {
    if (!useLoadingProgram_ || switches_.Has(kSwitchDebug) || !switches_.Has(kSwitchCarry)) return;
    bool go = true;
    if (OnBeforeCleanup) OnBeforeCleanup(this, go);
    if (!go) return;
    const std::string dir = GetProgramDir();
    for (int i = 0; i < presetupFiles_->Count(); ++i)
        fw::DeleteFile(AddBackslash(dir) + fw::ExtractFileName(fw::Trim(presetupFiles_->Get(i))));
    const std::string batch = fw::ChangeFileExt(TempFileName(false), ".bat");
    fw::TStringList lines;
    for (const std::string& line : CleanupBatchLines(fw::ParamStr(0), dir, batch, fw::Fs().TempFolder())) lines.Add(line);
    lines.SaveToFile(batch);
    cleanupBatchFile_ = batch;
    runCleanupBatch_ = true;
}

// ---- Unfinished work ----------------------------------------------------------------------------------------------

void TCustomInstall::ClearUnfinishedWork() {
    if (InstallRecordKey().empty()) throw IEInstall(kNoRecord);
    DeleteRegTree(TRootKeys::hkLocalMachine, InstallRecordKey() + "\\Unfinished");
}

void TCustomInstall::ReadUnfinishedWork(fw::TStrings& list) {
    if (InstallRecordKey().empty()) throw IEInstall(kNoRecord);
    list.Clear();
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    if (!reg.OpenKey(InstallRecordKey() + "\\Unfinished", false)) return;
    std::vector<std::string> names;
    reg.GetValueNames(names);
    for (const std::string& name : names) list.Add(name + ";" + reg.ReadString(name));
}

std::string TCustomInstall::AfterRebootCommand() {
    const std::string main = GetMainArchiveFile();
    std::string command = "\"" + fw::ParamStr(0) + "\" -r";
    if (switches_.Has(kSwitchSelfExtract)) command += " \"-e" + fw::ExtractFileName(main) + "\"";
    command += " \"-s" + RemoveBackslash(fw::ExtractFilePath(main)) + "\"";
    if (switches_.Has(kSwitchCarry)) command += " -c";
    return command;
}

void TCustomInstall::RegisterRunOnce() {
    if (!AddRunOnce(kRunOnceName, AfterRebootCommand(), true))
        throw IEInstall("Cannot register the install to be run on reboot in the RunOnce key in the registry");
}

void TCustomInstall::FinishUnfinishedWork() {
    SetRunning(true);
    ReadInstallRecord(false);
    if (TTranslator* translator = GlobalTranslator())
        translator->SetTranslateIntoLanguage(static_cast<TQnfdLanguage>(ReadSavedLanguage()));
    fw::TStringList work;
    ReadUnfinishedWork(work);
    ClearUnfinishedWork();
    // Files are moved into place (kind 1) before the components finish their work (kind 0).
    std::vector<std::string> batches, components;
    for (int i = 0; i < work.Count(); ++i) {
        const std::string line = work.Get(i);
        int64_t kind = 0;
        if (!fw::TryStrToInt64(fw::Trim(Field(line, 2, ";")), kind))
            throw IEInstall("There is an invalid entry for the unfinished install list %s", {line});
        if (kind == 1) batches.push_back(Field(line, 1, ";"));
        if (kind == 0) components.push_back(Field(line, 1, ";"));
    }
    for (const std::string& batch : batches) RunPendingBatch(batch);
    for (const std::string& name : components) {
        const std::vector<TInstallContainer*> containers = AllContainers();
        for (TInstallContainer* c : containers)
            if (fw::SameText(c->Name(), name)) c->CompleteAfterReboot();
    }
    FinishGoodRun();
}

}  // namespace inst
