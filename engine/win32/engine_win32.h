// The engine's Windows side: the drive check through the volume information of the drive's root
// with critical-error boxes switched off.
#pragma once

namespace engine::win32 {

// Installs the framework's Win32 seams and the engine's Win32 drive seam. Programs and Windows test
// programs call it once at start.
void InstallEngineWin32();

}  // namespace engine::win32
