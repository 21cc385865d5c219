// The shell's answers for names that exist only in an archive, under Wine.
#include "engine/win32/shell_info.h"

#include <gtest/gtest.h>

#include "framework/win32/winapi.h"

namespace engine::win32 {
namespace {

TEST(ShellInfo, KnownExtensionHasTypeNameAndIcon)
{
    // No such file exists: the extension alone decides.
    const std::string type = GetFileTypeName("C:\\no\\such\\folder\\notes.txt");
    EXPECT_FALSE(type.empty());
    EXPECT_EQ(GetFileTypeName("another\\readme.txt"), type);
    EXPECT_NE(GetFileTypeName("setup.exe"), type);

    const int icon = GetIconIndex("dir\\sub\\notes.txt");
    EXPECT_GE(icon, 0);
    EXPECT_EQ(GetIconIndex("other.txt"), icon);
    // The same index as the shell gives for the name part asked directly.
    SHFILEINFOA info{};
    ASSERT_NE(SHGetFileInfoA("notes.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                             SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
              0u);
    EXPECT_EQ(icon, info.iIcon);
}

TEST(ShellInfo, NamesWithoutAKnownTypeStillAnswer)
{
    // Whatever the shell says for an unknown extension or none, the answers stay usable.
    for (const char* name : {"archive.zq7", "noextension", "dir\\"}) {
        SCOPED_TRACE(name);
        EXPECT_GE(GetIconIndex(name), 0);
        GetFileTypeName(name);
    }
}

}  // namespace
}  // namespace engine::win32
