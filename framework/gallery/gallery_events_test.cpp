// The gallery's controls raising their events from real input: header sections clicked, dragged by
// their divider and drawn by their owner; the splitter moved; tab and page controls asking before a
// change and reporting it; tool buttons in a group, with a drop-down menu and driven by an action; a
// scroll box scrolling sideways, with and without AutoScroll, framed by a descendant; and a drag
// ending on a drop or cancelled by Escape.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/gallery/gallery_test_support.h"
#include "framework/win32/actions.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_test_support.h"

namespace gallery {
namespace {

struct Log {
    std::vector<std::string> lines;
    void Add(const std::string& line) { lines.push_back(line); }
};

// Presses, moves and releases the left button in a window's client area, the pointer following.
void DragIn(HWND window, POINT from, POINT to) {
    POINT screen = from;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(from.x, from.y));
    PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At((from.x + to.x) / 2, (from.y + to.y) / 2));
    PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(to.x, to.y));
    PostMessageA(window, WM_LBUTTONUP, 0, At(to.x, to.y));
    RunLoop();
}

void ClickIn(HWND window, int x, int y) {
    POINT screen{x, y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, At(x, y));
    RunLoop();
}

struct HeaderEvents : Log {
    std::vector<fw::TRect> drawn;
    void Click(fw::TObject*, fw::THeaderSection* s) { Add("click " + s->Text()); }
    void Resize(fw::TObject*, fw::THeaderSection* s) { Add("resize " + s->Text() + " " + std::to_string(s->Width())); }
    void Track(fw::TObject*, fw::THeaderSection* s, int width, fw::TSectionTrackState state) {
        static const char* names[] = {"begin", "move", "end"};
        Add(std::string("track ") + names[static_cast<int>(state)] + " " + s->Text() + " " + std::to_string(width));
    }
    void Draw(fw::TObject*, fw::THeaderSection* s, fw::TRect rect, bool) {
        Add("draw " + s->Text());
        drawn.push_back(rect);
    }
};

TEST_F(GalleryTest, HeaderSectionsAreClickedTrackedResizedAndDrawn) {
    fw::THeaderControl* header = form->HeaderControl1;
    HeaderEvents events;
    header->OnSectionClick = fw::TSectionNotifyEvent(&events, &HeaderEvents::Click);
    header->OnSectionResize = fw::TSectionNotifyEvent(&events, &HeaderEvents::Resize);
    header->OnSectionTrack = fw::TSectionTrackEvent(&events, &HeaderEvents::Track);
    header->OnDrawSection = fw::TDrawSectionEvent(&events, &HeaderEvents::Draw);
    HWND window = header->Handle();

    ClickIn(window, 150 + 40, 10);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"click Size"}));

    // The divider after Name (at 150) dragged to 170.
    events.lines.clear();
    DragIn(window, POINT{150, 10}, POINT{170, 10});
    ASSERT_FALSE(events.lines.empty());
    EXPECT_EQ(events.lines.front(), "track begin Name 150");
    EXPECT_NE(std::find(events.lines.begin(), events.lines.end(), "track end Name 170"), events.lines.end());
    EXPECT_NE(std::find(events.lines.begin(), events.lines.end(), "resize Name 170"), events.lines.end());
    EXPECT_EQ(std::count_if(events.lines.begin(), events.lines.end(),
                            [](const std::string& l) { return l.rfind("click", 0) == 0; }),
              0);
    EXPECT_EQ(header->Sections()->Items(0)->Width(), 170);
    int width = 0;
    HeaderText(window, 0, &width);
    EXPECT_EQ(width, 170);
    // A limit holds against the mouse.
    header->Sections()->Items(0)->SetMaxWidth(180);
    events.lines.clear();
    DragIn(window, POINT{170, 10}, POINT{230, 10});
    EXPECT_LE(header->Sections()->Items(0)->Width(), 180);
    HeaderText(window, 0, &width);
    EXPECT_LE(width, 180);

    // An owner-drawn section is drawn by OnDrawSection, in its own rectangle.
    events.lines.clear();
    header->Sections()->Items(1)->SetStyle(fw::THeaderSectionStyle::hsOwnerDraw);
    UpdateWindow(window);
    RunLoop();
    ASSERT_FALSE(events.drawn.empty());
    EXPECT_EQ(events.lines.back(), "draw Size");
    RECT size{};
    SendMessageA(window, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&size));
    EXPECT_EQ(events.drawn.back().Left, size.left);
    EXPECT_EQ(events.drawn.back().Right, size.right);
}

