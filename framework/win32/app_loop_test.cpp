// The application's loops: Run and Terminate, OnMessage, exceptions in handlers, queued frees at
// depth 0, Synchronize wake-ups, session end, minimising, the host seam and message boxes.
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "framework/core/platform.h"
#include "framework/win32/app_support_test.h"
#include "framework/win32/callback.h"
#include "framework/win32/loop_services.h"
#include "framework/win32/messages.h"

namespace apptest {
namespace {

using fw::Application;

// Records the dispatch depth at which a watched component is freed.
class TFreeWatcher : public fw::TComponent {
public:
    explicit TFreeWatcher(fw::TComponent* owner) : TComponent(owner) {}
    int freedAtDepth = -1;
    bool freed = false;
    void Watch(fw::TComponent* c) { FreeNotification(c); }

protected:
    void Notification(fw::TComponent* component, fw::TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == fw::opRemove && component != this && !freed) {
            freed = true;
            freedAtDepth = Application ? Application->DispatchDepth() : -2;
        }
    }
};

using LoopTest = AppTest;

TEST_F(LoopTest, RunReturnsAtOnceAfterAnEarlyTerminate) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(Application->MainForm(), main);
    Application->Terminate();
    EXPECT_TRUE(Application->Terminated());
    Application->Run();
    EXPECT_FALSE(IsWindowVisible(main->Handle())) << "the main form was shown after Terminate";
    Application->Terminate();
    EXPECT_TRUE(Application->Terminated()) << "Terminated is sticky";
}

TEST_F(LoopTest, TerminateFromAWorkerThreadEndsRun) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    std::thread worker([] {
        Sleep(100);
        Application->Terminate();
    });
    Application->Run();
    worker.join();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(LoopTest, QuitMessageAndSessionEndTerminate) {
    PostQuitMessage(0);
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated()) << "WM_QUIT becomes Terminated";

    TearDown();
    SetUp();
    EXPECT_FALSE(Application->Terminated());
    SendMessageA(Application->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(Application->Terminated()) << "WM_ENDSESSION leads to Terminate";
}

