#include "engine/core/routines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace engine {

namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Days from 1970-01-01 of a Gregorian date (proleptic, any year).
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as a date-time

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

}  // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    return double(DaysFromCivil(year, month, day) + kUnixEpochDays);
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    double days = std::floor(value);
    int64_t secs = std::llround((value - days) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        days += 1;
    }
    CivilFromDays(int64_t(days) - kUnixEpochDays, year, month, day);
    hour = int(secs / 3600);
    minute = int(secs / 60 % 60);
    second = int(secs % 60);
}

TDateTime DosDateToDateTime(uint32_t stamp)
{
    if (stamp == 0)
        return kDosEpoch;
    const int year = 1980 + int(stamp >> 25);
    const int month = int(stamp >> 21) & 15;
    const int day = int(stamp >> 16) & 31;
    const int hour = int(stamp >> 11) & 31;
    const int minute = int(stamp >> 5) & 63;
    const int second = int(stamp & 31) * 2;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59)
        return kDosEpoch;
    return EncodeDate(year, month, day) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

uint32_t DateTimeToDosDate(TDateTime value)
{
    int y, mo, d, h, mi, s;
    DecodeDateTime(value, y, mo, d, h, mi, s);
    if (y < 1980 || y > 2107)
        return 0;
    return uint32_t(y - 1980) << 25 | uint32_t(mo) << 21 | uint32_t(d) << 16 | uint32_t(h) << 11 |
           uint32_t(mi) << 5 | uint32_t(s / 2);
}

TDateTime UnixToDateTime(int64_t seconds, int biasMinutes)
{
    if (seconds == 0)
        return kDosEpoch + 60.0 / 86400.0;
    // Stamps from damaged headers can be anything: beyond about 34,000 years they all mean the same
    // nonsense date, and the arithmetic below cannot overflow.
    constexpr uint64_t kLargest = uint64_t(1) << 40;
    const uint64_t magnitude = seconds < 0 ? 0 - uint64_t(seconds) : uint64_t(seconds);
    int64_t t = int64_t(std::min(magnitude, kLargest));
    if (biasMinutes >= -12 && biasMinutes <= 12)
        t -= int64_t(biasMinutes) * 3600;
    else
        t -= int64_t(biasMinutes) * 60;
    // Within the range of 32-bit stamps (1901 to 2038) the every-fourth-year calendar of the format
    // and the Gregorian one agree, so plain day arithmetic serves.
    int64_t days = t / 86400, rem = t % 86400;
    if (rem < 0) {
        rem += 86400;
        days -= 1;
    }
    return double(days + kUnixEpochDays) + double(rem) / 86400.0;
}

std::string AppendBackslash(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

std::string ToBackslashes(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string ToSlashes(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

std::string ExtractFileName(std::string_view path)
{
    size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1]))
        --i;
    return std::string(path.substr(i));
}

std::string ExtractFilePath(std::string_view path)
{
    size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1]))
        --i;
    return std::string(path.substr(0, i));
}

std::string ExtractFileExt(std::string_view path)
{
    std::string name = ExtractFileName(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

int64_t OctalToInt(std::string_view text)
{
    uint64_t v = 0;
    for (char c : text)
        if (c >= '0' && c <= '7')
            v = (v << 3) | uint64_t(c - '0');
    return int64_t(v & 0x7FFFFFFFFFFFFFFFull);
}

void TrimAtNul(std::string& text)
{
    size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
}

bool HasWildcards(std::string_view spec)
{
    return spec.find_first_of("*?") != std::string_view::npos;
}

std::string ShiftText(bool subtract, std::string text, int amount)
{
    for (char& c : text) {
        unsigned v = static_cast<unsigned char>(c);
        v = subtract ? v - unsigned(amount) : v + unsigned(amount);
        c = static_cast<char>(v & 0xFF);
    }
    return text;
}

uint8_t CalcRatio(int64_t packed, int64_t unpacked)
{
    // Sizes come from archive headers: a damaged one can hold anything, negative numbers included.
    if (packed <= 0 || unpacked <= 0 || packed >= unpacked)
        return 0;
    if (unpacked - packed > 100000) {
        packed /= 100;
        unpacked /= 100;
        if (unpacked == 0)
            return 0;
    }
    int64_t r = (unpacked - packed) * 100 / unpacked;
    if (r == 0 && packed < unpacked)
        r = 1;
    return uint8_t(r > 100 ? 100 : r < 0 ? 0 : r);
}

uint8_t PercentOf(int64_t done, int64_t total)
{
    if (total < 1 || done <= 0)
        return 0;
    if (done >= total)
        return 100;
    // Sizes from damaged headers may be near the 64-bit limit; halve both until done x 200 fits.
    while (done > INT64_MAX / 200) {
        done >>= 1;
        total >>= 1;
    }
    const int64_t scaled = done * 100;
    int64_t q = scaled / total;
    const int64_t r = scaled % total;
    if (2 * r > total || (2 * r == total && (q & 1)))
        ++q;
    return uint8_t(q > 100 ? 100 : q);
}

}  // namespace engine
