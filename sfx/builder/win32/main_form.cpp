#include "sfx/builder/win32/main_form.h"

#include <vector>

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/graphics.h"

namespace sfx::builder {

namespace {

// Posted by FormActivate: the message box must not open inside the activation itself.
constexpr UINT WM_STUB_NOTICE = WM_APP + 1;
constexpr fw::TColor kGreyedEdit = 0x808080;

void SetTextQuietly(fw::TEdit* edit, const std::string& text) {
    if (edit->Text() != text) edit->SetText(text);
}

// The picture above the buttons: a parcel with its band, as a self-extractor packs files.
void DrawPicture(fw::TImage* image) {
    auto bitmap = std::make_unique<fw::TBitmap>();
    bitmap->SetSize(64, 64);
    fw::TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(fw::clGray);
    c->FillRect(fw::Rect(0, 0, 64, 64));
    c->Pen()->SetColor(fw::clBlack);
    c->Brush()->SetColor(0x3C7FC8);  // cardboard
    c->Rectangle(8, 16, 56, 56);
    c->Brush()->SetColor(0x2F63A0);
    c->Rectangle(8, 8, 56, 18);
    c->Brush()->SetColor(fw::clYellow);
    c->Rectangle(28, 8, 36, 56);
    image->Picture()->SetGraphic(bitmap.get());
}

}  // namespace

void TForm1::FormCreate(fw::TObject*) {
    AddMessageHandler(WM_STUB_NOTICE, &TForm1::WMStubNotice);
    DrawPicture(Image1);
    Notices notes;
    const std::string self = fw::Application->ExeName();
    controller_ = std::make_unique<BuilderController>(self, FindOwnStub(self, notes));
    defaultEditColor_ = Edit1->Color();
    ReadFields();
    std::vector<std::string> params;
    for (int i = 1; i <= fw::ParamCount(); ++i) params.push_back(fw::ParamStr(i));
    controller_->ApplyCommandLine(params);
    ShowSettings();
    Show(notes);
}

void TForm1::FormActivate(fw::TObject*) {
    if (!controller_ || controller_->StubFound() || stubNoticePending_) return;
    if (stubNoticeClosed_) {
        stubNoticeClosed_ = false;  // the box has just gone and given the activation back
        return;
    }
    stubNoticePending_ = true;
    PostMessageA(Handle(), WM_STUB_NOTICE, 0, 0);
}

void TForm1::WMStubNotice(fw::TMessage&) {
    fw::ShowMessage("SFX stub not found...");
    stubNoticePending_ = false;
    // When the form is active again already, that activation came while the box was up and was let
    // pass; otherwise it is still to come.
    stubNoticeClosed_ = !Active();
}

void TForm1::ReadFields() {
    SfxSettings& s = controller_->Settings();
    s.zipPath = Edit1->Text();
    s.caption = Edit2->Text();
    s.rootDir = Edit3->Text();
    s.outputPath = Edit4->Text();
    s.program = Edit5->Text();
    s.params = Edit6->Text();
    s.allHilited = CheckBox1->Checked();
    s.hideOverwrite = CheckBox2->Checked();
    s.hideRunBox = CheckBox3->Checked();
    s.sortList = CheckBox6->Checked();
    s.overwriteIndex = RadioGroup1->ItemIndex();
}

void TForm1::ShowSettings() {
    const SfxSettings& s = controller_->Settings();
    updating_ = true;
    try {
        SetTextQuietly(Edit1, s.zipPath);
        SetTextQuietly(Edit2, s.caption);
        SetTextQuietly(Edit3, s.rootDir);
        SetTextQuietly(Edit4, s.outputPath);
        SetTextQuietly(Edit5, s.program);
        SetTextQuietly(Edit6, s.params);
        CheckBox1->SetChecked(s.allHilited);
        CheckBox2->SetChecked(s.hideOverwrite);
        CheckBox3->SetChecked(s.hideRunBox);
        CheckBox4->SetChecked(s.useAssociated);
        CheckBox5->SetChecked(s.extractToTemp);
        CheckBox6->SetChecked(s.sortList);
        RadioGroup1->SetItemIndex(s.overwriteIndex);
        // A box that empties its field greys it.
        for (auto [edit, ticked] : {std::pair{Edit3, s.extractToTemp}, std::pair{Edit5, s.useAssociated}}) {
            edit->SetEnabled(!ticked);
            edit->SetColor(ticked ? kGreyedEdit : defaultEditColor_);
        }
        Button1->SetEnabled(controller_->CreateEnabled());
        SetCaption(controller_->FormCaption());
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TForm1::Show(const Notices& notes) {
    for (const Notice& n : notes) {
        if (n.kind == Notice::Kind::Warning)
            fw::MessageDlg(n.text, fw::mtWarning, fw::TMsgDlgButtons{fw::mbOK}, 0);
        else
            fw::ShowMessage(n.text);
    }
}

void TForm1::Edit1Change(fw::TObject*) {
    if (updating_) return;
    ReadFields();
    controller_->ZipOrOutputEdited();
    Button1->SetEnabled(controller_->CreateEnabled());
}

void TForm1::Edit1Exit(fw::TObject*) {
    ReadFields();
    controller_->LeaveZipFile(fw::GetCurrentDir());
    ShowSettings();
}

void TForm1::SetChangedFlag(fw::TObject*) {
    if (updating_) return;
    ReadFields();
    controller_->Edited();
}

void TForm1::CheckBox5Click(fw::TObject*) {
    if (updating_) return;
    ReadFields();
    controller_->SetExtractToTemp(CheckBox5->Checked());
    ShowSettings();
    if (Edit3->Enabled() && Edit3->CanFocus()) Edit3->SetFocus();
}

void TForm1::CheckBox4Click(fw::TObject*) {
    if (updating_) return;
    ReadFields();
    controller_->SetUseAssociated(CheckBox4->Checked());
    ShowSettings();
}

std::string TForm1::ChooseFile(const std::string& title, const std::string& filter) {
    OpenDialog2->SetTitle(title);
    OpenDialog2->SetFilter(filter);
    OpenDialog2->SetFileName("");
    return OpenDialog2->Execute() ? OpenDialog2->FileName() : std::string();
}

// Cancel empties the field.
void TForm1::BitBtn1Click(fw::TObject*) {
    ReadFields();
    controller_->Settings().zipPath = ChooseFile("Select Zip archive...", "Zip file *.zip|*.zip");
    controller_->ZipOrOutputEdited();
    ShowSettings();
}

void TForm1::BitBtn2Click(fw::TObject*) {
    ReadFields();
    controller_->Settings().program = ChooseFile("Select program to run...", "*.*|*.*");
    controller_->Edited();
    ShowSettings();
}

void TForm1::BitBtn3Click(fw::TObject*) {
    ReadFields();
    fw::TBrowseFolderParams params;
    params.Flags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    params.InitialDir = controller_->OutputFolder();
    std::string folder;
    if (!fw::BrowseForFolder(params, folder)) return;  // Cancel keeps Output as it is
    controller_->OutputFolderChosen(folder);
    ShowSettings();
}

void TForm1::Button1Click(fw::TObject*) {
    ReadFields();
    const Notices notes = controller_->Create();
    ShowSettings();
    Show(notes);
}

void TForm1::Button2Click(fw::TObject*) { fw::Application->Terminate(); }

void TForm1::Exit1Click(fw::TObject*) { Close(); }

void TForm1::Open1Click(fw::TObject* Sender) {
    ReadFields();
    if (controller_->Changed()) {
        if (fw::MessageDlg(BuilderController::kSaveChangesQuestion, fw::mtConfirmation,
                           fw::TMsgDlgButtons{fw::mbYes, fw::mbNo}, 0) == fw::mrYes) {
            Save(false);
            return;
        }
    }
    const bool creating = Sender == New1;
    OpenDialog1->SetFileName(creating ? std::string() : controller_->ConfigName());
    OpenDialog1->SetTitle(creating ? "Create New ZipSFX configuration file..." : "Open ZipSFX configuration file...");
    fw::TOpenOptions options{fw::TOpenOption::ofHideReadOnly};
    if (!creating) {
        options.Include(fw::TOpenOption::ofPathMustExist);
        options.Include(fw::TOpenOption::ofFileMustExist);
    }
    OpenDialog1->SetOptions(options);
    if (OpenDialog1->Execute()) {
        const std::string name = OpenDialog1->FileName();
        Notices notes;
        try {
            notes = controller_->OpenChosen(name);
        } catch (...) {
            ShowSettings();  // the fields read before a short file ended stay
            throw;
        }
        ShowSettings();
        Show(notes);
        if (controller_->ConfigName() != name) return;  // it could not be opened
    } else {
        controller_->OpenCancelled();
    }
    Edit1->SetFocus();
    Edit1->SelectAll();
}

void TForm1::Save1Click(fw::TObject* Sender) {
    ReadFields();
    Save(Sender == SaveAs1);
}

void TForm1::Save(bool askName) {
    if (askName || controller_->ConfigName().empty()) {
        SaveDialog1->SetFileName(controller_->SaveAsProposal());
        if (SaveDialog1->Execute()) {
            const std::string target = BuilderController::SaveAsTarget(SaveDialog1->FileName());
            if (!BuilderController::TargetExists(target) ||
                fw::MessageDlg(BuilderController::OverwriteQuestion(target), fw::mtConfirmation,
                               fw::TMsgDlgButtons{fw::mbYes, fw::mbNo}, 0) == fw::mrYes)
                Show(controller_->SaveTo(target));
        }
    } else {
        Show(controller_->SaveTo(controller_->ConfigName()));
    }
    ShowSettings();
}

void RegisterBuilderClasses() {
    fw::RegisterStandardControls();
    uis::RegisterMediaButtonClasses();
    using F = TForm1;
    fw::Class<F, fw::TForm>("TForm1")
        .Field("Panel1", &F::Panel1)
        .Field("Image1", &F::Image1)
        .Field("Button1", &F::Button1)
        .Field("Button2", &F::Button2)
        .Field("Edit1", &F::Edit1)
        .Field("Edit2", &F::Edit2)
        .Field("Edit3", &F::Edit3)
        .Field("Edit4", &F::Edit4)
        .Field("Edit5", &F::Edit5)
        .Field("Edit6", &F::Edit6)
        .Field("BitBtn1", &F::BitBtn1)
        .Field("BitBtn2", &F::BitBtn2)
        .Field("BitBtn3", &F::BitBtn3)
        .Field("CheckBox1", &F::CheckBox1)
        .Field("CheckBox2", &F::CheckBox2)
        .Field("CheckBox3", &F::CheckBox3)
        .Field("CheckBox4", &F::CheckBox4)
        .Field("CheckBox5", &F::CheckBox5)
        .Field("CheckBox6", &F::CheckBox6)
        .Field("RadioGroup1", &F::RadioGroup1)
        .Field("Open1", &F::Open1)
        .Field("New1", &F::New1)
        .Field("Save1", &F::Save1)
        .Field("SaveAs1", &F::SaveAs1)
        .Field("OpenDialog1", &F::OpenDialog1)
        .Field("SaveDialog1", &F::SaveDialog1)
        .Field("OpenDialog2", &F::OpenDialog2)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormActivate", &F::FormActivate)
        .Method("Edit1Change", &F::Edit1Change)
        .Method("Edit1Exit", &F::Edit1Exit)
        .Method("SetChangedFlag", &F::SetChangedFlag)
        .Method("CheckBox5Click", &F::CheckBox5Click)
        .Method("CheckBox4Click", &F::CheckBox4Click)
        .Method("BitBtn1Click", &F::BitBtn1Click)
        .Method("BitBtn2Click", &F::BitBtn2Click)
        .Method("BitBtn3Click", &F::BitBtn3Click)
        .Method("Button1Click", &F::Button1Click)
        .Method("Button2Click", &F::Button2Click)
        .Method("Exit1Click", &F::Exit1Click)
        .Method("Open1Click", &F::Open1Click)
        .Method("Save1Click", &F::Save1Click);
}

}  // namespace sfx::builder
