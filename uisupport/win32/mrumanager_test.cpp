// The MRU manager on a real menu and the registry: captions as GetMenuStringA shows them, the saved
// section as Wine's reg.exe lists it, loading with a smaller capacity, clicks and AutoEnable.
#include "uisupport/win32/mrumanager.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "framework/core/registry.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "testing/test_env.h"
#include "uisupport/win32/uisregister.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace uis {
namespace {

const char* const kKey = "Software\\Morvix Tools\\Zip\\Preferences";

class TfrmMruMain : public fw::TForm {
public:
    using TForm::TForm;
    std::string clicked;
    void RecentClick(fw::TObject*, const std::string& name, const std::string& caption, int userData) {
        clicked = name + "|" + caption + "|" + std::to_string(userData);
    }
};

// The names of a key's values as reg.exe lists them, with their data.
std::string RegValues(const std::string& key) {
    std::string out;
    kvx::win32::test::RunCommand("reg query \"HKCU\\" + key + "\"", mx::test::FreshDir(), out);
    std::istringstream lines(out);
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t type = line.find("    REG_SZ    ");
        if (line.rfind("    ", 0) == 0 && type != std::string::npos)
            result += line.substr(4, type - 4) + "=" + line.substr(type + 14) + ";";
    }
    return result;
}

std::string MenuText(HMENU menu, int position) {
    char buffer[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

class MruTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        RegisterUISupportClasses();
        fw::Class<TfrmMruMain, fw::TForm>("TfrmMruMain");
        fw::TRegistry registry;
        registry.DeleteKey(std::string("\\") + kKey);
        form = fw::TForm::CreateNew<TfrmMruMain>(nullptr);
        form->SetName("frmMru");
        auto* menu = fw::Make<fw::TMainMenu>(form);
        file = fw::Make<fw::TMenuItem>(form);
        file->SetCaption("&File");
        menu->Items()->Add(file);
        auto* open = fw::Make<fw::TMenuItem>(form);
        open->SetCaption("&Open");
        file->Add(open);
        form->SetMenu(menu);
        storage = fw::Make<TFormPlacement>(form);
        storage->SetActive(false);  // an inactive placement saves whenever asked
        storage->SetUseRegistry(true);
        storage->SetIniFileName(kKey);
        storage->SetIniSection("Main");
        mru = fw::Make<TMRUManager>(form);
        mru->SetName("mrumHistory");
        mru->SetIniStorage(storage);
        mru->SetCapacity(5);
        mru->SetRecentMenu(file);
        mru->OnClick = TClickMenuEvent(form, &TfrmMruMain::RecentClick);
    }
    void TearDown() override {
        form->Free();
        fw::DoneApplication();
    }
    TfrmMruMain* form = nullptr;
    fw::TMenuItem* file = nullptr;
    TFormPlacement* storage = nullptr;
    TMRUManager* mru = nullptr;
};

TEST_F(MruTest, TheMenuShowsNumberedNamesUnderOneSeparator) {
    EXPECT_EQ(file->Count(), 1);  // an empty list adds no separator
    EXPECT_TRUE(file->Enabled());  // and the File menu keeps its own item
    mru->Add("C:\\a.zip", 0);
    mru->Add("C:\\b.zip", 0);
    mru->Add("C:\\c.zip|Archive of May", 0);
    ASSERT_EQ(file->Count(), 5);
    HMENU menu = file->Handle();
    EXPECT_EQ(MenuText(menu, 0), "&Open");
    EXPECT_EQ(MenuText(menu, 1), "");  // the separator
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(menu, 2), "&1\tC:\\c.zip");
    EXPECT_EQ(MenuText(menu, 4), "&3\tC:\\a.zip");
    EXPECT_EQ(file->Items(2)->Hint(), "Archive of May");

    mru->SetRemoveOnSelect(true);
    file->Items(3)->Click();
    EXPECT_EQ(form->clicked, "C:\\b.zip|&2\tC:\\b.zip|0");
    EXPECT_EQ(mru->Strings().Count(), 2);
    EXPECT_EQ(MenuText(file->Handle(), 3), "&2\tC:\\a.zip");
}

TEST_F(MruTest, SeparatorsComeEveryFewNamesAndTheHandlerMayRenameAnItem) {
    mru->SetSeparateSize(2);
    mru->OnGetItemData.Bind(nullptr, [](void*, fw::TObject*, std::string& caption, fw::TShortCut&, int userData) {
        if (userData == 5) caption = "five|the fifth";
    });
    mru->Add("a", 0);
    mru->Add("b", 5);
    mru->Add("c", 0);
    HMENU menu = file->Handle();
    ASSERT_EQ(file->Count(), 6);  // Open, separator, c, five, separator, a
    EXPECT_EQ(MenuText(menu, 3), "&2\tfive");
    EXPECT_EQ(file->Items(3)->Hint(), "the fifth");
    EXPECT_TRUE(GetMenuState(menu, 4, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(menu, 5), "&3\ta");
    mru->SetShowAccelChar(false);
    EXPECT_EQ(MenuText(file->Handle(), 2), "c");
    mru->Clear();
    EXPECT_EQ(file->Count(), 1);
}

TEST_F(MruTest, TheSavedSectionHoldsItemsAndLoadsInStoredOrder) {
    mru->Add("C:\\a.zip", 0);
    mru->Add("C:\\b.zip", 0);
    mru->Add("C:\\c.zip", 0);
    storage->Save();
    const std::string section = std::string(kKey) + "\\Main\\TfrmMruMain.mrumHistory";
    EXPECT_EQ(RegValues(section), "Item_0=C:\\c.zip;Item_1=C:\\b.zip;Item_2=C:\\a.zip;");

    // Two more entries from outside; a load with Capacity 2 keeps the first two, in both modes.
    std::string out;
    kvx::win32::test::RunCommand("reg add \"HKCU\\" + section + "\" /v Item_3 /d D:\\d.zip /f", mx::test::FreshDir(), out);
    for (const TRecentMode mode : {TRecentMode::rmInsert, TRecentMode::rmAppend}) {
        mru->SetMode(mode);
        mru->SetCapacity(2);
        int changes = 0;
        mru->OnChange.Bind(&changes, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
        storage->Restore();
        EXPECT_EQ(changes, 1);
        ASSERT_EQ(mru->Strings().Count(), 2);
        EXPECT_EQ(mru->Strings().Get(0), "C:\\c.zip");
        EXPECT_EQ(mru->Strings().Get(1), "C:\\b.zip");
        EXPECT_EQ(mru->Mode(), mode);
    }

    // User data goes with its item, and only when it is not 0 (append mode: the new name is last).
    mru->SetCapacity(5);
    mru->Add("E:\\e.zip", 7);
    storage->Save();
    EXPECT_EQ(RegValues(section), "Item_0=C:\\c.zip;Item_1=C:\\b.zip;Item_2=E:\\e.zip;User_2=7;");
}

}  // namespace
}  // namespace uis
