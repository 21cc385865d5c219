// TDateTimePicker over the system "SysDateTimePick32" class: a date or a time, read and written as a
// TDateTime.
#pragma once

#include "framework/core/datetime.h"
#include "framework/win32/std_support.h"

namespace fw {

enum class TDateTimeKind { dtkDate, dtkTime };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* owner);
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind value);
    TDateTime DateTime();
    void SetDateTime(TDateTime value);
    TDateTime Date() { return static_cast<int>(DateTime()); }
    void SetDate(TDateTime value) { SetDateTime(static_cast<int>(value) + (DateTime() - static_cast<int>(DateTime()))); }

    TNotifyEvent OnChange;

protected:
    ~TDateTimePicker() override = default;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;

private:
    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    TDateTime value_ = 0;
};

void RegisterDateTimePickerClasses();

}  // namespace fw
