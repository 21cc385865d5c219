#include "installer/setup/destination_page.h"

#include <vector>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_image.h"
#include "installer/folder_paths.h"
#include "installer/install_root.h"
#include "installer/strutils.h"
#include "installer/win32/folder_dialog.h"
#include "uisupport/controls/win32/shbtn.h"
#include "widgets/win32/groupbox.h"

namespace inst {

TSelectDestinationForm::TSelectDestinationForm(fw::TComponent* owner) : TBaseInstallForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmBeforeInstall));
    SetSubject(InstallComponent());
}

void TSelectDestinationForm::FormCreate(fw::TObject*) { UseInstallTheme(ThemeBitmap); }

void TSelectDestinationForm::ShowDestination(const std::string& path) {
    updating_ = true;
    edDestDir->SetText(path);
    updating_ = false;
}

void TSelectDestinationForm::UpdateControls() {
    updating_ = true;
    BackBtn->SetVisible(!IsFirstPage());
    const std::string path = Subject() ? Subject()->GetDestPath() : std::string();
    gbDirectory->SetVisible(!path.empty());
    edDestDir->SetText(path);
    updating_ = false;
}

void TSelectDestinationForm::edDestDirChange(fw::TObject*) {
    if (updating_ || !Subject()) return;
    // A typed destination is a path of its own, not below a standard folder.
    Subject()->SetDestDirType(nullptr);
    Subject()->SetDestDir(edDestDir->Text());
}

void TSelectDestinationForm::BrowseBtnClick(fw::TObject*) {
    if (!Subject()) return;
    const std::string path = Subject()->GetDestPath();
    const FolderExists exists = [](const std::string& p) { return fw::DirectoryExists(p); };
    // The browser opens on the destination itself: the folders it lacks are made for the while.
    const std::vector<std::string> made = fw::Trim(path).empty() ? std::vector<std::string>() : MissingFolders(path, exists);
    if (!made.empty()) fw::ForceDirectories(path);
    FolderDialog->SetSelectedPath(path);
    try {
        if (FolderDialog->Execute()) {
            Subject()->SetDestDirType(nullptr);
            Subject()->SetDestDir(RemoveBackslash(FolderDialog->SelectedPath()));
            ShowDestination(Subject()->DestDir());
        }
    } catch (...) {
        for (auto it = made.rbegin(); it != made.rend(); ++it) fw::RemoveDir(*it);
        throw;
    }
    // Deepest first; a folder that holds anything now stays.
    for (auto it = made.rbegin(); it != made.rend(); ++it) fw::RemoveDir(*it);
}

void TSelectDestinationForm::BackBtnClick(fw::TObject*) { GoBack(); }
void TSelectDestinationForm::ProceedBtnClick(fw::TObject*) { GoNext(); }
void TSelectDestinationForm::CancelBtnClick(fw::TObject*) { CancelInstall(); }

void RegisterDestinationPage() {
    using F = TSelectDestinationForm;
    fw::Class<F, TBaseInstallForm>("TSelectDestinationForm")
        .Field("ThemeBitmap", &F::ThemeBitmap)
        .Field("gbDirectory", &F::gbDirectory)
        .Field("edDestDir", &F::edDestDir)
        .Field("FolderDialog", &F::FolderDialog)
        .Field("BackBtn", &F::BackBtn)
        .Field("ProceedBtn", &F::ProceedBtn)
        .Field("CancelBtn", &F::CancelBtn)
        .Method("FormCreate", &F::FormCreate)
        .Method("edDestDirChange", &F::edDestDirChange)
        .Method("BrowseBtnClick", &F::BrowseBtnClick)
        .Method("BackBtnClick", &F::BackBtnClick)
        .Method("ProceedBtnClick", &F::ProceedBtnClick)
        .Method("CancelBtnClick", &F::CancelBtnClick);
    InstallFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