TEST_F(LoopTest, SessionEndAsksTheMainFormAndShowMainFormCanBeOff) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    bool allow = false;
    main->OnCloseQuery.Bind(&allow, [](void* ctx, fw::TObject*, bool& canClose) { canClose = *static_cast<bool*>(ctx); });
    EXPECT_EQ(SendMessageA(main->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_EQ(SendMessageA(Application->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    allow = true;
    EXPECT_EQ(SendMessageA(Application->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    main->OnCloseQuery = nullptr;

    Application->SetShowMainForm(false);
    main->Post([] { Application->Terminate(); });
    Application->Run();
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
}

struct HelpCall {
    std::string file;
    unsigned command = 0;
    uintptr_t data = 0;
    int calls = 0;
};
HelpCall g_help;

bool FakeHelp(HWND, const std::string& file, unsigned command, uintptr_t data) {
    g_help.file = file;
    g_help.command = command;
    g_help.data = data;
    ++g_help.calls;
    return true;
}

TEST_F(LoopTest, HelpGoesThroughOnHelpAndTheSeamAndHintsReachOnHint) {
    g_help = HelpCall{};
    fw::SetHelpSeam(&FakeHelp);
    Application->SetHelpFile("MORVIX.HLP");
    EXPECT_TRUE(Application->HelpContext(42));
    EXPECT_EQ(g_help.file, "MORVIX.HLP");
    EXPECT_EQ(g_help.command, static_cast<unsigned>(HELP_CONTEXT));
    EXPECT_EQ(g_help.data, 42u);
    Application->OnHelp.Bind(&g_help, [](void*, fw::TObject*, uint16_t, intptr_t, bool& callHelp) { callHelp = false; });
    EXPECT_TRUE(Application->HelpContext(43)) << "OnHelp took it";
    EXPECT_EQ(g_help.calls, 1);
    fw::SetHelpSeam(nullptr);

    std::vector<std::string> hints;
    Application->OnHint.Bind(&hints, [](void* ctx, fw::TObject*) {
        static_cast<std::vector<std::string>*>(ctx)->push_back(Application->Hint());
    });
    Application->SetHint("Adds files");
    Application->SetHint("Adds files");
    Application->SetHint("");
    EXPECT_EQ(hints, std::vector<std::string>({"Adds files", ""}));
}

TEST_F(LoopTest, OnMessageSeesEachMessageBeforeDispatchAndMaySwallowIt) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    main->Count(WM_USER + 7);
    int seen = 0;
    Application->OnMessage.Bind(&seen, [](void* ctx, fw::TObject*, MSG& msg, bool& handled) {
        if (msg.message != WM_USER + 7) return;
        ++*static_cast<int*>(ctx);
        handled = msg.wParam == 1;
    });
    PostMessageA(main->Handle(), WM_USER + 7, 1, 0);
    PostMessageA(main->Handle(), WM_USER + 7, 2, 0);
    Application->ProcessMessages();
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(main->received, std::vector<WPARAM>({2})) << "a handled message is not dispatched";

    // Engine code pumps through the host seam, which is the application's loop.
    PostMessageA(main->Handle(), WM_USER + 7, 3, 0);
    fw::HostSeam().PumpMessages();
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(main->received, std::vector<WPARAM>({2, 3}));
}

TEST_F(LoopTest, AnExceptionInAHandlerReachesOnExceptionAndTheLoopGoesOn) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    main->Count(WM_USER + 8, [](fw::TMessage& m) {
        if (m.WParam == 1) throw fw::EConvertError("'x' is not a valid integer value");
        if (m.WParam == 2) fw::Abort();
        if (m.WParam == 3) throw std::runtime_error("plain library error");
        if (m.WParam == 4) Application->Terminate();
    });
    struct Seen {
        std::vector<std::string> messages;
        std::vector<fw::TObject*> senders;
    } seen;
    Application->OnException.Bind(&seen, [](void* ctx, fw::TObject* sender, fw::Exception& e) {
        static_cast<Seen*>(ctx)->messages.push_back(e.Message());
        static_cast<Seen*>(ctx)->senders.push_back(sender);
    });
    for (WPARAM w = 1; w <= 4; ++w) PostMessageA(main->Handle(), WM_USER + 8, w, 0);
    Application->Run();
    EXPECT_EQ(main->received, std::vector<WPARAM>({1, 2, 3, 4})) << "every message after the failures ran";
    EXPECT_EQ(seen.messages,
              std::vector<std::string>({"'x' is not a valid integer value", "plain library error"}))
        << "EAbort stays silent";
    for (fw::TObject* sender : seen.senders) EXPECT_NE(sender, nullptr);
}

TEST_F(LoopTest, ReleaseFromANestedPumpFreesOnlyAtDepthZero) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    auto* victim = fw::TForm::CreateNew<TAppTestForm>(Application);
    auto* watcher = fw::Make<TFreeWatcher>(nullptr);
    watcher->Watch(victim);

    int depthInNested = -1;
    bool aliveAfterNested = false;
    bool freedBeforeTimer = false;
    main->Count(WM_USER + 11, [&](fw::TMessage&) {
        PostMessageA(main->Handle(), WM_USER + 12, 0, 0);
        Application->ProcessMessages();  // an engine pump inside a handler
        aliveAfterNested = !watcher->freed;
        SetTimer(main->Handle(), 77, 30, nullptr);
    });
    main->Count(WM_USER + 12, [&](fw::TMessage&) {
        depthInNested = Application->DispatchDepth();
        victim->Release();
        victim->Release();  // twice frees once
        EXPECT_EQ(Application->QueuedFreeCount(), 1);
    });
    main->Count(WM_TIMER, [&](fw::TMessage&) {
        KillTimer(main->Handle(), 77);
        freedBeforeTimer = watcher->freed;
        Application->Terminate();
    });
    PostMessageA(main->Handle(), WM_USER + 11, 0, 0);
    Application->Run();

    EXPECT_GE(depthInNested, 2);
    EXPECT_TRUE(aliveAfterNested) << "freed inside the nested pump";
    EXPECT_TRUE(freedBeforeTimer) << "not freed when the outer loop went idle";
    EXPECT_EQ(watcher->freedAtDepth, 0);
    EXPECT_EQ(Application->QueuedFreeCount(), 0);
    watcher->Free();
}

TEST_F(LoopTest, QueuedObjectFreedEarlyLeavesTheQueue) {
    auto* form = fw::TForm::CreateNew<TAppTestForm>(Application);
    form->Release();
    EXPECT_EQ(Application->QueuedFreeCount(), 1);
    form->Free();
    EXPECT_EQ(Application->QueuedFreeCount(), 0);
}

int g_served = 0;
bool CountingServer() {
    ++g_served;
    return false;
}

TEST_F(LoopTest, SynchronizeWakeUpReachesTheApplicationWindow) {
    fw::SetSynchronizeServer(&CountingServer);
    g_served = 0;
    fw::WakeMainThread();
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, Application->Handle(), fw::WM_FW_SYNCWAKE, fw::WM_FW_SYNCWAKE, PM_NOREMOVE))
        << "the waker posts WM_FW_SYNCWAKE to Application->Handle";
    SendMessageA(Application->Handle(), fw::WM_FW_SYNCWAKE, 0, 0);
    EXPECT_EQ(g_served, 1) << "the application window serves the queue";
    g_served = 0;
    Application->ProcessMessages();
    EXPECT_GE(g_served, 2) << "the posted wake-up and the pump itself serve";
    fw::SetSynchronizeServer(nullptr);
}

