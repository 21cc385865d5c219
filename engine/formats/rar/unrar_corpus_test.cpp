// Every RAR archive of the fixture corpus through TUnRAR and our library, natively and under Wine,
// against what unar extracts from the same file (unar runs as a Unix program in both cases). unar
// cannot decrypt AES data: those archives are compared with a plain twin, or with the contents the
// archive's source states. Names beyond ASCII differ in form (code page against UTF-8), so files are
// matched by path where the path is ASCII and by content otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/formats/rar/testdata/unrar_test_fixture.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::Digest;
using test::ExtractWithLibrary;
using test::RemoveTree;
using test::RunUnix;
using test::Tree;
using test::UnRarTest;

struct CorpusCase {
    const char* archive;    // below testing/fixtures/rar
    std::vector<std::string> passwords;  // answered in turn when TUnRAR asks
    const char* oracle = nullptr;        // the archive unar extracts instead (a plain twin)
    std::map<std::string, std::string> stated = {};  // contents unar cannot give, by path
    std::vector<int> errors = {};        // reports expected
    // Hundreds of megabytes: tested rather than extracted, and unar's output taken as a stream whose
    // CRC must be the one the archive stores (which the library has checked ours against).
    const char* streamCrc = nullptr;
    // Self-extractors: the engine's type detection finds no archive behind these stubs, so TUnRAR
    // refuses them; the library extracts them through its entry points.
    bool stub = false;
    std::vector<std::string> unarFails = {};  // entries unar cannot unpack (our library checks their CRC)
};

std::string FromSource(const char* name)
{
    return std::string("This is from ") + name;
}

const std::vector<CorpusCase>& Corpus()
{
    static const std::vector<CorpusCase> cases = {
        {"libarchive/test_read_format_rar.rar", {}},
        {"libarchive/test_read_format_rar3_lowdist_reset.rar", {}},
        {"libarchive/test_read_format_rar_compress_best.rar", {}},
        {"libarchive/test_read_format_rar_compress_normal.rar", {}},
        {"libarchive/test_read_format_rar_filter.rar", {}},
        {"libarchive/test_read_format_rar_multi_lzss_blocks.rar", {}},
        {"libarchive/test_read_format_rar_multivolume.part0001.rar", {}, nullptr, {}, {}, "f72b4477"},
        {"libarchive/test_read_format_rar_noeof.rar", {}},
        {"libarchive/test_read_format_rar_ppmd_lzss_conversion.rar", {}, nullptr, {}, {}, "f72b4477"},
        {"libarchive/test_read_format_rar_sfx.exe", {}, nullptr, {}, {25242}, nullptr, true},
        {"libarchive/test_read_format_rar_subblock.rar", {}},
        {"libarchive/test_read_format_rar_unicode.rar", {}},
        {"libarchive/test_read_format_rar_windows.rar", {}},
        {"libarchive/test_rar_multivolume_uncompressed_files.part01.rar", {}},
        // b.txt takes "password", d.txt "password2": the first answer is kept and fails d.txt once.
        {"libarchive/test_read_format_rar4_encrypted.rar",
         {"password", "password2"},
         nullptr,
         {{"b.txt", FromSource("b.txt")}, {"d.txt", FromSource("d.txt")}},
         {26517}},
        {"libarchive/test_read_format_rar4_encrypted_filenames.rar",
         {"password"},
         "libarchive/test_read_format_rar4_encrypted.rar",
         {{"a.txt", FromSource("a.txt")}, {"b.txt", FromSource("b.txt")}, {"c.txt", FromSource("c.txt")},
          {"d.txt", FromSource("d.txt")}}},
        {"libarchive/test_read_format_rar4_solid_encrypted.rar",
         {"password"},
         "libarchive/test_read_format_rar4_encrypted.rar",
         {{"a.txt", FromSource("a.txt")}, {"b.txt", FromSource("b.txt")}, {"c.txt", FromSource("c.txt")},
          {"d.txt", FromSource("d.txt")}}},
        {"rarfile/rar15-comment.rar", {}, nullptr, {}, {}, nullptr, false, {"FILE1.TXT"}},
        {"rarfile/rar15-comment-lock.rar", {}, nullptr, {}, {}, nullptr, false, {"FILE1.TXT"}},
        {"rarfile/rar2-unix-owner.rar", {}},
        {"rarfile/rar202-comment-nopsw.rar", {}},
        {"rarfile/rar202-comment-psw.rar", {"password"}, "rarfile/rar202-comment-nopsw.rar"},
        {"rarfile/rar3-comment-hpsw.rar", {"password"}, "rarfile/rar3-comment-plain.rar"},
        {"rarfile/rar3-comment-plain.rar", {}},
        {"rarfile/rar3-comment-psw.rar", {"password"}, "rarfile/rar3-comment-plain.rar"},
        {"rarfile/rar3-old.rar", {}},
        {"rarfile/rar3-readonly-win.rar", {}},
        {"rarfile/rar3-solid.rar", {}},
        {"rarfile/rar3-subdirs.rar", {}},
        {"rarfile/rar3-vols.part1.rar", {}},
        {"rarfile/seektest.rar", {}},
        {"rarfile/unicode.rar", {}},
        {"sharpcompress/Rar.comment.rar", {}},
        {"sharpcompress/Rar.EncryptedParts.part01.rar", {"test"}, "sharpcompress/Rar.rar"},
        {"sharpcompress/Rar.encrypted_filesAndHeader.rar", {"test"}, "sharpcompress/Rar.rar"},
        {"sharpcompress/Rar.encrypted_filesOnly.rar", {"test"}, "sharpcompress/Rar.rar"},
        {"sharpcompress/Rar.none.rar", {}},
        {"sharpcompress/Rar.rar", {}},
        {"sharpcompress/Rar.solid.rar", {}},
        {"sharpcompress/Rar15.rar", {}},
        {"sharpcompress/Rar2.multi.rar", {}},
        {"sharpcompress/Rar2.rar", {}},
        {"sharpcompress/Rar4.multi.part01.rar", {}},
        {"ssokolow/testfile.rar3.av.rar", {}},
        {"ssokolow/testfile.rar3.cbr", {}},
        {"ssokolow/testfile.rar3.dos_sfx.exe", {}, nullptr, {}, {25242}, nullptr, true},
        {"ssokolow/testfile.rar3.locked.rar", {}},
        {"ssokolow/testfile.rar3.rar", {}},
        {"ssokolow/testfile.rar3.rr.rar", {}},
        {"ssokolow/testfile.rar3.solid.rar", {}},
        {"ssokolow/testfile.rar3.wincon.sfx.exe", {}, nullptr, {}, {25242}, nullptr, true},
        {"ssokolow/testfile.rar3.wingui.sfx.exe", {}, nullptr, {}, {25242}, nullptr, true},
    };
    return cases;
}

