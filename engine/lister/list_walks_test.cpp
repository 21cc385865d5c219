// The lister's CAB, GZIP, RAR, TAR and UUE walks against what the real tools list: tar -tv, gzip -lv,
// cabextract -l, uuencode, and the corpus' RAR sets as lsar lists them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/rar/testdata/rar_writer.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_archives_testkit.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

struct Listed {
    std::string name;
    int64_t packed = 0, unpacked = 0;
    uint32_t crc = 0;
    std::string volume, method;
    std::string date;  // YYYY-MM-DD HH:MM:SS
    uint16_t methodNum = 0;
    uint32_t attr = 0;
};

struct Listing {
    std::vector<Listed> entries;
    std::vector<int> errors;
    int totals = -1;
    int64_t totalUnpacked = 0;
};

class ListWalks : public ::testing::Test {
public:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        RegisterListerClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        dir_ = mx::test::FreshDir();
    }
    void TearDown() override { owner_->Free(); }

    Listing List(const std::string& path, TArcType want)
    {
        Listing l;
        TKrenlo* k = fw::Make<TKrenlo>(owner_);
        k->OnRead.Bind(&l, [](void* c, fw::TObject* s, int64_t, int) {
            auto* kk = static_cast<TKrenlo*>(s);
            static_cast<Listing*>(c)->entries.push_back({kk->FileName, kk->PackedSize, kk->UnpackedSize, kk->CRC,
                                                         kk->VolumeID, kk->MethodName, testkit::DateText(kk->Date),
                                                         kk->MethodNum, kk->ExternalAttr});
        });
        k->OnError.Bind(&l, [](void* c, fw::TObject*, const std::string&, const std::string&, const std::string&,
                               int code) { static_cast<Listing*>(c)->errors.push_back(code); });
        k->OnTotals.Bind(&l, [](void* c, fw::TObject* s, int count) {
            static_cast<Listing*>(c)->totals = count;
            static_cast<Listing*>(c)->totalUnpacked = static_cast<TKrenlo*>(s)->TotalUnpackedSize;
        });
        // Later volumes are where the set says they are, in any case of letters (as Windows finds them).
        k->OnNextVolume.Bind(nullptr, [](void*, fw::TObject*, std::string& dir, std::string& fn, const std::string&,
                                         bool exists, bool& cancel) {
            if (exists)
                return;
            std::string unixDir = dir;
            for (char& c : unixDir)
                c = c == '\\' ? '/' : c;
            cancel = true;
            for (const auto& e : fs::directory_iterator(unixDir))
                if (UpperCase(e.path().filename().string()) == UpperCase(fn)) {
                    fn = e.path().filename().string();
                    cancel = false;
                }
        });
        k->SetArchiveFile(path);
        EXPECT_EQ(k->ArcType(), want) << path;
        EXPECT_TRUE(k->Activate());
        return l;
    }

    fw::TComponent* owner_ = nullptr;
    std::string dir_;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::string Backslashes(std::string s)
{
    for (char& c : s)
        if (c == '/')
            c = '\\';
    return s;
}

// tarfile's view of the regular files: name|size|mtime as local "YYYY-MM-DD HH:MM:SS"|header checksum.
constexpr const char* kTarfileScript = R"PY(
import sys, tarfile, time
for m in tarfile.open(sys.argv[1]).getmembers():
    if m.isreg():
        print('%s|%d|%s|%x' % (m.name.replace('/', '\\'), m.size, time.strftime('%Y-%m-%d %H:%M:%S',
              time.localtime(m.mtime)), m.chksum))
)PY";

