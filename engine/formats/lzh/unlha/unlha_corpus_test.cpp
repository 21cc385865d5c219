// The LHA extractor over real archives of the fixture corpus, natively and under Wine: -lh1-, -lh4-,
// level 2, LArc's stored -lz4-, a refused method and a cut archive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/common/le_bytes.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/lzh/unlha/unlha_component.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

class UnLhaCorpusTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUnLhaClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        unlha_ = fw::Make<TUnLHA>(owner_);
        unlha_->OnEnd.Bind(this, &UnLhaCorpusTest::End);
    }
    void TearDown() override { owner_->Free(); }
    void End(fw::TObject*, const std::string& fn, bool pass) { (pass ? passed_ : failed_).push_back(fn); }
    void Reset()
    {
        passed_.clear();
        failed_.clear();
    }

    fw::TComponent* owner_ = nullptr;
    TUnLHA* unlha_ = nullptr;
    std::vector<std::string> passed_, failed_;
};

TEST_F(UnLhaCorpusTest, CorpusEntriesThatMustPassAndFail)
{
    struct Case {
        const char* archive;
        int pass, fail;
    };
    const Case cases[] = {
        {"lharc113/lh1.lzh", 1, 0},          {"lha_amiga_122/lh4.lzh", 1, 0},   {"lha_amiga_122/level2.lzh", 1, 0},
        {"lha_unix114i/h2_subdir.lzh", 0, 0}, {"lhmelt_16536/h2_lh1.lzh", 1, 0}, {"unlha32/lh2.lzh", 0, 1},
        {"larc333/lz4.lzs", 1, 0},           {"regression/truncated.lzh", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive);
        Reset();
        unlha_->SetArchiveFile(mx::test::FixtureDir() + "/lha/" + c.archive);
        ASSERT_TRUE(unlha_->Test());
        if (c.pass) {
            EXPECT_GE(int(passed_.size()), c.pass);
        }
        EXPECT_EQ(int(failed_.size()) >= 1, c.fail > 0);
    }
}

// Extracted files get the stored date and attributes: a level-1 entry its DOS stamp and attribute
// byte (made hidden here, the header checksum mended), a level-2 entry its Unix time.
TEST_F(UnLhaCorpusTest, DatesAndAttributes)
{
    const std::string dir = mx::test::FreshDir();
    std::string level1 = mx::test::ReadFile(mx::test::FixtureDir() + "/lha/lha213/lh5.lzh");
    level1[19] = char(0x22);
    uint8_t sum = 0;
    for (size_t i = 2; i < 2u + uint8_t(level1[0]); ++i)
        sum = uint8_t(sum + uint8_t(level1[i]));
    level1[1] = char(sum);
    mx::test::WriteFile(dir + "/hidden.lzh", level1);
    const std::string level2 = mx::test::FixtureDir() + "/lha/lha_unix114i/h2_lh5.lzh";
    const uint32_t unixTime = Le32(reinterpret_cast<const uint8_t*>(mx::test::ReadFile(level2).data()) + 15);
    struct Case {
        std::string archive, file, want;
    };
    int n = 0;
    for (const Case& c : {Case{mx::test::FixtureDir() + "/lha/lha213/lh5.lzh", "GPL-2", test::Stamp("2010-01-01 00:00:00", 0x20)},
                          Case{dir + "/hidden.lzh", "GPL-2", test::Stamp("2010-01-01 00:00:00", 0x22)},
                          Case{level2, "gpl-2", test::Stamp(test::UnixStampText(unixTime), 0x20)}}) {
        SCOPED_TRACE(c.archive);
        Reset();
        const std::string out = dir + "/out" + std::to_string(n++);
        unlha_->SetArchiveFile(mx::test::HostPath(c.archive));
        unlha_->SetExtractDir(mx::test::HostPath(out));
        ASSERT_TRUE(unlha_->Extract());
        EXPECT_EQ(passed_.size(), 1u);
        EXPECT_EQ(test::FileStamp(mx::test::HostPath(out + "/" + c.file)), c.want);
    }
}

}  // namespace
}  // namespace engine
