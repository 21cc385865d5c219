#include "widgets/datetimevalue.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

TEST(KVXDateTime, PartsAndLeapYears) {
    TKVXDateTime v;
    EXPECT_EQ(v.Year(), 1990);
    EXPECT_EQ(v.Month(), 1);
    EXPECT_EQ(v.Day(), 1);
    EXPECT_EQ(v.Hour(), 0);

    struct Case {
        int year, month, day;
        bool valid;
    };
    const Case cases[] = {
        {2024, 2, 29, true}, {2023, 2, 29, false}, {1900, 2, 29, false}, {2000, 2, 29, true},
        {2023, 4, 31, false}, {2023, 12, 31, true}, {2023, 13, 1, false},
    };
    for (const Case& c : cases) {
        TKVXDateTime d;
        d.SetYear(c.year);
        d.SetDay(1);
        d.SetMonth(static_cast<uint8_t>(c.month > 12 ? 1 : c.month));
        const fw::TDateTime before = d.DateTime();
        if (c.month > 12) {
            EXPECT_THROW(d.SetMonth(static_cast<uint8_t>(c.month)), fw::EConvertError);
            continue;
        }
        if (c.valid) {
            d.SetDay(static_cast<uint8_t>(c.day));
            EXPECT_EQ(d.Day(), c.day) << c.year << "-" << c.month;
        } else {
            EXPECT_THROW(d.SetDay(static_cast<uint8_t>(c.day)), fw::EConvertError) << c.year << "-" << c.month;
            EXPECT_EQ(d.DateTime(), before);
        }
    }
}

TEST(KVXDateTime, DatePartsDropMillisecondsTimePartsKeepThem) {
    TKVXDateTime v;
    v.SetDateTime(fw::EncodeDate(2020, 6, 15) + fw::EncodeTime(10, 20, 30, 400));
    v.SetHour(11);
    int h, m, s, ms;
    fw::DecodeTime(v.DateTime(), h, m, s, ms);
    EXPECT_EQ(h, 11);
    EXPECT_EQ(ms, 400);
    EXPECT_EQ(v.Day(), 15);
    v.SetDay(16);
    fw::DecodeTime(v.DateTime(), h, m, s, ms);
    EXPECT_EQ(ms, 0);
    EXPECT_EQ(h * 10000 + m * 100 + s, 112030);
    EXPECT_EQ(v.Day(), 16);

    TKVXDateTime copy;
    copy.Assign(&v);
    EXPECT_EQ(copy.DateTime(), v.DateTime());
}

}  // namespace
}  // namespace kvx
