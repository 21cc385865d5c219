#include "framework/win32/threads.h"

#include <process.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "framework/win32/callback.h"
#include "framework/win32/loop_services.h"
#include "framework/win32/messages.h"
#include "framework/win32/utilwindow.h"
#include "framework/win32/winapi.h"

namespace fw {

namespace {

// One waiting Synchronize call. It lives on the worker's stack; the GUI thread must not touch it
// after setting `done`.
struct SyncRequest {
    const std::function<void()>* fn = nullptr;
    const void* owner = nullptr;
    const TThread* thread = nullptr;
    HANDLE done = nullptr;
    std::exception_ptr error;
    bool ran = false;
};

SRWLOCK g_lock = SRWLOCK_INIT;
std::deque<SyncRequest*> g_queue;
std::atomic<DWORD> g_mainThread{0};
HANDLE g_queueEvent = nullptr;  // auto-reset; set on every enqueue, waited on by WaitFor
HWND g_wakeWindow = nullptr;    // the GUI thread's receiver of WM_FW_SYNCWAKE
thread_local TThread* t_currentThread = nullptr;
// The threads whose synchronized functions are running on the GUI thread now, innermost last.
std::vector<const TThread*> g_running;

class QueueLock {
public:
    QueueLock() { AcquireSRWLockExclusive(&g_lock); }
    ~QueueLock() { ReleaseSRWLockExclusive(&g_lock); }
    QueueLock(const QueueLock&) = delete;
    QueueLock& operator=(const QueueLock&) = delete;
};

SyncRequest* PopRequest() {
    QueueLock lock;
    if (g_queue.empty()) return nullptr;
    SyncRequest* request = g_queue.front();
    g_queue.pop_front();
    return request;
}

// Runs the queued requests one by one. The lock is not held while a function runs, so a function
// that pumps messages serves the requests behind it (nested serving).
bool ServeQueue() {
    if (!IsMainThread()) return false;
    bool any = false;
    while (SyncRequest* request = PopRequest()) {
        g_running.push_back(request->thread);
        try {
            (*request->fn)();
            request->ran = true;
        } catch (...) {
            request->error = std::current_exception();
        }
        g_running.pop_back();
        any = true;
        SetEvent(request->done);
    }
    return any;
}

int ToWin32Priority(TThreadPriority priority) {
    switch (priority) {
        case TThreadPriority::tpIdle: return THREAD_PRIORITY_IDLE;
        case TThreadPriority::tpLowest: return THREAD_PRIORITY_LOWEST;
        case TThreadPriority::tpLower: return THREAD_PRIORITY_BELOW_NORMAL;
        case TThreadPriority::tpNormal: return THREAD_PRIORITY_NORMAL;
        case TThreadPriority::tpHigher: return THREAD_PRIORITY_ABOVE_NORMAL;
        case TThreadPriority::tpHighest: return THREAD_PRIORITY_HIGHEST;
        case TThreadPriority::tpTimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

}  // namespace

void InitThreads() {
    if (g_mainThread.load() != 0) return;
    g_queueEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!g_queueEvent) throw EOutOfResources("Cannot create the synchronization event");
    g_wakeWindow = AllocateHWnd([](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_FW_SYNCWAKE) {
            ServeQueue();
            return 0;
        }
        return DefWindowProcA(wnd, msg, wParam, lParam);
    });
    g_mainThread.store(GetCurrentThreadId());
    SetSynchronizeServer(&ServeQueue);
}

uint32_t MainThreadID() { return g_mainThread.load(); }

bool IsMainThread() {
    const DWORD main = g_mainThread.load();
    return main != 0 && main == GetCurrentThreadId();
}

bool Synchronize(const std::function<void()>& fn, const void* owner) {
    if (IsMainThread()) {
        fn();
        return true;
    }
    if (g_mainThread.load() == 0) throw EInvalidOperation("Synchronize called before the GUI thread is known");
    SyncRequest request;
    request.fn = &fn;
    request.owner = owner;
    request.thread = t_currentThread;
    request.done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!request.done) throw EOutOfResources("Cannot create the synchronization event");
    {
        QueueLock lock;
        g_queue.push_back(&request);
    }
    SetEvent(g_queueEvent);
    // Our own window is served by any loop that dispatches, even a system modal one; the
    // application's waker reaches loops that only wait for their own window's messages.
    PostMessageA(g_wakeWindow, WM_FW_SYNCWAKE, 0, 0);
    WakeMainThread();
    WaitForSingleObject(request.done, INFINITE);
    CloseHandle(request.done);
    if (request.error) std::rethrow_exception(request.error);
    return request.ran;
}

