#pragma once
// The end-to-end benchmarks' way of timing a program: each side runs as a process of its own, timed
// by the processor time it used from start to exit (user and system), with its wall time and peak
// resident size beside it; the two sides take turns round by round. Any failure ends the benchmark.

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "testing/bench_pin.h"

namespace mx::bench {

struct Run {
    double seconds = 0;  // processor time, user and system
    double wall = 0;
    long peakKb = 0;     // the process's peak resident size
};

// One run of a program: argv[0] is looked up on PATH, the run starts in dir, and standard output
// goes to /dev/null when quiet.
inline Run Spawn(const std::vector<std::string>& args, const std::string& dir, bool quiet = false)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // A child's peak size starts at ours when it forks: hand the freed heap back first.
    ::malloc_trim(0);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(dir.c_str()) != 0)
            ::_exit(126);
        if (quiet) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
        }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench: failed: %s (in %s)\n", args[0].c_str(), dir.c_str());
        std::exit(1);
    }
    const auto seconds = [](const struct timeval& tv) { return double(tv.tv_sec) + double(tv.tv_usec) * 1e-6; };
    Run r;
    r.seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    r.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peakKb = usage.ru_maxrss;
    return r;
}

// Keeps the best of several runs, so that one disturbed run does not decide; the peak size is the
// largest seen.
inline void Keep(Run& best, const Run& r)
{
    best.seconds = best.seconds == 0 ? r.seconds : std::min(best.seconds, r.seconds);
    best.wall = best.wall == 0 ? r.wall : std::min(best.wall, r.wall);
    best.peakKb = std::max(best.peakKb, r.peakKb);
}

// Times their command against ours, taking turns so that a change in the machine's load hits both.
// Prepare runs before each run (not timed).
struct Pair {
    Run theirs, ours;
};
inline Pair Race(const std::function<void()>& prepare, const std::vector<std::string>& theirs,
                 const std::vector<std::string>& ours, const std::string& dir, bool quiet = false, int rounds = 3)
{
    Pair p;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        Keep(p.theirs, Spawn(theirs, dir, quiet));
        prepare();
        Keep(p.ours, Spawn(ours, dir, quiet));
    }
    return p;
}

inline void Shell(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "bench: failed: %s\n", command.c_str());
        std::exit(1);
    }
}

// Prints "<line>: <their time / ours>x <tool>", and the times, peak sizes and load behind it on
// standard error.
inline void Report(const std::string& line, const std::string& tool, const Pair& p)
{
    std::printf("%s: %.2fx %s\n", line.c_str(), p.theirs.seconds / p.ours.seconds, tool.c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "  %s: %s %.3f s (wall %.3f) %ld KB, ours %.3f s (wall %.3f) %ld KB; %s\n", line.c_str(),
                 tool.c_str(), p.theirs.seconds, p.theirs.wall, p.theirs.peakKb, p.ours.seconds, p.ours.wall,
                 p.ours.peakKb, LoadAverage().c_str());
}

}  // namespace mx::bench
