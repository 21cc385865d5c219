// Links and link groups, Program Manager items, registry entries and the uninstall program's record:
// the naming rules, what the shell's link object and Program Manager are told, and the records left.
#include "installer/shell_links.h"

#include <gtest/gtest.h>

#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_registry.h"
#include "installer/progman.h"
#include "installer/qnfdregistry.h"
#include "installer/testkit/support.h"
#include "installer/uninstall.h"

namespace inst {
namespace {

using test::Slurp;
using test::Spit;

class Links : public test::DefinitionTest {
protected:
    void SetUp() override {
        DefinitionTest::SetUp();
        ProgramManager().Disconnect();
        folder = fw::Make<TInstallDirectory>(def);
        folder->SetName("Programs");
        folder->SetContainer(root);
        folder->SetDescription("Program files");
        zip = AddFile(folder, "Zip.exe", "program");
    }
    void TearDown() override {
        ProgramManager().Disconnect();
        DefinitionTest::TearDown();
    }
    TInstallShellLink* Link(const std::string& name, TCustomPathSpecifier* where) {
        auto* link = fw::Make<TInstallShellLink>(def);
        link->SetName(name);
        link->SetContainer(root);
        link->SetDestDirType(where);
        return link;
    }
    TUninstallEXE* AddUninstaller() {
        auto* uninstaller = fw::Make<TUninstallEXE>(def);
        uninstaller->SetName("ifUninstallEXE");
        uninstaller->SetContainer(folder);
        uninstaller->SetIncludeFromDir("src");
        uninstaller->SetFileName("uninstall.exe");
        Spit(dir + "src/uninstall.exe", "uninstaller");
        return uninstaller;
    }
    std::string Files(int n) {
        return ReadRegString(TRootKeys::hkLocalMachine, std::string(kUninstallKey) + "Morvix Zip\\Files",
                             "File" + std::to_string(n), "<none>");
    }
    TInstallDirectory* folder = nullptr;
    TInstallFile* zip = nullptr;
};

TEST_F(Links, NamingRules) {
    auto* link = Link("L", FindSpecifier<TpsDesktopMenu>());
    struct Step {
        const char* why;
        std::function<void()> act;
        const char* name;
    };
    const Step steps[] = {
        {"a name without a link extension gets .LNK", [&] { link->SetLinkName("Morvix"); }, "Morvix.LNK"},
        {"or the previous one's", [&] { link->SetLinkName("Site.url"); }, "Site.url"},
        {"the previous extension, upper-cased", [&] { link->SetLinkName("Other"); }, "Other.URL"},
        {"a dotted name keeps its dots", [&] { link->SetLinkName("Zip 1.02"); }, "Zip 1.02.URL"},
        {"an install file names the link after its destination", [&] { link->SetObjectLink(zip); }, "Zip.lnk"},
        {"a directory by its description", [&] { link->SetObjectLink(folder); }, "Program files.lnk"},
        {"a set name stays when the location changes", [&] { link->SetObjectLocation("C:\\Tools\\viewer.exe"); },
         "Program files.lnk"},
        {"a blank name takes the location's", [&] {
             link->SetObjectLink(nullptr);
             link->SetLinkName("");
             link->SetObjectLocation("C:\\Tools\\viewer.exe");
         },
         "viewer.LNK"},
        {"a web address names an internet shortcut, made one safe file name", [&] {
             link->SetLinkName("");
             link->SetObjectLocation("http://www.morvix.example/download/page.html?x=1");
         },
         "www.morvix.example-download-page.htmlx=1.URL"},
        {"also behind ftp://", [&] {
             link->SetLinkName(".LNK");
             link->SetObjectLocation("FTP://ftp.morvix.example/pub");
         },
         "ftp.morvix.example-pub.URL"},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(link->LinkName(), s.name) << s.why;
    }
    link->SetObjectLink(zip);
    EXPECT_TRUE(dynamic_cast<TpsObjectLink*>(link->ObjectLocationType()));
    EXPECT_EQ(link->ObjectLocation(), "");
    link->SetLinkName("Web.URL");
    EXPECT_EQ(link->ObjectLink(), nullptr) << "an internet shortcut links no install object";
    EXPECT_EQ(link->ObjectLocationType(), nullptr);
}

TEST_F(Links, ShellLinksAreSavedWithTheirTargetFolderAndArguments) {
    auto* uninstaller = AddUninstaller();
    auto* link = Link("ToZip", FindSpecifier<TpsDesktopMenu>());
    link->SetObjectLink(zip);
    link->SetHotKey(0x0741);
    auto* removal = Link("ToUninstall", FindSpecifier<TpsStartMenu>());
    removal->SetObjectLink(uninstaller);
    root->Compress(46);
    root->Process();
    link->Process();
    removal->Process();
    ASSERT_EQ(sys().links.size(), 2u);
    EXPECT_EQ(sys().links[0].target, dir + "target\\Zip.exe");
    EXPECT_EQ(sys().links[0].workingDirectory, dir + "target");
    EXPECT_EQ(sys().links[0].arguments, "");
    EXPECT_EQ(sys().links[0].hotKey, 0x0741);
    EXPECT_EQ(sys().links[0].linkPath, sys().windowsDir + "\\Desktop\\Zip.lnk");
    EXPECT_EQ(sys().links[1].arguments, "Morvix Zip") << "the uninstall program gets the product name";
    EXPECT_EQ(sys().comInitializations, 2) << "once per link";
    EXPECT_EQ(Files(1), dir + "target\\Zip.exe");
    EXPECT_EQ(Files(2), sys().windowsDir + "\\Desktop\\Zip.lnk") << "links after the files; the uninstall program is no file";

    // The errors of the link object, by its result.
    sys().linkAnswer = ShellLinkAnswer{true, static_cast<int32_t>(0x80070057u), "The parameter is incorrect."};
    try {
        link->Process();
        FAIL();
    } catch (const IEInstallShellLink& e) {
        EXPECT_EQ(e.Message(), "The TCustomInstallShellLink ToZip name could not be installed. The following error was "
                               "reported Indicates one or more arguments are invalid. Error code -2147024809");
    }
    sys().linkAnswer = ShellLinkAnswer{false, static_cast<int32_t>(0x80040154u), "Class not registered"};
    EXPECT_THROW(link->Process(), EOleSysError);
    sys().linkAnswer = ShellLinkAnswer{};
    sys().comAnswer = static_cast<int32_t>(0x80004005u);
    auto* fresh = Link("Fresh", FindSpecifier<TpsDesktopMenu>());
    fresh->SetObjectLink(zip);
    EXPECT_THROW(fresh->Process(), IEInstallShellLink) << "the component object library failed";
}

TEST_F(Links, ALinkPathTooLongForTheLinkObjectIsRefused) {
    auto* link = Link("Long", FindSpecifier<TpsDesktopMenu>());
    link->SetObjectLink(zip);
    link->SetLinkName(std::string(300, 'n') + ".LNK");
    zip->SetProcessed(true);
    try {
        link->Process();
        FAIL();
    } catch (const IEInstallShellLink& e) {
        EXPECT_NE(e.Message().find("is longer than 259 characters"), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(sys().links.empty());
}

TEST_F(Links, ALinkToAFileNotInstalledIsNotMadeButRecorded) {
    auto* link = Link("ToZip", FindSpecifier<TpsDesktopMenu>());
    link->SetObjectLink(zip);
    link->Process();
    EXPECT_TRUE(sys().links.empty());
    EXPECT_TRUE(link->Processed());
    EXPECT_EQ(Files(1), sys().windowsDir + "\\Desktop\\Zip.lnk");
}

TEST_F(Links, AnInternetShortcutIsAnIniFile) {
    auto* link = Link("Home", FindSpecifier<TpsDesktopMenu>());
    link->SetObjectLocation("http://www.morvix.example/zip/");
    link->Process();
    const std::string path = sys().windowsDir + "/Desktop/www.morvix.example-zip-.URL";
    std::string out;
    ASSERT_EQ(test::Python("-c \"import configparser,sys; c=configparser.ConfigParser(); c.read(sys.argv[1]); "
                           "print(c['InternetShortcut']['URL'])\" '" + path + "'",
                           &out),
              0)
        << out;
    EXPECT_EQ(out, "http://www.morvix.example/zip/\n");
}

TEST_F(Links, MainLinksLiveInTheOneMainFolder) {
    EXPECT_THROW(fw::Make<TInstallMainLink>(def), IEInstallShellLink) << "no main folder yet";
    auto* group = fw::Make<TMainLinkGroup>(def);
    group->SetName("MainFolder");
    group->SetContainer(root);
    EXPECT_EQ(group->DestDir(), "\\Morvix Zip");
    group->SetDestDirType(FindSpecifier<TpsDesktopMenu>());
    EXPECT_TRUE(dynamic_cast<TpsProgramMenu*>(group->DestDirType())) << "always the Programs menu";
    EXPECT_THROW(fw::Make<TMainLinkGroup>(def), IEShellLinkGroup);
    auto* main = fw::Make<TInstallMainLink>(def);
    EXPECT_EQ(main->Container(), group);
    EXPECT_THROW(main->SetContainer(root), IEInstallShellLink);
    main->SetObjectLink(zip);
    EXPECT_EQ(main->LinkPath(), sys().windowsDir + "\\Startmen\\Programs\\Morvix Zip\\Zip.lnk");
    group->Free();
    EXPECT_EQ(ShellLinkList().size(), 0u) << "links go with their folder";
}

TEST_F(Links, TheProgramManagerItemLines) {
    TProgramManager& pm = ProgramManager();
    pm.Items().SetText("\"Morvix\",\"C:\\G\\MORVIX.GRP\",2,0,0\r\n\"Editor\",\"notepad.exe\",c:\\,,10,20,0,,0\r\n"
                       "\"Zip\",\"\"C:\\Zip\\Zip.exe\" /x\",c:\\zip\r\n");
    EXPECT_EQ(pm.ItemCount(), 2);
    EXPECT_EQ(pm.ItemName(1), "Editor");
    EXPECT_EQ(pm.ItemCommand(1), "notepad.exe");
    EXPECT_EQ(pm.ItemDefaultDir(1), "c:\\");
    EXPECT_EQ(pm.ItemX(1), "10");
    EXPECT_EQ(pm.ItemField(0, 1), "") << "line 0 describes the group";
    EXPECT_EQ(pm.ItemField(3, 1), "");
    EXPECT_EQ(pm.FindItem("Zip"), 2);
    EXPECT_EQ(pm.FindItem("editor"), -1) << "names are matched exactly";
    pm.Items().Clear();
    EXPECT_EQ(pm.ItemCount(), 0);
}

TEST_F(Links, ProgramManagerCommands) {
    TProgramManager& pm = ProgramManager();
    pm.AddItem("cmd", "name", "", 0, "dir", "");
    EXPECT_TRUE(sys().ddeExecuted.empty()) << "no group selected, nothing sent";
    EXPECT_EQ(sys().ddeConnections, std::vector<std::string>{"PROGMAN|PROGMAN"});
    pm.CreateGroup("Morvix Tools");
    EXPECT_EQ(pm.CurrentGroup(), "Morvix Tools") << "the shell made the group although it gives no data for it";
    pm.AddItem("cmd", "name", "", 0, "dir", "");
    EXPECT_EQ(sys().ddeExecuted, (std::vector<std::string>{"[CreateGroup(\"Morvix Tools\")]", "[ShowGroup(Morvix Tools,8)]",
                                                           "[AddItem(cmd,name,,0,,,dir,)]"}));
    sys().ddeRefuse = [](const std::string& command) { return command.rfind("[AddItem", 0) == 0; };
    try {
        pm.AddItem("\"C:\\u.exe\" Morvix Zip", "Uninstall", "", 0, "\"C:\\\"", "");
        FAIL();
    } catch (const EAIPMCannotAddItem& e) {
        EXPECT_EQ(e.Message(), "The TProgramManager object was unable to add the following program item: Uninstall to "
                               "the following group: Morvix Tools. The arguments passed to  Program Manager were: "
                               "[AddItem(\"C:\\u.exe\" Morvix Zip,Uninstall,,0,,,\"C:\\\",)]");
    }
    pm.Disconnect();
    sys().ddeAnswers = false;
    EXPECT_THROW(pm.CreateGroup("x"), EAIPMCannotOpen);
}

TEST_F(Links, LinksBecomeProgramManagerItemsOnlyBelowTheProgramsMenu) {
    auto* item = Link("Item", FindSpecifier<TpsProgramMenu>());
    item->SetDestDir("\\Morvix Tools");
    item->SetObjectLink(zip);
    item->SetMethod(TMethodType::mtProgramManager);
    auto* elsewhere = Link("Elsewhere", FindSpecifier<TpsDesktopMenu>());
    elsewhere->SetObjectLink(zip);
    elsewhere->SetMethod(TMethodType::mtProgramManager);
    zip->SetProcessed(true);
    item->Process();
    elsewhere->Process();
    EXPECT_EQ(sys().ddeExecuted,
              (std::vector<std::string>{"[CreateGroup(\"Morvix Tools\")]", "[ShowGroup(Morvix Tools,8)]",
                                        "[AddItem(\"" + dir + "target\\Zip.exe\" ,Zip,,0,,,\"" + dir + "target\",)]"}));
    EXPECT_TRUE(sys().links.empty());
    // NT 3.5x knows no Start-menu folders: the automatic method asks Program Manager too.
    sys().ddeExecuted.clear();
    sys().major = 3;
    sys().minor = 51;
    item->SetMethod(TMethodType::mtAutoDetect);
    item->Process();
    EXPECT_EQ(sys().ddeExecuted.size(), 3u);
    EXPECT_EQ(Files(1), sys().windowsDir + "\\Startmen\\Programs\\Morvix Tools\\Zip.lnk") << "recorded though no file";
}

TEST_F(Links, RegistryEntriesKeysAndRecords) {
    auto* reg = fw::Make<TInstallRegistry>(def);
    reg->SetName("InstallRegistry");
    reg->SetContainer(root);
    reg->SetKey("\\Software\\Morvix Tools\\General\\");
    EXPECT_EQ(reg->FullKey(), "\\Software\\Morvix Tools\\General");
    root->Information()->CompanyName = "A";
    root->Information()->ProductName = "B";
    root->Information()->Version = "1.0";
    const std::pair<TKeySpecifier, const char*> keys[] = {{TKeySpecifier::ksCompanyName, "\\SOFTWARE\\A"},
                                                          {TKeySpecifier::ksProductName, "\\SOFTWARE\\A\\B"},
                                                          {TKeySpecifier::ksVersion, "\\SOFTWARE\\A\\B\\1.0"}};
    for (const auto& [type, key] : keys) {
        reg->SetKeySpecifierType(type);
        EXPECT_EQ(reg->FullKey(), key);
        EXPECT_EQ(reg->Key(), "");
    }
    reg->SetKeySpecifierType(TKeySpecifier::ksAbsolute);
    reg->SetKey("\\Software\\Morvix Tools\\General");
    root->Information()->ProductName = "Morvix Zip";

    auto* text = static_cast<TRegistryEntry*>(reg->Entries()->Add());
    text->SetIdent("InstallDir");
    text->SetPathSpecifier(folder->PathSpecifier());
    text->SetText("%p\\data");
    auto* number = static_cast<TRegistryEntry*>(reg->Entries()->Add());
    number->SetIdent("Count");
    number->SetIntValue(7);
    auto* flag = static_cast<TRegistryEntry*>(reg->Entries()->Add());
    flag->SetIdent("Shown");
    flag->SetBoolValue(true);
    auto* vetoed = static_cast<TRegistryEntry*>(reg->Entries()->Add());
    vetoed->SetIdent("Skipped");
    vetoed->SetText("no");
    EXPECT_EQ(number->EntryType(), TRegistryEntryType::retInteger);
    EXPECT_EQ(flag->EntryType(), TRegistryEntryType::retBoolean);
    reg->OnBeforeWriteEntry.Bind(nullptr, [](void*, fw::TObject*, TRegistryEntry* e, bool& go) { go = e->Ident() != "Skipped"; });
    reg->Process();
    reg->Process();
    const std::string key = "\\Software\\Morvix Tools\\General";
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, key, "InstallDir", ""), dir + "target\\data");
    EXPECT_EQ(ReadRegInteger(TRootKeys::hkLocalMachine, key, "Count", 0), 7);
    EXPECT_EQ(ReadRegInteger(TRootKeys::hkLocalMachine, key, "Shown", 0), 1);
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, key, "Skipped", "<none>"), "<none>");
    const std::string record = std::string(kUninstallKey) + "Morvix Zip\\RegistryKeys";
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, record, "Entries", ""), "2") << "a second install appends";
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, record + "\\RegistryKey2", "Key", ""), key);
    EXPECT_EQ(ReadRegInteger(TRootKeys::hkLocalMachine, record + "\\RegistryKey2", "Root", -1), 4);
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, record + "\\RegistryKey2\\Entries", "Skipped", "<none>"), "no")
        << "a vetoed entry is still recorded";
    folder->Free();
    EXPECT_EQ(text->PathSpecifier(), nullptr);
    EXPECT_EQ(text->EntryType(), TRegistryEntryType::retText) << "the entry keeps its type";
    SetInstallComponent(nullptr);
    EXPECT_THROW(reg->SetKeySpecifierType(TKeySpecifier::ksProductName), IEInstallRegistry);
    SetInstallComponent(root);
}

