// Registers the install library's classes, enumerations and published properties, so that install
// definitions load from form text. Programs and tests call it once at start (again is harmless).
#pragma once

namespace inst {

void RegisterClasses();

}  // namespace inst
