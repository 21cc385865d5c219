// TUnZOO over the fixture corpus and over archives of the test-only generator: stored and LZW entries,
// folders, long names, deleted entries, climbing folders, damaged CRCs and a chain that loops; natively
// and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/entrystream/testing/extract_recorder.h"
#include "engine/formats/zoo/testing/zoo_testgen.h"
#include "engine/formats/zoo/zoo_component.h"
#include "engine/formats/zoo/zoo_header.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

class ZooExtract : public ::testing::Test {
public:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        RegisterUnZooClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        unzoo_ = fw::Make<TUnZOO>(owner_);
    }
    void TearDown() override { owner_->Free(); }

    engine::test::ExtractRecorder Run(const std::string& archive, const std::string& out, bool test)
    {
        engine::test::ExtractRecorder rec;
        rec.Attach(*unzoo_);
        unzoo_->SetArchiveFile(mx::test::HostPath(archive));
        unzoo_->SetExtractDir(mx::test::HostPath(out));
        EXPECT_TRUE(test ? unzoo_->Test() : unzoo_->Extract());
        return rec;
    }

    fw::TComponent* owner_ = nullptr;
    TUnZOO* unzoo_ = nullptr;
};

std::map<std::string, std::string> FilesBelow(const std::string& dir)
{
    std::map<std::string, std::string> files;
    if (fs::exists(dir))
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file())
                files[fs::relative(e.path(), dir).generic_string()] = mx::test::ReadFile(e.path().string());
    return files;
}

TEST_F(ZooExtract, FixtureCorpus)
{
    const std::string root = mx::test::FixtureDir() + "/zoo/";
    struct Case {
        const char* name;
        int pass, fail;
    };
    for (const Case& c : {Case{"unarc-rs/store.zoo", 1, 0}, Case{"unarc-rs/default.zoo", 1, 0},
                          Case{"unarc-rs/high_per.zoo", 1, 0}, Case{"unarc-rs/wrongcrc16.zoo", 0, 1},
                          Case{"libxmp/zoodata.zoo", 1, 0}, Case{"patool/t.zoo", 2, 0}}) {
        SCOPED_TRACE(c.name);
        const auto rec = Run(root + c.name, mx::test::FreshDir() + "/x", true);
        EXPECT_EQ(rec.Passed(), c.pass);
        EXPECT_EQ(rec.Failed(), c.fail);
        EXPECT_TRUE(rec.errors.empty());
    }
    // The LZH entry against its known content.
    const std::string out = mx::test::FreshDir() + "/lic";
    Run(root + "unarc-rs/high_per.zoo", out, false);
    const auto files = FilesBelow(out);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.begin()->second, mx::test::ReadFile(mx::test::FixtureDir() + "/expected/unarc-rs/LICENSE"));
}

TEST_F(ZooExtract, GeneratedArchives)
{
    std::string text, noise;
    for (int i = 0; i < 60000; ++i)
        text += "zoo keepers keep zebras; "[i % 25];
    uint32_t x = 5;
    for (int i = 0; i < 70000; ++i)
        noise += char((x = x * 1103515245 + 12345) >> 24);
    namespace t = zoo::test;
    std::vector<t::Member> members = {
        {"STORED.TXT", "", "", 0, "plain bytes"},
        {"TEXT.TXT", "docs/sub", "", 1, text},
        {"NOISE.BIN", "", "", 1, noise},
        {"LONGNA~1.TXT", "docs", "long name of a file.txt", 1, "abababababababababa"},
        {"GONE.TXT", "", "", 0, "deleted", true},
        {"EVIL.TXT", "../..", "", 0, "evil"},
        {"BAD.TXT", "", "", 1, text.substr(0, 500), false, 0x1234},
    };
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/gen.zoo", t::Archive(members));
    const auto rec = Run(dir + "/gen.zoo", dir + "/out", false);
    const std::map<std::string, std::string> want = {{"STORED.TXT", "plain bytes"},
                                                     {"docs/sub/TEXT.TXT", text},
                                                     {"NOISE.BIN", noise},
                                                     {"docs/long name of a file.txt", "abababababababababa"},
                                                     {"BAD.TXT", text.substr(0, 500)},
                                                     {"EVIL.TXT", "evil"}};
    const auto files = FilesBelow(dir + "/out");
    EXPECT_EQ(files.size(), want.size());
    for (const auto& [name, bytes] : want)
        EXPECT_TRUE(files.count(name) && files.at(name) == bytes) << name;
    EXPECT_EQ(rec.Passed(), 5);
    EXPECT_EQ(rec.Failed(), 1);  // BAD.TXT's stored CRC is wrong
    EXPECT_TRUE(rec.errors.empty());
    // A folder of ".." parts is dropped: the file stays inside the extract folder.
    EXPECT_FALSE(fs::exists(dir + "/EVIL.TXT"));
}

