// Registers the suite's Win32 components (and the enumerations they publish) for form text.
// KVXStartApplication calls it; calling it again is harmless.
#pragma once

namespace kvx::win32 {
void KVXRegisterWin32Classes();
}  // namespace kvx::win32
