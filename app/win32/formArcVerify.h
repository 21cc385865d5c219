// TfrmArcVerify: the verify dialog. It runs the engine's tester on an archive and lists one line per
// entry: whether its check value held. A new one is made for each command and freed after it.
#pragma once

#include <string>

#include "framework/win32/forms.h"

namespace fw {
class TButton;
class TEdit;
class TImage;
class TMemo;
class TOpenDialog;
}  // namespace fw
namespace engine {
class TZipCheck;
}

namespace app {

class TfrmArcVerify : public fw::TForm {
public:
    using TForm::TForm;

    fw::TEdit* edtArchiveFile = nullptr;
    fw::TEdit* edtFileSpec = nullptr;
    fw::TMemo* memLog = nullptr;
    fw::TButton* btnVerify = nullptr;
    fw::TImage* imgLed = nullptr;
    fw::TOpenDialog* OpenDialog1 = nullptr;
    engine::TZipCheck* ZipCheck1 = nullptr;

    void FormActivate(fw::TObject* Sender);
    void edtArchiveFileChange(fw::TObject* Sender);
    void btnOpenArchiveClick(fw::TObject* Sender);
    void btnVerifyClick(fw::TObject* Sender);
    void ZipCheck1Begin(fw::TObject* Sender, const std::string& FN);
    void ZipCheck1Status(fw::TObject* Sender, const std::string& FN, bool PassFail);
    void ZipCheck1Error(fw::TObject* Sender, const std::string& FN, const std::string& MsgEx,
                        const std::string& VolumeID, int ECode);
    void ZipCheck1GetPassword(fw::TObject* Sender, const std::string& FN, std::string& Password, bool& TryAgain);
    void ZipCheck1Activate(fw::TObject* Sender);
    void ZipCheck1Deactivate(fw::TObject* Sender);

    // Shows the dialog on Archive ("" when none is open) and returns when it closes.
    void Verify(const std::string& archive);

private:
    void SetLedColor(fw::TColor color);
};

void RegisterArcVerifyClass();

}  // namespace app
