#include <gtest/gtest.h>

#include "engine/core/output_name.h"
#include "engine/core/volume_names.h"

using namespace engine;

TEST(VolumeNames, ParseVolumeExt)
{
    struct Case { const char* path; int letter; int number; };
    const Case cases[] = {
        {"D:\\v\\set.ARJ", 'A', 1}, {"set.A01", 'A', 2}, {"set.RAR", 'R', 0}, {"set.R00", 'R', 1},
        {"set.001", 255, 2}, {"set.arj", 'a', 1}, {"set.r17", 'r', 18}, {"set.a", 'a', 1},
        {"set.099", 255, 100}, {"D:\\v.1\\set.ZIP", 'Z', 0},
    };
    for (const Case& c : cases) {
        VolumeNaming v;
        v.ParseVolumeExt(c.path);
        EXPECT_EQ(v.VolumeLetter, c.letter) << c.path;
        EXPECT_EQ(v.VolumeNumber, c.number) << c.path;
    }
}

TEST(VolumeNames, NextVolumePathCountsUp)
{
    VolumeNaming v;
    v.ParseVolumeExt("D:\\v\\set.ARJ");
    EXPECT_EQ(v.NextVolumePath("D:\\v\\set.ARJ"), "D:\\v\\set.A01");
    EXPECT_EQ(v.NextVolumePath("D:\\v\\set.ARJ"), "D:\\v\\set.A02");

    v.ParseVolumeExt("set.arj");
    EXPECT_EQ(v.NextVolumePath("set.arj"), "set.a01");

    v.ParseVolumeExt("x.RAR");
    EXPECT_EQ(v.NextVolumePath("x.RAR"), "x.R00");
    EXPECT_EQ(v.NextVolumePath("x.RAR"), "x.R01");

    v.ParseVolumeExt("x.001");
    EXPECT_EQ(v.NextVolumePath("x.001"), "x.002");

    // Two and three digits: the letter stays up to 99, then the number stands alone.
    v.VolumeLetter = 'A';
    EXPECT_EQ(v.VolumeExt(10), "A10");
    EXPECT_EQ(v.VolumeExt(100), "100");
    EXPECT_EQ(v.VolumeExt(-1), "");
    v.VolumeLetter = 255;
    EXPECT_EQ(v.VolumeExt(42), "042");

    // Only the name's own extension changes, not a dot in a folder or earlier in the name.
    v.ParseVolumeExt("D:\\v.1\\set.tar.arj");
    EXPECT_EQ(v.NextVolumePath("D:\\v.1\\set.tar.arj"), "D:\\v.1\\set.tar.a01");

    VolumeNaming none;
    EXPECT_EQ(none.NextVolumePath("x.arj"), "");
    none.ParseVolumeExt("x.arj");
    EXPECT_EQ(none.NextVolumePath(""), "");
}

TEST(OutputName, StoredFoldersGoBelowTheExtractFolder)
{
    struct Case { const char* name; bool useDirs; const char* want; };
    const Case cases[] = {
        {"D:\\a\\b.txt", true, "D:\\out\\a\\b.txt"},
        {"\\a\\b.txt", true, "D:\\out\\a\\b.txt"},
        {"a/b.txt", true, "D:\\out\\a\\b.txt"},
        {"D:\\a\\b.txt", false, "D:\\out\\b.txt"},
        {"\\a\\b.txt", false, "D:\\out\\b.txt"},
        {"a/b.txt", false, "D:\\out\\b.txt"},
        {"b.txt", true, "D:\\out\\b.txt"},
        {"D:b.txt", true, "D:\\out\\b.txt"},
        {"a:b\\c", true, "D:\\out\\b\\c"},
        {"a\\.\\b.txt", true, "D:\\out\\a\\b.txt"},
        {"a\\\\b.txt", true, "D:\\out\\a\\b.txt"},
        {"..a\\b..txt", true, "D:\\out\\..a\\b..txt"},
        {"CONFIG\\COM10.txt", true, "D:\\out\\CONFIG\\COM10.txt"},
    };
    for (const Case& c : cases) {
        auto got = BuildOutputName(c.name, "D:\\out\\", c.useDirs);
        ASSERT_TRUE(got.has_value()) << c.name;
        EXPECT_EQ(*got, c.want) << c.name;
    }
}

TEST(OutputName, HostileNamesNeverLeaveTheExtractFolder)
{
    // Each name tries to write outside D:\out\ or onto a device; every one is refused, with the
    // stored folders kept and without them.
    const char* hostile[] = {
        "..\\..\\Windows\\x.dll", "../x", "a/../../x", "a\\..\\..\\x", "..", "a\\..",
        "a\\. .\\x", "a\\...\\x", "a\\.. \\x", "C:\\..\\x", "\\\\server\\share\\..\\x",
        "a\\b:stream", "x\\C:\\y", "CON", "nul.txt", "a\\com1\\x", "LPT9", "aux .txt",
        "a\\", "", "a\\b\x01", "a\\b|c", "a\\b*c", "a\\b?c", "a\\<b>",
    };
    for (const char* name : hostile) {
        auto got = BuildOutputName(name, "D:\\out\\", true);
        EXPECT_FALSE(got.has_value()) << "'" << name << "' gave " << got.value_or("");
    }
    // Without stored folders only the name part matters: it may still not be a device or "..".
    for (const char* name : {"a\\..", "..", "x\\CON", "a\\", "dir\\aux.log"})
        EXPECT_FALSE(BuildOutputName(name, "D:\\out\\", false).has_value()) << name;
    EXPECT_EQ(BuildOutputName("..\\..\\x.txt", "D:\\out\\", false).value_or(""), "D:\\out\\x.txt");
}

TEST(OutputName, DeviceNames)
{
    // Blanks before the dot, the console names and the superscript port digits of the ANSI code page
    // (B9, B2, B3) all name devices on Windows.
    for (const char* n : {"CON", "con", "Nul.txt", "COM1", "lpt3.x.y", "AUX. ", "PRN  ", "aux .txt", "nul .txt",
                          "com1 .log", "CONIN$", "conout$", "CONIN$.txt", "COM\xb9", "lpt\xb2.txt", "Com\xb3 .x"})
        EXPECT_TRUE(IsDeviceName(n)) << n;
    for (const char* n : {"CONS", "COM0", "COM10", "LPT", "NULL.txt", "a.con", " aux", "CONIN", "COM\xb4", "LPT\xbc"})
        EXPECT_FALSE(IsDeviceName(n)) << n;
    for (const char* n : {"aux .txt", "CONOUT$", "x\\COM\xb2.log"})
        EXPECT_FALSE(BuildOutputName(n, "D:\\out\\", true).has_value()) << n;
}
