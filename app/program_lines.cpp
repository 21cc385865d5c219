#include "app/program_lines.h"

#include "app/text_routines.h"
#include "framework/core/sysutils.h"

namespace app {

std::string ScannerParameters(const std::string& stored, const std::string& archive) {
    const std::string quoted = "\"" + archive + "\"";
    return stored.empty() ? quoted : stored + " " + quoted;
}

std::string BuilderCommandLine(const std::string& archive) { return "morvixsfx.exe " + archive; }

std::string DesktopLinkName(const std::string& desktop, const std::string& archive) {
    std::string folder = desktop;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + fw::ExtractFileName(archive) + ".lnk";
}

std::string EncodedOutputName(const std::string& input) { return ReplaceExtension(input, "UUE"); }

bool SameFileName(const std::string& a, const std::string& b) { return fw::UpperCase(a) == fw::UpperCase(b); }

}  // namespace app
