// The lister's older-format walks over archives built here and over the fixture corpus, natively
// and under Wine: HA, PAK, BH and ZOO archives from the test kit, a six-volume ARJ set, ARC folder
// records and chains that would loop.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/file_routines.h"
#include "engine/formats/arj/testing/arj_patch.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_archives_testkit.h"
#include "testing/test_env.h"

namespace engine {
namespace {

using namespace testkit;
using OlderCorpusTest = ListerFixture;

TEST_F(OlderCorpusTest, HaPakAndBhBuiltHere)
{
    const std::string ha = MakeHa({{"", "top.txt", "top level"}, {"docs\xff", "in.txt", "inside a folder"}});
    mx::test::WriteFile(dir_ + "/t.ha", ha);
    auto rows = List(dir_ + "/t.ha");
    EXPECT_EQ(lister_->ArcType(), TArcType::atHa);
    char crc[9];
    std::snprintf(crc, sizeof crc, "%x", Crc32Of("inside a folder"));
    EXPECT_EQ(rows, (std::vector<std::string>{"top.txt|9|9|" + [] {
                                                  char c[9];
                                                  std::snprintf(c, sizeof c, "%x", Crc32Of("top level"));
                                                  return std::string(c);
                                              }(),
                                              std::string("docs\\in.txt|15|15|") + crc}));
    EXPECT_EQ(methods_.at(0), "Cpy");

    mx::test::WriteFile(dir_ + "/t.pak", MakePak({{"ONE.TXT", 10, "crushed?"}, {"TWO.TXT", 11, "distilled"}}));
    rows = List(dir_ + "/t.pak");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 10), "ONE.TXT|16");
    EXPECT_EQ(totals_, 2);

    mx::test::WriteFile(dir_ + "/t.bh", MakeBh({{"first.txt", 0, false, "abc"}, {"second.txt", 1, true, "defgh"}}));
    rows = List(dir_ + "/t.bh");
    EXPECT_EQ(lister_->ArcType(), TArcType::atBh);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].substr(0, 16), "second.txt|15|5|");
    EXPECT_TRUE(lister_->Encrypted);
    EXPECT_EQ(totals_, 2);
}

// The HA archives of the corpus (no tool here reads HA): one entry each, as the corpus notes give it;
// the date is the header's Unix time 0x68BB020E.
TEST_F(OlderCorpusTest, HaCorpus)
{
    struct Case {
        const char* file;
        int64_t packed;
        uint16_t method;
        const char* methodName;
    };
    for (const Case& c : {Case{"asc.ha", 3851, 1, "Asc"}, Case{"copy.ha", 11357, 0, "Cpy"}, Case{"hsc.ha", 3381, 2, "HSC"}}) {
        SCOPED_TRACE(c.file);
        List(mx::test::FixtureDir() + "/ha/unarc-rs/" + c.file);
        EXPECT_EQ(lister_->ArcType(), TArcType::atHa);
        ASSERT_EQ(entries_.size(), 1u);
        const ListedEntry& e = entries_[0];
        EXPECT_EQ(e.name, "license");
        EXPECT_EQ(e.unpacked, 11357);
        EXPECT_EQ(e.packed, c.packed);
        EXPECT_EQ(e.crc, 0x7B5D04BCu);
        EXPECT_EQ(e.method, c.method);
        EXPECT_EQ(e.methodName, c.methodName);
        EXPECT_EQ(DateText(e.date), DateText(UnixToDateTimeNow(0x68BB020E)));
        EXPECT_EQ(lister_->VersionMadeBy, 2);
        EXPECT_TRUE(errors_.empty());
        EXPECT_EQ(totals_, 1);
    }
}

TEST_F(OlderCorpusTest, ArcFolderRecordsAndShowBlankDirs)
{
    const std::string path = mx::test::FixtureDir() + "/arc/libxmp/arc-subdir-6.arc";
    EXPECT_EQ(List(path), std::vector<std::string>{"CRYSTALS\\CRYSTALS.669|26618|8941|12da"});
    lister_->SetShowBlankDirs(true);
    const auto rows = List(path);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 9), "CRYSTALS\\");
}

