#include "app/mail_names.h"

namespace app {

namespace {

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool HasBrackets(const std::string& s) {
    return s.find('[') != std::string::npos && s.find(']') != std::string::npos;
}

}  // namespace

std::vector<std::string> SplitNames(const std::string& text) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t semicolon = text.find(';', start);
        const std::string part =
            Trim(text.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start));
        if (!part.empty()) names.push_back(part);
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
    }
    return names;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty()) text += ';';
        text += name;
    }
    return text;
}

std::string ShortAttachmentName(const std::string& name) {
    if (name.size() <= 12) return name;
    std::string result = name;
    const size_t dot = result.find('.');
    if (dot != std::string::npos && dot >= 9) result = result.substr(0, 8) + result.substr(dot);
    if (result.size() > 12) result = result.substr(result.size() - 12);
    const size_t first = result.find_first_not_of('.');
    return first == std::string::npos ? std::string() : result.substr(first);
}

std::string BracketedAddress(const std::string& typed, const std::string& resolved) {
    if (!HasBrackets(typed) || resolved.find('[') != std::string::npos || resolved.find(']') != std::string::npos)
        return "";
    std::string address = typed;
    address.erase(address.find('['), 1);
    address.erase(address.find(']'), 1);
    return address;
}

}  // namespace app
