// The standard dialogs. Each one first asks the automation answer queue (kinds "messagebox", "input",
// "open", "save", "folder"): a queued answer is returned at once without showing anything. Otherwise
// the dialog runs for real:
//   MessageDlg and InputQuery are framework forms ("MessageDlg", "InputQuery") with named buttons
//   ("Yes", "No", "OK", "Cancel", ...; InputQuery's edit is "Value"), so a driver answers them by name;
//   TOpenDialog and TSaveDialog are the system's file dialogs, answered through their controls;
//   BrowseForFolder is the system's folder browser, whose callback the caller sees and may answer.
//
// Queued answers: "messagebox" takes a result name or number ("Yes", "mrNo", "6"); "input" the text
// to return ("{Cancel}" cancels); "open"/"save" one or more full file names separated by '|'
// ("{Cancel}" or nothing cancels); "folder" the folder ("{Cancel}" or nothing cancels).
#pragma once

#include <functional>
#include <string>

#include "framework/core/event.h"
#include "framework/core/lists.h"
#include "framework/core/object.h"
#include "framework/win32/forms.h"
#include "framework/win32/winapi.h"

#include <shlobj.h>

namespace fw {

// ---- message and input dialogs -------------------------------------------------------------------

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = Set<TMsgDlgBtn>;
constexpr TMsgDlgType mtWarning = TMsgDlgType::mtWarning;
constexpr TMsgDlgType mtError = TMsgDlgType::mtError;
constexpr TMsgDlgType mtInformation = TMsgDlgType::mtInformation;
constexpr TMsgDlgType mtConfirmation = TMsgDlgType::mtConfirmation;
constexpr TMsgDlgType mtCustom = TMsgDlgType::mtCustom;
constexpr TMsgDlgBtn mbYes = TMsgDlgBtn::mbYes;
constexpr TMsgDlgBtn mbNo = TMsgDlgBtn::mbNo;
constexpr TMsgDlgBtn mbOK = TMsgDlgBtn::mbOK;
constexpr TMsgDlgBtn mbCancel = TMsgDlgBtn::mbCancel;
constexpr TMsgDlgBtn mbAbort = TMsgDlgBtn::mbAbort;
constexpr TMsgDlgBtn mbRetry = TMsgDlgBtn::mbRetry;
constexpr TMsgDlgBtn mbIgnore = TMsgDlgBtn::mbIgnore;
constexpr TMsgDlgBtn mbAll = TMsgDlgBtn::mbAll;
constexpr TMsgDlgBtn mbNoToAll = TMsgDlgBtn::mbNoToAll;
constexpr TMsgDlgBtn mbYesToAll = TMsgDlgBtn::mbYesToAll;
constexpr TMsgDlgBtn mbHelp = TMsgDlgBtn::mbHelp;
const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The message form, not yet shown: caption after the type (Title for mtCustom), the type's icon, the
// text in the label "Message", one button per member of `buttons` named after it ("Yes", "OK", ...),
// with its modal result; the first of OK and Yes is Default, Cancel (else No, else a lone OK) Cancel.
TForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows the message form modal and returns the pressed button's result (mrYes = 6, ...; 1-8). The
// Help button opens help for helpContext and leaves the dialog open.
int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
void ShowMessage(const std::string& msg);
// A caption, a prompt and an edit ("Value", masked with '*' if asked). True with the typed text on OK.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value, bool masked = false);
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);

// ---- file dialogs --------------------------------------------------------------------------------

enum class TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing
};
using TOpenOptions = Set<TOpenOption>;

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* owner);
    virtual bool Execute() = 0;
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value) { ctl3D_ = value; }

protected:
    // The window that owns a dialog: the active form, else the application window.
    static HWND OwnerWindow();

private:
    int helpContext_ = 0;
    bool ctl3D_ = true;
};

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* owner);

    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& value) { defaultExt_ = value; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }
    // Every chosen file (one without ofAllowMultiSelect), full names.
    TStrings* Files() const { return files_; }
    // "Text files|*.txt|All files|*.*"
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& value) { filter_ = value; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& value) { initialDir_ = value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value) { options_ = value; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }

    bool Execute() override;

protected:
    ~TOpenDialog() override;
    virtual bool IsSave() const { return false; }

private:
    std::string defaultExt_;
    std::string fileName_;
    TStringList* files_ = nullptr;
    std::string filter_;
    int filterIndex_ = 1;
    std::string initialDir_;
    TOpenOptions options_{TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing};
    std::string title_;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

// The system filter text of "text|mask|text|mask": pairs separated by NULs, ending in two NULs.
std::string SystemFilter(const std::string& filter);
// The names in a multi-select result buffer: "dir\0a\0b\0\0" gives dir\a and dir\b; "path\0\0" gives path.
std::vector<std::string> SplitSelection(const char* buffer);

// ---- folder browser ------------------------------------------------------------------------------

// What the browser shows. Root is borrowed (the caller frees it); Flags are passed as they stand
// (BIF_RETURNONLYFSDIRS, BIF_EDITBOX, BIF_NEWDIALOGSTYLE, BIF_VALIDATE, ...).
struct TBrowseFolderParams {
    HWND Owner = nullptr;  // null: the active form
    std::string Title;
    UINT Flags = BIF_RETURNONLYFSDIRS;
    const ITEMIDLIST* Root = nullptr;
    std::string InitialDir;   // selected once the browser is up (after the caller's BFFM_INITIALIZED)
    std::string DisplayName;  // out: the display name of the chosen item
    int Image = 0;            // out: its system image index
};
// The browser's callback with its window (for BFFM_SETSELECTIONA, BFFM_SETSTATUSTEXTA, BFFM_ENABLEOK):
// BFFM_INITIALIZED, BFFM_SELCHANGED (param: the item list), BFFM_VALIDATEFAILEDA (param: the typed
// name; return non-zero to keep the browser open). Exceptions stay inside the browser's callback.
using TBrowseCallback = std::function<int(HWND window, UINT message, LPARAM param)>;
// Shows the folder browser; true with the chosen folder (its file-system path). Every item list the
// browser hands out is freed.
bool BrowseForFolder(TBrowseFolderParams& params, std::string& folder, const TBrowseCallback& callback = {});

// Asks a shown browser to select `path`. Each folder of the path is listed first: the browser finds
// the path's items by comparing the shell's item data, access times included, and a folder changed
// since it was last listed would otherwise get a new access time from the browser's own listing, after
// it parsed the path, so that the path is not found.
void SelectBrowserFolder(HWND browser, const std::string& path);

// The system call behind BrowseForFolder. A test replaces it to play a browser the system under test
// lacks (one that validates a typed name); SetBrowseSeam returns the previous call, and null puts the
// system's SHBrowseForFolderA back. The item list returned is the caller's to free.
using BrowseSeam = LPITEMIDLIST (*)(BROWSEINFOA* info);
BrowseSeam SetBrowseSeam(BrowseSeam seam);

enum class TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = Set<TSelectDirOpt>;
// Browses from `root` ("" = the desktop) with `directory` selected. A chosen folder that does not exist
// is created with sdAllowCreate and sdPerformCreate (after a confirmation with sdPrompt).
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory,
                     TSelectDirOpts options = {});

// The window that owns a dialog: the active form, else the main form, else the application window.
HWND DialogOwner();

void RegisterDialogClasses();

}  // namespace fw
