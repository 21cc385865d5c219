// Mouse routing to windowless children through posted messages: down/move/up with capture, enter and
// leave, Click only on a release inside, double clicks with and without csDoubleClicks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/controls_test_support.h"

namespace fw {
namespace {

using testing::MakeHost;
using testing::Pump;
using testing::TBox;
using testing::THost;

// Records what a box hears, moves apart (the cursor warp may add real moves at the same spot).
class TLoggedBox : public TBox {
public:
    explicit TLoggedBox(TComponent* owner) : TBox(owner) {}
    std::vector<std::string>* log = nullptr;
    std::string lastMove;

protected:
    void Add(const std::string& s) { log->push_back(Name() + " " + s); }
    void MouseDown(TMouseButton b, TShiftState shift, int x, int y) override {
        Add(std::string(b == mbLeft ? "down" : "rdown") + (shift.Contains(ssDouble) ? "2 " : " ") +
            std::to_string(x) + "," + std::to_string(y));
        TBox::MouseDown(b, shift, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState shift, int x, int y) override {
        Add(std::string(b == mbLeft ? "up " : "rup ") + std::to_string(x) + "," + std::to_string(y));
        TBox::MouseUp(b, shift, x, y);
    }
    void MouseMove(TShiftState, int x, int y) override { lastMove = std::to_string(x) + "," + std::to_string(y); }
    void Click() override { Add("click"); }
    void DblClick() override { Add("dblclick"); }
    void CMMouseEnter(TMessage& m) override {
        Add("enter");
        TBox::CMMouseEnter(m);
    }
    void CMMouseLeave(TMessage& m) override {
        Add("leave");
        TBox::CMMouseLeave(m);
    }
};

class ControlsMouse : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterControlClasses();
        sharedHost = MakeHost(60, 60, 200, 150);
    }
    static void TearDownTestSuite() {
        sharedHost->Free();
        sharedHost = nullptr;
        Pump();
    }
    void SetUp() override {
        host = sharedHost;
        a = AddBox("A", Bounds(20, 20, 50, 30));
        b = AddBox("B", Bounds(100, 20, 50, 30));
        Post(WM_MOUSEMOVE, 0, 190, 140);  // start over the bare host
        log.clear();
    }
    void TearDown() override {
        while (host->ControlCount() > 0) host->Controls(host->ControlCount() - 1)->Free();
        ReleaseCapture();
        Pump();
    }
    TLoggedBox* AddBox(const std::string& name, TRect bounds) {
        auto* box = Make<TLoggedBox>(nullptr);
        box->SetName(name);
        box->log = &log;
        box->SetBoundsRect(bounds);
        box->SetParent(host);
        return box;
    }
    // Puts the real cursor where the message says, so that leave tracking agrees, and posts it.
    void Post(UINT msg, WPARAM keys, int x, int y) {
        POINT p{x, y};
        ClientToScreen(host->Handle(), &p);
        SetCursorPos(p.x, p.y);
        Pump();
        PostMessageA(host->Handle(), msg, keys, MAKELPARAM(x, y));
        Pump();
    }
    THost* host = nullptr;
    TLoggedBox* a = nullptr;
    TLoggedBox* b = nullptr;
    std::vector<std::string> log;
    static inline THost* sharedHost = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(ControlsMouse, PressMoveReleaseInsideCapturesAndClicks) {
    Post(WM_MOUSEMOVE, 0, 30, 25);
    EXPECT_EQ(a->lastMove, "10,5") << "coordinates are the child's own";
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 30, 25);
    EXPECT_TRUE(a->MouseCapture());
    EXPECT_EQ(GetCapture(), host->Handle()) << "the parent window holds the capture for its child";
    Post(WM_MOUSEMOVE, MK_LBUTTON, 40, 30);
    EXPECT_EQ(a->lastMove, "20,10");
    Post(WM_LBUTTONUP, 0, 40, 30);
    EXPECT_FALSE(a->MouseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(log, (Log{"A enter", "A down 10,5", "A click", "A up 20,10"}));
}

TEST_F(ControlsMouse, ReleaseOutsideGoesToTheCapturingChildWithoutClick) {
    Post(WM_MOUSEMOVE, 0, 30, 25);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 30, 25);
    // Over B while A holds the capture: the move still goes to A, in A's coordinates.
    Post(WM_MOUSEMOVE, MK_LBUTTON, 110, 30);
    EXPECT_EQ(a->lastMove, "90,10");
    EXPECT_EQ(b->lastMove, "");
    Post(WM_LBUTTONUP, 0, 110, 30);
    EXPECT_EQ(log, (Log{"A enter", "A down 10,5", "A leave", "B enter", "A up 90,10"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlsMouse, EnterAndLeaveFollowTheTopmostChild) {
    TLoggedBox* top = AddBox("C", Bounds(40, 20, 20, 30));  // overlaps A's right part
    Post(WM_MOUSEMOVE, 0, 25, 25);
    Post(WM_MOUSEMOVE, 0, 45, 25);
    Post(WM_MOUSEMOVE, 0, 80, 25);
    Post(WM_MOUSEMOVE, 0, 120, 25);
    top->SetEnabled(false);  // disabled children take no mouse
    Post(WM_MOUSEMOVE, 0, 45, 25);
    EXPECT_EQ(log, (Log{"A enter", "A leave", "C enter", "C leave", "B enter", "B leave", "A enter"}));
}

TEST_F(ControlsMouse, HostSeesItsOwnEnterAndEvents) {
    std::vector<std::string> hostLog;
    host->OnMouseDown.Bind(&hostLog, [](void* ctx, TObject*, TMouseButton, TShiftState, int x, int y) {
        static_cast<std::vector<std::string>*>(ctx)->push_back("host down " + std::to_string(x) + "," +
                                                               std::to_string(y));
    });
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 180, 120);
    Post(WM_LBUTTONUP, 0, 180, 120);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 30, 25);  // on A: the host does not see it
    Post(WM_LBUTTONUP, 0, 30, 25);
    host->OnMouseDown.Reset();
    EXPECT_EQ(hostLog, (std::vector<std::string>{"host down 180,120"}));
}

TEST_F(ControlsMouse, DoubleClickIsASecondPressWithoutDoubleClicks) {
    Post(WM_MOUSEMOVE, 0, 30, 25);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 30, 25);
    Post(WM_LBUTTONUP, 0, 30, 25);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, 30, 25);
    Post(WM_LBUTTONUP, 0, 30, 25);
    EXPECT_EQ(log, (Log{"A enter", "A down 10,5", "A click", "A up 10,5", "A dblclick", "A down2 10,5", "A click",
                        "A up 10,5"}));

