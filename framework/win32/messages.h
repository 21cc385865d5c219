// Message numbers of the framework. The CM_* and CN_* numbers are part of our ABI: controls of the
// suite and programs built on it compare against them, so entries are only ever appended.
#pragma once

#include <cstdint>

namespace fw {

// Framework notifications, sent with Perform or posted like any window message.
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0x00;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 0x01;
constexpr unsigned CM_GOTFOCUS = CM_BASE + 0x02;
constexpr unsigned CM_LOSTFOCUS = CM_BASE + 0x03;
constexpr unsigned CM_CANCELMODE = CM_BASE + 0x04;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 0x05;
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 0x06;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 0x07;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 0x08;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 0x09;
constexpr unsigned CM_HITTEST = CM_BASE + 0x0A;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 0x0B;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 0x0C;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 0x0D;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 0x0E;
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 0x0F;
constexpr unsigned CM_CTL3DCHANGED = CM_BASE + 0x10;  // 0xB010
constexpr unsigned CM_PARENTCTL3DCHANGED = CM_BASE + 0x11;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 0x12;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 0x13;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 0x14;
constexpr unsigned CM_MENUCHANGED = CM_BASE + 0x15;
constexpr unsigned CM_APPKEYDOWN = CM_BASE + 0x16;
constexpr unsigned CM_APPSYSCOMMAND = CM_BASE + 0x17;  // a form's WM_SYSCOMMAND offered to its controls
constexpr unsigned CM_BUTTONPRESSED_OLD = CM_BASE + 0x18;  // reserved; the group broadcast is 0xB051
constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 0x19;
constexpr unsigned CM_ENTER = CM_BASE + 0x1A;
constexpr unsigned CM_EXIT = CM_BASE + 0x1B;
constexpr unsigned CM_DESIGNHITTEST = CM_BASE + 0x1C;
constexpr unsigned CM_ICONCHANGED = CM_BASE + 0x1D;
constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 0x1E;
constexpr unsigned CM_INVOKEHELP = CM_BASE + 0x1F;
constexpr unsigned CM_WINDOWHOOK = CM_BASE + 0x20;
constexpr unsigned CM_RELEASE = CM_BASE + 0x21;
constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 0x22;
constexpr unsigned CM_PARENTSHOWHINTCHANGED = CM_BASE + 0x23;
constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 0x24;
constexpr unsigned CM_WININICHANGE = CM_BASE + 0x25;
constexpr unsigned CM_FONTCHANGE = CM_BASE + 0x26;
constexpr unsigned CM_TIMECHANGE = CM_BASE + 0x27;
constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 0x28;
constexpr unsigned CM_UIACTIVATE = CM_BASE + 0x29;
constexpr unsigned CM_UIDEACTIVATE = CM_BASE + 0x2A;
constexpr unsigned CM_DOCWINDOWACTIVATE = CM_BASE + 0x2B;
constexpr unsigned CM_CONTROLLISTCHANGE = CM_BASE + 0x2C;
constexpr unsigned CM_GETDATALINK = CM_BASE + 0x2D;
constexpr unsigned CM_CHILDKEY = CM_BASE + 0x2E;
constexpr unsigned CM_DRAG = CM_BASE + 0x2F;
constexpr unsigned CM_HINTSHOW = CM_BASE + 0x30;
constexpr unsigned CM_DIALOGHANDLE = CM_BASE + 0x31;
constexpr unsigned CM_ISTOOLCONTROL = CM_BASE + 0x32;
constexpr unsigned CM_RECREATEWND = CM_BASE + 0x33;
constexpr unsigned CM_INVALIDATE = CM_BASE + 0x34;
constexpr unsigned CM_SYSFONTCHANGED = CM_BASE + 0x35;
constexpr unsigned CM_CONTROLCHANGE = CM_BASE + 0x36;
constexpr unsigned CM_CHANGED = CM_BASE + 0x37;
constexpr unsigned CM_MOUSEWHEEL = CM_BASE + 0x43;
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 0x51;  // 0xB051: group broadcast of speed buttons

// Private to the suite's hook-list window (re-install, free when unused); never sent to controls.
constexpr unsigned CM_HOOKLIST_REINSTALL = CM_BASE + 0x52;
constexpr unsigned CM_HOOKLIST_FREEUNUSED = CM_BASE + 0x53;

// The suite's own notifications.
constexpr unsigned CM_KVXTRANSPARENTCHANGED = 0xB0CD;
constexpr unsigned CM_KVXPARENTBACKCHANGED = 0xB0CE;
constexpr unsigned CM_KVXAFTERENTER = 0xB0CF;
constexpr unsigned CM_KVXAFTEREXIT = 0xB0D0;
constexpr unsigned CM_KVXBEVELCHANGED = 0xB0D1;

// A child's notifications, reflected back to the child as CN_BASE + the message.
constexpr unsigned CN_BASE = 0xBC00;
constexpr unsigned CN_COMMAND = CN_BASE + 0x0111;       // WM_COMMAND
constexpr unsigned CN_NOTIFY = CN_BASE + 0x004E;        // WM_NOTIFY
constexpr unsigned CN_DRAWITEM = CN_BASE + 0x002B;      // WM_DRAWITEM
constexpr unsigned CN_MEASUREITEM = CN_BASE + 0x002C;   // WM_MEASUREITEM
constexpr unsigned CN_HSCROLL = CN_BASE + 0x0114;       // WM_HSCROLL
constexpr unsigned CN_VSCROLL = CN_BASE + 0x0115;       // WM_VSCROLL
constexpr unsigned CN_CTLCOLORMSGBOX = CN_BASE + 0x0132;
constexpr unsigned CN_CTLCOLOREDIT = CN_BASE + 0x0133;
constexpr unsigned CN_CTLCOLORLISTBOX = CN_BASE + 0x0134;
constexpr unsigned CN_CTLCOLORBTN = CN_BASE + 0x0135;
constexpr unsigned CN_CTLCOLORDLG = CN_BASE + 0x0136;
constexpr unsigned CN_CTLCOLORSCROLLBAR = CN_BASE + 0x0137;
constexpr unsigned CN_CTLCOLORSTATIC = CN_BASE + 0x0138;
constexpr unsigned CN_KEYDOWN = CN_BASE + 0x0100;
constexpr unsigned CN_KEYUP = CN_BASE + 0x0101;
constexpr unsigned CN_CHAR = CN_BASE + 0x0102;
constexpr unsigned CN_SYSKEYDOWN = CN_BASE + 0x0104;
constexpr unsigned CN_SYSCHAR = CN_BASE + 0x0106;

// Private posted messages of the framework (WM_APP + 0x3F00 .. 0x3FFF).
constexpr unsigned WM_FW_FIRST = 0x8000 + 0x3F00;
constexpr unsigned WM_FW_QUEUEDFREE = WM_FW_FIRST + 0x00;
constexpr unsigned WM_FW_SYNCWAKE = WM_FW_FIRST + 0x01;
constexpr unsigned WM_FW_AUTOMATION = WM_FW_FIRST + 0x02;
constexpr unsigned WM_FW_TIMERPOOL = WM_FW_FIRST + 0x03;
constexpr unsigned WM_FW_LAST = 0x8000 + 0x3FFF;

}  // namespace fw
