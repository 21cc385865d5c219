// Matches arbitrary names against arbitrary masks, and short ones against the recursive rule read
// literally: both must agree. The first byte splits the input into name and mask.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/sysutils.h"
#include "uisupport/shell/matchmask.h"

namespace {

// The rule itself (exponential: only for short inputs).
bool Recursive(const char* name, const char* nameEnd, const char* mask, const char* maskEnd) {
    if (maskEnd - mask == 1 && *mask == '*') return true;
    if (name == nameEnd) return mask == maskEnd;
    if (mask != maskEnd && *mask == '*')
        return Recursive(name, nameEnd, mask + 1, maskEnd) || Recursive(name + 1, nameEnd, mask, maskEnd);
    if (mask == maskEnd) return false;
    if (*mask != '?' && fw::AnsiUpperChar(*mask) != fw::AnsiUpperChar(*name)) return false;
    return Recursive(name + 1, nameEnd, mask + 1, maskEnd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 4096) return 0;
    const size_t cut = std::min<size_t>(data[0], size - 1);
    const std::string name(reinterpret_cast<const char*>(data) + 1, cut);
    const std::string mask(reinterpret_cast<const char*>(data) + 1 + cut, size - 1 - cut);
    const bool match = uis::MatchMask(name, mask);
    size_t stars = 0;
    for (char c : mask) stars += c == '*';
    // Short enough for the recursion to finish quickly.
    if (name.size() <= 12 && mask.size() <= 12 && stars <= 4) {
        if (match != Recursive(name.data(), name.data() + name.size(), mask.data(), mask.data() + mask.size()))
            std::abort();
    }
    if (!uis::MatchMask(name, "*")) std::abort();
    (void)uis::MatchesAnyMask(name, uis::SplitFilter(mask));
    return 0;
}
