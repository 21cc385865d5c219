// The folders the folder dialog and the destination page work with: the nearest folder of a path that
// exists (where the browser opens), and the folders a path still lacks (made before browsing and
// removed again afterwards). Whether a folder exists is asked of the caller.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace inst {

using FolderExists = std::function<bool(const std::string& path)>;

// The path itself when it is a folder, else the path up to its last backslash, repeatedly; "" when no
// folder remains.
std::string NearestExistingFolder(const std::string& path, const FolderExists& exists);
// What the browser is told to select for a path: its nearest existing folder, without a trailing
// backslash when longer than three characters, with one otherwise (a drive becomes its root).
std::string BrowserSelection(const std::string& path, const FolderExists& exists);
// The folders of the path that do not exist, outermost first.
std::vector<std::string> MissingFolders(const std::string& path, const FolderExists& exists);

}  // namespace inst
