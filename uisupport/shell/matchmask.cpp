#include "uisupport/shell/matchmask.h"

#include "framework/core/sysutils.h"

namespace uis {
namespace {

bool SameChar(char maskChar, char nameChar) {
    return maskChar == '?' || fw::AnsiUpperChar(maskChar) == fw::AnsiUpperChar(nameChar);
}

// The usual wildcard match, where every star may stand for nothing: on a mismatch go back to the
// last star and let it take one more character. Earlier stars never need to take more, because
// anything they could take the last one can take as well.
bool MatchWildcards(const std::string& name, const std::string& mask) {
    size_t n = 0, m = 0;
    size_t starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && SameChar(mask[m], name[n])) {
            ++m;
            ++n;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

}  // namespace

bool MatchMask(const std::string& name, const std::string& mask) {
    size_t stars = 0;
    while (stars < mask.size() && mask[mask.size() - 1 - stars] == '*') ++stars;
    if (stars < 2) return MatchWildcards(name, mask);
    // Two or more trailing stars are reached only with a character still to take: they read as "?*".
    std::string effective = mask.substr(0, mask.size() - stars);
    effective += "?*";
    return MatchWildcards(name, effective);
}

std::vector<std::string> SplitFilter(const std::string& filter) {
    std::string text = filter.empty() ? "*;" : filter;
    if (text.back() != ';') text += ';';
    std::vector<std::string> masks;
    size_t start = 0;
    for (size_t semi = text.find(';'); semi != std::string::npos; semi = text.find(';', start)) {
        masks.push_back(text.substr(start, semi - start));
        start = semi + 1;
    }
    return masks;
}

std::string JoinFilter(const std::vector<std::string>& masks) {
    std::string text;
    for (size_t i = 0; i < masks.size(); ++i) {
        if (i) text += ';';
        text += masks[i];
    }
    return text;
}

bool MatchesAnyMask(const std::string& name, const std::vector<std::string>& masks) {
    for (const std::string& mask : masks)
        if (MatchMask(name, mask)) return true;
    return false;
}

}  // namespace uis
