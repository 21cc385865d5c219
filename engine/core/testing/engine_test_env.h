// Shared pieces of the engine core tests: installing the system seams once per test program and a
// recorder of events.
#pragma once

#include <string>
#include <vector>

namespace engine::test {

// Installs the Win32 seams on Windows (nothing natively, where the POSIX ones are the default) and
// registers the engine's classes.
void SetUpEngineTests();

}  // namespace engine::test
