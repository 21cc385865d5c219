#include "widgets/win32/sysinfo.h"

#include <winspool.h>

#include <cstring>
#include <memory>

#include "framework/core/format.h"
#include "framework/core/sysutils.h"
#include "framework/win32/screen.h"
#include "widgets/kvxutils.h"

namespace kvx::win32 {

namespace {

const char* const kUnknown = "(Unknown)";

OSVERSIONINFOA Version() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof(v);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&v);
#pragma GCC diagnostic pop
    return v;
}

MEMORYSTATUSEX Memory() {
    MEMORYSTATUSEX m{};
    m.dwLength = sizeof(m);
    GlobalMemoryStatusEx(&m);
    return m;
}

bool Spi(UINT action, UINT param = 0) {
    BOOL value = FALSE;
    SystemParametersInfoA(action, param, &value, 0);
    return value != FALSE;
}
int SpiInt(UINT action) {
    int value = 0;
    SystemParametersInfoA(action, 0, &value, 0);
    return value;
}
constexpr UINT kUpdate = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;
void SpiSet(UINT action, UINT param) { SystemParametersInfoA(action, param, nullptr, kUpdate); }

std::string RegisteredValue(const char* name) {
    const std::string key = std::string("SOFTWARE\\Microsoft\\") + (KVXIsNT() ? "Windows NT" : "Windows") + "\\CurrentVersion";
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return kUnknown;
    char buffer[256] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    std::string result;
    if (RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
        result = buffer;
    RegCloseKey(h);
    return result;
}

void DefaultKeyEvent(BYTE vk, BYTE scan, DWORD flags) { keybd_event(vk, scan, flags, 0); }
TKVXSysInfo::KeyEventSeam g_keyEvent = DefaultKeyEvent;

}  // namespace

bool KVXIsWin95() { return Version().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS; }
bool KVXIsWin98() { return KVXIsWin95() && Version().dwMinorVersion > 9; }
bool KVXIsNT() { return Version().dwPlatformId == VER_PLATFORM_WIN32_NT; }
bool KVXPlusAvailable() { return KVXIsNT() || Spi(SPI_GETWINDOWSEXTENSION, 1); }

int KVXColorDepth() {
    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!dc) return 0;
    const int depth = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
    DeleteDC(dc);
    return depth;
}

int KVXScreenSaverDelay() { return SpiInt(SPI_GETSCREENSAVETIMEOUT) / 60; }
bool KVXNumLock() { return (GetKeyState(VK_NUMLOCK) & 1) != 0; }
bool KVXCapsLock() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }
bool KVXScrollLock() { return (GetKeyState(VK_SCROLL) & 1) != 0; }
uint64_t KVXMemPhysTotal() { return Memory().ullTotalPhys; }
uint64_t KVXMemPhysFree() { return Memory().ullAvailPhys; }
uint64_t KVXMemVirtTotal() { return Memory().ullTotalVirtual; }
uint64_t KVXMemVirtFree() { return Memory().ullAvailVirtual; }
uint64_t KVXMemPageTotal() { return Memory().ullTotalPageFile; }
uint64_t KVXMemPageFree() { return Memory().ullAvailPageFile; }
int KVXMemoryLoad() { return static_cast<int>(Memory().dwMemoryLoad); }
int KVXMinorVersion() { return static_cast<int>(Version().dwMinorVersion & 0xFFFF); }
int KVXBuildNumber() { return static_cast<int>(Version().dwBuildNumber & 0xFFFF); }

std::string KVXPlatformName() {
    switch (Version().dwPlatformId) {
    case 0: return "Win32s";
    case 1: return "Windows 95";
    case 2: return "Windows NT";
    }
    return kUnknown;
}

int KVXProcessorCount() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return static_cast<int>(info.dwNumberOfProcessors & 0xFF);
}

std::string KVXProcessorName() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    switch (info.dwProcessorType) {
    case 386: return "Intel 386";
    case 486: return "Intel 486";
    case 586: return "Intel Pentium";
    case 2000:
    case 3000:
    case 4000: return "Mips R" + std::to_string(info.dwProcessorType);
    case 21064: return "Alpha 21064";
    }
    return std::to_string(info.dwProcessorType);
}

int KVXFreeResources(int) { return 0; }

