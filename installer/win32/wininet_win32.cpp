// The internet library's procedures, bound by name when the library is loaded. The library stays
// loaded while the binding lives.
#include <memory>
#include <string>

#include "framework/win32/winapi.h"
#include "installer/system.h"

namespace inst {

namespace {

// Typed WinInet entry points (the values and types of the system's interface).
using HINTERNET = void*;
using InternetOpenA_t = HINTERNET(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using InternetConnectA_t = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, WORD, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR);
using FtpSetCurrentDirectoryA_t = BOOL(WINAPI*)(HINTERNET, LPCSTR);
using InternetCloseHandle_t = BOOL(WINAPI*)(HINTERNET);
using InternetQueryDataAvailable_t = BOOL(WINAPI*)(HINTERNET, LPDWORD, DWORD, DWORD_PTR);
using InternetReadFile_t = BOOL(WINAPI*)(HINTERNET, LPVOID, DWORD, LPDWORD);
using FtpOpenFileA_t = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, DWORD, DWORD, DWORD_PTR);
using HttpOpenRequestA_t = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD, DWORD_PTR);
using HttpSendRequestA_t = BOOL(WINAPI*)(HINTERNET, LPCSTR, DWORD, LPVOID, DWORD);
using HttpQueryInfoA_t = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
using InternetGetLastResponseInfoA_t = BOOL(WINAPI*)(LPDWORD, LPSTR, LPDWORD);

constexpr DWORD kOpenTypePreconfig = 0;
constexpr DWORD kServiceFtp = 1, kServiceHttp = 3;
constexpr DWORD kGenericRead = 0x80000000;
constexpr DWORD kTransferBinary = 2;
constexpr WORD kDefaultPort = 0;

class WinInet : public InternetApi {
public:
    explicit WinInet(HMODULE library) : library_(library) {}
    ~WinInet() override { FreeLibrary(library_); }

    template <class T>
    bool Bind(T& slot, const char* name, std::string& missing) {
        if (!missing.empty()) return false;
        slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
        if (slot) return true;
        missing = name;
        if (!missing.empty() && missing.back() == 'A') missing.pop_back();
        return false;
    }

    Handle Open(const std::string& agent) override {
        return open_(agent.c_str(), kOpenTypePreconfig, nullptr, nullptr, 0);
    }
    Handle Connect(Handle session, const std::string& host, const char* user, const char* password,
                   Service service) override {
        return connect_(session, host.c_str(), kDefaultPort, user, password,
                        service == kFtp ? kServiceFtp : kServiceHttp, 0, 0);
    }
    bool FtpSetCurrentDirectory(Handle connection, const std::string& dir) override {
        return ftpSetDir_(connection, dir.c_str()) != 0;
    }
    bool CloseHandle(Handle h) override { return close_(h) != 0; }
    bool QueryDataAvailable(Handle file, uint32_t& bytes) override {
        DWORD n = 0;
        if (!query_(file, &n, 0, 0)) return false;
        bytes = n;
        return true;
    }
    bool ReadFile(Handle file, void* buffer, uint32_t size, uint32_t& read) override {
        DWORD n = 0;
        if (!read_(file, buffer, size, &n)) return false;
        read = n;
        return true;
    }
    Handle FtpOpenFile(Handle connection, const std::string& name) override {
        return ftpOpen_(connection, name.c_str(), kGenericRead, kTransferBinary, 0);
    }
    Handle HttpOpenRequest(Handle connection, const std::string& verb, const std::string& object,
                           uint32_t flags) override {
        return httpOpen_(connection, verb.c_str(), object.c_str(), nullptr, nullptr, nullptr, flags, 0);
    }
    bool HttpSendRequest(Handle request, const std::string& headers) override {
        return httpSend_(request, headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0) != 0;
    }
    bool HttpQueryInfo(Handle request, uint32_t level, std::string& text, uint32_t& number, uint32_t bufferSize) override {
        if (level & kQueryFlagNumber) {
            DWORD value = 0, size = sizeof value;
            if (!httpQuery_(request, level, &value, &size, nullptr)) return false;
            number = value;
            return true;
        }
        std::string buffer(bufferSize, '\0');
        DWORD size = bufferSize;
        if (!httpQuery_(request, level, buffer.data(), &size, nullptr)) {
            text = buffer.c_str();
            return false;
        }
        text = buffer.c_str();
        return true;
    }
    bool LastResponseInfo(std::string& text) override {
        char buffer[3000] = {};
        DWORD error = 0, size = sizeof buffer;
        if (!response_(&error, buffer, &size)) return false;
        text = buffer;
        return true;
    }
    uint32_t LastError() override { return GetLastError(); }

    InternetGetLastResponseInfoA_t response_ = nullptr;
    InternetOpenA_t open_ = nullptr;
    InternetConnectA_t connect_ = nullptr;
    FtpSetCurrentDirectoryA_t ftpSetDir_ = nullptr;
    InternetCloseHandle_t close_ = nullptr;
    InternetQueryDataAvailable_t query_ = nullptr;
    InternetReadFile_t read_ = nullptr;
    FtpOpenFileA_t ftpOpen_ = nullptr;
    HttpOpenRequestA_t httpOpen_ = nullptr;
    HttpSendRequestA_t httpSend_ = nullptr;
    HttpQueryInfoA_t httpQuery_ = nullptr;

private:
    HMODULE library_;
};

}  // namespace

// Binds the eleven procedures in their fixed order; the first one missing is named in `missing`.
std::unique_ptr<InternetApi> BindWinInet(HMODULE library, std::string& missing) {
    auto api = std::make_unique<WinInet>(library);
    api->Bind(api->response_, "InternetGetLastResponseInfoA", missing);
    api->Bind(api->open_, "InternetOpenA", missing);
    api->Bind(api->connect_, "InternetConnectA", missing);
    api->Bind(api->ftpSetDir_, "FtpSetCurrentDirectoryA", missing);
    api->Bind(api->close_, "InternetCloseHandle", missing);
    api->Bind(api->query_, "InternetQueryDataAvailable", missing);
    api->Bind(api->read_, "InternetReadFile", missing);
    api->Bind(api->ftpOpen_, "FtpOpenFileA", missing);
    api->Bind(api->httpOpen_, "HttpOpenRequestA", missing);
    api->Bind(api->httpSend_, "HttpSendRequestA", missing);
    api->Bind(api->httpQuery_, "HttpQueryInfoA", missing);
    if (!missing.empty()) return nullptr;
    return api;
}

}  // namespace inst
