#include "widgets/datetimevalue.h"

#include <cmath>

namespace kvx {

namespace {
struct Parts {
    int year, month, day, hour, minute, second, ms;
};
Parts Split(fw::TDateTime value) {
    Parts p{};
    fw::DecodeDate(value, p.year, p.month, p.day);
    fw::DecodeTime(value, p.hour, p.minute, p.second, p.ms);
    return p;
}
}  // namespace

TKVXDateTime::TKVXDateTime() : value_(fw::EncodeDate(1990, 1, 1)) {}

uint8_t TKVXDateTime::Day() const { return static_cast<uint8_t>(Split(value_).day); }
uint8_t TKVXDateTime::Month() const { return static_cast<uint8_t>(Split(value_).month); }
int TKVXDateTime::Year() const { return Split(value_).year; }
uint8_t TKVXDateTime::Hour() const { return static_cast<uint8_t>(Split(value_).hour); }
uint8_t TKVXDateTime::Minute() const { return static_cast<uint8_t>(Split(value_).minute); }
uint8_t TKVXDateTime::Second() const { return static_cast<uint8_t>(Split(value_).second); }

void TKVXDateTime::SetDay(uint8_t value) { SetDatePart(2, value); }
void TKVXDateTime::SetMonth(uint8_t value) { SetDatePart(1, value); }
void TKVXDateTime::SetYear(int value) { SetDatePart(0, value); }
void TKVXDateTime::SetHour(uint8_t value) { SetTimePart(0, value); }
void TKVXDateTime::SetMinute(uint8_t value) { SetTimePart(1, value); }
void TKVXDateTime::SetSecond(uint8_t value) { SetTimePart(2, value); }

void TKVXDateTime::SetDatePart(int index, int value) {
    Parts p = Split(value_);
    int* part[] = {&p.year, &p.month, &p.day};
    if (*part[index] == value) return;
    *part[index] = value;
    // EncodeDate raises before anything is stored.
    value_ = fw::EncodeDate(p.year, p.month, p.day) + fw::EncodeTime(p.hour, p.minute, p.second, 0);
}

void TKVXDateTime::SetTimePart(int index, int value) {
    Parts p = Split(value_);
    int* part[] = {&p.hour, &p.minute, &p.second};
    if (*part[index] == value) return;
    *part[index] = value;
    const fw::TDateTime days = fw::EncodeDate(p.year, p.month, p.day);
    value_ = days + fw::EncodeTime(p.hour, p.minute, p.second, p.ms);
}

void TKVXDateTime::Assign(fw::TPersistent* source) {
    if (auto* other = dynamic_cast<TKVXDateTime*>(source)) {
        value_ = other->value_;
        return;
    }
    TKVXObject::Assign(source);
}

}  // namespace kvx
