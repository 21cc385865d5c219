// TCustomInstallFile at install time: the overwrite decision, extraction beside the old file, the
// replacement (now or at the next start), the registrations and the uninstall record.
#include <memory>

#include "framework/core/format.h"
#include "framework/core/lists.h"
#include "framework/core/platform.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "installer/batch_files.h"
#include "installer/exceptions.h"
#include "installer/file_container.h"
#include "installer/install_file.h"
#include "installer/install_root.h"
#include "installer/qnfdregistry.h"
#include "installer/strutils.h"
#include "installer/system.h"
#include "installer/translator.h"
#include "installer/winqueries.h"

namespace inst {

namespace {

constexpr const char* kHelpKey = "\\SOFTWARE\\Microsoft\\Windows\\Help";
constexpr const char* kSharedDllsKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

void Inform(TCustomInstallFile* file, int code, fw::TObject* param) {
    if (TInstallContainer* c = file->Container()) c->InformationEvent(file, code, param);
}

// The first "name.1", "name.2" ... that does not exist in dir.
std::string FreeTemporaryName(const std::string& dir, const std::string& name) {
    for (int n = 1;; ++n) {
        const std::string candidate = fw::ChangeFileExt(name, "." + std::to_string(n));
        if (!fw::FileExists(AddBackslash(dir) + candidate)) return candidate;
    }
}

std::string UpperExt(const std::string& name) { return fw::UpperCase(fw::ExtractFileExt(name)); }

std::string ShortOrLong(const std::string& path) {
    const std::string s = ShortPathName(path);
    return s.empty() ? path : s;
}

}  // namespace

void TCustomInstallFile::RaiseUserAbort() { throw EAIUserAbort(); }

void AppendOrderLine(const char* fileName, const std::string& line) {
    try {
        const std::string path = AddBackslash(WindowsDir()) + fileName;
        fw::TStringList lines;
        if (fw::FileExists(path)) lines.LoadFromFile(path);
        lines.Add(line);
        lines.SaveToFile(path);
    } catch (const fw::Exception&) {
    }
}

void TCustomInstallFile::InstallChildren() {
    inUse_ = false;
    willCopy_ = false;
    extractedAs_.clear();
    Inform(this, kInfoInstallStarts, this);
    try {
        if (OnBeforeInstall) OnBeforeInstall(this);
    } catch (const fw::EAbort&) {
        Inform(this, kInfoSkippedByHandler, this);
        return;
    }
    if (DestinationDir().empty()) throw IECustomInstallFile(kBlankDestination, {Name()});
    const std::string dest = DestPath();
    existed_ = fw::FileExists(dest);
    const int answer = IsFileNewer(fileVersion_, dest, overwriteMode_, fileDate_);
    bool copy = answer == kCannotCompare || answer == kSourceNewer;
    if (copy) {
        try {
            PrepareReplace();
        } catch (const fw::EAbort&) {
            copy = false;
            willCopy_ = false;
        }
    }
    if (!copy) {
        Inform(this, kInfoKeptExisting, this);
        AfterInstallSteps();
        if (OnAfterInstall) OnAfterInstall(this);
        Inform(this, kInfoInstalled, this);
        TInstallContainer::InstallChildren();
        return;
    }
    InstallFile();
}

void TCustomInstallFile::PrepareReplace() {
    if (OnReplacing) OnReplacing(this);
    Broadcast(this, kNotifyReplacing, this);
    Inform(this, kInfoReplacing, this);
    willCopy_ = true;
}

void TCustomInstallFile::InstallFile() {
    std::string local;
    if (FindLocalArchive(local)) localArchive_ = local;
    const TDistributeType d = Distribution();
    const bool fromNet = d == TDistributeType::dtWeb || (d == TDistributeType::dtTraditionalNet && Net());
    std::unique_ptr<TQnfdCompress, void (*)(TQnfdCompress*)> own(nullptr, [](TQnfdCompress* c) { c->Free(); });
    TQnfdCompress* archive = nullptr;
    if (fromNet) {
        if (HasOwnArchive()) {
            Download();
        } else if (auto* c = dynamic_cast<TFileRelated*>(Container()); c && !c->IsDownloaded()) {
            c->Download();
        }
    } else {
        TInstallRoot* root = InstallComponent();
        if (root && fw::SameText(fw::Trim(GetArchivePath()), fw::Trim(root->GetArchivePath())))
            archive = &SharedArchive();
    }
    if (!archive) {
        own.reset(fw::Make<TQnfdCompress>(nullptr));
        archive = own.get();
    }
    Extract(*archive);
}

void TCustomInstallFile::Extract(TQnfdCompress& archive) {
    AppendOrderLine("QnfdInstallOrder.txt", fw::Format("CompName: %s, File: %s", {Name(), fileName_}));
    state_ = TInstallFileState::ifsInstall;
    statusKind_ = TInstallFileState::ifsInstall;
    const std::string dir = DestinationDir();
    fw::ForceDirectories(dir);
    const std::string archivePath = fw::Trim(GetArchivePath());
    if (archivePath.empty()) throw IECustomInstallFile(kBlankArchive, {fileName_});
    // The new file comes out beside the old one and replaces it only when it is complete.
    const std::string temporary = FreeTemporaryName(dir, destName_);
    const std::string temporaryPath = AddBackslash(dir) + temporary;
    archive.SetCompressedFile(archivePath);
    archive.SetExtractDirectory(dir);
    archive.SetExtractFileAs(temporary);
    archive.SetOverwrite(overwriteMode_);
    AttachArchive(archive);
    fw::TStringList files;
    files.Add(SourcePath());
    archive.SetFilesToProcess(&files);
    try {
        archive.ExtractAll();
        if (!fw::FileExists(temporaryPath))
            throw IECustomInstallFile("The file %s did not come out of the archive %s", {fileName_, archivePath});
        ReplaceDestination(temporaryPath);
        AfterInstallSteps();
        if (OnAfterInstall) OnAfterInstall(this);
        Inform(this, kInfoInstalled, this);
        TInstallContainer::InstallChildren();
    } catch (...) {
        DetachArchive(archive);
        if (!inUse_) fw::DeleteFile(temporaryPath);
        if (archive.Abort()) SharedArchive().SetAbort(true);
        state_ = TInstallFileState::ifsNone;
        throw;
    }
    DetachArchive(archive);
    if (archive.Abort()) SharedArchive().SetAbort(true);
    try {
        Broadcast(this, kNotifyOperationEnded, nullptr);
    } catch (...) {
        SharedArchive().SetAbort(true);
        state_ = TInstallFileState::ifsNone;
        throw;
    }
    state_ = TInstallFileState::ifsNone;
}

void TCustomInstallFile::ReplaceDestination(const std::string& temporaryPath) {
    const std::string dest = DestPath();
    if (fw::FileExists(dest) && !fw::DeleteFile(dest)) {
        ScheduleReplace(temporaryPath);
        return;
    }
    if (!fw::RenameFile(temporaryPath, dest))
        throw IECustomInstallFile("Cannot move the file %s to %s", {temporaryPath, dest});
}

void TCustomInstallFile::ScheduleReplace(const std::string& temporaryPath) {
    inUse_ = true;
    extractedAs_ = fw::ExtractFileName(temporaryPath);
    const std::string dest = DestPath();
    const std::string shortOld = ShortOrLong(dest);
    const std::string shortNew = ShortOrLong(temporaryPath);
    TInstallRoot* root = InstallComponent();
    if (WindowsPlatform() == 1) {
        // The system renames what WININIT.INI lists when it next starts.
        fw::Profiles().WriteString(AddBackslash(WindowsDir()) + "WININIT.INI", "Rename", shortOld, shortNew);
        fw::Profiles().Flush(AddBackslash(WindowsDir()) + "WININIT.INI");
        if (root) root->SetReboot(true);
        return;
    }
    if (root) root->SetReboot(true);
    if (Sys().MoveFileAtReboot(temporaryPath, dest) || !root) return;
    const std::string batch = fw::ChangeFileExt(TempFileName(false), ".bat");
    fw::TStringList lines;
    for (const std::string& line : ReplaceBatchLines(dest, temporaryPath)) lines.Add(line);
    lines.SaveToFile(batch);
    root->AddUnfinishedWork(batch, 1);
    if (!AddRunOnce(kBatchRunOnceName, "\"" + batch + "\"", true))
        throw IECustomInstallFile(
            "%s cannot register a routine in the register to move the files after the computer is reboot",
            {Name(), batch});
}

void TCustomInstallFile::AfterInstallSteps() {
    if (registerAsHelp_) WriteRegString(TRootKeys::hkLocalMachine, kHelpKey, fw::UpperCase(destName_), DestinationDir());
    if (updateDLLCounter_ && !UpdateSharedDLLCount())
        throw IECustomInstallFile("Cannot update the DLL count for the following file :%s:", {fileName_});
    TInstallRoot* root = InstallComponent();
    if (inUse_ && root) {
        root->AddUnfinishedWork(Name(), 0);
    } else if (activeX_) {
        try {
            SelfRegister();
        } catch (const fw::Exception&) {
            if (!root || !root->Running()) throw;
            FailedRegistrations().push_back(this);
        }
    }
}

bool TCustomInstallFile::UpdateSharedDLLCount() {
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    bool opened = false;
    try {
        opened = reg.OpenKey(kSharedDllsKey, true);
    } catch (const fw::Exception&) {
    }
    if (!opened)
        throw IECustomInstallFile(
            "Could not open the key SharedDLLs key in the registry. File component %s. GetLastError return: %d",
            {Name(), fw::Fs().LastError()});
    const std::string path = DestPath();
    const std::string shortPath = ShortPathName(path);
    auto count = [&](const std::string& name) {
        try {
            return reg.GetDataType(name) == fw::TRegDataType::rdInteger ? reg.ReadInteger(name) : 0;
        } catch (const fw::Exception&) {
            return 0;
        }
    };
    if (!shortPath.empty() && reg.ValueExists(shortPath))
        reg.WriteInteger(shortPath, count(shortPath) + 1);
    else
        reg.WriteInteger(path, count(path) + 1);
    return true;
}

void TCustomInstallFile::SelfRegister() {
    if (UpperExt(fileName_) != ".EXE")
        RegisterDLLServer();
    else
        RegisterEXEServer();
}

namespace {

// Runs a registration in the destination folder (the file must be there) and returns to the current
// folder afterwards.
template <class Body>
void InDestination(const std::string& name, const std::string& dir, const std::string& path, Body body) {
    if (dir.empty() || !fw::FileExists(path)) throw IECustomInstallFile(kBlankDestination, {name});
    const std::string saved = fw::GetCurrentDir();
    fw::SetCurrentDir(dir);
    try {
        body();
    } catch (...) {
        fw::SetCurrentDir(saved);
        throw;
    }
    fw::SetCurrentDir(saved);
}

}  // namespace

void TCustomInstallFile::RegisterDLLServer() {
    const std::string path = DestPath();
    InDestination(Name(), DestinationDir(), path, [&] {
        long result = 0;
        uint32_t error = 0;
        switch (Sys().RegisterServer(path, result, error)) {
            case InstallSystem::DllRegister::Ok:
                return;
            case InstallSystem::DllRegister::LoadFailed:
                throw IECustomInstallFile(
                    "Could not register the ActiveX component, %s, because the LoadLibrary(%s) procedure returned a "
                    "value of 0. The file component is %s. The following value is the value of the GetLastError "
                    "function: %d",
                    {path, path, Name(), error});
            case InstallSystem::DllRegister::NoEntryPoint:
                throw IECustomInstallFile(
                    "Could not register the ActiveX component, %s, because the DllRegisterServer function could not "
                    "be found. The file component is %s. The following value is the value of the GetLastError "
                    "function: %d",
                    {path, Name(), error});
            case InstallSystem::DllRegister::Failed:
                throw IECustomInstallFile(
                    "Could not register the ActiveX component, %s, because the DllRegisterServer function returned a "
                    "value of %d. The file component is %s",
                    {path, result, Name()});
        }
    });
}

void TCustomInstallFile::RegisterEXEServer() {
    const std::string path = DestPath();
    InDestination(Name(), DestinationDir(), path, [&] {
        // Quoted: a path with blanks must not start another program.
        const std::string command = "\"" + path + "\" /REGSERVER";
        uint32_t error = 0;
        if (Sys().WinExec(command, true, error) < 32)
            throw IECustomInstallFile(
                "Could not register the ActiveX component, %s, because the WinExec(%s,SW_HIDE) function returned a "
                "value < 32. The file component is %s. The following value is the value of the GetLastError "
                "function: %d",
                {path, command, Name(), error});
    });
}

void TCustomInstallFile::CompleteAfterReboot() {
    if (activeX_) SelfRegister();
}

namespace {

// Adds value as the next "File"n of subkey (made when missing); false when the key cannot be opened.
bool AddNumberedFile(const std::string& subkey, const std::string& value) {
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    if (!reg.OpenKey(subkey, true)) return false;
    const int n = (reg.ValueExists("Entries") ? fw::StrToIntDef(reg.ReadString("Entries"), 0) : 0) + 1;
    reg.WriteString("File" + std::to_string(n), value);
    reg.WriteString("Entries", std::to_string(n));
    return true;
}

}  // namespace

void AddUninstallFileEntry(const std::string& key, const std::string& path) {
    // A key of the series that cannot be read or written moves the entry on to the next one.
    for (int i = 0; i < TCustomInstallFile::kMaxFilesKeys; ++i) {
        const std::string subkey = key + "\\Files" + (i == 0 ? std::string() : std::to_string(i));
        try {
            if (AddNumberedFile(subkey, path)) return;
        } catch (const fw::Exception&) {
        }
    }
    throw IECustomInstallFile("Cannot write the uninstall entry of %s: none of %d keys under %s could take it",
                              {path, TCustomInstallFile::kMaxFilesKeys, key});
}

void TCustomInstallFile::WriteUninstallInfo(const std::string& key) {
    const std::string path = DestPath();
    if (activeX_) {
        const std::string value = path + (UpperExt(path) == ".EXE" ? ";1" : ";0");
        try {
            if (AddNumberedFile(key + "\\ActiveX", value)) return;
        } catch (const fw::Exception&) {
        }
        throw IECustomInstallFile("Cannot write the uninstall entry of %s under %s", {path, key + "\\ActiveX"});
    }
    AddUninstallFileEntry(key, path);
}

}  // namespace inst
