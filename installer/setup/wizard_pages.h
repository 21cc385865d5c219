// The setup program's wizard pages: registers their classes and puts them into the dialog managers'
// registries in the order of their units (Welcome, copy, bad install, good install, Start-menu folder,
// change disk, reboot, destination), before any form is made. Harmless to repeat.
#pragma once

namespace inst {

void RegisterWizardPages();
// Makes the never-shown instances of the pages, in the same order (the managers make their own).
void CreateWizardPages();

}  // namespace inst
