#include "engine/core/output_name.h"

#include <algorithm>
#include <vector>

#include "engine/core/routines.h"
#include "engine/names/output_name_rule.h"

namespace engine {

namespace {

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

bool IsDeviceName(std::string_view component) { return mx::names::IsDeviceName(component); }

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
            if (!mx::names::IsWritableComponent(part))
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
    if (!mx::names::IsWritableComponent(file))
        return std::nullopt;
    if (folder.size() > 1 && folder.back() != '\\')
        folder += '\\';
    return folder + file;
}

}  // namespace engine
