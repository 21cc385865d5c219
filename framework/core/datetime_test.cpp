#include "framework/core/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "framework/core/exceptions.h"

namespace fw {
namespace {

// Runs a test with the fixed settings of the native build, whatever the locale says.
class DateTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = FormatSettings;
        FormatSettings = TFormatSettings{};
    }
    void TearDown() override { FormatSettings = saved_; }
    TFormatSettings saved_;
};

TEST_F(DateTimeTest, EncodeDecode) {
    struct Row {
        int y, m, d;
        double serial;
    };
    const Row rows[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2}, {1899, 12, 29, -1}, {2000, 2, 29, 36585},
        {1980, 1, 1, 29221}, {2107, 12, 31, 75971}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
    };
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(EncodeDate(r.y, r.m, r.d), r.serial) << r.y << "-" << r.m << "-" << r.d;
        int y, m, d;
        DecodeDate(r.serial, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, r.y * 10000 + r.m * 100 + r.d) << r.serial;
    }
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    int h, n, s, ms;
    DecodeTime(EncodeDate(2020, 5, 17) + EncodeTime(23, 59, 59, 999), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
    // A negative value's fraction counts forward from midnight.
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
    int y, m, d;
    DecodeDate(-1.25, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);  // Monday
    EXPECT_EQ(DayOfWeek(0), 7);                        // 1899-12-30 was a Saturday
}

TEST_F(DateTimeTest, InvalidFieldsRaise) {
    const int dates[][3] = {{2001, 2, 29}, {2000, 13, 1}, {2000, 0, 1}, {2000, 4, 31}, {0, 1, 1}, {10000, 1, 1}, {1900, 2, 29}};
    for (const auto& dt : dates) EXPECT_THROW(EncodeDate(dt[0], dt[1], dt[2]), EConvertError) << dt[0] << "-" << dt[1] << "-" << dt[2];
    const int times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& t : times) EXPECT_THROW(EncodeTime(t[0], t[1], t[2], t[3]), EConvertError);
    int y, m, d;
    EXPECT_THROW(DecodeDate(NAN, y, m, d), EConvertError);
    EXPECT_THROW(DecodeDate(1e12, y, m, d), EConvertError);
}

TEST_F(DateTimeTest, Formatting) {
    const TDateTime v = EncodeDate(2004, 3, 7) + EncodeTime(15, 4, 9, 12);
    const TDateTime midnight = EncodeDate(1999, 12, 31);
    const std::pair<std::string, std::string> rows[] = {
        {FormatDateTime("yyyy-mm-dd hh:nn:ss", v), "2004-03-07 15:04:09"},
        {FormatDateTime("d/m/yy", v), "7/3/04"},
        {FormatDateTime("dd.mm.yyyy", v), "07.03.2004"},
        {FormatDateTime("ddd dddd mmm mmmm", v), "Sun Sunday Mar March"},
        {FormatDateTime("h:mm", v), "15:04"},
        {FormatDateTime("hh:mm:ss.zzz", v), "15:04:09.012"},
        {FormatDateTime("h:nn am/pm", v), "3:04 pm"},
        {FormatDateTime("h:nn AMPM", v), "3:04 PM"},
        {FormatDateTime("h a/p", EncodeTime(0, 30, 0, 0)), "12 a"},
        {FormatDateTime("'Year' yyyy \"at\" h", v), "Year 2004 at 15"},
        {FormatDateTime("c", v), "3/7/2004 3:04:09 PM"},
        {FormatDateTime("c", midnight), "12/31/1999"},
        {FormatDateTime("ddddd", v), "3/7/2004"},
        {FormatDateTime("t", v), "3:04 PM"},
        {FormatDateTime("tt", v), "3:04:09 PM"},
        {DateTimeToStr(v), "3/7/2004 3:04:09 PM"},
        {DateToStr(v), "3/7/2004"},
        {TimeToStr(v), "3:04:09 PM"},
    };
    for (const auto& [got, want] : rows) EXPECT_EQ(got, want);
    FormatSettings.DateSeparator = '-';
    EXPECT_EQ(DateTimeToStr(midnight), "12-31-1999");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", v), "2004-03-07");
}

TEST_F(DateTimeTest, Parsing) {
    const std::pair<const char*, TDateTime> rows[] = {
        {"3/7/2004", EncodeDate(2004, 3, 7)},
        {"3/7/04", EncodeDate(2004, 3, 7)},
        {"1/2/49", EncodeDate(2049, 1, 2)},
        {"1/2/50", EncodeDate(1950, 1, 2)},
        {"1/2/99", EncodeDate(1999, 1, 2)},
        {"1/2/00", EncodeDate(2000, 1, 2)},
        {"12/31/1999 23:59:58", EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 58, 0)},
        {"3/7/2004 3:04:09 PM", EncodeDate(2004, 3, 7) + EncodeTime(15, 4, 9, 0)},
        {"3/7/2004 12:00 AM", EncodeDate(2004, 3, 7)},
        {"3/7/2004 12:30 pm", EncodeDate(2004, 3, 7) + EncodeTime(12, 30, 0, 0)},
        {" 3 / 7 / 2004 ", EncodeDate(2004, 3, 7)},
        {"10:20", EncodeTime(10, 20, 0, 0)},
    };
    for (const auto& [text, want] : rows) EXPECT_DOUBLE_EQ(StrToDateTime(text), want) << text;
    for (const char* bad : {"", "x", "2/30/2004", "13/1/2004", "3/7/2004 25:00", "3/7/2004 1:00 XM", "3-7-2004", "3/7/2004 13:00 PM", "5"})
        EXPECT_THROW(StrToDateTime(bad), EConvertError) << bad;
    // The separator and order follow the settings.
    FormatSettings.DateSeparator = '-';
    FormatSettings.ShortDateFormat = "dd/mm/yyyy";
    EXPECT_DOUBLE_EQ(StrToDateTime("07-03-2004"), EncodeDate(2004, 3, 7));
    EXPECT_THROW(StrToDate("07/03/2004"), EConvertError);
    // Formatting and parsing round-trip with the settings.
    const TDateTime v = EncodeDate(2031, 11, 2) + EncodeTime(7, 8, 9, 0);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(v)), v);
}

TEST_F(DateTimeTest, DosDateTime) {
    const TDateTime v = EncodeDate(1998, 6, 30) + EncodeTime(17, 30, 44, 0);
    const int32_t dos = DateTimeToFileDate(v);
    EXPECT_EQ(static_cast<uint32_t>(dos), ((18u << 9 | 6u << 5 | 30u) << 16) | (17u << 11 | 30u << 5 | 22u));
    EXPECT_DOUBLE_EQ(FileDateToDateTime(dos), v);
    // Odd seconds fall to the even second below.
    EXPECT_EQ(DateTimeToFileDate(v + EncodeTime(0, 0, 1, 0)), dos);
    EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
    EXPECT_THROW(FileDateToDateTime(0), EConvertError);
    EXPECT_THROW(FileDateToDateTime(static_cast<int32_t>((((18u << 9) | (2u << 5) | 30u) << 16))), EConvertError);
    const TDateTime now = Now();
    EXPECT_GT(now, EncodeDate(2020, 1, 1));
    EXPECT_LT(std::fabs(now - (Date() + Time())), 1.0 / 86400);
}

}  // namespace
}  // namespace fw
