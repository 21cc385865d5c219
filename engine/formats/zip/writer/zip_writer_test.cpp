// The ZIP writer over real files and real archivers: archives it creates pass unzip, 7z and zipinfo;
// adding to and deleting from archives that Info-ZIP and 7z make keeps every other entry byte for
// byte (data descriptors, extra fields, comments, a self-extractor prefix); swMove deletes only what
// was archived; and every failure (unreadable directory, cancel, unreadable source, full disk,
// refused replacement) leaves the original archive as it was and no temporary file behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/testing/fault_fs.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/common/testdata/wrong_passwords.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "framework/core/lists.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::CaptureIn;
using test::RunIn;

std::string SevenZip() { return test::HaveTool("7zz") ? "7zz" : "7z"; }

// Prints one line per entry: its name, then the bytes of its local record (header, name, extra field,
// data and data descriptor) as a hash, so that entries can be compared across archives.
const char* kEntryScript = R"PY(
import sys, zipfile, struct, hashlib
data = open(sys.argv[1], 'rb').read()
z = zipfile.ZipFile(sys.argv[1])
for i in z.infolist():
    o = i.header_offset
    n, m = struct.unpack('<HH', data[o + 26:o + 30])
    end = o + 30 + n + m + i.compress_size
    if i.flag_bits & 8:
        if data[end:end + 4] == b'PK\x07\x08':
            end += 16
        elif struct.unpack('<I', data[end:end + 4])[0] == i.CRC:
            end += 12
    print(i.filename, hashlib.sha1(data[o:end]).hexdigest(), i.create_version, i.extract_version,
          i.compress_type, i.flag_bits, len(i.comment), hashlib.sha1(i.extra).hexdigest())
)PY";

struct EntryInfo {
    std::string hash;
    int created = 0, needed = 0, method = 0, flags = 0, commentLength = 0;
    std::string centralExtra;  // hash of the central record's extra field
};

class ZipWriterTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterZipWriterClasses();
        dir_ = mx::test::FreshDir();
        tmp_ = dir_ + "/tmp";
        fs::create_directories(tmp_);
        oldTmp_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        ::setenv("TMPDIR", tmp_.c_str(), 1);
        mx::test::WriteFile(dir_ + "/entries.py", kEntryScript);
        owner_ = fw::Make<fw::TComponent>(nullptr);
        zip_ = fw::Make<TZip>(owner_);
        zip_->OnActivate.Bind(this, &ZipWriterTest::Activated);
        zip_->OnDeactivate.Bind(this, &ZipWriterTest::Deactivated);
        zip_->OnBegin.Bind(this, &ZipWriterTest::Begin);
        zip_->OnEnd.Bind(this, &ZipWriterTest::End);
        zip_->OnError.Bind(this, &ZipWriterTest::Error);
        zip_->OnRead.Bind(this, &ZipWriterTest::Read);
        zip_->OnProgress.Bind(this, &ZipWriterTest::Progress);
        zip_->OnRecurseDir.Bind(this, &ZipWriterTest::Recurse);
        zip_->OnElapsedTime.Bind(this, &ZipWriterTest::Elapsed);
    }
    void TearDown() override
    {
        owner_->Free();
        if (oldTmp_.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", oldTmp_.c_str(), 1);
    }

    // ---- events ---------------------------------------------------------------------------------
    void Activated(fw::TObject*) { events_.push_back("activate"); }
    void Deactivated(fw::TObject*) { events_.push_back("deactivate"); }
    void Begin(fw::TObject*, const std::string& fn, int recNum, bool& extract)
    {
        events_.push_back("begin " + std::to_string(recNum) + " " + fn);
        if (declined_.count(fn))
            extract = false;
    }
    void End(fw::TObject*, const std::string& fn, bool pass)
    {
        events_.push_back(std::string(pass ? "end " : "FAIL ") + fn);
        if (cancelAfterEnds_ > 0 && --cancelAfterEnds_ == 0)
            TAwkMain::Cancel(zip_, true);
    }
    void Error(fw::TObject*, const std::string& fn, const std::string& msgEx, const std::string&, int code)
    {
        errors_.push_back(code);
        events_.push_back("error " + std::to_string(code));
    }
    void Read(fw::TObject*, int64_t offset, int filenum)
    {
        events_.push_back("read " + zip_->FileName + " " + zip_->MethodName);
        reads_.push_back(zip_->FileName);
    }
    void Progress(fw::TObject*, uint8_t percent)
    {
        if (events_.empty() || events_.back().rfind("progress", 0) != 0)
            events_.push_back("progress");
        lastProgress_ = percent;
    }
    void Recurse(fw::TObject*, const std::string& dirName)
    {
        events_.push_back("recurse " + ExtractFileName(dirName));
    }
    void Elapsed(fw::TObject*, float) { events_.push_back("elapsed"); }

    // ---- helpers --------------------------------------------------------------------------------
    // A small tree: text that compresses, bytes that do not, an empty file and a sub-folder.
    void MakeSources(const std::string& root)
    {
        fs::create_directories(root + "/sub/deeper");
        std::string text;
        for (int i = 0; i < 400; ++i)
            text += "line " + std::to_string(i) + " of a text that compresses well\n";
        mx::test::WriteFile(root + "/a.txt", text);
        std::string noise;
        uint32_t x = 12345;
        for (int i = 0; i < 5000; ++i) {
            x = x * 1103515245u + 12345u;
            noise += char(x >> 24);
        }
        mx::test::WriteFile(root + "/b.bin", noise);
        mx::test::WriteFile(root + "/empty.dat", "");
        mx::test::WriteFile(root + "/sub/c.txt", text.substr(0, 3000));
        mx::test::WriteFile(root + "/sub/deeper/d.txt", "short\n");
    }

    void AddSpec(const std::string& spec) { zip_->FileSpecList()->Add(spec); }

    bool RunSwitch(const std::string& archive, TSwitch sw)
    {
        zip_->SetArchiveFile(archive);
        zip_->SetSwitch(sw);
        return zip_->Activate();
    }

    std::map<std::string, EntryInfo> Entries(const std::string& archive)
    {
        std::map<std::string, EntryInfo> out;
        std::istringstream in(CaptureIn(dir_, test::Python() + " entries.py '" + archive + "'"));
        std::string name;
        EntryInfo e;
        while (in >> name >> e.hash >> e.created >> e.needed >> e.method >> e.flags >> e.commentLength >> e.centralExtra)
            out[name] = e;
        return out;
    }

    ::testing::AssertionResult Verified(const std::string& archive, const std::string& password = "")
    {
        const std::string pw = password.empty() ? "" : " -P " + password;
        auto r = RunIn(dir_, "unzip -tq" + pw + " '" + archive + "'", "unzip", "unzip");
        if (!r)
            return r << "\n" << CaptureIn(dir_, "unzip -t" + pw + " '" + archive + "' 2>&1");
        const std::string p7 = password.empty() ? "" : " -p" + password;
        r = RunIn(dir_, SevenZip() + " t" + p7 + " '" + archive + "'", SevenZip(), "7zip");
        if (!r)
            return r << "\n" << CaptureIn(dir_, SevenZip() + " t" + p7 + " '" + archive + "' 2>&1");
        return ::testing::AssertionSuccess();
    }

    std::set<std::string> TempLeftovers()
    {
        std::set<std::string> out;
        for (const auto& e : fs::directory_iterator(tmp_))
            out.insert(e.path().filename().string());
        return out;
    }

    std::string dir_, tmp_, oldTmp_;
    fw::TComponent* owner_ = nullptr;
    TZip* zip_ = nullptr;
    std::vector<std::string> events_;
    std::vector<int> errors_;
    std::vector<std::string> reads_;
    std::set<std::string> declined_;
    int cancelAfterEnds_ = 0;
    uint8_t lastProgress_ = 0;
};

