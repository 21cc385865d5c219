// Registers the engine's enumerations and component bases with the framework's reflection, so that
// form text can set their published properties and bind their events by name. Programs and tests
// call it once at start (again is harmless); the format libraries register their components after.
#pragma once

namespace engine {

void RegisterClasses();

}  // namespace engine
