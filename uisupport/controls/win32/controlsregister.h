// Registers the suite's buttons (shaped button, speed button) and the menu bar with the framework's
// reflection.
#pragma once

namespace uis {

void RegisterUISupportControlClasses();

}  // namespace uis
