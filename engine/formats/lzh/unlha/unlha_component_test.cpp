// The LHA extractor over archives that jlha makes at test time (levels 0, 1 and 2; -lh0-, -lh5-,
// -lh6-; folders) and over the real archives of the fixture corpus, checked byte for byte against
// the originals and against what lhasa extracts; damaged entries, refused methods and hostile names.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/formats/common/testdata/file_tree.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/lzh/testing/lha_header_cases.h"
#include "engine/formats/lzh/unlha/unlha_component.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::RunIn;
using test::FileTree;

int64_t MTime(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? int64_t(st.st_mtime) : -1;
}

class UnLhaTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUnLhaClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        unlha_ = fw::Make<TUnLHA>(owner_);
        unlha_->OnBegin.Bind(this, &UnLhaTest::Begin);
        unlha_->OnEnd.Bind(this, &UnLhaTest::End);
        unlha_->OnError.Bind(this, &UnLhaTest::Error);
    }
    void TearDown() override { owner_->Free(); }

    void Begin(fw::TObject*, const std::string& fn, int recNum, bool& extract) { ++begun_; }
    void End(fw::TObject*, const std::string& fn, bool pass)
    {
        (pass ? passed_ : failed_).push_back(fn.substr(fn.find_last_of("\\/") + 1));
    }
    void Error(fw::TObject*, const std::string& fn, const std::string& msgEx, const std::string&, int code)
    {
        errors_.push_back(code);
        msgExs_.push_back(msgEx);
    }

    void MakeTree()
    {
        fs::create_directories(dir_ + "/src/sub/deeper");
        mx::test::WriteFile(dir_ + "/src/a.txt", std::string(5000, 'a') + "tail");
        mx::test::WriteFile(dir_ + "/src/empty.txt", "");
        std::string text, noise;
        for (int i = 0; i < 30000; ++i)
            text += "line " + std::to_string(i * 7919 % 1000) + "\n";
        uint32_t x = 12345;
        for (int i = 0; i < 100000; ++i) {
            x = x * 1103515245u + 12345u;
            noise += char(x >> 24);
        }
        mx::test::WriteFile(dir_ + "/src/sub/c.txt", text);
        mx::test::WriteFile(dir_ + "/src/sub/deeper/noise.bin", noise);
        ASSERT_TRUE(RunIn(dir_ + "/src", "TZ=UTC touch -d '2021-06-15 10:20:30' a.txt sub/c.txt", "touch", "coreutils"));
    }

    void Reset()
    {
        passed_.clear();
        failed_.clear();
        errors_.clear();
        msgExs_.clear();
        begun_ = 0;
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUnLHA* unlha_ = nullptr;
    std::vector<std::string> passed_, failed_;
    std::vector<int> errors_;
    std::vector<std::string> msgExs_;
    int begun_ = 0;
};

TEST_F(UnLhaTest, ExtractsJlhaArchivesOfEveryLevelAndMethod)
{
    MakeTree();
    const auto original = FileTree(dir_ + "/src");
    for (const char* level : {"0", "1", "2"}) {
        for (const char* method : {"z", "o5", "o6"}) {
            SCOPED_TRACE(std::string("level ") + level + " " + method);
            const std::string name = std::string("a") + level + method + ".lzh";
            ASSERT_TRUE(RunIn(dir_ + "/src", std::string("jlha c") + level + method + "q ../" + name + " a.txt empty.txt sub",
                              "jlha", "jlha-utils"));
            Reset();
            const std::string out = dir_ + "/out_" + level + method;
            unlha_->SetArchiveFile(dir_ + "/" + name);
            EXPECT_TRUE(unlha_->ArcType() == TArcType::atLzh || unlha_->ArcType() == TArcType::atLha);
            unlha_->SetExtractDir(out);
            ASSERT_TRUE(unlha_->Extract());
            EXPECT_TRUE(errors_.empty());
            EXPECT_TRUE(failed_.empty());
            EXPECT_EQ(passed_.size(), 4u);
            EXPECT_EQ(FileTree(out), original);
            // The stored date (level 2 keeps Unix time, the others local DOS time).
            EXPECT_EQ(MTime(out + "/a.txt"), MTime(dir_ + "/src/a.txt"));
            Reset();
            ASSERT_TRUE(unlha_->Test());
            EXPECT_EQ(passed_.size(), 4u);
            EXPECT_TRUE(failed_.empty());
        }
    }
}

TEST_F(UnLhaTest, OneNamedEntryAndWildcards)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "jlha c2q ../a.lzh a.txt sub", "jlha", "jlha-utils"));
    unlha_->SetArchiveFile(dir_ + "/a.lzh");
    unlha_->SetExtractDir(dir_ + "/one");
    unlha_->SetFileSpec("sub\\c.txt");
    ASSERT_TRUE(unlha_->Extract());
    EXPECT_EQ(passed_, std::vector<std::string>{"c.txt"});
    unlha_->SetFileSpec("*.txt");
    Reset();
    unlha_->SetUseStoredDirs(false);
    unlha_->SetExtractDir(dir_ + "/flat");
    ASSERT_TRUE(unlha_->Extract());
    EXPECT_EQ(passed_.size(), 2u);
    EXPECT_TRUE(fs::exists(dir_ + "/flat/c.txt"));
}

