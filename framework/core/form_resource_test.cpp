// Forms compiled into a Windows program are found as RCDATA named after their class and load through
// the Win32 resource seam.
#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/core/object_test_classes.h"
#include "framework/core/platform.h"
#include "framework/win32/platform_win32.h"

namespace {

using namespace fwtest;

TEST(FormResource, CompiledFormLoadsFromTheProgramsResources)
{
    fw::InstallWin32Platform();
    RegisterTestClasses();
    auto* form = NewRoot<TTestForm>();
    ASSERT_TRUE(fw::ReadComponentResource(form));
    EXPECT_EQ(form->Name(), "frmResource");
    EXPECT_EQ(form->Tag(), 7);
    ASSERT_NE(form->Widget1, nullptr);
    EXPECT_EQ(form->Widget1->Count(), -3);
    EXPECT_TRUE(static_cast<bool>(form->Widget1->OnChange));
    form->Free();

    auto* other = NewRoot<TLogForm>();
    EXPECT_FALSE(fw::ReadComponentResource(other));  // no TLOGFORM in this program
    other->Free();
}

}  // namespace
