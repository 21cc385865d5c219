#include "app/win32/formUUEncode.h"

#include "app/program_lines.h"
#include "app/win32/formZipMain.h"
#include "engine/core/file_routines.h"
#include "engine/formats/uue/uu_encode.h"
#include "engine/lister/krenlo.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_edit.h"

namespace app {

void TfrmUUEncode::FormActivate(fw::TObject*) {
    const std::string archive = ZMain ? ZMain->Krenlo1->ArchiveFile() : std::string();
    if (archive.empty()) return;
    Edit1->SetText(archive);
    Edit2->SetText(EncodedOutputName(archive));
}

void TfrmUUEncode::EditChange(fw::TObject*) { btnEncode->SetEnabled(!Edit1->Text().empty()); }

void TfrmUUEncode::btnReadFileClick(fw::TObject*) {
    fw::TOpenDialog* dialog = ZMain->OpenDialog1;
    dialog->SetFileName(Edit1->Text());
    dialog->SetTitle("Select file to encode...");
    if (!dialog->Execute()) return;
    Edit1->SetText(dialog->FileName());
    Edit2->SetText(EncodedOutputName(dialog->FileName()));
    if (SameFileName(Edit1->Text(), Edit2->Text())) {
        fw::MessageDlg("Error: input file and output file are the same", fw::mtError, fw::TMsgDlgButtons{fw::mbOK},
                       0);
        Edit1->SetText("");
        Edit2->SetText("");
    }
}

void TfrmUUEncode::btnWriteFileClick(fw::TObject*) {
    const std::string input = Edit1->Text();
    const std::string inputFolder = fw::ExtractFilePath(input);
    if (!inputFolder.empty()) engine::SetCurrentDir(inputFolder);
    std::string folder = engine::GetCurrentDir();
    using fw::TSelectDirOpt;
    if (!fw::SelectDirectory("", "", folder,
                             {TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPerformCreate, TSelectDirOpt::sdPrompt}))
        return;
    ZMain->UUEncode1->SetDefaultDir(folder);
    engine::SetCurrentDir(folder);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    Edit2->SetText(folder + fw::ExtractFileName(EncodedOutputName(input)));
}

void TfrmUUEncode::btnEncodeClick(fw::TObject*) {
    engine::TUUEncode* encoder = ZMain->UUEncode1;
    encoder->SetArchiveFile(Edit1->Text());
    // The encoder gives its output the engine's extension for encoded files: the one "Write File:"
    // shows, so that the file written is the file named there.
    const std::string ext = fw::ExtractFileExt(Edit2->Text());
    if (!ext.empty()) engine::EncodedFileExt = ext;
    encoder->SetOutFilename(Edit2->Text());
    encoder->SetKBytesPerVolume(Edit3->Text().empty() ? 0 : fw::StrToIntDef(Edit3->Text(), 0));
    encoder->SetWriteTableToFile(CheckBox1->Checked());
    encoder->SetCompressMethod(RadioGroup1->ItemIndex() == 1 ? engine::TCompressMethod::cmXXEncode
                                                             : engine::TCompressMethod::cmUUEncode);
    fw::Screen->SetCursor(fw::crHourGlass);
    try {
        ZMain->RunEncoder();
    } catch (...) {
        fw::Screen->SetCursor(fw::crDefault);
        Close();
        throw;
    }
    fw::Screen->SetCursor(fw::crDefault);
    Close();
}

void TfrmUUEncode::btnCloseClick(fw::TObject*) { Close(); }

void RegisterUUEncodeFormClass() {
    using F = TfrmUUEncode;
    fw::Class<F, fw::TForm>("TfrmUUEncode")
        .Field("Edit1", &F::Edit1)
        .Field("Edit2", &F::Edit2)
        .Field("Edit3", &F::Edit3)
        .Field("RadioGroup1", &F::RadioGroup1)
        .Field("CheckBox1", &F::CheckBox1)
        .Field("btnEncode", &F::btnEncode)
        .Method("FormActivate", &F::FormActivate)
        .Method("EditChange", &F::EditChange)
        .Method("btnReadFileClick", &F::btnReadFileClick)
        .Method("btnWriteFileClick", &F::btnWriteFileClick)
        .Method("btnEncodeClick", &F::btnEncodeClick)
        .Method("btnCloseClick", &F::btnCloseClick);
}

}  // namespace app
