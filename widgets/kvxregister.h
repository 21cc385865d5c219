// Registers the portable suite classes (and the enumerations they publish) for form text and class
// names. KVXCreateApplication calls it; calling it again is harmless.
#pragma once

namespace kvx {
void KVXRegisterClasses();
}  // namespace kvx
