#include "widgets/kvxutils.h"

#include <algorithm>
#include <cmath>

#include "framework/core/platform.h"
#include "framework/core/sysutils.h"

namespace kvx {

void KVXInflateRectBy(TRect& rect, int dLeft, int dTop, int dRight, int dBottom) {
    rect.Left += dLeft;
    rect.Top += dTop;
    rect.Right += dRight;
    rect.Bottom += dBottom;
}

void KVXFitRect(const TRect& source, const TRect& dest, TRect& result) {
    const int sw = source.Width();
    const int sh = source.Height();
    result = {dest.Left, dest.Top, dest.Left, dest.Top};
    if (sw <= 0 || sh <= 0) return;
    const double factor = std::min(static_cast<double>(dest.Width()) / sw, static_cast<double>(dest.Height()) / sh);
    result.Right = dest.Left + static_cast<int>(std::trunc(sw * factor));
    result.Bottom = dest.Top + static_cast<int>(std::trunc(sh * factor));
}

void KVXRectSize(const TRect& rect, int& width, int& height) {
    width = rect.Width();
    height = rect.Height();
}

namespace {
bool PtIn(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }
}  // namespace

bool KVXRectInRect(const TRect& inner, const TRect& outer) {
    return PtIn(outer, inner.Left, inner.Top) && PtIn(outer, inner.Right, inner.Bottom);
}

void KVXRotatedRect(TRect& rect, int angle) {
    if (angle == 0) return;
    const double a = angle * 3.14159265358979323846 / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const int hw = rect.Width() / 2;
    const int hh = rect.Height() / 2;
    const int xs[4] = {-hw, hw, hw, -hw};
    const int ys[4] = {-hh, -hh, hh, hh};
    long minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const long x = std::lround(xs[i] * c - ys[i] * s);
        const long y = std::lround(xs[i] * s + ys[i] * c);
        if (i == 0 || x < minX) minX = x;
        if (i == 0 || x > maxX) maxX = x;
        if (i == 0 || y < minY) minY = y;
        if (i == 0 || y > maxY) maxY = y;
    }
    rect = {0, 0, static_cast<int>(maxX - minX), static_cast<int>(maxY - minY)};
}

int KVXMaxIntValue(const std::vector<int>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}
int KVXMinIntValue(const std::vector<int>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}
double KVXMinFloatValue(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

int64_t KVXIntPower(int64_t base, int exponent) {
    int64_t result = 1;
    for (int i = 0; i < exponent; ++i) result *= base;
    return result;
}

bool KVXIsBlank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

std::string KVXStringOfChar(int count, char ch) { return std::string(count > 0 ? count : 0, ch); }

std::string KVXTrim(const std::string& s) { return fw::Trim(s); }

std::string KVXReplaceChar(const std::string& s, char oldChar, char newChar) {
    std::string result = s;
    std::replace(result.begin(), result.end(), oldChar, newChar);
    return result;
}

std::string KVXJoinStrings(const std::vector<std::string>& strings, char separator) {
    std::string result;
    for (size_t i = 0; i < strings.size(); ++i) {
        if (i) result += separator;
        result += strings[i];
    }
    return result;
}

std::string KVXJoinIntegers(const std::vector<int>& values, char separator) {
    std::vector<std::string> strings;
    for (int v : values) strings.push_back(std::to_string(v));
    return KVXJoinStrings(strings, separator);
}

std::string KVXAddBackslash(const std::string& s) {
    if (!s.empty() && s.back() == '\\') return s;
    return s + '\\';
}

std::string KVXRemoveBackslash(const std::string& s) {
    if (!KVXIsBlank(s) && s.back() == '\\') return s.substr(0, s.size() - 1);
    return s;
}

namespace {
TKVXFolderSource& Folders() {
    static TKVXFolderSource source;
    return source;
}
}  // namespace

void KVXSetFolderSource(TKVXFolderSource source) { Folders() = std::move(source); }

std::string KVXProgramPath() {
    const auto& f = Folders().ProgramPath;
    return f ? f() : fw::HostSeam().ExeName();
}

std::string KVXProgramFolder() { return KVXAddBackslash(fw::ExtractFileDir(KVXProgramPath())); }

std::string KVXWindowsFolder() {
    const auto& f = Folders().WindowsFolder;
    return f ? f() : KVXRemoveBackslash(KVXProgramFolder());
}

std::string KVXSystemFolder() {
    const auto& f = Folders().SystemFolder;
    return f ? f() : KVXRemoveBackslash(KVXProgramFolder());
}

std::string KVXPrefixFolder(TKVXPathPrefix prefix, bool withBackslash) {
    std::string folder;
    switch (prefix) {
    case TKVXPathPrefix::ppWindows: folder = KVXWindowsFolder(); break;
    case TKVXPathPrefix::ppSystem: folder = KVXSystemFolder(); break;
    case TKVXPathPrefix::ppProgram: folder = KVXProgramFolder(); break;
    case TKVXPathPrefix::ppFixed: return std::string();
    }
    return withBackslash ? KVXAddBackslash(folder) : KVXRemoveBackslash(folder);
}

std::string KVXShortenPath(const std::string& path, int maxLength) {
    std::string drive;
    std::string rest = path;
    if (path.size() >= 2 && path[1] == ':') {
        drive = path.substr(0, 2);
        rest = path.substr(2);
    }
    const size_t slash = rest.find_last_of('\\');
    std::string folder = slash == std::string::npos ? std::string() : rest.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? rest : rest.substr(slash + 1);

    std::string result = path;
    const size_t max = maxLength > 0 ? static_cast<size_t>(maxLength) : 0;
    while ((!drive.empty() || !folder.empty()) && result.size() > max) {
        if (folder == "\\...\\") {
            drive.clear();
            folder = "...\\";
        } else if (!folder.empty()) {
            if (folder == "\\") {
                folder.clear();
            } else {
                const bool lead = folder[0] == '\\';
                if (lead) folder.erase(0, 1);
                if (folder.compare(0, 4, "...\\") == 0) folder.erase(0, 4);
                const size_t cut = folder.find('\\');
                folder = cut == std::string::npos ? std::string() : "...\\" + folder.substr(cut + 1);
                if (lead && !folder.empty()) folder.insert(0, "\\");
            }
        } else {
            drive.clear();
        }
        result = drive + folder + name;
    }
    return result;
}

}  // namespace kvx
