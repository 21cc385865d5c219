// CAB archives: the extractor's answers to the library's notifications (a scripted library, also
// natively), the file handler's table, the type words; under Wine the real cabinet.dll with gcab's
// cabinets, the corpus compared with cabextract, our cabinets and cabinet sets read back, refused
// updates, and the library switched off.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/core/file_routines.h"
#include "engine/formats/cab/makecab_component.h"
#include "engine/formats/common/testdata/test_bytes.h"
#include "engine/formats/cab/testdata/scripted_fdi.h"
#include "engine/formats/cab/uncab_component.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"
#ifdef _WIN32
#include <windows.h>

#include "testing/unix_script.h"
#endif

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::ScriptedFdi;
using test::ScriptedFile;

std::string Digest(const std::string& bytes)
{
    return std::to_string(bytes.size()) + ":" +
           std::to_string(mx::codec::Crc32(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())));
}

[[maybe_unused]] std::map<std::string, std::string> Tree(const std::string& root)
{
    std::map<std::string, std::string> out;
    if (!fs::exists(root))
        return out;
    // Files are opened by their path object: a name beyond ASCII does not survive the trip
    // through a narrow string.
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file())
            continue;
        std::ifstream in(e.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        out[fs::relative(e.path(), root).generic_string()] = Digest(bytes);
    }
    return out;
}

class CabTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUnCABClasses();
        RegisterMakeCABClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        cab_ = fw::Make<TUnCAB>(owner_);
        cab_->OnBegin.Bind(this, &CabTest::Begin);
        cab_->OnEnd.Bind(this, &CabTest::End);
        cab_->OnError.Bind(this, &CabTest::Error);
        cab_->OnNextVolume.Bind(this, &CabTest::NextVolume);
        cab_->OnProgress.Bind(this, &CabTest::Progress);
        maker_ = fw::Make<TMakeCAB>(owner_);
        maker_->OnError.Bind(this, &CabTest::Error);
        maker_->OnEnd.Bind(this, &CabTest::End);
    }
    void TearDown() override
    {
        if (owner_)  // null when SetUp failed
            owner_->Free();
        SetCurrentDir(mx::test::ScratchDir());
    }

    void Begin(fw::TObject*, const std::string& fn, int recNum, bool& extract)
    {
        events_.push_back("begin " + std::to_string(recNum) + " " + Name(fn));
        if (Name(fn) == declined_)
            extract = false;
    }
    void End(fw::TObject*, const std::string& fn, bool pass) { events_.push_back((pass ? "pass " : "FAIL ") + Name(fn)); }
    void Error(fw::TObject*, const std::string&, const std::string&, const std::string&, int code) { errors_.push_back(code); }
    void NextVolume(fw::TObject*, std::string&, std::string& fn, const std::string&, bool, bool& cancel)
    {
        events_.push_back("volume " + Name(fn));
        cancel = refuseVolumes_;
    }
    void Progress(fw::TObject*, uint8_t percent) { lastProgress_ = percent; }
    static std::string Name(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

    bool Extract(const std::string& archive, bool test = false)
    {
        cab_->SetArchiveFile(archive);
        cab_->SetExtractDir(dir_ + "/out");
        return test ? cab_->Test() : cab_->Extract();
    }
    // A file that type detection takes for a cabinet (the scripted library reads nothing).
    std::string FakeCabinet(const std::string& name)
    {
        const std::string path = dir_ + "/" + name;
        mx::test::WriteFile(path, std::string("MSCF\0\0\0\0", 8) + std::string(40, '\0'));
        return path;
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUnCAB* cab_ = nullptr;
    TMakeCAB* maker_ = nullptr;
    std::vector<std::string> events_;
    std::vector<int> errors_;
    std::string declined_;
    bool refuseVolumes_ = false;
    uint8_t lastProgress_ = 0;
};

class ScriptedCabTest : public CabTest {
public:
    void SetUp() override
    {
        CabTest::SetUp();
        static const FdiFunctions functions = ScriptedFdi::Functions();
        SetFdiFunctions(&functions);
        ScriptedFdi::files.clear();
        ScriptedFdi::log.clear();
        ScriptedFdi::nextCabinet.clear();
    }
    void TearDown() override
    {
        CabTest::TearDown();
        SetFdiFunctions(nullptr);
    }
};

TEST_F(ScriptedCabTest, AnswersPerFile)
{
    ScriptedFdi::files = {{"a.txt", "alpha"},
                          {"sub\\b.bin", Bytes(5000, 1), 0x5A6B, 0x1234, 0x21 | 0x40},  // read-only, "execute"
                          {"..\\escape.txt", "x"},
                          {"caf\xC3\xA9.txt", "utf", 0x5A6B, 0x1234, 0x20 | 0x80},
                          {"skip.me", "no"}};
    cab_->SetFileSpec("*.*");
    declined_ = "skip.me";
    EXPECT_TRUE(Extract(FakeCabinet("s.cab")));
    EXPECT_EQ(events_, (std::vector<std::string>{"begin 1 a.txt", "pass a.txt", "begin 2 b.bin", "pass b.bin",
                                                  "begin 3 caf\xE9.txt", "pass caf\xE9.txt", "begin 4 skip.me"}));
    EXPECT_EQ(errors_, std::vector<int>{25243});
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/a.txt"), "alpha");
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/sub/b.bin"), Bytes(5000, 1));
    EXPECT_EQ(FileGetAttr(dir_ + "/out/sub/b.bin") & 0x41, 0x01);
    EXPECT_EQ(FileAge(dir_ + "/out/a.txt"), int64_t(0x5A6B1234));
    EXPECT_FALSE(fs::exists(dir_ + "/escape.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/out/skip.me"));
    EXPECT_EQ(lastProgress_, 100);
    FileSetAttr(dir_ + "/out/sub/b.bin", kAttrArchive);  // so that the next run can clear the folder

    // One named entry: the first match only, and the files after it are skipped.
    events_.clear();
    errors_.clear();
    cab_->SetFileSpec("a.txt");
    EXPECT_TRUE(Extract(FakeCabinet("s.cab"), true));
    EXPECT_EQ(events_, (std::vector<std::string>{"begin 1 a.txt", "pass a.txt"}));
}

TEST_F(ScriptedCabTest, CabinetSets)
{
    ScriptedFdi::files = {{"one.txt", "1"}, {"two.txt", "2", 0x5A6B, 0x1234, 0x20, true}};
    ScriptedFdi::nextCabinet = "set2.cab";
    const std::string first = FakeCabinet("set1.cab");
    FakeCabinet("set2.cab");
    EXPECT_TRUE(Extract(first));
    // The library's own request for the next cabinet, then the run's walk to it.
    EXPECT_EQ(ScriptedFdi::log, (std::vector<std::string>{"copy set1.cab", "next set2.cab", "copy set2.cab", "next set2.cab"}));
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "volume set2.cab"), 3);

    // A refused cabinet ends the run; what was written stays.
    events_.clear();
    ScriptedFdi::log.clear();
    refuseVolumes_ = true;
    fs::remove_all(dir_ + "/out");
    EXPECT_TRUE(Extract(first));
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/one.txt"), "1");
    EXPECT_FALSE(fs::exists(dir_ + "/out/two.txt"));
    EXPECT_EQ(ScriptedFdi::log, std::vector<std::string>{"copy set1.cab"});
}

TEST_F(CabTest, FileHandlerAndTypeWords)
{
    auto* handler = fw::Make<TStreamCabinetFileHandler>(owner_);
    int err = 0;
    const std::string path = dir_ + "/f.bin";
    const INT_PTR created = handler->Open(path, 0x0102, 0, err, 0);
    ASSERT_NE(created, -1);
    EXPECT_EQ(handler->Write(created, "hello", 5, err), 5u);
    EXPECT_EQ(handler->Close(created, err), 0);
    const INT_PTR read = handler->Open(path, 0x8000, 0, err, 0);
    ASSERT_NE(read, -1);
    char buffer[16] = {};
    EXPECT_EQ(handler->Read(read, buffer, 16, err), 5u);  // a short read gives the smaller count
    EXPECT_NE(err, -1);
    EXPECT_EQ(handler->Seek(read, 1, 0, err), 1);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(handler->Close(12345, err), 0);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(handler->Read(12345, buffer, 1, err), 0u);
    EXPECT_EQ(err, -1);
    EXPECT_EQ(handler->Open(dir_ + "/missing.bin", 0x8000, 0, err, 0), -1);
    EXPECT_NE(err, 0);
    EXPECT_EQ(handler->OpenCount(), 1u);  // freed with the owner, which closes it

    maker_->SetCompressMethod(TCompressMethod::cmLzx);
    maker_->SetLzxLevel(25);
    EXPECT_EQ(maker_->CompressTypeWord(), 5379);
    maker_->SetCompressMethod(TCompressMethod::cmQuantum);
    EXPECT_EQ(maker_->CompressTypeWord(), 5489);
    EXPECT_EQ(ECabinetError(3, 4).what(), std::string("Cabinet error 3 (type 4)"));
}

