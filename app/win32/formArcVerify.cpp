#include "app/win32/formArcVerify.h"

#include "engine/core/arc_types.h"
#include "engine/core/messages.h"
#include "engine/zipcheck/zip_check.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_image.h"
#include "framework/win32/std_memo.h"

namespace app {

namespace {

// The hourglass over the log and the screen while a test runs; the cursors come back however it ends.
class HourGlass {
public:
    explicit HourGlass(fw::TControl* control) : control_(control), saved_(fw::Screen->Cursor()) {
        control_->SetCursor(fw::crHourGlass);
        fw::Screen->SetCursor(fw::crHourGlass);
    }
    ~HourGlass() {
        control_->SetCursor(fw::crDefault);
        fw::Screen->SetCursor(saved_);
    }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;

private:
    fw::TControl* control_;
    fw::TCursor saved_;
};

}  // namespace

void TfrmArcVerify::Verify(const std::string& archive) {
    edtArchiveFile->SetText(archive);
    edtArchiveFileChange(this);
    ShowModal();
}

void TfrmArcVerify::FormActivate(fw::TObject*) { edtFileSpec->SetText(ZipCheck1->FileSpec()); }

void TfrmArcVerify::edtArchiveFileChange(fw::TObject*) { btnVerify->SetEnabled(!edtArchiveFile->Text().empty()); }

void TfrmArcVerify::btnOpenArchiveClick(fw::TObject*) {
    OpenDialog1->SetFilter(std::string(engine::MessageText(engine::msgFilterAllArchives)));
    OpenDialog1->SetOptions({fw::TOpenOption::ofHideReadOnly, fw::TOpenOption::ofPathMustExist,
                             fw::TOpenOption::ofFileMustExist});
    if (!OpenDialog1->Execute()) return;
    edtArchiveFile->SetText(OpenDialog1->FileName());
    memLog->Lines()->Clear();
}

void TfrmArcVerify::btnVerifyClick(fw::TObject*) {
    HourGlass busy(memLog);
    memLog->Lines()->Clear();
    ZipCheck1->SetFileSpec(edtFileSpec->Text());
    ZipCheck1->SetArchiveFile(edtArchiveFile->Text());
    // The tester refuses cabinets and UU-encoded files: say so here, as for any other type it cannot
    // read, rather than through its error report.
    if (engine::CanTestArcType(ZipCheck1->ArcType()))
        ZipCheck1->Activate();
    else
        fw::Application->MessageBox(std::string(engine::MessageText(engine::msgInvalidArcType)), "",
                                    MB_OK | MB_ICONERROR);
    if (edtArchiveFile->CanFocus()) edtArchiveFile->SetFocus();
}

void TfrmArcVerify::ZipCheck1Begin(fw::TObject*, const std::string& FN) {
    memLog->Lines()->Add("Verifying:  " + FN);
    memLog->Repaint();
}

void TfrmArcVerify::ZipCheck1Status(fw::TObject*, const std::string& FN, bool PassFail) {
    memLog->Lines()->Add(FN + (PassFail ? " ...Ok" : " ...Failed"));
}

void TfrmArcVerify::ZipCheck1Error(fw::TObject*, const std::string& FN, const std::string&, const std::string&,
                                   int ECode) {
    fw::Application->MessageBox("File   : " + FN + "\r" + "Error# : " + std::to_string(ECode) + "\r" +
                                    std::string(engine::MessageText(ECode)),
                                "", MB_OK | MB_ICONERROR);
}

void TfrmArcVerify::ZipCheck1GetPassword(fw::TObject*, const std::string&, std::string& Password, bool& TryAgain) {
    std::string typed = Password;
    if (fw::InputQuery("Encrypted file...", "Enter password", typed, true))
        Password = typed;
    else
        TryAgain = false;
}

void TfrmArcVerify::ZipCheck1Activate(fw::TObject*) { SetLedColor(0x0000FF); }

void TfrmArcVerify::ZipCheck1Deactivate(fw::TObject*) { SetLedColor(0x008000); }

void TfrmArcVerify::SetLedColor(fw::TColor color) {
    fw::TBitmap* bitmap = imgLed->Picture()->Bitmap();
    if (bitmap->Width() == 0) {
        bitmap->SetWidth(13);
        bitmap->SetHeight(13);
    }
    fw::TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(color);
    canvas->FloodFill(6, 6, canvas->Pixels(6, 6), fw::TFillStyle::fsSurface);
    imgLed->Invalidate();
}

void RegisterArcVerifyClass() {
    using F = TfrmArcVerify;
    fw::Class<F, fw::TForm>("TfrmArcVerify")
        .Field("edtArchiveFile", &F::edtArchiveFile)
        .Field("edtFileSpec", &F::edtFileSpec)
        .Field("memLog", &F::memLog)
        .Field("btnVerify", &F::btnVerify)
        .Field("imgLed", &F::imgLed)
        .Field("OpenDialog1", &F::OpenDialog1)
        .Field("ZipCheck1", &F::ZipCheck1)
        .Method("FormActivate", &F::FormActivate)
        .Method("edtArchiveFileChange", &F::edtArchiveFileChange)
        .Method("btnOpenArchiveClick", &F::btnOpenArchiveClick)
        .Method("btnVerifyClick", &F::btnVerifyClick)
        .Method("ZipCheck1Begin", &F::ZipCheck1Begin)
        .Method("ZipCheck1Status", &F::ZipCheck1Status)
        .Method("ZipCheck1Error", &F::ZipCheck1Error)
        .Method("ZipCheck1GetPassword", &F::ZipCheck1GetPassword)
        .Method("ZipCheck1Activate", &F::ZipCheck1Activate)
        .Method("ZipCheck1Deactivate", &F::ZipCheck1Deactivate);
}

}  // namespace app
