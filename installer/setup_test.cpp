// The install component: its command line, the modes of a start, the install run with its records, the
// reboot and the completion after it, the build with its self-extracting file, the floppy transfer on a
// short disk, and the real install definition of the setup program.
#include "installer/install.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/core/formtext.h"
#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "installer/batch_files.h"
#include "installer/container.h"
#include "installer/dialog_manager.h"
#include "installer/exceptions.h"
#include "installer/install_host.h"
#include "installer/install_record.h"
#include "installer/qnfdregistry.h"
#include "installer/shell_links.h"
#include "installer/shellfolders.h"
#include "installer/testkit/support.h"
#include "installer/uninstall.h"
#include "testing/test_env.h"

namespace inst {
namespace {

using test::Pattern;
using test::Slurp;
using test::Spit;

// The program's presence as a test scripts it: its command line, its own file and its message boxes.
class ScriptedHost : public fw::Host {
public:
    ScriptedHost() { fw::SetHost(this); }
    ~ScriptedHost() override { fw::SetHost(nullptr); }
    void PumpMessages() override {}
    int MessageBox(const std::string& text, const std::string&, uint32_t) override {
        boxes.push_back(text);
        return answer;
    }
    std::string Title() override { return "Morvix Zip Install"; }
    void SetTitle(const std::string&) override {}
    std::string CommandLine() override { return "\"" + exeName + "\" " + arguments; }
    std::string ExeName() override { return exeName; }

    std::string exeName, arguments;
    std::vector<std::string> boxes;
    int answer = 1;
};

std::string Specifiers() {
    std::string text;
    for (const char* s : {"psBDEDLL", "psCommonFiles", "psContainerArchiveFile", "psContainerDestDir", "psDesktopMenu",
                          "psInstallSource", "psMainInstall", "psProgramFiles", "psProgramMenu", "psStartMenu",
                          "psStartupMenu", "psSystem", "psMainArchiveFile", "psWindow"})
        text += std::string("  object ") + s + ": T" + s + "\n  end\n";
    return text;
}

std::string InstallFile(const std::string& component, const std::string& name, int id, const std::string& from,
                        const std::string& extra = "") {
    return "  object " + component + ": TInstallFile\n    Container = Directory\n"
           "    ArchiveFileType = psContainerArchiveFile\n    DestDirType = psContainerDestDir\n"
           "    FileName = '" + name + "'\n    DestName = '" + name + "'\n    IncludeFromDir = '" + from + "'\n" +
           extra + "    UniqueID = " + std::to_string(id) + "\n  end\n";
}

class Setup : public test::InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        saved_ = fw::GetCurrentDir();
        fw::SetCurrentDir(dir);
        DefaultNativeInstallHost() = NativeInstallHost();
        SetInstallHost(nullptr);
        SharedArchive().SetAbort(false);
        SharedArchive().SetOffset(0);
        files_ = SharedArchive().StreamFactory;
        host.exeName = dir + "setup/MxInstall.exe";
        Spit(host.exeName, Pattern(30000, 9, false));
        WriteRegString(TRootKeys::hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", dir + "pf");
        WriteRegString(TRootKeys::hkLocalMachine, kLibraryKey, "Library Path", dir + "nowhere;" + dir + "lib");
        Spit(dir + "lib/Q32V40.TXT", "");
        Spit(dir + "lib/QuenfordLoadProgram.exe", Pattern(40000, 1, false));
        Spit(dir + "src/Readme.txt", "Read me\r\n");
        Spit(dir + "src/Zip.exe", Pattern(60000, 2, false));
    }
    void TearDown() override {
        Unload();
        SharedArchive().StreamFactory = files_;
        SharedArchive().SetOffset(0);
        fw::SetCurrentDir(saved_);
        InstallerTest::TearDown();
    }

