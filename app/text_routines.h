// Text routines the archive manager's forms share: the settings texts of its own single values, the
// archive-extension test of dropped and chosen files, and the extension rule for names it proposes.
#pragma once

#include <string>

namespace app {

// "TRUE" or "FALSE": how the program writes its own Boolean values.
std::string BoolToSetting(bool value);
// True exactly when the upper-cased text is "TRUE" (the form storages' "True" reads as true too).
bool SettingToBool(const std::string& text);

// True when the path's extension (from the last "." of its file name on) is one of the fifteen
// archive extensions the program opens on a drop or a click: .ZIP .BH .LHA .LZH .CAB .ZOO .ARJ .ARC
// .RAR .XXE .ENC .TAR .GZ .GZIP .UUE, in any case.
bool IsArchiveExtension(const std::string& path);

// The path with its file name's extension replaced by Ext (given without the dot); a name without
// extension gets "." and Ext. Dots in folder names are left alone: "C:\v1.2\a.zip" with "log" gives
// "C:\v1.2\a.log", not "C:\v1.log".
std::string ReplaceExtension(const std::string& path, const std::string& ext);

}  // namespace app
