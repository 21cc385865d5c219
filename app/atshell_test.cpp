#include "app/atshell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/default_viewer.h"
#include "framework/core/memregistry.h"
#include "framework/core/sysutils.h"

namespace {

using namespace app;
constexpr fw::RegRoot kCR = fw::kHKeyClassesRoot;

// A memory registry for HKEY_CLASSES_ROOT, a program file that exists, and a recording shell seam.
class ATShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::SetRegistryBackend(&reg);
        dir = std::filesystem::temp_directory_path() / ("atshell-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        program = (dir / "MorvixZip.exe").string();
        std::ofstream(program) << "MZ";
        SetATShellSeam({[this] { ++notified; }, [this](const std::string& t) { errors.push_back(t); }});
        shell = fw::Make<TATShell>(nullptr);
    }
    void TearDown() override {
        shell->Free();
        SetATShellSeam({});
        fw::SetRegistryBackend(nullptr);
        std::filesystem::remove_all(dir);
    }
    void Set(const std::string& key, const std::string& value) {
        reg.CreateKey(kCR, key);
        reg.SetValue(kCR, key, "", fw::kRegSz, value);
    }
    std::string Get(const std::string& key) { return QueryKeyDefault(kCR, key, "<none>"); }
    // Another program's ZIP association: display name, icon, open and print.
    void SeedZip() {
        Set(".zip", "zipfile");
        Set("zipfile", "ZIP archive");
        Set("zipfile\\DefaultIcon", "C:\\other\\z.exe,1");
        Set("zipfile\\shell\\open\\command", "C:\\other\\z.exe %1");
        Set("zipfile\\shell\\print\\command", "C:\\other\\z.exe /p %1");
    }

    fw::MemRegistry reg;
    std::filesystem::path dir;
    std::string program;
    int notified = 0;
    std::vector<std::string> errors;
    TATShell* shell = nullptr;
};

TEST_F(ATShellTest, ExtensionIsNormalisedAndReloadsTheAssociation) {
    SeedZip();
    Set("zipfile\\QuickView", "*");
    reg.CreateKey(kCR, ".zip\\ShellNew");
    shell->SetExtension("ZIP");
    EXPECT_EQ(shell->Extension(), ".zip");
    EXPECT_EQ(shell->KeyName(), "zipfile");
    EXPECT_EQ(shell->TypeName(), "ZIP archive");
    EXPECT_EQ(shell->IconPath(), "C:\\other\\z.exe,1");
    EXPECT_EQ(shell->PathToApp(), "C:\\other\\z.exe");
    EXPECT_TRUE(shell->QuickView());
    EXPECT_TRUE(shell->ShowInNew());
    // Only the verbs other than "open", with the program's path and "%1" taken off.
    EXPECT_EQ(shell->ShellCommands(), "print|/p ,");
    EXPECT_EQ(shell->GetAssociatedApp(), "C:\\other\\z.exe");
    // An extension without a key clears everything.
    shell->SetExtension(".Lha");
    EXPECT_EQ(shell->Extension(), ".lha");
    EXPECT_EQ(shell->KeyName(), "");
    EXPECT_EQ(shell->PathToApp(), "");
    EXPECT_EQ(shell->ShellCommands(), "");
    EXPECT_FALSE(shell->QuickView() || shell->ShowInNew());
    EXPECT_EQ(shell->GetAssociatedApp(), "");
}