    // The definition: two files to run after the install, a desktop link and a registry entry.
    std::string Definition(const std::string& installExtra) {
        return "object Def: TInstallDefinition\n" + Specifiers() +
               "  object Install1: TInstall\n    DestDir = '\\Morvix Tools\\Zip'\n    DestDirType = psProgramFiles\n"
               "    HideMainForm = True\n    Information.ProductName = 'Morvix Zip'\n" + installExtra + "  end\n" +
               "  object Directory: TInstallDirectory\n    Container = Install1\n    Description = 'Program files'\n"
               "    DestDirType = psContainerDestDir\n    ArchiveFileType = psContainerArchiveFile\n  end\n"
               "  object psFileContainer: TpsFileContainer\n    FileContainer = Directory\n  end\n" +
               InstallFile("Readme", "Readme.txt", 1, "src", "    RunAfterInstall = True\n") +
               InstallFile("Zip", "Zip.exe", 2, "src", "    RunAfterInstall = True\n") +
               "  object psObjectLink: TpsObjectLink\n  end\n"
               "  object DesktopLink: TInstallShellLink\n    Container = Install1\n    DestDirType = psDesktopMenu\n"
               "    LinkName = 'Morvix Zip.LNK'\n    ObjectLink = Zip\n    ObjectLocationType = psObjectLink\n  end\n"
               "  object InstallRegistry: TInstallRegistry\n    Container = Install1\n"
               "    Key = '\\Software\\Morvix Tools\\General'\n"
               "    Entries = <\n      item\n        Ident = 'InstallDir'\n        Text = '%p'\n"
               "        PathSpecifier = psFileContainer\n      end>\n  end\n"
               "end\n";
    }

    // Loads the definition as the program started with `arguments`; null when the load failed.
    TCustomInstall* Load(const std::string& arguments, const std::string& installExtra = "") {
        Unload();
        // A new start of the program: the definition's ids are its own.
        ResetUniqueIds();
        host.arguments = arguments;
        def = fw::Make<TInstallDefinition>(nullptr);
        app().mainForm = def;
        try {
            fw::ReadComponentText(def, Definition(installExtra), "Def");
        } catch (...) {
            def = nullptr;
            throw;
        }
        return install();
    }
    void Unload() {
        if (def) def->Free();
        def = nullptr;
        DefaultNativeInstallHost() = NativeInstallHost();
    }
    TCustomInstall* install() { return dynamic_cast<TCustomInstall*>(def->FindComponent("Install1")); }
    NativeInstallHost& app() { return DefaultNativeInstallHost(); }
    // The first activation, with what escapes handed to the application's handler as its loop would.
    void Activate() {
        try {
            app().Activate();
        } catch (fw::Exception& e) {
            ASSERT_TRUE(app().exceptionRoute);
            app().exceptionRoute(e);
        }
    }
    // Builds into out\ as "MxInstall -b" does, with BUILD.INF beside the program.
    void BuildWithBuildInf() {
        Spit(dir + "setup/BUILD.INF", dir + "out\r\n");
        Load("-b");
        ASSERT_TRUE(app().Terminated());
        ASSERT_TRUE(fw::FileExists(dir + "out/setup.exe")) << (host.boxes.empty() ? "" : host.boxes[0]);
        Unload();
    }
    std::string Reg(const std::string& key, const std::string& name) {
        return ReadRegString(TRootKeys::hkLocalMachine, key, name, "<none>");
    }
    std::string Target(const std::string& name) { return dir + "pf\\Morvix Tools\\Zip\\" + name; }

