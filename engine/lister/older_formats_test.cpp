// The lister's walks of ARC, PAK, ARJ, BH, HA, LHA and ZOO: listings of archives that arc, arj and
// jlha make at test time and of the fixture corpus, field by field against lsar (and lhasa); ZOO,
// HA, PAK and BH archives built here from the formats' layouts; multi-volume ARJ sets; header
// chains that point backwards, at themselves or past the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/lzh/testing/lha_header_cases.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_archives_testkit.h"
#include "framework/core/sysutils.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::RunIn;
using namespace testkit;

// Rows compared field by field after sorting; a "*" field of Expected matches anything.
void ExpectSameRows(std::vector<std::string> ours, std::vector<std::string> expected)
{
    std::sort(ours.begin(), ours.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(ours.size(), expected.size()) << ::testing::PrintToString(ours) << " vs " << ::testing::PrintToString(expected);
    for (size_t i = 0; i < ours.size(); ++i) {
        std::vector<std::string> a = Fields(ours[i]), b = Fields(expected[i]);
        for (size_t f = 0; f < a.size() && f < b.size(); ++f)
            if (b[f] == "*")
                a[f] = "*";
        EXPECT_EQ(a, b) << ours[i] << " vs " << expected[i];
    }
}

// The oracles' views of the entries of archives, one line each, for many archives at once (in
// parallel): the arguments are "lsar:PATH", "lhasa:PATH" or "arj:PATH", and the lines of each follow
// a line "@@ ARGUMENT".
// - lsar -j: name|size|packed|crc|method|date|attributes|encrypted of every file entry, the form
//   ListedEntry::Row gives ours. The method is the number the header stores (LHA: its method letter);
//   LHA's packed size is capped at the size, as the lister reports it; attributes are "-" where lsar
//   gives none; "*" stands for a field that is not compared.
// - lhasa v: name|size|packed|crc|method|stamp, the stamp as lhasa prints it ("MM-DD YYYY" for older
//   dates, "MM-DD HH:MM" for recent ones).
// - arj v: name|size|packed|date|method|garbled.
constexpr const char* kOracleScript = R"PY(
import json, re, subprocess, sys
from concurrent.futures import ThreadPoolExecutor

def run(*cmd):
    return subprocess.run(cmd, capture_output=True).stdout.decode('latin-1')

def lsar(path):
    d = json.loads(subprocess.run(['lsar', '-j', path], capture_output=True).stdout.decode('utf-8'))
    lzh = d.get('lsarFormatName') == 'LZH'
    rows = []
    for e in d.get('lsarContents', []):
        if e.get('XADIsDirectory'): continue
        crc = 0
        for k, v in e.items():
            if 'CRC' in k and not k.startswith('XAD'): crc = v & 0xFFFFFFFF
        size, packed = e.get('XADFileSize', -1), e.get('XADCompressedSize', -1)
        method = next((e[k] for k in ('ARCMethod', 'ARJMethod', 'ZooMethod') if k in e), -1)
        date = e.get('XADLastModificationDate', '')[:19]
        if lzh:
            packed = min(packed, size)
            method = ord(e['XADCompressionName'][3])
            # Unix LHA archives of level 0 and 1 may add a Unix time, which lsar prefers; the lister
            # reads their DOS stamp, as lhasa does.
            if e.get('LHAHeaderLevel', 2) < 2 and e.get('LHAOS') == 85: date = '*'
        # A stamp that is no date (a zero DOS stamp) or that lsar misreads (years past 2107).
        if not date[:4].isdigit() or not 1980 <= int(date[:4]) <= 2107 or date[4] != '-': date = '*'
        rows.append('%s|%d|%d|%x|%d|%s|%s|%d' % (e['XADFileName'].lstrip('/').replace('/', '\\'), size, packed, crc,
                    method, date, e.get('XADDOSFileAttributes', '-'), e.get('XADIsEncrypted', 0)))
    return rows

def lhasa(path):
    out = run('lhasa', 'v', path).splitlines()
    months = 'Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec'.split()
    dashes = [i for i, l in enumerate(out) if l.startswith('-----')]
    # The columns are where the dashes are: permissions, owner, packed, size, ratio, method and CRC,
    # stamp, name.
    cols = [m.span() for m in re.finditer('-+', out[dashes[0]])]
    rows = []
    for line in out[dashes[0] + 1:dashes[1]]:
        cell = [line[a:b if i + 1 < len(cols) else None].strip() for i, (a, b) in enumerate(cols)]
        name = cell[7]
        if name.endswith('/'): continue
        method, crc = cell[5].split()
        packed, size = int(cell[2]), int(cell[3])
        stamp = cell[6].split()
        stamp = '%02d-%02d %s' % (months.index(stamp[0]) + 1, int(stamp[1]), stamp[2]) if stamp else '*'
        rows.append('%s|%d|%d|%s|%d|%s' % (name.lstrip('/').replace('/', '\\'), size, min(packed, size),
                    crc.lstrip('0') or '0', ord(method[3]), stamp))
    return rows

def arj(path):
    out = run('arj', 'v', path).splitlines()
    flags = next(l for l in out if 'BPMGS' in l).index('BPMGS')
    rows, name = [], None
    for line in out:
        if len(line) > 5 and line[:3].isdigit() and line[3:5] == ') ':
            name = line[5:]
        elif name is not None:
            f = line.split()
            yy, mm, dd = f[5].split('-')
            year = int(yy) + (1900 if int(yy) >= 80 else 2000)
            bpmgs = line[flags:flags + 5].ljust(5)
            rows.append('%s|%s|%s|%d-%s-%s %s|%s|%d' % (name.replace('/', '\\'), f[2], f[3], year, mm, dd, f[6],
                        bpmgs[2], bpmgs[3] == '1'))
            name = None
    return rows

def view(request):
    kind, path = request.split(':', 1)
    try:
        return {'lsar': lsar, 'lhasa': lhasa, 'arj': arj}[kind](path)
    except Exception:
        return []

with ThreadPoolExecutor(8) as pool:
    for request, rows in zip(sys.argv[1:], pool.map(view, sys.argv[1:])):
        print('@@ ' + request)
        for row in rows: print(row)
)PY";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.push_back(line);
    return out;
}


