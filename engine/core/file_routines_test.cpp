// One table of cases for the system seam, run natively on the POSIX seams and under Wine on the
// Win32 ones: both must give the same answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/comp_base.h"
#include "engine/core/file_routines.h"
#include "engine/core/routines.h"
#include "engine/core/testing/engine_test_env.h"
#include "engine/core/testing/fault_fs.h"
#include "testing/test_env.h"

using namespace engine;

namespace {

class SeamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        dir_ = mx::test::FreshDir() + "/";
    }
    std::string dir_;
};

std::vector<std::string> Names(const std::vector<fw::FileEntry>& entries)
{
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(AttrFilter, Rule)
{
    struct Case { uint32_t attr, filter; bool pass; };
    const Case cases[] = {
        {0x20, 0x21, true}, {0x21, 0x20, true}, {0x01, 0x00, true}, {0x22, 0x21, false}, {0x22, 0x23, true},
        {0x10, 0x21, false}, {0x10, 0x31, true}, {0x24, 0x21, false}, {0x08, 0x08, true}, {0x00, 0x00, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassesAttrFilter(c.attr, c.filter), c.pass) << std::hex << c.attr << " " << c.filter;
}

TEST_F(SeamTest, FindFilesAppliesTheAttributeFilter)
{
    mx::test::WriteFile(dir_ + "plain.txt", "p");
    mx::test::WriteFile(dir_ + "ro.txt", "r");
    mx::test::WriteFile(dir_ + "hid.txt", "h");
    ASSERT_TRUE(ForceDirectories(dir_ + "sub"));
    ASSERT_TRUE(FileSetAttr(dir_ + "ro.txt", kAttrReadOnly | kAttrArchive));
    ASSERT_TRUE(FileSetAttr(dir_ + "hid.txt", kAttrHidden | kAttrArchive));
    EXPECT_EQ(Names(FindFiles(dir_, "*.*", 33)), (std::vector<std::string>{"plain.txt", "ro.txt"}));
    EXPECT_EQ(Names(FindFiles(dir_, "*.*", 33 | kAttrHidden)),
              (std::vector<std::string>{"hid.txt", "plain.txt", "ro.txt"}));
    EXPECT_EQ(Names(FindFiles(dir_, "*.*", 33 | kAttrDirectory)),
              (std::vector<std::string>{"plain.txt", "ro.txt", "sub"}));
    EXPECT_EQ(Names(FindFiles(dir_, "p*", 33)), std::vector<std::string>{"plain.txt"});
    FileSetAttr(dir_ + "ro.txt", kAttrArchive);
}

TEST_F(SeamTest, DosTimeRoundTrip)
{
    const std::string path = dir_ + "dated.bin";
    // 2024-06-15 13:45:58 and 1980-01-01 00:00:00.
    for (uint32_t stamp : {(uint32_t(44 << 9 | 6 << 5 | 15) << 16) | (13 << 11 | 45 << 5 | 29),
                           uint32_t(0 << 9 | 1 << 5 | 1) << 16}) {
        fw::FileHandle h = CreateOutputFile(path);
        ASSERT_NE(h, fw::kInvalidFile);
        ASSERT_TRUE(FileSetDate(h, stamp));
        CloseFile(h);
        EXPECT_EQ(FileAge(path), int64_t(stamp)) << std::hex << stamp;
    }
    EXPECT_EQ(FileAge(dir_ + "missing"), -1);
}

TEST_F(SeamTest, OemAnsiOfAllBytes)
{
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, char(b));
        EXPECT_EQ(uint8_t(OemToAnsi(one).at(0)), fw::kOemToAnsi[b]) << "OEM byte " << b;
        EXPECT_EQ(uint8_t(AnsiToOem(one).at(0)), fw::kAnsiToOem[b]) << "ANSI byte " << b;
    }
    EXPECT_EQ(OemToAnsiPath("a/\x81.txt"), "a\\\xfc.txt");
    EXPECT_EQ(AnsiToOemPath(""), "");
}

