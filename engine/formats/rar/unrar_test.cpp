// The RAR extractor over our UnRAR library: stored archives from the test's writer (checked by lsar
// and bsdtar natively), real stored archives of the fixture corpus compared with what unar
// extracts, volume sets in both naming styles, damaged and compressed entries, and the password
// and volume answers against a scripted library. Natively and under Wine (there through unrar.dll).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/core/file_routines.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/rar/testdata/rar_writer.h"
#include "engine/formats/rar/testdata/unrar_test_fixture.h"
#include "engine/formats/rar/unrar_binding.h"
#include "engine/formats/rar/unrar_component.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::BindOurLibrary;
using test::Bytes;
using test::Digest;
using test::RarTestEntry;
using test::RarTestWriter;
using test::Tree;
using test::UnRarTest;

const std::vector<RarTestEntry>& SampleEntries()
{
    static const std::vector<RarTestEntry> entries = [] {
        std::vector<RarTestEntry> e;
        e.push_back({"docs", "", true});
        e.push_back({"docs\\readme.txt", "read me\r\n"});
        e.push_back({"empty.bin", ""});
        e.push_back({"docs\\deep\\noise.bin", Bytes(70000, 5)});
        e.push_back({"last.txt", std::string(3000, 'z')});
        return e;
    }();
    return entries;
}

std::map<std::string, std::string> SampleTree()
{
    return {{"docs/readme.txt", Digest("read me\r\n")},
            {"empty.bin", Digest("")},
            {"docs/deep/noise.bin", Digest(Bytes(70000, 5))},
            {"last.txt", Digest(std::string(3000, 'z'))}};
}

TEST_F(UnRarTest, ExtractsAndTestsAStoredArchive)
{
    const std::string archive = Write("single", SampleEntries());
    EXPECT_TRUE(Run(archive));
    EXPECT_EQ(Tree(dir_ + "/out"), SampleTree());
    EXPECT_TRUE(errors_.empty());
    // Folders never reach OnBegin; every file passes.
    EXPECT_EQ(events_, (std::vector<std::string>{"begin readme.txt", "pass readme.txt", "begin empty.bin", "pass empty.bin",
                                                  "begin noise.bin", "pass noise.bin", "begin last.txt", "pass last.txt"}));
    EXPECT_EQ(lastProgress_, 100);
    EXPECT_EQ(FileAge(dir_ + "/out/last.txt"), int64_t(0x5A6B1234));

    events_.clear();
    fs::remove_all(dir_ + "/out");
    EXPECT_TRUE(Run(archive, true));
    EXPECT_FALSE(fs::exists(dir_ + "/out/last.txt"));
    EXPECT_EQ(std::count(events_.begin(), events_.end(), std::string("pass last.txt")), 1);

    // One named entry: only it, and the run ends after it.
    events_.clear();
    rar_->SetFileSpec("docs\\readme.txt");
    EXPECT_TRUE(Run(archive));
    EXPECT_EQ(events_, (std::vector<std::string>{"begin readme.txt", "pass readme.txt"}));
}

TEST_F(UnRarTest, VolumeSetsInBothNamingStyles)
{
    for (const bool newNumbering : {false, true}) {
        // Named in each check rather than by a scoped trace: gtest keeps that in a per-thread store
        // whose exit-watcher thread breaks the process under 32-bit Wine in emulation.
        const char* naming = newNumbering ? "new naming" : "old naming";
        events_.clear();
        fs::remove_all(dir_ + "/out");
        const std::string first = Write(newNumbering ? "setn" : "seto", SampleEntries(), 30000, newNumbering);
        EXPECT_TRUE(Run(first)) << naming;
        EXPECT_EQ(Tree(dir_ + "/out"), SampleTree()) << naming;
        EXPECT_TRUE(errors_.empty()) << naming;
        const std::vector<std::string> volumes = newNumbering
                                                     ? std::vector<std::string>{"volume setn.part2.rar", "volume setn.part3.rar"}
                                                     : std::vector<std::string>{"volume seto.r00", "volume seto.r01"};
        std::vector<std::string> seen;
        for (const auto& e : events_)
            if (e.rfind("volume ", 0) == 0)
                seen.push_back(e);
        EXPECT_EQ(seen, volumes) << naming;
    }
}

