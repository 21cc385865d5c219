#include "framework/core/sysutils.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "framework/core/exceptions.h"

namespace fw {

// ---- Text ------------------------------------------------------------------------------------

namespace {

// Code page 1252 case pairs: ASCII letters, the Latin-1 letters 0xC0..0xDE / 0xE0..0xFE without the
// multiplication and division signs, and the four pairs in 0x80..0x9F (S caron, OE, Z caron, Y diaeresis).
struct CaseTables {
    std::array<char, 256> upper{};
    std::array<char, 256> lower{};
    CaseTables() {
        for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<char>(i);
        auto pair = [this](int up, int low) {
            upper[low] = static_cast<char>(up);
            lower[up] = static_cast<char>(low);
        };
        for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7) pair(c, c + 32);
        pair(0x8A, 0x9A);
        pair(0x8C, 0x9C);
        pair(0x8E, 0x9E);
        pair(0x9F, 0xFF);
    }
};

const CaseTables& Cases() {
    static const CaseTables tables;
    return tables;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string Trim(const std::string& s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

char AnsiUpperChar(char c) { return Cases().upper[static_cast<unsigned char>(c)]; }
char AnsiLowerChar(char c) { return Cases().lower[static_cast<unsigned char>(c)]; }

std::string UpperCase(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = AnsiUpperChar(c);
    return out;
}

std::string LowerCase(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = AnsiLowerChar(c);
    return out;
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AnsiUpperChar(a[i]) != AnsiUpperChar(b[i])) return false;
    return true;
}

int CompareText(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = static_cast<unsigned char>(AnsiUpperChar(a[i]));
        const int y = static_cast<unsigned char>(AnsiUpperChar(b[i]));
        if (x != y) return x - y;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int Locale::CompareText(const std::string& a, const std::string& b) { return fw::CompareText(a, b); }

int AnsiCompareText(const std::string& a, const std::string& b) { return Loc().CompareText(a, b); }

int CompareStr(const std::string& a, const std::string& b) {
    const int r = a.compare(b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(int64_t value, int digits) {
    uint64_t bits = static_cast<uint64_t>(value);
    if (value < 0 && value >= std::numeric_limits<int32_t>::min()) bits &= 0xFFFFFFFFu;
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), kHex[bits & 15]);
        bits >>= 4;
    } while (bits);
    if (digits > 32) digits = 32;
    if (static_cast<int>(out.size()) < digits) out.insert(0, static_cast<size_t>(digits) - out.size(), '0');
    return out;
}

bool TryStrToInt64(const std::string& s, int64_t& value) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    uint64_t acc = 0;
    const uint64_t limit = base == 16 ? std::numeric_limits<uint64_t>::max()
                                      : static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (acc > (limit - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) return false;
        acc = acc * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    value = negative ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
    return true;
}

int64_t StrToInt64(const std::string& s) {
    int64_t v = 0;
    if (!TryStrToInt64(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int StrToInt(const std::string& s) {
    int64_t v = 0;
    // Hexadecimal texts may give the 32-bit pattern of a negative number ("$FFFFFFFF" is -1).
    if (!TryStrToInt64(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    const bool hex = s.find_first_of("$xX") != std::string::npos;
    if (hex && v > std::numeric_limits<int32_t>::max() && v <= 0xFFFFFFFFLL) return static_cast<int32_t>(static_cast<uint32_t>(v));
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw EConvertError("'" + s + "' is not a valid integer value");
    return static_cast<int>(v);
}

int StrToIntDef(const std::string& s, int def) {
    try {
        return StrToInt(s);
    } catch (const EConvertError&) {
        return def;
    }
}

int64_t StrToInt64Def(const std::string& s, int64_t def) {
    int64_t v = 0;
    return TryStrToInt64(s, v) ? v : def;
}

std::string QuotedStr(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string out;
    size_t i = 0;
    for (size_t at; (at = s.find(from, i)) != std::string::npos; i = at + from.size()) out += s.substr(i, at - i) + to;
    return out + s.substr(i);
}

// ---- Paths -------------------------------------------------------------------------------------

bool IsPathDelimiter(char c) { return c == '\\' || c == '/'; }

namespace {

// The index just after the last "\", "/" or ":" (0 when there is none).
size_t NameStart(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiter(path[i - 1]) || path[i - 1] == ':') return i;
    return 0;
}

}  // namespace

std::string ExtractFilePath(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string ExtractFileDir(const std::string& path) {
    size_t n = NameStart(path);
    // Keep the delimiter of a root ("C:\", "\") and of a drive ("C:").
    if (n > 0 && IsPathDelimiter(path[n - 1]) && n > 1 && !IsPathDelimiter(path[n - 2]) && path[n - 2] != ':') --n;
    return path.substr(0, n);
}

std::string ExtractFileName(const std::string& path) { return path.substr(NameStart(path)); }

std::string ExtractFileExt(const std::string& path) {
    const size_t start = NameStart(path);
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < start ? std::string() : path.substr(dot);
}

std::string ExtractFileDrive(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (path.size() >= 2 && IsPathDelimiter(path[0]) && IsPathDelimiter(path[1])) {
        // "\\server\share": up to the delimiter after the share name.
        size_t i = 2, parts = 0;
        while (i < path.size()) {
            if (IsPathDelimiter(path[i]) && ++parts == 2) break;
            ++i;
        }
        return path.substr(0, i);
    }
    return std::string();
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    const size_t start = NameStart(path);
    const size_t dot = path.rfind('.');
    return (dot == std::string::npos || dot < start ? path : path.substr(0, dot)) + ext;
}

std::string ExpandFileName(const std::string& path) { return Fs().FullPathName(path); }

std::string IncludeTrailingBackslash(const std::string& path) {
    if (!path.empty() && IsPathDelimiter(path.back())) return path;
    return path + "\\";
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    if (!path.empty() && IsPathDelimiter(path.back())) return path.substr(0, path.size() - 1);
    return path;
}

// ---- Files -------------------------------------------------------------------------------------

bool FileExists(const std::string& path) {
    FileEntry e;
    return !path.empty() && Fs().Stat(path, e) && !(e.attr & faDirectory);
}

bool DirectoryExists(const std::string& path) {
    FileEntry e;
    return !path.empty() && Fs().Stat(path, e) && (e.attr & faDirectory);
}

bool ForceDirectories(const std::string& path) {
    const std::string dir = ExcludeTrailingBackslash(path);
    if (dir.empty()) return false;
    if (DirectoryExists(dir) || (dir.size() == 2 && dir[1] == ':')) return true;
    const std::string parent = ExtractFilePath(dir);
    if (!parent.empty() && parent != dir && ExcludeTrailingBackslash(parent) != dir &&
        !ForceDirectories(parent))
        return false;
    return Fs().CreateDirectory(dir) || DirectoryExists(dir);
}

bool CreateDir(const std::string& path) { return Fs().CreateDirectory(path); }
bool RemoveDir(const std::string& path) { return Fs().RemoveDirectory(path); }
bool DeleteFile(const std::string& path) { return Fs().DeleteFile(path); }
bool RenameFile(const std::string& from, const std::string& to) { return Fs().MoveFile(from, to, false); }
std::string GetCurrentDir() { return Fs().GetCurrentDir(); }
bool SetCurrentDir(const std::string& path) { return Fs().SetCurrentDir(path); }

int32_t FileAge(const std::string& path) {
    FileEntry e;
    if (!Fs().Stat(path, e) || (e.attr & faDirectory)) return -1;
    return static_cast<int32_t>(e.dosTime);
}

int FileSetDate(const std::string& path, int32_t dosTime) {
    const int64_t ft = DosTimeToFileTime(static_cast<uint32_t>(dosTime));
    if (ft == 0) return 87;  // invalid parameter
    return Fs().SetFileTime(path, ft) ? 0 : Fs().LastError();
}

int32_t FileGetAttr(const std::string& path) {
    FileEntry e;
    return Fs().Stat(path, e) ? static_cast<int32_t>(e.attr) : -1;
}

int FileSetAttr(const std::string& path, int32_t attr) {
    return Fs().SetAttributes(path, static_cast<uint32_t>(attr)) ? 0 : Fs().LastError();
}

int64_t DiskFree(const std::string& path) { return Fs().FreeSpace(path); }

// ---- Folder listings ---------------------------------------------------------------------------

bool FindAttrMatches(uint32_t attr, uint32_t mask) {
    constexpr uint32_t kSpecial = faHidden | faSysFile | faVolumeID | faDirectory;
    return (attr & kSpecial & ~mask) == 0;
}

namespace {

int NextMatch(TSearchRec& rec) {
    while (rec.next_ < rec.entries_.size()) {
        const FileEntry& e = rec.entries_[rec.next_++];
        if (!FindAttrMatches(e.attr, ~static_cast<uint32_t>(rec.ExcludeAttr))) continue;
        rec.Name = e.name;
        rec.Attr = static_cast<int32_t>(e.attr);
        rec.Time = static_cast<int32_t>(e.dosTime);
        rec.Size = e.size;
        return 0;
    }
    return 18;  // no more files
}

}  // namespace

int FindFirst(const std::string& path, int32_t attr, TSearchRec& rec) {
    rec = TSearchRec{};
    rec.ExcludeAttr = static_cast<int32_t>(~static_cast<uint32_t>(attr) & (faHidden | faSysFile | faVolumeID | faDirectory));
    std::string folder = ExtractFilePath(path);
    const std::string mask = ExtractFileName(path);
    if (!Fs().List(folder.empty() ? std::string(".") : folder, mask, rec.entries_)) {
        const int error = Fs().LastError();
        return error == 0 ? 3 : error;
    }
    const int r = NextMatch(rec);
    return r == 18 ? 2 : r;
}

int FindNext(TSearchRec& rec) { return NextMatch(rec); }

void FindClose(TSearchRec& rec) {
    rec.entries_.clear();
    rec.entries_.shrink_to_fit();
    rec.next_ = 0;
}

// ---- Command line ------------------------------------------------------------------------------

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> params;
    size_t i = 0;
    const size_t n = commandLine.size();
    for (;;) {
        while (i < n && IsBlank(commandLine[i])) ++i;
        if (i >= n) break;
        std::string param;
        bool quoted = false;
        for (; i < n && (quoted || !IsBlank(commandLine[i])); ++i) {
            if (commandLine[i] == '"')
                quoted = !quoted;
            else
                param += commandLine[i];
        }
        params.push_back(param);
    }
    return params;
}

int ParamCount() {
    const std::vector<std::string> params = SplitCommandLine(HostSeam().CommandLine());
    return params.empty() ? 0 : static_cast<int>(params.size()) - 1;
}

std::string ParamStr(int index) {
    if (index == 0) return HostSeam().ExeName();
    const std::vector<std::string> params = SplitCommandLine(HostSeam().CommandLine());
    return index > 0 && index < static_cast<int>(params.size()) ? params[static_cast<size_t>(index)] : std::string();
}

// ---- Numbers -----------------------------------------------------------------------------------

int64_t Round(double value) {
    const double r = std::nearbyint(value);  // the default rounding mode sends halves to even
    if (!(r >= -9.2233720368547758e18 && r < 9.2233720368547758e18)) throw EInvalidOperation("Invalid floating point operation");
    return static_cast<int64_t>(r);
}

int64_t Trunc(double value) {
    if (!(value > -9.2233720368547758e18 && value < 9.2233720368547758e18)) throw EInvalidOperation("Invalid floating point operation");
    return static_cast<int64_t>(value);
}

uint32_t RandSeed = 0;

namespace {

uint32_t NextRandom() {
    RandSeed = RandSeed * 134775813u + 1u;
    return RandSeed;
}

}  // namespace

void Randomize() {
    const SystemTime t = Clk().LocalNow();
    RandSeed = static_cast<uint32_t>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond) ^
               static_cast<uint32_t>(Clk().TickCount());
}

int Random(int range) {
    if (range <= 0) return 0;
    return static_cast<int>((static_cast<uint64_t>(NextRandom()) * static_cast<uint64_t>(range)) >> 32);
}

double Random() { return static_cast<double>(NextRandom()) / 4294967296.0; }

}  // namespace fw
