// TUnGZIP over files that gzip, Python's gzip module and compress make at test time: names, dates,
// optional header fields, several members, every compress width, damaged and refused files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/common/testdata/test_bytes.h"
#include "engine/formats/entrystream/testing/extract_recorder.h"
#include "engine/formats/gzip/gzip_component.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

class GzipExtract : public ::testing::Test {
public:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        RegisterUnGzipClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        gz_ = fw::Make<TUnGZIP>(owner_);
        dir_ = mx::test::FreshDir();
        for (int i = 0; i < 40000; ++i)
            text_ += "Mary had a little lamb, its fleece was white as snow\n"[i % 53];
        for (int i = 0; i < 200000; ++i)
            text_ += char((i * 7919 + (i >> 5)) & 0xFF);
        mx::test::WriteFile(dir_ + "/report.txt", text_);
    }
    void TearDown() override { owner_->Free(); }

    // Extracts File into a fresh folder; returns the recorder.
    engine::test::ExtractRecorder Extract(const std::string& file, const std::string& out)
    {
        engine::test::ExtractRecorder rec;
        rec.Attach(*gz_);
        gz_->SetArchiveFile(dir_ + "/" + file);
        gz_->SetExtractDir(dir_ + "/" + out);
        EXPECT_EQ(gz_->ArcType(), TArcType::atGZip) << file;
        EXPECT_TRUE(gz_->Extract());
        return rec;
    }

    fw::TComponent* owner_ = nullptr;
    TUnGZIP* gz_ = nullptr;
    std::string dir_, text_;
};

TEST_F(GzipExtract, NamesAndMembers)
{
    ASSERT_TRUE(engine::test::RunIn(dir_,
                                    "touch -d '2016-07-08 09:10:11' report.txt && "
                                    "gzip -k report.txt && gzip -n < report.txt > data.tar.gz && "
                                    "touch -d '2012-03-04 05:06:08' data.tar.gz && "
                                    "gzip < report.txt > plain.tgz && cp report.txt.gz named.gz && "
                                    "cat report.txt.gz data.tar.gz > multi.gz && gzip -dc multi.gz > multi.out",
                                    "gzip", "gzip"));
    struct Case {
        const char* file;
        const char* output;
        std::string bytes;
    };
    const std::string twice = text_ + text_;
    for (const Case& c : {Case{"report.txt.gz", "report.txt", text_}, Case{"named.gz", "report.txt", text_},
                          Case{"data.tar.gz", "data.tar", text_}, Case{"plain.tgz", "plain.tar", text_},
                          Case{"multi.gz", "report.txt", twice}}) {
        SCOPED_TRACE(c.file);
        const std::string out = std::string("out_") + c.file;
        const auto rec = Extract(c.file, out);
        EXPECT_TRUE(rec.errors.empty());
        EXPECT_EQ(rec.Passed(), 1);
        EXPECT_EQ(rec.recNums, std::vector<int>{1});
        const std::string path = dir_ + "/" + out + "/" + c.output;
        ASSERT_TRUE(fs::exists(path));
        EXPECT_TRUE(mx::test::ReadFile(path) == c.bytes);
        // The stored modification time, to DOS precision; without one (gzip -n), the file's own date.
        EXPECT_EQ(test::FileDate(path), std::string(c.file) == "data.tar.gz" ? "2012-03-04 05:06:08" : "2016-07-08 09:10:10");
    }
    EXPECT_TRUE(mx::test::ReadFile(dir_ + "/multi.out") == twice);
}

// The optional fields that gzip itself never writes, from Python: extra field, comment, header CRC,
// and a stored name that tries to climb out of the extract folder.
TEST_F(GzipExtract, OptionalFieldsAndHostileName)
{
    const std::string script =
        "import zlib, struct\n"
        "d = open('report.txt','rb').read()\n"
        "c = zlib.compressobj(9, zlib.DEFLATED, -15); body = c.compress(d) + c.flush()\n"
        "def member(flags, extra=b'', name=b'', comment=b'', mtime=1700000000):\n"
        "    h = b'\\x1f\\x8b\\x08' + bytes([flags]) + struct.pack('<I', mtime) + b'\\x00\\x03'\n"
        "    if flags & 4: h += struct.pack('<H', len(extra)) + extra\n"
        "    if flags & 8: h += name + b'\\x00'\n"
        "    if flags & 16: h += comment + b'\\x00'\n"
        "    if flags & 2: h += struct.pack('<H', zlib.crc32(h) & 0xffff)\n"
        "    return h + body + struct.pack('<II', zlib.crc32(d), len(d) & 0xffffffff)\n"
        "open('all.gz','wb').write(member(2|4|8|16, b'AB\\x02\\x00hi', b'inner.txt', b'a comment'))\n"
        "open('evil.gz','wb').write(member(8, name=b'../../evil.txt'))\n"
        "open('zero.gz','wb').write(member(0, mtime=0))\n"
        "open('pack.z','wb').write(b'\\x1f\\x1e' + bytes(20))\n";
    mx::test::WriteFile(dir_ + "/make.py", script);
    ASSERT_TRUE(engine::test::RunIn(dir_, engine::test::Python() + " make.py", "python3", "python3"));

    auto rec = Extract("all.gz", "all");
    EXPECT_EQ(rec.Passed(), 1);
    EXPECT_TRUE(mx::test::ReadFile(dir_ + "/all/inner.txt") == text_);

    rec = Extract("evil.gz", "box/in");
    EXPECT_EQ(rec.Passed(), 1);
    EXPECT_TRUE(fs::exists(dir_ + "/box/in/evil.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/evil.txt"));

    rec = Extract("zero.gz", "zero");
    EXPECT_EQ(rec.Passed(), 1);
    EXPECT_TRUE(fs::exists(dir_ + "/zero/zero"));

    rec = Extract("pack.z", "pack");
    EXPECT_EQ(rec.errors, std::vector<int>{25301});
    EXPECT_EQ(rec.Failed(), 1);
    EXPECT_FALSE(fs::exists(dir_ + "/pack/pack"));
}

