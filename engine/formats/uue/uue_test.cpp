// The UU and XX decoder and encoder: files that uuencode and uuenview make at test time, our output
// read back by uudecode and uudeview, volume sets with their volume questions, the header forms and
// damaged input. The tool cases run natively; the round trips also under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/formats/common/testdata/test_bytes.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/uue/uu_decode.h"
#include "engine/formats/uue/uu_encode.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

using test::Bytes;

class UUTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUUDecodeClasses();
        RegisterUUEncodeClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        decoder_ = fw::Make<TUUDecode>(owner_);
        encoder_ = fw::Make<TUUEncode>(owner_);
        for (TZipCommon* c : {static_cast<TZipCommon*>(decoder_), static_cast<TZipCommon*>(encoder_)}) {
            c->OnError.Bind(this, &UUTest::Error);
            c->OnBegin.Bind(this, &UUTest::Begin);
            c->OnEnd.Bind(this, &UUTest::End);
        }
    }
    void TearDown() override { owner_->Free(); }

    void Error(fw::TObject*, const std::string&, const std::string& msgEx, const std::string&, int code)
    {
        errors_.push_back(code);
        lastMsgEx_ = msgEx;
    }
    void Begin(fw::TObject*, const std::string& fn, int, bool&) { events_.push_back("begin " + Name(fn)); }
    void End(fw::TObject*, const std::string& fn, bool pass) { events_.push_back((pass ? "pass " : "FAIL ") + Name(fn)); }
    void NextVolume(fw::TObject*, std::string&, std::string& fn, const std::string& id, bool, bool& cancel)
    {
        events_.push_back("volume " + id + " " + Name(fn));
        cancel = refuseVolumes_;
    }
    static std::string Name(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // Decodes Encoded into dir/out and returns the bytes of Name there.
    std::string Decode(const std::string& encoded, const std::string& name)
    {
        decoder_->SetArchiveFile(Path(encoded));
        decoder_->SetExtractDir(Path("out"));
        EXPECT_TRUE(decoder_->Extract());
        return mx::test::ReadFile(Path("out/" + name));
    }
    bool Encode(const std::string& input, const std::string& output, TCompressMethod method, int kbytes = 0)
    {
        encoder_->SetCompressMethod(method);
        encoder_->SetKBytesPerVolume(kbytes);
        encoder_->SetArchiveFile(Path(input));
        encoder_->SetOutFilename(Path(output));
        return encoder_->Activate();
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUUDecode* decoder_ = nullptr;
    TUUEncode* encoder_ = nullptr;
    std::vector<int> errors_;
    std::vector<std::string> events_;
    std::string lastMsgEx_;
    bool refuseVolumes_ = false;
};

TEST_F(UUTest, LinesOfTheEncoderFollowTheTable)
{
    const uint8_t cat[3] = {'C', 'a', 't'};
    EXPECT_EQ(uu::EncodeLine(uu::kUUTable, cat, 3), "#0V%T");
    EXPECT_EQ(uu::EncodeLine(uu::kUUTable, cat, 0), "`");
    EXPECT_EQ(uu::EncodeLine(uu::kXXTable, cat, 0), "+");
    uu::DecodeTable t;
    t.Build(uu::kUUTable);
    std::vector<uint8_t> out;
    EXPECT_EQ(uu::DecodeLine(t, "#0V%T", out), 3);
    EXPECT_EQ(std::string(out.begin(), out.end()), "Cat");
    // A mailer stripped the trailing blanks: the missing characters count as 0.
    out.clear();
    EXPECT_EQ(uu::DecodeLine(t, "\"86", out), 2);
    EXPECT_EQ(std::string(out.begin(), out.end()), "a`");
    out.clear();
    EXPECT_EQ(uu::DecodeLine(t, "~~~", out), -1);
    EXPECT_TRUE(out.empty());
}

// The encoder asks before it replaces an existing output file; a form binds that question by name.
TEST_F(UUTest, ExistingOutputIsAskedForThroughThePublishedEvent)
{
    mx::test::WriteFile(Path("data.bin"), "some bytes to encode");
    mx::test::WriteFile(Path("coded.enc"), "keep me");
    const fw::PropInfo* prop = fw::FindProp(encoder_, "OnFileExists");
    ASSERT_NE(prop, nullptr);
    ASSERT_EQ(prop->kind, fw::TypeKind::Method);
    int asked = 0;
    bool accept = false;
    TOnFileExists ask;
    ask.Bind(this, [&](void*, fw::TObject*, const std::string& fn, TDateTime, bool& a) {
        ++asked;
        EXPECT_EQ(Name(fn), "coded.enc");
        a = accept;
    });
    fw::SetMethodProp(encoder_, *prop, std::any(ask));
    Encode("data.bin", "coded.enc", TCompressMethod::cmUUEncode);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(mx::test::ReadFile(Path("coded.enc")), "keep me") << "declined: the old file stays";
    accept = true;
    EXPECT_TRUE(Encode("data.bin", "coded.enc", TCompressMethod::cmUUEncode));
    EXPECT_EQ(asked, 2);
    EXPECT_NE(mx::test::ReadFile(Path("coded.enc")), "keep me");
}

TEST_F(UUTest, VolumeNames)
{
    using uu::TNextVolumeName;
    const struct {
        const char* base;
        int number;
        TNextVolumeName mode;
        bool longNames;
        const char* want;
    } cases[] = {
        {"file.enc", 1, TNextVolumeName::nvChangeExt, false, "file.en1"},
        {"file.enc", 12, TNextVolumeName::nvChangeExt, false, "file.e12"},
        {"file.enc", 123, TNextVolumeName::nvChangeExt, false, "file.123"},
        {"file", 2, TNextVolumeName::nvChangeExt, false, "file2"},
        {"c:\\a.b\\file", 2, TNextVolumeName::nvChangeExt, false, "c:\\a.b\\file2"},
        {"file.enc", 1, TNextVolumeName::nvChangeFilename, false, "fil1.enc"},
        {"file.enc", 1, TNextVolumeName::nvChangeFilename, true, "file1.enc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(uu::UUVolumeName(c.base, c.number, c.mode, c.longNames), c.want) << c.base << " " << c.number;
}

TEST_F(UUTest, FortyFiveBytesMakeOneFullLine)
{
    mx::test::WriteFile(Path("in.bin"), std::string(45, 'x'));
    encoder_->SetWriteTableToFile(false);
    Encode("in.bin", "in.uue", TCompressMethod::cmUUEncode);
    const std::string text = mx::test::ReadFile(Path("in.enc"));
    EXPECT_NE(text.find("\r\n\r\nbegin 644 in.bin\r\nM" + uu::EncodeLine(uu::kUUTable, reinterpret_cast<const uint8_t*>(std::string(45, 'x').data()), 45).substr(1) +
                        "\r\n`\r\nend\r\n45 bytes\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("table"), std::string::npos);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(UUTest, RoundTripsBothTablesWithAndWithoutTheTableHeader)
{
    for (const size_t size : {0, 1, 44, 45, 46, 1000, 70000}) {
        for (const auto method : {TCompressMethod::cmUUEncode, TCompressMethod::cmXXEncode}) {
            for (const bool table : {true, false}) {
                SCOPED_TRACE(std::to_string(size) + (method == TCompressMethod::cmXXEncode ? " XX" : " UU") +
                             (table ? " table" : ""));
                const std::string data = Bytes(size, uint32_t(size) + 7);
                mx::test::WriteFile(Path("data.bin"), data);
                encoder_->SetWriteTableToFile(table);
                ASSERT_TRUE(Encode("data.bin", "data.enc", method));
                EXPECT_EQ(Decode("data.enc", "data.bin"), data);
                EXPECT_TRUE(errors_.empty()) << errors_.front();
            }
        }
    }
}

TEST_F(UUTest, ThreeVolumesRoundTripAndAskForEachVolume)
{
    const std::string data = Bytes(45 * 30, 99);  // 30 lines: 13 + 13 + 4 with one kilobyte per volume
    mx::test::WriteFile(Path("big.dat"), data);
    Encode("big.dat", "big.enc", TCompressMethod::cmUUEncode, 1);
    const std::string last = mx::test::ReadFile(Path("big.en2"));
    EXPECT_EQ(last.substr(0, 8), "part 2\r\n");
    EXPECT_NE(last.find("end\r\n1350 bytes\r\nencoded into 2 file(s)\r\n"), std::string::npos);
    EXPECT_FALSE(mx::test::ReadFile(Path("big.en1")).empty());

    decoder_->OnNextVolume.Bind(this, &UUTest::NextVolume);
    events_.clear();
    EXPECT_EQ(Decode("big.enc", "big.dat"), data);
    EXPECT_EQ(events_, (std::vector<std::string>{"begin big.dat", "volume 1 big.en1", "volume 2 big.en2", "pass big.dat"}));
    EXPECT_TRUE(errors_.empty());

    // A refused volume ends the run with what the first volume held.
    refuseVolumes_ = true;
    events_.clear();
    EXPECT_EQ(Decode("big.enc", "big.dat"), data.substr(0, 13 * 45));
    EXPECT_EQ(events_.back(), "pass big.dat");
}

TEST_F(UUTest, AnInputNamedLikeItsOutputIsRefused)
{
    mx::test::WriteFile(Path("x.enc"), "precious");
    EXPECT_FALSE(Encode("x.enc", "x.uue", TCompressMethod::cmUUEncode));
    EXPECT_EQ(errors_, std::vector<int>{25171});
    EXPECT_EQ(mx::test::ReadFile(Path("x.enc")), "precious");
}

TEST_F(UUTest, DamagedAndHostileInput)
{
    // A name leaving the extract folder is refused; nothing is written outside it.
    mx::test::WriteFile(Path("evil.uue"), "begin 644 ../evil.txt\n#86)C\n`\nend\n");
    decoder_->SetArchiveFile(Path("evil.uue"));
    decoder_->SetExtractDir(Path("out"));
    decoder_->Extract();
    EXPECT_EQ(errors_, std::vector<int>{25243});
    EXPECT_FALSE(std::filesystem::exists(Path("evil.txt")));

    // No begin line: nothing can be created.
    errors_.clear();
    mx::test::WriteFile(Path("none.uue"), "hello\nworld\n");
    decoder_->SetArchiveFile(Path("none.uue"));
    decoder_->Extract();
    EXPECT_EQ(errors_, std::vector<int>{25235});

    // Neither table fits the first line: the report 25301, and the run still ends.
    errors_.clear();
    mx::test::WriteFile(Path("odd.uue"), "begin 644 odd.txt\n#a\nend\n");
    EXPECT_EQ(Decode("odd.uue", "odd.txt"), "");
    EXPECT_EQ(errors_, std::vector<int>{25301});

    // A mode of four digits; an "end" inside XX data does not stop decoding.
    errors_.clear();
    std::string data(42, '\0');
    data[0] = char(0xCE);  // XX characters "nd..." after the count "e" (42)
    data[1] = char(0x90);
    const std::string line = uu::EncodeLine(uu::kXXTable, reinterpret_cast<const uint8_t*>(data.data()), 42);
    ASSERT_EQ(line.substr(0, 3), "end");
    mx::test::WriteFile(Path("xx.xxe"), "begin 0644 xx.bin\n" + line + "\n+\nend\n");
    EXPECT_EQ(Decode("xx.xxe", "xx.bin"), data);
    EXPECT_TRUE(errors_.empty());
}

#ifndef _WIN32
TEST_F(UUTest, FilesOfTheRealToolsDecode)
{
    // (100000 bytes run over several reads of the volume, and lines cross from one read to the next.)
    for (const size_t size : {0, 1, 44, 45, 46, 1000, 100000}) {
        SCOPED_TRACE(size);
        const std::string data = Bytes(size, uint32_t(size));
        mx::test::WriteFile(Path("t.bin"), data);
        ASSERT_TRUE(test::RunIn(dir_, "uuencode t.bin t.bin > t.uue", "uuencode", "sharutils"));
        EXPECT_EQ(Decode("t.uue", "t.bin"), data);
        ASSERT_TRUE(test::RunIn(dir_, "rm -f t.xxe && uuenview -x t.bin > t.xxe", "uuenview", "uudeview"));
        EXPECT_EQ(Decode("t.xxe", "t.bin"), data);
        ASSERT_TRUE(test::RunIn(dir_, "uuenview -u t.bin > u.uue", "uuenview", "uudeview"));
        EXPECT_EQ(Decode("u.uue", "t.bin"), data);
        EXPECT_TRUE(errors_.empty());
    }
    // A header line longer than a read of the volume comes before the begin line.
    const std::string data = Bytes(5000, 7);
    mx::test::WriteFile(Path("t.bin"), data);
    ASSERT_TRUE(test::RunIn(dir_, "uuencode t.bin t.bin > t.uue", "uuencode", "sharutils"));
    mx::test::WriteFile(Path("long.uue"), std::string(70000, 'x') + "\n" + mx::test::ReadFile(Path("t.uue")));
    EXPECT_EQ(Decode("long.uue", "t.bin"), data);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(UUTest, OurOutputIsReadByTheRealTools)
{
    for (const size_t size : {0, 1, 46, 5000}) {
        for (const bool table : {true, false}) {
            SCOPED_TRACE(std::to_string(size) + (table ? " table" : ""));
            const std::string data = Bytes(size, uint32_t(size) + 3);
            mx::test::WriteFile(Path("src.bin"), data);
            encoder_->SetWriteTableToFile(table);
            Encode("src.bin", "uu.enc", TCompressMethod::cmUUEncode);
            ASSERT_TRUE(test::RunIn(dir_, "mkdir -p a && uudecode -o a/src.bin uu.enc", "uudecode", "sharutils"));
            EXPECT_EQ(mx::test::ReadFile(Path("a/src.bin")), data);
            ASSERT_TRUE(test::RunIn(dir_, "rm -rf b && mkdir b && uudeview -i -p b uu.enc", "uudeview", "uudeview"));
            EXPECT_EQ(mx::test::ReadFile(Path("b/src.bin")), data);
            Encode("src.bin", "xx.enc", TCompressMethod::cmXXEncode);
            ASSERT_TRUE(test::RunIn(dir_, "rm -rf c && mkdir c && uudeview -i -p c xx.enc", "uudeview", "uudeview"));
            EXPECT_EQ(mx::test::ReadFile(Path("c/src.bin")), data);
        }
    }
}
#endif

}  // namespace
}  // namespace engine
