// The ZIP extractor over archives that Info-ZIP, 7z and Python's zipfile make at test time: output
// byte for byte and date for date as unzip writes it, test mode, damaged entries, passwords, answers
// of the event handlers and names that try to leave the extract folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/core/testing/forwarding_host.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/common/testdata/wrong_passwords.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::RunIn;

// Every regular file below Root by its relative path, with its bytes.
std::map<std::string, std::string> Tree(const std::string& root)
{
    std::map<std::string, std::string> out;
    if (!fs::exists(root))
        return out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            out[fs::relative(e.path(), root).generic_string()] = mx::test::ReadFile(e.path().string());
    return out;
}

int64_t MTime(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? int64_t(st.st_mtime) : -1;
}

class UnZipTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUnZipClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        unzip_ = fw::Make<TUnZIP>(owner_);
        unzip_->OnBegin.Bind(this, &UnZipTest::Begin);
        unzip_->OnEnd.Bind(this, &UnZipTest::End);
        unzip_->OnError.Bind(this, &UnZipTest::Error);
        unzip_->OnProgress.Bind(this, &UnZipTest::Progress);
        unzip_->OnActivate.Bind(this, &UnZipTest::Activated);
        unzip_->OnDeactivate.Bind(this, &UnZipTest::Deactivated);
        unzip_->OnElapsedTime.Bind(this, &UnZipTest::Elapsed);
        unzip_->OnFileExists.Bind(this, &UnZipTest::Exists);
    }
    void TearDown() override { owner_->Free(); }

    void Begin(fw::TObject*, const std::string& fn, int recNum, bool& extract)
    {
        events_.push_back("begin " + std::to_string(recNum) + " " + fn);
        if (!declineName_.empty() && fn.substr(fn.find_last_of("\\/") + 1) == declineName_)
            extract = false;
    }
    void End(fw::TObject*, const std::string& fn, bool pass) { events_.push_back(std::string(pass ? "pass " : "FAIL ") + fn); }
    void Error(fw::TObject*, const std::string&, const std::string&, const std::string&, int code)
    {
        errors_.push_back(code);
        events_.push_back("error " + std::to_string(code));
    }
    void Progress(fw::TObject*, uint8_t percent)
    {
        lastProgress_ = percent;
        ++progressCalls_;
    }
    void CancelOnProgress(fw::TObject*, uint8_t percent)
    {
        if (percent > 0 && percent < 100)
            TAwkMain::Cancel(unzip_, true);
    }
    void Activated(fw::TObject*) { events_.push_back("activate"); }
    void Deactivated(fw::TObject*) { events_.push_back("deactivate"); }
    void Elapsed(fw::TObject*, float) { events_.push_back("elapsed"); }
    void Exists(fw::TObject*, const std::string& fn, TDateTime fileDate, bool& accept)
    {
        events_.push_back("exists " + fn);
        existsDates_.push_back(fileDate);
        accept = acceptExisting_;
    }
    void Password(fw::TObject*, const std::string&, std::string& password, bool& tryAgain)
    {
        ++asked_;
        offered_.push_back(password);
        if (answers_.empty()) {
            tryAgain = false;
            return;
        }
        password = answers_.front();
        answers_.erase(answers_.begin());
    }

    void MakeTree()
    {
        fs::create_directories(dir_ + "/src/sub/deeper");
        mx::test::WriteFile(dir_ + "/src/a.txt", std::string(5000, 'a') + "tail");
        mx::test::WriteFile(dir_ + "/src/empty.txt", "");
        std::string text, noise;
        for (int i = 0; i < 20000; ++i)
            text += "line " + std::to_string(i * 7919 % 1000) + "\n";
        uint32_t x = 12345;
        for (int i = 0; i < 100000; ++i) {
            x = x * 1103515245u + 12345u;
            noise += char(x >> 24);
        }
        mx::test::WriteFile(dir_ + "/src/sub/c.txt", text);
        mx::test::WriteFile(dir_ + "/src/sub/deeper/noise.bin", noise);
        // Different times so that a missing date shows; even seconds, which a DOS stamp holds exactly
        // (unzip takes the exact time from Info-ZIP's extra field, this engine the DOS stamp).
        ASSERT_EQ(std::system(("touch -d '2001-02-03 04:05:06' '" + dir_ + "/src/a.txt' && touch -d '2019-12-31 23:59:58' '" +
                               dir_ + "/src/sub/c.txt' && touch -d '2024-06-30 12:00:00' '" + dir_ + "/src/empty.txt' '" + dir_ +
                               "/src/sub/deeper/noise.bin'")
                                  .c_str()),
                  0);
    }

    bool Run(const std::string& archive, const std::string& out, bool test = false)
    {
        unzip_->SetArchiveFile(archive);
        unzip_->SetExtractDir(out);
        return test ? unzip_->Test() : unzip_->Extract();
    }

    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const auto& e : events_)
            n += e.rfind(prefix, 0) == 0;
        return n;
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUnZIP* unzip_ = nullptr;
    std::vector<std::string> events_, answers_, offered_;
    std::vector<TDateTime> existsDates_;
    std::vector<int> errors_;
    std::string declineName_;
    bool acceptExisting_ = true;
    int lastProgress_ = -1, progressCalls_ = 0, asked_ = 0;
};

