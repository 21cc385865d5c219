// The writers' commit, for TZip, TBlakHole and TLha: an archive on another volume than the temporary
// folder (natively a tmpfs this test mounts, under Wine a second drive letter) is created, added to,
// moved to and deleted from; a full volume leaves the archive as it was; a writer killed at any moment
// of its run leaves the old archive byte for byte or the complete new one, and nothing else beside
// it. Results are read back by the tester (and natively by unzip and lhasa).
#include <gtest/gtest.h>

#ifdef _WIN32
#include "framework/win32/winapi.h"
#else
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/file_routines.h"
#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/testdata/test_bytes.h"
#include "engine/formats/bh/bh_writer.h"
#include "engine/formats/lzh/writer/lha_component.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "engine/zipcheck/zip_check.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"
#ifndef _WIN32
#include "engine/formats/common/testdata/tool_runner.h"
extern char** environ;
#endif

namespace engine {
namespace {

struct WriterKind {
    const char* kind;  // as writer_run takes it
    const char* ext;
};
constexpr WriterKind kWriters[] = {{"zip", "zip"}, {"bh", "bh"}, {"lha", "lzh"}};

// Folder with the separator of the system's paths ("/" natively, where the test's own file calls take
// "\\" for part of a name).
std::string Slash(const std::string& folder)
{
#ifdef _WIN32
    return AppendBackslash(folder);
#else
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
#endif
}

class WriterVolumesTest : public ::testing::Test {
public:
    void SetUp() override
    {
        test::SetUpEngineTests();
        RegisterZipWriterClasses();
        RegisterBhWriterClasses();
        RegisterLhaWriterClasses();
        RegisterZipCheckClasses();
        dir_ = Slash(mx::test::FreshDir());
        src_ = Slash(dir_ + "src");
        ASSERT_TRUE(ForceDirectories(src_));
        mx::test::WriteFile(src_ + "a.txt", test::Text(20000, 1));
        mx::test::WriteFile(src_ + "b.bin", test::Bytes(9000, 2));
        mx::test::WriteFile(src_ + "c.txt", test::Text(30000, 3));
        mx::test::WriteFile(src_ + "d.txt", test::Text(5000, 4));
        owner_ = fw::Make<fw::TComponent>(nullptr);
#ifndef _WIN32
        // The temporary folder lies on the build tree's file system, the archives on the test's own.
        ASSERT_TRUE(ForceDirectories(dir_ + "tmp"));
        ::setenv("TMPDIR", (dir_ + "tmp").c_str(), 1);
#endif
    }
    void TearDown() override
    {
        owner_->Free();
#ifndef _WIN32
        for (const std::string& m : mounts_)
            ::umount2(m.c_str(), MNT_DETACH);
        ::unsetenv("TMPDIR");
#endif
    }

