#include "widgets/win32/dirdlg.h"

#include <memory>

#include "framework/core/sysutils.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_filectrls.h"
#include "framework/win32/std_label.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxutils.h"
#include "widgets/win32/formfill.h"
#include "widgets/win32/formstyler.h"
#include "widgets/win32/labels.h"

namespace kvx::win32 {

namespace {

constexpr int kPromptPathLength = 36;

template <class T>
T* Put(fw::TForm* form, const char* name, int left, int top, int width, int height) {
    T* control = KVXAddControl<T>(form, name);
    control->SetBounds(left, top, width, height);
    return control;
}

fw::TButton* PutButton(fw::TForm* form, const char* name, int top, int tabOrder) {
    auto* button = Put<fw::TButton>(form, name, 302, top, 86, 24);
    button->SetTabOrder(tabOrder);
    return button;
}

// Frees the form and clears the dialog's box references, also when an exception passes.
class ChooserScope {
public:
    ChooserScope(fw::TForm* form, fw::TDirectoryListBox*& folderBox, fw::TDriveComboBox*& driveBox)
        : form_(form), folderBox_(folderBox), driveBox_(driveBox) {}
    ~ChooserScope() {
        form_->Free();
        folderBox_ = nullptr;
        driveBox_ = nullptr;
    }
    ChooserScope(const ChooserScope&) = delete;
    ChooserScope& operator=(const ChooserScope&) = delete;

private:
    fw::TForm* form_;
    fw::TDirectoryListBox*& folderBox_;
    fw::TDriveComboBox*& driveBox_;
};

}  // namespace

std::string KVXUpperCaseAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool TKVXDirDlg::ExecuteAt(fw::TControl* control) {
    fw::TForm* form = KVXNewDialogForm(nullptr, "frmKVXDir", -12);
    ChooserScope scope(form, folderBox_, driveBox_);

    fw::TButton* ok = PutButton(form, "btnOk", 20, 2);
    ok->SetModalResult(fw::mrOk);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    fw::TButton* cancel = PutButton(form, "btnCancel", 47, 3);
    cancel->SetModalResult(fw::mrCancel);
    cancel->SetCancel(true);
    cancel->SetCaption(texts::SCancel);
    fw::TButton* extra = PutButton(form, "btnExtra", 81, 4);
    extra->SetVisible(false);
    fw::TButton* newFolder = PutButton(form, "btnNewFolder", 225, 5);
    newFolder->SetVisible(false);
    auto* folderLabel = Put<fw::TLabel>(form, "lblFolder", 35, 5, 186, 13);
    folderLabel->SetAutoSize(false);
    folderLabel->Font()->SetColor(fw::clNavy);
    folderLabel->SetTransparent(true);
    driveBox_ = Put<fw::TDriveComboBox>(form, "cbxDrive", 6, 267, 290, 19);
    driveBox_->SetTabOrder(1);
    auto* driveLabel = Put<fw::TLabel>(form, "lblDrive", 8, 253, 3, 10);
    driveLabel->SetCaption("&Drive:");
    driveLabel->SetTransparent(true);
    folderBox_ = Put<fw::TDirectoryListBox>(form, "lstFolders", 6, 20, 290, 229);
    folderBox_->SetTabOrder(0);
    folderBox_->SetItemHeight(17);
    auto* pathLabel = Put<TKVXSimpleLabel>(form, "lblPath", 6, 5, 3, 10);
    pathLabel->SetCaption("&Path:");
    TKVXFormStyler* styler = nullptr;
    TKVXBack* back = nullptr;
    KVXAddDialogLook(form, styler, back);

    form->SetFormClientWidth(ok->Left() + ok->Width() + 7);
    form->SetFormClientHeight(driveBox_->Top() + driveBox_->Height() + 6);
    if (AllowNewDir) {
        newFolder->SetCaption(texts::SNewFolder);
        newFolder->SetVisible(true);
    }
    folderLabel->SetVisible(ShowLabelDir);
    if (HintsWanted()) {
        form->SetShowHint(true);
        fw::TControl* targets[] = {ok, extra, cancel, folderBox_, driveBox_, newFolder};
        for (int i = 0; i < 6; ++i) ApplyHint(i, targets[i]);
    }
    form->SetActiveControl(folderBox_);
    folderBox_->SetDirectory(Path);
    driveBox_->SetDrive(folderBox_->Drive());
    driveLabel->SetFocusControl(driveBox_);
    pathLabel->SetFocusControl(folderBox_);
    folderBox_->SetDirLabel(folderLabel);
    driveBox_->OnChange.Bind(this, &TKVXDirDlg::DriveChange);
    newFolder->OnClick.Bind(this, &TKVXDirDlg::NewFolderClick);

    if (ShowDialog(form, control, "Select Path...", back, styler, extra) != fw::mrOk) return false;
    Path = KVXUpperCaseAscii(folderBox_->Directory());
    return true;
}

void TKVXDirDlg::DriveChange(TObject*) {
    if (folderBox_ && driveBox_) folderBox_->SetDrive(driveBox_->Drive());
}

void TKVXDirDlg::NewFolderClick(TObject*) {
    if (!folderBox_ || !driveBox_ || folderBox_->ItemIndex() < 0) return;
    std::string selected;
    try {
        selected = folderBox_->GetItemPath(folderBox_->ItemIndex());
    } catch (const fw::Exception&) {
        return;
    }
    std::string caption = texts::SNewFolder;
    for (char& c : caption)
        if (c == '&') c = ' ';
    caption = fw::Trim(caption);
    std::string name;
    if (!fw::InputQuery(caption, "Name: (" + KVXShortenPath(selected, kPromptPathLength) + ")", name)) return;
    if (KVXIsBlank(name)) return;
    const std::string folder = KVXAddBackslash(folderBox_->Directory()) + name;
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        if (OnFolderError)
            OnFolderError(this);
        else
            fw::MessageDlg("IO-Error!\rCould not create folder.", fw::TMsgDlgType::mtWarning, {fw::mbOK}, 0);
        return;
    }
    folderBox_->SetDirectory(folder);
}

}  // namespace kvx::win32
