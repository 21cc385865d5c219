// Compressed entries the fixture corpus lacks, made from streams the test writes (RAR 2.0 audio blocks
// with one to four channels, table changes, solid entries continuing tables, window and predictor)
// and checked against unar; password retries and skipped entries of a solid encrypted archive through the library's
// entry points and through TUnRAR; a filter program the library does not run; damaged and truncated
// variants of a real archive.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/codec/bytestream.h"
#include "engine/codec/rar_unpack.h"
#include "engine/codec/testenc/rar_testenc.h"
#include "engine/formats/rar/testdata/unrar_test_fixture.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using mx::codec::testenc::MsbWriter;
using mx::codec::testenc::Rar20Writer;
using mx::codec::testenc::Rar29Writer;
using test::RarTestEntry;
using test::RarTestWriter;
using test::RemoveTree;
using test::RunUnix;
using test::Tree;
using test::UnRarTest;

std::string AsString(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// Deltas that a sound encoder would give: mostly small, now and then large.
void Deltas(Rar20Writer& w, size_t count, uint32_t seed)
{
    std::mt19937 rng(seed);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t r = rng();
        w.Delta(uint8_t(r % 16 == 0 ? r >> 8 : (r >> 8) % 9 - 4));
    }
}

// One generated entry: its packed stream and unpacked size.
struct Generated {
    std::string name;
    std::vector<uint8_t> packed;
    size_t size;
    bool solid = false;
};

std::vector<Generated> AudioSet()
{
    std::vector<Generated> set;
    for (unsigned channels = 1; channels <= 4; ++channels) {
        Rar20Writer w;
        w.AudioTables(channels);
        Deltas(w, 3001, channels);
        set.push_back({"audio" + std::to_string(channels) + ".wav", w.w.Finish(), 3001});
    }
    // Blocks switching between LZ and audio, the LZ match reaching into the audio bytes.
    Rar20Writer w;
    w.LzTables();
    for (char c : std::string("header of the sound data"))
        w.Literal(uint8_t(c));
    w.TableCode();
    w.AudioTables(2);
    Deltas(w, 1000, 9);
    w.TableCode();
    w.LzTables();
    w.Match(40, 500);
    w.Literal('!');
    set.push_back({"mixed.bin", w.w.Finish(), 24 + 1000 + 40 + 1});
    // Solid entries: the second continues the first's tables and reaches back into its bytes, then
    // switches to audio; the third continues the audio block and its predictor.
    Rar20Writer first;
    first.LzTables();
    for (int i = 0; i < 200; ++i)
        first.Literal(uint8_t("solid text, "[i % 12]));
    Rar20Writer second;
    second.Match(100, 150);
    second.TableCode();
    second.AudioTables(2);
    Deltas(second, 301, 6);
    Rar20Writer third;
    Deltas(third, 500, 7);
    set.push_back({"solid1.txt", first.w.Finish(), 200});
    set.push_back({"solid2.bin", second.w.Finish(), 401, true});
    set.push_back({"solid3.bin", third.w.Finish(), 500, true});
    return set;
}

TEST_F(UnRarTest, GeneratedRar20StreamsMatchUnar)
{
    // What the entries unpack to, as our decoder gives it; unar must agree, CRC included.
    std::vector<RarTestEntry> entries;
    mx::codec::RarUnpacker unpacker;
    for (const Generated& g : AudioSet()) {
        SCOPED_TRACE(g.name);
        std::vector<uint8_t> out;
        mx::codec::SpanSource in(g.packed);
        mx::codec::VectorSink sink(out);
        mx::codec::RarUnpackParams p;
        p.version = 20;
        p.dictionary = 0x10000;
        p.solid = g.solid;
        p.size = g.size;
        ASSERT_EQ(unpacker.Unpack(in, sink, p), mx::codec::Status::Ok);
        RarTestEntry e{g.name, AsString(g.packed), false, 0x5A6B1234, 0x33};
        e.version = 20;
        e.unpacked = AsString(out);
        e.solid = g.solid;
        entries.push_back(e);
    }
    Write("generated", entries);
    ASSERT_EQ(RunUnix(dir_, "rm -rf u && unar -q -D -o u generated.rar && find u -type l -delete"), 0)
        << "unar failed (or is missing: install the Debian package unar)";
    EXPECT_TRUE(Run(dir_ + "/generated.rar"));
    EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
    std::map<std::string, std::string> want;
    for (const auto& e : entries)
        want[e.name] = test::Digest(e.unpacked);
    EXPECT_EQ(Tree(dir_ + "/u"), want);
    EXPECT_EQ(Tree(dir_ + "/out"), want);
    RemoveTree(dir_ + "/out");
    RunUnix(dir_, "rm -rf u");
}

