// The setup program MxInstall: its main form TForm1 carries the whole install definition
// (mxinstall.form); the install component on it runs everything from the moment the form is loaded.
#pragma once

#include "framework/win32/forms.h"

namespace inst {

class InstallSystem;

// The main form: no code of its own.
class TForm1 : public fw::TForm {
public:
    using TForm::TForm;
};

// The program block: initialises the application, sets its title, creates the forms and runs. Test
// programs pass their own main form (a definition of their own) or system seam.
int RunSetupProgram(void (*createMainForm)() = nullptr, InstallSystem* system = nullptr);

}  // namespace inst
