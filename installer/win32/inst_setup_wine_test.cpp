// The shipped 32-bit setup program in the test run's prefix: build mode, then one install through the
// loader (its wizard driven by fwdrive), both checked from outside (the Python readers, cmp, reg query, lnkinfo). Everything the
// install put in place is taken away again at the end, so the prefix stays as the other tests expect.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "testing/test_env.h"
#include "testing/unix_script.h"

namespace {

using mx::test::HostPath;
using mx::test::WriteFile;

const std::string kBuild = "C:\\Build\\Morvix";
const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvix Zip";
constexpr const char* kHelpKey = "SOFTWARE\\Microsoft\\Windows\\Help";
const std::string kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The shell writes "Shell Folders" again from these whenever it looks a folder up.
const std::string kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string Built(const std::string& path) { return HostPath(Env("MX_BUILD_DIR") + "/" + path); }

std::string ReadValue(HKEY root, const std::string& key, const std::string& name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(root, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                     RRF_NOEXPAND, nullptr, data, &size) != ERROR_SUCCESS)
        return std::string();
    return data;
}

bool WriteValue(HKEY root, const std::string& key, const std::string& name, const std::string& value,
                DWORD type = REG_SZ) {
    HKEY h;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExA(h, name.empty() ? nullptr : name.c_str(), 0, type,
                                   reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(h);
    return ok;
}

// Starts a command line and waits for it (the emulated processes start slowly).
DWORD RunAndWait(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 9999;
    WaitForSingleObject(pi.hProcess, 600000);
    DWORD code = 9998;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

bool WaitFor(const std::function<bool()>& done, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (done()) return true;
        Sleep(100);
    }
    return done();
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName, path = dir + "\\" + name;
            if (name == "." || name == "..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

// Each step's time: processes start slowly under emulation, and the log shows where it goes.
void Step(const char* what) {
    static const DWORD start = GetTickCount();
    std::printf("[%5.1f s] %s\n", (GetTickCount() - start) / 1000.0, what);
    std::fflush(stdout);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A file's bytes, "" when it is not there (yet).
std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SetupWine32 : public ::testing::Test {
protected:
    void SetUp() override {
        win = mx::test::FreshDir();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        unix = Env("MX_TEST_TMP") + "/" + info->test_suite_name() + "." + info->name();
        char dir[MAX_PATH];
        GetSystemDirectoryA(dir, MAX_PATH);
        system32 = dir;
        programFiles = ReadValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
        installed = programFiles + "\\Morvix Tools\\Zip";
        // The desktop of the prefix is the host's home: this test's links go into its own folder.
        savedDesktop = ReadValue(HKEY_CURRENT_USER, kShellFolders, "Desktop");
        savedUserDesktop = ReadValue(HKEY_CURRENT_USER, kUserShellFolders, "Desktop");
        CreateDirectoryA((win + "\\Desktop").c_str(), nullptr);
        ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, kUserShellFolders, "Desktop", win + "\\Desktop", REG_EXPAND_SZ));
        ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, kShellFolders, "Desktop", win + "\\Desktop"));
        // A document opens in the viewer stand-in, which says so.
        CopyFileA(Built("installer/win32/standin_old.exe").c_str(), (win + "\\viewer.exe").c_str(), FALSE);
        // (A fresh prefix has no program for .txt.)
        ASSERT_TRUE(WriteValue(HKEY_CLASSES_ROOT, ".txt", "", "mxtextfile32"));
        ASSERT_TRUE(WriteValue(HKEY_CLASSES_ROOT, "mxtextfile32\\shell\\open\\command", "",
                               "\"" + win + "\\viewer.exe\" \"%1\""));
        SetEnvironmentVariableA("MX_STANDIN_DIR", win.c_str());
        HKEY help;
        helpKeyExisted = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHelpKey, 0, KEY_READ, &help) == ERROR_SUCCESS;
        if (helpKeyExisted) RegCloseKey(help);
    }

    void TearDown() override {
        Step("tear-down");
        WriteFile(win + "\\MorvixZip.stop", "");
        WriteFile(win + "\\viewer.stop", "");
        // Files of programs still ending can be deleted a moment later.
        WaitFor([&] {
            RemoveTree(programFiles + "\\Morvix Tools");
            return !Exists(programFiles + "\\Morvix Tools");
        }, 30);
        RemoveTree(system32 + "\\System files");
        RemoveTree(kBuild);
        RemoveDirectoryA("C:\\Build");
        const std::string start = ReadValue(HKEY_CURRENT_USER, kShellFolders, "Start Menu");
        DeleteFileA((start + "\\Morvix Zip.LNK").c_str());
        RemoveTree(ReadValue(HKEY_CURRENT_USER, kShellFolders, "Programs") + "\\Morvix Tools");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Morvix Tools");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Vantrell");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quenford");
        HKEY help;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHelpKey, 0, KEY_SET_VALUE, &help) == ERROR_SUCCESS) {
            RegDeleteValueA(help, "MXZP.CNT");
            RegDeleteValueA(help, "MXZP.HLP");
            RegCloseKey(help);
            if (!helpKeyExisted) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kHelpKey);
        }
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "mxtextfile32");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".txt");
        WriteValue(HKEY_CURRENT_USER, kUserShellFolders, "Desktop", savedUserDesktop, REG_EXPAND_SZ);
        WriteValue(HKEY_CURRENT_USER, kShellFolders, "Desktop", savedDesktop);
        SetEnvironmentVariableA("MX_STANDIN_DIR", nullptr);
    }

    int Unix(const std::string& script) { return mx::test::RunUnixScript(unix, win, script); }
    // The 32-bit view of the registry, as the setup program wrote it, read by "reg query".
    std::string RegQuery(const std::string& key, const std::string& value) {
        const std::string out = unix + "/reg.txt";
        if (Unix("/usr/lib/wine/wine64 reg query '" + key + "' /v '" + value + "' /reg:32 > '" + out + "' 2>/dev/null") != 0)
            return "";
        return Contents(win + "\\reg.txt");
    }

    std::string win, unix, system32, programFiles, installed, savedDesktop, savedUserDesktop;
    bool helpKeyExisted = false;
};

