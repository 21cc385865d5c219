// The small services: strings, Windows queries, the registry helpers, shell folders, meta variables and
// unique names.
#include <gtest/gtest.h>

#include "framework/core/lists.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_root.h"
#include "installer/metavars.h"
#include "installer/qnfdregistry.h"
#include "installer/shellfolders.h"
#include "installer/strutils.h"
#include "installer/testkit/support.h"
#include "installer/winqueries.h"

namespace inst {
namespace {

using test::InstallerTest;
using Utilities = InstallerTest;

TEST_F(Utilities, Strings) {
    EXPECT_EQ(FieldCount("a;b"), 2);
    EXPECT_EQ(FieldCount("a;b;"), 2);
    EXPECT_EQ(FieldCount(""), 0);
    EXPECT_EQ(FieldCount(";;"), 2);
    EXPECT_EQ(Field("a;b;c", 2, ";"), "b");
    EXPECT_EQ(Field("a;b;c", 3, ";"), "c");
    EXPECT_EQ(Field("a;b", 5, ";"), "");
    EXPECT_EQ(Field("1.2.10", 3, "."), "10");
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(AddBackslash("C:"), "C:\\");
    EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
    EXPECT_EQ(RemoveBackslash("C:\\"), "C:");
    EXPECT_EQ(SafeFileName("ftp.site.com/pub:files"), "ftp.site.com-pubfiles");
    EXPECT_EQ(SafeFileName("a\"*:;<>?\\|b\x01\xE9"), "ab\x01\xE9");
    std::string out = "kept";
    AfterColon("no colon", out);
    EXPECT_EQ(out, "kept");
    AfterColon("C:\\x:y", out);
    EXPECT_EQ(out, "\\x:y");
    fw::TStringList list;
    list.Add("old");
    SplitList("a;b;;c;", ";", list);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(2), "");
    EXPECT_EQ(list.Get(3), "c");
}

TEST_F(Utilities, WindowsQueries) {
    struct Case {
        uint32_t platform, major, minor;
        int want;
    };
    const Case cases[] = {{0, 3, 1, 0}, {1, 4, 10, 1}, {2, 5, 1, 2}, {2, 3, 51, 3}, {2, 3, 5, 3}, {3, 0, 0, 4}};
    for (const Case& c : cases) {
        sys().platformId = c.platform;
        sys().major = c.major;
        sys().minor = c.minor;
        EXPECT_EQ(WindowsPlatform(), c.want) << c.platform << " " << c.major << "." << c.minor;
    }
    sys().versionFails = true;
    EXPECT_THROW(WindowsPlatform(), EAPIRoutines);
    sys().systemDir.clear();
    try {
        SystemDir();
        FAIL();
    } catch (const EAPIRoutines& e) {
        EXPECT_EQ(e.Message(), "Could not retrieve the system directroy from windows");
    }
    const std::string kept = TempFileName(true);
    EXPECT_TRUE(fw::FileExists(kept));
    EXPECT_EQ(fw::ExtractFileName(kept).substr(0, 3), "bat");
    const std::string dropped = TempFileName(false);
    EXPECT_FALSE(fw::FileExists(dropped));
    fw::DeleteFile(kept);
}

TEST_F(Utilities, RegistryHelpers) {
    WriteRegString(TRootKeys::hkCurrentUser, "\\Software\\T\\A", "S", "text");
    WriteRegInteger(TRootKeys::hkCurrentUser, "\\Software\\T\\A\\B", "I", 42);
    EXPECT_EQ(ReadRegString(TRootKeys::hkCurrentUser, "\\Software\\T\\A", "S", "d"), "text");
    EXPECT_EQ(ReadRegInteger(TRootKeys::hkCurrentUser, "\\Software\\T\\A\\B", "I", 0), 42);
    EXPECT_EQ(ReadRegInteger(TRootKeys::hkCurrentUser, "\\Software\\T\\A", "S", 7), 7) << "a string read as integer";
    EXPECT_EQ(ReadRegString(TRootKeys::hkCurrentUser, "\\Software\\T\\None", "S", "d"), "d");
    DeleteRegTree(TRootKeys::hkCurrentUser, "\\Software\\T");
    fw::TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("\\Software\\T"));
    TqnfdRegistry q;
    q.SetRootKeyFrom(4);
    EXPECT_EQ(q.RootKey(), fw::kHKeyLocalMachine);
    q.SetRootKeyFrom(9);
    EXPECT_EQ(q.RootKey(), fw::kHKeyLocalMachine);
    EXPECT_EQ(TqnfdRegistry::RootKeyOf(kHKeyDynData, TRootKeys::hkUsers), TRootKeys::hkDynData);
    EXPECT_EQ(TqnfdRegistry::RootKeyOf(0x1234, TRootKeys::hkUsers), TRootKeys::hkUsers);
}