TEST_F(Links, TheUninstallProgramListsTheProduct) {
    root->Information()->ProductName = "  Morvix Zip  ";
    auto* uninstaller = AddUninstaller();
    root->Compress(46);
    root->Process();
    const std::string key = std::string(kUninstallKey) + "  Morvix Zip  ";
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, key, "DisplayName", ""), "Morvix Zip");
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, key, "UninstallString", ""),
              "\"" + dir + "target\\uninstall.exe\" Morvix Zip");
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, key + "\\Files", "Entries", ""), "1") << "only the program";
    SetInstallComponent(nullptr);
    EXPECT_THROW(uninstaller->WriteUninstallInfo(key), IEUninstallEXE);
    SetInstallComponent(root);
}

TEST_F(Links, TheLibraryFolderIsTheFirstOnTheSearchPathWithItsMarker) {
    WriteRegString(TRootKeys::hkLocalMachine, kLibraryKey, "RootDir", dir + "env\\");
    WriteRegString(TRootKeys::hkLocalMachine, kLibraryKey, "Library Path",
                   dir + "none; $(Q32V40)\\Lib\\ ;" + dir + "later");
    EXPECT_EQ(FindLibraryDirectory(false), "");
    EXPECT_THROW(FindLibraryDirectory(true), IENoQuenfordPath);
    Spit(dir + "later/Q32V40.TXT", "");
    EXPECT_EQ(FindLibraryDirectory(false), dir + "later");
    Spit(dir + "env/Lib/Q32V40.TXT", "");
    EXPECT_EQ(FindLibraryDirectory(false), dir + "env\\Lib");
}

}  // namespace
}  // namespace inst
