// The hook chain of plain windows: order, handling, removal in every order and from inside running
// hooks, destruction, re-creation and the window's own procedure coming back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/win32/callback.h"
#include "framework/win32/hooks.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kNested = WM_APP + 2;
constexpr LRESULT kOwnResult = 7;

std::vector<std::string> g_log;

void Log(const std::string& what) { g_log.push_back(what); }

LRESULT CALLBACK OwnProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        switch (msg) {
        case kPing:
            Log("own");
            return kOwnResult;
        case WM_DESTROY:
            Log("own:WM_DESTROY");
            return LRESULT{0};
        case WM_NCDESTROY:
            Log("own:WM_NCDESTROY");
            return LRESULT{0};
        default:
            return DefWindowProcA(window, msg, wParam, lParam);
        }
    })
}

const char* TestClass() {
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FwHookChainTest";
        RegisterClassA(&wc);
        return "FwHookChainTest";
    }();
    return name;
}

HWND NewWindow() {
    HWND w = CreateWindowExA(0, TestClass(), "hooks", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr);
    return w;
}

// A hook that writes its name to the log for kPing.
Hook Named(const std::string& name) {
    return [name](HookMessage& m) {
        if (m.Msg == kPing) Log(name);
    };
}

std::vector<std::string> Ping(HWND w, LRESULT* result = nullptr) {
    g_log.clear();
    const LRESULT r = SendMessageA(w, kPing, 0, 0);
    if (result) *result = r;
    return g_log;
}

using Names = std::vector<std::string>;

class HookChainTest : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
    void TearDown() override {
        for (HWND w : windows_)
            if (IsWindow(w)) DestroyWindow(w);
    }
    HWND Window() {
        windows_.push_back(NewWindow());
        return windows_.back();
    }
    std::vector<HWND> windows_;
};

TEST_F(HookChainTest, NewestHookSeesTheMessageFirstAndTheOwnProcedureLast) {
    HWND w = Window();
    AddHook(w, Named("a"));
    AddHook(w, Named("b"));
    AddHook(w, Named("c"));
    LRESULT result = 0;
    EXPECT_EQ(Ping(w, &result), (Names{"c", "b", "a", "own"}));
    EXPECT_EQ(result, kOwnResult);
    EXPECT_EQ(HookCount(w), 3u);
}

TEST_F(HookChainTest, ThreeHooksRemovedInAllSixOrdersKeepTheRestWorking) {
    const std::array<std::string, 3> names{"a", "b", "c"};
    std::array<int, 3> order{0, 1, 2};
    int orders = 0;
    do {
        SCOPED_TRACE(names[order[0]] + names[order[1]] + names[order[2]]);
        HWND w = Window();
        const auto original = GetWindowLongPtrA(w, GWLP_WNDPROC);
        std::array<HookId, 3> ids{};
        for (int i = 0; i < 3; ++i) ids[i] = AddHook(w, Named(names[i]));
        EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), original);

        std::vector<bool> alive{true, true, true};
        for (int step = 0; step < 3; ++step) {
            EXPECT_TRUE(RemoveHook(ids[order[step]]));
            EXPECT_FALSE(RemoveHook(ids[order[step]])) << "a removed hook is gone for good";
            alive[order[step]] = false;
            Names want;
            for (int i = 2; i >= 0; --i)
                if (alive[i]) want.push_back(names[i]);
            want.push_back("own");
            LRESULT result = 0;
            EXPECT_EQ(Ping(w, &result), want);
            EXPECT_EQ(result, kOwnResult);
            EXPECT_EQ(HookCount(w), static_cast<std::size_t>(2 - step));
        }
        // With the last hook gone the subclass is gone too, and the class procedure is back.
        EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 6);
}