#ifdef _WIN32
// A case folder both as this process opens it and as the Unix tools see it.
struct CaseDir {
    std::string win, unix;
};

CaseDir Case(const std::string& win)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return {win, std::string(std::getenv("MX_TEST_TMP")) + "/" + info->test_suite_name() + "." + info->name()};
}

int RunUnix(const CaseDir& d, const std::string& script)
{
    return mx::test::RunUnixScript(d.unix, d.win, "cd '" + d.unix + "' && " + script);
}

bool CabinetDisabled() { return std::getenv("MX_CABINET_DISABLED") != nullptr; }

// The offset of the attribute word of Name's file record, found by walking the file records that
// the cabinet header points to.
size_t CabFileAttributeOffset(const std::string& cab, const std::string& name)
{
    const auto le16 = [&](size_t at) { return size_t(uint8_t(cab[at])) | size_t(uint8_t(cab[at + 1])) << 8; };
    const auto le32 = [&](size_t at) { return le16(at) | le16(at + 2) << 16; };
    if (cab.size() < 36)
        return std::string::npos;
    size_t at = le32(16);
    for (size_t i = 0, files = le16(28); i < files && at + 16 < cab.size(); ++i) {
        const size_t end = cab.find('\0', at + 16);
        if (end == std::string::npos)
            break;
        if (cab.compare(at + 16, end - at - 16, name) == 0)
            return at + 14;
        at = end + 1;
    }
    return std::string::npos;
}

TEST_F(CabTest, GcabCabinetsExtractWithNamesTimesAndAttributes)
{
    if (CabinetDisabled())
        GTEST_SKIP();
    const CaseDir d = Case(dir_);
    fs::create_directories(dir_ + "/src/sub");
    mx::test::WriteFile(dir_ + "/src/a.txt", std::string(5000, 'a'));
    mx::test::WriteFile(dir_ + "/src/sub/noise.bin", Bytes(200000, 9));
    mx::test::WriteFile(dir_ + "/src/empty.txt", "");
    // The name beyond ASCII is made on the Unix side (UTF-8, which gcab marks as such); the script
    // itself stays ASCII on its way through the ANSI command line.
    ASSERT_EQ(RunUnix(d, "printf utf > src/$(printf 'caf\\303\\251.txt') && "
                         "touch -d '2021-03-04 05:06:08' src/a.txt src/sub/noise.bin src/empty.txt src/caf*.txt && "
                         "cd src && gcab -c ../stored.cab a.txt sub/noise.bin empty.txt caf*.txt && "
                         "gcab -c -z ../mszip.cab a.txt sub/noise.bin empty.txt caf*.txt"),
              0);
    // A copy whose a.txt is marked read-only, at the attribute word our own walk of the file
    // records finds.
    std::string marked = mx::test::ReadFile(dir_ + "/stored.cab");
    const size_t attribs = CabFileAttributeOffset(marked, "a.txt");
    ASSERT_NE(attribs, std::string::npos);
    EXPECT_EQ(uint8_t(marked[attribs]), 0x20);  // gcab stores the archive bit
    marked[attribs] = 0x21;
    mx::test::WriteFile(dir_ + "/marked.cab", marked);
    for (const char* cabinet : {"stored.cab", "mszip.cab", "marked.cab"}) {
        SCOPED_TRACE(cabinet);
        events_.clear();
        fs::remove_all(dir_ + "/out");
        EXPECT_TRUE(Extract(dir_ + "/" + cabinet));
        EXPECT_TRUE(errors_.empty());
        std::map<std::string, std::string> want = Tree(dir_ + "/src");
        EXPECT_EQ(Tree(dir_ + "/out"), want);
        EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/caf\xE9.txt"), "utf");
        EXPECT_EQ(FileAge(dir_ + "/out/sub/noise.bin"), FileAge(dir_ + "/src/sub/noise.bin"));
        EXPECT_EQ(std::count_if(events_.begin(), events_.end(), [](const std::string& e) { return e.rfind("pass", 0) == 0; }), 4);
        EXPECT_NE(std::find(events_.begin(), events_.end(), "pass caf\xE9.txt"), events_.end()) << ::testing::PrintToString(events_);
        const bool readOnly = std::string(cabinet) == "marked.cab";
        EXPECT_EQ(FileGetAttr(dir_ + "/out/a.txt") & (kAttrReadOnly | kAttrHidden | kAttrSysFile),
                  readOnly ? kAttrReadOnly : 0);
        for (const char* other : {"sub/noise.bin", "empty.txt", "caf\xE9.txt"})
            EXPECT_EQ(FileGetAttr(dir_ + "/out/" + other) & (kAttrReadOnly | kAttrHidden | kAttrSysFile), 0) << other;
        FileSetAttr(dir_ + "/out/a.txt", kAttrArchive);
    }
}

