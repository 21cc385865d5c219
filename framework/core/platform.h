// The seams through which portable code reaches the operating system. Each seam is an abstract class;
// a program installs one implementation of each at start (natively the POSIX and in-memory ones are
// installed by default; Windows programs call fw::InstallWin32Platform() from framework/win32). All
// text is 8-bit ANSI (code page 1252); paths may use "\" or "/" separators.
//
// Some method names here (DeleteFile, MoveFile, MessageBox, ...) are also macros of <windows.h>:
// Win32 code includes the system headers through framework/win32/winapi.h, which drops them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// ---------------------------------------------------------------------------------------------
// File attributes, with the values of the Windows attribute word.
constexpr uint32_t faReadOnly = 0x01;
constexpr uint32_t faHidden = 0x02;
constexpr uint32_t faSysFile = 0x04;
constexpr uint32_t faVolumeID = 0x08;
constexpr uint32_t faDirectory = 0x10;
constexpr uint32_t faArchive = 0x20;
constexpr uint32_t faNormal = 0x80;
constexpr uint32_t faAnyFile = 0x3F;

// An open file. Natively a POSIX descriptor, on Win32 a HANDLE; kInvalidFile when none.
using FileHandle = std::intptr_t;
constexpr FileHandle kInvalidFile = -1;

enum class FileAccess { Read, Write, ReadWrite };
// What other openers may do while the file is open. Natively share modes are not enforced.
enum class FileShare { Compat, Exclusive, DenyWrite, DenyRead, DenyNone };
enum class FileCreate {
    OpenExisting,  // fails when missing
    CreateAlways,  // creates or truncates
    CreateNew,     // fails when present
    OpenAlways,    // opens or creates
};
enum class SeekOrigin { Begin = 0, Current = 1, End = 2 };

// One entry of a folder listing. Name has no folder part.
struct FileEntry {
    std::string name;
    uint32_t attr = 0;
    uint32_t dosTime = 0;     // local time, DOS date in the high word, time in the low word
    int64_t fileTime = 0;     // last write, UTC, 100 ns units since 1601-01-01 (Windows FILETIME)
    int64_t size = 0;
};

