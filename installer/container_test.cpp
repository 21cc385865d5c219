// The archive container: layouts as an independent reader sees them (installer/testkit/
// container_reader.py, Python's zlib), add mode, volumes with staged short writes, extraction rules,
// and damaged archives.
#include "installer/container.h"

#include <gtest/gtest.h>

#include <map>

#include "framework/core/format.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/testkit/support.h"
#include "testing/test_env.h"

namespace inst {
namespace {

using test::InstallerTest;
using test::Pattern;
using test::Slurp;
using test::Spit;

int32_t Le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}
void Put32(std::string& s, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
}

class Container : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        // Entries are named as they were added: relative names keep them short.
        saved = fw::GetCurrentDir();
        fw::SetCurrentDir(dir);
        archive = fw::Make<TQnfdCompress>(nullptr);
        archive->SetCompressedFile(dir + "out/files.1");
    }
    void TearDown() override {
        archive->Free();
        fw::SetCurrentDir(saved);
        InstallerTest::TearDown();
    }
    // Writes source files and compresses them in one call.
    void Compress(const std::map<std::string, std::string>& files, bool add = false, int id = 0) {
        fw::TStringList list;
        for (const auto& [name, bytes] : files) {
            Spit(dir + "src/" + name, bytes);
            list.Add("src/" + name);
        }
        archive->SetFilesToProcess(&list);
        archive->Compress(add, id);
    }
    void Extract(const std::string& name, const std::string& to) {
        fw::TStringList list;
        list.Add("src/" + name);
        archive->SetExtractDirectory(to);
        archive->SetFilesToProcess(&list);
        archive->ExtractAll();
    }
    // The independent reader's listing of an archive, each entry inflated into `out`.
    std::string Listing(const std::string& path, const std::string& out, int64_t offset = 0) {
        std::string text;
        const int rc = test::Python(test::TestData() + "/container_reader.py " + path + " " + out + " " +
                                        std::to_string(offset),
                                    &text);
        EXPECT_EQ(rc, 0) << text;
        return text;
    }
    std::string Src(const std::string& name) { return "src/" + name; }
    TQnfdCompress* archive = nullptr;
    std::string saved;
};

