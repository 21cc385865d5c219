// Under Wine a test can start Unix programs (a Unix path given to CreateProcess runs the Unix binary),
// which is how Wine tests make fixtures with the real archivers and check results with Pillow.
#pragma once

#include <string>

namespace mx::test {

// Runs `script` through /bin/sh and returns its exit code, or -1 when it could not start or did not
// end within 60 seconds. A Unix child cannot be waited for through its handle, so the script leaves
// its exit code in a file of the folder that `unixDir` and `winDir` both name. Windows builds only.
int RunUnixScript(const std::string& unixDir, const std::string& winDir, const std::string& script);

}  // namespace mx::test
