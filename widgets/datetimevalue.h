// TKVXDateTime: one date and time, edited field by field (the file search and the starter's start
// time). Setting a date part rebuilds the value with that part replaced and the time of day without
// milliseconds; an impossible date (31 February) raises EConvertError and leaves the value alone.
// Setting a time part keeps the day and the milliseconds. No change notification is raised.
#pragma once

#include <cstdint>

#include "framework/core/datetime.h"
#include "widgets/kvxclass.h"

namespace kvx {

class TKVXDateTime : public TKVXObject {
public:
    // 1990-01-01 00:00:00.
    TKVXDateTime();

    fw::TDateTime DateTime() const { return value_; }
    void SetDateTime(fw::TDateTime value) { value_ = value; }

    uint8_t Day() const;
    void SetDay(uint8_t value);
    uint8_t Month() const;
    void SetMonth(uint8_t value);
    int Year() const;
    void SetYear(int value);
    uint8_t Hour() const;
    void SetHour(uint8_t value);
    uint8_t Minute() const;
    void SetMinute(uint8_t value);
    uint8_t Second() const;
    void SetSecond(uint8_t value);

    void Assign(fw::TPersistent* source) override;

private:
    void SetDatePart(int index, int value);
    void SetTimePart(int index, int value);

    fw::TDateTime value_;
};

}  // namespace kvx