// Stored, fast and best deflate from Info-ZIP, deflate and copy from 7z, streamed entries with data
// descriptors: the extracted tree equals unzip's, file by file and date by date.
TEST_F(UnZipTest, ExtractsLikeUnzip)
{
    MakeTree();
    const std::string files = "a.txt empty.txt sub/c.txt sub/deeper/noise.bin";
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -0 -r ../stored.zip " + files, "zip", "zip"));
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -1 -r ../fast.zip " + files, "zip", "zip"));
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -9 -r ../best.zip . ", "zip", "zip"));
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -r - " + files + " | cat > ../streamed.zip", "zip", "zip"));
    const std::string seven = test::HaveTool("7z") ? "7z" : "7zz";  // the 7zip package names it 7zz
    ASSERT_TRUE(RunIn(dir_ + "/src", seven + " a -bd -tzip -mm=Deflate ../seven.zip " + files, seven, "7zip"));
    ASSERT_TRUE(RunIn(dir_ + "/src", seven + " a -bd -tzip -mm=Copy ../sevencopy.zip " + files, seven, "7zip"));
    // A self-extractor: an executable prefix with offsets adjusted by zip -A.
    mx::test::WriteFile(dir_ + "/stub.exe", "MZ" + std::string(1022, '\x90'));
    ASSERT_TRUE(RunIn(dir_, "cat stub.exe fast.zip > sfx.exe && zip -q -A sfx.exe", "zip", "zip"));
    for (const char* name :
         {"stored.zip", "fast.zip", "best.zip", "streamed.zip", "seven.zip", "sevencopy.zip", "sfx.exe"}) {
        SCOPED_TRACE(name);
        const std::string ref = dir_ + "/ref_" + name, out = dir_ + "/out_" + name;
        ASSERT_TRUE(RunIn(dir_, std::string("unzip -q -d '") + ref + "' " + name, "unzip", "unzip"));
        events_.clear();
        errors_.clear();
        ASSERT_TRUE(Run(dir_ + "/" + name, out));
        EXPECT_TRUE(errors_.empty());
        const auto want = Tree(ref);
        ASSERT_EQ(want.size(), 4u);
        EXPECT_EQ(Tree(out), want);
        for (const auto& [rel, bytes] : want)
            EXPECT_EQ(MTime(out + "/" + rel), MTime(ref + "/" + rel)) << rel;
        EXPECT_EQ(Count("pass "), 4);
        EXPECT_EQ(Count("FAIL "), 0);
        EXPECT_EQ(events_.front(), "activate");
        EXPECT_EQ(events_[events_.size() - 2], "elapsed");
        EXPECT_EQ(events_.back(), "deactivate");
        EXPECT_EQ(lastProgress_, 100);
    }
    // RecNum counts the entries begun; FN is the output path.
    events_.clear();
    ASSERT_TRUE(Run(dir_ + "/fast.zip", dir_ + "/again"));
    ASSERT_GE(events_.size(), 3u);
    EXPECT_EQ(events_[1].substr(0, 8), "begin 1 ");
    EXPECT_NE(events_[1].find("again"), std::string::npos);
}

