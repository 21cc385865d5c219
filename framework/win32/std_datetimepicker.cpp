// TDateTimePicker over the system "SysDateTimePick32" class.
#include "framework/win32/std_datetimepicker.h"

#include <cmath>

#include "framework/core/sysutils.h"

namespace fw {

namespace {

SYSTEMTIME ToSystemTime(TDateTime value) {
    int year, month, day, hour, minute, second, ms;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, ms);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    st.wMilliseconds = static_cast<WORD>(ms);
    return st;
}

TDateTime FromSystemTime(const SYSTEMTIME& st) {
    return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    SetColor(clWindow);
    value_ = Now();
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, DATETIMEPICK_CLASSA);
    params.Style |= kind_ == TDateTimeKind::dtkTime ? DTS_TIMEFORMAT : DTS_SHORTDATEFORMAT;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TDateTimePicker::CreateWindowState() {
    SYSTEMTIME st = ToSystemTime(value_);
    SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TDateTimePicker::DestroyWnd() {
    if (HandleAllocated()) value_ = DateTime();
    TWinControl::DestroyWnd();
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
    if (kind_ == value) return;
    kind_ = value;
    RecreateWnd();
}

TDateTime TDateTimePicker::DateTime() {
    if (HandleAllocated()) {
        SYSTEMTIME st{};
        if (SendMessageA(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID)
            value_ = FromSystemTime(st);
    }
    return value_;
}

void TDateTimePicker::SetDateTime(TDateTime value) {
    value_ = value;
    if (!HandleAllocated()) return;
    SYSTEMTIME st = ToSystemTime(value);
    SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TDateTimePicker::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header->code == DTN_DATETIMECHANGE && OnChange) OnChange(this);
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

void RegisterDateTimePickerClasses() {
    RegisterEnum<TDateTimeKind>({"dtkDate", "dtkTime"}, "TDateTimeKind");
    Class<TDateTimePicker, TWinControl>("TDateTimePicker")
        .Prop("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind)
        .Prop("DateTime", &TDateTimePicker::DateTime, &TDateTimePicker::SetDateTime)
        .Event("OnChange", &TDateTimePicker::OnChange);
}

}  // namespace fw
