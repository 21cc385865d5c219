// Menus, actions and the shortcut rule against the real HMENUs under Wine: items inserted, moved and
// removed at run time read back through GetMenuStringA; commands from the menu bar, from a popup and
// from shortcuts run OnClick; an action's OnUpdate greys its menu item and its button.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/win32/actions.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_test_support.h"
#include "framework/win32/utilwindow.h"

namespace fw {
namespace {

using stdtest::StdControlsTest;

struct Log {
    std::vector<std::string> lines;
    void Click(TObject* sender) { lines.push_back(static_cast<TComponent*>(sender)->Name()); }
};

TMenuItem* NewItem(TComponent* owner, const std::string& name, const std::string& caption, Log* log = nullptr) {
    auto* item = Make<TMenuItem>(owner);
    item->SetName(name);
    item->SetCaption(caption);
    if (log) item->OnClick = TNotifyEvent(log, &Log::Click);
    return item;
}

std::string MenuText(HMENU menu, int position) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) texts.push_back(MenuText(menu, i));
    return texts;
}

class MenusTest : public StdControlsTest {};

TEST_F(MenusTest, MainMenuFollowsItemsInsertedMovedAndRemovedAtRunTime) {
    TForm* form = NewForm();
    Log log;
    auto* menu = Make<TMainMenu>(form);
    auto* file = NewItem(form, "mnuFile", "&File");
    auto* open = NewItem(form, "mnuOpen", "&Open...", &log);
    auto* quit = NewItem(form, "mnuQuit", "E&xit", &log);
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    menu->Items()->Add(file);
    file->Add(open);
    file->Add(NewItem(form, "mnuLine", "-"));
    file->Add(quit);
    form->SetMenu(menu);
    form->Show();

    HMENU bar = GetMenu(form->Handle());
    ASSERT_EQ(bar, menu->Handle());
    EXPECT_EQ(MenuTexts(bar), (std::vector<std::string>{"&File"}));
    HMENU drop = GetSubMenu(bar, 0);
    ASSERT_EQ(drop, file->Handle());
    EXPECT_EQ(MenuTexts(drop), (std::vector<std::string>{"&Open...\tCtrl+O", "", "E&xit"}));
    EXPECT_GE(GetMenuItemID(drop, 0), 0x8000u);
    EXPECT_EQ(GetMenuItemID(drop, 0), open->Command());

    // Inserted, moved, hidden and removed at run time.
    auto* save = NewItem(form, "mnuSave", "&Save", &log);
    file->Insert(1, save);
    EXPECT_EQ(MenuTexts(drop), (std::vector<std::string>{"&Open...\tCtrl+O", "&Save", "", "E&xit"}));
    EXPECT_EQ(save->MenuIndex(), 1);
    save->SetMenuIndex(0);
    EXPECT_EQ(file->IndexOf(save), 0);
    EXPECT_EQ(MenuText(drop, 0), "&Save");
    quit->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(drop), 3);
    quit->SetVisible(true);
    file->Remove(save);
    EXPECT_EQ(MenuTexts(drop), (std::vector<std::string>{"&Open...\tCtrl+O", "", "E&xit"}));
    save->Free();
    auto* help = NewItem(form, "mnuHelp", "&Help");
    menu->Items()->Add(help);
    EXPECT_EQ(MenuTexts(bar), (std::vector<std::string>{"&File", "&Help"}));
    help->Add(NewItem(form, "mnuAbout", "&About", &log));
    EXPECT_EQ(MenuTexts(GetSubMenu(bar, 1)), (std::vector<std::string>{"&About"}));

    // State reaches the HMENU.
    open->SetEnabled(false);
    EXPECT_TRUE(GetMenuState(drop, open->Command(), MF_BYCOMMAND) & MF_GRAYED);
    open->SetEnabled(true);
    quit->SetRadioItem(true);
    quit->SetChecked(true);
    EXPECT_TRUE(GetMenuState(drop, quit->Command(), MF_BYCOMMAND) & MF_CHECKED);

    // A command from the menu bar runs OnClick.
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(quit->Command(), 0), 0);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mnuQuit"}));

    // Freeing an item frees its sub-items; the bar follows.
    help->Free();
    EXPECT_EQ(form->FindComponent("mnuAbout"), nullptr);
    EXPECT_EQ(MenuTexts(bar), (std::vector<std::string>{"&File"}));
    form->Release();
}