TEST_F(UnZipTest, TestModeWritesNothingAndNamesStoredEntries)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -r ../t.zip a.txt sub", "zip", "zip"));
    fs::create_directories(dir_ + "/out");
    mx::test::WriteFile(dir_ + "/out/a.txt", "old");
    ASSERT_TRUE(Run(dir_ + "/t.zip", dir_ + "/out", true));
    EXPECT_EQ(Tree(dir_ + "/out").size(), 1u);
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/a.txt"), "old");
    EXPECT_EQ(Count("exists"), 0);
    EXPECT_EQ(events_, (std::vector<std::string>{"activate", "begin 1 a.txt", "pass a.txt", "begin 2 sub\\c.txt",
                                                 "pass sub\\c.txt", "begin 3 sub\\deeper\\noise.bin",
                                                 "pass sub\\deeper\\noise.bin", "elapsed", "deactivate"}));
}

// A damaged entry fails its CRC and the run goes on; without OnEnd the failure is reported as 25151.
TEST_F(UnZipTest, DamagedEntryFailsAndRunGoesOn)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q ../d.zip sub/c.txt a.txt", "zip", "zip"));
    std::string bytes = mx::test::ReadFile(dir_ + "/d.zip");
    // Bytes in the middle of the first entry's deflate data.
    const size_t pos = 30 + 9 + 200;
    for (size_t i = 0; i < 8; ++i)
        bytes[pos + i] = char(bytes[pos + i] ^ 0x5A);
    mx::test::WriteFile(dir_ + "/bad.zip", bytes);
    ASSERT_TRUE(Run(dir_ + "/bad.zip", dir_ + "/out"));
    EXPECT_EQ(Count("FAIL "), 1);
    EXPECT_EQ(Count("pass "), 1);
    ASSERT_GE(events_.size(), 4u);
    EXPECT_EQ(events_[2].substr(0, 6), "error ");  // the decoder's report for the damaged entry
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/a.txt"), mx::test::ReadFile(dir_ + "/src/a.txt"));

    events_.clear();
    errors_.clear();
    unzip_->OnEnd = {};
    ASSERT_TRUE(Run(dir_ + "/bad.zip", dir_ + "/out2", true));
    ASSERT_EQ(errors_.size(), 2u);
    EXPECT_EQ(errors_[1], 25151);
}

// Deflate data that inflates far past the entry's declared size (a "bomb") is cut at that size and
// the entry fails, even when the stored CRC is that of the whole inflated data; the next entry is
// extracted as usual. With a data descriptor the central directory's size is the bound. A stored
// entry whose compressed size exceeds its declared size is cut the same way.
TEST_F(UnZipTest, OutputStopsAtTheDeclaredSize)
{
    ASSERT_TRUE(RunIn(dir_,
                      test::Python() + " -c \"import zipfile, struct, zlib\n"
                                       "big = bytes(20 * 1024 * 1024)\n"
                                       "small = bytes(100000)\n"
                                       "D, S = zipfile.ZIP_DEFLATED, zipfile.ZIP_STORED\n"
                                       "for name, big, crc_of, stream, method in (('whole', big, big, False, D),"
                                       " ('head', big, big[:1000], False, D), ('streamed', big, big, True, D),"
                                       " ('stored', small, small, False, S)):\n"
                                       "    with open(name + '.zip', 'wb') as raw:\n"
                                       "        class Pipe:\n"
                                       "            def write(self, b): return raw.write(b)\n"
                                       "            def flush(self): pass\n"
                                       "        z = zipfile.ZipFile(Pipe() if stream else raw, 'w', method)\n"
                                       "        z.writestr('bomb.bin', big)\n"
                                       "        z.writestr('after.txt', b'after the bomb')\n"
                                       "        z.close()\n"
                                       "    d = bytearray(open(name + '.zip', 'rb').read())\n"
                                       "    crc = zlib.crc32(crc_of)\n"
                                       "    cd = struct.unpack('<I', d[-6:-2])[0]\n"
                                       "    struct.pack_into('<II', d, cd + 16, crc, struct.unpack('<I', d[cd + 20:cd + 24])[0])\n"
                                       "    struct.pack_into('<I', d, cd + 24, 1000)\n"
                                       "    if not stream:\n"
                                       "        struct.pack_into('<I', d, 14, crc)\n"
                                       "        struct.pack_into('<I', d, 22, 1000)\n"
                                       "    open(name + '.zip', 'wb').write(d)\"",
                      "python3", "python3"));
    for (const char* name : {"whole", "head", "streamed", "stored"}) {
        SCOPED_TRACE(name);
        const std::string out = dir_ + "/out_" + name;
        events_.clear();
        errors_.clear();
        ASSERT_TRUE(Run(dir_ + "/" + name + ".zip", out));
        EXPECT_TRUE(errors_.empty());
        EXPECT_EQ(Count("FAIL "), 1);
        EXPECT_EQ(Count("pass "), 1);
        EXPECT_LE(fs::file_size(out + "/bomb.bin"), 1000u);
        EXPECT_EQ(mx::test::ReadFile(out + "/after.txt"), "after the bomb");

        // Without OnEnd the cut entry is the CRC report; test mode is bounded the same way.
        events_.clear();
        errors_.clear();
        unzip_->OnEnd = {};
        ASSERT_TRUE(Run(dir_ + "/" + name + ".zip", out, true));
        EXPECT_EQ(errors_, std::vector<int>{25151});
        unzip_->OnEnd.Bind(this, &UnZipTest::End);
    }
}

