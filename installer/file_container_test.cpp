// File containers: compress options, progress totals, group rules, and a web installation whose
// archives are downloaded from a net location.
#include "installer/file_container.h"

#include <gtest/gtest.h>

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

// Serves one archive over "HTTP" for the web installation.
class OneFileInternet : public InternetApi {
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> requests;
    Handle Open(const std::string&) override { return this; }
    Handle Connect(Handle, const std::string&, const char*, const char*, Service) override { return this; }
    bool FtpSetCurrentDirectory(Handle, const std::string&) override { return true; }
    bool CloseHandle(Handle) override { return true; }
    bool QueryDataAvailable(Handle, uint32_t&) override { return false; }
    bool ReadFile(Handle, void* buffer, uint32_t size, uint32_t& read) override {
        read = static_cast<uint32_t>(std::min<size_t>(size, body_.size() - pos_));
        std::memcpy(buffer, body_.data() + pos_, read);
        pos_ += read;
        return true;
    }
    Handle FtpOpenFile(Handle, const std::string&) override { return nullptr; }
    Handle HttpOpenRequest(Handle, const std::string&, const std::string& object, uint32_t) override {
        requests.push_back(object);
        auto it = files.find(object);
        found_ = it != files.end();
        body_ = found_ ? it->second : "not here";
        pos_ = 0;
        return this;
    }
    bool HttpSendRequest(Handle, const std::string&) override { return true; }
    bool HttpQueryInfo(Handle, uint32_t level, std::string& text, uint32_t& number, uint32_t) override {
        number = found_ ? 200 : 404;
        text = std::to_string(body_.size());
        return true;
    }
    bool LastResponseInfo(std::string&) override { return false; }
    uint32_t LastError() override { return 0; }

private:
    std::string body_;
    size_t pos_ = 0;
    bool found_ = false;
};

class Containers : public test::DefinitionTest {
protected:
    void SetUp() override {
        DefinitionTest::SetUp();
        group = fw::Make<TInstallGroup>(def);
        group->SetName("Group");
        group->SetContainer(root);
        group->SetDescription("Program");
        group->SetDestDir("\\Bin");
    }
    TInstallGroup* group = nullptr;
};

TEST_F(Containers, AnExcludedContainerOnlyAnnouncesItself) {
    AddFile(group, "a.txt", "a");
    group->SetInclude(false);
    int before = 0;
    group->OnBeforeProcess.Bind(nullptr, [&](void*, fw::TObject*) { ++before; });
    group->Compress(coForceNetFilesLocal);
    EXPECT_EQ(before, 1);
    EXPECT_FALSE(fw::FileExists(dir + "build/files.1"));
    EXPECT_EQ(group->OperationState(), TFileContainer::kOpNone);
    EXPECT_THROW(group->Compress(coForceNetFilesLocal | coForceFilesNet), IEFileContainer);
}

TEST_F(Containers, IncludeAllCompressesExcludedFilesAndRestoresThem) {
    auto* a = AddFile(group, "a.txt", "aaa");
    auto* b = AddFile(group, "b.txt", "bbb");
    b->SetInclude(false);
    root->Compress(46);
    EXPECT_FALSE(b->Include()) << "given back";
    EXPECT_EQ(b->CompressState(), 2);
    EXPECT_EQ(a->ArchiveFileType(), FindSpecifier<TpsContainerArchiveFile>()) << "archive settings restored";
    std::string listing;
    ASSERT_EQ(test::Python(test::TestData() + "/container_reader.py " + dir + "build/files.1 " + dir + "py", &listing), 0);
    EXPECT_EQ(Slurp(dir + "py/b.txt"), "bbb");
}

TEST_F(Containers, AWebBuildWithoutLocationsKeepsEverythingLocalWithOptionEight) {
    AddFile(group, "a.txt", "aaa")->SetNet(true);
    root->SetDistributeType(TDistributeType::dtWeb);
    root->Compress(46);  // 2 + 4 + 8 + 32
    EXPECT_TRUE(fw::FileExists(dir + "build/files.1"));
    EXPECT_THROW(root->Compress(54), IEFileRel_NoNetLocation) << "without option 8 a missing location is an error";
}