class OlderFormatsTest : public ListerFixture {
public:
    void SetUp() override
    {
        ListerFixture::SetUp();
        mx::test::WriteFile(dir_ + "/oracles.py", kOracleScript);
    }
    // Asks the oracles for every "KIND:PATH" of Requests at once; Oracle then answers from memory.
    void AskOracles(const std::vector<std::string>& requests)
    {
        std::string cmd = test::Python() + " oracles.py";
        for (const std::string& r : requests)
            cmd += " '" + r + "'";
        std::string current;
        for (const std::string& line : Lines(test::CaptureIn(dir_, cmd))) {
            if (line.rfind("@@ ", 0) == 0)
                oracle_[current = line.substr(3)];
            else
                oracle_[current].push_back(line);
        }
    }
    std::vector<std::string> Oracle(const std::string& kind, const std::string& path)
    {
        const std::string request = kind + ":" + path;
        if (!oracle_.count(request))
            AskOracles({request});
        return oracle_[request];
    }

    // Lists Path and compares every field with lsar's view; false when lsar does not read it.
    bool MatchesLsar(const std::string& path)
    {
        auto expected = Oracle("lsar", path);
        if (expected.empty())
            return false;
        bool attributes = false;
        for (const auto& row : expected)
            attributes = attributes || Fields(row).at(6) != "-";
        List(path);
        std::vector<std::string> ours;
        for (const ListedEntry& e : entries_)
            ours.push_back(e.Row(attributes));
        ExpectSameRows(ours, expected);
        EXPECT_EQ(totals_, int(entries_.size()));
        return true;
    }

    // Lists Path and compares names, sizes, CRCs, methods and dates with lhasa v.
    void MatchesLhasa(const std::string& path)
    {
        const auto expected = Oracle("lhasa", path);
        ASSERT_FALSE(expected.empty());
        List(path);
        std::vector<ListedEntry> files;
        for (const ListedEntry& e : entries_)
            if (e.method != 'd')
                files.push_back(e);  // lhasa lists -lhd- entries as folders
        ASSERT_EQ(files.size(), expected.size());
        std::vector<std::string> ours, theirs;
        for (size_t i = 0; i < files.size(); ++i) {
            const ListedEntry& e = files[i];
            // lhasa cuts ".." parts and leading separators out of the names it shows.
            if (e.name.find("..") != std::string::npos || e.name[0] == '\\')
                continue;
            // ... and shows the upper-case names of DOS archives in lower case.
            theirs.push_back(fw::LowerCase(expected[i]));
            const std::string date = DateText(e.date);
            // lhasa prints the time of recent stamps and the year of older ones.
            const bool recent = Fields(expected[i]).back().find(':') != std::string::npos;
            std::ostringstream o;
            o << e.name << '|' << e.unpacked << '|' << e.packed << '|' << std::hex << e.crc << std::dec << '|'
              << e.method << '|' << date.substr(5, 5) << ' ' << (recent ? date.substr(11, 5) : date.substr(0, 4));
            ours.push_back(fw::LowerCase(o.str()));
        }
        ExpectSameRows(ours, theirs);
    }

