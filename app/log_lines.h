// The lines the archive manager writes to its log pane for engine reports.
#pragma once

#include <string>

namespace app {

// One line for an engine error: the archive path and the entry name in lower case, then
// "Error#: <code>" for codes 25100 to 25450 or "Message#: <code>" for 26500 to 26522, the code's
// text and the extra text. Other codes give no line (an empty result).
std::string ErrorLogLine(const std::string& archiveFile, const std::string& fileName, int code,
                         const std::string& codeText, const std::string& extra);

// The line for an entry whose check failed: its name, then "Extract failed" and "OnEnd Event..." on
// lines of their own (one log line with carriage returns).
std::string ExtractFailedLine(const std::string& fileName);

}  // namespace app
