#include "app/program_lines.h"

#include <gtest/gtest.h>

namespace {

using namespace app;

TEST(ProgramLines, ScannerGetsTheArchiveAsOneArgument) {
    EXPECT_EQ(ScannerParameters("/scan /all", "C:\\my files\\a.zip"), "/scan /all \"C:\\my files\\a.zip\"");
    EXPECT_EQ(ScannerParameters("", "C:\\a.zip"), "\"C:\\a.zip\"");
}

TEST(ProgramLines, BuilderLineStaysUnquoted) {
    EXPECT_EQ(BuilderCommandLine("C:\\my files\\a.zip"), "morvixsfx.exe C:\\my files\\a.zip");
    EXPECT_EQ(BuilderCommandLine(""), "morvixsfx.exe ");
}

TEST(ProgramLines, DesktopLinkKeepsTheArchiveExtension) {
    EXPECT_EQ(DesktopLinkName("C:\\users\\u\\Desktop", "C:\\fx\\a.zip"), "C:\\users\\u\\Desktop\\a.zip.lnk");
    EXPECT_EQ(DesktopLinkName("C:\\Desk\\", "C:\\v1.2\\b"), "C:\\Desk\\b.lnk");
}

TEST(ProgramLines, EncodedOutputAndTheSameFileCheck) {
    EXPECT_EQ(EncodedOutputName("C:\\v1.2\\a.zip"), "C:\\v1.2\\a.UUE");
    EXPECT_EQ(EncodedOutputName("C:\\x\\readme"), "C:\\x\\readme.UUE");
    // A ".uue" input gives its own name back: the dialog refuses it.
    EXPECT_TRUE(SameFileName(EncodedOutputName("C:\\x\\a.uue"), "C:\\x\\a.uue"));
    EXPECT_FALSE(SameFileName("C:\\x\\a.uue", "C:\\x\\b.uue"));
}

}  // namespace
