#include "sfx/builder/sfx_config_file.h"

#include <gtest/gtest.h>

#include "framework/core/exceptions.h"
#include "sfx/builder/option_writer.h"
#include "testing/test_env.h"

namespace sfx {
namespace {

TEST(SfxConfigFile, ChangeExt) {
    const struct {
        const char* in;
        const char* want;
    } cases[] = {
        {"C:\\out\\data.zip", "C:\\out\\data.exe"},
        {"C:\\old.files\\data", "C:\\old.files\\data.exe"},
        {"C:\\old.files\\data.zip", "C:\\old.files\\data.exe"},
        {"C:/old.files/data", "C:/old.files/data.exe"},
        {"data.tar.gz", "data.tar.exe"},
        {"C:name", "C:name.exe"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ChangeExt(c.in, "exe"), c.want) << c.in;
}

TEST(SfxConfigFile, WriteThenReadGivesTheSameFields) {
    const std::string dir = mx::test::FreshDir();
    SfxSettings s;
    s.zipPath = "  C:\\data\\a.zip ";
    s.outputPath = "C:\\data\\a.out ";
    s.caption = "Caption";
    s.program = "setup.exe";
    s.params = "/s";
    s.hideRunBox = true;
    s.allHilited = false;
    s.hideOverwrite = true;
    s.overwriteIndex = 2;
    s.sortList = true;
    s.rootDir = "C:\\Root";
    SaveSfxConfig(dir + "/" + kDefaultConfigName, s);

    SfxSettings r;
    r.allHilited = true;
    const uint16_t len = LoadSfxConfig(dir + "/" + kDefaultConfigName, r);
    EXPECT_EQ(len, 11 + 7 + 7 + 9 + 2);
    EXPECT_EQ(r.zipPath, "C:\\data\\a.zip");
    EXPECT_EQ(r.outputPath, "C:\\data\\a.exe");
    EXPECT_EQ(r.caption, s.caption);
    EXPECT_EQ(r.rootDir, s.rootDir);
    EXPECT_EQ(r.program, s.program);
    EXPECT_EQ(r.params, s.params);
    EXPECT_EQ(r.hideRunBox, true);
    EXPECT_EQ(r.allHilited, false);
    EXPECT_EQ(r.hideOverwrite, true);
    EXPECT_EQ(r.overwriteIndex, 2);
    EXPECT_EQ(r.sortList, true);
    EXPECT_FALSE(r.useAssociated);
    EXPECT_FALSE(r.extractToTemp);
}

TEST(SfxConfigFile, TextsWinOverTheClickHandling) {
    const std::string dir = mx::test::FreshDir();
    SfxSettings s;
    s.params = "readme.txt";     // ticks the associated box when written
    s.SetExtractToTemp(true);
    s.rootDir = "C:\\kept";      // a root text stored with the temp box ticked
    SaveSfxConfig(dir + "/o.qlv", s);

    SfxSettings r;
    r.program = "typed.exe";
    r.rootDir = "C:\\typed";
    LoadSfxConfig(dir + "/o.qlv", r);
    EXPECT_TRUE(r.useAssociated);
    EXPECT_TRUE(r.extractToTemp);
    EXPECT_EQ(r.rememberedProgram, "typed.exe");
    EXPECT_EQ(r.program, "");
    EXPECT_EQ(r.rootDir, "C:\\kept");
    EXPECT_EQ(r.params, "readme.txt");
}

TEST(SfxConfigFile, ShortFileFailsAfterTheFieldsReadSoFar) {
    const std::string dir = mx::test::FreshDir();
    SfxSettings s;
    s.zipPath = "C:\\z.zip";
    s.outputPath = "C:\\z.exe";
    s.caption = "A long caption";
    std::string bytes = WriteOptions(s, false).bytes;
    bytes.resize(bytes.size() - 3);
    mx::test::WriteFile(dir + "/short.qlv", bytes);

    SfxSettings r;
    EXPECT_THROW(LoadSfxConfig(dir + "/short.qlv", r), fw::EReadError);
    EXPECT_EQ(r.zipPath, "C:\\z.zip");
    EXPECT_EQ(r.outputPath, "C:\\z.exe");

    EXPECT_THROW(LoadSfxConfig(dir + "/missing.qlv", r), fw::EFOpenError);
}

TEST(SfxConfigFile, CheckZipFile) {
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/good.zip", std::string("PK\x03\x04rest", 8));
    mx::test::WriteFile(dir + "/bad.zip", "MZ nothing");
    EXPECT_EQ(CheckZipFile(dir + "/good.zip"), ZipCheck::Ok);
    EXPECT_EQ(CheckZipFile(dir + "/bad.zip"), ZipCheck::NotZip);
    EXPECT_EQ(CheckZipFile(dir + "/none.zip"), ZipCheck::NotFound);
    EXPECT_EQ(CheckZipFile(""), ZipCheck::Empty);
    EXPECT_EQ(ZipCheckMessage(ZipCheck::NotFound, "C:\\x\\none.zip"), "none.zip ...not found");
    EXPECT_EQ(ZipCheckMessage(ZipCheck::NotZip, "x"), "Not a 'Zip' archive");
}

}  // namespace
}  // namespace sfx
