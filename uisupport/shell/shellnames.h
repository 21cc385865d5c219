// The text rules of the shell views that need no shell: which "paths" are real file-system paths,
// object names taken from paths, the size column, the messages of the browser and the folder-path
// steps of the shell combo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace uis {

// A file-system path starts with a drive letter and ":" or with "\\" (a network path). Wine answers
// "::{GUID}" strings for the printers and network folders, which are no paths at all.
bool IsFileSystemPath(const std::string& path);

// The object name of a file-system path: a drive root ("C:\") is the whole path, anything else its
// last component.
std::string ObjectNameOfPath(const std::string& path);

// "C", "C:" or "C:\" with at most three characters and ":" second.
bool IsDriveRootName(const std::string& name);

// "Cannot Find Folder: " and the first 40 characters of the path.
std::string FolderNotFoundMessage(const std::string& path);
// Error! Cannot find Object "<name>" in Folder "<folder>".
std::string ObjectNotFoundMessage(const std::string& name, const std::string& folder);

// The size column without a details interface: kilobytes rounded to a whole number, a size from 1 to
// 1023 counting as 1024, with the thousands separator: 0 -> "0 KB", 1 -> "1 KB", 1536 -> "2 KB".
std::string KilobyteText(uint32_t size, char thousandSeparator);

// The folder a monitor watches: a path longer than three characters loses one trailing "\", so a
// drive root such as "C:\" keeps it.
std::string MonitorDirectory(const std::string& path);

// The folders below the drive root of a path (from its fourth character), one per component, as
// the shell combo shows them: longer than one character, first letter upper case and the rest lower.
std::vector<std::string> ComboPathSteps(const std::string& path);

}  // namespace uis
