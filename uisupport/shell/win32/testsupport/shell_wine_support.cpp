#include "uisupport/shell/win32/testsupport/shell_wine_support.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/win32/application.h"
#include "framework/win32/callback.h"

namespace uis::test {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ToWin(const std::string& unixPath) {
    std::string path = "\\\\?\\unix" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

std::string FixtureUnix() { return Env("SHELL_FIXTURE"); }
std::string ScratchWin() { return Env("SHELL_TMP_WIN"); }

int RunUnix(const std::string& script) {
    static std::atomic<int> serial{0};
    const std::string tmpUnix = Env("MX_TEST_TMP");
    const std::string rc = "unix-rc" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + ".txt";
    // A Unix child cannot be waited for through its handle: it leaves its exit code in a file.
    std::string command = "\\\\?\\unix\\bin\\sh -c \"cd '" + FixtureUnix() + "' && (" + script + "); echo $? > '" +
                          tmpUnix + "/" + rc + ".part' && mv '" + tmpUnix + "/" + rc + ".part' '" + tmpUnix + "/" + rc +
                          "'\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    const std::string rcWin = ToWin(tmpUnix + "/" + rc);
    for (int i = 0; i < 600; ++i) {
        std::ifstream in(rcWin);
        if (in) {
            int code = -1;
            in >> code;
            in.close();
            DeleteFileA(rcWin.c_str());
            return code;
        }
        Sleep(50);
    }
    return -1;
}

bool ExistsOnDisk(const std::string& relative) {
    return GetFileAttributesA(ToWin(FixtureUnix() + "/" + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (!done() && static_cast<int>(end - GetTickCount()) > 0) {
        fw::Application->ProcessMessages();
        Sleep(5);
    }
    return done();
}

void Pump(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

WindowWatcher::WindowWatcher(std::string windowClass, std::string caption, std::function<void(HWND)> act, int timeoutMs)
    : class_(std::move(windowClass)), caption_(std::move(caption)), act_(std::move(act)) {
    thread_ = std::thread([this, timeoutMs] {
        const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
        while (!stop_ && static_cast<int>(end - GetTickCount()) > 0) {
            Search search{this, nullptr};
            EnumWindows(&WindowWatcher::Visit, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                Sleep(100);  // let the window settle into its loop
                act_(search.found);
                acted_ = true;
                return;
            }
            Sleep(20);
        }
    });
}

BOOL CALLBACK WindowWatcher::Visit(HWND window, LPARAM data) {
    FW_CALLBACK_BODY(FALSE, {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
        char cls[64] = {}, text[256] = {};
        GetClassNameA(window, cls, sizeof cls);
        GetWindowTextA(window, text, sizeof text);
        if (s->self->class_ != cls) return TRUE;
        if (!s->self->caption_.empty() && std::string(text).find(s->self->caption_) == std::string::npos)
            return TRUE;
        s->self->caption_seen_ = text;
        s->found = window;
        return FALSE;
    })
}

WindowWatcher::~WindowWatcher() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void PostKey(HWND window, UINT vk) {
    const LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16);
    PostMessageA(window, WM_KEYDOWN, vk, data);
    PostMessageA(window, WM_KEYUP, vk, data | (static_cast<LPARAM>(3) << 30));
}

void PostChar(HWND window, char c) { PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1); }

}  // namespace uis::test
