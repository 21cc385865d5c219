// The installed seams and the helpers every seam implementation shares.
#include "framework/core/platform.h"

#include <cctype>

#include "framework/core/exceptions.h"

namespace fw {

namespace {

FileSystem* gFs = nullptr;
CodePage* gCp = nullptr;
Clock* gClock = nullptr;
Host* gHost = nullptr;
RegistryBackend* gRegistry = nullptr;
Resources* gResources = nullptr;
Locale* gLocale = nullptr;
ProfileStore* gProfiles = nullptr;

[[maybe_unused]] [[noreturn]] void NotInstalled(const char* seam) {
    throw Exception(std::string("No ") + seam + " seam is installed");
}

class FixedLocale : public Locale {
public:
    LocaleInfo Info() override { return LocaleInfo{}; }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Staged files by the seam's own calls: a named temporary file beside the target.

std::string StagedFolder(const std::string& target) {
    const size_t cut = target.find_last_of("\\/:");
    return cut == std::string::npos ? std::string(".") : target.substr(0, cut + 1);
}

bool FileSystem::CreateStaged(StagedFile& staged) {
    staged.handle = kInvalidFile;
    staged.vanishes = false;
    staged.name = TempFileName(StagedFolder(staged.target), staged.prefix);
    if (staged.name.empty()) return false;
    staged.handle = Open(staged.name, FileAccess::ReadWrite, FileShare::Exclusive, FileCreate::OpenExisting);
    if (staged.handle != kInvalidFile) return true;
    DeleteFile(staged.name);
    staged.name.clear();
    return false;
}

bool FileSystem::CommitStaged(StagedFile& staged) {
    const bool flushed = Flush(staged.handle);
    Close(staged.handle);
    staged.handle = kInvalidFile;
    if (flushed && MoveFile(staged.name, staged.target, true)) {
        staged.name.clear();
        return true;
    }
    DeleteFile(staged.name);
    staged.name.clear();
    return false;
}

void FileSystem::DiscardStaged(StagedFile& staged) {
    if (staged.handle != kInvalidFile) Close(staged.handle);
    staged.handle = kInvalidFile;
    if (!staged.name.empty() && !staged.vanishes) DeleteFile(staged.name);
    staged.name.clear();
}

#ifdef _WIN32
// Windows programs install the Win32 seams; the file system, clock, host and registry have no
// portable default there.
FileSystem& Fs() { return gFs ? *gFs : (NotInstalled("file system"), *gFs); }
Clock& Clk() { return gClock ? *gClock : (NotInstalled("clock"), *gClock); }
Host& HostSeam() { return gHost ? *gHost : (NotInstalled("host"), *gHost); }
RegistryBackend& Registry() { return gRegistry ? *gRegistry : (NotInstalled("registry"), *gRegistry); }
#else
Clock& PosixClock();
Host& NativeHost();
FileSystem& Fs() { return gFs ? *gFs : PosixFileSystem(); }
Clock& Clk() { return gClock ? *gClock : PosixClock(); }
Host& HostSeam() { return gHost ? *gHost : NativeHost(); }
RegistryBackend& Registry() { return gRegistry ? *gRegistry : MemoryRegistry(); }
#endif

CodePage& Cp() { return gCp ? *gCp : TableCodePage(); }
Resources& Res() { return gResources ? *gResources : TableResources(); }
Locale& Loc() {
    static FixedLocale fixed;
    return gLocale ? *gLocale : fixed;
}

FileHandle FileSystem::CreateOutput(const std::string& path, FileShare share, bool& existed, int* error) {
    FileEntry entry;
    existed = Stat(path, entry);
    return Open(path, FileAccess::Write, share, FileCreate::CreateAlways, error);
}

bool FileSystem::SetHandleAttributes(FileHandle, const std::string& path, uint32_t attr) {
    return SetAttributes(path, attr);
}

void SetFileSystem(FileSystem* fs) { gFs = fs; }
void SetCodePage(CodePage* cp) { gCp = cp; }
void SetClock(Clock* clock) { gClock = clock; }
void SetHost(Host* host) { gHost = host; }
void SetRegistryBackend(RegistryBackend* registry) { gRegistry = registry; }
void SetResources(Resources* resources) { gResources = resources; }
void SetLocale(Locale* locale) { gLocale = locale; }
void SetProfileStore(ProfileStore* profiles) { gProfiles = profiles; }
ProfileStore& Profiles() { return gProfiles ? *gProfiles : TextProfileStore(); }

// ---------------------------------------------------------------------------------------------

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool Match(const char* n, const char* m) {
    while (*m) {
        if (*m == '*') {
            while (*m == '*') ++m;
            if (!*m) return true;
            for (const char* p = n; ; ++p) {
                if (Match(p, m)) return true;
                if (!*p) return false;
            }
        }
        if (!*n) return false;
        if (*m != '?' && Upper(*m) != Upper(*n)) return false;
        ++m;
        ++n;
    }
    return *n == '\0';
}

}  // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask.empty()) return false;
    if (Match(name.c_str(), mask.c_str())) return true;
    // "name.*" also matches "name", and "*.*" every name without a dot.
    if (mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos)
        return Match(name.c_str(), mask.substr(0, mask.size() - 2).c_str());
    return false;
}

// ---------------------------------------------------------------------------------------------
// Calendar arithmetic on the proleptic Gregorian calendar (days counted from 1970-01-01).

int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int64_t SystemTimeToFileTime(const SystemTime& t) {
    const int64_t days = DaysFromCivil(t.year, t.month, t.day);
    const int64_t ms = ((days * 24 + t.hour) * 60 + t.minute) * 60000LL + t.second * 1000LL + t.millisecond;
    return ms * 10000 + kFileTimeUnixEpoch;
}

SystemTime FileTimeToSystemTime(int64_t fileTime) {
    const int64_t ms = FloorDiv(fileTime - kFileTimeUnixEpoch, 10000);
    const int64_t days = FloorDiv(ms, 86400000LL);
    int64_t rest = ms - days * 86400000LL;
    SystemTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600000);
    rest %= 3600000;
    t.minute = static_cast<int>(rest / 60000);
    rest %= 60000;
    t.second = static_cast<int>(rest / 1000);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

//   DOS date (high word)            DOS time (low word)
//   15..9   8..5   4..0             15..11  10..5   4..0
//   year-1980 month day             hour    minute  second/2
uint32_t PackDosTime(const SystemTime& t) {
    if (t.year < 1980 || t.year > 2107 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 ||
        t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
        return 0;
    const uint32_t date = static_cast<uint32_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
    const uint32_t time = static_cast<uint32_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
    return (date << 16) | time;
}

bool UnpackDosTime(uint32_t dos, SystemTime& t) {
    const uint32_t date = dos >> 16, time = dos & 0xFFFF;
    t.year = static_cast<int>(1980 + (date >> 9));
    t.month = static_cast<int>((date >> 5) & 15);
    t.day = static_cast<int>(date & 31);
    t.hour = static_cast<int>(time >> 11);
    t.minute = static_cast<int>((time >> 5) & 63);
    t.second = static_cast<int>((time & 31) * 2);
    t.millisecond = 0;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour > 23 || t.minute > 59 || t.second > 59) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    return t.day <= kDays[t.month - 1] + (t.month == 2 && leap);
}

uint32_t FileTimeToDosTime(int64_t utcFileTime) {
    const int64_t local = utcFileTime - static_cast<int64_t>(Clk().BiasMinutes(utcFileTime)) * 600000000LL;
    SystemTime t = FileTimeToSystemTime(local);
    // Odd seconds fall to the 2-second grid below, so a DOS time never lies after the file's time.
    return PackDosTime(t);
}

int64_t DosTimeToFileTime(uint32_t dosTime) {
    SystemTime t;
    if (!UnpackDosTime(dosTime, t)) return 0;
    const int64_t local = SystemTimeToFileTime(t);
    // The bias at the local moment taken as UTC is right except within the hour of a change.
    int64_t utc = local + static_cast<int64_t>(Clk().BiasMinutes(local)) * 600000000LL;
    return local + static_cast<int64_t>(Clk().BiasMinutes(utc)) * 600000000LL;
}

}  // namespace fw
