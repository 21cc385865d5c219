// Synchronize served by the application's loops (ProcessMessages and a modal form's loop), and a timer
// whose OnTimer fails reaching Application->OnException while the modal loop goes on.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/threads.h"
#include "framework/win32/timers.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

class TWorker : public TThread {
public:
    TWorker(int calls, std::function<void()> each) : calls_(calls), each_(std::move(each)) {}
    std::atomic<bool> done{false};

protected:
    void Execute() override {
        for (int i = 0; i < calls_; ++i) Synchronize(each_);
        done = true;
    }

private:
    int calls_;
    std::function<void()> each_;
};

class ThreadsAppTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitApplication();
        Application->Initialize();
        InitThreads();
    }
    static void TearDownTestSuite() { DoneApplication(); }

    static constexpr int kWorkers = 3;
    static constexpr int kCalls = 30;

    // Starts three workers; `each` runs on the GUI thread for every call.
    std::vector<TWorker*> StartWorkers(const std::function<void()>& each) {
        std::vector<TWorker*> workers;
        for (int w = 0; w < kWorkers; ++w) workers.push_back(new TWorker(kCalls, each));
        for (TWorker* t : workers) t->Start();
        return workers;
    }
    static bool AllDone(const std::vector<TWorker*>& workers) {
        for (TWorker* t : workers)
            if (!t->done) return false;
        return true;
    }
    static void FreeAll(std::vector<TWorker*>& workers) {
        for (TWorker* t : workers) t->Free();
        workers.clear();
    }
};

TEST_F(ThreadsAppTest, WorkersAreServedByProcessMessages) {
    int served = 0;
    int offThread = 0;
    std::vector<TWorker*> workers = StartWorkers([&] {
        if (!IsMainThread()) ++offThread;
        ++served;
    });
    const DWORD start = GetTickCount();
    while (!AllDone(workers) && GetTickCount() - start < 20000) {
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    EXPECT_TRUE(AllDone(workers));
    FreeAll(workers);
    EXPECT_EQ(served, kWorkers * kCalls);
    EXPECT_EQ(offThread, 0);
}

TEST_F(ThreadsAppTest, WorkersAreServedByShowModal) {
    TForm* form = TForm::CreateNew(Application);
    form->SetCaption("Synchronize in a modal loop");
    int served = 0;
    std::vector<TWorker*> workers = StartWorkers([&] {
        // The last call closes the form.
        if (++served == kWorkers * kCalls) form->SetModalResult(mrOk);
    });
    // A way out should the requests never be served.
    TTimer* guard = Make<TTimer>(form);
    guard->SetInterval(20000);
    TNotifyEvent giveUp;
    giveUp.Bind(form, [](void* f, TObject*) { static_cast<TForm*>(f)->SetModalResult(mrAbort); });
    guard->SetOnTimer(giveUp);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(served, kWorkers * kCalls);
    for (TWorker* t : workers) t->WaitFor();
    FreeAll(workers);
    form->Free();
}

TEST_F(ThreadsAppTest, FailingTimerReachesOnExceptionAndTheModalLoopGoesOn) {
    struct Log {
        std::vector<std::string> messages;
        void OnException(TObject*, Exception& e) { messages.push_back(e.what()); }
    } log;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException.Bind(&log, &Log::OnException);

    TForm* form = TForm::CreateNew(Application);
    struct Ticker {
        TForm* form;
        int ticks = 0;
        void OnTick(TObject* sender) {
            ++ticks;
            if (ticks == 4) {
                static_cast<TTimer*>(sender)->SetEnabled(false);
                form->SetModalResult(mrOk);
            }
            if (ticks <= 2) throw EConvertError("tick " + std::to_string(ticks));
        }
    } ticker{form};
    TTimer* timer = Make<TTimer>(form);
    timer->SetInterval(10);
    timer->SetOnTimer(TNotifyEvent(&ticker, &Ticker::OnTick));
    EXPECT_EQ(form->ShowModal(), mrOk);
    form->Free();
    Application->OnException = saved;
    EXPECT_EQ(ticker.ticks, 4);
    EXPECT_EQ(log.messages, (std::vector<std::string>{"tick 1", "tick 2"}));
}

}  // namespace
}  // namespace fw
