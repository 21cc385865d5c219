#include "sfx/builder/sfx_assembler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sfx/builder/option_writer.h"
#include "sfx/common/sfx_layout.h"
#include "testing/test_env.h"

namespace sfx {
namespace {

using mx::test::ReadFile;
using mx::test::WriteFile;

int Sh(const std::string& cmd) { return WEXITSTATUS(std::system(cmd.c_str())); }

void RequireTool(const char* tool, const char* package) {
    ASSERT_EQ(Sh(std::string("command -v ") + tool + " >/dev/null"), 0) << tool << " is missing: install " << package;
}

std::string Filler(size_t n, unsigned seed) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + seed) % 251);
    return s;
}

// A builder file that carries a stub-sized extractor, the way the real builder does.
struct Fixture {
    std::string dir;
    std::string builder;
    std::string stub;
    StubLocation loc;

    Fixture() : dir(mx::test::FreshDir()), builder(dir + "/builder.exe") {
        stub = Filler(SfxStubSize, 3);
        stub.replace(0, 4, reinterpret_cast<const char*>(kStubMagic), 4);
        WriteFile(builder, "MZ" + Filler(90000, 1) + stub);
        loc = FindStub(builder);
    }

    // Writes a tree of sample files under dir/src: small, empty, over 32 KB, nested folders.
    void MakeTree() const {
        const std::string src = dir + "/src";
        std::filesystem::create_directories(src + "/docs/deep");
        std::filesystem::create_directories(src + "/emptydir");
        WriteFile(src + "/readme.txt", "Read me first.\r\n");
        WriteFile(src + "/empty.dat", "");
        std::string big;
        for (int i = 0; i < 9000; ++i) big += "line " + std::to_string(i * 37 % 1000) + " of the big file\n";
        WriteFile(src + "/docs/big.txt", big);
        WriteFile(src + "/docs/deep/random.bin", Filler(70000, 11));
    }
};

uint32_t Le(const std::string& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    return v;
}

// The end record whose comment runs to the end of the file.
size_t EndRecord(const std::string& b) {
    for (size_t i = b.size() - 22 + 1; i-- > 0;)
        if (b.compare(i, 4, "PK\x05\x06", 4) == 0 && i + 22 + Le(b, i + 20, 2) == b.size()) return i;
    return std::string::npos;
}

// Walks the central directory from the end record and counts the headers whose local-header offset
// lands on a local header; -1 when the directory is not where it says.
int CountGoodEntries(const std::string& b) {
    const size_t end = EndRecord(b);
    if (end == std::string::npos) return -1;
    size_t p = Le(b, end + 16, 4);
    int good = 0;
    for (uint32_t i = 0; i < Le(b, end + 10, 2); ++i) {
        if (p + 46 > end || b.compare(p, 4, "PK\x01\x02", 4) != 0) return -1;
        const size_t local = Le(b, p + 42, 4);
        if (local + 4 <= b.size() && b.compare(local, 4, "PK\x03\x04", 4) == 0) ++good;
        p += 46 + Le(b, p + 28, 2) + Le(b, p + 30, 2) + Le(b, p + 32, 2);
    }
    return good;
}

struct ZipCase {
    const char* name;
    const char* command;    // run in dir/src, writes ../in.zip
    const char* password;   // for unzip -t
    bool sameAsZipA;        // zip -A also rewrites the local headers of streamed archives
};

TEST(SfxAssembler, OutputEqualsZipAdjustAndTestsClean) {
    RequireTool("zip", "zip");
    RequireTool("unzip", "unzip");
    const ZipCase cases[] = {
        {"deflated default", "zip -q -r ../in.zip .", "", true},
        {"deflated -1", "zip -q -1 -r ../in.zip .", "", true},
        {"deflated -9", "zip -q -9 -r ../in.zip .", "", true},
        {"stored", "zip -q -0 -r ../in.zip .", "", true},
        {"encrypted", "zip -q -P secret -r ../in.zip .", "secret", true},
        {"archive comment", "echo 'a comment of this archive' | zip -q -z -r ../in.zip .", "", true},
        {"no extra fields", "zip -q -X -r ../in.zip .", "", true},
        {"files only, no folders", "zip -q -D -r ../in.zip .", "", true},
        {"streamed output", "zip -q -r - . | cat > ../in.zip", "", false},
        {"streamed input", "cat docs/big.txt | zip -q -fz- - - | cat > ../in.zip", "", false},
    };
    Fixture fx;
    fx.MakeTree();
    for (const ZipCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(fx.dir + "/in.zip");
        ASSERT_EQ(Sh("cd " + fx.dir + "/src && " + c.command), 0);

        SfxSettings s;
        s.caption = "Test archive";
        s.program = "setup.exe";
        const BuildResult r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/in.zip", fx.dir + "/out.exe", s);
        ASSERT_TRUE(r.ok) << r.message;

        SfxSettings again;
        again.caption = "Test archive";
        again.program = "setup.exe";
        const std::string concat = fx.stub + WriteOptions(again, true).bytes + ReadFile(fx.dir + "/in.zip");
        WriteFile(fx.dir + "/ref.exe", concat);
        ASSERT_EQ(Sh("zip -q -A " + fx.dir + "/ref.exe"), 0);
        const std::string out = ReadFile(fx.dir + "/out.exe");
        if (c.sameAsZipA) {
            EXPECT_TRUE(out == ReadFile(fx.dir + "/ref.exe"));
        }
        // Only the offsets moved: the bytes outside the central directory and end record are the source's.
        const std::string in = ReadFile(fx.dir + "/in.zip");
        const size_t cdStart = Le(in, EndRecord(in) + 16, 4);
        EXPECT_TRUE(out.compare(out.size() - in.size(), cdStart, in, 0, cdStart) == 0);
        EXPECT_GT(CountGoodEntries(out), 0);

        const std::string pw = *c.password ? std::string(" -P ") + c.password : "";
        EXPECT_EQ(Sh("unzip -qq -t" + pw + " " + fx.dir + "/out.exe >/dev/null"), 0);
    }
}