TEST_F(GalleryTest, SplitterResizesItsNeighbourAndReportsOnMoved) {
    struct Moved {
        std::vector<int> widths;
        fw::TControl* left;
        void OnMoved(fw::TObject*) { widths.push_back(left->Width()); }
    } moved{{}, form->pnlSplitLeft};
    form->Splitter1->OnMoved = fw::TNotifyEvent(&moved, &Moved::OnMoved);
    ASSERT_EQ(form->Splitter1->FindControl(), form->pnlSplitLeft);
    HWND host = form->pnlSplit->Handle();
    const int x = form->Splitter1->Left() + 1;
    DragIn(host, POINT{x, 30}, POINT{x + 40, 30});
    EXPECT_EQ(form->pnlSplitLeft->Width(), 140);
    EXPECT_EQ(form->Splitter1->Left(), 140);
    EXPECT_EQ(moved.widths, (std::vector<int>{140}));
    // Never below MinSize.
    DragIn(host, POINT{141, 30}, POINT{5, 30});
    EXPECT_EQ(form->pnlSplitLeft->Width(), form->Splitter1->MinSize());
    EXPECT_EQ(moved.widths.size(), 2u);
}

struct TabEvents : Log {
    bool refuse = false;
    fw::TCustomTabControl* control = nullptr;
    std::string State() {
        if (auto* pages = dynamic_cast<fw::TPageControl*>(control))
            return pages->ActivePage() ? pages->ActivePage()->Name() : "-";
        return std::to_string(control->TabIndex());
    }
    void Changing(fw::TObject*, bool& allow) {
        Add("changing from " + State());
        allow = !refuse;
    }
    void Change(fw::TObject*) { Add("change to " + State()); }
};

TEST_F(GalleryTest, TabsAndPagesAskBeforeAChangeAndReportIt) {
    struct Case {
        const char* name;
        bool pages;
        int tab;
        bool refuse;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a tab clicked", false, 2, false, {"changing from 1", "change to 2"}},
        {"a refused tab", false, 0, true, {"changing from 2"}},
        {"a page clicked", true, 0, false, {"changing from TabSheet2", "change to TabSheet1"}},
        {"a refused page", true, 1, true, {"changing from TabSheet1"}},
    };
    TabEvents events;
    for (fw::TCustomTabControl* control : {static_cast<fw::TCustomTabControl*>(form->TabControl1),
                                           static_cast<fw::TCustomTabControl*>(form->PageControl1)}) {
        control->OnChanging = fw::TTabChangingEvent(&events, &TabEvents::Changing);
        control->OnChange = fw::TNotifyEvent(&events, &TabEvents::Change);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events.lines.clear();
        events.refuse = c.refuse;
        events.control = c.pages ? static_cast<fw::TCustomTabControl*>(form->PageControl1) : form->TabControl1;
        const int before = events.control->TabIndex();
        RECT tab{};
        ASSERT_TRUE(SendMessageA(events.control->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(c.tab),
                                 reinterpret_cast<LPARAM>(&tab)));
        ClickIn(events.control->Handle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        EXPECT_EQ(events.lines, c.lines);
        EXPECT_EQ(events.control->TabIndex(), c.refuse ? before : c.tab);
    }
    EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet1);
    EXPECT_TRUE(IsWindowVisible(form->TabSheet1->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->TabSheet2->Handle()));
}

POINT ButtonCentre(fw::TToolButton* button) {
    return POINT{button->Left() + button->Width() / 2, button->Top() + button->Height() / 2};
}

bool ButtonState(fw::TToolBar* bar, fw::TToolButton* button, UINT message) {
    return SendMessageA(bar->Handle(), message, static_cast<WPARAM>(button->CommandId()), 0) != 0;
}

