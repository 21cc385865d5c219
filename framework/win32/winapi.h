// The one way framework-based Win32 code includes the system headers. Only the ANSI ("A") entry
// points are called, by explicit name, so the header's A/W macros that share a name with a method of
// the framework or the suite (DeleteFile, MessageBox, GetObject, ...) are dropped after the include.
#pragma once

#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef WINVER
#define WINVER 0x0601
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#undef DeleteFile
#undef MoveFile
#undef CopyFile
#undef CreateDirectory
#undef RemoveDirectory
#undef MessageBox
#undef OemToAnsi
#undef AnsiToOem
#undef GetObject
#undef LoadString
#undef LoadBitmap
#undef LoadIcon
#undef LoadCursor
#undef DrawText
#undef TextOut
#undef FindWindow
#undef SendMessage
#undef PostMessage
#undef CreateWindow
#undef GetClassName
#undef GetWindowText
#undef SetWindowText
#undef CreateFont
#undef GetMessage
#undef DispatchMessage
#undef PeekMessage
#undef DefWindowProc
#undef CallWindowProc
#undef RegisterClass
#undef GetClassInfo
#undef CreateDialog
#undef DialogBox
#undef IsDialogMessage
#undef CharUpper
#undef CharLower
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef GetTempPath
#undef GetTempFileName
#undef FindFirstFile
#undef FindNextFile
#undef GetFileAttributes
#undef SetFileAttributes
#undef GetModuleFileName
#undef GetCommandLine
#undef Yield
// The colour helpers are the framework's own (constexpr, on TColor): the same values as the macros.
#undef RGB
#undef GetRValue
#undef GetGValue
#undef GetBValue

#include "framework/core/graphics_values.h"
#include "framework/core/platform.h"

namespace fw {

// The framework's registry roots carry the numbers of the predefined handles.
inline RegRoot ToRegRoot(HKEY key) {
    return static_cast<RegRoot>(reinterpret_cast<ULONG_PTR>(key));
}

}  // namespace fw

using fw::GetBValue;
using fw::GetGValue;
using fw::GetRValue;
using fw::RGB;
