// Detection over archives made by the real archivers, self-extractors built around them, damaged and
// tiny files, and the fixture corpus (testing/fixtures).
#include "engine/detect/arc_detect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/detect/testdata/pe_image_builder.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"
#include "testing/test_env.h"

namespace engine {
namespace {

using enum TArcType;
using test::RunIn;

DetectResult Detect(const std::string& bytes, const std::string& name, uint32_t commentBuf = 2000) {
    SpanSource src({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    return DetectArcType(src, name, commentBuf);
}

DetectResult DetectFile(const std::string& path) { return Detect(mx::test::ReadFile(path), path); }

std::string Le32Bytes(uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

// A DOS executable header whose image ends (pages, bytes in the last page) at `end`, padded to it.
std::string DosImage(uint32_t end) {
    std::string mz(end, '\0');
    mz[0] = 'M';
    mz[1] = 'Z';
    const uint32_t pages = end / 512 + 1, last = end % 512;
    mz[2] = static_cast<char>(last);
    mz[3] = static_cast<char>(last >> 8);
    mz[4] = static_cast<char>(pages);
    mz[5] = static_cast<char>(pages >> 8);
    return mz;
}

TEST(ArcTypeFromHeader, SignatureTable) {
    struct Row {
        const char* bytes;
        TArcType plain, exe;
    };
    const Row rows[] = {
        {"PK\x03\x04", atZip, atZipExe},      {"PK\x05\x06", atZip, atZipExe},   {"PKG4", atUnknown, atUnknown},
        {"\0\0\0P", atZip250, atZip250Exe},   {"MSCF", atCab, atUnsupported},    {"BH\x05\x07", atBh, atBhExe},
        {"HA\x01\x00", atHa, atUnsupported},  {"\x1f\x8b\x08\x00", atGZip, atUnsupported},
        {"\x1f\x9d\x90\x00", atGZip, atUnsupported}, {"\x1f\x9e\x00\x00", atGZip, atUnsupported},
        {"\x1f\x1e\x00\x00", atGZip, atUnsupported}, {"\x1f\xa0\x00\x00", atGZip, atUnsupported},
        {"\x60\xea\x29\x00", atArj, atArjExe}, {"ZOO ", atZoo, atUnsupported},  {"\x1f\x00-l", atLha, atLhaExe},
        {"Rar!", atRar, atRarExe},            {"\x1a\x0a..", atPak, atPakExe},   {"\x1a\x0b..", atPak, atPakExe},
        {"\x1a\x1e..", atArc, atUnsupported}, {"\x1a\x08..", atArc, atArcExe},   {"\x1a\x09..", atArc, atArcExe},
        {"\x1a\x02..", atArc, atArcExe},      {"\x1a\x04..", atArc, atArcExe},   {"\x1a\x00..", atUnknown, atUnknown},
        {"\xb7\x92..", atArcExe, atArcExe},   {"\xb7\xdf..", atArcExe, atArcExe}, {"MZ\x90\x00", atUnknown, atUnknown},
    };
    for (const Row& r : rows) {
        const std::string b(r.bytes, 4);
        const uint32_t head = static_cast<uint8_t>(b[0]) | (static_cast<uint8_t>(b[1]) << 8) |
                              (static_cast<uint8_t>(b[2]) << 16) | (uint32_t{static_cast<uint8_t>(b[3])} << 24);
        EXPECT_EQ(ArcTypeFromHeader(head, false).arcType, r.plain) << r.bytes;
        EXPECT_EQ(ArcTypeFromHeader(head, true).arcType, r.exe) << r.bytes;
        EXPECT_EQ(ArcTypeFromHeader(head, false).arcStartPos.has_value(), b[0] == '\xb7') << r.bytes;
    }
    EXPECT_EQ(*ArcTypeFromHeader(0x92B7, false).arcStartPos, 7717);
}

class DetectReal : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = mx::test::FreshDir();
        std::string text;
        for (int i = 0; i < 300; ++i) text += "text line " + std::to_string(i) + "\n";
        mx::test::WriteFile(dir_ + "/in.txt", text);
        mx::test::WriteFile(dir_ + "/tiny.txt", "hi\n");
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string Read(const std::string& name) const { return mx::test::ReadFile(Path(name)); }
    std::string dir_;
};

TEST_F(DetectReal, ArchivesFromRealTools) {
    struct Made {
        const char* cmd;
        const char* program;
        const char* package;
        const char* file;
        TArcType want;
        int64_t start;
    };
    const Made made[] = {
        {"zip -q a.zip in.txt", "zip", "zip", "a.zip", atZip, 1},
        {"zip -q -0 s.zip tiny.txt", "zip", "zip", "s.zip", atZip, 1},
        {"python3 -c \"import zipfile; zipfile.ZipFile('e.zip', 'w').close()\"", "python3", "python3", "e.zip", atZip, 1},
        {"7zz a -tzip -bd z7.zip in.txt", "7zz", "7zip", "z7.zip", atZip, 1},
        {"gzip -c in.txt > a.gz", "gzip", "gzip", "a.gz", atGZip, 1},
        {"compress -c in.txt > a.Z", "compress", "ncompress", "a.Z", atGZip, 1},
        {"arj a -y a.arj in.txt", "arj", "arj", "a.arj", atArj, 1},
        {"arc a a.arc in.txt", "arc", "arc", "a.arc", atArc, 1},
        {"arc a t.arc tiny.txt", "arc", "arc", "t.arc", atArc, 1},  // a stored first member
        {"lha a a.lzh in.txt", "lha", "jlha-utils", "a.lzh", atLha, 1},
        {"tar cf a.tar in.txt", "tar", "tar", "a.tar", atTar, 1},
        {"tar cf noext in.txt", "tar", "tar", "noext", atTar, 1},
        {"tar cf other.dat in.txt", "tar", "tar", "other.dat", atUnknown, 1},
        {"tar cf v.tar -V label in.txt", "tar", "tar", "v.tar", atTar, 513},
        {"gcab -c a.cab in.txt", "gcab", "gcab", "a.cab", atCab, 1},
        {"uuencode in.txt in.txt > a.uue", "uuencode", "sharutils", "a.uue", atUue, 1},
        {"cp a.uue a.XXE", "uuencode", "sharutils", "a.XXE", atUue, 1},
        {"cp a.uue a.Enc", "uuencode", "sharutils", "a.Enc", atUue, 1},
        {"cp a.uue a.txt", "uuencode", "sharutils", "a.txt", atUnknown, 1},
    };
    for (const Made& m : made) {
        ASSERT_TRUE(RunIn(dir_, m.cmd, m.program, m.package)) << m.file;
        const DetectResult r = DetectFile(Path(m.file));
        EXPECT_EQ(r.arcType, m.want) << m.file;
        EXPECT_EQ(r.arcStartPos, m.start) << m.file;
        EXPECT_EQ(r.sfxZipOffset, 0u) << m.file;
        EXPECT_EQ(r.archiveSize, std::filesystem::file_size(Path(m.file))) << m.file;
    }
    // A TAR header with a wrong checksum is not TAR, whatever the extension.
    std::string tar = Read("a.tar");
    tar[148] = '7';
    EXPECT_EQ(Detect(tar, "bad.tar").arcType, atUnknown);
    EXPECT_EQ(Detect(tar, "bad.tar").arcStartPos, 1);
}

TEST_F(DetectReal, ZipSelfExtractors) {
    ASSERT_TRUE(RunIn(dir_, "zip -q a.zip in.txt tiny.txt", "zip", "zip"));
    const std::string zip = Read("a.zip");

    // A stub whose string id 1 names the archive's offset; the archive's offsets count from its start.
    test::PeImageBuilder withOffset;
    withOffset.AddString(1, "24576");
    std::string stub = withOffset.Build();
    stub.resize(24576, '\0');
    const std::string embedded = stub + zip;
    DetectResult r = Detect(embedded, "setup.exe");
    EXPECT_EQ(r.arcType, atZipExe);
    EXPECT_EQ(r.sfxZipOffset, 24576u);
    EXPECT_EQ(r.arcStartPos, 24577);
    {
        SpanSource src({reinterpret_cast<const uint8_t*>(embedded.data()), embedded.size()});
        const zip::DirectoryLocation loc = zip::LocateDirectory(src, r.sfxZipOffset);
        ASSERT_EQ(loc.kind, zip::DirectoryLocation::Kind::Central);
        EXPECT_TRUE(loc.chainValid);
        zip::CentralDirectoryWalker walker(src, loc.position);
        zip::CentralEntry e;
        ASSERT_EQ(walker.Next(e), zip::WalkStep::Entry);
        EXPECT_EQ(e.name, "in.txt");
    }

    // Id 1 names a place without an archive: the next id is tried. A CAB there is not supported.
    test::PeImageBuilder second;
    second.AddString(1, "100");
    second.AddString(2, "24576");
    stub = second.Build();
    stub.resize(24576, '\0');
    r = Detect(stub + zip, "setup.exe");
    EXPECT_EQ(r.arcType, atZipExe);
    EXPECT_EQ(r.sfxZipOffset, 24576u);
    ASSERT_TRUE(RunIn(dir_, "gcab -c a.cab in.txt", "gcab", "gcab"));
    r = Detect(stub + Read("a.cab"), "setup.exe");
    EXPECT_EQ(r.arcType, atUnsupported);
    EXPECT_EQ(r.arcStartPos, 24577);
    EXPECT_EQ(r.sfxZipOffset, 0u);

    // "zip -A" shifts the offsets past the stub, which has no usable strings: found by the end record.
    test::PeImageBuilder plain;
    plain.AddString(1, "not a number");
    mx::test::WriteFile(Path("stub.exe"), plain.Build());
    ASSERT_TRUE(RunIn(dir_, "cat stub.exe a.zip > sfx.exe && zip -q -A sfx.exe && unzip -tq sfx.exe", "zip", "zip"));
    r = DetectFile(Path("sfx.exe"));
    EXPECT_EQ(r.arcType, atZipExe);
    EXPECT_EQ(r.arcStartPos, static_cast<int64_t>(std::filesystem::file_size(Path("stub.exe"))));
    EXPECT_EQ(r.sfxZipOffset, 0u);

    // Archives at the fixed offsets of known self-extractors, behind any prefix.
    for (const uint64_t offset : kZipSfxOffsets) {
        std::string prefixed = DosImage(600);
        prefixed.resize(offset, '\x90');
        r = Detect(prefixed + zip, "x.exe");
        EXPECT_EQ(r.arcType, atZipExe) << offset;
        EXPECT_EQ(r.arcStartPos, static_cast<int64_t>(offset)) << offset;
    }
}

TEST_F(DetectReal, ArchiveBehindTheDosImage) {
    ASSERT_TRUE(RunIn(dir_, "arj a -y a.arj in.txt", "arj", "arj"));
    const std::string arj = Read("a.arj");
    DetectResult r = Detect(DosImage(600) + arj, "x.exe");
    EXPECT_EQ(r.arcType, atArjExe);
    EXPECT_EQ(r.arcStartPos, 601);
    // The ARJ header id two bytes further on.
    r = Detect(DosImage(600) + "\x01\x02" + arj, "x.exe");
    EXPECT_EQ(r.arcType, atArjExe);
    EXPECT_EQ(r.arcStartPos, 603);
    ASSERT_TRUE(RunIn(dir_, "lha a a.lzh in.txt", "lha", "jlha-utils"));
    r = Detect(DosImage(1000) + Read("a.lzh"), "x.exe");
    EXPECT_EQ(r.arcType, atLhaExe);
    EXPECT_EQ(r.arcStartPos, 1001);
    // A page count of 0 puts the image end before the file: nothing is read there.
    std::string zeroPages = DosImage(600) + arj;
    zeroPages[4] = zeroPages[5] = 0;
    EXPECT_EQ(Detect(zeroPages, "x.exe").arcType, atUnknown);
}

TEST(Detect, TinyAndDamagedFiles) {
    const std::string five = "abcde";
    for (size_t n = 0; n <= 5; ++n) {
        EXPECT_EQ(Detect(five.substr(0, n), "a.zip").arcType, atNA) << n;
        EXPECT_EQ(Detect(five.substr(0, n), "a.uue").arcType, atNA) << n;
    }
    EXPECT_EQ(Detect("PK\x03\x04", "a.zip").arcType, atNA);
    EXPECT_EQ(Detect(std::string("PK\x03\x04\0", 5), "a.zip").arcType, atZip);
    EXPECT_EQ(Detect("PKG4xxxxxxxx", "a.zip").arcType, atUnknown);
    EXPECT_EQ(Detect(std::string("PK\x05\x06", 4) + std::string(18, '\0'), "e.zip").arcType, atZip);
    // Executables of every small size, with tail windows larger than the file.
    for (size_t n = 2; n < 140; ++n) {
        std::string mz = "MZ" + std::string(n - 2, '\xff');
        for (const uint32_t commentBuf : {0u, 2000u}) {
            const DetectResult r = Detect(mz, "x.exe", commentBuf);
            EXPECT_TRUE(r.arcType == atUnknown || r.arcType == atNA) << n;
        }
    }
    // An end record in a short executable's tail, pointing outside the file.
    std::string tailZip = "MZ" + std::string(100, '\0') + "PK\x05\x06" + std::string(12, '\0') + Le32Bytes(0xFFFFFF00) +
                          std::string(2, '\0');
    const DetectResult r = Detect(tailZip, "x.exe");
    EXPECT_EQ(r.arcType, atZipExe);
    EXPECT_EQ(r.arcStartPos, 1);
}

TEST_F(DetectReal, EveryPrefixOfRealArchivesIsSafe) {
    ASSERT_TRUE(RunIn(dir_, "zip -q a.zip in.txt && tar cf a.tar in.txt && gcab -c a.cab in.txt", "zip", "zip"));
    test::PeImageBuilder b;
    b.AddString(1, "2048");
    std::string sfx = b.Build();
    sfx.resize(2048, '\0');
    sfx += Read("a.zip");
    for (const std::string& whole : {Read("a.zip"), Read("a.tar"), Read("a.cab"), sfx}) {
        for (size_t n = 0; n < whole.size(); n += (n < 1100 ? 1 : 97)) {
            (void)Detect(whole.substr(0, n), "cut.tar");
        }
    }
}

// Expected type and start of each file in the fixture corpus (testing/fixtures), by folder with exceptions.
TEST(DetectFixtures, EveryFixtureGetsItsType) {
    const std::filesystem::path root = mx::test::FixtureDir();
    ASSERT_TRUE(std::filesystem::exists(root)) << root;
    const std::pair<const char*, TArcType> byFolder[] = {
        {"arc", atArc}, {"arj", atArj}, {"cab", atCab}, {"compress", atGZip}, {"gzip", atGZip}, {"ha", atHa},
        {"lha", atLha}, {"rar", atRar}, {"tar", atTar}, {"zip", atZip}, {"zoo", atZoo}};
    struct Exception {
        const char* path;
        TArcType type;
        int64_t start;
    };
    const Exception exceptions[] = {
        {"arc/defacto2/PAK100.PAK", atPak, 1},
        {"arc/unarc-rs/license.pak", atPak, 1},
        {"arc/unarc-rs/license_crushed.pak", atPak, 1},
        // Acorn variants: the method byte has its top bit set.
        {"arc/libxmp/arc-method8-rle.arc", atUnknown, 1},
        {"arc/libxmp/arc-method2.arc", atUnknown, 1},
        {"lha/lha213/sfx.exe", atLhaExe, 1637},            // archive right behind the DOS image
        {"lha/lha255e/sfx.exe", atLhaExe, 1703},
        // Self-extractors whose archive lies elsewhere, and .COM ones without an executable header.
        {"lha/explzh_723/declha_sfx_ansi.exe", atUnknown, 1169},
        {"lha/lhmelt_16536/sfx_winsfx_213.exe", atUnknown, 1221},
        {"lha/lhmelt_16536/sfx_winsfx32_213.exe", atUnknown, 1232},
        {"lha/lharc113/sfx.com", atUnknown, 1},
        {"lha/larc333/sfx.com", atUnknown, 1},
        {"lha/pmarc2/pm2.pma", atUnknown, 1},
        {"rar/libarchive/test_read_format_rar_sfx.exe", atUnknown, 1169},
        {"rar/ssokolow/testfile.rar3.wincon.sfx.exe", atUnknown, 1169},
        {"rar/ssokolow/testfile.rar3.wingui.sfx.exe", atUnknown, 1169},
        {"rar/ssokolow/testfile.rar3.dos_sfx.exe", atUnknown, 14337},
        // A volume label followed by an empty archive: the second block is not a header.
        {"tar/libarchive/test_read_format_tar_empty_with_gnulabel.tar", atUnknown, 1},
        // A kilobyte of junk before the archive, no executable header.
        {"zip/libarchive/test_read_format_zip_sfx", atUnknown, 1},
    };
    int checked = 0;
    for (const auto& [folder, type] : byFolder) {
        for (const auto& f : std::filesystem::recursive_directory_iterator(root / folder)) {
            if (!f.is_regular_file()) continue;
            const std::string rel = std::filesystem::relative(f.path(), root).generic_string();
            TArcType want = type;
            int64_t start = 1;
            for (const Exception& e : exceptions) {
                if (rel == e.path) {
                    want = e.type;
                    start = e.start;
                }
            }
            const DetectResult r = DetectFile(f.path().string());
            EXPECT_EQ(r.arcType, want) << rel;
            EXPECT_EQ(r.arcStartPos, start) << rel;
            ++checked;
        }
    }
    EXPECT_GT(checked, 200);
}

}  // namespace
}  // namespace engine
