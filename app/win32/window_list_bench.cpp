// bench_window_list: how long the archive manager takes to show an archive of 100,000 empty entries,
// from its start to the last row in its list, against `unzip -l` listing the same file; both are
// timed as whole processes, each the best of three runs. Runs under Wine (tools/bench); the archive
// is made by Python's zipfile in a folder of the Unix side.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/win32/callback.h"
#include "testing/test_env.h"
#include "testing/unix_script.h"

namespace {

constexpr int kEntries = 100000;
using Clock = std::chrono::steady_clock;

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
    FW_CALLBACK_BODY(FALSE, {
        auto* found = reinterpret_cast<Found*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid == found->pid && std::string(cls) == "TfrmZipMain" && IsWindowVisible(window)) {
            found->window = window;
            return FALSE;
        }
        return TRUE;
    })
}

// The window's list view that holds every entry (the explorer bar has a list view of its own). The
// framework registers its list views under the component's class name.
BOOL CALLBACK FindFullList(HWND window, LPARAM param) {
    FW_CALLBACK_BODY(FALSE, {
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (std::string(cls) == "TListView" && SendMessageA(window, LVM_GETITEMCOUNT, 0, 0) == kEntries) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    })
}

// Seconds from the start of the program to its list holding every entry and its caption naming the
// archive (set once the listing is done); -1 when that does not happen within two minutes.
double TimeWindowList(const std::string& program, const std::string& archive) {
    std::string line = "\"" + program + "\" " + archive;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const auto start = Clock::now();
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    double seconds = -1;
    Found found{pi.dwProcessId, nullptr};
    while (std::chrono::duration<double>(Clock::now() - start).count() < 120) {
        if (!found.window) EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&found));
        HWND list = nullptr;
        if (found.window) EnumChildWindows(found.window, &FindFullList, reinterpret_cast<LPARAM>(&list));
        if (list && GetWindowTextLengthA(found.window) > 0) {
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
            break;
        }
        // Looking often would slow the program down: its list answers each look.
        if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    if (found.window) PostMessageA(found.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return seconds;
}

std::string WindowsPathOf(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

}  // namespace

int main() {
    const std::string unixDir = "/tmp/mx-bench-window-list-" + std::to_string(GetCurrentProcessId());
    const std::string winDir = WindowsPathOf(unixDir);
    CreateDirectoryA(winDir.c_str(), nullptr);
    mx::test::WriteFile(winDir + "\\make.py", "import zipfile\nwith zipfile.ZipFile('big.zip', 'w') as z:\n"
                                               "    for i in range(" + std::to_string(kEntries) + "):\n"
                                               "        z.writestr('f%06d.txt' % i, b'')\n");
    if (mx::test::RunUnixScript(unixDir, winDir, "cd '" + unixDir + "' && python3 make.py") != 0) {
        std::fprintf(stderr, "bench_window_list: the archive could not be made in %s\n", unixDir.c_str());
        return 1;
    }
    // The peer as a whole process, timed by the shell around it.
    double peer = 1e9;
    for (int run = 0; run < 3; ++run) {
        const std::string time = "cd '" + unixDir + "' && s=$(date +%s%N) && unzip -l big.zip >/dev/null && "
                                 "e=$(date +%s%N) && echo $((e - s)) >peer.ns";
        if (mx::test::RunUnixScript(unixDir, winDir, time) != 0) {
            std::fprintf(stderr, "bench_window_list: unzip -l failed (package unzip)\n");
            return 1;
        }
        peer = std::min(peer, std::atof(mx::test::ReadFile(winDir + "\\peer.ns").c_str()) / 1e9);
    }
    // No question at start whether the program may become the default viewer: it would wait for an
    // answer in front of the list.
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Morvix Tools\\Zip\\Zip", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Ask Default", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
        RegCloseKey(key);
    }
    const std::string program = WindowsPathOf(MX_MORVIXZIP_EXE);
    double ours = 1e9;
    for (int run = 0; run < 3; ++run) {
        const double seconds = TimeWindowList(program, winDir + "\\big.zip");
        if (seconds < 0) {
            std::fprintf(stderr, "bench_window_list: MorvixZip did not show %d rows\n", kEntries);
            return 1;
        }
        ours = std::min(ours, seconds);
    }
    std::error_code ignored;
    std::filesystem::remove_all(winDir, ignored);
    std::printf("window list 100k: %.1fx unzip -l (MorvixZip %.2f s to the last row, unzip -l %.3f s)\n",
                ours / peer, ours, peer);
    return 0;
}
