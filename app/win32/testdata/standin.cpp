// A stand-in for a program the archive manager starts (the explorer that opens a folder): it appends
// its command line to a file named after itself ("explorer.log" beside "explorer.exe") and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string log = path;
    const size_t dot = log.find_last_of('.');
    if (dot != std::string::npos) log.erase(dot);
    log += ".log";
    if (FILE* f = std::fopen(log.c_str(), "ab")) {
        std::fprintf(f, "%s\n", GetCommandLineA());
        std::fclose(f);
    }
    return 0;
}
