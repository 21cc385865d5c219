// Message dispatch: Perform against Win32 hooks, reflection of child notifications, posted framework
// messages, text through the window, RecreateWnd, keys and focus notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/controls_test_support.h"
#include "framework/win32/hooks.h"

namespace fw {
namespace {

using testing::MakeHost;
using testing::Pump;
using testing::THost;

// Logs the framework and reflected messages its WndProc sees.
template <class Base>
class TLogging : public Base {
public:
    explicit TLogging(TComponent* owner) : Base(owner) {}
    std::vector<UINT> seen;
    bool Saw(UINT msg) const { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }
    int Count(UINT msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg >= CM_BASE || m.Msg == WM_USER + 7) seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 7) {
            m.Result = 77;
            return;
        }
        Base::WndProc(m);
    }
};

// A push button: a subclass of the system class.
class TTestButton : public TLogging<TWinControl> {
public:
    explicit TTestButton(TComponent* owner) : TLogging<TWinControl>(owner) {}
    bool cnCommandClicked = false;
    bool ownerDraw = false;

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, "BUTTON");
        params.Style |= ownerDraw ? BS_OWNERDRAW : BS_PUSHBUTTON;
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) cnCommandClicked = true;
        TLogging<TWinControl>::WndProc(m);
    }
};

// An owner-drawn list box: it asks its parent for item heights while its window is being created.
class TTestList : public TLogging<TWinControl> {
public:
    explicit TTestList(TComponent* owner) : TLogging<TWinControl>(owner) {}

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, "LISTBOX");
        params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL;
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == CN_MEASUREITEM) reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = 21;
        TLogging<TWinControl>::WndProc(m);
    }
};

// An edit box: a subclass of the system class, with key handlers.
class TTestEdit : public TWinControl {
public:
    explicit TTestEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, "EDIT");
        params.Style |= ES_AUTOHSCROLL;
    }
};

class ControlsDispatch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterControlClasses();
        Class<TTestButton, TWinControl>("TTestButton");
        Class<TTestEdit, TWinControl>("TTestEdit");
        sharedHost = MakeHost(80, 80, 300, 200);
    }
    static void TearDownTestSuite() {
        sharedHost->Free();
        sharedHost = nullptr;
        Pump();
    }
    void SetUp() override { host = sharedHost; }
    void TearDown() override {
        while (host->ControlCount() > 0) host->Controls(host->ControlCount() - 1)->Free();
        Pump();
    }
    template <class T>
    T* Add(TRect bounds, const std::string& name = {}) {
        auto* c = Make<T>(nullptr);
        if (!name.empty()) c->SetName(name);
        c->SetBoundsRect(bounds);
        c->SetParent(host);
        return c;
    }
    THost* host = nullptr;
    static inline THost* sharedHost = nullptr;
};

TEST_F(ControlsDispatch, PerformReachesWndProcAndBypassesHooks) {
    auto* button = Add<TTestButton>(Bounds(10, 10, 80, 24));
    int hooked = 0;
    const HookId id = AddHook(*button, [&](HookMessage& m) {
        if (m.Msg == WM_USER + 7) ++hooked;
    });
    EXPECT_EQ(button->Perform(WM_USER + 7), 77);
    EXPECT_EQ(hooked, 0) << "Perform passes no hook";
    EXPECT_EQ(SendMessageA(button->Handle(), WM_USER + 7, 0, 0), 77);
    EXPECT_EQ(hooked, 1) << "a message through Win32 passes the hooks first";
    EXPECT_EQ(button->Count(WM_USER + 7), 2);

    // RecreateWnd: a new window, with the caption and the control-bound hook.
    button->SetCaption("Press");
    HWND before = button->Handle();
    button->RecreateWnd();
    ASSERT_TRUE(button->HandleAllocated());
    EXPECT_NE(button->Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    char text[32] = {};
    GetWindowTextA(button->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Press");
    EXPECT_EQ(button->Caption(), "Press");
    EXPECT_EQ(button->BoundsRect(), Bounds(10, 10, 80, 24));
    SendMessageA(button->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(hooked, 2) << "the control-bound hook followed the new window";
    RemoveHook(id);
}

TEST_F(ControlsDispatch, ChildNotificationsAreReflectedAsCnMessages) {
    auto* button = Add<TTestButton>(Bounds(10, 10, 80, 24));
    auto* other = Add<TLogging<TWinControl>>(Bounds(100, 10, 50, 24));
    // A real click: the button tells its parent with WM_COMMAND, which reflects it.
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(button->cnCommandClicked);

    NMHDR header{other->Handle(), 1, 42};
    SendMessageA(host->Handle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(other->Saw(CN_NOTIFY));
    SendMessageA(host->Handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(other->Handle()));
    EXPECT_TRUE(other->Saw(CN_HSCROLL));
    SendMessageA(host->Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(other->Handle()));
    EXPECT_TRUE(other->Saw(CN_VSCROLL));

    // Colours: by default the child answers with its own colours and brush.
    other->SetColor(clRed);
    other->Font()->SetColor(clBlue);
    HDC dc = GetDC(host->Handle());
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(host->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(other->Handle())));
    EXPECT_TRUE(other->Saw(CN_CTLCOLORSTATIC));
    EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(clBlue));
    EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clRed));
    LOGBRUSH info{};
    ASSERT_NE(brush, nullptr);
    GetObjectA(brush, sizeof info, &info);
    EXPECT_EQ(info.lbColor, static_cast<COLORREF>(clRed));
    ReleaseDC(host->Handle(), dc);

    // Owner drawing: item sizes asked while the list's window is created, and drawing of a button.
    auto* list = Add<TTestList>(Bounds(10, 100, 100, 80));
    ASSERT_TRUE(list->HandleAllocated());
    EXPECT_TRUE(list->Saw(CN_MEASUREITEM));
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0), 21);
    auto* drawn = Make<TTestButton>(nullptr);
    drawn->ownerDraw = true;
    drawn->SetBounds(120, 100, 60, 24);
    drawn->SetParent(host);
    InvalidateRect(drawn->Handle(), nullptr, TRUE);
    UpdateWindow(drawn->Handle());
    EXPECT_TRUE(drawn->Saw(CN_DRAWITEM));

    // A menu command (no control) is not reflected.
    const size_t seenBefore = other->seen.size();
    SendMessageA(host->Handle(), WM_COMMAND, MAKEWPARAM(0x8001, 0), 0);
    EXPECT_EQ(other->seen.size(), seenBefore);
}

