#include "installer/win32/system_win32.h"

#include <cstring>
#include <memory>
#include <string>

#include "framework/win32/callback.h"
#include "framework/win32/platform_win32.h"
#include "framework/win32/winapi.h"

#include <ddeml.h>
#include <ole2.h>
#include <shlobj.h>

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

// The system's text for a result code, without the final line break.
std::string ResultText(HRESULT result) {
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(result), 0, buffer, sizeof buffer, nullptr);
    while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r' || buffer[n - 1] == ' ')) --n;
    return std::string(buffer, n);
}

// A client conversation needs no callback work: it answers nothing the server sends on its own.
HDDEDATA CALLBACK DdeClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    FW_CALLBACK_BODY(HDDEDATA(nullptr), { return HDDEDATA(nullptr); })
}

class Win32DdeConversation : public DdeConversation {
public:
    // How long a request or command may take before it counts as refused.
    static constexpr DWORD kTimeoutMs = 10000;

    Win32DdeConversation(DWORD instance, HCONV conversation) : instance_(instance), conversation_(conversation) {}
    ~Win32DdeConversation() override {
        DdeDisconnect(conversation_);
        DdeUninitialize(instance_);
    }
    bool Request(const std::string& item, std::string& data) override {
        HSZ name = DdeCreateStringHandleA(instance_, item.c_str(), CP_WINANSI);
        HDDEDATA answer = DdeClientTransaction(nullptr, 0, conversation_, name, CF_TEXT, XTYP_REQUEST, kTimeoutMs, nullptr);
        DdeFreeStringHandle(instance_, name);
        if (!answer) return false;
        const DWORD size = DdeGetData(answer, nullptr, 0, 0);
        std::string bytes(size, '\0');
        if (size) DdeGetData(answer, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
        DdeFreeDataHandle(answer);
        data = bytes.substr(0, bytes.find('\0'));
        return true;
    }
    bool Execute(const std::string& command) override {
        std::string text = command;
        return DdeClientTransaction(reinterpret_cast<LPBYTE>(text.data()), static_cast<DWORD>(text.size() + 1),
                                    conversation_, nullptr, 0, XTYP_EXECUTE, kTimeoutMs, nullptr) != nullptr;
    }

private:
    DWORD instance_;
    HCONV conversation_;
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
    bool RunAndWait(const std::string& commandLine, uint32_t timeoutMs) override {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process{};
        std::string line = commandLine;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                            &process))
            return false;
        const bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ended;
    }
    uint32_t ShellOpen(const std::string& verb, const std::string& file, uint32_t& lastError) override {
        const auto answer = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb.c_str(), file.c_str(), nullptr,
                                                                   nullptr, SW_SHOW));
        lastError = answer <= 32 ? GetLastError() : 0;
        return static_cast<uint32_t>(answer);
    }
    bool RestartWindows(bool withPrivilege) override {
        if (withPrivilege) {
            HANDLE token = nullptr;
            if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
            TOKEN_PRIVILEGES privileges{};
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            bool enabled = LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
                           AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                           GetLastError() != ERROR_NOT_ALL_ASSIGNED;
            CloseHandle(token);
            if (!enabled) return false;
        }
        return ExitWindowsEx(EWX_REBOOT, 0) != 0;
    }
    int32_t InitializeCom() override { return CoInitialize(nullptr); }
    ShellLinkAnswer SaveShellLink(const ShellLinkRequest& link) override {
        ShellLinkAnswer answer;
        IShellLinkA* shellLink = nullptr;
        HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                          reinterpret_cast<void**>(&shellLink));
        if (FAILED(result)) {
            answer.created = false;
            answer.result = result;
            answer.text = ResultText(result);
            return answer;
        }
        // Stops at the first failing call and keeps its result.
        auto ok = [&](HRESULT r) {
            if (SUCCEEDED(r)) return true;
            answer.result = r;
            answer.text = ResultText(r);
            return false;
        };
        if (ok(shellLink->SetPath(link.target.c_str())) && ok(shellLink->SetHotkey(link.hotKey)) &&
            ok(shellLink->SetArguments(link.arguments.c_str())) &&
            ok(shellLink->SetWorkingDirectory(link.workingDirectory.c_str()))) {
            IPersistFile* file = nullptr;
            if (ok(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                WCHAR path[MAX_PATH] = {};
                if (MultiByteToWideChar(CP_ACP, 0, link.linkPath.c_str(), -1, path, MAX_PATH) == 0)
                    ok(E_INVALIDARG);
                else
                    ok(file->Save(path, TRUE));
                file->Release();
            }
        }
        shellLink->Release();
        return answer;
    }
    std::unique_ptr<DdeConversation> ConnectDde(const std::string& service, const std::string& topic) override {
        DWORD instance = 0;
        if (DdeInitializeA(&instance, &DdeClientCallback, APPCLASS_STANDARD | APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
            return nullptr;
        HSZ serviceName = DdeCreateStringHandleA(instance, service.c_str(), CP_WINANSI);
        HSZ topicName = DdeCreateStringHandleA(instance, topic.c_str(), CP_WINANSI);
        HCONV conversation = DdeConnect(instance, serviceName, topicName, nullptr);
        DdeFreeStringHandle(instance, serviceName);
        DdeFreeStringHandle(instance, topicName);
        if (!conversation) {
            DdeUninitialize(instance);
            return nullptr;
        }
        return std::make_unique<Win32DdeConversation>(instance, conversation);
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