    ScriptedHost host;
    TInstallDefinition* def = nullptr;

private:
    std::string saved_;
    decltype(TQnfdCompress::StreamFactory) files_;
};

TEST_F(Setup, TheCommandLineTable) {
    struct Case {
        std::vector<std::string> args;
        uint8_t flags;
        int slot;
        const char* value;
        const char* refused;  // the argument named in the message
    };
    const Case cases[] = {
        {{"-sC:\\TEMP\\"}, 1 << kSwitchSource, kSwitchSource, "C:\\TEMP\\", nullptr},
        {{"-sC:\\TEMP"}, 1 << kSwitchSource, kSwitchSource, "C:\\TEMP", nullptr},
        {{"-eSetup.exe"}, 1 << kSwitchSelfExtract, kSwitchSelfExtract, "Setup.exe", nullptr},
        {{"-S C:\\x"}, 1 << kSwitchSource, kSwitchSource, " C:\\x", nullptr},
        {{"*sD:\\dist", "-sE:\\last"}, 1 << kSwitchSource, kSwitchSource, "E:\\last", nullptr},
        {{"*TODISK"}, 0, kSwitchSource, "", nullptr},
        {{"-b", "-C", "-r", "-f", "-d"},
         1 << kSwitchBuild | 1 << kSwitchCarry | 1 << kSwitchAfterReboot | 1 << kSwitchFloppy | 1 << kSwitchDebug,
         kSwitchBuild, "", nullptr},
        {{"-x"}, 0, 0, "", "-x"},
        {{"x"}, 0, 0, "", "x"},
        {{"-"}, 0, 0, "", "-"},
        {{"-s", "sC:\\"}, 0, 0, "", "sC:\\"},
    };
    for (const Case& c : cases) {
        if (c.refused) {
            try {
                ParseCommandLine(c.args);
                ADD_FAILURE() << c.refused << " was accepted";
            } catch (const IException& e) {
                EXPECT_EQ(e.Message(), std::string("Invalid parameter <") + c.refused +
                                           ">. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer "
                                           "to floppies), -e (Called by self-extractor), -r (After reboot)");
            }
            continue;
        }
        const CommandLineSwitches s = ParseCommandLine(c.args);
        EXPECT_EQ(s.flags, c.flags) << c.args[0];
        EXPECT_EQ(s.Value(c.slot), c.value) << c.args[0];
    }
}

TEST_F(Setup, ABadStartStopsBeforeAnythingRuns) {
    for (const char* args : {"-x", "-d", "-d \"-s   \""}) {
        Load(args);
        ASSERT_EQ(app().calls.size(), 2u) << args;
        EXPECT_EQ(app().calls[0].rfind(std::string("show ") + (args[1] == 'x' ? "Invalid parameter <-x>" : "You forgot"), 0),
                  0u)
            << app().calls[0];
        EXPECT_EQ(app().calls[1], "terminate");
        EXPECT_FALSE(app().formActivate) << "the form was not hooked";
    }
    Load("-d \"-s" + dir + "out\"");
    EXPECT_EQ(install()->SourceDir(), dir + "out");
    EXPECT_TRUE(app().formActivate) << "a debug start with a source runs";
}

TEST_F(Setup, TheStartChoosesTheInstallTypeAndPlacesTheForm) {
    Load("", "    InstallTypes = [itFull, itCompact]\n");
    EXPECT_EQ(install()->SelectedInstallType(), 2);
    EXPECT_EQ(app().calls, std::vector<std::string>{"offscreen"}) << "HideMainForm moves the form off the screen";
    EXPECT_EQ(install()->SourceDir(), dir + "setup") << "without -s, the program's own folder";
    Load("");
    EXPECT_EQ(install()->SelectedInstallType(), 0);
    install()->SetHideMainForm(true);
    install()->SetAutoMaximizeWindow(true);
    EXPECT_FALSE(install()->HideMainForm());
    install()->SetPasswordTries(0);
    EXPECT_EQ(install()->PasswordTries(), 1);
    install()->SetPasswordTries(-5);
    EXPECT_EQ(install()->PasswordTries(), 1);
    EXPECT_THROW(install()->SetDistributeType(TDistributeType::dtWeb), IEInstall) << "only while the form loads";
}

TEST_F(Setup, AGoodRunInstallsRecordsEndsAndStartsTheFilesMarkedToRun) {
    BuildWithBuildInf();
    TCustomInstall* setup = Load("\"-s" + dir + "out\" -esetup.exe");
    Activate();
    EXPECT_FALSE(setup->Aborted());
    EXPECT_EQ(Slurp(Target("Zip.exe")), Slurp(dir + "src/Zip.exe")) << "read from inside the self-extracting file";
    EXPECT_EQ(Slurp(Target("Readme.txt")), "Read me\r\n");
    // Programs start themselves (quoted); documents open in their program.
    EXPECT_EQ(sys().started, std::vector<std::string>{"\"" + Target("Zip.exe") + "\""});
    EXPECT_EQ(sys().opened, std::vector<std::string>{"open " + Target("Readme.txt")});
    EXPECT_EQ(app().calls.back(), "terminate");
    EXPECT_EQ(InstallRecordKey(), "") << "the record is removed after a good run";
    ASSERT_EQ(sys().links.size(), 1u);
    EXPECT_EQ(sys().links[0].target, Target("Zip.exe"));
    EXPECT_EQ(sys().links[0].workingDirectory, dir + "pf\\Morvix Tools\\Zip");
    EXPECT_EQ(sys().links[0].linkPath, sys().windowsDir + "\\Desktop\\Morvix Zip.LNK");
    EXPECT_EQ(Reg("\\Software\\Morvix Tools\\General", "InstallDir"), dir + "pf\\Morvix Tools\\Zip");
    const std::string uninstall = std::string(kUninstallKey) + "Morvix Zip";
    EXPECT_EQ(Reg(uninstall + "\\Files", "File1"), Target("Zip.exe"));
    EXPECT_EQ(Reg(uninstall + "\\Files", "File2"), Target("Readme.txt"));
    EXPECT_EQ(Reg(uninstall + "\\Files", "File3"), sys().windowsDir + "\\Desktop\\Morvix Zip.LNK") << "links after files";
    EXPECT_EQ(Reg(uninstall + "\\RegistryKeys\\RegistryKey1", "Key"), "\\Software\\Morvix Tools\\General");
    EXPECT_TRUE(sys().restarts.empty());
    const size_t started = sys().started.size();
    app().Activate();
    EXPECT_EQ(sys().started.size(), started) << "a second activation starts no second run";
}

TEST_F(Setup, AFileInUseRegistersTheStartAfterTheReboot) {
    BuildWithBuildInf();
    Spit(Target("Zip.exe"), "the running program");
    test::StagedFileSystem fs;
    fs.undeletable.insert(Target("Zip.exe"));
    Load("\"-s" + dir + "out\" -esetup.exe -c");
    Activate();
    EXPECT_TRUE(install()->Reboot());
    EXPECT_EQ(Reg(kRunOnceKey, "QuenfordUnfinished"),
              "\"" + host.exeName + "\" -r \"-esetup.exe\" \"-s" + dir + "out\" -c");
    ASSERT_NE(InstallRecordKey(), "");
    EXPECT_EQ(Reg(InstallRecordKey() + "\\Unfinished", "Zip"), "0");
    EXPECT_EQ(sys().restarts, std::vector<std::string>{"privilege"}) << "NT: with the shutdown privilege";
    EXPECT_TRUE(sys().started.empty()) << "nothing is started before the reboot";
    EXPECT_FALSE(install()->RunCleanupBatch()) << "the loader's files stay for the start after the reboot";
    EXPECT_EQ(app().calls.back(), "terminate");

    // A second run before the reboot registers a second start; a refused restart is reported.
    sys().restartFails = true;
    Load("\"-s" + dir + "out\" -esetup.exe -c");
    Activate();
    EXPECT_NE(Reg(kRunOnceKey, "QuenfordUnfinished1"), "<none>");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], "Could not reboot windows. Please manually reboot windows.");
}

