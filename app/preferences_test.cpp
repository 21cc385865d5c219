#include "app/preferences.h"

#include <gtest/gtest.h>

#include <map>

#include "framework/core/sysutils.h"

namespace {

using namespace app;

// A section whose names match ignoring case, as registry value names do.
class FakeSection : public SettingsSection {
public:
    std::map<std::string, std::string> values;  // keys upper-cased
    std::vector<std::string> written;
    std::string ReadString(const std::string& name, const std::string& def) override {
        auto it = values.find(fw::UpperCase(name));
        return it == values.end() ? def : it->second;
    }
    void WriteString(const std::string& name, const std::string& value) override {
        values[fw::UpperCase(name)] = value;
        written.push_back(name);
    }
    void Set(const std::string& name, const std::string& value) { values[fw::UpperCase(name)] = value; }
};

TEST(Preferences, FirstStartTakesTheDefaultsAndWritesTheTemporaryFolder) {
    FakeSection folders, programs, view, toolbars;
    Preferences p = LoadPreferences(folders, programs, view, "C:\\temp\\");
    EXPECT_EQ(p.tempFolder, "C:\\temp\\");
    EXPECT_EQ(folders.written, std::vector<std::string>{"deditTempFolder_Text"});
    EXPECT_EQ(folders.ReadString("DEDITTEMPFOLDER_TEXT", ""), "C:\\temp\\");
    EXPECT_FALSE(p.useExtractFolder);
    EXPECT_FALSE(p.useStartupFolder);
    EXPECT_FALSE(p.virusMinimized);
    EXPECT_EQ(p.columnShown, AllColumns());
    ViewSettings v = LoadViewSettings(view, toolbars);
    EXPECT_FALSE(v.gridLines);
    EXPECT_TRUE(v.showLog && v.standardToolbar && v.actionsBar && v.buttonText && v.toolTips);
    EXPECT_TRUE(programs.written.empty() && view.written.empty());
}

TEST(Preferences, StoredValuesWinAndNamesMatchIgnoringCase) {
    FakeSection folders, programs, view, toolbars;
    folders.Set("deditTempFolder_Text", "D:\\tmp\\");
    folders.Set("deditExtractFolder_Text", "C:\\out\\");
    folders.Set("rbExtractFolderFolder_Checked", "True");  // the options dialog's storages write "True"
    programs.Set("cbVirusMinimized_Checked", "TRUE");
    programs.Set("feditVirusScanner_Text", "C:\\scan.exe");
    // The dialog writes these two in another case than the main window reads them.
    view.Set("cbColUnPacked_Checked", "False");
    view.Set("cbColCrc_Checked", "FALSE");
    view.Set("cbGridLines_Checked", "True");
    toolbars.Set("cbButtonText_Checked", "FALSE");
    Preferences p = LoadPreferences(folders, programs, view, "C:\\temp\\");
    EXPECT_EQ(p.tempFolder, "D:\\tmp\\");
    EXPECT_TRUE(folders.written.empty());
    EXPECT_EQ(p.extractFolder, "C:\\out\\");
    EXPECT_TRUE(p.useExtractFolder);
    EXPECT_TRUE(p.virusMinimized);
    EXPECT_EQ(p.virusScanner, "C:\\scan.exe");
    ColumnSet want = AllColumns();
    want[colUnpacked] = false;
    want[colCRC] = false;
    EXPECT_EQ(p.columnShown, want);
    ViewSettings v = LoadViewSettings(view, toolbars);
    EXPECT_TRUE(v.gridLines);
    EXPECT_FALSE(v.buttonText);
}

}  // namespace
