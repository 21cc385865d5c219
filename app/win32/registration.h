// Registers every class the archive manager's forms are read with: the framework's, the suite's, the
// UI support components and shell views, the engine's components and the program's own forms.
#pragma once

namespace app {

void RegisterProgramClasses();

}  // namespace app
