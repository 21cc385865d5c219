// The ARJ extractor over the real archives of the fixture corpus, natively and under Wine: every
// method, a garbled entry, a damaged one and two multi-volume sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/arj/unarj/unarj_component.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

class UnArjCorpusTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUnArjClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        unarj_ = fw::Make<TUnARJ>(owner_);
        unarj_->OnEnd.Bind(this, &UnArjCorpusTest::End);
        unarj_->OnGetPassword.Bind(this, &UnArjCorpusTest::Password);
        unarj_->OnNextVolume.Bind(this, &UnArjCorpusTest::NextVolume);
    }
    void TearDown() override { owner_->Free(); }

    void End(fw::TObject*, const std::string& fn, bool pass)
    {
        (pass ? passed_ : failed_).push_back(fn.substr(fn.find_last_of("\\/") + 1));
    }
    void Password(fw::TObject*, const std::string&, std::string& password, bool& tryAgain)
    {
        password = password_;
        tryAgain = !password_.empty();
    }
    void NextVolume(fw::TObject*, std::string&, std::string&, const std::string&, bool exists, bool& cancel)
    {
        cancel = !exists;
    }
    bool Run(const std::string& archive, const std::string& out, bool test = false)
    {
        passed_.clear();
        failed_.clear();
        unarj_->SetArchiveFile(archive);
        unarj_->SetExtractDir(out);
        return test ? unarj_->Test() : unarj_->Extract();
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUnARJ* unarj_ = nullptr;
    std::vector<std::string> passed_, failed_;
    std::string password_;
};

TEST_F(UnArjCorpusTest, FixtureCorpus)
{
    const std::string root = mx::test::FixtureDir() + "/arj/";
    const std::string license = mx::test::ReadFile(mx::test::FixtureDir() + "/expected/unarc-rs/LICENSE");
    for (const char* name : {"method1.arj", "method2.arj", "method3.arj", "method4.arj", "stored.arj"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Run(root + "unarc-rs/" + name, dir_ + "/" + name));
        EXPECT_EQ(passed_, std::vector<std::string>{"LICENSE"});
        EXPECT_EQ(mx::test::ReadFile(dir_ + "/" + name + "/LICENSE"), license);
    }
    password_ = "secret";
    ASSERT_TRUE(Run(root + "unarc-rs/license_crypted.arj", dir_ + "/crypted", true));
    EXPECT_EQ(passed_, std::vector<std::string>{"LICENSE"});
    ASSERT_TRUE(Run(root + "unarc-rs/wrongcrc32.arj", dir_ + "/wrong", true));
    EXPECT_EQ(failed_, std::vector<std::string>{"LICENSE"});
    ASSERT_TRUE(Run(root + "unarc-rs/multi/test_file.arj", dir_ + "/multi", true));
    EXPECT_TRUE(failed_.empty());
    EXPECT_FALSE(passed_.empty());
    ASSERT_TRUE(Run(root + "sharpcompress/Arj.store.split.arj", dir_ + "/split", true));
    EXPECT_EQ(passed_.size(), 3u);
    EXPECT_TRUE(failed_.empty());
    for (const char* name : {"commons-compress/bla.arj", "patool/t.arj", "defacto2/ARJ020B.ARJ"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Run(root + name, dir_ + "/c", true));
        EXPECT_TRUE(failed_.empty());
        EXPECT_FALSE(passed_.empty());
    }
}

// One named entry of a set is read from the volume the lister named, and followed into the next.
TEST_F(UnArjCorpusTest, NamedEntryStartsInItsVolume)
{
    unarj_->VolumeID = "Arj.store.split.a02";
    unarj_->SetFileSpec("JPG\\TEST.JPG");
    const std::string set = mx::test::FixtureDir() + "/arj/sharpcompress/Arj.store.split.arj";
    ASSERT_TRUE(Run(set, dir_ + "/one", true));
    const std::string before = unarj_->ArchiveFile();
    EXPECT_EQ(passed_, std::vector<std::string>{"TEST.JPG"});
    EXPECT_TRUE(failed_.empty());
    EXPECT_EQ(unarj_->ArchiveFile(), before);
    EXPECT_NE(before.find("split.arj"), std::string::npos);
}

}  // namespace
}  // namespace engine
