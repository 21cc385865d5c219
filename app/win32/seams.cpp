#include "app/win32/seams.h"

#include <string>

#include "app/atshell.h"
#include "framework/win32/application.h"
#include "framework/win32/automation.h"

#include <shlobj.h>

namespace app {

namespace {

bool RecordHelp(HWND, const std::string& helpFile, unsigned command, uintptr_t data) {
    fw::automation::Record("help", std::to_string(command) + " " + std::to_string(data), helpFile, "");
    return true;
}

}  // namespace

void InstallProgramSeams() {
    SetATShellSeam({[] { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr); },
                    [](const std::string& text) { fw::Application->MessageBox(text, "", MB_OK | MB_ICONERROR); }});
    if (fw::automation::Active()) fw::SetHelpSeam(&RecordHelp);
}

}  // namespace app
