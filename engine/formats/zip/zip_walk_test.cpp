// The directory walks over archives made by real archivers, field by field against Python's zipfile,
// and the local-header fallback over archives whose central directory is gone.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/methods/method_names.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/local_walker.h"
#include "testing/test_env.h"

namespace engine::zip {
namespace {

using test::RunIn;

// Python's view of an archive, one line per entry, in the same form as OurListing. Archives Python
// cannot read, or that use ZIP64, print a single line saying so.
constexpr const char* kDumpScript = R"PY(
import struct, sys, zipfile
def hx(b): return b.hex() if b else '-'
def has64(extra):
    pos = 0
    while pos + 4 <= len(extra):
        fid, ln = struct.unpack('<HH', extra[pos:pos + 4])
        if fid == 1: return True
        pos += 4 + ln
    return False
zf = None
try:
    zf = zipfile.ZipFile(sys.argv[1])
except Exception as e:
    print('UNREADABLE'); sys.exit(0)
infos = zf.infolist()
if any(has64(i.extra) for i in infos):
    print('ZIP64'); sys.exit(0)
print('COMMENT', hx(zf.comment))
for i in infos:
    raw = i.orig_filename.encode('utf-8' if i.flag_bits & 0x800 else 'cp437')
    print('ENTRY', i.header_offset, i.compress_type, i.flag_bits, '%08x' % i.CRC, i.compress_size, i.file_size,
          '%d-%d-%d %d:%d:%d' % i.date_time, (i.create_system << 8) | i.create_version,
          (i.reserved << 8) | i.extract_version, i.volume, i.internal_attr, i.external_attr,
          hx(raw), hx(i.extra), hx(i.comment))
)PY";

std::string Hex(const std::string& s) {
    if (s.empty()) return "-";
    static const char* d = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) out.push_back(line);
    }
    return out;
}

std::vector<std::string> PythonListing(const std::string& dir, const std::string& zipPath) {
    const std::string script = dir + "/dump_zip.py";
    if (!std::filesystem::exists(script)) mx::test::WriteFile(script, kDumpScript);
    return Lines(test::CaptureIn(dir, test::Python() + " '" + script + "' '" + zipPath + "'"));
}

std::string DateText(uint16_t date, uint16_t time) {
    std::ostringstream o;
    o << (date >> 9) + 1980 << '-' << ((date >> 5) & 15) << '-' << (date & 31) << ' ' << (time >> 11) << ':'
      << ((time >> 5) & 63) << ':' << (time & 31) * 2;
    return o.str();
}

// Our central-directory walk in Python's form. embedded is added to stored local-header offsets.
std::vector<std::string> OurListing(const std::string& bytes, uint64_t embedded = 0) {
    SpanSource src({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    std::vector<std::string> out;
    const DirectoryLocation loc = LocateDirectory(src, embedded);
    out.push_back("COMMENT " + Hex(loc.archiveComment));
    embedded += loc.offsetBias;
    if (loc.kind != DirectoryLocation::Kind::Central) return out;
    CentralDirectoryWalker walker(src, loc.position);
    CentralEntry e;
    while (walker.Next(e) == WalkStep::Entry) {
        const CentralHeader& h = e.header;
        std::ostringstream o;
        o << "ENTRY " << h.localHeaderOffset + embedded << ' ' << h.method << ' ' << h.flags << ' ';
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", h.crc);
        o << crc << ' ' << h.compressedSize << ' ' << h.uncompressedSize << ' ' << DateText(h.date, h.time) << ' '
          << h.versionMadeBy << ' ' << h.versionNeeded << ' ' << h.diskStart << ' ' << h.internalAttr << ' '
          << h.externalAttr << ' ' << Hex(e.name) << ' ' << Hex(e.extra) << ' ' << Hex(e.comment);
        out.push_back(o.str());
    }
    return out;
}

// Input files: compressible text, incompressible bytes, an empty file, nested folders, an empty folder.
void MakeInputs(const std::string& dir) {
    std::filesystem::create_directories(dir + "/in/sub/deep");
    std::filesystem::create_directories(dir + "/in/emptydir");
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + " of some compressible text\n";
    mx::test::WriteFile(dir + "/in/a.txt", text);
    std::string noise(6000, '\0');
    uint32_t x = 12345;
    for (char& c : noise) c = static_cast<char>((x = x * 1103515245 + 12345) >> 24);
    mx::test::WriteFile(dir + "/in/b.bin", noise);
    mx::test::WriteFile(dir + "/in/empty.txt", "");
    mx::test::WriteFile(dir + "/in/sub/deep/c.txt", text.substr(0, 3000));
}

struct Made {
    const char* name;
    const char* cmd;
    const char* program;
    const char* package;
};

class ZipWalk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = mx::test::FreshDir();
        MakeInputs(dir_);
    }
    std::string dir_;
};

