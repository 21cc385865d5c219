// The context-help monitor under Wine, with the application's help calls recorded instead of shown (no
// help file can be made here): help mode started by Shift+F1 and a click on a button, a windowless
// button's Tag, F1 on the main form, a menu command chosen in help mode, the caption's right click,
// window-part hints in the status bar, and the application's handlers before and after the monitor.
#include "uisupport/win32/helpmonitor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_statusbar.h"
#include "framework/win32/std_test_support.h"

namespace uis {
namespace {

struct HelpCall {
    std::string file;
    unsigned command;
    uintptr_t data;
};
std::vector<HelpCall> g_calls;

bool RecordHelp(HWND, const std::string& file, unsigned command, uintptr_t data) {
    g_calls.push_back({file, command, data});
    return true;
}

std::string Describe(const std::vector<HelpCall>& calls) {
    std::string text;
    for (const HelpCall& c : calls) text += c.file + " " + std::to_string(c.command) + " " + std::to_string(c.data) + "\n";
    return text.empty() ? "(no calls)" : text;
}

// The menus open now (visible #32768 windows of this thread).
std::vector<HMENU> OpenMenus() {
    std::vector<HMENU> open;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId())
            open.push_back(reinterpret_cast<HMENU>(SendMessageA(w, MN_GETHMENU, 0, 0)));
    return open;
}

void PostKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 1 | (3u << 30));
}

constexpr const char* kAppHelp = "C:\\help\\MXZP.HLP";
constexpr const char* kStdHelp = "C:\\help\\TovkStd.hlp";

class HelpMonitorTest : public fw::stdtest::StdControlsTest {
protected:
    void SetUp() override {
        StdControlsTest::SetUp();
        RegisterHelpMonitorClasses();
        fw::SetHelpSeam(&RecordHelp);
        fw::Application->SetHelpFile(kAppHelp);
        g_calls.clear();
        form = NewForm(420, 260);
    }
    void TearDown() override {
        fw::SetHelpSeam(nullptr);
        StdControlsTest::TearDown();
    }
    TqhlHelpMonitor* NewMonitor() { return fw::Make<TqhlHelpMonitor>(form); }
    void ShowForm() {
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }
    // A press and release at the client point of a window, through the loop.
    static void ClickAt(HWND window, int x, int y) {
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }
    // A screen point of the form's frame where the window answers `hitTest`.
    // Searched along the top band, the left edge and the bottom-right corner.
    POINT PointOf(int hitTest) const {
        RECT r{};
        GetWindowRect(form->Handle(), &r);
        std::vector<POINT> candidates;
        for (int y = r.top; y < r.top + 40; ++y)
            for (int x = r.right - 1; x > r.left; x -= (x > r.right - 80 ? 1 : 40)) candidates.push_back({x, y});
        for (int x = r.left; x < r.left + 10; ++x) candidates.push_back({x, (r.top + r.bottom) / 2});
        for (int d = 0; d < 10; ++d) candidates.push_back({r.right - 1 - d, r.bottom - 1 - d});
        for (const POINT& p : candidates)
            if (SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == hitTest) return p;
        ADD_FAILURE() << "no point answers hit test " << hitTest;
        return POINT{r.left, r.top};
    }
    fw::TForm* form = nullptr;
};

