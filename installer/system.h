// The system seam of the install library: the Windows queries, version resources, delayed renames,
// self-registration, program starts, the restart of Windows, shell links, the DDE client and the
// internet library. Portable code reaches Windows only
// through it. Natively a scripted stand-in is installed (NativeSystem), which tests configure; Windows
// programs install the real one with inst::InstallWin32System() (installer/win32).
//
// Files, folders, dates, the registry, ini files and the message pump go through the framework's seams
// (fw::Fs, fw::Registry, fw::Profiles, fw::HostSeam).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace inst {

// The version resource of one file, as the system's version functions answer queries on it.
struct FixedFileInfo {
    uint32_t fileVersionMS = 0, fileVersionLS = 0;
    uint32_t productVersionMS = 0, productVersionLS = 0;
    uint32_t fileOS = 0, fileType = 0, fileSubtype = 0;
};

class VersionQuery {
public:
    virtual ~VersionQuery() = default;
    // The root block ("\"); false when the resource has none.
    virtual bool Root(FixedFileInfo& info) = 0;
    // The raw bytes of "\VarFileInfo\Translation": 4 bytes per language and code-page pair.
    virtual bool Translation(std::string& bytes) = 0;
    // A string of "\StringFileInfo\<lang><cp>\<key>" by its full sub-block path.
    virtual bool String(const std::string& subBlock, std::string& value) = 0;
};

// The procedures of the internet library, bound by name when it is loaded. Handles are opaque; null
// is a failure, after which LastError tells why.
class InternetApi {
public:
    using Handle = void*;
    enum Service { kFtp = 1, kHttp = 3 };
    // HttpQueryInfo levels and the request flags used here, with the system's values.
    static constexpr uint32_t kQueryContentLength = 5;
    static constexpr uint32_t kQueryStatusCode = 19;
    static constexpr uint32_t kQueryFlagNumber = 0x20000000;
    static constexpr uint32_t kFlagReload = 0x80000000;
    static constexpr uint32_t kFlagExistingConnect = 0x20000000;
    static constexpr uint32_t kFlagNoCacheWrite = 0x04000000;

    virtual ~InternetApi() = default;
    virtual Handle Open(const std::string& agent) = 0;
    // user and password null: none (anonymous FTP); the port is the service's default.
    virtual Handle Connect(Handle session, const std::string& host, const char* user, const char* password,
                           Service service) = 0;
    virtual bool FtpSetCurrentDirectory(Handle connection, const std::string& dir) = 0;
    virtual bool CloseHandle(Handle h) = 0;
    virtual bool QueryDataAvailable(Handle file, uint32_t& bytes) = 0;
    virtual bool ReadFile(Handle file, void* buffer, uint32_t size, uint32_t& read) = 0;
    virtual Handle FtpOpenFile(Handle connection, const std::string& name) = 0;  // read, binary
    virtual Handle HttpOpenRequest(Handle connection, const std::string& verb, const std::string& object,
                                   uint32_t flags) = 0;
    virtual bool HttpSendRequest(Handle request, const std::string& headers) = 0;
    // The answer of one query into a buffer of bufferSize bytes (a number with kQueryFlagNumber).
    virtual bool HttpQueryInfo(Handle request, uint32_t level, std::string& text, uint32_t& number,
                               uint32_t bufferSize) = 0;
    virtual bool LastResponseInfo(std::string& text) = 0;
    virtual uint32_t LastError() = 0;
};

// One conversation of the DDE client with a server's topic. Texts travel as CF_TEXT.
class DdeConversation {
public:
    virtual ~DdeConversation() = default;
    // The data of an item; false when the server gives none.
    virtual bool Request(const std::string& item, std::string& data) = 0;
    // Sends a command string; false when the server refuses it or does not answer.
    virtual bool Execute(const std::string& command) = 0;
};

// What the shell's link object is given before it is saved to linkPath.
struct ShellLinkRequest {
    std::string target;
    std::string arguments;
    std::string workingDirectory;
    uint16_t hotKey = 0;
    std::string linkPath;
};

// How saving a link went: the object could not be made (created false), or the first failing call's
// result and the system's text for it (result 0: every call succeeded).
struct ShellLinkAnswer {
    bool created = true;
    int32_t result = 0;
    std::string text;
};