// Truncated files and wrong trailers fail the entry's CRC report; a bad first member does not stop
// the members after it, and the same extractor then reads a good file again.
TEST_F(GzipExtract, TruncatedAndBadCrcFiles)
{
    ASSERT_TRUE(engine::test::RunIn(dir_, "gzip -c report.txt > good.gz", "gzip", "gzip"));
    const std::string good = mx::test::ReadFile(dir_ + "/good.gz");
    const size_t trailer = good.size() - 8;
    std::string badCrc = good, badSize = good;
    badCrc[trailer] ^= 1;
    badSize[trailer + 4] ^= 1;
    struct Case {
        std::string file, bytes, output;  // Output: what comes out whole ("" when cut short)
    };
    for (const Case& c : {Case{"cut_data.gz", good.substr(0, good.size() / 2), ""},
                          Case{"cut_trailer.gz", good.substr(0, trailer + 4), text_}, Case{"bad_crc.gz", badCrc, text_},
                          Case{"bad_size.gz", badSize, text_}, Case{"bad_first.gz", badCrc + good, text_ + text_}}) {
        SCOPED_TRACE(c.file);
        mx::test::WriteFile(dir_ + "/" + c.file, c.bytes);
        const auto rec = Extract(c.file, "out_" + c.file);
        ASSERT_EQ(rec.ended.size(), 1u);
        EXPECT_FALSE(rec.ended[0].second);
        if (!c.output.empty()) {
            EXPECT_TRUE(mx::test::ReadFile(dir_ + "/out_" + c.file + "/report.txt") == c.output);
        }
    }
    // A header cut inside the stored name is a damaged archive: no entry begins.
    mx::test::WriteFile(dir_ + "/cut_header.gz", good.substr(0, 12));
    auto rec = Extract("cut_header.gz", "out_cut_header");
    EXPECT_TRUE(rec.ended.empty());
    EXPECT_EQ(rec.errors, std::vector<int>{25238});
    rec = Extract("good.gz", "out_good");
    EXPECT_EQ(rec.Passed(), 1);
    EXPECT_TRUE(rec.errors.empty());
}

TEST_F(GzipExtract, CompressWidths)
{
    // -b9 is left out: this machine's compress writes 9-bit files that neither it nor gzip reads back.
    for (int bits = 10; bits <= 16; ++bits) {
        SCOPED_TRACE(bits);
        const std::string name = "w" + std::to_string(bits) + ".Z";
        ASSERT_TRUE(engine::test::RunIn(dir_, "compress -c -b" + std::to_string(bits) + " report.txt > " + name,
                                        "compress", "ncompress"));
        const auto rec = Extract(name, "z" + std::to_string(bits));
        EXPECT_EQ(rec.Passed(), 1);
        EXPECT_TRUE(mx::test::ReadFile(dir_ + "/z" + std::to_string(bits) + "/w" + std::to_string(bits)) == text_);
    }
    // Data that stops compressing makes compress clear its table (code 256) and start afresh; each
    // table's strings decode the same after the clear as before it.
    std::string mixed;
    for (int part = 0; part < 3; ++part)
        mixed += text_ + engine::test::Bytes(60000, uint32_t(part + 1));
    mx::test::WriteFile(dir_ + "/mixed.txt", mixed);
    for (int bits : {10, 16}) {
        SCOPED_TRACE(bits);
        const std::string name = "m" + std::to_string(bits) + ".Z";
        ASSERT_TRUE(engine::test::RunIn(dir_, "compress -c -b" + std::to_string(bits) + " mixed.txt > " + name,
                                        "compress", "ncompress"));
        const auto rec = Extract(name, "m" + std::to_string(bits));
        EXPECT_EQ(rec.Passed(), 1);
        EXPECT_TRUE(mx::test::ReadFile(dir_ + "/m" + std::to_string(bits) + "/m" + std::to_string(bits)) == mixed);
    }

    // Without block mode 256 is an ordinary code (here the string "AB"; 258 is the KwKwK case). The
    // -C option of this machine's compress writes streams that neither it nor gzip reads back, so
    // the stream is made by hand and checked with gzip.
    mx::test::WriteFile(dir_ + "/old.Z", std::string("\x1f\x9d\x10\x41\x84\x00\x14\x08", 8));
    ASSERT_EQ(engine::test::CaptureIn(dir_, "gzip -dc < old.Z"), "ABABABA");
    auto rec = Extract("old.Z", "old");
    EXPECT_EQ(rec.Passed(), 1);
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/old/old"), "ABABABA");

    // A code beyond the next free entry, a width above 16 and a first code that is no byte fail.
    const std::string whole = mx::test::ReadFile(dir_ + "/w16.Z");
    mx::test::WriteFile(dir_ + "/cut.Z", std::string("\x1f\x9d\x10\x41\x84\x00\x1c\x08", 8));
    mx::test::WriteFile(dir_ + "/wide.Z", std::string("\x1f\x9d\x91", 3) + whole.substr(3));
    mx::test::WriteFile(dir_ + "/first.Z", std::string("\x1f\x9d\x90\x2c\x03\x00", 6));
    for (const char* bad : {"cut.Z", "wide.Z", "first.Z"}) {
        SCOPED_TRACE(bad);
        rec = Extract(bad, std::string("bad_") + bad);
        EXPECT_EQ(rec.Failed(), 1);
    }
}

}  // namespace
}  // namespace engine