TEST_F(ListWalks, TarMatchesTarTv)
{
    fs::create_directories(dir_ + "/t/sub");
    mx::test::WriteFile(dir_ + "/t/a.txt", "alpha");
    fs::create_directories(dir_ + "/t/sub/" + std::string(60, 'd'));
    mx::test::WriteFile(dir_ + "/t/sub/" + std::string(60, 'd') + "/" + std::string(90, 'x') + ".bin",
                        std::string(5000, 'b'));
    mx::test::WriteFile(dir_ + "/t/empty", "");
    mx::test::WriteFile(dir_ + "/tarview.py", kTarfileScript);
    // Stamps with odd seconds, one of them old.
    ASSERT_TRUE(engine::test::RunIn(dir_, "touch -d '2003-04-05 06:07:09' t/a.txt && touch -d '-3 hours -7 seconds' t/empty",
                                    "touch", "coreutils"));
    for (const char* format : {"gnu", "pax", "ustar"}) {
        SCOPED_TRACE(format);
        const std::string name = std::string(format) + ".tar";
        ASSERT_TRUE(engine::test::RunIn(dir_, "tar --format=" + std::string(format) + " -cf " + name + " t", "tar", "tar"));
        // tar -tv: mode, owner, size, date, time (to the minute), name; regular files only.
        std::map<std::string, std::string> want;
        for (const std::string& line : Lines(engine::test::CaptureIn(dir_, "tar -tvf " + name))) {
            if (line.empty() || line[0] != '-')
                continue;
            std::istringstream f(line);
            std::string mode, owner, size, date, time, file;
            f >> mode >> owner >> size >> date >> time >> file;
            want[Backslashes(file)] = size + "|" + date + " " + time;
        }
        const Listing l = List(dir_ + "/" + name, TArcType::atTar);
        std::map<std::string, std::string> got;
        for (const Listed& e : l.entries)
            got[e.name] = std::to_string(e.unpacked) + "|" + e.date.substr(0, 16);
        EXPECT_EQ(got, want);
        EXPECT_EQ(l.totals, 3);
        EXPECT_EQ(l.totalUnpacked, 5005);
        // The seconds and the header checksum (the lister's CRC) against Python's tarfile.
        std::vector<std::string> rows;
        for (const Listed& e : l.entries) {
            std::ostringstream o;
            o << e.name << '|' << e.unpacked << '|' << e.date << '|' << std::hex << e.crc;
            rows.push_back(o.str());
            EXPECT_EQ(e.method, "Stored");
            EXPECT_EQ(e.packed, e.unpacked);
        }
        EXPECT_EQ(rows, Lines(engine::test::CaptureIn(dir_, engine::test::Python() + " tarview.py " + name)));
    }
    // v7 archives mark folders only by a trailing "/": they are not listed as files.
    ASSERT_TRUE(engine::test::RunIn(dir_, "bsdtar --format v7 --exclude '*xxxx*' -cf v7.tar t", "bsdtar", "libarchive-tools"));
    const Listing v7 = List(dir_ + "/v7.tar", TArcType::atTar);
    std::map<std::string, int64_t> got;
    for (const Listed& e : v7.entries)
        got[e.name] = e.unpacked;
    EXPECT_EQ(got, (std::map<std::string, int64_t>{{"t\\a.txt", 5}, {"t\\empty", 0}}));
}

