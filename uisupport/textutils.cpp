#include "uisupport/textutils.h"

#include <algorithm>

namespace uis {

CharSet MakeCharSet(std::string_view chars) {
    CharSet set;
    for (char c : chars) set.set(static_cast<unsigned char>(c));
    return set;
}

std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement) {
    if (search.empty()) return text;
    std::string result;
    size_t from = 0;
    for (size_t at; (at = text.find(search, from)) != std::string::npos; from = at + search.size()) {
        result.append(text, from, at - from);
        result += replacement;
    }
    result.append(text, from, std::string::npos);
    return result;
}

namespace {

// Calls visit(start, end) (0-based, end exclusive) for each word until it returns false.
template <class F>
void ForEachWord(const std::string& text, const CharSet& delimiters, F visit) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        while (i < n && InSet(delimiters, text[i])) ++i;
        if (i == n) return;
        const size_t start = i;
        while (i < n && !InSet(delimiters, text[i])) ++i;
        if (!visit(start, i)) return;
    }
}

}  // namespace

int CountWords(const std::string& text, const CharSet& delimiters) {
    int count = 0;
    ForEachWord(text, delimiters, [&](size_t, size_t) {
        ++count;
        return true;
    });
    return count;
}

size_t WordStart(int n, const std::string& text, const CharSet& delimiters) {
    size_t found = 0;
    int seen = 0;
    if (n < 1) return 0;
    ForEachWord(text, delimiters, [&](size_t start, size_t) {
        if (++seen < n) return true;
        found = start + 1;
        return false;
    });
    return found;
}

std::string WordAt(int n, const std::string& text, const CharSet& delimiters) {
    std::string word;
    int seen = 0;
    if (n < 1) return word;
    ForEachWord(text, delimiters, [&](size_t start, size_t end) {
        if (++seen < n) return true;
        word.assign(text, start, end - start);
        return false;
    });
    return word;
}

std::string NextToken(const std::string& text, size_t& position, const CharSet& delimiters) {
    if (position < 1) position = 1;
    if (position > text.size()) {
        position = text.size() + 1;
        return {};
    }
    size_t i = position - 1;
    const size_t start = i;
    while (i < text.size() && !InSet(delimiters, text[i])) ++i;
    std::string token = text.substr(start, i - start);
    // Past the delimiter, or past the end when none followed.
    position = (i < text.size() ? i + 1 : text.size()) + 1;
    return token;
}

// ---- Command lines ------------------------------------------------------------------------------

namespace {

// Codes 1 to 32 separate parameters; NUL ends the text.
bool IsSeparator(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

}  // namespace

size_t NextParam(const std::string& commandLine, size_t position, std::string& param) {
    param.clear();
    const std::string& s = commandLine;
    const size_t n = s.size();
    size_t i = std::min(position, n);
    for (;;) {
        if (i < n && IsSeparator(s[i])) {
            ++i;
        } else if (i + 1 < n && s[i] == '"' && s[i + 1] == '"') {
            i += 2;  // an empty quoted part is no parameter
        } else {
            break;
        }
    }
    while (i < n && s[i] != '\0' && !IsSeparator(s[i])) {
        if (s[i] == '"') {
            ++i;
            while (i < n && s[i] != '\0' && s[i] != '"') param += s[i++];
            if (i < n && s[i] == '"') ++i;
        } else {
            param += s[i++];
        }
    }
    return i;
}

namespace {

// Calls visit(index, param) for each parameter until it returns false. Pairs of quotes are skipped
// before a parameter, so an empty one only comes at the end of the text (or at a NUL).
template <class F>
void ForEachParam(const std::string& commandLine, F visit) {
    size_t position = 0;
    std::string param;
    for (int index = 0;; ++index) {
        position = NextParam(commandLine, position, param);
        if (param.empty() || !visit(index, param)) return;
    }
}

}  // namespace

int CountParams(const std::string& commandLine) {
    int count = 0;
    ForEachParam(commandLine, [&](int, const std::string&) {
        ++count;
        return true;
    });
    return std::max(0, count - 1);
}

std::string ParamAt(const std::string& commandLine, int index) {
    std::string found;
    ForEachParam(commandLine, [&](int i, const std::string& param) {
        if (i < index) return true;
        found = param;
        return false;
    });
    return found;
}

void SplitProgramAndParams(const std::string& commandLine, std::string& program, std::string& params) {
    program.clear();
    params.clear();
    ForEachParam(commandLine, [&](int i, const std::string& param) {
        if (i == 0) {
            program = param;
            return true;
        }
        if (!params.empty()) params += ' ';
        if (param.find(' ') != std::string::npos)
            params += '"' + param + '"';
        else
            params += param;
        return true;
    });
}

// ---- Path texts ---------------------------------------------------------------------------------

std::string StripTrailingBackslash(const std::string& path) {
    if (path.size() <= 1 || path.back() != '\\') return path;
    if (path.size() == 3 && path[1] == ':') return path;
    return path.substr(0, path.size() - 1);
}

bool ContainsAnyOf(const std::string& text, const std::string& characters) {
    return text.find_first_of(characters) != std::string::npos;
}

bool IsValidFileName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) return false;
    }
    return !ContainsAnyOf(name, "<>:\"/\\|?*");
}

std::string RebuildPath(const std::string& path, const std::function<std::string(const std::string& prefix)>& nameOf) {
    std::string rest = path;
    std::string result;
    for (size_t slash; (slash = rest.rfind('\\')) != std::string::npos;) {
        std::string name = nameOf(rest);
        if (name.empty()) name = rest.substr(slash + 1);
        result = '\\' + name + result;
        rest.resize(slash);
    }
    return rest + result;
}

// ---- Screen texts and rectangles ----------------------------------------------------------------

void FitRectInto(fw::TRect& rect, const fw::TRect& screen) {
    const int width = rect.Width();
    const int height = rect.Height();
    if (rect.Right > screen.Right) rect.Left = screen.Right - width;
    if (rect.Left < screen.Left) rect.Left = screen.Left;
    rect.Right = rect.Left + width;
    if (rect.Bottom > screen.Bottom) rect.Top = screen.Bottom - height;
    if (rect.Top < screen.Top) rect.Top = screen.Top;
    rect.Bottom = rect.Top + height;
}

std::string EllipsizeToWidth(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& measure) {
    if (measure(text) <= maxWidth) return text;
    const int length = static_cast<int>(text.size());
    std::string candidate = "...";
    for (int i = 1; i <= length; ++i) {
        const int keep = std::max(0, length - i - 1);
        candidate = text.substr(0, static_cast<size_t>(keep)) + "...";
        if (measure(candidate) <= maxWidth) break;
    }
    return candidate;
}

}  // namespace uis
