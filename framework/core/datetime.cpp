#include "framework/core/datetime.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/sysutils.h"

namespace fw {

TFormatSettings FormatSettings;

void InitFormatSettings() {
    const LocaleInfo info = Loc().Info();
    FormatSettings.DateSeparator = info.dateSeparator;
    FormatSettings.TimeSeparator = info.timeSeparator;
    FormatSettings.DecimalSeparator = info.decimalSeparator;
    FormatSettings.ThousandSeparator = info.thousandSeparator;
    FormatSettings.ShortDateFormat = info.shortDateFormat;
    FormatSettings.LongDateFormat = info.longDateFormat;
    FormatSettings.ShortTimeFormat = info.shortTimeFormat;
    FormatSettings.LongTimeFormat = info.longTimeFormat;
    FormatSettings.TimeAMString = info.timeAMString;
    FormatSettings.TimePMString = info.timePMString;
}

namespace {

constexpr int64_t kMsPerDay = 86400000;
// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kDelta1970 = 25569;

// Splits a value into its day number and the milliseconds of its time of day.
void Split(TDateTime value, int64_t& day, int64_t& ms) {
    // Beyond the years 1..9999 a value is not a date.
    if (!std::isfinite(value) || value < -693594.0 || value > 2958466.0)
        throw EConvertError("Invalid date value");
    day = static_cast<int64_t>(value);  // toward zero
    ms = std::llround(std::fabs(value - static_cast<double>(day)) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        day += value >= 0 ? 1 : -1;
    }
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year));
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    value = static_cast<double>(DaysFromCivil(year, month, day) + kDelta1970);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return false;
    value = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / kMsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime v = 0;
    if (!TryEncodeDate(year, month, day, v)) throw EConvertError("Invalid argument to date encode");
    return v;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    TDateTime v = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, v)) throw EConvertError("Invalid argument to time encode");
    return v;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    int64_t d, ms;
    Split(value, d, ms);
    CivilFromDays(d - kDelta1970, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
    int64_t d, ms;
    Split(value, d, ms);
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime value) {
    int64_t d, ms;
    Split(value, d, ms);
    // Day 0 (1899-12-30) was a Saturday.
    return static_cast<int>(((d + 6) % 7 + 7) % 7) + 1;
}

TDateTime SystemTimeToDateTime(const SystemTime& t) {
    const TDateTime date = EncodeDate(t.year, t.month, t.day);
    const TDateTime time = EncodeTime(t.hour, t.minute, t.second, t.millisecond);
    return date >= 0 ? date + time : date - time;
}

SystemTime DateTimeToSystemTime(TDateTime value) {
    SystemTime t;
    DecodeDate(value, t.year, t.month, t.day);
    DecodeTime(value, t.hour, t.minute, t.second, t.millisecond);
    return t;
}

TDateTime Now() { return SystemTimeToDateTime(Clk().LocalNow()); }
TDateTime Date() { return std::floor(Now()); }
TDateTime Time() {
    const TDateTime now = Now();
    return now - std::floor(now);
}

int32_t DateTimeToFileDate(TDateTime value) {
    const SystemTime t = DateTimeToSystemTime(value);
    if (t.year < 1980 || t.year > 2107) return 0;
    return static_cast<int32_t>(PackDosTime(t));
}

TDateTime FileDateToDateTime(int32_t fileDate) {
    SystemTime t;
    if (!UnpackDosTime(static_cast<uint32_t>(fileDate), t)) throw EConvertError("Invalid DOS date-time");
    return SystemTimeToDateTime(t);
}

// ---- Formatting ------------------------------------------------------------------------------

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool StartsWithNoCase(const std::string& s, size_t at, const char* word) {
    for (size_t k = 0; word[k]; ++k)
        if (at + k >= s.size() || Lower(s[at + k]) != word[k]) return false;
    return true;
}

std::string Two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

struct Parts {
    int year, month, day, hour, minute, second, ms, dow;
};

void Emit(const std::string& fmt, const Parts& p, std::string& out, int depth);

// Whether the format uses a 12-hour marker anywhere.
bool HasAmPm(const std::string& fmt) {
    char quote = 0;
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (quote) {
            if (fmt[i] == quote) quote = 0;
            continue;
        }
        if (fmt[i] == '"' || fmt[i] == '\'') {
            quote = fmt[i];
            continue;
        }
        if (StartsWithNoCase(fmt, i, "am/pm") || StartsWithNoCase(fmt, i, "a/p") || StartsWithNoCase(fmt, i, "ampm"))
            return true;
    }
    return false;
}

