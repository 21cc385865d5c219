// Registers the UI support components with the framework's reflection (for form text) and installs
// their Windows answers: roots found among the screen's forms and data modules, system colours
// converted by the system. Programs and tests call it once after fw::InitApplication.
#pragma once

namespace uis {

void RegisterUISupportClasses();

}  // namespace uis
