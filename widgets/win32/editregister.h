// Registers the caret and the owner-drawn edits (and the enumerations they publish) for form text.
// KVXRegisterWin32Classes calls it; calling it again is harmless.
#pragma once

namespace kvx::win32 {
void KVXRegisterEditClasses();
}  // namespace kvx::win32