TEST_F(GalleryTest, ToolButtonsInAGroupWithADropDownAndAnAction) {
    fw::TToolBar* bar = form->ToolBar1;
    HWND window = bar->Handle();
    // Two check buttons in a group: one down at a time, chosen by the window itself.
    auto* left = fw::Make<fw::TToolButton>(form);
    auto* right = fw::Make<fw::TToolButton>(form);
    for (auto* b : {left, right}) {
        b->SetStyle(fw::TToolButtonStyle::tbsCheck);
        b->SetGrouped(true);
        b->SetParent(bar);
    }
    left->SetCaption("Left");
    right->SetCaption("Right");
    ClickIn(window, ButtonCentre(left).x, ButtonCentre(left).y);
    EXPECT_TRUE(left->Down());
    EXPECT_FALSE(right->Down());
    ClickIn(window, ButtonCentre(right).x, ButtonCentre(right).y);
    EXPECT_FALSE(left->Down());
    EXPECT_TRUE(right->Down());
    ClickIn(window, ButtonCentre(right).x, ButtonCentre(right).y);
    EXPECT_TRUE(right->Down()) << "a group keeps one button down";

    // The drop-down arrow opens DropdownMenu under the button; the button itself clicks.
    Log clicks;
    struct Clicker {
        Log* log;
        void Click(fw::TObject* sender) { log->Add(static_cast<fw::TComponent*>(sender)->Name()); }
    } clicker{&clicks};
    auto* menu = fw::Make<fw::TPopupMenu>(form);
    for (const char* name : {"mnuFirst", "mnuSecond"}) {
        auto* item = fw::Make<fw::TMenuItem>(form);
        item->SetName(name);
        item->SetCaption(name + 3);
        item->OnClick = fw::TNotifyEvent(&clicker, &Clicker::Click);
        menu->Items()->Add(item);
    }
    form->tbMore->SetDropdownMenu(menu);
    form->tbMore->OnClick = fw::TNotifyEvent(&clicker, &Clicker::Click);
    RECT more{};
    SendMessageA(window, TB_GETRECT, static_cast<WPARAM>(form->tbMore->CommandId()), reinterpret_cast<LPARAM>(&more));
    fw::stdtest::ScriptedInput script;
    script.abandon = [] { EndMenu(); };
    script.Add("the drop-down menu shows", [] { HWND m = FindWindowA("#32768", nullptr); return m && IsWindowVisible(m); })
        .Do("choose its second item", [&] {
            for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(form->Handle(), WM_KEYDOWN, key, 1);
        });
    script.Start();
    ClickIn(window, more.right - 4, (more.top + more.bottom) / 2);
    script.PumpUntilFinished(5000);
    RunLoop();
    EXPECT_EQ(script.Failure(), "");
    EXPECT_EQ(clicks.lines, (std::vector<std::string>{"mnuSecond"}));
    ClickIn(window, more.left + 6, (more.top + more.bottom) / 2);
    EXPECT_EQ(clicks.lines, (std::vector<std::string>{"mnuSecond", "tbMore"}));

    // An action gives a button its caption, image, checked state and click; OnUpdate greys it.
    auto* list = fw::Make<fw::TActionList>(form);
    auto* action = fw::Make<fw::TAction>(form);
    action->SetName("actBold");
    action->SetActionList(list);
    action->SetCaption("Strong");
    action->SetImageIndex(2);
    action->SetChecked(true);
    action->OnExecute = fw::TNotifyEvent(&clicker, &Clicker::Click);
    bool allow = true;
    struct Updater {
        bool* allow;
        void Update(fw::TObject* sender) { static_cast<fw::TAction*>(sender)->SetEnabled(*allow); }
    } updater{&allow};
    action->OnUpdate = fw::TNotifyEvent(&updater, &Updater::Update);
    form->tbBold->SetAction(action);
    char text[64] = {};
    SendMessageA(window, TB_GETBUTTONTEXTA, static_cast<WPARAM>(form->tbBold->CommandId()), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Strong");
    EXPECT_EQ(form->tbBold->ImageIndex(), 2);
    EXPECT_EQ(SendMessageA(window, TB_GETBITMAP, static_cast<WPARAM>(form->tbBold->CommandId()), 0), 2);
    EXPECT_TRUE(ButtonState(bar, form->tbBold, TB_ISBUTTONCHECKED));
    action->SetChecked(false);
    EXPECT_FALSE(ButtonState(bar, form->tbBold, TB_ISBUTTONCHECKED));
    clicks.lines.clear();
    ClickIn(window, ButtonCentre(form->tbBold).x, ButtonCentre(form->tbBold).y);
    EXPECT_EQ(clicks.lines, (std::vector<std::string>{"actBold"}));
    allow = false;
    fw::UpdateAllActions();
    EXPECT_FALSE(ButtonState(bar, form->tbBold, TB_ISBUTTONENABLED));
    allow = true;
    fw::UpdateAllActions();
    EXPECT_TRUE(ButtonState(bar, form->tbBold, TB_ISBUTTONENABLED));
}

// A scroll box that draws its own frame: it takes six pixels of each edge from the client area
// (WM_NCCALCSIZE) and paints them (WM_NCPAINT).
class TFramedScrollBox : public fw::TScrollBox {
public:
    using TScrollBox::TScrollBox;
    int framePaints = 0;
    static constexpr int kFrame = 6;

protected:
    void WMNCCalcSize(fw::TMessage& message) override {
        TScrollBox::WMNCCalcSize(message);
        RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0];
        InflateRect(&r, -kFrame, -kFrame);
    }
    void WMNCPaint(fw::TMessage& message) override {
        TScrollBox::WMNCPaint(message);
        ++framePaints;
        HDC dc = GetWindowDC(Handle());
        RECT r{0, 0, Width(), Height()};
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(Handle(), dc);
    }
};