TEST_F(Container, TwoFilesInOneCallLieHeaderDataHeaderData) {
    const std::string a = Pattern(100000, 1, true), b = Pattern(70000, 2, false);
    Compress({{"a.txt", a}, {"b.bin", b}}, false, 7);
    const std::string bytes = Slurp(dir + "out/files.1");
    EXPECT_EQ(Le32(bytes, 0), 2);
    EXPECT_EQ(bytes[4], 0) << "layout 0";
    EXPECT_EQ(Le32(bytes, 5), 1) << "header 1 at position 5, entry number 1";
    const int32_t next = Le32(bytes, 5 + 124);
    EXPECT_EQ(Le32(bytes, static_cast<size_t>(next)), 2) << "header 2 at header 1's next-header position";
    EXPECT_EQ(Listing(dir + "out/files.1", dir + "py"),
              "1 " + Src("a.txt") + " 100000 1 1 7 \n2 " + Src("b.bin") + " 70000 1 1 7 \n");
    EXPECT_EQ(Slurp(dir + "py/a.txt"), a);
    EXPECT_EQ(Slurp(dir + "py/b.bin"), b);
    Extract("b.bin", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/b.bin"), b);
    EXPECT_EQ(fw::FileAge(dir + "x/b.bin"), fw::FileAge(Src("b.bin"))) << "the source's DOS date";
    fw::TStringList longName;
    longName.Add(dir + std::string(100, 'n'));
    archive->SetFilesToProcess(&longName);
    EXPECT_THROW(archive->Compress(false, 0), EQnfdCompress) << "a name an entry cannot hold is refused, not cut";
    EXPECT_EQ(archive->GetEntryIndexById(7), 1) << "the last entry with the id";
    EXPECT_EQ(archive->GetEntryIndexById(2500), 0) << "an id beyond the table";
}

TEST_F(Container, AddModeKeepsTheOldEntriesAndNumbersTheNewFromOne) {
    Compress({{"a.txt", Pattern(5000, 1, true)}});
    const std::string before = Slurp(dir + "out/files.1");
    Compress({{"c.txt", Pattern(6000, 3, true)}, {"d.txt", Pattern(100, 4, true)}}, true, 9);
    const std::string after = Slurp(dir + "out/files.1");
    EXPECT_EQ(Le32(after, 0), 3);
    EXPECT_EQ(after.substr(4, before.size() - 4), before.substr(4)) << "old header and data untouched";
    EXPECT_EQ(Listing(dir + "out/files.1", dir + "py"),
              "1 " + Src("a.txt") + " 5000 1 1 0 \n1 " + Src("c.txt") + " 6000 1 1 9 \n2 " + Src("d.txt") +
                  " 100 1 1 9 \n");
}

TEST_F(Container, AnAbortedAddLeavesTheOldArchiveReadable) {
    // The count on disk is only raised for complete entries: an abort halfway through a new entry
    // leaves the archive exactly as it was.
    Compress({{"a.txt", Pattern(5000, 1, true)}});
    const std::string before = Slurp(dir + "out/files.1");
    bool aborted = false;
    archive->OnStatus.Bind(nullptr, [&](void*, fw::TObject*, const TlzhFileStats&) { archive->SetAbort(true); });
    archive->OnAborted.Bind(nullptr, [&](void*, fw::TObject*) { aborted = true; });
    Compress({{"big.bin", Pattern(400000, 5, false)}}, true);
    EXPECT_TRUE(aborted);
    EXPECT_EQ(Slurp(dir + "out/files.1"), before);
    archive->OnStatus.Reset();
    archive->ReadHeaders();
    EXPECT_EQ(archive->Headers().Count(), 1);
    Extract("a.txt", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/a.txt"), Pattern(5000, 1, true));
}

TEST_F(Container, AMissingSourceLeavesAnExistingArchiveAlone) {
    Compress({{"a.txt", "hello"}});
    const std::string before = Slurp(dir + "out/files.1");
    fw::TStringList list;
    list.Add("src/none.txt");
    archive->SetFilesToProcess(&list);
    EXPECT_THROW(archive->Compress(false, 0), EQnfdCompress);
    EXPECT_TRUE(archive->Abort()) << "an error sets the abort flag";
    EXPECT_EQ(Slurp(dir + "out/files.1"), before);
}

TEST_F(Container, ZeroByteFilesCompressAndExtract) {
    std::vector<int> percents;
    archive->OnStatus.Bind(nullptr, [&](void*, fw::TObject*, const TlzhFileStats& s) { percents.push_back(s.FilePercent); });
    Compress({{"empty.txt", ""}});
    Extract("empty.txt", dir + "x");
    EXPECT_TRUE(fw::FileExists(dir + "x/empty.txt"));
    EXPECT_EQ(Slurp(dir + "x/empty.txt"), "");
    for (int p : percents) EXPECT_EQ(p, 0);
    EXPECT_FALSE(percents.empty());
}

TEST_F(Container, OverwriteRulesSkipOrReplace) {
    Compress({{"a.txt", "new bytes"}});
    Spit(dir + "x/a.txt", "old");
    int replaced = 0;
    std::vector<bool> finished;
    archive->OnReplace.Bind(nullptr, [&](void*, fw::TObject*, const TlzhFileStats&) { ++replaced; });
    archive->OnStatus.Bind(nullptr, [&](void*, fw::TObject*, const TlzhFileStats& s) { finished.push_back(s.Finished); });
    archive->SetOverwrite(TOverwriteType::owNever);
    Extract("a.txt", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/a.txt"), "old");
    EXPECT_EQ(finished, std::vector<bool>{true}) << "skipped, reported finished";
    archive->SetOverwrite(TOverwriteType::owAlways);
    Extract("a.txt", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/a.txt"), "new bytes");
    EXPECT_EQ(replaced, 1);
    // owDate: the same DOS date is "same", so the entry is skipped.
    Spit(dir + "x/a.txt", "other");
    fw::FileSetDate(dir + "x/a.txt", fw::FileAge(Src("a.txt")));
    archive->SetOverwrite(TOverwriteType::owDate);
    Extract("a.txt", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/a.txt"), "other");
}

TEST_F(Container, ExtractAsNamesTheTarget) {
    Compress({{"a.txt", "bytes"}});
    archive->OnBeforeExtracting.Bind(nullptr, [&](void*, fw::TObject*, const TlzhFileStats&) {
        archive->SetExtractFileAs("renamed.1");
    });
    Extract("a.txt", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/renamed.1"), "bytes");
    EXPECT_FALSE(fw::FileExists(dir + "x/a.txt"));
    EXPECT_EQ(archive->ExtractFileAs(), "") << "cleared after each entry";
    fw::TStringList list;
    list.Add("nothing.txt");
    archive->SetFilesToProcess(&list);
    try {
        archive->ExtractAll();
        FAIL();
    } catch (const EQnfdCompress& e) {
        EXPECT_EQ(e.Message(), "The file <nothing.txt> was not found in the archive <" + dir + "out/files.1>");
    }
}

TEST_F(Container, AnEntrySpanningTwoVolumesReadsOnAtPositionZero) {
    const std::string a = Pattern(20000, 1, false), b = Pattern(30000, 2, false), c = Pattern(5000, 3, false);
    Compress({{"a.bin", a}, {"b.bin", b}, {"c.bin", c}});
    // Disks of 40,000 bytes: a fits, b runs from disk 1 to disk 2, c follows on disk 2.
    std::vector<std::string> opened;
    archive->StreamFactory = [&](const std::string& path, uint32_t mode) -> std::unique_ptr<fw::TStream> {
        opened.push_back(fw::ExtractFileName(path) + (mode == fw::fmCreate ? " create" : (mode & 3) ? " write" : " read"));
        const bool volume = path.find("disk") != std::string::npos;
        return std::make_unique<test::StagedStream>(path, mode, volume && mode == fw::fmCreate ? 40000 : -1, false);
    };
    std::vector<int> asked;
    archive->OnNewDisk.Bind(nullptr, [&](void*, fw::TObject*, int disk, std::string& path) { asked.push_back(disk); });
    fw::ForceDirectories(dir + "disk");
    archive->CopyToVolumes(dir + "disk", "files.1");
    EXPECT_EQ(asked, std::vector<int>{2});
    EXPECT_EQ(opened.front(), "files.1 read") << "the source is only read";
    ASSERT_TRUE(fw::FileExists(dir + "disk/files.2"));
    EXPECT_EQ(Slurp(dir + "disk/files.1").size(), 40000u);
    EXPECT_EQ(Listing(dir + "disk/files.1", dir + "py"),
              "1 " + Src("a.bin") + " 20000 1 1 0 \n2 " + Src("b.bin") + " 30000 1 2 0 \n3 " + Src("c.bin") +
                  " 5000 2 2 0 \n");
    EXPECT_EQ(Slurp(dir + "py/b.bin"), b);
    // Our own extraction from the volumes, one byte per read so that every block ends early.
    archive->StreamFactory = [](const std::string& path, uint32_t mode) -> std::unique_ptr<fw::TStream> {
        return std::make_unique<test::StagedStream>(path, mode, -1, true);
    };
    archive->SetCompressedFile(dir + "disk/files.1");
    Extract("b.bin", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/b.bin"), b);
    EXPECT_EQ(archive->CurrentVolume(), 2);
    EXPECT_EQ(archive->CompressedFile(), dir + "disk/files.2") << "names the volume last opened";
    archive->SetCompressedFile(dir + "disk/files.1");
    Extract("a.bin", dir + "x");
    Extract("c.bin", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/a.bin"), a);
    EXPECT_EQ(Slurp(dir + "x/c.bin"), c);
}

TEST_F(Container, SplittingWithoutANewDiskHandlerNamesTheProblem) {
    Compress({{"a.bin", Pattern(20000, 1, false)}});
    archive->StreamFactory = [&](const std::string& path, uint32_t mode) -> std::unique_ptr<fw::TStream> {
        return std::make_unique<test::StagedStream>(path, mode, path.find("disk") != std::string::npos ? 5000 : -1, false);
    };
    fw::ForceDirectories(dir + "disk");
    try {
        archive->CopyToVolumes(dir + "disk", "files.1");
        FAIL();
    } catch (const EQnfdCompress& e) {
        EXPECT_EQ(e.Message(), "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
    }
}

TEST_F(Container, AVolumeNotFoundAfterFourAnswersNamesTheLastPath) {
    Compress({{"a.bin", Pattern(20000, 1, false)}, {"b.bin", Pattern(30000, 2, false)}});
    archive->StreamFactory = [&](const std::string& path, uint32_t mode) -> std::unique_ptr<fw::TStream> {
        const bool small = path.find("disk") != std::string::npos && mode == fw::fmCreate;
        return std::make_unique<test::StagedStream>(path, mode, small ? 30000 : -1, false);
    };
    archive->OnNewDisk.Bind(nullptr, [](void*, fw::TObject*, int, std::string&) {});
    fw::ForceDirectories(dir + "disk");
    archive->CopyToVolumes(dir + "disk", "files.1");
    fw::DeleteFile(dir + "disk/files.2");
    int answers = 0;
    archive->OnNewDisk.Bind(nullptr, [&](void*, fw::TObject*, int, std::string& path) {
        path = dir + "try" + std::to_string(++answers);
    });
    archive->SetCompressedFile(dir + "disk/files.1");
    try {
        Extract("b.bin", dir + "x");
        FAIL();
    } catch (const EQnfdCompress& e) {
        EXPECT_EQ(e.Message(), "Cannot open the compressed file " + dir + "try4\\files.2");
    }
    EXPECT_EQ(answers, 4);
    EXPECT_FALSE(fw::FileExists(dir + "x/b.bin")) << "no partial file stays";
}

TEST_F(Container, AnArchiveInsideAnotherFileReadsAtItsOffset) {
    const std::string a = Pattern(3000, 1, true);
    Compress({{"a.txt", a}});
    const std::string stub = Pattern(12345, 9, false);
    Spit(dir + "setup.exe", stub + Slurp(dir + "out/files.1") + "trailer");
    EXPECT_EQ(Listing(dir + "setup.exe", dir + "py", 12345), "1 " + Src("a.txt") + " 3000 1 1 0 \n");
    archive->SetCompressedFile(dir + "setup.exe");
    archive->SetOffset(12345);
    Extract("a.txt", dir + "x");
    EXPECT_EQ(Slurp(dir + "x/a.txt"), a);
}

TEST_F(Container, StreamsEndingOnInputBoundariesExtract) {
    // Stored entries whose zlib streams end exactly at the 65,536-byte input block, and one byte
    // either side of it.
    archive->SetCompressionLevel(TCompressionLevel::colNone);
    for (int extra : {-1, 0, 1}) {
        // Stored data grows by a few bytes of framing: find the size that packs to the target.
        int64_t size = 65536 + extra;
        int32_t compressed = 0;
        for (int tries = 0; tries < 8; ++tries) {
            Compress({{"s.bin", Pattern(static_cast<size_t>(size), 7, false)}});
            compressed = archive->GetFileStats(0).CompressedSize;
            if (compressed == 65536 + extra) break;
            size -= compressed - (65536 + extra);
        }
        ASSERT_EQ(compressed, 65536 + extra);
        Extract("s.bin", dir + "x");
        EXPECT_EQ(Slurp(dir + "x/s.bin"), Pattern(static_cast<size_t>(size), 7, false)) << extra;
    }
}

TEST_F(Container, ArchivesWrittenByTheIndependentWriterExtract) {
    // The fuzz seeds come from a Python writer of the same layout (fuzz/make_container_seeds.py).
    const std::string seeds = mx::test::SourceDir() + "/installer/fuzz/seeds/container/";
    const std::string text = [] {
        std::string t;
        for (int i = 0; i < 40; ++i) t += "setup archive volume header entry install file ";
        return t;
    }();
    struct Case {
        const char* seed;
        const char* entry;
        std::string want;
    };
    std::string bytes;
    for (int i = 0; i < 3; ++i)
        for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    const Case cases[] = {{"two_files", "src\\b.bin", bytes}, {"volume1", "b.txt", text.substr(0, 300)},
                          {"empty_entry", "empty.txt", ""}};
    for (const Case& c : cases) {
        Spit(dir + "seed/files.1", Slurp(seeds + c.seed));
        archive->SetCompressedFile(dir + "seed/files.1");
        archive->ReadHeaders();  // the same name holds another archive now
        fw::TStringList list;
        list.Add(c.entry);
        archive->SetExtractDirectory(dir + "y");
        archive->SetFilesToProcess(&list);
        archive->ExtractAll();
        EXPECT_TRUE(Slurp(dir + "y/" + fw::ExtractFileName(c.entry)) == c.want) << c.seed;
    }
}

// ---- Damaged archives ------------------------------------------------------------------------------------

class DamagedContainer : public Container {
protected:
    void SetUp() override {
        Container::SetUp();
        Compress({{"a.txt", Pattern(9000, 1, true)}, {"b.txt", Pattern(9000, 2, true)}});
        good = Slurp(dir + "out/files.1");
    }
    // Writes `bytes` as the archive and returns the message of ReadHeaders ("" when it loads).
    std::string Load(const std::string& bytes) {
        Spit(dir + "out/files.1", bytes);
        archive->SetCompressedFile(dir + "other.1");
        archive->SetCompressedFile(dir + "out/files.1");
        try {
            archive->ReadHeaders();
        } catch (const EQnfdCompress& e) {
            return e.Message();
        }
        return "";
    }
    std::string good;
    const std::string corrupt =
        "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";
};

TEST_F(DamagedContainer, HeaderFaultsAreRefused) {
    const int32_t second = Le32(good, 5 + 124);
    struct Case {
        const char* why;
        size_t at;
        int32_t value;
        bool loads;
    };
    const Case cases[] = {
        {"a count the file cannot hold", 0, 3, false},
        {"a negative count", 0, -1, false},
        {"a huge count", 0, 0x7FFFFFFF, false},
        {"a chain that goes back", 5 + 124, 5, false},
        {"a chain that stands still", 5 + 124, 0, false},
        {"a chain past the end", 5 + 124, second + 500000, false},
        {"the original count", 0, 2, true},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        Put32(bytes, c.at, c.value);
        EXPECT_EQ(Load(bytes), c.loads ? "" : corrupt) << c.why;
    }
    EXPECT_EQ(Load(good.substr(0, 3)), corrupt) << "too short for the count";
}

TEST_F(DamagedContainer, LengthBytesAreClampedToTheirFields) {
    std::string bytes = good;
    bytes[5 + 20] = static_cast<char>(255);   // name length
    bytes[5 + 148] = static_cast<char>(200);  // version length
    ASSERT_EQ(Load(bytes), "");
    EXPECT_EQ(archive->Headers().FileHeaders(0).fileName.size(), 100u);
    EXPECT_EQ(archive->Headers().FileHeaders(0).fileVersion.size(), 20u);
}

TEST_F(DamagedContainer, DamagedDataFailsAndLeavesNoFile) {
    struct Case {
        const char* why;
        size_t at;  // within the first entry's data
        int32_t value;
    };
    const size_t data = 5 + 172;
    const Case cases[] = {{"damaged deflate data", data + 40, 0x7F7F7F7F}, {"a bad zlib header", data, 0}};
    for (const Case& c : cases) {
        std::string bytes = good;
        Put32(bytes, c.at, c.value);
        ASSERT_EQ(Load(bytes), "");
        EXPECT_THROW(Extract("a.txt", dir + "x"), fw::Exception) << c.why;
        EXPECT_FALSE(fw::FileExists(dir + "x/a.txt")) << c.why;
    }
    // A size that promises less than the data holds stops before writing more.
    std::string small = good;
    Put32(small, 5 + 128, 100);
    ASSERT_EQ(Load(small), "");
    EXPECT_THROW(Extract("a.txt", dir + "x"), EQnfdCompress);
    EXPECT_FALSE(fw::FileExists(dir + "x/a.txt"));
    // A truncated archive.
    ASSERT_EQ(Load(good.substr(0, good.size() - 100)), "");
    EXPECT_THROW(Extract("b.txt", dir + "x"), EQnfdCompress);
    EXPECT_FALSE(fw::FileExists(dir + "x/b.txt"));
}

TEST_F(Container, PlainCopiesFollowTheRules) {
    Spit(dir + "src/p.txt", Pattern(20000, 3, true));
    fw::ForceDirectories(dir + "x");
    std::vector<int> percents;
    archive->OnStatus.Bind(nullptr, [&](void*, fw::TObject*, const TlzhFileStats& s) { percents.push_back(s.TotalPercent); });
    archive->CopyFile(dir + "src/p.txt", dir + "x/p.txt");
    EXPECT_EQ(Slurp(dir + "x/p.txt"), Pattern(20000, 3, true));
    EXPECT_EQ(fw::FileAge(dir + "x/p.txt"), fw::FileAge(dir + "src/p.txt"));
    EXPECT_EQ(percents.back(), 100);
    Spit(dir + "x/p.txt", "old");
    archive->SetOverwrite(TOverwriteType::owNever);
    archive->CopyFile(dir + "src/p.txt", dir + "x/p.txt");
    EXPECT_EQ(Slurp(dir + "x/p.txt"), "old");
}

}  // namespace
}  // namespace inst
