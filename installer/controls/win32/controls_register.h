// Registers the setup program's controls (the 3-D gauge, the scroll bar and its arrow button, the
// scroll-bar settings) and the enumerations they publish, for form text. Calling it again is harmless.
#pragma once

namespace inst::win32 {

void RegisterInstallerControls();

}  // namespace inst::win32
