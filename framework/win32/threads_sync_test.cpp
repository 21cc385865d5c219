// TThread and the Synchronize queue under Wine: serving from the GUI thread's loops, WaitFor against
// synchronizing workers, exceptions carried back, dropped requests, self-freeing threads.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "framework/win32/callback.h"
#include "framework/win32/loop_services.h"
#include "framework/win32/threads.h"
#include "framework/win32/utilwindow.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

// Runs the GUI thread's loop (messages and Synchronize) until `done` or the timeout.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        ServeSynchronize();
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// A worker whose Execute is a lambda given at construction.
class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : body_(std::move(body)) {}
    using TThread::Synchronize;
    // Set when the destructor runs (a self-freeing thread reports its end here).
    std::atomic<bool>* destroyed = nullptr;

protected:
    ~TLambdaThread() override {
        if (destroyed) destroyed->store(true);
    }
    void Execute() override { body_(*this); }

private:
    std::function<void(TLambdaThread&)> body_;
};

class ThreadsTest : public ::testing::Test {
protected:
    void SetUp() override { InitThreads(); }
};

TEST_F(ThreadsTest, InitMakesThisTheGuiThreadAndInstallsTheServer) {
    EXPECT_EQ(MainThreadID(), GetCurrentThreadId());
    EXPECT_TRUE(IsMainThread());
    // On the GUI thread Synchronize runs at once.
    int ran = 0;
    EXPECT_TRUE(Synchronize([&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    EXPECT_FALSE(ServeSynchronize());  // the installed server: nothing queued
}

// Three workers make many synchronized calls while the GUI thread sits in different loops: each call
// runs on the GUI thread, none is lost, and the workers end.
TEST_F(ThreadsTest, ThreeWorkersAreServedInEveryKindOfLoop) {
    struct LoopKind {
        const char* name;
        std::function<void()> oneRound;  // waits a little for input and handles it
    };
    const std::vector<LoopKind> loops = {
        {"peek and serve",
         [] {
             MSG msg;
             while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
             ServeSynchronize();
             MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
         }},
        // A loop that knows nothing of Synchronize (a system modal loop): the wake-up window serves.
        {"dispatch only",
         [] {
             MSG msg;
             while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
             MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
         }},
    };
    constexpr int kWorkers = 3;
    constexpr int kCalls = 40;
    for (const LoopKind& loop : loops) {
        SCOPED_TRACE(loop.name);
        int served = 0;  // touched only on the GUI thread
        std::atomic<int> wrongThread{0};
        std::atomic<int> finished{0};
        std::vector<TLambdaThread*> workers;
        for (int w = 0; w < kWorkers; ++w) {
            workers.push_back(new TLambdaThread([&](TLambdaThread& self) {
                for (int i = 0; i < kCalls; ++i) {
                    self.Synchronize([&] {
                        if (!IsMainThread()) ++wrongThread;
                        ++served;
                    });
                }
                ++finished;
            }));
        }
        for (TLambdaThread* t : workers) t->Start();
        const DWORD start = GetTickCount();
        while (finished.load() < kWorkers && GetTickCount() - start < 20000) loop.oneRound();
        EXPECT_EQ(finished.load(), kWorkers);
        EXPECT_EQ(served, kWorkers * kCalls);
        EXPECT_EQ(wrongThread.load(), 0);
        for (TLambdaThread* t : workers) t->Free();
    }
}

// Freeing (Terminate + WaitFor) a worker that keeps calling Synchronize: WaitFor serves the queue while
// it waits, so the worker is never left blocked and the GUI thread never deadlocks.
TEST_F(ThreadsTest, WaitForAgainstASynchronizingWorkerReturnsEveryTime) {
    constexpr int kRounds = 100;
    int served = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto* worker = new TLambdaThread([&](TLambdaThread& self) {
            while (!self.Terminated()) self.Synchronize([&] { ++served; });
            self.SetReturnValue(7);
        });
        worker->Start();
        if (round % 2 == 0) {
            // Let the worker get into Synchronize first.
            while (QueuedSynchronizeCount() == 0) Sleep(0);
        }
        worker->Terminate();
        EXPECT_EQ(worker->WaitFor(), 7) << "round " << round;
        EXPECT_TRUE(worker->Finished());
        worker->Free();
    }
    EXPECT_GE(served, kRounds / 2);
    EXPECT_EQ(QueuedSynchronizeCount(), 0);
}

// A worker waiting for another worker waits plainly; the GUI thread, waiting for the first, serves the
// second one's requests.
TEST_F(ThreadsTest, WaitForOnAWorkerAndOnTheGuiThread) {
    int served = 0;
    auto* inner = new TLambdaThread([&](TLambdaThread& self) {
        for (int i = 0; i < 5; ++i) self.Synchronize([&] { ++served; });
        self.SetReturnValue(5);
    });
    std::atomic<int> innerResult{-1};
    auto* outer = new TLambdaThread([&](TLambdaThread& self) {
        inner->Start();
        innerResult = inner->WaitFor();
        self.SetReturnValue(innerResult + 1);
    });
    outer->Start();
    EXPECT_EQ(outer->WaitFor(), 6);
    EXPECT_EQ(innerResult.load(), 5);
    EXPECT_EQ(served, 5);
    outer->Free();
    inner->Free();
}

// A worker may send a message to a GUI thread window; WaitFor delivers it.
TEST_F(ThreadsTest, WaitForDeliversMessagesSentByTheWorker) {
    constexpr UINT kPing = WM_APP + 17;
    int pings = 0;
    HWND wnd = AllocateHWnd([&](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == kPing) return ++pings * 10;
        return DefWindowProcA(h, msg, w, l);
    });
    LRESULT answer = 0;
    auto* worker = new TLambdaThread([&](TLambdaThread&) { answer = SendMessageA(wnd, kPing, 0, 0); });
    worker->Start();
    worker->WaitFor();
    worker->Free();
    DeallocateHWnd(wnd);
    EXPECT_EQ(pings, 1);
    EXPECT_EQ(answer, 10);
}

TEST_F(ThreadsTest, ExceptionOfASynchronizedFunctionReachesTheWorker) {
    std::string caught;
    bool wasConvertError = false;
    bool continued = false;
    auto* worker = new TLambdaThread([&](TLambdaThread& self) {
        try {
            self.Synchronize([] { throw EConvertError("'x' is not a valid integer value"); });
        } catch (const EConvertError& e) {
            wasConvertError = true;
            caught = e.what();
        } catch (const std::exception& e) {
            caught = e.what();
        }
        // The queue still works after the failure.
        self.Synchronize([&] { continued = true; });
    });
    worker->Start();
    worker->WaitFor();
    EXPECT_FALSE(worker->FatalException());
    worker->Free();
    EXPECT_TRUE(wasConvertError);
    EXPECT_EQ(caught, "'x' is not a valid integer value");
    EXPECT_TRUE(continued);
}

TEST_F(ThreadsTest, ExceptionOfExecuteIsKeptAsFatalException) {
    auto* worker = new TLambdaThread([](TLambdaThread&) { throw EInOutError("disk gone"); });
    worker->Start();
    worker->WaitFor();
    ASSERT_TRUE(worker->FatalException());
    try {
        std::rethrow_exception(worker->FatalException());
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "disk gone");
    } catch (...) {
        ADD_FAILURE() << "wrong exception type";
    }
    worker->Free();
}