bool IsAscii(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return uint8_t(c) < 0x80; });
}

class RarCorpusTest : public UnRarTest {
public:
    void SetUp() override
    {
        UnRarTest::SetUp();
        rar_->OnGetPassword.Bind(this, &RarCorpusTest::Password);
    }
    void Password(fw::TObject*, const std::string&, std::string& password, bool& tryAgain)
    {
        if (answers_.empty()) {
            tryAgain = false;
            return;
        }
        password = answers_.front();
        answers_.erase(answers_.begin());
    }
    std::vector<std::string> answers_;
};

TEST_F(RarCorpusTest, RarCorpusMatchesUnar)
{
    const std::string fixtures = mx::test::FixtureDir() + "/rar";
    const std::string unixFixtures = std::string(std::getenv("MX_SOURCE_DIR")) + "/testing/fixtures/rar";
    ASSERT_EQ(RunUnix(dir_, "command -v unar"), 0) << "unar is missing: install the Debian package unar";
    for (const CorpusCase& c : Corpus()) {
        SCOPED_TRACE(c.archive);
        errors_.clear();
        events_.clear();
        RemoveTree(dir_ + "/out");
        if (c.streamCrc) {
            // The big entry comes first in both archives.
            const std::string crc = "import sys, zlib\nc = 0\nfor b in iter(lambda: sys.stdin.buffer.read(1 << 20), b''):\n"
                                    "    c = zlib.crc32(b, c)\nprint('%08x' % c)\n";
            mx::test::WriteFile(dir_ + "/crc.py", crc);
            ASSERT_EQ(RunUnix(dir_, "unar -q -o - '" + unixFixtures + "/" + c.archive +
                                        "' ppmd_lzss_conversion_test.txt | python3 crc.py > crc.txt"),
                      0);
            EXPECT_EQ(mx::test::ReadFile(dir_ + "/crc.txt"), std::string(c.streamCrc) + "\n");
            EXPECT_TRUE(Run(fixtures + "/" + c.archive, true));
            EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
            EXPECT_FALSE(events_.empty());
            for (const auto& e : events_)
                EXPECT_EQ(e.rfind("FAIL", 0), std::string::npos) << e;
            continue;
        }
        // unar answers non-zero for entries it cannot unpack (the AES ones, one RAR 1.5 entry): the
        // files it did unpack are compared, and our library checks every CRC.
        const std::string oracle = c.oracle ? c.oracle : c.archive;
        const std::string password = !c.oracle && !c.passwords.empty() ? " -p '" + c.passwords.front() + "'" : "";
        // unar makes Unix symbolic links, which Windows programs do not see as links: they go, and
        // the Unix side removes the folder again (under Wine a link can stall the removal).
        RunUnix(dir_, "rm -rf u; unar -q -D -o u" + password + " '" + unixFixtures + "/" + oracle + "'; find u -type l -delete");
        answers_ = c.passwords;
        EXPECT_TRUE(Run(fixtures + "/" + c.archive));
        EXPECT_EQ(errors_, c.errors) << ::testing::PrintToString(events_);
        if (c.stub) {
            EXPECT_TRUE(events_.empty());
            const std::vector<int> results = ExtractWithLibrary(fixtures + "/" + c.archive, dir_ + "/out");
            EXPECT_FALSE(results.empty());
            EXPECT_EQ(std::count(results.begin(), results.end(), 0), std::ptrdiff_t(results.size()))
                << ::testing::PrintToString(results);
        }
        EXPECT_EQ(std::count_if(events_.begin(), events_.end(), [](const std::string& e) { return e.rfind("FAIL", 0) == 0; }),
                  0)
            << ::testing::PrintToString(events_);
        auto theirs = Tree(dir_ + "/u");
        for (const auto& [path, bytes] : c.stated)
            theirs[path] = Digest(bytes);
        for (const auto& path : c.unarFails)
            theirs.erase(path);
        const auto ours = Tree(dir_ + "/out");
        EXPECT_FALSE(theirs.empty());
        std::multiset<std::string> ourContents;
        for (const auto& [path, digest] : ours)
            ourContents.insert(digest);
        for (const auto& [path, digest] : theirs) {
            if (IsAscii(path))
                EXPECT_TRUE(ours.count(path) && ours.at(path) == digest) << path;
            else
                EXPECT_TRUE(ourContents.count(digest)) << path;
        }
        RemoveTree(dir_ + "/out");
    }
    RunUnix(dir_, "rm -rf u");
}

}  // namespace
}  // namespace engine