TEST_F(CabTest, CorpusCabinetsExtractAsCabextractDoes)
{
    if (CabinetDisabled())
        GTEST_SKIP();
    const CaseDir d = Case(dir_);
    const std::string unixFixtures = std::string(std::getenv("MX_SOURCE_DIR")) + "/testing/fixtures/cab";
    const std::string fixtures = mx::test::FixtureDir() + "/cab";
    for (const char* name : {"libarchive/test_read_format_cab_1.cab", "libarchive/test_read_format_cab_2.cab",
                             "libarchive/test_read_format_cab_3.cab", "libmspack/mixed.cab",
                             "libmspack/normal_2files_2folders.cab", "cabextract/split-1.cab"}) {
        SCOPED_TRACE(name);
        errors_.clear();
        fs::remove_all(dir_ + "/out");
        fs::remove_all(dir_ + "/ref");
        ASSERT_EQ(RunUnix(d, "mkdir ref && cabextract -q -d ref '" + unixFixtures + "/" + name + "'"), 0);
        EXPECT_TRUE(Extract(fixtures + "/" + name));
        EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
        EXPECT_EQ(Tree(dir_ + "/out"), Tree(dir_ + "/ref"));
    }
}

TEST_F(CabTest, OurCabinetsAndSetsReadBack)
{
    if (CabinetDisabled())
        GTEST_SKIP();
    const CaseDir d = Case(dir_);
    fs::create_directories(dir_ + "/src");
    for (int i = 0; i < 6; ++i)
        mx::test::WriteFile(dir_ + "/src/f" + std::to_string(i) + ".bin", Bytes(40000 + i * 1000, uint32_t(i)));
    mx::test::WriteFile(dir_ + "/src/text.txt", std::string(100000, 'q'));
    FileSetAttr(dir_ + "/src/text.txt", kAttrReadOnly | kAttrArchive);
    fw::TStringList spec;
    spec.Add("*.*");
    maker_->SetFileSpecList(&spec);
    maker_->SetDefaultDir(dir_ + "/src");
    maker_->SetArchiveFile(dir_ + "/one.cab");
    EXPECT_TRUE(maker_->Activate());
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(RunUnix(d, "cabextract -t one.cab"), 0);
    EXPECT_TRUE(Extract(dir_ + "/one.cab"));
    EXPECT_EQ(Tree(dir_ + "/out"), Tree(dir_ + "/src"));
    EXPECT_EQ(FileGetAttr(dir_ + "/out/text.txt") & 1, 1);
    EXPECT_EQ(FileAge(dir_ + "/out/f1.bin"), FileAge(dir_ + "/src/f1.bin"));
    FileSetAttr(dir_ + "/out/text.txt", kAttrArchive);

    // A set: at most 100000 bytes per cabinet, the next names from OnGetNextCabinet.
    int made = 1;
    maker_->OnGetNextCabinet.Bind(&made, [](void* p, fw::TObject*, CCAB&, std::string& name, int, bool& abortCreation) {
        int& n = *static_cast<int*>(p);
        name = "part" + std::to_string(++n) + ".cab";
        abortCreation = false;
    });
    maker_->SetMaxCabinetSize(100000);
    maker_->SetArchiveFile(dir_ + "/part1.cab");
    EXPECT_TRUE(maker_->Activate());
    EXPECT_GE(made, 3);
    EXPECT_TRUE(fs::exists(dir_ + "/part3.cab"));
    EXPECT_EQ(RunUnix(d, "cabextract -t part1.cab"), 0);
    events_.clear();
    fs::remove_all(dir_ + "/out");
    EXPECT_TRUE(Extract(dir_ + "/part1.cab"));
    EXPECT_EQ(Tree(dir_ + "/out"), Tree(dir_ + "/src"));
    EXPECT_GE(std::count(events_.begin(), events_.end(), "volume part3.cab"), 1);
    EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
    FileSetAttr(dir_ + "/out/text.txt", kAttrArchive);
    FileSetAttr(dir_ + "/src/text.txt", kAttrArchive);
}

