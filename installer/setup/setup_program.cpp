#include "installer/setup/setup_program.h"

#include "framework/win32/application.h"
#include "installer/register.h"
#include "installer/system.h"
#include "installer/win32/system_win32.h"
#include "installer/win32/translate_controls.h"

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
    InstallWin32Host();
    RegisterClasses();
    InstallTranslatorControls();
    fw::Class<TForm1, fw::TForm>("TForm1");
    fw::Application->Initialize();
    fw::Application->SetTitle("Morvix Zip Install");
    int code = 0;
    try {
        (createMainForm ? createMainForm : &CreateForm1)();
        // The wizard pages are created here, after the main form, in the order of the pages' units.
        fw::Application->Run();
    } catch (const fw::Exception& e) {
        // A bad argument or a broken definition: the form could not load.
        fw::Application->ShowException(e);
        code = 1;
    }
    fw::DoneApplication();
    return code;
}

}  // namespace inst
