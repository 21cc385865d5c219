// The recent-files list on real menus under Wine: the texts the system menus show (GetMenuStringA) in
// each placement, the button's drop-down menu, clicks on entries, and the values the list leaves in
// the registry, read back with the system's reg tool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/formtext.h"
#include "framework/win32/forms.h"
#include "testing/test_env.h"
#include "widgets/win32/messagedlg.h"
#include "widgets/win32/mrulist.h"
#include "widgets/win32/speedbutton.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using S = TKVXMRUListStyle;
using MO = TKVXMRUListOption;

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

// Opens the store steps to the test.
class TMRUProbe : public TKVXMRUList {
public:
    using TKVXMRUList::TKVXMRUList;
    void Save() { SaveToIni(); }
};

// What a system menu shows: one text per entry, "-" for a separator, "(grey)" after a disabled one.
std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> texts;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            texts.push_back("-");
            continue;
        }
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        texts.push_back(std::string(text) + ((state & MF_GRAYED) ? " (grey)" : ""));
    }
    return texts;
}

class KVXMRUListTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new fw::TForm(nullptr);
        form->SetName("frmRecent");
        menu = fw::Make<fw::TPopupMenu>(form);
        for (const char* caption : {"&Open", "&Recent", "E&xit"}) {
            auto* item = fw::Make<fw::TMenuItem>(form);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        recent = menu->Items()->Items(1);
        list = fw::Make<TMRUProbe>(form);
        list->IniUse = TKVXIniUse::ioNone;
    }
    void TearDown() override { form->Free(); }
    std::vector<std::string> Top() { return MenuTexts(menu->Items()->Handle()); }
    std::vector<std::string> Sub() { return MenuTexts(GetSubMenu(menu->Items()->Handle(), 1)); }
    void Fill(std::initializer_list<const char*> entries) {
        for (const char* e : entries) list->Add(e);
    }

    fw::TForm* form = nullptr;
    fw::TPopupMenu* menu = nullptr;
    fw::TMenuItem* recent = nullptr;
    TMRUProbe* list = nullptr;
};

using Texts = std::vector<std::string>;

TEST_F(KVXMRUListTest, MenuTextsInEveryPlacement) {
    struct Case {
        const char* name;
        S style;
        TKVXMRUListOptions options;
        std::initializer_list<const char*> entries;  // added in this order: the last is on top
        Texts top;
        Texts sub;
    };
    const TKVXMRUListOptions standard{MO::moShowAccel, MO::moSubIfEmpty};
    const Case cases[] = {
        {"after the item", S::msAfterItem, standard, {"C:\\b.zip", "C:\\a.zip"},
         {"&Open", "&Recent", "-", "&1 C:\\a.zip", "&2 C:\\b.zip", "-", "E&xit"}, {}},
        {"before the item", S::msBeforeItem, standard, {"C:\\b.zip", "C:\\a.zip"},
         {"&Open", "-", "&1 C:\\a.zip", "&2 C:\\b.zip", "-", "&Recent", "E&xit"}, {}},
        {"after the item, nothing to show", S::msAfterItem, standard, {}, {"&Open", "&Recent", "E&xit"}, {}},
        {"submenu", S::msCreateSubMenu, standard, {"C:\\b.zip", "C:\\a.zip"}, {"&Open", "&Recent", "E&xit"},
         {"&1 C:\\a.zip", "&2 C:\\b.zip"}},
        {"submenu with the clear item", S::msCreateSubMenu, standard + TKVXMRUListOptions{MO::moSubClearOption},
         {"C:\\a.zip"}, {"&Open", "&Recent", "E&xit"}, {"&1 C:\\a.zip", "-", "Clear List..."}},
        {"empty submenu", S::msCreateSubMenu, standard, {}, {"&Open", "&Recent", "E&xit"}, {"(None) (grey)"}},
        {"empty submenu without (None)", S::msCreateSubMenu, {MO::moShowAccel}, {},
         {"&Open", "&Recent (grey)", "E&xit"}, {}},
        {"no accelerators, names only", S::msAfterItem, {MO::moFileNameOnly}, {"C:\\dir\\a.zip"},
         {"&Open", "&Recent", "-", "a.zip", "-", "E&xit"}, {}},
    };
    for (const Case& c : cases) {
        // Each case on a fresh form and menu.
        TearDown();
        SetUp();
        list->SetOptions(c.options);
        list->SetStyle(c.style);
        Fill(c.entries);
        list->SetMenuItem(recent);
        EXPECT_EQ(Top(), c.top) << c.name;
        if (!c.sub.empty()) {
            EXPECT_EQ(Sub(), c.sub) << c.name;
        }
        // A rebuild replaces the list's items instead of adding more.
        list->Rebuild();
        EXPECT_EQ(Top(), c.top) << c.name << " (rebuilt)";
    }
}