TEST_F(SeamTest, TemporaryFilesHaveThePrefix)
{
    const std::string name = TempFileName("BH");
    const std::string base = ExtractFileName(name);
    EXPECT_EQ(UpperCase(base.substr(0, 2)), "BH");
    EXPECT_EQ(UpperCase(ExtractFileExt(base)), ".TMP");
    EXPECT_EQ(UpperCase(ExtractFilePath(ToBackslashes(name))), UpperCase(GetTempDir()));
    EXPECT_TRUE(FileExistsFind(name));
    EXPECT_EQ(mx::test::ReadFile(name), "");
    const std::string second = TempFileName("BH");
    EXPECT_NE(second, name);
    EXPECT_TRUE(DeleteFile(name));
    EXPECT_TRUE(DeleteFile(second));
    EXPECT_EQ(UpperCase(ExtractFileName(TempFileName("")).substr(0, 3)), "QLV");
}

// The writers' new archive is made in the archive's own folder and takes the archive's place only
// through its commit; one that is not committed, or whose commit fails, leaves nothing behind.
TEST_F(SeamTest, ANewArchiveTakesThePlaceOfTheOldOneOnlyWhenCommitted)
{
    const auto listing = [&] {
        std::vector<std::string> names;
        for (const fw::FileEntry& e : FindFiles(dir_, "*.*", 0x3F))
            names.push_back(e.name);
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::string archive = dir_ + "set.bh";
    mx::test::WriteFile(archive, "old");
    {
        TNewArchiveStream out(archive);
        out.WriteString("not kept");
    }
    EXPECT_EQ(mx::test::ReadFile(archive), "old");
    EXPECT_EQ(listing(), std::vector<std::string>{"set.bh"});
    {
        TNewArchiveStream out(archive);
        out.WriteString("new");
        EXPECT_TRUE(out.Commit());
    }
    EXPECT_EQ(mx::test::ReadFile(archive), "new");
    EXPECT_EQ(listing(), std::vector<std::string>{"set.bh"});
    {
        TNewArchiveStream out(dir_ + "first.lzh");
        out.WriteString("first");
        EXPECT_TRUE(out.Commit());
    }
    EXPECT_EQ(mx::test::ReadFile(dir_ + "first.lzh"), "first");
    // A folder of the archive's name cannot be replaced: it stays, and the new file goes.
    ASSERT_TRUE(ForceDirectories(dir_ + "held.bh"));
    {
        TNewArchiveStream out(dir_ + "held.bh");
        out.WriteString("x");
        EXPECT_FALSE(out.Commit());
    }
    EXPECT_TRUE(DirectoryExists(dir_ + "held.bh"));
    EXPECT_EQ(listing(), (std::vector<std::string>{"first.lzh", "held.bh", "set.bh"}));
    EXPECT_THROW(TNewArchiveStream(dir_ + "missing\\set.bh"), fw::EFCreateError);
}

TEST_F(SeamTest, OutputOverAReadOnlyFileClearsTheAttribute)
{
    const std::string path = dir_ + "deep/er/ro.txt";
    ASSERT_TRUE(ForceDirectories(dir_ + "deep/er"));
    mx::test::WriteFile(path, "old");
    ASSERT_TRUE(FileSetAttr(path, kAttrReadOnly | kAttrArchive));
    EXPECT_FALSE(IsPlainFile(path));
    fw::FileHandle h = CreateOutputFile(path);
    ASSERT_NE(h, fw::kInvalidFile);
    EXPECT_EQ(fw::Fs().Write(h, "new", 3), 3);
    CloseFile(h);
    EXPECT_EQ(mx::test::ReadFile(path), "new");
    EXPECT_EQ(FileGetAttr(path) & kAttrReadOnly, 0);
    // Missing folders are made on the way.
    h = CreateOutputFile(dir_ + "made/on/way.txt");
    ASSERT_NE(h, fw::kInvalidFile);
    CloseFile(h);
    EXPECT_TRUE(DirectoryExists(dir_ + "made/on"));
}

TEST_F(SeamTest, OutputAttributesGoOnTheOpenFile)
{
    // Each row: a file written once or twice, the attributes given each time, and what it ends with.
    struct Case {
        const char* name;
        uint32_t first;
        int second;  // -1: written once
        uint32_t result;
    };
    const Case cases[] = {
        {"default.txt", kAttrArchive, -1, kAttrArchive},
        {"none.txt", 0, -1, kAttrArchive},  // a new file keeps what the system gave it
        {"hidden.txt", kAttrHidden | kAttrArchive, -1, kAttrHidden | kAttrArchive},
        {"ro.txt", kAttrReadOnly | kAttrArchive, -1, kAttrReadOnly | kAttrArchive},
        {"ro-again.txt", kAttrReadOnly | kAttrArchive, kAttrArchive, kAttrArchive},
        {"again.txt", kAttrArchive, kAttrReadOnly | kAttrArchive, kAttrReadOnly | kAttrArchive},
        // A hidden or system file in the way is replaced like a read-only one.
        {"hidden-again.txt", kAttrHidden | kAttrArchive, kAttrArchive, kAttrArchive},
        {"system-again.txt", kAttrSysFile | kAttrArchive, kAttrArchive, kAttrArchive},
        {"hidden-ro-again.txt", kAttrHidden | kAttrReadOnly | kAttrArchive, kAttrArchive, kAttrArchive},
        {"hidden-kept.txt", kAttrHidden | kAttrArchive, kAttrHidden | kAttrArchive, kAttrHidden | kAttrArchive},
        {"system-to-hidden-ro.txt", kAttrSysFile | kAttrArchive, kAttrHidden | kAttrReadOnly | kAttrArchive,
         kAttrHidden | kAttrReadOnly | kAttrArchive},
    };
    // Once on the system as it is, once refusing to cut a read-only, hidden or system file as Windows
    // does (Wine and a privileged user cut it).
    for (const bool refuse : {false, true}) {
        test::FaultFs fs;
        fs.refuseMarkedTargets = refuse;
        for (const Case& c : cases) {
            const std::string path = dir_ + (refuse ? "refused-" : "") + c.name;
            const auto write = [&](const char* text, uint32_t attr, bool expectExisted) {
                bool existed = !expectExisted;
                const fw::FileHandle h = CreateOutputFile(path, &existed);
                ASSERT_NE(h, fw::kInvalidFile) << path;
                EXPECT_EQ(existed, expectExisted) << path;
                EXPECT_EQ(fw::Fs().Write(h, text, 3), 3);
                EXPECT_TRUE(SetOutputAttributes(h, path, existed, attr)) << path;
                EXPECT_TRUE(CloseFile(h));
            };
            write("one", c.first, false);
            if (c.second >= 0)
                write("two", uint32_t(c.second), true);
            EXPECT_EQ(mx::test::ReadFile(path), c.second >= 0 ? "two" : "one") << path;
            EXPECT_EQ(FileGetAttr(path) & 0x27, int64_t(c.result)) << path;
            FileSetAttr(path, kAttrArchive);  // a read-only file would keep the next run from clearing the folder
        }
    }
}

TEST_F(SeamTest, OutputThatCannotReplaceAFileLeavesItsAttributes)
{
    const std::string path = dir_ + "locked.txt";
    mx::test::WriteFile(path, "old");
    ASSERT_TRUE(FileSetAttr(path, kAttrHidden | kAttrReadOnly | kAttrArchive));
    {
        test::FaultFs fs;
        fs.failCreatesOf = "locked";
        EXPECT_EQ(CreateOutputFile(path), fw::kInvalidFile);
    }
    EXPECT_EQ(mx::test::ReadFile(path), "old");
    EXPECT_EQ(FileGetAttr(path) & 0x27, int64_t(kAttrHidden | kAttrReadOnly | kAttrArchive));
    FileSetAttr(path, kAttrArchive);
}

TEST_F(SeamTest, ExistenceAndPlainFiles)
{
    mx::test::WriteFile(dir_ + "plain.txt", "p");
    EXPECT_TRUE(FileExistsFind(dir_ + "plain.txt"));
    EXPECT_TRUE(FileExistsFind(dir_.substr(0, dir_.size() - 1)));  // a folder counts
    EXPECT_FALSE(FileExistsFind(dir_ + "p*.txt"));                  // no wildcard expansion
    EXPECT_TRUE(IsPlainFile(dir_ + "plain.txt"));
    EXPECT_FALSE(IsPlainFile(dir_ + "missing.txt"));
    EXPECT_FALSE(IsPlainFile(dir_.substr(0, dir_.size() - 1)));
    EXPECT_EQ(FileGetAttr(dir_ + "missing.txt"), -1);
}

namespace {

class ScriptedDrives : public DriveSeam {
public:
    int failuresLeft = 0;
    std::vector<bool> answers;  // the user's Retry (true) or Cancel (false), in order
    std::vector<std::string> prompts;
    bool VolumeAnswers(const std::string& root, std::string& why) override
    {
        roots.push_back(root);
        if (failuresLeft > 0) {
            --failuresLeft;
            why = "The device is not ready.";
            return false;
        }
        return true;
    }
    bool PromptRetry(const std::string& text, const std::string&) override
    {
        prompts.push_back(text);
        const bool a = answers.empty() ? false : answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        return a;
    }
    std::vector<std::string> roots;
};

struct DriveSeamSwap {
    DriveSeam& previous = Drives();
    explicit DriveSeamSwap(DriveSeam& s) { SetDriveSeam(&s); }
    ~DriveSeamSwap() { SetDriveSeam(&previous); }
};

}  // namespace

TEST_F(SeamTest, DrivePromptRetriesUntilCancel)
{
    ScriptedDrives drives;
    DriveSeamSwap swap(drives);
    EXPECT_TRUE(DriveReady("relative\\path"));
    EXPECT_TRUE(DriveReady("q:"));
    EXPECT_TRUE(drives.roots.empty());

    drives.failuresLeft = 2;
    drives.answers = {true, true};
    EXPECT_TRUE(DriveReady("q:\\set.arj"));
    ASSERT_EQ(drives.prompts.size(), 2u);
    EXPECT_EQ(drives.prompts[0], "Q:\\ is not accessible.\r\n\r\nThe device is not ready.");
    EXPECT_EQ(drives.roots.back(), "Q:\\");

    drives.failuresLeft = 5;
    drives.answers = {true, false};
    EXPECT_FALSE(DriveReady("Q:\\set.arj"));
    EXPECT_EQ(OpenArchiveRead("Q:\\x.zip"), fw::kInvalidFile);
}

#ifdef _WIN32
#include <windows.h>

// The live system calls agree with the portable tables, byte by byte.
TEST(SeamWin32, CodePageCallsMatchTheTables)
{
    for (int b = 1; b < 256; ++b) {
        char in[2] = {char(b), 0}, out[2] = {};
        OemToCharA(in, out);
        EXPECT_EQ(uint8_t(out[0]), fw::kOemToAnsi[b]) << b;
        CharToOemA(in, out);
        EXPECT_EQ(uint8_t(out[0]), fw::kAnsiToOem[b]) << b;
    }
}

TEST(SeamWin32, UnmappedDriveIsNotReady)
{
    engine::test::SetUpEngineTests();
    // Find a letter with no volume; the real seam must say so, and a cancelled prompt ends the check.
    struct CancelPrompt : DriveSeam {
        DriveSeam& real;
        int prompts = 0;
        explicit CancelPrompt(DriveSeam& r) : real(r) {}
        bool VolumeAnswers(const std::string& root, std::string& why) override { return real.VolumeAnswers(root, why); }
        bool PromptRetry(const std::string&, const std::string&) override { ++prompts; return false; }
    } cancel(Drives());
    char letter = 0;
    for (char c = 'Y'; c > 'D'; --c) {
        const char root[] = {c, ':', '\\', 0};
        if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR) {
            letter = c;
            break;
        }
    }
    ASSERT_NE(letter, 0);
    DriveSeamSwap swap(cancel);
    EXPECT_FALSE(DriveReady(std::string(1, letter) + ":\\x.zip"));
    EXPECT_EQ(cancel.prompts, 1);
    EXPECT_TRUE(DriveReady("C:\\"));
}
#endif
