// The keyboard chain, the standard controls of this unit, menus, actions, hints and dialogs: their
// classes are registered and their handlers installed on the application. InitApplication calls it.
#pragma once

namespace fw {

void InitStdControls();

}  // namespace fw
