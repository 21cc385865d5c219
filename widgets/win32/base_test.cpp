// The suite's application object on Win32 (single instance, window-timer pool, hand cursor, checker
// bitmap), the window hook base, system information and the settings store, checked against Wine's
// own answers and tools.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"
#include "framework/win32/winapi.h"
#include "testing/test_env.h"
#include "widgets/inictrl.h"
#include "widgets/win32/applicationctrl.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/sysinfo.h"
#include "widgets/win32/testsupport/wine_support.h"
#include "widgets/win32/wndproccomponent.h"

namespace kvx::win32 {
namespace {

class Suite : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        app = KVXStartApplication();
    }
    void TearDown() override {
        KVXStopApplication();
        fw::DoneApplication();
    }
    TKVXApplication* app = nullptr;
};

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        fw::Application->ProcessMessages();
        Sleep(5);
    }
}

// Run as a child process by SecondCopySeesSecondInstance: exits 0 only when it sees the first copy.
TEST_F(Suite, DISABLED_SecondInstanceProbe) { EXPECT_TRUE(app->SecondInstance); }

TEST_F(Suite, SecondCopySeesSecondInstance) {
    EXPECT_FALSE(app->SecondInstance);
    std::string self = fw::ParamStr(0);
    std::string line = "\"" + self + "\" --gtest_also_run_disabled_tests --gtest_filter=Suite.DISABLED_SecondInstanceProbe";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u) << "the second copy did not see the first";
}