TEST_F(ControlsDispatch, RecreateWndRemakesChildWindowsWithTheirText) {
    auto* panel = Add<TLogging<TWinControl>>(Bounds(10, 10, 200, 100));
    panel->SetControlStyle(panel->ControlStyle() | csAcceptsControls);
    auto* edit = Make<TTestEdit>(nullptr);
    edit->SetBounds(5, 5, 100, 22);
    edit->SetParent(panel);
    SetWindowTextA(edit->Handle(), "kept");
    HWND oldEdit = edit->Handle();
    panel->RecreateWnd();
    ASSERT_TRUE(edit->HandleAllocated());
    EXPECT_NE(edit->Handle(), oldEdit);
    EXPECT_EQ(GetParent(edit->Handle()), panel->Handle());
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_EQ(FindControl(edit->Handle()), edit);
    EXPECT_EQ(FindControl(oldEdit), nullptr);
}

TEST_F(ControlsDispatch, RightButtonUpOpensTheNearestPopupMenu) {
    static TControl* shownFor = nullptr;
    static TComponent* shownMenu = nullptr;
    static TPoint shownAt;
    SetPopupMenuHandler([](TControl* control, TComponent* menu, TPoint at) {
        shownFor = control;
        shownMenu = menu;
        shownAt = at;
        return true;
    });
    auto* menu = Make<TComponent>(nullptr);
    auto* panel = Add<TLogging<TWinControl>>(Bounds(10, 10, 100, 60));
    panel->SetPopupMenu(menu);
    PostMessageA(panel->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
    PostMessageA(panel->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    Pump();
    EXPECT_EQ(shownFor, panel);
    EXPECT_EQ(shownMenu, menu);
    EXPECT_EQ(shownAt, panel->ClientToScreen(Point(5, 6)));

    // A child window without a menu of its own passes WM_CONTEXTMENU up, and its parent opens its menu;
    // so does a windowless child.
    shownFor = nullptr;
    auto* inner = Make<TLogging<TWinControl>>(nullptr);
    inner->SetBounds(5, 30, 50, 20);
    inner->SetParent(panel);
    PostMessageA(inner->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(2, 3));
    Pump();
    EXPECT_EQ(shownFor, panel);
    EXPECT_EQ(shownAt, inner->ClientToScreen(Point(2, 3)));
    shownFor = nullptr;
    auto* box = Make<TLogging<TGraphicControl>>(nullptr);
    box->SetBounds(60, 30, 20, 20);
    box->SetParent(panel);
    PostMessageA(panel->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(65, 35));
    Pump();
    EXPECT_EQ(shownFor, panel);
    // Shift+F10 opens it at the control's centre.
    shownFor = nullptr;
    SendMessageA(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()), -1);
    EXPECT_EQ(shownFor, panel);
    EXPECT_EQ(shownAt, panel->ClientToScreen(Point(50, 30)));

    // The menu's going clears the reference.
    menu->Free();
    EXPECT_EQ(panel->PopupMenu(), nullptr);
    SetPopupMenuHandler(nullptr);
}

TEST_F(ControlsDispatch, PostedFrameworkMessagesReachWndProc) {
    auto* other = Add<TLogging<TWinControl>>(Bounds(100, 10, 50, 24));
    PostMessageA(other->Handle(), CM_KVXAFTERENTER, 0, 0);
    EXPECT_FALSE(other->Saw(CM_KVXAFTERENTER));
    Pump();
    EXPECT_TRUE(other->Saw(CM_KVXAFTERENTER));
}

TEST_F(ControlsDispatch, TextGoesThroughTheWindowOrTheControl) {
    auto* box = Make<TLogging<TGraphicControl>>(nullptr);
    box->SetCaption("windowless");
    char buffer[8] = {};
    EXPECT_EQ(box->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 7);
    EXPECT_STREQ(buffer, "windowl") << "cut to the buffer, terminated";
    EXPECT_EQ(box->GetTextLen(), 10);
    EXPECT_TRUE(box->Saw(CM_TEXTCHANGED));
    box->Free();

    auto* edit = Add<TTestEdit>(Bounds(10, 50, 120, 22));
    SetWindowTextA(edit->Handle(), "typed");
    EXPECT_EQ(edit->Text(), "typed");
    edit->SetText("set");
    char text[16] = {};
    GetWindowTextA(edit->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "set");

    // csSetCaption: a caption equal to the old name follows a rename.
    auto* button = Add<TTestButton>(Bounds(10, 10, 80, 24));
    button->SetName("Button1");
    EXPECT_EQ(button->Caption(), "Button1");
    button->SetName("btnGo");
    EXPECT_EQ(button->Caption(), "btnGo");
    button->SetCaption("Go");
    button->SetName("btnGo2");
    EXPECT_EQ(button->Caption(), "Go");
}

TEST_F(ControlsDispatch, KeyHandlersMayChangeOrSwallowKeys) {
    auto* edit = Add<TTestEdit>(Bounds(10, 50, 120, 22));
    std::vector<std::string> log;
    edit->OnKeyPress.Bind(&log, [](void*, TObject*, char& key) {
        if (key == 'a') key = 'b';
        if (key == 'x') key = 0;
    });
    edit->OnKeyDown.Bind(&log, [](void* ctx, TObject*, uint16_t& key, TShiftState shift) {
        static_cast<std::vector<std::string>*>(ctx)->push_back("down " + std::to_string(key) +
                                                               (shift.Contains(ssAlt) ? " alt" : ""));
        if (key == VK_END) key = 0;
    });
    for (char c : std::string("axa")) PostMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    Pump();
    EXPECT_EQ(edit->Text(), "bb");
    SendMessageA(edit->Handle(), EM_SETSEL, 0, 0);
    SendMessageA(edit->Handle(), WM_KEYDOWN, VK_END, 1);  // swallowed: the caret stays
    DWORD start = 0, end = 0;
    SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 0u);
    SendMessageA(edit->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 1u) << "an untouched key reaches the edit";
    SendMessageA(edit->Handle(), WM_SYSKEYDOWN, 'F', 0x20000001);
    EXPECT_EQ(log, (std::vector<std::string>{"down " + std::to_string(VK_END), "down " + std::to_string(VK_RIGHT),
                                             "down 70 alt"}));
}

