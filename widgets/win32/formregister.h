// Registers the form components (caption styler, form fills and the dialog components) for form
// text. KVXRegisterWin32Classes calls it.
#pragma once

namespace kvx::win32 {
void KVXRegisterFormClasses();
}  // namespace kvx::win32