TEST_F(KVXMRUListTest, CaptionsAreShortenedAndCountedOnPastNine) {
    list->SetMaxEntries(12);
    list->SetMaxLength(20);
    list->SetStyle(S::msCreateSubMenu);
    list->SetMenuItem(recent);
    for (int i = 11; i >= 1; --i) list->Add("C:\\f" + std::to_string(i) + ".txt");
    list->Add("C:\\Program Files\\App\\Sub\\file.txt");
    const Texts sub = Sub();
    ASSERT_EQ(sub.size(), 12u);
    EXPECT_EQ(sub[0], "&1 C:\\Program Files\\...\\file.txt");
    EXPECT_EQ(sub[1], "&2 C:\\f1.txt");
    EXPECT_EQ(sub[9], "&A C:\\f9.txt");
    EXPECT_EQ(sub[10], "&B C:\\f10.txt");
    EXPECT_EQ(sub[11], "&C C:\\f11.txt");
    // Fewer entries allowed: the oldest go.
    list->SetMaxEntries(4);
    EXPECT_EQ(list->Items()->Count(), 4);
    EXPECT_EQ(Sub().back(), "&4 C:\\f3.txt");
}

TEST_F(KVXMRUListTest, ButtonGetsADropDownMenu) {
    auto* button = fw::Make<TKVXCustomSpeedButton>(form);
    list->SetButton(button);
    ASSERT_NE(button->DropDownMenu(), nullptr);
    EXPECT_EQ(MenuTexts(button->DropDownMenu()->Items()->Handle()), Texts{"(None) (grey)"});
    int changes = 0;
    list->OnChange.Bind(nullptr, [&](void*, TObject*) { ++changes; });
    list->SetOptions({MO::moShowAccel, MO::moSubClearOption});
    list->Add("C:\\a.zip");
    EXPECT_EQ(MenuTexts(button->DropDownMenu()->Items()->Handle()), (Texts{"&1 C:\\a.zip", "-", "Clear List..."}));
    // OnChange reports rebuilds only with both a button and a menu item.
    EXPECT_EQ(changes, 0);
    list->SetMenuItem(recent);
    EXPECT_GT(changes, 0);
    list->SetButton(nullptr);
    EXPECT_EQ(button->DropDownMenu(), nullptr);
}

TEST_F(KVXMRUListTest, ClicksMoveRemoveOrOnlyReport) {
    list->SetStyle(S::msCreateSubMenu);
    list->SetMenuItem(recent);
    Fill({"C:\\c.zip", "C:\\b.zip", "C:\\a.zip"});
    std::vector<std::string> reported;
    bool removeIt = false;
    list->OnClick.Bind(nullptr, [&](void*, TObject*, const std::string& value, bool& remove) {
        reported.push_back(value);
        remove = removeIt;
    });
    recent->Items(2)->Click();  // c.zip moves to the top
    EXPECT_EQ(Sub(), (Texts{"&1 C:\\c.zip", "&2 C:\\a.zip", "&3 C:\\b.zip"}));
    removeIt = true;
    recent->Items(1)->Click();  // a.zip goes
    EXPECT_EQ(Sub(), (Texts{"&1 C:\\c.zip", "&2 C:\\b.zip"}));
    list->Shared = true;
    recent->Items(1)->Click();  // reported only
    EXPECT_EQ(Sub(), (Texts{"&1 C:\\c.zip", "&2 C:\\b.zip"}));
    EXPECT_EQ(reported, (std::vector<std::string>{"C:\\c.zip", "C:\\a.zip", "C:\\b.zip"}));
    // An item whose entry is gone does nothing.
    list->Items()->Clear();
    recent->Items(1)->Click();
    EXPECT_EQ(reported.size(), 3u);
}