void Emit(const std::string& fmt, const Parts& p, std::string& out, int depth) {
    if (depth > 2) return;  // c, t and ddddd expand to formats that might name themselves
    const bool twelve = HasAmPm(fmt);
    bool lastWasHour = false;
    size_t i = 0;
    while (i < fmt.size()) {
        const char c = fmt[i];
        const char lc = Lower(c);
        size_t run = 1;
        while (i + run < fmt.size() && Lower(fmt[i + run]) == lc) ++run;
        if (c == '"' || c == '\'') {
            const size_t end = fmt.find(c, i + 1);
            out += fmt.substr(i + 1, (end == std::string::npos ? fmt.size() : end) - i - 1);
            i = end == std::string::npos ? fmt.size() : end + 1;
            continue;
        }
        if (StartsWithNoCase(fmt, i, "am/pm")) {
            const std::string& word = p.hour < 12 ? "am" : "pm";
            out += (fmt[i] == 'A') ? UpperCase(word) : word;
            i += 5;
            continue;
        }
        if (StartsWithNoCase(fmt, i, "a/p")) {
            out += fmt[i] == 'A' ? (p.hour < 12 ? "A" : "P") : (p.hour < 12 ? "a" : "p");
            i += 3;
            continue;
        }
        if (StartsWithNoCase(fmt, i, "ampm")) {
            out += p.hour < 12 ? FormatSettings.TimeAMString : FormatSettings.TimePMString;
            i += 4;
            continue;
        }
        switch (lc) {
            case 'c':
                Emit(FormatSettings.ShortDateFormat, p, out, depth + 1);
                if (p.hour || p.minute || p.second || p.ms) {
                    out += ' ';
                    Emit(FormatSettings.LongTimeFormat, p, out, depth + 1);
                }
                i += 1;
                lastWasHour = false;
                continue;
            case 'd':
                if (run >= 6) {
                    Emit(FormatSettings.LongDateFormat, p, out, depth + 1);
                    run = 6;
                } else if (run == 5) {
                    Emit(FormatSettings.ShortDateFormat, p, out, depth + 1);
                } else if (run == 4) {
                    out += FormatSettings.LongDayNames[p.dow - 1];
                } else if (run == 3) {
                    out += FormatSettings.ShortDayNames[p.dow - 1];
                } else if (run == 2) {
                    out += Two(p.day);
                } else {
                    out += std::to_string(p.day);
                }
                i += run;
                lastWasHour = false;
                continue;
            case 'y':
                out += run <= 2 ? Two(p.year % 100) : std::to_string(p.year);
                i += run;
                lastWasHour = false;
                continue;
            case 'm': {
                // "m" right after an hour, or followed by seconds, means minutes.
                size_t k = i + run;
                while (k < fmt.size() && (fmt[k] == ' ' || fmt[k] == ':' || fmt[k] == FormatSettings.TimeSeparator)) ++k;
                const bool minutes = lastWasHour || (k < fmt.size() && Lower(fmt[k]) == 's');
                if (minutes) {
                    out += run >= 2 ? Two(p.minute) : std::to_string(p.minute);
                    if (run > 2) run = 2;
                } else if (run >= 4) {
                    out += FormatSettings.LongMonthNames[p.month - 1];
                    run = 4;
                } else if (run == 3) {
                    out += FormatSettings.ShortMonthNames[p.month - 1];
                } else {
                    out += run == 2 ? Two(p.month) : std::to_string(p.month);
                }
                i += run;
                lastWasHour = false;
                continue;
            }
            case 'h': {
                int h = p.hour;
                if (twelve) {
                    h %= 12;
                    if (h == 0) h = 12;
                }
                if (run > 2) run = 2;
                out += run == 2 ? Two(h) : std::to_string(h);
                i += run;
                lastWasHour = true;
                continue;
            }
            case 'n':
                if (run > 2) run = 2;
                out += run == 2 ? Two(p.minute) : std::to_string(p.minute);
                i += run;
                lastWasHour = false;
                continue;
            case 's':
                if (run > 2) run = 2;
                out += run == 2 ? Two(p.second) : std::to_string(p.second);
                i += run;
                lastWasHour = false;
                continue;
            case 'z': {
                char buf[8];
                if (run >= 3) {
                    std::snprintf(buf, sizeof buf, "%03d", p.ms);
                    run = 3;
                } else {
                    std::snprintf(buf, sizeof buf, "%d", p.ms);
                    run = 1;
                }
                out += buf;
                i += run;
                lastWasHour = false;
                continue;
            }
            case 't':
                Emit(run >= 2 ? FormatSettings.LongTimeFormat : FormatSettings.ShortTimeFormat, p, out, depth + 1);
                i += run >= 2 ? 2 : 1;
                lastWasHour = false;
                continue;
            case '/':
                out += FormatSettings.DateSeparator;
                i += 1;
                continue;
            case ':':
                out += FormatSettings.TimeSeparator;
                i += 1;
                continue;
            default:
                out += c;
                i += 1;
                continue;
        }
    }
}

}  // namespace

std::string FormatDateTime(const std::string& format, TDateTime value) {
    Parts p{};
    DecodeDate(value, p.year, p.month, p.day);
    DecodeTime(value, p.hour, p.minute, p.second, p.ms);
    p.dow = DayOfWeek(value);
    std::string out;
    Emit(format.empty() ? std::string("c") : format, p, out, 0);
    return out;
}

