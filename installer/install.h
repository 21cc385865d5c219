// TCustomInstall (published as TInstall): the install component, root of the install tree and the one
// component the setup program runs from. At load time it reads the command line and picks the mode of
// this start:
//   -b   build the distributable files (install_build.cpp), then end the program;
//   -f   copy a self-extracting installation onto floppy disks, then end;
//   -r   finish the work a reboot was waited for (install_run.cpp);
//   else hook the main form, whose first activation starts the install run (install_run.cpp).
// While a run is going on, every exception that reaches the application's handler comes back to
// HandleException, which turns it into the bad-install path.
//
// The application and the main form are reached through the InstallHost seam (install_host.h).
#pragma once

#include <string>

#include "framework/core/event.h"
#include "framework/core/lists.h"
#include "installer/command_line.h"
#include "installer/extraction_record.h"
#include "installer/install_root.h"

namespace fw {
class TFiler;
}

namespace inst {

// Build settings. Nothing but the uninstall program component (AddUninstallOnCreate) reads them: the
// build takes its directory from BUILD.INF.
class TBuildInfo : public fw::TPersistent {
public:
    bool AddUninstallOnCreate = true;
    std::string AppName;
    std::string AppURL;
    std::string BuildDirectory = "c:\\build";
    std::string CredentialsFile;
    std::string OCXName = "qwsetup";
    std::string PrivateKeyFile;
    bool SignCode = false;
    std::string URLPath;
    void Assign(fw::TPersistent* source) override;
};

// The side picture of the wizard pages: a BMP file's bytes ("Data" in form text). By default the
// program's resource "INSTALLTHEME1", 117 x 290 pixels.
class TThemeBitmap : public fw::TPersistent {
public:
    static constexpr int kWidth = 117, kHeight = 290;
    static constexpr const char* kResource = "INSTALLTHEME1";

    const std::string& Data() const { return data_; }
    void SetData(const std::string& bytes) { data_ = bytes; }
    bool Empty() const { return data_.empty(); }
    // Loads the default picture (none natively unless an RCDATA folder holds one).
    void LoadDefault();
    void Assign(fw::TPersistent* source) override;
    void DefineProperties(fw::TFiler& filer) override;

private:
    std::string data_;
};

class TCustomInstallFile;

using TQuitQueryEvent = fw::Event<void(fw::TObject* Sender, bool& QuitOut)>;
using TContinueEvent = fw::Event<void(fw::TObject* Sender, bool& Continue)>;
using TBeforeRunFileEvent = fw::Event<void(fw::TObject* Sender, TCustomInstallFile* File, bool& DefaultAction)>;

class TCustomInstall : public TInstallRoot {
public:
    // The status texts of the passes after the file tree, in the order they run.
    struct Pass {
        int order;
        const char* text;
    };
    static const Pass kPasses[8];

    explicit TCustomInstall(fw::TComponent* owner);

    void Loaded() override;

    // ---- published properties ---------------------------------------------------------------------
    bool AutoMaximizeWindow() const { return autoMaximizeWindow_; }
    void SetAutoMaximizeWindow(bool v);
    TBuildInfo* BuildInfo() const { return buildInfo_; }
    void SetBuildInfo(TBuildInfo* v) { buildInfo_->Assign(v); }
    TThemeBitmap* DialogThemeBitmap() const { return theme_; }
    void SetDialogThemeBitmap(TThemeBitmap* v) { theme_->Assign(v); }
    bool HideMainForm() const { return hideMainForm_; }
    void SetHideMainForm(bool v);
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& v) { password_ = v; }
    int PasswordTries() const { return passwordTries_; }
    void SetPasswordTries(int v) { passwordTries_ = v < 1 ? 1 : v; }
    fw::TStringList* PresetupFiles() const { return presetupFiles_; }
    // Entries blank after trimming are dropped (from the given list too) before the copy.
    void SetPresetupFiles(fw::TStringList* v);
    bool RunAutomatic() const { return runAutomatic_; }
    void SetRunAutomatic(bool v) { runAutomatic_ = v; }
    bool UseLoadingProgram() const { return useLoadingProgram_; }
    void SetUseLoadingProgram(bool v);
    // Only while the form loads; a net distribution needs a net location.
    void SetDistributeType(TDistributeType v) override;
    void SetNetLocation(TCustomNetInstallLocation* value) override;

