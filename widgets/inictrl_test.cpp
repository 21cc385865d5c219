// The settings store over the portable ini parser and the in-memory registry; the Wine test checks
// the same layouts with the system's own tools.
#include "widgets/inictrl.h"

#include <gtest/gtest.h>

#include "framework/core/lists.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "testing/test_env.h"
#include "widgets/test_paths.h"
#include "widgets/kvxapplication.h"

namespace kvx {
namespace {

using test::ReadHost;

class IniCtrl : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fw::IncludeTrailingBackslash(mx::test::FreshDir());
        KVXSetFolderSource({[this] { return dir + "demo.exe"; }, [this] { return fw::ExcludeTrailingBackslash(dir) + "\\win"; }, {}});
        fw::ForceDirectories(dir + "win");
        KVXSetUserNameSource([] { return std::string("alice"); });
        ini = new TKVXIniCtrl(nullptr);
    }
    void TearDown() override {
        ini->Free();
        KVXSetFolderSource({});
        KVXSetUserNameSource({});
        fw::TRegistry reg;
        reg.DeleteKey("\\Software\\KVXTest");
    }
    std::string dir;
    TKVXIniCtrl* ini = nullptr;
};

TEST_F(IniCtrl, Defaults) {
    EXPECT_TRUE(ini->Common);
    EXPECT_EQ(ini->Target(), TKVXIniTarget::itAuto);
    EXPECT_EQ(ini->EffectiveTarget(), TKVXIniTarget::itRegistry);
    EXPECT_EQ(ini->MaxEntries(), 16);
    EXPECT_EQ(ini->IniFileName(), dir + "win\\demo.INI");  // program name, Windows folder
    ini->SetIniFile("settings");
    EXPECT_EQ(ini->IniFile(), "settings.INI");
    ini->IniPrefix = TKVXPathPrefix::ppProgram;
    EXPECT_EQ(ini->IniFileName(), dir + "settings.INI");
    ini->IniPrefix = TKVXPathPrefix::ppFixed;
    EXPECT_EQ(ini->IniFileName(), "settings.INI");
    ini->SetIniFile("a.cfg");
    EXPECT_EQ(ini->IniFile(), "a.cfg");
}

TEST_F(IniCtrl, SectionResolution) {
    ini->SetTarget(TKVXIniTarget::itIniFile);
    struct Step {
        const char* why;
        bool common;
        bool netUser;
        const char* user;
        const char* section;
        const char* want;
    };
    const Step steps[] = {
        {"first blank request", true, false, "", "", "Common"},
        {"common section as named", true, false, "", "Dialogs", "Dialogs"},
        {"blank repeats the last", true, false, "", "  ", "Dialogs"},
        {"per user without a user", false, false, "", "S", ".S"},
        {"per user", false, false, "bob", "S", "bob.S"},
        {"login name", false, true, "bob", "S", "alice.S"},
    };
    for (const Step& s : steps) {
        ini->Common = s.common;
        if (s.netUser != ini->NetUser()) ini->SetNetUser(s.netUser);
        if (!s.netUser) ini->User = s.user;
        EXPECT_EQ(ini->ResolveSection(s.section), s.want) << s.why;
    }
    EXPECT_EQ(ini->User, "alice");  // NetUser took the login name
    ini->SetTarget(TKVXIniTarget::itRegistry);
    EXPECT_EQ(ini->ResolveSection("#ROOT"), "");
    EXPECT_EQ(ini->ResolveSection(""), "Common");  // the last section is blank
    EXPECT_EQ(ini->ResolveSection("Sub"), "Sub");
}

TEST_F(IniCtrl, EntryNames) {
    EXPECT_EQ(ini->EntryName(12), "12");
    ini->SetMaxEntries(40);
    ini->SetAlphaCounter(true);
    EXPECT_EQ(ini->MaxEntries(), 26);
    ini->SetMaxEntries(40);
    EXPECT_EQ(ini->MaxEntries(), 26);
    EXPECT_EQ(ini->EntryName(0), "A");
    EXPECT_EQ(ini->EntryName(1), "B");
}

