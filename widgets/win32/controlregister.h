// Registers the suite's controls (and the enumerations they publish) for form text.
// KVXRegisterWin32Classes calls it; calling it again is harmless.
#pragma once

namespace kvx::win32 {
void KVXRegisterControlClasses();
}  // namespace kvx::win32
