// Test helper: the date and the DOS attributes an extractor left on a file, in one text
// ("2010-01-01 00:00:00 attr 20"), so that a test states both in one comparison that prints both.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/core/file_routines.h"
#include "engine/core/routines.h"

namespace engine::test {

// A date and the attribute bits an extractor sets (read-only, hidden, system, archive).
inline std::string Stamp(const std::string& date, uint32_t attr)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, " attr %x", attr & 0x27);
    return date + hex;
}

// A local DOS stamp as "YYYY-MM-DD HH:MM:SS".
inline std::string DosStampText(uint32_t dos)
{
    char out[32];
    std::snprintf(out, sizeof out, "%04u-%02u-%02u %02u:%02u:%02u", 1980 + (dos >> 25), (dos >> 21) & 15, (dos >> 16) & 31,
                  (dos >> 11) & 31, (dos >> 5) & 63, (dos & 31) * 2);
    return out;
}

// The local date of Unix time Seconds as the DOS stamp a file gets (even seconds).
inline std::string UnixStampText(int64_t seconds) { return DosStampText(DateTimeToDosDate(UnixToDateTimeNow(seconds))); }

// The file's last write time, to DOS precision.
inline std::string FileDate(const std::string& path)
{
    const int64_t age = FileAge(path);
    return age < 0 ? "missing " + path : DosStampText(uint32_t(age));
}

// The file's last write time (to DOS precision) and its attributes.
inline std::string FileStamp(const std::string& path)
{
    const int64_t age = FileAge(path), attr = FileGetAttr(path);
    if (age < 0 || attr < 0)
        return "missing " + path;
    return Stamp(DosStampText(uint32_t(age)), uint32_t(attr));
}

}  // namespace engine::test
