#include "app/preferences.h"

#include "app/text_routines.h"

namespace app {

namespace {

bool ReadBool(SettingsSection& section, const std::string& name, const char* def) {
    return SettingToBool(section.ReadString(name, def));
}

}  // namespace

Preferences LoadPreferences(SettingsSection& folders, SettingsSection& programs, SettingsSection& view,
                            const std::string& engineTempDir) {
    Preferences p;
    p.startupFolder = folders.ReadString("deditStartupFolder_Text", "");
    p.tempFolder = folders.ReadString("deditTempFolder_Text", "");
    p.extractFolder = folders.ReadString("deditExtractFolder_Text", "");
    p.virusScanner = programs.ReadString("feditVirusScanner_Text", "");
    p.virusParams = programs.ReadString("editVirusParams_Text", "");
    p.virusMinimized = ReadBool(programs, "cbVirusMinimized_Checked", "");
    p.fileViewer = programs.ReadString("feditFileViewer_Text", "");
    p.useStartupFolder = ReadBool(folders, "rbStartupFolderFolder_Checked", "");
    // The "last" choices are kept by the options dialog only; they change nothing here.
    folders.ReadString("rbStartupFolderLast_Checked", "");
    folders.ReadString("rbExtractFolderLast_Checked", "");
    p.useExtractFolder = ReadBool(folders, "rbExtractFolderFolder_Checked", "");
    if (p.tempFolder.empty()) {
        p.tempFolder = engineTempDir;
        folders.WriteString("deditTempFolder_Text", p.tempFolder);
    }
    for (int c = 0; c < kColumnCount; ++c)
        p.columnShown[static_cast<size_t>(c)] = ReadBool(view, kColumns[static_cast<size_t>(c)].setting, "TRUE");
    return p;
}

ViewSettings LoadViewSettings(SettingsSection& view, SettingsSection& toolbars) {
    ViewSettings v;
    v.gridLines = ReadBool(view, "cbGridLines_Checked", "false");
    v.showLog = ReadBool(view, "cbShowLog_Checked", "TRUE");
    v.standardToolbar = ReadBool(toolbars, "cbStandardToolbar_Checked", "TRUE");
    v.actionsBar = ReadBool(toolbars, "cbActionsBar_Checked", "TRUE");
    v.buttonText = ReadBool(toolbars, "cbButtonText_Checked", "TRUE");
    v.toolTips = ReadBool(toolbars, "cbToolTips_Checked", "TRUE");
    return v;
}

}  // namespace app