// The method form tags the request with the object, so that object's destructor can drop it.
class TTickThread : public TThread {
public:
    int ticks = 0;  // GUI thread only
    bool onGui = true;
    void DoTick() {
        onGui = onGui && IsMainThread();
        ++ticks;
    }

protected:
    void Execute() override {
        Synchronize(this, &TTickThread::DoTick);
        Synchronize(this, &TTickThread::DoTick);
    }
};

TEST_F(ThreadsTest, MethodFormRunsOnTheGuiThread) {
    auto* worker = new TTickThread;
    worker->Start();
    worker->WaitFor();
    EXPECT_EQ(worker->ticks, 2);
    EXPECT_TRUE(worker->onGui);
    worker->Free();
}

// Requests dropped before they run release their workers without running: by the owner they were
// tagged with, and by the thread that made them.
TEST_F(ThreadsTest, RemoveQueuedEventsDropsPendingRequests) {
    int token = 0;  // stands for a component that is being destroyed
    struct Case {
        const char* name;
        bool byThread;
    };
    for (const Case c : {Case{"by owner", false}, Case{"by thread", true}}) {
        SCOPED_TRACE(c.name);
        std::atomic<int> result{-1};
        bool ran = false;
        auto* worker = new TLambdaThread([&](TLambdaThread&) {
            result = Synchronize([&] { ran = true; }, &token) ? 1 : 0;
        });
        worker->Start();
        // No loop runs here: the request waits in the queue.
        const DWORD start = GetTickCount();
        while (QueuedSynchronizeCount() == 0 && GetTickCount() - start < 10000) Sleep(1);
        ASSERT_EQ(QueuedSynchronizeCount(), 1);
        RemoveQueuedEvents(&token + 1);  // someone else's requests: nothing happens
        EXPECT_EQ(QueuedSynchronizeCount(), 1);
        RemoveQueuedEvents(c.byThread ? static_cast<const void*>(worker) : &token);
        EXPECT_EQ(QueuedSynchronizeCount(), 0);
        worker->WaitFor();
        worker->Free();
        EXPECT_EQ(result.load(), 0);
        EXPECT_FALSE(ran);
        // The wake-up message left behind finds an empty queue.
        PumpUntil([] { return false; }, 20);
        EXPECT_FALSE(ran);
    }
}

