// Closes a top-level window as a user does: finds the Close button on its title bar (the point of
// the frame that answers HTCLOSE) and clicks it with real mouse input.
//   close_button_click [--find] TITLE | class=CLASS
// The window is named by its title, or by its window class when its caption is empty. With --find it
// is only waited for (up to a minute, until its program waits for input), not clicked. Exit code 0 once clicked (or found); 1 when no such
// window is up in time or it has no Close button.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

bool FindCloseButton(HWND window, POINT& at) {
    RECT frame{};
    GetWindowRect(window, &frame);
    for (LONG y = frame.top; y < frame.top + 40 && y < frame.bottom; ++y)
        for (LONG x = frame.right - 1; x > frame.right - 80 && x > frame.left; --x)
            if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                at = {x - 2, y + 2};  // inside the button, not on its edge
                if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)) != HTCLOSE) at = {x, y};
                return true;
            }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const bool findOnly = argc == 3 && std::strcmp(argv[1], "--find") == 0;
    if (argc != 2 && !findOnly) {
        std::fprintf(stderr, "usage: close_button_click [--find] TITLE | class=CLASS\n");
        return 2;
    }
    const char* name = argv[argc - 1];
    const bool byClass = std::strncmp(name, "class=", 6) == 0;
    HWND window = nullptr;
    for (int i = 0; i < (findOnly ? 600 : 100) && !(window && IsWindowVisible(window)); ++i) {
        window = byClass ? FindWindowA(name + 6, nullptr) : FindWindowA(nullptr, name);
        if (!window || !IsWindowVisible(window)) Sleep(100);
    }
    if (!window || !IsWindowVisible(window)) {
        std::printf("no window \"%s\"\n", name);
        return 1;
    }
    if (findOnly) {
        // Found once the program has drawn it: its message loop waits for input.
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
            WaitForInputIdle(process, 10000);
            CloseHandle(process);
        }
        return 0;
    }
    POINT at{};
    if (!FindCloseButton(window, at)) {
        std::printf("the window \"%s\" has no Close button on a title bar\n", name);
        return 1;
    }
    SetForegroundWindow(window);
    SetCursorPos(at.x, at.y);
    Sleep(100);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &clicks[0], sizeof(INPUT));
    Sleep(50);
    SendInput(1, &clicks[1], sizeof(INPUT));
    std::printf("clicked the Close button of \"%s\" at %ld,%ld\n", name, at.x, at.y);
    return 0;
}