TEST(SfxAssembler, EndSignatureInsideTheCommentIsNotTaken) {
    RequireTool("zip", "zip");
    Fixture fx;
    fx.MakeTree();
    ASSERT_EQ(Sh("cd " + fx.dir + "/src && printf 'fake PK\\005\\006 record in the comment' | zip -q -z -r ../in.zip ."),
              0);
    SfxSettings s;
    const BuildResult r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/in.zip", fx.dir + "/out.exe", s);
    ASSERT_TRUE(r.ok) << r.message;
    // unzip itself takes the comment's bytes for the end record, so the directory is walked here.
    const std::string out = ReadFile(fx.dir + "/out.exe");
    EXPECT_EQ(CountGoodEntries(out), 7);
    EXPECT_NE(out.find("fake PK\x05\x06 record"), std::string::npos);  // the comment is untouched
}

TEST(SfxAssembler, EmptyArchiveGetsItsEndRecordShifted) {
    Fixture fx;
    WriteFile(fx.dir + "/in.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    SfxSettings s;
    const BuildResult r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/in.zip", fx.dir + "/out.exe", s);
    ASSERT_TRUE(r.ok) << r.message;
    const std::string out = ReadFile(fx.dir + "/out.exe");
    ASSERT_EQ(out.size(), SfxStubSize + 11 + 22);
    const uint32_t cd = static_cast<uint8_t>(out[out.size() - 6]) | static_cast<uint8_t>(out[out.size() - 5]) << 8 |
                        static_cast<uint8_t>(out[out.size() - 4]) << 16;
    EXPECT_EQ(cd, SfxStubSize + 11);
}

TEST(SfxAssembler, BuildingTwiceUsesEachBlockLength) {
    RequireTool("zip", "zip");
    Fixture fx;
    fx.MakeTree();
    ASSERT_EQ(Sh("cd " + fx.dir + "/src && zip -q -r ../in.zip ."), 0);
    for (const char* caption : {"short", "a much longer caption than the first one"}) {
        SfxSettings s;
        s.caption = caption;
        const BuildResult r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/in.zip", fx.dir + "/out.exe", s);
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ(Sh("unzip -qq -t " + fx.dir + "/out.exe >/dev/null"), 0) << caption;
    }
}

TEST(SfxAssembler, RefusalsLeaveTheFilesAlone) {
    RequireTool("zip", "zip");
    Fixture fx;
    fx.MakeTree();
    ASSERT_EQ(Sh("cd " + fx.dir + "/src && zip -q -r ../in.zip ."), 0);
    const std::string original = ReadFile(fx.dir + "/in.zip");
    SfxSettings s;

    BuildResult r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/in.zip", fx.dir + "/in.zip", s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("ZIP archive itself"), std::string::npos) << r.message;
    EXPECT_TRUE(ReadFile(fx.dir + "/in.zip") == original);

    r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/in.zip", fx.dir + "/src/../in.zip", s);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(ReadFile(fx.dir + "/in.zip") == original);

    r = BuildSelfExtractor(fx.builder, StubLocation{}, fx.dir + "/in.zip", fx.dir + "/out.exe", s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Error, SFX stub not found.");
    EXPECT_FALSE(std::filesystem::exists(fx.dir + "/out.exe"));

    r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/none.zip", fx.dir + "/out.exe", s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, fx.dir + "/none.zip\r\rError opening file.");

    // Info-ZIP reading from a pipe writes ZIP64 end records.
    ASSERT_EQ(Sh("cd " + fx.dir + "/src && cat readme.txt | zip -q - - > ../z64.zip"), 0);
    r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/z64.zip", fx.dir + "/out.exe", s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("ZIP64"), std::string::npos) << r.message;
    EXPECT_FALSE(std::filesystem::exists(fx.dir + "/out.exe"));

    WriteFile(fx.dir + "/noend.zip", std::string("PK\x03\x04", 4) + Filler(5000, 9));
    r = BuildSelfExtractor(fx.builder, fx.loc, fx.dir + "/noend.zip", fx.dir + "/out.exe", s);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("end of central directory"), std::string::npos) << r.message;
}

}  // namespace
}  // namespace sfx
