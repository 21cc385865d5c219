// A tool bar standing in for a menu bar, under Wine: five buttons carry the top-level items of a
// menu; a click drops the item's menu (a real #32768 window) under the button, the chosen item runs,
// and while a menu is open Left and Right move between the menus as on a menu bar (a sub-menu keeps
// its keys), the mouse moving onto another button opens that button's menu, and disabled buttons are
// passed over. Each case is driven step by step from a timer inside the menu's own loop, the way the
// keys of a user arrive.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/win32/hooks.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_test_support.h"
#include "framework/win32/std_toolbar.h"

namespace fw {
namespace {

using stdtest::StdControlsTest;

// The menus of the test: item name -> its drop-down, and the menu buttons by name.
std::map<std::string, HMENU> g_menus;
std::map<std::string, TToolButton*> g_buttons;

std::vector<HMENU> OpenMenuHandles() {
    std::vector<HMENU> open;
    const DWORD thread = GetCurrentThreadId();
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == thread)
            open.push_back(reinterpret_cast<HMENU>(SendMessageA(w, MN_GETHMENU, 0, 0)));
    std::sort(open.begin(), open.end());
    return open;
}

std::string NamesOf(const std::vector<HMENU>& open) {
    std::string text;
    for (HMENU menu : open) {
        std::string name = "?";
        for (const auto& [n, m] : g_menus)
            if (m == menu) name = n;
        text += (text.empty() ? "" : ",") + name;
    }
    return text.empty() ? "(none)" : text;
}

std::vector<HMENU> Wanted(const std::string& chain) {
    std::vector<HMENU> wanted;
    size_t start = 0;
    while (start < chain.size()) {
        const size_t gt = chain.find('>', start);
        wanted.push_back(g_menus.at(chain.substr(start, gt - start)));
        if (gt == std::string::npos) break;
        start = gt + 1;
    }
    std::sort(wanted.begin(), wanted.end());
    return wanted;
}

// One step of a case: wait until exactly these menus are open ("Edit>Insert": Edit and its sub-menu
// Insert; "" none), or press a key, or move the mouse onto a button, or press the mouse on it.
struct Step {
    enum Kind { Open, Key, MoveTo, PressOn } kind;
    std::string name;
    UINT key = 0;
};
Step Open(const std::string& menus) { return {Step::Open, menus}; }
Step Key(UINT key) { return {Step::Key, {}, key}; }
Step MoveTo(const std::string& button) { return {Step::MoveTo, button}; }
Step PressOn(const std::string& button) { return {Step::PressOn, button}; }

void AddStep(stdtest::ScriptedInput& script, HWND form, const Step& step) {
    switch (step.kind) {
        case Step::Open:
            script.Add("open " + step.name, [&script, wanted = step.name] {
                const std::vector<HMENU> open = OpenMenuHandles();
                script.note = "open: " + NamesOf(open);
                return open == Wanted(wanted);
            });
            break;
        case Step::Key:
            script.Do("key", [form, key = step.key] {
                PostMessageA(form, WM_KEYDOWN, key, 1);
                PostMessageA(form, WM_KEYUP, key, 1 | (3u << 30));
            });
            break;
        case Step::MoveTo:
        case Step::PressOn:
            script.Do("mouse on " + step.name, [form, step] {
                TToolButton* button = g_buttons.at(step.name);
                const TPoint p = button->ToolBar()->ClientToScreen(
                    Point(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2));
                SetCursorPos(p.X, p.Y);
                POINT client{p.X, p.Y};
                ScreenToClient(form, &client);
                PostMessageA(form, step.kind == Step::MoveTo ? WM_MOUSEMOVE : WM_LBUTTONDOWN,
                             step.kind == Step::MoveTo ? 0 : MK_LBUTTON, MAKELPARAM(client.x, client.y));
            });
            break;
    }
}

struct Log {
    std::vector<std::string> lines;
    void Click(TObject* sender) { lines.push_back(static_cast<TComponent*>(sender)->Name()); }
};

class ToolMenuTest : public StdControlsTest {
protected:
    void SetUp() override {
        StdControlsTest::SetUp();
        form = NewForm(500, 200);
        bar = Make<TToolBar>(form);
        bar->SetParent(form);
        bar->SetShowCaptions(true);
        menu = Make<TMainMenu>(form);
        // Five menus; Edit's first item opens a sub-menu; a separator stands between Edit and View.
        const std::vector<std::pair<std::string, std::vector<std::string>>> tree = {
            {"File", {"New", "Open"}},   {"Edit", {"Insert", "Copy"}}, {"-", {}},
            {"View", {"Large", "Small"}}, {"Tools", {"Options"}},      {"Help", {"About"}}};
        for (const auto& [top, items] : tree) {
            auto* button = Make<TToolButton>(form);
            button->SetParent(bar);
            if (top == "-") {
                button->SetStyle(TToolButtonStyle::tbsSeparator);
                continue;
            }
            button->SetName("tb" + top);
            auto* item = NewItem("mnu" + top, top);
            menu->Items()->Add(item);
            for (const std::string& name : items) item->Add(NewItem("mnu" + name, name, &log));
            button->SetMenuItem(item);
            g_buttons[top] = button;
        }
        auto* insert = dynamic_cast<TMenuItem*>(form->FindComponent("mnuInsert"));
        insert->OnClick = TNotifyEvent();
        insert->Add(NewItem("mnuRow", "Row", &log));
        insert->Add(NewItem("mnuColumn", "Column", &log));
        form->Show();
        for (const char* name : {"File", "Edit", "View", "Tools", "Help", "Insert"})
            g_menus[name] = dynamic_cast<TMenuItem*>(form->FindComponent(std::string("mnu") + name))->Handle();
        // Which drop-downs the menus' loop really opened, in order.
        AddHook(*form, [this](HookMessage& m) {
            if (m.Msg != WM_INITMENUPOPUP) return;
            for (const auto& [name, handle] : g_menus)
                if (handle == reinterpret_cast<HMENU>(m.WParam)) dropped.push_back(name);
        });
    }
    void TearDown() override {
        g_menus.clear();
        g_buttons.clear();
        StdControlsTest::TearDown();
    }