TEST_F(MenusTest, PopupRunsTheChosenItemAndClosesOnCancelMode) {
    TForm* form = NewForm();
    Log log;
    auto* edit = Add<TEdit>(form, 10, 10, 100, 21, "edtName");
    form->Show();
    edit->SetFocus();
    // A popup built in code and freed after use.
    auto* popup = Make<TPopupMenu>(nullptr);
    popup->Items()->Add(NewItem(popup, "mnuFirst", "First", &log));
    popup->Items()->Add(NewItem(popup, "mnuSecond", "Second", &log));
    popup->SetPopupComponent(edit);
    // Down twice and Enter, read by the menu's own loop.
    for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    popup->Popup(100, 100);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mnuSecond"}));
    EXPECT_EQ(ActivePopupMenu(), nullptr);

    // WM_CANCELMODE to the owner closes the menu without a choice.
    PostMessageA(form->Handle(), WM_CANCELMODE, 0, 0);
    popup->Popup(100, 100);
    EXPECT_EQ(log.lines.size(), 1u);
    popup->Free();
    form->Release();
}

TEST_F(MenusTest, ShortcutsRunExceptPrintableKeysInControlsThatTypeThem) {
    TForm* form = NewForm();
    Log log;
    auto* menu = Make<TMainMenu>(form);
    auto* file = NewItem(form, "mnuFile", "&File");
    auto* open = NewItem(form, "mnuOpen", "&Open", &log);
    auto* add = NewItem(form, "mnuAdd", "&Add", &log);
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    add->SetShortCut(ShortCut('A', TShiftState{ssShift}));
    menu->Items()->Add(file);
    file->Add(open);
    file->Add(add);
    form->SetMenu(menu);
    auto* edit = Add<TEdit>(form, 10, 10, 100, 21, "edtName");
    auto* button = Add<TButton>(form, 10, 40, 75, 25, "btnGo");
    form->Show();

    edit->SetFocus();
    Press('A', true);
    EXPECT_EQ(edit->Text(), "A");
    EXPECT_TRUE(log.lines.empty());
    Press('O', false, true);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mnuOpen"}));
    // On a button (no characters wanted) Shift+A is a shortcut.
    button->SetFocus();
    Press('A', true);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mnuOpen", "mnuAdd"}));
    form->Release();
}

// A main menu that a menu bar shows (the form has no window menu) keeps its shortcuts.
TEST_F(MenusTest, ShortcutsOfAMainMenuThatIsNotTheWindowMenuRun) {
    TForm* form = NewForm();
    Log log;
    auto* menu = Make<TMainMenu>(form);
    auto* action = NewItem(form, "mnuAction", "&Action");
    auto* extract = NewItem(form, "mnuExtract", "&Extract...", &log);
    extract->SetShortCut(ShortCut('E', TShiftState{ssShift}));
    menu->Items()->Add(action);
    action->Add(extract);
    auto* button = Add<TButton>(form, 10, 40, 75, 25, "btnGo");
    form->Show();
    button->SetFocus();
    Press('E', true);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mnuExtract"}));
    form->Release();
}

