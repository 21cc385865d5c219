// Installs the platform's seams before any test of the system routines runs: the Win32 ones on
// Windows, the native defaults elsewhere.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "framework/win32/platform_win32.h"
#endif

namespace {

class PlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
#ifdef _WIN32
        fw::InstallWin32Platform();
#endif
    }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new PlatformEnvironment);

}  // namespace
