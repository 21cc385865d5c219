#include "installer/setup/copy_page.h"

#include "framework/core/rtti.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_image.h"
#include "installer/controls/win32/gauge3d.h"
#include "installer/win32/translate_controls.h"

namespace inst {

TCopyFileForm::TCopyFileForm(fw::TComponent* owner) : TBaseDuringCopyForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmDuringCopyFiles));
}

void TCopyFileForm::FormCreate(fw::TObject*) {
    // At the bottom centre of the screen.
    SetBounds(fw::Screen->Width() / 2 - Width() / 2, fw::Screen->Height() - Height() - 25, Width(), Height());
}

void TCopyFileForm::UpdateProgress(TFileStatusParameter* status, TDownloadStatusParameter* download) {
    if (status) {
        TransferBitmap->SetVisible(false);
        ProgressBar1->SetProgress(status->FilePercent);
        ProgressBar2->SetProgress(status->TotalPercent);
        lblCopyingFile->SetCaption(status->FileName);
    } else if (download) {
        TransferBitmap->SetVisible(true);
        ProgressBar1->SetProgress(download->Percent);
        lblCopyingFile->SetCaption(download->FileName);
    }
    Repaint();
}

void TCopyFileForm::CancelBtnClick(fw::TObject*) { CancelInstall(); }

void RegisterCopyPage() {
    using F = TCopyFileForm;
    fw::Class<F, TBaseDuringCopyForm>("TCopyFileForm")
        .Field("lblCopyingFile", &F::lblCopyingFile)
        .Field("ProgressBar1", &F::ProgressBar1)
        .Field("ProgressBar2", &F::ProgressBar2)
        .Field("TransferBitmap", &F::TransferBitmap)
        .Method("FormCreate", &F::FormCreate)
        .Method("CancelBtnClick", &F::CancelBtnClick);
    CopyFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
