#include "installer/testkit/support.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "framework/core/memregistry.h"
#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "installer/install_record.h"
#include "installer/install_root.h"
#include "installer/install_tree.h"
#include "installer/install_file.h"
#include "installer/net_location.h"
#include "installer/register.h"
#include "testing/test_env.h"

namespace inst::test {

void InstallerTest::SetUp() {
    RegisterClasses();
    if (auto* mem = dynamic_cast<fw::MemRegistry*>(&fw::MemoryRegistry())) mem->Clear();
    DefaultNativeSystem() = NativeSystem();
    SetInstallSystem(nullptr);
    dir = mx::test::FreshDir() + "/";
    fw::ForceDirectories(dir + "windows");
    sys().windowsDir = dir + "windows";
    sys().systemDir = dir + "windows/system32";
    ResetUniqueIds();
    SetInstallRecordKey("");
    SetSetupProgramPath("");
    SetSelfExtractPath("");
    DownloadAbortFlag() = false;
    SetInstallComponent(nullptr);
}

void InstallerTest::TearDown() { DownloadAbortFlag() = false; }

NativeSystem& InstallerTest::sys() { return DefaultNativeSystem(); }

void DefinitionTest::SetUp() {
    InstallerTest::SetUp();
    saved_ = fw::GetCurrentDir();
    fw::SetCurrentDir(dir);
    SharedArchive().SetAbort(false);
    def = fw::Make<TInstallDefinition>(nullptr);
    root = fw::Make<TInstallRoot>(def);
    root->SetName("Install1");
    root->Information()->ProductName = "Morvix Zip";
    root->SetSourceDir(dir + "build");
    root->SetDestDir(dir + "target");
}

void DefinitionTest::TearDown() {
    def->Free();
    fw::SetCurrentDir(saved_);
    InstallerTest::TearDown();
}

TInstallFile* DefinitionTest::AddFile(TInstallContainer* to, const std::string& name, const std::string& bytes) {
    Spit(dir + "src/" + name, bytes);
    auto* f = static_cast<TInstallFile*>(TCustomInstallFile::CreateInContainer(def, to, "src\\" + name));
    std::string component = name;
    for (char& c : component)
        if (c == '.' || c == '-') c = '_';
    f->SetName(component);
    return f;
}

namespace {
// Paths made by the library may hold "\" separators, which the standard streams take literally.
std::string Unix(std::string p) {
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}
}  // namespace

std::string Slurp(const std::string& path) {
    std::ifstream in(Unix(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spit(const std::string& path, const std::string& bytes) {
    fw::ForceDirectories(fw::ExtractFileDir(path));
    std::ofstream out(Unix(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Pattern(size_t size, unsigned seed, bool text) {
    std::string s(size, '\0');
    uint32_t x = seed * 2654435761u + 1;
    static const char words[] = "setup archive volume header entry install file ";
    for (size_t i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        s[i] = text ? words[(x >> 24) % (sizeof words - 1)] : static_cast<char>(x >> 24);
    }
    return s;
}

int Python(const std::string& args, std::string* out) {
    // Paths made by the library may hold "\" separators; the shell and Python want "/".
    std::string unix = args;
    for (char& c : unix)
        if (c == '\\') c = '/';
    const std::string command = "/usr/bin/python3 " + unix + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) text.append(buffer, n);
    const int status = pclose(p);
    if (out) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string TestData() { return mx::test::SourceDir() + "/installer/testkit"; }

}  // namespace inst::test

namespace inst::test {

namespace {
std::string Normal(std::string p) {
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}
}  // namespace

StagedFileSystem::StagedFileSystem() : base_(fw::Fs()) { fw::SetFileSystem(this); }
StagedFileSystem::~StagedFileSystem() { fw::SetFileSystem(nullptr); }

bool StagedFileSystem::Listed(const std::set<std::string>& set, const std::string& path) const {
    const std::string p = Normal(path);
    for (const std::string& s : set)
        if (Normal(s) == p) return true;
    return false;
}

fw::FileHandle StagedFileSystem::Open(const std::string& path, fw::FileAccess access, fw::FileShare share,
                                      fw::FileCreate create, int* error) {
    if (Listed(unopenable, path) || (Listed(undeletable, path) && access != fw::FileAccess::Read)) {
        lastError_ = 32;  // sharing violation, as for a running program
        if (error) *error = 32;
        return fw::kInvalidFile;
    }
    lastError_ = 0;
    return base_.Open(path, access, share, create, error);
}

bool StagedFileSystem::DeleteFile(const std::string& path) {
    if (Listed(undeletable, path)) {
        lastError_ = 5;
        return false;
    }
    lastError_ = 0;
    return base_.DeleteFile(path);
}

bool StagedFileSystem::MoveFile(const std::string& from, const std::string& to, bool replace) {
    if (Listed(undeletable, from) || (replace && Listed(undeletable, to))) {
        lastError_ = 5;
        return false;
    }
    lastError_ = 0;
    return base_.MoveFile(from, to, replace);
}

int64_t StagedStream::Read(void* buffer, int64_t count) {
    return file_.Read(buffer, trickle_ ? std::min<int64_t>(count, 1) : count);
}

int64_t StagedStream::Write(const void* buffer, int64_t count) {
    const int64_t n = room_ < 0 ? count : std::max<int64_t>(0, std::min(count, room_ - file_.Size()));
    return n > 0 ? file_.Write(buffer, n) : 0;
}

}  // namespace inst::test