// ---- new archives -----------------------------------------------------------------------------------

struct CreateCase {
    const char* label;
    TStoredDirNames mode;
    TCompressMethod method;
    TDeflateType level;
    const char* password;
};

TEST_F(ZipWriterTest, NewArchivesInEveryModePassTheRealToolsAndExtractIdentically)
{
    const CreateCase cases[] = {
        {"relative-deflateN", TStoredDirNames::sdRelative, TCompressMethod::cmDeflate, TDeflateType::dtDeflateN, ""},
        {"relative-deflateF", TStoredDirNames::sdRelative, TCompressMethod::cmDeflate, TDeflateType::dtDeflateF, ""},
        {"relative-deflateX-pw", TStoredDirNames::sdRelative, TCompressMethod::cmDeflate, TDeflateType::dtDeflateX,
         "secret"},
        {"relative-stored", TStoredDirNames::sdRelative, TCompressMethod::cmStore, TDeflateType::dtDeflateN, ""},
        {"relative-stored-pw", TStoredDirNames::sdRelative, TCompressMethod::cmStore, TDeflateType::dtDeflateN, "pw2"},
        {"none", TStoredDirNames::sdNone, TCompressMethod::cmDeflate, TDeflateType::dtDeflateN, ""},
        {"absolute", TStoredDirNames::sdAbsolute, TCompressMethod::cmDeflate, TDeflateType::dtDeflateN, ""},
        {"absolute-nodrive", TStoredDirNames::sdAbsoluteNoDrv, TCompressMethod::cmStore, TDeflateType::dtDeflateN,
         "x"},
    };
    const std::string src = dir_ + "/src";
    MakeSources(src);
    // The stored names natively: the folder of the source with "/" separators.
    const std::string srcDir = fs::canonical(src).string();
    for (const CreateCase& c : cases) {
        SCOPED_TRACE(c.label);
        zip_->FileSpecList()->Clear();
        AddSpec(srcDir + "/*.*");
        zip_->SetStoredDirNames(c.mode);
        zip_->SetCompressMethod(c.method);
        zip_->SetDeflateType(c.level);
        zip_->SetPassword(c.password);
        zip_->SetRecurseDirs(true);
        const std::string archive = dir_ + "/" + c.label + ".zip";
        errors_.clear();
        ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
        EXPECT_TRUE(errors_.empty());
        ASSERT_TRUE(Verified(archive, c.password));

        std::set<std::string> names;
        for (const auto& [name, e] : Entries(archive)) {
            names.insert(name);
            EXPECT_EQ(e.created, 2) << name;
            EXPECT_EQ(e.needed, 2) << name;
            // The empty file is stored and never encrypted.
            if (name.find("empty.dat") != std::string::npos) {
                EXPECT_EQ(e.method, 0);
                EXPECT_EQ(e.flags, 0);
            } else {
                EXPECT_EQ(e.flags & 1, *c.password ? 1 : 0) << name;
            }
        }
        std::set<std::string> expected;
        const std::vector<std::string> rel = {"a.txt", "b.bin", "empty.dat", "sub/c.txt", "sub/deeper/d.txt"};
        for (const std::string& r : rel) {
            switch (c.mode) {
            case TStoredDirNames::sdRelative:
                expected.insert(r);
                break;
            case TStoredDirNames::sdNone:
                expected.insert(r.substr(r.find_last_of('/') + 1));
                break;
            default:
                expected.insert(srcDir + "/" + r);
                break;
            }
        }
        EXPECT_EQ(names, expected);
        // zipinfo agrees on the names and shows the writer's version.
        const std::string info = CaptureIn(dir_, "zipinfo -v '" + archive + "'");
        EXPECT_NE(info.find("0.2"), std::string::npos);
        if (c.mode == TStoredDirNames::sdRelative) {
            const std::string out = dir_ + "/out-" + c.label;
            const std::string pw = *c.password ? std::string(" -P ") + c.password : "";
            ASSERT_TRUE(RunIn(dir_, "unzip -q" + pw + " -d '" + out + "' '" + archive + "'", "unzip", "unzip"));
            for (const std::string& r : rel)
                EXPECT_EQ(mx::test::ReadFile(out + "/" + r), mx::test::ReadFile(src + "/" + r)) << r;
        }
        EXPECT_TRUE(TempLeftovers().empty());
    }
}