TEST_F(UnRarTest, MissingAndRefusedVolumes)
{
    const std::string first = Write("gone", SampleEntries(), 30000);
    fs::remove(dir_ + "/gone.r01");
    refuseVolumes_ = true;
    EXPECT_TRUE(Run(first));
    // noise.bin goes on in the missing volume: the refusal ends the run with the library's report.
    EXPECT_NE(std::find(events_.begin(), events_.end(), "missing gone.r01"), events_.end()) << ::testing::PrintToString(events_);
    EXPECT_EQ(errors_, std::vector<int>{25235});
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/docs/readme.txt"), "read me\r\n");
    EXPECT_FALSE(fs::exists(dir_ + "/out/last.txt"));
}

// The library cannot find the next volume and asks; the answer names another folder, where the
// set goes on.
TEST_F(UnRarTest, AskedVolumeIsAnsweredWithAnotherFolder)
{
    const std::string first = Write("moved", SampleEntries(), 30000);
    fs::create_directories(dir_ + "/elsewhere");
    fs::rename(dir_ + "/moved.r01", dir_ + "/elsewhere/moved.r01");
    volumeFolder_ = dir_ + "/elsewhere/";
    EXPECT_TRUE(Run(first));
    EXPECT_EQ(Tree(dir_ + "/out"), SampleTree());
    EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
    std::vector<std::string> volumes;
    for (const auto& e : events_)
        if (e.rfind("volume ", 0) == 0 || e.rfind("missing ", 0) == 0)
            volumes.push_back(e);
    EXPECT_EQ(volumes, (std::vector<std::string>{"volume moved.r00", "missing moved.r01", "volume moved.r01"}));
}

// Our library answers 22 for an encrypted entry until a password is set and keeps the handle on the
// entry; data that does not decrypt with the key fails its check (12) and the walk goes on. The
// test writer flags the entries without enciphering them, so every key is wrong: through TUnRAR the
// handler is asked three times, each wrong answer is reported, and nothing is written.
TEST_F(UnRarTest, EncryptedEntriesThroughOurLibrary)
{
    RarTestEntry stored{"stored.txt", "secret data"};
    stored.encrypted = true;
    RarTestEntry packed{"packed.txt", Bytes(64, 2), false, 0x5A6B1234, 0x33};
    packed.encrypted = true;
    for (const RarTestEntry& locked : {stored, packed}) {
        // Named in each check: see VolumeSetsInBothNamingStyles.
        const std::string archive = Write("locked", {locked, {"plain.txt", "p"}});
        const UnRARFunctions& lib = UnRAR();
        std::string name = archive;
        RAROpenArchiveData open{};
        open.ArcName = name.data();
        open.OpenMode = RAR_OM_EXTRACT;
        void* handle = lib.OpenArchive(&open);
        ASSERT_NE(handle, nullptr) << locked.name;
        RARHeaderData header{};
        ASSERT_EQ(lib.ReadHeader(handle, &header), ERAR_SUCCESS) << locked.name;
        EXPECT_EQ(header.Flags & 0x04, 0x04u) << locked.name;
        EXPECT_EQ(lib.ProcessFile(handle, RAR_TEST, nullptr, nullptr), ERAR_MISSING_PASSWORD) << locked.name;
        std::string password = "pw";
        lib.SetPassword(handle, password.data());
        EXPECT_EQ(lib.ProcessFile(handle, RAR_TEST, nullptr, nullptr), ERAR_BAD_DATA) << locked.name;
        ASSERT_EQ(lib.ReadHeader(handle, &header), ERAR_SUCCESS) << locked.name;
        EXPECT_STREQ(header.FileName, "plain.txt") << locked.name;
        EXPECT_EQ(lib.ProcessFile(handle, RAR_TEST, nullptr, nullptr), ERAR_SUCCESS) << locked.name;
        EXPECT_EQ(lib.CloseArchive(handle), ERAR_SUCCESS) << locked.name;

        int asked = 0;
        rar_->OnGetPassword.Bind(&asked, [](void* p, fw::TObject*, const std::string&, std::string& pw, bool&) {
            ++*static_cast<int*>(p);
            pw = "pw";
        });
        events_.clear();
        errors_.clear();
        rar_->SetFileSpec("*.*");
        fs::remove_all(dir_ + "/out");
        EXPECT_TRUE(Run(archive)) << locked.name;
        EXPECT_EQ(asked, 3) << locked.name;
        EXPECT_EQ(events_, (std::vector<std::string>{"begin " + locked.name, "FAIL " + locked.name})) << locked.name;
        EXPECT_EQ(errors_, (std::vector<int>{26517, 26517, 26517})) << locked.name;
        EXPECT_FALSE(fs::exists(dir_ + "/out/" + locked.name)) << locked.name;
        rar_->OnGetPassword = nullptr;
    }
}

