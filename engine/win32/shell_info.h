// What the shell knows about a file name by its extension alone: the index of its icon in the
// system image lists and its type name. The archive manager shows both for archived entries, which
// do not exist on disk, so the shell is asked with the use-file-attributes flag.
#pragma once

#include <string>

namespace engine::win32 {

// The system image-list index of the icon for FileName's name part (the index is the same in the
// large and the small list); 0, the list's first icon, when the shell has no answer.
int GetIconIndex(const std::string& fileName);

// The shell's type name for FileName ("Text Document" for a ".txt" name, for instance); empty when
// the shell has none.
std::string GetFileTypeName(const std::string& fileName);

}  // namespace engine::win32