TEST_F(ZipWriterTest, EventsOfAnAddRunComeInOrderAndOnReadNamesTheMethod)
{
    const std::string src = dir_ + "/src";
    MakeSources(src);
    zip_->SetDefaultDir(src);
    AddSpec("*.txt");
    zip_->SetRecurseDirs(true);
    zip_->SetStoredDirNames(TStoredDirNames::sdRelative);
    ASSERT_TRUE(RunSwitch(dir_ + "/ev.zip", TSwitch::swAdd));
    const std::vector<std::string> expected = {
        "activate",          "begin 1 a.txt",  "progress",        "end a.txt",
        "recurse sub",       "begin 2 sub\\c.txt", "progress",    "end sub\\c.txt",
        "recurse deeper",    "begin 3 sub\\deeper\\d.txt", "progress", "end sub\\deeper\\d.txt",
        "read a.txt DeflateN", "read sub\\c.txt DeflateN", "read sub\\deeper\\d.txt Stored",
        "elapsed",           "deactivate"};
    EXPECT_EQ(events_, expected);
    EXPECT_EQ(lastProgress_, 100);

    // Stored entries report "Stored"; the incompressible file is stored even when deflating.
    events_.clear();
    zip_->FileSpecList()->Clear();
    AddSpec("b.bin");
    zip_->SetRecurseDirs(false);
    ASSERT_TRUE(RunSwitch(dir_ + "/ev.zip", TSwitch::swAdd));
    EXPECT_EQ(reads_.back(), "b.bin");
    EXPECT_NE(std::find(events_.begin(), events_.end(), "read b.bin Stored"), events_.end());

    // swRead lists every entry.
    reads_.clear();
    ASSERT_TRUE(RunSwitch(dir_ + "/ev.zip", TSwitch::swRead));
    EXPECT_EQ(reads_, (std::vector<std::string>{"a.txt", "sub\\c.txt", "sub\\deeper\\d.txt", "b.bin"}));
}

TEST_F(ZipWriterTest, ReAddingKeepsIdenticalEntriesAndAsksBeforeReplacingChangedOnes)
{
    const std::string src = dir_ + "/src";
    MakeSources(src);
    zip_->SetDefaultDir(src);
    AddSpec("*.*");
    const std::string archive = dir_ + "/re.zip";
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
    const auto before = Entries(archive);

    // Nothing changed: nothing to do, the archive stays.
    errors_.clear();
    EXPECT_FALSE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_EQ(errors_, std::vector<int>{26999});
    EXPECT_EQ(Entries(archive).size(), before.size());

    // A changed file without OnReplaceFile: the old entry stays.
    mx::test::WriteFile(src + "/a.txt", "changed contents\n");
    EXPECT_FALSE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_EQ(Entries(archive).at("a.txt").hash, before.at("a.txt").hash);

    // With OnReplaceFile answering yes the new entry goes last and the others stay byte for byte.
    int asked = 0;
    zip_->OnReplaceFile.Bind(&asked, [](void* c, fw::TObject*, const std::string& oldFN, const std::string&,
                                         TDateTime, TDateTime, int64_t oldSize, int64_t newSize, int, int,
                                         bool& replace) {
        ++*static_cast<int*>(c);
        replace = oldSize != newSize;
    });
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_EQ(asked, 1);
    const auto after = Entries(archive);
    EXPECT_NE(after.at("a.txt").hash, before.at("a.txt").hash);
    for (const auto& [name, e] : before) {
        if (name != "a.txt") {
            EXPECT_EQ(after.at(name).hash, e.hash) << name;
        }
    }
    const std::string order = CaptureIn(dir_, "zipinfo -1 '" + archive + "'");
    EXPECT_EQ(order.substr(order.size() - 6), "a.txt\n");
    ASSERT_TRUE(Verified(archive));
}