std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }
std::string DateToStr(TDateTime value) { return FormatDateTime(FormatSettings.ShortDateFormat, value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime(FormatSettings.LongTimeFormat, value); }

// ---- Parsing ---------------------------------------------------------------------------------

namespace {

struct Scanner {
    const std::string& s;
    size_t i = 0;
    void Blanks() {
        while (i < s.size() && s[i] == ' ') ++i;
    }
    bool Number(int& value, int& digits) {
        Blanks();
        digits = 0;
        int64_t v = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 9) {
            v = v * 10 + (s[i++] - '0');
            ++digits;
        }
        value = static_cast<int>(v);
        return digits > 0;
    }
    bool Char(char c) {
        Blanks();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool AtEnd() {
        Blanks();
        return i >= s.size();
    }
};

// The order of day, month and year in ShortDateFormat: "MDY", "DMY" or "YMD".
std::string DateOrder() {
    std::string order;
    for (char c : FormatSettings.ShortDateFormat) {
        const char u = static_cast<char>(c & ~0x20);
        if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos) order += u;
    }
    return order.size() == 3 ? order : "MDY";
}

int ExpandYear(int year, int digits) {
    if (digits > 2) return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

bool ScanDate(Scanner& sc, TDateTime& value) {
    int n[3], digits[3];
    int count = 0;
    for (; count < 3; ++count) {
        if (count > 0 && !sc.Char(FormatSettings.DateSeparator)) break;
        if (!sc.Number(n[count], digits[count])) return false;
    }
    if (count < 2) return false;
    const std::string order = DateOrder();
    int y, m, d;
    if (count == 2) {
        // Day and month only: this year. A year-first order gives month and day.
        y = Clk().LocalNow().year;
        if (order == "DMY") {
            d = n[0];
            m = n[1];
        } else {
            m = n[0];
            d = n[1];
        }
    } else if (order == "YMD") {
        y = ExpandYear(n[0], digits[0]);
        m = n[1];
        d = n[2];
    } else if (order == "DMY") {
        d = n[0];
        m = n[1];
        y = ExpandYear(n[2], digits[2]);
    } else {
        m = n[0];
        d = n[1];
        y = ExpandYear(n[2], digits[2]);
    }
    return TryEncodeDate(y, m, d, value);
}

bool ScanAmPm(Scanner& sc, int& hour) {
    sc.Blanks();
    const std::string rest = sc.s.substr(sc.i);
    auto match = [&](const std::string& word) { return !word.empty() && SameText(rest.substr(0, word.size()), word); };
    bool pm;
    size_t len;
    if (match(FormatSettings.TimeAMString)) {
        pm = false;
        len = FormatSettings.TimeAMString.size();
    } else if (match(FormatSettings.TimePMString)) {
        pm = true;
        len = FormatSettings.TimePMString.size();
    } else if (match("AM")) {
        pm = false;
        len = 2;
    } else if (match("PM")) {
        pm = true;
        len = 2;
    } else {
        return true;  // none given
    }
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
    sc.i += len;
    return true;
}

bool ScanTime(Scanner& sc, TDateTime& value) {
    int h = 0, m = 0, s = 0, ms = 0, digits = 0;
    if (!sc.Number(h, digits)) return false;
    if (sc.Char(FormatSettings.TimeSeparator)) {
        if (!sc.Number(m, digits)) return false;
        if (sc.Char(FormatSettings.TimeSeparator)) {
            if (!sc.Number(s, digits)) return false;
            if (sc.Char(FormatSettings.DecimalSeparator) && !sc.Number(ms, digits)) return false;
        }
    } else if (sc.AtEnd()) {
        return false;  // a lone number is not a time
    }
    if (!ScanAmPm(sc, h)) return false;
    return TryEncodeTime(h, m, s, ms, value);
}

}  // namespace

TDateTime StrToDate(const std::string& s) {
    Scanner sc{s};
    TDateTime v = 0;
    if (!ScanDate(sc, v) || !sc.AtEnd()) throw EConvertError("'" + s + "' is not a valid date");
    return v;
}

TDateTime StrToTime(const std::string& s) {
    Scanner sc{s};
    TDateTime v = 0;
    if (!ScanTime(sc, v) || !sc.AtEnd()) throw EConvertError("'" + s + "' is not a valid time");
    return v;
}

bool TryStrToDateTime(const std::string& s, TDateTime& value) {
    Scanner sc{s};
    TDateTime date = 0, time = 0;
    const size_t start = sc.i;
    if (!ScanDate(sc, date)) {
        // A time alone is a time on day 0.
        sc.i = start;
        if (!ScanTime(sc, time) || !sc.AtEnd()) return false;
        value = time;
        return true;
    }
    if (!sc.AtEnd() && (!ScanTime(sc, time) || !sc.AtEnd())) return false;
    value = date >= 0 ? date + time : date - time;
    return true;
}

TDateTime StrToDateTime(const std::string& s) {
    TDateTime v = 0;
    if (!TryStrToDateTime(s, v)) throw EConvertError("'" + s + "' is not a valid date and time");
    return v;
}

}  // namespace fw