TEST_F(HelpMonitorTest, ApplicationHandlersAreTheSameAfterTheMonitorAsBefore) {
    int hints = 0, messages = 0;
    fw::TNotifyEvent hint;
    hint.Bind(&hints, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    fw::TMessageEvent message;
    message.Bind(&messages, [](void* n, fw::TObject*, MSG&, bool&) { ++*static_cast<int*>(n); });
    fw::Application->OnHint = hint;
    fw::Application->OnMessage = message;

    TqhlHelpMonitor* monitor = NewMonitor();
    EXPECT_NE(fw::Application->OnHint, hint);
    EXPECT_NE(fw::Application->OnMessage, message);
    PostMessageA(form->Handle(), WM_NULL, 0, 0);
    Pump();
    EXPECT_GT(messages, 0) << "the chained OnMessage still runs";

    // A handler put in the monitor's place is chained by the timer: it runs, and the monitor is first again.
    int later = 0;
    fw::TNotifyEvent replacement;
    replacement.Bind(&later, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    fw::Application->OnHint = replacement;
    const DWORD end = GetTickCount() + 1600;
    while (GetTickCount() < end && fw::Application->OnHint == replacement) {
        Pump();
        Sleep(20);
    }
    EXPECT_NE(fw::Application->OnHint, replacement) << "the monitor chains itself again";
    fw::Application->OnHint(fw::Application);
    EXPECT_EQ(later, 1) << "the replacement is the chained handler now";

    monitor->Free();
    EXPECT_EQ(fw::Application->OnHint, replacement);
    EXPECT_EQ(fw::Application->OnMessage, message) << "OnMessage is put back, not cleared";
}

TEST_F(HelpMonitorTest, DestroyingTheMonitorPutsBackTheOriginalHandlers) {
    fw::TNotifyEvent hint;
    hint.Bind(nullptr, [](void*, fw::TObject*) {});
    fw::TMessageEvent message;
    message.Bind(nullptr, [](void*, fw::TObject*, MSG&, bool&) {});
    fw::Application->OnHint = hint;
    fw::Application->OnMessage = message;
    NewMonitor()->Free();
    EXPECT_EQ(fw::Application->OnHint, hint);
    EXPECT_EQ(fw::Application->OnMessage, message);
    EXPECT_EQ(TqhlHelpMonitor::Instance(), nullptr);
}

TEST_F(HelpMonitorTest, OneMonitorPerProgram) {
    NewMonitor();
    try {
        fw::Make<TqhlHelpMonitor>(form);
        FAIL() << "a second monitor was made";
    } catch (const EHADisignTimeError& e) {
        EXPECT_EQ(e.Message(), "Only one instance of the qhlHelpMonitor is allowed for an entire project");
    }
}

TEST_F(HelpMonitorTest, ShiftF1ThenAClickOnOKShowsTheOKTopicAsAPopup) {
    TqhlHelpMonitor* monitor = NewMonitor();
    auto* ok = Add<fw::TButton>(form, 20, 20, 75, 25, "btnOK");
    ok->SetCaption("&OK");
    int clicks = 0;
    ok->OnClick.Bind(&clicks, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    auto* edit = Add<fw::TEdit>(form, 20, 60, 120, 21, "edtName");
    ShowForm();
    edit->SetFocus();
    Press(VK_F1, true);
    ASSERT_EQ(monitor->Mode(), TqhlHelpMonitor::TMode::HelpMode);
    ClickAt(ok->Handle(), 10, 10);
    ASSERT_EQ(g_calls.size(), 2u) << Describe(g_calls);
    EXPECT_EQ(g_calls[0].command, 13u) << "the popup's place first";
    POINT at{10, 10};
    ClientToScreen(ok->Handle(), &at);
    EXPECT_EQ(g_calls[0].data, static_cast<uintptr_t>(static_cast<DWORD>(MAKELONG(at.x, at.y))));
    EXPECT_EQ(g_calls[1].file, kStdHelp);
    EXPECT_EQ(g_calls[1].command, 8u);
    EXPECT_EQ(g_calls[1].data, 100036u);
    EXPECT_EQ(clicks, 0) << "the click in help mode does not press the button";
    EXPECT_EQ(monitor->Mode(), TqhlHelpMonitor::TMode::Idle) << "help mode ends after the help";

    // With a context of its own the button shows it from the application's file.
    g_calls.clear();
    ok->SetHelpContext(100128);
    monitor->EnterHelpMode();
    ClickAt(ok->Handle(), 10, 10);
    ASSERT_EQ(g_calls.size(), 2u) << Describe(g_calls);
    EXPECT_EQ(g_calls[1].file, kAppHelp);
    EXPECT_EQ(g_calls[1].command, 8u);
    EXPECT_EQ(g_calls[1].data, 100128u);
}

TEST_F(HelpMonitorTest, AWindowlessButtonsTagPlusTagBaseIsItsContext) {
    TqhlHelpMonitor* monitor = NewMonitor();
    monitor->SetTagBase(1000);
    monitor->SetHelpWindowName("main");
    auto* speed = fw::Make<TKyvSpeedButton>(form);
    speed->SetParent(form);
    speed->SetBounds(200, 20, 25, 25);
    speed->SetTag(7);
    auto* plain = Add<fw::TButton>(form, 20, 20, 75, 25, "btnTagged");
    plain->SetCaption("Tagged");
    plain->SetTag(9);  // a windowed control's Tag is not used
    form->SetHelpContext(555);
    ShowForm();
    monitor->EnterHelpMode();
    ClickAt(form->Handle(), 210, 30);
    ASSERT_EQ(g_calls.size(), 2u) << Describe(g_calls);
    EXPECT_EQ(g_calls[1].file, std::string(kAppHelp) + ">main");
    EXPECT_EQ(g_calls[1].command, 8u);
    EXPECT_EQ(g_calls[1].data, 1007u);

    g_calls.clear();
    monitor->EnterHelpMode();
    ClickAt(plain->Handle(), 5, 5);
    ASSERT_EQ(g_calls.size(), 2u) << Describe(g_calls);
    EXPECT_EQ(g_calls[1].data, 555u) << "the form's context, not the Tag";
}

TEST_F(HelpMonitorTest, F1OnTheMainFormShowsTheContents) {
    NewMonitor();
    auto* edit = Add<fw::TEdit>(form, 20, 60, 120, 21, "edtName");
    edit->SetHelpContext(4711);
    ShowForm();
    edit->SetFocus();
    Press(VK_F1);
    ASSERT_FALSE(g_calls.empty()) << "F1 reached no help";
    EXPECT_EQ(g_calls.back().file, kAppHelp);
    EXPECT_EQ(g_calls.back().command, 11u) << Describe(g_calls);
    EXPECT_EQ(g_calls.back().data, 0u);
}

TEST_F(HelpMonitorTest, HintsOfWindowPartsReachTheStatusBar) {
    NewMonitor();
    auto* bar = fw::Make<fw::TStatusBar>(form);
    bar->SetName("qhlStatusBar");
    bar->SetParent(form);
    bar->SetAlign(fw::alBottom);
    bar->SetSimplePanel(true);
    ShowForm();
    const TStdHints hints;
    struct Case {
        int hitTest;
        int hint;
    };
    for (const Case& c : {Case{HTCAPTION, 6}, Case{HTLEFT, 13}, Case{HTCLOSE, 1}, Case{HTBOTTOMRIGHT, 14}}) {
        SCOPED_TRACE(c.hitTest);
        const POINT at = PointOf(c.hitTest);
        PostMessageA(form->Handle(), WM_NCMOUSEMOVE, static_cast<WPARAM>(c.hitTest), MAKELPARAM(at.x, at.y));
        Pump();
        EXPECT_EQ(bar->SimpleText(), hints.Text(c.hint));
    }
}

TEST_F(HelpMonitorTest, AMenuCommandChosenInHelpModeShowsItsHelpAndDoesNotRun) {
    TqhlHelpMonitor* monitor = NewMonitor();
    auto* menu = fw::Make<fw::TMainMenu>(form);
    auto* file = fw::Make<fw::TMenuItem>(menu);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    auto* open = fw::Make<fw::TMenuItem>(menu);
    open->SetCaption("&Open");
    open->SetHelpContext(100200);
    int runs = 0;
    open->OnClick.Bind(&runs, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    file->Add(open);
    form->SetMenu(menu);
    ShowForm();
    ASSERT_TRUE(monitor->EnterHelpMode());
    RECT title{};
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), 0, &title));
    const HWND window = form->Handle();
    fw::stdtest::ScriptedInput script;
    script.abandon = [] { EndMenu(); };
    script.Add("the File menu is open", [] { return OpenMenus().size() == 1; });
    script.Do("down to Open", [window] { PostKey(window, VK_DOWN); });
    script.Do("enter", [window] { PostKey(window, VK_RETURN); });
    script.Add("the menu closed", [] { return OpenMenus().empty(); });
    script.Start();
    const POINT at{(title.left + title.right) / 2, (title.top + title.bottom) / 2};
    PostMessageA(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y));
    script.PumpUntilFinished();
    Pump();
    EXPECT_EQ(script.Failure(), "");
    EXPECT_EQ(runs, 0) << "the command did not run";
    ASSERT_FALSE(g_calls.empty()) << "no help for the command";
    EXPECT_EQ(g_calls.back().file, kAppHelp);
    EXPECT_EQ(g_calls.back().command, 8u);
    EXPECT_EQ(g_calls.back().data, 100200u);
    EXPECT_EQ(monitor->Mode(), TqhlHelpMonitor::TMode::Idle);
    // Out of help mode the command runs again.
    open->Click();
    EXPECT_EQ(runs, 1);
}

