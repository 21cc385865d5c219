#include "app/win32/smapi.h"

#include <string>

namespace app::smapi {

namespace {

HMODULE library = nullptr;
bool loaded = false;
Entries entries;

// The mail subsystem is announced by HKLM "SOFTWARE\Microsoft\Windows Messaging Subsystem" "MAPI" = "1"
// (on systems of version 3.51 and older, by "MAPI" of the "Mail" section of win.ini).
bool MailSubsystemAnnounced() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = GetVersionExA(&version) != 0;
#pragma GCC diagnostic pop
    if (known && (version.dwMajorVersion < 3 || (version.dwMajorVersion == 3 && version.dwMinorVersion <= 51)))
        return GetProfileIntA("Mail", "MAPI", 0) != 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows Messaging Subsystem", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return false;
    char value[16] = {};
    DWORD size = sizeof value - 1, type = 0;
    const bool one = RegQueryValueExA(key, "MAPI", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                         ERROR_SUCCESS &&
                     type == REG_SZ && std::string(value) == "1";
    RegCloseKey(key);
    return one;
}

HMODULE LoadQuietly(const char* name) {
    const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(name);
    SetErrorMode(old);
    return module;
}

template <typename F>
bool Resolve(F& entry, const char* name) {
    entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return entry != nullptr;
}

}  // namespace

bool MapiLoaded() { return loaded; }
const Entries& Mapi() { return entries; }

void LoadMapi() {
    if (loaded || !MailSubsystemAnnounced()) return;
    library = LoadQuietly("mapi32");
    if (!library) library = LoadQuietly("mapi32.dll");
    if (!library) return;
    const bool all = Resolve(entries.FindNext, "MAPIFindNext") & Resolve(entries.Logoff, "MAPILogoff") &
                     Resolve(entries.Logon, "MAPILogon") & Resolve(entries.SendMail, "MAPISendMail") &
                     Resolve(entries.ReadMail, "MAPIReadMail") & Resolve(entries.DeleteMail, "MAPIDeleteMail") &
                     Resolve(entries.ResolveName, "MAPIResolveName") & Resolve(entries.FreeBuffer, "MAPIFreeBuffer") &
                     Resolve(entries.Address, "MAPIAddress") & Resolve(entries.SaveMail, "MAPISaveMail");
    if (all) {
        loaded = true;
        return;
    }
    FreeMapi();
}

void FreeMapi() {
    if (library) FreeLibrary(library);
    library = nullptr;
    loaded = false;
    entries = Entries{};
}

}  // namespace app::smapi