TEST_F(LoopTest, MinimiseSentToTheApplicationWindowMinimisesTheMainForm) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    int minimized = 0;
    Application->OnMinimize.Bind(&minimized, [](void* ctx, fw::TObject*) { ++*static_cast<int*>(ctx); });
    SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_EQ(minimized, 1);
    SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(main->Handle()));
}

// ---- message boxes --------------------------------------------------------------------------------

struct BoxSeen {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    int answer = IDOK;
    bool found = false;
};
BoxSeen g_box;

BOOL CALLBACK FindMessageBox(HWND window, LPARAM) {
    FW_CALLBACK_BODY(TRUE, {
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (std::string(cls) != "#32770" || !IsWindowVisible(window)) return TRUE;
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        g_box.caption = text;
        char body[256] = {};
        GetDlgItemTextA(window, 0xFFFF, body, sizeof body);
        g_box.text = body;
        g_box.owner = GetWindow(window, GW_OWNER);
        g_box.found = true;
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(g_box.answer), 0);
        return FALSE;
    })
}

void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    FW_CALLBACK_VOID({ EnumThreadWindows(GetCurrentThreadId(), &FindMessageBox, 0); })
}

TEST_F(LoopTest, MessageBoxIsOwnedByTheActiveFormAndCaptionedWithTheTitle) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    Application->SetTitle("Archive Title");
    main->Show();
    SetForegroundWindow(main->Handle());
    SetActiveWindow(main->Handle());
    Application->ProcessMessages();
    ASSERT_EQ(fw::Screen->ActiveForm(), main);

    g_box = BoxSeen{};
    g_box.answer = IDCANCEL;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, &AnswerMessageBox);
    int depthSeen = -1;
    int result = Application->MessageBox("Delete the file?", "", MB_OKCANCEL);
    depthSeen = Application->DispatchDepth();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_box.found);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(g_box.caption, "Archive Title");
    EXPECT_EQ(g_box.owner, main->Handle());
    EXPECT_EQ(depthSeen, 0);
    EXPECT_TRUE(IsWindowEnabled(main->Handle())) << "the windows disabled for the box are enabled again";

    // Without OnException, an exception is shown in a message box with the title as caption.
    g_box = BoxSeen{};
    timer = SetTimer(nullptr, 0, 50, &AnswerMessageBox);
    try {
        throw fw::EReadError("Stream read error");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_box.found);
    EXPECT_EQ(g_box.caption, "Archive Title");
    EXPECT_EQ(g_box.text, "Stream read error.");
}

}  // namespace
}  // namespace apptest
