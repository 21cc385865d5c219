// MxInstall: the setup program.
#include "installer/setup/setup_program.h"

int main() { return inst::RunSetupProgram(); }
