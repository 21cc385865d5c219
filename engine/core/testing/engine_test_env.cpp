#include "engine/core/testing/engine_test_env.h"

#include <gtest/gtest.h>

#include "engine/core/register_classes.h"
#ifdef _WIN32
#include "engine/win32/engine_win32.h"
#endif

namespace engine::test {

void SetUpEngineTests()
{
    static bool done = false;
    if (done)
        return;
    done = true;
#ifdef _WIN32
    engine::win32::InstallEngineWin32();
#endif
    engine::RegisterClasses();
}

namespace {

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override { SetUpEngineTests(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace

}  // namespace engine::test
