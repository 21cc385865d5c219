// Windows queries of the install library: platform, short names, temporary files and the system's
// folders. Failures raise EAPIRoutines.
#pragma once

#include <string>

namespace inst {

// 0 Win32s, 1 the Windows 95/98 family, 2 NT (not 3.5x), 3 NT 3.5x, 4 anything else.
int WindowsPlatform();
// The short (8.3) form of a path, "" when the system has none; paths past 400 characters are cut.
std::string ShortPathName(const std::string& path);
// A new name in the temporary folder ("bat" prefix). The empty file reserving it stays only with keep.
std::string TempFileName(bool keep);
std::string SystemDir();
std::string WindowsDir();

}  // namespace inst