TEST_F(KVXMRUListTest, FreedMenuItemIsForgotten) {
    list->SetStyle(S::msAfterItem);
    list->SetMenuItem(recent);
    Fill({"C:\\a.zip"});
    EXPECT_EQ(Top(), (Texts{"&Open", "&Recent", "-", "&1 C:\\a.zip", "-", "E&xit"}));
    // The entries go with the menu item they stood beside.
    recent->Free();
    EXPECT_EQ(list->MenuItem(), nullptr);
    EXPECT_EQ(Top(), (Texts{"&Open", "E&xit"}));
    list->Add("C:\\b.zip");
    EXPECT_EQ(Top(), (Texts{"&Open", "E&xit"}));
    // Freeing the list takes its items out of the menu.
    list->SetMenuItem(menu->Items()->Items(0));
    EXPECT_EQ(Top(), (Texts{"&Open", "-", "&1 C:\\b.zip", "&2 C:\\a.zip", "-", "E&xit"}));
    list->Free();
    EXPECT_EQ(Top(), (Texts{"&Open", "E&xit"}));
}

TEST_F(KVXMRUListTest, StoredValuesAndAGap) {
    const std::string dir = mx::test::FreshDir();
    std::string out;
    test::RunCommand("reg delete HKCU\\Software\\KVXMRUWineTest /f", dir, out);
    auto* ini = fw::Make<TKVXIniCtrl>(form);
    ini->RegPath = "Software\\KVXMRUWineTest";
    list->IniUse = TKVXIniUse::ioUseLink;
    list->SetIniLink(ini);
    EXPECT_EQ(list->StoreSection(), "frmRecent.MRUList");
    list->SetMaxEntries(5);
    Fill({"C:\\c.zip", "C:\\b.zip", "C:\\a.zip"});
    list->Save();
    ASSERT_EQ(test::RunCommand("reg query HKCU\\Software\\KVXMRUWineTest\\frmRecent.MRUList", dir, out), 0) << out;
    EXPECT_NE(out.find("H0    REG_SZ    C:\\a.zip"), std::string::npos) << out;
    EXPECT_NE(out.find("H1    REG_SZ    C:\\b.zip"), std::string::npos) << out;
    EXPECT_NE(out.find("H2    REG_SZ    C:\\c.zip"), std::string::npos) << out;
    EXPECT_EQ(out.find("H3"), std::string::npos) << out;

    // A gap in the numbering ends the list: H3 is missing, so H4 is never read.
    ASSERT_EQ(test::RunCommand("reg add HKCU\\Software\\KVXMRUWineTest\\frmRecent.MRUList /v H4 /d C:\\e.zip /f", dir, out), 0)
        << out;
    list->Items()->Clear();
    list->ReadIni();
    ASSERT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Get(0), "C:\\a.zip");
    test::RunCommand("reg delete HKCU\\Software\\KVXMRUWineTest /f", dir, out);
}

TEST_F(KVXMRUListTest, SubmenuDisabledWhileEmptyComesBackWithEntries) {
    list->SetOptions({MO::moShowAccel});
    list->SetStyle(S::msCreateSubMenu);
    list->SetMenuItem(recent);
    EXPECT_FALSE(recent->Enabled());
    list->Add("C:\\a.zip");
    EXPECT_TRUE(recent->Enabled());
    EXPECT_EQ(Sub(), (Texts{"&1 C:\\a.zip"}));
    list->Delete("C:\\A.ZIP");
    EXPECT_FALSE(recent->Enabled());
}