// A file being written to replace another one (FileSystem::CreateStaged).
struct StagedFile {
    std::string target;   // the file it replaces, absolute
    std::string prefix;   // the start of its temporary name
    FileHandle handle = kInvalidFile;
    std::string name;     // its name until it is committed; empty when it has none
    bool vanishes = false;  // the system removes it when its handle closes without a commit
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opening and handle I/O. Open returns kInvalidFile and sets error (a Windows-style error code:
    // 2 not found, 3 path not found, 5 access denied, 32 sharing violation, 80 file exists) on failure.
    virtual FileHandle Open(const std::string& path, FileAccess access, FileShare share, FileCreate create,
                            int* error = nullptr) = 0;
    virtual void Close(FileHandle h) = 0;
    // Both return the count moved, or -1 on an error.
    virtual int64_t Read(FileHandle h, void* buffer, int64_t count) = 0;
    virtual int64_t Write(FileHandle h, const void* buffer, int64_t count) = 0;
    // Returns the new position, or -1.
    virtual int64_t Seek(FileHandle h, int64_t offset, SeekOrigin origin) = 0;
    virtual bool SetSize(FileHandle h, int64_t size) = 0;
    virtual bool Flush(FileHandle h) = 0;
    virtual bool GetHandleTime(FileHandle h, int64_t& fileTime) = 0;
    virtual bool SetHandleTime(FileHandle h, int64_t fileTime) = 0;

    // Opens path for writing as Open(path, FileAccess::Write, share, FileCreate::CreateAlways) does,
    // with one request to the system where it allows (a new file in an existing folder), and tells
    // whether a file was there before. The default asks Stat first.
    virtual FileHandle CreateOutput(const std::string& path, FileShare share, bool& existed, int* error = nullptr);
    // Sets the attributes of a file open for writing through its handle; path names the same file
    // for the default, which sets them by name.
    virtual bool SetHandleAttributes(FileHandle h, const std::string& path, uint32_t attr);

    // Names. Stat fills entry (name = last component) and fails when the path names nothing.
    virtual bool Stat(const std::string& path, FileEntry& entry) = 0;
    virtual bool SetAttributes(const std::string& path, uint32_t attr) = 0;
    virtual bool SetFileTime(const std::string& path, int64_t fileTime) = 0;
    virtual bool DeleteFile(const std::string& path) = 0;
    // Moves a file or folder; replace allows overwriting an existing file.
    virtual bool MoveFile(const std::string& from, const std::string& to, bool replace) = 0;
    virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;
    virtual bool RemoveDirectory(const std::string& path) = 0;

    // Lists the entries of folder matching a DOS wildcard mask ("*.*" matches every name), including
    // "." and ".." where the system reports them. No attribute filtering happens here.
    virtual bool List(const std::string& folder, const std::string& mask, std::vector<FileEntry>& out) = 0;

    virtual std::string GetCurrentDir() = 0;
    virtual bool SetCurrentDir(const std::string& path) = 0;
    // An absolute, normalised form of path (relative to the current folder).
    virtual std::string FullPathName(const std::string& path) = 0;
    // The folder for temporary files, with a trailing separator.
    virtual std::string TempFolder() = 0;
    // Creates a new empty file with a unique name "<prefix>XXXX.tmp" in folder and returns its name.
    virtual std::string TempFileName(const std::string& folder, const std::string& prefix) = 0;
    // Free bytes on the volume holding path, or -1 when unknown.
    virtual int64_t FreeSpace(const std::string& path) = 0;
    // The last error of this seam, Windows-style (see Open).
    virtual int LastError() = 0;

    // The replacement of a file while it is written (see StagedFile): made in the target's own folder,
    // so that putting it in place never copies across volumes. The defaults build it from the calls
    // above as a named "<prefix>XXXX.tmp" file; the system seams make a file that vanishes with its
    // handle, so that a program killed while writing leaves nothing behind.
    // Fills handle, name and vanishes from target (an absolute path) and prefix; false on failure.
    virtual bool CreateStaged(StagedFile& staged);
    // Forces the data to disk and puts the file in the target's place in one step, replacing it. The
    // handle is closed either way; on failure the staged file is gone and the target is as it was.
    virtual bool CommitStaged(StagedFile& staged);
    // Closes the handle and removes the staged file.
    virtual void DiscardStaged(StagedFile& staged);
};

// ---------------------------------------------------------------------------------------------
// OEM <-> ANSI conversion. Characters with no equivalent take the system's best fit or "?".
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::string OemToAnsi(const std::string& text) = 0;
    virtual std::string AnsiToOem(const std::string& text) = 0;
    virtual int AnsiCodePage() = 0;  // 1252 natively
    virtual int OemCodePage() = 0;   // 437 natively
    // UTF-8 text in the ANSI code page, without best fit: a character the code page lacks, and every
    // malformed sequence, becomes "_". Natively the 1252 table.
    virtual std::string Utf8ToAnsi(const std::string& text);
};

// The code points of UTF-8 text. A malformed, overlong or surrogate sequence gives U+FFFD for its
// first byte and decoding goes on after it.
std::u32string DecodeUtf8(std::string_view text);

// ---------------------------------------------------------------------------------------------
// A calendar time broken into fields, as the system reports it.
struct SystemTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes back.
    virtual uint64_t TickCount() = 0;
    virtual SystemTime LocalNow() = 0;
    virtual SystemTime UtcNow() = 0;
    // Minutes to add to local time to get UTC at the given UTC moment (Windows sign: UTC = local + bias).
    virtual int BiasMinutes(int64_t utcFileTime) = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// ---------------------------------------------------------------------------------------------
// The program's presence on the desktop. Natively message boxes return a scripted answer.
class Host {
public:
    virtual ~Host() = default;
    // Lets queued window messages run; a no-op natively.
    virtual void PumpMessages() = 0;
    // flags and the result use the Win32 MB_* and ID* values (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7).
    virtual int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
    virtual std::string Title() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The raw command line (program name first, quoted where it holds blanks) and the full path of
    // the running program.
    virtual std::string CommandLine() = 0;
    virtual std::string ExeName() = 0;
};

