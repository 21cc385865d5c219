// Reads a shell link through the shell's own IShellLinkA and prints what it holds, one "name=value"
// line each: target, arguments, folder (the working folder), hotkey, description.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lnkread LINK\n");
        return 2;
    }
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    int rc = 1;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[1024] = {};
            WIN32_FIND_DATAA data{};
            link->GetPath(text, sizeof text, &data, SLGP_RAWPATH);
            std::printf("target=%s\n", text);
            link->GetArguments(text, sizeof text);
            std::printf("arguments=%s\n", text);
            link->GetWorkingDirectory(text, sizeof text);
            std::printf("folder=%s\n", text);
            WORD hotkey = 0;
            link->GetHotkey(&hotkey);
            std::printf("hotkey=%u\n", hotkey);
            link->GetDescription(text, sizeof text);
            std::printf("description=%s\n", text);
            rc = 0;
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return rc;
}