    log.clear();
    a->SetStyle(a->Style() & ~csDoubleClicks);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, 30, 25);
    Post(WM_LBUTTONUP, 0, 30, 25);
    EXPECT_EQ(log, (Log{"A down 10,5", "A click", "A up 10,5"}));
}

TEST_F(ControlsMouse, NoClickWithoutClickEventsAndNoCaptureWithoutCaptureMouse) {
    a->SetStyle(a->Style() & ~(csClickEvents | csCaptureMouse));
    Post(WM_MOUSEMOVE, 0, 30, 25);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, 30, 25);
    EXPECT_FALSE(a->MouseCapture());
    Post(WM_LBUTTONUP, 0, 30, 25);
    EXPECT_EQ(log, (Log{"A enter", "A down 10,5", "A up 10,5"}));
}

TEST_F(ControlsMouse, WindowedChildHearsEnterAndLeaveThroughLeaveTracking) {
    auto* panel = Make<TCustomControl>(nullptr);
    panel->SetBounds(20, 80, 60, 40);
    panel->SetParent(host);
    std::vector<std::string> events;
    panel->OnMouseEnter.Bind(&events, [](void* ctx, TObject*) {
        static_cast<std::vector<std::string>*>(ctx)->push_back("enter");
    });
    panel->OnMouseLeave.Bind(&events, [](void* ctx, TObject*) {
        static_cast<std::vector<std::string>*>(ctx)->push_back("leave");
    });
    POINT inside{10, 10};
    ClientToScreen(panel->Handle(), &inside);
    SetCursorPos(inside.x, inside.y);
    Pump();
    PostMessageA(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"enter"}));
    // The cursor leaves the window: the system reports it (WM_MOUSELEAVE) within its tracking interval.
    Post(WM_MOUSEMOVE, 0, 190, 140);
    for (int i = 0; i < 100 && events.size() < 2; ++i) {
        Sleep(10);
        Pump();
    }
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(ControlsMouse, WheelGoesToTheWindowHandler) {
    int delta = 0;
    host->OnMouseWheel.Bind(&delta, [](void* ctx, TObject*, TShiftState, int d, TPoint, bool& handled) {
        *static_cast<int*>(ctx) = d;
        handled = true;
    });
    POINT p{150, 100};
    ClientToScreen(host->Handle(), &p);
    SendMessageA(host->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(p.x, p.y));
    host->OnMouseWheel.Reset();
    EXPECT_EQ(delta, -120);
}

}  // namespace
}  // namespace fw
