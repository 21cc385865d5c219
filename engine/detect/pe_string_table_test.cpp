#include "engine/detect/pe_string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/detect/testdata/pe_image_builder.h"
#include "testing/test_env.h"

namespace engine {
namespace {

SpanSource Source(const std::string& s) { return SpanSource({reinterpret_cast<const uint8_t*>(s.data()), s.size()}); }

TEST(PeStringTable, FindsStringsInBothImageKindsAndLanguages) {
    for (bool pe32Plus : {false, true}) {
        test::PeImageBuilder b(pe32Plus);
        b.AddString(1, "24576");
        b.AddString(2, "1234567");
        b.AddString(17, "block two");
        b.AddString(50, "German", 0x0407);
        b.AddString(40, "English", 0x0409);
        b.AddString(40, "Neutral", 0x0000);
        b.AddString(41, "English only", 0x0409);
        b.AddString(70, u"\u00e9t\u4e2d\u20ac");
        const std::string image = b.Build();
        auto src = Source(image);
        const PeStringTable t(src);
        ASSERT_TRUE(t.Valid()) << pe32Plus;
        EXPECT_EQ(t.LoadAnsi(1, 6), "24576");
        EXPECT_EQ(t.LoadAnsi(2, 6), "12345");  // what fits a six-character buffer
        EXPECT_EQ(t.LoadAnsi(2, 256), "1234567");
        EXPECT_EQ(t.LoadAnsi(17, 256), "block two");
        EXPECT_EQ(t.LoadAnsi(50, 256), "German");  // the only language there is
        EXPECT_EQ(t.LoadAnsi(40, 256), "Neutral");
        EXPECT_EQ(t.LoadAnsi(70, 256), "\xe9t?\x80");
        EXPECT_EQ(t.LoadAnsi(41, 256), "");  // the language is chosen per block: neutral has no 41
        EXPECT_EQ(t.LoadAnsi(3, 256), "");   // empty slot of a present block
        EXPECT_EQ(t.LoadAnsi(99, 256), "");  // no such block
        EXPECT_EQ(t.LoadAnsi(1, 0), "");
    }
}

TEST(PeStringTable, DamagedImagesAreReadSafely) {
    test::PeImageBuilder b;
    b.AddString(1, "24576");
    b.AddString(2, "777");
    const std::string image = b.Build();
    // Every truncation, and every single byte of the headers and resource tree set to 0xFF.
    for (size_t n = 0; n < image.size(); ++n) {
        const std::string cut = image.substr(0, n);
        auto src = Source(cut);
        const PeStringTable t(src);
        const std::string s = t.LoadAnsi(1, 6);
        EXPECT_TRUE(s.empty() || s == "24576") << n;
    }
    for (size_t i = 0; i < 0x200 + 0x100 && i < image.size(); ++i) {
        std::string damaged = image;
        damaged[i] = '\xff';
        auto src = Source(damaged);
        const PeStringTable t(src);
        for (uint32_t id = 0; id < 20; ++id) (void)t.LoadAnsi(id, 256);
    }
    const std::string mz = "MZ";
    auto none = Source(mz);
    EXPECT_FALSE(PeStringTable(none).Valid());
}

TEST(PeStringTable, RealSelfExtractorsParse) {
    const std::string fixtures = mx::test::FixtureDir() + "/";
    for (const char* rel : {"rar/ssokolow/testfile.rar3.wincon.sfx.exe", "lha/lhmelt_16536/sfx_winsfx32_213.exe",
                            "lha/explzh_723/declha_sfx_ansi.exe"}) {
        const std::string bytes = mx::test::ReadFile(fixtures + rel);
        ASSERT_FALSE(bytes.empty()) << rel;
        auto src = Source(bytes);
        const PeStringTable t(src);
        EXPECT_TRUE(t.Valid()) << rel;  // they carry resources
        for (uint32_t id = 0; id < 64; ++id) (void)t.LoadAnsi(id, 6);
    }
}

}  // namespace
}  // namespace engine
