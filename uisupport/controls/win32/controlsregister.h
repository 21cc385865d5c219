// Registers the suite's buttons (shaped button, speed button), the menu bar and the file-name and
// folder edits with the framework's reflection.
#pragma once

namespace uis {

void RegisterUISupportControlClasses();

}  // namespace uis
