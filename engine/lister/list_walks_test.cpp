// The lister's CAB, GZIP, RAR, TAR and UUE walks against what the real tools list: tar -tv, gzip -lv,
// cabextract -l, uuencode, and the corpus' RAR sets as lsar lists them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/lister/krenlo.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

struct Listed {
    std::string name;
    int64_t packed = 0, unpacked = 0;
    uint32_t crc = 0;
    std::string volume, method;
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
            static_cast<Listing*>(c)->entries.push_back(
                {kk->FileName, kk->PackedSize, kk->UnpackedSize, kk->CRC, kk->VolumeID, kk->MethodName});
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

TEST_F(ListWalks, TarMatchesTarTv)
{
    fs::create_directories(dir_ + "/t/sub");
    mx::test::WriteFile(dir_ + "/t/a.txt", "alpha");
    fs::create_directories(dir_ + "/t/sub/" + std::string(60, 'd'));
    mx::test::WriteFile(dir_ + "/t/sub/" + std::string(60, 'd') + "/" + std::string(90, 'x') + ".bin",
                        std::string(5000, 'b'));
    mx::test::WriteFile(dir_ + "/t/empty", "");
    for (const char* format : {"gnu", "pax", "ustar"}) {
        SCOPED_TRACE(format);
        const std::string name = std::string(format) + ".tar";
        ASSERT_TRUE(engine::test::RunIn(dir_, "tar --format=" + std::string(format) + " -cf " + name + " t", "tar", "tar"));
        // tar -tv: mode, owner, size, date, time, name; regular files only.
        std::map<std::string, int64_t> want;
        for (const std::string& line : Lines(engine::test::CaptureIn(dir_, "tar -tvf " + name))) {
            if (line.empty() || line[0] != '-')
                continue;
            std::istringstream f(line);
            std::string mode, owner, date, time, file;
            int64_t size = 0;
            f >> mode >> owner >> size >> date >> time >> file;
            want[Backslashes(file)] = size;
        }
        const Listing l = List(dir_ + "/" + name, TArcType::atTar);
        std::map<std::string, int64_t> got;
        for (const Listed& e : l.entries)
            got[e.name] = e.unpacked;
        EXPECT_EQ(got, want);
        EXPECT_EQ(l.totals, 3);
        EXPECT_EQ(l.totalUnpacked, 5005);
    }
}

TEST_F(ListWalks, GzipMatchesGzipL)
{
    std::string text;
    for (int i = 0; i < 30000; ++i)
        text += "gzip lists the crc and sizes\n"[i % 29];
    mx::test::WriteFile(dir_ + "/notes.txt", text);
    ASSERT_TRUE(engine::test::RunIn(dir_, "gzip -k notes.txt && gzip -n < notes.txt > data.tar.gz", "gzip", "gzip"));
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
        EXPECT_EQ(l.entries[0].unpacked, uncompressed);
        EXPECT_EQ(l.entries[0].crc, std::stoul(crc, nullptr, 16));
        EXPECT_EQ(l.entries[0].method, "Deflate");
        EXPECT_EQ(l.totals, 1);
    }
    // A stored name is listed as it stands; without one the file's name loses its last extension.
    EXPECT_EQ(List(dir_ + "/notes.txt.gz", TArcType::atGZip).entries[0].name, "notes.txt");
    EXPECT_EQ(List(dir_ + "/data.tar.gz", TArcType::atGZip).entries[0].name, "data.tar");
    ASSERT_TRUE(engine::test::RunIn(dir_, "compress -c notes.txt > archive.tar.Z", "compress", "ncompress"));
    const Listing z = List(dir_ + "/archive.tar.Z", TArcType::atGZip);
    ASSERT_EQ(z.entries.size(), 1u);
    EXPECT_EQ(z.entries[0].name, "archive.tar");
    EXPECT_EQ(z.entries[0].packed, int64_t(fs::file_size(dir_ + "/archive.tar.Z")));
}

TEST_F(ListWalks, CabMatchesCabextract)
{
    mx::test::WriteFile(dir_ + "/one.txt", std::string(1234, '1'));
    mx::test::WriteFile(dir_ + "/two.bin", std::string(70000, '2'));
    ASSERT_TRUE(engine::test::RunIn(dir_, "gcab -c -z made.cab one.txt two.bin", "gcab", "gcab"));
    const auto check = [&](const std::string& path, int files) {
        SCOPED_TRACE(path);
        // cabextract -l: size | date time | name, between the dashed line and the blank line.
        std::map<std::string, int64_t> want;
        bool in = false;
        for (const std::string& line : Lines(engine::test::CaptureIn(dir_, "cabextract -q -l '" + path + "'"))) {
            if (line.rfind("-----", 0) == 0) {
                in = true;
                continue;
            }
            if (!in || line.empty() || line.find('|') == std::string::npos)
                continue;
            const size_t bar1 = line.find('|'), bar2 = line.find('|', bar1 + 1);
            want[Backslashes(line.substr(bar2 + 2))] = std::stoll(line.substr(0, bar1));
        }
        const Listing l = List(path, TArcType::atCab);
        std::map<std::string, int64_t> got;
        for (const Listed& e : l.entries)
            got[e.name] = e.unpacked;
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

TEST_F(ListWalks, RarSets)
{
    const std::string root = mx::test::FixtureDir() + "/rar/sharpcompress/";
    Listing l = List(root + "Rar.none.rar", TArcType::atRar);
    std::map<std::string, int64_t> got;
    for (const Listed& e : l.entries)
        got[e.name] = e.unpacked;
    EXPECT_EQ(got.at("exe\\test.exe"), 45056);
    EXPECT_EQ(got.at("jpg\\test.jpg"), 40372);
    EXPECT_EQ(got.size(), 6u);
    EXPECT_TRUE(l.errors.empty());

    // Seven volumes: each split file once, from its last part, naming that volume.
    l = List(root + "Rar2.multi.rar", TArcType::atRar);
    std::map<std::string, Listed> byName;
    for (const Listed& e : l.entries)
        byName[e.name] = e;
    ASSERT_TRUE(byName.count("exe\\test.exe"));
    EXPECT_EQ(byName["exe\\test.exe"].unpacked, 45056);
    EXPECT_EQ(byName["exe\\test.exe"].crc, 0xcfb109c8u);
    EXPECT_EQ(byName["jpg\\test.jpg"].crc, 0x088814e3u);
    EXPECT_EQ(l.entries.size(), 5u);
    EXPECT_EQ(l.totalUnpacked, 45056 + 40372 + 15498);
    EXPECT_FALSE(byName["jpg\\test.jpg"].volume.empty());
    EXPECT_NE(byName["jpg\\test.jpg"].volume, "Rar2.multi.rar");
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
