// The window hook on real windows: order and Handled, re-created windows, stacking with the widget
// suite's form hook in both orders, leaving from inside a handler, and "IsForm" in form text.
#include "uisupport/win32/kyvhook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_panel.h"
#include "uisupport/win32/uisregister.h"
#include "widgets/win32/wndproccomponent.h"

namespace uis {
namespace {

constexpr UINT kPing = WM_APP + 11;
std::vector<std::string> g_log;

class TProbeForm : public fw::TForm {
public:
    using TForm::TForm;
    TKyvWindowHook* Hook1 = nullptr;
    fw::TPanel* Panel1 = nullptr;

protected:
    void WndProc(fw::TMessage& message) override {
        if (message.Msg == kPing) {
            g_log.push_back("form");
            message.Result = 7;
            return;
        }
        TForm::WndProc(message);
    }
};

// Logs what it sees before and after the form; may swallow kPing before it.
class TLoggingHook : public TKyvWindowHook {
public:
    using TKyvWindowHook::TKyvWindowHook;
    bool swallow = false;
    bool leaveAfter = false;

protected:
    void DoBeforeMessage(fw::TMessage& msg, bool& handled) override {
        if (msg.Msg != kPing) return;
        g_log.push_back(Name() + ":before");
        if (swallow) {
            msg.Result = 42;
            handled = true;
        }
    }
    void DoAfterMessage(fw::TMessage& msg, bool& handled) override {
        if (msg.Msg != kPing) return;
        g_log.push_back(Name() + ":after=" + std::to_string(msg.Result));
        if (leaveAfter) SetWinControl(nullptr);
    }
};

// A widget-suite form hook that logs.
class TSuiteWatcher : public kvx::win32::TKVXWndProcComponent {
public:
    using TKVXWndProcComponent::TKVXWndProcComponent;

protected:
    void HookWndProc(fw::HookMessage& message) override {
        if (message.Msg == kPing) g_log.push_back("suite");
        TKVXWndProcComponent::HookWndProc(message);
    }
};

using Log = std::vector<std::string>;

Log Ping(HWND window, LRESULT* result = nullptr) {
    g_log.clear();
    const LRESULT r = SendMessageA(window, kPing, 0, 0);
    if (result) *result = r;
    return g_log;
}

void Pump() {
    for (int i = 0; i < 5; ++i) fw::Application->ProcessMessages();
}

class KyvHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        RegisterUISupportClasses();
        form = fw::TForm::CreateNew<TProbeForm>(nullptr);
        form->SetName("frmHooked");
        form->SetBounds(20, 20, 300, 200);
    }
    void TearDown() override {
        if (form) form->Free();
        fw::DoneApplication();
    }
    TLoggingHook* NewHook(const std::string& name) {
        auto* hook = fw::Make<TLoggingHook>(form);
        hook->SetName(name);
        hook->SetWinControl(form);
        return hook;
    }
    TProbeForm* form = nullptr;
};

TEST_F(KyvHookTest, TheLastRegisteredHookSeesEachMessageFirstAndHandledStopsTheRest) {
    TLoggingHook* first = NewHook("first");
    TLoggingHook* second = NewHook("second");
    LRESULT result = 0;
    EXPECT_EQ(Ping(form->Handle(), &result),
              (Log{"second:before", "first:before", "form", "second:after=7", "first:after=7"}));
    EXPECT_EQ(result, 7);
    second->swallow = true;
    EXPECT_EQ(Ping(form->Handle(), &result), (Log{"second:before"}));
    EXPECT_EQ(result, 42);
    second->swallow = false;
    second->SetActive(false);
    EXPECT_EQ(Ping(form->Handle()), (Log{"first:before", "form", "first:after=7"}));
    second->SetActive(true);  // registering again puts it last
    EXPECT_EQ(Ping(form->Handle()).front(), "second:before");
    EXPECT_EQ(THookList::Get(false)->Count(), 1);  // one control hook for both
    first->Free();
    second->Free();
}