// A self-freeing thread runs OnTerminate on the GUI thread, then frees itself.
TEST_F(ThreadsTest, FreeOnTerminateThreadRunsOnTerminateThenFreesItself) {
    struct Receiver {
        bool onGuiThread = false;
        int calls = 0;
        TObject* sender = nullptr;
        void Terminated(TObject* s) {
            ++calls;
            sender = s;
            onGuiThread = IsMainThread();
        }
    } receiver;
    std::atomic<bool> destroyed{false};
    std::atomic<bool> destroyedBeforeOnTerminate{false};
    auto* worker = new TLambdaThread([&](TLambdaThread&) {});
    worker->destroyed = &destroyed;
    worker->SetFreeOnTerminate(true);
    worker->OnTerminate.Bind(&receiver, &Receiver::Terminated);
    TObject* const expectedSender = worker;
    worker->Start();
    worker = nullptr;  // may be gone any time now
    EXPECT_TRUE(PumpUntil([&] {
        if (destroyed && receiver.calls == 0) destroyedBeforeOnTerminate = true;
        return destroyed.load();
    }, 10000));
    EXPECT_FALSE(destroyedBeforeOnTerminate.load());
    EXPECT_EQ(receiver.calls, 1);
    EXPECT_TRUE(receiver.onGuiThread);
    EXPECT_EQ(receiver.sender, expectedSender);
}

// An exception in OnTerminate goes to the GUI thread's handler; the thread still ends.
TEST_F(ThreadsTest, ExceptionInOnTerminateGoesToTheHandler) {
    static std::vector<std::string> reported;
    static DWORD reportedOn = 0;
    reported.clear();
    SetCallbackExceptionHandler([](std::exception_ptr e) {
        reportedOn = GetCurrentThreadId();
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported.push_back(x.what());
        }
    });
    auto* worker = new TLambdaThread([](TLambdaThread&) {});
    worker->OnTerminate.Bind(nullptr, [](void*, TObject*) { throw EComponentError("cleanup failed"); });
    worker->Start();
    worker->WaitFor();
    worker->Free();
    SetCallbackExceptionHandler(nullptr);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "cleanup failed");
    EXPECT_EQ(reportedOn, GetCurrentThreadId());
}

