// The ZIP writer killed with SIGKILL while it writes a large entry into an existing archive: the
// archive must be byte for byte as it was, and the archive's folder must hold nothing new. The
// killed process cannot remove its own temporary files; they stay in the temporary folder only.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "engine/formats/common/testdata/tool_runner.h"
#include "testing/test_env.h"

extern char** environ;

namespace engine {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const std::string& dir)
{
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        out.insert(e.path().filename().string());
    return out;
}

// The largest file in Dir, or 0.
uintmax_t LargestFile(const std::string& dir)
{
    uintmax_t best = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file(ec))
            best = std::max(best, e.file_size(ec));
    return best;
}

TEST(ZipWriterKillTest, AKilledWriterLeavesTheArchiveAndItsFolderAsTheyWere)
{
    const std::string dir = mx::test::FreshDir();
    const std::string work = dir + "/work", tmp = dir + "/tmp", src = dir + "/src";
    fs::create_directories(work);
    fs::create_directories(tmp);
    fs::create_directories(src);
    mx::test::WriteFile(work + "/a.txt", std::string(10000, 'a'));
    ASSERT_TRUE(test::RunIn(work, "zip -q archive.zip a.txt", "zip", "zip"));
    const std::string original = mx::test::ReadFile(work + "/archive.zip");
    const std::set<std::string> before = Names(work);

    // 64 MB of text that compresses, but slowly at the highest level (a 4 MB block, 16 times).
    std::string block;
    uint32_t x = 1;
    while (block.size() < (4u << 20)) {
        x = x * 1664525u + 1013904223u;
        block += "word" + std::to_string(x >> 20) + (x & 0x100 ? "\n" : " ");
    }
    std::string big;
    for (int i = 0; i < 16; ++i)
        big += block;
    mx::test::WriteFile(src + "/big.txt", big);

    const std::string tmpEnv = "TMPDIR=" + tmp;
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("TMPDIR=", 0) != 0)
            env.push_back(*e);
    env.push_back(const_cast<char*>(tmpEnv.c_str()));
    env.push_back(nullptr);
    const std::string archive = work + "/archive.zip", source = src + "/big.txt";
    char* args[] = {const_cast<char*>(MX_KILL_HELPER), const_cast<char*>(archive.c_str()),
                    const_cast<char*>(source.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, MX_KILL_HELPER, nullptr, nullptr, args, env.data()), 0);

    // Kill it once its temporary files have grown past 1 MB: it is then inside the entry's data.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    bool killed = false;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (LargestFile(tmp) > (1u << 20)) {
            ASSERT_EQ(::kill(pid, SIGKILL), 0);
            killed = true;
            break;
        }
        if (::waitpid(pid, &status, WNOHANG) == pid)
            FAIL() << "the writer finished before it could be killed";
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!killed)
        ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(killed);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(mx::test::ReadFile(archive), original);
    EXPECT_EQ(Names(work), before);
    // What the killed process left lies in the temporary folder, under its temporary names.
    for (const std::string& name : Names(tmp))
        EXPECT_EQ(name.rfind("BH", 0), 0u) << name;
    EXPECT_TRUE(test::RunIn(work, "unzip -tq archive.zip", "unzip", "unzip"));
}

}  // namespace
}  // namespace engine
