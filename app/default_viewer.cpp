#include "app/default_viewer.h"

#include "app/atshell.h"

namespace app {

bool ShouldAskDefault(const std::string& registeredApp, const std::string& program, bool askDefault) {
    return registeredApp != program && askDefault;
}

void MakeDefaultViewer(TATShell& shell, const std::string& program) {
    for (const char* ext : kViewerExtensions) {
        shell.SetExtension(ext);
        shell.SetPathToApp(program);
        shell.SetIconPath(program);
        shell.SetShellCommands("");
        shell.Register();
    }
}

}  // namespace app
