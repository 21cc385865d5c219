#include "widgets/win32/testsupport/wine_support.h"

#include <fstream>
#include <sstream>

#include "framework/win32/winapi.h"

namespace kvx::win32::test {

int RunCommand(const std::string& commandLine, const std::string& folder, std::string& output) {
    const std::string outFile = folder + "\\command-output.txt";
    std::string line = "cmd /c " + commandLine + " > \"" + outFile + "\" 2>&1";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::ifstream in(outFile, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    output = ss.str();
    return static_cast<int>(code);
}

}  // namespace kvx::win32::test