void RemoveQueuedEvents(const void* owner) {
    if (!owner) return;
    QueueLock lock;
    for (auto it = g_queue.begin(); it != g_queue.end();) {
        SyncRequest* request = *it;
        if (request->owner == owner || request->thread == owner) {
            it = g_queue.erase(it);
            SetEvent(request->done);  // the caller returns without the function having run
        } else {
            ++it;
        }
    }
}

int QueuedSynchronizeCount() {
    QueueLock lock;
    return static_cast<int>(g_queue.size());
}

void RegisterThreadClasses() {
    RegisterEnum<TThreadPriority>(
        {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"},
        "TThreadPriority");
}

// ---- TThread ---------------------------------------------------------------------------------------

TThread::TThread() = default;

TThread::~TThread() {
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

void TThread::Start() {
    if (handle_) throw EInvalidOperation("Thread already started");
    InitThreads();
    unsigned id = 0;
    // Suspended until the id and priority are in place: the thread reads them (FreeOnTerminate).
    const uintptr_t h = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
    if (!h) throw EInvalidOperation("Cannot create a thread");
    handle_ = reinterpret_cast<void*>(h);
    threadId_ = id;
    if (priority_ != TThreadPriority::tpNormal)
        SetThreadPriority(static_cast<HANDLE>(handle_), ToWin32Priority(priority_));
    ResumeThread(static_cast<HANDLE>(handle_));
}

void TThread::SetPriority(TThreadPriority value) {
    priority_ = value;
    if (handle_) SetThreadPriority(static_cast<HANDLE>(handle_), ToWin32Priority(value));
}

int TThread::WaitFor() {
    if (!handle_) return returnValue_;
    if (GetCurrentThreadId() == threadId_) throw EInvalidOperation("A thread cannot wait for itself");
    HANDLE thread = static_cast<HANDLE>(handle_);
    if (IsMainThread()) {
        // The thread waits for that very call to return: waiting for it would never end.
        if (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT &&
            std::find(g_running.begin(), g_running.end(), this) != g_running.end())
            throw EInvalidOperation("Cannot wait for a thread inside its own synchronized call");
        HANDLE handles[2] = {thread, g_queueEvent};
        for (;;) {
            ServeQueue();
            const DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
            if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) break;
            if (r == WAIT_OBJECT_0 + 2) {
                // Delivers messages sent by other threads (a worker's SendMessage) without taking
                // posted ones out of the queue.
                MSG msg;
                PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
            }
        }
    }
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    return static_cast<int>(code);
}

void TThread::Synchronize(const std::function<void()>& fn) { fw::Synchronize(fn, this); }

void TThread::DoTerminate() {
    if (!OnTerminate) return;
    fw::Synchronize(
        [this] {
            // An exception of the handler belongs to the GUI thread's handler, not to a thread that
            // has finished its work.
            try {
                OnTerminate(this);
            } catch (...) {
                HandleCallbackException();
            }
        },
        this);
}

void TThread::BeforeDestruction() {
    if (handle_ && GetCurrentThreadId() != threadId_) {
        Terminate();
        WaitFor();
    }
    RemoveQueuedEvents(this);
    TObject::BeforeDestruction();
}

unsigned WINAPI TThread::ThreadProc(void* self) {
    FW_CALLBACK_BODY(0u, {
        TThread* thread = static_cast<TThread*>(self);
        t_currentThread = thread;
        // Run may free the thread (FreeOnTerminate); the exit code is ReturnValue, read before.
        const unsigned code = thread->Run();
        t_currentThread = nullptr;
        return code;
    })
}

unsigned TThread::Run() {
    // Execute runs even when Terminate came first: it checks Terminated itself, and a thread that
    // skipped its work would also skip the cleanup its owner relies on.
    try {
        Execute();
    } catch (...) {
        fatalException_ = std::current_exception();
    }
    try {
        DoTerminate();
    } catch (...) {
        // The request could not be queued (no event left); the thread still ends.
    }
    const bool freeIt = freeOnTerminate_;
    const unsigned code = static_cast<unsigned>(returnValue_);
    finished_.store(true);
    if (freeIt) Free();
    return code;
}

}  // namespace fw
