// The file-name and folder edits: combo edits whose button opens a file dialog (TFilenameEdit) or a
// folder dialog (TDirectoryEdit), that take files dropped from the shell, and that read their text as
// a file name (quoted when it holds a blank) or as folders (several separated by ";").
#pragma once

#include <string>

#include "framework/win32/dialogs.h"
#include "uisupport/controls/win32/comboedit.h"

namespace uis {

// Before and after a dialog: the name may be changed, and Action False stops (before) or drops (after)
// the choice.
using TExecOpenDialogEvent = fw::Event<void(fw::TObject* Sender, std::string& Name, bool& Action)>;

class TFileDirEdit : public TCustomComboEdit {
public:
    explicit TFileDirEdit(fw::TComponent* owner);

    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool value);
    // The text with each name in its long or short (8.3) form; a name the file system does not know
    // gives an empty part.
    std::string LongName() const;
    std::string ShortName() const;

    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;
    fw::TNotifyEvent OnDropFiles;
    fw::TNotifyEvent OnButtonClick;

protected:
    void CreateWnd() override;
    void Dispatch(fw::TMessage& message) override;
    void DoButtonClick() override;
    fw::TBitmap* DefaultBitmap() override;
    // The dialog of the class, after OnButtonClick.
    virtual void ExecuteDialog() = 0;
    // One dropped name arrives; the list of several entries is cleared first.
    virtual void ReceptFileDir(const std::string& name) = 0;
    virtual void ClearFileList() {}
    // Whether several entries are kept (several folders, or a multi-select file dialog).
    virtual bool MultipleEntries() const { return false; }
    bool RunBefore(std::string& name);
    bool RunAfter(std::string& name, bool action);

private:
    void WMDropFiles(fw::TMessage& message);
    std::string MapNames(std::string (*convert)(const std::string&)) const;

    bool acceptFiles_ = false;
};

enum class TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };

class TFilenameEdit : public TFileDirEdit {
public:
    explicit TFilenameEdit(fw::TComponent* owner);

    fw::TOpenDialog* Dialog() const { return dialog_; }
    TFileDialogKind DialogKind() const { return dialogKind_; }
    // Makes the dialog of the new kind with every setting of the old one.
    void SetDialogKind(TFileDialogKind value);
    // The file the text names: the text when such a file exists, else the program part of the text
    // read as a command line.
    std::string FileName() const;
    // Raises EComboEditError for a name the file system cannot take; a name with a blank is quoted.
    void SetFileName(const std::string& value);
    // The dialog's settings.
    std::string DefaultExt() const { return dialog_->DefaultExt(); }
    void SetDefaultExt(const std::string& value) { dialog_->SetDefaultExt(value); }
    std::string Filter() const { return dialog_->Filter(); }
    void SetFilter(const std::string& value) { dialog_->SetFilter(value); }
    bool IsFilterStored() const;
    int FilterIndex() const { return dialog_->FilterIndex(); }
    void SetFilterIndex(int value) { dialog_->SetFilterIndex(value); }
    std::string InitialDir() const { return dialog_->InitialDir(); }
    void SetInitialDir(const std::string& value) { dialog_->SetInitialDir(value); }
    std::string DialogTitle() const { return dialog_->Title(); }
    void SetDialogTitle(const std::string& value) { dialog_->SetTitle(value); }
    bool IsDialogTitleStored() const;

protected:
    void ExecuteDialog() override;
    void ReceptFileDir(const std::string& name) override;
    void ClearFileList() override;
    bool MultipleEntries() const override;

private:
    fw::TOpenDialog* dialog_ = nullptr;
    TFileDialogKind dialogKind_ = TFileDialogKind::dkOpen;
};

enum class TDirDialogKind { dkGfw, dkWin32 };

class TDirectoryEdit : public TFileDirEdit {
public:
    explicit TDirectoryEdit(fw::TComponent* owner);

    TDirDialogKind DialogKind() const { return dialogKind_; }
    void SetDialogKind(TDirDialogKind value) { dialogKind_ = value; }
    const std::string& DialogText() const { return dialogText_; }
    void SetDialogText(const std::string& value) { dialogText_ = value; }
    fw::TSelectDirOpts DialogOptions() const { return dialogOptions_; }
    void SetDialogOptions(fw::TSelectDirOpts value) { dialogOptions_ = value; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& value) { initialDir_ = value; }
    bool MultipleDirs() const { return multipleDirs_; }
    void SetMultipleDirs(bool value) { multipleDirs_ = value; }

protected:
    void ExecuteDialog() override;
    void ReceptFileDir(const std::string& name) override;
    bool MultipleEntries() const override { return multipleDirs_; }

private:
    TDirDialogKind dialogKind_ = TDirDialogKind::dkGfw;
    std::string dialogText_;
    fw::TSelectDirOpts dialogOptions_;
    std::string initialDir_;
    bool multipleDirs_ = false;
};

void RegisterFileDirEditClasses();

}  // namespace uis