TEST_F(Containers, GroupsOnlyLiveInGroupsOrTheInstallComponent) {
    auto* folder = fw::Make<TInstallDirectory>(def);
    folder->SetContainer(root);
    auto* inner = fw::Make<TInstallGroup>(def);
    inner->SetContainer(group);
    try {
        inner->SetContainer(folder);
        FAIL();
    } catch (const IEInstallGroup& e) {
        EXPECT_EQ(e.Message(),
                  "A TInstallGroup component can only be contained by a TInstall, or another TInstallGroup component");
    }
    EXPECT_EQ(inner->Container(), group);
    inner->SetContainer(nullptr);
    EXPECT_EQ(inner->Container(), root) << "none means the install component";
}

TEST_F(Containers, ProgressAddsUpOverTheSubtree) {
    AddFile(group, "a.txt", Pattern(30000, 1, true));
    AddFile(group, "b.txt", Pattern(10000, 2, true));
    auto* kept = AddFile(group, "c.txt", Pattern(10000, 3, true));
    kept->SetOverwriteMode(TOverwriteType::owNever);
    root->Compress(46);
    Spit(dir + "target/Bin/c.txt", "kept");
    std::vector<int> totals;
    root->OnStatus.Bind(nullptr, [&](void*, fw::TObject*, int, int total) { totals.push_back(total); });
    root->Process();
    ASSERT_FALSE(totals.empty());
    EXPECT_EQ(totals.back(), 100);
    for (size_t i = 1; i < totals.size(); ++i) EXPECT_GE(totals[i], totals[i - 1]) << "never goes back";
    EXPECT_EQ(Slurp(dir + "target/Bin/c.txt"), "kept");
}

TEST_F(Containers, AWebInstallDownloadsTheContainersArchive) {
    auto location = fw::Make<TNetInstallLocation>(def);
    location->SetName("NetLocation");
    location->LoginInformation()->Hostname = "example.test";
    location->LoginInformation()->Directory = "/zip";
    root->SetNetLocation(location);
    root->SetDistributeType(TDistributeType::dtWeb);
    AddFile(group, "a.txt", Pattern(20000, 1, true))->SetNet(true);
    AddFile(group, "b.txt", Pattern(5000, 2, true))->SetNet(true);
    root->Compress(54);  // web: 2 + 4 + 16 + 32
    const std::string archive = dir + "build/example.test\\-zip/Group.1";
    ASSERT_TRUE(fw::FileExists(archive)) << "the group's net archive below the build folder";
    auto api = std::make_unique<OneFileInternet>();
    OneFileInternet* net = api.get();
    net->files["/zip/Group.1"] = Slurp(archive);
    sys().internet.api = std::move(api);
    group->SetLocalArchive("");  // the install runs in another program than the build
    test::Spit(dir + "build/setup.exe", "setup");
    SetSetupProgramPath(dir + "build/setup.exe");
    ASSERT_NE(ReadInstallRecord(true), "");
    root->Process();
    EXPECT_EQ(Slurp(dir + "target/Bin/a.txt"), Pattern(20000, 1, true));
    EXPECT_EQ(Slurp(dir + "target/Bin/b.txt"), Pattern(5000, 2, true));
    EXPECT_EQ(net->requests, std::vector<std::string>{"/zip/Group.1"}) << "downloaded once for both files";
    const std::string local = ReadRegString(TRootKeys::hkLocalMachine, InstallRecordKey() + "\\Group", "LocalFile", "");
    EXPECT_TRUE(fw::FileExists(local)) << "the copy is remembered under the record";
    RemoveInstallRecord();
    EXPECT_FALSE(fw::FileExists(local));
}

}  // namespace
}  // namespace inst
