#include "uisupport/controls/comboedittext.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "uisupport/textutils.h"

namespace uis {

std::string QuotedFileName(const std::string& name) {
    if (name.find(' ') == std::string::npos || (!name.empty() && name[0] == '"')) return name;
    return '"' + name + '"';
}

std::string FileNameOfText(const std::string& text, const std::function<bool(const std::string&)>& fileExists) {
    if (!text.empty() && fileExists && fileExists(text)) return text;
    std::string program, params;
    SplitProgramAndParams(text, program, params);
    return program;
}

bool IsValidPathText(const std::string& path) {
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 32) return false;
        if (c == ':' && i != 1) return false;
    }
    return !ContainsAnyOf(path, "<>\"|?*");
}

bool IsValidFileValue(const std::string& value) {
    return IsValidPathText(value) && IsValidFileName(fw::ExtractFileName(value));
}

std::string FirstLineOf(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

std::string JoinFolder(const std::string& text, const std::string& folder, bool multiple) {
    if (multiple && !text.empty()) return text + ";" + folder;
    return folder;
}

std::string MapFolders(const std::string& text, bool multiple, const std::function<std::string(const std::string&)>& convert) {
    if (!multiple) return convert(text);
    std::string result;
    size_t start = 0;
    for (;;) {
        const size_t semicolon = text.find(';', start);
        if (start > 0) result += ';';
        result += convert(text.substr(start, semicolon - start));
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
    }
    return result;
}

TEllipsisGeometry EllipsisGeometry(int buttonWidth) {
    TEllipsisGeometry g;
    g.width = std::max(1, buttonWidth - 6);
    g.gap = std::clamp((g.width - 6) / 2, 1, 3);
    g.start = (g.width - 6 - 2 * g.gap) / 2;
    return g;
}

}  // namespace uis