std::string KVXTempPath() {
    char path[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

void KVXEnvironment(fw::TStrings& list) {
    list.Clear();
    char* block = GetEnvironmentStringsA();
    if (!block) return;
    for (const char* p = block; *p; p += std::strlen(p) + 1) list.Add(p);
    FreeEnvironmentStringsA(block);
}

std::string KVXWindowsPath() {
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return KVXRemoveBackslash(path);
}

std::string KVXSystemPath() {
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return KVXRemoveBackslash(path);
}

std::string KVXRegisteredOrganization() { return RegisteredValue("RegisteredOrganization"); }
std::string KVXRegisteredOwner() { return RegisteredValue("RegisteredOwner"); }

std::string KVXVersionString() {
    const OSVERSIONINFOA v = Version();
    return fw::Format("%d.%d", {static_cast<int>(v.dwMajorVersion), static_cast<int>(v.dwMinorVersion)});
}

std::string KVXComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    if (!GetComputerNameA(name, &size)) return kUnknown;
    return std::string(name, size);
}

std::string KVXUserName() {
    char name[64] = {};
    DWORD size = 63;
    // The returned length counts the terminating NUL.
    if (!GetUserNameA(name, &size) || size == 0) return kUnknown;
    return std::string(name, size - 1);
}

int KVXDefaultLangID() { return GetSystemDefaultLangID(); }

std::string KVXTimeZoneName() {
    TIME_ZONE_INFORMATION tz{};
    GetTimeZoneInformation(&tz);
    char name[128] = {};
    WideCharToMultiByte(CP_ACP, 0, tz.StandardName, -1, name, sizeof(name) - 1, nullptr, nullptr);
    return name;
}

int KVXTimeZoneBias() {
    TIME_ZONE_INFORMATION tz{};
    GetTimeZoneInformation(&tz);
    return static_cast<int>(tz.Bias);
}

std::string KVXVersionInfo(int key, const std::string& module) {
    static const char* const kKeys[] = {texts::SCompanyName,    texts::SProductName,    texts::SProductVersion,
                                        texts::SLegalCopyright, texts::SLegalTrademark, texts::SFileDescription,
                                        texts::SComments};
    if (key < 0 || key > 6) return std::string();
    std::string path = module;
    if (path.empty()) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        path = self;
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return std::string();
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return std::string();
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &value, &length) || length < 4) return std::string();
    const DWORD translation = *static_cast<DWORD*>(value);
    const std::string query = "\\StringFileInfo\\" + fw::IntToHex(translation & 0xFFFF, 4) +
                              fw::IntToHex(translation >> 16, 4) + "\\" + kKeys[key];
    if (!VerQueryValueA(data.data(), query.c_str(), &value, &length) || !value) return std::string();
    return std::string(static_cast<const char*>(value));
}

TKVXCaptionMetrics KVXSystemCaptionMetrics() {
    TKVXCaptionMetrics m;
    m.CXSize = GetSystemMetrics(SM_CXSIZE);
    m.CYCaption = GetSystemMetrics(SM_CYCAPTION);
    m.CXDlgFrame = GetSystemMetrics(SM_CXDLGFRAME);
    m.CYDlgFrame = GetSystemMetrics(SM_CYDLGFRAME);
    m.CXBorder = GetSystemMetrics(SM_CXBORDER);
    m.CYBorder = GetSystemMetrics(SM_CYBORDER);
    m.CXFrame = GetSystemMetrics(SM_CXFRAME);
    m.CYFrame = GetSystemMetrics(SM_CYFRAME);
    m.CYSmCaption = GetSystemMetrics(SM_CYSMCAPTION);
    m.CXSmSize = GetSystemMetrics(SM_CXSMSIZE);
    m.CXSmIcon = GetSystemMetrics(SM_CXSMICON);
    m.NewLook = true;
    return m;
}

void KVXCaptionRects(HWND window, fw::TRect& captionRect, fw::TRect& textRect, int& flags) {
    TKVXCaptionWindow w;
    RECT r{};
    if (IsWindow(window)) {
        w.Style = static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE));
        w.ExStyle = static_cast<uint32_t>(GetWindowLongA(window, GWL_EXSTYLE));
        GetWindowRect(window, &r);
    }
    w.Width = r.right - r.left;
    w.Visible = IsWindow(window) && IsWindowVisible(window);
    w.Iconic = w.Visible && IsIconic(window);
    KVXCaptionRectsOf(w, KVXSystemCaptionMetrics(), captionRect, textRect, flags);
}

// ---- TKVXSysInfo ------------------------------------------------------------------------------

TKVXSysInfo::TKVXSysInfo(TComponent* owner)
    : TKVXComponent(owner), fonts_(new fw::TStringList()), printers_(new fw::TStringList()),
      environment_(new fw::TStringList()) {}

void TKVXSysInfo::BeforeDestruction() {
    fw::FreeAndNil(fonts_);
    fw::FreeAndNil(printers_);
    fw::FreeAndNil(environment_);
    TKVXComponent::BeforeDestruction();
}

void TKVXSysInfo::SetKeyEventSeam(KeyEventSeam seam) { g_keyEvent = seam ? seam : DefaultKeyEvent; }

