// A stand-in for an installed program: it carries a version resource and, once started, stays running
// (so that its file is in use) until it is ended or the file "stop" appears beside it.
#include <windows.h>

#include <string>

// fw-lint: entry point
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir = dir.substr(0, dir.find_last_of('\\') + 1);
    // Tell whoever waits that the program runs.
    HANDLE marker = CreateFileA((dir + "running").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    for (int i = 0; i < 6000; ++i) {  // ten minutes at most
        if (GetFileAttributesA((dir + "stop").c_str()) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(100);
    }
    return 0;
}
