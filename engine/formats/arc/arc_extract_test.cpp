// TUnARC over archives that arc makes at test time (natively), over the fixture corpus and over
// hand-built archives with folder records, hostile names and broken trees; natively and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/arc/arc_component.h"
#include "engine/formats/arc/arc_header.h"
#include "engine/formats/arc/testing/arc_testenc.h"
#include "engine/formats/common/testdata/byte_patch.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/entrystream/testing/extract_recorder.h"
#include "testing/test_env.h"
#ifndef _WIN32
#include "engine/formats/common/testdata/tool_runner.h"
#endif

namespace engine {
namespace {

namespace fs = std::filesystem;

class ArcExtract : public ::testing::Test {
public:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        RegisterUnArcClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        unarc_ = fw::Make<TUnARC>(owner_);
        rec_.Attach(*unarc_);
    }
    void TearDown() override { owner_->Free(); }

    void Open(const std::string& path, const std::string& out)
    {
        rec_ = {};
        rec_.Attach(*unarc_);
        unarc_->SetArchiveFile(mx::test::HostPath(path));
        unarc_->SetExtractDir(mx::test::HostPath(out));
    }

    fw::TComponent* owner_ = nullptr;
    TUnARC* unarc_ = nullptr;
    engine::test::ExtractRecorder rec_;
};

std::map<std::string, std::string> FilesBelow(const std::string& dir)
{
    std::map<std::string, std::string> files;
    if (!fs::exists(dir))
        return files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[fs::relative(e.path(), dir).generic_string()] = mx::test::ReadFile(e.path().string());
    return files;
}

#ifndef _WIN32
// arc picks stored, packed, squeezed or crunched per file, and squashes with q.
TEST_F(ArcExtract, ArchivesOfArc)
{
    const std::string dir = mx::test::FreshDir();
    std::string skew, runs = "AAAAAAAAAAAAAAAAAAAAB\x90xyz", text, random;
    uint32_t x = 1;
    for (int i = 0; i < 400; ++i)
        skew += char((x = x * 1103515245 + 12345) >> 28);
    for (int i = 0; i < 30000; ++i)
        text += "It was the best of times, it was the worst\n"[i % 43];
    for (int i = 0; i < 3000; ++i)
        random += char((x = x * 1103515245 + 12345) >> 23);
    const std::map<std::string, std::string> plain = {
        {"skew.bin", skew}, {"runs.bin", runs}, {"text.txt", text}, {"random.bin", random}};
    for (const auto& [name, bytes] : plain)
        mx::test::WriteFile(dir + "/" + name, bytes);
    ASSERT_TRUE(engine::test::RunIn(dir, "arc a t.arc skew.bin runs.bin text.txt random.bin && arc aq q.arc text.txt",
                                    "arc", "arc"));
    const std::string listing = engine::test::CaptureIn(dir, "nomarch -lv t.arc; nomarch -lv q.arc");
    for (const char* method : {"Stored", "Packed", "Squeezed", "Crunched", "Squashed"})
        EXPECT_NE(listing.find(method), std::string::npos) << method << " not made:\n" << listing;

    Open(dir + "/t.arc", dir + "/out");
    ASSERT_TRUE(unarc_->Extract());
    EXPECT_EQ(rec_.Passed(), 4);
    EXPECT_TRUE(rec_.errors.empty());
    EXPECT_EQ(rec_.recNums, (std::vector<int>{0, 1, 2, 3}));
    for (const auto& [name, bytes] : FilesBelow(dir + "/out"))
        EXPECT_TRUE(plain.at(UpperCase(name) == name ? name : name) == bytes) << name;
    EXPECT_EQ(FilesBelow(dir + "/out").size(), 4u);

    Open(dir + "/q.arc", dir + "/outq");
    ASSERT_TRUE(unarc_->Test());
    EXPECT_EQ(rec_.Passed(), 1);
    EXPECT_TRUE(FilesBelow(dir + "/outq").empty());
}
#endif

// Every fixture entry passes its CRC, except the entries whose data is known not to match.
TEST_F(ArcExtract, FixtureCorpus)
{
    const std::string root = mx::test::FixtureDir() + "/arc/";
    struct Case {
        const char* name;
        int pass, fail;
    };
    // arc-method2.arc is an Acorn variant (method byte 0x82), which detection does not take for ARC.
    for (const Case& c : {Case{"libxmp/arc-method2.arc", 0, 0}, Case{"libxmp/arc-method3.arc", 1, 0},
                          Case{"libxmp/arc-method4.arc", 1, 0}, Case{"libxmp/arc-method9.arc", 1, 0},
                          Case{"libxmp/arc-subdir-6.arc", 1, 0}, Case{"unarc-rs/cpm.arc", 2, 0},
                          Case{"unarc-rs/crunch.arc", 1, 0}, Case{"unarc-rs/squashed.arc", 1, 0},
                          Case{"unarc-rs/store.arc", 1, 0}, Case{"unarc-rs/wrongcrc16.arc", 0, 1},
                          Case{"defacto2/ARC601.ARC", 3, 0}, Case{"unarc-rs/crunch2.arc", 1, 0},
                          Case{"patool/t.arc", 2, 0},
                          // Garbled entries (ARC's password scrambling) are not read: they fail their CRC.
                          Case{"patool/p.arc", 0, 2}, Case{"unarc-rs/license_cypted.arc", 0, 1}}) {
        SCOPED_TRACE(c.name);
        Open(root + c.name, mx::test::FreshDir() + "/x");
        ASSERT_TRUE(unarc_->Test());
        EXPECT_EQ(rec_.Passed(), c.pass);
        EXPECT_EQ(rec_.Failed(), c.fail);
    }
    // The crunched entries come out as the original; the stored ones as arc's own two files.
    const std::string license = mx::test::ReadFile(mx::test::FixtureDir() + "/expected/unarc-rs/LICENSE");
    for (const char* name : {"unarc-rs/crunch.arc", "unarc-rs/crunch2.arc", "unarc-rs/squashed.arc"}) {
        const std::string out = mx::test::FreshDir() + "/" + std::string(name).substr(9);
        Open(root + name, out);
        ASSERT_TRUE(unarc_->Extract());
        EXPECT_TRUE(mx::test::ReadFile(out + "/LICENSE") == license) << name;
    }
    const std::string out = mx::test::FreshDir() + "/t";
    Open(root + "patool/t.arc", out);
    ASSERT_TRUE(unarc_->Extract());
    const auto files = FilesBelow(out);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files.at("t.txt").size(), 2u);
    EXPECT_EQ(files.at("t.txt"), files.at("t2.txt"));
    // PAK archives are not extracted.
    Open(root + "defacto2/PAK100.PAK", mx::test::FreshDir() + "/p");
    unarc_->Test();
    EXPECT_EQ(rec_.errors, std::vector<int>{25242});
}

