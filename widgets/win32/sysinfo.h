// Questions about the running system: platform, memory, keyboard and screen settings, user and
// computer names, folders, time zone, the program's version information and the geometry of a
// window's caption bar; TKVXSysInfo publishes most answers as properties computed on every read.
// Only the NT branch exists: every system this runs on is of the NT family.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/graphics_values.h"
#include "framework/core/lists.h"
#include "framework/win32/winapi.h"
#include "widgets/captionrects.h"
#include "widgets/kvxclass.h"

namespace kvx::win32 {

// Platform flags, fixed for the run.
bool KVXIsWin95();
bool KVXIsWin98();
bool KVXIsNT();
bool KVXPlusAvailable();

int KVXColorDepth();
int KVXScreenSaverDelay();  // minutes
bool KVXNumLock();
bool KVXCapsLock();
bool KVXScrollLock();
uint64_t KVXMemPhysTotal();
uint64_t KVXMemPhysFree();
uint64_t KVXMemVirtTotal();
uint64_t KVXMemVirtFree();
uint64_t KVXMemPageTotal();
uint64_t KVXMemPageFree();
int KVXMemoryLoad();
int KVXMinorVersion();
int KVXBuildNumber();
std::string KVXPlatformName();
int KVXProcessorCount();
std::string KVXProcessorName();
// 0 on NT: the free-resource heaps of the 95 family do not exist there.
int KVXFreeResources(int kind);
std::string KVXTempPath();
void KVXEnvironment(fw::TStrings& list);
std::string KVXWindowsPath();
std::string KVXSystemPath();
std::string KVXRegisteredOrganization();
std::string KVXRegisteredOwner();
std::string KVXVersionString();
std::string KVXComputerName();
std::string KVXUserName();
int KVXDefaultLangID();
std::string KVXTimeZoneName();
int KVXTimeZoneBias();
// Key 0..6: CompanyName, ProductName, ProductVersion, LegalCopyright, LegalTrademark,
// FileDescription, Comments of the program's own version resource ("" without one). `module`
// (null: the program) names another module to read.
std::string KVXVersionInfo(int key, const std::string& module = std::string());
// The caption bar and its text area in window coordinates (see widgets/captionrects.h for Flags).
void KVXCaptionRects(HWND window, fw::TRect& captionRect, fw::TRect& textRect, int& flags);
TKVXCaptionMetrics KVXSystemCaptionMetrics();

class TKVXSysInfo : public TKVXComponent {
public:
    explicit TKVXSysInfo(TComponent* owner);

    std::string CurrentUser() const { return KVXUserName(); }
    std::string RegisteredCompany() const { return KVXRegisteredOrganization(); }
    std::string RegisteredOwner() const { return KVXRegisteredOwner(); }
    std::string VersionWIN() const { return KVXVersionString(); }
    std::string WinPath() const { return KVXWindowsPath(); }
    std::string WinSysPath() const { return KVXSystemPath(); }
    std::string FreeGdiRes() const;
    std::string FreeUsrRes() const;
    std::string FreeSysRes() const;
    std::string MemoryLoaded() const;
    std::string Platform() const { return KVXPlatformName(); }
    std::string TempPath() const { return KVXTempPath(); }
    std::string Computername() const { return KVXComputerName(); }
    std::string ProcessorType() const { return KVXProcessorName(); }
    std::string DefaultLanguageString() const;
    std::string TimeZone() const { return KVXTimeZoneName(); }
    int BuildNumber() const { return KVXBuildNumber(); }
    // Kilobytes.
    int64_t MemPhysTotal() const { return static_cast<int64_t>(KVXMemPhysTotal() >> 10); }
    int64_t MemPhysFree() const { return static_cast<int64_t>(KVXMemPhysFree() >> 10); }
    int64_t MemVirtTotal() const { return static_cast<int64_t>(KVXMemVirtTotal() >> 10); }
    int64_t MemVirtFree() const { return static_cast<int64_t>(KVXMemVirtFree() >> 10); }
    int64_t MemPageTotal() const { return static_cast<int64_t>(KVXMemPageTotal() >> 10); }
    int64_t MemPageFree() const { return static_cast<int64_t>(KVXMemPageFree() >> 10); }
    int ScreenSaverDelay() const { return KVXScreenSaverDelay(); }
    int DefaultLanguageID() const { return KVXDefaultLangID(); }
    int TimeZoneDiff() const { return KVXTimeZoneBias(); }
    int ScreenWidth() const;
    int ScreenHeight() const;
    int ScreenPPi() const;
    uint8_t ProcessorNumber() const { return static_cast<uint8_t>(KVXProcessorCount()); }
    uint8_t ColorDepth() const { return static_cast<uint8_t>(KVXColorDepth()); }
    bool PlusAvailable() const { return KVXPlusAvailable(); }

    bool NumLockState() const { return KVXNumLock(); }
    void SetNumLockState(bool value) { SetToggle(VK_NUMLOCK, value); }
    bool CapsLockState() const { return KVXCapsLock(); }
    void SetCapsLockState(bool value) { SetToggle(VK_CAPITAL, value); }
    bool ScrollLockState() const { return KVXScrollLock(); }
    void SetScrollLockState(bool value) { SetToggle(VK_SCROLL, value); }
    bool WindowAnimation() const;
    void SetWindowAnimation(bool value);
    bool WarningBeep() const;
    void SetWarningBeep(bool value);
    bool ScreenSaveActive() const;
    void SetScreenSaveActive(bool value);
    bool FontSmoothing() const;
    void SetFontSmoothing(bool value);
    bool DragFullWindows() const;
    void SetDragFullWindows(bool value);
    bool SnapToDefaultButton() const;
    void SetSnapToDefaultButton(bool value);
    int KeyboardDelay() const;
    void SetKeyboardDelay(int value);
    int KeyboardSpeed() const;
    void SetKeyboardSpeed(int value);

    // Refilled on every read.
    fw::TStringList* AllFonts();
    fw::TStringList* AllPrinters();
    fw::TStringList* Environment();

    // The synthetic key presses behind the toggles (a seam for tests).
    using KeyEventSeam = void (*)(BYTE vk, BYTE scan, DWORD flags);
    static void SetKeyEventSeam(KeyEventSeam seam);

protected:
    void BeforeDestruction() override;

private:
    void SetToggle(BYTE vk, bool value);
    fw::TStringList* fonts_;
    fw::TStringList* printers_;
    fw::TStringList* environment_;
};

}  // namespace kvx::win32