TEST_F(ZipWalk, CentralWalkMatchesPythonOnArchivesFromRealTools) {
    const Made made[] = {
        {"l0.zip", "zip -q -r -0 l0.zip in", "zip", "zip"},
        {"l1.zip", "zip -q -r -1 l1.zip in", "zip", "zip"},
        {"l3.zip", "zip -q -r -3 l3.zip in", "zip", "zip"},
        {"l6.zip", "zip -q -r -6 l6.zip in", "zip", "zip"},
        {"l8.zip", "zip -q -r -8 l8.zip in", "zip", "zip"},
        {"l9.zip", "zip -q -r -9 l9.zip in", "zip", "zip"},
        {"enc.zip", "zip -q -r -P secret enc.zip in", "zip", "zip"},
        {"nodirs.zip", "zip -q -r -D nodirs.zip in", "zip", "zip"},
        {"cm.zip", "printf 'first\\nsecond\\nthird\\n' > c.txt && zip -q -c cm.zip in/a.txt in/b.bin in/empty.txt < c.txt"
                   " && printf 'the archive comment\\n' | zip -q -z cm.zip",
         "zip", "zip"},
        {"stream.zip", "cat in/a.txt | zip -q - - > stream.zip", "zip", "zip"},
        {"pipe.zip", "zip -q -r - in | cat > pipe.zip", "zip", "zip"},
        {"7z.zip", "7zz a -tzip -bd -mx=5 7z.zip in", "7zz", "7zip"},
        {"7zs.zip", "7zz a -tzip -bd -mx=0 7zs.zip in", "7zz", "7zip"},
        {"empty.zip", "python3 -c \"import zipfile; zipfile.ZipFile('empty.zip', 'w').close()\"", "python3", "python3"},
        {"py.zip", "python3 -c \"import zipfile; z = zipfile.ZipFile('py.zip', 'w', zipfile.ZIP_DEFLATED);"
                   " z.comment = b'c'; z.write('in/a.txt'); z.writestr(zipfile.ZipInfo('x/'), b'');"
                   " i = zipfile.ZipInfo('n.txt'); i.comment = b'entry'; i.extra = b'\\xaa\\xbb\\x01\\x00z';"
                   " z.writestr(i, b'data'); z.close()\"",
         "python3", "python3"},
    };
    for (const Made& m : made) {
        ASSERT_TRUE(RunIn(dir_, m.cmd, m.program, m.package)) << m.name;
        const std::string path = dir_ + "/" + m.name;
        const auto want = PythonListing(dir_, path);
        ASSERT_GE(want.size(), 1u) << m.name;
        ASSERT_NE(want[0], "UNREADABLE") << m.name;
        EXPECT_EQ(OurListing(mx::test::ReadFile(path)), want) << m.name;
        EXPECT_TRUE(std::string(m.name) == "empty.zip" || want.size() > 1) << m.name << " has no entries";
    }
}

