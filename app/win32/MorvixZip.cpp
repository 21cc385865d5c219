// MorvixZip, the archive manager: the program block. The data module comes first, then the splash
// window, then the main window, whose create handler reads the command line; the message loop runs
// until the main window closes or the command line ended the program.
#include "app/win32/dataGlobal.h"
#include "app/win32/formArcExtract.h"
#include "app/win32/formOverwrite.h"
#include "app/win32/formSplash.h"
#include "app/win32/formZipMain.h"
#include "app/win32/registration.h"
#include "app/win32/seams.h"
#include "app/win32/smapi.h"
#include "engine/win32/engine_win32.h"
#include "framework/win32/application.h"
#include "uisupport/shell/win32/shellcontrols.h"
#include "widgets/win32/startup.h"

namespace app {
int RunProgram();
}

#include <cstdio>
#include <exception>

int main() {
    try {
        return app::RunProgram();
    } catch (const std::exception& e) {
        // A form that cannot be read leaves nothing to show: say why, where the user sees it.
        std::fprintf(stderr, "MorvixZip: %s\n", e.what());
        MessageBoxA(nullptr, e.what(), "Morvix Zip", MB_OK | MB_ICONERROR);
        return 1;
    }
}

int app::RunProgram() {
    fw::InitApplication();
    kvx::win32::KVXStartApplication();
    engine::win32::InstallEngineWin32();
    app::RegisterProgramClasses();
    app::smapi::LoadMapi();
    {
        // The shell views give their shell interfaces back with their forms, before the shell ends.
        uis::ShellSession shell;
        fw::Application->Initialize();
        fw::Application->SetHelpFile("MXZP.HLP");
        fw::Application->SetTitle("Morvix Zip");
        app::InstallProgramSeams();
        fw::Application->CreateForm(app::global);
        app::frmSplash = fw::CreateForm<app::TfrmSplash>(nullptr);
        app::TfrmZipMain* frmZipMain = nullptr;
        fw::Application->CreateForm(frmZipMain);
        fw::Application->Run();
        kvx::win32::KVXStopApplication();
        fw::DoneApplication();
    }
    app::smapi::FreeMapi();
    return 0;
}