// ---------------------------------------------------------------------------------------------
// Registry values keep their Win32 types.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

// Root keys carry the numbers of the Win32 predefined handles.
using RegRoot = uint32_t;
constexpr RegRoot kHKeyClassesRoot = 0x80000000u;
constexpr RegRoot kHKeyCurrentUser = 0x80000001u;
constexpr RegRoot kHKeyLocalMachine = 0x80000002u;
constexpr RegRoot kHKeyUsers = 0x80000003u;
constexpr RegRoot kHKeyCurrentConfig = 0x80000005u;

struct RegKeyInfo {
    int numSubKeys = 0;
    int maxSubKeyLen = 0;
    int numValues = 0;
    int maxValueLen = 0;
    int maxDataLen = 0;
    int64_t lastWriteTime = 0;  // FILETIME units
};

// Keys are named by root and a path of "\"-separated names, compared ignoring case. Every call opens
// what it needs and closes it again, so no handle outlives a call.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual bool KeyExists(RegRoot root, const std::string& path) = 0;
    // Creates the key and any missing parents; true when the key exists afterwards.
    virtual bool CreateKey(RegRoot root, const std::string& path) = 0;
    // Deletes one key without subkeys (callers delete depth first).
    virtual bool DeleteKey(RegRoot root, const std::string& path) = 0;
    // "" is the key's default value.
    virtual bool QueryValue(RegRoot root, const std::string& path, const std::string& name, uint32_t& type,
                            std::string& data) = 0;
    virtual bool SetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                          const std::string& data) = 0;
    virtual bool DeleteValue(RegRoot root, const std::string& path, const std::string& name) = 0;
    virtual bool EnumKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) = 0;
    virtual bool EnumValues(RegRoot root, const std::string& path, std::vector<std::string>& names) = 0;
    virtual bool KeyInfo(RegRoot root, const std::string& path, RegKeyInfo& info) = 0;
};

// ---------------------------------------------------------------------------------------------
// Resources linked into the program: RCDATA by name (forms are named after their class in upper case)
// and string-table entries by number. Natively RCDATA comes from a folder of files named like the
// resource, and strings from tables registered by code.
class Resources {
public:
    virtual ~Resources() = default;
    virtual bool FindRcData(const std::string& name, std::string& bytes) = 0;
    virtual bool FindString(int id, std::string& text) = 0;
};

// ---------------------------------------------------------------------------------------------
// Ini files ("profiles"): the system's profile functions on Win32, natively the portable parser of
// inifiles.h over the FileSystem seam. Reads strip blanks around names and values and one pair of
// matching quotes around a value; names compare ignoring case; the first of duplicates wins.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // False when the section or key does not exist.
    virtual bool ReadString(const std::string& file, const std::string& section, const std::string& key,
                            std::string& value) = 0;
    virtual bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // Key names of a section in file order (comment lines left out), and section names.
    virtual bool ReadKeys(const std::string& file, const std::string& section, std::vector<std::string>& keys) = 0;
    virtual bool ReadSections(const std::string& file, std::vector<std::string>& sections) = 0;
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;
    virtual bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) = 0;
    // Writes cached changes to disk (the system may cache; the portable store never does).
    virtual void Flush(const std::string& file) {}
};

// ---------------------------------------------------------------------------------------------
// What the user's locale says about dates and numbers; FormatSettings starts from it.
struct LocaleInfo {
    char dateSeparator = '/';
    char timeSeparator = ':';
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    std::string shortDateFormat = "m/d/yyyy";
    std::string longDateFormat = "dddd, mmmm d, yyyy";
    std::string shortTimeFormat = "h:nn AMPM";
    std::string longTimeFormat = "h:nn:ss AMPM";
    std::string timeAMString = "AM";
    std::string timePMString = "PM";
};

class Locale {
public:
    virtual ~Locale() = default;
    virtual LocaleInfo Info() = 0;
    // Orders two texts ignoring case: <0, 0 or >0. The default compares the upper-case forms of the
    // fixed 1252 table byte by byte; Win32 uses the system's linguistic comparison.
    virtual int CompareText(const std::string& a, const std::string& b);
};

