// The command lines and file names the archive manager's other commands make: the virus scanner's
// parameters, the self-extractor builder's line, the desktop link's name and the UU-encode dialog's
// output name.
#pragma once

#include <string>

namespace app {

// The stored scanner parameters, a blank and the archive path in quotes, so that a path with blanks
// reaches the scanner as one argument ("" parameters give the quoted path alone).
std::string ScannerParameters(const std::string& stored, const std::string& archive);

// "morvixsfx.exe " and the archive path, unquoted: the builder joins its arguments back into one path.
std::string BuilderCommandLine(const std::string& archive);

// The link for an archive on the desktop: the folder, "\", the archive's file name with ".lnk" added.
std::string DesktopLinkName(const std::string& desktop, const std::string& archive);

// The UU-encode dialog's output for an input: the input with the extension ".UUE".
std::string EncodedOutputName(const std::string& input);

// True when the two names are the same file name (compared without regard to case).
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace app
