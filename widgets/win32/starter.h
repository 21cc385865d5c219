// TKVXStarter: opens, prints or explores a file through the shell, optionally waits for the started
// process, reports its end through OnFinished (a 500 ms poll on the suite's timer pool), and can
// start at a fixed date and time (AutoStart checks once a second).
#pragma once

#include <cstdint>
#include <string>

#include "framework/win32/winapi.h"
#include "widgets/datetimevalue.h"
#include "widgets/kvxclass.h"

namespace kvx::win32 {

enum class TKVXStarterOperation { smOpen, smPrint, smExplore };
enum class TKVXStarterOptions {
    soSW_HIDE,
    soSW_MAXIMIZE,
    soSW_MINIMIZE,
    soSW_RESTORE,
    soSW_SHOW,
    soSW_SHOWMAXIMIZED,
    soSW_SHOWMINIMIZED,
    soSW_SHOWMINNOACTIVE,
    soSW_SHOWNA,
    soSW_SHOWNORMAL
};

class TKVXStarter : public TKVXComponent {
public:
    // Registers the start check on KVXApplication's pool, switched off. Raises EOutOfResources "Not
    // enough timers available" when the pool has no ident left (or the suite was not started).
    explicit TKVXStarter(TComponent* owner);

    TKVXStarterOperation StartOperation = TKVXStarterOperation::smOpen;
    TKVXStarterOptions StartOption = TKVXStarterOptions::soSW_SHOW;
    // Index 0 Command, 1 Parameters, 2 DefaultDir.
    const std::string& GetString(int index) const { return strings_[index]; }
    void SetString(int index, const std::string& value);
    const std::string& Command() const { return strings_[0]; }
    void SetCommand(const std::string& value) { SetString(0, value); }
    const std::string& Parameters() const { return strings_[1]; }
    void SetParameters(const std::string& value) { SetString(1, value); }
    const std::string& DefaultDir() const { return strings_[2]; }
    void SetDefaultDir(const std::string& value) { SetString(2, value); }
    // The shell's error code of the last failed start (2 file not found, 3 path not found, ...).
    int LastError() const { return lastError_; }
    bool AutoStart() const { return autoStart_; }
    void SetAutoStart(bool value);
    bool Wait = false;
    TKVXDateTime* StartTime() const { return startTime_; }
    void SetStartTime(TKVXDateTime* value) { startTime_->Assign(value); }
    // Polling for the started process's end.
    bool Polling() const { return pollTimer_ != 0; }

    // Starts Command. A start while the previous one is still polled replaces that poll: one
    // OnFinished per start that is still watched.
    void Execute();

    TNotifyEvent OnError;
    TNotifyEvent OnFinished;
    TNotifyEvent OnBeforeStart;
    TNotifyEvent OnAfterStart;

    // The verb for an operation and the show command for an option.
    static const char* Verb(TKVXStarterOperation operation);
    static int ShowCommand(TKVXStarterOptions option);
    // Extra SHELLEXECUTEINFO mask bits for every start (tests keep the shell's error box away).
    static void SetShellMask(unsigned long mask);

protected:
    void BeforeDestruction() override;

private:
    void StartCheck(TObject* sender);
    void Poll(TObject* sender);
    void StopPolling();
    void CloseProcess();

    std::string strings_[3];
    int lastError_ = 0;
    bool autoStart_ = false;
    TKVXDateTime* startTime_;
    uint16_t pollTimer_ = 0;
    uint16_t startTimer_ = 0;
    HANDLE process_ = nullptr;
};

}  // namespace kvx::win32
