#include "installer/setup/setup_program.h"

#include "framework/win32/application.h"
#include "installer/register.h"
#include "installer/setup/wizard_pages.h"
#include "installer/system.h"
#include "installer/win32/system_win32.h"
#include "widgets/win32/startup.h"

namespace inst {

namespace {

void CreateForm1() {
    TForm1* form1 = nullptr;
    fw::Application->CreateForm(form1);
}

}  // namespace

int RunSetupProgram(void (*createMainForm)(), InstallSystem* system) {
    // The platform seams first: the application wraps the host seam they install.
    InstallWin32System();
    if (system) SetInstallSystem(system);
    fw::InitApplication();
    kvx::win32::KVXStartApplication();
    InstallWin32Host();
    RegisterClasses();
    // The pages' units start before any form is made: an after-reboot start shows its pages while the
    // main form loads.
    RegisterWizardPages();
    fw::Class<TForm1, fw::TForm>("TForm1");
    fw::Application->Initialize();
    fw::Application->SetTitle("Morvix Zip Install");
    int code = 0;
    try {
        (createMainForm ? createMainForm : &CreateForm1)();
        CreateWizardPages();
        fw::Application->Run();
    } catch (const fw::Exception& e) {
        // A bad argument or a broken definition: the form could not load.
        fw::Application->ShowException(e);
        code = 1;
    }
    kvx::win32::KVXStopApplication();
    fw::DoneApplication();
    return code;
}

}  // namespace inst
