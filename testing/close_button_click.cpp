// Closes a top-level window as a user does: finds the Close button on its title bar (the point of
// the frame that answers HTCLOSE) and clicks it with real mouse input.
//   close_button_click TITLE
// Exit code 0 once clicked; 1 when no such window is up within 10 s or it has no Close button.
#include <windows.h>

#include <cstdio>

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
    if (argc != 2) {
        std::fprintf(stderr, "usage: close_button_click TITLE\n");
        return 2;
    }
    HWND window = nullptr;
    for (int i = 0; i < 100 && !(window && IsWindowVisible(window)); ++i) {
        window = FindWindowA(nullptr, argv[1]);
        if (!window) Sleep(100);
    }
    if (!window) {
        std::printf("no window \"%s\"\n", argv[1]);
        return 1;
    }
    POINT at{};
    if (!FindCloseButton(window, at)) {
        std::printf("the window \"%s\" has no Close button on a title bar\n", argv[1]);
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
    std::printf("clicked the Close button of \"%s\" at %ld,%ld\n", argv[1], at.x, at.y);
    return 0;
}