TEST_F(IniCtrl, IniFileValuesAndLists) {
    ini->SetTarget(TKVXIniTarget::itIniFile);
    ini->WriteString("Main", "Name", "value");
    ini->WriteBool("Main", "Flag", true);
    EXPECT_EQ(ini->ReadString("Main", "Name", "?"), "value");
    EXPECT_TRUE(ini->ReadBool("", "Flag", false));  // blank: the last section
    EXPECT_EQ(ini->ReadString("Main", "Missing", "def"), "def");
    ini->DeleteKey("Main", "Name");
    EXPECT_EQ(ini->ReadString("Main", "Name", "gone"), "gone");

    fw::TStringList list;
    for (int i = 0; i < 30; ++i) list.Add("file" + std::to_string(i));
    ini->WriteString("History", "H40", "stale");
    ini->WriteStrings("History", "H", 25, list);
    EXPECT_EQ(ini->ReadString("History", "H24", ""), "file24");
    EXPECT_EQ(ini->ReadString("History", "H25", ""), "");
    EXPECT_EQ(ini->ReadString("History", "H40", ""), "");  // the section was erased first
    fw::TStringList back;
    ini->ReadStrings("History", "H", 30, back);
    EXPECT_EQ(back.Count(), 25);
    ini->DeleteKey("History", "H3");  // a gap ends the list
    ini->ReadStrings("History", "H", 30, back);
    EXPECT_EQ(back.Count(), 3);
    const std::string text = ReadHost(ini->IniFileName());
    EXPECT_NE(text.find("[History]"), std::string::npos);
    EXPECT_NE(text.find("Flag=1"), std::string::npos);
}

TEST_F(IniCtrl, RootSectionKeepsTheKeyAndItsOtherValues) {
    ini->RegPath = "Software\\KVXTest";
    ini->WriteString("#ROOT", "Other", "kept");
    ini->WriteString("Sub", "Inner", "kept too");
    ini->WriteString("#ROOT", "H7", "stale");
    ini->WriteString("#ROOT", "Hx", "not an entry");
    fw::TStringList list;
    list.Add("a");
    list.Add("b");
    ini->WriteStrings("#ROOT", "H", 25, list);

    fw::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\KVXTest", false));
    EXPECT_EQ(reg.ReadString("H0"), "a");
    EXPECT_EQ(reg.ReadString("H1"), "b");
    EXPECT_FALSE(reg.ValueExists("H7"));
    EXPECT_EQ(reg.ReadString("Other"), "kept");
    EXPECT_EQ(reg.ReadString("Hx"), "not an entry");
    reg.CloseKey();
    EXPECT_TRUE(reg.OpenKey("\\Software\\KVXTest\\Sub", false));
    EXPECT_EQ(reg.ReadString("Inner"), "kept too");

    // A section of its own is a subkey, erased whole by WriteStrings.
    ini->WriteString("MRU", "Extra", "x");
    ini->WriteStrings("MRU", "H", 1, list);
    fw::TStringList back;
    ini->ReadStrings("MRU", "H", 5, back);
    EXPECT_EQ(back.Count(), 1);
    EXPECT_EQ(ini->ReadString("MRU", "Extra", "gone"), "gone");
}

TEST_F(IniCtrl, BlankRegPathUsesTheApplicationPath) {
    TKVXApplication* app = KVXCreateApplication();
    app->Company = "KVXTest";
    EXPECT_EQ(ini->RegKeyPath().rfind("Software\\KVXTest\\", 0), 0u);
    ini->RegPath = "Software\\X";
    EXPECT_EQ(ini->RegKeyPath(), "Software\\X\\");
    KVXDestroyApplication();
}

}  // namespace
}  // namespace kvx