// The entries of Archive as our chain walk finds them.
std::vector<zoo::Entry> Entries(const std::string& archive)
{
    SpanSource source(std::span(reinterpret_cast<const uint8_t*>(archive.data()), archive.size()));
    zoo::Walker walker(source);
    std::vector<zoo::Entry> out;
    if (walker.Begin() != zoo::Walker::Start::Ok)
        return out;
    for (zoo::Entry e; walker.Next(e) == zoo::Walker::Step::Entry;)
        out.push_back(e);
    return out;
}

// A damaged stored, LZW or LZH entry fails its CRC report and the good entry after it still passes.
// The LZH data is the corpus' (high_per.zoo), the others are made here.
TEST_F(ZooExtract, DamagedEntryThenGoodEntry)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "the next entry still comes out. "[i % 32];
    const std::string lzhArchive = mx::test::ReadFile(mx::test::FixtureDir() + "/zoo/unarc-rs/high_per.zoo");
    const zoo::Entry lzh = Entries(lzhArchive).at(0);
    const std::string license = mx::test::ReadFile(mx::test::FixtureDir() + "/expected/unarc-rs/LICENSE");
    const std::string dir = mx::test::FreshDir();
    for (int method : {0, 1, 2}) {
        SCOPED_TRACE(method);
        zoo::test::Member bad{"BAD.TXT", "", "", method, method == 2 ? license : text};
        if (method == 2)
            bad.packed = lzhArchive.substr(lzh.dataPos, lzh.packedSize);
        std::string a = zoo::test::Archive({bad, {"GOOD.TXT", "", "", 1, "good entry"}});
        const std::string path = dir + "/d" + std::to_string(method) + ".zoo";
        mx::test::WriteFile(path, a);
        EXPECT_EQ(Run(path, path + ".out", true).Passed(), 2);  // whole, both pass
        const zoo::Entry first = Entries(a).at(0);
        a[first.dataPos + first.packedSize / 2] ^= 0x5A;
        mx::test::WriteFile(path, a);
        const auto rec = Run(path, path + ".out", true);
        ASSERT_EQ(rec.ended.size(), 2u);
        EXPECT_FALSE(rec.ended[0].second);
        EXPECT_TRUE(rec.ended[1].second);
        EXPECT_NE(rec.ended[1].first.find("GOOD.TXT"), std::string::npos);
    }
}

// Extracted files get the stored DOS date and no attributes that ZOO does not store.
TEST_F(ZooExtract, Dates)
{
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/d.zoo", zoo::test::Archive({{"D.TXT", "", "", 1, "dated dated dated"}}));
    struct Case {
        std::string archive, file, date;
    };
    const std::string root = mx::test::FixtureDir() + "/zoo/";
    int n = 0;
    for (const Case& c : {Case{dir + "/d.zoo", "D.TXT", "2024-01-01 12:00:00"},
                          Case{root + "libxmp/zoodata.zoo", "dancing to chips.mod", "2013-03-30 09:57:56"},
                          Case{root + "patool/t.zoo", "t2.txt", "2013-02-22 14:50:36"}}) {
        SCOPED_TRACE(c.archive);
        const std::string out = dir + "/out" + std::to_string(n++);
        const auto rec = Run(c.archive, out, false);
        EXPECT_GE(rec.Passed(), 1);
        EXPECT_EQ(test::FileDate(mx::test::HostPath(out + "/" + c.file)), c.date);
        EXPECT_EQ(FileGetAttr(mx::test::HostPath(out + "/" + c.file)) & 0x07, 0);
    }
}

TEST_F(ZooExtract, BrokenChains)
{
    const std::string dir = mx::test::FreshDir();
    std::string a = zoo::test::Archive({{"A.TXT", "", "", 0, "aaaa"}, {"B.TXT", "", "", 0, "bbbb"}});
    // B's next pointer goes back to A: the walk ends with a bad header instead of looping.
    const size_t b = a.find("B.TXT") - 38;
    a[b + 6] = 43;
    a[b + 7] = a[b + 8] = a[b + 9] = 0;
    mx::test::WriteFile(dir + "/loop.zoo", a);
    auto rec = Run(dir + "/loop.zoo", dir + "/o1", true);
    EXPECT_EQ(rec.Passed(), 1);
    EXPECT_EQ(rec.errors, std::vector<int>{25108});

    // A header whose positions do not cancel out is refused before any entry.
    std::string bad = zoo::test::Archive({{"A.TXT", "", "", 0, "aaaa"}});
    bad[28] = 0;
    mx::test::WriteFile(dir + "/bad.zoo", bad);
    rec = Run(dir + "/bad.zoo", dir + "/o2", true);
    EXPECT_TRUE(rec.ended.empty());
    EXPECT_EQ(rec.errors, std::vector<int>{25108});
}

}  // namespace
}  // namespace engine
