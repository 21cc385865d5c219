#include "uisupport/controls/win32/filediredit.h"

#include <shellapi.h>

#include <memory>
#include <vector>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/graphics.h"
#include "uisupport/controls/comboedittext.h"
#include "uisupport/win32/fileutil.h"
#include "uisupport/win32/pathnames.h"

namespace uis {

namespace {

constexpr const char* kDefaultFilter = "All files (*.*)|*.*";
constexpr const char* kDefaultTitle = "Browse";

// The system's critical-error and open-file boxes stay off while a dialog looks at drives.
class QuietErrors {
public:
    QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietErrors() { SetErrorMode(old_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    UINT old_;
};

// A drop is finished however its handling ends.
class DropFinisher {
public:
    explicit DropFinisher(HDROP drop) : drop_(drop) {}
    ~DropFinisher() { DragFinish(drop_); }
    DropFinisher(const DropFinisher&) = delete;
    DropFinisher& operator=(const DropFinisher&) = delete;

private:
    HDROP drop_;
};

// The dropped name at `index`, whatever its length.
std::string DroppedName(HDROP drop, UINT index) {
    const UINT length = DragQueryFileA(drop, index, nullptr, 0);
    std::vector<char> buffer(length + 1, '\0');
    DragQueryFileA(drop, index, buffer.data(), length + 1);
    return std::string(buffer.data());
}

std::string LongOrEmpty(const std::string& name) { return fw::FileExists(name) || FolderExists(name) ? LongPathOf(name) : ""; }
std::string ShortOrEmpty(const std::string& name) { return fw::FileExists(name) || FolderExists(name) ? ShortPathOf(name) : ""; }

}  // namespace

// ---- TFileDirEdit -------------------------------------------------------------------------------

TFileDirEdit::TFileDirEdit(fw::TComponent* owner) : TCustomComboEdit(owner) {
    SetGlyphKind(TGlyphKind::gkDefault);
}

fw::TBitmap* TFileDirEdit::DefaultBitmap() {
    // Loaded once and shared by every file and folder edit of the program.
    static std::unique_ptr<fw::TBitmap> bitmap = [] {
        auto b = std::make_unique<fw::TBitmap>();
        b->LoadFromResourceName(GetModuleHandleA(nullptr), "FEDITBMP");
        return b;
    }();
    return bitmap.get();
}

void TFileDirEdit::SetAcceptFiles(bool value) {
    if (value == acceptFiles_) return;
    acceptFiles_ = value;
    if (HandleAllocated() && !(ComponentState() & fw::csDesigning)) DragAcceptFiles(Handle(), value);
}

void TFileDirEdit::CreateWnd() {
    TCustomComboEdit::CreateWnd();
    if (acceptFiles_ && !(ComponentState() & fw::csDesigning)) DragAcceptFiles(Handle(), TRUE);
}

void TFileDirEdit::Dispatch(fw::TMessage& message) {
    if (message.Msg == WM_DROPFILES)
        WMDropFiles(message);
    else
        TCustomComboEdit::Dispatch(message);
}

void TFileDirEdit::WMDropFiles(fw::TMessage& message) {
    auto drop = reinterpret_cast<HDROP>(message.WParam);
    DropFinisher finish(drop);
    message.Result = 0;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0) return;
    ClearFileList();
    const UINT taken = MultipleEntries() ? count : 1;
    for (UINT i = 0; i < taken; ++i) ReceptFileDir(DroppedName(drop, i));
    OnDropFiles(this);
}

void TFileDirEdit::DoButtonClick() {
    OnButtonClick(this);
    ExecuteDialog();
}

bool TFileDirEdit::RunBefore(std::string& name) {
    bool action = true;
    OnBeforeDialog(this, name, action);
    return action;
}

bool TFileDirEdit::RunAfter(std::string& name, bool action) {
    if (CanFocus()) SetFocus();
    OnAfterDialog(this, name, action);
    return action;
}

std::string TFileDirEdit::MapNames(std::string (*convert)(const std::string&)) const {
    if (dynamic_cast<const TFilenameEdit*>(this))
        return convert(static_cast<const TFilenameEdit*>(this)->FileName());
    return MapFolders(Text(), MultipleEntries(), convert);
}

std::string TFileDirEdit::LongName() const { return MapNames(&LongOrEmpty); }
std::string TFileDirEdit::ShortName() const { return MapNames(&ShortOrEmpty); }

// ---- TFilenameEdit ------------------------------------------------------------------------------

TFilenameEdit::TFilenameEdit(fw::TComponent* owner) : TFileDirEdit(owner) {
    dialog_ = fw::Make<fw::TOpenDialog>(this);
    dialog_->SetFilter(kDefaultFilter);
    dialog_->SetTitle(kDefaultTitle);
    dialog_->SetOptions({fw::TOpenOption::ofHideReadOnly});
}

void TFilenameEdit::SetDialogKind(TFileDialogKind value) {
    if (value == dialogKind_) return;
    dialogKind_ = value;
    fw::TOpenDialog* old = dialog_;
    const bool save = value == TFileDialogKind::dkSave || value == TFileDialogKind::dkSavePicture;
    dialog_ = save ? static_cast<fw::TOpenDialog*>(fw::Make<fw::TSaveDialog>(this)) : fw::Make<fw::TOpenDialog>(this);
    dialog_->SetDefaultExt(old->DefaultExt());
    dialog_->SetFileName(old->FileName());
    dialog_->SetFilter(old->Filter());
    dialog_->SetFilterIndex(old->FilterIndex());
    dialog_->SetInitialDir(old->InitialDir());
    dialog_->Files()->Assign(old->Files());
    dialog_->SetOptions(old->Options());
    dialog_->SetTitle(old->Title());
    dialog_->SetHelpContext(old->HelpContext());
    old->Free();
}

bool TFilenameEdit::MultipleEntries() const { return dialog_->Options().Contains(fw::TOpenOption::ofAllowMultiSelect); }

std::string TFilenameEdit::FileName() const {
    return FileNameOfText(Text(), [](const std::string& path) { return fw::FileExists(path); });
}

void TFilenameEdit::SetFileName(const std::string& value) {
    if (!value.empty() && !IsValidFileValue(value)) throw EComboEditError("Invalid file name - " + value);
    SetText(QuotedFileName(value));
    ClearFileList();
}

bool TFilenameEdit::IsFilterStored() const { return Filter() != kDefaultFilter; }
bool TFilenameEdit::IsDialogTitleStored() const { return DialogTitle() != kDefaultTitle; }

void TFilenameEdit::ClearFileList() { dialog_->Files()->Clear(); }

void TFilenameEdit::ReceptFileDir(const std::string& name) {
    if (!MultipleEntries() || dialog_->Files()->Count() == 0) SetFileName(name);
    if (MultipleEntries()) dialog_->Files()->Add(name);
}

void TFilenameEdit::ExecuteDialog() {
    std::string name = FileName();
    if (!RunBefore(name)) return;
    if (IsValidFileValue(name)) {
        const std::string folder = fw::ExtractFileDir(name);
        if (!folder.empty() && fw::DirectoryExists(folder)) dialog_->SetInitialDir(folder);
        const std::string file = fw::ExtractFileName(name);
        if (file.empty() || !IsValidFileValue(file)) name.clear();
    } else {
        name.clear();
    }
    dialog_->SetFileName(name);
    dialog_->SetHelpContext(HelpContext());
    bool action;
    {
        QuietErrors quiet;
        action = dialog_->Execute();
    }
    if (action) name = dialog_->FileName();
    if (!RunAfter(name, action)) return;
    SetText(QuotedFileName(name));
    dialog_->SetInitialDir(fw::ExtractFileDir(dialog_->FileName()));
}

// ---- TDirectoryEdit -----------------------------------------------------------------------------

TDirectoryEdit::TDirectoryEdit(fw::TComponent* owner) : TFileDirEdit(owner) {}

void TDirectoryEdit::ReceptFileDir(const std::string& name) {
    const std::string folder = fw::FileExists(name) ? fw::ExtractFileDir(name) : name;
    SetText(JoinFolder(Text(), folder, multipleDirs_));
}

void TDirectoryEdit::ExecuteDialog() {
    std::string name = Text();
    if (!RunBefore(name)) return;
    if (name.empty()) name = initialDir_.empty() ? "\\" : initialDir_;
    if (!FolderExists(name)) name = "\\";
    bool action;
    {
        QuietErrors quiet;
        if (dialogKind_ == TDirDialogKind::dkWin32) {
            auto* browser = fw::Make<TBrowseFolderDlg>(this);
            browser->SetDialogText(dialogText_);
            browser->SetFolderName(name);
            browser->SetHelpContext(HelpContext());
            action = browser->Execute();
            if (action) name = browser->FolderName();
            browser->Free();
        } else {
            action = fw::SelectDirectory(dialogText_, "", name, dialogOptions_);
        }
    }
    if (!RunAfter(name, action)) return;
    SetSelText("");
    SetText(JoinFolder(Text(), name, multipleDirs_));
    if (FolderExists(name)) initialDir_ = name;
}

void RegisterFileDirEditClasses() {
    RegisterComboEditClasses();
    fw::RegisterEnum<TFileDialogKind>({"dkOpen", "dkSave", "dkOpenPicture", "dkSavePicture"}, "TFileDialogKind");
    fw::RegisterEnum<TDirDialogKind>({"dkGfw", "dkWin32"}, "TDirDialogKind");
    fw::Class<TFileDirEdit, TCustomComboEdit>("TFileDirEdit")
        .Prop("AcceptFiles", &TFileDirEdit::AcceptFiles, &TFileDirEdit::SetAcceptFiles)
        .Event("OnBeforeDialog", &TFileDirEdit::OnBeforeDialog)
        .Event("OnAfterDialog", &TFileDirEdit::OnAfterDialog)
        .Event("OnDropFiles", &TFileDirEdit::OnDropFiles)
        .Event("OnButtonClick", &TFileDirEdit::OnButtonClick);
    fw::Class<TFilenameEdit, TFileDirEdit>("TFilenameEdit")
        .Prop("DialogKind", &TFilenameEdit::DialogKind, &TFilenameEdit::SetDialogKind)
        .Prop("FileName", &TFilenameEdit::FileName, &TFilenameEdit::SetFileName)
        .Stored(false)
        .Prop("DefaultExt", &TFilenameEdit::DefaultExt, &TFilenameEdit::SetDefaultExt)
        .Prop("Filter", &TFilenameEdit::Filter, &TFilenameEdit::SetFilter)
        .Stored(&TFilenameEdit::IsFilterStored)
        .Prop("FilterIndex", &TFilenameEdit::FilterIndex, &TFilenameEdit::SetFilterIndex)
        .Prop("InitialDir", &TFilenameEdit::InitialDir, &TFilenameEdit::SetInitialDir)
        .Prop("DialogTitle", &TFilenameEdit::DialogTitle, &TFilenameEdit::SetDialogTitle)
        .Stored(&TFilenameEdit::IsDialogTitleStored);
    fw::Class<TDirectoryEdit, TFileDirEdit>("TDirectoryEdit")
        .Prop("DialogKind", &TDirectoryEdit::DialogKind, &TDirectoryEdit::SetDialogKind)
        .Prop("DialogText", &TDirectoryEdit::DialogText, &TDirectoryEdit::SetDialogText)
        .Prop("InitialDir", &TDirectoryEdit::InitialDir, &TDirectoryEdit::SetInitialDir)
        .Prop("MultipleDirs", &TDirectoryEdit::MultipleDirs, &TDirectoryEdit::SetMultipleDirs);
}

}  // namespace uis