SCROLLINFO BarInfo(HWND window, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    return info;
}

bool BarShown(HWND window, int bar) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

TEST_F(GalleryTest, ScrollBoxScrollsSidewaysFollowsAutoScrollAndLetsADescendantFrameIt) {
    auto* box = fw::Make<TFramedScrollBox>(form);
    box->SetBorderStyle(fw::TBorderStyle::bsNone);
    box->SetBounds(700, 520, 160, 100);
    box->SetParent(form);
    auto* wide = fw::Make<fw::TPanel>(form);
    wide->SetBounds(0, 0, 400, 50);
    wide->SetParent(box);
    RunLoop();
    HWND window = box->Handle();
    // The frame comes off the client area; its painting is the descendant's.
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(window, &client);
    const int barHeight = BarShown(window, SB_HORZ) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    EXPECT_EQ(client.right, 160 - 2 * TFramedScrollBox::kFrame);
    EXPECT_EQ(client.bottom, 100 - 2 * TFramedScrollBox::kFrame - barHeight);
    EXPECT_EQ(box->ClientWidth(), client.right);
    EXPECT_GT(box->framePaints, 0);

    // AutoScroll: the wide child sets the horizontal range; the vertical bar stays away.
    EXPECT_EQ(box->HorzScrollBar()->Range(), 400);
    EXPECT_TRUE(BarShown(window, SB_HORZ));
    EXPECT_FALSE(BarShown(window, SB_VERT));
    EXPECT_EQ(BarInfo(window, SB_HORZ).nMax, 399);
    EXPECT_EQ(static_cast<int>(BarInfo(window, SB_HORZ).nPage), box->ClientWidth());
    PostMessageA(window, WM_HSCROLL, SB_LINERIGHT, 0);
    PostMessageA(window, WM_HSCROLL, SB_LINERIGHT, 0);
    PostMessageA(window, WM_HSCROLL, SB_ENDSCROLL, 0);
    RunLoop();
    const int step = box->HorzScrollBar()->Increment();
    EXPECT_EQ(box->HorzScrollBar()->Position(), 2 * step);
    EXPECT_EQ(wide->Left(), -2 * step);
    EXPECT_EQ(GetScrollPos(window, SB_HORZ), 2 * step);
    PostMessageA(window, WM_HSCROLL, SB_RIGHT, 0);
    RunLoop();
    EXPECT_EQ(box->HorzScrollBar()->Position(), 400 - box->ClientWidth());

    // Without AutoScroll the children no longer set the range: the area goes back and the bar away.
    box->SetAutoScroll(false);
    RunLoop();
    EXPECT_EQ(box->HorzScrollBar()->Range(), 0);
    EXPECT_EQ(box->HorzScrollBar()->Position(), 0);
    EXPECT_EQ(wide->Left(), 0);
    EXPECT_FALSE(BarShown(window, SB_HORZ));
    wide->SetWidth(600);
    RunLoop();
    EXPECT_FALSE(BarShown(window, SB_HORZ));
    // A range given by code still scrolls.
    box->HorzScrollBar()->SetRange(300);
    EXPECT_TRUE(BarShown(window, SB_HORZ));
    EXPECT_EQ(BarInfo(window, SB_HORZ).nMax, 299);
}

