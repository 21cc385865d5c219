// SMapi: the system's Simple MAPI library, loaded once when the program starts (where the registry
// says the mail subsystem is there) and its ten entry points resolved. A library that lacks one of
// them counts as no library: mail is unavailable and the program runs on.
#pragma once

#include <windows.h>
#include <mapi.h>

namespace app::smapi {

struct Entries {
    LPMAPIFINDNEXT FindNext = nullptr;
    LPMAPILOGOFF Logoff = nullptr;
    LPMAPILOGON Logon = nullptr;
    LPMAPISENDMAIL SendMail = nullptr;
    LPMAPIREADMAIL ReadMail = nullptr;
    LPMAPIDELETEMAIL DeleteMail = nullptr;
    LPMAPIRESOLVENAME ResolveName = nullptr;
    LPMAPIFREEBUFFER FreeBuffer = nullptr;
    LPMAPIADDRESS Address = nullptr;
    LPMAPISAVEMAIL SaveMail = nullptr;
};

// True once LoadMapi found the library with all ten entry points.
bool MapiLoaded();
const Entries& Mapi();

void LoadMapi();
void FreeMapi();

}  // namespace app::smapi
