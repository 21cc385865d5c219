// Worker threads and the Synchronize queue that hands work to the GUI thread.
//
//   class TSearch : public fw::TThread {
//   protected:
//       void Execute() override {
//           while (!Terminated()) Synchronize([this] { ShowProgress(); });
//       }
//   };
//   auto* t = new TSearch;   // constructed; Start() runs Execute on the new thread
//   t->Start();
//   ...
//   t->Free();               // Terminate, WaitFor (serving Synchronize meanwhile), then delete
//
// Execute cannot start from the base constructor (the derived part would not exist yet), so a thread
// runs once Start() is called; there is no Suspend/Resume. Synchronize blocks the worker until the GUI
// thread has run the function; an exception of the function is raised again in the worker. The GUI
// thread serves the queue in every loop (fw::ServeSynchronize), in WaitFor, and from a hidden window
// that every enqueue posts to, so requests are served even inside a system modal loop.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace fw {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Records the calling thread as the GUI thread and installs the Synchronize server and its wake-up
// window. Harmless when called again. The first TThread::Start calls it too, so the program's start
// (or the GUI thread starting the first worker) must come before any worker starts another thread.
void InitThreads();
// The GUI thread's id (0 before InitThreads).
uint32_t MainThreadID();
bool IsMainThread();

// Runs `fn` on the GUI thread and waits for it (directly when called on the GUI thread). `owner` tags
// the request for RemoveQueuedEvents. Raises the function's exception again in the caller, and
// EInvalidOperation before InitThreads. Returns false when the request was dropped by
// RemoveQueuedEvents before it ran.
bool Synchronize(const std::function<void()>& fn, const void* owner = nullptr);
// Drops the queued (not yet running) requests tagged with `owner` or made by the thread `owner`; their
// callers return from Synchronize without the function having run. Callable from any thread.
void RemoveQueuedEvents(const void* owner);
// Requests waiting in the queue (for tests and diagnostics).
int QueuedSynchronizeCount();

// Registers the enumeration TThreadPriority, which components publish.
void RegisterThreadClasses();

class TThread : public TObject {
public:
    TThread();

    // Starts Execute on a new thread. Once only; raises EInvalidOperation when the system refuses.
    void Start();
    bool Started() const { return handle_ != nullptr; }

    void Terminate() { terminated_.store(true); }
    bool Terminated() const { return terminated_.load(); }
    // Execute has returned and OnTerminate has run.
    bool Finished() const { return finished_.load(); }

    // Waits until the thread has ended and returns ReturnValue. On the GUI thread it serves Synchronize
    // and sent messages while it waits, so a worker blocked in Synchronize still finishes. Not for a
    // FreeOnTerminate thread, which may be gone by then. Raises EInvalidOperation instead of
    // deadlocking when called (or freed) from inside one of the thread's own synchronized calls.
    int WaitFor();

    bool FreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }

    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority value);

    int ReturnValue() const { return returnValue_; }
    void SetReturnValue(int value) { returnValue_ = value; }

    // The exception that ended Execute, or null.
    std::exception_ptr FatalException() const { return fatalException_; }

    void* Handle() const { return handle_; }
    uint32_t ThreadID() const { return threadId_; }

    // Runs on the GUI thread (through Synchronize) after Execute has returned.
    TNotifyEvent OnTerminate;

protected:
    // Free() from another thread than this one terminates and waits for it first; from inside the
    // thread (FreeOnTerminate) it only lets go of the handle.
    void BeforeDestruction() override;
    ~TThread() override;

    virtual void Execute() = 0;
    virtual void DoTerminate();

    // Synchronize tagged with this thread.
    void Synchronize(const std::function<void()>& fn);
    template <class C>
    void Synchronize(C* object, void (C::*method)()) {
        fw::Synchronize([object, method] { (object->*method)(); }, object);
    }

private:
    static unsigned __stdcall ThreadProc(void* self);
    unsigned Run();

    void* handle_ = nullptr;
    uint32_t threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool freeOnTerminate_ = false;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    int returnValue_ = 0;
    std::exception_ptr fatalException_;
};

}  // namespace fw