// The answer of loading the internet library.
struct InternetLoad {
    std::unique_ptr<InternetApi> api;  // null on failure
    bool libraryMissing = false;       // the library itself could not be loaded
    std::string missingProc;           // else the first procedure not found, without its final "A"
};

class InstallSystem {
public:
    virtual ~InstallSystem() = default;

    // GetVersionEx: the platform id (0 Win32s, 1 Windows 95 family, 2 NT) and the version numbers.
    virtual bool GetVersion(uint32_t& platformId, uint32_t& major, uint32_t& minor) = 0;
    // GetShortPathName with 401-character buffers; "" when it fails.
    virtual std::string ShortPathName(const std::string& path) = 0;
    // "" when the system cannot tell.
    virtual std::string SystemDirectory() = 0;
    virtual std::string WindowsDirectory() = 0;
    virtual uint16_t UserDefaultLangID() = 0;

    // Null when the file has no version resource (or cannot be read).
    virtual std::unique_ptr<VersionQuery> OpenVersionInfo(const std::string& file) = 0;

    // Replaces `to` by `from` when the system next starts, replacing an existing `to`.
    virtual bool MoveFileAtReboot(const std::string& from, const std::string& to) = 0;

    // Loads the library, calls its DllRegisterServer with OLE initialised, frees it.
    enum class DllRegister { Ok, LoadFailed, NoEntryPoint, Failed };
    virtual DllRegister RegisterServer(const std::string& path, long& result, uint32_t& lastError) = 0;
    // Starts a command line, shown or hidden; the system's result (below 32 is a failure).
    virtual uint32_t WinExec(const std::string& commandLine, bool hidden, uint32_t& lastError) = 0;
    // Starts a command line hidden and waits for it to end (at most timeoutMs); false when it could
    // not start or did not end in time.
    virtual bool RunAndWait(const std::string& commandLine, uint32_t timeoutMs) = 0;
    // Opens a document (or starts a program) through the shell with a verb; the system's result (32
    // and below is a failure).
    virtual uint32_t ShellOpen(const std::string& verb, const std::string& file, uint32_t& lastError) = 0;

    // ExitWindowsEx(EWX_REBOOT); with the privilege, the process token's shutdown privilege is enabled
    // first. False when any call fails.
    virtual bool RestartWindows(bool withPrivilege) = 0;

    // Initialises the component object library for this thread: 0 (done), 1 (already done) or the
    // failing result.
    virtual int32_t InitializeCom() = 0;
    // Makes a shell link object, fills it and saves it as a link file.
    virtual ShellLinkAnswer SaveShellLink(const ShellLinkRequest& link) = 0;

    // Opens a DDE conversation with a service's topic; null when no server answers.
    virtual std::unique_ptr<DdeConversation> ConnectDde(const std::string& service, const std::string& topic) = 0;

    virtual InternetLoad LoadInternet() = 0;
};

// Hands every call on to another system; test programs derive from it to change single answers.
class ForwardingSystem : public InstallSystem {
public:
    explicit ForwardingSystem(InstallSystem& base) : base_(base) {}
    bool GetVersion(uint32_t& p, uint32_t& major, uint32_t& minor) override { return base_.GetVersion(p, major, minor); }
    std::string ShortPathName(const std::string& path) override { return base_.ShortPathName(path); }
    std::string SystemDirectory() override { return base_.SystemDirectory(); }
    std::string WindowsDirectory() override { return base_.WindowsDirectory(); }
    uint16_t UserDefaultLangID() override { return base_.UserDefaultLangID(); }
    std::unique_ptr<VersionQuery> OpenVersionInfo(const std::string& f) override { return base_.OpenVersionInfo(f); }
    bool MoveFileAtReboot(const std::string& from, const std::string& to) override {
        return base_.MoveFileAtReboot(from, to);
    }
    DllRegister RegisterServer(const std::string& p, long& r, uint32_t& e) override { return base_.RegisterServer(p, r, e); }
    uint32_t WinExec(const std::string& c, bool h, uint32_t& e) override { return base_.WinExec(c, h, e); }
    bool RunAndWait(const std::string& c, uint32_t t) override { return base_.RunAndWait(c, t); }
    uint32_t ShellOpen(const std::string& v, const std::string& f, uint32_t& e) override { return base_.ShellOpen(v, f, e); }
    bool RestartWindows(bool withPrivilege) override { return base_.RestartWindows(withPrivilege); }
    int32_t InitializeCom() override { return base_.InitializeCom(); }
    ShellLinkAnswer SaveShellLink(const ShellLinkRequest& link) override { return base_.SaveShellLink(link); }
    std::unique_ptr<DdeConversation> ConnectDde(const std::string& s, const std::string& t) override {
        return base_.ConnectDde(s, t);
    }
    InternetLoad LoadInternet() override { return base_.LoadInternet(); }

private:
    InstallSystem& base_;
};

