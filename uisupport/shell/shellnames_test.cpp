// The views' text rules: which texts are paths, object names of paths, the size column, the
// browser's messages, the monitor's folder and the combo's path steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uisupport/shell/shellfolders.h"
#include "uisupport/shell/shellnames.h"

namespace uis {
namespace {

TEST(ShellNames, PathsAreDriveOrNetworkPaths) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\", true},
        {"d:\\a\\b", true},
        {"\\\\server\\share", true},
        // Wine's answers for the printers and network folders.
        {"::{20d04fe0-3aea-1069-a2d8-08002b30309d}\\::{2227a280-3aea-1069-a2de-08002b30309d}", false},
        {"::{208d2c60-3aea-1069-a2d7-08002b30309d}", false},
        {"", false},
        {"\\single", false},
        {"1:\\", false},
        {"relative\\path", false},
    };
    for (const auto& [path, isPath] : cases) EXPECT_EQ(IsFileSystemPath(path), isPath) << path;
}

TEST(ShellNames, ObjectNamesOfPaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\", "C:\\"}, {"D:\\a.zip", "a.zip"}, {"D:\\a\\b", "b"}, {"", ""}, {"D:\\a\\", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(ObjectNameOfPath(path), name) << path;
}

TEST(ShellNames, DriveRootNames) {
    EXPECT_TRUE(IsDriveRootName("C:\\"));
    EXPECT_TRUE(IsDriveRootName("C:"));
    EXPECT_FALSE(IsDriveRootName("C"));
    EXPECT_FALSE(IsDriveRootName("C:\\a"));
    EXPECT_FALSE(IsDriveRootName("My Computer"));
}

TEST(ShellNames, KilobyteColumn) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "0 KB"},       {1, "1 KB"},          {1023, "1 KB"},      {1024, "1 KB"},         {1535, "1 KB"},
        {1536, "2 KB"},    {2048, "2 KB"},       {1024000, "1,000 KB"}, {0xFFFFFFFFu, "4,194,304 KB"},
    };
    for (const auto& [size, text] : cases) EXPECT_EQ(KilobyteText(size, ','), text) << size;
    EXPECT_EQ(KilobyteText(5u * 1024 * 1024, '.'), "5.120 KB");
    EXPECT_EQ(KilobyteText(5u * 1024 * 1024, 0), "5120 KB");
}

TEST(ShellNames, Messages) {
    EXPECT_EQ(FolderNotFoundMessage("D:\\nowhere"), "Cannot Find Folder: D:\\nowhere");
    const std::string longPath = "D:\\" + std::string(100, 'x');
    EXPECT_EQ(FolderNotFoundMessage(longPath), "Cannot Find Folder: " + longPath.substr(0, 40));
    EXPECT_EQ(ObjectNotFoundMessage("readme", "D:\\"), "Error! Cannot find Object \"readme\" in Folder \"D:\\\"");
}

TEST(ShellNames, MonitorFolders) {
    EXPECT_EQ(MonitorDirectory("C:\\"), "C:\\");
    EXPECT_EQ(MonitorDirectory("D:\\a\\"), "D:\\a");
    EXPECT_EQ(MonitorDirectory("D:\\a"), "D:\\a");
    EXPECT_EQ(MonitorDirectory(""), "");
}

TEST(ShellNames, ComboPathSteps) {
    EXPECT_EQ(ComboPathSteps("D:\\"), std::vector<std::string>{});
    EXPECT_EQ(ComboPathSteps("D:\\a\\b\\c\\"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ComboPathSteps("C:\\PROGRAM files\\wINE"), (std::vector<std::string>{"Program files", "Wine"}));
}

TEST(ShellFolders, NumbersOfTheSpecialFolders) {
    EXPECT_EQ(ShellFolderNames().size(), static_cast<size_t>(kShellFolderCount));
    EXPECT_EQ(ShellFolderNames()[static_cast<int>(TJexoShellFolder::SF_DRIVES)], "SF_DRIVES");
    EXPECT_EQ(CsidlOf(TJexoShellFolder::SF_FILESYSTEMFOLDER), 0x11);
    EXPECT_EQ(CsidlOf(TJexoShellFolder::SF_DRIVES), 0x11);
    EXPECT_EQ(CsidlOf(TJexoShellFolder::SF_DESKTOP), 0x00);
    EXPECT_EQ(CsidlOf(TJexoShellFolder::SF_PRINTERS), 0x04);
    EXPECT_EQ(CsidlOf(TJexoShellFolder::SF_TEMPLATES), 0x15);
}

}  // namespace
}  // namespace uis
