// Registers the filled panel, the picture list box and the recent-files list (and the enumerations
// they publish) for form text. KVXRegisterWin32Classes calls it; calling it again is harmless.
#pragma once

namespace kvx::win32 {
void KVXRegisterPanelFillClasses();
}  // namespace kvx::win32
