#include "uisupport/shell/shellnames.h"

#include "framework/core/sysutils.h"

namespace uis {

bool IsFileSystemPath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') {
        const char letter = fw::AnsiUpperChar(path[0]);
        return letter >= 'A' && letter <= 'Z';
    }
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

std::string ObjectNameOfPath(const std::string& path) {
    if (path.empty()) return {};
    // A drive root: the drive part is the path less its last character ("C:" of "C:\").
    if (fw::ExtractFileDrive(path) == path.substr(0, path.size() - 1)) return path;
    return fw::ExtractFileName(path);
}

bool IsDriveRootName(const std::string& name) { return name.size() >= 2 && name.size() <= 3 && name[1] == ':'; }

std::string FolderNotFoundMessage(const std::string& path) { return "Cannot Find Folder: " + path.substr(0, 40); }

std::string ObjectNotFoundMessage(const std::string& name, const std::string& folder) {
    return "Error! Cannot find Object \"" + name + "\" in Folder \"" + folder + "\"";
}

std::string KilobyteText(uint32_t size, char thousandSeparator) {
    uint64_t bytes = size;
    if (bytes >= 1 && bytes <= 1023) bytes = 1024;
    const uint64_t kb = (bytes + 512) / 1024;  // to the nearest whole kilobyte, halves up
    std::string digits = std::to_string(kb);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0 && thousandSeparator) text += thousandSeparator;
        text += digits[i];
    }
    return text + " KB";
}

std::string MonitorDirectory(const std::string& path) {
    if (path.size() > 3 && path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

std::vector<std::string> ComboPathSteps(const std::string& path) {
    std::vector<std::string> steps;
    if (path.size() <= 3) return steps;
    const std::string rest = path.substr(3);
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        std::string step = rest.substr(start, end - start);
        if (step.size() > 1) step = fw::UpperCase(step.substr(0, 1)) + fw::LowerCase(step.substr(1));
        if (!step.empty()) steps.push_back(step);
        start = end + 1;
    }
    return steps;
}

}  // namespace uis