    // Lists Path and compares names, sizes, dates, methods and the garbled flag with arj v.
    void MatchesArj(const std::string& path)
    {
        const auto expected = Oracle("arj", path);
        ASSERT_FALSE(expected.empty());
        List(path);
        std::vector<std::string> ours;
        for (const ListedEntry& e : entries_) {
            std::ostringstream o;
            o << e.name << '|' << e.unpacked << '|' << e.packed << '|' << DateText(e.date) << '|' << e.method << '|'
              << (e.encrypted ? 1 : 0);
            ours.push_back(o.str());
        }
        EXPECT_EQ(ours, expected);
    }

    std::map<std::string, std::vector<std::string>> oracle_;
};

// Every archive of the corpus that lsar reads (single archives; the split sets are below) lists as
// lsar lists it, field by field; the LHA archives also as lhasa lists them, the ARJ archives as arj.
TEST_F(OlderFormatsTest, FixtureCorpusMatchesLsarLhasaAndArj)
{
    std::vector<std::string> paths, requests;
    for (const char* format : {"arc", "arj", "lha", "zoo"}) {
        for (const auto& e : fs::recursive_directory_iterator(mx::test::FixtureDir() + "/" + format)) {
            const std::string path = e.path().string();
            const std::string ext = e.path().extension().string();
            if (!e.is_regular_file() || ext == ".exe" || ext == ".com" || ext == ".pma" ||
                path.find("split") != std::string::npos || path.find("multi") != std::string::npos)
                continue;
            // Level-3 headers are not read; a name holding a line end cannot be compared by lines.
            if (path.find("/h3_") != std::string::npos || path.find("badterm") != std::string::npos)
                continue;
            lister_->SetArchiveFile(path);
            if (lister_->ArcType() == TArcType::atUnknown || lister_->ArcType() == TArcType::atNA)
                continue;  // Acorn Spark variants are not ARC archives to the detection
            paths.push_back(path);
            requests.push_back("lsar:" + path);
            if (std::string(format) != "arc" && std::string(format) != "zoo")
                requests.push_back((std::string(format) == "lha" ? "lhasa:" : "arj:") + path);
        }
    }
    AskOracles(requests);
    int archives = 0, lhasa = 0, arj = 0;
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        if (!MatchesLsar(path))
            continue;
        ++archives;
        if (!oracle_["lhasa:" + path].empty()) {
            MatchesLhasa(path);
            ++lhasa;
        }
        if (!oracle_["arj:" + path].empty()) {
            MatchesArj(path);
            ++arj;
        }
    }
    EXPECT_GE(archives, 40);
    EXPECT_GE(lhasa, 20);
    EXPECT_GE(arj, 8);
}

TEST_F(OlderFormatsTest, ArchivesMadeByArcArjAndJlha)
{
    fs::create_directories(dir_ + "/src/sub");
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += "line " + std::to_string(i * 7919 % 1000) + "\n";
    mx::test::WriteFile(dir_ + "/src/a.txt", text);
    mx::test::WriteFile(dir_ + "/src/sub/b.txt", text.substr(0, 3000) + "end");
    mx::test::WriteFile(dir_ + "/src/c.bin", std::string(100, 'c'));
    // One old stamp and one recent one, so that lhasa prints both a year and a time; odd seconds.
    ASSERT_TRUE(RunIn(dir_ + "/src", "touch -d '2019-03-07 08:09:11' a.txt && touch -d '-2 days' c.bin", "touch",
                      "coreutils"));
    const std::string src = dir_ + "/src";
    ASSERT_TRUE(RunIn(src, "arc a ../x.arc a.txt c.bin", "arc", "arc"));
    for (int m = 0; m <= 4; ++m)
        ASSERT_TRUE(RunIn(src, "arj a -r -y -m" + std::to_string(m) + " ../m" + std::to_string(m) + ".arj a.txt sub c.bin",
                          "arj", "arj"));
    ASSERT_TRUE(RunIn(src, "arj a -r -y -gsecret ../g.arj a.txt sub", "arj", "arj"));
    for (const char* level : {"0", "1", "2"})
        ASSERT_TRUE(RunIn(src, std::string("jlha c") + level + "q ../l" + level + ".lzh a.txt sub c.bin", "jlha",
                          "jlha-utils"));
    const std::vector<std::string> names = {"x.arc",  "m0.arj", "m1.arj", "m2.arj", "m3.arj",
                                            "m4.arj", "g.arj",  "l0.lzh", "l1.lzh", "l2.lzh"};
    std::vector<std::string> requests;
    for (const std::string& name : names) {
        requests.push_back("lsar:" + dir_ + "/" + name);
        requests.push_back((name[0] == 'l' ? "lhasa:" : "arj:") + dir_ + "/" + name);
    }
    AskOracles(requests);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(MatchesLsar(dir_ + "/" + name));
        EXPECT_TRUE(errors_.empty());
        if (name[0] == 'l')
            MatchesLhasa(dir_ + "/" + name);
        if (name.find(".arj") != std::string::npos)
            MatchesArj(dir_ + "/" + name);
    }
    // Level-2 LHA headers and Unix-made ARJ archives hold Unix time, to the second; LHA levels 0 and 1
    // and ARC keep local DOS time, in two-second steps.
    for (const auto& [name, date] : std::vector<std::pair<std::string, std::string>>{
             {"l2.lzh", "2019-03-07 08:09:11"}, {"m1.arj", "2019-03-07 08:09:11"},
             {"l1.lzh", "2019-03-07 08:09:10"}, {"l0.lzh", "2019-03-07 08:09:10"}, {"x.arc", "2019-03-07 08:09:10"}}) {
        List(dir_ + "/" + name);
        EXPECT_EQ(DateText(dates_.at(0)), date) << name;
    }
    // Garbled ARJ entries are flagged.
    List(dir_ + "/g.arj");
    EXPECT_TRUE(lister_->Encrypted);
}

