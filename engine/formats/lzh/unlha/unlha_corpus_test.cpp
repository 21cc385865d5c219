// The LHA extractor over real archives of the fixture corpus, natively and under Wine: -lh1-, -lh4-,
// level 2, LArc's stored -lz4-, a refused method and a cut archive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace engine