// Rewrites the central record of liar.bin in every archive named on the command line: its sizes
// become 0xFFFFFFFF, and with "zip64" a ZIP64 field says 2^40 bytes.
constexpr const char* kSizeLieScript = R"PY(
import struct, sys
mode = sys.argv[1]
for name in sys.argv[2:]:
    d = open(name, 'rb').read()
    end = d.rfind(b'PK\x05\x06')
    count, size, start = struct.unpack('<HII', d[end + 10:end + 20])
    records, pos = [], start
    for _ in range(count):
        n, x, c = struct.unpack('<HHH', d[pos + 28:pos + 34])
        record = bytearray(d[pos:pos + 46 + n + x + c])
        if record[46:46 + n] == b'liar.bin':
            struct.pack_into('<II', record, 20, 0xFFFFFFFF, 0xFFFFFFFF)
            if mode == 'zip64':
                extra = struct.pack('<HHQQ', 1, 16, 1 << 40, 1 << 40)
                record = record[:46 + n] + extra + record[46 + n:]
                struct.pack_into('<H', record, 30, x + len(extra))
        records.append(bytes(record))
        pos += 46 + n + x + c
    directory = b''.join(records)
    tail = bytearray(d[end:])
    struct.pack_into('<I', tail, 12, len(directory))
    open(name[:-4] + '_' + mode + '.zip', 'wb').write(d[:start] + directory + bytes(tail))
)PY";

// An entry whose declared size runs past the end of the archive (0xFFFFFFFF, or 2^40 in a ZIP64
// field) fails its check; it claims none of the bytes of the entries after it, which come out whole,
// whatever the order of the entries.
TEST_F(UnZipTest, ASizeThatLiesTakesNoOtherEntry)
{
    mx::test::WriteFile(dir_ + "/liar.bin", std::string(104, 'L'));
    mx::test::WriteFile(dir_ + "/after.txt", "the entry after the liar");
    mx::test::WriteFile(dir_ + "/lie.py", kSizeLieScript);
    ASSERT_TRUE(RunIn(dir_, "zip -q -0 first.zip liar.bin after.txt && zip -q -0 last.zip after.txt liar.bin && zip -q "
                            "-9 deflated.zip liar.bin after.txt", "zip", "zip"));
    for (const char* mode : {"ffff", "zip64"})
        ASSERT_TRUE(RunIn(dir_, test::Python() + " lie.py " + mode + " first.zip last.zip deflated.zip", "python3",
                          "python3"));
    for (const char* name : {"first_ffff", "last_ffff", "deflated_ffff", "first_zip64", "last_zip64", "deflated_zip64"}) {
        SCOPED_TRACE(name);
        events_.clear();
        errors_.clear();
        const std::string out = dir_ + "/out_" + name;
        ASSERT_TRUE(Run(dir_ + "/" + name + ".zip", out));
        EXPECT_EQ(errors_, std::vector<int>{});
        EXPECT_EQ(Count("FAIL "), 1);
        EXPECT_EQ(Count("pass "), 1);
        EXPECT_EQ(mx::test::ReadFile(out + "/after.txt"), "the entry after the liar");
        // The liar reads no further than the next entry's header, or the directory.
        EXPECT_LE(fs::file_size(out + "/liar.bin"), 104u);
    }
}

