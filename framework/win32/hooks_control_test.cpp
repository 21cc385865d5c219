// Hooks bound to controls: they wait for the control's window, follow it through RecreateWnd, are
// passed by Perform, and die with the control. Exceptions in hooks and sort callbacks reach the
// application's OnException while its loop goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/hooks.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kGoOn = WM_APP + 2;

std::vector<std::string> g_log;

// A windowed control that logs what reaches its own WndProc.
class TProbe : public TWinControl {
public:
    // Hidden: destroying a visible top-level window costs seconds under Wine without a window manager.
    explicit TProbe(TComponent* owner) : TWinControl(owner) {
        controlStyle_ |= csAcceptsControls;
        SetVisible(false);
    }

protected:
    void WndProc(TMessage& message) override {
        switch (message.Msg) {
        case kPing:
            g_log.push_back(Name() + ":own");
            message.Result = 7;
            return;
        case kGoOn:
            g_log.push_back("go on");
            return;
        case WM_DESTROY:
            g_log.push_back(Name() + ":WM_DESTROY");
            break;
        case WM_NCDESTROY:
            g_log.push_back(Name() + ":WM_NCDESTROY");
            break;
        }
        TWinControl::WndProc(message);
    }
};

// A form that logs the same way.
class TProbeForm : public TForm {
public:
    explicit TProbeForm(TComponent* owner) : TForm(owner) {}

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == kPing) {
            g_log.push_back("form:own");
            message.Result = 7;
            return;
        }
        if (message.Msg == WM_DESTROY) g_log.push_back("form:WM_DESTROY");
        if (message.Msg == WM_NCDESTROY) g_log.push_back("form:WM_NCDESTROY");
        TForm::WndProc(message);
    }
};

Hook Named(const std::string& name) {
    return [name](HookMessage& m) {
        if (m.Msg == kPing) g_log.push_back(name);
    };
}

using Names = std::vector<std::string>;

Names Ping(HWND w) {
    g_log.clear();
    SendMessageA(w, kPing, 0, 0);
    return g_log;
}

class HookControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        InitApplication();
        form_ = Make<TProbe>(nullptr);
        form_->SetName("form");
        form_->SetBounds(10, 10, 300, 200);
    }
    void TearDown() override {
        if (form_) form_->Free();
        DoneApplication();
    }
    TProbe* form_ = nullptr;
};

TEST_F(HookControlTest, HooksWaitForTheWindowAndFollowItThroughRecreateWnd) {
    AddHook(*form_, Named("first"));
    AddHook(*form_, Named("second"));
    EXPECT_FALSE(form_->HandleAllocated()) << "adding a hook creates no window";

    HWND w = form_->Handle();
    EXPECT_EQ(HookCount(w), 2u);
    EXPECT_EQ(Ping(w), (Names{"second", "first", "form:own"}));

    int foreignDied = 0;
    AddHook(w, Named("foreign"), [&] { ++foreignDied; });
    EXPECT_EQ(Ping(w), (Names{"foreign", "second", "first", "form:own"}));

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        form_->RecreateWnd();
        ASSERT_TRUE(form_->HandleAllocated());
        w = form_->Handle();
        EXPECT_EQ(foreignDied, 1) << "a hook on the window itself dies with it";
        EXPECT_EQ(HookCount(w), 2u);
        EXPECT_EQ(Ping(w), (Names{"second", "first", "form:own"}));
    }
}

TEST_F(HookControlTest, AHookAddedToALiveWindowIsAttachedAtOnceAndRemovedForGood) {
    HWND w = form_->Handle();
    const HookId id = AddHook(*form_, Named("late"));
    EXPECT_EQ(Ping(w), (Names{"late", "form:own"}));
    EXPECT_TRUE(RemoveHook(id));
    EXPECT_EQ(HookCount(w), 0u);
    form_->RecreateWnd();
    EXPECT_EQ(Ping(form_->Handle()), (Names{"form:own"})) << "a removed hook is not attached again";
}

TEST_F(HookControlTest, ChildHooksSurviveTheParentsRecreateWnd) {
    TProbe* child = Make<TProbe>(form_);
    child->SetName("child");
    child->SetBounds(5, 5, 50, 20);
    child->SetParent(form_);
    AddHook(*child, Named("child hook"));
    form_->HandleNeeded();
    ASSERT_TRUE(child->HandleAllocated());
    EXPECT_EQ(Ping(child->Handle()), (Names{"child hook", "child:own"}));
    form_->RecreateWnd();
    ASSERT_TRUE(child->HandleAllocated());
    EXPECT_EQ(Ping(child->Handle()), (Names{"child hook", "child:own"}));
}