TEST_F(UnRarTest, DamagedCompressedAndHostileEntries)
{
    std::vector<RarTestEntry> entries = {{"good.txt", "good"}, {"bad.txt", "this data fails", false}, {"..\\up.txt", "x"},
                                         {"after.txt", "after"}, {"packed.txt", Bytes(100, 1), false, 0x5A6B1234, 0x33},
                                         {"rar5.txt", "new method", false, 0x5A6B1234, 0x33},
                                         {"never.txt", "never"}};
    entries[1].badCrc = true;
    entries[5].version = 50;
    const std::string archive = Write("mixed", entries);
    EXPECT_TRUE(Run(archive));
    // The CRC failure fails its entry and the walk goes on, as do compressed data that do not decode;
    // the name leaving the folder is refused; a version the library does not know is "unsupported"
    // and ends the walk.
    EXPECT_EQ(events_, (std::vector<std::string>{"begin good.txt", "pass good.txt", "begin bad.txt", "FAIL bad.txt",
                                                  "begin after.txt", "pass after.txt", "begin packed.txt",
                                                  "FAIL packed.txt", "begin rar5.txt"}));
    EXPECT_FALSE(fs::exists(dir_ + "/out/rar5.txt"));
    EXPECT_EQ(errors_, (std::vector<int>{25243, 25242}));
    EXPECT_FALSE(fs::exists(dir_ + "/up.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/out/never.txt"));

    // An encrypted entry without a password handler ends the run without a report.
    events_.clear();
    errors_.clear();
    RarTestEntry secret{"secret.txt", "s"};
    secret.encrypted = true;
    EXPECT_TRUE(Run(Write("secret", {secret, {"plain.txt", "p"}})));
    EXPECT_EQ(events_, std::vector<std::string>{"begin secret.txt"});
    EXPECT_TRUE(errors_.empty());

    // Not an archive, a RAR 5 archive, a broken header.
    errors_.clear();
    mx::test::WriteFile(dir_ + "/five.rar", std::string("Rar!\x1A\x07\x01\x00", 8) + std::string(40, '\0'));
    EXPECT_TRUE(Run(dir_ + "/five.rar"));
    std::string broken = mx::test::ReadFile(archive);
    broken[7 + 13 + 10] ^= 0x55;  // inside the first file header
    mx::test::WriteFile(dir_ + "/broken.rar", broken);
    EXPECT_TRUE(Run(dir_ + "/broken.rar"));
    mx::test::WriteFile(dir_ + "/plain.rar", "no archive here");
    EXPECT_TRUE(Run(dir_ + "/plain.rar"));
    EXPECT_EQ(errors_, (std::vector<int>{25242, 25108, 25242}));
}