TEST_F(ListWalks, GzipMatchesGzipL)
{
    std::string text;
    for (int i = 0; i < 30000; ++i)
        text += "gzip lists the crc and sizes\n"[i % 29];
    mx::test::WriteFile(dir_ + "/notes.txt", text);
    ASSERT_TRUE(engine::test::RunIn(dir_, "touch -d '-40 minutes' notes.txt && gzip -k notes.txt && gzip -n < notes.txt > data.tar.gz",
                                    "gzip", "gzip"));
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (const char* file : {"notes.txt.gz", "data.tar.gz"}) {
        SCOPED_TRACE(file);
        // gzip -lvN: method crc date time compressed uncompressed ratio name.
        const auto lines = Lines(engine::test::CaptureIn(dir_, std::string("gzip -lvN ") + file));
        ASSERT_GE(lines.size(), 2u);
        std::istringstream f(lines[1]);
        std::string method, crc, month, day, time, ratio, name;
        int64_t compressed = 0, uncompressed = 0;
        f >> method >> crc >> month >> day >> time >> compressed >> uncompressed >> ratio >> name;
        const Listing l = List(dir_ + "/" + file, TArcType::atGZip);
        ASSERT_EQ(l.entries.size(), 1u);
        const Listed& e = l.entries[0];
        EXPECT_EQ(e.unpacked, uncompressed);
        EXPECT_EQ(e.crc, std::stoul(crc, nullptr, 16));
        EXPECT_EQ(e.method, "Deflate");
        EXPECT_EQ(e.methodNum, 0x8B1F);
        EXPECT_EQ(l.totals, 1);
        // The packed size is the deflate stream's: gzip's compressed size less the 10-byte header,
        // the stored name with its NUL and the 8-byte trailer (the part gzip's ratio is taken from).
        const bool named = std::string(file) == "notes.txt.gz";
        EXPECT_EQ(e.packed, compressed - 10 - (named ? int64_t(sizeof "notes.txt") : 0) - 8);
        if (named) {
            // The stored modification time, which gzip shows to the minute.
            const int mon = std::stoi(e.date.substr(5, 2));
            EXPECT_EQ(month, months[mon - 1]);
            EXPECT_EQ(std::stoi(day), std::stoi(e.date.substr(8, 2)));
            EXPECT_EQ(time, e.date.substr(11, 5));
        } else {
            // No stored time (gzip -l shows the file's own): the "no date" value.
            EXPECT_EQ(e.date, testkit::DateText(UnixToDateTime(0, 0)));
        }
    }
    // A stored name is listed as it stands; without one the file's name loses its last extension.
    EXPECT_EQ(List(dir_ + "/notes.txt.gz", TArcType::atGZip).entries[0].name, "notes.txt");
    EXPECT_EQ(List(dir_ + "/data.tar.gz", TArcType::atGZip).entries[0].name, "data.tar");
    // A .Z file: the whole file is the packed size, the file's own date (to DOS precision) the date.
    ASSERT_TRUE(engine::test::RunIn(dir_, "compress -c notes.txt > archive.tar.Z && touch -d '2011-02-03 04:05:06' archive.tar.Z",
                                    "compress", "ncompress"));
    const Listing z = List(dir_ + "/archive.tar.Z", TArcType::atGZip);
    ASSERT_EQ(z.entries.size(), 1u);
    EXPECT_EQ(z.entries[0].name, "archive.tar");
    EXPECT_EQ(z.entries[0].packed, int64_t(fs::file_size(dir_ + "/archive.tar.Z")));
    EXPECT_EQ(z.entries[0].method, "LzwMAGIC");
    EXPECT_EQ(z.entries[0].date, "2011-02-03 04:05:06");
}

TEST_F(ListWalks, CabMatchesCabextract)
{
    mx::test::WriteFile(dir_ + "/one.txt", std::string(1234, '1'));
    mx::test::WriteFile(dir_ + "/two.bin", std::string(70000, '2'));
    ASSERT_TRUE(engine::test::RunIn(dir_, "touch -d '2014-05-06 07:08:10' one.txt && gcab -c -z made.cab one.txt two.bin",
                                    "gcab", "gcab"));
    const auto check = [&](const std::string& path, int files) {
        SCOPED_TRACE(path);
        // cabextract -l: size | date time | name, between the dashed line and the blank line.
        std::map<std::string, std::string> want;
        bool in = false;
        for (const std::string& line : Lines(engine::test::CaptureIn(dir_, "cabextract -q -l '" + path + "'"))) {
            if (line.rfind("-----", 0) == 0) {
                in = true;
                continue;
            }
            if (!in || line.empty() || line.find('|') == std::string::npos)
                continue;
            const size_t bar1 = line.find('|'), bar2 = line.find('|', bar1 + 1);
            // DD.MM.YYYY HH:MM:SS
            const std::string d = line.substr(bar1 + 2, 19);
            want[Backslashes(line.substr(bar2 + 2))] = std::to_string(std::stoll(line.substr(0, bar1))) + "|" +
                                                       d.substr(6, 4) + "-" + d.substr(3, 2) + "-" + d.substr(0, 2) +
                                                       d.substr(10);
        }
        const Listing l = List(path, TArcType::atCab);
        std::map<std::string, std::string> got;
        for (const Listed& e : l.entries)
            got[e.name] = std::to_string(e.unpacked) + "|" + e.date;
        EXPECT_EQ(got, want);
        EXPECT_EQ(l.totals, files);
        EXPECT_TRUE(l.errors.empty());
        return l;
    };
    check(dir_ + "/made.cab", 2);
    // A set of five cabinets lists as one archive, each file once.
    const Listing set = check(mx::test::FixtureDir() + "/cab/cabextract/split-1.cab", 6);
    EXPECT_FALSE(set.entries.empty());

    // Cabinets that name themselves, or each other, as the next one end instead of going round.
    const auto cabinet = [](const std::string& next) {
        std::string names = next + '\0' + "disk" + '\0';
        const uint32_t folderAt = 36 + uint32_t(names.size()), fileAt = folderAt + 8, dataAt = fileAt + 16 + 6;
        std::string c = "MSCF";
        const auto put = [&c](uint32_t v, int n) {
            for (int i = 0; i < n; ++i)
                c += char(v >> (8 * i));
        };
        put(0, 4), put(dataAt + 11, 4), put(0, 4), put(fileAt, 4), put(0, 4);
        c += '\x03', c += '\x01';
        put(1, 2), put(1, 2), put(2, 2), put(0, 2), put(0, 2);
        c += names;
        put(dataAt, 4), put(1, 2), put(0, 2);
        put(3, 4), put(0, 4), put(0, 2), put(0x5821, 2), put(0x6000, 2), put(0x20, 2);
        c += std::string("a.txt") + '\0';
        put(0, 4), put(3, 2), put(3, 2);
        return c + "abc";
    };
    mx::test::WriteFile(dir_ + "/self.cab", cabinet("SELF.CAB"));
    EXPECT_EQ(List(dir_ + "/self.cab", TArcType::atCab).totals, 1);
    mx::test::WriteFile(dir_ + "/ping.cab", cabinet("pong.cab"));
    mx::test::WriteFile(dir_ + "/pong.cab", cabinet("ping.cab"));
    EXPECT_EQ(List(dir_ + "/ping.cab", TArcType::atCab).totals, 2);
}

