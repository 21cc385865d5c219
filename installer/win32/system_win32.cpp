#include "installer/win32/system_win32.h"

#include <cstring>
#include <memory>
#include <string>

#include "framework/win32/platform_win32.h"
#include "framework/win32/winapi.h"

#include <ole2.h>

namespace inst {

std::unique_ptr<InternetApi> BindWinInet(HMODULE library, std::string& missing);

namespace {

class Win32VersionQuery : public VersionQuery {
public:
    explicit Win32VersionQuery(std::string block) : block_(std::move(block)) {}
    bool Root(FixedFileInfo& info) override {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        if (!Query("\\", reinterpret_cast<void**>(&fixed), size) || !fixed || size < sizeof(VS_FIXEDFILEINFO))
            return false;
        info.fileVersionMS = fixed->dwFileVersionMS;
        info.fileVersionLS = fixed->dwFileVersionLS;
        info.productVersionMS = fixed->dwProductVersionMS;
        info.productVersionLS = fixed->dwProductVersionLS;
        info.fileOS = fixed->dwFileOS;
        info.fileType = fixed->dwFileType;
        info.fileSubtype = fixed->dwFileSubtype;
        return true;
    }
    bool Translation(std::string& bytes) override {
        void* data = nullptr;
        UINT size = 0;
        if (!Query("\\VarFileInfo\\Translation", &data, size) || !data) return false;
        bytes.assign(static_cast<const char*>(data), size);
        return true;
    }
    bool String(const std::string& subBlock, std::string& value) override {
        void* data = nullptr;
        UINT size = 0;
        if (!Query(subBlock, &data, size)) return false;
        const char* text = static_cast<const char*>(data);
        value = text ? std::string(text, strnlen(text, size)) : std::string();
        return true;
    }

private:
    bool Query(const std::string& subBlock, void** data, UINT& size) {
        *data = nullptr;
        return VerQueryValueA(block_.data(), subBlock.c_str(), data, &size) != 0;
    }
    std::string block_;
};

class Win32InstallSystem : public InstallSystem {
public:
    bool GetVersion(uint32_t& platformId, uint32_t& major, uint32_t& minor) override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
        platformId = info.dwPlatformId;
        major = info.dwMajorVersion;
        minor = info.dwMinorVersion;
        return true;
    }
    std::string ShortPathName(const std::string& path) override {
        char in[401] = {}, out[401] = {};
        std::strncpy(in, path.c_str(), sizeof in - 1);
        const DWORD n = GetShortPathNameA(in, out, sizeof out);
        return n > 0 && n < sizeof out ? std::string(out, n) : std::string();
    }
    std::string SystemDirectory() override {
        char buffer[261];
        const UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
        return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
    }
    std::string WindowsDirectory() override {
        char buffer[261];
        const UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
        return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
    }
    uint16_t UserDefaultLangID() override { return GetUserDefaultLangID(); }
    std::unique_ptr<VersionQuery> OpenVersionInfo(const std::string& file) override {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
        if (size == 0) return nullptr;
        std::string block(size, '\0');
        if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return nullptr;
        return std::make_unique<Win32VersionQuery>(std::move(block));
    }
    bool MoveFileAtReboot(const std::string& from, const std::string& to) override {
        // Replace: at the next start the old file is still there, and must give way.
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != 0;
    }
    DllRegister RegisterServer(const std::string& path, long& result, uint32_t& lastError) override {
        OleInitialize(nullptr);
        DllRegister answer = DllRegister::Ok;
        HMODULE library = LoadLibraryA(path.c_str());
        if (!library) {
            lastError = GetLastError();
            answer = DllRegister::LoadFailed;
        } else {
            using Entry = HRESULT(WINAPI*)();
            auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
            if (!entry) {
                lastError = GetLastError();
                answer = DllRegister::NoEntryPoint;
            } else {
                result = entry();
                if (result != 0) answer = DllRegister::Failed;
            }
            FreeLibrary(library);
        }
        OleUninitialize();
        return answer;
    }
    uint32_t WinExec(const std::string& commandLine, bool hidden, uint32_t& lastError) override {
        const UINT answer = ::WinExec(commandLine.c_str(), hidden ? SW_HIDE : SW_SHOW);
        lastError = answer < 32 ? GetLastError() : 0;
        return answer;
    }
    InternetLoad LoadInternet() override {
        InternetLoad load;
        HMODULE library = LoadLibraryA("WININET.DLL");
        if (!library) {
            load.libraryMissing = true;
            return load;
        }
        load.api = BindWinInet(library, load.missingProc);
        return load;
    }
};

}  // namespace

InstallSystem& Win32System() {
    static Win32InstallSystem system;
    return system;
}

void InstallWin32System() {
    fw::InstallWin32Platform();
    SetInstallSystem(&Win32System());
}

}  // namespace inst