TEST_F(Setup, TheCompletionRunsThePendingBatchBeforeAnythingStarts) {
    BuildWithBuildInf();
    SetSetupProgramPath(host.exeName);
    const std::string record = ReadInstallRecord(true);
    SetSetupProgramPath("");
    const std::string batch = dir + "waiting.bat", done = dir + "done.bat";
    Spit(batch, "@echo off\r\n");
    Spit(done, "@echo off\r\n");
    WriteRegString(TRootKeys::hkLocalMachine, record + "\\Unfinished", "Zip", "0");
    WriteRegString(TRootKeys::hkLocalMachine, record + "\\Unfinished", batch, "1");
    WriteRegString(TRootKeys::hkLocalMachine, record + "\\Unfinished", done, "1");
    WriteRegString(TRootKeys::hkLocalMachine, kRunOnceKey, "QuenfordBatFile", "\"" + batch + "\"");
    sys().onRun = [&](const std::string&) {
        EXPECT_TRUE(sys().started.empty()) << "the batch runs before the programs start";
        fw::DeleteFile(batch);
    };
    Load("-r \"-s" + dir + "out\" -esetup.exe");
    EXPECT_EQ(sys().waitedFor, std::vector<std::string>{"\"" + batch + "\""});
    EXPECT_EQ(Reg(kRunOnceKey, "QuenfordBatFile"), "<none>") << "the system does not look for it again";
    EXPECT_FALSE(fw::FileExists(done)) << "a batch that ran already is deleted";
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    EXPECT_FALSE(reg.KeyExists(record)) << "the record is removed";
    EXPECT_EQ(sys().started.size(), 1u) << "then the programs start";
    EXPECT_EQ(app().calls.back(), "terminate");
}

