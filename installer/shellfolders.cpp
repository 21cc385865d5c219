#include "installer/shellfolders.h"

#include "framework/core/sysutils.h"
#include "installer/qnfdregistry.h"
#include "installer/strutils.h"
#include "installer/winqueries.h"

namespace inst {

namespace {

// The fallback is only worked out when the value is missing: it may need the Windows directory.
template <class Fallback>
std::string ShellFolder(const char* value, Fallback fallback) {
    std::string dir = ReadRegString(TRootKeys::hkCurrentUser, kShellFoldersKey, value, "");
    return RemoveBackslash(dir.empty() ? fallback() : dir);
}

std::string CurrentVersionFolder(const char* value, const char* fallback) {
    std::string dir = ReadRegString(TRootKeys::hkLocalMachine, kCurrentVersionKey, value, "");
    if (dir.empty()) dir = fw::ExtractFileDrive(fw::GetCurrentDir()) + "\\" + fallback;
    return RemoveBackslash(dir);
}

}  // namespace

std::string StartMenuDir() {
    return ShellFolder("Start Menu", [] { return WindowsDir() + "\\Startmen"; });
}
std::string ProgramsDir() {
    return ShellFolder("Programs", [] { return StartMenuDir() + "\\Programs"; });
}
std::string DesktopDir() {
    return ShellFolder("Desktop", [] { return WindowsDir() + "\\Desktop"; });
}
std::string StartupDir() {
    return ShellFolder("Startup", [] { return WindowsDir() + "\\Startup"; });
}
std::string ProgramFilesDir() { return CurrentVersionFolder("ProgramFilesDir", "Program Files"); }
std::string CommonFilesDir() { return CurrentVersionFolder("CommonFilesDir", "Program Files\\Common Files"); }

}  // namespace inst