InstallSystem& Sys();
// Installs a system seam (nullptr: back to the native stand-in). The object must outlive its use.
void SetInstallSystem(InstallSystem* system);

// The native stand-in: every answer comes from its public fields, so tests set the scene.
class NativeSystem : public InstallSystem {
public:
    uint32_t platformId = 2, major = 5, minor = 1;
    bool versionFails = false;
    std::string systemDir = "C:\\WINDOWS\\system32";
    std::string windowsDir = "C:\\WINDOWS";
    uint16_t langId = 0x0409;
    // Files with a version resource, by path (case ignored).
    struct Version {
        FixedFileInfo fixed;
        bool hasRoot = true;
        std::string translation;  // raw 4-byte pairs
        std::map<std::string, std::string> strings;  // full sub-block path -> value
    };
    std::map<std::string, Version> versions;
    // Delayed renames asked for, in order; a failure can be staged.
    std::vector<std::pair<std::string, std::string>> delayedMoves;
    bool moveAtRebootFails = false;
    std::vector<std::string> registered;  // DllRegisterServer calls
    DllRegister registerAnswer = DllRegister::Ok;
    std::vector<std::string> started;     // WinExec command lines
    uint32_t winExecAnswer = 33;
    std::vector<std::string> waitedFor;   // RunAndWait command lines
    std::function<void(const std::string& commandLine)> onRun;  // what running one does
    std::vector<std::string> opened;      // ShellOpen: "verb file"
    uint32_t shellExecuteAnswer = 42;
    // Restarts asked for ("privilege" or "plain"); a failure can be staged.
    std::vector<std::string> restarts;
    bool restartFails = false;
    int32_t comAnswer = 0;
    int comInitializations = 0;
    // Links saved, with the answer every save gives.
    std::vector<ShellLinkRequest> links;
    ShellLinkAnswer linkAnswer;
    // A scripted Program Manager: the data of request items ("Groups", a group's name) and the command
    // strings executed, in order. refuse decides which commands fail.
    bool ddeAnswers = true;
    std::vector<std::string> ddeConnections;  // "service|topic"
    std::map<std::string, std::string> ddeItems;
    std::vector<std::string> ddeExecuted;
    std::function<bool(const std::string& command)> ddeRefuse;
    // What LoadInternet hands out (moved out on the first load).
    InternetLoad internet;
    int internetLoads = 0;

    bool GetVersion(uint32_t& platform, uint32_t& maj, uint32_t& min) override;
    std::string ShortPathName(const std::string& path) override;
    std::string SystemDirectory() override { return systemDir; }
    std::string WindowsDirectory() override { return windowsDir; }
    uint16_t UserDefaultLangID() override { return langId; }
    std::unique_ptr<VersionQuery> OpenVersionInfo(const std::string& file) override;
    bool MoveFileAtReboot(const std::string& from, const std::string& to) override;
    DllRegister RegisterServer(const std::string& path, long& result, uint32_t& lastError) override;
    uint32_t WinExec(const std::string& commandLine, bool hidden, uint32_t& lastError) override;
    bool RunAndWait(const std::string& commandLine, uint32_t timeoutMs) override;
    uint32_t ShellOpen(const std::string& verb, const std::string& file, uint32_t& lastError) override;
    bool RestartWindows(bool withPrivilege) override;
    int32_t InitializeCom() override;
    ShellLinkAnswer SaveShellLink(const ShellLinkRequest& link) override;
    std::unique_ptr<DdeConversation> ConnectDde(const std::string& service, const std::string& topic) override;
    InternetLoad LoadInternet() override;
};
NativeSystem& DefaultNativeSystem();

}  // namespace inst