TEST_F(UnRarTest, MissingLibrary)
{
    BindUnRAR("no_such_unrar_library");
    EXPECT_FALSE(UnRARLoaded());
    EXPECT_TRUE(Run(Write("any", SampleEntries())));
    EXPECT_EQ(errors_, std::vector<int>{25258});
    EXPECT_TRUE(events_.empty());
    BindOurLibrary();
    EXPECT_TRUE(UnRARLoaded());
    // The library takes a null handle quietly.
    EXPECT_EQ(UnRAR().CloseArchive(nullptr), 0);
}

// A scripted library: two encrypted entries whose password is "right"; a wrong one is a CRC error
// and leaves the handle on the entry.
struct ScriptedLibrary {
    static inline int entry = -1;
    static inline bool pending = false;
    static inline std::string password;
    static inline std::vector<std::string> tried;

    static void* UNRAR_CALL Open(RAROpenArchiveData* d)
    {
        entry = -1;
        pending = false;
        tried.clear();
        d->OpenResult = 0;
        return &entry;
    }
    static int UNRAR_CALL Close(void*) { return 0; }
    static int UNRAR_CALL Read(void*, RARHeaderData* h)
    {
        if (++entry >= 3)
            return ERAR_END_ARCHIVE;
        *h = RARHeaderData{};
        const std::string name = "file" + std::to_string(entry) + ".txt";
        std::snprintf(h->FileName, sizeof h->FileName, "%s", name.c_str());
        h->Flags = entry < 2 ? 0x04 : 0;
        h->UnpSize = 4;
        return 0;
    }
    static int UNRAR_CALL Process(void*, int op, char*, char* destName)
    {
        if (op != RAR_SKIP && entry < 2) {
            tried.push_back(password);
            if (password != "right")
                return ERAR_BAD_DATA;
        }
        if (op == RAR_EXTRACT && destName)
            mx::test::WriteFile(destName, "data");
        return 0;
    }
    static void UNRAR_CALL VolProc(void*, CHANGEVOLPROC) {}
    static void UNRAR_CALL DataProc(void*, PROCESSDATAPROC) {}
    static void UNRAR_CALL SetPassword(void*, char* p) { password = p; }
};

TEST_F(UnRarTest, PasswordRetriesAgainstTheLibrary)
{
    SetUnRARFunctions({ScriptedLibrary::Open, ScriptedLibrary::Close, ScriptedLibrary::Read, ScriptedLibrary::Process,
                       ScriptedLibrary::VolProc, ScriptedLibrary::DataProc, ScriptedLibrary::SetPassword});
    mx::test::WriteFile(dir_ + "/scripted.rar", std::string("Rar!\x1A\x07\x00", 7) + std::string(20, '\0'));
    std::vector<std::string> answers;
    int asked = 0;
    struct Ctx {
        std::vector<std::string>* answers;
        int* asked;
    } ctx{&answers, &asked};
    rar_->OnGetPassword.Bind(&ctx, [](void* p, fw::TObject*, const std::string&, std::string& password, bool& tryAgain) {
        auto& c = *static_cast<Ctx*>(p);
        ++*c.asked;
        if (c.answers->empty()) {
            tryAgain = false;
            return;
        }
        password = c.answers->front();
        c.answers->erase(c.answers->begin());
    });

    // The right password on the second try is kept for the next encrypted entry.
    answers = {"wrong", "right"};
    EXPECT_TRUE(Run(dir_ + "/scripted.rar", true));
    EXPECT_EQ(ScriptedLibrary::tried, (std::vector<std::string>{"wrong", "right", "right"}));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(errors_, std::vector<int>{26517});
    EXPECT_EQ(events_, (std::vector<std::string>{"begin file0.txt", "pass file0.txt", "begin file1.txt", "pass file1.txt",
                                                  "begin file2.txt", "pass file2.txt"}));

    // Three wrong passwords: three reports, one failed entry, and the walk ends.
    events_.clear();
    errors_.clear();
    answers = {"a", "b", "c", "right"};
    asked = 0;
    EXPECT_TRUE(Run(dir_ + "/scripted.rar", true));
    EXPECT_EQ(errors_, (std::vector<int>{26517, 26517, 26517}));
    EXPECT_EQ(events_, (std::vector<std::string>{"begin file0.txt", "FAIL file0.txt"}));
    BindOurLibrary();
}

