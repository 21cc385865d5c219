// A stand-in for an installed program: it carries a version resource and, once started, stays running
// (so that its file is in use) until the file "<name>.stop" appears, the session ends, or ten minutes
// pass. It tells whoever waits that it runs by a line in "<name>.log" ("started <patch> <command line>"),
// where <name> is its own file name without extension. Both files lie in the folder MX_STANDIN_DIR
// names, else beside the program.
//
// It keeps a hidden window, so the end of the session (WM_ENDSESSION) reaches it and it quits as a real
// program does; a program without one outlives the session and keeps its file in use.
#include <windows.h>

#include <string>

#include "framework/win32/callback.h"

namespace {

constexpr UINT_PTR kPollTimer = 1;
std::string g_stopFile;
std::string g_logFile;

void Log(const std::string& line) {
    HANDLE f = CreateFileA(g_logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(LRESULT(0), {
        switch (message) {
            case WM_QUERYENDSESSION:
                return LRESULT(TRUE);
            case WM_ENDSESSION:
                if (wParam) {
                    Log("session ended");
                    PostQuitMessage(0);
                }
                return LRESULT(0);
            default:
                return DefWindowProcA(window, message, wParam, lParam);
        }
    })
}

}  // namespace

// fw-lint: entry point
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path);
    std::string name = self.substr(self.find_last_of('\\') + 1);
    name = name.substr(0, name.find_last_of('.'));
    char folder[MAX_PATH] = {};
    std::string dir = GetEnvironmentVariableA("MX_STANDIN_DIR", folder, MAX_PATH) ? std::string(folder)
                                                                                  : self.substr(0, self.find_last_of('\\'));
    g_stopFile = dir + "\\" + name + ".stop";
    g_logFile = dir + "\\" + name + ".log";

    WNDCLASSA wc{};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "MxStandIn";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "MxStandIn", name.c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  instance, nullptr);
    SetTimer(window, kPollTimer, 100, nullptr);
    Log("started " + std::to_string(STANDIN_PATCH) + " " + GetCommandLineA());
    const DWORD end = GetTickCount() + 10 * 60 * 1000;
    MSG msg;
    // The timer is looked at here, so the program also stops where it got no window (no display).
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && GetFileAttributesA(g_stopFile.c_str()) != INVALID_FILE_ATTRIBUTES) break;
        DispatchMessageA(&msg);
        if (static_cast<int>(GetTickCount() - end) > 0) break;
    }
    DestroyWindow(window);
    return 0;
}
