// Registers the suite's buttons (shaped button, speed button) with the framework's reflection.
#pragma once

namespace uis {

void RegisterUISupportControlClasses();

}  // namespace uis