    TMenuItem* NewItem(const std::string& name, const std::string& caption, Log* clicks = nullptr) {
        auto* item = Make<TMenuItem>(form);
        item->SetName(name);
        item->SetCaption(caption);
        if (clicks) item->OnClick = TNotifyEvent(clicks, &Log::Click);
        return item;
    }

    // Clicks the button the way the mouse does and runs the steps inside the menus' loop; returns the
    // script's failure ("" when every step came true).
    std::string Run(const std::string& start, const std::vector<Step>& steps) {
        stdtest::ScriptedInput script;
        for (const Step& step : steps) AddStep(script, form->Handle(), step);
        script.abandon = [] { EndMenu(); };
        script.timeout = 3000;
        script.Start();
        TToolButton* button = g_buttons.at(start);
        const LPARAM at = MAKELPARAM(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
        PostMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(bar->Handle(), WM_LBUTTONUP, 0, at);
        script.PumpUntilFinished();
        return script.Failure();
    }

    TForm* form = nullptr;
    TToolBar* bar = nullptr;
    TMainMenu* menu = nullptr;
    Log log;
    std::vector<std::string> dropped;
};

TEST_F(ToolMenuTest, MenusDropUnderTheirButtonsAndMoveLikeAMenuBar) {
    struct Case {
        const char* name;
        const char* start;
        std::vector<Step> steps;
        std::vector<std::string> clicked;  // the items that ran
        std::vector<std::string> dropped;  // the drop-downs opened, in order
    };
    const std::vector<Case> cases = {
        {"a click drops the menu and the chosen item runs",
         "File",
         {Open("File"), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN), Open("")},
         {"mnuOpen"},
         {"File"}},
        {"Right and Left move between menus, passing the separator; Escape closes",
         "File",
         {Open("File"), Key(VK_RIGHT), Open("Edit"), Key(VK_RIGHT), Open("View"), Key(VK_LEFT), Open("Edit"),
          Key(VK_ESCAPE), Open("")},
         {},
         {"File", "Edit", "View", "Edit"}},
        {"a sub-menu keeps Right and Left; Right on its leaf goes to the next menu",
         "Edit",
         {Open("Edit"), Key(VK_DOWN), Key(VK_RIGHT), Open("Edit>Insert"), Key(VK_LEFT), Open("Edit"), Key(VK_RIGHT),
          Open("Edit>Insert"), Key(VK_RIGHT), Open("View"), Key(VK_DOWN), Key(VK_RETURN), Open("")},
         {"mnuLarge"},
         {"Edit", "Insert", "Insert", "View"}},
        {"Left from the first menu wraps to the last and Right back",
         "File",
         {Open("File"), Key(VK_LEFT), Open("Help"), Key(VK_RIGHT), Open("File"), Key(VK_LEFT), Open("Help"),
          Key(VK_DOWN), Key(VK_RETURN), Open("")},
         {"mnuAbout"},
         {"File", "Help", "File", "Help"}},
        {"the mouse onto another button opens its menu; a press on the open one's button closes it",
         "Edit",
         {Open("Edit"), MoveTo("Tools"), Open("Tools"), PressOn("Tools"), Open("")},
         {},
         {"Edit", "Tools"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.lines.clear();
        dropped.clear();
        EXPECT_EQ(Run(c.start, c.steps), "");
        EXPECT_EQ(log.lines, c.clicked);
        EXPECT_EQ(dropped, c.dropped);
        EXPECT_EQ(bar->MenuButton(), nullptr);
        for (const auto& [name, button] : g_buttons)
            EXPECT_FALSE(SendMessageA(bar->Handle(), TB_ISBUTTONPRESSED, static_cast<WPARAM>(button->CommandId()), 0))
                << name;
    }

    // A disabled button is passed over; a button whose item has no sub-items runs it as a command.
    g_buttons.at("Edit")->SetEnabled(false);
    dropped.clear();
    EXPECT_EQ(Run("File", {Open("File"), Key(VK_RIGHT), Open("View"), Key(VK_ESCAPE), Open("")}), "");
    EXPECT_EQ(dropped, (std::vector<std::string>{"File", "View"}));
    log.lines.clear();
    auto* single = NewItem("mnuSingle", "Single", &log);
    g_buttons.at("Tools")->SetMenuItem(single);
    g_buttons.at("Tools")->Click();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mnuSingle"}));
    // The item going away leaves a plain button.
    single->Free();
    EXPECT_EQ(g_buttons.at("Tools")->MenuItem(), nullptr);
}

}  // namespace
}  // namespace fw