// lsar's view of the entries of RAR archives, for many at once: "@@ PATH", then
// name|size|packed|crc|method|date|attributes per entry. A name lsar decodes from Unicode and the
// packed size of a file continued from an earlier volume (the lister gives its last part's) are "*".
constexpr const char* kRarLsarScript = R"PY(
import json, subprocess, sys
from concurrent.futures import ThreadPoolExecutor
def view(path):
    try:
        d = json.loads(subprocess.run(['lsar', '-j', path], capture_output=True).stdout.decode('utf-8'))
    except Exception:
        return []
    rows = []
    for e in d.get('lsarContents', []):
        name = e['XADFileName'].replace('/', '\\')
        # Names in UTF-8 come out in the ANSI code page, "_" for what it lacks; names that Windows
        # hosts flag as Unicode are listed in their OEM form, which lsar does not show.
        if e.get('RARFlags', 0) & 0x200 and e.get('RAROS') != 3 and not name.isascii(): name = '*'
        name = ''.join(c if c.encode('cp1252', 'ignore') else '_' for c in name)
        packed = '*' if e.get('RARFlags', 0) & 1 else str(e.get('XADCompressedSize', 0))
        date = e.get('XADLastModificationDate', '')[:19]
        if date < '1980': date = '*'  # a zero DOS stamp
        rows.append('%s|%d|%s|%x|%d|%s|%d' % (name, e.get('XADFileSize', 0), packed, e.get('RARCRC32', 0),
                    e.get('RARCompressionMethod', 0), date, e.get('RARAttributes', 0)))
    return rows
with ThreadPoolExecutor(8) as pool:
    for path, rows in zip(sys.argv[1:], pool.map(view, sys.argv[1:])):
        out = sys.stdout.buffer
        out.write(('@@ ' + path + '\n').encode('utf-8'))
        for row in rows: out.write((row + '\n').encode('cp1252'))
)PY";

