// The install library under Wine, checked from outside: python3-pefile reads the version resources,
// "reg query" the records, cmp the installed files and the independent Python reader the archive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_listbox.h"
#include "framework/win32/std_memo.h"
#include "framework/win32/std_radiogroup.h"
#include "framework/win32/winapi.h"
#include "framework/win32/std_controls.h"
#include "installer/exceptions.h"
#include "installer/install_record.h"
#include "installer/install_root.h"
#include "installer/metavars.h"
#include "installer/qnfdregistry.h"
#include "installer/register.h"
#include "installer/shellfolders.h"
#include "installer/win32/system_win32.h"
#include "installer/win32/translate_controls.h"
#include "installer/winqueries.h"
#include "testing/test_env.h"
#include "testing/unix_script.h"

namespace inst {
namespace {

using mx::test::ReadFile;
using mx::test::WriteFile;

struct CaseDir {
    std::string win;
    std::string unix;
};

CaseDir FreshCase() {
    CaseDir d;
    d.win = mx::test::FreshDir();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    d.unix = std::string(std::getenv("MX_TEST_TMP")) + "/" + info->test_suite_name() + "." + info->name();
    return d;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// The Unix path of a file in the prefix's C: drive.
std::string DriveC(const std::string& rest) {
    std::string path = Env("WINEPREFIX") + "/drive_c/" + rest;
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string Built(const std::string& name) {
    return mx::test::HostPath(std::string(std::getenv("MX_BUILD_DIR")) + "/installer/win32/" + name);
}

class InstallWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWin32System();
        fw::RegisterStandardControls();
        RegisterClasses();
    }
    void SetUp() override {
        d = FreshCase();
        saved = fw::GetCurrentDir();
    }
    void TearDown() override { fw::SetCurrentDir(saved); }
    int Unix(const std::string& script) { return mx::test::RunUnixScript(d.unix, d.win, script); }
    // "reg query" of one value, the text it printed (or "" when the value is not there).
    std::string RegQuery(const std::string& key, const std::string& value) {
        const std::string out = d.unix + "/reg.txt";
        if (Unix("/usr/lib/wine/wine64 reg query '" + key + "' /v '" + value + "' > '" + out + "' 2>/dev/null") != 0)
            return "";
        return ReadFile(d.win + "\\reg.txt");
    }
    CaseDir d;
    std::string saved;
};

// ---- Versions --------------------------------------------------------------------------------------------

TEST_F(InstallWine, VersionsOfRealFilesAgreeWithAnIndependentReader) {
    const std::string tool = std::string(std::getenv("MX_SOURCE_DIR")) + "/installer/testkit/pe_version.py";
    struct Case {
        std::string windows;  // the file as this program opens it
        std::string unix;     // and as the Unix reader does
    };
    CopyFileA(Built("standin_new.exe").c_str(), (d.win + "\\standin.exe").c_str(), FALSE);
    const Case cases[] = {{SystemDir() + "\\shell32.dll", DriveC("windows/system32/shell32.dll")},
                          {d.win + "\\standin.exe", d.unix + "/standin.exe"}};
    for (const Case& c : cases) {
        ASSERT_EQ(Unix("/usr/bin/python3 '" + tool + "' '" + c.unix + "' > '" + d.unix + "/pe.txt'"), 0) << c.unix;
        const std::string pe = ReadFile(d.win + "\\pe.txt");
        TVersionResource& v = SharedVersionResource();
        v.SetFileName(c.windows);
        const std::string ours = v.VersionInfo()->FileVersion;
        EXPECT_NE(ours, "") << c.windows;
        EXPECT_NE(pe.find("FileVersion=" + ours + "\n"), std::string::npos) << pe;
    }
    TVersionResource& v = SharedVersionResource();
    v.SetFileName(d.win + "\\standin.exe");
    EXPECT_EQ(v.VersionInfo()->FileVersion, "1.2.5.0");
    EXPECT_EQ(v.VersionInfo()->CompanyName, "Morvix Tools");
    EXPECT_EQ(v.VersionInfo()->ProductVersion, "1.2 stand-in");
    EXPECT_EQ(v.VersionInfo()->FileType, "Application");
    EXPECT_EQ(v.VersionInfo()->FileOS, "Windows NT with 32 bit Windows");
    EXPECT_EQ(v.VersionInfo()->TranslationLanguage, 9);
    // Wine's shell32 carries the self-registration flag, and so does our test library.
    auto* def = fw::Make<TInstallDefinition>(nullptr);  // brings the standard specifiers
    auto* file = fw::Make<TInstallFile>(def);
    file->SetIncludeFromDir(SystemDir());
    file->SetFileName("shell32.dll");
    EXPECT_TRUE(file->ActiveX()) << "OLESelfRegister in its version resource";
    file->SetIncludeFromDir(fw::ExtractFileDir(Built("inst_selfreg.dll")));
    file->SetFileName("inst_selfreg.dll");
    EXPECT_TRUE(file->ActiveX());
    file->SetFileName("standin_new.exe");
    EXPECT_FALSE(file->ActiveX());
    def->Free();
}

// ---- Folders and records ---------------------------------------------------------------------------------

TEST_F(InstallWine, ShellFoldersAndMetaVariablesAreThePrefixFolders) {
    const std::string shell = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const std::string current = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion";
    struct Case {
        std::string ours;
        std::string key, value;
    };
    const Case cases[] = {{StartMenuDir(), shell, "Start Menu"},   {ProgramsDir(), shell, "Programs"},
                          {DesktopDir(), shell, "Desktop"},        {StartupDir(), shell, "Startup"},
                          {ProgramFilesDir(), current, "ProgramFilesDir"}, {CommonFilesDir(), current, "CommonFilesDir"}};
    for (const Case& c : cases) {
        const std::string answer = RegQuery(c.key, c.value);
        ASSERT_NE(answer, "") << c.value;
        EXPECT_NE(answer.find("REG_SZ    " + c.ours + "\r\n"), std::string::npos) << c.value << ": " << answer;
        EXPECT_TRUE(fw::DirectoryExists(c.ours)) << c.ours;
    }
    EXPECT_EQ(ExpandMetaVariables("%P\\App|%s|%W", nullptr), ProgramFilesDir() + "\\App|" + SystemDir() + "|" + WindowsDir());
    EXPECT_EQ(ExpandMetaVariables("%b", nullptr), ProgramsDir());
    EXPECT_TRUE(fw::DirectoryExists(SystemDir()));
    EXPECT_EQ(WindowsPlatform(), 2);
}

TEST_F(InstallWine, RecordsReadBackWithRegQuery) {
    ASSERT_TRUE(AddRunOnce("MorvixTestX", "a", true));
    ASSERT_TRUE(AddRunOnce("MorvixTestX", "b", true));
    ASSERT_TRUE(AddRunOnce("MorvixTestX", "c", true));
    EXPECT_NE(RegQuery("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "MorvixTestX2").find("REG_SZ    c"),
              std::string::npos);
    for (const char* name : {"MorvixTestX", "MorvixTestX1", "MorvixTestX2"}) {
        fw::TRegistry reg;
        reg.SetRootKey(fw::kHKeyLocalMachine);
        reg.OpenKey(kRunOnceKey, false);
        reg.DeleteValue(name);
    }
    WriteFile(d.win + "\\setup.exe", std::string(12345, 's'));
    SetSetupProgramPath(d.win + "\\setup.exe");
    const std::string key = ReadInstallRecord(true);
    ASSERT_NE(key, "");
    const std::string size = RegQuery("HKLM" + key, "Size");
    EXPECT_NE(size.find("REG_DWORD    0x3039"), std::string::npos) << size;
    EXPECT_NE(RegQuery("HKLM" + key, "CreationDate").find("REG_BINARY"), std::string::npos);
    RemoveInstallRecord();
    EXPECT_EQ(RegQuery("HKLM" + key, "Size"), "");
    SetSetupProgramPath("");
}

// ---- Installs --------------------------------------------------------------------------------------------

// One folder of files below C:\Program Files\MorvixTest\<case>, built into files.1 and installed.
class WineInstall : public InstallWine {
protected:
    void SetUp() override {
        InstallWine::SetUp();
        fw::SetCurrentDir(d.win);
        target = ProgramFilesDir() + "\\MorvixTest\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        def = fw::Make<TInstallDefinition>(nullptr);
        root = fw::Make<TInstallRoot>(def);
        root->SetName("Install1");
        root->Information()->ProductName = "MorvixTest";
        root->SetSourceDir(d.win + "\\build");
        root->SetDestDir(target);
        folder = fw::Make<TInstallDirectory>(def);
        folder->SetName("Programs");
        folder->SetContainer(root);
        folder->SetDestDir("\\Bin");
    }
    void TearDown() override {
        def->Free();
        DeleteRegTree(TRootKeys::hkLocalMachine, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MorvixTest");
        Unix("rm -rf '" + DriveC("Program Files/MorvixTest") + "'");
        for (const char* order : {"\\QnfdInstallOrder.txt", "\\QnfdCompressOrder.txt"}) fw::DeleteFile(WindowsDir() + order);
        InstallWine::TearDown();
    }
    TInstallFile* Add(const std::string& name, const std::string& bytes) {
        fw::ForceDirectories(d.win + "\\src");
        WriteFile(d.win + "\\src\\" + name, bytes);
        auto* f = fw::Make<TInstallFile>(def);
        f->SetName("File" + std::to_string(++count));
        f->SetIncludeFromDir("src");
        f->SetFileName(name);
        f->SetContainer(folder);
        return f;
    }
    int Sh(const std::string& script) { return InstallWine::Unix(script); }
    std::string UnixTarget(const std::string& name) {
        return DriveC("Program Files/MorvixTest/" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                      "/Bin/" + name);
    }
    std::string target;
    TInstallDefinition* def = nullptr;
    TInstallRoot* root = nullptr;
    TInstallDirectory* folder = nullptr;
    int count = 0;
};

TEST_F(WineInstall, AThreeFileContainerInstallsByteEqual) {
    std::string big;
    for (int i = 0; i < 200000; ++i) big += static_cast<char>((i * 7919) >> 3);
    Add("readme.txt", "Read me.\r\n");
    Add("data.bin", big);
    Add("empty.txt", "");
    root->Compress(46);
    const std::string reader = std::string(std::getenv("MX_SOURCE_DIR")) + "/installer/testkit/container_reader.py";
    ASSERT_EQ(Sh("/usr/bin/python3 '" + reader + "' '" + d.unix + "/build/files.1' '" + d.unix + "/py' > '" + d.unix +
                  "/listing.txt'"),
              0);
    root->Process();
    for (const char* name : {"readme.txt", "data.bin", "empty.txt"}) {
        EXPECT_EQ(Sh("cmp '" + d.unix + "/src/" + name + "' '" + UnixTarget(name) + "'"), 0) << name;
        EXPECT_EQ(Sh("cmp '" + d.unix + "/src/" + name + "' '" + d.unix + "/py/" + name + "'"), 0) << name;
    }
    const std::string files = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MorvixTest\\Files";
    EXPECT_NE(RegQuery(files, "Entries").find("REG_SZ    3"), std::string::npos);
    EXPECT_NE(RegQuery(files, "File3").find(target + "\\Bin\\readme.txt"), std::string::npos);
}

TEST_F(WineInstall, OverwriteModesAgainstPlacedFiles) {
    const std::string oldExe = ReadFile(Built("standin_old.exe"));  // 1.2.0.0
    const std::string newExe = ReadFile(Built("standin_new.exe"));  // 1.2.5.0
    auto* file = Add("MorvixZip.exe", newExe);
    root->Compress(46);
    struct Case {
        const char* why;
        TOverwriteType mode;
        const std::string* placed;
        int placedAge;  // days before the archive's file
        bool replaced;
    };
    const Case cases[] = {
        {"never keeps", TOverwriteType::owNever, &oldExe, 10, false},
        {"an older version is replaced", TOverwriteType::owVersion, &oldExe, -10, true},
        {"the same version stays", TOverwriteType::owVersion, &newExe, 10, false},
        {"an older date is replaced", TOverwriteType::owDate, &newExe, 10, true},
        {"a newer date stays", TOverwriteType::owDate, &oldExe, -10, false},
        {"same version, then the date", TOverwriteType::owVersionDate, &newExe, 10, true},
        {"older version, whatever the date", TOverwriteType::owVersionDate, &oldExe, -10, true},
    };
    const std::string dest = target + "\\Bin\\MorvixZip.exe";
    for (const Case& c : cases) {
        fw::ForceDirectories(target + "\\Bin");
        WriteFile(dest, *c.placed);
        const fw::TDateTime source = fw::FileDateToDateTime(fw::FileAge(d.win + "\\src\\MorvixZip.exe"));
        fw::FileSetDate(dest, fw::DateTimeToFileDate(source - c.placedAge));
        file->SetOverwriteMode(c.mode);
        root->SetProcessed(false);
        root->Process();
        EXPECT_EQ(ReadFile(dest) == newExe, c.replaced || c.placed == &newExe) << c.why;
        EXPECT_EQ(file->WillCopy(), c.replaced) << c.why;
    }
}

TEST_F(WineInstall, ASelfRegisteringLibraryWritesItsMarker) {
    auto* lib = fw::Make<TInstallFile>(def);
    fw::ForceDirectories(d.win + "\\src");
    WriteFile(d.win + "\\src\\MxSelf.dll", ReadFile(Built("inst_selfreg.dll")));
    lib->SetName("SelfReg");
    lib->SetIncludeFromDir("src");
    lib->SetFileName("MxSelf.dll");
    EXPECT_TRUE(lib->ActiveX());
    lib->SetContainer(folder);  // after the name: it stays in the program's folder
    root->Compress(46);
    root->Process();
    const std::string marker = RegQuery("HKCU\\Software\\MorvixTest\\SelfReg", "Registered");
    EXPECT_NE(marker.find(target + "\\Bin\\MxSelf.dll"), std::string::npos) << marker;
    EXPECT_NE(RegQuery("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MorvixTest\\ActiveX", "File1")
                  .find(target + "\\Bin\\MxSelf.dll;0"),
              std::string::npos);
    DeleteRegTree(TRootKeys::hkCurrentUser, "\\Software\\MorvixTest");
}

// ---- The translator on real controls ---------------------------------------------------------------------

TEST_F(InstallWine, PagesTranslateTheirControls) {
    InstallTranslatorControls();
    auto* translator = fw::Make<TTranslator>(nullptr);
    fw::TStringList english, french;
    for (const char* s : {"10;Cancel", "11;Next", "12;Typical", "13;Custom", "#20;", "Read the licence.", "#"}) english.Add(s);
    for (const char* s : {"10;Annuler", "11;Suivant", "12;Normale", "13;Personnalisée", "#20;", "Lisez la licence.", "#"})
        french.Add(s);
    translator->Language(TQnfdLanguage::qlEnglish)->SetStrings(&english);
    translator->Language(TQnfdLanguage::qlFrench)->SetStrings(&french);
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlFrench);
    auto* form = fw::Make<fw::TForm>(nullptr);
    form->SetCaption("Next");
    auto* label = fw::Make<TTranslateLabel>(form);
    label->SetParent(form);
    label->SetGLID(10);
    label->SetCaption("Something else");
    auto* list = fw::Make<fw::TListBox>(form);
    list->SetParent(form);
    list->Items()->Add("Typical");
    list->Items()->Add("Other");
    auto* group = fw::Make<fw::TRadioGroup>(form);
    group->SetParent(form);
    group->Items()->Add("Custom");
    auto* memo = fw::Make<fw::TMemo>(form);
    memo->SetParent(form);
    memo->Lines()->Add("Read the licence.");
    EXPECT_EQ(translator->TranslateControl(TQnfdLanguage::qlEnglish, form), TQnfdLanguage::qlFrench);
    EXPECT_EQ(form->Caption(), "Suivant");
    EXPECT_EQ(label->Caption(), "Annuler");
    EXPECT_EQ(list->Items()->Get(0), "Normale");
    EXPECT_EQ(list->Items()->Get(1), "Other");
    EXPECT_EQ(group->Items()->Get(0), "Personnalisée");
    EXPECT_EQ(memo->Lines()->Text(), "Lisez la licence.\r\n");
    EXPECT_TRUE(label->Visible()) << "shown again after the translation";
    translator->ApplyLanguageFont(form, false);
    EXPECT_EQ(form->Font()->Name(), "Arial");
    EXPECT_GE(form->Font()->Size(), 8);
    form->Free();
    translator->Free();
}

}  // namespace
}  // namespace inst