TEST_F(HelpMonitorTest, RightClickOnTheCaptionOpensTheSystemMenuNotAPopup) {
    TqhlHelpMonitor* monitor = NewMonitor();
    ShowForm();
    const HMENU whatIsThis = monitor->WhatIsThisPopup()->Handle();
    const HWND window = form->Handle();
    std::vector<HMENU> seen;
    fw::stdtest::ScriptedInput script;
    script.abandon = [] { EndMenu(); };
    script.Add("a menu opens", [&] {
        seen = OpenMenus();
        return !seen.empty();
    });
    script.Do("escape", [window] { PostKey(window, VK_ESCAPE); });
    script.Add("the menu closed", [] { return OpenMenus().empty(); });
    script.Start();
    // The system waits for the button's release with the mouse captured (a client message then) and
    // hit-tests where the pointer is.
    const POINT at = PointOf(HTCAPTION);
    SetCursorPos(at.x, at.y);
    POINT client = at;
    ScreenToClient(window, &client);
    PostMessageA(window, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    script.PumpUntilFinished();
    EXPECT_EQ(script.Failure(), "");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0], whatIsThis);
    EXPECT_EQ(seen[0], GetSystemMenu(window, FALSE)) << "the system menu";
    EXPECT_TRUE(g_calls.empty()) << Describe(g_calls);
}

