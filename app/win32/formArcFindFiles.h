// TfrmArcFindFiles: the Find Files dialog. It searches with the widget suite's file search (which
// runs on the GUI thread, a folder at a time) and hands the hits to the Add Files dialog. A new one is
// made for each use; it is modeless and frees itself when it closes, also in the middle of a search.
#pragma once

#include <string>

#include "framework/win32/forms.h"

namespace fw {
class TButton;
class TCheckBox;
class TDateTimePicker;
class TEdit;
class TLabel;
class TStatusBar;
}  // namespace fw
namespace kvx::win32 {
class TKVXCheckGroup;
class TKVXDirDlg;
class TKVXFileGrep;
class TKVXListBox;
class TKVXSpinEdit;
}  // namespace kvx::win32
namespace uis {
class TFormStorage;
}

namespace app {

class TfrmArcAddFiles;

class TfrmArcFindFiles : public fw::TForm {
public:
    using TForm::TForm;

    fw::TEdit* EditFileMasks = nullptr;
    fw::TEdit* EditStartDir = nullptr;
    fw::TCheckBox* RecurseSubDirs = nullptr;
    fw::TDateTimePicker* MinA = nullptr;
    fw::TDateTimePicker* MinAT = nullptr;
    fw::TDateTimePicker* MaxA = nullptr;
    fw::TDateTimePicker* MaxAT = nullptr;
    fw::TCheckBox* IgnoreAccessed = nullptr;
    fw::TDateTimePicker* MinC = nullptr;
    fw::TDateTimePicker* MinCT = nullptr;
    fw::TDateTimePicker* MaxC = nullptr;
    fw::TDateTimePicker* MaxCT = nullptr;
    fw::TCheckBox* IgnoreCreated = nullptr;
    fw::TDateTimePicker* MinM = nullptr;
    fw::TDateTimePicker* MinMT = nullptr;
    fw::TDateTimePicker* MaxM = nullptr;
    fw::TDateTimePicker* MaxMT = nullptr;
    fw::TCheckBox* IgnoreModified = nullptr;
    kvx::win32::TKVXSpinEdit* MinSize = nullptr;
    kvx::win32::TKVXSpinEdit* MaxSize = nullptr;
    fw::TEdit* EditContent = nullptr;
    kvx::win32::TKVXCheckGroup* AttrBox = nullptr;
    fw::TCheckBox* LimitAttr = nullptr;
    kvx::win32::TKVXListBox* KVXListBox1 = nullptr;
    fw::TLabel* lblFound = nullptr;
    fw::TButton* btnStart = nullptr;
    fw::TButton* btnStop = nullptr;
    fw::TStatusBar* StatusBar1 = nullptr;
    kvx::win32::TKVXFileGrep* lf = nullptr;
    kvx::win32::TKVXDirDlg* KVXDirDlg1 = nullptr;
    uis::TFormStorage* FormStorage1 = nullptr;
    // The dialog the hits go to.
    TfrmArcAddFiles* AddFiles = nullptr;

    void FormClose(fw::TObject* Sender, fw::TCloseAction& Action);
    void FormCloseQuery(fw::TObject* Sender, bool& CanClose);
    void btnStartDirClick(fw::TObject* Sender);
    void btnStartClick(fw::TObject* Sender);
    void btnStopClick(fw::TObject* Sender);
    void btnAddAllClick(fw::TObject* Sender);
    void btnAddSelectedClick(fw::TObject* Sender);
    void lfFound(fw::TObject* Sender, const std::string& found);
    void lfDirChange(fw::TObject* Sender, const std::string& name);
    void lfFinished(fw::TObject* Sender);
    void lfCancel(fw::TObject* Sender);

private:
    void AddLines(bool selectedOnly);
    void SearchEnded(const char* message);

    int found_ = 0;
    // Set once the dialog is on its way out: a search it stops then ends without a word.
    bool closing_ = false;
};

void RegisterArcFindFilesClass();

}  // namespace app
