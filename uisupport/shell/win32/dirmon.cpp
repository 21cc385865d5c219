#include "uisupport/shell/win32/dirmon.h"

#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/utilwindow.h"
#include "uisupport/shell/shellnames.h"

namespace uis {
namespace {

struct FilterBit {
    TDirMonValue kind;
    uint32_t bit;
};
constexpr FilterBit kFilterBits[] = {
    {TDirMonValue::dmcFileName, 0x0001},  {TDirMonValue::dmcDirName, 0x0002}, {TDirMonValue::dmcAttributes, 0x0004},
    {TDirMonValue::dmcSize, 0x0008},      {TDirMonValue::dmcLastWrite, 0x0010},
    {TDirMonValue::dmcSecurity, 0x0100},  // FILE_NOTIFY_CHANGE_SECURITY, not the next bit up
};

void ShowFailure(TDirMon*, const std::string& text, const std::string& caption) {
    if (fw::Application) fw::Application->MessageBox(text, caption, MB_OK);
}

TDirMon::FailureSink g_failureSink = &ShowFailure;

}  // namespace

// What the worker reads; it never touches the component. Freed only after the worker ended.
struct TDirMon::Block {
    HWND window = nullptr;
    HANDLE mutex = nullptr;
    char path[264] = {};
    uint32_t filter = 0;
    bool nested = false;
    unsigned run = 0;
};

uint32_t DirMonFilterWord(TDirMonType kinds) {
    uint32_t word = 0;
    for (const FilterBit& f : kFilterBits)
        if (kinds.Contains(f.kind)) word |= f.bit;
    return word;
}

TDirMonType DirMonKinds(uint32_t filter) {
    TDirMonType kinds;
    for (const FilterBit& f : kFilterBits)
        if (filter & f.bit) kinds.Include(f.kind);
    return kinds;
}

void TDirMon::SetFailureSink(FailureSink sink) { g_failureSink = sink ? sink : &ShowFailure; }

TDirMon::TDirMon(fw::TComponent* owner) : TComponent(owner) {
    window_ = fw::AllocateHWnd([this](HWND h, UINT msg, WPARAM w, LPARAM l) { return WindowMessage(h, msg, w, l); });
}

TDirMon::~TDirMon() {
    // No OnStop: the owner is going too.
    if (Running()) EndWorker();
    fw::DeallocateHWnd(window_);
}

LRESULT TDirMon::WindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kDirMonChanged) {
        DoDirChange();
        return 0;
    }
    if (msg == kDirMonFailed) {
        if (Running() && static_cast<unsigned>(wParam) == run_)
            g_failureSink(this, "FindFirstChangeNotification() failed", "Warning");
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

void TDirMon::SetDirectory(const std::string& value) {
    const std::string path = MonitorDirectory(value);
    if (path == directory_) return;
    if (Running()) Stop();
    directory_ = path;
    Start();
}

void TDirMon::SetNotifyFilter(TDirMonType value) {
    if (Running()) throw fw::Exception("Unable to change NotifyFilter when DirMon is running");
    filter_ = DirMonFilterWord(value);
}

void TDirMon::Start() {
    if (Running() || directory_.empty()) return;
    auto block = std::make_unique<Block>();
    if (directory_.size() >= sizeof block->path) throw fw::Exception("Directory too long for DirMon: " + directory_);
    mutex_ = CreateMutexA(nullptr, FALSE, nullptr);
    if (!mutex_) throw fw::Exception("CreateMutex failed");
    // Owned by this thread from now on: the worker gets it only once Stop releases it.
    WaitForSingleObject(mutex_, INFINITE);
    block->window = window_;
    block->mutex = mutex_;
    std::memcpy(block->path, directory_.c_str(), directory_.size() + 1);
    block->filter = filter_;
    block->nested = nested_;
    block->run = ++run_;
    thread_ = CreateThread(nullptr, 0, &TDirMon::Worker, block.get(), 0, &threadId_);
    if (!thread_) {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
        mutex_ = nullptr;
        threadId_ = 0;
        throw fw::Exception("CreateThread failed");
    }
    block_ = std::move(block);
    DoStart();
}

void TDirMon::Stop() {
    if (!Running()) throw fw::Exception("DirMon not started");
    EndWorker();
    DoStop();
}

void TDirMon::EndWorker() {
    ReleaseMutex(mutex_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    threadId_ = 0;
    CloseHandle(mutex_);
    mutex_ = nullptr;
    block_.reset();
}

DWORD WINAPI TDirMon::Worker(void* argument) {
    FW_CALLBACK_BODY(static_cast<DWORD>(1), {
        auto* block = static_cast<Block*>(argument);
        if (!block) return static_cast<DWORD>(1);
        HANDLE change = FindFirstChangeNotificationA(block->path, block->nested ? TRUE : FALSE, block->filter);
        if (change == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            // The GUI thread shows the failure; a box here could hold up Stop.
            PostMessageA(block->window, kDirMonFailed, block->run, static_cast<LPARAM>(error));
            return error;
        }
        const HANDLE handles[2] = {change, block->mutex};
        for (;;) {
            const DWORD wait = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            if (wait == WAIT_OBJECT_0) {
                PostMessageA(block->window, kDirMonChanged, 0, 0);
                if (!FindNextChangeNotification(change)) {
                    const DWORD error = GetLastError();
                    FindCloseChangeNotification(change);
                    return error;
                }
            } else if (wait == WAIT_OBJECT_0 + 1 || wait == WAIT_ABANDONED_0 + 1) {
                break;
            } else if (wait == WAIT_FAILED) {
                // Waiting again would spin; end as a failed re-arm does.
                const DWORD error = GetLastError();
                FindCloseChangeNotification(change);
                return error;
            }
        }
        FindCloseChangeNotification(change);
        ReleaseMutex(block->mutex);
        return static_cast<DWORD>(0);
    })
}

void TDirMon::DoDirChange() {
    if (!OnDirChange) return;
    try {
        OnDirChange(this);
    } catch (...) {
        // A failing handler must not stop the monitoring.
    }
}

void TDirMon::DoStart() {
    if (OnStart) OnStart(this);
}

void TDirMon::DoStop() {
    if (OnStop) OnStop(this);
}

void RegisterDirMonClass() {
    fw::RegisterEnum<TDirMonValue>({"dmcFileName", "dmcDirName", "dmcAttributes", "dmcSize", "dmcLastWrite", "dmcSecurity"},
                                   "TDirMonValue");
    fw::Class<TDirMon, fw::TComponent>("TDirMon")
        .Prop("Directory", &TDirMon::Directory, &TDirMon::SetDirectory)
        .Prop("NotifyFilter", &TDirMon::NotifyFilter, &TDirMon::SetNotifyFilter)
        .Prop("Nested", &TDirMon::Nested, &TDirMon::SetNested)
        .Event("OnDirChange", &TDirMon::OnDirChange)
        .Event("OnStart", &TDirMon::OnStart)
        .Event("OnStop", &TDirMon::OnStop);
}

}  // namespace uis
