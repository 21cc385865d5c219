#include "uisupport/shell/win32/shellcontrols.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_controls.h"

namespace uis {

void RegisterShellClasses() {
    fw::RegisterStandardControls();
    fw::RegisterEnum<TJexoShellFolder>(ShellFolderNames(), "TJexoShellFolder");
    InstallLinkSender();
    RegisterDirMonClass();
    RegisterShellBrowserClass();
    RegisterShellLinkClass();
    RegisterShellListClass();
    RegisterShellTreeClass();
    RegisterShellComboClass();
}

}  // namespace uis
