// TDriveComboBox and TDirectoryListBox: our own owner-drawn lists of the drives and of the folders on
// the way to a directory (then its subfolders, indented one level deeper). The drive combo can lead a
// directory list (DirList); the directory list can show its directory in a label (DirLabel).
#pragma once

#include "framework/win32/std_combobox.h"
#include "framework/win32/std_listbox.h"

namespace fw {

class TDirectoryListBox;

class TDriveComboBox : public TCustomComboBox {
public:
    explicit TDriveComboBox(TComponent* owner);

    // The drive letter, lower case ('c').
    char Drive() const { return drive_; }
    void SetDrive(char value);
    TDirectoryListBox* DirList() const { return dirList_; }
    void SetDirList(TDirectoryListBox* value);
    // Lists the drives again.
    void BuildList();

protected:
    ~TDriveComboBox() override = default;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Change() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    char drive_ = 'c';
    TDirectoryListBox* dirList_ = nullptr;
    bool building_ = false;
};

class TDirectoryListBox : public TCustomListBox {
public:
    explicit TDirectoryListBox(TComponent* owner);

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& value);
    char Drive() const;
    void SetDrive(char value);
    // A control with a published Caption (a label) that shows the directory.
    TComponent* DirLabel() const { return dirLabel_; }
    void SetDirLabel(TComponent* value);
    // The full path of the folder on line `index`.
    std::string GetItemPath(int index) const;
    // Opens the folder on the selected line (what a double click does).
    void OpenCurrent();

    TNotifyEvent OnChange;

protected:
    ~TDirectoryListBox() override = default;
    void Loaded() override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void DblClick() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void BuildList();
    void UpdateLabel();
    std::string directory_;
    int openLevels_ = 0;  // the lines from the root to the directory itself
    TComponent* dirLabel_ = nullptr;
};

void RegisterFileControlClasses();

}  // namespace fw
