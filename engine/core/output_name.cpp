#include "engine/core/output_name.h"

#include <algorithm>
#include <vector>

#include "engine/core/routines.h"

namespace engine {

namespace {

// Windows drops trailing dots and blanks from every path component, so ". ." or "..." would name
// the parent or the folder itself; compare in that form.
std::string_view TrimTrailingDotsAndBlanks(std::string_view s)
{
    while (!s.empty() && (s.back() == '.' || s.back() == ' '))
        s.remove_suffix(1);
    return s;
}

bool HasForbiddenChar(std::string_view s)
{
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' || c == ':')
            return true;
    }
    return false;
}

std::vector<std::string_view> SplitComponents(std::string_view s)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == '\\') {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

}  // namespace

bool IsDeviceName(std::string_view component)
{
    std::string_view base = TrimTrailingDotsAndBlanks(component);
    const size_t dot = base.find('.');
    if (dot != std::string_view::npos)
        base = base.substr(0, dot);
    base = TrimTrailingDotsAndBlanks(base);
    const std::string up = UpperCase(std::string(base));
    if (up == "CON" || up == "PRN" || up == "AUX" || up == "NUL" || up == "CONIN$" || up == "CONOUT$")
        return true;
    if (up.size() == 4 && (up.compare(0, 3, "COM") == 0 || up.compare(0, 3, "LPT") == 0) && up[3] >= '1' &&
        up[3] <= '9')
        return true;
    return false;
}

std::optional<std::string> BuildOutputName(std::string_view name, std::string_view extractDir, bool useStoredDirs)
{
    std::string n = ToBackslashes(std::string(name));
    std::string folder;
    if (useStoredDirs) {
        // A stored drive goes ("C:\a" or "C:a"); then every leading "\" (a root or a share).
        const size_t colon = n.find(':');
        if (colon != std::string::npos) {
            const size_t firstSlash = n.find('\\');
            n = n.substr(std::min<size_t>(n.size(), firstSlash == 2 ? 3 : 2));
        }
        size_t lead = 0;
        while (lead < n.size() && n[lead] == '\\')
            ++lead;
        n = n.substr(lead);
        folder = std::string(extractDir);
        if (!folder.empty() && folder.back() != '\\')
            folder += '\\';
        const std::string storedFolder = ExtractFilePath(n);
        // Check and rebuild the stored folders one by one; empty and "." components fall away.
        for (std::string_view part : SplitComponents(storedFolder)) {
            if (part.empty() || part == ".")
                continue;
            const std::string_view trimmed = TrimTrailingDotsAndBlanks(part);
            if (trimmed.empty() || HasForbiddenChar(part) || IsDeviceName(part))
                return std::nullopt;
            folder += std::string(part);
            folder += '\\';
        }
    } else {
        folder = std::string(extractDir);
    }
    if (folder.find(':') == std::string::npos && (folder.empty() || folder[0] != '\\'))
        folder = "\\" + folder;

    const std::string file = ExtractFileName(n);
    // The name part is whatever follows the last "\", "/" or ":"; a ":" there means a drive or a
    // stream that the folder rule did not remove.
    if (useStoredDirs && ExtractFilePath(n).find(':') != std::string::npos)
        return std::nullopt;
    if (file.empty() || TrimTrailingDotsAndBlanks(file).empty() || HasForbiddenChar(file) || IsDeviceName(file))
        return std::nullopt;
    if (folder.size() > 1 && folder.back() != '\\')
        folder += '\\';
    return folder + file;
}

}  // namespace engine
