#include "installer/folder_paths.h"

#include "installer/strutils.h"

namespace inst {

namespace {

// The path up to its last backslash; "" when it has none.
std::string Parent(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string NearestExistingFolder(const std::string& path, const FolderExists& exists) {
    std::string folder = path;
    while (!folder.empty() && !exists(folder)) folder = Parent(folder);
    return folder;
}

std::string BrowserSelection(const std::string& path, const FolderExists& exists) {
    const std::string folder = NearestExistingFolder(path, exists);
    return folder.size() > 3 ? RemoveBackslash(folder) : AddBackslash(folder);
}

std::vector<std::string> MissingFolders(const std::string& path, const FolderExists& exists) {
    std::vector<std::string> missing;
    std::string folder = path.size() > 3 ? RemoveBackslash(path) : path;
    while (!folder.empty() && !exists(folder)) {
        missing.insert(missing.begin(), folder);
        folder = Parent(folder);
    }
    return missing;
}

}  // namespace inst
