// The archive manager's preferences: every value of the sections "View", "Toolbars", "Folders" and
// "Programs" (strings under HKCU\Software\Morvix Tools\Zip\Preferences), with its default, and the
// loading of the values the main window keeps.
#pragma once

#include <string>

#include "app/entry_table.h"

namespace app {

// One section of the preferences: values by name, names matched ignoring case (as the registry does).
class SettingsSection {
public:
    virtual ~SettingsSection() = default;
    virtual std::string ReadString(const std::string& name, const std::string& def) = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

// What LoadPreferences keeps for the main window.
struct Preferences {
    std::string startupFolder;
    std::string tempFolder;
    std::string extractFolder;
    std::string virusScanner;
    std::string virusParams;
    bool virusMinimized = false;
    std::string fileViewer;
    bool useStartupFolder = false;  // the fixed start-up folder is made current at start
    bool useExtractFolder = false;  // extraction goes to the fixed extract folder, else the archive's
    ColumnSet columnShown = AllColumns();
};

// Reads the Folders, Programs and column values. An empty temporary folder becomes EngineTempDir and
// is written back.
Preferences LoadPreferences(SettingsSection& folders, SettingsSection& programs, SettingsSection& view,
                            const std::string& engineTempDir);

// The view and tool-bar values that ApplyViewSettings applies.
struct ViewSettings {
    bool gridLines = false;
    bool showLog = true;
    bool standardToolbar = true;
    bool actionsBar = true;
    bool buttonText = true;
    bool toolTips = true;
};
ViewSettings LoadViewSettings(SettingsSection& view, SettingsSection& toolbars);

}  // namespace app
