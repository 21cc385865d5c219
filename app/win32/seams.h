// What the archive manager's components ask of the system, installed once at start: the association
// component's notification of the shell and its error box; and, while a test driver automates the
// program, help calls recorded for the driver instead of starting a help viewer.
#pragma once

namespace app {

void InstallProgramSeams();

}  // namespace app
