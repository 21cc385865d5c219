#include "installer/setup/change_disk_page.h"

#include "framework/core/format.h"
#include "framework/core/rtti.h"
#include "framework/win32/std_edit.h"
#include "installer/translator.h"
#include "installer/win32/folder_dialog.h"
#include "installer/win32/translate_controls.h"

namespace inst {

TChangeDiskForm::TChangeDiskForm(fw::TComponent* owner) : TBaseChangeDiskForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmChangeDisk));
}

void TChangeDiskForm::FormShow(fw::TObject*) {
    updating_ = true;
    if (TDiskParameter* disk = DiskParameter()) {
        PromptDiskLabel->SetCaption(FormatTranslated("Please insert disk number %d", {disk->DiskNumber}));
        PathEdit->SetText(disk->Path);
    }
    updating_ = false;
    if (InstallBtn->CanFocus()) InstallBtn->SetFocus();
}

void TChangeDiskForm::PathEditChange(fw::TObject*) {
    if (!updating_ && DiskParameter()) DiskParameter()->Path = PathEdit->Text();
}

void TChangeDiskForm::BrowseBtnClick(fw::TObject*) {
    auto* dialog = fw::Make<TOpenFolderDialog>(this);
    try {
        dialog->SetShowCreateButton(false);
        dialog->SetShowPathEdit(false);
        dialog->SetSelectedPath(PathEdit->Text());
        if (dialog->Execute() && DiskParameter()) DiskParameter()->Path = dialog->SelectedPath();
    } catch (...) {
        dialog->Free();
        throw;
    }
    dialog->Free();
    updating_ = true;
    if (DiskParameter()) PathEdit->SetText(DiskParameter()->Path);
    updating_ = false;
}

void TChangeDiskForm::CancelBtnClick(fw::TObject*) { CancelInstall(); }

void RegisterChangeDiskPage() {
    using F = TChangeDiskForm;
    fw::Class<F, TBaseChangeDiskForm>("TChangeDiskForm")
        .Field("PromptDiskLabel", &F::PromptDiskLabel)
        .Field("PathEdit", &F::PathEdit)
        .Field("InstallBtn", &F::InstallBtn)
        .Method("FormShow", &F::FormShow)
        .Method("PathEditChange", &F::PathEditChange)
        .Method("BrowseBtnClick", &F::BrowseBtnClick)
        .Method("CancelBtnClick", &F::CancelBtnClick);
    ChangeDiskFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