// Generated stored RAR archives (one file, old-style and new-style volume sets) and every RAR of the
// corpus that lsar lists and that is not encrypted: each entry field by field against lsar.
TEST_F(ListWalks, RarMatchesLsar)
{
    std::string big;
    for (int i = 0; i < 9000; ++i)
        big += char('A' + i * 7 % 26);
    const std::vector<test::RarTestEntry> entries = {
        {"docs", "", true, 0x4C2B5A10},
        {"docs\\read me.txt", "plain text, stored", false, 0x5A6B1234, 0x30, false, 0x21},
        {"big.bin", big, false, 0x3E7F8B6C, 0x30, false, 0x20},
        {"tail.txt", "the last one", false, 0x58A34C41, 0x30, false, 0x22},
    };
    std::vector<std::string> archives;
    for (const auto& [volumeData, newNumbering, base] :
         std::vector<std::tuple<size_t, bool, std::string>>{{0, false, "one"}, {4000, false, "old"}, {4000, true, "new"}}) {
        const auto volumes = test::RarTestWriter::Make(base, entries, volumeData, newNumbering);
        for (const auto& [name, bytes] : volumes)
            mx::test::WriteFile(dir_ + "/" + name, bytes);
        archives.push_back(dir_ + "/" + volumes.front().first);
    }
    EXPECT_FALSE(fs::exists(dir_ + "/one.r00"));
    ASSERT_TRUE(fs::exists(dir_ + "/old.r01"));
    ASSERT_TRUE(fs::exists(dir_ + "/new.part3.rar"));
    const std::string root = mx::test::FixtureDir() + "/rar/";
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string name = e.path().filename().string();
        // First volumes only; the lister does not read RAR 5, encrypted headers or self-extractors.
        if (e.path().extension() != ".rar" || name.find("rar5") != std::string::npos ||
            name.find("ncrypt") != std::string::npos || name.find("psw") != std::string::npos ||
            (name.find(".part") != std::string::npos && name.find(".part1.") == std::string::npos &&
             name.find(".part01.") == std::string::npos && name.find(".part0001.") == std::string::npos))
            continue;
        archives.push_back(e.path().string());
    }
    mx::test::WriteFile(dir_ + "/rarlsar.py", kRarLsarScript);
    std::string cmd = engine::test::Python() + " rarlsar.py";
    for (const std::string& a : archives)
        cmd += " '" + a + "'";
    std::map<std::string, std::vector<std::string>> lsar;
    std::string current;
    for (const std::string& line : Lines(engine::test::CaptureIn(dir_, cmd))) {
        if (line.rfind("@@ ", 0) == 0)
            lsar[current = line.substr(3)];
        else if (!line.empty())
            lsar[current].push_back(line);
    }
    int compared = 0;
    for (const std::string& archive : archives) {
        SCOPED_TRACE(archive);
        std::vector<std::string> want = lsar[archive];
        if (want.empty())
            continue;
        const Listing l = List(archive, TArcType::atRar);
        std::vector<std::string> got;
        for (size_t i = 0; i < l.entries.size(); ++i) {
            const Listed& x = l.entries[i];
            const std::vector<std::string> theirs = i < want.size() ? testkit::Fields(want[i]) : std::vector<std::string>{};
            std::ostringstream o;
            o << (!theirs.empty() && theirs[0] == "*" ? "*" : x.name) << '|' << x.unpacked << '|'
              << (theirs.size() > 2 && theirs[2] == "*" ? "*" : std::to_string(x.packed)) << '|' << std::hex << x.crc
              << std::dec << '|' << x.methodNum << '|' << (theirs.size() > 5 && theirs[5] == "*" ? "*" : x.date) << '|'
              << x.attr;
            got.push_back(o.str());
        }
        EXPECT_EQ(got, want);
        EXPECT_TRUE(l.errors.empty());
        ++compared;
    }
    EXPECT_GE(compared, 20);
}

// The corpus' sets: each split file once, from its last part, naming that volume.
TEST_F(ListWalks, RarSets)
{
    const std::string root = mx::test::FixtureDir() + "/rar/sharpcompress/";
    // Seven volumes: each split file once, from its last part, naming that volume.
    const Listing l = List(root + "Rar2.multi.rar", TArcType::atRar);
    std::map<std::string, Listed> byName;
    for (const Listed& e : l.entries)
        byName[e.name] = e;
    ASSERT_TRUE(byName.count("exe\\test.exe"));
    EXPECT_EQ(l.entries.size(), 5u);
    EXPECT_EQ(l.totalUnpacked, 45056 + 40372 + 15498);
    EXPECT_FALSE(byName["jpg\\test.jpg"].volume.empty());
    EXPECT_NE(byName["jpg\\test.jpg"].volume, "Rar2.multi.rar");
}

