// Helpers the suite's Wine tests share: running a Windows command line and reading what it printed,
// and running the message loop until something happened.
#pragma once

#include <string>

#include "framework/win32/application.h"
#include "framework/win32/winapi.h"

namespace kvx::win32::test {

// Runs `commandLine` through "cmd /c", its output redirected to a file in `folder`; returns the exit
// code (-1 when it could not start) and the output in `output`.
int RunCommand(const std::string& commandLine, const std::string& folder, std::string& output);

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