// A damaged entry fails its check and the entries after it still come out.
TEST_F(UnLhaTest, DamagedEntryFailsAndLaterEntriesSurvive)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "jlha c1o5q ../a.lzh sub/c.txt a.txt", "jlha", "jlha-utils"));
    std::string bytes = mx::test::ReadFile(dir_ + "/a.lzh");
    bytes[bytes.size() / 3] ^= 0x55;  // inside c.txt's data
    mx::test::WriteFile(dir_ + "/bad.lzh", bytes);
    unlha_->SetArchiveFile(dir_ + "/bad.lzh");
    ASSERT_TRUE(unlha_->Test());
    EXPECT_EQ(failed_, std::vector<std::string>{"c.txt"});
    EXPECT_EQ(passed_, std::vector<std::string>{"a.txt"});
}

TEST_F(UnLhaTest, RefusedMethodsAndCutArchives)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "jlha c2o7q ../seven.lzh a.txt && jlha c2o5q ../five.lzh sub/c.txt a.txt", "jlha",
                      "jlha-utils"));
    unlha_->SetArchiveFile(dir_ + "/seven.lzh");
    ASSERT_TRUE(unlha_->Test());
    EXPECT_EQ(errors_, std::vector<int>{25301});
    EXPECT_EQ(failed_, std::vector<std::string>{"a.txt"});
    // Cut inside the first entry's data: it fails, and the walk ends there without looping.
    std::string five = mx::test::ReadFile(dir_ + "/five.lzh");
    mx::test::WriteFile(dir_ + "/cut.lzh", five.substr(0, five.size() / 2));
    Reset();
    unlha_->SetArchiveFile(dir_ + "/cut.lzh");
    ASSERT_TRUE(unlha_->Test());
    EXPECT_EQ(failed_, std::vector<std::string>{"c.txt"});
    EXPECT_TRUE(passed_.empty());
}

// A header the walk cannot read ends it with the report 25108 naming the header's offset, in the
// extractor as in the tester; a level-2 header whose size byte reads 0 is read whole.
TEST_F(UnLhaTest, UnreadableHeadersAreReportedWithTheirOffset)
{
    for (const test::LhaHeaderCase& c : test::MakeLhaHeaderCases(dir_)) {
        SCOPED_TRACE(c.label);
        Reset();
        unlha_->SetArchiveFile(c.archive);
        unlha_->SetExtractDir(dir_ + "/out");
        ASSERT_TRUE(unlha_->Extract());
        EXPECT_EQ(passed_, c.names);
        EXPECT_TRUE(failed_.empty());
        if (c.damagedAt < 0) {
            EXPECT_TRUE(errors_.empty());
        } else {
            EXPECT_EQ(errors_, std::vector<int>{25108});
            EXPECT_EQ(msgExs_, std::vector<std::string>{"at offset " + std::to_string(c.damagedAt)});
        }
    }
}

// Every real archive of the corpus: what lhasa extracts, we extract identically; methods we do not
// read are refused with 25301 and counted as failed; hostile names stay inside the extract folder.
TEST_F(UnLhaTest, FixtureCorpusMatchesLhasa)
{
    const std::string root = mx::test::FixtureDir() + "/lha";
    int compared = 0;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string path = e.path().string();
        const std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".lzh" && ext != ".lzs"))
            continue;
        SCOPED_TRACE(path);
        const std::string key = fs::relative(e.path(), root).generic_string();
        const std::string ours = dir_ + "/ours/" + key, theirs = dir_ + "/lhasa/" + key;
        fs::create_directories(theirs);
        std::system(("cd '" + theirs + "' && lhasa xq '" + path + "' >/dev/null 2>&1").c_str());
        Reset();
        unlha_->SetArchiveFile(path);
        unlha_->SetExtractDir(ours);
        ASSERT_TRUE(unlha_->Extract());
        const auto lhasaTree = FileTree(theirs, true), ourTree = FileTree(ours, true);
        for (const auto& [name, bytes] : ourTree) {
            // Files we call good are the files lhasa writes.
            const std::string leaf = name.substr(name.find_last_of('/') + 1);
            bool good = false;
            for (std::string p : passed_) {
                for (char& c : p)
                    c = char(std::tolower(static_cast<unsigned char>(c)));
                good = good || p == leaf;
            }
            if (!good)
                continue;
            auto it = lhasaTree.find(name);
            ASSERT_NE(it, lhasaTree.end()) << name;
            EXPECT_EQ(it->second, bytes) << name;
            ++compared;
        }
        for (int code : errors_) {
            EXPECT_TRUE(code == 25301 || code == 25243 || code == 25108 || code == 25120) << code;
        }
    }
    EXPECT_GE(compared, 35);
    EXPECT_FALSE(fs::exists(dir_ + "/ours/etc"));
    EXPECT_FALSE(fs::exists(dir_ + "/x"));
}

}  // namespace
}  // namespace engine