// ---- other makers' archives ---------------------------------------------------------------------------

class ForeignArchiveTest : public ZipWriterTest {
public:
    // Info-ZIP archive with extra fields, an entry comment, an archive comment, a -P entry (flag bit 3
    // and a data descriptor) and a streamed entry (descriptor, sizes only in the directory).
    void MakeInfoZip(const std::string& name)
    {
        MakeSources(dir_ + "/f");
        ASSERT_TRUE(RunIn(dir_ + "/f", "zip -q -r ../" + name + " a.txt sub", "zip", "zip"));
        const std::string archive = dir_ + "/" + name;
        const std::string before = std::filesystem::exists(archive) ? mx::test::ReadFile(archive) : std::string();
        for (int attempt = 0;; ++attempt) {
            ASSERT_LT(attempt, 20) << "every salt let a wrong password through";
            if (before.empty()) std::filesystem::remove(archive); else mx::test::WriteFile(archive, before);
            ASSERT_TRUE(RunIn(dir_ + "/f", "zip -q -P secret ../" + name + " b.bin", "zip", "zip"));
            if (!mx::test::WrongPasswordPasses(mx::test::ReadFile(archive), {"no", "nope", "never", "bad"})) break;
        }
        ASSERT_TRUE(RunIn(dir_ + "/f", "cat a.txt | zip -q ../" + name + " -", "zip", "zip"));
        mx::test::WriteFile(dir_ + "/notes",
                            "@ a.txt\nan entry comment\n@ (comment above this line)\n"
                            "@ (zip file comment below this line)\nthe archive comment\n");
        ASSERT_TRUE(RunIn(dir_, "zipnote -w " + name + " < notes", "zipnote", "zip"));
    }
    // Written to a pipe: every entry has a data descriptor and zero sizes in its local header.
    void MakeStreamed(const std::string& name)
    {
        MakeSources(dir_ + "/p");
        ASSERT_TRUE(RunIn(dir_ + "/p", "zip -q -r - a.txt b.bin sub | cat > ../" + name, "zip", "zip"));
    }
    void MakeSeven(const std::string& name)
    {
        MakeSources(dir_ + "/s");
        ASSERT_TRUE(RunIn(dir_ + "/s", SevenZip() + " a -tzip ../" + name + " a.txt b.bin sub", SevenZip(), "7zip"));
    }
    // A self-extractor made the zip -A way: a prefix in front, offsets adjusted.
    void MakeSfx(const std::string& name)
    {
        MakeInfoZip("inner.zip");
        std::string stub = "MZ";
        for (int i = 0; i < 3000; ++i)
            stub += char('a' + i % 26);
        mx::test::WriteFile(dir_ + "/stub.exe", stub);
        ASSERT_TRUE(RunIn(dir_, "cat stub.exe inner.zip > " + name + " && zip -q -A " + name, "zip", "zip"));
    }
    void MakeNew()
    {
        fs::create_directories(dir_ + "/n");
        mx::test::WriteFile(dir_ + "/n/new.txt", std::string(2000, 'n'));
    }
};

TEST_F(ForeignArchiveTest, AddingKeepsEveryEntryOfOtherMakersByteForByte)
{
    MakeInfoZip("info.zip");
    MakeSeven("seven.zip");
    MakeSfx("sfx.exe");
    MakeStreamed("streamed.zip");
    MakeNew();
    const std::string prefix = mx::test::ReadFile(dir_ + "/stub.exe");
    for (const std::string name : {"info.zip", "seven.zip", "sfx.exe", "streamed.zip"}) {
        SCOPED_TRACE(name);
        const std::string archive = dir_ + "/" + name;
        const auto before = Entries(archive);
        ASSERT_FALSE(before.empty());
        // The fixtures hold entries whose sizes follow their data (Info-ZIP -P and streamed input).
        if (name == "info.zip" || name == "sfx.exe") {
            EXPECT_EQ(before.at("b.bin").flags & 9, 9);
        }
        if (name == "streamed.zip") {
            EXPECT_EQ(before.at("sub/c.txt").flags & 8, 8);
        }
        zip_->FileSpecList()->Clear();
        AddSpec(dir_ + "/n/new.txt");
        ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
        const auto after = Entries(archive);
        ASSERT_EQ(after.size(), before.size() + 1);
        for (const auto& [entry, e] : before) {
            ASSERT_TRUE(after.count(entry)) << entry;
            EXPECT_EQ(after.at(entry).hash, e.hash) << entry;
            EXPECT_EQ(after.at(entry).commentLength, e.commentLength) << entry;
            EXPECT_EQ(after.at(entry).centralExtra, e.centralExtra) << entry;
        }
        EXPECT_TRUE(after.count("new.txt"));
        // unzip -t would warn (exit 1) about extra bytes or a wrong offset.
        ASSERT_TRUE(Verified(archive, name == "info.zip" || name == "sfx.exe" ? "secret" : ""));
        if (name == "sfx.exe") {
            EXPECT_EQ(mx::test::ReadFile(archive).substr(0, prefix.size()), prefix);
        }
        EXPECT_TRUE(TempLeftovers().empty());
    }
    // The entry comment came along; the archive comment does not.
    const std::string listing = CaptureIn(dir_, "unzip -l info.zip");
    EXPECT_EQ(listing.find("the archive comment"), std::string::npos);
    EXPECT_NE(CaptureIn(dir_, "zipnote info.zip").find("an entry comment"), std::string::npos);
}

