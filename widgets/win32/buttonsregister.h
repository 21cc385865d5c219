// Registers the spin edit, the check boxes and radio buttons and their groups for form text.
#pragma once

namespace kvx::win32 {
void KVXRegisterButtonControlClasses();
}  // namespace kvx::win32
