#include "app/archive_file.h"

#include "framework/core/sysutils.h"

namespace app {

std::string DestinationIn(const std::string& folder, const std::string& archive) {
    return fw::IncludeTrailingBackslash(folder) + fw::ExtractFileName(archive);
}

std::string RenamedPath(const std::string& archive, const std::string& newName) {
    return fw::ExtractFilePath(archive) + newName;
}

}  // namespace app