TEST_F(ForeignArchiveTest, DeletingKeepsTheOtherEntriesAndRemovesAnEmptiedArchive)
{
    MakeInfoZip("info.zip");
    MakeSeven("seven.zip");
    MakeSfx("sfx.exe");
    MakeStreamed("streamed.zip");
    zip_->OnGetPassword.Bind(this, [](void*, fw::TObject*, const std::string&, std::string& pw, bool& again) {
        pw = "secret";
        again = true;
    });
    for (const std::string name : {"info.zip", "seven.zip", "sfx.exe", "streamed.zip"}) {
        SCOPED_TRACE(name);
        const std::string archive = dir_ + "/" + name;
        const auto before = Entries(archive);
        zip_->FileSpecList()->Clear();
        AddSpec("sub/*");
        AddSpec("b.bin");
        ASSERT_TRUE(RunSwitch(archive, TSwitch::swDelete));
        const auto after = Entries(archive);
        for (const auto& [entry, e] : before) {
            if (entry.rfind("sub/", 0) == 0 || entry == "b.bin") {
                EXPECT_FALSE(after.count(entry)) << entry;
            } else {
                ASSERT_TRUE(after.count(entry)) << entry;
                EXPECT_EQ(after.at(entry).hash, e.hash) << entry;
            }
        }
        ASSERT_TRUE(Verified(archive));
    }
    // A mask that matches nothing rewrites the archive with every entry.
    const auto kept = Entries(dir_ + "/info.zip");
    zip_->FileSpecList()->Clear();
    AddSpec("nothing.*");
    ASSERT_TRUE(RunSwitch(dir_ + "/info.zip", TSwitch::swDelete));
    EXPECT_EQ(Entries(dir_ + "/info.zip").size(), kept.size());
    // Deleting everything deletes the file and clears ArchiveFile.
    zip_->FileSpecList()->Clear();
    AddSpec("*");
    RunSwitch(dir_ + "/info.zip", TSwitch::swDelete);
    EXPECT_FALSE(fs::exists(dir_ + "/info.zip"));
    EXPECT_EQ(zip_->ArchiveFile(), "");
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(ForeignArchiveTest, DeletingAnEncryptedEntrySettlesItsPassword)
{
    MakeInfoZip("info.zip");
    const std::string archive = dir_ + "/info.zip";
    const std::string original = mx::test::ReadFile(archive);
    AddSpec("b.bin");
    // Without OnGetPassword: 25270 and the archive stays.
    ASSERT_FALSE(RunSwitch(archive, TSwitch::swDelete));
    EXPECT_EQ(errors_, std::vector<int>{25270});
    EXPECT_EQ(mx::test::ReadFile(archive), original);
    // Wrong answers are 26517 each; three of them leave the archive unchanged.
    errors_.clear();
    std::vector<std::string> answers = {"no", "nope", "never"};
    zip_->OnGetPassword.Bind(&answers, [](void* c, fw::TObject*, const std::string&, std::string& pw, bool&) {
        auto& a = *static_cast<std::vector<std::string>*>(c);
        pw = a.front();
        a.erase(a.begin());
    });
    ASSERT_FALSE(RunSwitch(archive, TSwitch::swDelete));
    EXPECT_EQ(errors_, (std::vector<int>{26517, 26517, 26517}));
    EXPECT_EQ(mx::test::ReadFile(archive), original);
    // The right one deletes the entry and is remembered first in Passwords.
    errors_.clear();
    answers = {"bad", "secret"};
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swDelete));
    EXPECT_EQ(errors_, std::vector<int>{26517});
    EXPECT_EQ(zip_->Passwords()->Get(0), "secret");
    EXPECT_FALSE(Entries(archive).count("b.bin"));
    ASSERT_TRUE(Verified(archive));
}

// ---- swMove ---------------------------------------------------------------------------------------