TEST_F(OlderCorpusTest, ZooNumbersAndLoops)
{
    const std::vector<std::pair<std::string, std::string>> files{{"one.txt", "first entry"}, {"dir/two.txt", "second"}};
    mx::test::WriteFile(dir_ + "/t.zoo", MakeZoo(files));
    const auto rows = List(dir_ + "/t.zoo");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].substr(0, 12), "dir\\two.txt|");
    EXPECT_EQ(filenums_, (std::vector<int>{1, 2}));
    EXPECT_EQ(totals_, 2);
    // The first entry points at itself, then before the start: one entry, then 25108.
    for (int32_t target : {34, 10}) {
        mx::test::WriteFile(dir_ + "/loop.zoo", MakeZoo(files, {0, target}));
        List(dir_ + "/loop.zoo");
        EXPECT_EQ(rows_.size(), 1u);
        EXPECT_EQ(errors_, std::vector<int>{25108});
    }
}

// A packed size that is negative as a signed number, or that runs past the end of the file, ends the
// ARC, BH, HA and ARJ walks with the damaged-archive report after the entry, instead of sending them
// backwards or on into nothing.
TEST_F(OlderCorpusTest, OversizedSizesEndWithAReport)
{
    const std::string arc = Bytes{}.u8(0x1A).u8(2).str("A.TXT", 13).u32(3).u16(0x5821).u16(0x6000).u16(Crc16Of("abc"))
                                .u32(3).str("abc").u8(0x1A).u8(2).str("B.TXT", 13).u32(3).u16(0x5821).u16(0x6000)
                                .u16(Crc16Of("def")).u32(3).str("def").u8(0x1A).u8(0).s;
    const std::string bh = MakeBh({{"a.txt", 0, false, "abc"}, {"b.txt", 0, false, "def"}});
    const std::string ha = MakeHa({{"", "a.txt", "abc"}, {"", "b.txt", "def"}});
    const std::string arj = mx::test::ReadFile(mx::test::FixtureDir() + "/arj/commons-compress/bla.arj");
    const size_t arjBasic = test::ArjFirstBasicHeader(arj);
    struct Format {
        const char* ext;
        std::string bytes;
        size_t packedAt;  // where the first entry's packed size is
    };
    for (const Format& f : {Format{"arc", arc, 15}, Format{"bh", bh, 15}, Format{"ha", ha, 5},
                            Format{"arj", arj, arjBasic + 12}}) {
        for (const uint32_t packed : {0xFFFFFFF0u, 0x80000000u, 0x7FFFFFFFu, uint32_t(f.bytes.size())}) {
            SCOPED_TRACE(std::string(f.ext) + " " + std::to_string(packed));
            std::string bytes = f.bytes;
            test::PutLe32(bytes, f.packedAt, packed);
            if (std::string(f.ext) == "arj")
                test::MendArjHeaderCrc(bytes, arjBasic);
            const std::string path = dir_ + "/big." + f.ext;
            mx::test::WriteFile(path, bytes);
            List(path);
            EXPECT_EQ(rows_.size(), 1u);
            EXPECT_EQ(errors_, std::vector<int>{25108});
        }
    }
}

TEST_F(OlderCorpusTest, SixVolumeArjSet)
{
    auto split = List(mx::test::FixtureDir() + "/arj/sharpcompress/Arj.store.split.arj");
    for (auto& row : split)
        row = row.substr(0, row.rfind('|'));
    // Folder entries match "*.*" like files do.
    EXPECT_EQ(split, (std::vector<std::string>{"EXE\\TEST.EXE|45056|45056", "JPG\\TEST.JPG|40372|40372", "EXE|0|0",
                                               "JPG|0|0", "TECT.TXT|15498|15498"}));
    EXPECT_EQ(volumeIds_, (std::vector<std::string>{"Arj.store.split.arj", "Arj.store.split.a02", "Arj.store.split.a04",
                                                    "Arj.store.split.a04", "Arj.store.split.a04"}));
    EXPECT_EQ(asked_.size(), 5u);
}

}  // namespace
}  // namespace engine
