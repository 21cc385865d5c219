// Dates and times. A TDateTime is a double: the whole part counts days from 1899-12-30, the fraction
// is the time of day (for a negative value the fraction still counts forward from midnight). Text
// forms read the one global FormatSettings, which starts from fixed defaults natively and from the
// user's locale on Windows (InitFormatSettings after the Locale seam is installed).
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/platform.h"

namespace fw {

using TDateTime = double;

struct TFormatSettings {
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongDateFormat = "dddd, mmmm d, yyyy";
    std::string ShortTimeFormat = "h:nn AMPM";
    std::string LongTimeFormat = "h:nn:ss AMPM";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};
    std::string ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::string LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The one global settings record (programs may change single fields, e.g. DateSeparator = '-').
extern TFormatSettings FormatSettings;
// Reloads FormatSettings from the Locale seam.
void InitFormatSettings();

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Raise EConvertError ("Invalid argument to date encode" / "... time encode") on a field out of range.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

TDateTime SystemTimeToDateTime(const SystemTime& t);
SystemTime DateTimeToSystemTime(TDateTime value);

// Local time now, today at midnight, and the time of day.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// DOS date-time (local, date in the high word) <-> TDateTime. FileDateToDateTime raises
// EConvertError for a packed value with a field out of range.
int32_t DateTimeToFileDate(TDateTime value);
TDateTime FileDateToDateTime(int32_t fileDate);

// Formatting codes (case ignored): c (short date, then long time unless midnight), d dd ddd dddd
// ddddd (short date) dddddd (long date), m mm mmm mmmm (month; minutes right after h or before s),
// yy yyyy, h hh, n nn, s ss, z zzz, t (short time) tt (long time), am/pm a/p ampm (12-hour clock),
// "/" and ":" (the separators), and text in single or double quotes.
std::string FormatDateTime(const std::string& format, TDateTime value);
std::string DateTimeToStr(TDateTime value);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);

// Parse in the order of ShortDateFormat with DateSeparator; the time as h[:n[:s]] with TimeSeparator
// and an optional AM/PM. A year of one or two digits means 2000-2049 for 00-49 and 1950-1999 for
// 50-99. A missing year is this year. Raise EConvertError "'<text>' is not a valid date" (time, date
// and time).
TDateTime StrToDate(const std::string& s);
TDateTime StrToTime(const std::string& s);
TDateTime StrToDateTime(const std::string& s);
bool TryStrToDateTime(const std::string& s, TDateTime& value);

}  // namespace fw
