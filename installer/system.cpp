#include "installer/system.h"

#include "framework/core/sysutils.h"

namespace inst {

namespace {
InstallSystem* g_system = nullptr;

class MapVersionQuery : public VersionQuery {
public:
    explicit MapVersionQuery(const NativeSystem::Version& v) : v_(v) {}
    bool Root(FixedFileInfo& info) override {
        if (!v_.hasRoot) return false;
        info = v_.fixed;
        return true;
    }
    bool Translation(std::string& bytes) override {
        if (v_.translation.empty()) return false;
        bytes = v_.translation;
        return true;
    }
    bool String(const std::string& subBlock, std::string& value) override {
        for (const auto& [key, text] : v_.strings)
            if (fw::SameText(key, subBlock)) {
                value = text;
                return true;
            }
        return false;
    }

private:
    NativeSystem::Version v_;
};
}  // namespace

InstallSystem& Sys() { return g_system ? *g_system : DefaultNativeSystem(); }
void SetInstallSystem(InstallSystem* system) { g_system = system; }

NativeSystem& DefaultNativeSystem() {
    static NativeSystem system;
    return system;
}

bool NativeSystem::GetVersion(uint32_t& platform, uint32_t& maj, uint32_t& min) {
    if (versionFails) return false;
    platform = platformId;
    maj = major;
    min = minor;
    return true;
}

// Natively the long path is its own short form.
std::string NativeSystem::ShortPathName(const std::string& path) {
    return fw::FileExists(path) || fw::DirectoryExists(path) ? path : std::string();
}

std::unique_ptr<VersionQuery> NativeSystem::OpenVersionInfo(const std::string& file) {
    for (const auto& [path, v] : versions)
        if (fw::SameText(path, file)) return std::make_unique<MapVersionQuery>(v);
    return nullptr;
}

bool NativeSystem::MoveFileAtReboot(const std::string& from, const std::string& to) {
    if (moveAtRebootFails) return false;
    delayedMoves.emplace_back(from, to);
    return true;
}

InstallSystem::DllRegister NativeSystem::RegisterServer(const std::string& path, long& result, uint32_t& lastError) {
    registered.push_back(path);
    result = registerAnswer == DllRegister::Failed ? 1 : 0;
    lastError = registerAnswer == DllRegister::Ok ? 0 : 126;
    return registerAnswer;
}

uint32_t NativeSystem::WinExec(const std::string& commandLine, bool hidden, uint32_t& lastError) {
    started.push_back(commandLine);
    lastError = winExecAnswer < 32 ? 2 : 0;
    return winExecAnswer;
}

bool NativeSystem::RunAndWait(const std::string& commandLine, uint32_t) {
    waitedFor.push_back(commandLine);
    if (onRun) onRun(commandLine);
    return true;
}

uint32_t NativeSystem::ShellOpen(const std::string& verb, const std::string& file, uint32_t& lastError) {
    opened.push_back(verb + " " + file);
    lastError = shellExecuteAnswer <= 32 ? 2 : 0;
    return shellExecuteAnswer;
}

bool NativeSystem::RestartWindows(bool withPrivilege) {
    restarts.push_back(withPrivilege ? "privilege" : "plain");
    return !restartFails;
}

int32_t NativeSystem::InitializeCom() {
    ++comInitializations;
    return comAnswer;
}

ShellLinkAnswer NativeSystem::SaveShellLink(const ShellLinkRequest& link) {
    links.push_back(link);
    return linkAnswer;
}

namespace {

class ScriptedConversation : public DdeConversation {
public:
    explicit ScriptedConversation(NativeSystem& system) : system_(system) {}
    bool Request(const std::string& item, std::string& data) override {
        for (const auto& [name, text] : system_.ddeItems)
            if (fw::SameText(name, item)) {
                data = text;
                return true;
            }
        return false;
    }
    bool Execute(const std::string& command) override {
        system_.ddeExecuted.push_back(command);
        return !(system_.ddeRefuse && system_.ddeRefuse(command));
    }

private:
    NativeSystem& system_;
};

}  // namespace

std::unique_ptr<DdeConversation> NativeSystem::ConnectDde(const std::string& service, const std::string& topic) {
    ddeConnections.push_back(service + "|" + topic);
    if (!ddeAnswers) return nullptr;
    return std::make_unique<ScriptedConversation>(*this);
}

InternetLoad NativeSystem::LoadInternet() {
    ++internetLoads;
    InternetLoad answer = std::move(internet);
    internet = InternetLoad();
    if (!answer.api && answer.missingProc.empty()) answer.libraryMissing = true;
    return answer;
}

}  // namespace inst
