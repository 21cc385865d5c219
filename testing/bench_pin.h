#pragma once
// What every benchmark does before it measures: it keeps itself, and the programs it starts, on one
// core, and it says how busy the machine was beside each figure. The two sides of a comparison take
// turns on that core, so a change in the machine's load hits both alike and the ratio holds up, and
// each side is timed by the processor time it used: on a busy machine the time spent waiting for the
// core would otherwise count. "taskset -c N tools/bench" chooses the core; otherwise it is the first
// one the process may use.

#include <sched.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace mx::bench {

// Restricts the process to the first core of its allowed set; returns that core, or -1 when the
// set cannot be read or changed.
inline int PinToOneCore()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0)
        return -1;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (!CPU_ISSET(cpu, &set))
            continue;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        return ::sched_setaffinity(0, sizeof one, &one) == 0 ? cpu : -1;
    }
    return -1;
}

// Processor time the calling thread has used, in seconds.
inline double CpuSeconds()
{
    struct timespec ts;
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// "load 1.23 0.98 0.75": the machine's load averages over 1, 5 and 15 minutes.
inline std::string LoadAverage()
{
    double load[3] = {0, 0, 0};
    if (::getloadavg(load, 3) != 3)
        return "load unknown";
    char text[64];
    std::snprintf(text, sizeof text, "load %.2f %.2f %.2f", load[0], load[1], load[2]);
    return text;
}

}  // namespace mx::bench
