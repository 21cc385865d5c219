// The integrity tester over archives of every testable type: made at test time by the real archivers
// (natively) or by the test generators (also under Wine), intact and with one byte changed inside an
// entry's data; Info-ZIP's verdicts against unzip -t; the refused types; the progress over the whole
// archive; the edge cases of the private listing; extractors that still write files afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/core/file_routines.h"
#include "engine/core/testing/engine_test_env.h"
#include "engine/core/testing/forwarding_host.h"
#include "engine/formats/bh/bh_writer.h"
#include "engine/formats/common/testdata/test_bytes.h"
#include "engine/formats/rar/testdata/rar_writer.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/formats/zoo/testing/zoo_testgen.h"
#include "engine/lister/krenlo.h"
#include "engine/zipcheck/zip_check.h"
#include "framework/core/formtext.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"
#ifndef _WIN32
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/lzh/testing/lha_header_cases.h"
#endif

namespace engine {
namespace {

namespace fs = std::filesystem;

using test::Bytes;
using test::Text;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string NamePart(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// Changes one byte in the middle of Needle's only occurrence in the file.
void FlipInside(const std::string& path, const std::string& needle)
{
    std::string bytes = mx::test::ReadFile(path);
    const size_t at = bytes.find(needle);
    ASSERT_NE(at, std::string::npos) << path << ": the data is not stored as it is";
    ASSERT_EQ(bytes.find(needle, at + 1), std::string::npos) << path;
    bytes[at + needle.size() / 2] ^= 0x55;
    mx::test::WriteFile(path, bytes);
}

// Cuts the file in the middle of Needle.
void CutInside(const std::string& path, const std::string& needle)
{
    std::string bytes = mx::test::ReadFile(path);
    const size_t at = bytes.find(needle);
    ASSERT_NE(at, std::string::npos) << path;
    bytes.resize(at + needle.size() / 2);
    mx::test::WriteFile(path, bytes);
}

class ZipCheckTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterZipCheckClasses();
        RegisterUnZipClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        check_ = fw::Make<TZipCheck>(owner_);
        check_->OnStatus.Bind(this, &ZipCheckTest::Status);
        check_->OnBegin.Bind(this, &ZipCheckTest::Begin);
        check_->OnEnd.Bind(this, &ZipCheckTest::End);
        check_->OnError.Bind(this, &ZipCheckTest::Error);
        check_->OnActivate.Bind(this, &ZipCheckTest::Activated);
        check_->OnDeactivate.Bind(this, &ZipCheckTest::Deactivated);
        check_->OnElapsedTime.Bind(this, &ZipCheckTest::Elapsed);
    }
    void TearDown() override { owner_->Free(); }

    void Status(fw::TObject* sender, const std::string& fn, bool pass)
    {
        EXPECT_EQ(sender, check_);
        statuses_.push_back((pass ? "pass " : "fail ") + Lower(NamePart(fn)));
        events_.push_back(statuses_.back());
    }
    void Begin(fw::TObject*, const std::string& fn) { events_.push_back("begin " + Lower(NamePart(fn))); }
    void End(fw::TObject*, const std::string& fn) { events_.push_back("end " + Lower(NamePart(fn))); }
    void Error(fw::TObject*, const std::string&, const std::string& msgEx, const std::string&, int code)
    {
        errors_.push_back(code);
        statuses_.push_back("error " + std::to_string(code));
        lastMsgEx_ = msgEx;
    }
    // The extractor's own events arrive with the extractor as Sender.
    void Activated(fw::TObject* sender)
    {
        auto* c = dynamic_cast<fw::TComponent*>(sender);
        events_.push_back(std::string("activate ") + (c && c->Owner() == check_ ? c->ClassName() : "?"));
    }
    void Deactivated(fw::TObject*) { events_.push_back("deactivate"); }
    void Elapsed(fw::TObject* sender, float) { events_.push_back(sender == check_ ? "elapsed" : "elapsed ?"); }
    void Progress(fw::TObject* sender, uint8_t percent)
    {
        EXPECT_EQ(sender, check_);
        progress_.push_back(percent);
        events_.push_back("progress " + std::to_string(percent));
    }