// Folder records put their files below the folder; files after the end record go back up. Names that
// climb out of the extract folder write nothing.
TEST_F(ArcExtract, FoldersAndHostileNames)
{
    namespace t = arc::test;
    const std::string dir = mx::test::FreshDir();
    std::string a;
    a += t::Record(2, "TOP.TXT", "top", "top");
    a += t::FolderRecord("SUB");
    a += t::Record(3, "IN.TXT", t::Pack(3, "inside!!!!!!"), "inside!!!!!!");
    a += t::FolderRecord("DEEP");
    a += t::Record(7, "D.TXT", t::Pack(7, "deepdeepdeep"), "deepdeepdeep");
    a += t::FolderEnd();
    a += t::FolderEnd();
    a += t::Record(5, "AFTER.TXT", t::Pack(5, "after"), "after");
    a += t::Record(2, "..\\UP.TXT", "evil", "evil");
    a += t::FolderRecord("..");
    a += t::Record(2, "X.TXT", "evil", "evil");
    a += t::FolderEnd();
    a += t::Record(99, "ODD.TXT", "zz", "zz");
    a += t::Record(1, "OLD.TXT", "old form", "old form");
    a += t::EndMarker();
    mx::test::WriteFile(dir + "/f.arc", a);
    Open(dir + "/f.arc", dir + "/out");
    ASSERT_TRUE(unarc_->Extract());
    const auto files = FilesBelow(dir + "/out");
    const std::map<std::string, std::string> want = {{"TOP.TXT", "top"},
                                                     {"SUB/IN.TXT", "inside!!!!!!"},
                                                     {"SUB/DEEP/D.TXT", "deepdeepdeep"},
                                                     {"AFTER.TXT", "after"},
                                                     {"OLD.TXT", "old form"}};
    EXPECT_EQ(files, want);
    EXPECT_FALSE(fs::exists(dir + "/UP.TXT"));
    EXPECT_FALSE(fs::exists(dir + "/X.TXT"));
    EXPECT_EQ(rec_.Passed(), 5);
    EXPECT_EQ(std::count(rec_.errors.begin(), rec_.errors.end(), 25243), 2);
    EXPECT_EQ(std::count(rec_.errors.begin(), rec_.errors.end(), 25301), 1);
}

// The entries of Archive as our header walk finds them.
std::vector<arc::Header> Entries(const std::string& archive)
{
    SpanSource source(std::span(reinterpret_cast<const uint8_t*>(archive.data()), archive.size()));
    arc::HeaderWalker walker(source, 0);
    std::vector<arc::Header> out;
    for (arc::Header h; walker.Next(h);)
        out.push_back(h);
    return out;
}

