// A stand-in for the loader program an installation carries as setup.exe (the build copies it from the
// installer library's folder as QuenfordLoadProgram.exe). It reads the extraction record at its own
// end, expands setup.1 into a new folder below the temporary folder and runs the setup program (the
// archive's first entry) there, waiting for it:
//     "<folder>\<program>" "-s<folder of setup.exe>" "-e<name of setup.exe>" -c
// Started as "setup.exe *TODISK" it asks for the floppy transfer instead (-f, no clean-up) and removes
// its folder itself afterwards. Its exit code is the setup program's.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/core/lists.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/container.h"
#include "installer/exceptions.h"
#include "installer/extraction_record.h"
#include "installer/win32/system_win32.h"

namespace {

void Fail(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "Setup", MB_OK | MB_ICONSTOP); }

std::string OwnPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// A fresh folder below the temporary folder.
std::string NewTempFolder() {
    char temp[MAX_PATH] = {}, name[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    if (!GetTempFileNameA(temp, "mxl", 0, name)) return std::string();
    DeleteFileA(name);
    return CreateDirectoryA(name, nullptr) ? std::string(name) : std::string();
}

// Expands every entry of setup.1, which starts at `offset` of the file; the name of the first entry.
std::string ExpandSetup(const std::string& self, int32_t offset, const std::string& folder) {
    auto* archive = fw::Make<inst::TQnfdCompress>(nullptr);
    std::string first;
    try {
        archive->SetCompressedFile(self);
        archive->SetOffset(offset);
        archive->SetExtractDirectory(folder);
        fw::TStringList names;
        for (int i = 0; i < archive->FileCount(); ++i) names.Add(archive->GetFileStats(i).Header.fileName);
        if (names.Count() > 0) first = fw::ExtractFileName(names.Get(0));
        archive->SetFilesToProcess(&names);
        archive->ExtractAll();
    } catch (...) {
        archive->Free();
        throw;
    }
    archive->Free();
    return first;
}

int Run(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Fail("Cannot start " + commandLine);
        return 3;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

// fw-lint: entry point
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR args, int) {
    inst::InstallWin32System();
    const std::string self = OwnPath();
    const bool toDisk = std::string(args ? args : "").find("*TODISK") != std::string::npos;
    inst::ExtractionRecord record;
    try {
        fw::TFileStream file(self, fw::fmOpenRead | fw::fmShareDenyNone);
        uint8_t bytes[inst::ExtractionRecord::kSize];
        file.SetPosition(file.Size() - inst::ExtractionRecord::kSize);
        file.ReadBuffer(bytes, inst::ExtractionRecord::kSize);
        if (!record.Decode(bytes)) {
            Fail(self + " is not a self-extracting installation");
            return 2;
        }
    } catch (const fw::Exception& e) {
        Fail(e.Message());
        return 2;
    }
    const std::string folder = NewTempFolder();
    if (folder.empty()) {
        Fail("Cannot make a temporary folder");
        return 2;
    }
    std::string program;
    try {
        program = ExpandSetup(self, record.setupStart, folder);
    } catch (const fw::Exception& e) {
        Fail(e.Message());
        return 2;
    }
    const std::string dir = fw::ExtractFileDir(self);
    std::string command = "\"" + folder + "\\" + program + "\" \"-s" + dir + "\" \"-e" + fw::ExtractFileName(self) + "\"";
    command += toDisk ? " -f *TODISK" : " -c";
    const int code = Run(command);
    if (toDisk) RemoveFolder(folder);
    return code;
}