TEST_F(Utilities, RunOnceNamesAreMadeUnique) {
    ASSERT_TRUE(AddRunOnce("X", "first", true));
    ASSERT_TRUE(AddRunOnce("X", "second", true));
    ASSERT_TRUE(AddRunOnce("X", "third", true));
    ASSERT_TRUE(AddRunOnce("X", "replaced", false));
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, kRunOnceKey, "X", ""), "replaced");
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, kRunOnceKey, "X1", ""), "second");
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, kRunOnceKey, "X2", ""), "third");
}

TEST_F(Utilities, ShellFoldersAndTheirFallbacks) {
    const std::string windows = sys().windowsDir;
    EXPECT_EQ(StartMenuDir(), windows + "\\Startmen");
    EXPECT_EQ(ProgramsDir(), windows + "\\Startmen\\Programs");
    EXPECT_EQ(DesktopDir(), windows + "\\Desktop");
    EXPECT_EQ(StartupDir(), windows + "\\Startup");
    EXPECT_EQ(ProgramFilesDir(), fw::ExtractFileDrive(fw::GetCurrentDir()) + "\\Program Files");
    WriteRegString(TRootKeys::hkCurrentUser, kShellFoldersKey, "Programs", "C:\\Menu\\Programs\\");
    WriteRegString(TRootKeys::hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", "D:\\Apps");
    WriteRegString(TRootKeys::hkLocalMachine, kCurrentVersionKey, "CommonFilesDir", "D:\\Apps\\Common");
    EXPECT_EQ(ProgramsDir(), "C:\\Menu\\Programs");
    EXPECT_EQ(ProgramFilesDir(), "D:\\Apps");
    EXPECT_EQ(CommonFilesDir(), "D:\\Apps\\Common");
}

TEST_F(Utilities, MetaVariables) {
    WriteRegString(TRootKeys::hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", "D:\\Apps\\");
    WriteRegString(TRootKeys::hkLocalMachine, kCurrentVersionKey, "CommonFilesDir", "D:\\Apps\\Common");
    WriteRegString(TRootKeys::hkCurrentUser, kShellFoldersKey, "Desktop", "C:\\Desk");
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {{"%P\\App", "D:\\Apps\\App"}, {"100%%", "100%"},      {"%x", ""},
                          {"a%", "a"},                  {"%d|%F", "C:\\Desk|D:\\Apps\\Common"}};
    for (const Case& c : cases) EXPECT_EQ(ExpandMetaVariables(c.in, nullptr), c.out) << c.in;
    try {
        ExpandMetaVariables("%c", nullptr);
        FAIL();
    } catch (const EAICannotExpandContainerDirMV& e) {
        EXPECT_EQ(e.Message(), "Cannot expand the %c meta variable because the component is Nil");
    }
    EXPECT_THROW(ExpandMetaVariables("%i", nullptr), EAICannotExpandInstallDirMV);
    auto* def = fw::Make<TInstallDefinition>(nullptr);
    auto* root = fw::Make<TInstallRoot>(def);
    root->SetDestDirType(FindSpecifier<TpsProgramFiles>());
    root->SetDestDir("\\Morvix\\");
    auto* group = fw::Make<TInstallGroup>(def);
    group->SetContainer(root);
    group->SetDestDir("\\Tools");
    EXPECT_EQ(ExpandMetaVariables("%i\\x", nullptr), "D:\\Apps\\Morvix\\x");
    EXPECT_EQ(ExpandMetaVariables("%a|%c", group), "D:\\Apps\\Morvix\\Tools|D:\\Apps\\Morvix");
    try {
        ExpandMetaVariables("%c", root);
        FAIL();
    } catch (const EAICannotExpandContainerDirMV& e) {
        EXPECT_EQ(e.Message(), "Cannot expand the %c meta variable because the Container property is Nil");
    }
    def->Free();
}

TEST_F(Utilities, UniqueNames) {
    auto* owner = fw::Make<TInstallDefinition>(nullptr);
    auto* first = fw::Make<fw::TComponent>(owner);
    auto* second = fw::Make<fw::TComponent>(owner);
    auto* third = fw::Make<fw::TComponent>(owner);
    SetUniqueName(first, "MainTranslator");
    SetUniqueName(second, "MainTranslator");
    SetUniqueName(third, "MainTranslator");
    EXPECT_EQ(first->Name(), "MainTranslator");
    EXPECT_EQ(second->Name(), "MainTranslator1");
    EXPECT_EQ(third->Name(), "MainTranslator2");
    owner->Free();
}

}  // namespace
}  // namespace inst
