#include "framework/core/registry.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/core/exceptions.h"
#include "framework/core/memregistry.h"
#include "framework/core/sysutils.h"

#ifdef _WIN32
#include "framework/win32/platform_win32.h"
#endif

namespace fw {
namespace {

// One table of registry behaviour, run against the in-memory tree everywhere and against the real
// registry on Windows, so the fake cannot drift from the system.
struct Backend {
    const char* name;
    std::function<RegistryBackend&()> get;
};

std::vector<Backend> Backends() {
    static MemRegistry fake;
    std::vector<Backend> list{{"memory", []() -> RegistryBackend& { return fake; }}};
#ifdef _WIN32
    list.push_back({"win32", []() -> RegistryBackend& { return Win32Registry(); }});
#endif
    return list;
}

const char* const kBase = "Software\\MorvixTest\\fwsys";

class RegistryTable : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        TRegistry r(Backend());
        r.DeleteKey(std::string("\\") + kBase);
    }
    void TearDown() override {
        TRegistry r(Backend());
        r.DeleteKey("\\Software\\MorvixTest");
    }
    RegistryBackend& Backend() { return GetParam().get(); }
};

TEST_P(RegistryTable, KeysAndPaths) {
    TRegistry r(Backend());
    EXPECT_EQ(r.RootKey(), kHKeyCurrentUser);
    EXPECT_FALSE(r.OpenKey(std::string(kBase) + "\\A", false));
    EXPECT_FALSE(r.HasCurrentKey());
    ASSERT_TRUE(r.OpenKey(std::string(kBase) + "\\A", true));
    EXPECT_EQ(r.CurrentPath(), std::string(kBase) + "\\A");
    // Relative paths go below the open key; a leading "\" starts from the root.
    ASSERT_TRUE(r.OpenKey("B\\C", true));
    EXPECT_EQ(r.CurrentPath(), std::string(kBase) + "\\A\\B\\C");
    ASSERT_TRUE(r.OpenKey(std::string("\\") + kBase, false));
    EXPECT_EQ(r.CurrentPath(), kBase);
    EXPECT_TRUE(r.KeyExists("a\\b"));  // names ignore case
    EXPECT_TRUE(r.KeyExists(std::string("\\") + kBase + "\\A\\B\\C"));
    EXPECT_FALSE(r.KeyExists("A\\X"));
    ASSERT_TRUE(r.OpenKey("zeta", true));
    ASSERT_TRUE(r.OpenKey(std::string("\\") + kBase, false));
    ASSERT_TRUE(r.OpenKey("Mid", true));
    ASSERT_TRUE(r.OpenKey(std::string("\\") + kBase, false));
    std::vector<std::string> names;
    r.GetKeyNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "Mid", "zeta"})) << "subkeys come in name order";
    RegKeyInfo info;
    ASSERT_TRUE(r.GetKeyInfo(info));
    EXPECT_EQ(info.numSubKeys, 3);
    EXPECT_EQ(info.maxSubKeyLen, 4);
    EXPECT_EQ(info.numValues, 0);

    // DeleteKey removes the whole tree below the key.
    EXPECT_TRUE(r.DeleteKey("A"));
    EXPECT_FALSE(r.KeyExists("A"));
    EXPECT_FALSE(r.KeyExists("A\\B\\C"));
    EXPECT_FALSE(r.DeleteKey("A"));
    EXPECT_TRUE(r.OpenKeyReadOnly("Mid"));
    EXPECT_THROW(r.WriteString("x", "y"), ERegistryException);
    r.CloseKey();
    EXPECT_FALSE(r.HasCurrentKey());
    EXPECT_EQ(r.CurrentPath(), "");
}