TEST_F(Setup, AnUnreadableEntryStopsTheCompletion) {
    SetSetupProgramPath(host.exeName);
    const std::string record = ReadInstallRecord(true);
    SetSetupProgramPath("");
    WriteRegString(TRootKeys::hkLocalMachine, record + "\\Unfinished", "x", "abc");
    Load("-r");
    ASSERT_FALSE(app().calls.empty());
    EXPECT_EQ(app().calls[0], "show There is an invalid entry for the unfinished install list x;abc");
    EXPECT_TRUE(install()->Aborted());
}

TEST_F(Setup, TheCleanUpQuotesEveryPathAndRemovesOnlyATemporaryFolder) {
    const std::vector<std::string> inside =
        CleanupBatchLines("C:\\Temp\\mxl1\\MxInstall.exe", "C:\\Temp\\mxl1", "C:\\Temp\\bat1.bat", "C:\\Temp\\");
    const std::vector<std::string> expected = {
        "@echo off",
        "set tries=0",
        ":wait",
        "del /f /q \"C:\\Temp\\mxl1\\MxInstall.exe\" >nul 2>&1",
        "if not exist \"C:\\Temp\\mxl1\\MxInstall.exe\" goto gone",
        "set /a tries=tries+1",
        "if %tries% geq 60 goto gone",
        "ping -n 2 127.0.0.1 >nul 2>&1",
        "goto wait",
        ":gone",
        "rmdir /s /q \"C:\\Temp\\mxl1\" >nul 2>&1",
        "del /f /q \"C:\\Temp\\bat1.PIF\" >nul 2>&1",
        "del \"%~f0\"",
    };
    EXPECT_EQ(inside, expected);
    for (const char* folder : {"C:\\Program Files\\Setup", "C:\\Temp", "C:\\TempX\\a", "D:\\Temp\\a"}) {
        const std::vector<std::string> lines =
            CleanupBatchLines(std::string(folder) + "\\MxInstall.exe", folder, "C:\\Temp\\bat1.bat", "C:\\temp");
        EXPECT_EQ(lines.size(), expected.size() - 1) << folder << " is not removed";
    }
    EXPECT_TRUE(IsInsideFolder("c:\\TEMP\\a\\", "C:\\Temp"));
    EXPECT_EQ(ReplaceBatchLines("C:\\P F\\Zip.exe", "C:\\P F\\Zip.1"),
              (std::vector<std::string>{"@echo off", "del /f /q \"C:\\P F\\Zip.exe\"",
                                        "move /y \"C:\\P F\\Zip.1\" \"C:\\P F\\Zip.exe\"", "del \"%~f0\""}));
}

