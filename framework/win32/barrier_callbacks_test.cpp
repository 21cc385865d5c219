// The callback barrier at work: exceptions thrown in a hook, a list-view sort callback, a timer and an
// enumeration procedure reach the installed handler, the callback answers its fallback, and the
// message loop goes on.
#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/win32/callback.h"
#include "framework/win32/hooks.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kGoOn = WM_APP + 2;

std::vector<std::string> g_reported;
std::vector<std::string> g_log;

void Collect(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        g_reported.push_back(e.what());
    } catch (...) {
        g_reported.push_back("?");
    }
}

LRESULT CALLBACK OwnProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        if (msg == kThrow) {
            g_log.push_back("own");
            return LRESULT{5};
        }
        if (msg == kGoOn) {
            g_log.push_back("go on");
            return LRESULT{0};
        }
        return DefWindowProcA(window, msg, wParam, lParam);
    })
}

HWND NewWindow() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FwBarrierTest";
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, "FwBarrierTest", "barrier", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Pumps the queue like the application's loop until `stop` was logged or the time runs out.
bool PumpUntil(const std::string& stop, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            for (const auto& s : g_log)
                if (s == stop) return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return false;
}

class BarrierTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_reported.clear();
        g_log.clear();
        SetCallbackExceptionHandler(Collect);
        window_ = NewWindow();
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        SetCallbackExceptionHandler(nullptr);
    }
    HWND window_ = nullptr;
};

TEST_F(BarrierTest, AnExceptionInAHookReachesTheHandlerAndTheMessageGoesOn) {
    AddHook(window_, [](HookMessage& m) {
        if (m.Msg == kThrow) g_log.push_back("older hook");
    });
    AddHook(window_, [](HookMessage& m) {
        if (m.Msg == kThrow) throw EConvertError("hook failed");
    });
    // Sent: the throwing hook is passed over, the rest of the chain answers.
    EXPECT_EQ(SendMessageA(window_, kThrow, 0, 0), 5);
    EXPECT_EQ(g_reported, (std::vector<std::string>{"hook failed"}));
    EXPECT_EQ(g_log, (std::vector<std::string>{"older hook", "own"}));

    // Posted: the loop dispatches the failing message and carries on with the next one.
    g_log.clear();
    PostMessageA(window_, kThrow, 0, 0);
    PostMessageA(window_, kGoOn, 0, 0);
    EXPECT_TRUE(PumpUntil("go on"));
    EXPECT_EQ(g_reported.size(), 2u);
}

TEST_F(BarrierTest, AnExceptionInAHookAfterCallNextKeepsTheWindowsAnswer) {
    AddHook(window_, [](HookMessage& m) {
        if (m.Msg != kThrow) return;
        m.CallNext();
        throw EConvertError("after the window");
    });
    EXPECT_EQ(SendMessageA(window_, kThrow, 0, 0), 5);
    EXPECT_EQ(g_log, (std::vector<std::string>{"own"})) << "the window saw the message once";
    EXPECT_EQ(g_reported, (std::vector<std::string>{"after the window"}));
}

int CALLBACK CompareThrowing(LPARAM a, LPARAM b, LPARAM) {
    FW_CALLBACK_BODY(0, {
        if (a == 2 || b == 2) throw EListError("cannot compare");
        return a < b ? -1 : (a > b ? 1 : 0);
    })
}

TEST_F(BarrierTest, AnExceptionInAListViewSortCallbackReachesTheHandler) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 180, 80, window_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<char*>("Name");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    const char* names[] = {"three", "one", "two"};
    const LPARAM keys[] = {3, 1, 2};
    for (int i = 0; i < 3; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = const_cast<char*>(names[i]);
        item.lParam = keys[i];
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareThrowing));
    ASSERT_FALSE(g_reported.empty());
    for (const auto& r : g_reported) EXPECT_EQ(r, "cannot compare");
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3) << "the list survives a failed sort";

    PostMessageA(window_, kGoOn, 0, 0);
    EXPECT_TRUE(PumpUntil("go on"));
}

void CALLBACK ThrowingTimer(HWND, UINT, UINT_PTR, DWORD) {
    FW_CALLBACK_VOID({
        g_log.push_back("tick");
        throw EInvalidOperation("timer failed");
    })
}

TEST_F(BarrierTest, AnExceptionInATimerProcedureReachesTheHandler) {
    const UINT_PTR timer = SetTimer(window_, 1, 10, ThrowingTimer);
    ASSERT_NE(timer, 0u);
    EXPECT_TRUE(PumpUntil("tick"));
    KillTimer(window_, timer);
    EXPECT_EQ(g_reported.at(0), "timer failed");
    PostMessageA(window_, kGoOn, 0, 0);
    EXPECT_TRUE(PumpUntil("go on"));
}

BOOL CALLBACK ThrowingEnum(HWND, LPARAM) {
    FW_CALLBACK_BODY(FALSE, {
        g_log.push_back("enum");
        throw EAbort("stop");
        return TRUE;
    })
}

TEST_F(BarrierTest, AnExceptionInAnEnumerationProcedureEndsTheEnumeration) {
    EnumWindows(ThrowingEnum, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"enum"})) << "the fallback FALSE stops the walk";
    EXPECT_EQ(g_reported, (std::vector<std::string>{"stop"})) << "the handler decides what to do with EAbort";
}

}  // namespace
}  // namespace fw