TEST_F(KyvHookTest, ARecreatedWindowIsHookedAgain) {
    NewHook("hook");
    const HWND old = form->Handle();
    form->RecreateWnd();
    Pump();  // the re-install message
    ASSERT_NE(form->Handle(), old);
    EXPECT_EQ(Ping(form->Handle()), (Log{"hook:before", "form", "hook:after=7"}));
}

TEST_F(KyvHookTest, SuiteFormHookAndWindowHookLeaveInEitherOrder) {
    for (const bool suiteFirst : {true, false}) {
        SCOPED_TRACE(suiteFirst ? "suite hook removed first" : "window hook removed first");
        auto* suite = fw::Make<TSuiteWatcher>(form);
        ASSERT_TRUE(suite->InstallHook());
        TLoggingHook* hook = NewHook("hook");
        EXPECT_EQ(Ping(form->Handle()), (Log{"hook:before", "suite", "form", "hook:after=7"}));
        if (suiteFirst) {
            suite->Free();
            EXPECT_EQ(Ping(form->Handle()), (Log{"hook:before", "form", "hook:after=7"}));
            hook->Free();
        } else {
            hook->Free();
            EXPECT_EQ(Ping(form->Handle()), (Log{"suite", "form"}));
            suite->Free();
        }
        LRESULT result = 0;
        EXPECT_EQ(Ping(form->Handle(), &result), (Log{"form"}));
        EXPECT_EQ(result, 7);
        // The form still lays itself out and answers the system.
        form->SetBounds(30, 30, 320, 210);
        EXPECT_EQ(form->Width(), 320);
        Pump();
    }
}

TEST_F(KyvHookTest, LeavingFromAnAfterHandlerKeepsTheControlHookUntilItsMessageEnds) {
    TLoggingHook* hook = NewHook("hook");
    hook->leaveAfter = true;
    EXPECT_EQ(Ping(form->Handle()), (Log{"hook:before", "form", "hook:after=7"}));
    EXPECT_EQ(hook->WinControl(), nullptr);
    EXPECT_EQ(THookList::Get(false)->Count(), 1);  // freed later, from the list's window
    Pump();
    EXPECT_EQ(THookList::Get(false)->Count(), 0);
    EXPECT_EQ(Ping(form->Handle()), (Log{"form"}));
}

TEST_F(KyvHookTest, AHookOnItsOwnFormIsWrittenAsIsFormAndReadBackBound) {
    fw::Class<TProbeForm, fw::TForm>("TfrmHooked")
        .Field("Hook1", &TProbeForm::Hook1)
        .Field("Panel1", &TProbeForm::Panel1);
    auto* panel = fw::Make<fw::TPanel>(form);
    panel->SetName("Panel1");
    panel->SetParent(form);
    auto* onForm = fw::Make<TKyvWindowHook>(form);
    onForm->SetName("Hook1");
    onForm->SetWinControl(form);
    auto* onPanel = fw::Make<TKyvWindowHook>(form);
    onPanel->SetName("Hook2");
    onPanel->SetWinControl(panel);
    const std::string text = fw::WriteComponentText(form);
    EXPECT_NE(text.find("IsForm = True"), std::string::npos) << text;
    EXPECT_NE(text.find("WinControl = Panel1"), std::string::npos) << text;
    EXPECT_EQ(text.find("WinControl = frmHooked"), std::string::npos) << text;

    auto* copy = fw::TForm::CreateNew<TProbeForm>(nullptr);
    fw::ReadComponentText(copy, text, "copy");
    ASSERT_NE(copy->Hook1, nullptr);
    EXPECT_EQ(copy->Hook1->WinControl(), copy);
    g_log.clear();
    SendMessageA(copy->Handle(), kPing, 0, 0);
    EXPECT_EQ(g_log, (Log{"form"}));  // a plain hook logs nothing, but the form answers through it
    copy->Free();
}

}  // namespace
}  // namespace uis
