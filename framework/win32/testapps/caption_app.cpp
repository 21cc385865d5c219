// caption_app: a program whose form holds captions that fit and captions cut off on purpose, for the
// caption check (FW_CAPTION_CHECK). One button takes its caption from an action of a data module;
// the form's OnCreate would make a fitting caption too long, so the check shows it did not run. A
// third form resource names a class the program never registers.
#include "framework/core/rtti.h"
#include "framework/win32/actions.h"
#include "framework/win32/application.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_button.h"

namespace {

class TdmCaptions : public fw::TDataModule {
public:
    using TDataModule::TDataModule;
};

class TfrmCaptions : public fw::TForm {
public:
    using TForm::TForm;
    fw::TCheckBox* chkWide = nullptr;
    void FormCreate(fw::TObject*) { chkWide->SetCaption("Keep the folder names of every entry, as stored"); }
};

void RegisterAppClasses() {
    fw::Class<TdmCaptions, fw::TDataModule>("TdmCaptions");
    fw::Class<TfrmCaptions, fw::TForm>("TfrmCaptions")
        .Field("chkWide", &TfrmCaptions::chkWide)
        .Method("FormCreate", &TfrmCaptions::FormCreate);
}

}  // namespace

int main() {
    fw::InitApplication();
    RegisterAppClasses();
    fw::Application->Initialize();
    TdmCaptions* dmCaptions = nullptr;
    fw::Application->CreateForm(dmCaptions);
    TfrmCaptions* frmCaptions = nullptr;
    fw::Application->CreateForm(frmCaptions);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
