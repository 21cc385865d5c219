#include "richtext/win32/win32_system.h"

#include "framework/win32/winapi.h"

#include <string>

#include "richtext/engine_settings.h"

namespace rt {

namespace {

std::string ClockText(bool date) {
    char text[128] = {};
    const int n = date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text)
                       : GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, sizeof text);
    return n > 0 ? std::string(text) : std::string();
}

}  // namespace

void InstallRichTextSystem() {
    static bool done = false;
    if (done) return;
    done = true;
    RtSystem& s = System();
    HDC screen = GetDC(nullptr);
    s.screenResolution = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    s.beep = [] { MessageBeep(0); };
    s.systemColor = [](TColor color) { return static_cast<TColor>(GetSysColor(static_cast<int>(color & 0xFF))); };
    s.timeText = [] { return ClockText(false); };
    s.dateText = [] { return ClockText(true); };
    s.loadString = [](int id) {
        char text[512] = {};
        const int n = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
        return n > 0 ? std::string(text, static_cast<size_t>(n)) : std::string();
    };
}

}  // namespace rt
