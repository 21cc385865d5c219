// The shell folders the installer puts things into: the user's Start Menu, Programs, Desktop and
// Startup folders (the shell's "Shell Folders" values) and the Program Files and Common Files folders
// (the system's CurrentVersion values), each with a fallback when the value is missing. Results carry
// no trailing backslash.
#pragma once

#include <string>

namespace inst {

std::string StartMenuDir();
std::string ProgramsDir();
std::string DesktopDir();
std::string StartupDir();
std::string ProgramFilesDir();
std::string CommonFilesDir();

constexpr const char* kShellFoldersKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kCurrentVersionKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

}  // namespace inst
