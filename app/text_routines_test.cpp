#include "app/text_routines.h"

#include <gtest/gtest.h>

namespace {

TEST(TextRoutines, SettingsTextsReadBackThroughUpperCase) {
    EXPECT_EQ(app::BoolToSetting(true), "TRUE");
    EXPECT_EQ(app::BoolToSetting(false), "FALSE");
    struct Case {
        const char* text;
        bool want;
    } cases[] = {{"TRUE", true}, {"True", true}, {"true", true}, {"FALSE", false}, {"", false},
                 {"1", false},   {"TRUE ", false}, {"yes", false}};
    for (const Case& c : cases) EXPECT_EQ(app::SettingToBool(c.text), c.want) << c.text;
}

TEST(TextRoutines, ArchiveExtensionsAreTheFifteenOfTheDropAndOpenCommands) {
    struct Case {
        const char* path;
        bool want;
    } cases[] = {
        {"C:\\a\\b.zip", true},     {"b.ZIP", true},       {"x.bh", true},        {"x.lha", true},
        {"x.lzh", true},            {"x.cab", true},       {"x.zoo", true},       {"x.arj", true},
        {"x.arc", true},            {"x.rar", true},       {"x.xxe", true},       {"x.enc", true},
        {"x.tar", true},            {"x.gz", true},        {"x.gzip", true},      {"x.uue", true},
        {"x.Z", false},             {"x.ha", false},       {"x.pak", false},      {"x.exe", false},
        {"x.tar.gz", true},         {"C:\\my.zip\\readme", false}, {"zip", false}, {"", false},
        {"C:\\v1.zip\\notes.txt", false},
    };
    for (const Case& c : cases) EXPECT_EQ(app::IsArchiveExtension(c.path), c.want) << c.path;
}

TEST(TextRoutines, ReplaceExtensionChangesOnlyTheFileNamesExtension) {
    struct Case {
        const char* path;
        const char* ext;
        const char* want;
    } cases[] = {
        {"C:\\v1.2\\a.zip", "log", "C:\\v1.2\\a.log"},
        {"C:\\data\\a.b.zip", "lha", "C:\\data\\a.b.lha"},
        {"C:\\v1.2\\noext", "log", "C:\\v1.2\\noext.log"},
        {"name", "zip", "name.zip"},
        {"name.", "cab", "name.cab"},
        {"", "log", ".log"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::ReplaceExtension(c.path, c.ext), c.want) << c.path;
}

}  // namespace
