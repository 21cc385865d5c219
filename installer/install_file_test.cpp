// Install files: the property rules, unique ids, the file-list record, and installs from an archive the
// tree built, with files in use, failing extractions and the records they leave.
#include "installer/install_file.h"

#include <gtest/gtest.h>

#include "framework/core/memregistry.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_record.h"
#include "installer/install_root.h"
#include "installer/qnfdregistry.h"
#include "installer/testkit/support.h"

namespace inst {
namespace {

using test::InstallerTest;
using test::Pattern;
using test::Slurp;
using test::Spit;

class InstallFiles : public test::DefinitionTest {
protected:
    void SetUp() override {
        DefinitionTest::SetUp();
        folder = fw::Make<TInstallDirectory>(def);
        folder->SetName("Programs");
        folder->SetContainer(root);
        folder->SetDestDir("\\Bin");
    }
    TInstallFile* AddFile(const std::string& name, const std::string& bytes) {
        return DefinitionTest::AddFile(folder, name, bytes);
    }
    // Builds files.1 the way the build does, then reads it back as an install would.
    void Build() {
        root->Compress(46);
        ASSERT_TRUE(fw::FileExists(dir + "build/files.1"));
    }
    std::string Target(const std::string& name) { return dir + "target\\Bin\\" + name; }
    std::string Reg(const std::string& key, const std::string& name) {
        return ReadRegString(TRootKeys::hkLocalMachine, key, name, "<none>");
    }
    TInstallDirectory* folder = nullptr;
};

TEST_F(InstallFiles, PropertyRules) {
    struct Case {
        const char* why;
        const char* file;
        bool activeX, help;
        TInstallFileType type;
    };
    const Case cases[] = {
        {"a control self-registers", "x.ocx", true, false, TInstallFileType::iftSystemWideDLL},
        {"a help file registers", "x.HLP", false, true, TInstallFileType::iftNormal},
        {"a help contents file", "x.cnt", false, true, TInstallFileType::iftNormal},
        {"plain", "x.txt", false, false, TInstallFileType::iftNormal},
    };
    for (const Case& c : cases) {
        auto* f = fw::Make<TInstallFile>(def);
        f->SetFileName(c.file);
        EXPECT_EQ(f->ActiveX(), c.activeX) << c.why;
        EXPECT_EQ(f->RegisterAsHelp(), c.help) << c.why;
        EXPECT_EQ(f->FileType(), c.type) << c.why;
        EXPECT_EQ(f->DestName(), c.file) << "a new file name is the destination name";
        f->Free();
    }
    auto* dll = fw::Make<TInstallFile>(def);
    dll->SetFileName("shared.dll");
    dll->SetFileType(TInstallFileType::iftSystemWideDLL);
    EXPECT_TRUE(dll->UpdateDLLCounter());
    EXPECT_EQ(dll->OverwriteMode(), TOverwriteType::owVersionDate);
    EXPECT_EQ(dll->DestDirType(), FindSpecifier<TpsSystem>());
    EXPECT_EQ(dll->DestDir(), "");
    dll->SetFileType(TInstallFileType::iftVendorSharedDLL);
    EXPECT_EQ(dll->DestDirType(), FindSpecifier<TpsCommonFiles>());
    EXPECT_EQ(dll->DestDir(), "\\System");
    auto* win = fw::Make<TInstallFile>(def);
    win->SetFileName("w.dll");
    win->SetDestDirType(FindSpecifier<TpsWindow>());
    EXPECT_EQ(win->OverwriteMode(), TOverwriteType::owVersionDate);
    // Containers: only file containers, and one source path per container.
    AddFile("a.txt", "a");
    try {
        AddFile("a.txt", "again");
        FAIL();
    } catch (const IEfcDuplicateFile& e) {
        EXPECT_EQ(e.Message(), "There is already a file with the name :src\\a.txt");
    }
    auto* other = fw::Make<TInstallFile>(def);
    EXPECT_THROW(win->SetContainer(other), IECustomInstallFile);
    win->SetContainer(folder);
    EXPECT_EQ(win->DestDirType(), FindSpecifier<TpsContainerDestDir>());
    EXPECT_EQ(win->ArchiveFileType(), FindSpecifier<TpsContainerArchiveFile>());
}

TEST_F(InstallFiles, UniqueIdsAreTakenLowestFirstAndGivenBack) {
    std::vector<TInstallFile*> files;
    for (int i = 0; i < 3; ++i) files.push_back(fw::Make<TInstallFile>(def));
    EXPECT_EQ(files[2]->UniqueID(), 2);
    files[1]->Free();
    EXPECT_EQ(fw::Make<TInstallFile>(def)->UniqueID(), 1);
    for (int i = 3; i < TCustomInstallFile::kMaxIds; ++i) TakeUniqueId();
    const int before = def->ComponentCount();
    try {
        fw::Make<TInstallFile>(def);
        FAIL();
    } catch (const IECustomInstallFile& e) {
        EXPECT_EQ(e.Message(), "All 2000 unique file ids are in use, so no further install file can be created");
    }
    EXPECT_EQ(def->ComponentCount(), before) << "the refused file is gone again";
}

TEST_F(InstallFiles, TheFileListRecordRefusesWhatItCannotHold) {
    FileListRecord r;
    r.uncompressedSize = 12345;
    r.fileDate = 36000.5;
    r.name = "InstallFile7";
    r.version = "1.2.3.4";
    uint8_t bytes[FileListRecord::kSize];
    r.Encode(bytes);
    FileListRecord back;
    back.Decode(bytes);
    EXPECT_EQ(back.uncompressedSize, 12345);
    EXPECT_EQ(back.fileDate, 36000.5);
    EXPECT_EQ(back.name, "InstallFile7");
    EXPECT_EQ(back.version, "1.2.3.4");
    r.name = std::string(39, 'n');
    EXPECT_NO_THROW(r.Encode(bytes));
    r.name = std::string(40, 'n');
    EXPECT_THROW(r.Encode(bytes), IECustomInstallFile);
    r.name = "x";
    r.version = std::string(20, '1');
    EXPECT_THROW(r.Encode(bytes), IECustomInstallFile);
}

TEST_F(InstallFiles, AContainerBuildsAndInstallsByteEqual) {
    const std::string a = Pattern(70000, 1, true), b = Pattern(150000, 2, false), c = "";
    AddFile("a.txt", a);
    AddFile("b.bin", b);
    AddFile("c.txt", c);
    Build();
    std::string listing;
    ASSERT_EQ(test::Python(test::TestData() + "/container_reader.py " + dir + "build/files.1 " + dir + "py", &listing), 0)
        << listing;
    EXPECT_EQ(Slurp(dir + "py/b.bin"), b);
    root->Process();
    EXPECT_EQ(Slurp(Target("a.txt")), a);
    EXPECT_EQ(Slurp(Target("b.bin")), b);
    EXPECT_TRUE(fw::FileExists(Target("c.txt")));
    EXPECT_EQ(fw::FileAge(Target("b.bin")), fw::FileAge(dir + "src/b.bin"));
    const std::string files = std::string(kUninstallKey) + "Morvix Zip\\Files";
    EXPECT_EQ(Reg(files, "Entries"), "3");
    EXPECT_EQ(Reg(files, "File1"), Target("c.txt")) << "children newest first";
    EXPECT_EQ(Reg(files, "File3"), Target("a.txt"));
    const std::string order = Slurp(sys().windowsDir + "/QnfdInstallOrder.txt");
    EXPECT_NE(order.find("FILECONTAINER: TInstall component"), std::string::npos);
    EXPECT_NE(order.find("CompName: a_txt, File: a.txt"), std::string::npos);
    EXPECT_NE(Slurp(sys().windowsDir + "/QnfdCompressOrder.txt").find("CompName: b_bin, File: b.bin"),
              std::string::npos);
}

TEST_F(InstallFiles, AFileInUseIsReplacedAtTheNextStartUnderItsOwnName) {
    const std::string fresh = Pattern(50000, 3, false);
    auto* exe = AddFile("Zip.exe", fresh);
    exe->SetRegisterAsHelp(true);
    exe->SetUpdateDLLCounter(true);
    Build();
    Spit(Target("Zip.exe"), "old running program");
    SetInstallRecordKey(std::string(kInstallRecordsKey) + "\\Install0");
    test::StagedFileSystem fs;
    fs.undeletable.insert(Target("Zip.exe"));
    root->Process();
    EXPECT_TRUE(exe->InUse());
    EXPECT_EQ(Slurp(Target("Zip.exe")), "old running program");
    EXPECT_EQ(Slurp(Target("Zip.1")), fresh) << "the new file waits beside the old one";
    EXPECT_EQ(exe->DestName(), "Zip.exe") << "the destination name stays the real one";
    ASSERT_EQ(sys().delayedMoves.size(), 1u);
    EXPECT_EQ(sys().delayedMoves[0].first, Target("Zip.1"));
    EXPECT_EQ(sys().delayedMoves[0].second, Target("Zip.exe"));
    EXPECT_TRUE(root->Reboot());
    EXPECT_EQ(Reg(InstallRecordKey() + "\\Unfinished", exe->Name()), "0");
    EXPECT_EQ(Reg("\\SOFTWARE\\Microsoft\\Windows\\Help", "ZIP.EXE"), dir + "target\\Bin");
    EXPECT_EQ(ReadRegInteger(TRootKeys::hkLocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                             Target("Zip.exe"), 0),
              1);
    EXPECT_EQ(Reg(std::string(kUninstallKey) + "Morvix Zip\\Files", "File1"), Target("Zip.exe"));
}

TEST_F(InstallFiles, TheWindows95RoadWritesWininit) {
    AddFile("Zip.exe", "new");
    Build();
    Spit(Target("Zip.exe"), "old");
    SetInstallRecordKey(std::string(kInstallRecordsKey) + "\\Install0");
    sys().platformId = 1;
    test::StagedFileSystem fs;
    fs.undeletable.insert(Target("Zip.exe"));
    root->Process();
    EXPECT_TRUE(sys().delayedMoves.empty());
    std::string value;
    ASSERT_TRUE(fw::Profiles().ReadString(sys().windowsDir + "\\WININIT.INI", "Rename", Target("Zip.exe"), value));
    EXPECT_EQ(value, Target("Zip.1"));
    EXPECT_TRUE(root->Reboot());
}

TEST_F(InstallFiles, WithoutADelayedRenameABatchFileRunsOnce) {
    AddFile("Zip.exe", "new");
    Build();
    Spit(Target("Zip.exe"), "old");
    SetInstallRecordKey(std::string(kInstallRecordsKey) + "\\Install0");
    sys().moveAtRebootFails = true;
    test::StagedFileSystem fs;
    fs.undeletable.insert(Target("Zip.exe"));
    root->Process();
    const std::string command = Reg(kRunOnceKey, "QuenfordBatFile");
    ASSERT_GT(command.size(), 2u);
    ASSERT_EQ(command.front(), '"') << "the batch's path is quoted";
    const std::string batch = command.substr(1, command.size() - 2);
    EXPECT_EQ(Slurp(batch), "@echo off\r\ndel /f /q \"" + Target("Zip.exe") + "\"\r\nmove /y \"" + Target("Zip.1") + "\" \"" +
                                Target("Zip.exe") + "\"\r\ndel \"%~f0\"\r\n");
    EXPECT_EQ(Reg(InstallRecordKey() + "\\Unfinished", batch), "1");
    fw::DeleteFile(batch);
}

TEST_F(InstallFiles, AFailedExtractionKeepsTheFileInPlace) {
    AddFile("a.txt", Pattern(40000, 4, true));
    Build();
    Spit(Target("a.txt"), "working file");
    // Damage the entry's data.
    std::string archive = Slurp(dir + "build/files.1");
    for (size_t i = 5 + 172 + 50; i < 5 + 172 + 90; ++i) archive[i] = 'X';
    Spit(dir + "build/files.1", archive);
    EXPECT_THROW(root->Process(), fw::Exception);
    EXPECT_EQ(Slurp(Target("a.txt")), "working file");
    EXPECT_FALSE(fw::FileExists(Target("a.1"))) << "no half-written file stays";
}

TEST_F(InstallFiles, AnUnwritableOrderFileNeverStopsTheInstall) {
    AddFile("a.txt", "bytes");
    Build();
    Spit(dir + "blocked", "a file where the Windows folder should be");
    sys().windowsDir = dir + "blocked";
    root->Process();
    EXPECT_EQ(Slurp(Target("a.txt")), "bytes");
}

TEST_F(InstallFiles, KeptFilesStillRegister) {
    auto* f = AddFile("a.txt", "new");
    f->SetOverwriteMode(TOverwriteType::owNever);
    f->SetRegisterAsHelp(true);
    f->SetUpdateDLLCounter(true);
    Build();
    Spit(Target("a.txt"), "existing");
    root->Process();
    EXPECT_EQ(Slurp(Target("a.txt")), "existing");
    EXPECT_FALSE(f->WillCopy());
    EXPECT_EQ(Reg("\\SOFTWARE\\Microsoft\\Windows\\Help", "A.TXT"), dir + "target\\Bin");
    // owDate with a destination that cannot be opened copies.
    f->SetOverwriteMode(TOverwriteType::owDate);
    Build();
    test::StagedFileSystem fs;
    fs.unopenable.insert(Target("a.txt"));
    f->ReadInfoFromArchive();
    const int answer = IsFileNewer(f->FileVersion(), Target("a.txt"), TOverwriteType::owDate, f->FileDate());
    EXPECT_EQ(answer, kCannotCompare) << "which the install takes as: copy";
}

TEST_F(InstallFiles, SelfRegistrationCallsAndQuotes) {
    auto* dll = AddFile("ctl.ocx", "control");
    auto* exe = AddFile("srv.exe", "server");
    exe->SetActiveX(true);
    Build();
    root->Process();
    // A file made self-registering after it joined its folder becomes a system-wide library in the
    // system folder; the control took its folder after its name and stays there.
    const std::string system = sys().systemDir + "\\";
    ASSERT_EQ(sys().registered.size(), 1u);
    EXPECT_EQ(sys().registered[0], Target("ctl.ocx"));
    ASSERT_EQ(sys().started.size(), 1u);
    EXPECT_EQ(sys().started[0], "\"" + system + "srv.exe\" /REGSERVER") << "the path is quoted";
    const std::string activeX = std::string(kUninstallKey) + "Morvix Zip\\ActiveX";
    EXPECT_EQ(Reg(activeX, "Entries"), "2");
    EXPECT_EQ(Reg(activeX, "File1"), system + "srv.exe;1");
    EXPECT_EQ(Reg(activeX, "File2"), Target("ctl.ocx") + ";0");
    // A failure during a run waits for the retry; outside a run it is raised.
    sys().registerAnswer = InstallSystem::DllRegister::Failed;
    root->SetRunning(true);
    dll->Process();
    EXPECT_EQ(FailedRegistrations(), std::vector<TCustomInstallFile*>{dll});
    root->SetRunning(false);
    try {
        dll->Process();
        FAIL();
    } catch (const IECustomInstallFile& e) {
        EXPECT_EQ(e.Message(), "Could not register the ActiveX component, " + Target("ctl.ocx") +
                                   ", because the DllRegisterServer function returned a value of 1. The file "
                                   "component is ctl_ocx");
    }
}

// A registry whose "Files" keys refuse values, to see the uninstall record give up.
class RefusingRegistry : public fw::MemRegistry {
public:
    bool SetValue(fw::RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                  const std::string& data) override {
        if (path.find("\\Files") != std::string::npos) return false;
        return fw::MemRegistry::SetValue(root, path, name, type, data);
    }
};

TEST_F(InstallFiles, TheUninstallSeriesOfKeysHasAnEnd) {
    auto* f = AddFile("a.txt", "bytes");
    RefusingRegistry reg;
    fw::SetRegistryBackend(&reg);
    try {
        f->WriteUninstallInfo(std::string(kUninstallKey) + "Morvix Zip");
        ADD_FAILURE();
    } catch (const IECustomInstallFile& e) {
        EXPECT_NE(e.Message().find("none of 100 keys"), std::string::npos) << e.Message();
    }
    fw::SetRegistryBackend(nullptr);
}

}  // namespace
}  // namespace inst