// The data callback of the library-level test: everything the entry being processed gives.
std::string g_data;
int UNRAR_CALL Collect(unsigned char* block, int size)
{
    g_data.append(reinterpret_cast<const char*>(block), size_t(size));
    return 1;
}

TEST_F(UnRarTest, SolidEncryptedEntriesRetryAndCatchUpThroughTheLibrary)
{
    const UnRARFunctions& lib = UnRAR();
    std::string name = mx::test::FixtureDir() + "/rar/libarchive/test_read_format_rar4_solid_encrypted.rar";
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = lib.OpenArchive(&open);
    ASSERT_NE(handle, nullptr);
    lib.SetProcessDataProc(handle, &Collect);
    RARHeaderData header{};
    const auto step = [&](const char* password, int operation) {
        if (password)
            lib.SetPassword(handle, const_cast<char*>(password));
        g_data.clear();
        return lib.ProcessFile(handle, operation, nullptr, nullptr);
    };
    std::string right = "password", wrong = "wrong";
    // a.txt: a wrong password fails and leaves the entry pending; the right one then decodes it.
    ASSERT_EQ(lib.ReadHeader(handle, &header), 0);
    EXPECT_EQ(step(wrong.c_str(), RAR_TEST), ERAR_BAD_DATA);
    EXPECT_EQ(step(right.c_str(), RAR_TEST), 0);
    EXPECT_EQ(g_data, "This is from a.txt");
    // b.txt skipped; c.txt needs it decoded first.
    ASSERT_EQ(lib.ReadHeader(handle, &header), 0);
    EXPECT_EQ(step(nullptr, RAR_SKIP), 0);
    ASSERT_EQ(lib.ReadHeader(handle, &header), 0);
    EXPECT_EQ(step(nullptr, RAR_TEST), 0);
    EXPECT_EQ(g_data, "This is from c.txt");
    // d.txt: a wrong password spoils the solid state; the retry decodes the stream again from a.txt
    // with the passwords that worked.
    ASSERT_EQ(lib.ReadHeader(handle, &header), 0);
    EXPECT_EQ(step(wrong.c_str(), RAR_TEST), ERAR_BAD_DATA);
    EXPECT_EQ(step(right.c_str(), RAR_TEST), 0);
    EXPECT_EQ(g_data, "This is from d.txt");
    EXPECT_EQ(lib.ReadHeader(handle, &header), ERAR_END_ARCHIVE);
    lib.CloseArchive(handle);
}

TEST_F(UnRarTest, PasswordAnswersForEncryptedDataAndHeaders)
{
    std::vector<std::string> answers;
    rar_->OnGetPassword.Bind(&answers, [](void* p, fw::TObject*, const std::string&, std::string& password, bool& tryAgain) {
        auto& a = *static_cast<std::vector<std::string>*>(p);
        if (a.empty()) {
            tryAgain = false;
            return;
        }
        password = a.front();
        a.erase(a.begin());
    });
    const std::string fixtures = mx::test::FixtureDir() + "/rar/";
    struct Case {
        const char* archive;
        std::vector<std::string> answers;
        std::vector<int> errors;
        size_t passes;
    };
    const Case cases[] = {
        // A wrong answer for a solid encrypted entry, then the right one for all four.
        {"libarchive/test_read_format_rar4_solid_encrypted.rar", {"wrong", "password"}, {26517}, 4},
        // Encrypted headers: asked for before the first header; three wrong answers end the run.
        {"rarfile/rar3-comment-hpsw.rar", {"a", "b", "c", "password"}, {26517, 26517, 26517}, 0},
        {"rarfile/rar3-comment-hpsw.rar", {"a", "password"}, {26517}, 2},
        // No answer at all: the run ends without a report.
        {"rarfile/rar3-comment-hpsw.rar", {}, {}, 0},
        {"libarchive/test_read_format_rar_encryption_data.rar", {}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive);
        events_.clear();
        errors_.clear();
        answers = c.answers;
        EXPECT_TRUE(Run(fixtures + c.archive, true));
        EXPECT_EQ(errors_, c.errors);
        EXPECT_EQ(size_t(std::count_if(events_.begin(), events_.end(), [](const std::string& e) { return e.rfind("pass", 0) == 0; })),
                  c.passes)
            << ::testing::PrintToString(events_);
    }
}