TEST_F(ZipWalk, DeflateVariantsAreNamedFromTheFlags) {
    const std::pair<const char*, const char*> levels[] = {
        {"-1", "DeflateF"}, {"-6", "DeflateN"}, {"-9", "DeflateX"}, {"-0", "Stored"}};
    for (const auto& [level, want] : levels) {
        const std::string name = std::string("v") + level + ".zip";
        ASSERT_TRUE(RunIn(dir_, std::string("zip -q ") + level + " " + name + " in/a.txt", "zip", "zip"));
        const std::string bytes = mx::test::ReadFile(dir_ + "/" + name);
        SpanSource src({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
        CentralDirectoryWalker walker(src, LocateDirectory(src).position);
        CentralEntry e;
        ASSERT_EQ(walker.Next(e), WalkStep::Entry);
        EXPECT_EQ(MethodNameOf(TArcType::atZip, e.header.method, e.header.IsDirectory(), e.header.flags), want)
            << level;
    }
}

TEST_F(ZipWalk, SelfExtractorMadeByZipA) {
    // A prefix that is not part of the archive; "zip -A" shifts the stored offsets past it.
    mx::test::WriteFile(dir_ + "/stub.bin", "MZ" + std::string(4094, '\x90'));
    ASSERT_TRUE(RunIn(dir_, "zip -q -r plain.zip in && cat stub.bin plain.zip > sfx.exe && zip -q -A sfx.exe", "zip",
                      "zip"));
    const std::string path = dir_ + "/sfx.exe";
    const auto want = PythonListing(dir_, path);
    ASSERT_GT(want.size(), 1u);
    EXPECT_EQ(OurListing(mx::test::ReadFile(path)), want);
    ASSERT_TRUE(RunIn(dir_, "unzip -tq sfx.exe", "unzip", "unzip"));
}

TEST_F(ZipWalk, LocalWalkWhenTheCentralDirectoryIsGone) {
    ASSERT_TRUE(RunIn(dir_, "zip -q -r -6 l6.zip in", "zip", "zip"));
    const std::string bytes = mx::test::ReadFile(dir_ + "/l6.zip");
    SpanSource full({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    const DirectoryLocation loc = LocateDirectory(full);
    ASSERT_EQ(loc.kind, DirectoryLocation::Kind::Central);
    std::vector<CentralEntry> central;
    CentralDirectoryWalker walker(full, loc.position);
    for (CentralEntry e; walker.Next(e) == WalkStep::Entry;) central.push_back(e);
    ASSERT_GE(central.size(), 6u);

    // Cut off at the directory: only local headers remain.
    const std::string cut = bytes.substr(0, loc.position);
    SpanSource src({reinterpret_cast<const uint8_t*>(cut.data()), cut.size()});
    const DirectoryLocation fallback = LocateDirectory(src);
    ASSERT_EQ(fallback.kind, DirectoryLocation::Kind::Local);
    EXPECT_FALSE(fallback.end);
    LocalHeaderWalker local(src, fallback.position);
    size_t i = 0;
    for (LocalEntry e; local.Next(e) == WalkStep::Entry; ++i) {
        ASSERT_LT(i, central.size());
        EXPECT_EQ(e.name, central[i].name);
        EXPECT_EQ(e.position, central[i].header.localHeaderOffset);
        EXPECT_EQ(e.header.crc, central[i].header.crc);
        EXPECT_EQ(e.header.compressedSize, central[i].header.compressedSize);
        EXPECT_EQ(e.header.method, central[i].header.method);
        EXPECT_FALSE(e.dataTruncated);
    }
    EXPECT_EQ(i, central.size());

    // A wrong directory offset in the end record: the directory is found by its signature.
    std::string moved = bytes;
    moved[loc.end->position + EndRecord::kOffDirectoryOffset] ^= 0x55;
    EXPECT_EQ(OurListing(moved), OurListing(bytes));
}

TEST_F(ZipWalk, StreamedEntriesEndTheLocalWalkWhereTheirDataBegins) {
    ASSERT_TRUE(RunIn(dir_, "zip -q - in/a.txt in/b.bin | cat > pipe.zip", "zip", "zip"));
    const std::string bytes = mx::test::ReadFile(dir_ + "/pipe.zip");
    SpanSource src({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    LocalHeaderWalker local(src, 0);
    LocalEntry e;
    ASSERT_EQ(local.Next(e), WalkStep::Entry);
    EXPECT_NE(e.header.flags & kFlagDescriptor, 0);
    EXPECT_EQ(e.header.compressedSize, 0u);
    EXPECT_EQ(local.Next(e), WalkStep::End);  // nothing says where the next header lies
}

TEST(ZipWalkFixtures, CentralWalkMatchesPythonOnEveryFixture) {
    const std::filesystem::path root = mx::test::FixtureDir() + "/zip";
    ASSERT_TRUE(std::filesystem::exists(root)) << root;
    const std::string dir = mx::test::FreshDir();
    int compared = 0;
    for (const auto& f : std::filesystem::recursive_directory_iterator(root)) {
        if (!f.is_regular_file()) continue;
        const std::string path = f.path().string();
        const auto want = PythonListing(dir, path);
        if (want.empty() || want[0] == "UNREADABLE" || want[0] == "ZIP64") continue;
        EXPECT_EQ(OurListing(mx::test::ReadFile(path)), want) << path;
        ++compared;
    }
    EXPECT_GE(compared, 15);
}

}  // namespace
}  // namespace engine::zip