// A damaged entry of each method fails its CRC report and the good entry after it still passes:
// test-encoded entries (methods 2, 3, 5, 6, 7) and the corpus' squeezed, crunched and squashed ones,
// each with a byte in the middle of its data changed and a stored entry appended.
TEST_F(ArcExtract, DamagedEntryThenGoodEntry)
{
    namespace t = arc::test;
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "a damaged entry fails, the next one passes. "[i % 44];
    std::vector<std::pair<std::string, std::string>> cases;  // name, archive without its end marker
    for (int method : {2, 3, 5, 6, 7})
        cases.emplace_back("method " + std::to_string(method), t::Record(method, "BAD.TXT", t::Pack(method, text), text));
    for (const char* corpus : {"libxmp/arc-method4.arc", "unarc-rs/crunch.arc", "unarc-rs/squashed.arc"}) {
        const std::string bytes = mx::test::ReadFile(mx::test::FixtureDir() + "/arc/" + corpus);
        const auto entries = Entries(bytes);
        ASSERT_EQ(entries.size(), 1u) << corpus;
        cases.emplace_back(corpus, bytes.substr(0, entries[0].dataPos + entries[0].packedSize));
    }
    const std::string dir = mx::test::FreshDir();
    int n = 0;
    for (auto& [name, archive] : cases) {
        SCOPED_TRACE(name);
        archive += t::Record(2, "GOOD.TXT", "good", "good") + t::EndMarker();
        const std::string path = dir + "/d" + std::to_string(n++) + ".arc";
        mx::test::WriteFile(path, archive);
        Open(path, path + ".out");
        ASSERT_TRUE(unarc_->Test());
        EXPECT_EQ(rec_.Passed(), 2);  // whole, both pass
        const arc::Header first = Entries(archive).at(0);
        archive[first.dataPos + first.packedSize / 2] ^= 0x5A;
        mx::test::WriteFile(path, archive);
        Open(path, path + ".out");
        ASSERT_TRUE(unarc_->Test());
        ASSERT_EQ(rec_.ended.size(), 2u);
        EXPECT_FALSE(rec_.ended[0].second);
        EXPECT_TRUE(rec_.ended[1].second);
        EXPECT_NE(rec_.ended[1].first.find("GOOD.TXT"), std::string::npos);
        EXPECT_TRUE(rec_.errors.empty()) << ::testing::PrintToString(rec_.errors);
    }
}

// A packed size that is negative as a signed number or runs past the end: the entry fails (its data
// is cut short) and the walk ends there instead of going backwards or on into nothing.
TEST_F(ArcExtract, OversizedSizesEndTheWalk)
{
    namespace t = arc::test;
    const std::string dir = mx::test::FreshDir();
    const std::string original = t::Record(2, "A.TXT", "abc", "abc") + t::Record(2, "B.TXT", "def", "def") + t::EndMarker();
    for (const uint32_t packed : {0xFFFFFFF0u, 0x80000000u, uint32_t(original.size())}) {
        SCOPED_TRACE(packed);
        std::string a = original;
        test::PutLe32(a, 15, packed);
        mx::test::WriteFile(dir + "/big.arc", a);
        Open(dir + "/big.arc", dir + "/out");
        ASSERT_TRUE(unarc_->Test());
        ASSERT_EQ(rec_.ended.size(), 1u);
        EXPECT_FALSE(rec_.ended[0].second);
    }
}

// Extracted files get the stored DOS date (ARC stores the date before the time) and no attributes
// that ARC does not store.
TEST_F(ArcExtract, Dates)
{
    namespace t = arc::test;
    const std::string dir = mx::test::FreshDir();
    // 2019-07-23 13:45:58: date word 0x4EF7, time word 0x6DBD.
    const std::string a = t::Record(2, "ONE.TXT", "one", "one", 0x6DBD'4EF7) + t::EndMarker();
    mx::test::WriteFile(dir + "/d.arc", a);
    struct Case {
        std::string archive, file, date;
    };
    int n = 0;
    for (const Case& c : {Case{dir + "/d.arc", "ONE.TXT", "2019-07-23 13:45:58"},
                          Case{mx::test::FixtureDir() + "/arc/libxmp/arc-method3.arc", "TDZ1.MOD", "2022-01-05 20:09:42"},
                          Case{mx::test::FixtureDir() + "/arc/defacto2/ARC601.ARC", "TESTDAT2.TXT", "2025-02-14 13:17:34"}}) {
        SCOPED_TRACE(c.archive);
        const std::string out = dir + "/out" + std::to_string(n++);
        Open(c.archive, out);
        ASSERT_TRUE(unarc_->Extract());
        EXPECT_GE(rec_.Passed(), 1);
        EXPECT_EQ(test::FileDate(mx::test::HostPath(out + "/" + c.file)), c.date);
        EXPECT_EQ(FileGetAttr(mx::test::HostPath(out + "/" + c.file)) & 0x07, 0);
    }
}

// A squeezed entry with an impossible tree fails its CRC report and ends the run.
TEST_F(ArcExtract, CorruptTreeEndsRun)
{
    namespace t = arc::test;
    const std::string dir = mx::test::FreshDir();
    std::string bad("\x01\x00\x05\x00\xFE\xFE\x00", 7);
    std::string a = t::Record(4, "BAD.TXT", bad, "x") + t::Record(2, "NEXT.TXT", "n", "n") + t::EndMarker();
    mx::test::WriteFile(dir + "/b.arc", a);
    Open(dir + "/b.arc", dir + "/out");
    ASSERT_TRUE(unarc_->Test());
    ASSERT_EQ(rec_.ended.size(), 1u);
    EXPECT_FALSE(rec_.ended[0].second);
    EXPECT_EQ(rec_.errors, std::vector<int>{25152});
}

}  // namespace
}  // namespace engine