TEST_F(MenusTest, ActionDrivesMenuItemAndButton) {
    TForm* form = NewForm();
    Log log;
    auto* list = Make<TActionList>(form);
    auto* action = Make<TAction>(form);
    action->SetName("actDelete");
    action->SetActionList(list);
    action->SetCaption("&Delete");
    action->SetShortCut(ShortCut(VK_DELETE, TShiftState{}));
    action->OnExecute = TNotifyEvent(&log, &Log::Click);
    bool allow = true;
    struct Updater {
        bool* allow;
        void Update(TObject* sender) { static_cast<TAction*>(sender)->SetEnabled(*allow); }
    } updater{&allow};
    action->OnUpdate = TNotifyEvent(&updater, &Updater::Update);

    auto* menu = Make<TMainMenu>(form);
    auto* item = Make<TMenuItem>(form);
    menu->Items()->Add(item);
    item->SetAction(action);
    auto* button = Add<TButton>(form, 10, 40, 75, 25, "btnDelete");
    button->SetAction(action);
    auto* edit = Add<TEdit>(form, 10, 10, 100, 21, "edtName");
    form->SetMenu(menu);
    form->Show();
    EXPECT_EQ(item->Caption(), "&Delete");
    EXPECT_EQ(button->Caption(), "&Delete");
    EXPECT_EQ(item->ShortCut(), action->ShortCut());

    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"actDelete", "actDelete"}));

    // OnUpdate at the idle point greys both clients.
    allow = false;
    UpdateAllActions();
    EXPECT_FALSE(item->Enabled());
    EXPECT_TRUE(GetMenuState(menu->Handle(), item->Command(), MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
    // A disabled action does not run, from a shortcut or a click. Delete types nothing, so it is a
    // shortcut even in an edit.
    edit->SetFocus();
    Press(VK_DELETE);
    item->Click();
    EXPECT_EQ(log.lines.size(), 2u);
    allow = true;
    Press(VK_DELETE);  // the shortcut updates the action first
    EXPECT_EQ(log.lines.size(), 3u);
    EXPECT_TRUE(button->Enabled());

    // The action going away leaves the clients as they are.
    action->Free();
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(button->Action(), nullptr);
    form->Release();
}

TEST_F(MenusTest, PopupComponentIsClearedWhenItsComponentIsFreed) {
    TForm* form = NewForm();
    auto* popup = Make<TPopupMenu>(form);
    popup->Items()->Add(NewItem(form, "mnuCopy", "Copy"));
    auto* first = Add<TEdit>(form, 10, 10, 100, 21, "edtFirst");
    auto* second = Add<TEdit>(form, 10, 40, 100, 21, "edtSecond");
    second->SetPopupMenu(popup);
    form->Show();
    popup->SetPopupComponent(first);
    first->Free();
    EXPECT_EQ(popup->PopupComponent(), nullptr);

    // A right click sets it to the control clicked; the menu's OnPopup sees it.
    struct Watch {
        TPopupMenu* popup;
        TComponent* seen = nullptr;
        void Popup(TObject*) { seen = popup->PopupComponent(); }
    } watch{popup};
    popup->OnPopup = TNotifyEvent(&watch, &Watch::Popup);
    PostMessageA(second->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageA(second->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_EQ(watch.seen, second);
    EXPECT_EQ(popup->PopupComponent(), second);
    second->Free();
    EXPECT_EQ(popup->PopupComponent(), nullptr);
    form->Release();
}

TEST_F(MenusTest, NotificationAreaPopupMakesItsWindowForegroundFirst) {
    // The hidden window a notification icon reports to owns the menu.
    std::vector<UINT> seen;
    HWND tray = AllocateHWnd([&seen](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        seen.push_back(msg);
        return DefWindowProcA(h, msg, w, l);
    });
    Log log;
    auto* popup = Make<TPopupMenu>(nullptr);
    popup->Items()->Add(NewItem(popup, "mnuRestore", "Restore", &log));
    popup->Items()->Add(NewItem(popup, "mnuExit", "Exit", &log));
    popup->SetWindow(tray);
    popup->SetForegroundFirst(true);
    HWND foreground = nullptr;
    stdtest::ScriptedInput script;
    script.abandon = [] { EndMenu(); };
    script.Add("the menu shows", [] { return FindWindowA("#32768", nullptr) && IsWindowVisible(FindWindowA("#32768", nullptr)); })
        .Do("read the foreground window and choose Exit", [&] {
            foreground = GetForegroundWindow();
            seen.clear();
            PostMessageA(tray, WM_KEYDOWN, VK_UP, 1);
            PostMessageA(tray, WM_KEYDOWN, VK_RETURN, 1);
        });
    script.Start();
    popup->Popup(200, 200);
    script.PumpUntilFinished();
    Pump();
    EXPECT_EQ(script.Failure(), "");
    EXPECT_EQ(foreground, tray) << "the owner must be the foreground window while its menu shows";
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mnuExit"}));
    // Afterwards a message to the owner lets the menu close when the user clicks elsewhere next time.
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_NULL)), seen.end());
    popup->Free();
    DeallocateHWnd(tray);
}

}  // namespace
}  // namespace fw
