// A command-line driver of the install library for the system-level tests (a reboot in a scratch
// prefix, downloads inside a private network). It builds and installs one directory of files, or
// downloads one file, and prints what happened.
//
//   instharness build BASE OUT NAME...                 BASE\src\NAME... into OUT\files.1
//   instharness install BASE OUT TARGET [options] NAME...   from OUT\files.1 into TARGET\Bin
//        --platform=N   answer N for the Windows platform   --register   help file and DLL counter
//   instharness download http|ftp HOST DIR NAME LOCAL [--abort]
//   instharness restart                                 restarts Windows (the prefix) through the seam
//
// Exit code 0 = done, 3 = the library raised (its class and message are printed), 2 = usage.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_record.h"
#include "installer/install_root.h"
#include "installer/net_location.h"
#include "installer/register.h"
#include "installer/win32/system_win32.h"

namespace {

using namespace inst;

// The system seam with the platform answer replaced.
class ForcedPlatform : public ForwardingSystem {
public:
    ForcedPlatform(InstallSystem& base, uint32_t platform) : ForwardingSystem(base), platform_(platform) {}
    bool GetVersion(uint32_t& p, uint32_t& major, uint32_t& minor) override {
        if (!ForwardingSystem::GetVersion(p, major, minor)) return false;
        p = platform_;
        return true;
    }

private:
    uint32_t platform_;
};

struct Definition {
    TInstallDefinition* def;
    TInstallRoot* root;
    TInstallDirectory* folder;
    std::vector<TInstallFile*> files;
};

// The same definition serves the build and the install: entries are named by "src\NAME" relative to BASE.
Definition Define(const std::string& base, const std::string& out, const std::string& target,
                  const std::vector<std::string>& names) {
    fw::SetCurrentDir(base);
    Definition d;
    d.def = fw::Make<TInstallDefinition>(nullptr);
    d.root = fw::Make<TInstallRoot>(d.def);
    d.root->SetName("Install1");
    d.root->Information()->ProductName = "Morvix Zip";
    d.root->SetSourceDir(out);
    d.root->SetDestDir(target);
    d.folder = fw::Make<TInstallDirectory>(d.def);
    d.folder->SetName("Programs");
    d.folder->SetContainer(d.root);
    d.folder->SetDestDir("\\Bin");
    int n = 0;
    for (const std::string& name : names) {
        auto* f = fw::Make<TInstallFile>(d.def);
        f->SetName("InstallFile" + std::to_string(++n));
        f->SetIncludeFromDir("src");
        f->SetFileName(name);
        f->SetContainer(d.folder);
        d.files.push_back(f);
    }
    return d;
}

int Build(const std::string& base, const std::string& out, const std::vector<std::string>& names) {
    Definition d = Define(base, out, out, names);
    d.root->Compress(46);
    std::printf("built %s\\files.1\n", out.c_str());
    d.def->Free();
    return 0;
}

int Install(const std::string& base, const std::string& out, const std::string& target, bool registerFiles,
            const std::vector<std::string>& names) {
    Definition d = Define(base, out, target, names);
    SetSetupProgramPath(fw::ParamStr(0));
    if (ReadInstallRecord(true).empty()) std::printf("no install record\n");
    for (TInstallFile* f : d.files) {
        f->SetRegisterAsHelp(registerFiles);
        f->SetUpdateDLLCounter(registerFiles);
    }
    d.root->SetRunning(true);
    d.root->Process();
    d.root->SetRunning(false);
    for (TInstallFile* f : d.files)
        std::printf("file %s dest=%s inuse=%d extractedAs=%s\n", f->FileName().c_str(), f->DestPath().c_str(),
                    f->InUse() ? 1 : 0, f->ExtractedAs().c_str());
    std::printf("reboot=%d record=%s\n", d.root->Reboot() ? 1 : 0, InstallRecordKey().c_str());
    d.def->Free();
    return 0;
}

int Download(const std::string& proto, const std::string& host, const std::string& dir, const std::string& name,
             const std::string& local, bool abortAfterFirst) {
    auto* location = fw::Make<TNetInstallLocation>(nullptr);
    location->SetName("NetLocation");
    location->LoginInformation()->Protocol = proto == "ftp" ? TInternetProtocol::ipFTP : TInternetProtocol::ipHTTP;
    location->LoginInformation()->Hostname = host;
    location->LoginInformation()->Directory = dir;
    int blocks = 0;
    location->OnDataReceived.Bind(nullptr, [&](void*, fw::TObject*, const std::string&, int32_t, int32_t, int32_t,
                                               const void*) {
        ++blocks;
        if (abortAfterFirst) DownloadAbortFlag() = true;
    });
    bool aborted = false;
    location->OnAfterDownload.Bind(nullptr, [&](void*, fw::TObject*, bool a) { aborted = a; });
    location->Download(name, local);
    std::printf("ok blocks=%d aborted=%d size=%lld\n", blocks, aborted ? 1 : 0,
                static_cast<long long>(fw::FileExists(local) ? fw::TFileStream(local, fw::fmOpenRead).Size() : -1));
    location->Free();
    return 0;
}

int Run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return 2;
    std::vector<std::string> rest;
    bool registerFiles = false, abortAfterFirst = false;
    int platform = -1;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i].rfind("--platform=", 0) == 0)
            platform = std::atoi(args[i].c_str() + 11);
        else if (args[i] == "--register")
            registerFiles = true;
        else if (args[i] == "--abort")
            abortAfterFirst = true;
        else
            rest.push_back(args[i]);
    }
    static std::unique_ptr<ForcedPlatform> forced;
    if (platform >= 0) {
        forced = std::make_unique<ForcedPlatform>(Win32System(), static_cast<uint32_t>(platform));
        SetInstallSystem(forced.get());
    }
    const std::string& command = args[0];
    if (command == "build" && rest.size() >= 3)
        return Build(rest[0], rest[1], std::vector<std::string>(rest.begin() + 2, rest.end()));
    if (command == "install" && rest.size() >= 4)
        return Install(rest[0], rest[1], rest[2], registerFiles, std::vector<std::string>(rest.begin() + 3, rest.end()));
    if (command == "restart") return Win32System().RestartWindows(true) ? 0 : 1;
    if (command == "download" && rest.size() == 5) return Download(rest[0], rest[1], rest[2], rest[3], rest[4], abortAfterFirst);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    inst::InstallWin32System();
    inst::RegisterClasses();
    try {
        return Run(argc, argv);
    } catch (const fw::Exception& e) {
        std::printf("error %s: %s\n", typeid(e).name(), e.Message().c_str());
        return 3;
    }
}