// A filter program of the archive's own fails its entry as an unsupported format; the library walks
// on to the next entry, while TUnRAR ends its run with the report.
TEST_F(UnRarTest, FilterProgramsOtherThanTheStandardOnes)
{
    Rar29Writer w;
    MsbWriter record;
    for (const auto& [value, bits] : std::vector<std::pair<uint32_t, unsigned>>{
             {0, 2}, {0, 4}, {0, 2}, {0, 4}, {0, 2}, {4, 4}, {0, 2}, {4, 4}})  // program 0, start 0, 4 bytes, 4 bytes of code
        record.Put(value, bits);
    for (uint8_t b : {uint8_t(7 ^ 8 ^ 9), uint8_t(7), uint8_t(8), uint8_t(9)})
        record.Byte(b);
    w.Filter(0x80 | 0x20, record.Finish());
    for (char c : std::string("data"))
        w.Literal(uint8_t(c));
    w.EndOfFile();
    RarTestEntry packed{"custom.bin", AsString(w.w.Finish()), false, 0x5A6B1234, 0x33};
    packed.unpacked = "data";
    const std::string archive = Write("custom", {{"first.txt", "first"}, packed, {"after.txt", "after"}});
    const std::vector<int> results = test::ExtractWithLibrary(archive, dir_ + "/lib");
    EXPECT_EQ(results, (std::vector<int>{0, ERAR_UNKNOWN_FORMAT, 0}));
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/lib/after.txt"), "after");
    EXPECT_FALSE(fs::exists(dir_ + "/lib/custom.bin"));
    EXPECT_TRUE(Run(archive));
    EXPECT_EQ(events_, (std::vector<std::string>{"begin first.txt", "pass first.txt", "begin custom.bin"}));
    EXPECT_EQ(errors_, std::vector<int>{25242});
}

// Offset of the packed data of the Index-th file header, by walking the blocks.
size_t FileDataOffset(const std::string& archive, int index)
{
    const auto le16 = [&](size_t p) { return size_t(uint8_t(archive[p])) | size_t(uint8_t(archive[p + 1])) << 8; };
    const auto le32 = [&](size_t p) { return le16(p) | le16(p + 2) << 16; };
    size_t pos = 7 + le16(7 + 5);
    for (;;) {
        const size_t headSize = le16(pos + 5);
        const bool file = uint8_t(archive[pos + 2]) == 0x74;
        const size_t data = (uint16_t(le16(pos + 3)) & 0x8000) || file ? le32(pos + 7) : 0;
        if (file && index-- == 0)
            return pos + headSize;
        pos += headSize + data;
    }
}

TEST_F(UnRarTest, DamagedAndTruncatedCompressedEntries)
{
    const std::string real = mx::test::ReadFile(mx::test::FixtureDir() + "/rar/sharpcompress/Rar.rar");
    // A changed byte inside the first entry's packed data fails that entry; the walk goes on.
    std::string damaged = real;
    damaged[FileDataOffset(real, 0) + 1000] ^= 0x5A;
    mx::test::WriteFile(dir_ + "/damaged.rar", damaged);
    EXPECT_TRUE(Run(dir_ + "/damaged.rar", true));
    EXPECT_EQ(events_.size(), 6u) << ::testing::PrintToString(events_);
    EXPECT_EQ(events_[1].rfind("FAIL", 0), 0u);
    EXPECT_EQ(events_[3], "pass test.exe");
    EXPECT_EQ(events_[5], "pass test.jpg");
    EXPECT_TRUE(errors_.empty());
    // An archive cut inside the second entry: the first passes, the second is reported unreadable.
    events_.clear();
    mx::test::WriteFile(dir_ + "/cut.rar", real.substr(0, FileDataOffset(real, 1) + 5000));
    EXPECT_TRUE(Run(dir_ + "/cut.rar", true));
    EXPECT_EQ(events_.size(), 3u) << ::testing::PrintToString(events_);
    EXPECT_EQ(events_[2], "begin test.exe");
    EXPECT_EQ(errors_, std::vector<int>{25236});
}

}  // namespace
}  // namespace engine