TEST_F(KVXMRUListTest, StoreAddedToTheFormIsLinked) {
    list->IniUse = TKVXIniUse::ioUseLink;
    auto* ini = fw::Make<TKVXIniCtrl>(form);
    EXPECT_EQ(list->IniLink(), ini);
    ini->Free();
    EXPECT_EQ(list->IniLink(), nullptr);
}

TEST_F(KVXMRUListTest, BlankSectionTakesTheDefault) {
    list->SetSection("Recent");
    EXPECT_EQ(list->StoreSection(), "Recent");
    list->SetSection("  ");
    EXPECT_EQ(list->Section(), "frmRecent.MRUList");
}

// A form read from text loads its list when it is created and stores it when it is destroyed.
TEST(KVXMRUListForm, LoadsOnCreateAndSavesOnDestroy) {
    const std::string dir = mx::test::FreshDir();
    const std::string key = "HKCU\\Software\\KVXMRUFormTest\\frmLife.MRUList";
    std::string out;
    test::RunCommand("reg delete HKCU\\Software\\KVXMRUFormTest /f", dir, out);
    for (const char* value : {"/v H0 /d C:\\one.zip", "/v H1 /d C:\\two.zip"})
        ASSERT_EQ(test::RunCommand("reg add " + key + " " + value + " /f", dir, out), 0) << out;

    auto* f = fw::TForm::CreateNew<fw::TForm>(nullptr);
    fw::ReadComponentText(f, R"(object frmLife: TForm
  object MainMenu1: TMainMenu
    object mnuFile: TMenuItem
      Caption = '&File'
      object mnuRecent: TMenuItem
        Caption = '&Recent'
      end
    end
  end
  object Ini1: TKVXIniCtrl
    RegPath = 'Software\KVXMRUFormTest'
  end
  object Mru1: TKVXMRUList
    IniLink = Ini1
    IniUse = ioUseLink
    MenuItem = mnuRecent
    Style = msCreateSubMenu
  end
end
)",
                          "frmLife");
    auto* list = dynamic_cast<TKVXMRUList*>(f->FindComponent("Mru1"));
    ASSERT_NE(list, nullptr);
    auto* recent = dynamic_cast<fw::TMenuItem*>(f->FindComponent("mnuRecent"));
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(MenuTexts(recent->Handle()), (Texts{"&1 C:\\one.zip", "&2 C:\\two.zip"}));
    list->Add("C:\\three.zip");
    f->Free();
    ASSERT_EQ(test::RunCommand("reg query " + key, dir, out), 0) << out;
    EXPECT_NE(out.find("H0    REG_SZ    C:\\three.zip"), std::string::npos) << out;
    EXPECT_NE(out.find("H2    REG_SZ    C:\\two.zip"), std::string::npos) << out;
    test::RunCommand("reg delete HKCU\\Software\\KVXMRUFormTest /f", dir, out);
}

TEST(KVXMessageDlgCodes, TypesAndButtons) {
    EXPECT_EQ(KVXDialogType(0), fw::mtWarning);
    EXPECT_EQ(KVXDialogType(3), fw::mtConfirmation);
    EXPECT_EQ(KVXDialogType(4), fw::mtCustom);
    EXPECT_EQ(KVXDialogType(9), fw::mtCustom);
    EXPECT_EQ(KVXDialogButtons(3), (fw::TMsgDlgButtons{fw::mbYes, fw::mbNo}));
    EXPECT_EQ(KVXDialogButtons(0x0400 | 0x0004), (fw::TMsgDlgButtons{fw::mbOK, fw::mbHelp}));
    EXPECT_EQ(KVXDialogButtons(0x0080 | 0x0008), (fw::TMsgDlgButtons{fw::mbAll, fw::mbCancel}));
    EXPECT_EQ(KVXDialogButtons(0xF800), fw::TMsgDlgButtons{});
}

}  // namespace
}  // namespace kvx::win32