TEST_F(HookChainTest, AHandledMessageStopsWithTheHooksResult) {
    HWND w = Window();
    AddHook(w, Named("a"));
    AddHook(w, [](HookMessage& m) {
        if (m.Msg != kPing) return;
        Log("stop");
        m.Result = 42;
        m.Handled = true;
    });
    AddHook(w, Named("c"));
    LRESULT result = 0;
    EXPECT_EQ(Ping(w, &result), (Names{"c", "stop"}));
    EXPECT_EQ(result, 42);
}

TEST_F(HookChainTest, CallNextLetsAHookActOnTheWindowsAnswer) {
    HWND w = Window();
    AddHook(w, Named("older"));
    AddHook(w, [](HookMessage& m) {
        if (m.Msg != kPing) return;
        Log("before");
        const LRESULT answer = m.CallNext();
        Log("after:" + std::to_string(answer));
        EXPECT_TRUE(m.Handled);
        EXPECT_EQ(m.CallNext(), answer) << "a second call passes nothing on again";
        m.Result = answer + 1;
    });
    LRESULT result = 0;
    EXPECT_EQ(Ping(w, &result), (Names{"before", "older", "own", "after:7"}));
    EXPECT_EQ(result, kOwnResult + 1);
}

TEST_F(HookChainTest, CallNextReturnsTheAnswerOfAnOlderHookThatHandledTheMessage) {
    HWND w = Window();
    AddHook(w, [](HookMessage& m) {
        if (m.Msg != kPing) return;
        m.Result = 99;
        m.Handled = true;
    });
    AddHook(w, [](HookMessage& m) {
        if (m.Msg == kPing) Log("after:" + std::to_string(m.CallNext()));
    });
    LRESULT result = 0;
    EXPECT_EQ(Ping(w, &result), (Names{"after:99"}));
    EXPECT_EQ(result, 99);
}

