#include "uisupport/win32/pathnames.h"

#include "framework/win32/winapi.h"
#include "uisupport/textutils.h"

namespace uis {

namespace {

// The file system's two names of the path's last component; false when it does not exist.
bool FindNames(const std::string& path, std::string& longName, std::string& shortName) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    longName = data.cFileName;
    shortName = data.cAlternateFileName;
    return true;
}

}  // namespace

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string LongNameOf(const std::string& path) {
    std::string longName, shortName;
    if (!FindNames(path, longName, shortName)) return {};
    return longName.empty() ? shortName : longName;
}

std::string ShortNameOf(const std::string& path) {
    std::string longName, shortName;
    if (!FindNames(path, longName, shortName)) return {};
    return shortName.empty() ? longName : shortName;
}

std::string LongPathOf(const std::string& path) { return RebuildPath(path, &LongNameOf); }

std::string ShortPathOf(const std::string& path) { return RebuildPath(path, &ShortNameOf); }

}  // namespace uis