#ifndef _WIN32
TEST_F(UnRarTest, WrittenArchivesAreReadByTheRealTools)
{
    Write("single", SampleEntries());
    Write("seto", SampleEntries(), 30000);
    Write("setn", SampleEntries(), 30000, true);
    for (const char* archive : {"single.rar", "seto.rar", "setn.part1.rar"}) {
        SCOPED_TRACE(archive);
        EXPECT_TRUE(test::RunIn(dir_, std::string("lsar -t ") + archive, "lsar", "unar"));
        EXPECT_TRUE(test::RunIn(dir_, std::string("rm -rf u && unar -q -D -o u ") + archive, "unar", "unar"));
        EXPECT_EQ(Tree(dir_ + "/u"), SampleTree());
    }
    EXPECT_TRUE(test::RunIn(dir_, "bsdtar -tf single.rar", "bsdtar", "libarchive-tools"));
    EXPECT_TRUE(test::RunIn(dir_, "rm -rf b && mkdir b && bsdtar -xf single.rar -C b", "bsdtar", "libarchive-tools"));
    EXPECT_EQ(Tree(dir_ + "/b"), SampleTree());
}

// Real stored archives extract as unar extracts them (the compressed ones: RarCorpusMatchesUnar).
TEST_F(UnRarTest, RealArchivesOfTheCorpus)
{
    const std::string fixtures = mx::test::FixtureDir() + "/rar";
    for (const char* name : {"rarfile/rar3-old.rar", "rarfile/rar3-vols.part1.rar", "rarfile/rar3-subdirs.rar",
                             "rarfile/rar202-comment-nopsw.rar", "sharpcompress/Rar.none.rar",
                             "libarchive/test_rar_multivolume_uncompressed_files.part01.rar",
                             "libarchive/test_read_format_rar_subblock.rar"}) {
        SCOPED_TRACE(name);
        errors_.clear();
        events_.clear();
        fs::remove_all(dir_ + "/out");
        fs::remove_all(dir_ + "/u");
        ASSERT_TRUE(test::RunIn(dir_, "unar -q -D -o u '" + fixtures + "/" + name + "'", "unar", "unar"));
        EXPECT_TRUE(Run(fixtures + "/" + name));
        EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_) << ::testing::PrintToString(events_);
        // Symbolic links come out as files holding their target here, and names beyond ASCII in the
        // archive's code page; every other regular file matches.
        const auto ours = Tree(dir_ + "/out");
        const auto theirs = Tree(dir_ + "/u");
        EXPECT_FALSE(theirs.empty());
        for (const auto& [path, bytes] : theirs) {
            if (std::all_of(path.begin(), path.end(), [](char c) { return uint8_t(c) < 0x80; })) {
                EXPECT_TRUE(ours.count(path) && ours.at(path) == bytes) << path;
            }
        }
        EXPECT_GE(ours.size(), theirs.size());
    }
    errors_.clear();
    events_.clear();
    EXPECT_TRUE(Run(fixtures + "/sharpcompress/Rar.rar"));
    EXPECT_TRUE(errors_.empty()) << ::testing::PrintToString(errors_);
    EXPECT_EQ(std::count(events_.begin(), events_.end(), std::string("pass test.exe")), 1);
}
#endif

}  // namespace
}  // namespace engine