    fw::TNotifyEvent OnAfterInitialized, OnAfterNotifyBadInstall, OnAfterNotifyGoodInstall, OnAfterReadArchiveInfo,
        OnBeforeNotifyBadInstall, OnBeforeNotifyGoodInstall, OnBeforeReadArchiveInfo, OnFailedReboot;
    TQuitQueryEvent OnBeforeShutdown, OnUserAbort;
    TContinueEvent OnBeforeCleanup, OnBeforeReboot;
    TBeforeRunFileEvent OnBeforeRunFile;

    // ---- state --------------------------------------------------------------------------------------
    bool Activated() const { return activated_; }
    bool Aborted() const { return aborted_; }
    const CommandLineSwitches& Switches() const { return switches_; }
    const std::string& CleanupBatchFile() const { return cleanupBatchFile_; }
    bool RunCleanupBatch() const { return runCleanupBatch_; }
    fw::TComponent* MainFormRef() const { return mainForm_; }

    // ---- start-up -----------------------------------------------------------------------------------
    // Reads the program's arguments into Switches.
    void ParseCommandLine();
    // The main form's activation handler while the component is hooked.
    void HandleFormActivate(fw::TObject* sender);
    // The application's exception handler while the program runs.
    void HandleException(fw::Exception& e);
    // OnUserAbort with QuitOut preset to true; its answer.
    bool UserAbortQuery();
    // OnBeforeShutdown with QuitOut preset to true; ends the application when it stays true. Returns
    // whether the program goes on.
    bool ShutdownQuery();
    // The main archive (the self-extracting file with -e), whose directory the after-reboot start uses.
    std::string GetMainArchiveFile();
    // The directory of the program's own file, without trailing backslash.
    static std::string GetProgramDir();
    // The extraction record at the end of a self-extracting file (IEInstall when it cannot be read).
    static ExtractionRecord ReadExtractionInfo(const std::string& fileName);
    // Points the shared archive at files.1 inside the self-extracting file.
    void ApplyExtractionOffset();

    // ---- the run (install_run.cpp) -------------------------------------------------------------------
    virtual void RunInstall();
    virtual void FinishUnfinishedWork();
    void InstallObjectsOfOrder(int pass, const std::string& text);
    void NotifyGoodInstall();
    void NotifyBadInstall();
    void RebootWindows();
    void RunFilesAfterInstall();
    void Cleanup();
    void ClearUnfinishedWork();
    void ReadUnfinishedWork(fw::TStrings& list);
    void RegisterRunOnce();
    // The command line the run after the reboot is started with.
    std::string AfterRebootCommand();
    // Sizes, dates and versions from the archive (and the remote file list), once per program run.
    void ReadArchiveInfo();
    void ReadInfoFromArchive() override;

    // ---- build mode and floppies (install_build.cpp) ------------------------------------------------------
    void BuildFromBuildInf();
    virtual void Build(const std::string& programPath, const std::string& buildDir, bool makeSelfExtractor);
    void PrepareSetupFiles(const std::string& buildDir, const std::string& programPath);
    virtual void CompressSetupArchive(const std::string& buildDir, const std::string& programPath);
    void WriteRemoteFileList();
    void BuildSelfExtractingFile(const std::string& setupExe, const std::string& setup1, const std::string& files1);
    void TransferToFloppies(const std::string& drive);

protected:
    ~TCustomInstall() override;
    void BeforeDestruction() override;
    // The net location going away leaves a traditional distribution.
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    void DispatchMode();
    void HookMainForm();
    void UnhookMainForm();
    void FinishGoodRun();
    void ReadRemoteFileList();
    // The new-disk answer of the floppy transfer.
    void FloppyNewDisk(fw::TObject* sender, int disk, std::string& path);
    void FloppyStatus(fw::TObject* sender, const TlzhFileStats& stats);

    bool activated_ = false;
    std::string cleanupBatchFile_;
    fw::TNotifyEvent savedOnActivate_;
    bool hooked_ = false;
    bool runCleanupBatch_ = false;
    fw::TComponent* mainForm_ = nullptr;
    bool aborted_ = false;
    bool autoMaximizeWindow_ = true;
    TBuildInfo* buildInfo_;
    TThemeBitmap* theme_;
    bool hideMainForm_ = false;
    std::string password_;
    int passwordTries_ = 3;
    fw::TStringList* presetupFiles_;
    bool runAutomatic_ = true;
    bool useLoadingProgram_ = true;
    CommandLineSwitches switches_;
    bool archiveInfoRead_ = false;
};

class TInstall : public TCustomInstall {
public:
    explicit TInstall(fw::TComponent* owner) : TCustomInstall(owner) {}
};

}  // namespace inst
