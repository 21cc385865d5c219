#include "installer/batch_files.h"

#include "framework/core/sysutils.h"
#include "installer/strutils.h"

namespace inst {

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// How often the clean-up tries to delete the program, about a second apart.
constexpr int kCleanupTries = 60;

// The path with "\" between its parts (either separator given) and one at its end.
std::string Folder(const std::string& path) {
    std::string s = fw::Trim(path);
    for (char& c : s)
        if (c == '/') c = '\\';
    return AddBackslash(s);
}

}  // namespace

bool IsInsideFolder(const std::string& dir, const std::string& tempFolder) {
    const std::string folder = Folder(tempFolder);
    const std::string path = Folder(dir);
    return folder.size() > 1 && path.size() > folder.size() &&
           fw::SameText(path.substr(0, folder.size()), folder);
}

std::vector<std::string> CleanupBatchLines(const std::string& programPath, const std::string& programDir,
                                           const std::string& batchPath, const std::string& tempFolder) {
    const std::string program = Quoted(programPath);
    std::vector<std::string> lines = {
        "@echo off",
        "set tries=0",
        ":wait",
        "del /f /q " + program + " >nul 2>&1",
        "if not exist " + program + " goto gone",
        "set /a tries=tries+1",
        "if %tries% geq " + std::to_string(kCleanupTries) + " goto gone",
        "ping -n 2 127.0.0.1 >nul 2>&1",
        "goto wait",
        ":gone",
    };
    if (IsInsideFolder(programDir, tempFolder))
        lines.push_back("rmdir /s /q " + Quoted(RemoveBackslash(programDir)) + " >nul 2>&1");
    lines.push_back("del /f /q " + Quoted(fw::ChangeFileExt(batchPath, ".PIF")) + " >nul 2>&1");
    lines.push_back("del \"%~f0\"");
    return lines;
}

std::vector<std::string> ReplaceBatchLines(const std::string& oldPath, const std::string& newPath) {
    return {
        "@echo off",
        "del /f /q " + Quoted(oldPath),
        "move /y " + Quoted(newPath) + " " + Quoted(oldPath),
        "del \"%~f0\"",
    };
}

}  // namespace inst