TEST_F(Setup, ACarriedStartCleansUpAfterAGoodRun) {
    BuildWithBuildInf();
    const std::string temp = dir + "tmp";
    fw::ForceDirectories(temp);
    const char* saved = std::getenv("TMPDIR");
    const std::string savedValue = saved ? saved : "";
    setenv("TMPDIR", temp.c_str(), 1);
    host.exeName = temp + "/mxl1/MxInstall.exe";
    Spit(host.exeName, Pattern(30000, 9, false));
    Load("\"-s" + dir + "out\" -esetup.exe -c", "    PresetupFiles = ('helper.dll')\n");
    Spit(temp + "/mxl1/helper.dll", "helper");
    Activate();
    if (saved)
        setenv("TMPDIR", savedValue.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_FALSE(fw::FileExists(temp + "/mxl1/helper.dll")) << "pre-setup files go at once";
    ASSERT_TRUE(install()->RunCleanupBatch());
    const std::string batch = Slurp(install()->CleanupBatchFile());
    EXPECT_NE(batch.find("rmdir /s /q \"" + temp + "/mxl1\""), std::string::npos) << batch;
    EXPECT_NE(batch.find("del \"%~f0\""), std::string::npos);
    const std::string command = "\"" + install()->CleanupBatchFile() + "\"";
    Unload();
    EXPECT_EQ(sys().started.back(), command) << "the batch starts, hidden, when the component goes";
}

TEST_F(Setup, TheExtractionRecordHoldsThePositionsOfBothArchives) {
    Load("");
    Spit(dir + "b/setup.exe", Pattern(40000, 3, false));
    Spit(dir + "b/setup.1", Pattern(100000, 4, false));
    Spit(dir + "b/files.1", Pattern(500000, 5, false));
    install()->BuildSelfExtractingFile(dir + "b/setup.exe", dir + "b/setup.1", dir + "b/files.1");
    ExtractionRecord r = TCustomInstall::ReadExtractionInfo(dir + "b/setup.exe");
    EXPECT_EQ(r.setupStart, 40000);
    EXPECT_EQ(r.setupEnd, 139999);
    EXPECT_EQ(r.filesStart, 140000);
    EXPECT_EQ(r.filesEnd, 639999);
    Spit(dir + "c/setup.exe", Pattern(40000, 3, false));
    install()->BuildSelfExtractingFile(dir + "c/setup.exe", dir + "b/setup.1", dir + "c/files.1");
    r = TCustomInstall::ReadExtractionInfo(dir + "c/setup.exe");
    EXPECT_EQ(r.filesStart, 0);
    EXPECT_EQ(r.filesEnd, 0);
    std::string out;
    EXPECT_EQ(test::Python(test::TestData() + "/setup_check.py record " + dir + "b/setup.exe " + dir +
                               "lib/QuenfordLoadProgram.exe " + dir + "b/setup.1 " + dir + "b/files.1",
                           &out),
              1)
        << "the check reads the loader's bytes too: " << out;
    Spit(dir + "b/loader.exe", Pattern(40000, 3, false));
    EXPECT_EQ(test::Python(test::TestData() + "/setup_check.py record " + dir + "b/setup.exe " + dir + "b/loader.exe " +
                               dir + "b/setup.1 " + dir + "b/files.1",
                           &out),
              0)
        << out;
    EXPECT_THROW(TCustomInstall::ReadExtractionInfo(dir + "b/setup.1"), IEInstall) << "no record there";
}

TEST_F(Setup, BuildModeWritesTheArchivesTheLoaderAndTheSelfExtractingFile) {
    BuildWithBuildInf();
    std::string out;
    ASSERT_EQ(test::Python(test::TestData() + "/setup_check.py record " + dir + "out/setup.exe " + dir +
                               "lib/QuenfordLoadProgram.exe " + dir + "out/setup.1 " + dir + "out/files.1",
                           &out),
              0)
        << out;
    ASSERT_EQ(test::Python(test::TestData() + "/container_reader.py " + dir + "out/files.1 " + dir + "py", &out), 0)
        << out;
    EXPECT_EQ(Slurp(dir + "py/Zip.exe"), Slurp(dir + "src/Zip.exe"));
    ASSERT_EQ(test::Python(test::TestData() + "/container_reader.py " + dir + "out/setup.1 " + dir + "py1", &out), 0)
        << out;
    EXPECT_EQ(Slurp(dir + "py1/MxInstall.exe"), Slurp(host.exeName)) << "setup.1 holds the setup program";

    fw::DeleteFile(dir + "setup/BUILD.INF");
    Load("-b");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0],
              "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
    Spit(dir + "setup/BUILD.INF", "");
    Load("-b");
    EXPECT_EQ(host.boxes.back(), "Must be 1 line in BUILD.INF. This line should specify the build directory");
    Spit(dir + "setup/BUILD.INF", dir + "out\r\n");
    WriteRegString(TRootKeys::hkLocalMachine, kLibraryKey, "Library Path", dir + "nowhere");
    Load("-b");
    EXPECT_EQ(host.boxes.back(),
              "The HKEY_LOCAL_MACHINE | \\Software\\Vantrell\\Q32V40 key in the registry is either missing or points to "
              "an invalid Quenford directory");
    EXPECT_TRUE(app().Terminated()) << "every build ends the program";
}

