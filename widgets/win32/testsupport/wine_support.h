// Helpers the suite's Wine tests share: running a Windows command line and reading what it printed,
// and running the message loop until something happened.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/win32/application.h"
#include "framework/win32/winapi.h"

namespace kvx::win32::test {

// The framework's application and the suite's start-up around a whole test program:
//   const auto* env = ::testing::AddGlobalTestEnvironment(new kvx::win32::test::TSuiteEnvironment);
class TSuiteEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
};

// A fresh folder of the running test, as a Windows path and as the Unix path of the same folder.
struct CaseDir {
    std::string win, unix;
};
CaseDir NewCaseDir();
// Runs a shell script on the Unix side in the folder; its exit code, or -1 when it could not run.
int RunUnix(const CaseDir& dir, const std::string& script);

// Runs `commandLine` through "cmd /c", its output redirected to a file in `folder`; returns the exit
// code (-1 when it could not start) and the output in `output`.
int RunCommand(const std::string& commandLine, const std::string& folder, std::string& output);

// What the shell hands over with WM_DROPFILES: a DROPFILES header and the ANSI names, each ended by
// NUL, the list by one more. The receiver frees it (DragFinish).
HDROP MakeDrop(const std::vector<std::string>& names, POINT pt);

// Runs the application's loop until `done` returns true or `milliseconds` passed.
template <class F>
void PumpUntil(F done, int milliseconds = 10000) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (!done() && static_cast<int>(end - GetTickCount()) > 0) {
        fw::Application->ProcessMessages();
        Sleep(2);
    }
}

}  // namespace kvx::win32::test
