// Hints under Wine: the mouse resting on a control (a posted move) shows the short part of its hint
// in the hint window after HintPause, while Application.Hint carries the long part; ShowHint and
// ParentShowHint decide whether it shows, OnShowHint may change or refuse it, and HintHidePause
// hides it again. The "short|long" split is a table of its own.
#include <gtest/gtest.h>

#include <string>

#include "framework/win32/hints.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_panel.h"
#include "framework/win32/std_test_support.h"

namespace fw {
namespace {

using stdtest::StdControlsTest;

TEST(HintTexts, ShortAndLongParts) {
    struct Case {
        const char* hint;
        const char* shortPart;
        const char* longPart;
    };
    const Case cases[] = {
        {"Open|Opens an archive", "Open", "Opens an archive"},
        {"Both", "Both", "Both"},
        {"", "", ""},
        {"|Only long", "", "Only long"},
        {"Only short|", "Only short", ""},
        {"a|b|c", "a", "b|c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetShortHint(c.hint), c.shortPart) << c.hint;
        EXPECT_EQ(GetLongHint(c.hint), c.longPart) << c.hint;
    }
}

// Records OnShowHint and may change or refuse the hint.
struct ShowHintHandler {
    std::string replace;
    bool refuse = false;
    int calls = 0;
    void Show(TObject*, std::string& hintStr, bool& canShow, THintInfo&) {
        ++calls;
        if (!replace.empty()) hintStr = replace;
        if (refuse) canShow = false;
    }
};

class HintsTest : public StdControlsTest {
protected:
    void SetUp() override {
        StdControlsTest::SetUp();
        Application->SetHintPause(40);
        Application->SetHintShortPause(40);
        Application->SetHintHidePause(60000);
        form = NewForm(400, 200);
        panel = Add<TPanel>(form, 10, 10, 300, 150, "pnlHost");
        edit = Add<TEdit>(panel, 10, 10, 120, 21, "edtName");
        form->Show();
        Pump();
    }

    // The mouse leaves for the form, then rests on the edit. Returns the hint window's text once it
    // shows (within `ms`), or "(none)".
    std::string HoverEdit(int ms = 600) {
        PostMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(380, 190));
        Pump();
        PostMessageA(edit->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
        while (GetTickCount() < end) {
            Application->ProcessMessages();
            if (THintWindow* window = ActiveHintWindow(); window && window->Showing()) {
                char text[256] = {};
                GetWindowTextA(window->Handle(), text, sizeof text);
                return text;
            }
            Sleep(10);
        }
        return "(none)";
    }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(HintsTest, ShortPartShowsWhereShowHintHoldsAndOnHintGetsTheLongPart) {
    struct Case {
        const char* name;
        const char* editHint;
        const char* panelHint;
        int editShowHint;  // 1 ShowHint true, 0 false, -1 ParentShowHint
        bool panelShowHint;
        std::string replace;
        bool refuse;
        const char* shown;    // the hint window's text, "(none)" when it stays hidden
        const char* appHint;  // Application.Hint while the mouse rests on the edit
    };
    const Case cases[] = {
        {"the short part shows, the long part is the application's", "Name|The archive's name", "", 1, false, "", false,
         "Name", "The archive's name"},
        {"a hint without a bar is both", "Plain", "", 1, false, "", false, "Plain", "Plain"},
        {"an empty short part shows nothing", "|Only a status text", "", 1, false, "", false, "(none)",
         "Only a status text"},
        {"ShowHint false shows nothing, the long part still goes out", "Name|Long", "", 0, true, "", false, "(none)",
         "Long"},
        {"ParentShowHint takes the panel's yes", "Name|Long", "", -1, true, "", false, "Name", "Long"},
        {"ParentShowHint takes the panel's no", "Name|Long", "", -1, false, "", false, "(none)", "Long"},
        {"a control without a hint shows its parent's", "", "Panel|Panel long", 1, false, "", false, "Panel",
         "Panel long"},
        {"OnShowHint changes the text", "Name|Long", "", 1, false, "Changed", false, "Changed", "Long"},
        {"OnShowHint refuses", "Name|Long", "", 1, false, "", true, "(none)", "Long"},
    };
    ShowHintHandler handler;
    Application->OnShowHint = TShowHintEvent(&handler, &ShowHintHandler::Show);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Application->CancelHint();
        handler.replace = c.replace;
        handler.refuse = c.refuse;
        edit->SetHint(c.editHint);
        panel->SetHint(c.panelHint);
        panel->SetShowHint(c.panelShowHint);
        if (c.editShowHint < 0)
            edit->SetParentShowHint(true);
        else
            edit->SetShowHint(c.editShowHint == 1);
        EXPECT_EQ(edit->ShowHint(), c.editShowHint < 0 ? c.panelShowHint : c.editShowHint == 1);
        EXPECT_EQ(HoverEdit(std::string(c.shown) == "(none)" ? 300 : 2000), c.shown);
        EXPECT_EQ(Application->Hint(), c.appHint);
    }
    EXPECT_GT(handler.calls, 0);
}

TEST_F(HintsTest, HintHidesAfterHintHidePause) {
    edit->SetHint("Name|Long");
    edit->SetShowHint(true);
    Application->SetHintHidePause(150);
    ASSERT_EQ(HoverEdit(2000), "Name");
    const DWORD shown = GetTickCount();
    THintWindow* window = ActiveHintWindow();
    ASSERT_NE(window, nullptr);
    while (GetTickCount() - shown < 3000 && window->Showing()) {
        Application->ProcessMessages();
        Sleep(10);
    }
    const DWORD elapsed = GetTickCount() - shown;
    EXPECT_FALSE(window->Showing());
    EXPECT_EQ(ActiveHintWindow(), nullptr);
    EXPECT_GE(elapsed, 100u) << "hidden too soon";
    EXPECT_LT(elapsed, 2000u) << "not hidden after the pause";
    // A press hides a showing hint at once.
    Application->SetHintHidePause(60000);
    ASSERT_EQ(HoverEdit(2000), "Name");
    PostMessageA(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(ActiveHintWindow(), nullptr);
}

}  // namespace
}  // namespace fw