TEST_F(Setup, FloppiesContinueOnTheNextDiskWhenOneIsFull) {
    BuildWithBuildInf();
    SharedArchive().StreamFactory = [](const std::string& path, uint32_t mode) -> std::unique_ptr<fw::TStream> {
        const bool firstDisk = mode == fw::fmCreate && path.find("a:") != std::string::npos &&
                               path.find("files.1") != std::string::npos;
        return std::make_unique<test::StagedStream>(path, mode, firstDisk ? 20000 : -1, false);
    };
    fw::ForceDirectories(dir + "a:");
    Load("-f \"-s" + dir + "out\" -esetup.exe");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], "Please insert disk 2");
    EXPECT_TRUE(app().Terminated());
    EXPECT_EQ(Slurp(dir + "a:/setup.1"), Slurp(dir + "out/setup.1"));
    EXPECT_EQ(Slurp(dir + "a:/setup.exe"), Slurp(dir + "lib/QuenfordLoadProgram.exe"));
    EXPECT_TRUE(fw::FileExists(dir + "a:/files.2"));
    std::string out;
    ASSERT_EQ(test::Python(test::TestData() + "/container_reader.py " + dir + "a:/files.1 " + dir + "py", &out), 0)
        << out;
    EXPECT_EQ(Slurp(dir + "py/Zip.exe"), Slurp(dir + "src/Zip.exe")) << "an entry across both disks";

    host.answer = 2;
    Load("-f \"-s" + dir + "out\" -esetup.exe");
    EXPECT_EQ(host.boxes.back(), "Aborted by user") << "Cancel ends the transfer with a message";
    Load("-f \"-s" + dir + "out\"");
    EXPECT_NE(host.boxes.back().find("only transfer this installation to floppies through the self-extracting file"),
              std::string::npos);
}

