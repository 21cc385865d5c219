#include "sfx/stub/core/sfx_options.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sfx/builder/option_writer.h"
#include "sfx/common/sfx_layout.h"
#include "sfx/stub/core/memory_host.h"

namespace sfx {
namespace {

uint32_t FakeTemp(char* buf, uint32_t cap) {
    std::strcpy(buf, "C:\\TEMP\\");
    return 8;
}

SfxRunOptions Read(const std::string& block) {
    MemoryFile f(std::string(SfxStubSize, 'x') + block + "PK");
    SfxRunOptions o;
    EXPECT_TRUE(ReadSfxOptions(f, o, FakeTemp));
    return o;
}

std::string BlockOf(void (*set)(SfxSettings&)) {
    SfxSettings s;
    set(s);
    return WriteOptions(s, true).bytes;
}

TEST(SfxOptions, NoBlockKeepsEveryDefault) {
    const SfxRunOptions o = Read("");
    EXPECT_EQ(o.archiveStart, SfxStubSize);
    EXPECT_EQ(o.overwriteChoice, 0);
    EXPECT_FALSE(o.showRunBox || o.hasCaption || o.hasRoot || o.hasProgram || o.hasParams);
}

TEST(SfxOptions, DerivedOptions) {
    SfxRunOptions o = Read(BlockOf([](SfxSettings&) {}));
    EXPECT_EQ(o.archiveStart, SfxStubSize + 11);
    EXPECT_TRUE(o.showRunBox);
    EXPECT_EQ(o.overwriteChoice, kIdConfirmOverwrite);

    o = Read(BlockOf([](SfxSettings& s) {
        s.caption = "Cap";
        s.rootDir = "C:\\Root";
        s.program = "setup.exe";
        s.params = "/s";
        s.overwriteIndex = 2;
        s.hideOverwrite = true;
        s.sortList = true;
    }));
    EXPECT_EQ(o.archiveStart, SfxStubSize + 11 + 3 + 7 + 9 + 2);
    EXPECT_STREQ(o.caption, "Cap");
    EXPECT_STREQ(o.rootDir, "C:\\Root");
    EXPECT_STREQ(o.program, "setup.exe");
    EXPECT_STREQ(o.params, "/s");
    EXPECT_TRUE(o.hasCaption && o.hasRoot && o.hasProgram && o.hasParams && o.hideOverwrite && o.sortList);
    EXPECT_EQ(o.overwriteChoice, kIdDontOverwrite);

    o = Read(BlockOf([](SfxSettings& s) { s.overwriteIndex = 1; }));
    EXPECT_EQ(o.overwriteChoice, kIdOverwrite);
}

TEST(SfxOptions, BothOverwriteBitsMeanConfirm) {
    std::string b = BlockOf([](SfxSettings&) {});
    b[kOffDisplayFlags] = static_cast<char>(kOverwriteAlways | kOverwriteSkip);
    EXPECT_EQ(Read(b).overwriteChoice, kIdConfirmOverwrite);
}

TEST(SfxOptions, TempFolderReplacesTheRoot) {
    std::string b = BlockOf([](SfxSettings& s) { s.rootDir = "C:\\Root"; });
    b[kOffRunFlags] = static_cast<char>(kUseTempFolder);
    const SfxRunOptions o = Read(b);
    EXPECT_TRUE(o.hasRoot);
    EXPECT_STREQ(o.rootDir, "C:\\TEMP\\");
}

TEST(SfxOptions, AssociatedIgnoresTheProgram) {
    std::string b = BlockOf([](SfxSettings& s) {
        s.program = "notepad.exe";
        s.params = "readme.txt";
    });
    b[kOffRunFlags] = static_cast<char>(kUseAssociated);
    const SfxRunOptions o = Read(b);
    EXPECT_FALSE(o.hasProgram);
    EXPECT_TRUE(o.hasParams);
    EXPECT_TRUE(o.useAssociated);
}

TEST(SfxOptions, CutShortBlockDoesNotOverrun) {
    std::string b = BlockOf([](SfxSettings& s) { s.caption = "A caption"; });
    MemoryFile f(std::string(SfxStubSize, 'x') + b.substr(0, 14));
    SfxRunOptions o;
    EXPECT_FALSE(ReadSfxOptions(f, o, FakeTemp));
    EXPECT_STREQ(o.caption, "");
}

}  // namespace
}  // namespace sfx
