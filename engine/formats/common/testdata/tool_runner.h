// Test helper: runs the real archivers that make fixtures at test time, in a given folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace engine::test {

// True when the program is on PATH.
inline bool HaveTool(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// The system's Python, which starts much faster than a version manager's shim.
inline std::string Python() {
    return std::system("test -x /usr/bin/python3") == 0 ? "/usr/bin/python3" : "python3";
}

// Runs cmd in dir with sh; a missing program fails the test naming the Debian package that has it.
inline ::testing::AssertionResult RunIn(const std::string& dir, const std::string& cmd, const std::string& program,
                                        const std::string& package) {
    if (!HaveTool(program)) {
        return ::testing::AssertionFailure() << program << " is missing: install the Debian package " << package;
    }
    const std::string full = "cd '" + dir + "' && (" + cmd + ") >/dev/null 2>&1";
    const int rc = std::system(full.c_str());
    if (rc != 0) return ::testing::AssertionFailure() << "command failed (" << rc << "): " << cmd;
    return ::testing::AssertionSuccess();
}

// Runs cmd in dir and returns its standard output.
inline std::string CaptureIn(const std::string& dir, const std::string& cmd) {
    std::string out;
    FILE* p = popen(("cd '" + dir + "' && " + cmd).c_str(), "r");
    if (p == nullptr) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

}  // namespace engine::test
