// Long and short names of existing paths, as the file system reports them, and the folder test.
#pragma once

#include <string>

namespace uis {

// The path's attributes can be read and include the directory attribute.
bool FolderExists(const std::string& path);
// The long (or 8.3) name of the path's last component, falling back to the other form when the file
// system reports it empty; "" when the path does not exist.
std::string LongNameOf(const std::string& path);
std::string ShortNameOf(const std::string& path);
// The path with every component after the drive replaced by its long (or short) name; a component the
// file system does not know is kept as written.
std::string LongPathOf(const std::string& path);
std::string ShortPathOf(const std::string& path);

}  // namespace uis