TEST_F(UnZipTest, PasswordsFromTheListAndFromTheHandler)
{
    MakeTree();
    const std::vector<std::string> wrong = {"one", "two", "x", "y", "z", "nope"};
    for (const auto& [name, options] : {std::pair{"p.zip", "-P secret"}, std::pair{"p0.zip", "-0 -P secret"}}) {
        bool clean = false;
        for (int attempt = 0; attempt < 20 && !clean; ++attempt) {
            std::filesystem::remove(dir_ + "/" + name);
            ASSERT_TRUE(RunIn(dir_ + "/src", std::string("zip -q ") + options + " ../" + name + " a.txt sub/c.txt",
                              "zip", "zip"));
            clean = !mx::test::WrongPasswordPasses(mx::test::ReadFile(dir_ + "/" + name), wrong);
        }
        ASSERT_TRUE(clean) << name;
    }
    unzip_->OnGetPassword.Bind(this, &UnZipTest::Password);

    // The right one in third place of Passwords: nobody is asked.
    fw::TStringList list;
    list.Add("one");
    list.Add("two");
    list.Add("secret");
    unzip_->SetPasswords(&list);
    for (const char* name : {"p.zip", "p0.zip"}) {
        events_.clear();
        ASSERT_TRUE(Run(dir_ + "/" + name, dir_ + "/out_" + name));
        EXPECT_EQ(asked_, 0);
        EXPECT_EQ(Count("pass "), 2) << name;
        EXPECT_EQ(Tree(dir_ + "/out_" + name)["sub/c.txt"], mx::test::ReadFile(dir_ + "/src/sub/c.txt"));
    }

    // Wrong three times: three 26517, then 26522, OnEnd false, and the run ends.
    unzip_->Passwords()->Clear();
    events_.clear();
    errors_.clear();
    answers_ = {"x", "y", "z"};
    ASSERT_TRUE(Run(dir_ + "/p.zip", dir_ + "/wrong"));
    EXPECT_EQ(asked_, 3);
    EXPECT_EQ(errors_, (std::vector<int>{26517, 26517, 26517, 26522}));
    EXPECT_EQ(Count("begin"), 1);
    EXPECT_EQ(Count("FAIL "), 1);
    EXPECT_TRUE(Tree(dir_ + "/wrong").empty());

    // A cancelled prompt ends the run at once; a right answer is kept for the next entries.
    asked_ = 0;
    errors_.clear();
    answers_.clear();
    ASSERT_TRUE(Run(dir_ + "/p.zip", dir_ + "/cancel"));
    EXPECT_EQ(asked_, 1);
    EXPECT_EQ(errors_, std::vector<int>{26522});

    asked_ = 0;
    errors_.clear();
    events_.clear();
    answers_ = {"nope", "secret"};
    ASSERT_TRUE(Run(dir_ + "/p.zip", dir_ + "/asked"));
    EXPECT_EQ(asked_, 2);
    EXPECT_EQ(errors_, std::vector<int>{26517});
    EXPECT_EQ(Count("pass "), 2);
    ASSERT_GE(unzip_->Passwords()->Count(), 1);
    EXPECT_EQ(unzip_->Passwords()->Get(0), "secret");

    // Two entries under different passwords: the question for the second offers the password that
    // opened the first (the run's current password); after a wrong answer it offers nothing.
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -P secret ../two.zip a.txt && zip -q -P other ../two.zip sub/c.txt", "zip",
                      "zip"));
    unzip_->Passwords()->Clear();
    asked_ = 0;
    errors_.clear();
    events_.clear();
    offered_.clear();
    answers_ = {"secret", "wrong", "other"};
    ASSERT_TRUE(Run(dir_ + "/two.zip", dir_ + "/two"));
    EXPECT_EQ(offered_, (std::vector<std::string>{"", "secret", ""}));
    EXPECT_EQ(errors_, std::vector<int>{26517});
    EXPECT_EQ(Count("pass "), 2);
}

