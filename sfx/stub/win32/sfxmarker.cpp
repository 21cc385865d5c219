// A stand-in for the program a self-extractor runs after extraction: it writes its command line to
// "marker.out" beside itself, so a test can see that, and how, it was started.
#include <windows.h>

int main() {
    char path[MAX_PATH + 16];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    while (n && path[n - 1] != '\\') --n;
    lstrcpyA(path + n, "marker.out");
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    const char* line = GetCommandLineA();
    DWORD done = 0;
    WriteFile(f, line, static_cast<DWORD>(lstrlenA(line)), &done, nullptr);
    CloseHandle(f);
    return 0;
}
