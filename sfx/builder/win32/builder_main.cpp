// MorvixSFX: builds self-extracting ZIP archives around the extractor program it carries at its end.
// The archive manager starts it with an archive's path, unquoted.
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/datamodule.h"
#include "sfx/builder/win32/main_form.h"

namespace {

// The program's data module: it records the program's folder, which the builder itself never reads.
class TBuilderData : public fw::TDataModule {
public:
    explicit TBuilderData(fw::TComponent* owner) : TDataModule(owner) {}
    std::string AppPath = fw::ExtractFilePath(fw::Application->ExeName());
};

}  // namespace

int main() {
    fw::InitApplication();
    sfx::builder::RegisterBuilderClasses();
    fw::Class<TBuilderData, fw::TDataModule>("TBuilderData");
    fw::Application->Initialize();
    fw::Application->SetTitle("Morvix Zip Self Extracting Archive Builder");
    fw::Make<TBuilderData>(fw::Application)->SetName("BuilderData");
    sfx::builder::TForm1* Form1 = nullptr;
    fw::Application->CreateForm(Form1);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
