#include "widgets/win32/testsupport/wine_support.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "framework/win32/winapi.h"

#include <shlobj.h>

#include "testing/test_env.h"
#include "testing/unix_script.h"
#include "widgets/win32/startup.h"

namespace kvx::win32::test {

void TSuiteEnvironment::SetUp() {
    fw::InitApplication();
    KVXStartApplication();
}

void TSuiteEnvironment::TearDown() {
    KVXStopApplication();
    fw::DoneApplication();
}

HDROP MakeDrop(const std::vector<std::string>& names, POINT pt) {
    std::string list;
    for (const std::string& n : names) list += n + '\0';
    list += '\0';
    HGLOBAL block = GlobalAlloc(GHND | GMEM_SHARE, sizeof(DROPFILES) + list.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->pt = pt;
    header->fNC = FALSE;
    header->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

CaseDir NewCaseDir() {
    CaseDir d;
    d.win = mx::test::FreshDir();
    d.unix = d.win;
    if (d.unix.size() > 2 && (d.unix[0] == 'Z' || d.unix[0] == 'z') && d.unix[1] == ':') d.unix.erase(0, 2);
    for (char& c : d.unix)
        if (c == '\\') c = '/';
    return d;
}

int RunUnix(const CaseDir& dir, const std::string& script) {
    return mx::test::RunUnixScript(dir.unix, dir.win, "cd '" + dir.unix + "' && " + script);
}

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
