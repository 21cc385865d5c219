// The portable string-table reader must give what the system's loader gives, for images we build and
// for real self-extractors.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/detect/pe_string_table.h"
#include "engine/detect/testdata/pe_image_builder.h"
#include "testing/test_env.h"

namespace engine {
namespace {

void ExpectSameAsSystem(const std::string& path, const std::string& what) {
    const std::string bytes = mx::test::ReadFile(path);
    SpanSource source({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    const PeStringTable table(source);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << what << ": the system does not load " << path;
    for (UINT id = 0; id < 100; ++id) {
        for (int bufferChars : {6, 256}) {
            std::vector<char> buf(static_cast<size_t>(bufferChars), '\0');
            const int n = LoadStringA(module, id, buf.data(), bufferChars);
            const std::string system(buf.data(), static_cast<size_t>(n > 0 ? n : 0));
            EXPECT_EQ(table.LoadAnsi(id, static_cast<size_t>(bufferChars)), system)
                << what << " id " << id << " buffer " << bufferChars;
        }
    }
    FreeLibrary(module);
}

TEST(PeStringTableWine, BuiltImagesReadLikeTheSystemLoader) {
    const std::string dir = mx::test::FreshDir();
    for (bool pe32Plus : {false, true}) {
        test::PeImageBuilder b(pe32Plus);
        b.AddString(1, "24576");
        b.AddString(2, "1234567");  // cut to five characters in a six-character buffer
        b.AddString(3, "");
        b.AddString(5, u"z\u00e9");
        b.AddString(70, u"\u00e9t\u20ac", 0x0409);
        b.AddString(17, "second block");
        b.AddString(50, "German only", 0x0407);
        b.AddString(41, "English beside neutral", 0x0409);
        b.AddString(80, "English", 0x0409);
        b.AddString(80, "Deutsch", 0x0407);
        b.AddString(40, "Neutral", 0x0000);
        b.AddString(40, "English", 0x0409);
        const std::string path = dir + (pe32Plus ? "\\img64.exe" : "\\img32.exe");
        mx::test::WriteFile(path, b.Build() + std::string(1000, 'x'));  // an overlay, as a self-extractor has
        ExpectSameAsSystem(path, pe32Plus ? "PE32+" : "PE32");
    }
}

TEST(PeStringTableWine, RealSelfExtractorsAndThisProgram) {
    const std::string fixtures = mx::test::FixtureDir() + "/";
    for (const char* rel : {"rar/ssokolow/testfile.rar3.wincon.sfx.exe", "rar/ssokolow/testfile.rar3.wingui.sfx.exe",
                            "lha/lhmelt_16536/sfx_winsfx32_213.exe", "lha/explzh_723/declha_sfx_ansi.exe"}) {
        std::string path = fixtures + rel;
        for (char& c : path) c = c == '/' ? '\\' : c;
        ExpectSameAsSystem(path, rel);
    }
    char self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    ExpectSameAsSystem(self, "this test program");
}

}  // namespace
}  // namespace engine