TEST_F(Suite, PoolTicksThroughTheMessageLoop) {
    int fired = 0;
    TNotifyEvent e;
    e.Bind(&fired, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    const uint16_t id = app->AddTimer(50, e);
    ASSERT_NE(id, 0);
    EXPECT_TRUE(app->TimerPool()->Running());
    Pump(600);
    EXPECT_GE(fired, 3);  // about 12 at 50 ms; a loaded machine gives fewer
    app->RemoveTimer(id);
    EXPECT_FALSE(app->TimerPool()->Running());
    const int after = fired;
    Pump(200);
    EXPECT_EQ(fired, after);
}

TEST_F(Suite, AnExceptionInAPoolTimerReachesTheApplicationAndTheTimerGoesOn) {
    struct Ctx {
        int calls = 0;
        int reported = 0;
    } ctx;
    fw::Application->OnException.Bind(&ctx, [](void* p, TObject*, fw::Exception&) { ++static_cast<Ctx*>(p)->reported; });
    TNotifyEvent e;
    e.Bind(&ctx, [](void* p, TObject*) {
        if (++static_cast<Ctx*>(p)->calls == 1) throw fw::Exception("tick failed");
    });
    app->AddTimer(50, e);
    Pump(500);
    EXPECT_EQ(ctx.reported, 1);
    EXPECT_GE(ctx.calls, 3);
    fw::Application->OnException.Reset();
}

TEST_F(Suite, ApplicationControlHandsItsSettingsOverWhenLoaded) {
    auto* ctrl = new TKVXApplicationCtrl(nullptr);
    EXPECT_EQ(ctrl->HintPause, fw::Application->HintPause());
    ctrl->Company = "Acme";
    ctrl->Version = "2.0";
    ctrl->Title = "Zipper";
    ctrl->SetLogName("trace");
    EXPECT_EQ(ctrl->LogName(), "trace.LOG");
    ctrl->Options.Include(TKVXApplicationOption::aoLogException);
    ctrl->RegPath = "Software\\Acme\\Zipper";
    ctrl->IniTarget = TKVXIniTarget::itIniFile;
    ctrl->HintPause = 1234;
    int modes = 0;
    ctrl->OnEditModeChange.Bind(&modes, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    ctrl->SetComponentState(fw::csLoading);
    ctrl->Loaded();
    EXPECT_EQ(app->Company, "Acme");
    EXPECT_EQ(app->Version, "2.0");
    EXPECT_EQ(fw::ExtractFileName(app->LogName()), "trace.LOG");
    EXPECT_EQ(app->IniCtrl()->RegPath, "Software\\Acme\\Zipper");
    EXPECT_EQ(app->IniCtrl()->EffectiveTarget(), TKVXIniTarget::itIniFile);
    EXPECT_EQ(fw::Application->Title(), "Zipper");
    EXPECT_EQ(fw::Application->HintPause(), 1234);
    EXPECT_TRUE(fw::Application->OnException) << "aoLogException installs the suite's handler";
    app->SetEditMode(kEditInsert | kEditCtrl);
    EXPECT_EQ(modes, 1);
    ctrl->Free();
    EXPECT_FALSE(fw::Application->OnException);
    app->SetEditMode(kEditInsert);  // the control is gone: nobody to call
}

TEST_F(Suite, HandCursorAndCheckerBitmap) {
    EXPECT_NE(fw::Screen->Cursors(crKVXHand), fw::Screen->Cursors(0));
    fw::TBitmap* checker = KVXCheckerBitmap(fw::clRed);
    ASSERT_EQ(checker->Width(), 8);
    int red = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const fw::TColor c = checker->Canvas()->Pixels(x, y);
            EXPECT_EQ(c, ((x & 1) != (y & 1)) ? fw::clRed : fw::clWhite) << x << "," << y;
            red += c == fw::clRed;
        }
    EXPECT_EQ(red, 32);
    EXPECT_EQ(KVXCheckerBitmap(fw::clBlue), checker);
    EXPECT_EQ(checker->Canvas()->Pixels(1, 0), fw::clBlue);
    EXPECT_EQ(KVXCheckerPattern()->Canvas()->Pixels(0, 1), fw::clBlack);
    EXPECT_EQ(KVXCheckerPattern()->Canvas()->Pixels(1, 1), fw::clWhite);
}

// A watcher that records the test message and may swallow it.
class TWatcher : public TKVXWndProcComponent {
public:
    explicit TWatcher(TComponent* owner) : TKVXWndProcComponent(owner) {}
    std::vector<std::string>* log = nullptr;
    bool swallow = false;

protected:
    void HookWndProc(fw::HookMessage& m) override {
        if (m.Msg == WM_APP + 7) {
            log->push_back(Name());
            if (swallow) {
                m.Result = 42;
                m.Handled = true;
                return;
            }
        }
        TKVXWndProcComponent::HookWndProc(m);
    }
};

class TLoggingForm : public fw::TForm {
public:
    explicit TLoggingForm(TComponent* owner) : TForm(owner) {}
    std::vector<std::string> log;

protected:
    void WndProc(fw::TMessage& m) override {
        if (m.Msg == WM_APP + 7) {
            log.push_back("form");
            m.Result = 7;
            return;
        }
        if (m.Msg == WM_DESTROY) log.push_back("form:WM_DESTROY");
        TForm::WndProc(m);
    }
};

TEST_F(Suite, WatchersShareTheFormAndGoInAnyOrder) {
    auto* form = fw::TForm::CreateNew<TLoggingForm>(nullptr);
    TWatcher* w[3];
    for (int i = 0; i < 3; ++i) {
        w[i] = new TWatcher(form);
        w[i]->SetName("w" + std::to_string(i));
        w[i]->log = &form->log;
        EXPECT_TRUE(w[i]->InstallHook());
        EXPECT_FALSE(w[i]->InstallHook()) << "a second hook of the same component";
    }
    HWND h = form->Handle();
    EXPECT_EQ(SendMessageA(h, WM_APP + 7, 0, 0), 7);
    EXPECT_EQ(form->log, (std::vector<std::string>{"w2", "w1", "w0", "form"}));

    // Out of order: the middle one first; the others keep working.
    w[1]->RemoveHook();
    form->log.clear();
    SendMessageA(h, WM_APP + 7, 0, 0);
    EXPECT_EQ(form->log, (std::vector<std::string>{"w2", "w0", "form"}));
    w[2]->swallow = true;
    form->log.clear();
    EXPECT_EQ(SendMessageA(h, WM_APP + 7, 0, 0), 42);
    EXPECT_EQ(form->log, (std::vector<std::string>{"w2"}));
    w[2]->swallow = false;

    // The hook follows the form through RecreateWnd; WM_DESTROY reaches the form itself.
    form->log.clear();
    form->RecreateWnd();
    EXPECT_EQ(form->log, (std::vector<std::string>{"form:WM_DESTROY"}));
    EXPECT_TRUE(w[0]->Destroyed());
    h = form->Handle();
    form->log.clear();
    SendMessageA(h, WM_APP + 7, 0, 0);
    EXPECT_EQ(form->log, (std::vector<std::string>{"w2", "w0", "form"}));
    EXPECT_FALSE(w[0]->Destroyed());

    // Disabled before loading ends: no hook until Enabled is set again.
    auto* late = new TWatcher(form);
    late->SetName("late");
    late->log = &form->log;
    late->SetEnabled(false);
    late->SetComponentState(fw::csLoading);
    late->Loaded();
    EXPECT_FALSE(late->Hooked());
    late->SetEnabled(true);
    EXPECT_TRUE(late->Hooked());
    form->Free();
}

TEST_F(Suite, NamesPathsAndVersionAgreeWithWine) {
    std::string out;
    const std::string dir = mx::test::FreshDir();
    ASSERT_EQ(test::RunCommand("set", dir, out), 0);
    auto value = [&](const std::string& name) {
        const std::string key = "\n" + name + "=";
        const size_t at = ("\n" + out).find(key);
        if (at == std::string::npos) return std::string("<missing>");
        const size_t start = at + key.size() - 1;
        return fw::Trim(out.substr(start, out.find('\n', start) - start));
    };
    EXPECT_TRUE(fw::SameText(KVXUserName(), value("USERNAME"))) << KVXUserName();
    EXPECT_TRUE(fw::SameText(KVXComputerName(), value("COMPUTERNAME"))) << KVXComputerName();
    EXPECT_TRUE(fw::SameText(fw::ExcludeTrailingBackslash(KVXTempPath()), value("TEMP"))) << KVXTempPath();
    EXPECT_TRUE(fw::SameText(KVXWindowsPath(), value("windir"))) << KVXWindowsPath();

    TKVXSysInfo* info = new TKVXSysInfo(nullptr);
    EXPECT_EQ(info->Platform(), "Windows NT");
    EXPECT_EQ(info->FreeSysRes(), "0 %");
    EXPECT_GT(info->MemPhysTotal(), 0);
    EXPECT_GE(info->ColorDepth(), 8);
    EXPECT_GT(info->Environment()->Count(), 3);
    EXPECT_FALSE(info->ProcessorType().empty());
    // Writing a toggle to its present state sends no key events.
    static int events;
    events = 0;
    TKVXSysInfo::SetKeyEventSeam([](BYTE, BYTE, DWORD) { ++events; });
    info->SetNumLockState(info->NumLockState());
    EXPECT_EQ(events, 0);
    info->SetNumLockState(!info->NumLockState());
    EXPECT_EQ(events, 2);
    TKVXSysInfo::SetKeyEventSeam(nullptr);
    info->Free();

    // This test program carries a version resource of known strings.
    EXPECT_EQ(KVXVersionInfo(0), "Morvix Test Company");
    EXPECT_EQ(KVXVersionInfo(1), "Widget Suite Tests");
    EXPECT_EQ(KVXVersionInfo(6), "version strings for the suite");
    // kernel32 has one too; a missing module gives nothing.
    EXPECT_EQ(KVXVersionInfo(0, "Z:\\no\\such.exe"), "");
}

TEST_F(Suite, CaptionTextAreasHitTestAsCaption) {
    struct Style {
        const char* why;
        DWORD style, exStyle;
    };
    const Style styles[] = {
        {"sizing with minimize and maximize", WS_OVERLAPPEDWINDOW, 0},
        {"dialog frame", WS_CAPTION | WS_SYSMENU | WS_POPUP, WS_EX_DLGMODALFRAME},
        {"tool window", WS_CAPTION | WS_SYSMENU | WS_POPUP, WS_EX_TOOLWINDOW},
        {"context help", WS_CAPTION | WS_SYSMENU | WS_POPUP, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP},
    };
    for (const Style& s : styles) {
        HWND h = CreateWindowExA(s.exStyle, "STATIC", "Caption", s.style, 100, 100, 320, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(h) << s.why;
        ShowWindow(h, SW_SHOWNOACTIVATE);
        fw::TRect caption, text;
        int flags = 0;
        KVXCaptionRects(h, caption, text, flags);
        RECT wr{};
        GetWindowRect(h, &wr);
        EXPECT_GT(text.Width(), 100) << s.why;
        EXPECT_GT(text.Height(), 5) << s.why;
        int bad = 0;
        for (int y = text.Top; y < text.Bottom; y += 2)
            for (int x = text.Left; x < text.Right; x += 3) {
                const LPARAM at = MAKELPARAM(wr.left + x, wr.top + y);
                const LRESULT hit = DefWindowProcA(h, WM_NCHITTEST, 0, at);
                if (hit != HTCAPTION && bad++ < 3)
                    ADD_FAILURE() << s.why << ": (" << x << "," << y << ") hits " << hit << " in text area "
                                  << text.Left << "," << text.Top << "," << text.Right << "," << text.Bottom;
            }
        DestroyWindow(h);
    }
}

TEST_F(Suite, SettingsLandWhereSystemToolsFindThem) {
    const std::string dir = mx::test::FreshDir();
    auto* ini = new TKVXIniCtrl(nullptr);
    ini->RegPath = "Software\\KVXWineTest";
    fw::TStringList list;
    for (int i = 0; i < 30; ++i) list.Add("C:\\archives\\a" + std::to_string(i) + ".zip");
    ini->WriteString("#ROOT", "Other", "kept");
    ini->WriteStrings("#ROOT", "H", 25, list);
    ini->WriteBool("Options", "Ask", true);

    std::string out;
    ASSERT_EQ(test::RunCommand("reg query HKCU\\Software\\KVXWineTest", dir, out), 0) << out;
    EXPECT_NE(out.find("H0    REG_SZ    C:\\archives\\a0.zip"), std::string::npos) << out;
    EXPECT_NE(out.find("H24    REG_SZ    C:\\archives\\a24.zip"), std::string::npos) << out;
    EXPECT_EQ(out.find("H25"), std::string::npos) << out;
    EXPECT_NE(out.find("Other    REG_SZ    kept"), std::string::npos) << out;
    ASSERT_EQ(test::RunCommand("reg query HKCU\\Software\\KVXWineTest\\Options", dir, out), 0) << out;
    EXPECT_NE(out.find("Ask    REG_SZ    1"), std::string::npos) << out;
    test::RunCommand("reg delete HKCU\\Software\\KVXWineTest /f", dir, out);

    ini->SetTarget(TKVXIniTarget::itIniFile);
    ini->IniPrefix = TKVXPathPrefix::ppFixed;
    ini->SetIniFile(dir + "\\suite.ini");
    ini->Common = false;
    ini->User = "bob";
    ini->WriteStrings("History", "H", 25, list);
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA("bob.History", "H24", "", value, sizeof(value), (dir + "\\suite.ini").c_str());
    EXPECT_STREQ(value, "C:\\archives\\a24.zip");
    GetPrivateProfileStringA("bob.History", "H25", "none", value, sizeof(value), (dir + "\\suite.ini").c_str());
    EXPECT_STREQ(value, "none");
    ini->Free();
}

}  // namespace
}  // namespace kvx::win32