TEST_F(ZipWriterTest, MoveDeletesOnlyTheSourcesThisRunArchived)
{
    const std::string src = dir_ + "/src";
    MakeSources(src);
    mx::test::WriteFile(src + "/kept-newer.txt", "the version in the folder\n");
    mx::test::WriteFile(src + "/declined.txt", "declined in OnBegin\n");
    // An archive that already holds kept-newer.txt with other contents.
    fs::create_directories(dir_ + "/old");
    mx::test::WriteFile(dir_ + "/old/kept-newer.txt", "the archived version, different\n");
    const std::string archive = dir_ + "/mv.zip";
    ASSERT_TRUE(RunIn(dir_ + "/old", "zip -q ../mv.zip kept-newer.txt", "zip", "zip"));

    zip_->SetDefaultDir(src);
    AddSpec("*.*");
    declined_ = {"declined.txt"};
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swMove));
    // Archived and gone: a.txt, b.bin, empty.dat. Still there: the declined file and the file whose
    // archived namesake was kept (no OnReplaceFile), and the sub-folder (no recursion).
    EXPECT_FALSE(fs::exists(src + "/a.txt"));
    EXPECT_FALSE(fs::exists(src + "/b.bin"));
    EXPECT_FALSE(fs::exists(src + "/empty.dat"));
    EXPECT_TRUE(fs::exists(src + "/declined.txt"));
    EXPECT_TRUE(fs::exists(src + "/kept-newer.txt"));
    EXPECT_TRUE(fs::exists(src + "/sub/c.txt"));
    ASSERT_TRUE(Verified(archive));

    // A cancel after the first file: that file moves, the rest stay where they are.
    declined_.clear();
    mx::test::WriteFile(src + "/x1.txt", "one\n");
    mx::test::WriteFile(src + "/x2.txt", "two\n");
    zip_->FileSpecList()->Clear();
    AddSpec("x1.txt");
    AddSpec("x2.txt");
    cancelAfterEnds_ = 1;
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swMove));
    EXPECT_FALSE(fs::exists(src + "/x1.txt"));
    EXPECT_TRUE(fs::exists(src + "/x2.txt"));
    const auto names = Entries(archive);
    EXPECT_TRUE(names.count("x1.txt"));
    EXPECT_FALSE(names.count("x2.txt"));
    EXPECT_TRUE(names.count("a.txt"));
}

TEST_F(ZipWriterTest, WithoutFoldersTheFirstOfTwoEqualNamesWinsAndTheOtherIsNeitherStoredNorMoved)
{
    const std::string src = dir_ + "/src";
    fs::create_directories(src + "/inner");
    mx::test::WriteFile(src + "/same.txt", "the outer one\n");
    mx::test::WriteFile(src + "/inner/same.txt", "the inner one\n");
    zip_->SetDefaultDir(src);
    zip_->SetStoredDirNames(TStoredDirNames::sdNone);
    zip_->SetRecurseDirs(true);
    AddSpec("*.txt");
    errors_.clear();
    ASSERT_TRUE(RunSwitch(dir_ + "/dup.zip", TSwitch::swMove));
    EXPECT_EQ(errors_, std::vector<int>{26900});
    EXPECT_EQ(CaptureIn(dir_, "zipinfo -1 dup.zip"), "same.txt\n");
    EXPECT_EQ(CaptureIn(dir_, "unzip -p dup.zip same.txt"), "the outer one\n");
    EXPECT_FALSE(fs::exists(src + "/same.txt"));
    EXPECT_EQ(mx::test::ReadFile(src + "/inner/same.txt"), "the inner one\n");
}

// Names that differ only in case cannot both exist on Windows: the second is left out with the
// report 26900 ("Skipped File") naming it.
TEST_F(ZipWriterTest, NamesDifferingOnlyInCaseAreReportedWhenSkipped)
{
    const std::string src = dir_ + "/cases";
    fs::create_directories(src);
    mx::test::WriteFile(src + "/Readme.txt", "one\n");
    mx::test::WriteFile(src + "/README.TXT", "two\n");
    std::vector<std::string> names;
    zip_->OnError.Bind(&names, [](void* c, fw::TObject*, const std::string& fn, const std::string&,
                                  const std::string&, int code) {
        static_cast<std::vector<std::string>*>(c)->push_back(std::to_string(code) + " " + fn);
    });
    zip_->SetDefaultDir(src);
    zip_->SetStoredDirNames(TStoredDirNames::sdNone);
    AddSpec("*.*");
    ASSERT_TRUE(RunSwitch(dir_ + "/cases.zip", TSwitch::swAdd));
    ASSERT_EQ(names.size(), 1u);
    const std::string stored = CaptureIn(dir_, "zipinfo -1 cases.zip");
    EXPECT_TRUE(stored == "Readme.txt\n" || stored == "README.TXT\n") << stored;
    const std::string skipped = stored == "Readme.txt\n" ? "README.TXT" : "Readme.txt";
    EXPECT_EQ(names[0], "26900 " + skipped);
}

// ---- safety ---------------------------------------------------------------------------------------