TEST_F(CabTest, UpdatesAreRefusedAndTheCabinetIsKept)
{
    if (CabinetDisabled())
        GTEST_SKIP();
    mx::test::WriteFile(dir_ + "/x.txt", "x");
    fw::TStringList spec;
    spec.Add("x.txt");
    maker_->SetFileSpecList(&spec);
    maker_->SetDefaultDir(dir_);
    maker_->SetArchiveFile(dir_ + "/keep.cab");
    EXPECT_TRUE(maker_->Activate());
    const std::string before = mx::test::ReadFile(dir_ + "/keep.cab");
    EXPECT_FALSE(maker_->Activate());  // adding to it
    maker_->SetSwitch(TSwitch::swDelete);
    EXPECT_FALSE(maker_->Activate());
    EXPECT_EQ(errors_, (std::vector<int>{25242, 25242}));
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/keep.cab"), before);
    // A mask that matches no file adds nothing and raises no file events.
    errors_.clear();
    events_.clear();
    maker_->SetSwitch(TSwitch::swAdd);
    spec.Clear();
    spec.Add("nothing*.txt");
    maker_->SetFileSpecList(&spec);
    maker_->SetArchiveFile(dir_ + "/empty.cab");
    maker_->Activate();
    EXPECT_TRUE(events_.empty());
}

// A source the library cannot open (another program holds it without sharing) fails its own file;
// the others make the cabinet.
TEST_F(CabTest, UnreadableSourceFailsItsFileOnly)
{
    if (CabinetDisabled())
        GTEST_SKIP();
    const CaseDir d = Case(dir_);
    fs::create_directories(dir_ + "/src");
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        mx::test::WriteFile(dir_ + "/src/" + name, std::string(3000, name[0]));
    const std::string held = dir_ + "/src/b.txt";
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    fw::TStringList spec;
    spec.Add("*.txt");
    maker_->SetFileSpecList(&spec);
    maker_->SetDefaultDir(dir_ + "/src");
    maker_->SetArchiveFile(dir_ + "/three.cab");
    const bool made = maker_->Activate();
    CloseHandle(holder);
    EXPECT_TRUE(made) << ::testing::PrintToString(errors_);
    EXPECT_EQ(events_, (std::vector<std::string>{"pass a.txt", "FAIL b.txt", "pass c.txt"})) << ::testing::PrintToString(errors_);
    EXPECT_EQ(RunUnix(d, "cabextract -t three.cab"), 0);
    EXPECT_TRUE(Extract(dir_ + "/three.cab"));
    EXPECT_EQ(Tree(dir_ + "/out"), (std::map<std::string, std::string>{{"a.txt", Digest(std::string(3000, 'a'))},
                                                                        {"c.txt", Digest(std::string(3000, 'c'))}}));
}