    // A folder on another volume than the temporary folder, of Size bytes at most; empty (and the
    // reason in Why) when none can be had here.
    std::string OtherVolume(const std::string& name, size_t size, const char* windowsDrive, std::string& why)
    {
#ifdef _WIN32
        const char* drive = std::getenv(windowsDrive);
        if (!drive || !*drive) {
            why = std::string(windowsDrive) + " is not set: the test runs without testing/with_drives.sh, or no "
                                              "tmpfs could be mounted for it";
            return {};
        }
        const std::string folder = Slash(std::string(drive) + "\\" + name);
        if (!ForceDirectories(folder))
            why = "drive " + std::string(drive) + " cannot be written";
        return ForceDirectories(folder) ? folder : std::string();
#else
        const std::string folder = dir_ + name;
        ForceDirectories(folder);
        const std::string options = "size=" + std::to_string(size);
        if (::mount("mx-writers", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            why = "no tmpfs can be mounted here (" + std::string(std::strerror(errno)) +
                  "): the test needs root to make a second file system";
            return {};
        }
        mounts_.push_back(folder);
        return Slash(folder);
#endif
    }

    TCompBase* Writer(const std::string& kind)
    {
        TCompBase* w = nullptr;
        if (kind == "zip") {
            w = fw::Make<TZip>(owner_);
        } else if (kind == "bh") {
            w = fw::Make<TBlakHole>(owner_);
            w->SetCompressMethod(TCompressMethod::cmFuse);
        } else {
            w = fw::Make<TLha>(owner_);
            w->SetCompressMethod(TCompressMethod::cmFrozen);
        }
        w->SetStoredDirNames(TStoredDirNames::sdNone);
        w->OnError.Bind(this, [](void* c, fw::TObject*, const std::string&, const std::string&, const std::string&,
                                 int code) { static_cast<WriterVolumesTest*>(c)->errors_.push_back(code); });
        return w;
    }

    bool Run(const std::string& kind, const std::string& archive, TSwitch sw, const std::vector<std::string>& specs)
    {
        errors_.clear();
        TCompBase* w = Writer(kind);
        for (const std::string& s : specs)
            w->FileSpecList()->Add(s);
        w->SetArchiveFile(archive);
        w->SetSwitch(sw);
        const bool ok = w->Activate();
        w->Free();
        if (!ok) {
            std::printf("%s: the run failed; reports:", kind.c_str());
            for (int code : errors_)
                std::printf(" %d", code);
            std::printf("\n");
        }
        return ok;
    }

    // The entries the tester passes, sorted; a failed one is named "FAILED name".
    std::vector<std::string> Tested(const std::string& archive)
    {
        std::vector<std::string> names;
        TZipCheck* check = fw::Make<TZipCheck>(owner_);
        check->OnStatus.Bind(&names, [](void* c, fw::TObject*, const std::string& fn, bool pass) {
            static_cast<std::vector<std::string>*>(c)->push_back((pass ? "" : "FAILED ") + ExtractFileName(fn));
        });
        check->SetArchiveFile(archive);
        check->Activate();
        check->Free();
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::vector<std::string> Names(const std::string& folder)
    {
        std::vector<std::string> names;
        for (const fw::FileEntry& e : FindFiles(folder, "*.*", 0x3F))
            names.push_back(e.name);
        std::sort(names.begin(), names.end());
        return names;
    }

    // Natively the real tools check what the writers made: unzip and lhasa (BH has none here).
    static void ExternalCheck(const std::string& kind, const std::string& archive)
    {
#ifndef _WIN32
        if (kind == "zip") {
            EXPECT_TRUE(test::RunIn(dir(archive), "unzip -tq '" + archive + "'", "unzip", "unzip"));
        } else if (kind == "lha") {
            EXPECT_TRUE(test::RunIn(dir(archive), "lhasa t '" + archive + "'", "lhasa", "lhasa"));
        }
#endif
    }
    static std::string dir(const std::string& path) { return ExtractFilePath(path); }

    std::string dir_, src_;
    fw::TComponent* owner_ = nullptr;
    std::vector<int> errors_;
    std::vector<std::string> mounts_;
};

// Create, add, move and delete with the archive on another volume than the temporary folder: each
// step gives the archive it should, and the archive's folder never holds anything else.
TEST_F(WriterVolumesTest, ArchivesOnAnotherVolumeAreChangedInPlace)
{
    std::string why;
    const std::string other = OtherVolume("other", 64 << 20, "MX_OTHER_DRIVE", why);
    if (other.empty())
        GTEST_SKIP() << why;
    for (const WriterKind& w : kWriters) {
        SCOPED_TRACE(w.kind);
        const std::string archive = other + "set." + w.ext;
        mx::test::WriteFile(src_ + "d.txt", test::Text(5000, 4));
        ASSERT_TRUE(Run(w.kind, archive, TSwitch::swAdd, {src_ + "a.txt", src_ + "b.bin"}));
        EXPECT_EQ(Tested(archive), (std::vector<std::string>{"a.txt", "b.bin"}));
        ASSERT_TRUE(Run(w.kind, archive, TSwitch::swAdd, {src_ + "c.txt"}));
        EXPECT_EQ(Tested(archive), (std::vector<std::string>{"a.txt", "b.bin", "c.txt"}));
        ASSERT_TRUE(Run(w.kind, archive, TSwitch::swMove, {src_ + "d.txt"}));
        EXPECT_EQ(Tested(archive), (std::vector<std::string>{"a.txt", "b.bin", "c.txt", "d.txt"}));
        EXPECT_FALSE(FileExistsFind(src_ + "d.txt"));
        ASSERT_TRUE(Run(w.kind, archive, TSwitch::swDelete, {"b.bin"}));
        EXPECT_EQ(Tested(archive), (std::vector<std::string>{"a.txt", "c.txt", "d.txt"}));
        EXPECT_TRUE(errors_.empty());
        ExternalCheck(w.kind, archive);
        EXPECT_EQ(Names(other), std::vector<std::string>{std::string("set.") + w.ext});
        DeleteFile(archive);
    }
#ifndef _WIN32
    // Nor does the temporary folder (the test's own) keep anything.
    EXPECT_EQ(Names(GetTempDir()), std::vector<std::string>{});
#endif
}

// A volume too small for the new archive: the run fails with 25136, and the old archive and its
// folder are as they were.
TEST_F(WriterVolumesTest, AFullVolumeLeavesTheArchiveAsItWas)
{
    std::string why;
    const std::string small = OtherVolume("small", 256 << 10, "MX_SMALL_DRIVE", why);
    if (small.empty())
        GTEST_SKIP() << why;
    mx::test::WriteFile(src_ + "big.bin", test::Bytes(300 << 10, 9));
    for (const WriterKind& w : kWriters) {
        SCOPED_TRACE(w.kind);
        const std::string archive = small + "set." + w.ext;
        ASSERT_TRUE(Run(w.kind, archive, TSwitch::swAdd, {src_ + "a.txt"}));
        const std::string original = mx::test::ReadFile(archive);
        EXPECT_FALSE(Run(w.kind, archive, TSwitch::swAdd, {src_ + "big.bin"}));
        ASSERT_FALSE(errors_.empty());
        EXPECT_EQ(errors_.back(), 25136);
        EXPECT_EQ(mx::test::ReadFile(archive), original);
        EXPECT_EQ(Names(small), std::vector<std::string>{std::string("set.") + w.ext});
        DeleteFile(archive);
    }
}

// ---- killed writers ---------------------------------------------------------------------------------

// A writer_run process of this test.
class WriterProcess {
public:
    explicit WriterProcess(const std::vector<std::string>& args)
    {
#ifdef _WIN32
        std::string line = "\"" + mx::test::HostPath(MX_WRITER_RUN) + "\"";
        for (const std::string& a : args)
            line += " \"" + a + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != 0;
#else
        std::vector<char*> argv{const_cast<char*>(MX_WRITER_RUN)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        started_ = posix_spawn(&pid_, MX_WRITER_RUN, nullptr, nullptr, argv.data(), environ) == 0;
#endif
    }
    bool Started() const { return started_; }
    // Kills the process; false when it had ended already.
    bool Kill()
    {
#ifdef _WIN32
        const bool running = WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
        TerminateProcess(pi_.hProcess, 99);
        return running;
#else
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            reaped_ = true;
            return false;
        }
        ::kill(pid_, SIGKILL);
        return true;
#endif
    }
    // Waits for the end; true when the run succeeded.
    bool Wait()
    {
#ifdef _WIN32
        WaitForSingleObject(pi_.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(pi_.hProcess, &code);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        return code == 0;
#else
        int status = 0;
        if (!reaped_)
            ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
    }

private:
    bool started_ = false;
#ifdef _WIN32
    PROCESS_INFORMATION pi_{};
#else
    pid_t pid_ = 0;
    bool reaped_ = false;
#endif
};

// Writers killed at random moments of an add (most of them late, where the commit is): afterwards the
// archive is the old one byte for byte or the complete new one, and nothing else lies beside it.
TEST_F(WriterVolumesTest, AKilledWriterLeavesTheOldArchiveOrTheNewOne)
{
    std::string why;
    const std::string other = OtherVolume("killed", 64 << 20, "MX_OTHER_DRIVE", why);
    if (other.empty())
        GTEST_SKIP() << why;
    mx::test::WriteFile(src_ + "big.txt", test::Text(300 << 10, 7));
    std::mt19937 random(20240611);
    constexpr int kKills = 6;
    for (const WriterKind& w : kWriters) {
        SCOPED_TRACE(w.kind);
        const std::string archive = other + "set." + w.ext;
        ASSERT_TRUE(Run(w.kind, archive, TSwitch::swAdd, {src_ + "a.txt"}));
        const std::string original = mx::test::ReadFile(archive);
        const std::vector<std::string> args = {w.kind, "add", archive, src_ + "big.txt"};
        // One whole run gives the time the kills spread over.
        const auto start = std::chrono::steady_clock::now();
        WriterProcess whole(args);
        ASSERT_TRUE(whole.Started());
        ASSERT_TRUE(whole.Wait());
        const auto length = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        ASSERT_EQ(Tested(archive), (std::vector<std::string>{"a.txt", "big.txt"}));
        const std::string changed = mx::test::ReadFile(archive);
        int oldOnes = 0, newOnes = 0;
        for (int i = 0; i < kKills; ++i) {
            mx::test::WriteFile(archive, original);
            std::uniform_real_distribution<double> at(0.4, 1.05);
            WriterProcess p(args);
            ASSERT_TRUE(p.Started());
            std::this_thread::sleep_for(std::chrono::microseconds(int64_t(at(random) * double(length.count()))));
            p.Kill();
            p.Wait();
            const std::string now = mx::test::ReadFile(archive);
            if (now == original) {
                ++oldOnes;
            } else {
                ++newOnes;
                EXPECT_EQ(now, changed) << "kill " << i;
            }
            EXPECT_EQ(Names(other), std::vector<std::string>{std::string("set.") + w.ext}) << "kill " << i;
        }
        std::printf("%s: %d kills left the old archive, %d the new one (a whole run: %lld ms)\n", w.kind, oldOnes,
                    newOnes, static_cast<long long>(length.count() / 1000));
        DeleteFile(archive);
    }
}

}  // namespace
}  // namespace engine
