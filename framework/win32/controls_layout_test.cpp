// Alignment of children, bounds of windows, and controls loaded from form text (window class names,
// the "fw.name" property, tab order).
#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/win32/controls_test_support.h"

namespace fw {
namespace {

using testing::MakeHost;
using testing::Pump;
using testing::TBox;
using testing::THost;

// A windowed container, as a panel would be.
class TTestPanel : public TCustomControl {
public:
    explicit TTestPanel(TComponent* owner) : TCustomControl(owner) { controlStyle_ |= csAcceptsControls; }
};

class TTestRoot : public THost {
public:
    explicit TTestRoot(TComponent* owner) : THost(owner) {}
    TTestPanel* pnlClient = nullptr;
    TTestPanel* pnlTop1 = nullptr;
};

void RegisterTestClasses() {
    RegisterControlClasses();
    Class<THost, TCustomControl>("THost");
    Class<TBox, TGraphicControl>("TBox");
    Class<TTestPanel, TCustomControl>("TTestPanel");
    Class<TTestRoot, THost>("TTestRoot")
        .Field("pnlClient", &TTestRoot::pnlClient)
        .Field("pnlTop1", &TTestRoot::pnlTop1);
}

struct Expected {
    const char* name;
    TRect bounds;
};

void ExpectBounds(TWinControl* parent, std::initializer_list<Expected> expected) {
    for (const Expected& e : expected) {
        auto* c = dynamic_cast<TControl*>(parent->Owner() ? parent->Owner()->FindComponent(e.name)
                                                          : parent->FindComponent(e.name));
        ASSERT_NE(c, nullptr) << e.name;
        const TRect r = c->BoundsRect();
        EXPECT_EQ(r, e.bounds) << e.name << " is " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->HandleAllocated()) {
            RECT w;
            GetWindowRect(wc->Handle(), &w);
            MapWindowPoints(HWND_DESKTOP, GetParent(wc->Handle()), reinterpret_cast<POINT*>(&w), 2);
            EXPECT_EQ(Rect(w.left, w.top, w.right, w.bottom), e.bounds) << e.name << "'s window";
        }
    }
}

TEST(ControlsLayout, SixAlignedChildrenTakeTheirEdgesInOrder) {
    RegisterTestClasses();
    THost* host = MakeHost(10, 10, 300, 200);
    auto add = [&](const char* name, TAlign align, TRect bounds, bool windowed) {
        TControl* c = windowed ? static_cast<TControl*>(Make<TTestPanel>(host))
                               : static_cast<TControl*>(Make<TBox>(host));
        c->SetName(name);
        c->SetBoundsRect(bounds);
        c->SetAlign(align);
        c->SetParent(host);
    };
    add("Client", alClient, Bounds(0, 0, 10, 10), true);
    add("Bottom", alBottom, Bounds(0, 0, 10, 25), false);
    add("Top2", alTop, Bounds(0, 50, 10, 30), true);  // lower than Top1: it stacks below it
    add("Top1", alTop, Bounds(0, 0, 10, 20), false);
    add("Left", alLeft, Bounds(0, 0, 40, 10), true);
    add("Right", alRight, Bounds(0, 0, 50, 10), false);
    ExpectBounds(host, {{"Top1", Bounds(0, 0, 300, 20)},
                        {"Top2", Bounds(0, 20, 300, 30)},
                        {"Bottom", Bounds(0, 175, 300, 25)},
                        {"Left", Bounds(0, 50, 40, 125)},
                        {"Right", Bounds(250, 50, 50, 125)},
                        {"Client", Bounds(40, 50, 210, 125)}});

    // The window's WM_SIZE lays them out again.
    SetWindowPos(host->Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ExpectBounds(host, {{"Top1", Bounds(0, 0, 400, 20)},
                        {"Top2", Bounds(0, 20, 400, 30)},
                        {"Bottom", Bounds(0, 275, 400, 25)},
                        {"Left", Bounds(0, 50, 40, 225)},
                        {"Right", Bounds(350, 50, 50, 225)},
                        {"Client", Bounds(40, 50, 310, 225)}});
    EXPECT_EQ(host->Width(), 400);

    // A hidden aligned child gives its room back.
    dynamic_cast<TControl*>(host->FindComponent("Top2"))->SetVisible(false);
    ExpectBounds(host, {{"Left", Bounds(0, 20, 40, 255)}, {"Client", Bounds(40, 20, 310, 255)}});
    host->Free();
    Pump();
}

const char* kFormText = R"(object Root: TTestRoot
  Left = 30
  Top = 30
  Width = 320
  Height = 240
  Color = clYellow
  object pnlClient: TTestPanel
    Align = alClient
    TabOrder = 2
    object boxInner: TBox
      Left = 5
      Top = 6
      Width = 20
      Height = 10
      Align = alRight
    end
  end
  object pnlTop1: TTestPanel
    Height = 24
    Align = alTop
    Caption = 'Top one'
    TabStop = True
    TabOrder = 0
  end
  object pnlTop2: TTestPanel
    Top = 30
    Height = 16
    Align = alTop
    TabOrder = 1
  end
  object pnlBottom: TTestPanel
    Height = 20
    Align = alBottom
    Font.Name = 'Arial'
  end
  object pnlLeft: TTestPanel
    Width = 60
    Align = alLeft
  end
  object pnlRight: TTestPanel
    Width = 70
    Align = alRight
    ParentColor = True
  end
end
)";

TEST(ControlsLayout, FormTextLoadsAlignedWindowsWithClassNamesAndNames) {
    RegisterTestClasses();
    auto* root = Make<TTestRoot>(nullptr);
    ReadComponentText(root, kFormText, "Root");
    ASSERT_NE(root->pnlClient, nullptr);
    root->HandleNeeded();
    Pump();
    ExpectBounds(root, {{"pnlTop1", Bounds(0, 0, 320, 24)},
                        {"pnlTop2", Bounds(0, 24, 320, 16)},
                        {"pnlBottom", Bounds(0, 220, 320, 20)},
                        {"pnlLeft", Bounds(0, 40, 60, 180)},
                        {"pnlRight", Bounds(250, 40, 70, 180)},
                        {"pnlClient", Bounds(60, 40, 190, 180)}});
    ExpectBounds(root->pnlClient, {{"boxInner", Bounds(170, 0, 20, 180)}});

    // One window class per control class, named after it; the component name as a global atom.
    char className[64] = {};
    GetClassNameA(root->pnlTop1->Handle(), className, sizeof className);
    EXPECT_STREQ(className, "TTestPanel");
    GetClassNameA(root->Handle(), className, sizeof className);
    EXPECT_STREQ(className, "TTestRoot");
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(root->pnlTop1->Handle(), "fw.name")));
    char name[64] = {};
    ASSERT_NE(atom, 0);
    GlobalGetAtomNameA(atom, name, sizeof name);
    EXPECT_STREQ(name, "pnlTop1");
    EXPECT_EQ(FindControl(root->pnlTop1->Handle()), root->pnlTop1);
    auto* renamed = dynamic_cast<TWinControl*>(root->FindComponent("pnlLeft"));
    renamed->SetName("pnlWest");
    const auto newAtom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(renamed->Handle(), "fw.name")));
    GlobalGetAtomNameA(newAtom, name, sizeof name);
    EXPECT_STREQ(name, "pnlWest") << "a rename reaches the window";

    // Caption through the window; parent colour and font.
    char text[32] = {};
    GetWindowTextA(root->pnlTop1->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Top one");
    auto* right = dynamic_cast<TControl*>(root->FindComponent("pnlRight"));
    EXPECT_EQ(right->Color(), clYellow);
    auto* bottom = dynamic_cast<TControl*>(root->FindComponent("pnlBottom"));
    EXPECT_FALSE(bottom->ParentFont());
    EXPECT_EQ(bottom->Font()->Name(), "Arial");
    EXPECT_TRUE(root->pnlTop1->ParentFont());

    // Tab order as read, whatever the text order.
    EXPECT_EQ(root->pnlTop1->TabOrder(), 0);
    EXPECT_EQ(dynamic_cast<TWinControl*>(root->FindComponent("pnlTop2"))->TabOrder(), 1);
    EXPECT_EQ(root->pnlClient->TabOrder(), 2);
    std::vector<TWinControl*> tabbing;
    root->GetTabOrderList(tabbing);
    ASSERT_EQ(tabbing.size(), 1u);
    EXPECT_EQ(tabbing[0], root->pnlTop1);

    // The text written back reads the same values.
    const std::string written = WriteComponentText(root);
    EXPECT_NE(written.find("Align = alClient"), std::string::npos) << written;
    EXPECT_NE(written.find("Caption = 'Top one'"), std::string::npos) << written;
    root->Free();
    Pump();
}

TEST(ControlsLayout, ClientAndScreenCoordinates) {
    RegisterTestClasses();
    THost* host = MakeHost(50, 60, 200, 100);
    auto* panel = Make<TTestPanel>(host);
    panel->SetBounds(10, 20, 100, 50);
    panel->SetParent(host);
    auto* box = Make<TBox>(host);
    box->SetBounds(5, 7, 10, 10);
    box->SetParent(panel);
    EXPECT_EQ(box->ClientToScreen(Point(1, 2)), Point(50 + 10 + 5 + 1, 60 + 20 + 7 + 2));
    EXPECT_EQ(panel->ScreenToClient(Point(70, 90)), Point(10, 10));
    EXPECT_EQ(host->ControlAtPos(Point(30, 30), false, true), panel);
    EXPECT_EQ(host->ControlAtPos(Point(30, 30)), nullptr) << "windowed children only when asked";
    EXPECT_EQ(panel->ControlAtPos(Point(6, 8)), box);
    EXPECT_EQ(FindDragTarget(Point(50 + 10 + 6, 60 + 20 + 8), false), box);
    host->Free();
    Pump();
}

}  // namespace
}  // namespace fw