    void WatchProgress() { check_->OnProgress.Bind(this, &ZipCheckTest::Progress); }
    void Clear()
    {
        statuses_.clear();
        events_.clear();
        errors_.clear();
        progress_.clear();
    }
    bool Check(const std::string& archive)
    {
        Clear();
        check_->SetArchiveFile(archive);
        return check_->Activate();
    }
    std::vector<std::string> Without(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const auto& e : events_)
            if (e.rfind(prefix, 0) != 0)
                out.push_back(e);
        return out;
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TZipCheck* check_ = nullptr;
    std::vector<std::string> statuses_, events_;
    std::vector<int> errors_;
    std::vector<uint8_t> progress_;
    std::string lastMsgEx_;
};

// ---- every testable type --------------------------------------------------------------------------

// Makes an archive at Path of the files named in Src (a.bin and b.bin, or b.bin alone for the
// single-file formats).
using Maker = std::function<::testing::AssertionResult(const std::string& src, const std::string& path,
                                                        fw::TComponent* owner)>;

struct TypeCase {
    const char* label;
    TArcType type;
    bool singleFile;
    bool cut;  // damaged by cutting inside b.bin: TAR keeps no check values
    Maker make;
    std::vector<std::string> damaged;  // what the tester reports for the damaged archive
};

std::vector<TypeCase> TypeCases()
{
    using R = ::testing::AssertionResult;
    std::vector<TypeCase> cases;
    const std::vector<std::string> failsSecond = {"pass a.bin", "fail b.bin"};
    cases.push_back({"BH", TArcType::atBh, false, false,
                     [](const std::string& src, const std::string& path, fw::TComponent* owner) -> R {
                         auto* w = fw::Make<TBlakHole>(owner);
                         w->SetArchiveFile(path);
                         w->SetCompressMethod(TCompressMethod::cmStore);
                         w->SetStoredDirNames(TStoredDirNames::sdNone);
                         w->FileSpecList()->Add(src + "/a.bin");
                         w->FileSpecList()->Add(src + "/b.bin");
                         const bool made = w->Activate();
                         w->Free();
                         return made ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "BH writer";
                     },
                     failsSecond});
    cases.push_back({"RAR", TArcType::atRar, false, false,
                     [](const std::string& src, const std::string& path, fw::TComponent*) -> R {
                         const auto volumes = test::RarTestWriter::Make(
                             path.substr(0, path.size() - 4), {{"a.bin", mx::test::ReadFile(src + "/a.bin")},
                                                               {"b.bin", mx::test::ReadFile(src + "/b.bin")}});
                         mx::test::WriteFile(volumes.front().first, volumes.front().second);
                         return ::testing::AssertionSuccess();
                     },
                     failsSecond});
    cases.push_back({"ZOO", TArcType::atZoo, false, false,
                     [](const std::string& src, const std::string& path, fw::TComponent*) -> R {
                         zoo::test::Member good{"a.bin", "", "", 0, mx::test::ReadFile(src + "/a.bin")};
                         zoo::test::Member bad{"b.bin", "", "", 0, mx::test::ReadFile(src + "/b.bin")};
                         mx::test::WriteFile(path, zoo::test::Archive({good, bad}));
                         return ::testing::AssertionSuccess();
                     },
                     failsSecond});
#ifndef _WIN32
    cases.push_back({"ARC", TArcType::atArc, false, false,
                     [](const std::string& src, const std::string& path, fw::TComponent*) {
                         return test::RunIn(src, "arc a ../" + NamePart(path) + " a.bin b.bin", "arc", "arc");
                     },
                     failsSecond});
    cases.push_back({"ARJ", TArcType::atArj, false, false,
                     [](const std::string& src, const std::string& path, fw::TComponent*) {
                         return test::RunIn(src, "arj a -y -m0 ../" + NamePart(path) + " a.bin b.bin", "arj", "arj");
                     },
                     failsSecond});
    cases.push_back({"GZIP", TArcType::atGZip, true, false,
                     [](const std::string& src, const std::string& path, fw::TComponent*) {
                         return test::RunIn(src, "gzip -c b.bin > ../" + NamePart(path), "gzip", "gzip");
                     },
                     {"fail b.bin"}});
    cases.push_back({"LHA", TArcType::atLha, false, false,
                     [](const std::string& src, const std::string& path, fw::TComponent*) {
                         return test::RunIn(src, "jlha c1zq ../" + NamePart(path) + " a.bin b.bin", "jlha", "jlha-utils");
                     },
                     failsSecond});
    cases.push_back({"TAR", TArcType::atTar, false, true,
                     [](const std::string& src, const std::string& path, fw::TComponent*) {
                         return test::RunIn(src, "tar -cf ../" + NamePart(path) + " a.bin b.bin", "tar", "tar");
                     },
                     {"pass a.bin", "error 25236"}});
    cases.push_back({"ZIP", TArcType::atZip, false, false,
                     [](const std::string& src, const std::string& path, fw::TComponent*) {
                         return test::RunIn(src, "zip -q -0 ../" + NamePart(path) + " a.bin b.bin", "zip", "zip");
                     },
                     failsSecond});
#endif
    return cases;
}

TEST_F(ZipCheckTest, EveryTestableTypePassesIntactAndFailsDamagedEntries)
{
    const std::string src = dir_ + "/src";
    fs::create_directories(src);
    // Random bytes: every archiver stores them as they are, where one byte can be found and changed.
    const std::string good = Bytes(3000, 1), bad = Bytes(4000, 2);
    mx::test::WriteFile(src + "/a.bin", good);
    mx::test::WriteFile(src + "/b.bin", bad);
    WatchProgress();
    for (const TypeCase& c : TypeCases()) {
        SCOPED_TRACE(c.label);
        const std::string path = dir_ + "/" + Lower(c.label) + "." + Lower(c.label);
        if (c.singleFile)
            fs::remove(src + "/a.bin");
        ASSERT_TRUE(c.make(src, path, owner_));
        if (c.singleFile)
            mx::test::WriteFile(src + "/a.bin", good);

        EXPECT_TRUE(Check(path));
        EXPECT_EQ(check_->ArcType(), c.type);
        const std::vector<std::string> intact =
            c.singleFile ? std::vector<std::string>{"pass b.bin"} : std::vector<std::string>{"pass a.bin", "pass b.bin"};
        EXPECT_EQ(statuses_, intact);
        ASSERT_FALSE(progress_.empty());
        EXPECT_EQ(progress_.back(), 100);

        if (c.cut)
            CutInside(path, bad);
        else
            FlipInside(path, bad);
        EXPECT_TRUE(Check(path));
        EXPECT_EQ(statuses_, c.damaged);
    }
}

// ---- Info-ZIP archives ----------------------------------------------------------------------------

#ifndef _WIN32
// The data of Name in a ZIP archive, found by walking the local headers.
size_t ZipDataOffset(const std::string& zip, const std::string& name)
{
    const auto le16 = [&](size_t at) { return size_t(uint8_t(zip[at])) | size_t(uint8_t(zip[at + 1])) << 8; };
    const auto le32 = [&](size_t at) { return le16(at) | le16(at + 2) << 16; };
    for (size_t at = 0; at + 30 <= zip.size() && zip.compare(at, 4, "PK\3\4") == 0;) {
        const size_t nameLen = le16(at + 26), extraLen = le16(at + 28), packed = le32(at + 18);
        const size_t data = at + 30 + nameLen + extraLen;
        if (zip.compare(at + 30, nameLen, name) == 0)
            return data;
        at = data + packed;
    }
    return std::string::npos;
}

// unzip -t's verdict per entry: "pass" for "OK", "fail" for anything else it names.
std::vector<std::string> UnzipVerdicts(const std::string& dir, const std::string& zip,
                                       const std::vector<std::string>& names)
{
    const std::string out = test::CaptureIn(dir, "unzip -t " + zip + " 2>&1");
    std::vector<std::string> verdicts;
    for (const std::string& name : names) {
        const size_t at = out.find("testing: " + name);
        const size_t eol = out.find('\n', at);
        const bool ok = at != std::string::npos && out.substr(at, eol - at).find(" OK") != std::string::npos;
        verdicts.push_back((ok ? "pass " : "fail ") + name);
    }
    return verdicts;
}

TEST_F(ZipCheckTest, InfoZipArchiveWithOneChangedByteAgreesWithUnzip)
{
    const std::vector<std::string> names = {"a.txt", "b.txt", "c.txt"};
    for (size_t i = 0; i < names.size(); ++i)
        mx::test::WriteFile(dir_ + "/" + names[i], Text(20000 + i * 7000, uint32_t(i + 1)));
    ASSERT_TRUE(test::RunIn(dir_, "zip -q -9 t.zip a.txt b.txt c.txt", "zip", "zip"));
    std::string zip = mx::test::ReadFile(dir_ + "/t.zip");
    const size_t data = ZipDataOffset(zip, "c.txt");
    ASSERT_NE(data, std::string::npos);
    zip[data + 200] ^= 0x01;
    mx::test::WriteFile(dir_ + "/t.zip", zip);

    WatchProgress();
    EXPECT_TRUE(Check(dir_ + "/t.zip"));
    std::vector<std::string> verdicts;
    for (const std::string& s : statuses_)
        if (s.rfind("error", 0) != 0)
            verdicts.push_back(s);
    EXPECT_EQ(verdicts, (std::vector<std::string>{"pass a.txt", "pass b.txt", "fail c.txt"}));
    EXPECT_EQ(verdicts, UnzipVerdicts(dir_, "t.zip", names));
    // The private extractor's run, entry by entry, and the tester's time at the end.
    const std::vector<std::string> order = Without("progress");
    ASSERT_GE(order.size(), 11u);
    EXPECT_EQ(order.front(), "activate TUnZIP");
    EXPECT_EQ(std::vector<std::string>(order.begin() + 1, order.begin() + 7),
              (std::vector<std::string>{"begin a.txt", "pass a.txt", "end a.txt", "begin b.txt", "pass b.txt", "end b.txt"}));
    EXPECT_EQ(order[7], "begin c.txt");
    EXPECT_EQ(std::vector<std::string>(order.end() - 4, order.end()),
              (std::vector<std::string>{"fail c.txt", "end c.txt", "deactivate", "elapsed"}));
}

// An LHA header that the walk cannot read is reported with its offset, by the tester's listing and by
// its extractor (25108 from each); the entries before it pass.
TEST_F(ZipCheckTest, UnreadableLhaHeadersAreReported)
{
    WatchProgress();
    for (const test::LhaHeaderCase& c : test::MakeLhaHeaderCases(dir_)) {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(Check(c.archive));
        std::vector<std::string> passed;
        for (const std::string& s : statuses_)
            if (s.rfind("error", 0) != 0)
                passed.push_back(s);
        std::vector<std::string> want;
        for (const std::string& name : c.names)
            want.push_back("pass " + Lower(name));
        EXPECT_EQ(passed, want);
        if (c.damagedAt < 0) {
            EXPECT_TRUE(errors_.empty());
        } else {
            EXPECT_EQ(errors_, (std::vector<int>{25108, 25108}));
            EXPECT_EQ(lastMsgEx_, "at offset " + std::to_string(c.damagedAt));
        }
    }
}

// A table of archives, each tested with a progress handler: the progress never goes back and ends at
// 100; for RAR it runs from 0 to 100 for each entry, as the library reports per entry.
TEST_F(ZipCheckTest, ProgressRisesToOneHundred)
{
    for (int i = 0; i < 3; ++i)
        mx::test::WriteFile(dir_ + "/f" + std::to_string(i) + ".txt", Text(150000 + 20000 * i, uint32_t(i + 7)));
    mx::test::WriteFile(dir_ + "/r.bin", Bytes(90000, 3));
    mx::test::WriteFile(dir_ + "/big.bin", Bytes(600000, 5));
    ASSERT_TRUE(test::RunIn(dir_, "zip -q p.zip f0.txt f1.txt f2.txt r.bin && gzip -c big.bin > p.gz && "
                                  "jlha c2q p.lzh f0.txt f1.txt r.bin && tar -cf p.tar f0.txt r.bin",
                            "jlha", "jlha-utils"));
    const auto volumes = test::RarTestWriter::Make(
        dir_ + "/p", {{"f0.txt", mx::test::ReadFile(dir_ + "/f0.txt")}, {"r.bin", mx::test::ReadFile(dir_ + "/r.bin")}});
    mx::test::WriteFile(volumes.front().first, volumes.front().second);

    WatchProgress();
    for (const char* archive : {"p.zip", "p.gz", "p.lzh", "p.tar", "p.rar"}) {
        SCOPED_TRACE(archive);
        EXPECT_TRUE(Check(dir_ + "/" + archive));
        EXPECT_TRUE(errors_.empty());
        // The progress of each run (RAR: of each entry) in order.
        const bool perEntry = std::string(archive) == "p.rar";
        std::vector<std::vector<uint8_t>> runs;
        for (const uint8_t percent : progress_) {
            if (runs.empty() || (perEntry && percent == 0))
                runs.emplace_back();
            runs.back().push_back(percent);
        }
        for (const auto& run : runs) {
            ASSERT_FALSE(run.empty());
            EXPECT_TRUE(std::is_sorted(run.begin(), run.end())) << ::testing::PrintToString(run);
            EXPECT_EQ(run.back(), 100);
            EXPECT_GE(std::set<uint8_t>(run.begin(), run.end()).size(), 3u) << ::testing::PrintToString(run);
        }
        EXPECT_EQ(runs.size(), perEntry ? 2u : 1u);
    }
}

TEST_F(ZipCheckTest, CabinetsAndUuencodedFilesAreRefused)
{
    mx::test::WriteFile(dir_ + "/a.txt", Text(2000, 1));
    ASSERT_TRUE(test::RunIn(dir_, "gcab -c a.cab a.txt", "gcab", "gcab"));
    ASSERT_TRUE(test::RunIn(dir_, "uuencode a.txt a.txt > a.uue", "uuencode", "sharutils"));
    WatchProgress();
    for (const auto& [archive, type] : {std::pair{"a.cab", TArcType::atCab}, std::pair{"a.uue", TArcType::atUue}}) {
        SCOPED_TRACE(archive);
        EXPECT_TRUE(Check(dir_ + "/" + archive));
        EXPECT_EQ(check_->ArcType(), type);
        EXPECT_EQ(errors_, std::vector<int>{25242});
        EXPECT_EQ(events_, std::vector<std::string>{});
    }
    EXPECT_TRUE(Check(""));
    EXPECT_EQ(errors_, std::vector<int>{25242});
    EXPECT_EQ(events_, std::vector<std::string>{});
}

TEST_F(ZipCheckTest, StatusHandlerIsRequired)
{
    mx::test::WriteFile(dir_ + "/a.txt", "a");
    ASSERT_TRUE(test::RunIn(dir_, "zip -q a.zip a.txt", "zip", "zip"));
    check_->OnStatus = nullptr;
    EXPECT_TRUE(Check(dir_ + "/a.zip"));
    EXPECT_EQ(errors_, std::vector<int>{25270});
    EXPECT_EQ(lastMsgEx_, "OnStatus");
    EXPECT_EQ(Without("elapsed"), std::vector<std::string>{});
}

// An archive of empty entries: with a progress handler the listing finds nothing to count and the
// test ends there; without one no listing runs and both entries are tested.
TEST_F(ZipCheckTest, EmptyEntriesAreTestedOnlyWithoutAProgressHandler)
{
    mx::test::WriteFile(dir_ + "/e1", "");
    mx::test::WriteFile(dir_ + "/e2", "");
    ASSERT_TRUE(test::RunIn(dir_, "zip -q e.zip e1 e2", "zip", "zip"));
    EXPECT_TRUE(Check(dir_ + "/e.zip"));
    EXPECT_EQ(statuses_, (std::vector<std::string>{"pass e1", "pass e2"}));
    EXPECT_TRUE(progress_.empty());
    WatchProgress();
    EXPECT_TRUE(Check(dir_ + "/e.zip"));
    EXPECT_EQ(statuses_, std::vector<std::string>{});
    EXPECT_EQ(events_, std::vector<std::string>{"elapsed"});
}

TEST_F(ZipCheckTest, PasswordEnteredDuringTheTestIsKeptFirst)
{
    mx::test::WriteFile(dir_ + "/a.txt", Text(5000, 1));
    mx::test::WriteFile(dir_ + "/b.txt", Text(6000, 2));
    ASSERT_TRUE(test::RunIn(dir_, "zip -q -P secret p.zip a.txt b.txt", "zip", "zip"));
    int asked = 0;
    check_->OnGetPassword.Bind(&asked, [](void* p, fw::TObject*, const std::string&, std::string& password, bool&) {
        ++*static_cast<int*>(p);
        password = "secret";
    });
    fw::TStringList old;
    old.Add("wrong");
    check_->SetPasswords(&old);
    WatchProgress();
    EXPECT_TRUE(Check(dir_ + "/p.zip"));
    EXPECT_EQ(statuses_, (std::vector<std::string>{"pass a.txt", "pass b.txt"}));
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(check_->Passwords()->Count(), 2);
    EXPECT_EQ(check_->Passwords()->Get(0), "secret");
    EXPECT_EQ(check_->Passwords()->Get(1), "wrong");
}

// A host whose message pump cancels the private lister, as a Cancel button pressed during the
// listing would.
class CancellingHost : public test::ForwardingHost {
public:
    using ForwardingHost::ForwardingHost;
    void PumpMessages() override
    {
        auto* lister = dynamic_cast<TKrenlo*>(ActiveArcComponent());
        if (lister && !lister->Aborted()) {
            ++cancels;
            TAwkMain::Cancel(lister, true);  // pumps again, and then finds the lister cancelled
        }
    }
    int cancels = 0;
};

TEST_F(ZipCheckTest, CancelDuringTheListingEndsTheRunBeforeAnyEntry)
{
    mx::test::WriteFile(dir_ + "/a.txt", Text(5000, 1));
    ASSERT_TRUE(test::RunIn(dir_, "zip -q c.zip a.txt", "zip", "zip"));
    WatchProgress();
    fw::Host& inner = fw::HostSeam();
    CancellingHost host(inner);
    fw::SetHost(&host);
    EXPECT_TRUE(Check(dir_ + "/c.zip"));
    fw::SetHost(nullptr);
    EXPECT_GT(host.cancels, 0);
    EXPECT_TRUE(check_->Aborted());
    EXPECT_EQ(events_, std::vector<std::string>{"elapsed"});
    EXPECT_TRUE(errors_.empty());
    // The next run starts afresh.
    EXPECT_TRUE(Check(dir_ + "/c.zip"));
    EXPECT_EQ(statuses_, std::vector<std::string>{"pass a.txt"});
}

// A volume set: the extractor's volume questions reach the caller with the tester as Sender, and
// the listing follows into each new volume.
TEST_F(ZipCheckTest, VolumeQuestionsReachTheCaller)
{
    mx::test::WriteFile(dir_ + "/a.bin", Bytes(100000, 1));
    mx::test::WriteFile(dir_ + "/b.txt", Text(50000, 2));
    ASSERT_TRUE(test::RunIn(dir_, "arj a -y -m1 -v40k v.arj a.bin b.txt", "arj", "arj"));
    ASSERT_TRUE(fs::exists(dir_ + "/v.a02"));
    std::vector<std::string> volumes;
    check_->OnNextVolume.Bind(&volumes, [](void* p, fw::TObject* sender, std::string&, std::string& fn,
                                           const std::string&, bool exists, bool&) {
        static_cast<std::vector<std::string>*>(p)->push_back(
            (dynamic_cast<TZipCheck*>(sender) ? "" : "? ") + NamePart(fn) + (exists ? "" : " missing"));
    });
    WatchProgress();
    EXPECT_TRUE(Check(dir_ + "/v.arj"));
    EXPECT_EQ(statuses_, (std::vector<std::string>{"pass a.bin", "pass b.txt"}));
    EXPECT_EQ(volumes, (std::vector<std::string>{"v.a01", "v.a02"}));
    EXPECT_FALSE(progress_.empty());
}

// The tester's runs swap the sink of their private extractor only: an extractor used before and
// after a test (and after the tester is gone) writes its files.
TEST_F(ZipCheckTest, ExtractorsStillWriteFilesAfterATest)
{
    mx::test::WriteFile(dir_ + "/a.txt", Text(30000, 4));
    ASSERT_TRUE(test::RunIn(dir_, "zip -q x.zip a.txt", "zip", "zip"));
    auto* unzip = fw::Make<TUnZIP>(owner_);
    unzip->SetArchiveFile(dir_ + "/x.zip");
    for (const char* out : {"out1", "out2", "out3"}) {
        SCOPED_TRACE(out);
        unzip->SetExtractDir(dir_ + "/" + out);
        EXPECT_TRUE(unzip->Extract());
        EXPECT_EQ(mx::test::ReadFile(dir_ + "/" + out + "/a.txt"), Text(30000, 4));
        WatchProgress();
        EXPECT_TRUE(Check(dir_ + "/x.zip"));
        EXPECT_EQ(statuses_, std::vector<std::string>{"pass a.txt"});
        if (std::string(out) == "out2") {
            check_->Free();
            check_ = fw::Make<TZipCheck>(owner_);
            check_->OnStatus.Bind(this, &ZipCheckTest::Status);
        }
    }
}
#endif

// ---- form text ------------------------------------------------------------------------------------

class TCheckForm : public fw::TComponent {
public:
    explicit TCheckForm(fw::TComponent* owner) : fw::TComponent(owner) {}
    TZipCheck* ZipCheck1 = nullptr;
    std::vector<std::string> Seen;
    void ZipCheck1Status(fw::TObject*, const std::string& fn, bool pass) { Seen.push_back(fn + (pass ? " ok" : " bad")); }
    void ZipCheck1Begin(fw::TObject*, const std::string& fn) { Seen.push_back("begin " + fn); }
};

TEST(ZipCheckForm, LoadsFromFormTextAndBindsItsEventsByName)
{
    RegisterZipCheckClasses();
    fw::Class<TCheckForm, fw::TComponent>("TCheckForm")
        .Field("ZipCheck1", &TCheckForm::ZipCheck1)
        .Method("ZipCheck1Status", &TCheckForm::ZipCheck1Status)
        .Method("ZipCheck1Begin", &TCheckForm::ZipCheck1Begin);
    const char* text =
        "object Verify: TCheckForm\n"
        "  object ZipCheck1: TZipCheck\n"
        "    FileSpec = '*.txt'\n"
        "    ProgressNotify = Twenty\n"
        "    Passwords = ('first')\n"
        "    OnBegin = ZipCheck1Begin\n"
        "    OnStatus = ZipCheck1Status\n"
        "  end\n"
        "end\n";
    auto* form = new TCheckForm(nullptr);
    fw::ReadComponentText(form, text, "Verify");
    ASSERT_NE(form->ZipCheck1, nullptr);
    EXPECT_EQ(form->ZipCheck1->FileSpec(), "*.txt");
    EXPECT_EQ(form->ZipCheck1->ProgressNotify(), TProgressNotify::Twenty);
    EXPECT_EQ(form->ZipCheck1->Passwords()->Get(0), "first");
    ASSERT_TRUE(form->ZipCheck1->OnStatus);
    ASSERT_TRUE(form->ZipCheck1->OnBegin);
    form->ZipCheck1->OnBegin(form->ZipCheck1, "x.txt");
    form->ZipCheck1->OnStatus(form->ZipCheck1, "x.txt", true);
    EXPECT_EQ(form->Seen, (std::vector<std::string>{"begin x.txt", "x.txt ok"}));
    form->Free();
}

}  // namespace
}  // namespace engine
