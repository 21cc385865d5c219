#include "sfx/builder/option_writer.h"

#include <gtest/gtest.h>

#include "sfx/common/sfx_layout.h"

namespace sfx {
namespace {

std::string Block(uint8_t display, uint8_t run, const std::string& c, const std::string& r, const std::string& p,
                  const std::string& a) {
    std::string b = "QLV";
    const uint16_t len = static_cast<uint16_t>(11 + c.size() + r.size() + p.size() + a.size());
    b += static_cast<char>(len & 0xFF);
    b += static_cast<char>(len >> 8);
    b += static_cast<char>(display);
    b += static_cast<char>(run);
    for (const std::string* t : {&c, &r, &p, &a}) b += static_cast<char>(t->size());
    return b + c + r + p + a;
}

struct BlockCase {
    const char* name;
    SfxSettings in;
    std::string want;
};

SfxSettings With(void (*f)(SfxSettings&)) {
    SfxSettings s;
    s.allHilited = false;
    f(s);
    return s;
}

TEST(OptionWriter, BlockBytesForFlagsAndTexts) {
    const BlockCase cases[] = {
        {"all texts empty: 11 bytes", With([](SfxSettings&) {}), Block(0x01, 0, "", "", "", "")},
        {"hide run box", With([](SfxSettings& s) { s.hideRunBox = true; }), Block(0x00, 0, "", "", "", "")},
        {"hilited + hide overwrite", With([](SfxSettings& s) { s.allHilited = s.hideOverwrite = true; }),
         Block(0x07, 0, "", "", "", "")},
        {"radio overwrite", With([](SfxSettings& s) { s.overwriteIndex = 1; }), Block(0x09, 0, "", "", "", "")},
        {"radio skip", With([](SfxSettings& s) { s.overwriteIndex = 2; }), Block(0x11, 0, "", "", "", "")},
        {"temp + sort", With([](SfxSettings& s) { s.extractToTemp = s.sortList = true; }),
         Block(0x01, 0x06, "", "", "", "")},
        {"four texts in order", With([](SfxSettings& s) {
             s.caption = "My setup";
             s.rootDir = "C:\\Temp";
             s.program = "setup.exe";
             s.params = "/q";
         }),
         Block(0x01, 0, "My setup", "C:\\Temp", "setup.exe", "/q")},
        {"associated with parameters", With([](SfxSettings& s) {
             s.useAssociated = true;
             s.params = "readme.txt";
         }),
         Block(0x01, 0x01, "", "", "", "readme.txt")},
    };
    for (const BlockCase& c : cases) {
        SfxSettings s = c.in;
        const OptionBytes out = WriteOptions(s, true);
        EXPECT_EQ(out.bytes, c.want) << c.name;
        EXPECT_EQ(out.blockLength, c.want.size()) << c.name;
    }
}

TEST(OptionWriter, ParametersWithoutProgramTickTheAssociatedBox) {
    SfxSettings s;
    s.params = "readme.txt";
    s.rememberedProgram = "old.exe";
    const OptionBytes out = WriteOptions(s, true);
    EXPECT_TRUE(s.useAssociated);
    EXPECT_EQ(static_cast<uint8_t>(out.bytes[kOffRunFlags]) & kUseAssociated, kUseAssociated);
    EXPECT_EQ(out.bytes[kOffProgramLength], 0);
    EXPECT_EQ(s.program, "");
}

TEST(OptionWriter, AssociatedBoxWithoutParametersIsUnticked) {
    SfxSettings s;
    s.program = "setup.exe";
    s.SetUseAssociated(true);  // puts setup.exe aside
    const OptionBytes out = WriteOptions(s, true);
    EXPECT_FALSE(s.useAssociated);
    EXPECT_EQ(static_cast<uint8_t>(out.bytes[kOffRunFlags]) & kUseAssociated, 0);
    EXPECT_EQ(s.program, "");  // the remembered text was forgotten before the untick
}

TEST(OptionWriter, ConfigurationHeadPrecedesTheBlock) {
    SfxSettings s;
    s.allHilited = false;
    s.zipPath = "C:\\a.zip";
    s.outputPath = "C:\\a.exe";
    const OptionBytes out = WriteOptions(s, false);
    const std::string want = std::string("\x01\x00\x00\x00", 4) + "\x08" "C:\\a.zip" + "\x08" "C:\\a.exe" +
                             Block(0x01, 0, "", "", "", "");
    EXPECT_EQ(out.bytes, want);
    EXPECT_EQ(out.blockLength, 11);
}

TEST(OptionWriter, LengthBytesKeepTheLengthModulo256) {
    SfxSettings s;
    s.caption = std::string(300, 'x');
    const OptionBytes out = WriteOptions(s, true);
    EXPECT_EQ(static_cast<uint8_t>(out.bytes[kOffCaptionLength]), 300 % 256);
    EXPECT_EQ(out.blockLength, 11 + 300 % 256);
    EXPECT_EQ(out.bytes.size(), out.blockLength);
}

}  // namespace
}  // namespace sfx
