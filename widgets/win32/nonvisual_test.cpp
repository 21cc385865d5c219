// Dropped files and the program starter under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/winapi.h"

#include <shlobj.h>
#include "widgets/win32/fmdrop.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/testsupport/wine_support.h"
#include "widgets/win32/starter.h"

namespace kvx::win32 {
namespace {

using test::MakeDrop;
using test::PumpUntil;

class NonVisual : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        KVXStartApplication();
    }
    void TearDown() override {
        KVXStopApplication();
        fw::DoneApplication();
    }
};

struct DropLog {
    int calls = 0;
    int fcount = 0;
    int x = 0, y = 0;
    std::vector<std::string> names;
};

TEST_F(NonVisual, DroppedFilesSkipLongNamesAndSurviveRecreateWnd) {
    auto* form = fw::TForm::CreateNew<fw::TForm>(nullptr);
    auto* drop = new TKVXFMDrop(form);
    DropLog log;
    drop->OnFMDragDrop.Bind(&log, [](void* p, TObject*, int fcount, int x, int y, fw::TStrings* list) {
        auto* l = static_cast<DropLog*>(p);
        ++l->calls;
        l->fcount = fcount;
        l->x = x;
        l->y = y;
        l->names.clear();
        for (int i = 0; i < list->Count(); ++i) l->names.push_back(list->Strings(i));
    });
    HWND h = form->Handle();  // a control is hooked at once when its window exists (else at Loaded)
    drop->SetControl(form);
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    const std::string longName = "C:\\" + std::string(296, 'x') + ".zip";  // 300 characters
    SendMessageA(h, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"C:\\a\\One.zip", longName, "D:\\Two.ARJ"}, {12, 34})), 0);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(log.fcount, 3);
    EXPECT_EQ(log.x, 12);
    EXPECT_EQ(log.y, 34);
    EXPECT_EQ(log.names, (std::vector<std::string>{"C:\\a\\One.zip", "D:\\Two.ARJ"}));

    drop->CharCase = TKVXCharCase::ccUpperCase;
    SendMessageA(h, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"c:\\low\\case.zip"}, {0, 0})), 0);
    EXPECT_EQ(log.names, (std::vector<std::string>{"C:\\LOW\\CASE.ZIP"}));

    form->RecreateWnd();
    h = form->Handle();
    PumpUntil([&] { return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }, 2000);
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << "the new window takes drops too";
    SendMessageA(h, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"e:\\after.zip"}, {1, 2})), 0);
    EXPECT_EQ(log.calls, 3);
    EXPECT_EQ(log.names, (std::vector<std::string>{"E:\\AFTER.ZIP"}));

    drop->SetEnabled(false);
    EXPECT_FALSE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    form->Free();  // the drop component goes with its owner
}

struct StartLog {
    int errors = 0;
    int finished = 0;
    std::vector<std::string> order;
};

TKVXStarter* MakeStarter(StartLog& log) {
    auto* s = new TKVXStarter(nullptr);
    s->StartOption = TKVXStarterOptions::soSW_HIDE;
    s->OnError.Bind(&log, [](void* p, TObject*) {
        ++static_cast<StartLog*>(p)->errors;
        static_cast<StartLog*>(p)->order.push_back("error");
    });
    s->OnFinished.Bind(&log, [](void* p, TObject*) {
        ++static_cast<StartLog*>(p)->finished;
        static_cast<StartLog*>(p)->order.push_back("finished");
    });
    s->OnBeforeStart.Bind(&log, [](void* p, TObject*) { static_cast<StartLog*>(p)->order.push_back("before"); });
    s->OnAfterStart.Bind(&log, [](void* p, TObject*) { static_cast<StartLog*>(p)->order.push_back("after"); });
    return s;
}

TEST_F(NonVisual, StarterReportsErrorsAndEnds) {
    StartLog log;
    TKVXStarter* s = MakeStarter(log);
    s->SetCommand("C:\\no\\such\\program.exe");
    TKVXStarter::SetShellMask(SEE_MASK_FLAG_NO_UI);  // the shell's own error box would wait for a user
    s->Execute();
    TKVXStarter::SetShellMask(0);
    EXPECT_EQ(log.errors, 1);
    EXPECT_EQ(s->LastError(), 2);
    EXPECT_FALSE(s->Polling());
    EXPECT_EQ(log.order, (std::vector<std::string>{"before", "error"}));

    log.order.clear();
    s->SetCommand("cmd");
    s->SetParameters("/c exit 3");
    s->Execute();
    EXPECT_TRUE(s->Polling());
    PumpUntil([&] { return log.finished > 0; });
    EXPECT_EQ(log.order, (std::vector<std::string>{"before", "after", "finished"}));
    EXPECT_FALSE(s->Polling());

    // A second start while the first is polled: one OnFinished, for the second.
    log.finished = 0;
    s->Execute();
    s->Execute();
    PumpUntil([&] { return log.finished > 0; });
    const DWORD settle = GetTickCount() + 1200;
    while (static_cast<int>(settle - GetTickCount()) > 0) {
        fw::Application->ProcessMessages();
        Sleep(20);
    }
    EXPECT_EQ(log.finished, 1);
    EXPECT_EQ(KVXApplication->TimerPool()->Count(), 1) << "only the start check is left";
    s->Free();
    EXPECT_EQ(KVXApplication->TimerPool()->Count(), 0);
}

TEST_F(NonVisual, StarterWaitsAndLeaksNoHandles) {
    StartLog log;
    TKVXStarter* s = MakeStarter(log);
    s->OnFinished.Reset();
    s->SetCommand("cmd");
    s->SetParameters("/c exit 0");
    s->Wait = true;
    s->Execute();  // the first run loads what later runs share
    DWORD before = 0, after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    for (int i = 0; i < 50; ++i) s->Execute();
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_LE(after, before + 2) << "handles before " << before << ", after " << after;
    EXPECT_EQ(log.errors, 0);
    s->Free();
}

TEST(StarterTables, VerbsAndShowCommands) {
    EXPECT_STREQ(TKVXStarter::Verb(TKVXStarterOperation::smExplore), "explore");
    EXPECT_STREQ(TKVXStarter::Verb(TKVXStarterOperation::smPrint), "print");
    const std::pair<TKVXStarterOptions, int> table[] = {
        {TKVXStarterOptions::soSW_HIDE, 0},          {TKVXStarterOptions::soSW_MAXIMIZE, 3},
        {TKVXStarterOptions::soSW_SHOWMAXIMIZED, 3}, {TKVXStarterOptions::soSW_MINIMIZE, 6},
        {TKVXStarterOptions::soSW_RESTORE, 9},       {TKVXStarterOptions::soSW_SHOW, 5},
        {TKVXStarterOptions::soSW_SHOWMINIMIZED, 2}, {TKVXStarterOptions::soSW_SHOWMINNOACTIVE, 7},
        {TKVXStarterOptions::soSW_SHOWNA, 8},        {TKVXStarterOptions::soSW_SHOWNORMAL, 1},
    };
    for (auto [option, show] : table) EXPECT_EQ(TKVXStarter::ShowCommand(option), show);
}

TEST(StarterWithoutSuite, RaisesOutOfResources) { EXPECT_THROW(new TKVXStarter(nullptr), fw::EOutOfResources); }

}  // namespace
}  // namespace kvx::win32