// Runs that fail report it and leave no cabinet: the cabinet's folder does not exist, so the
// library cannot write it; a FileSpec folder cannot be entered after the first item's files were
// added; the same failure in a set whose first cabinets were on disk already.
TEST_F(CabTest, FailedRunsLeaveNoCabinets)
{
    if (CabinetDisabled())
        GTEST_SKIP();
    fs::create_directories(dir_ + "/src");
    for (int i = 0; i < 6; ++i)
        mx::test::WriteFile(dir_ + "/src/f" + std::to_string(i) + ".bin", Bytes(40000 + i * 1000, uint32_t(i)));
    const auto passed = [this] {
        return std::count_if(events_.begin(), events_.end(), [](const std::string& e) { return e.rfind("pass", 0) == 0; });
    };
    fw::TStringList spec;
    spec.Add("*.*");
    maker_->SetFileSpecList(&spec);
    maker_->SetDefaultDir(dir_ + "/src");
    maker_->SetArchiveFile(dir_ + "/nowhere/a.cab");
    EXPECT_FALSE(maker_->Activate());
    EXPECT_EQ(passed(), 6);
    EXPECT_FALSE(errors_.empty());
    EXPECT_FALSE(fs::exists(dir_ + "/nowhere"));

    errors_.clear();
    events_.clear();
    // Items with folders go straight into the list (its setter keeps name parts only).
    maker_->FileSpecList()->Clear();
    maker_->FileSpecList()->Add(dir_ + "/src/*.*");
    maker_->FileSpecList()->Add(dir_ + "/missing/*.*");
    maker_->SetArchiveFile(dir_ + "/b.cab");
    EXPECT_FALSE(maker_->Activate());
    EXPECT_EQ(passed(), 6);
    EXPECT_EQ(errors_, std::vector<int>{25136});
    EXPECT_FALSE(fs::exists(dir_ + "/b.cab"));

    // The set: which of its cabinets were on disk when each file had been added.
    errors_.clear();
    int made = 1;
    maker_->OnGetNextCabinet.Bind(&made, [](void* p, fw::TObject*, CCAB&, std::string& name, int, bool& abortCreation) {
        int& n = *static_cast<int*>(p);
        name = "part" + std::to_string(++n) + ".cab";
        abortCreation = false;
    });
    std::set<std::string> seen;
    struct Watch {
        std::set<std::string>* seen;
        std::string dir;
    } watch{&seen, dir_};
    maker_->OnEnd.Bind(&watch, [](void* p, fw::TObject*, const std::string&, bool) {
        auto& w = *static_cast<Watch*>(p);
        for (int i = 1; i <= 9; ++i)
            if (fs::exists(w.dir + "/part" + std::to_string(i) + ".cab"))
                w.seen->insert("part" + std::to_string(i) + ".cab");
    });
    maker_->SetMaxCabinetSize(100000);
    maker_->SetArchiveFile(dir_ + "/part1.cab");
    EXPECT_FALSE(maker_->Activate());
    EXPECT_EQ(errors_, std::vector<int>{25136});
    EXPECT_GE(made, 3);
    EXPECT_TRUE(seen.count("part2.cab")) << ::testing::PrintToString(seen) << made;
    for (int i = 1; i <= made; ++i)
        EXPECT_FALSE(fs::exists(dir_ + "/part" + std::to_string(i) + ".cab")) << i;
}

TEST_F(CabTest, MissingLibrary)
{
    if (!CabinetDisabled())
        GTEST_SKIP() << "runs as cab_missing_library_test, with the library switched off";
    EXPECT_FALSE(FDILoaded());
    EXPECT_FALSE(FCILoaded());
    mx::test::WriteFile(dir_ + "/a.cab", std::string("MSCF\0\0\0\0", 8) + std::string(40, '\0'));
    EXPECT_TRUE(Extract(dir_ + "/a.cab"));
    maker_->SetArchiveFile(dir_ + "/b.cab");
    EXPECT_FALSE(maker_->Activate()) << ::testing::PrintToString(events_) << maker_->FileSpecList()->Get(1);
    EXPECT_EQ(errors_, (std::vector<int>{25259, 25259}));
    EXPECT_FALSE(fs::exists(dir_ + "/b.cab"));
}
#endif

}  // namespace
}  // namespace engine
