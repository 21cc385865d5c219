// Plain routines that every engine component uses: dates, names and paths, ratios and progress
// arithmetic. None of them touches the system; the ones that do live in file_routines.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// Days since 1899-12-30, the fraction being the time of day.
using TDateTime = double;

// 1 January 1980, the date of a missing or invalid DOS stamp.
inline constexpr TDateTime kDosEpoch = 29221.0;

// A DOS date and time (date in the high word) as a date-time; 0 and invalid stamps give kDosEpoch.
TDateTime DosDateToDateTime(uint32_t stamp);
// The DOS stamp of a date-time; 0 before 1980 or after 2107.
uint32_t DateTimeToDosDate(TDateTime value);

// The 32-bit value with its two 16-bit halves exchanged (formats that store the date first).
inline uint32_t SwapWords(uint32_t x) { return (x << 16) | (x >> 16); }

// Unix seconds as a local date-time. BiasMinutes is the time zone's bias (UTC = local + bias); a bias of
// at most 12 in magnitude is read as hours. 0 gives 1 January 1980 00:01:00.
TDateTime UnixToDateTime(int64_t seconds, int biasMinutes);

// Gregorian calendar helpers.
TDateTime EncodeDate(int year, int month, int day);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute, int& second);

// Names and paths. The engine's paths use "\"; "/" is read as "\" where a routine says so.
std::string AppendBackslash(std::string path);
std::string ToBackslashes(std::string path);
std::string ToSlashes(std::string path);
// The name part: everything after the last "\", "/" or ":".
std::string ExtractFileName(std::string_view path);
// The folder part, up to and including the last "\", "/" or ":".
std::string ExtractFilePath(std::string_view path);
// The extension with its dot ("" when the name part has none).
std::string ExtractFileExt(std::string_view path);
// ASCII upper case.
std::string UpperCase(std::string text);

// The octal value of the digits 0 to 7 in Text, in order; every other character is passed over.
int64_t OctalToInt(std::string_view text);
// The text cut at its first NUL.
void TrimAtNul(std::string& text);
inline int MinInt(int a, int b) { return a < b ? a : b; }

// True when Spec holds "*" or "?".
bool HasWildcards(std::string_view spec);

// Every character moved down (Subtract) or up by Amount, modulo 256.
std::string ShiftText(bool subtract, std::string text, int amount);

// Percentage saved: 0 when either size is 0 or nothing was saved; at least 1 when anything was.
uint8_t CalcRatio(int64_t packed, int64_t unpacked);

// round(Done x 100 / Total), halves to even, capped at 100; 0 when Total < 1. 64-bit exact.
uint8_t PercentOf(int64_t done, int64_t total);

}  // namespace engine
