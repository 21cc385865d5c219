#include "engine/core/wildcard.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/core/routines.h"

namespace engine {

namespace {

// The rule retries the rest of one side after a star against every suffix of the other, each retry
// running the whole rule again (dot handling included). Done naively that is exponential in the
// number of stars, and stored names are untrusted, so each (side, side) pair is decided once. The
// pairs reachable from one call are suffixes of the two sides, possibly with a dot dropped or ".*"
// added, so the memo stays polynomial in the lengths.
class Matcher {
public:
    explicit Matcher(bool nameOnly) : nameOnly_(nameOnly) {}

    bool Match(std::string a, std::string b)
    {
        a = ToBackslashes(std::move(a));
        b = ToBackslashes(std::move(b));
        if (nameOnly_) {
            const bool aWas = !a.empty(), bWas = !b.empty();
            a = ExtractNamePart(a);
            b = ExtractNamePart(b);
            if ((aWas && a.empty()) || (bWas && b.empty()))
                return false;
        }
        FixDots(a, b);
        FixDots(b, a);
        if (a.empty() && b.empty())
            return false;
        if (a.empty() && b[0] != '*')
            return false;
        if (b.empty() && a[0] != '*')
            return false;

        const std::string key = Key(a, b);
        auto hit = memo_.find(key);
        if (hit != memo_.end())
            return hit->second;
        // Each level of retry consumes a star; past kMaxDepth stars a name is hostile, and the
        // stack (1 MB on Windows) matters more than matching it.
        if (depth_ >= kMaxDepth)
            return false;
        ++depth_;
        const bool result = Compare(a, b);
        --depth_;
        memo_.emplace(key, result);
        return result;
    }

private:
    static std::string ExtractNamePart(const std::string& s)
    {
        size_t slash = s.rfind('\\');
        return slash == std::string::npos ? s : s.substr(slash + 1);
    }

    // A side ending in "." loses it; a side without "." gains ".*" when the other holds ".*".
    static void FixDots(std::string& side, const std::string& other)
    {
        if (!side.empty() && side.back() == '.')
            side.pop_back();
        else if (side.find('.') == std::string::npos && other.find(".*") != std::string::npos)
            side += ".*";
    }

    static std::string Key(const std::string& a, const std::string& b)
    {
        std::string key;
        key.reserve(a.size() + b.size() + 1);
        key += a;
        key += '\0';
        key += b;
        return key;
    }

    static char Up(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

    static bool OnlyStars(const std::string& s, size_t from)
    {
        for (size_t i = from; i < s.size(); ++i)
            if (s[i] != '*')
                return false;
        return true;
    }

    // The rest after a star at star[at] against every suffix of other from pos on.
    bool StarTail(const std::string& star, size_t at, const std::string& other, size_t pos, bool starIsA)
    {
        const std::string rest = star.substr(at + 1);
        const bool literalFirst = !rest.empty() && rest[0] != '*' && rest[0] != '?';
        for (size_t k = pos; k <= other.size(); ++k) {
            // A suffix whose first character cannot meet the rest's literal first character is
            // decided without a retry (the dot rule only changes the ends of a side).
            if (literalFirst && k < other.size() && other[k] != '*' && other[k] != '?' &&
                Up(other[k]) != Up(rest[0]))
                continue;
            const std::string suffix = other.substr(k);
            if (starIsA ? Match(rest, suffix) : Match(suffix, rest))
                return true;
        }
        return false;
    }

    bool Compare(const std::string& a, const std::string& b)
    {
        size_t i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            if (b[j] == '*') {
                if (j + 1 == b.size())
                    return true;
                return StarTail(b, j, a, i, false);
            }
            if (a[i] == '*') {
                if (i + 1 == a.size())
                    return true;
                return StarTail(a, i, b, j, true);
            }
            if (a[i] != '?' && b[j] != '?' && Up(a[i]) != Up(b[j]))
                return false;
            ++i;
            ++j;
        }
        return OnlyStars(a, i) && OnlyStars(b, j);
    }

    static constexpr int kMaxDepth = 200;
    bool nameOnly_;
    int depth_ = 0;
    std::unordered_map<std::string, bool> memo_;
};

// A run of stars matches what one star matches; folding runs keeps hostile masks cheap.
std::string FoldStars(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '*' || out.empty() || out.back() != '*')
            out += c;
    return out;
}

// "*" and "*.*", the masks of whole-archive runs, decide a plain name at once: by the rule both match
// any name (a dot missing or at the end is supplied by the dot handling). Names with wildcards of
// their own, empty names and "." (which "*.*" does not match) take the full rule.
std::optional<bool> QuickMatch(std::string_view mask, std::string_view name, bool nameOnly)
{
    if (mask != "*" && mask != "*.*")
        return std::nullopt;
    if (nameOnly) {
        const size_t slash = name.find_last_of("\\/");
        if (slash != std::string_view::npos)
            name.remove_prefix(slash + 1);
    }
    if (name.empty() || name == "." || name.find_first_of("*?") != std::string_view::npos)
        return std::nullopt;
    return true;
}

}  // namespace

bool WildcardMatch(std::string_view a, std::string_view b, bool nameOnly)
{
    if (const auto quick = QuickMatch(a, b, nameOnly))
        return *quick;
    if (const auto quick = QuickMatch(b, a, nameOnly))
        return *quick;
    Matcher m(nameOnly);
    return m.Match(FoldStars(a), FoldStars(b));
}

}  // namespace engine