// A synchronized function that pumps (a whole search run inside one call) serves the requests that
// other workers queue meanwhile.
TEST_F(ThreadsTest, ServingIsReentrant) {
    bool innerServed = false;
    bool outerDone = false;
    TLambdaThread* inner = nullptr;
    auto* outer = new TLambdaThread([&](TLambdaThread& self) {
        self.Synchronize([&] {
            inner = new TLambdaThread([&](TLambdaThread& t) { t.Synchronize([&] { innerServed = true; }); });
            inner->Start();
            PumpUntil([&] { return innerServed; }, 10000);
            outerDone = true;
        });
    });
    outer->Start();
    EXPECT_TRUE(PumpUntil([&] { return outer->Finished(); }, 10000));
    outer->Free();
    ASSERT_NE(inner, nullptr);
    inner->Free();
    EXPECT_TRUE(innerServed);
    EXPECT_TRUE(outerDone);
}

// The application's waker is called for every request, from the worker.
TEST_F(ThreadsTest, EveryRequestWakesTheApplication) {
    static std::atomic<int> wakes{0};
    wakes = 0;
    SetMainThreadWaker([] { ++wakes; });
    auto* worker = new TLambdaThread([](TLambdaThread& self) {
        for (int i = 0; i < 3; ++i) self.Synchronize([] {});
    });
    worker->Start();
    worker->WaitFor();
    worker->Free();
    SetMainThreadWaker(nullptr);
    EXPECT_EQ(wakes.load(), 3);
}

// Waiting for a thread from inside its own synchronized call would never end: it is refused.
TEST_F(ThreadsTest, WaitForInsideTheThreadsOwnSynchronizedCallIsRefused) {
    std::string refused;
    TLambdaThread* worker = nullptr;
    worker = new TLambdaThread([&](TLambdaThread& self) {
        self.Synchronize([&] {
            try {
                worker->WaitFor();
            } catch (const EInvalidOperation& e) {
                refused = e.what();
            }
        });
    });
    worker->Start();
    EXPECT_EQ(worker->WaitFor(), 0);
    worker->Free();
    EXPECT_EQ(refused, "Cannot wait for a thread inside its own synchronized call");
}

TEST_F(ThreadsTest, PriorityIsAppliedAndPublishedByName) {
    RegisterClasses();
    RegisterThreadClasses();
    const NameTable* names = FindEnumTable(typeid(TThreadPriority));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->typeName, "TThreadPriority");
    EXPECT_EQ(names->IndexOf("tpHigher"), static_cast<int>(TThreadPriority::tpHigher));
    EXPECT_EQ(names->IndexOf("TPIDLE"), static_cast<int>(TThreadPriority::tpIdle));

    std::atomic<int> seen{-100};
    auto* worker = new TLambdaThread([&](TLambdaThread&) { seen = GetThreadPriority(GetCurrentThread()); });
    worker->SetPriority(TThreadPriority::tpLower);
    worker->Start();
    worker->WaitFor();
    EXPECT_EQ(seen.load(), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(worker->Priority(), TThreadPriority::tpLower);
    worker->Free();
}

TEST_F(ThreadsTest, UnstartedThreadIsFreedAndStartsOnlyOnce) {
    auto* idle = new TLambdaThread([](TLambdaThread&) {});
    EXPECT_FALSE(idle->Started());
    EXPECT_EQ(idle->WaitFor(), 0);
    idle->Free();

    auto* once = new TLambdaThread([](TLambdaThread&) {});
    once->Start();
    EXPECT_THROW(once->Start(), EInvalidOperation);
    once->Free();
}

// A thread terminated before it runs still runs Execute, which sees Terminated.
TEST_F(ThreadsTest, TerminatedBeforeStartStillRunsExecute) {
    std::atomic<int> sawTerminated{-1};
    auto* worker = new TLambdaThread([&](TLambdaThread& self) { sawTerminated = self.Terminated() ? 1 : 0; });
    worker->Terminate();
    worker->Start();
    worker->WaitFor();
    worker->Free();
    EXPECT_EQ(sawTerminated.load(), 1);
}

}  // namespace
}  // namespace fw
