// TDirMon watches one folder for changes and tells its owner on the GUI thread.
//
// A worker thread waits on the folder's change notification and on a stop mutex that the GUI thread
// owns from Start to Stop. The worker only waits and posts: a change posts 0x401 to the monitor's
// hidden window, which raises OnDirChange; a notification that cannot be opened posts 0x402, and the
// GUI thread shows "FindFirstChangeNotification() failed". Stop releases the mutex and waits for the
// worker, which takes at most one pass of its loop, so Stop never waits on a box or a handler.
//
// Start and Stop must run on one thread: the mutex belongs to the thread that called Start.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "framework/win32/winapi.h"

namespace uis {

enum class TDirMonValue { dmcFileName, dmcDirName, dmcAttributes, dmcSize, dmcLastWrite, dmcSecurity };
using TDirMonType = fw::Set<TDirMonValue>;

// The change-notification filter word of a set (dmcSecurity is 0x100), and back.
uint32_t DirMonFilterWord(TDirMonType kinds);
TDirMonType DirMonKinds(uint32_t filter);

// The private messages of the hidden window.
constexpr UINT kDirMonChanged = WM_USER + 1;  // 0x401
constexpr UINT kDirMonFailed = WM_USER + 2;   // 0x402: wParam the worker's run, lParam the error code

class TDirMon : public fw::TComponent {
public:
    explicit TDirMon(fw::TComponent* owner);

    // Writing a different value restarts the monitor on it (or stops it for ""): a path longer than
    // three characters loses one trailing "\".
    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& value);
    TDirMonType NotifyFilter() const { return DirMonKinds(filter_); }
    // Raises "Unable to change NotifyFilter when DirMon is running" while a worker runs.
    void SetNotifyFilter(TDirMonType value);
    bool Nested() const { return nested_; }
    void SetNested(bool value) { nested_ = value; }

    // Starts a worker on Directory; nothing when one runs or Directory is empty. Raises
    // "CreateMutex failed", "CreateThread failed", or for a folder longer than the worker's path
    // buffer (263 characters) "Directory too long for DirMon".
    void Start();
    // Ends the worker; raises "DirMon not started" when none runs.
    void Stop();
    // A worker was started and not yet stopped (also when it ended by itself after a failure).
    bool Running() const { return thread_ != nullptr; }
    // The worker thread's id (0 when none), and the hidden window (for tests).
    DWORD WorkerThreadId() const { return threadId_; }
    HWND WindowHandle() const { return window_; }

    fw::TNotifyEvent OnDirChange;
    fw::TNotifyEvent OnStart;
    fw::TNotifyEvent OnStop;

    // How the failure of the worker is shown (tests replace it): the text and caption of the box.
    using FailureSink = void (*)(TDirMon* monitor, const std::string& text, const std::string& caption);
    static void SetFailureSink(FailureSink sink);

protected:
    ~TDirMon() override;
    virtual void DoDirChange();
    virtual void DoStart();
    virtual void DoStop();

private:
    struct Block;
    static DWORD WINAPI Worker(void* argument);
    LRESULT WindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    // Releases the mutex, waits for the worker and frees what it used.
    void EndWorker();

    std::string directory_;
    uint32_t filter_ = 0x0001;
    bool nested_ = false;
    HWND window_ = nullptr;
    HANDLE mutex_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    std::unique_ptr<Block> block_;
    unsigned run_ = 0;  // counts workers, so a late failure of an ended one is not shown
};

// Registers TDirMonValue, TDirMonType and TDirMon. Calling it again is harmless.
void RegisterDirMonClass();

}  // namespace uis
