// The store layer over the registry and an ini file, and the texts of the placement values.
#include "uisupport/settingsstore.h"

#include <gtest/gtest.h>

#include "framework/core/memregistry.h"
#include "framework/core/platform.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "testing/test_env.h"

namespace uis {
namespace {

TEST(SettingsStore, RegistryValuesAreStringsAndSectionsGoWithTheirSubKeys) {
    fw::MemRegistry registry;
    fw::SetRegistryBackend(&registry);
    {
        auto store = CreateStore("Software\\Morvix Tools\\Zip\\Preferences", true);
        StoreWriteInteger(*store, "Main", "Flags", 0);
        StoreWriteBool(*store, "Main", "Visible", true);
        StoreWriteString(*store, "Main", "Quoted", "\"kept\"");
        StoreWriteString(*store, "Main\\TfrmZipMain.mrumHistory", "Item_0", "a.zip");
        uint32_t type = 0;
        std::string data;
        ASSERT_TRUE(registry.QueryValue(fw::kHKeyCurrentUser, "Software\\Morvix Tools\\Zip\\Preferences\\Main", "Visible",
                                        type, data));
        EXPECT_EQ(type, 1u);  // REG_SZ
        EXPECT_EQ(StoreReadString(*store, "Main", "Quoted", ""), "\"kept\"");  // no quoting in the registry
        EXPECT_EQ(StoreReadInteger(*store, "Main", "Flags", 9), 0);
        EXPECT_TRUE(StoreReadBool(*store, "Main", "Visible", false));
        StoreWriteString(*store, "Main", "Junk", "12abc");
        EXPECT_EQ(StoreReadInteger(*store, "Main", "Junk", 9), 9);
        EXPECT_EQ(StoreReadInteger(*store, "Main", "Missing", -3), -3);
        StoreEraseSection(*store, "Main");
        EXPECT_FALSE(registry.KeyExists(fw::kHKeyCurrentUser, "Software\\Morvix Tools\\Zip\\Preferences\\Main"));
        EXPECT_FALSE(registry.KeyExists(fw::kHKeyCurrentUser,
                                        "Software\\Morvix Tools\\Zip\\Preferences\\Main\\TfrmZipMain.mrumHistory"));
    }
    fw::SetRegistryBackend(nullptr);
}

TEST(SettingsStore, IniValuesInQuotesGetOneMorePair) {
    const std::string file = mx::test::FreshDir() + "/settings.ini";
    {
        auto store = CreateStore(file, false);
        StoreWriteString(*store, "View", "Plain", "text");
        StoreWriteString(*store, "View", "Double", "\"quoted\"");
        StoreWriteString(*store, "View", "Single", "'quoted'");
        StoreWriteString(*store, "View", "Mixed", "\"mixed'");
        EXPECT_EQ(StoreReadString(*store, "View", "Double", ""), "\"quoted\"");
        EXPECT_EQ(StoreReadString(*store, "View", "Single", ""), "'quoted'");
        EXPECT_EQ(StoreReadString(*store, "View", "Mixed", ""), "\"mixed'");
    }
    const std::string text = mx::test::ReadFile(file);
    EXPECT_NE(text.find("Double=\"\"quoted\"\""), std::string::npos) << text;
    EXPECT_NE(text.find("Mixed=\"mixed'"), std::string::npos) << text;
}

TEST(SettingsStore, DefaultNamesComeFromTheProgram) {
    EXPECT_EQ(DefaultStoreName("C:\\Program Files\\Morvix\\MXZIP.EXE", true), "Software\\MXZIP");
    EXPECT_EQ(DefaultStoreName("C:\\Program Files\\Morvix\\mxzip.exe", false), "mxzip.INI");
}

TEST(PlacementTexts, PositionsParseWithRunsOfSeparatorsAndDefaults) {
    struct Case {
        const char* text;
        int want[4];
    };
    const int defaults[4] = {-1, -2, -3, -4};
    const Case cases[] = {
        {"10,20,300,400", {10, 20, 300, 400}},
        {"10 ,, 20   300,400,999", {10, 20, 300, 400}},
        {"10,x,300", {10, -2, 300, -4}},
        {"", {-1, -2, -3, -4}},
        {"-8,-8,1032,776", {-8, -8, 1032, 776}},
    };
    for (const Case& c : cases) {
        int got[4] = {};
        ParsePositionText(c.text, defaults, got);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], c.want[i]) << c.text << " #" << i;
    }
    EXPECT_EQ(PositionText(-8, 0, 1032, 776), "-8,0,1032,776");
    EXPECT_EQ(ScreenSuffix(1024, 768), "(1024x768)");
}

TEST(PlacementTexts, ShowCommandsMapToStates) {
    const std::pair<int, TStoredState> cases[] = {
        {0, TStoredState::Default},   {1, TStoredState::Normal},    {2, TStoredState::Minimized},
        {3, TStoredState::Maximized}, {4, TStoredState::Default},   {5, TStoredState::Normal},
        {6, TStoredState::Minimized}, {7, TStoredState::Minimized}, {8, TStoredState::Default},
        {9, TStoredState::Normal},    {10, TStoredState::Default},
    };
    for (const auto& [cmd, state] : cases) EXPECT_EQ(StateOfShowCmd(cmd), state) << cmd;
}

}  // namespace
}  // namespace uis