TEST_F(ATShellTest, ExecutablePartAndVerbParameters) {
    struct Case {
        const char* command;
        const char* want;
    } cases[] = {
        {"C:\\other\\z.exe %1", "C:\\other\\z.exe"},
        {"\"C:\\Program Files\\z.exe\" \"%1\"", "\"C:\\Program Files\\z.exe"},  // the opening quote stays
        {"C:\\other\\Z.EXE /p %1", "C:\\other\\Z.EXE"},
        {"C:\\other\\z.exe", "C:\\other\\z.exe"},      // nothing after it
        {"C:\\other\\z.exe\"", "C:\\other\\z.exe\""},  // one character after it
        {"notepad %1", "notepad %1"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TATShell::ExecutablePart(c.command), c.want) << c.command;
    shell->SetPathToApp("C:\\other\\z.exe");
    EXPECT_EQ(shell->VerbParameters("C:\\other\\z.exe /p %1"), "/p ");
    EXPECT_EQ(shell->VerbParameters("C:\\other\\z.exe %1 /x"), "/x");
    EXPECT_EQ(shell->VerbParameters("D:\\elsewhere.exe /q %1"), "D:\\elsewhere.exe /q ");
    EXPECT_EQ(SplitCommaList("print|/p ,edit|,"), (std::vector<std::string>{"print|/p ", "edit|"}));
    EXPECT_EQ(SplitCommaList("a,b"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitCommaList("").empty());
}

TEST_F(ATShellTest, RegisterWritesVerbsWithTheirParametersBeforeOrAfterThePath) {
    SeedZip();
    shell->SetExtension(".zip");
    shell->SetPathToApp(program);
    shell->SetShellCommands("print|/p,view|,");
    shell->Register();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(Get("zipfile\\shell\\open\\command"), program + " %1");
    EXPECT_EQ(Get("zipfile\\shell\\print\\command"), program + " /p %1");
    EXPECT_EQ(Get("zipfile\\shell\\view\\command"), program + " %1");
    shell->SetParamPos(TParamPos::ppAfter);
    shell->SetShellCommands("print|/p,");
    shell->Register();
    EXPECT_EQ(Get("zipfile\\shell\\print\\command"), program + " %1 /p");
    EXPECT_TRUE(errors.empty());
}

TEST_F(ATShellTest, NothingIsWrittenWhenTheAssociationIsIncomplete) {
    Set(".arj", "arjfile");  // a type key without display name or icon
    reg.CreateKey(kCR, "arjfile");
    shell->SetExtension(".arj");
    shell->SetPathToApp(program);
    shell->SetIconPath(program);
    EXPECT_FALSE(shell->IsValid());
    shell->Register();
    EXPECT_EQ(Get("arjfile\\shell\\open\\command"), "<none>");
    // A program that does not exist: not valid either, and no notification.
    SeedZip();
    shell->SetExtension(".zip");
    shell->SetPathToApp((dir / "gone.exe").string());
    EXPECT_FALSE(shell->IsValid());
    shell->Register();
    EXPECT_EQ(Get("zipfile\\shell\\open\\command"), "C:\\other\\z.exe %1");
    EXPECT_EQ(notified, 0);
    // An extension key with an empty default names no type: no program, not HKCR's own keys.
    Set(".gz", "");
    shell->SetExtension(".gz");
    EXPECT_EQ(shell->GetAssociatedApp(), "");
    EXPECT_FALSE(shell->IsValid());
}

TEST_F(ATShellTest, DefaultViewerRepointsOpenAndIconOnlyOfExistingAssociations) {
    SeedZip();
    Set(".tar", "");  // as a new prefix has it: the key without a type
    MakeDefaultViewer(*shell, program);
    EXPECT_EQ(Get("zipfile\\shell\\open\\command"), program + " %1");
    EXPECT_EQ(Get("zipfile\\DefaultIcon"), program);
    EXPECT_EQ(Get("zipfile"), "ZIP archive");
    // The other program's verb keeps its own program.
    EXPECT_EQ(Get("zipfile\\shell\\print\\command"), "C:\\other\\z.exe /p %1");
    EXPECT_FALSE(reg.KeyExists(kCR, ".lha"));
    EXPECT_FALSE(reg.KeyExists(kCR, ".cab"));
    EXPECT_EQ(Get(".tar"), "");
    EXPECT_EQ(notified, 1);
    shell->SetExtension(".zip");
    EXPECT_EQ(shell->GetAssociatedApp(), program);
}

TEST(DefaultViewer, AskedUnlessThisProgramIsRegisteredOrTheUserDeclined) {
    EXPECT_TRUE(ShouldAskDefault("C:\\other\\z.exe", "C:\\MZ\\MorvixZip.exe", true));
    EXPECT_TRUE(ShouldAskDefault("", "C:\\MZ\\MorvixZip.exe", true));
    EXPECT_FALSE(ShouldAskDefault("C:\\MZ\\MorvixZip.exe", "C:\\MZ\\MorvixZip.exe", true));
    // Another spelling of the same file is asked about: the comparison is exact.
    EXPECT_TRUE(ShouldAskDefault("C:\\MZ\\MORVIXZIP.EXE", "C:\\MZ\\MorvixZip.exe", true));
    EXPECT_FALSE(ShouldAskDefault("C:\\other\\z.exe", "C:\\MZ\\MorvixZip.exe", false));
}

}  // namespace
