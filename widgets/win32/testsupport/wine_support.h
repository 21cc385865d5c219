// Helpers the suite's Wine tests share: running a Windows command line and reading what it printed.
#pragma once

#include <string>

namespace kvx::win32::test {

// Runs `commandLine` through "cmd /c", its output redirected to a file in `folder`; returns the exit
// code (-1 when it could not start) and the output in `output`.
int RunCommand(const std::string& commandLine, const std::string& folder, std::string& output);

}  // namespace kvx::win32::test