TEST_F(HelpMonitorTest, RightClickOnTheBorderOffersWhatIsThisForItsTopic) {
    TqhlHelpMonitor* monitor = NewMonitor();
    ShowForm();
    const HMENU whatIsThis = monitor->WhatIsThisPopup()->Handle();
    const HWND window = form->Handle();
    fw::stdtest::ScriptedInput script;
    script.abandon = [] { EndMenu(); };
    script.Add("the What's This? popup opens", [&] {
        const std::vector<HMENU> open = OpenMenus();
        return open.size() == 1 && open[0] == whatIsThis;
    });
    script.Do("choose it", [window] {
        PostKey(window, VK_DOWN);
        PostKey(window, VK_RETURN);
    });
    script.Add("the popup closed", [] { return OpenMenus().empty(); });
    script.Start();
    const POINT at = PointOf(HTLEFT);
    PostMessageA(window, WM_NCRBUTTONDOWN, HTLEFT, MAKELPARAM(at.x, at.y));
    PostMessageA(window, WM_NCRBUTTONUP, HTLEFT, MAKELPARAM(at.x, at.y));
    script.PumpUntilFinished();
    Pump();
    EXPECT_EQ(script.Failure(), "");
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ(g_calls.back().file, kStdHelp);
    EXPECT_EQ(g_calls.back().command, 8u);
    EXPECT_EQ(g_calls.back().data, 100040u) << "the sizing edge's topic";
}

}  // namespace
}  // namespace uis
