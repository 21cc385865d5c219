// The ARJ extractor over archives that arj makes at test time (methods 0 to 4, garbled with a
// password, multi-volume sets, text mode, folders) and over the fixture corpus: output byte for byte
// against the originals, damaged entries, wrong passwords and entries this extractor refuses.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/formats/common/testdata/file_tree.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/arj/testing/arj_patch.h"
#include "engine/formats/arj/unarj/unarj_component.h"
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

class UnArjTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUnArjClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        unarj_ = fw::Make<TUnARJ>(owner_);
        unarj_->OnEnd.Bind(this, &UnArjTest::End);
        unarj_->OnError.Bind(this, &UnArjTest::Error);
        unarj_->OnGetPassword.Bind(this, &UnArjTest::Password);
        unarj_->OnNextVolume.Bind(this, &UnArjTest::NextVolume);
    }
    void TearDown() override { owner_->Free(); }

    void End(fw::TObject*, const std::string& fn, bool pass)
    {
        (pass ? passed_ : failed_).push_back(fn.substr(fn.find_last_of("\\/") + 1));
    }
    void Error(fw::TObject*, const std::string&, const std::string&, const std::string& volumeId, int code)
    {
        errors_.push_back(code);
        errorVolumes_.push_back(volumeId);
    }
    void Password(fw::TObject*, const std::string&, std::string& password, bool& tryAgain)
    {
        ++asked_;
        password = password_;
        tryAgain = !password_.empty();
    }
    // A volume that is not where the set says is in AnswerDir, when that is set.
    void NextVolume(fw::TObject*, std::string& dir, std::string&, const std::string& id, bool exists, bool& cancel)
    {
        volumes_.push_back(id);
        if (!exists && !answerDir_.empty())
            dir = answerDir_;
        cancel = !exists && answerDir_.empty();
    }

    void MakeTree()
    {
        fs::create_directories(dir_ + "/src/sub/empty");
        std::string text, noise;
        for (int i = 0; i < 30000; ++i)
            text += "line " + std::to_string(i * 7919 % 1000) + "\r\n";
        uint32_t x = 12345;
        for (int i = 0; i < 120000; ++i) {
            x = x * 1103515245u + 12345u;
            noise += char(x >> 24);
        }
        mx::test::WriteFile(dir_ + "/src/a.txt", text);
        mx::test::WriteFile(dir_ + "/src/sub/noise.bin", noise);
        mx::test::WriteFile(dir_ + "/src/sub/small.txt", "small");
    }
    bool Run(const std::string& archive, const std::string& out, bool test = false)
    {
        passed_.clear();
        failed_.clear();
        errors_.clear();
        errorVolumes_.clear();
        volumes_.clear();
        asked_ = 0;
        unarj_->SetArchiveFile(archive);
        unarj_->SetExtractDir(out);
        return test ? unarj_->Test() : unarj_->Extract();
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUnARJ* unarj_ = nullptr;
    std::vector<std::string> passed_, failed_, volumes_, errorVolumes_;
    std::vector<int> errors_;
    std::string password_, answerDir_;
    int asked_ = 0;
};

TEST_F(UnArjTest, ExtractsEveryMethodAndTextMode)
{
    MakeTree();
    const auto original = FileTree(dir_ + "/src");
    for (const char* options : {"-m0", "-m1", "-m2", "-m3", "-m4", "-m1 -t1"}) {
        SCOPED_TRACE(options);
        std::remove((dir_ + "/a.arj").c_str());
        ASSERT_TRUE(RunIn(dir_ + "/src", std::string("arj a -r -y ") + options + " ../a.arj a.txt sub", "arj", "arj"));
        const std::string out = dir_ + "/out" + std::string(options).substr(1, 2) + (std::string(options).size() > 3 ? "t" : "");
        ASSERT_TRUE(Run(dir_ + "/a.arj", out));
        EXPECT_TRUE(errors_.empty());
        EXPECT_EQ(passed_.size(), 3u);
        EXPECT_TRUE(failed_.empty());
        EXPECT_EQ(FileTree(out), original);
        // The stored DOS time (two-second steps) becomes the file's date.
        EXPECT_LE(std::abs(MTime(out + "/a.txt") - MTime(dir_ + "/src/a.txt")), 2);
    }
}

TEST_F(UnArjTest, GarbledEntriesWithRightAndWrongPasswords)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "arj a -r -y -gsecret ../g.arj a.txt sub", "arj", "arj"));
    password_ = "secret";
    ASSERT_TRUE(Run(dir_ + "/g.arj", dir_ + "/good"));
    EXPECT_EQ(passed_.size(), 3u);
    EXPECT_EQ(asked_, 1);  // asked once for the run
    EXPECT_EQ(FileTree(dir_ + "/good"), FileTree(dir_ + "/src"));
    EXPECT_EQ(unarj_->GarblePassword, "secret");
    // A wrong password fails the first entry and ends the run with 26517.
    password_ = "wrong";
    ASSERT_TRUE(Run(dir_ + "/g.arj", dir_ + "/bad", true));
    EXPECT_EQ(failed_.size(), 1u);
    EXPECT_TRUE(passed_.empty());
    // The garbage may also fail the decoder's tables (25120) before the check.
    ASSERT_FALSE(errors_.empty());
    EXPECT_EQ(errors_.back(), 26517);
    // No password at all cancels.
    password_.clear();
    ASSERT_TRUE(Run(dir_ + "/g.arj", dir_ + "/none", true));
    EXPECT_TRUE(passed_.empty());
}