TEST_F(ZipWriterTest, AnArchiveWhoseDirectoryCannotBeReadIsRefusedUntouched)
{
    const std::string src = dir_ + "/src";
    MakeSources(src);
    ASSERT_TRUE(RunIn(src, "zip -q ../good.zip a.txt b.bin", "zip", "zip"));
    const std::string good = mx::test::ReadFile(dir_ + "/good.zip");
    struct Damage {
        const char* name;
        std::string bytes;
    };
    const Damage cases[] = {
        {"no-end-record.zip", good.substr(0, good.size() - 22)},
        {"cut-directory.zip", good.substr(0, good.size() - 60) + good.substr(good.size() - 22)},
        {"not-a-zip.zip", std::string(5000, 't')},
    };
    zip_->SetDefaultDir(src);
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.name);
        const std::string archive = dir_ + "/" + d.name;
        mx::test::WriteFile(archive, d.bytes);
        for (TSwitch sw : {TSwitch::swDelete, TSwitch::swAdd}) {
            errors_.clear();
            zip_->FileSpecList()->Clear();
            AddSpec(sw == TSwitch::swDelete ? "*" : "empty.dat");
            EXPECT_FALSE(RunSwitch(archive, sw));
            EXPECT_EQ(errors_, std::vector<int>{25108});
            EXPECT_EQ(mx::test::ReadFile(archive), d.bytes);
        }
    }
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(ZipWriterTest, ACancelDuringADeleteLeavesTheArchiveAsItWas)
{
    const std::string src = dir_ + "/src";
    MakeSources(src);
    ASSERT_TRUE(RunIn(src, "zip -q -r ../c.zip .", "zip", "zip"));
    const std::string archive = dir_ + "/c.zip";
    const std::string original = mx::test::ReadFile(archive);
    AddSpec("a.txt");
    AddSpec("sub/*");
    cancelAfterEnds_ = 1;
    EXPECT_FALSE(RunSwitch(archive, TSwitch::swDelete));
    EXPECT_EQ(mx::test::ReadFile(archive), original);
    EXPECT_TRUE(TempLeftovers().empty());
    EXPECT_EQ(events_.back(), "deactivate");
}

TEST_F(ZipWriterTest, FailuresAtEveryStepLeaveTheOriginalAndNoTemporaryFile)
{
    const std::string src = dir_ + "/src";
    MakeSources(src);
    ASSERT_TRUE(RunIn(src, "zip -q ../f.zip a.txt sub/c.txt", "zip", "zip"));
    const std::string archive = dir_ + "/f.zip";
    const std::string original = mx::test::ReadFile(archive);
    zip_->SetDefaultDir(src);
    const auto leftovers = [&] {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_))
            if (e.path().filename().string().rfind("BH", 0) == 0)
                out.push_back(e.path().string());
        for (const std::string& t : TempLeftovers())
            out.push_back(t);
        return out;
    };
    struct Fault {
        const char* label;
        int64_t writeBudget;
        bool failFlush;
        bool failMove;
        int code;
    };
    const Fault faults[] = {
        {"disk full at once", 0, false, false, 25136},
        {"disk full in the data", 3000, false, false, 25136},
        {"disk full in the directory", int64_t(original.size()) + 9000, false, false, 25136},
        {"flush fails", -1, true, false, 25136},
        {"replacement refused", -1, false, true, 25136},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.label);
        errors_.clear();
        zip_->FileSpecList()->Clear();
        AddSpec("b.bin");
        AddSpec("empty.dat");
        {
            test::FaultFs faulty;
            faulty.writeBudget = f.writeBudget;
            faulty.failFlush = f.failFlush;
            if (f.failMove)
                faulty.failMovesOnto = "f.zip";
            EXPECT_FALSE(RunSwitch(archive, TSwitch::swAdd));
        }
        ASSERT_FALSE(errors_.empty());
        EXPECT_EQ(errors_.back(), f.code);
        EXPECT_EQ(mx::test::ReadFile(archive), original);
        EXPECT_TRUE(leftovers().empty());
    }
    // An old archive that cannot be read (25298), a folder that cannot be entered (25153), a link
    // that leads back up without end (25263): the run ends and the archive stays.
    fs::create_directory_symlink("..", src + "/sub/loop");
    struct Stop {
        const char* label;
        std::string spec;
        bool unreadableArchive;
        bool recurse;
        int code;
    };
    const Stop stops[] = {
        {"archive unreadable", "b.bin", true, false, 25298},
        {"missing folder", dir_ + "/missing/*.txt", false, false, 25153},
        {"endless folders", "*.txt", false, true, 25263},
    };
    for (const Stop& st : stops) {
        SCOPED_TRACE(st.label);
        errors_.clear();
        zip_->FileSpecList()->Clear();
        AddSpec(st.spec);
        zip_->SetRecurseDirs(st.recurse);
        {
            test::FaultFs faulty;
            if (st.unreadableArchive)
                faulty.failReadsOf = "f.zip";
            EXPECT_FALSE(RunSwitch(archive, TSwitch::swAdd));
        }
        ASSERT_FALSE(errors_.empty());
        EXPECT_EQ(errors_.back(), st.code);
        EXPECT_EQ(mx::test::ReadFile(archive), original);
        EXPECT_TRUE(leftovers().empty());
    }
    fs::remove(src + "/sub/loop");
    zip_->SetRecurseDirs(false);

    // A source that cannot be read is left out whole; the others go in.
    errors_.clear();
    zip_->FileSpecList()->Clear();
    AddSpec("a.txt");
    AddSpec("b.bin");
    mx::test::WriteFile(src + "/a.txt", "newer contents\n");
    zip_->OnReplaceFile.Bind(this, [](void*, fw::TObject*, const std::string&, const std::string&, TDateTime,
                                      TDateTime, int64_t, int64_t, int, int, bool& replace) { replace = true; });
    {
        test::FaultFs faulty;
        faulty.failReadsOf = "a.txt";
        ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
    }
    EXPECT_EQ(errors_, std::vector<int>{25235});
    const auto entries = Entries(archive);
    EXPECT_TRUE(entries.count("b.bin"));
    EXPECT_TRUE(entries.count("a.txt"));  // the old entry stays
    ASSERT_TRUE(Verified(archive));
    EXPECT_NE(std::find(events_.begin(), events_.end(), "FAIL a.txt"), events_.end());
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(ZipWriterTest, AReadOnlyArchiveIsWrittenOnlyWhenTheHandlerAllows)
{
    const std::string src = dir_ + "/src";
    MakeSources(src);
    ASSERT_TRUE(RunIn(src, "zip -q ../ro.zip a.txt && chmod 444 ../ro.zip", "zip", "zip"));
    const std::string archive = dir_ + "/ro.zip";
    const std::string original = mx::test::ReadFile(archive);
    zip_->SetDefaultDir(src);
    AddSpec("b.bin");
    // Without a handler: 25136 and no run at all.
    EXPECT_FALSE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_EQ(errors_, std::vector<int>{25136});
    EXPECT_TRUE(events_.size() == 1);
    // A handler that declines: nothing reported, nothing written.
    errors_.clear();
    bool allow = false;
    zip_->OnNonWriteableArchive.Bind(&allow, [](void* c, fw::TObject*, const std::string&, bool& write) {
        write = *static_cast<bool*>(c);
    });
    EXPECT_FALSE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(mx::test::ReadFile(archive), original);
    // A handler that allows: the archive becomes writable and gets the file.
    allow = true;
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_TRUE(Entries(archive).count("b.bin"));
    ASSERT_TRUE(Verified(archive));
}