// Removal from inside a running hook: the hook "b" (middle of a, b, c) removes some hooks while kPing
// passes; a hook removed before its turn is not called, and the next message sees only the rest.
TEST_F(HookChainTest, RemovalFromInsideARunningHook) {
    struct Case {
        const char* name;
        std::vector<int> remove;  // indexes into a, b, c
        Names during;
        Names next;
    };
    const Case cases[] = {
        {"itself", {1}, {"c", "b", "a", "own"}, {"c", "a", "own"}},
        {"an older one before its turn", {0}, {"c", "b", "own"}, {"c", "b", "own"}},
        {"a newer one already called", {2}, {"c", "b", "a", "own"}, {"b", "a", "own"}},
        {"itself and both others", {1, 0, 2}, {"c", "b", "own"}, {"own"}},
        {"the others, then itself", {0, 2, 1}, {"c", "b", "own"}, {"own"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND w = Window();
        const auto original = GetWindowLongPtrA(w, GWLP_WNDPROC);
        auto ids = std::make_shared<std::array<HookId, 3>>();
        bool armed = true;
        (*ids)[0] = AddHook(w, Named("a"));
        (*ids)[1] = AddHook(w, [&, ids](HookMessage& m) {
            if (m.Msg != kPing) return;
            Log("b");
            if (!armed) return;
            armed = false;
            for (int i : c.remove) EXPECT_TRUE(RemoveHook((*ids)[i]));
        });
        (*ids)[2] = AddHook(w, Named("c"));
        EXPECT_EQ(Ping(w), c.during);
        EXPECT_EQ(Ping(w), c.next);
        if (c.next.size() == 1) {
            EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
        }
    }
}

TEST_F(HookChainTest, AHookAddedDuringAMessageSeesOnlyLaterMessages) {
    HWND w = Window();
    bool added = false;
    AddHook(w, [&](HookMessage& m) {
        if (m.Msg != kPing) return;
        Log("a");
        if (!added) {
            added = true;
            AddHook(w, Named("late"));
        }
    });
    EXPECT_EQ(Ping(w), (Names{"a", "own"}));
    EXPECT_EQ(Ping(w), (Names{"late", "a", "own"}));
}

TEST_F(HookChainTest, NestedMessagesWalkTheChainOnTheirOwn) {
    HWND w = Window();
    HookId inner = 0;
    AddHook(w, Named("a"));
    AddHook(w, [&](HookMessage& m) {
        if (m.Msg == kNested) {
            Log("nested");
            RemoveHook(inner);  // removed in the middle of the outer message's walk
        }
    });
    AddHook(w, [&](HookMessage& m) {
        if (m.Msg != kPing) return;
        Log("outer");
        SendMessageA(m.Window, kNested, 0, 0);
    });
    inner = AddHook(w, Named("inner"));
    EXPECT_EQ(Ping(w), (Names{"inner", "outer", "nested", "a", "own"}));
    EXPECT_EQ(HookCount(w), 3u);
}

TEST_F(HookChainTest, DestroyMessagesReachTheOwnProcedureEvenWhenHandled) {
    HWND w = Window();
    int destroyed = 0;
    AddHook(w, Named("a"), [&] {
        ++destroyed;
        Log("onDestroyed");
    });
    const HookId id = AddHook(w, [](HookMessage& m) {
        Log("swallow:" + std::to_string(m.Msg));
        m.Handled = true;
    });
    g_log.clear();
    DestroyWindow(w);
    const auto has = [](const std::string& s) { return std::count(g_log.begin(), g_log.end(), s); };
    EXPECT_EQ(has("own:WM_DESTROY"), 1);
    EXPECT_EQ(has("own:WM_NCDESTROY"), 1);
    EXPECT_EQ(has("swallow:" + std::to_string(WM_NCDESTROY)), 1) << "hooks see the last message too";
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(g_log.back(), "onDestroyed") << "onDestroyed runs after the window's own clean-up";
    EXPECT_FALSE(RemoveHook(id)) << "hooks die with their window";
    EXPECT_EQ(HookCount(w), 0u);
}

TEST_F(HookChainTest, HooksOfAWindowDoNotFollowANewWindow) {
    HWND first = Window();
    int destroyed = 0;
    AddHook(first, Named("old"), [&] { ++destroyed; });
    DestroyWindow(first);
    EXPECT_EQ(destroyed, 1);
    HWND second = Window();  // may well get the same handle value
    EXPECT_EQ(HookCount(second), 0u);
    EXPECT_EQ(Ping(second), (Names{"own"}));
    AddHook(second, Named("new"));
    EXPECT_EQ(Ping(second), (Names{"new", "own"}));
}

TEST_F(HookChainTest, WindowsThatCannotBeHookedAreRefused) {
    EXPECT_THROW(AddHook(static_cast<HWND>(nullptr), Named("x")), EInvalidOperation);
    HWND w = Window();
    EXPECT_THROW(AddHook(w, Hook{}), EInvalidOperation);
    DestroyWindow(w);
    EXPECT_THROW(AddHook(w, Named("x")), EInvalidOperation);

    // A window of another thread belongs to that thread's procedures.
    HWND foreign = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        foreign = NewWindow();
        SetEvent(created);
        WaitForSingleObject(done, INFINITE);
        DestroyWindow(foreign);
    });
    WaitForSingleObject(created, INFINITE);
    EXPECT_THROW(AddHook(foreign, Named("x")), EInvalidOperation);
    SetEvent(done);
    owner.join();
    CloseHandle(created);
    CloseHandle(done);
}

TEST_F(HookChainTest, ScopedHookRemovesItsHook) {
    HWND w = Window();
    {
        ScopedHook scoped(AddHook(w, Named("scoped")));
        EXPECT_EQ(Ping(w), (Names{"scoped", "own"}));
        ScopedHook moved = std::move(scoped);
        EXPECT_FALSE(scoped);
        EXPECT_EQ(HookCount(w), 1u);
    }
    EXPECT_EQ(HookCount(w), 0u);
    EXPECT_EQ(Ping(w), (Names{"own"}));
}

}  // namespace
}  // namespace fw
