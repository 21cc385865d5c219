// The Win32 side of the install library: the system seam over the Windows API, and the controls the
// translator knows (labels and buttons with a GLID, memo lines, list-view columns, list, combo and
// radio-group items, fonts).
#pragma once

#include "installer/system.h"

namespace inst {

// Installs the Win32 system seam (and the framework's Win32 seams, if they are not yet installed).
void InstallWin32System();
InstallSystem& Win32System();
// Installs the install component's host over the framework's application and main form.
void InstallWin32Host();

}  // namespace inst