struct DragEvents : Log {
    void EndDrag(fw::TObject* sender, fw::TObject* target, int, int) {
        auto* named = dynamic_cast<fw::TComponent*>(target);
        Add("end " + static_cast<fw::TComponent*>(sender)->Name() + " on " + (named ? named->Name() : "nothing"));
    }
    void CancelClick(fw::TObject*) { Add("cancel pressed"); }
};

// Starts dragging the first row of lvFiles and moves over the middle of lvTarget.
void DragFirstRowOverTarget(TfrmGallery* form) {
    form->lvFiles->Items()->Item(0)->SetSelected(true);
    HWND source = form->lvFiles->Handle();
    RECT item{};
    item.left = LVIR_LABEL;
    SendMessageA(source, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const int x = item.left + 10, y = (item.top + item.bottom) / 2;
    POINT screen{x, y};
    ClientToScreen(source, &screen);
    SetCursorPos(screen.x, screen.y);
    // The press and the first move go together: a list view may watch for the drag inside its press.
    PostMessageA(source, WM_MOUSEMOVE, 0, At(x, y));
    PostMessageA(source, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    PostMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, At(x + 20, y + 20));
    RunLoop();
    HWND target = form->lvTarget->Handle();
    RECT client{};
    GetClientRect(target, &client);
    PostMessageA(target, WM_MOUSEMOVE, MK_LBUTTON, At(client.right / 2, client.bottom / 2));
    PostMessageA(target, WM_MOUSEMOVE, MK_LBUTTON, At(client.right / 2 + 2, client.bottom / 2));
    RunLoop();
}

TEST_F(GalleryTest, DragEndsOnItsDropOrIsCancelledByEscape) {
    DragEvents events;
    form->lvFiles->OnEndDrag = fw::TEndDragEvent(&events, &DragEvents::EndDrag);
    // A Cancel button on the form: Escape during a drag belongs to the drag.
    auto* cancel = fw::Make<fw::TButton>(form);
    cancel->SetName("btnCancel");
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetBounds(860, 520, 75, 25);
    cancel->SetParent(form);
    cancel->OnClick = fw::TNotifyEvent(&events, &DragEvents::CancelClick);

    DragFirstRowOverTarget(form);
    ASSERT_TRUE(form->lvFiles->Dragging());
    RECT client{};
    GetClientRect(form->lvTarget->Handle(), &client);
    PostMessageA(form->lvTarget->Handle(), WM_LBUTTONUP, 0, At(client.right / 2 + 2, client.bottom / 2));
    RunLoop();
    EXPECT_EQ(events.lines, (std::vector<std::string>{"end lvFiles on lvTarget"}));
    EXPECT_EQ(form->lvTarget->Items()->Count(), 1);

    events.lines.clear();
    form->log.clear();
    DragFirstRowOverTarget(form);
    ASSERT_TRUE(form->lvFiles->Dragging());
    ASSERT_FALSE(form->log.empty()) << "the target was asked";
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 1 | (3u << 30));
    RunLoop();
    EXPECT_EQ(fw::DragSource(), nullptr);
    EXPECT_FALSE(form->lvFiles->Dragging());
    EXPECT_EQ(events.lines, (std::vector<std::string>{"end lvFiles on nothing"}));
    EXPECT_EQ(std::count(form->log.begin(), form->log.end(), "drop lvFiles"), 0);
    EXPECT_EQ(form->lvTarget->Items()->Count(), 1);
    // A release afterwards drops nothing.
    PostMessageA(form->lvTarget->Handle(), WM_LBUTTONUP, 0, At(client.right / 2, client.bottom / 2));
    RunLoop();
    EXPECT_EQ(form->lvTarget->Items()->Count(), 1);
}

}  // namespace
}  // namespace gallery
