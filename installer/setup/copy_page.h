// The copy page: shown without a frame's buttons at the bottom centre of the screen while files are
// written or downloaded, with the file's and the whole install's progress.
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TImage;
}
namespace inst::win32 {
class TGauge3D;
}

namespace inst {

class TTranslateLabel;

class TCopyFileForm : public TBaseDuringCopyForm {
public:
    explicit TCopyFileForm(fw::TComponent* owner);

    TTranslateLabel* lblCopyingFile = nullptr;
    inst::win32::TGauge3D* ProgressBar1 = nullptr;  // the file
    inst::win32::TGauge3D* ProgressBar2 = nullptr;  // the whole install
    fw::TImage* TransferBitmap = nullptr;

    void UpdateProgress(TFileStatusParameter* status, TDownloadStatusParameter* download) override;

    void FormCreate(fw::TObject* Sender);
    void CancelBtnClick(fw::TObject* Sender);
};

void RegisterCopyPage();

}  // namespace inst