TEST_F(ZipWriterTest, NamesOutsideAsciiAreMatchedInOneForm)
{
    // The name goes to the archive in the OEM code page; re-adding must find it there again.
    const std::string src = dir_ + "/src";
    fs::create_directories(src);
    const std::string name = "caf\xE9 \xC4pfel.txt";  // Latin-1 bytes, as the system hands them over
    mx::test::WriteFile(src + "/" + name, "contents\n");
    zip_->SetDefaultDir(src);
    AddSpec("*.txt");
    const std::string archive = dir_ + "/names.zip";
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
    const std::string stored = CaptureIn(dir_, test::Python() +
        " -c \"import zipfile; print(zipfile.ZipFile('names.zip').infolist()[0].orig_filename.encode('cp437').hex())\"");
    EXPECT_EQ(stored, "63616682208e7066656c2e747874\n");  // caf, OEM e-acute, blank, OEM A-umlaut, pfel.txt
    errors_.clear();
    EXPECT_FALSE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_EQ(errors_, std::vector<int>{26999});
    // Replaced, it is still one entry, and it lists under its ANSI name.
    mx::test::WriteFile(src + "/" + name, "other contents\n");
    zip_->OnReplaceFile.Bind(this, [](void*, fw::TObject*, const std::string&, const std::string&, TDateTime,
                                      TDateTime, int64_t, int64_t, int, int, bool& replace) { replace = true; });
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swAdd));
    EXPECT_EQ(CaptureIn(dir_, "zipinfo -1 names.zip | wc -l"), "1\n");
    reads_.clear();
    ASSERT_TRUE(RunSwitch(archive, TSwitch::swRead));
    EXPECT_EQ(reads_, std::vector<std::string>{name});
}

TEST_F(ZipWriterTest, SettingsKeepTheirRules)
{
    zip_->SetCompressMethod(TCompressMethod::cmFuse);
    EXPECT_EQ(zip_->CompressMethod(), TCompressMethod::cmDeflate);
    zip_->SetArcType(TArcType::atLzh);
    EXPECT_EQ(zip_->ArcType(), TArcType::atZip);
    zip_->SetDefaultExt("  archive.zipx ");
    EXPECT_EQ(zip_->GetDefaultExt(), "zip");
    zip_->SetDefaultExt("");
    EXPECT_EQ(zip_->GetDefaultExt(), "ZIP");
    zip_->SetDeflateType(TDeflateType::dtDeflateX);
    EXPECT_EQ(TZip::DeflateLevel(), 9);
    zip_->SetDeflateType(TDeflateType::dtDeflateS);
    EXPECT_EQ(TZip::DeflateLevel(), 9);
    zip_->SetDeflateType(TDeflateType::dtDeflateN);
    EXPECT_EQ(TZip::DeflateLevel(), 7);
    // Nothing to do without an archive name or a FileSpec; a delete on a missing archive is 26999.
    EXPECT_FALSE(RunSwitch("  ", TSwitch::swAdd));
    EXPECT_FALSE(RunSwitch(dir_ + "/none.zip", TSwitch::swAdd));
    AddSpec("*");
    EXPECT_FALSE(RunSwitch(dir_ + "/none.zip", TSwitch::swDelete));
    EXPECT_EQ(errors_, std::vector<int>{26999});
    EXPECT_EQ(events_, (std::vector<std::string>{"error 26999", "deactivate"}));
}

}  // namespace
}  // namespace engine
