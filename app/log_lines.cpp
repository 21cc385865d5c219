#include "app/log_lines.h"

#include "framework/core/sysutils.h"

namespace app {

std::string ErrorLogLine(const std::string& archiveFile, const std::string& fileName, int code,
                         const std::string& codeText, const std::string& extra) {
    std::string kind;
    if (code >= 25100 && code <= 25450)
        kind = "Error#: ";
    else if (code >= 26500 && code <= 26522)
        kind = "Message#: ";
    else
        return std::string();
    return fw::LowerCase(archiveFile) + ":   " + fw::LowerCase(fileName) + "   " + kind + std::to_string(code) +
           "   : " + codeText + "   " + extra;
}

std::string ExtractFailedLine(const std::string& fileName) {
    return fileName + "\rExtract failed\r\rOnEnd Event...";
}

}  // namespace app
