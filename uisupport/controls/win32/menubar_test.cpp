// The menu bar under Wine: one captioned button per top-level item read back from the tool-bar window
// (TB_GETBUTTONTEXT), a click that drops a real menu window (#32768) and runs the chosen item, Right
// moving to the next menu, and the buttons kept, replaced or removed as the menu is written.
#include "uisupport/controls/win32/menubar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/win32/menus.h"
#include "framework/win32/std_test_support.h"

namespace uis {
namespace {

std::vector<HMENU> OpenMenus() {
    std::vector<HMENU> open;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId())
            open.push_back(reinterpret_cast<HMENU>(SendMessageA(w, MN_GETHMENU, 0, 0)));
    return open;
}

// The captions the tool-bar window itself shows, in button order.
std::vector<std::string> WindowCaptions(fw::TToolBar* bar) {
    std::vector<std::string> captions;
    const int count = static_cast<int>(SendMessageA(bar->Handle(), TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(bar->Handle(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        char text[64] = {};
        SendMessageA(bar->Handle(), TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
        captions.push_back(text);
    }
    return captions;
}

struct Clicks {
    std::vector<std::string> names;
    void Click(fw::TObject* sender) { names.push_back(static_cast<fw::TComponent*>(sender)->Name()); }
};

class MenuBarTest : public fw::stdtest::StdControlsTest {
protected:
    void SetUp() override {
        StdControlsTest::SetUp();
        RegisterMenuBarClasses();
        form = NewForm(500, 200);
        bar = fw::Make<TMenuBar>(form);
        bar->SetParent(form);
    }

    // A main menu with one drop-down per caption, each holding the items "<caption>1" and "<caption>2".
    fw::TMainMenu* NewMenu(const std::vector<std::string>& captions) {
        auto* menu = fw::Make<fw::TMainMenu>(form);
        for (const std::string& caption : captions) {
            auto* top = fw::Make<fw::TMenuItem>(form);
            top->SetCaption(caption);
            menu->Items()->Add(top);
            for (const char* n : {"1", "2"}) {
                auto* item = fw::Make<fw::TMenuItem>(form);
                item->SetName("mnu" + caption + n);
                item->SetCaption(caption + n);
                item->OnClick = fw::TNotifyEvent(&clicks, &Clicks::Click);
                top->Add(item);
            }
            menus.push_back(top);
        }
        return menu;
    }

    std::vector<fw::TToolButton*> Buttons() const {
        std::vector<fw::TToolButton*> buttons;
        for (int i = 0; i < bar->ButtonCount(); ++i) buttons.push_back(bar->Buttons(i));
        return buttons;
    }

    fw::TForm* form = nullptr;
    TMenuBar* bar = nullptr;
    std::vector<fw::TMenuItem*> menus;
    Clicks clicks;
};

TEST_F(MenuBarTest, StartsFlatWithCaptionsNoEdgesAndTakesNoChildren) {
    EXPECT_TRUE(bar->Flat());
    EXPECT_TRUE(bar->ShowCaptions());
    EXPECT_TRUE(bar->EdgeBorders().Empty());
    EXPECT_EQ(bar->ControlStyle() & fw::csAcceptsControls, 0u);
    EXPECT_NE(bar->ControlStyle() & fw::csMenuEvents, 0u);
}

TEST_F(MenuBarTest, FiveTopLevelItemsGiveFiveCaptionedButtonsInMenuOrder) {
    const std::vector<std::string> captions = {"File", "Edit", "View", "Tools", "Help"};
    bar->SetMenu(NewMenu(captions));
    form->Show();
    Pump();
    EXPECT_EQ(WindowCaptions(bar), captions);
    ASSERT_EQ(bar->ButtonCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(bar->Buttons(i)->MenuItem(), menus[static_cast<size_t>(i)]);
        EXPECT_TRUE(bar->Buttons(i)->Grouped());
        EXPECT_TRUE(bar->Buttons(i)->AutoSize());
        EXPECT_EQ(bar->Buttons(i)->Owner(), bar);
    }
    // Nothing of the menu bar is streamed with the form.
    int streamed = 0;
    bar->GetChildren([](void* n, fw::TComponent*) { ++*static_cast<int*>(n); }, &streamed, form);
    EXPECT_EQ(streamed, 0);
}

TEST_F(MenuBarTest, WritingTheMenuKeepsReplacesOrRemovesTheButtons) {
    fw::TMainMenu* first = NewMenu({"File", "Edit", "Help"});
    bar->SetMenu(first);
    form->Show();
    Pump();
    const std::vector<fw::TToolButton*> before = Buttons();
    bar->SetMenu(first);
    EXPECT_EQ(Buttons(), before) << "the same menu again keeps the buttons";

    fw::TMainMenu* second = NewMenu({"Archive", "Options"});
    bar->SetMenu(second);
    Pump();
    EXPECT_EQ(WindowCaptions(bar), (std::vector<std::string>{"Archive", "Options"}));

    bar->SetMenu(nullptr);
    Pump();
    EXPECT_EQ(bar->ButtonCount(), 0);
    EXPECT_TRUE(WindowCaptions(bar).empty());

    // A menu freed under the bar takes its buttons with it.
    bar->SetMenu(first);
    EXPECT_EQ(bar->ButtonCount(), 3);
    first->Free();
    EXPECT_EQ(bar->Menu(), nullptr);
    EXPECT_EQ(bar->ButtonCount(), 0);
}

TEST_F(MenuBarTest, AClickDropsTheMenuRightMovesOnAndTheChosenItemRuns) {
    bar->SetMenu(NewMenu({"File", "Edit", "View", "Tools", "Help"}));
    form->Show();
    Pump();
    const HWND window = form->Handle();
    auto key = [window](UINT k) {
        PostMessageA(window, WM_KEYDOWN, k, 1);
        PostMessageA(window, WM_KEYUP, k, 1 | (3u << 30));
    };
    fw::stdtest::ScriptedInput script;
    script.abandon = [] { EndMenu(); };
    script.timeout = 3000;
    const HMENU file = menus[0]->Handle();
    const HMENU edit = menus[1]->Handle();
    script.Add("File's menu is open", [&] { return OpenMenus() == std::vector<HMENU>{file}; });
    script.Do("right", [&] { key(VK_RIGHT); });
    script.Add("Edit's menu is open", [&] { return OpenMenus() == std::vector<HMENU>{edit}; });
    script.Do("down to the second item and enter", [&] {
        key(VK_DOWN);
        key(VK_DOWN);
        key(VK_RETURN);
    });
    script.Add("the menu closed", [] { return OpenMenus().empty(); });
    script.Start();
    fw::TToolButton* button = bar->Buttons(0);
    const LPARAM at = MAKELPARAM(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
    PostMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(bar->Handle(), WM_LBUTTONUP, 0, at);
    script.PumpUntilFinished();
    Pump();
    EXPECT_EQ(script.Failure(), "");
    EXPECT_EQ(clicks.names, std::vector<std::string>{"mnuEdit2"});
}

}  // namespace
}  // namespace uis
