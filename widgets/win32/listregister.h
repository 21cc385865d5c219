// Registers the suite's list box and file search for form text (and the enumerations they publish).
// KVXRegisterWin32Classes calls it; calling it again is harmless.
#pragma once

namespace kvx::win32 {
void KVXRegisterListClasses();
}  // namespace kvx::win32
