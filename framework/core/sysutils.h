// Run-time routines: text, numbers, paths, files and folder listings, the command line, rounding and
// random numbers. Text is 8-bit ANSI (code page 1252). Case rules use one fixed table of that code
// page, the same natively and on Windows, so case-insensitive equality never depends on the locale.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/platform.h"

namespace fw {

// ---- Text ------------------------------------------------------------------------------------

// Remove characters up to and including the blank (control characters too) at either end.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// Upper and lower case through the fixed 1252 table (letters with accents included; "ß" and "µ" stay).
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
inline std::string AnsiUpperCase(const std::string& s) { return UpperCase(s); }
inline std::string AnsiLowerCase(const std::string& s) { return LowerCase(s); }

// Equality ignoring case (the table above).
bool SameText(const std::string& a, const std::string& b);
inline bool AnsiSameText(const std::string& a, const std::string& b) { return SameText(a, b); }
// Ordering ignoring case: byte order of the table's upper case.
int CompareText(const std::string& a, const std::string& b);
// Ordering ignoring case as the user's locale sorts (the Locale seam): <0, 0, >0.
int AnsiCompareText(const std::string& a, const std::string& b);
// Case-sensitive ordering: byte order.
int CompareStr(const std::string& a, const std::string& b);

std::string IntToStr(int64_t value);
// Upper-case hexadecimal, at least digits digits; a negative value shows its 32-bit two's complement
// when it fits in 32 bits, else its 64-bit one.
std::string IntToHex(int64_t value, int digits);
// Decimal with an optional sign, or hexadecimal after "$" or "0x"; blanks before are allowed.
// Raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(const std::string& s);
int64_t StrToInt64(const std::string& s);
int StrToIntDef(const std::string& s, int def);
int64_t StrToInt64Def(const std::string& s, int64_t def);
bool TryStrToInt64(const std::string& s, int64_t& value);
// The text between single quotes, with each quote inside doubled.
std::string QuotedStr(const std::string& s);
std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to);

// ---- Paths (Windows rules: "\" separates, "X:" names a drive; "/" is taken as a separator too) ----

bool IsPathDelimiter(char c);
std::string ExtractFilePath(const std::string& path);  // up to and including the last "\" or ":"
std::string ExtractFileDir(const std::string& path);   // the same without a trailing "\" (unless a root)
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);   // from the last "." of the name, "." included
std::string ExtractFileDrive(const std::string& path); // "C:" or "\\server\share", else ""
std::string ChangeFileExt(const std::string& path, const std::string& ext);
std::string ExpandFileName(const std::string& path);
std::string IncludeTrailingBackslash(const std::string& path);
std::string ExcludeTrailingBackslash(const std::string& path);

// ---- Files -------------------------------------------------------------------------------------

bool FileExists(const std::string& path);       // a file, not a folder
bool DirectoryExists(const std::string& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);
bool CreateDir(const std::string& path);
bool RemoveDir(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& path);
// The file's last-write time as a DOS date-time (local), or -1 when it does not exist.
int32_t FileAge(const std::string& path);
// Sets the last-write time from a DOS date-time; 0 or a system error code.
int FileSetDate(const std::string& path, int32_t dosTime);
// The attribute word, or -1.
int32_t FileGetAttr(const std::string& path);
// 0 or a system error code.
int FileSetAttr(const std::string& path, int32_t attr);
int64_t DiskFree(const std::string& path);

// ---- Folder listings ---------------------------------------------------------------------------

struct TSearchRec {
    int32_t Time = 0;  // DOS date-time, local
    int64_t Size = 0;
    int32_t Attr = 0;
    std::string Name;
    int32_t ExcludeAttr = 0;
    // The listing behind FindNext.
    std::vector<FileEntry> entries_;
    size_t next_ = 0;
};

// Whether an entry with attributes attr is listed for the requested mask: hidden, system, volume-label
// and folder entries are left out unless the mask asks for them; read-only and archive never exclude.
bool FindAttrMatches(uint32_t attr, uint32_t mask);
// path is a folder and a wildcard mask ("C:\TEMP\*.*"). 0 on success, else a system error code
// (2 nothing found, 3 no such folder, 18 no more files).
int FindFirst(const std::string& path, int32_t attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// ---- Command line ------------------------------------------------------------------------------

// Blanks separate parameters; a double quote toggles quoting and is dropped; backslashes are literal,
// so "-sC:\TEMP\" is one parameter ending in "\". ParamStr(0) is the program's full path.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
int ParamCount();
std::string ParamStr(int index);

// ---- Numbers -----------------------------------------------------------------------------------

// Rounds to the nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4).
int64_t Round(double value);
int64_t Trunc(double value);
// A linear congruential generator with a public seed, so runs can be repeated.
extern uint32_t RandSeed;
void Randomize();
int Random(int range);  // 0 <= result < range (0 when range <= 0)
double Random();        // 0 <= result < 1

}  // namespace fw