TEST_F(ControlsDispatch, FocusGivesEnterAndExit) {
    auto* first = Add<TTestEdit>(Bounds(10, 50, 120, 22), "edFirst");
    auto* second = Add<TTestEdit>(Bounds(10, 80, 120, 22), "edSecond");
    std::vector<std::string> log;
    auto enter = [](void* ctx, TObject* sender) {
        static_cast<std::vector<std::string>*>(ctx)->push_back("enter " + static_cast<TComponent*>(sender)->Name());
    };
    auto exit = [](void* ctx, TObject* sender) {
        static_cast<std::vector<std::string>*>(ctx)->push_back("exit " + static_cast<TComponent*>(sender)->Name());
    };
    first->OnEnter.Bind(&log, enter);
    first->OnExit.Bind(&log, exit);
    second->OnEnter.Bind(&log, enter);
    second->OnExit.Bind(&log, exit);
    SetForegroundWindow(host->Handle());
    first->SetFocus();
    EXPECT_TRUE(first->Focused());
    second->SetFocus();
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(log, (std::vector<std::string>{"enter edFirst", "exit edFirst", "enter edSecond"}));
    second->SetVisible(false);
    EXPECT_FALSE(second->CanFocus());
    EXPECT_THROW(second->SetFocus(), EInvalidOperation);
}

TEST_F(ControlsDispatch, NoNewWindowWhileDestroying) {
    auto* edit = Make<TTestEdit>(nullptr);
    edit->SetBounds(0, 0, 50, 20);
    edit->SetParent(host);
    edit->SetParent(nullptr);  // its window goes with it
    ASSERT_FALSE(edit->HandleAllocated());
    edit->Destroying();
    EXPECT_EQ(edit->Handle(), nullptr);
    EXPECT_FALSE(edit->HandleAllocated());
    edit->Free();
}

}  // namespace
}  // namespace fw
