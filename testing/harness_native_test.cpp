#include "testing/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(Harness, ScratchFolderIsFreshAndWritable)
{
    std::string dir = mx::test::FreshDir();
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    mx::test::WriteFile(dir + "/a.bin", std::string("\0\1\2", 3));
    EXPECT_EQ(mx::test::ReadFile(dir + "/a.bin"), std::string("\0\1\2", 3));
    EXPECT_TRUE(std::filesystem::is_directory(mx::test::SourceDir() + "/testing"));
}