// The archive manager lists every archive with one lister: an entry shows its own comment and no
// other. An ARJ whose last entry has a comment is listed before each of the other formats; RAR
// entries show the comments their headers hold (made here, and in the corpus' RAR 1.5 and 2.0
// archives), and a name a Unix host stored in UTF-8 comes out as it reads.
TEST_F(ListWalks, EntryCommentsStayWithTheirEntries)
{
    mx::test::WriteFile(dir_ + "/a.txt", "first file");
    mx::test::WriteFile(dir_ + "/b.txt", "second file");
    mx::test::WriteFile(dir_ + "/note.txt", "the last entry's comment");
    ASSERT_TRUE(engine::test::RunIn(dir_, "arj a -y c.arj a.txt b.txt && arj c -y c.arj b.txt -jznote.txt", "arj", "arj"));
    ASSERT_TRUE(engine::test::RunIn(dir_, "tar -cf t.tar a.txt b.txt && gzip -c a.txt > a.txt.gz && uuencode a.txt a.txt > a.uue",
                                    "gzip", "gzip"));
    ASSERT_TRUE(engine::test::RunIn(dir_, "zip -q z.zip a.txt b.txt", "zip", "zip"));
    const bool cab = engine::test::HaveTool("gcab");
    if (cab) {
        ASSERT_TRUE(engine::test::RunIn(dir_, "gcab -c -n c.cab a.txt b.txt", "gcab", "gcab"));
    }
    test::RarTestEntry first{"a.txt", "first file"}, second{"b.txt", "second file"};
    second.comment = "a RAR entry's own comment";
    test::RarTestEntry unix{"caf\xC3\xA9 \xE3\x83\x86.txt", "named on a Unix host"};
    unix.host = 3;
    for (const auto& [name, bytes] : test::RarTestWriter::Make("r", {first, second, unix}))
        mx::test::WriteFile(dir_ + "/" + name, bytes);
    ASSERT_TRUE(engine::test::RunIn(dir_, "lsar r.rar", "lsar", "unar"));
    mx::test::WriteFile(dir_ + "/plain.rar", test::RarTestWriter::Make("plain", {first})[0].second);

    TKrenlo* k = fw::Make<TKrenlo>(owner_);
    std::vector<std::string> rows;
    k->OnRead.Bind(&rows, [](void* c, fw::TObject* s, int64_t, int) {
        auto* kk = static_cast<TKrenlo*>(s);
        static_cast<std::vector<std::string>*>(c)->push_back(kk->FileName + "|" + kk->FileComment);
    });
    const auto list = [&](const std::string& path) {
        rows.clear();
        k->SetArchiveFile(path);
        EXPECT_TRUE(k->Activate()) << path;
        return rows;
    };
    const std::vector<std::string> arj = {"a.txt|", "b.txt|the last entry's comment"};
    struct Case {
        std::string archive;
        std::vector<std::string> rows;
    };
    std::vector<Case> cases = {
        {dir_ + "/t.tar", {"a.txt|", "b.txt|"}},
        {dir_ + "/a.txt.gz", {"a.txt|"}},
        {dir_ + "/a.uue", {"a.txt|"}},
        {dir_ + "/z.zip", {"a.txt|", "b.txt|"}},
        {dir_ + "/plain.rar", {"a.txt|"}},
        {dir_ + "/r.rar", {"a.txt|", "b.txt|a RAR entry's own comment", "caf\xE9 _.txt|"}},
        {mx::test::FixtureDir() + "/rar/rarfile/rar15-comment.rar",
         {"FILE1.TXT|file1comment -----", "FILE2.TXT|file2comment -----"}},
        {mx::test::FixtureDir() + "/rar/rarfile/rar202-comment-nopsw.rar",
         {"FILE1.TXT|file1comment", "FILE2.TXT|file2comment"}},
    };
    if (cab)
        cases.push_back({dir_ + "/c.cab", {"a.txt|", "b.txt|"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive);
        EXPECT_EQ(list(dir_ + "/c.arj"), arj);
        EXPECT_EQ(list(c.archive), c.rows);
    }
}

TEST_F(ListWalks, UueBeginLine)
{
    mx::test::WriteFile(dir_ + "/pic.bin", std::string(3000, '\x7f'));
    ASSERT_TRUE(engine::test::RunIn(dir_, "(echo 'some mail text'; uuencode pic.bin 'my picture.bin') > mail.uue",
                                    "uuencode", "sharutils"));
    const Listing l = List(dir_ + "/mail.uue", TArcType::atUue);
    ASSERT_EQ(l.entries.size(), 1u);
    EXPECT_EQ(l.entries[0].name, "my picture.bin");
    EXPECT_EQ(l.totals, 1);
}

}  // namespace
}  // namespace engine
