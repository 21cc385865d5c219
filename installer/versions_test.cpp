// Version resources and the overwrite decision.
#include "installer/versions.h"

#include <gtest/gtest.h>

#include "framework/core/sysutils.h"
#include "installer/testkit/support.h"

namespace inst {
namespace {

using test::InstallerTest;
using test::Spit;
using Versions = InstallerTest;

TEST_F(Versions, FieldsCompareNumericallyOrAsText) {
    struct Case {
        const char* a;
        const char* b;
        int want;
    };
    const Case cases[] = {
        {"1.2.3.4", "1.2.10.0", 2}, {"1.2", "1.2.0", 2},   {"1.2.0", "1.2", 1}, {"1.2.a", "1.2.b", 2},
        {"2.0", "2.0", 0},          {"", "", 0},           {"", "1", 2},        {"10", "9", 1},
        {"1.b", "1.10", 1},         {"4.0.1381.1", "4.0.1381.1", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CompareVersions(c.a, c.b), c.want) << c.a << " vs " << c.b;
}

TEST_F(Versions, TheResourceReadsAsTheSystemAnswers) {
    NativeSystem::Version v;
    v.fixed.fileVersionMS = 4 << 16 | 0;
    v.fixed.fileVersionLS = 1381 << 16 | 1;
    v.fixed.productVersionMS = 4 << 16;
    v.fixed.fileOS = 0x40004;
    v.fixed.fileType = 3;
    v.fixed.fileSubtype = 7;
    v.translation = std::string("\x09\x04\xE4\x04", 4);
    v.strings["\\StringFileInfo\\040904E4\\CompanyName"] = "Morvix Tools";
    v.strings["\\StringFileInfo\\040904E4\\ProductVersion"] = "4.0 beta";
    v.strings["\\StringFileInfo\\040704E4\\CompanyName"] = "Morvix Werkzeuge";
    sys().versions["C:\\a.dll"] = v;
    TVersionResource& r = SharedVersionResource();
    r.SetFileName("C:\\a.dll");
    const TVersionInfo& info = *r.VersionInfo();
    EXPECT_EQ(info.FileVersion, "4.0.1381.1");
    EXPECT_EQ(info.ProductVersion, "4.0 beta") << "a ProductVersion string replaces the fixed one";
    EXPECT_EQ(info.CompanyName, "Morvix Tools");
    EXPECT_EQ(info.TranslationLanguage, 9);
    EXPECT_EQ(info.FileOS, "Windows NT with 32 bit Windows");
    EXPECT_EQ(info.FileType, "Device Driver");
    EXPECT_EQ(info.FileSubType, "System");
    r.SetLanguage(TVersionLanguage::lnGerman);
    EXPECT_EQ(info.CompanyName, "Morvix Werkzeuge") << "the chosen language's block, not the translation table";
    EXPECT_EQ(info.ProductVersion, "4.0.0.0");
    r.SetLanguage(TVersionLanguage::lnUSEnglish);
    r.SetFileName("C:\\none.dll");
    EXPECT_EQ(info.FileVersion, "") << "no resource: empty strings";
    EXPECT_THROW(r.SetLanguage(static_cast<TVersionLanguage>(99)), fw::Exception);
}

TEST_F(Versions, OverwriteRulesByMode) {
    NativeSystem::Version v12, v120;
    v12.fixed.fileVersionMS = 1 << 16 | 2;
    v120.fixed.fileVersionMS = 1 << 16 | 2;
    v120.fixed.fileVersionLS = 5 << 16;
    Spit(dir + "dest.dll", "old");
    Spit(dir + "src.dll", "new");
    sys().versions[dir + "dest.dll"] = v12;   // 1.2.0.0
    sys().versions[dir + "src.dll"] = v120;   // 1.2.5.0
    const std::string dest = dir + "dest.dll";
    const int32_t date = fw::FileAge(dest);
    const fw::TDateTime same = fw::FileDateToDateTime(date);
    const fw::TDateTime later = same + 1.0 / 24;
    struct Case {
        const char* why;
        const char* version;
        TOverwriteType mode;
        fw::TDateTime when;
        const char* target;
        int want;
    };
    const Case cases[] = {
        {"always", "0.1", TOverwriteType::owAlways, same, "dest.dll", kSourceNewer},
        {"never, present", "9.9", TOverwriteType::owNever, later, "dest.dll", kDestNewer},
        {"never, absent", "0.1", TOverwriteType::owNever, same, "none.dll", kSourceNewer},
        {"never, blank", "0.1", TOverwriteType::owNever, same, "", kSourceNewer},
        {"version newer", "1.2.0.1", TOverwriteType::owVersion, same, "dest.dll", kSourceNewer},
        {"version same", "1.2.0.0", TOverwriteType::owVersion, later, "dest.dll", kSame},
        {"version older", "1.1", TOverwriteType::owVersion, later, "dest.dll", kDestNewer},
        {"version with an extra field", "1.2.0.0.0", TOverwriteType::owVersion, same, "dest.dll", kSourceNewer},
        {"date later", "", TOverwriteType::owDate, later, "dest.dll", kSourceNewer},
        {"date the same DOS unit", "", TOverwriteType::owDate, same + 0.5 / 86400, "dest.dll", kSame},
        {"date earlier", "", TOverwriteType::owDate, same - 1, "dest.dll", kDestNewer},
        {"date of a missing file", "", TOverwriteType::owDate, same, "none.dll", kCannotCompare},
        {"version decides first", "1.1", TOverwriteType::owVersionDate, later, "dest.dll", kDestNewer},
        {"then the date", "1.2.0.0", TOverwriteType::owVersionDate, later, "dest.dll", kSourceNewer},
    };
    for (const Case& c : cases) {
        const std::string target = *c.target ? dir + c.target : std::string();
        EXPECT_EQ(IsFileNewer(c.version, target, c.mode, c.when), c.want) << c.why;
    }
    EXPECT_EQ(IsFileNewerByName(dir + "src.dll", dest, TOverwriteType::owVersion), kSourceNewer);
    EXPECT_EQ(IsFileNewerByName(dir + "src.dll", dest, TOverwriteType::owDate), kSame);
    EXPECT_EQ(IsFileNewerByName(dir + "none.dll", dest, TOverwriteType::owDate), kCannotCompare);
}

}  // namespace
}  // namespace inst