// Names with "..", a root or a drive never write outside the extract folder.
TEST_F(UnZipTest, HostileNamesStayInside)
{
    ASSERT_TRUE(RunIn(dir_,
                      test::Python() + " -c \"import zipfile\n"
                                       "z = zipfile.ZipFile('evil.zip', 'w')\n"
                                       "for n in ['../up.txt', '/abs/root.txt', 'a/../../up2.txt', 'C:/drive.txt',"
                                       " 'ok/../../up3.txt', 'good/fine.txt', '..\\\\\\\\back.txt']:\n"
                                       "    z.writestr(n, 'x')\n"
                                       "z.close()\"",
                      "python3", "python3"));
    fs::create_directories(dir_ + "/box/out");
    ASSERT_TRUE(Run(dir_ + "/evil.zip", dir_ + "/box/out"));
    const auto inside = Tree(dir_ + "/box/out");
    const auto all = Tree(dir_);
    for (const auto& [rel, bytes] : all) {
        if (rel.rfind("box/", 0) == 0) {
            EXPECT_EQ(rel.rfind("box/out/", 0), 0u) << rel;
        }
        EXPECT_EQ(rel.find("up"), std::string::npos) << rel;
        EXPECT_EQ(rel.find("back"), std::string::npos) << rel;
    }
    EXPECT_EQ(inside.count("good/fine.txt"), 1u);
    EXPECT_FALSE(errors_.empty());
}

TEST_F(UnZipTest, HandlersDecideAndSingleNameStops)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -r ../h.zip a.txt empty.txt sub", "zip", "zip"));
    // Declined in OnBegin: no OnEnd, and the next entry gets the same number.
    declineName_ = "a.txt";
    ASSERT_TRUE(Run(dir_ + "/h.zip", dir_ + "/out"));
    EXPECT_EQ(Count("begin 1 "), 2);
    EXPECT_EQ(Count("pass "), 3);
    EXPECT_FALSE(fs::exists(dir_ + "/out/a.txt"));
    for (const auto& e : events_)
        EXPECT_EQ(e.find("begin") == 0 && e.back() == '\\', false) << "a folder entry was begun: " << e;

    // An existing file refused in OnFileExists.
    declineName_.clear();
    mx::test::WriteFile(dir_ + "/out/a.txt", "keep");
    // a.txt on disk was written just now, the archived one in 2001: OnFileExists offers the entry's date.
    acceptExisting_ = false;
    events_.clear();
    existsDates_.clear();
    ASSERT_TRUE(Run(dir_ + "/h.zip", dir_ + "/out"));
    EXPECT_EQ(Count("exists "), 4);
    ASSERT_EQ(existsDates_.size(), 4u);
    for (size_t i = 0, asked = 0; i < events_.size(); ++i) {
        if (events_[i].rfind("exists ", 0) != 0)
            continue;
        if (events_[i].size() >= 5 && events_[i].compare(events_[i].size() - 5, 5, "a.txt") == 0) {
            EXPECT_LT(existsDates_[asked], 37257.0) << "OnFileExists offered the file's date, not the entry's";
        }
        ++asked;
    }
    EXPECT_EQ(Count("begin"), 0);
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/a.txt"), "keep");

    // One name without wildcards: the first match only.
    acceptExisting_ = true;
    events_.clear();
    unzip_->SetFileSpec("sub\\c.txt");
    ASSERT_TRUE(Run(dir_ + "/h.zip", dir_ + "/one"));
    EXPECT_EQ(Count("begin"), 1);
    EXPECT_EQ(Tree(dir_ + "/one").size(), 1u);
}

TEST_F(UnZipTest, FailuresBeforeTheWalk)
{
    mx::test::WriteFile(dir_ + "/plain.txt", "no archive here");
    EXPECT_TRUE(Run(dir_ + "/plain.txt", dir_ + "/out"));
    EXPECT_EQ(errors_, std::vector<int>{25242});
    EXPECT_EQ(Count("activate"), 0);

    // A ZIP name whose end record is gone.
    errors_.clear();
    mx::test::WriteFile(dir_ + "/cut.zip", std::string("PK\x03\x04", 4) + std::string(40, '\0'));
    EXPECT_TRUE(Run(dir_ + "/cut.zip", dir_ + "/out"));
    unzip_->SetArcType(TArcType::atZip);
    EXPECT_EQ(Count("activate"), 0);
    EXPECT_FALSE(errors_.empty());
}