TEST_F(UnArjTest, MultiVolumeSetsAndDamagedEntries)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "arj a -r -y -m1 -v40k ../v.arj a.txt sub", "arj", "arj"));
    ASSERT_TRUE(fs::exists(dir_ + "/v.a02"));
    ASSERT_TRUE(Run(dir_ + "/v.arj", dir_ + "/vol"));
    EXPECT_TRUE(failed_.empty());
    EXPECT_EQ(passed_.size(), 3u);
    EXPECT_GE(volumes_.size(), 2u);
    EXPECT_EQ(FileTree(dir_ + "/vol"), FileTree(dir_ + "/src"));

    // A damaged byte inside the first entry's data: it fails, the others pass.
    ASSERT_TRUE(RunIn(dir_ + "/src", "arj a -r -y -m1 ../d.arj a.txt sub", "arj", "arj"));
    std::string bytes = mx::test::ReadFile(dir_ + "/d.arj");
    bytes[bytes.size() / 6] ^= 0x40;
    mx::test::WriteFile(dir_ + "/bad.arj", bytes);
    ASSERT_TRUE(Run(dir_ + "/bad.arj", dir_ + "/d", true));
    EXPECT_EQ(failed_.size(), 1u);
    EXPECT_EQ(passed_.size(), 2u);
}

// Reports carry the number of the volume being read; a named volume that is not where the set says
// is asked for through OnNextVolume, as every other volume is.
TEST_F(UnArjTest, VolumeNumbersInReportsAndAMissingNamedVolume)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "arj a -r -y -m1 -v40k ../v.arj a.txt sub", "arj", "arj"));
    int last = 0;
    while (fs::exists(dir_ + "/v.a" + std::string(last + 1 < 10 ? "0" : "") + std::to_string(last + 1)))
        ++last;
    ASSERT_GE(last, 2);
    const std::string lastName = "v.a" + std::string(last < 10 ? "0" : "") + std::to_string(last);
    // The last volume holds the end of noise.bin and then small.txt, which gets a method this
    // extractor refuses; the volume itself moves to another folder.
    std::string bytes = mx::test::ReadFile(dir_ + "/" + lastName);
    const size_t small = test::ArjNextBasicHeader(bytes, test::ArjFirstBasicHeader(bytes));
    ASSERT_EQ(bytes.substr(small + uint8_t(bytes[small]), 13), "sub/small.txt");
    bytes[small + 5] = 7;
    test::MendArjHeaderCrc(bytes, small);
    fs::create_directories(dir_ + "/moved");
    mx::test::WriteFile(dir_ + "/moved/" + lastName, bytes);
    fs::remove(dir_ + "/" + lastName);

    unarj_->VolumeID = lastName;
    unarj_->SetFileSpec("sub\\small.txt");
    answerDir_ = dir_ + "/moved/";
    ASSERT_TRUE(Run(dir_ + "/v.arj", dir_ + "/one"));
    EXPECT_EQ(volumes_, std::vector<std::string>{std::to_string(last)});
    EXPECT_EQ(errors_, std::vector<int>{25301});
    EXPECT_EQ(errorVolumes_, std::vector<std::string>{std::to_string(last)});
    // Without an answer the run ends quietly, having asked.
    answerDir_.clear();
    ASSERT_TRUE(Run(dir_ + "/v.arj", dir_ + "/two"));
    EXPECT_EQ(volumes_, std::vector<std::string>{std::to_string(last)});
    EXPECT_TRUE(errors_.empty());
}

// An entry of a type this extractor does not write (a volume label; a Unix special file, which arj
// marks as needing version 11) is reported and passed over; the entries after it still come out.
TEST_F(UnArjTest, OddEntryTypesDoNotEndTheRun)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "arj a -y -m1 ../o.arj a.txt sub/small.txt", "arj", "arj"));
    const std::string original = mx::test::ReadFile(dir_ + "/o.arj");
    struct Case {
        uint8_t fileType, minVersion;
        int report;
    };
    for (const Case& c : {Case{4, 1, 25302}, Case{6, 11, 25402}}) {
        SCOPED_TRACE(c.report);
        std::string a = original;
        const size_t basic = test::ArjFirstBasicHeader(a);
        a[basic + 2] = char(c.minVersion);
        a[basic + 6] = char(c.fileType);
        test::MendArjHeaderCrc(a, basic);
        mx::test::WriteFile(dir_ + "/odd.arj", a);
        ASSERT_TRUE(Run(dir_ + "/odd.arj", dir_ + "/odd" + std::to_string(c.report)));
        EXPECT_EQ(errors_, std::vector<int>{c.report});
        EXPECT_EQ(passed_, std::vector<std::string>{"small.txt"});
        EXPECT_TRUE(failed_.empty());
        EXPECT_FALSE(fs::exists(dir_ + "/odd" + std::to_string(c.report) + "/a.txt"));
    }
}

}  // namespace
}  // namespace engine