// A three-volume entry is reported once with the sums of its parts and the first volume's name.
TEST_F(OlderFormatsTest, MultiVolumeArjSetsListAsOneArchive)
{
    std::string noise;
    uint32_t x = 99;
    for (int i = 0; i < 150000; ++i) {
        x = x * 1103515245u + 12345u;
        noise += char(x >> 24);
    }
    mx::test::WriteFile(dir_ + "/big.bin", noise);
    mx::test::WriteFile(dir_ + "/small.txt", "small file");
    ASSERT_TRUE(RunIn(dir_, "arj a -m0 -y -v60k set.arj big.bin small.txt", "arj", "arj"));
    ASSERT_TRUE(fs::exists(dir_ + "/set.a02"));
    const auto rows = List(dir_ + "/set.arj");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, rows[0].rfind('|')), "big.bin|150000|150000");
    EXPECT_EQ(volumeIds_[0], "set.arj");
    EXPECT_EQ(asked_, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(totals_, 2);
    EXPECT_EQ(lister_->TotalUnpackedSize, 150010);
}

TEST_F(OlderFormatsTest, ZooArchivesBuiltHereMatchLsar)
{
    const std::string zoo = MakeZoo({{"one.txt", "first entry"}, {"dir/two.txt", "second entry, longer"}});
    mx::test::WriteFile(dir_ + "/t.zoo", zoo);
    lister_->SetArchiveFile(dir_ + "/t.zoo");
    EXPECT_EQ(lister_->ArcType(), TArcType::atZoo);
    ASSERT_TRUE(MatchesLsar(dir_ + "/t.zoo"));
    EXPECT_EQ(filenums_, (std::vector<int>{1, 2}));
    EXPECT_EQ(totals_, 2);
    EXPECT_EQ(methods_.at(0), "Stored");
}

// A header the walk cannot read (a level above 2, a size byte below 22, no method) ends it with the
// report 25108 naming the header's offset, after the entries before it; a level-2 header whose size
// byte reads 0 is read whole.
TEST_F(OlderFormatsTest, UnreadableLhaHeadersAreReportedWithTheirOffset)
{
    for (const test::LhaHeaderCase& c : test::MakeLhaHeaderCases(dir_)) {
        SCOPED_TRACE(c.label);
        List(c.archive);
        std::vector<std::string> names;
        for (const ListedEntry& e : entries_)
            names.push_back(e.name);
        EXPECT_EQ(names, c.names);
        if (c.damagedAt < 0) {
            EXPECT_TRUE(errors_.empty());
        } else {
            EXPECT_EQ(errors_, std::vector<int>{25108});
            EXPECT_EQ(msgExs_, std::vector<std::string>{"at offset " + std::to_string(c.damagedAt)});
        }
    }
}

// Sizes that run away end the walk after at most one pass (the ZOO loops are in the corpus test).
TEST_F(OlderFormatsTest, HostileChainsEndTheWalk)
{
    // An LHA entry whose packed size points past the end, and one of a negative (huge) size.
    ASSERT_TRUE(RunIn(dir_, "printf 'hello' > h.txt && jlha c0zq h.lzh h.txt", "jlha", "jlha-utils"));
    std::string lha = mx::test::ReadFile(dir_ + "/h.lzh");
    lha[10] = char(0xFF);  // packed size high byte
    mx::test::WriteFile(dir_ + "/huge.lzh", lha);
    List(dir_ + "/huge.lzh");
    EXPECT_EQ(rows_.size(), 1u);
    EXPECT_EQ(errors_, std::vector<int>{25108});
    // A PAK whose size points past the end, a BH with a zero-size end header.
    mx::test::WriteFile(dir_ + "/cut.pak", MakePak({{"A.TXT", 10, "abc"}}).substr(0, 20));
    List(dir_ + "/cut.pak");
    EXPECT_TRUE(rows_.empty());
    EXPECT_EQ(errors_, std::vector<int>{25108});
}

}  // namespace
}  // namespace engine
