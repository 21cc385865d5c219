// The ARJ extractor over the real archives of the fixture corpus, natively and under Wine: every
// method, a garbled entry, a damaged one and two multi-volume sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/arj/testing/arj_patch.h"
#include "engine/formats/arj/unarj/unarj_component.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/common/testdata/file_tree.h"
#include "engine/formats/common/testdata/file_stamp.h"
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
    // The same files made by the Unix arj, and garbled by it with the password: they come out as
    // the Windows-made and the plain archive give them.
    struct Same {
        const char *archive, *like, *password;
    };
    for (const Same& c : {Same{"commons-compress/bla.unix.arj", "commons-compress/bla.arj", ""},
                          Same{"patool/p.arj", "patool/t.arj", "thereisnotry"}}) {
        SCOPED_TRACE(c.archive);
        const std::string like = dir_ + "/like_" + c.archive, as = dir_ + "/as_" + c.archive;
        password_ = "";
        ASSERT_TRUE(Run(root + c.like, like));
        const auto passedLike = passed_;
        password_ = c.password;
        ASSERT_TRUE(Run(root + c.archive, as));
        EXPECT_TRUE(failed_.empty());
        EXPECT_EQ(passed_, passedLike);
        EXPECT_FALSE(test::FileTree(as).empty());
        EXPECT_EQ(test::FileTree(as), test::FileTree(like));
    }
    // A wrong password fails the garbled entry.
    password_ = "wrong";
    ASSERT_TRUE(Run(root + "patool/p.arj", dir_ + "/wrongpw", true));
    EXPECT_EQ(failed_.size(), 1u);
    EXPECT_TRUE(passed_.empty());
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

// A packed size that is negative as a signed number or runs past the end ends the run with the
// damaged-archive report after that entry (a stored entry still has its own bytes: it passes); the walk
// never goes backwards.
TEST_F(UnArjCorpusTest, OversizedSizesEndTheRun)
{
    const std::string original = mx::test::ReadFile(mx::test::FixtureDir() + "/arj/commons-compress/bla.arj");
    const size_t basic = test::ArjFirstBasicHeader(original);
    for (const uint32_t packed : {0xFFFFFFF0u, 0x80000000u, uint32_t(original.size())}) {
        SCOPED_TRACE(packed);
        std::string a = original;
        test::PutLe32(a, basic + 12, packed);
        test::MendArjHeaderCrc(a, basic);
        mx::test::WriteFile(dir_ + "/big.arj", a);
        std::vector<int> errors;
        unarj_->OnError.Bind(&errors, [](void* c, fw::TObject*, const std::string&, const std::string&,
                                         const std::string&, int code) { static_cast<std::vector<int>*>(c)->push_back(code); });
        ASSERT_TRUE(Run(mx::test::HostPath(dir_ + "/big.arj"), mx::test::HostPath(dir_ + "/big"), true));
        EXPECT_EQ(passed_, std::vector<std::string>{"test1.xml"});
        EXPECT_TRUE(failed_.empty());
        EXPECT_EQ(errors, std::vector<int>{25108});
        unarj_->OnError = {};
    }
}

// Extracted files get the stored date and attributes: a Windows-made entry its DOS stamp and file
// mode (made hidden here, the header CRC mended); a Unix-made entry its Unix time and plain
// attributes, never its Unix mode bits read as DOS ones.
TEST_F(UnArjCorpusTest, DatesAndAttributes)
{
    std::string windows = mx::test::ReadFile(mx::test::FixtureDir() + "/arj/commons-compress/bla.arj");
    const size_t basic = test::ArjFirstBasicHeader(windows);
    windows[basic + 26] = char(0x22);  // file access mode
    test::MendArjHeaderCrc(windows, basic);
    mx::test::WriteFile(dir_ + "/hidden.arj", windows);
    const std::string unixMade = mx::test::FixtureDir() + "/arj/unarc-rs/stored.arj";
    const std::string unixBytes = mx::test::ReadFile(unixMade);
    const auto* u = reinterpret_cast<const uint8_t*>(unixBytes.data());
    struct Case {
        std::string archive, file, want;
    };
    int n = 0;
    for (const Case& c : {Case{mx::test::FixtureDir() + "/arj/commons-compress/bla.arj", "test1.xml",
                               test::Stamp("2008-10-06 23:50:52", 0x20)},
                          Case{dir_ + "/hidden.arj", "test1.xml", test::Stamp("2008-10-06 23:50:52", 0x22)},
                          Case{unixMade, "LICENSE", test::Stamp(test::UnixStampText(0x66460118), 0x20)}}) {
        SCOPED_TRACE(c.archive);
        const std::string out = dir_ + "/out" + std::to_string(n++);
        ASSERT_TRUE(Run(mx::test::HostPath(c.archive), mx::test::HostPath(out)));
        EXPECT_FALSE(passed_.empty());
        EXPECT_EQ(test::FileStamp(mx::test::HostPath(out + "/" + c.file)), c.want);
    }
    // The Unix-made header holds that time, and a file mode that read as DOS bits would be "system".
    const size_t at = test::ArjFirstBasicHeader(unixBytes);
    EXPECT_EQ(Le32(u + at + 8), 0x66460118u);
    EXPECT_EQ(Le16(u + at + 26) & 0x27, 0x24);
}

}  // namespace
}  // namespace engine
