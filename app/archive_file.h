// Where the File menu's commands on the open archive file put it: move and copy into a chosen
// folder, rename within its folder.
#pragma once

#include <string>

namespace app {

// The chosen folder, a "\" unless it ends with one (a drive root does), and the archive's file name.
std::string DestinationIn(const std::string& folder, const std::string& archive);

// The archive's folder followed by the new name.
std::string RenamedPath(const std::string& archive, const std::string& newName);

}  // namespace app