TEST_F(SetupWine32, BuildsAndInstallsThroughTheLoader) {
    const std::string files = kBuild + "\\Files";
    for (const std::string& dir : {std::string("C:\\Build"), kBuild, files, kBuild + "\\Lib", kBuild + "\\Setup"})
        CreateDirectoryA(dir.c_str(), nullptr);
    const std::vector<std::pair<std::string, std::string>> copies = {
        {Built("installer/win32/standin_old.exe"), "MorvixZip.exe"},
        {Built("installer/win32/standin_new.exe"), "MorvixSFX.exe"},
        {Built("installer/win32/uninstall.exe"), "uninstall.exe"},
        {Built("installer/win32/inst_selfreg.dll"), "UNRAR.dll"},
        {system32 + "\\cabinet.dll", "CABINET.DLL"}};
    for (const auto& [from, name] : copies) ASSERT_TRUE(CopyFileA(from.c_str(), (files + "\\" + name).c_str(), FALSE)) << from;
    WriteFile(files + "\\Readme.txt", "Read me.\r\n");
    WriteFile(files + "\\License.txt", "Licence.\r\n");
    WriteFile(files + "\\MXZP.HLP", std::string(30000, 'h'));
    WriteFile(files + "\\MXZP.cnt", ":Base MXZP.HLP\r\n");
    WriteFile(files + "\\MxExample.zip", "PK\x05\x06" + std::string(18, '\0'));
    WriteFile(kBuild + "\\Lib\\Q32V40.TXT", "");
    ASSERT_TRUE(CopyFileA(Built("installer/win32/QuenfordLoadProgram.exe").c_str(),
                          (kBuild + "\\Lib\\QuenfordLoadProgram.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(Built("installer/setup/MxInstall.exe").c_str(), (kBuild + "\\Setup\\MxInstall.exe").c_str(),
                          FALSE));
    WriteFile(kBuild + "\\Setup\\BUILD.INF", kBuild + "\\Out\r\n");
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, "Software\\Vantrell\\Q32V40", "Library Path", kBuild + "\\Lib"));

    // ---- Build mode ----
    Step("build");
    ASSERT_EQ(RunAndWait("\"" + kBuild + "\\Setup\\MxInstall.exe\" -b"), 0u);
    // Scripts are quoted for sh -c inside double quotes: single quotes only.
    const std::string here = "cd '" + unix + "' && b=$WINEPREFIX/drive_c/Build/Morvix && ";
    const std::string tools = Env("MX_SOURCE_DIR") + "/installer/testkit";
    ASSERT_EQ(Unix(here + "/usr/bin/python3 '" + tools + "/setup_check.py' record $b/Out/setup.exe "
                   "$b/Lib/QuenfordLoadProgram.exe $b/Out/setup.1 $b/Out/files.1 > record.txt"),
              0)
        << "the extraction record";
    const std::string record = Contents(win + "\\record.txt");
    const size_t at = record.find("files ") + 6;
    const std::string offset = record.substr(at, record.find(' ', at) - at);
    ASSERT_EQ(Unix(here + "/usr/bin/python3 '" + tools + "/container_reader.py' $b/Out/setup.exe inflated " + offset +
                   " > listing.txt && for f in inflated/*; do cmp $f $b/Files/${f#inflated/} || exit 1; done"),
              0)
        << "every entry of files.1 inside setup.exe equals its source: " << record << Contents(win + "\\listing.txt");

    // ---- One install through the loader, its wizard answered as a user does (fwdrive, slowed for
    // the emulation) ----
    Step("install");
    const std::string script = HostPath(Env("MX_SOURCE_DIR") + "/installer/win32/testdata/drive_install.txt");
    ASSERT_EQ(RunAndWait("\"" + Built("framework/tools/fwdrive/fwdrive.exe") + "\" -o \"" + win + "\" --slow 8 -D \"BUILD=" +
                         kBuild + "\\Out\" \"" + script + "\""),
              0u)
        << "the wizard of setup.exe, driven by " << script;
    Step("installed");
    for (const char* name : {"MorvixZip.exe", "MorvixSFX.exe", "UNRAR.dll", "Readme.txt", "License.txt", "MXZP.HLP",
                             "MXZP.cnt", "MxExample.zip"})
        EXPECT_EQ(Contents(installed + "\\" + name), Contents(files + "\\" + name)) << name;
    EXPECT_EQ(Contents(installed + "\\Uninstall\\uninstall.exe"), Contents(files + "\\uninstall.exe"));
    EXPECT_EQ(Contents(system32 + "\\System files\\CABINET.DLL"), Contents(files + "\\CABINET.DLL"));
    EXPECT_NE(RegQuery("HKLM\\Software\\Morvix Tools\\Toolbox\\General", "InstallDir").find("\\Morvix Tools\r\n"),
              std::string::npos);
    EXPECT_NE(RegQuery("HKLM\\" + kUninstallKey, "UninstallString")
                  .find("\"" + installed + "\\Uninstall\\uninstall.exe\" Morvix Zip"),
              std::string::npos);
    EXPECT_NE(RegQuery("HKLM\\" + kUninstallKey + "\\Files", "Entries").find("REG_SZ    13"), std::string::npos);
    EXPECT_NE(RegQuery("HKLM\\" + kUninstallKey + "\\Files", "File6").find(installed + "\\MorvixZip.exe"),
              std::string::npos);
    EXPECT_EQ(Unix("/usr/lib/wine/wine64 reg query 'HKLM\\Software\\Quenford' /reg:32 >/dev/null 2>&1"), 1)
        << "the install record is removed";
    EXPECT_EQ(Unix("lnkinfo '" + mx::test::UnixPathOf(win) + "/Desktop/Morvix Zip.LNK' > '" + unix + "/lnk.txt'"), 0);
    EXPECT_NE(Contents(win + "\\lnk.txt").find("Local path\t\t\t: " + installed + "\\MorvixZip.exe"), std::string::npos)
        << Contents(win + "\\lnk.txt");
    EXPECT_TRUE(WaitFor([&] { return Contents(win + "\\MorvixZip.log").find("MorvixZip.exe") != std::string::npos; }, 120))
        << "the archive manager was started";
    EXPECT_TRUE(WaitFor([&] { return Contents(win + "\\viewer.log").find("Readme.txt") != std::string::npos; }, 120))
        << "Readme.txt was opened";
    Step("programs started");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    EXPECT_TRUE(WaitFor([&] {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((std::string(temp) + "mxl*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return true;
        FindClose(find);
        return false;
    }, 180)) << "the loader's folder is removed by the clean-up";
    Step("cleaned up");
}

}  // namespace
