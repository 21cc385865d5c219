// TKVXDirDlg: a folder chooser built in code on each Execute: a folder list, a drive box and an
// optional New Folder button. OK sets Path to the chosen folder in capitals; Cancel leaves it.
#pragma once

#include <string>

#include "widgets/win32/basedialog.h"

namespace fw {
class TDirectoryListBox;
class TDriveComboBox;
}  // namespace fw

namespace kvx::win32 {

class TKVXDirDlg : public TKVXBaseDialog {
public:
    explicit TKVXDirDlg(TComponent* owner) : TKVXBaseDialog(owner) {}

    bool Execute() override { return ExecuteAt(nullptr); }
    bool ExecuteAt(fw::TControl* control);

    std::string Path;
    bool AllowNewDir = false;
    bool ShowLabelDir = false;
    // A folder could not be made; without a handler the user gets a warning box.
    fw::TNotifyEvent OnFolderError;

    // The boxes of the shown form; null outside Execute.
    fw::TDirectoryListBox* FolderBox() const { return folderBox_; }
    fw::TDriveComboBox* DriveBox() const { return driveBox_; }

    // Asks for a name and makes that folder inside the folder box's directory (the New Folder button).
    void NewFolderClick(TObject* sender);

private:
    void DriveChange(TObject* sender);

    fw::TDirectoryListBox* folderBox_ = nullptr;
    fw::TDriveComboBox* driveBox_ = nullptr;
};

// Letters a to z become capitals; everything else stays.
std::string KVXUpperCaseAscii(std::string text);

}  // namespace kvx::win32
