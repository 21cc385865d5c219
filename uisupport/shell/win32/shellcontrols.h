// The shell views and their parts, and the registration of their classes for form text.
#pragma once

#include "uisupport/shell/shelllink.h"
#include "uisupport/shell/win32/dirmon.h"
#include "uisupport/shell/win32/shellbrowser.h"
#include "uisupport/shell/win32/shellcombo.h"
#include "uisupport/shell/win32/shelllist.h"
#include "uisupport/shell/win32/shelltree.h"

namespace uis {

// Registers TDirMon, TShellBrowser, TJexoShellLink, TJexoShellList, TJexoShellTree and
// TJexoShellCombo with their enumerations, after the framework's standard controls. Idempotent.
void RegisterShellClasses();

}  // namespace uis