// ---------------------------------------------------------------------------------------------
// The installed seams. Each accessor returns the installed object; natively the defaults are the
// POSIX ones, the in-memory registry and registered string tables. On Windows nothing is installed
// until InstallWin32Platform() runs, and an accessor raises fw::Exception then.
FileSystem& Fs();
CodePage& Cp();
Clock& Clk();
Host& HostSeam();
RegistryBackend& Registry();
Resources& Res();
Locale& Loc();
ProfileStore& Profiles();

// Installs a seam; the object must live until the program ends (or until replaced). nullptr returns
// to the default.
void SetFileSystem(FileSystem* fs);
void SetCodePage(CodePage* cp);
void SetClock(Clock* clock);
void SetHost(Host* host);
void SetRegistryBackend(RegistryBackend* registry);
void SetResources(Resources* resources);
void SetLocale(Locale* locale);
void SetProfileStore(ProfileStore* profiles);

// ---------------------------------------------------------------------------------------------
// Portable helpers that every implementation shares.

// The folder of a path up to and including its last separator ("\\", "/" or ":"); "." without one.
std::string StagedFolder(const std::string& target);

// Matches name against a DOS wildcard mask: "*" any run, "?" one character, case ignored, and a mask
// ending in ".*" also matches a name without extension ("*.*" matches every name).
bool MatchesMask(const std::string& name, const std::string& mask);

// FILETIME (UTC, 100 ns since 1601) <-> seconds since 1970.
constexpr int64_t kFileTimeUnixEpoch = 116444736000000000LL;
inline int64_t UnixToFileTime(int64_t seconds) { return seconds * 10000000LL + kFileTimeUnixEpoch; }
inline int64_t FileTimeToUnix(int64_t fileTime) { return (fileTime - kFileTimeUnixEpoch) / 10000000LL; }

// DOS date-time (date in the high word) <-> broken-down time. A DOS time has 2-second resolution; a
// field out of range gives false (and 0 for the packed form).
uint32_t PackDosTime(const SystemTime& t);
bool UnpackDosTime(uint32_t dos, SystemTime& t);

// UTC FILETIME <-> local DOS time through the installed Clock's bias.
uint32_t FileTimeToDosTime(int64_t utcFileTime);
int64_t DosTimeToFileTime(uint32_t dosTime);

// Proleptic Gregorian calendar: days counted from 1970-01-01 <-> year, month (1-12), day.
int64_t DaysFromCivil(int64_t y, int m, int d);
void CivilFromDays(int64_t z, int& y, int& m, int& d);

// Broken-down time <-> FILETIME with no zone change.
int64_t SystemTimeToFileTime(const SystemTime& t);
SystemTime FileTimeToSystemTime(int64_t fileTime);

// The code page tables: byte -> Unicode code point (the five bytes 1252 leaves unassigned map to the
// C1 controls of the same number, as the system's converter does).
extern const uint16_t kCp437ToUnicode[256];
extern const uint16_t kCp1252ToUnicode[256];
// The system's OEM (437) <-> ANSI (1252) answers for single bytes, best-fit characters included.
extern const uint8_t kOemToAnsi[256];
extern const uint8_t kAnsiToOem[256];

// Native defaults, usable in tests on every platform.
FileSystem& PosixFileSystem();         // not available on Windows builds (raises)
CodePage& TableCodePage();             // the 437/1252 tables above, best fit as Windows does it
RegistryBackend& MemoryRegistry();     // one process-wide in-memory tree (see memregistry.h)
Resources& TableResources();           // registered strings and an RCDATA folder
ProfileStore& TextProfileStore();      // the portable ini parser over the FileSystem seam

// Natively: registers string-table entries and the folder holding RCDATA files.
void RegisterString(int id, const std::string& text);
void SetRcDataFolder(const std::string& folder);
// Natively: the answer every message box gives (0 = the first button: OK, Yes, Abort or Retry).
void SetNativeMessageBoxAnswer(int id);

}  // namespace fw