TEST_P(RegistryTable, Values) {
    TRegistry r(Backend());
    ASSERT_TRUE(r.OpenKey(std::string(kBase) + "\\V", true));
    r.WriteString("Str", "text");
    r.WriteString("Empty", "");
    r.WriteExpandString("Exp", "%TEMP%\\x");
    r.WriteInteger("Int", -5);
    r.WriteBool("Yes", true);
    const std::string blob("\x00\x01\xFF\x7F zz", 7);
    r.WriteBinaryData("Bin", blob.data(), static_cast<int>(blob.size()));
    r.WriteString("", "default value");

    EXPECT_EQ(r.ReadString("str"), "text");
    EXPECT_EQ(r.ReadString("Empty"), "");
    EXPECT_EQ(r.ReadString("Exp"), "%TEMP%\\x");
    EXPECT_EQ(r.ReadString("Missing"), "");
    EXPECT_EQ(r.ReadString(""), "default value");
    EXPECT_EQ(r.ReadInteger("Int"), -5);
    EXPECT_TRUE(r.ReadBool("Yes"));
    EXPECT_EQ(r.ReadBinaryData("Bin"), blob);
    char small[3];
    EXPECT_THROW(r.ReadBinaryData("Bin", small, sizeof small), ERegistryException);
    char big[16];
    EXPECT_EQ(r.ReadBinaryData("Bin", big, sizeof big), 7);

    EXPECT_EQ(r.GetDataType("Str"), TRegDataType::rdString);
    EXPECT_EQ(r.GetDataType("Exp"), TRegDataType::rdExpandString);
    EXPECT_EQ(r.GetDataType("Int"), TRegDataType::rdInteger);
    EXPECT_EQ(r.GetDataType("Bin"), TRegDataType::rdBinary);
    EXPECT_EQ(r.GetDataType("Missing"), TRegDataType::rdUnknown);
    EXPECT_EQ(r.GetDataSize("Str"), 5);
    EXPECT_EQ(r.GetDataSize("Int"), 4);
    EXPECT_EQ(r.GetDataSize("Bin"), 7);
    EXPECT_EQ(r.GetDataSize("Missing"), -1);

    EXPECT_THROW(r.ReadInteger("Str"), ERegistryException);
    EXPECT_THROW(r.ReadInteger("Missing"), ERegistryException);
    EXPECT_THROW(r.ReadString("Int"), ERegistryException);
    EXPECT_THROW(r.ReadBinaryData("Str"), ERegistryException);

    std::vector<std::string> names;
    r.GetValueNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"", "Bin", "Empty", "Exp", "Int", "Str", "Yes"})) << "values come in name order";
    RegKeyInfo info;
    ASSERT_TRUE(r.GetKeyInfo(info));
    EXPECT_EQ(info.numValues, 7);
    EXPECT_EQ(info.maxValueLen, 5);
    EXPECT_EQ(info.maxDataLen, 28);  // "default value" and its zero, counted in UTF-16

    r.WriteString("STR", "replaced");  // the same value, any case
    EXPECT_EQ(r.ReadString("Str"), "replaced");
    EXPECT_TRUE(r.ValueExists("STR"));
    EXPECT_TRUE(r.DeleteValue("str"));
    EXPECT_FALSE(r.ValueExists("Str"));
    EXPECT_FALSE(r.DeleteValue("Str"));
    r.GetValueNames(names);
    EXPECT_EQ(names.size(), 6u);
}

TEST_P(RegistryTable, RegIniFile) {
    const std::string key = std::string(kBase) + "\\Ini";
    TRegIniFile ini(key, Backend());
    ini.WriteString("Sec", "Name", "value");
    ini.WriteInteger("Sec", "Count", 17);
    ini.WriteBool("Sec", "Flag", true);
    ini.WriteString("", "Top", "on the key itself");
    ini.WriteString("Other\\Deep", "x", "y");

    EXPECT_EQ(ini.ReadString("sec", "name", ""), "value");
    EXPECT_EQ(ini.ReadInteger("Sec", "Count", 0), 17);
    EXPECT_TRUE(ini.ReadBool("Sec", "Flag", false));
    EXPECT_EQ(ini.ReadString("", "Top", ""), "on the key itself");
    EXPECT_EQ(ini.ReadString("Sec", "missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("NoSec", "Name", "def"), "def");

    // Settings values are kRegSz, integers and booleans as decimal text.
    TRegistry r(Backend());
    ASSERT_TRUE(r.OpenKey(key + "\\Sec", false));
    EXPECT_EQ(r.GetDataType("Count"), TRegDataType::rdString);
    EXPECT_EQ(r.ReadString("Count"), "17");
    EXPECT_EQ(r.ReadString("Flag"), "1");
    // A DWORD left by someone else still reads.
    r.WriteInteger("Dw", 9);
    EXPECT_EQ(ini.ReadInteger("Sec", "Dw", 0), 9);
    EXPECT_TRUE(ini.ReadBool("Sec", "Dw", false));

    std::vector<std::string> names;
    ini.ReadSection("Sec", names);
    EXPECT_EQ(names, (std::vector<std::string>{"Count", "Dw", "Flag", "Name"}));
    ini.ReadSections(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Other", "Sec"}));
    EXPECT_TRUE(ini.SectionExists("Sec"));
    EXPECT_TRUE(ini.ValueExists("Sec", "count"));

    ini.DeleteKey("Sec", "Name");
    EXPECT_EQ(ini.ReadString("Sec", "Name", "gone"), "gone");
    ini.EraseSection("Other");
    EXPECT_FALSE(r.KeyExists(key + "\\Other"));
    EXPECT_FALSE(r.KeyExists(key + "\\Other\\Deep"));
    ini.EraseSection("");
    EXPECT_EQ(ini.ReadString("", "Top", "gone"), "gone");
    EXPECT_EQ(ini.ReadString("Sec", "Count", ""), "17") << "erasing the key's own values keeps its sections";
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryTable, ::testing::ValuesIn(Backends()),
                         [](const ::testing::TestParamInfo<Backend>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fw