TEST_F(HookControlTest, PerformBypassesHooksAndWindowsMessagesPassThem) {
    HWND w = form_->Handle();
    AddHook(*form_, [](HookMessage& m) {
        if (m.Msg != kPing) return;
        g_log.push_back("hook");
        m.Result = 99;
        m.Handled = true;
    });
    g_log.clear();
    EXPECT_EQ(form_->Perform(kPing), 7);
    EXPECT_EQ(g_log, (Names{"form:own"}));
    g_log.clear();
    EXPECT_EQ(SendMessageA(w, kPing, 0, 0), 99);
    EXPECT_EQ(g_log, (Names{"hook"}));
}

TEST_F(HookControlTest, DestroyMessagesReachTheControlEvenWhenAHookSwallowsEverything) {
    HWND w = form_->Handle();
    AddHook(*form_, [](HookMessage& m) { m.Handled = true; });
    AddHook(w, [](HookMessage& m) { m.Handled = true; });
    g_log.clear();
    form_->RecreateWnd();
    EXPECT_EQ(g_log, (Names{"form:WM_DESTROY", "form:WM_NCDESTROY"}));
    EXPECT_TRUE(form_->HandleAllocated());
    EXPECT_EQ(HookCount(form_->Handle()), 1u);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(HookControlTest, AFreedControlTakesItsHooksAlong) {
    TProbe* other = Make<TProbe>(nullptr);
    const HookId before = AddHook(*other, Named("x"));
    other->HandleNeeded();
    const HookId after = AddHook(*other, Named("y"));
    other->Free();
    EXPECT_FALSE(RemoveHook(before));
    EXPECT_FALSE(RemoveHook(after));

    TProbe* windowless = Make<TProbe>(nullptr);
    const HookId never = AddHook(*windowless, Named("z"));
    windowless->Free();
    EXPECT_FALSE(RemoveHook(never)) << "a control that never had a window releases its hooks too";
}

TEST_F(HookControlTest, ThreeHooksOnAFormRemovedInAllSixOrdersAcrossNewWindows) {
    const std::string names[] = {"a", "b", "c"};
    int order[] = {0, 1, 2};
    do {
        SCOPED_TRACE(names[order[0]] + names[order[1]] + names[order[2]]);
        TProbeForm* form = TForm::CreateNew<TProbeForm>(nullptr);
        HookId ids[3];
        for (int i = 0; i < 3; ++i) ids[i] = AddHook(*form, Named(names[i]));
        bool alive[] = {true, true, true};
        for (int step = 0; step < 3; ++step) {
            EXPECT_TRUE(RemoveHook(ids[order[step]]));
            alive[order[step]] = false;
            Names want;
            for (int i = 2; i >= 0; --i)
                if (alive[i]) want.push_back(names[i]);
            want.push_back("form:own");
            EXPECT_EQ(Ping(form->Handle()), want);
            form->RecreateWnd();
            EXPECT_EQ(Ping(form->Handle()), want) << "after RecreateWnd";
        }
        // The form's own procedure sees the end of its window even under a hook that takes everything.
        AddHook(*form, [](HookMessage& m) { m.Handled = true; });
        g_log.clear();
        form->Free();
        EXPECT_EQ(g_log, (Names{"form:WM_DESTROY", "form:WM_NCDESTROY"}));
    } while (std::next_permutation(std::begin(order), std::end(order)));
}

int CALLBACK CompareThrowing(LPARAM a, LPARAM b, LPARAM) {
    FW_CALLBACK_BODY(0, {
        if (a == 2 || b == 2) throw EListError("cannot compare");
        return a < b ? -1 : (a > b ? 1 : 0);
    })
}

TEST_F(HookControlTest, ExceptionsInHooksAndSortCallbacksReachOnExceptionAndTheLoopGoesOn) {
    std::vector<std::string> reported;
    Application->OnException.Bind(&reported, [](void* ctx, TObject*, Exception& e) {
        static_cast<std::vector<std::string>*>(ctx)->push_back(e.Message());
    });
    HWND w = form_->Handle();
    AddHook(*form_, [](HookMessage& m) {
        if (m.Msg == kPing) throw EConvertError("hook failed");
    });
    PostMessageA(w, kPing, 0, 0);
    PostMessageA(w, kGoOn, 0, 0);
    g_log.clear();
    Application->ProcessMessages();
    EXPECT_EQ(reported, (std::vector<std::string>{"hook failed"}));
    EXPECT_EQ(g_log, (Names{"form:own", "go on"})) << "the window still answers, and the loop goes on";

    // A raw list view sorted with a callback that fails.
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, w, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    for (LPARAM key : {3, 1, 2}) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = 0;
        item.pszText = const_cast<char*>("item");
        item.lParam = key;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    reported.clear();
    SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareThrowing));
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.front(), "cannot compare");
    g_log.clear();
    PostMessageA(w, kGoOn, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(g_log, (Names{"go on"}));
}

}  // namespace
}  // namespace fw