// Archives of other makers from the fixture corpus: the old methods (shrink, reduce, implode), data
// descriptors, traditional encryption and an archive behind a prefix all test clean.
TEST_F(UnZipTest, FixtureCorpusTestsClean)
{
    const std::string root = mx::test::FixtureDir() + "/zip/";
    fw::TStringList list;
    list.Add("test");
    list.Add("12345678");
    unzip_->SetPasswords(&list);
    for (const char* name :
         {"commons-compress/SHRUNK.ZIP", "commons-compress/imploding-4Kdict-2trees.zip",
          "commons-compress/imploding-8Kdict-3trees.zip", "defacto2/HWIMPODE.ZIP", "defacto2/HWREDUCE.ZIP",
          "defacto2/HWSHRINK.ZIP", "sharpcompress/Zip.implode.zip", "sharpcompress/Zip.reduce1.zip",
          "sharpcompress/Zip.reduce2.zip", "sharpcompress/Zip.reduce3.zip", "sharpcompress/Zip.reduce4.zip",
          "sharpcompress/Zip.shrink.zip", "sharpcompress/Zip.deflate.dd.zip",
          "sharpcompress/Zip.none.datadescriptors.zip", "sharpcompress/Zip.deflate.pkware.zip",
          "sharpcompress/zipcrypto.zip", "libarchive/test_read_format_zip_traditional_encryption_data.zip"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(root + name)) << "fixture corpus missing at " << root;
        events_.clear();
        errors_.clear();
        unzip_->SetArchiveFile(root + name);
        ASSERT_TRUE(unzip_->Test());
        EXPECT_TRUE(errors_.empty());
        EXPECT_GT(Count("pass "), 0);
        EXPECT_EQ(Count("FAIL "), 0);
    }
}

// A cancel from a progress report ends the entry with its decoder's report and a failed check.
TEST_F(UnZipTest, CancelDuringDecoding)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q ../big.zip sub/deeper/noise.bin sub/c.txt", "zip", "zip"));
    unzip_->OnProgress.Bind(this, &UnZipTest::CancelOnProgress);
    ASSERT_TRUE(Run(dir_ + "/big.zip", dir_ + "/out", true));
    EXPECT_EQ(Count("begin"), 1);
    EXPECT_EQ(Count("FAIL "), 1);
    EXPECT_EQ(errors_, std::vector<int>{25109});
    EXPECT_EQ(events_.back(), "deactivate");
}

// A host whose message pump counts and, at the tenth pump, cancels the running component, as a
// click on a Cancel button would.
class CountingHost : public test::ForwardingHost {
public:
    using ForwardingHost::ForwardingHost;
    void PumpMessages() override
    {
        if (++pumps == 10)
            if (TZipCommon* active = ActiveArcComponent())
                TAwkMain::Cancel(active, true);
    }
    int pumps = 0;
};

// Empty entries have no data to report progress on: the walk still lets messages run between
// entries, so the window answers and a cancel stops the run partway.
TEST_F(UnZipTest, ManyEmptyEntriesLetMessagesRunAndCanBeCancelled)
{
    fs::create_directories(dir_ + "/empty");
    std::string names;
    for (int i = 0; i < 50; ++i) {
        mx::test::WriteFile(dir_ + "/empty/e" + std::to_string(i) + ".txt", "");
        names += " e" + std::to_string(i) + ".txt";
    }
    ASSERT_TRUE(RunIn(dir_ + "/empty", "zip -q ../empty.zip" + names, "zip", "zip"));
    CountingHost host(fw::HostSeam());
    fw::SetHost(&host);
    const bool ran = Run(dir_ + "/empty.zip", dir_ + "/out");
    fw::SetHost(nullptr);
    EXPECT_TRUE(ran);
    EXPECT_GE(host.pumps, 10);
    EXPECT_GT(Count("pass "), 0);
    EXPECT_LT(Count("pass "), 50) << "the cancel did not stop the run";
}

TEST_F(UnZipTest, BindableFromFormText)
{
    const fw::TClassInfo* info = fw::FindClass("TUnZIP");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->CanCreate());
    fw::TComponent* made = info->Create(owner_);
    ASSERT_NE(dynamic_cast<TUnZIP*>(made), nullptr);
    for (const char* prop : {"ArchiveFile", "ArcType", "ExtractDir", "FileSpec", "Passwords", "OnBegin", "OnEnd",
                             "OnProgress", "OnFileExists", "OnGetPassword", "OnError", "OnActivate", "OnDeactivate"})
        EXPECT_NE(fw::FindProp(made, prop), nullptr) << prop;
}

}  // namespace
}  // namespace engine
