#include "installer/uninstall.h"

#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install.h"
#include "installer/qnfdregistry.h"
#include "installer/strutils.h"

namespace inst {

void TUninstallEXE::WriteUninstallInfo(const std::string& key) {
    TInstallRoot* root = InstallComponent();
    if (!root)
        throw IEUninstallEXE(
            "%s could not write information about the uninstall to the registry because there was no TInstall "
            "component",
            {Name()});
    const std::string product = fw::Trim(root->Information()->ProductName);
    WriteRegString(TRootKeys::hkLocalMachine, key, "DisplayName", product);
    // Quoted: the program folder usually holds blanks.
    WriteRegString(TRootKeys::hkLocalMachine, key, "UninstallString", "\"" + DestPath() + "\" " + product);
}

void TUninstallEXE::BeforeDestruction() {
    if (auto* install = dynamic_cast<TCustomInstall*>(InstallComponent()))
        if (!install->InState(fw::csDestroying)) install->BuildInfo()->AddUninstallOnCreate = false;
    TCustomInstallFile::BeforeDestruction();
}

std::string FindLibraryDirectory(bool raiseError) {
    const std::string path = ReadRegString(TRootKeys::hkLocalMachine, kLibraryKey, "Library Path", "");
    const std::string root = RemoveBackslash(ReadRegString(TRootKeys::hkLocalMachine, kLibraryKey, "RootDir", ""));
    const std::string macro = "$(Q32V40)";
    for (int i = 1; i <= FieldCount(path); ++i) {
        std::string dir = fw::Trim(Field(path, i, ";"));
        for (size_t at = fw::UpperCase(dir).find(macro); at != std::string::npos; at = fw::UpperCase(dir).find(macro, at + root.size()))
            dir.replace(at, macro.size(), root);
        dir = RemoveBackslash(dir);
        if (!dir.empty() && fw::FileExists(dir + "\\Q32V40.TXT")) return dir;
    }
    if (raiseError)
        throw IENoQuenfordPath("The installer library directory was not found on the library search path of %s",
                               {std::string("HKEY_LOCAL_MACHINE") + kLibraryKey});
    return std::string();
}

}  // namespace inst
