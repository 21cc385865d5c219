#include "testing/unix_script.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "testing/test_env.h"

namespace mx::test {

int RunUnixScript(const std::string& unixDir, const std::string& winDir, const std::string& script) {
    static std::atomic<int> serial{0};
    const std::string rcName = "rc" + std::to_string(++serial) + ".txt";
    std::string cmd = "/bin/sh -c \"(" + script + "); echo $? > '" + unixDir + "/" + rcName + ".tmp' && mv '" +
                      unixDir + "/" + rcName + ".tmp' '" + unixDir + "/" + rcName + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const std::string rcPath = winDir + "\\" + rcName;
    for (int i = 0; i < 1200 && !std::filesystem::exists(rcPath); ++i) Sleep(50);
    if (!std::filesystem::exists(rcPath)) return -1;
    return std::atoi(ReadFile(rcPath).c_str());
}

}  // namespace mx::test
#endif