// The setup program's own definition, read natively: the children of the install component in the order
// they are processed.
TEST_F(Setup, TheRealDefinitionOrdersItsTree) {
    std::ifstream in(mx::test::SourceDir() + "/installer/setup/mxinstall.form");
    std::stringstream text;
    text << in.rdbuf();
    // The form's own properties need the Windows layer: only its components are read here.
    std::istringstream lines(text.str());
    std::string line, definition = "object Form1: TInstallDefinition\n";
    bool inRoot = false;
    while (std::getline(lines, line)) {
        if (line.rfind("object Form1:", 0) == 0) {
            inRoot = true;
            continue;
        }
        if (inRoot && line.rfind("  object ", 0) == 0) inRoot = false;
        if (!inRoot) definition += line + "\n";
    }
    const size_t specifiers = StandardPathSpecList().size();
    def = fw::Make<TInstallDefinition>(nullptr);
    app().mainForm = def;
    fw::ReadComponentText(def, definition, "Form1");
    EXPECT_EQ(StandardPathSpecList().size(), specifiers + 15) << "the 14 standard ones and psObjectLink, none twice";
    auto names = [&](const std::string& name) {
        std::string s;
        for (TInstallContainer* c : dynamic_cast<TInstallContainer*>(def->FindComponent(name))->Children())
            s += (s.empty() ? "" : ",") + c->Name();
        return s;
    };
    EXPECT_EQ(names("Install1"), "Group2,Group1,Group,idMiscellaneous,MainFolder,InstallShellLink1,InstallShellLink,"
                                 "InstallRegistry,DialogManager5,DialogManager4,DialogManager3,DialogManager2,"
                                 "DialogManager1,DialogManager");
    const TManagerType types[] = {TManagerType::dmBeforeInstall, TManagerType::dmAfterGoodInstall,
                                  TManagerType::dmAfterBadInstall, TManagerType::dmDuringCopyFiles,
                                  TManagerType::dmChangeDisk, TManagerType::dmReboot};
    for (int i = 0; i < 6; ++i) {
        const std::string name = "DialogManager" + (i ? std::to_string(i) : std::string());
        EXPECT_EQ(FindDialogManager(types[i]), def->FindComponent(name)) << name;
    }
    EXPECT_EQ(names("Directory"), "InstallFile10,InstallFile91,InstallFile81,InstallFile71,InstallFile7,InstallFile9,"
                                  "InstallFile4,InstallFile3");
    EXPECT_EQ(names("Directory2"), "InstallFile8");
    EXPECT_EQ(names("MainFolder"), "InstallMainLink1,InstallMainLink");
    for (int i = 0; i < 7; ++i) {
        const std::string spec = "psFileContainer" + (i ? std::to_string(i) : std::string());
        auto* s = dynamic_cast<TpsFileContainer*>(def->FindComponent(spec));
        ASSERT_NE(s, nullptr) << spec;
        EXPECT_EQ(s->FileContainer()->PathSpecifier(), s) << spec << " replaced the one its container made";
    }
    EXPECT_EQ(def->FindComponent("nameClash"), nullptr) << "the made specifiers were freed";
    auto* install = dynamic_cast<TCustomInstall*>(def->FindComponent("Install1"));
    EXPECT_TRUE(install->UseLoadingProgram());
    EXPECT_EQ(install->NetLocation(), def->FindComponent("NetLocation")) << "the forward reference";
    EXPECT_EQ(install->GetDestPath(), dir + "pf\\Morvix Tools\\Zip");
    auto* link = dynamic_cast<TCustomInstallShellLink*>(def->FindComponent("InstallMainLink1"));
    EXPECT_EQ(link->LinkName(), "Morvix Zip Self Extracting (.LNK");
    EXPECT_EQ(link->GetTargetPath(), dir + "pf\\Morvix Tools\\Zip\\MorvixSFX.exe");
    auto* unrar = dynamic_cast<TInstallFile*>(def->FindComponent("InstallFile9"));
    EXPECT_EQ(unrar->DestPath(), dir + "pf\\Morvix Tools\\Zip\\UNRAR.dll") << "beside the program that loads it";
}

}  // namespace
}  // namespace inst
