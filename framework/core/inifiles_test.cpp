#include "framework/core/inifiles.h"

#include <gtest/gtest.h>

#include "framework/core/exceptions.h"
#include "framework/core/inifiles_cases.h"
#include "framework/core/lists.h"
#include "framework/core/sysutils.h"
#include "testing/test_env.h"

namespace fw {
namespace {

std::string IniPath(const char* name) { return IncludeTrailingBackslash(mx::test::FreshDir()) + name; }

void WriteText(const std::string& path, const std::string& text) {
    const FileHandle h = Fs().Open(path, FileAccess::Write, FileShare::Exclusive, FileCreate::CreateAlways);
    ASSERT_NE(h, kInvalidFile) << path;
    Fs().Write(h, text.data(), static_cast<int64_t>(text.size()));
    Fs().Close(h);
}

std::string ReadText(const std::string& path) {
    std::string text;
    const FileHandle h = Fs().Open(path, FileAccess::Read, FileShare::DenyNone, FileCreate::OpenExisting);
    if (h == kInvalidFile) return text;
    char buf[4096];
    for (int64_t n; (n = Fs().Read(h, buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
    Fs().Close(h);
    return text;
}

TEST(IniDocument, LookupTable) {
    const IniDocument doc(inicases::kText);
    for (const inicases::Lookup& c : inicases::kLookups) {
        std::string value;
        const bool found = doc.Read(c.section, c.key, value);
        EXPECT_EQ(found, c.found) << c.name;
        if (found) {
            EXPECT_EQ(value, c.value) << c.name;
        }
    }
    for (const inicases::Listing& l : inicases::Listings())
        EXPECT_EQ(l.section ? doc.Keys(l.section) : doc.Sections(), l.want) << l.name;
}

TEST(IniFile, ReadsThroughTheInstalledStore) {
    const std::string path = IniPath("cases.ini");
    WriteText(path, inicases::kText);
    TIniFile ini(path);
    for (const inicases::Lookup& c : inicases::kLookups)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), c.found ? c.value : "<def>") << c.name;
    for (const inicases::Listing& l : inicases::Listings()) {
        std::vector<std::string> got;
        if (l.section)
            ini.ReadSection(l.section, got);
        else
            ini.ReadSections(got);
        EXPECT_EQ(got, l.want) << l.name;
    }
    EXPECT_TRUE(ini.SectionExists("main"));
    EXPECT_FALSE(ini.SectionExists("Nowhere"));
    EXPECT_FALSE(ini.ValueExists("Main", "novalue"));
    EXPECT_TRUE(ini.ValueExists("Main", "Empty"));
    EXPECT_FALSE(ini.ValueExists("Main", "nothere"));
    EXPECT_EQ(ini.ReadString("x", "y", "d"), "d");
    TIniFile missing(IniPath("none.ini"));
    EXPECT_EQ(missing.ReadString("a", "b", "dflt"), "dflt");
    std::vector<std::string> none{"stale"};
    missing.ReadSections(none);
    EXPECT_TRUE(none.empty());
}

TEST(IniFile, WritesKeepTheRestOfTheFile) {
    const std::string path = IniPath("w.ini");
    WriteText(path, "; settings\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    TIniFile ini(path);
    ini.WriteString("A", "x", "one");
    ini.WriteString("A", "new", "added");
    ini.WriteString("C", "z", "3");
    ini.WriteString("B", "padded", "  v  ");
    EXPECT_EQ(ini.ReadString("A", "x", ""), "one");
    EXPECT_EQ(ini.ReadString("A", "new", ""), "added");
    EXPECT_EQ(ini.ReadString("C", "z", ""), "3");
    EXPECT_EQ(ini.ReadString("B", "padded", ""), "v");
    EXPECT_EQ(ini.ReadString("B", "y", ""), "2");
    const std::string text = ReadText(path);
    EXPECT_NE(text.find("; settings"), std::string::npos);
    // A new key goes to the end of its section, before the blank separator line.
    EXPECT_LT(text.find("new=added"), text.find("[B]"));

    ini.DeleteKey("A", "x");
    EXPECT_EQ(ini.ReadString("A", "x", "gone"), "gone");
    ini.EraseSection("B");
    EXPECT_FALSE(ini.SectionExists("B"));
    EXPECT_EQ(ini.ReadString("B", "y", "gone"), "gone");
    ini.EraseSection("never there");
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"A", "C"}));

    // A file that does not exist yet is created by the first write.
    TIniFile fresh(IniPath("fresh.ini"));
    fresh.WriteString("S", "k", "v");
    EXPECT_EQ(fresh.ReadString("S", "k", ""), "v");
    TIniFile bad(IncludeTrailingBackslash(mx::test::FreshDir()) + "no\\such\\dir\\x.ini");
    EXPECT_THROW(bad.WriteString("S", "k", "v"), EInOutError);
}

TEST(IniFile, TypedValues) {
    const std::string path = IniPath("typed.ini");
    WriteText(path,
              "[T]\r\nn=42\r\nneg=-7\r\nhex=$1F\r\nchex=0x10\r\nbad=4x\r\n"
              "b1=1\r\nb0=0\r\nb5=5\r\nbt=TRUE\r\nbf=false\r\nbyes=yes\r\nbempty=\r\n");
    TIniFile ini(path);
    const std::pair<const char*, int> ints[] = {{"n", 42}, {"neg", -7}, {"hex", 31}, {"chex", 16}, {"bad", 99}, {"missing", 99}};
    for (const auto& [key, want] : ints) EXPECT_EQ(ini.ReadInteger("T", key, 99), want) << key;
    // Format (c): numbers are "not 0", true/false in any case, anything else the default.
    const std::tuple<const char*, bool, bool> bools[] = {
        {"b1", false, true}, {"b0", true, false}, {"b5", false, true}, {"bt", false, true},
        {"bf", true, false}, {"byes", false, false}, {"byes", true, true}, {"bempty", true, true}, {"missing", false, false},
    };
    for (const auto& [key, def, want] : bools) EXPECT_EQ(ini.ReadBool("T", key, def), want) << key << " def " << def;
    ini.WriteBool("W", "on", true);
    ini.WriteBool("W", "off", false);
    ini.WriteInteger("W", "i", -12);
    EXPECT_EQ(ini.ReadString("W", "on", ""), "1");
    EXPECT_EQ(ini.ReadString("W", "off", ""), "0");
    EXPECT_EQ(ini.ReadString("W", "i", ""), "-12");

    TStringList values;
    ini.ReadSectionValues("W", values);
    EXPECT_EQ(values.Count(), 3);
    EXPECT_EQ(values[0], "on=1");
    EXPECT_EQ(values[2], "i=-12");
    TStringList keys;
    ini.ReadSection("W", keys);
    EXPECT_EQ(keys.Count(), 3);
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.Count(), 2);
}

}  // namespace
}  // namespace fw