std::string TKVXSysInfo::FreeGdiRes() const { return fw::Format("%d %%", {KVXFreeResources(1)}); }
std::string TKVXSysInfo::FreeUsrRes() const { return fw::Format("%d %%", {KVXFreeResources(2)}); }
std::string TKVXSysInfo::FreeSysRes() const { return fw::Format("%d %%", {KVXFreeResources(0)}); }
std::string TKVXSysInfo::MemoryLoaded() const { return fw::Format("%d %%", {KVXMemoryLoad()}); }

std::string TKVXSysInfo::DefaultLanguageString() const {
    char name[256] = {};
    VerLanguageNameA(static_cast<DWORD>(KVXDefaultLangID()), name, 255);
    return name;
}

int TKVXSysInfo::ScreenWidth() const { return fw::Screen ? fw::Screen->Width() : GetSystemMetrics(SM_CXSCREEN); }
int TKVXSysInfo::ScreenHeight() const { return fw::Screen ? fw::Screen->Height() : GetSystemMetrics(SM_CYSCREEN); }
int TKVXSysInfo::ScreenPPi() const { return fw::Screen ? fw::Screen->PixelsPerInch() : 96; }

void TKVXSysInfo::SetToggle(BYTE vk, bool value) {
    if (((GetKeyState(vk) & 1) != 0) == value) return;
    g_keyEvent(vk, 0x45, KEYEVENTF_EXTENDEDKEY);
    g_keyEvent(vk, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
}

bool TKVXSysInfo::WindowAnimation() const {
    ANIMATIONINFO info{};
    info.cbSize = sizeof(info);
    SystemParametersInfoA(SPI_GETANIMATION, sizeof(info), &info, 0);
    return info.iMinAnimate != 0;
}
void TKVXSysInfo::SetWindowAnimation(bool value) {
    ANIMATIONINFO info{};
    info.cbSize = sizeof(info);
    info.iMinAnimate = value ? 1 : 0;
    SystemParametersInfoA(SPI_SETANIMATION, sizeof(info), &info, kUpdate);
}
bool TKVXSysInfo::WarningBeep() const { return Spi(SPI_GETBEEP); }
void TKVXSysInfo::SetWarningBeep(bool value) { SpiSet(SPI_SETBEEP, value); }
bool TKVXSysInfo::ScreenSaveActive() const { return Spi(SPI_GETSCREENSAVEACTIVE); }
void TKVXSysInfo::SetScreenSaveActive(bool value) { SpiSet(SPI_SETSCREENSAVEACTIVE, value); }
bool TKVXSysInfo::FontSmoothing() const { return KVXPlusAvailable() && Spi(SPI_GETFONTSMOOTHING); }
void TKVXSysInfo::SetFontSmoothing(bool value) {
    if (KVXPlusAvailable()) SpiSet(SPI_SETFONTSMOOTHING, value);
}
bool TKVXSysInfo::DragFullWindows() const { return KVXPlusAvailable() && Spi(SPI_GETDRAGFULLWINDOWS); }
void TKVXSysInfo::SetDragFullWindows(bool value) {
    if (KVXPlusAvailable()) SpiSet(SPI_SETDRAGFULLWINDOWS, value);
}
bool TKVXSysInfo::SnapToDefaultButton() const { return KVXIsNT() && Spi(SPI_GETSNAPTODEFBUTTON); }
void TKVXSysInfo::SetSnapToDefaultButton(bool value) {
    if (KVXIsNT()) SpiSet(SPI_SETSNAPTODEFBUTTON, value);
}
int TKVXSysInfo::KeyboardDelay() const { return SpiInt(SPI_GETKEYBOARDDELAY); }
void TKVXSysInfo::SetKeyboardDelay(int value) { SpiSet(SPI_SETKEYBOARDDELAY, static_cast<UINT>(value)); }
int TKVXSysInfo::KeyboardSpeed() const { return SpiInt(SPI_GETKEYBOARDSPEED); }
void TKVXSysInfo::SetKeyboardSpeed(int value) { SpiSet(SPI_SETKEYBOARDSPEED, static_cast<UINT>(value)); }

fw::TStringList* TKVXSysInfo::AllFonts() {
    fonts_->Clear();
    if (fw::Screen) fonts_->AddStrings(*fw::Screen->Fonts());
    fonts_->SetSorted(true);
    return fonts_;
}

fw::TStringList* TKVXSysInfo::AllPrinters() {
    printers_->SetSorted(false);
    printers_->Clear();
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed) {
        std::vector<BYTE> buffer(needed);
        if (EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) {
            const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
            for (DWORD i = 0; i < count; ++i)
                if (info[i].pPrinterName) printers_->Add(info[i].pPrinterName);
        }
    }
    printers_->SetSorted(true);
    return printers_;
}

fw::TStringList* TKVXSysInfo::Environment() {
    KVXEnvironment(*environment_);
    return environment_;
}

}  // namespace kvx::win32
